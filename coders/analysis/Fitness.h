#ifndef ZEMBRAX_CODERS_ANALYSIS_FITNESS_H_
#define ZEMBRAX_CODERS_ANALYSIS_FITNESS_H_

// What the crackers share: how likely a run of letters (or of bytes) is in a
// language, how scores become chances, and how an answer is shown.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Cracker.h"
#include "analysis/Language.h"

namespace analysis::fitness {

// A language's letters as a chain: the natural log of the chance of each
// letter given up to three letters before it, each context's chances summing
// to one, so that texts of any length and any number of letters compare.
// tools/chains makes it from the language's n-gram table.
class LetterChain {
 public:
  // Reads a chain as tools/chains writes it, which must outlive it; throws
  // std::runtime_error when its size or mark is not that of a chain.
  explicit LetterChain(std::span<const std::uint8_t> chain);

  // ln p(letter | the letters of `context`), where `context` holds the last
  // `known` letters (0 to 3) in base 26, the oldest most significant.
  float next(std::uint32_t context, unsigned known, std::uint8_t letter) const {
    switch (known) {
      case 0:
        return first[letter];
      case 1:
        return second[context * 26 + letter];
      case 2: {
        // Read where the chain lies, as a float that may stand anywhere.
        float chance;
        std::memcpy(&chance, third + (context * 26 + letter) * sizeof chance, sizeof chance);
        return chance;
      }
      default:
        return fourthBook[fourth[context * 26 + letter]];
    }
  }
  // ln p of a letter taken alone.
  float alone(std::uint8_t letter) const { return first[letter]; }

 private:
  std::array<float, 26> first{};
  std::array<float, 26 * 26> second{};
  // The chances after two letters and after three, the largest tables by
  // far, read where the chain lies: those after three as codes of evenly
  // spaced logs.
  const std::uint8_t* third = nullptr;
  std::array<float, 256> fourthBook{};
  const std::uint8_t* fourth = nullptr;
};

// The chain of `language`, compiled in.
const LetterChain& chainOf(Language language);

// ln p of the run of letters `letters` (indices 0..25) in the chain.
double chainLogLikelihood(const LetterChain& chain, std::span<const std::uint8_t> letters);

// The same sum, letter by letter in the same order, but given up as soon as
// it is no more than `floor` (every letter lowers it): then some sum at or
// below `floor`.
double chainLogLikelihoodAbove(const LetterChain& chain, std::span<const std::uint8_t> letters,
                               double floor);

// The languages ranked by how well `letters` read as each in its chain, best
// first, with the chance of each (posterior under equal priors, sums to 1).
// A long text is judged on its first kMostLettersRanked letters.
struct LanguageScore {
  Language language;
  double logLikelihood;
  double probability;
};
inline constexpr std::size_t kMostLettersRanked = 4096;
std::vector<LanguageScore> rankLanguages(std::span<const std::uint8_t> letters);

// Follows a run of letters through the chain one letter at a time.
class ChainCursor {
 public:
  // ln p of `letter` after the letters seen so far; then takes it in.
  float take(const LetterChain& chain, std::uint8_t letter) {
    const float p = chain.next(context, known, letter);
    context = (context * 26 + letter) % (26 * 26 * 26);
    known += known < 3 ? 1 : 0;
    return p;
  }

 private:
  std::uint32_t context = 0;
  unsigned known = 0;
};

// ln p of every byte value in running text, apart from which letter a letter
// is (the chain adds that): lower-case letters, spaces and punctuation are
// common, capitals, digits, line breaks and UTF-8's bytes 0x80-0xFF rarer,
// control bytes almost unheard of. The chances sum to one.
const std::array<float, 256>& textByteLogChances();

// The languages to try: the one given, or all.
std::vector<Language> languagesFor(const CrackSettings& settings);

// ln p of a sequence with these counts of its symbols (of `symbols` kinds,
// some perhaps never counted) when their frequencies are unknown, every set
// of frequencies as likely: the Dirichlet-multinomial with all weights one.
// Unlike the counts' own frequencies it does not flatter a short sequence.
double unknownFrequencyNats(std::span<const double> counts, double symbols);

// ln of the sum of the exponentials of `values` (minus infinity for none).
double logSumExp(std::span<const double> values);

// The chance of each score's hypothesis, all hypotheses having the same
// prior, beside a "none of them" hypothesis scored `nullScore`: each
// exp(score / temperature) over the sum of all. The null's chance follows
// the others, as the last element.
std::vector<double> posteriors(std::span<const double> scores, double nullScore,
                               double temperature);

// The start of `text` as a preview: at most kPreviewCharacters UTF-8
// characters, never cut inside one.
inline constexpr std::size_t kPreviewCharacters = 80;
std::string previewOf(std::string_view text);

// The input bytes kept for previews: enough for kPreviewCharacters
// characters of four bytes each.
inline constexpr std::size_t kHeadBytes = 4 * kPreviewCharacters;

// Appends to `kept` as much of `piece` as keeps it within `limit` bytes.
inline void keepUpTo(std::string& kept, std::string_view piece, std::size_t limit) {
  if (kept.size() < limit) kept.append(piece.substr(0, limit - kept.size()));
}

// The frequencies of the letters counted in `counts` (all zero for none).
std::array<double, 26> frequencies(std::span<const double, 26> counts);

// Sets the note of a report whose best candidate falls short of being sure:
// the text does not look like text (`nullChance`, the chance that no key
// is right, beats the best), is short (`units`, the letters or bytes the
// answer rests on), or the best is simply not far enough ahead.
void noteDoubt(Report& report, std::size_t units, double nullChance);

// At this chance or more an answer is called sure, and given no note.
inline constexpr double kSure = 0.9;

// The notes the crackers give.
inline constexpr std::string_view kNoInput = "no input";
inline constexpr std::string_view kNoLetters = "no letters to analyse";
inline constexpr std::string_view kTooShort = "too short to be sure";
inline constexpr std::string_view kNotText =
    "the decryptions do not look like text in any language";
inline constexpr std::string_view kNotAhead = "no candidate is clearly ahead";
inline constexpr std::string_view kSampled = "only the first 1 MiB of the text was analysed";

}  // namespace analysis::fitness

#endif  // ZEMBRAX_CODERS_ANALYSIS_FITNESS_H_
