#include "MemoLayout.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

enum Kind : unsigned char { ink, blank, lineBreak };

constexpr std::array<Kind, 256> kKinds = [] {
  std::array<Kind, 256> kinds{};
  kinds[' '] = kinds['\t'] = blank;
  kinds['\r'] = kinds['\n'] = lineBreak;
  return kinds;
}();

// The length of the line break at `i`: CR LF counts as one.
std::size_t breakLength(std::string_view text, std::size_t i) {
  return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}

}  // namespace

void MemoLayout::setMetrics(text::Encoding textEncoding, const Advances& byteAdvances,
                            std::int32_t tabDistance, Measure measureCharacter) {
  encoding = textEncoding;
  advances = byteAdvances;
  tabStop = std::max(tabDistance, 1);
  measure = std::move(measureCharacter);
  planeAdvances.clear();
  astralAdvances.clear();
}

MemoLayout::Step MemoLayout::stepAt(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80 || encoding != text::Encoding::utf8) return {1, advances[byte]};
  const text::Character character = text::characterAt(text, at, encoding);
  if (character.code < 0x10000) {
    if (planeAdvances.empty()) planeAdvances.assign(0x10000, -1);
    std::int32_t& known = planeAdvances[character.code];
    if (known < 0) known = measure(character.code);
    return {character.length, known};
  }
  const auto [known, fresh] = astralAdvances.try_emplace(character.code, 0);
  if (fresh) known->second = measure(character.code);
  return {character.length, known->second};
}

void MemoLayout::wrap(std::string_view text) {
  adopt(wrapped(text, wrapWidth), wrapWidth);
}

std::vector<std::size_t> MemoLayout::wrapped(std::string_view text, std::int32_t width) {
  std::vector<std::size_t> rows;
  wrapFrom(text, 0, width, [&rows](std::size_t start) {
    rows.push_back(start);
    return true;
  });
  return rows;
}

void MemoLayout::adopt(std::vector<std::size_t> rows, std::int32_t width) noexcept {
  starts = std::move(rows);
  wrapWidth = width;
}

template <typename Emit>
void MemoLayout::wrapFrom(std::string_view text, std::size_t from, std::int32_t width, Emit emit) {
  const std::size_t n = text.size();
  std::size_t i = from;
  for (;;) {
    std::size_t rowStart = i;
    std::size_t breakAfter = i;  // after the last blank of the row, if past its start
    // Wide enough for any run of blanks past the edge.
    std::int64_t x = 0;
    if (!emit(rowStart)) return;
    while (i < n) {
      const auto byte = static_cast<unsigned char>(text[i]);
      const Kind kind = kKinds[byte];
      if (kind == lineBreak) break;
      if (kind == blank) {
        // Even a run of blanks ends its row somewhere.
        if (i - rowStart >= kLongestRow) {
          rowStart = breakAfter = i;
          x = 0;
          if (!emit(rowStart)) return;
        }
        x = byte == '\t' ? (x / tabStop + 1) * tabStop : x + advances[byte];
        breakAfter = ++i;
        continue;
      }
      const Step step = stepAt(text, i);
      while ((x + step.advance > width || i - rowStart >= kLongestRow) && i > rowStart) {
        if (breakAfter > rowStart) {
          // The word since the last blank moves to a new row.
          rowStart = breakAfter;
          x = 0;
          for (std::size_t j = rowStart; j < i;) {
            const Step moved = stepAt(text, j);
            x += moved.advance;
            j += moved.length;
          }
        } else {
          rowStart = i;
          x = 0;
        }
        breakAfter = rowStart;
        if (!emit(rowStart)) return;
      }
      x += step.advance;
      i += step.length;
    }
    if (i >= n) return;
    i += breakLength(text, i);
  }
}

void MemoLayout::update(std::string_view text, std::size_t position, std::size_t removed,
                        std::size_t inserted) {
  // A row starts where the bytes up to the next row's start put it, so the
  // rows before the one that holds the byte before the change stay.
  const std::size_t row = position > 0 ? rowOf(position - 1) : 0;
  const std::size_t firstRow = row > 0 ? row - 1 : 0;
  // Once a row after the change starts where an old row did (shifted by the
  // change), every row from there on is the old one.
  std::size_t resume = starts.size();
  std::vector<std::size_t> fresh;
  wrapFrom(text, starts[firstRow], wrapWidth, [&](std::size_t start) {
    if (start >= position + inserted) {
      const std::size_t old = start - inserted + removed;
      const auto same = std::lower_bound(starts.begin() + static_cast<std::ptrdiff_t>(firstRow),
                                         starts.end(), old);
      if (same != starts.end() && *same == old) {
        resume = static_cast<std::size_t>(same - starts.begin());
        return false;
      }
    }
    fresh.push_back(start);
    return true;
  });
  // Room first: past this point nothing can fail, so a failure leaves the
  // rows as they were.
  starts.reserve(starts.size() - (resume - firstRow) + fresh.size());
  for (std::size_t i = resume; i < starts.size(); ++i)
    starts[i] = starts[i] - removed + inserted;
  const auto at = starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(firstRow),
                               starts.begin() + static_cast<std::ptrdiff_t>(resume));
  starts.insert(at, fresh.begin(), fresh.end());
}

std::size_t MemoLayout::rowOf(std::size_t offset) const {
  const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
  return static_cast<std::size_t>(std::distance(starts.begin(), after)) - 1;
}

std::size_t MemoLayout::rowEnd(std::string_view text, std::size_t row) const {
  const std::size_t start = starts[row];
  std::size_t end = row + 1 < starts.size() ? starts[row + 1] : text.size();
  if (end > start && text[end - 1] == '\n') --end;
  if (end > start && text[end - 1] == '\r') --end;
  return end;
}

bool MemoLayout::wrapsAfter(std::string_view text, std::size_t row) const {
  return row + 1 < starts.size() && rowEnd(text, row) == starts[row + 1];
}
