#include "Memo.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <QtMath>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <new>
#include <tuple>
#include <utility>

#include "MemoAccessible.h"
#include "BoxText.h"
#include "Exceptions.h"

namespace {

// The room between the frame and the text, as a text document leaves it.
constexpr int kMargin = 4;
constexpr int kTabStopPixels = 80;
constexpr int kUnitsPerPixel = 64;

// How wide a character is in `metrics`, in 1/64 pixel. Marks and format
// characters take no room of their own; every other character at least a
// pixel, so that no row holds more of them than it is wide.
std::int32_t advanceOf(const QFontMetricsF& metrics, char32_t character) {
  switch (QChar::category(character)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
      return 0;
    default:
      return std::max(
          qRound(metrics.horizontalAdvance(QString::fromUcs4(&character, 1)) * kUnitsPerPixel),
          kUnitsPerPixel);
  }
}

// What a key asks of the text's size: larger (1), smaller (-1) or as usual
// (0). Ctrl with Plus, with the key that carries it unshifted (=), or with
// the keypad's keys.
std::optional<int> zoomOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers =
      event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (modifiers != Qt::ControlModifier) return std::nullopt;
  switch (event.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return 1;
    case Qt::Key_Minus:
      return -1;
    case Qt::Key_0:
      return 0;
    default:
      return std::nullopt;
  }
}

// Whether a key's text types, as in Qt's own editors: Ctrl and Ctrl+Shift
// combinations are shortcuts, while AltGr (Ctrl+Alt on Windows) and Alt give
// characters. Tab moves the focus on and never types itself.
bool typesText(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return false;
  const char32_t first = text.toUcs4().front();
  if (QChar::category(first) == QChar::Other_Format) return true;
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
    return false;
  return QChar::isPrint(first) || QChar::category(first) == QChar::Other_PrivateUse;
}

}  // namespace

TMemo::TMemo(QWidget* parent) : QAbstractScrollArea(parent) {
  MemoAccessible::install();
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  viewport()->setCursor(Qt::IBeamCursor);
  setReadOnly(false);
  updateMetrics();
}

void TMemo::setText(std::string text) {
  // Wrapped before anything changes, so that a failure to find the memory
  // leaves the box as it was.
  Wrapped wrapped = wrapToFit(text);
  const QString removed =
      MemoAccessible::listening() ? announced(0, model.bytes().size()) : QString();
  model.setText(std::move(text));
  announceChange(0, removed, model.bytes().size());
  cursorAtRowEnd = false;
  goalX = -1;
  showWrapped(std::move(wrapped));
  verticalScrollBar()->setValue(0);
}

void TMemo::setEncoding(text::Encoding encoding) {
  if (encoding == model.encoding()) return;
  const bool listening = MemoAccessible::listening();
  const QString before = listening ? announced(0, model.bytes().size()) : QString();
  model.setEncoding(encoding);
  updateMetrics();
  if (listening) announceChange(0, before, model.bytes().size());
}

void TMemo::setReadOnly(bool on) {
  readOnly = on;
  setAttribute(Qt::WA_InputMethodEnabled, !on);
  setAcceptDrops(!on);
  viewport()->setAcceptDrops(!on);
}

void TMemo::insertText(const QString& text) {
  if (!readOnly) insertConverted(text, false);
}

template <typename Action>
bool TMemo::withMemory(const char* doing, Action&& action) {
  try {
    action();
    return true;
  } catch (const std::bad_alloc&) {
    showOutOfMemory(this, doing);
    return false;
  }
}

void TMemo::insertConverted(const QString& text, bool typed) {
  const text::Encoded encoded = toBytes(text, model.encoding());
  replaceSelection(encoded.bytes, typed);
  if (encoded.lost > 0) showLossNotice(this, cursorRect().bottomLeft(), encoded.lost, encoding());
}

void TMemo::insertBytes(std::string_view inserted) {
  if (readOnly) return;
  replaceSelection(inserted, false);
}

std::string TMemo::selectedText() const {
  return std::string(model.selectedBytes());
}

void TMemo::selectAll() {
  model.select(0, model.bytes().size());
  cursorAtRowEnd = false;
  restartBlink();
}

