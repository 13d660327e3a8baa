#ifndef ZEMBRAX_APP_MEMOLAYOUT_H_
#define ZEMBRAX_APP_MEMOLAYOUT_H_

// The rows of a byte text wrapped to a width. A line break (CR LF, a lone CR
// or a lone LF) ends a paragraph; within one, a row ends after the last space
// or tab that still fits, or, in a run without any, at the last byte that
// fits. Spaces and tabs may run past the edge. Every byte has a fixed advance
// from a table of 256, so wrapping is one pass over the bytes with no text
// shaping, and an edit wraps only the rows it changes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class MemoLayout {
 public:
  // Widths in 1/64 of a pixel.
  using Advances = std::array<std::int32_t, 256>;

  // The advance of every byte (line breaks are never measured) and the
  // distance between tab stops; like the width, takes effect at the next
  // `wrap`.
  void setMetrics(const Advances& advances, std::int32_t tabStop);
  void setWidth(std::int32_t width) { wrapWidth = width; }
  std::int32_t width() const { return wrapWidth; }

  // Wraps all of `text` anew.
  void wrap(std::string_view text);

  // Wraps again after the bytes [position, position + removed) of the text
  // last wrapped were replaced by `inserted` bytes; `text` is the new text.
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

  // The distance from the start of `row` to `offset` within it.
  std::int32_t xOf(std::string_view text, std::size_t row, std::size_t offset) const;
  // The place in `row` nearest to `x`.
  std::size_t offsetAt(std::string_view text, std::size_t row, std::int32_t x) const;

  // Where the advance of `byte` takes a row that has reached `x`.
  std::int32_t advance(unsigned char byte, std::int32_t x) const;

 private:
  // Wraps from the row start `from` to the text's end, the empty row after a
  // final line break included, handing each row's start to `emit` until it
  // returns false.
  template <typename Emit>
  void wrapFrom(std::string_view text, std::size_t from, Emit emit) const;

  Advances advances{};
  std::int32_t tabStop = 1;
  std::int32_t wrapWidth = 0;
  std::vector<std::size_t> starts{0};
};

#endif  // ZEMBRAX_APP_MEMOLAYOUT_H_
