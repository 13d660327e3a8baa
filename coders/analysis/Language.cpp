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

template <std::size_t N>
std::array<float, N> readBook(std::span<const std::uint8_t> table, std::size_t at) {
  std::array<float, N> book;
  std::memcpy(book.data(), table.data() + at, sizeof book);
  return book;
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

LanguageModel::LanguageModel(std::span<const std::uint8_t> table) {
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
  quadgramBook_ = readBook<16>(table, kQuadgramBookAt);
  quadgrams_ = table.data() + kQuadgramsAt;
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

}  // namespace analysis