bool TMemo::copy() {
  if (!model.hasSelection()) return false;
  if (model.selectionEnd() - model.selectionStart() > kLargestCopy) {
    QMessageBox::warning(
        this, QCoreApplication::applicationName(),
        tr("The selection is too large to copy: %1 MiB of text. \"Save result as\u2026\" in the "
           "result's menu saves a result whole.")
            .arg((model.selectionEnd() - model.selectionStart()) >> 20));
    return false;
  }
  return withMemory(QT_TR_NOOP("copy"), [this] {
    QApplication::clipboard()->setText(fromBytes(model.selectedBytes(), model.encoding()));
  });
}

void TMemo::cut() {
  // What could not be copied stays.
  if (!readOnly && model.hasSelection() && copy()) deleteSelection();
}

void TMemo::paste() {
  if (readOnly) return;
  withMemory(QT_TR_NOOP("paste"), [this] {
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) insertText(text);
  });
}

void TMemo::deleteSelection() {
  if (readOnly || !model.hasSelection()) return;
  withMemory(QT_TR_NOOP("delete"), [this] { replaceSelection({}, false); });
}

void TMemo::undo() {
  if (readOnly || !model.canUndo()) return;
  withMemory(QT_TR_NOOP("undo"), [this] {
    const auto [position, count] = model.undoSpan();
    const QString removed = MemoAccessible::listening() ? announced(position, count) : QString();
    // Where the rows cannot follow, redo puts the text back as it was.
    showChange(model.undo(), removed, [this] { model.redo(); });
  });
}

void TMemo::redo() {
  if (readOnly || !model.canRedo()) return;
  withMemory(QT_TR_NOOP("redo"), [this] {
    const auto [position, count] = model.redoSpan();
    const QString removed = MemoAccessible::listening() ? announced(position, count) : QString();
    showChange(model.redo(), removed, [this] { model.undo(); });
  });
}

void TMemo::replaceSelection(std::string_view with, bool typed) {
  const QString removed = MemoAccessible::listening()
                              ? announced(model.selectionStart(), model.selectedBytes().size())
                              : QString();
  if (model.selectionStart() == 0 && model.selectionEnd() == model.bytes().size()) {
    // All of the text: the new one is wrapped before anything changes.
    Wrapped wrapped = wrapToFit(with);
    const TextModel::Change change = model.replaceSelection(with, typed);
    showWrapped(std::move(wrapped));
    announceChange(change.position, removed, change.inserted);
    return changed();
  }
  showChange(model.replaceSelection(with, typed), removed, [this] {
    if (!model.takeBack()) relayout();
  });
}

template <typename TakeBack>
void TMemo::showChange(TextModel::Change change, const QString& removed, TakeBack takeBack) {
  try {
    layout.update(model.bytes(), change.position, change.removed, change.inserted);
  } catch (const std::bad_alloc&) {
    // The rows still show the text as it was.
    takeBack();
    throw;
  }
  announceChange(change.position, removed, change.inserted);
  changed();
}

void TMemo::changed() {
  cursorAtRowEnd = false;
  goalX = -1;
  if ((layout.rowCount() > static_cast<std::size_t>(visibleRows())) !=
      (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)) {
    relayout();
  } else {
    updateScrollRange();
  }
  ensureCursorVisible();
  restartBlink();
}

QMenu* TMemo::createContextMenu() {
  auto* menu = new QMenu(this);
  const bool selection = model.hasSelection();
  const auto add = [this, menu](const char* name, const QString& text,
                                QKeySequence::StandardKey key, bool enabled, auto handler) {
    QAction* action =
        menu->addAction(text + u'\t' + QKeySequence(key).toString(QKeySequence::NativeText));
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, handler);
  };
  if (!readOnly) {
    add("edit-undo", tr("&Undo"), QKeySequence::Undo, model.canUndo(), &TMemo::undo);
    add("edit-redo", tr("&Redo"), QKeySequence::Redo, model.canRedo(), &TMemo::redo);
    menu->addSeparator();
    add("edit-cut", tr("Cu&t"), QKeySequence::Cut, selection, &TMemo::cut);
  }
  add("edit-copy", tr("&Copy"), QKeySequence::Copy, selection, &TMemo::copy);
  if (!readOnly) {
    add("edit-paste", tr("&Paste"), QKeySequence::Paste,
        !QApplication::clipboard()->text().isEmpty(), &TMemo::paste);
    add("edit-delete", tr("Delete"), QKeySequence::Delete, selection, &TMemo::deleteSelection);
  }
  menu->addSeparator();
  add("select-all", tr("Select All"), QKeySequence::SelectAll, !model.bytes().empty(),
      &TMemo::selectAll);
  if (!menuActions.empty()) menu->addSeparator();
  for (QAction* action : menuActions)
    menu->addAction(action);
  return menu;
}

