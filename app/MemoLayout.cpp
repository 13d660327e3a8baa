#include "MemoLayout.h"

#include <algorithm>
#include <iterator>

namespace {

enum Kind : unsigned char { ink, blank, lineBreak };

constexpr std::array<Kind, 256> kKinds = [] {
  std::array<Kind, 256> kinds{};
  kinds[' '] = kinds['\t'] = blank;
  kinds['\r'] = kinds['\n'] = lineBreak;
  return kinds;
}();

Kind kindOf(char byte) {
  return kKinds[static_cast<unsigned char>(byte)];
}

// The length of the line break at `i`: CR LF counts as one.
std::size_t breakLength(std::string_view text, std::size_t i) {
  return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}

// The start of the paragraph that holds the byte at `i`; a line break
// belongs to the paragraph it ends.
std::size_t paragraphStart(std::string_view text, std::size_t i) {
  const bool crLfAt = i > 0 && i < text.size() && text[i - 1] == '\r' && text[i] == '\n';
  if (crLfAt) --i;
  while (i > 0 && kindOf(text[i - 1]) != lineBreak)
    --i;
  return i;
}

}  // namespace

void MemoLayout::setMetrics(const Advances& byteAdvances, std::int32_t tabDistance) {
  advances = byteAdvances;
  tabStop = std::max(tabDistance, 1);
}

std::int32_t MemoLayout::advance(unsigned char byte, std::int32_t x) const {
  if (byte == '\t') return (x / tabStop + 1) * tabStop;
  return x + advances[byte];
}

void MemoLayout::wrap(std::string_view text) {
  starts.clear();
  wrapParagraphs(text, 0, text.size() + 1, starts);
}

void MemoLayout::wrapParagraphs(std::string_view text, std::size_t from, std::size_t until,
                                std::vector<std::size_t>& rows) const {
  const std::size_t n = text.size();
  std::size_t i = from;
  for (;;) {
    std::size_t rowStart = i;
    std::size_t breakAfter = i;  // after the last blank of the row, if past its start
    std::int32_t x = 0;
    rows.push_back(rowStart);
    for (; i < n; ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      const Kind kind = kKinds[byte];
      if (kind == ink) {
        const std::int32_t step = advances[byte];
        while (x + step > wrapWidth && i > rowStart) {
          if (breakAfter > rowStart) {
            // The word since the last blank moves to a new row.
            rowStart = breakAfter;
            x = 0;
            for (std::size_t j = rowStart; j < i; ++j)
              x += advances[static_cast<unsigned char>(text[j])];
          } else {
            rowStart = i;
            x = 0;
          }
          breakAfter = rowStart;
          rows.push_back(rowStart);
        }
        x += step;
      } else if (kind == blank) {
        x = advance(byte, x);
        breakAfter = i + 1;
      } else {
        break;
      }
    }
    if (i == n) return;
    i += breakLength(text, i);
    if (i >= until) return;
  }
}

void MemoLayout::update(std::string_view text, std::size_t position, std::size_t removed,
                        std::size_t inserted) {
  const std::size_t n = text.size();
  // The bytes before `position` are unchanged, so the paragraph that holds
  // the one before it starts where it did; a line break can join it.
  const std::size_t from = paragraphStart(text, position == 0 ? 0 : position - 1);
  // The first paragraph after the change that the change leaves whole.
  std::size_t until = n + 1;
  for (std::size_t j = position + inserted; j < n; ++j) {
    if (kindOf(text[j]) == lineBreak) {
      until = j + breakLength(text, j);
      break;
    }
  }
  const std::size_t oldUntil = until - inserted + removed;

  std::vector<std::size_t> fresh;
  wrapParagraphs(text, from, until, fresh);
  const auto first = std::lower_bound(starts.begin(), starts.end(), from);
  const auto last = std::lower_bound(first, starts.end(), oldUntil);
  for (auto it = last; it != starts.end(); ++it)
    *it = *it - removed + inserted;
  const auto at = starts.erase(first, last);
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

std::int32_t MemoLayout::xOf(std::string_view text, std::size_t row, std::size_t offset) const {
  std::int32_t x = 0;
  for (std::size_t i = starts[row]; i < offset; ++i)
    x = advance(static_cast<unsigned char>(text[i]), x);
  return x;
}

std::size_t MemoLayout::offsetAt(std::string_view text, std::size_t row, std::int32_t x) const {
  const std::size_t end = rowEnd(text, row);
  std::int32_t left = 0;
  for (std::size_t i = starts[row]; i < end; ++i) {
    const std::int32_t right = advance(static_cast<unsigned char>(text[i]), left);
    if (x < (left + right) / 2) return i;
    left = right;
  }
  return end;
}
