#include "analysis/Identify.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <utility>

#include "Ascii.h"
#include "analysis/Crack.h"
#include "analysis/Fitness.h"

namespace analysis {

namespace {

// A result is judged on its first letters, as many as the language ranking
// reads, within this many bytes.
constexpr std::size_t kJudgedBytes = 16 << 10;
// The chains are compared on what they make of this many bytes at the start
// of the text: no more than the letters that a reading takes in, so that
// every chain's result is read whole, and every chain answers for the same
// bytes.
constexpr std::size_t kComparedBytes = kMostLettersRanked;
// The ciphers are broken on this much of a text: enough for any key here
// (a Vigenere key of the longest length searched wants some 25 times its
// letters), little enough to stay quick.
constexpr std::size_t kCrackedBytes = 8 << 10;
// The substitution solver, the slowest, gets less: some 1,600 letters,
// which show even the rarer letters.
constexpr std::size_t kSubstitutedBytes = 2 << 10;
// How much likelier than both other readings (text with its letters
// scrambled, random bytes) a result must read as language before it counts
// as natural, in nats: the prior against a chance fit, and the pick of the
// best of sixteen languages.
constexpr double kNaturalNats = 6.0;
// Below this chance of reading as language, a result is broken further by
// the ciphers.
constexpr double kTryCiphers = 0.5;
// A cipher's answer is kept as a chain only when the cracker gives its key
// at least this chance.
constexpr double kKeptKey = 0.05;
// A text is taken for Morse code when this share of its non-whitespace
// bytes, or more, are dots and dashes.
constexpr double kMorseShare = 0.8;
// A chain of one step more is taken to be a quarter as likely.
const double kStepNats = std::log(4.0);
// At this chance or more an answer is called sure.
constexpr double kSure = 0.9;

// How a text reads: as running text in `language` rather than as scrambled
// letters or random bytes, by `nats`.
struct Reading {
  Language language;
  double asLanguage;  // ln p of the text as running text in `language`
  double asNothing;   // ln p of it under the best of the other readings
  double natural;     // the chance that it is running text
};

double naturalChance(double nats) {
  return 1 / (1 + std::exp(kNaturalNats - nats));
}

// ln p of a sequence with these counts of its symbols (of `symbols` kinds,
// some perhaps never counted) when their frequencies are unknown, every set
// of frequencies as likely: the Dirichlet-multinomial with all weights one.
// Unlike the counts' own frequencies it does not flatter a short sequence.
double unknownFrequencyNats(std::span<const double> counts, double symbols) {
  double n = 0;
  double nats = 0;
  for (const double count : counts) {
    n += count;
    nats += std::lgamma(count + 1);
  }
  return nats + std::lgamma(symbols) - std::lgamma(n + symbols);
}

// As unknownFrequencyNats for the kinds of byte of a text (every byte but
// letters by its value, capitals as 'A' and small letters as 'a'), where the
// frequencies are expected near those of running text: weights of a total
// of kTextPrior shared as running text shares its bytes. A kind that text
// seldom has, such as control bytes, costs dearly however often it comes.
double textKindNats(const std::array<double, 256>& kinds) {
  // How firmly the kinds are expected at running text's shares: as much as
  // this many bytes of running text would tell.
  constexpr double kTextPrior = 50;
  const std::array<float, 256>& shares = fitness::textByteLogChances();
  double n = 0;
  double nats = 0;
  for (int k = 0; k < 256; ++k) {
    if (ascii::isLetter(static_cast<char>(k)) && k != 'A' && k != 'a') continue;
    const double weight = kTextPrior * std::exp(static_cast<double>(shares[k]));
    n += kinds[k];
    nats += std::lgamma(kinds[k] + weight) - std::lgamma(weight);
  }
  return nats + std::lgamma(kTextPrior) - std::lgamma(n + kTextPrior);
}

// How `text` reads as running text in a language, against two other
// readings: text whose letters are scrambled (a letter cipher of text), and
// bytes of no language at all. None of them knows beforehand how often each
// byte comes; the first two tell which letter a letter is by the language's
// chain of letters or by the letters' own counts, and share the rest: how
// often a byte is a capital, a small letter, or each other byte.
Reading readingOf(std::string_view text, const IdentifySettings& settings) {
  text = text.substr(0, kJudgedBytes);
  // The other bytes by value; all capitals count as 'A', all small letters
  // as 'a'.
  std::array<double, 256> kinds{};
  std::array<double, 256> byteCounts{};
  std::array<double, 26> letterCounts{};
  std::vector<std::uint8_t> letters;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    ++byteCounts[byte];
    if (!ascii::isLetter(c)) {
      ++kinds[byte];
      continue;
    }
    ++kinds[c >= 'A' && c <= 'Z' ? 'A' : 'a'];
    letters.push_back(ascii::letterIndex(c));
    ++letterCounts[letters.back()];
    if (letters.size() == kMostLettersRanked) break;
  }
  const double kindNats = textKindNats(kinds);
  Language language = settings.language.value_or(Language::en);
  double letterNats = 0;
  if (settings.language) {
    letterNats = modelOf(language).logLikelihood(letters);
  } else if (!letters.empty()) {
    const LanguageScore best = rankLanguages(letters).front();
    language = best.language;
    // The best of sixteen fits a little better than any one would.
    letterNats = best.logLikelihood - std::log(static_cast<double>(kLanguageCount));
  }
  const double asLanguage = kindNats + letterNats;
  const double asNothing = std::max(kindNats + unknownFrequencyNats(letterCounts, 26),
                                    unknownFrequencyNats(byteCounts, 256));
  return {language, asLanguage, asNothing,
          letters.size() < 2 ? 0.0 : naturalChance(asLanguage - asNothing)};
}

// Whether every byte of `text` is one of `allowed` or whitespace.
bool onlyOf(std::string_view text, std::string_view allowed) {
  return std::all_of(text.begin(), text.end(), [allowed](char c) {
    return ascii::isWhitespace(c) || allowed.find(c) != std::string_view::npos;
  });
}

std::size_t countOf(std::string_view text, std::string_view of) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [of](char c) { return of.find(c) != std::string_view::npos; }));
}

constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";

// Whether `text` has words (between runs of whitespace) and `holds` for
// every one of them.
template <typename Test>
bool allWords(std::string_view text, Test holds) {
  bool any = false;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && ascii::isWhitespace(text[at]))
      ++at;
    std::size_t end = at;
    while (end < text.size() && !ascii::isWhitespace(text[end]))
      ++end;
    if (end > at) {
      if (!holds(text.substr(at, end - at))) return false;
      any = true;
    }
    at = end;
  }
  return any;
}

// Whether `word` is the decimal number of a byte, signed or not
// (-128..255), so that reading it loses nothing.
bool isByteNumber(std::string_view word) {
  const std::size_t sign = !word.empty() && (word[0] == '-' || word[0] == '+') ? 1 : 0;
  const std::string_view digits = word.substr(sign);
  if (digits.empty() || digits.size() > 3 || !onlyOf(digits, "0123456789")) return false;
  const int value = (sign == 1 && word[0] == '-' ? -1 : 1) * std::stoi(std::string(digits));
  return value >= -128 && value <= 255;
}
constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

// The decodings worth trying on `text`: those whose alphabet it keeps to,
// each with the options it takes.
std::vector<Step> decodingsOf(std::string_view text) {
  std::vector<Step> steps;
  const auto add = [&steps](std::string_view name, methods::Settings options = {}) {
    steps.push_back({&methods::methodNamed(name), Direction::decode, std::move(options)});
  };
  const std::size_t signs = text.size() - countOf(text, " \t\n\v\f\r");
  if (signs == 0) return steps;
  if (onlyOf(text, "01")) {
    // Groups of eight unless the count says seven.
    if (signs % 8 == 0 || signs % 7 != 0) add("binary", {{"bits", 8}});
    if (signs % 7 == 0) add("binary", {{"bits", 7}});
    return steps;
  }
  // Morse code passes on the bytes it has no code for, so a little else
  // may stand among the dots and dashes.
  if (countOf(text, ".-") >= kMorseShare * static_cast<double>(signs)) {
    add("morse");
    return steps;
  }
  if (allWords(text, isByteNumber)) add("decimal");
  if (allWords(text, [](std::string_view word) {
        return word.size() % 2 == 0 && onlyOf(word, kHexDigits);
      })) {
    add("hex");
  }
  const std::size_t equals = countOf(text, "=");
  const std::size_t lastSign = text.find_last_not_of(" \t\n\v\f\r");
  const std::size_t firstEquals = text.find('=');
  if (signs >= 4 && onlyOf(text, kBase64Alphabet) && signs % 4 != 1 && equals <= 2 &&
      (equals == 0 || firstEquals + 2 >= lastSign)) {
    add("base64");
  }
  const std::size_t escapes = [text] {
    std::size_t n = 0;
    for (std::size_t i = text.find('%'); i != std::string_view::npos && i + 2 < text.size();
         i = text.find('%', i + 1)) {
      n += kHexDigits.find(text[i + 1]) != std::string_view::npos &&
                   kHexDigits.find(text[i + 2]) != std::string_view::npos
               ? 1
               : 0;
    }
    return n;
  }();
  if (escapes > 0 && escapes * 2 >= countOf(text, "%")) add("url");
  return steps;
}