std::size_t TMemo::firstVisibleRow() const {
  return static_cast<std::size_t>(verticalScrollBar()->value());
}

std::string_view TMemo::rowText(std::size_t row) const {
  const std::size_t start = layout.rowStart(row);
  return std::string_view(model.bytes()).substr(start, layout.rowEnd(model.bytes(), row) - start);
}

// Layout

void TMemo::setZoom(int percent) {
  zoomPercent = percent;
  updateMetrics();
}

void TMemo::updateMetrics() {
  textFont = font();
  textFont.setKerning(false);
  if (textFont.pointSizeF() > 0) {
    textFont.setPointSizeF(textFont.pointSizeF() * zoomPercent / 100);
  } else {
    textFont.setPixelSize(std::max(textFont.pixelSize() * zoomPercent / 100, 1));
  }
  const QFontMetricsF metrics(textFont);
  const text::Encoding encoding = model.encoding();
  MemoLayout::Advances advances{};
  for (int byte = 0; byte < 256; ++byte) {
    const char character = static_cast<char>(byte);
    const std::string_view one(&character, 1);
    if (byte < 0x80 || encoding != text::Encoding::utf8)
      advances[byte] = advanceOf(metrics, text::characterAt(one, 0, encoding).code);
  }
  layout.setMetrics(encoding, advances, kTabStopPixels * kUnitsPerPixel,
                    [metrics](char32_t character) { return advanceOf(metrics, character); });
  lineHeight = std::max(qCeil(metrics.height()), 1);
  relayout();
}

int TMemo::visibleRows() const {
  return std::max((viewport()->height() - 2 * kMargin) / lineHeight, 1);
}

TMemo::Wrapped TMemo::wrapToFit(std::string_view text) {
  const auto wrapAt = [this, text](int pixels) {
    const std::int32_t width = std::max(pixels - 2 * kMargin, 1) * kUnitsPerPixel;
    return std::pair{layout.wrapped(text, width), width};
  };
  // A text that needs the scroll bar wraps once, at the width the bar leaves.
  const int full = contentsRect().width();
  const auto rows = static_cast<std::size_t>(visibleRows());
  bool bar = text.size() > rows * static_cast<std::size_t>(std::max(full, 1));
  auto [starts, width] = wrapAt(bar ? full - verticalScrollBar()->sizeHint().width() : full);
  if (!bar && starts.size() > rows) {
    bar = true;
    std::tie(starts, width) = wrapAt(full - verticalScrollBar()->sizeHint().width());
  }
  return {std::move(starts), width, bar};
}

void TMemo::showWrapped(Wrapped wrapped) {
  layout.adopt(std::move(wrapped.starts), wrapped.width);
  laidOutFor = size();
  setVerticalScrollBarPolicy(wrapped.bar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  updateScrollRange();
  caret.reset();
  viewport()->update();
}

void TMemo::relayout() {
  showWrapped(wrapToFit(model.bytes()));
}

void TMemo::updateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  const std::size_t rows = layout.rowCount();
  const auto shown = static_cast<std::size_t>(visibleRows());
  bar->setRange(0,
                static_cast<int>(std::min<std::size_t>(rows > shown ? rows - shown : 0, INT_MAX)));
  bar->setPageStep(static_cast<int>(shown));
  bar->setSingleStep(1);
}

void TMemo::resizeEvent(QResizeEvent*) {
  caret.reset();
  if (size() != laidOutFor) {
    relayout();
    return;
  }
  // The scroll bar came or went as `relayout` decided; wrap again only where
  // it took other room than foreseen.
  const int width = std::max(viewport()->width() - 2 * kMargin, 1) * kUnitsPerPixel;
  if (width != layout.width()) {
    layout.setWidth(width);
    layout.wrap(model.bytes());
  }
  updateScrollRange();
}

