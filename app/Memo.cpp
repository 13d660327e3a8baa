#include "Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QtMath>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

#include "Vcl.h"

namespace {

// The room between the frame and the text, as a text document leaves it.
constexpr int kMargin = 4;
constexpr int kTabStopPixels = 80;
constexpr int kUnitsPerPixel = 64;

// What a character is for word moves and double clicks.
enum class Class { space, word, mark };

Class classOf(char byte) {
  const auto c = static_cast<unsigned char>(byte);
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return Class::space;
  if ((c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c == '_' || c >= 0x80)
    return Class::word;
  return Class::mark;
}

bool isLineBreak(char byte) {
  return byte == '\r' || byte == '\n';
}

}  // namespace

TMemo::TMemo(QWidget* parent) : QAbstractScrollArea(parent) {
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
  bytes = std::move(text);
  cursor = anchor = 0;
  cursorAtRowEnd = false;
  goalX = -1;
  undoStack.clear();
  redoStack.clear();
  verticalScrollBar()->setValue(0);
  relayout();
}

void TMemo::setReadOnly(bool on) {
  readOnly = on;
  setAttribute(Qt::WA_InputMethodEnabled, !on);
  setAcceptDrops(!on);
  viewport()->setAcceptDrops(!on);
}

void TMemo::insertText(const QString& text) {
  insertBytes(toAnsi(text));
}

void TMemo::insertBytes(std::string_view inserted) {
  if (readOnly) return;
  replaceSelection(inserted, false);
}

std::string TMemo::selectedText() const {
  const std::size_t from = std::min(anchor, cursor);
  return bytes.substr(from, std::max(anchor, cursor) - from);
}

void TMemo::selectAll() {
  anchor = 0;
  cursor = bytes.size();
  cursorAtRowEnd = false;
  viewport()->update();
}

void TMemo::copy() const {
  if (anchor != cursor) QApplication::clipboard()->setText(fromAnsi(selectedText()));
}

void TMemo::cut() {
  if (readOnly || anchor == cursor) return;
  copy();
  deleteSelection();
}

void TMemo::paste() {
  if (readOnly) return;
  const QString text = QApplication::clipboard()->text();
  if (!text.isEmpty()) insertText(text);
}

void TMemo::deleteSelection() {
  if (readOnly || anchor == cursor) return;
  replaceSelection({}, false);
}

void TMemo::undo() {
  if (readOnly || undoStack.empty()) return;
  redoStack.push_back(std::move(undoStack.back()));
  undoStack.pop_back();
  const Edit& edit = redoStack.back();
  change(edit.position, edit.inserted.size(), edit.removed);
}

void TMemo::redo() {
  if (readOnly || redoStack.empty()) return;
  undoStack.push_back(std::move(redoStack.back()));
  redoStack.pop_back();
  const Edit& edit = undoStack.back();
  change(edit.position, edit.removed.size(), edit.inserted);
}

void TMemo::replaceSelection(std::string_view with, bool typed) {
  const std::size_t from = std::min(anchor, cursor);
  replace(from, std::max(anchor, cursor) - from, with, typed);
}

void TMemo::replace(std::size_t position, std::size_t count, std::string_view with, bool typed) {
  if (count == 0 && with.empty()) return;
  Edit* last = undoStack.empty() ? nullptr : &undoStack.back();
  if (typed && count == 0 && last != nullptr && last->typed && last->removed.empty() &&
      last->position + last->inserted.size() == position) {
    last->inserted += with;
  } else {
    undoStack.push_back({position, bytes.substr(position, count), std::string(with), typed});
  }
  redoStack.clear();
  change(position, count, with);
}

void TMemo::change(std::size_t position, std::size_t count, std::string_view with) {
  bytes.replace(position, count, with);
  layout.update(bytes, position, count, with.size());
  cursor = anchor = position + with.size();
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
  const bool selection = anchor != cursor;
  const auto add = [this, menu](const char* name, const QString& text,
                                QKeySequence::StandardKey key, bool enabled, auto handler) {
    QAction* action =
        menu->addAction(text + u'\t' + QKeySequence(key).toString(QKeySequence::NativeText));
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, handler);
  };
  if (!readOnly) {
    add("edit-undo", tr("&Undo"), QKeySequence::Undo, !undoStack.empty(), &TMemo::undo);
    add("edit-redo", tr("&Redo"), QKeySequence::Redo, !redoStack.empty(), &TMemo::redo);
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
  add("select-all", tr("Select All"), QKeySequence::SelectAll, !bytes.empty(), &TMemo::selectAll);
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
  return std::string_view(bytes).substr(start, layout.rowEnd(bytes, row) - start);
}

// Layout

void TMemo::updateMetrics() {
  textFont = font();
  textFont.setKerning(false);
  const QFontMetricsF metrics(textFont);
  MemoLayout::Advances advances{};
  for (int byte = 0; byte < 256; ++byte) {
    const qreal width = metrics.horizontalAdvance(ansiChar(static_cast<unsigned char>(byte)));
    // Every byte takes room, so no row can hold more bytes than it is wide.
    advances[byte] = std::max(qRound(width * kUnitsPerPixel), kUnitsPerPixel);
  }
  layout.setMetrics(advances, kTabStopPixels * kUnitsPerPixel);
  lineHeight = std::max(qCeil(metrics.height()), 1);
  ascent = qCeil(metrics.ascent());
  relayout();
}

int TMemo::visibleRows() const {
  return std::max((viewport()->height() - 2 * kMargin) / lineHeight, 1);
}

void TMemo::wrapAt(int pixels) {
  layout.setWidth(std::max(pixels - 2 * kMargin, 1) * kUnitsPerPixel);
  layout.wrap(bytes);
}

void TMemo::relayout() {
  // A text that needs the scroll bar wraps once, at the width the bar leaves.
  const int full = contentsRect().width();
  const auto rows = static_cast<std::size_t>(visibleRows());
  bool bar = bytes.size() > rows * static_cast<std::size_t>(std::max(full, 1));
  if (!bar) {
    wrapAt(full);
    bar = layout.rowCount() > rows;
  }
  if (bar) wrapAt(full - verticalScrollBar()->sizeHint().width());
  laidOutFor = size();
  setVerticalScrollBarPolicy(bar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  updateScrollRange();
  viewport()->update();
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
  if (size() != laidOutFor) {
    relayout();
    return;
  }
  // The scroll bar came or went as `relayout` decided; wrap again only where
  // it took other room than foreseen.
  const int width = std::max(viewport()->width() - 2 * kMargin, 1) * kUnitsPerPixel;
  if (width != layout.width()) {
    layout.setWidth(width);
    layout.wrap(bytes);
  }
  updateScrollRange();
}

void TMemo::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) updateMetrics();
}

