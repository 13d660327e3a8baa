#include "analysis/Fitness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>

#include "analysis/Parallel.h"

namespace analysis::fitness {

namespace {

// The weight of a context's own chances against the next shorter context's
// when a chain mixes them: the longer context knows more but has seen less,
// and a letter never seen after it must not ruin a whole decryption.
constexpr float kOwnWeight = 0.85f;

// The least letter chance a model may give, so that a letter missing from a
// language's table stays possible.
constexpr double kLeastLetterChance = 1e-5;

// Calls `take(context, row)` with the chances of the next letter after every
// context of `order` letters, normalised per context from the joint ln p of
// `gram` (order + 1 letters) and mixed with the shorter context's chances
// `shorter` (not logs).
template <typename Gram, typename Take>
void conditional(Gram gram, std::uint32_t contexts, std::span<const float> shorter,
                 std::uint32_t shorterContexts, Take take) {
  std::array<float, 26> row;
  for (std::uint32_t context = 0; context < contexts; ++context) {
    float high = -std::numeric_limits<float>::infinity();
    for (std::uint32_t letter = 0; letter < 26; ++letter)
      high = std::max(high, gram(context * 26 + letter));
    float total = 0;
    for (std::uint32_t letter = 0; letter < 26; ++letter) {
      row[letter] = std::exp(gram(context * 26 + letter) - high);
      total += row[letter];
    }
    // The shorter context drops the oldest letter.
    const float* tail = &shorter[(context % shorterContexts) * 26];
    for (std::uint32_t letter = 0; letter < 26; ++letter)
      row[letter] = kOwnWeight * row[letter] / total + (1 - kOwnWeight) * tail[letter];
    take(context, std::span<const float, 26>(row));
  }
}

// The chances that `conditional` gives, as one table.
template <typename Gram>
std::vector<float> conditionalTable(Gram gram, std::uint32_t contexts,
                                    std::span<const float> shorter, std::uint32_t shorterContexts) {
  std::vector<float> out(static_cast<std::size_t>(contexts) * 26);
  conditional(gram, contexts, shorter, shorterContexts,
              [&out](std::uint32_t context, std::span<const float, 26> row) {
                std::copy(row.begin(), row.end(), out.begin() + context * 26);
              });
  return out;
}

// The natural logs of `chances`, in place.
void takeLogs(std::vector<float>& chances) {
  for (float& c : chances)
    c = std::log(c);
}

}  // namespace

LetterChain::LetterChain(const LanguageModel& model) {
  const auto& frequencies = model.letterFrequencies();
  std::vector<float> alone(26);
  for (std::size_t letter = 0; letter < 26; ++letter)
    alone[letter] = static_cast<float>(std::max(frequencies[letter], kLeastLetterChance));
  second = conditionalTable([&](std::uint32_t i) { return model.bigram(i); }, 26, alone, 1);
  third = conditionalTable([&](std::uint32_t i) { return model.trigram(i); }, 26 * 26, second, 26);
  // No chance after three letters falls below the shorter context's share
  // of the least chance after two, nor rises above one: the codes span the
  // logs between.
  const float least = std::log((1 - kOwnWeight) * *std::min_element(third.begin(), third.end()));
  const float step = -least / static_cast<float>(fourthBook.size() - 1);
  for (std::size_t code = 0; code < fourthBook.size(); ++code)
    fourthBook[code] = least + step * static_cast<float>(code);
  // Every code is written below, so the table starts unset.
  fourth = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t{26} * 26 * 26 * 26);
  conditional([&](std::uint32_t i) { return model.quadgram(i); }, 26 * 26 * 26, third, 26 * 26,
              [&](std::uint32_t context, std::span<const float, 26> row) {
                for (std::size_t letter = 0; letter < 26; ++letter) {
                  // The nearest code; the bounds only guard against rounding.
                  const float code = (std::log(row[letter]) - least) / step + 0.5f;
                  fourth[context * 26 + letter] =
                      static_cast<std::uint8_t>(std::clamp(code, 0.0f, 255.0f));
                }
              });
  takeLogs(alone);
  takeLogs(second);
  takeLogs(third);
  std::copy(alone.begin(), alone.end(), first.begin());
}

const LetterChain& chainOf(Language language) {
  static std::array<std::once_flag, kLanguageCount> built;
  static std::array<std::unique_ptr<LetterChain>, kLanguageCount> chains;
  const auto at = static_cast<std::size_t>(language);
  std::call_once(built[at], [&] { chains[at] = std::make_unique<LetterChain>(modelOf(language)); });
  return *chains[at];
}

void buildChains(std::span<const Language> languages) {
  forEachAtOnce(languages.size(), [languages](std::size_t l) { chainOf(languages[l]); });
}

double chainLogLikelihood(const LetterChain& chain, std::span<const std::uint8_t> letters) {
  ChainCursor cursor;
  double sum = 0;
  for (const std::uint8_t letter : letters)
    sum += cursor.take(chain, letter);
  return sum;
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