// The natural log of the number of keys a cracker of `cipher` chose among,
// one of them being `key`.
double keySpaceNats(Cipher cipher, const methods::Settings& key) {
  switch (cipher) {
    case Cipher::caesar:
      return std::log(26.0);
    case Cipher::caesarFull:
      return std::log(255.0);
    case Cipher::bitwiseXor:
      return std::log(256.0);
    case Cipher::vigenere:
      return static_cast<double>(methods::textOf(key, "key").size()) * std::log(26.0);
    case Cipher::substitution:
      return std::lgamma(27.0);  // 26! alphabets
  }
  return 0;
}

// A chain found, before the chances are shared out among the chains.
struct Found {
  std::vector<Step> steps;
  double keyNats;  // ln of the number of keys its cipher chose among; 0 without one
};

class Search {
 public:
  explicit Search(const IdentifySettings& settings) : settings(settings) {}

  // Finds the chains that start from `text`: first every chain of
  // decodings; then, unless one of them already reads as language for sure,
  // the ciphers on what they decoded, the most decoded first, until one
  // reads so.
  void run(const std::string& text) {
    std::vector<Node> nodes;
    decode(text, {}, nodes);
    const auto sure = [](const Node& node) { return node.reading.natural >= kSure; };
    if (std::any_of(nodes.begin(), nodes.end(), sure)) return;
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const Node& a, const Node& b) { return a.steps.size() > b.steps.size(); });
    for (const Node& node : nodes) {
      if (settings.stopped()) return;
      if (node.reading.natural < kTryCiphers && tryCiphers(node.text, node.steps)) return;
    }
  }

  std::vector<Found> found;

 private:
  // A text reached by decoding, and how it reads.
  struct Node {
    std::string text;
    std::vector<Step> steps;
    Reading reading;
  };

  // Adds `text`, reached by `steps`, and all that decoding it further
  // reaches, to `nodes`, and each as a chain.
  void decode(const std::string& text, const std::vector<Step>& steps, std::vector<Node>& nodes) {
    nodes.push_back({text, steps, readingOf(text, settings)});
    found.push_back({steps, 0.0});
    if (steps.size() == kMostDecodings) return;
    for (Step& step : decodingsOf(text)) {
      std::string decoded = runChain({step}, text);
      if (decoded.empty() || decoded == text) continue;
      std::vector<Step> longer = steps;
      longer.push_back(std::move(step));
      decode(decoded, longer, nodes);
    }
  }

  // Breaks `text` with the ciphers that fit it: those of letters when it
  // reads as text with scrambled letters, those of all bytes otherwise.
  // True once one of them makes it read as language for sure.
  bool tryCiphers(const std::string& text, const std::vector<Step>& steps) {
    const std::size_t letters = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return ascii::isLetter(c); }));
    // The quick ciphers always, as XOR with a small value or a small shift
    // of all bytes keeps most letters letters; the slow ones only where they
    // can be, and only while none of the quick ones reads as language.
    bool sure = false;
    for (const Cipher cipher : {Cipher::caesar, Cipher::bitwiseXor, Cipher::caesarFull})
      sure = tryCipher(cipher, text, steps) || sure;
    if (sure || 2 * letters < text.size()) return sure;
    return tryCipher(Cipher::vigenere, text, steps) || tryCipher(Cipher::substitution, text, steps);
  }

  // Breaks `text` with `cipher` and keeps the best key as a chain; true when
  // it makes the text read as language for sure.
  bool tryCipher(Cipher cipher, const std::string& text, const std::vector<Step>& steps) {
    CrackSettings crack;
    crack.language = settings.language;
    crack.top = 1;
    crack.stop = settings.stop;
    if (cipher == Cipher::vigenere) crack.minKeyLength = 2;
    const std::unique_ptr<Cracker> cracker = makeCracker(cipher, crack);
    cracker->feed(std::string_view(text).substr(
        0, cipher == Cipher::substitution ? kSubstitutedBytes : kCrackedBytes));
    const Report report = cracker->finish();
    if (report.candidates.empty()) return false;
    const Candidate& best = report.candidates.front();
    if (best.confidence < kKeptKey) return false;
    std::vector<Step> longer = steps;
    longer.push_back(stepOf(cipher, best.options));
    const std::string result = runChain({longer.back()}, text.substr(0, kJudgedBytes));
    if (result == std::string_view(text).substr(0, kJudgedBytes)) return false;  // no change
    // The cracker picked the key that reads best of all its keys; reading
    // well is worth less by as much as there were keys to pick from.
    const double keyNats = keySpaceNats(cipher, best.options);
    const Reading reading = readingOf(result, settings);
    found.push_back({std::move(longer), keyNats});
    return naturalChance(reading.asLanguage - keyNats - reading.asNothing) >= kSure;
  }

  const IdentifySettings& settings;
};

}  // namespace

