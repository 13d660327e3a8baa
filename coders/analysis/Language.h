#ifndef ZEMBRAX_CODERS_ANALYSIS_LANGUAGE_H_
#define ZEMBRAX_CODERS_ANALYSIS_LANGUAGE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Letter statistics of sixteen languages, over the ASCII letters A-Z as the
// ciphers see them (letters with diacritics are dropped, as the ciphers
// leave them alone), and the ranking of languages by how well a text reads
// as each. The tables are compiled in; tools/langstats makes them.
namespace analysis {

enum class Language : std::uint8_t {
  en,
  de,
  fr,
  es,
  it,
  pt,
  nl,
  pl,
  sv,
  da,
  nb,
  fi,
  cs,
  hu,
  tr,
  id
};
inline constexpr std::size_t kLanguageCount = 16;

// The language's code as --language takes it ("en").
std::string_view codeOf(Language language);
// The language's English name ("English").
std::string_view nameOf(Language language);
// The language whose code is `code`, exactly as codeOf gives it; none otherwise.
std::optional<Language> languageCoded(std::string_view code);

// The letters of `text` as indices 0..25 (A/a = 0), case folded; every other
// byte dropped.
std::vector<std::uint8_t> letterIndices(std::string_view text);

// A language's statistics over the letters A-Z, case folded. The n-gram
// tables are the compiled-in bytes themselves (one byte per bigram and
// trigram, half a byte per quadgram), read through their code books.
class LanguageModel {
 public:
  // Reads a table as tools/langstats writes it; throws std::runtime_error
  // when its size or mark is not that of a table.
  explicit LanguageModel(std::span<const std::uint8_t> table);

  // How often each letter occurs; sums to 1.
  const std::array<double, 26>& letterFrequencies() const { return frequencies_; }

  // Natural-log probabilities, the n-gram's letters as a base-26 number,
  // first letter most significant; unseen n-grams get a floor value.
  float bigram(std::uint32_t index) const { return bigramBook_[bigrams_[index]]; }
  float trigram(std::uint32_t index) const { return trigramBook_[trigrams_[index]]; }
  float quadgram(std::uint32_t index) const {
    return quadgramBook_[(quadgrams_[index >> 1] >> ((index & 1) * 4)) & 0x0F];
  }

  // The natural-log probability of the letter sequence under this language:
  // each letter's chance after the (up to) three before it, the quadgram,
  // trigram, bigram and letter estimates mixed so that n-grams the tables
  // never saw still have a chance.
  double logLikelihood(std::span<const std::uint8_t> letters) const;

 private:
  // The chance of letter `next` after the context of `order` letters ending
  // in `context` (a base-26 number), as the mixture gives it.
  double chance(std::uint32_t context, std::size_t order, std::uint8_t next) const;

  std::array<double, 26> frequencies_{};
  std::array<float, 256> bigramBook_{};
  std::array<float, 256> trigramBook_{};
  std::array<float, 16> quadgramBook_{};
  const std::uint8_t* bigrams_ = nullptr;
  const std::uint8_t* trigrams_ = nullptr;
  const std::uint8_t* quadgrams_ = nullptr;
  // For each context of one to three letters, the summed probability of the
  // n-grams seen after it, which turns a joint probability into a
  // conditional one.
  std::array<double, 26> bigramContext_{};
  std::vector<double> trigramContext_;
  std::vector<double> quadgramContext_;
};

// The statistics of `language`, read from the compiled-in table on first use.
const LanguageModel& modelOf(Language language);

// The chance that two letters drawn at random from a text with these letter
// shares are the same: the index of coincidence that a long text of them
// tends to. 1/26 for letters drawn evenly; 0 when every share is 0.
double coincidenceOf(const std::array<double, 26>& shares);

// Sum of the quadgram log-probabilities over every run of four consecutive letters.
double quadgramFitness(const LanguageModel& model, std::span<const std::uint8_t> letters);

// The languages ranked by how well `letters` read as each, best first, with
// the chance of each (posterior under equal priors, sums to 1). Uses n-grams
// so that 15-letter texts rank sensibly; a long text is judged on its first
// kMostLettersRanked letters.
struct LanguageScore {
  Language language;
  double logLikelihood;
  double probability;
};
inline constexpr std::size_t kMostLettersRanked = 4096;
std::vector<LanguageScore> rankLanguages(std::span<const std::uint8_t> letters);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_LANGUAGE_H_
