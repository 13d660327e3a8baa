#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_VIEW_MEMORENDERER_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_VIEW_MEMORENDERER_H_

#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QTextLayout>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "MemoDocument.h"
#include "Text.h"

class QPainter;
class QPalette;

// How a memo's text looks: its font and the characters' advances, the rows
// on screen shaped and painted with the selection, the caret, where each
// character is, and what an input method composes at the cursor. Places on
// screen are in the viewport, counted from the first row shown.
class MemoRenderer {
 public:
  // The room between the frame and the text, as a text document leaves it.
  static constexpr int kMargin = 4;
  static constexpr int kTabStopPixels = 80;
  // The layout's widths are in 1/64 pixel.
  static constexpr int kUnitsPerPixel = 64;

  explicit MemoRenderer(const MemoDocument& document) : document(document) {}

  // Takes `font` scaled to `zoomPercent`, and gives `layout` the advances
  // of its characters in the document's encoding.
  void setFont(const QFont& font, int zoomPercent, MemoLayout& layout);
  const QFont& font() const { return textFont; }
  int lineHeight() const { return rowHeight; }

  // Paints the rows from `firstRow` that meet `exposed`, and the caret when
  // `caretOn`.
  void paint(QPainter& painter, const QRect& exposed, const QPalette& colours, std::size_t firstRow,
             bool caretOn) const;
  // Where the caret is drawn; found once until `forgetCaret`.
  QRect cursorRect(std::size_t firstRow) const;
  void forgetCaret() { caret.reset(); }
  // The rectangle of the character at `position`.
  QRect characterRect(std::size_t position, std::size_t firstRow) const;
  // The row under `point` and the place in it nearest to the point.
  std::pair<std::size_t, std::size_t> hit(QPoint point, std::size_t firstRow) const;
  // How far across its row the cursor is, and the place in `row` nearest
  // to `x`: where up and down moves aim.
  qreal cursorX() const;
  std::size_t offsetAt(std::size_t row, qreal x) const;

  // What an input method composes at the cursor, with its own cursor (-1
  // where the caret hides) and formats; an empty `text` when nothing.
  void setPreedit(QString text, int cursor, QList<QTextLayout::FormatRange> formats);
  bool composing() const { return !preedit.isEmpty(); }
  // Paints `placeholder` greyed where the text starts, as an empty box shows
  // what it is for.
  void paintPlaceholder(QPainter& painter, const QRect& viewport, const QPalette& colours,
                        const QString& placeholder) const;

 private:
  // What an input method is composing, shown at the cursor.
  struct Preedit {
    std::size_t position;
    const QString& text;
    const QList<QTextLayout::FormatRange>& formats;
  };
  // One row shaped for the screen: its characters, where each UTF-16 place
  // of them starts in the bytes, and the layout that places and paints them.
  struct ShapedRow {
    ShapedRow(std::string_view bytes, std::size_t start, text::Encoding encoding, const QFont& font,
              const Preedit* preedit = nullptr);
    // The UTF-16 place of the byte `offset` of the text, within the row.
    int placeOf(std::size_t offset) const;
    qreal xOf(std::size_t offset) const;
    // The byte of the place nearest to `x`.
    std::size_t offsetAt(qreal x) const;
    QTextLayout layout;
    std::vector<std::size_t> offsets;  // one for each place and the row's end
  };
  ShapedRow shape(std::size_t row) const;
  // The top of `row` on screen.
  int topOf(std::size_t row, std::size_t firstRow) const;

  const MemoDocument& document;
  QFont textFont;
  int rowHeight = 1;
  mutable std::optional<QRect> caret;  // where the caret was last found
  QString preedit;
  int preeditCursor = 0;  // in the preedit, or -1 where the caret hides
  QList<QTextLayout::FormatRange> preeditFormats;
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_VIEW_MEMORENDERER_H_
