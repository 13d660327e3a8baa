// What reaches a memo from the user: keys, input methods, the mouse, drops,
// the clipboard and the context menu.
#include "Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <optional>

#include "BoxText.h"

namespace {

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

// The clipboard and the context menu

bool TMemo::copy() {
  const TextModel& model = doc.model();
  if (!model.hasSelection()) return false;
  if (model.selectionEnd() - model.selectionStart() > kLargestCopy) {
    QMessageBox::warning(
        this, QCoreApplication::applicationName(),
        tr("The selection is too large to copy: %1 MiB of text. \"Save result as\u2026\" in the "
           "result's menu saves a result whole.")
            .arg((model.selectionEnd() - model.selectionStart()) >> 20));
    return false;
  }
  return withMemory(QT_TR_NOOP("copy"), [&model] {
    QApplication::clipboard()->setText(fromBytes(model.selectedBytes(), model.encoding()));
  });
}

void TMemo::cut() {
  // What could not be copied stays.
  if (!readOnly && doc.model().hasSelection() && copy()) deleteSelection();
}

void TMemo::paste() {
  if (readOnly) return;
  withMemory(QT_TR_NOOP("paste"), [this] {
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) insertText(text);
  });
}

QMenu* TMemo::createContextMenu() {
  const TextModel& model = doc.model();
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

// Keys

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
      if (!doc.model().hasSelection()) {
        const bool back = deleteBack || deleteWordBack;
        const bool word = deleteWordBack || deleteWordOn;
        const Move move = back ? (word ? Move::previousWord : Move::previousChar)
                               : (word ? Move::nextWord : Move::nextChar);
        // A move over characters or words needs no row aimed at.
        doc.select(doc.target(move, 0, {}).offset, doc.model().cursor());
      }
      return deleteSelection();
    }
    if (event->matches(Key::InsertParagraphSeparator) || event->matches(Key::InsertLineSeparator)) {
      withMemory(QT_TR_NOOP("type"), [this] { replaceSelection(bytesOf(newLineBreak), true); });
      return;
    }
    if (typesText(*event)) {
      withMemory(QT_TR_NOOP("type"), [this, event] { insertConverted(event->text(), true); });
      return;
    }
  }
  event->ignore();
}

// Input methods

void TMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (readOnly) return event->ignore();
  // A commit may take the place of text around the cursor, counted in
  // UTF-16 units from it.
  const TextModel& model = doc.model();
  const bool replaces = event->replacementLength() > 0 || event->replacementStart() != 0;
  if (replaces) {
    const auto cursorUnit = static_cast<long long>(model.unitOf(model.cursor()));
    const auto from = std::max(cursorUnit + event->replacementStart(), 0LL);
    const auto to = std::max(from + event->replacementLength(), from);
    doc.select(model.byteOfUnit(static_cast<std::size_t>(from)),
               model.byteOfUnit(static_cast<std::size_t>(to)));
  }
  if (replaces || !event->commitString().isEmpty()) {
    withMemory(QT_TR_NOOP("type"), [this, event] { insertConverted(event->commitString(), true); });
  }
  // What is being composed shows at the cursor, underlined, with its own
  // cursor.
  const QString preedit = event->preeditString();
  int preeditCursor = static_cast<int>(preedit.size());
  QList<QTextLayout::FormatRange> preeditFormats;
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
  renderer.setPreedit(preedit, preeditCursor, std::move(preeditFormats));
  viewport()->update();
  event->accept();
}

QVariant TMemo::inputMethodQuery(Qt::InputMethodQuery query) const {
  const TextModel& model = doc.model();
  switch (query) {
    case Qt::ImEnabled:
      return !readOnly;
    case Qt::ImCursorRectangle:
      return QRectF(cursorRect().translated(viewport()->pos()));
    case Qt::ImFont:
      return renderer.font();
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
  const TextModel& model = doc.model();
  const std::size_t cursor = model.unitOf(model.cursor());
  const auto [paragraphStart, paragraphEnd] = paragraphAround(model.cursor());
  const std::size_t from =
      std::max(model.unitOf(paragraphStart), cursor - std::min(cursor, kSurrounding));
  const std::size_t to = std::min(model.unitOf(paragraphEnd), cursor + kSurrounding);
  const auto slice = [&model](std::size_t fromUnit, std::size_t toUnit) {
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

std::pair<std::size_t, std::size_t> TMemo::paragraphAround(std::size_t position) const {
  constexpr std::size_t kReach = 4096;
  const auto [start, end] = doc.model().lineAround(position, kReach);
  return {doc.model().characterStart(start), doc.model().characterStart(end)};
}

// The mouse and drops

void TMemo::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  const auto [row, offset] = hit(event->position().toPoint());
  const Place place = doc.inRow(row, offset);
  goalX = -1;
  setCursor(place.offset, event->modifiers() & Qt::ShiftModifier, place.atRowEnd);
}

void TMemo::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint point = event->position().toPoint();
  QScrollBar* bar = verticalScrollBar();
  if (point.y() < 0) bar->setValue(bar->value() - 1);
  if (point.y() > viewport()->height()) bar->setValue(bar->value() + 1);
  doc.setCursor(hit(point).second, true);
  restartBlink();
}

void TMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const auto [from, to] = doc.model().wordAt(hit(event->position().toPoint()).second);
  if (from == to) return;
  doc.select(from, from);
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