void TMemo::scrollContentsBy(int, int) {
  viewport()->update();
}

// Painting

void TMemo::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setFont(textFont);
  const QPalette& colours = palette();
  const std::size_t selectionStart = std::min(anchor, cursor);
  const std::size_t selectionEnd = std::max(anchor, cursor);
  const std::int32_t rightEdge = viewport()->width() * kUnitsPerPixel;
  const std::size_t first = firstVisibleRow();
  for (std::size_t row = first; row < layout.rowCount(); ++row) {
    const int top = kMargin + static_cast<int>(row - first) * lineHeight;
    if (top > event->rect().bottom()) break;
    if (top + lineHeight < event->rect().top()) continue;
    const std::size_t start = layout.rowStart(row);
    const std::size_t end = layout.rowEnd(bytes, row);
    const std::size_t from = std::clamp(selectionStart, start, end);
    const std::size_t to = std::clamp(selectionEnd, start, end);
    if (from < to) {
      const qreal left = layout.xOf(bytes, row, from) / qreal{kUnitsPerPixel};
      const qreal right = layout.xOf(bytes, row, to) / qreal{kUnitsPerPixel};
      painter.fillRect(QRectF(kMargin + left, top, right - left, lineHeight), colours.highlight());
    }
    // Runs of bytes between tabs and selection edges, up to the right edge.
    std::int32_t x = 0;
    for (std::size_t i = start; i < end && x < rightEdge;) {
      if (bytes[i] == '\t') {
        x = layout.advance('\t', x);
        ++i;
        continue;
      }
      const bool selected = i >= selectionStart && i < selectionEnd;
      const std::size_t limit = std::min(end, selected             ? selectionEnd
                                              : i < selectionStart ? selectionStart
                                                                   : end);
      const std::int32_t runX = x;
      std::size_t j = i;
      for (; j < limit && bytes[j] != '\t' && x < rightEdge; ++j)
        x = layout.advance(static_cast<unsigned char>(bytes[j]), x);
      painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
      painter.drawText(QPointF(kMargin + runX / qreal{kUnitsPerPixel}, top + ascent),
                       fromAnsi(std::string_view(bytes).substr(i, j - i)));
      i = j;
    }
  }
  if (caretOn && hasFocus()) painter.fillRect(cursorRect(), colours.text());
}

QRect TMemo::cursorRect() const {
  const std::size_t row = cursorRow();
  const int x = layout.xOf(bytes, row, cursor) / kUnitsPerPixel;
  const int rowOnScreen = static_cast<int>(row) - static_cast<int>(firstVisibleRow());
  return {kMargin + x, kMargin + rowOnScreen * lineHeight, 1, lineHeight};
}