const methods::Method& methodOf(Cipher cipher) {
  switch (cipher) {
    case Cipher::bitwiseXor:
      return methods::methodNamed("bitwise");
    case Cipher::vigenere:
      return methods::methodNamed("vigenere");
    case Cipher::substitution:
      return methods::methodNamed("subst");
    case Cipher::caesar:
    case Cipher::caesarFull:
      break;
  }
  return methods::methodNamed("caesar");
}

Step stepOf(Cipher cipher, const methods::Settings& options) {
  const methods::Method& method = methodOf(cipher);
  return {&method, method.decodes ? Direction::decode : Direction::encode, options};
}

std::string runChain(const std::vector<Step>& steps, std::string text) {
  methods::OwnCoders coders;
  for (const Step& step : steps)
    text = methods::runExact(*step.method, coders.all(), step.options, step.direction,
                             std::move(text));
  return text;
}

Identification identify(std::string_view text, const IdentifySettings& settings, bool sampled) {
  Identification identification;
  identification.sampled = sampled || text.size() > kIdentifySample;
  if (text.empty()) {
    identification.note = fitness::kNoInput;
    return identification;
  }
  Search search(settings);
  search.run(std::string(text.substr(0, kIdentifySample)));
  if (settings.stopped()) {
    identification.note = kCancelled;
    return identification;
  }
  // Every chain is judged on what it makes of the same first bytes of the
  // text: the chance of those bytes, were they made by the chain from
  // running text, is that of its result as running text (each step but a
  // cipher's is undone one way only), over the number of keys of its
  // cipher, and less for every step.
  const std::string judged(text.substr(0, kComparedBytes));
  const Reading asItIs = readingOf(judged, settings);
  std::vector<double> evidence;
  std::vector<Reading> readings;
  std::vector<std::string> results;
  for (const Found& f : search.found) {
    results.push_back(runChain(f.steps, judged));
    readings.push_back(readingOf(results.back(), settings));
    evidence.push_back(readings.back().asLanguage - f.keyNats -
                       kStepNats * static_cast<double>(f.steps.size()));
  }
  // Beside them, the text as no language at all, favoured by the prior
  // against a chance fit.
  const std::vector<double> chances =
      fitness::posteriors(evidence, asItIs.asNothing + kNaturalNats, 1.0);
  std::vector<Chain> chains;
  for (std::size_t i = 0; i < search.found.size(); ++i) {
    chains.push_back({std::move(search.found[i].steps),
                      readings[i].language,
                      {},
                      chances[i],
                      evidence[i],
                      fitness::previewOf(results[i])});
  }
  std::stable_sort(chains.begin(), chains.end(), [](const Chain& a, const Chain& b) {
    return a.confidence != b.confidence ? a.confidence > b.confidence : a.score > b.score;
  });
  // At least one chain, however few are asked for.
  chains.resize(std::min(chains.size(), std::max<std::size_t>(settings.top, 1)));
  identification.candidates = std::move(chains);
  const double best = identification.candidates.front().confidence;
  if (best < kSure) {
    identification.note = chances.back() > best ? "nothing here reads as natural language"
                                                : "no chain is clearly ahead";
  } else if (identification.sampled) {
    identification.note = fitness::kSampled;
  }
  return identification;
}

}  // namespace analysis