void TMemo::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) updateMetrics();
}

void TMemo::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  QWindow* shown = window()->windowHandle();
  if (shown == nullptr || shown == watchedWindow) return;
  watchedWindow = shown;
  connect(shown, &QWindow::screenChanged, this, [this](QScreen* screen) {
    updateMetrics();
    if (screen != nullptr)
      connect(screen, &QScreen::logicalDotsPerInchChanged, this, &TMemo::updateMetrics,
              Qt::UniqueConnection);
  });
}

void TMemo::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
  // A wheel's notch is 120; a touchpad sends many smaller steps.
  wheelTurned += event->angleDelta().y();
  for (; wheelTurned >= 120; wheelTurned -= 120)
    emit zoomRequested(1);
  for (; wheelTurned <= -120; wheelTurned += 120)
    emit zoomRequested(-1);
  event->accept();
}

void TMemo::scrollContentsBy(int, int) {
  caret.reset();
  viewport()->update();
}

// Assistive tools

QRect TMemo::characterRect(std::size_t position) const {
  const std::size_t row = layout.rowOf(position);
  const ShapedRow shaped = shape(row);
  const std::size_t end = layout.rowEnd(model.bytes(), row);
  const qreal left = shaped.xOf(position);
  const qreal right = shaped.xOf(position < end ? model.nextCharacter(position) : end);
  const int top =
      kMargin + (static_cast<int>(row) - static_cast<int>(firstVisibleRow())) * lineHeight;
  return QRectF(kMargin + std::min(left, right), top, std::abs(right - left), lineHeight)
      .toAlignedRect();
}

std::pair<std::size_t, std::size_t> TMemo::rowAround(std::size_t position) const {
  const std::size_t row = layout.rowOf(position);
  return {layout.rowStart(row),
          row + 1 < layout.rowCount() ? layout.rowStart(row + 1) : model.bytes().size()};
}

void TMemo::select(std::size_t anchor, std::size_t cursor) {
  model.select(model.characterStart(anchor), model.characterStart(cursor));
  cursorAtRowEnd = false;
  ensureCursorVisible();
  restartBlink();
}

void TMemo::showPosition(std::size_t position) {
  QScrollBar* bar = verticalScrollBar();
  const auto row = static_cast<int>(std::min<std::size_t>(layout.rowOf(position), INT_MAX));
  if (row < bar->value() || row >= bar->value() + visibleRows()) bar->setValue(row);
}

void TMemo::replaceRange(std::size_t from, std::size_t to, const QString& text) {
  if (readOnly) return;
  model.select(model.characterStart(from), model.characterStart(to));
  withMemory(QT_TR_NOOP("edit"), [this, &text] { insertText(text); });
}

QString TMemo::announced(std::size_t position, std::size_t count) const {
  return fromBytes(
      std::string_view(model.bytes()).substr(position, std::min(count, kAnnouncedBytes)),
      model.encoding());
}

void TMemo::announceChange(std::size_t position, const QString& removed,
                           std::size_t inserted) const {
  if (!MemoAccessible::listening()) return;
  auto* self = const_cast<TMemo*>(this);
  QAccessibleTextUpdateEvent event(
      self, static_cast<int>(std::min<std::size_t>(model.unitOf(position), INT_MAX)), removed,
      announced(position, inserted));
  QAccessible::updateAccessibility(&event);
}

void TMemo::announceCursor() const {
  if (!MemoAccessible::listening()) return;
  auto* self = const_cast<TMemo*>(this);
  const auto unit = [this](std::size_t position) {
    return static_cast<int>(std::min<std::size_t>(model.unitOf(position), INT_MAX));
  };
  if (model.hasSelection()) {
    QAccessibleTextSelectionEvent event(self, unit(model.selectionStart()),
                                        unit(model.selectionEnd()));
    event.setCursorPosition(unit(model.cursor()));
    QAccessible::updateAccessibility(&event);
  } else {
    QAccessibleTextCursorEvent event(self, unit(model.cursor()));
    QAccessible::updateAccessibility(&event);
  }
}

// Rows on screen

