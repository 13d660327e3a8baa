#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_ACCESSIBLE_MEMOACCESSIBLE_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_ACCESSIBLE_MEMOACCESSIBLE_H_

#include <QAccessibleWidget>

class TMemo;

// What screen readers and other assistive tools see of a byte memo: an
// edit control's text, caret, selection and geometry, and for the input box
// its editing. Places are counted in UTF-16 units, as the platform counts
// them, and every answer is a slice: nothing builds the whole of a large
// text. Counts past INT_MAX are clamped.
class MemoAccessible : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
 public:
  explicit MemoAccessible(TMemo* memo);

  // Gives the memos this interface and has their changes heard; done when
  // the application starts, before any memo is made.
  static void install();

  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // Selection and cursor.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;

  // Text.
  QString text(QAccessible::Text kind) const override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;

  // Geometry.
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // Editing, in the input box only.
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  TMemo* memo() const;
  // The byte of a unit place, and the unit place of a byte, clamped.
  std::size_t byteOf(int offset) const;
  int offsetOf(std::size_t position) const;
  // The span of the kind `boundaryType` that holds the unit place `offset`.
  std::pair<int, int> spanAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_ACCESSIBLE_MEMOACCESSIBLE_H_
