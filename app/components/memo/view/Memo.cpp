#include "Memo.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <tuple>
#include <utility>

#include "BoxText.h"

namespace {

// What `TMemo::attachToEveryMemo` asked for.
void (*attachment)(TMemo& memo) = nullptr;

constexpr int kMargin = MemoRenderer::kMargin;
constexpr int kUnitsPerPixel = MemoRenderer::kUnitsPerPixel;

}  // namespace

void TMemo::attachToEveryMemo(void (*attach)(TMemo& memo)) {
  attachment = attach;
}

TMemo::TMemo(QWidget* parent) : QAbstractScrollArea(parent) {
  if (attachment != nullptr) attachment(*this);
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
  doc.setText(std::move(text), std::move(wrapped.rows));
  goalX = -1;
  showWrapped(wrapped.bar);
  verticalScrollBar()->setValue(0);
  emit textChanged();
}

void TMemo::setEncoding(text::Encoding encoding) {
  doc.setEncoding(encoding, [this] { updateMetrics(); });
}

void TMemo::setPlaceholderText(const QString& text) {
  placeholder = text;
  viewport()->update();
}

void TMemo::setReadOnly(bool on) {
  readOnly = on;
  setAttribute(Qt::WA_InputMethodEnabled, !on);
  setAcceptDrops(!on);
  viewport()->setAcceptDrops(!on);
}

// Editing

void TMemo::insertText(const QString& text) {
  if (!readOnly) insertConverted(text, false);
}

void TMemo::insertConverted(const QString& text, bool typed) {
  const text::Encoded encoded = toBytes(text, encoding(), newLineBreak);
  replaceSelection(encoded.bytes, typed);
  if (encoded.lost > 0) showLossNotice(this, cursorRect().bottomLeft(), encoded.lost, encoding());
}

void TMemo::insertBytes(std::string_view inserted) {
  if (readOnly) return;
  replaceSelection(inserted, false);
}

std::string TMemo::selectedText() const {
  return std::string(doc.model().selectedBytes());
}

void TMemo::selectAll() {
  doc.select(0, doc.model().bytes().size());
  doc.leaveRowEnd();
  restartBlink();
}

void TMemo::deleteSelection() {
  if (readOnly || !doc.model().hasSelection()) return;
  withMemory(QT_TR_NOOP("delete"), [this] { replaceSelection({}, false); });
}

void TMemo::undo() {
  if (readOnly || !doc.model().canUndo()) return;
  withMemory(QT_TR_NOOP("undo"), [this] {
    doc.undo();
    changed();
  });
}

void TMemo::redo() {
  if (readOnly || !doc.model().canRedo()) return;
  withMemory(QT_TR_NOOP("redo"), [this] {
    doc.redo();
    changed();
  });
}

void TMemo::replaceSelection(std::string_view with, bool typed) {
  const TextModel& model = doc.model();
  if (model.selectionStart() == 0 && model.selectionEnd() == model.bytes().size()) {
    // All of the text: the new one is wrapped before anything changes.
    Wrapped wrapped = wrapToFit(with);
    doc.replaceAll(with, typed, std::move(wrapped.rows));
    showWrapped(wrapped.bar);
  } else {
    doc.replaceSelection(with, typed, [this] { relayout(); });
  }
  changed();
}

void TMemo::changed() {
  doc.leaveRowEnd();
  goalX = -1;
  if ((doc.layout().rowCount() > static_cast<std::size_t>(visibleRows())) !=
      (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)) {
    relayout();
  } else {
    updateScrollRange();
  }
  ensureCursorVisible();
  restartBlink();
  emit textChanged();
}

std::size_t TMemo::firstVisibleRow() const {
  return static_cast<std::size_t>(verticalScrollBar()->value());
}

// Metrics and scrolling

void TMemo::setZoom(int percent) {
  zoomPercent = percent;
  updateMetrics();
}

int TMemo::smallestZoom() const {
  constexpr qreal kPointsPerInch = 72;
  const QFont& own = font();
  const qreal pixels =
      own.pointSizeF() > 0 ? own.pointSizeF() * logicalDpiY() / kPointsPerInch : own.pixelSize();
  return static_cast<int>(std::ceil(kSmallestTextPixels * 100 / std::max(pixels, qreal{1})));
}

void TMemo::updateMetrics() {
  renderer.setFont(font(), zoomPercent, doc.layout());
  relayout();
}

int TMemo::visibleRows() const {
  return std::max((viewport()->height() - 2 * kMargin) / renderer.lineHeight(), 1);
}

