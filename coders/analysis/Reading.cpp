#include "analysis/Reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "Ascii.h"
#include "analysis/Fitness.h"
#include "analysis/Words.h"

namespace analysis::reading {

namespace {

// How firmly the kinds of byte are expected at a form's shares: as much as
// this many bytes of that form would tell.
constexpr double kFormPrior = 50;

// The share of plaintexts that are token text rather than prose; of token
// texts, the share wrapped in "name{...}".
constexpr double kTokenShare = 0.5;
constexpr double kWrappedShare = 0.3;

// Of token text's letters: the share of texts all in small letters, all in
// capitals, and mixed; mixed ones have capitals at this share.
constexpr double kAllSmall = 0.45, kAllCapitals = 0.25, kMixedCase = 0.3;
constexpr double kCapitalShare = 0.15;
// How firmly mixed text is expected to keep to that share.
constexpr double kCasePrior = 10;

// The kind of byte that stands for every letter in token text, whose case
// is read apart.
constexpr int kLetterKind = 'a';

// ln p of token text's bytes, by kind: letters as one kind (the chain tells
// which letter, the case model which case), and separators, digits and
// braces far commoner than in prose.
const std::array<float, 256>& tokenByteLogChances() {
  static const std::array<float, 256> chances = [] {
    constexpr double kLetters = 0.72, kUnderscore = 0.07, kSpace = 0.06, kDigits = 0.05;
    constexpr double kDash = 0.02, kBrace = 0.01, kStop = 0.01, kComma = 0.005;
    constexpr double kOtherPunctuation = 0.03, kLineBreak = 0.01, kHigh = 0.005;
    constexpr double kControl = 1e-5, kZero = 1e-7;
    constexpr std::string_view kPunctuation = "!\"#$%&'()*+/:;<=>?@[\\]^`|~";
    std::array<double, 256> share{};
    for (int c = 0; c < 256; ++c) {
      const char ch = static_cast<char>(c);
      share[c] = c == 0                   ? kZero
                 : c >= 0x80              ? kHigh / 128
                 : c == kLetterKind       ? kLetters
                 : ascii::isLetter(ch)    ? 0
                 : ascii::isDigit(ch)     ? kDigits / 10
                 : c == '_'               ? kUnderscore
                 : c == ' '               ? kSpace
                 : c == '-'               ? kDash
                 : c == '{' || c == '}'   ? kBrace
                 : c == '.'               ? kStop
                 : c == ','               ? kComma
                 : c == '\n' || c == '\r' ? kLineBreak / 2
                 : kPunctuation.find(ch) != std::string_view::npos
                     ? kOtherPunctuation / static_cast<double>(kPunctuation.size())
                     : kControl;
    }
    double total = 0;
    for (const double s : share)
      total += s;
    std::array<float, 256> out{};
    for (int c = 0; c < 256; ++c)
      out[c] = share[c] > 0 ? static_cast<float>(std::log(share[c] / total)) : -INFINITY;
    return out;
  }();
  return chances;
}

// Whether plaintext has byte `k` only by mistake: the control bytes but
// tab and line breaks.
bool isForeign(int k) {
  return (k < 0x20 && k != '\t' && k != '\n' && k != '\r') || k == 0x7F;
}

// As fitness::unknownFrequencyNats for the kinds of byte of a text, where the
// frequencies are expected near `shares` (ln p per kind; kinds never
// expected are skipped): weights of a total of kFormPrior shared as the
// form shares its bytes. A kind that the form seldom has costs dearly
// however often it comes, and a foreign byte as much each time.
double kindNats(const std::array<double, 256>& kinds, const std::array<float, 256>& shares) {
  double n = 0;
  double nats = 0;
  double weights = 0;
  for (int k = 0; k < 256; ++k) {
    if (!std::isfinite(shares[k])) continue;
    if (isForeign(k)) {
      nats += kinds[k] * static_cast<double>(shares[k]);
      continue;
    }
    const double weight = kFormPrior * std::exp(static_cast<double>(shares[k]));
    weights += weight;
    n += kinds[k];
    nats += std::lgamma(kinds[k] + weight) - std::lgamma(weight);
  }
  return nats + std::lgamma(weights) - std::lgamma(n + weights);
}

// Prose's shares of the kinds of byte: every byte but letters by its value,
// capitals as 'A', small letters as 'a'.
const std::array<float, 256>& proseKindLogChances() {
  static const std::array<float, 256> chances = [] {
    std::array<float, 256> out = fitness::textByteLogChances();
    for (int c = 0; c < 256; ++c) {
      if (ascii::isLetter(static_cast<char>(c)) && c != 'A' && c != 'a') out[c] = -INFINITY;
    }
    return out;
  }();
  return chances;
}

double logOf(double p) {
  return std::log(p);
}

// ln p of the capitals and small letters of token text.
double caseNats(double capitals, double small) {
  const double mixed = std::lgamma(capitals + kCasePrior * kCapitalShare) -
                       std::lgamma(kCasePrior * kCapitalShare) +
                       std::lgamma(small + kCasePrior * (1 - kCapitalShare)) -
                       std::lgamma(kCasePrior * (1 - kCapitalShare)) + std::lgamma(kCasePrior) -
                       std::lgamma(capitals + small + kCasePrior);
  const double options[] = {capitals == 0 ? logOf(kAllSmall) : -INFINITY,
                            small == 0 ? logOf(kAllCapitals) : -INFINITY,
                            logOf(kMixedCase) + mixed};
  return fitness::logSumExp(options);
}

// Texts of up to this many letters are read as words too: beyond, their
// letters tell the language well enough, and the splitting would cost.
constexpr std::size_t kMostWordLetters = 256;

// ln p of `letters` in one language whose letter chain gives them
// `chainNats`: where the text is short, the chain and the word list mixed
// evenly, `runs` being its letters as small letters, runs of them split by
// spaces.
double mixedNats(double chainNats, std::string_view runs, Language language, std::size_t letters) {
  if (letters > kMostWordLetters) return chainNats;
  const double readings[] = {chainNats, words::wordNats(runs, language)};
  return fitness::logSumExp(readings) - std::log(2.0);
}

// ln p of `letters` (`runs` as mixedNats takes them) in `language`, or in
// the language they read best in (which that pick flatters, by the number
// of languages it chose among).
std::pair<Language, double> letterNats(std::span<const std::uint8_t> letters, std::string_view runs,
                                       std::optional<Language> language) {
  if (language) {
    return {*language, mixedNats(fitness::chainLogLikelihood(fitness::chainOf(*language), letters),
                                 runs, *language, letters.size())};
  }
  if (letters.empty()) return {Language::en, 0.0};
  std::pair<Language, double> best{Language::en, -std::numeric_limits<double>::infinity()};
  for (const fitness::LanguageScore& score : fitness::rankLanguages(letters)) {
    const double nats = mixedNats(score.logLikelihood, runs, score.language, letters.size());
    if (nats > best.second) best = {score.language, nats};
  }
  best.second -= std::log(static_cast<double>(kLanguageCount));
  return best;
}

}  // namespace

char letterFor(char c) {
  switch (c) {
    case '0':
      return 'o';
    case '1':
      return 'i';
    case '3':
      return 'e';
    case '4':
    case '@':
      return 'a';
    case '5':
    case '$':
      return 's';
    case '7':
      return 't';
    case '8':
      return 'b';
    case '9':
      return 'g';
    default:
      return 0;
  }
}

bool isWrapped(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  text = text.substr(first, last - first + 1);
  const std::size_t open = text.find('{');
  if (open == 0 || open == std::string_view::npos || text.back() != '}') return false;
  const bool named = std::all_of(
      text.begin(), text.begin() + static_cast<std::ptrdiff_t>(open),
      [](char c) { return ascii::isLetter(c) || ascii::isDigit(c) || c == '_' || c == '-'; });
  const std::string_view inside = text.substr(open + 1, text.size() - open - 2);
  return named && inside.find_first_of("{}") == std::string_view::npos;
}

double naturalChance(double nats) {
  return 1 / (1 + std::exp(kNaturalNats - nats));
}

Reading readingOf(std::string_view text, std::optional<Language> language) {
  text = text.substr(0, kJudgedBytes);
  std::array<double, 256> proseKinds{}, tokenKinds{}, byteCounts{};
  std::array<double, 26> letterCounts{}, tokenLetterCounts{};
  std::vector<std::uint8_t> letters, tokenLetters;
  // The letters as small letters, runs of them split by a space.
  std::string proseRuns, tokenRuns;
  double capitals = 0, small = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    ++byteCounts[byte];
    if (ascii::isLetter(c)) {
      const bool capital = c >= 'A' && c <= 'Z';
      ++proseKinds[capital ? 'A' : 'a'];
      ++tokenKinds[kLetterKind];
      (capital ? capitals : small) += 1;
      letters.push_back(ascii::letterIndex(c));
      tokenLetters.push_back(letters.back());
      proseRuns += static_cast<char>('a' + letters.back());
      tokenRuns += proseRuns.back();
      ++letterCounts[letters.back()];
      ++tokenLetterCounts[letters.back()];
      if (letters.size() == fitness::kMostLettersRanked) break;
      continue;
    }
    ++proseKinds[byte];
    proseRuns += ' ';
    // A digit or sign that stands for a letter does so beside a letter.
    const char stands = letterFor(c);
    const bool inWord = (i > 0 && ascii::isLetter(text[i - 1])) ||
                        (i + 1 < text.size() && ascii::isLetter(text[i + 1]));
    if (stands != 0 && inWord) {
      ++tokenKinds[kLetterKind];
      tokenLetters.push_back(ascii::letterIndex(stands));
      tokenRuns += stands;
      ++tokenLetterCounts[tokenLetters.back()];
    } else {
      ++tokenKinds[byte];
      tokenRuns += ' ';
    }
  }
  const bool wrapped = isWrapped(text);
  if (wrapped) {
    // The wrapper's braces are its form, not bytes of the text.
    tokenKinds['{'] -= 1;
    tokenKinds['}'] -= 1;
  }
  const double proseForm = kindNats(proseKinds, proseKindLogChances());
  const double tokenForm = kindNats(tokenKinds, tokenByteLogChances()) + caseNats(capitals, small) +
                           logOf(wrapped ? kWrappedShare : 1 - kWrappedShare);
  const auto [proseLanguage, proseLetters] = letterNats(letters, proseRuns, language);
  const auto [tokenLanguage, tokenLetterNats] = tokenRuns == proseRuns
                                                    ? std::pair{proseLanguage, proseLetters}
                                                    : letterNats(tokenLetters, tokenRuns, language);
  const double prose = logOf(1 - kTokenShare) + proseForm + proseLetters;
  const double token = logOf(kTokenShare) + tokenForm + tokenLetterNats;
  const double forms[] = {prose, token};
  const double asLanguage = fitness::logSumExp(forms);
  // Scrambled letters keep the text's form and lose its language.
  const double scrambled =
      std::max(proseForm + fitness::unknownFrequencyNats(letterCounts, 26),
               tokenForm + fitness::unknownFrequencyNats(tokenLetterCounts, 26));
  const double asNothing = std::max(scrambled, fitness::unknownFrequencyNats(byteCounts, 256));
  return {prose >= token ? proseLanguage : tokenLanguage, asLanguage, asNothing,
          letters.size() < 2 ? 0.0 : naturalChance(asLanguage - asNothing)};
}

}  // namespace analysis::reading