void TMemo::restartBlink() {
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
  const std::size_t row = layout.rowOf(cursor);
  const bool endOfPrevious = cursorAtRowEnd && row > 0 && layout.rowStart(row) == cursor &&
                             layout.wrapsAfter(bytes, row - 1);
  return endOfPrevious ? row - 1 : row;
}

void TMemo::setCursor(std::size_t position, bool select, bool atRowEnd) {
  cursor = position;
  if (!select) anchor = position;
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
  return {row, layout.offsetAt(bytes, row, (point.x() - kMargin) * kUnitsPerPixel)};
}

void TMemo::moveCursor(Move move, bool select) {
  if (!select && anchor != cursor && (move == Move::nextChar || move == Move::previousChar)) {
    setCursor(move == Move::nextChar ? std::max(anchor, cursor) : std::min(anchor, cursor), false);
    return;
  }
  const bool vertical = move == Move::nextLine || move == Move::previousLine ||
                        move == Move::nextPage || move == Move::previousPage;
  if (!vertical) {
    goalX = -1;
  } else if (goalX < 0) {
    goalX = layout.xOf(bytes, cursorRow(), cursor);
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
  return {offset, offset == layout.rowEnd(bytes, row) && layout.wrapsAfter(bytes, row)};
}

TMemo::Place TMemo::target(Move move) const {
  const std::size_t n = bytes.size();
  const std::size_t row = cursorRow();
  const auto rowAt = [this, row](long long step) {
    return static_cast<std::size_t>(std::clamp<long long>(
        static_cast<long long>(row) + step, 0, static_cast<long long>(layout.rowCount()) - 1));
  };
  const auto aimAt = [this](std::size_t to) {
    return inRow(to, layout.offsetAt(bytes, to, goalX));
  };
  std::size_t i = cursor;
  switch (move) {
    case Move::nextChar:
      if (i < n) i += bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n' ? 2 : 1;
      return {i, false};
    case Move::previousChar:
      if (i > 0) i -= i >= 2 && bytes[i - 2] == '\r' && bytes[i - 1] == '\n' ? 2 : 1;
      return {i, false};
    case Move::nextWord:
      if (i < n && classOf(bytes[i]) != Class::space) {
        const Class run = classOf(bytes[i]);
        while (i < n && classOf(bytes[i]) == run)
          ++i;
      }
      while (i < n && classOf(bytes[i]) == Class::space)
        ++i;
      return {i, false};
    case Move::previousWord:
      while (i > 0 && classOf(bytes[i - 1]) == Class::space)
        --i;
      if (i > 0) {
        const Class run = classOf(bytes[i - 1]);
        while (i > 0 && classOf(bytes[i - 1]) == run)
          --i;
      }
      return {i, false};
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
      return inRow(row, layout.rowEnd(bytes, row));
    case Move::startOfDocument:
      return {0, false};
    case Move::endOfDocument:
      return {n, false};
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
  if (event->matches(Key::Copy)) return copy();
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
      if (anchor == cursor) {
        const bool back = deleteBack || deleteWordBack;
        const bool word = deleteWordBack || deleteWordOn;
        anchor = target(back ? (word ? Move::previousWord : Move::previousChar)
                             : (word ? Move::nextWord : Move::nextChar))
                     .offset;
      }
      return deleteSelection();
    }
    if (event->matches(Key::InsertParagraphSeparator) || event->matches(Key::InsertLineSeparator)) {
      return replaceSelection("\r\n", true);
    }
    const QString typed = event->text();
    // Tab moves the focus on and never types itself.
    if (!typed.isEmpty() && typed.front().isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      return replaceSelection(toAnsi(typed), true);
    }
  }
  event->ignore();
}

void TMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (!readOnly && !event->commitString().isEmpty()) {
    replaceSelection(toAnsi(event->commitString()), true);
  }
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
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
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
  cursor = hit(point).second;
  cursorAtRowEnd = false;
  restartBlink();
}

void TMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  std::size_t from = hit(event->position().toPoint()).second;
  if (from == bytes.size() || isLineBreak(bytes[from])) return;
  const Class run = classOf(bytes[from]);
  std::size_t to = from;
  while (to < bytes.size() && classOf(bytes[to]) == run && !isLineBreak(bytes[to]))
    ++to;
  while (from > 0 && classOf(bytes[from - 1]) == run && !isLineBreak(bytes[from - 1]))
    --from;
  anchor = from;
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
    insertText(data->text());
  } else {
    return;
  }
  event->acceptProposedAction();
}
