#include "MemoRenderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// How wide a character is in `metrics`, in layout units. Marks and format
// characters take no room of their own; every other character at least a
// pixel, so that no row holds more of them than it is wide.
std::int32_t advanceOf(const QFontMetricsF& metrics, char32_t character) {
  switch (QChar::category(character)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
      return 0;
    default:
      return std::max(qRound(metrics.horizontalAdvance(QString::fromUcs4(&character, 1)) *
                             MemoRenderer::kUnitsPerPixel),
                      MemoRenderer::kUnitsPerPixel);
  }
}

}  // namespace

void MemoRenderer::setFont(const QFont& font, int zoomPercent, MemoLayout& layout) {
  textFont = font;
  textFont.setKerning(false);
  if (textFont.pointSizeF() > 0) {
    textFont.setPointSizeF(textFont.pointSizeF() * zoomPercent / 100);
  } else {
    textFont.setPixelSize(std::max(textFont.pixelSize() * zoomPercent / 100, 1));
  }
  const QFontMetricsF metrics(textFont);
  const text::Encoding encoding = document.model().encoding();
  MemoLayout::Advances advances{};
  for (int byte = 0; byte < 256; ++byte) {
    const char character = static_cast<char>(byte);
    const std::string_view one(&character, 1);
    if (byte < 0x80 || encoding != text::Encoding::utf8)
      advances[byte] = advanceOf(metrics, text::characterAt(one, 0, encoding).code);
  }
  layout.setMetrics(encoding, advances, kTabStopPixels * kUnitsPerPixel,
                    [metrics](char32_t character) { return advanceOf(metrics, character); });
  rowHeight = std::max(qCeil(metrics.height()), 1);
}

// Rows on screen

MemoRenderer::ShapedRow::ShapedRow(std::string_view bytes, std::size_t start,
                                   text::Encoding encoding, const QFont& font,
                                   const Preedit* preedit) {
  QString characters;
  characters.reserve(static_cast<qsizetype>(bytes.size()));
  offsets.reserve(bytes.size() + 1);
  for (std::size_t i = 0; i < bytes.size();) {
    const text::Character character = text::characterAt(bytes, i, encoding);
    const char32_t code = character.code;
    characters.append(QString::fromUcs4(&code, 1));
    offsets.resize(static_cast<std::size_t>(characters.size()), start + i);
    i += character.length;
  }
  offsets.push_back(start + bytes.size());
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(kTabStopPixels);
  option.setTextDirection(Qt::LeftToRight);
  layout.setText(characters);
  layout.setFont(font);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  if (preedit != nullptr) {
    const int at = placeOf(preedit->position);
    layout.setPreeditArea(at, preedit->text);
    QList<QTextLayout::FormatRange> formats = preedit->formats;
    for (QTextLayout::FormatRange& range : formats)
      range.start += at;
    layout.setFormats(formats);
  }
  layout.beginLayout();
  layout.createLine().setPosition({0, 0});
  layout.endLayout();
}

int MemoRenderer::ShapedRow::placeOf(std::size_t offset) const {
  return static_cast<int>(std::lower_bound(offsets.begin(), offsets.end(), offset) -
                          offsets.begin());
}

qreal MemoRenderer::ShapedRow::xOf(std::size_t offset) const {
  return layout.lineAt(0).cursorToX(placeOf(offset));
}

std::size_t MemoRenderer::ShapedRow::offsetAt(qreal x) const {
  const int place = layout.lineAt(0).xToCursor(x);
  return offsets[static_cast<std::size_t>(std::clamp<int>(place, 0, int(offsets.size()) - 1))];
}

MemoRenderer::ShapedRow MemoRenderer::shape(std::size_t row) const {
  const TextModel& model = document.model();
  const Preedit composing{model.cursor(), preedit, preeditFormats};
  return ShapedRow(document.rowText(row), document.layout().rowStart(row), model.encoding(),
                   textFont,
                   !preedit.isEmpty() && row == document.cursorRow() ? &composing : nullptr);
}