TMemo::ShapedRow::ShapedRow(std::string_view bytes, std::size_t start, text::Encoding encoding,
                            const QFont& font, const Preedit* preedit) {
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

int TMemo::ShapedRow::placeOf(std::size_t offset) const {
  return static_cast<int>(std::lower_bound(offsets.begin(), offsets.end(), offset) -
                          offsets.begin());
}

qreal TMemo::ShapedRow::xOf(std::size_t offset) const {
  return layout.lineAt(0).cursorToX(placeOf(offset));
}

std::size_t TMemo::ShapedRow::offsetAt(qreal x) const {
  const int place = layout.lineAt(0).xToCursor(x);
  return offsets[static_cast<std::size_t>(std::clamp<int>(place, 0, int(offsets.size()) - 1))];
}

TMemo::ShapedRow TMemo::shape(std::size_t row) const {
  const Preedit composing{model.cursor(), preedit, preeditFormats};
  return ShapedRow(rowText(row), layout.rowStart(row), model.encoding(), textFont,
                   !preedit.isEmpty() && row == cursorRow() ? &composing : nullptr);
}

std::pair<std::size_t, std::size_t> TMemo::paragraphAround(std::size_t position) const {
  constexpr std::size_t kReach = 4096;
  const std::string& bytes = model.bytes();
  std::size_t start = position;
  while (start > 0 && position - start < kReach && bytes[start - 1] != '\n' &&
         bytes[start - 1] != '\r')
    --start;
  std::size_t end = position;
  while (end < bytes.size() && end - position < kReach && bytes[end] != '\r' && bytes[end] != '\n')
    ++end;
  return {model.characterStart(start), model.characterStart(end)};
}

// Painting

void TMemo::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QPalette& colours = palette();
  painter.setPen(colours.color(QPalette::Text));
  QTextLayout::FormatRange selection;
  selection.format.setBackground(colours.highlight());
  selection.format.setForeground(colours.highlightedText());
  const std::size_t first = firstVisibleRow();
  for (std::size_t row = first; row < layout.rowCount(); ++row) {
    const int top = kMargin + static_cast<int>(row - first) * lineHeight;
    if (top > event->rect().bottom()) break;
    if (top + lineHeight < event->rect().top()) continue;
    const ShapedRow shaped = shape(row);
    selection.start = shaped.placeOf(std::max(model.selectionStart(), layout.rowStart(row)));
    selection.length = shaped.placeOf(model.selectionEnd()) - selection.start;
    shaped.layout.draw(&painter, QPointF(kMargin, top),
                       selection.length > 0 ? QList{selection} : QList<QTextLayout::FormatRange>{});
  }
  if (caretOn && hasFocus() && preeditCursor >= 0) painter.fillRect(cursorRect(), colours.text());
}

QRect TMemo::cursorRect() const {
  if (!caret) {
    const std::size_t row = cursorRow();
    const ShapedRow shaped = shape(row);
    const int x = qFloor(preedit.isEmpty()
                             ? shaped.xOf(model.cursor())
                             : shaped.layout.lineAt(0).cursorToX(shaped.placeOf(model.cursor()) +
                                                                 std::max(preeditCursor, 0)));
    const int rowOnScreen = static_cast<int>(row) - static_cast<int>(firstVisibleRow());
    caret = QRect(kMargin + x, kMargin + rowOnScreen * lineHeight, 1, lineHeight);
  }
  return *caret;
}

void TMemo::restartBlink() {
  caret.reset();
  announceCursor();
  caretOn = true;
  const int flash = QApplication::cursorFlashTime();
  if (hasFocus() && flash > 0) {
    blinkTimer.start(flash / 2, this);
  } else {
    blinkTimer.stop();
  }
  viewport()->update();
}

void TMemo::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blinkTimer.timerId()) return QAbstractScrollArea::timerEvent(event);
  caretOn = !caretOn;
  viewport()->update(cursorRect().adjusted(-1, 0, 1, 0));
}

void TMemo::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  restartBlink();
}

void TMemo::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  blinkTimer.stop();
  viewport()->update();
}

// The cursor

std::size_t TMemo::cursorRow() const {
  const std::size_t cursor = model.cursor();
  const std::size_t row = layout.rowOf(cursor);
  const bool endOfPrevious = cursorAtRowEnd && row > 0 && layout.rowStart(row) == cursor &&
                             layout.wrapsAfter(model.bytes(), row - 1);
  return endOfPrevious ? row - 1 : row;
}

