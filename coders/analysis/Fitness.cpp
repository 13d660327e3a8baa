#include "analysis/Fitness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "analysis/TableData.h"

namespace analysis::fitness {

namespace {

// The layout of a chain (little-endian): a mark, then ln p of each letter
// alone, after one and after two letters (floats), then the code book
// (floats) and the codes (a byte each) of the chances after three.
constexpr std::array<std::uint8_t, 8> kChainMark = {'Z', 'X', 'L', 'C', 1, 0, 0, 0};
constexpr std::size_t kFirstAt = kChainMark.size();
constexpr std::size_t kSecondAt = kFirstAt + 26 * sizeof(float);
constexpr std::size_t kThirdAt = kSecondAt + 26 * 26 * sizeof(float);
constexpr std::size_t kFourthBookAt = kThirdAt + 26 * 26 * 26 * sizeof(float);
constexpr std::size_t kFourthAt = kFourthBookAt + 256 * sizeof(float);
constexpr std::size_t kChainSize = kFourthAt + 26 * 26 * 26 * 26;

// Copies the floats at `at` in `chain` into `out`.
void readFloats(std::span<const std::uint8_t> chain, std::size_t at, std::span<float> out) {
  std::memcpy(out.data(), chain.data() + at, out.size_bytes());
}

}  // namespace

LetterChain::LetterChain(std::span<const std::uint8_t> chain) {
  if (chain.size() != kChainSize ||
      !std::equal(kChainMark.begin(), kChainMark.end(), chain.begin()))
    throw std::runtime_error("not a letter chain");
  readFloats(chain, kFirstAt, first);
  readFloats(chain, kSecondAt, second);
  third = chain.data() + kThirdAt;
  readFloats(chain, kFourthBookAt, fourthBook);
  fourth = chain.data() + kFourthAt;
}

const LetterChain& chainOf(Language language) {
  static const std::vector<LetterChain> chains = [] {
    std::vector<LetterChain> all;
    for (std::size_t l = 0; l < kLanguageCount; ++l) {
      const std::span<const std::uint8_t> chain = chainCoded(codeOf(static_cast<Language>(l)));
      // A text is read through every language's chain, all over its tables.
      mapIn(chain);
      all.emplace_back(chain);
    }
    return all;
  }();
  return chains[static_cast<std::size_t>(language)];
}

double chainLogLikelihood(const LetterChain& chain, std::span<const std::uint8_t> letters) {
  return chainLogLikelihoodAbove(chain, letters, -std::numeric_limits<double>::infinity());
}

double chainLogLikelihoodAbove(const LetterChain& chain, std::span<const std::uint8_t> letters,
                               double floor) {
  const std::size_t lead = std::min<std::size_t>(letters.size(), 3);
  ChainCursor cursor;
  double sum = 0;
  for (std::size_t j = 0; j < lead && sum > floor; ++j)
    sum += cursor.take(chain, letters[j]);
  // Past the first three, each letter's context is read afresh from the
  // three before it rather than carried from letter to letter, so that the
  // letters' lookups overlap and only the sum waits on the one before.
  for (std::size_t j = lead; j < letters.size() && sum > floor; ++j) {
    const std::uint32_t context =
        (static_cast<std::uint32_t>(letters[j - 3]) * 26 + letters[j - 2]) * 26 + letters[j - 1];
    sum += chain.next(context, 3, letters[j]);
  }
  return sum;
}

std::vector<LanguageScore> rankLanguages(std::span<const std::uint8_t> letters) {
  letters = letters.first(std::min(letters.size(), kMostLettersRanked));
  std::vector<LanguageScore> scores;
  for (std::size_t i = 0; i < kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    scores.push_back({language, chainLogLikelihood(chainOf(language), letters), 0.0});
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

const std::array<float, 256>& textByteLogChances() {
  static const std::array<float, 256> chances = [] {
    // Rough shares of running text in any of the languages, in UTF-8.
    constexpr double kLower = 0.74, kUpper = 0.04, kSpace = 0.15, kDigits = 0.008;
    constexpr double kStop = 0.01, kComma = 0.01, kOtherPunctuation = 0.006;
    constexpr double kLineFeed = 0.01, kReturn = 0.003, kTab = 0.001;
    constexpr double kHigh = 0.03, kControl = 1e-5, kZero = 1e-7;
    std::array<double, 256> share{};
    constexpr std::string_view kPunctuation = "!\"#$%&'()*+-/:;<=>?@[\\]^_`{|}~";
    for (int c = 0; c < 256; ++c) {
      const char ch = static_cast<char>(c);
      share[c] = c == 0                 ? kZero
                 : c >= 0x80            ? kHigh / 128
                 : c >= 'a' && c <= 'z' ? kLower
                 : c >= 'A' && c <= 'Z' ? kUpper
                 : c >= '0' && c <= '9' ? kDigits / 10
                 : c == ' '             ? kSpace
                 : c == '.'             ? kStop
                 : c == ','             ? kComma
                 : c == '\n'            ? kLineFeed
                 : c == '\r'            ? kReturn
                 : c == '\t'            ? kTab
                 : kPunctuation.find(ch) != std::string_view::npos
                     ? kOtherPunctuation / static_cast<double>(kPunctuation.size())
                     : kControl;
    }
    // A letter's share is that of its case: the chain picks the letter.
    double total = 0;
    for (int c = 0; c < 256; ++c)
      total += (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? share[c] / 26 : share[c];
    std::array<float, 256> out{};
    for (int c = 0; c < 256; ++c)
      out[c] = static_cast<float>(std::log(share[c] / total));
    return out;
  }();
  return chances;
}

std::vector<Language> languagesFor(const CrackSettings& settings) {
  if (settings.language) return {*settings.language};
  std::vector<Language> all;
  for (std::size_t l = 0; l < kLanguageCount; ++l)
    all.push_back(static_cast<Language>(l));
  return all;
}

double unknownFrequencyNats(std::span<const double> counts, double symbols) {
  double n = 0;
  double nats = 0;
  for (const double count : counts) {
    n += count;
    nats += std::lgamma(count + 1);
  }
  return nats + std::lgamma(symbols) - std::lgamma(n + symbols);
}

double logSumExp(std::span<const double> values) {
  if (values.empty()) return -std::numeric_limits<double>::infinity();
  const double high = *std::max_element(values.begin(), values.end());
  if (!std::isfinite(high)) return high;
  double sum = 0;
  for (const double v : values)
    sum += std::exp(v - high);
  return high + std::log(sum);
}

std::vector<double> posteriors(std::span<const double> scores, double nullScore,
                               double temperature) {
  std::vector<double> scaled(scores.size() + 1);
  for (std::size_t i = 0; i < scores.size(); ++i)
    scaled[i] = scores[i] / temperature;
  scaled.back() = nullScore / temperature;
  const double total = logSumExp(scaled);
  for (double& s : scaled)
    s = std::exp(s - total);
  return scaled;
}

std::string previewOf(std::string_view text) {
  std::size_t characters = 0, end = 0;
  for (; end < text.size(); ++end) {
    const bool starts = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
    if (starts && characters++ == kPreviewCharacters) break;
  }
  return std::string(text.substr(0, end));
}

std::array<double, 26> frequencies(std::span<const double, 26> counts) {
  std::array<double, 26> out{};
  double total = 0;
  for (const double c : counts)
    total += c;
  if (total == 0) return out;
  for (std::size_t l = 0; l < 26; ++l)
    out[l] = counts[l] / total;
  return out;
}

void noteDoubt(Report& report, std::size_t units, double nullChance) {
  // A text of fewer letters than this is short for every cipher here.
  constexpr std::size_t kShortText = 200;
  if (report.candidates.empty() || !report.note.empty()) return;
  const double best = report.candidates.front().confidence;
  if (best >= kSure) return;
  report.note = nullChance > best ? kNotText : units < kShortText ? kTooShort : kNotAhead;
}

}  // namespace analysis::fitness
