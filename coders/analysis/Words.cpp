#include "analysis/Words.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "analysis/Fitness.h"
#include "analysis/Parallel.h"
#include "analysis/TableData.h"

namespace analysis::words {

namespace {

// The share of the words of token text and short notes that a language's
// list holds; the rest are names, numbers read as letters, made-up words.
constexpr double kListedShare = 0.8;
// The mean length of a stretch of letters that the list does not hold,
// each letter one more with the chance 1 - 1/kMeanStretch.
constexpr double kMeanStretch = 6;

}  // namespace

namespace {

// FNV-1a: quick on short words, and spread well enough for a table at most
// half full.
std::uint32_t hashOf(std::string_view word) {
  std::uint32_t hash = 2166136261u;
  for (const char c : word)
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

}  // namespace

WordList::WordList(std::string_view listing) {
  double total = 0;
  std::vector<double> counts;
  while (!listing.empty()) {
    const std::size_t end = std::min(listing.size(), listing.find('\n'));
    const std::string_view line = listing.substr(0, end);
    listing.remove_prefix(std::min(listing.size(), end + 1));
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) continue;
    unsigned count = 0;
    std::from_chars(line.data() + space + 1, line.data() + line.size(), count);
    words.push_back(line.substr(0, space));
    counts.push_back(count);
    total += count;
  }
  slots.assign(std::bit_ceil(2 * words.size() + 1), 0);
  const std::size_t mask = slots.size() - 1;
  for (std::size_t w = 0; w < words.size(); ++w) {
    chances.push_back(static_cast<float>(std::log(counts[w] / total)));
    std::size_t at = hashOf(words[w]) & mask;
    while (slots[at] != 0 && words[slots[at] - 1] != words[w])
      at = (at + 1) & mask;
    // A word listed twice keeps its first, commoner, rank.
    if (slots[at] == 0) slots[at] = static_cast<std::uint32_t>(w + 1);
  }
}

float WordList::logChance(std::string_view word) const {
  const std::size_t mask = slots.size() - 1;
  for (std::size_t at = hashOf(word) & mask; slots[at] != 0; at = (at + 1) & mask) {
    if (words[slots[at] - 1] == word) return chances[slots[at] - 1];
  }
  return 0.0f;
}

const WordList& wordListOf(Language language) {
  // All sixteen at once, on the processor's threads: a short text is read
  // in every language, and the lists take most of a quick call to read.
  static const std::vector<WordList> lists = [] {
    std::vector<std::optional<WordList>> read(kLanguageCount);
    forEachAtOnce(kLanguageCount, [&read](std::size_t l) {
      read[l].emplace(wordsCoded(codeOf(static_cast<Language>(l))));
    });
    std::vector<WordList> all;
    for (std::optional<WordList>& list : read)
      all.push_back(std::move(*list));
    return all;
  }();
  return lists[static_cast<std::size_t>(language)];
}

double vigenereKeyNats(std::string_view key) {
  // The words that a key may be: those of every list, a word that several
  // lists hold counted once per list, which costs a key that is a word a
  // fraction of a nat and spares the first call a set of all of them.
  static const double keyWords = [] {
    std::size_t all = 0;
    for (std::size_t l = 0; l < kLanguageCount; ++l)
      all += wordListOf(static_cast<Language>(l)).ranked().size();
    return static_cast<double>(all);
  }();
  std::string word(key);
  for (char& c : word)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  const double random = -static_cast<double>(key.size()) * std::log(26.0);
  bool listed = false;
  for (std::size_t l = 0; l < kLanguageCount && !listed; ++l)
    listed = wordListOf(static_cast<Language>(l)).holds(word);
  const double readings[] = {random, listed ? -std::log(keyWords) : -INFINITY};
  return std::log(2.0) - fitness::logSumExp(readings);
}

double wordNats(std::string_view runs, Language language) {
  const WordList& list = wordListOf(language);
  const std::array<double, 26>& frequencies = modelOf(language).letterFrequencies();
  std::array<double, 26> letterNats{};
  for (std::size_t l = 0; l < 26; ++l)
    letterNats[l] = std::log(std::max(frequencies[l], 1e-6));
  const double listed = std::log(kListedShare);
  const double unlisted = std::log(1 - kListedShare) - std::log(kMeanStretch);
  const double longer = std::log(1 - 1 / kMeanStretch);
  double total = 0;
  std::vector<double> best;
  for (std::size_t at = 0; at < runs.size();) {
    const std::size_t end =
        std::min(runs.size(), runs.find_first_not_of("abcdefghijklmnopqrstuvwxyz", at));
    const std::string_view run = runs.substr(at, end - at);
    at = end + (end < runs.size() ? 1 : 0);
    if (run.empty()) continue;
    // best[i]: ln p of the likeliest split of the run's first i letters.
    best.assign(run.size() + 1, -std::numeric_limits<double>::infinity());
    best[0] = 0;
    for (std::size_t i = 1; i <= run.size(); ++i) {
      double stretch = 0;  // the letters j..i-1 read one by one
      for (std::size_t j = i; j-- > 0 && i - j <= kLongestWord;) {
        stretch += letterNats[static_cast<std::size_t>(run[j] - 'a')];
        const double asStretch = unlisted + stretch + longer * static_cast<double>(i - j - 1);
        const float word = list.logChance(run.substr(j, i - j));
        const double asWord = word < 0 ? listed + word : -std::numeric_limits<double>::infinity();
        best[i] = std::max(best[i], best[j] + std::max(asStretch, asWord));
      }
    }
    total += best[run.size()];
  }
  return total;
}

}  // namespace analysis::words