void TMemo::setCursor(std::size_t position, bool select, bool atRowEnd) {
  model.setCursor(position, select);
  cursorAtRowEnd = atRowEnd;
  ensureCursorVisible();
  restartBlink();
}

void TMemo::ensureCursorVisible() {
  QScrollBar* bar = verticalScrollBar();
  const auto row = static_cast<int>(std::min<std::size_t>(cursorRow(), INT_MAX));
  if (row < bar->value()) {
    bar->setValue(row);
  } else if (row >= bar->value() + visibleRows()) {
    bar->setValue(row - visibleRows() + 1);
  }
}

std::pair<std::size_t, std::size_t> TMemo::hit(QPoint point) const {
  const int rowOnScreen = point.y() < kMargin ? -1 : (point.y() - kMargin) / lineHeight;
  const auto row = static_cast<std::size_t>(
      std::clamp<long long>(static_cast<long long>(firstVisibleRow()) + rowOnScreen, 0,
                            static_cast<long long>(layout.rowCount()) - 1));
  return {row, shape(row).offsetAt(point.x() - kMargin)};
}

void TMemo::moveCursor(Move move, bool select) {
  if (!select && model.hasSelection() && (move == Move::nextChar || move == Move::previousChar)) {
    setCursor(move == Move::nextChar ? model.selectionEnd() : model.selectionStart(), false);
    return;
  }
  const bool vertical = move == Move::nextLine || move == Move::previousLine ||
                        move == Move::nextPage || move == Move::previousPage;
  if (!vertical) {
    goalX = -1;
  } else if (goalX < 0) {
    goalX = shape(cursorRow()).xOf(model.cursor());
  }
  const Place place = target(move);
  // A page move takes the view along by the same page.
  QScrollBar* bar = verticalScrollBar();
  if (move == Move::nextPage) bar->setValue(bar->value() + visibleRows());
  if (move == Move::previousPage) bar->setValue(bar->value() - visibleRows());
  setCursor(place.offset, select, place.atRowEnd);
}

TMemo::Place TMemo::inRow(std::size_t row, std::size_t offset) const {
  // The end of a wrapped row is also where the next one starts.
  return {offset,
          offset == layout.rowEnd(model.bytes(), row) && layout.wrapsAfter(model.bytes(), row)};
}

TMemo::Place TMemo::target(Move move) const {
  const std::size_t row = cursorRow();
  const auto rowAt = [this, row](long long step) {
    return static_cast<std::size_t>(std::clamp<long long>(
        static_cast<long long>(row) + step, 0, static_cast<long long>(layout.rowCount()) - 1));
  };
  const auto aimAt = [this](std::size_t to) { return inRow(to, shape(to).offsetAt(goalX)); };
  const std::size_t i = model.cursor();
  switch (move) {
    case Move::nextChar:
      return {model.nextCharacter(i), false};
    case Move::previousChar:
      return {model.previousCharacter(i), false};
    case Move::nextWord:
      return {model.nextWord(i), false};
    case Move::previousWord:
      return {model.previousWord(i), false};
    case Move::nextLine:
      return aimAt(rowAt(1));
    case Move::previousLine:
      return aimAt(rowAt(-1));
    case Move::nextPage:
      return aimAt(rowAt(visibleRows()));
    case Move::previousPage:
      return aimAt(rowAt(-visibleRows()));
    case Move::startOfLine:
      return {layout.rowStart(row), false};
    case Move::endOfLine:
      return inRow(row, layout.rowEnd(model.bytes(), row));
    case Move::startOfDocument:
      return {0, false};
    case Move::endOfDocument:
      return {model.bytes().size(), false};
  }
  return {i, false};
}

// Keys, mouse, menus and drops

