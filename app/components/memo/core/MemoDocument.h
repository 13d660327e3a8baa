#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_CORE_MEMODOCUMENT_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_CORE_MEMODOCUMENT_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "MemoLayout.h"
#include "Text.h"
#include "TextModel.h"

// A memo's text and its rows, kept in step: the edits that change both, with
// the guarantee that where memory runs out the text stays as the rows show
// it, the cursor's moves over characters, words and rows, and notices of
// every change for whoever listens (what assistive tools hear). No Qt: the
// view measures characters and says how wide the rows are.
class MemoDocument {
 public:
  // Told of each change of the text and each time the cursor shows anew.
  class Listener {
   public:
    // The `count` bytes at `position` are about to be replaced.
    virtual void aboutToChange(std::size_t position, std::size_t count) = 0;
    // They were replaced by the `inserted` bytes at `position`.
    virtual void changed(std::size_t position, std::size_t inserted) = 0;
    // The cursor or the selection moved, or shows again.
    virtual void cursorShown() = 0;

   protected:
    ~Listener() = default;
  };

  // The rows of a text wrapped at `width`, made before the text changes so
  // that a failure to find the memory for them changes nothing.
  struct Rows {
    std::vector<std::size_t> starts;
    std::int32_t width;
  };

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
  // A place for the cursor; the end of a wrapped row and the start of the
  // next are the same byte, and `atRowEnd` tells which of the two it shows
  // at.
  struct Place {
    std::size_t offset;
    bool atRowEnd;
  };

  const TextModel& model() const { return text; }
  const MemoLayout& layout() const { return rows; }
  MemoLayout& layout() { return rows; }
  // Hears of every change from now on; null for none.
  void setListener(Listener* listener) { heard = listener; }

  // Replaces the whole text, wrapped as `wrapped`; the cursor goes to the
  // start and the undo history is cleared.
  void setText(std::string bytes, Rows wrapped);
  // Reads the same bytes in `encoding`; `rewrap` measures and wraps them
  // anew.
  void setEncoding(text::Encoding encoding, const std::function<void()>& rewrap);

  // Replaces the selection and wraps again the rows it touched. Where memory
  // runs out the text is put back as the rows show it, or, where it cannot
  // be, `rewrap` wraps the new text whole; the error goes on.
  void replaceSelection(std::string_view with, bool typed, const std::function<void()>& rewrap);
  // Replaces a selection of all of the text by `with`, wrapped as `wrapped`.
  void replaceAll(std::string_view with, bool typed, Rows wrapped);
  // Undo and redo; where memory runs out, the text stays as it was.
  void undo();
  void redo();

  // Selects from `anchor` to `cursor`, both character starts.
  void select(std::size_t anchor, std::size_t cursor) { text.select(anchor, cursor); }
  // Puts the cursor at `position`, selecting from the anchor when `select`.
  void setCursor(std::size_t position, bool select, bool atRowEnd = false);
  // Shows the cursor at the start of its row where that is also the end of
  // the one before.
  void leaveRowEnd() { atRowEnd = false; }
  // Tells the listener where the cursor and the selection are.
  void showCursor() const;

  // The row the cursor shows on.
  std::size_t cursorRow() const;
  // The place `offset` in `row`, at its end where the row wraps there.
  Place inRow(std::size_t row, std::size_t offset) const;
  // Where `move` takes the cursor; `aim` gives the place in a row that an
  // up or down move lands on, and a page is `pageRows` rows.
  Place target(Move move, long long pageRows,
               const std::function<std::size_t(std::size_t)>& aim) const;

  // The bytes of `row`, without the line break that ends it.
  std::string_view rowText(std::size_t row) const;
  // Where the row that holds `position` starts, and where the next starts.
  std::pair<std::size_t, std::size_t> rowAround(std::size_t position) const;

 private:
  // Wraps again after `change`; where memory runs out, `takeBack` puts the
  // text back as the rows show it, and the error goes on.
  template <typename TakeBack>
  void follow(TextModel::Change change, TakeBack takeBack);
  void aboutToChange(std::size_t position, std::size_t count) const;
  void changed(std::size_t position, std::size_t inserted) const;

  TextModel text;
  MemoLayout rows;
  bool atRowEnd = false;
  Listener* heard = nullptr;
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_CORE_MEMODOCUMENT_H_