TMemo::Wrapped TMemo::wrapToFit(std::string_view text) {
  const auto wrapAt = [this, text](int pixels) {
    const std::int32_t width = std::max(pixels - 2 * kMargin, 1) * kUnitsPerPixel;
    return std::pair{doc.layout().wrapped(text, width), width};
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
  return {{std::move(starts), width}, bar};
}

void TMemo::showWrapped(bool bar) {
  laidOutFor = size();
  setVerticalScrollBarPolicy(bar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  updateScrollRange();
  renderer.forgetCaret();
  viewport()->update();
}

void TMemo::relayout() {
  Wrapped wrapped = wrapToFit(doc.model().bytes());
  doc.layout().adopt(std::move(wrapped.rows.starts), wrapped.rows.width);
  showWrapped(wrapped.bar);
}

void TMemo::updateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  const std::size_t rows = doc.layout().rowCount();
  const auto shown = static_cast<std::size_t>(visibleRows());
  bar->setRange(0,
                static_cast<int>(std::min<std::size_t>(rows > shown ? rows - shown : 0, INT_MAX)));
  bar->setPageStep(static_cast<int>(shown));
  bar->setSingleStep(1);
}

void TMemo::resizeEvent(QResizeEvent*) {
  renderer.forgetCaret();
  if (size() != laidOutFor) {
    relayout();
    return;
  }
  // The scroll bar came or went as `relayout` decided; wrap again only where
  // it took other room than foreseen.
  const int width = std::max(viewport()->width() - 2 * kMargin, 1) * kUnitsPerPixel;
  if (width != doc.layout().width()) {
    doc.layout().setWidth(width);
    doc.layout().wrap(doc.model().bytes());
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
  renderer.forgetCaret();
  viewport()->update();
}

void TMemo::ensureCursorVisible() {
  QScrollBar* bar = verticalScrollBar();
  const auto row = static_cast<int>(std::min<std::size_t>(doc.cursorRow(), INT_MAX));
  if (row < bar->value()) {
    bar->setValue(row);
  } else if (row >= bar->value() + visibleRows()) {
    bar->setValue(row - visibleRows() + 1);
  }
}

void TMemo::showPosition(std::size_t position) {
  QScrollBar* bar = verticalScrollBar();
  const auto row = static_cast<int>(std::min<std::size_t>(doc.layout().rowOf(position), INT_MAX));
  if (row < bar->value() || row >= bar->value() + visibleRows()) bar->setValue(row);
}

// Places, for assistive tools

QRect TMemo::characterRect(std::size_t position) const {
  return renderer.characterRect(position, firstVisibleRow());
}

void TMemo::select(std::size_t anchor, std::size_t cursor) {
  doc.select(doc.model().characterStart(anchor), doc.model().characterStart(cursor));
  doc.leaveRowEnd();
  ensureCursorVisible();
  restartBlink();
}

void TMemo::replaceRange(std::size_t from, std::size_t to, const QString& text) {
  if (readOnly) return;
  doc.select(doc.model().characterStart(from), doc.model().characterStart(to));
  withMemory(QT_TR_NOOP("edit"), [this, &text] { insertText(text); });
}

// Painting and the caret

void TMemo::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  renderer.paint(painter, event->rect(), palette(), firstVisibleRow(), caretOn && hasFocus());
  if (doc.model().bytes().empty() && !renderer.composing() && !placeholder.isEmpty())
    renderer.paintPlaceholder(painter, viewport()->rect(), palette(), placeholder);
}

void TMemo::restartBlink() {
  renderer.forgetCaret();
  doc.showCursor();
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

void TMemo::setCursor(std::size_t position, bool select, bool atRowEnd) {
  doc.setCursor(position, select, atRowEnd);
  ensureCursorVisible();
  restartBlink();
}

void TMemo::moveCursor(Move move, bool select) {
  const TextModel& model = doc.model();
  if (!select && model.hasSelection() && (move == Move::nextChar || move == Move::previousChar)) {
    setCursor(move == Move::nextChar ? model.selectionEnd() : model.selectionStart(), false);
    return;
  }
  const bool vertical = move == Move::nextLine || move == Move::previousLine ||
                        move == Move::nextPage || move == Move::previousPage;
  if (!vertical) {
    goalX = -1;
  } else if (goalX < 0) {
    goalX = renderer.cursorX();
  }
  const Place place = doc.target(move, visibleRows(),
                                 [this](std::size_t row) { return renderer.offsetAt(row, goalX); });
  // A page move takes the view along by the same page.
  QScrollBar* bar = verticalScrollBar();
  if (move == Move::nextPage) bar->setValue(bar->value() + visibleRows());
  if (move == Move::previousPage) bar->setValue(bar->value() - visibleRows());
  setCursor(place.offset, select, place.atRowEnd);
}
