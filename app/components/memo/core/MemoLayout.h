#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_CORE_MEMOLAYOUT_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_CORE_MEMOLAYOUT_H_

// The rows of a byte text wrapped to a width. A line break (CR LF, a lone CR
// or a lone LF) ends a paragraph; within one, a row ends after the last space
// or tab that still fits, or, in a run without any, at the last character
// that fits. Spaces and tabs may run past the edge, and a row never breaks
// inside a character. Every character has a fixed advance, so wrapping is
// one pass over the bytes with no text shaping, and an edit wraps only the
// rows it changes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Text.h"

class MemoLayout {
 public:
  // Widths in 1/64 of a pixel.
  using Advances = std::array<std::int32_t, 256>;
  // The advance of a character beyond the byte table.
  using Measure = std::function<std::int32_t(char32_t)>;

  // A row ends after this many bytes even where its characters take no
  // room (marks) or run past the edge (blanks).
  static constexpr std::size_t kLongestRow = 4096;

  // How wide characters are, and the distance between tab stops; like the
  // width, takes effect at the next `wrap`. In a code page every byte is a
  // character and `advances` has them all; in UTF-8 `advances` has the ASCII
  // characters and `measure`, asked once for each, the others.
  void setMetrics(text::Encoding encoding, const Advances& advances, std::int32_t tabStop,
                  Measure measure = {});
  void setWidth(std::int32_t width) { wrapWidth = width; }
  std::int32_t width() const { return wrapWidth; }

  // Wraps all of `text` anew.
  void wrap(std::string_view text);
  // The row starts of `text` wrapped at `width`, for `adopt`; the layout
  // stays as it was.
  std::vector<std::size_t> wrapped(std::string_view text, std::int32_t width);
  // Takes the rows that `wrapped` gave for a text and width.
  void adopt(std::vector<std::size_t> rows, std::int32_t width) noexcept;

  // Wraps again after the bytes [position, position + removed) of the text
  // last wrapped were replaced by `inserted` bytes; `text` is the new text.
  // Where that fails for want of memory, the rows stay as they were.
  void update(std::string_view text, std::size_t position, std::size_t removed,
              std::size_t inserted);

  // At least one row: an empty paragraph is an empty row.
  std::size_t rowCount() const { return starts.size(); }
  std::size_t rowStart(std::size_t row) const { return starts[row]; }
  // Where the text of `row` ends, before the line break that may end it.
  std::size_t rowEnd(std::string_view text, std::size_t row) const;
  // The last row that starts at or before `offset`.
  std::size_t rowOf(std::size_t offset) const;
  // True when `row` ends by wrapping, not by a line break or the text's end.
  bool wrapsAfter(std::string_view text, std::size_t row) const;

  // How long the character at `at` is and how wide.
  struct Step {
    std::size_t length;
    std::int32_t advance;
  };
  Step stepAt(std::string_view text, std::size_t at);

 private:
  // Wraps from the row start `from` to the text's end at `width`, the empty
  // row after a final line break included, handing each row's start to
  // `emit` until it returns false.
  template <typename Emit>
  void wrapFrom(std::string_view text, std::size_t from, std::int32_t width, Emit emit);

  text::Encoding encoding = text::Encoding::windows1252;
  Advances advances{};
  Measure measure;
  // What `measure` said, for the characters of the first plane and beyond.
  std::vector<std::int32_t> planeAdvances;
  std::unordered_map<char32_t, std::int32_t> astralAdvances;
  std::int32_t tabStop = 1;
  std::int32_t wrapWidth = 0;
  std::vector<std::size_t> starts{0};
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_CORE_MEMOLAYOUT_H_
