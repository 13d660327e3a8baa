#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_VIEW_MEMO_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_VIEW_MEMO_H_

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BoxText.h"
#include "Exceptions.h"
#include "MemoDocument.h"
#include "MemoRenderer.h"
#include "Text.h"
#include "TextModel.h"

class QAction;
class QMenu;
class QWindow;

// A multi-line box that holds its text as bytes and shows them as the
// characters of an encoding, wrapped to its width. It wraps the whole text in
// one pass and shapes and paints only the rows on screen, so a text of any
// size shows, scrolls, selects and copies at once. Typed and pasted text
// arrives as the encoding's bytes with the line breaks chosen by
// `setLineBreak`, CR LF unless told otherwise; a set text keeps
// its bytes as they are, and any of CR LF, a lone CR or a lone LF shows as a
// line break. Tab moves the focus on, as in a dialog. The text, its rows and
// its edits are a `MemoDocument`, which a `MemoRenderer` paints; this widget
// scrolls them and takes the keys, the mouse, input methods and drops.
class TMemo : public QAbstractScrollArea {
  Q_OBJECT
  Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
  Q_PROPERTY(QString placeholderText READ placeholderText WRITE setPlaceholderText)

 public:
  explicit TMemo(QWidget* parent = nullptr);

  const std::string& text() const { return doc.model().bytes(); }
  // Replaces the whole text; the cursor goes to the start and the undo
  // history is cleared.
  void setText(std::string text);
  void clear() { setText({}); }

  text::Encoding encoding() const { return doc.model().encoding(); }
  // Shows the same bytes as the characters of `encoding`, and reads typed
  // and pasted text in it from now on.
  void setEncoding(text::Encoding encoding);

  // The line break that Enter types and a paste gets from now on; the text
  // already in the box keeps its own.
  LineBreak lineBreak() const { return newLineBreak; }
  void setLineBreak(LineBreak lineBreak) { newLineBreak = lineBreak; }

  bool isReadOnly() const { return readOnly; }
  void setReadOnly(bool on);

  // What the box shows, greyed, while it holds no text; it is no part of
  // the text.
  const QString& placeholderText() const { return placeholder; }
  void setPlaceholderText(const QString& text);

  // Replaces the selection by `text`, as typing or a paste does; characters
  // that the encoding cannot hold become '?', and a notice says how many.
  void insertText(const QString& text);
  // Replaces the selection by bytes as they are.
  void insertBytes(std::string_view bytes);
  // The selected bytes.
  std::string selectedText() const;
  void selectAll();
  // Copies the selection as text; one over kLargestCopy bytes is refused
  // with a message, as is one there is not the memory for: false then.
  bool copy();
  static constexpr std::size_t kLargestCopy = std::size_t{256} << 20;
  void cut();
  void paste();
  void deleteSelection();
  void undo();
  void redo();

  // The box's context menu, for the caller to show and delete. It ends with
  // the actions added by `addMenuAction`.
  QMenu* createContextMenu();
  void addMenuAction(QAction* action) { menuActions.push_back(action); }

  // Where the cursor is and where the selection started, in bytes.
  std::size_t cursorPosition() const { return doc.model().cursor(); }
  std::size_t anchorPosition() const { return doc.model().anchor(); }
  // The rows the text takes at the current width, and the first one shown.
  std::size_t rowCount() const { return doc.layout().rowCount(); }
  std::size_t firstVisibleRow() const;
  // The bytes of row `row`, without the line break that ends it.
  std::string_view rowText(std::size_t row) const { return doc.rowText(row); }
  // Where the caret is drawn, in the viewport.
  QRect cursorRect() const { return renderer.cursorRect(firstVisibleRow()); }

