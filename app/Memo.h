#ifndef ZEMBRAX_APP_MEMO_H_
#define ZEMBRAX_APP_MEMO_H_

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "MemoLayout.h"

class QAction;
class QMenu;

// A multi-line box that holds its text as Windows-1252 bytes and shows them
// wrapped to its width. It lays out and paints only what is on screen, so a
// text of any size shows, scrolls, selects and copies at once. Typed and
// pasted text arrives as the code page's bytes with CR LF line breaks; a set
// text keeps its bytes as they are, and any of CR LF, a lone CR or a lone LF
// shows as a line break. Tab moves the focus on, as in a dialog.
class TMemo : public QAbstractScrollArea {
  Q_OBJECT
  Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)

 public:
  explicit TMemo(QWidget* parent = nullptr);

  const std::string& text() const { return bytes; }
  // Replaces the whole text; the cursor goes to the start and the undo
  // history is cleared.
  void setText(std::string text);
  void clear() { setText({}); }

  bool isReadOnly() const { return readOnly; }
  void setReadOnly(bool on);

  // Replaces the selection by `text`, as typing or a paste does.
  void insertText(const QString& text);
  // Replaces the selection by bytes as they are.
  void insertBytes(std::string_view bytes);
  // The selected bytes.
  std::string selectedText() const;
  void selectAll();
  void copy() const;
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
  std::size_t cursorPosition() const { return cursor; }
  std::size_t anchorPosition() const { return anchor; }
  // The rows the text takes at the current width, and the first one shown.
  std::size_t rowCount() const { return layout.rowCount(); }
  std::size_t firstVisibleRow() const;
  // The bytes of row `row`, without the line break that ends it.
  std::string_view rowText(std::size_t row) const;

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 signals:
  // A local file was dropped on the box, which takes drops.
  void fileDropped(const QString& path);

 protected:
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
  enum class Move {
    nextChar,
    previousChar,
    nextWord,
    previousWord,
    nextLine,
    previousLine,
    startOfLine,
    endOfLine,
    startOfDocument,
    endOfDocument,
    nextPage,
    previousPage,
  };
  // One change of the text, kept for undo and redo.
  struct Edit {
    std::size_t position;
    std::string removed;
    std::string inserted;
    bool typed;
  };

  void replaceSelection(std::string_view with, bool typed);
  // Replaces `count` bytes at `position` by `with`, and keeps the change for
  // undo; typed changes in a row undo as one.
  void replace(std::size_t position, std::size_t count, std::string_view with, bool typed);
  // Changes the text and puts the cursor after the change.
  void change(std::size_t position, std::size_t count, std::string_view with);
  // A place for the cursor; the end of a wrapped row and the start of the
  // next are the same byte, and `atRowEnd` tells which of the two it shows at.
  struct Place {
    std::size_t offset;
    bool atRowEnd;
  };
  void moveCursor(Move move, bool select);
  Place target(Move move) const;
  Place inRow(std::size_t row, std::size_t offset) const;
  void setCursor(std::size_t position, bool select, bool atRowEnd = false);

  // Reads the font's advances and wraps the text anew.
  void updateMetrics();
  // Wraps the whole text and decides whether the scroll bar is needed.
  void relayout();
  void wrapAt(int pixels);
  void updateScrollRange();
  void ensureCursorVisible();
  int visibleRows() const;
  // The row the cursor shows on: the end of a wrapped row and the start of
  // the next are the same place.
  std::size_t cursorRow() const;
  // The row under `point` and the place in it nearest to the point.
  std::pair<std::size_t, std::size_t> hit(QPoint point) const;
  QRect cursorRect() const;
  void restartBlink();

  std::string bytes;
  MemoLayout layout;
  QFont textFont;
  int lineHeight = 1;
  int ascent = 0;
  QSize laidOutFor;
  bool readOnly = false;

  std::size_t cursor = 0;
  std::size_t anchor = 0;
  bool cursorAtRowEnd = false;
  int goalX = -1;  // where up and down aim, or -1 for the cursor's own place

  std::vector<Edit> undoStack;
  std::vector<Edit> redoStack;

  QBasicTimer blinkTimer;
  bool caretOn = false;
  std::vector<QAction*> menuActions;
};

#endif  // ZEMBRAX_APP_MEMO_H_
