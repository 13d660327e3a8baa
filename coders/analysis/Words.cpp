#include "analysis/Words.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/Fitness.h"
#include "analysis/TableData.h"

namespace analysis::words {

namespace {

// The share of the words of token text and short notes that a language's
// list holds; the rest are names, numbers read as letters, made-up words.
constexpr double kListedShare = 0.8;
// The mean length of a stretch of letters that the list does not hold,
// each letter one more with the chance 1 - 1/kMeanStretch.
constexpr double kMeanStretch = 6;

// FNV-1a: quick on short words, and spread well enough for a table at most
// half full.
std::uint32_t hashOf(std::string_view word) {
  std::uint32_t hash = 2166136261u;
  for (const char c : word)
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

// The layout of a word table (little-endian): a mark, the number of words
// and of slots, then the parts that WordList reads in place.
constexpr std::array<std::uint8_t, 8> kWordsMark = {'Z', 'X', 'L', 'W', 1, 0, 0, 0};
constexpr std::size_t kCountAt = kWordsMark.size();
constexpr std::size_t kSlotCountAt = kCountAt + 4;
constexpr std::size_t kChancesAt = kSlotCountAt + 4;

// The value of type T at byte `at` of `bytes`, which may stand anywhere.
template <typename T>
T valueAt(const std::uint8_t* bytes, std::size_t at) {
  T value;
  std::memcpy(&value, bytes + at, sizeof value);
  return value;
}

}  // namespace

WordList::WordList(std::span<const std::uint8_t> table) {
  const auto fail = [] { return std::runtime_error("not a word table"); };
  if (table.size() < kChancesAt || !std::equal(kWordsMark.begin(), kWordsMark.end(), table.begin()))
    throw fail();
  count = valueAt<std::uint32_t>(table.data(), kCountAt);
  const std::size_t slotCount = valueAt<std::uint32_t>(table.data(), kSlotCountAt);
  if (!std::has_single_bit(slotCount) || slotCount <= 2 * count) throw fail();
  slotMask = slotCount - 1;
  const std::size_t startsAt = kChancesAt + count * sizeof(float);
  const std::size_t slotsAt = startsAt + (count + 1) * sizeof(std::uint32_t);
  const std::size_t lettersAt = slotsAt + slotCount * sizeof(std::uint16_t);
  if (table.size() < lettersAt ||
      table.size() - lettersAt != valueAt<std::uint32_t>(table.data(), slotsAt - 4))
    throw fail();
  chances = table.data() + kChancesAt;
  starts = table.data() + startsAt;
  slots = table.data() + slotsAt;
  letters = reinterpret_cast<const char*>(table.data() + lettersAt);
}

std::string_view WordList::word(std::size_t rank) const {
  const std::uint32_t start = valueAt<std::uint32_t>(starts, rank * sizeof(std::uint32_t));
  const std::uint32_t end = valueAt<std::uint32_t>(starts, (rank + 1) * sizeof(std::uint32_t));
  return {letters + start, end - start};
}

float WordList::logChance(std::string_view word) const {
  for (std::size_t at = hashOf(word) & slotMask;; at = (at + 1) & slotMask) {
    const std::uint16_t slot = valueAt<std::uint16_t>(slots, at * sizeof(std::uint16_t));
    if (slot == 0) return 0.0f;
    if (this->word(slot - 1u) == word) return valueAt<float>(chances, (slot - 1u) * sizeof(float));
  }
}

const WordList& wordListOf(Language language) {
  static const std::vector<WordList> lists = [] {
    std::vector<WordList> all;
    for (std::size_t l = 0; l < kLanguageCount; ++l)
      all.emplace_back(wordTableCoded(codeOf(static_cast<Language>(l))));
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
      all += wordListOf(static_cast<Language>(l)).size();
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
