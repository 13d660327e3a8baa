#include "Language.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "TableData.h"

namespace analysis {

namespace {

static_assert(std::endian::native == std::endian::little, "the tables are little-endian");

struct LanguageInfo {
  std::string_view code;
  std::string_view name;
};

// In the order of Language.
constexpr std::array<LanguageInfo, kLanguageCount> kLanguages = {{
    {"en", "English"},
    {"de", "German"},
    {"fr", "French"},
    {"es", "Spanish"},
    {"it", "Italian"},
    {"pt", "Portuguese"},
    {"nl", "Dutch"},
    {"pl", "Polish"},
    {"sv", "Swedish"},
    {"da", "Danish"},
    {"nb", "Norwegian (Bokmål)"},
    {"fi", "Finnish"},
    {"cs", "Czech"},
    {"hu", "Hungarian"},
    {"tr", "Turkish"},
    {"id", "Indonesian"},
}};

constexpr std::uint32_t kBigrams = 26 * 26;
constexpr std::uint32_t kTrigrams = kBigrams * 26;
constexpr std::uint32_t kQuadgrams = kTrigrams * 26;

// The layout of a table (little-endian): a mark, the 26 letter counts, then
// each n-gram table as its code book (floats) followed by its codes.
constexpr std::array<std::uint8_t, 8> kMark = {'Z', 'X', 'L', 'M', 1, 0, 0, 0};
constexpr std::size_t kCountsAt = kMark.size();
constexpr std::size_t kBigramBookAt = kCountsAt + 26 * 4;
constexpr std::size_t kBigramsAt = kBigramBookAt + 256 * 4;
constexpr std::size_t kTrigramBookAt = kBigramsAt + kBigrams;
constexpr std::size_t kTrigramsAt = kTrigramBookAt + 256 * 4;
constexpr std::size_t kQuadgramBookAt = kTrigramsAt + kTrigrams;
constexpr std::size_t kQuadgramsAt = kQuadgramBookAt + 16 * 4;
constexpr std::size_t kTableSize = kQuadgramsAt + kQuadgrams / 2;

// Weights of the mixture that gives a letter's chance after its context:
// mostly the quadgram estimate, the shorter contexts for what four-letter
// counts miss, and a sliver of the even chance 1/26 so that no letter is
// ever impossible (a language's counts may lack a letter entirely).
constexpr std::array<double, 5> kMixture = {0.005, 0.025, 0.07, 0.2, 0.7};

// The code of floor values in every code book: an n-gram never seen.
constexpr std::uint8_t kUnseen = 0;

template <std::size_t N>
std::array<float, N> readBook(std::span<const std::uint8_t> table, std::size_t at) {
  std::array<float, N> book;
  std::memcpy(book.data(), table.data() + at, sizeof book);
  return book;
}

// The probabilities of a code book's codes, the unseen code counting as 0.
template <std::size_t N>
std::array<double, N> chances(const std::array<float, N>& book) {
  std::array<double, N> result;
  std::transform(book.begin(), book.end(), result.begin(),
                 [](float logChance) { return std::exp(double{logChance}); });
  result[kUnseen] = 0.0;
  return result;
}

}  // namespace

std::string_view codeOf(Language language) {
  return kLanguages[static_cast<std::size_t>(language)].code;
}

std::string_view nameOf(Language language) {
  return kLanguages[static_cast<std::size_t>(language)].name;
}

std::optional<Language> languageCoded(std::string_view code) {
  for (std::size_t i = 0; i < kLanguageCount; ++i) {
    if (kLanguages[i].code == code) return static_cast<Language>(i);
  }
  return std::nullopt;
}

std::vector<std::uint8_t> letterIndices(std::string_view text) {
  std::vector<std::uint8_t> letters;
  letters.reserve(text.size());
  for (const char c : text) {
    if (c >= 'A' && c <= 'Z') {
      letters.push_back(static_cast<std::uint8_t>(c - 'A'));
    } else if (c >= 'a' && c <= 'z') {
      letters.push_back(static_cast<std::uint8_t>(c - 'a'));
    }
  }
  return letters;
}

LanguageModel::LanguageModel(std::span<const std::uint8_t> table)
    : trigramContext_(kBigrams), quadgramContext_(kTrigrams) {
  if (table.size() != kTableSize || !std::equal(kMark.begin(), kMark.end(), table.begin())) {
    throw std::runtime_error("not a language table");
  }
  std::array<std::uint32_t, 26> counts;
  std::memcpy(counts.data(), table.data() + kCountsAt, sizeof counts);
  double total = 0;
  for (const std::uint32_t count : counts)
    total += count;
  std::transform(counts.begin(), counts.end(), frequencies_.begin(),
                 [total](std::uint32_t count) { return count / total; });
  bigramBook_ = readBook<256>(table, kBigramBookAt);
  trigramBook_ = readBook<256>(table, kTrigramBookAt);
  quadgramBook_ = readBook<16>(table, kQuadgramBookAt);
  bigrams_ = table.data() + kBigramsAt;
  trigrams_ = table.data() + kTrigramsAt;
  quadgrams_ = table.data() + kQuadgramsAt;

  const auto bigramChance = chances(bigramBook_);
  const auto trigramChance = chances(trigramBook_);
  const auto quadgramChance = chances(quadgramBook_);
  for (std::uint32_t i = 0; i < kBigrams; ++i)
    bigramContext_[i / 26] += bigramChance[bigrams_[i]];
  for (std::uint32_t i = 0; i < kTrigrams; ++i) {
    trigramContext_[i / 26] += trigramChance[trigrams_[i]];
  }
  for (std::uint32_t i = 0; i < kQuadgrams; i += 2) {
    const std::uint8_t pair = quadgrams_[i / 2];
    quadgramContext_[i / 26] += quadgramChance[pair & 0x0F] + quadgramChance[pair >> 4];
  }
}

double LanguageModel::chance(std::uint32_t context, std::size_t order, std::uint8_t next) const {
  // The conditional estimate of each order: the n-gram's share of its context.
  const auto share = [](float logChance, bool seen, double contextSum) {
    return seen && contextSum > 0 ? std::exp(double{logChance}) / contextSum : 0.0;
  };
  double sum = kMixture[0] / 26 + kMixture[1] * frequencies_[next];
  double weight = kMixture[0] + kMixture[1];
  if (order >= 1) {
    const std::uint32_t index = (context % 26) * 26 + next;
    sum += kMixture[2] *
           share(bigram(index), bigrams_[index] != kUnseen, bigramContext_[context % 26]);
    weight += kMixture[2];
  }
  if (order >= 2) {
    const std::uint32_t index = (context % kBigrams) * 26 + next;
    sum += kMixture[3] *
           share(trigram(index), trigrams_[index] != kUnseen, trigramContext_[context % kBigrams]);
    weight += kMixture[3];
  }
  if (order >= 3) {
    const std::uint32_t index = (context % kTrigrams) * 26 + next;
    const bool seen = ((quadgrams_[index >> 1] >> ((index & 1) * 4)) & 0x0F) != kUnseen;
    sum += kMixture[4] * share(quadgram(index), seen, quadgramContext_[context % kTrigrams]);
    weight += kMixture[4];
  }
  return sum / weight;
}

double LanguageModel::logLikelihood(std::span<const std::uint8_t> letters) const {
  double sum = 0;
  std::uint32_t context = 0;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    sum += std::log(chance(context, std::min<std::size_t>(i, 3), letters[i]));
    context = (context % kTrigrams) * 26 + letters[i];
  }
  return sum;
}