  // For assistive tools: the text model, and places in bytes.
  const TextModel& document() const { return doc.model(); }
  // Hears of every change of the text and every showing of the cursor.
  void setListener(MemoDocument::Listener* listener) { doc.setListener(listener); }
  // Has `attach` called with every memo made from now on, for the services
  // that follow each memo (what assistive tools hear of it).
  static void attachToEveryMemo(void (*attach)(TMemo& memo));
  // The rectangle of the character at `position`, in the viewport.
  QRect characterRect(std::size_t position) const;
  // The place nearest to `point` in the viewport.
  std::size_t offsetAt(QPoint point) const { return hit(point).second; }
  // Where the row that holds `position` starts, and where the next starts.
  std::pair<std::size_t, std::size_t> rowAround(std::size_t position) const {
    return doc.rowAround(position);
  }
  // Selects from `anchor` to `cursor` and scrolls the cursor into view.
  void select(std::size_t anchor, std::size_t cursor);
  // Scrolls `position` into view.
  void showPosition(std::size_t position);
  // Replaces the bytes [from, to) by `text`, as a paste does.
  void replaceRange(std::size_t from, std::size_t to, const QString& text);

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // Scales the text's font to `percent` of the box's own.
  void setZoom(int percent);
  int zoom() const { return zoomPercent; }
  // The smallest zoom that keeps the text readable: kSmallestTextPixels
  // high at the least.
  int smallestZoom() const;
  static constexpr int kSmallestTextPixels = 8;

 signals:
  // Ctrl+wheel or Ctrl+Plus asks for a larger text (1), Ctrl+Minus for a
  // smaller one (-1), Ctrl+0 for the usual size (0).
  void zoomRequested(int step);
  // A local file was dropped on the box, which takes drops.
  void fileDropped(const QString& path);
  // The text changed: by an edit, an undo or redo, or setText.
  void textChanged();

 protected:
  void showEvent(QShowEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  using Move = MemoDocument::Move;
  using Place = MemoDocument::Place;
  // What input methods ask of the text around the cursor.
  QVariant surroundingQuery(Qt::InputMethodQuery query) const;
  // The line that holds `position`, no more than a few thousand bytes of it
  // either side.
  std::pair<std::size_t, std::size_t> paragraphAround(std::size_t position) const;

  // Replaces the selection; where memory runs out, the text stays as it was.
  void replaceSelection(std::string_view with, bool typed);
  // Shows the cursor after a change.
  void changed();
  // Runs `action`; where memory runs out, says that `doing` failed. False
  // then.
  template <typename Action>
  bool withMemory(const char* doing, Action&& action) {
    try {
      action();
      return true;
    } catch (const std::bad_alloc&) {
      showOutOfMemory(this, doing);
      return false;
    }
  }
  // Inserts typed or pasted text as the encoding's bytes.
  void insertConverted(const QString& text, bool typed);
  void moveCursor(Move move, bool select);
  void setCursor(std::size_t position, bool select, bool atRowEnd = false);

  // Reads the font's advances and wraps the text anew.
  void updateMetrics();
  // A text wrapped to the box's width, and whether it needs the scroll bar.
  struct Wrapped {
    MemoDocument::Rows rows;
    bool bar;
  };
  Wrapped wrapToFit(std::string_view text);
  // Shows the text as wrapped, once the document has taken the rows.
  void showWrapped(bool bar);
  // Wraps the whole text anew.
  void relayout();
  void updateScrollRange();
  void ensureCursorVisible();
  int visibleRows() const;
  // The row under `point` and the place in it nearest to the point.
  std::pair<std::size_t, std::size_t> hit(QPoint point) const {
    return renderer.hit(point, firstVisibleRow());
  }
  void restartBlink();

  MemoDocument doc;
  MemoRenderer renderer{doc};
  QSize laidOutFor;
  bool readOnly = false;
  LineBreak newLineBreak = LineBreak::crlf;
  QString placeholder;
  qreal goalX = -1;  // where up and down aim, or -1 for the cursor's own place

  int zoomPercent = 100;
  int wheelTurned = 0;  // of a Ctrl+wheel, not yet a step
  QWindow* watchedWindow = nullptr;

  QBasicTimer blinkTimer;
  bool caretOn = false;
  std::vector<QAction*> menuActions;
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_VIEW_MEMO_H_