void TMemo::keyPressEvent(QKeyEvent* event) {
  using Key = QKeySequence;
  struct KeyMove {
    Key::StandardKey key;
    Move move;
    bool select;
  };
  static constexpr std::array<KeyMove, 24> kMoves = {{
      {Key::MoveToNextChar, Move::nextChar, false},
      {Key::SelectNextChar, Move::nextChar, true},
      {Key::MoveToPreviousChar, Move::previousChar, false},
      {Key::SelectPreviousChar, Move::previousChar, true},
      {Key::MoveToNextWord, Move::nextWord, false},
      {Key::SelectNextWord, Move::nextWord, true},
      {Key::MoveToPreviousWord, Move::previousWord, false},
      {Key::SelectPreviousWord, Move::previousWord, true},
      {Key::MoveToNextLine, Move::nextLine, false},
      {Key::SelectNextLine, Move::nextLine, true},
      {Key::MoveToPreviousLine, Move::previousLine, false},
      {Key::SelectPreviousLine, Move::previousLine, true},
      {Key::MoveToStartOfLine, Move::startOfLine, false},
      {Key::SelectStartOfLine, Move::startOfLine, true},
      {Key::MoveToEndOfLine, Move::endOfLine, false},
      {Key::SelectEndOfLine, Move::endOfLine, true},
      {Key::MoveToStartOfDocument, Move::startOfDocument, false},
      {Key::SelectStartOfDocument, Move::startOfDocument, true},
      {Key::MoveToEndOfDocument, Move::endOfDocument, false},
      {Key::SelectEndOfDocument, Move::endOfDocument, true},
      {Key::MoveToNextPage, Move::nextPage, false},
      {Key::SelectNextPage, Move::nextPage, true},
      {Key::MoveToPreviousPage, Move::previousPage, false},
      {Key::SelectPreviousPage, Move::previousPage, true},
  }};
  for (const KeyMove& entry : kMoves) {
    if (event->matches(entry.key)) {
      moveCursor(entry.move, entry.select);
      return;
    }
  }
  if (event->matches(Key::SelectAll)) return selectAll();
  if (const std::optional<int> zoom = zoomOf(*event)) return emit zoomRequested(*zoom);
  if (event->matches(Key::Copy)) {
    copy();
    return;
  }
  if (!readOnly) {
    if (event->matches(Key::Cut)) return cut();
    if (event->matches(Key::Paste)) return paste();
    if (event->matches(Key::Undo)) return undo();
    if (event->matches(Key::Redo)) return redo();
    const bool deleteBack = event->key() == Qt::Key_Backspace;
    const bool deleteOn = event->matches(Key::Delete);
    const bool deleteWordBack = event->matches(Key::DeleteStartOfWord);
    const bool deleteWordOn = event->matches(Key::DeleteEndOfWord);
    if (deleteBack || deleteOn || deleteWordBack || deleteWordOn) {
      if (!model.hasSelection()) {
        const bool back = deleteBack || deleteWordBack;
        const bool word = deleteWordBack || deleteWordOn;
        model.select(target(back ? (word ? Move::previousWord : Move::previousChar)
                                 : (word ? Move::nextWord : Move::nextChar))
                         .offset,
                     model.cursor());
      }
      return deleteSelection();
    }
    if (event->matches(Key::InsertParagraphSeparator) || event->matches(Key::InsertLineSeparator)) {
      withMemory(QT_TR_NOOP("type"), [this] { replaceSelection("\r\n", true); });
      return;
    }
    if (typesText(*event)) {
      withMemory(QT_TR_NOOP("type"), [this, event] { insertConverted(event->text(), true); });
      return;
    }
  }
  event->ignore();
}

void TMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (readOnly) return event->ignore();
  // A commit may take the place of text around the cursor, counted in
  // UTF-16 units from it.
  const bool replaces = event->replacementLength() > 0 || event->replacementStart() != 0;
  if (replaces) {
    const auto cursorUnit = static_cast<long long>(model.unitOf(model.cursor()));
    const auto from = std::max(cursorUnit + event->replacementStart(), 0LL);
    const auto to = std::max(from + event->replacementLength(), from);
    model.select(model.byteOfUnit(static_cast<std::size_t>(from)),
                 model.byteOfUnit(static_cast<std::size_t>(to)));
  }
  if (replaces || !event->commitString().isEmpty()) {
    withMemory(QT_TR_NOOP("type"), [this, event] { insertConverted(event->commitString(), true); });
  }
  // What is being composed shows at the cursor, underlined, with its own
  // cursor.
  preedit = event->preeditString();
  preeditCursor = preedit.size();
  preeditFormats.clear();
  for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
    if (attribute.type == QInputMethodEvent::Cursor) {
      preeditCursor = attribute.length > 0 ? attribute.start : -1;
    } else if (attribute.type == QInputMethodEvent::TextFormat) {
      const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
      if (format.isValid()) preeditFormats.push_back({attribute.start, attribute.length, format});
    }
  }
  if (preeditFormats.isEmpty() && !preedit.isEmpty()) {
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    preeditFormats.push_back({0, static_cast<int>(preedit.size()), underlined});
  }
  caret.reset();
  viewport()->update();
  event->accept();
}