const LanguageModel& modelOf(Language language) {
  static std::array<std::once_flag, kLanguageCount> once;
  static std::array<std::unique_ptr<LanguageModel>, kLanguageCount> models;
  const auto i = static_cast<std::size_t>(language);
  std::call_once(
      once[i], [&] { models[i] = std::make_unique<LanguageModel>(tableCoded(codeOf(language))); });
  return *models[i];
}

double coincidenceOf(const std::array<double, 26>& shares) {
  double sum = 0;
  for (const double share : shares)
    sum += share * share;
  return sum;
}

double quadgramFitness(const LanguageModel& model, std::span<const std::uint8_t> letters) {
  double sum = 0;
  std::uint32_t index = 0;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    index = (index % kTrigrams) * 26 + letters[i];
    if (i >= 3) sum += model.quadgram(index);
  }
  return sum;
}

std::vector<LanguageScore> rankLanguages(std::span<const std::uint8_t> letters) {
  letters = letters.first(std::min(letters.size(), kMostLettersRanked));
  std::vector<LanguageScore> scores;
  for (std::size_t i = 0; i < kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    scores.push_back({language, modelOf(language).logLikelihood(letters), 0.0});
  }
  std::stable_sort(scores.begin(), scores.end(),
                   [](const LanguageScore& a, const LanguageScore& b) {
                     return a.logLikelihood > b.logLikelihood;
                   });
  // Posterior chances, shifted by the best score so that exp cannot underflow to all zeros.
  double total = 0;
  for (LanguageScore& score : scores) {
    score.probability = std::exp(score.logLikelihood - scores.front().logLikelihood);
    total += score.probability;
  }
  for (LanguageScore& score : scores)
    score.probability /= total;
  return scores;
}

}  // namespace analysis