int MemoRenderer::topOf(std::size_t row, std::size_t firstRow) const {
  return kMargin + (static_cast<int>(row) - static_cast<int>(firstRow)) * rowHeight;
}

// Painting

void MemoRenderer::paint(QPainter& painter, const QRect& exposed, const QPalette& colours,
                         std::size_t firstRow, bool caretOn) const {
  const TextModel& model = document.model();
  const MemoLayout& layout = document.layout();
  painter.setPen(colours.color(QPalette::Text));
  QTextLayout::FormatRange selection;
  selection.format.setBackground(colours.highlight());
  selection.format.setForeground(colours.highlightedText());
  for (std::size_t row = firstRow; row < layout.rowCount(); ++row) {
    const int top = topOf(row, firstRow);
    if (top > exposed.bottom()) break;
    if (top + rowHeight < exposed.top()) continue;
    const ShapedRow shaped = shape(row);
    selection.start = shaped.placeOf(std::max(model.selectionStart(), layout.rowStart(row)));
    selection.length = shaped.placeOf(model.selectionEnd()) - selection.start;
    shaped.layout.draw(&painter, QPointF(kMargin, top),
                       selection.length > 0 ? QList{selection} : QList<QTextLayout::FormatRange>{});
  }
  if (caretOn && preeditCursor >= 0) painter.fillRect(cursorRect(firstRow), colours.text());
}

QRect MemoRenderer::cursorRect(std::size_t firstRow) const {
  if (!caret) {
    const std::size_t cursor = document.model().cursor();
    const std::size_t row = document.cursorRow();
    const ShapedRow shaped = shape(row);
    const int x =
        qFloor(preedit.isEmpty() ? shaped.xOf(cursor)
                                 : shaped.layout.lineAt(0).cursorToX(shaped.placeOf(cursor) +
                                                                     std::max(preeditCursor, 0)));
    caret = QRect(kMargin + x, topOf(row, firstRow), 1, rowHeight);
  }
  return *caret;
}

QRect MemoRenderer::characterRect(std::size_t position, std::size_t firstRow) const {
  const MemoLayout& layout = document.layout();
  const std::size_t row = layout.rowOf(position);
  const ShapedRow shaped = shape(row);
  const std::size_t end = layout.rowEnd(document.model().bytes(), row);
  const qreal left = shaped.xOf(position);
  const qreal right = shaped.xOf(position < end ? document.model().nextCharacter(position) : end);
  return QRectF(kMargin + std::min(left, right), topOf(row, firstRow), std::abs(right - left),
                rowHeight)
      .toAlignedRect();
}

std::pair<std::size_t, std::size_t> MemoRenderer::hit(QPoint point, std::size_t firstRow) const {
  const int rowOnScreen = point.y() < kMargin ? -1 : (point.y() - kMargin) / rowHeight;
  const auto row = static_cast<std::size_t>(
      std::clamp<long long>(static_cast<long long>(firstRow) + rowOnScreen, 0,
                            static_cast<long long>(document.layout().rowCount()) - 1));
  return {row, shape(row).offsetAt(point.x() - kMargin)};
}

qreal MemoRenderer::cursorX() const {
  return shape(document.cursorRow()).xOf(document.model().cursor());
}

std::size_t MemoRenderer::offsetAt(std::size_t row, qreal x) const {
  return shape(row).offsetAt(x);
}

void MemoRenderer::setPreedit(QString text, int cursor, QList<QTextLayout::FormatRange> formats) {
  preedit = std::move(text);
  preeditCursor = cursor;
  preeditFormats = std::move(formats);
  caret.reset();
}

void MemoRenderer::paintPlaceholder(QPainter& painter, const QRect& viewport,
                                    const QPalette& colours, const QString& placeholder) const {
  painter.save();
  painter.setFont(textFont);
  painter.setPen(colours.color(QPalette::PlaceholderText));
  painter.drawText(viewport.adjusted(kMargin, kMargin, -kMargin, -kMargin),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, placeholder);
  painter.restore();
}