QVariant TMemo::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return !readOnly;
    case Qt::ImCursorRectangle:
      return QRectF(cursorRect().translated(viewport()->pos()));
    case Qt::ImFont:
      return textFont;
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImAbsolutePosition:
      return static_cast<qlonglong>(model.unitOf(model.cursor()));
    case Qt::ImSurroundingText:
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
    case Qt::ImTextBeforeCursor:
    case Qt::ImTextAfterCursor:
    case Qt::ImCurrentSelection:
      return surroundingQuery(query);
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

QVariant TMemo::surroundingQuery(Qt::InputMethodQuery query) const {
  // The text around the cursor that input methods may read and replace:
  // its paragraph, no more than kSurrounding units either side.
  constexpr std::size_t kSurrounding = 1024;
  const std::size_t cursor = model.unitOf(model.cursor());
  const auto [paragraphStart, paragraphEnd] = paragraphAround(model.cursor());
  const std::size_t from =
      std::max(model.unitOf(paragraphStart), cursor - std::min(cursor, kSurrounding));
  const std::size_t to = std::min(model.unitOf(paragraphEnd), cursor + kSurrounding);
  const auto slice = [this](std::size_t fromUnit, std::size_t toUnit) {
    const std::size_t start = model.byteOfUnit(fromUnit);
    return QString::fromStdString(text::toUtf8(
        std::string_view(model.bytes()).substr(start, model.byteOfUnit(toUnit) - start),
        model.encoding()));
  };
  const auto inSlice = [from, to](std::size_t unit) {
    return static_cast<int>(std::clamp(unit, from, to) - from);
  };
  switch (query) {
    case Qt::ImCursorPosition:
      return inSlice(cursor);
    case Qt::ImAnchorPosition:
      return inSlice(model.unitOf(model.anchor()));
    case Qt::ImTextBeforeCursor:
      return slice(from, cursor);
    case Qt::ImTextAfterCursor:
      return slice(cursor, to);
    case Qt::ImCurrentSelection: {
      const std::size_t start = model.unitOf(model.selectionStart());
      return slice(start, std::min(model.unitOf(model.selectionEnd()), start + kSurrounding));
    }
    default:
      return slice(from, to);
  }
}

void TMemo::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  const auto [row, offset] = hit(event->position().toPoint());
  const Place place = inRow(row, offset);
  goalX = -1;
  setCursor(place.offset, event->modifiers() & Qt::ShiftModifier, place.atRowEnd);
}

void TMemo::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint point = event->position().toPoint();
  QScrollBar* bar = verticalScrollBar();
  if (point.y() < 0) bar->setValue(bar->value() - 1);
  if (point.y() > viewport()->height()) bar->setValue(bar->value() + 1);
  model.setCursor(hit(point).second, true);
  cursorAtRowEnd = false;
  restartBlink();
}

void TMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const auto [from, to] = model.wordAt(hit(event->position().toPoint()).second);
  if (from == to) return;
  model.select(from, from);
  setCursor(to, true);
}

void TMemo::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createContextMenu();
  menu->exec(event->globalPos());
  delete menu;
}

namespace {

// The first local file among the dropped things, if any.
QString droppedFile(const QMimeData* data) {
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

void TMemo::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (!readOnly && (data->hasText() || !droppedFile(data).isEmpty())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TMemo::dragMoveEvent(QDragMoveEvent* event) {
  if (!readOnly) event->acceptProposedAction();
}

void TMemo::dropEvent(QDropEvent* event) {
  if (readOnly) return;
  const QMimeData* data = event->mimeData();
  const QString file = droppedFile(data);
  if (!file.isEmpty()) {
    emit fileDropped(file);
  } else if (data->hasText()) {
    setCursor(hit(event->position().toPoint()).second, false);
    withMemory(QT_TR_NOOP("drop the text"), [this, data] { insertText(data->text()); });
  } else {
    return;
  }
  event->acceptProposedAction();
}
