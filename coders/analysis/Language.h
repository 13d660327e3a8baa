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

// A language's statistics over the letters A-Z, case folded: how often each
// letter occurs, and the quadgram table, the compiled-in bytes themselves
// (half a byte per quadgram) read through its code book. The chance of a
// text is the letter chain's (Fitness.h), made from the same table.
class LanguageModel {
 public:
  // Reads a table as tools/langstats writes it; throws std::runtime_error
  // when its size or mark is not that of a table.
  explicit LanguageModel(std::span<const std::uint8_t> table);

  // How often each letter occurs; sums to 1.
  const std::array<double, 26>& letterFrequencies() const { return frequencies_; }

  // The natural-log probability of a quadgram, its letters as a base-26
  // number, first letter most significant; unseen ones get a floor value.
  float quadgram(std::uint32_t index) const {
    return quadgramBook_[(quadgrams_[index >> 1] >> ((index & 1) * 4)) & 0x0F];
  }

 private:
  std::array<double, 26> frequencies_{};
  std::array<float, 16> quadgramBook_{};
  const std::uint8_t* quadgrams_ = nullptr;
};

// The statistics of `language`, read from the compiled-in table on first use.
const LanguageModel& modelOf(Language language);

// The chance that two letters drawn at random from a text with these letter
// shares are the same: the index of coincidence that a long text of them
// tends to. 1/26 for letters drawn evenly; 0 when every share is 0.
double coincidenceOf(const std::array<double, 26>& shares);

// Sum of the quadgram log-probabilities over every run of four consecutive letters.
double quadgramFitness(const LanguageModel& model, std::span<const std::uint8_t> letters);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_LANGUAGE_H_
