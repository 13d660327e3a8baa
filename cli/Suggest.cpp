#include "Suggest.h"

#include <algorithm>
#include <cstddef>

namespace {

// At most this many slips make a word a likely typo of another.
constexpr std::size_t kMostSlips = 2;

// The fewest slips that turn `a` into `b`: letters inserted, deleted or
// changed, and neighbours swapped.
std::size_t slipsBetween(std::string_view a, std::string_view b) {
  // Three rows of the table: for a's prefixes of length i - 2, i - 1 and i.
  std::vector<std::size_t> twoBack(b.size() + 1), back(b.size() + 1), row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    back[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({back[j] + 1, row[j - 1] + 1, back[j - 1] + changed});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        row[j] = std::min(row[j], twoBack[j - 2] + 1);
    }
    twoBack.swap(back);
    back.swap(row);
  }
  return back[b.size()];
}

}  // namespace

std::optional<std::string> nearestWord(std::string_view typed,
                                       const std::vector<std::string>& words) {
  std::optional<std::string> nearest;
  std::size_t fewest = kMostSlips + 1;
  for (const std::string& word : words) {
    const std::size_t slips = slipsBetween(typed, word);
    // Half the word or more changed is another word, not a slip.
    if (slips < fewest && 2 * slips < word.size()) {
      fewest = slips;
      nearest = word;
    }
  }
  return nearest;
}
