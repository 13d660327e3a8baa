#include "analysis/Identify.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numeric>
#include <span>
#include <utility>

#include "Ascii.h"
#include "analysis/CalibrationWeights.h"
#include "analysis/Crack.h"
#include "analysis/Fitness.h"
#include "analysis/Reading.h"
#include "analysis/Words.h"

namespace analysis {

namespace {

using reading::Reading;
using reading::readingOf;

// The chains are compared on what they make of this many bytes at the start
// of the text: no more than the letters that a reading takes in, so that
// every chain's result is read whole, and every chain answers for the same
// bytes.
constexpr std::size_t kComparedBytes = fitness::kMostLettersRanked;
// The ciphers are broken on this much of a text: enough for any key here
// (a Vigenere key of the longest length searched wants some 25 times its
// letters), little enough to stay quick.
constexpr std::size_t kCrackedBytes = 8 << 10;
// The substitution solver, the slowest, gets less: some 1,600 letters,
// which show even the rarer letters.
constexpr std::size_t kSubstitutedBytes = 2 << 10;
// Below this chance of reading as plaintext, a result is broken further by
// the ciphers.
constexpr double kTryCiphers = 0.5;
// A cipher's answers are kept as chains only when the cracker gives their
// key at least this chance, and only its best few: the cracker reads bytes
// more roughly than a reading does (all capitals, say, it takes for rare),
// so its second or third key may read best.
constexpr double kKeptKey = 0.001;
constexpr std::size_t kKeysKept = 3;
// A chain of one step more is taken to be a quarter as likely.
const double kStepNats = std::log(4.0);
// The texts reached by decoding that are read, at most: most keyless
// decodings shrink their text, so deep chains stay few; but a text that
// several decodings accept branches, and those that undo themselves keep
// its size.
constexpr std::size_t kMostNodes = 96;
// The mappings sign for sign in a chain, at most (see Search::decode): a
// puzzle may reverse its Atbash, but every mapping opens the text to all
// the others, and four of them in all their orders would fill the nodes.
constexpr std::size_t kMostMappings = 2;
// Two mappings in a chain are a puzzle's trick, played on a line or a
// paragraph; a text longer than this gets one, as each mapping of it costs
// as much as reading it, and each opens it to all the others.
constexpr std::size_t kLongestMappedTwice = 16 << 10;

// The decodings worth trying on `text`: those of the registry whose written
// form it has, each with the options it takes.
std::vector<Step> decodingsOf(std::string_view text) {
  std::vector<Step> steps;
  for (const methods::Method& method : methods::all()) {
    if (method.accepts == nullptr) continue;
    for (methods::Settings& options : method.accepts(text))
      steps.push_back({&method, methods::undoing(method), std::move(options)});
  }
  return steps;
}

bool usesMethod(const std::vector<Step>& steps, const methods::Method& method) {
  return std::any_of(steps.begin(), steps.end(),
                     [&method](const Step& step) { return step.method == &method; });
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
      return words::vigenereKeyNats(methods::textOf(key, "key"));
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
    decode(text, {}, 0, nodes);
    const auto sure = [this](const Node& node) {
      return node.reading.natural >= fitness::kSure && holdsCrib(node.text, settings.crib);
    };
    if (std::any_of(nodes.begin(), nodes.end(), sure)) return;
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const Node& a, const Node& b) { return a.steps.size() > b.steps.size(); });
    for (const Node& node : nodes) {
      if (settings.stopped()) return;
      if (node.mappings > 0) continue;
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
    // The steps of the chain that map its text sign for sign (see decode).
    std::size_t mappings;
  };

  // Adds `text`, reached by `steps`, and all that decoding it further
  // reaches, to `nodes`, and each as a chain.
  //
  // A decoding that maps its text sign for sign, keeping its length
  // (ROT47, Atbash, a keyboard shift, reversal), takes any text of its
  // form, where the decodings of encodings take only their own. So
  // the mappings are tried on the text given, and further in only on texts
  // that no encoding's decoding takes (an encoding's text is mostly letters
  // too, and every mapping of it would be decoded again). Each comes once
  // in a chain at most, as twice undoes it or leads nowhere, a chain takes
  // kMostMappings of them, and no cipher is broken after one, as a cipher's
  // key would read about as well without it.
  void decode(const std::string& text, const std::vector<Step>& steps, std::size_t mappings,
              std::vector<Node>& nodes) {
    const std::size_t at = nodes.size();
    nodes.push_back({text, steps, readingOf(text, settings.language), mappings});
    found.push_back({steps, 0.0});
    if (steps.size() == kMostDecodings || nodes.size() >= kMostNodes) return;
    const std::size_t most = text.size() > kLongestMappedTwice ? 1 : kMostMappings;
    std::vector<Step> mappingSteps;
    bool encoded = false;
    for (Step& step : decodingsOf(text)) {
      if (methods::mapsSignForSign(*step.method)) {
        if (mappings < most && !usesMethod(steps, *step.method))
          mappingSteps.push_back(std::move(step));
        continue;
      }
      std::string decoded = runChain({step}, text);
      if (decoded.empty() || decoded == text) continue;
      encoded = true;
      decodeFurther(decoded, steps, std::move(step), mappings, nodes);
    }
    // An encoding's text is mapped only where it is the text given and short
    // (puzzles turn a line round, not a file), and a text that reads as
    // language for sure is the answer, not a text to map.
    if (encoded && (!steps.empty() || text.size() > kLongestMappedTwice)) return;
    if (nodes[at].reading.natural >= fitness::kSure) return;
    for (Step& step : mappingSteps) {
      std::string decoded = runChain({step}, text);
      if (decoded == text) continue;
      // An encoding's text mapped is looked at once, not mapped again.
      decodeFurther(decoded, steps, std::move(step), encoded ? most : mappings + 1, nodes);
    }
  }

  void decodeFurther(const std::string& decoded, const std::vector<Step>& steps, Step step,
                     std::size_t mappings, std::vector<Node>& nodes) {
    std::vector<Step> longer = steps;
    longer.push_back(std::move(step));
    decode(decoded, longer, mappings, nodes);
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

  // Breaks `text` with `cipher` and keeps its best keys as chains; true
  // when one of them makes the text read as language for sure.
  bool tryCipher(Cipher cipher, const std::string& text, const std::vector<Step>& steps) {
    CrackSettings crack;
    crack.language = settings.language;
    crack.top = kKeysKept;
    crack.crib = settings.crib;
    crack.stop = settings.stop;
    if (cipher == Cipher::vigenere) crack.minKeyLength = 2;
    const std::unique_ptr<Cracker> cracker = makeCracker(cipher, crack);
    cracker->feed(std::string_view(text).substr(
        0, cipher == Cipher::substitution ? kSubstitutedBytes : kCrackedBytes));
    const Report report = cracker->finish();
    const std::string_view judged = std::string_view(text).substr(0, reading::kJudgedBytes);
    bool sure = false;
    for (const Candidate& candidate : report.candidates) {
      if (candidate.confidence < kKeptKey) break;
      std::vector<Step> longer = steps;
      longer.push_back(stepOf(cipher, candidate.options));
      const std::string result = runChain({longer.back()}, std::string(judged));
      if (result == judged) continue;  // no change
      // The cracker picked the key that reads best of all its keys; reading
      // well is worth less by as much as there were keys to pick from.
      const double keyNats = keySpaceNats(cipher, candidate.options);
      const Reading reading = readingOf(result, settings.language);
      found.push_back({std::move(longer), keyNats});
      sure = sure || (reading::naturalChance(reading.asLanguage - keyNats - reading.asNothing) >=
                          fitness::kSure &&
                      holdsCrib(result, settings.crib));
    }
    return sure;
  }

  const IdentifySettings& settings;
};

// Margins of more nats than this say no more: the calibration reads them
// as this. Running text of a few hundred letters reaches it.
constexpr double kFeatureCap = 100;
// The calibration's cases hold from this many letters to this many: a
// result of fewer or more is read as one of the nearest count, not judged
// by a line drawn past the cases (a line that puts a result of no letters
// at all, digits say, above the shortest flag).
constexpr std::size_t kLeastCalibratedLetters = 8;
constexpr std::size_t kMostCalibratedLetters = 256;

std::size_t countLetters(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return ascii::isLetter(c); }));
}

// The features of `chain` (see Features), its reading `overNull` nats ahead
// of reading as nothing and `overNext` ahead of the next chain, `perLetter`
// nats ahead per letter, of `letters` letters.
Features featuresOf(const Chain& chain, double overNull, double overNext, double perLetter,
                    std::size_t letters) {
  const auto capped = [](double nats) { return std::clamp(nats, -kFeatureCap, kFeatureCap); };
  double byteCipher = 0, letterCipher = 0, keyless = 0;
  for (const Step& step : chain.steps) {
    const std::string_view name = step.method->name;
    const bool allBytes =
        name == "bitwise" || (name == "caesar" && methods::flagOf(step.options, "full"));
    const bool letterKey = name == "caesar" || name == "vigenere" || name == "subst";
    byteCipher += allBytes ? 1 : 0;
    letterCipher += !allBytes && letterKey ? 1 : 0;
    keyless += !allBytes && !letterKey ? 1 : 0;
  }
  return {capped(overNull),
          capped(overNext),
          std::clamp(perLetter, -5.0, 5.0),
          std::log1p(static_cast<double>(
              std::clamp(letters, kLeastCalibratedLetters, kMostCalibratedLetters))),
          byteCipher,
          letterCipher,
          keyless};
}

// The chance that a list's first chain is right, given its features: the
// logistic model that tools/calibrate fits.
double calibratedChance(const Features& features) {
  double z = calibration::kWeights[0];
  for (std::size_t f = 0; f < kFeatureCount; ++f)
    z += calibration::kWeights[f + 1] * features[f];
  return 1 / (1 + std::exp(-z));
}

}  // namespace

Step stepOf(Cipher cipher, const methods::Settings& options) {
  return {&methodOf(cipher), decryptionOf(cipher), options};
}

std::string runChain(const std::vector<Step>& steps, std::string text) {
  methods::OwnCoders coders;
  for (const Step& step : steps)
    text = methods::runExact(*step.method, coders.all(), step.options, step.direction,
                             std::move(text));
  return text;
}

namespace {

// `found`, the chains tried on `text`, judged and ranked into
// `identification`.
void rank(std::string_view text, std::vector<Found> found, const IdentifySettings& settings,
          Identification& identification) {
  // Every chain is judged on what it makes of the same first bytes of the
  // text: the chance of those bytes, were they made by the chain from
  // running text, is that of its result as running text (each step but a
  // cipher's is undone one way only), over the number of keys of its
  // cipher, and less for every step.
  const std::string judged(text.substr(0, kComparedBytes));
  const Reading asItIs = readingOf(judged, settings.language);
  std::vector<double> evidence;
  std::vector<Reading> readings;
  std::vector<std::string> results;
  for (const Found& f : found) {
    results.push_back(runChain(f.steps, judged));
    readings.push_back(readingOf(results.back(), settings.language));
    evidence.push_back(readings.back().asLanguage - f.keyNats -
                       kStepNats * static_cast<double>(f.steps.size()) -
                       (holdsCrib(results.back(), settings.crib) ? 0 : kCribMissNats));
  }
  // Beside them, the text as no language at all, favoured by the prior
  // against a chance fit.
  const std::vector<double> chances = fitness::posteriors(
      evidence,
      asItIs.asNothing + reading::kNaturalNats + cribChanceNats(settings.crib, judged.size()), 1.0);
  // The chains best first; those that make the same of the text are one,
  // the best of them (the simplest, where they tie) with their chances summed
  // and their languages listed.
  std::vector<std::size_t> order(found.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return chances[a] != chances[b] ? chances[a] > chances[b] : evidence[a] > evidence[b];
  });
  std::vector<Chain> chains;
  std::vector<const std::string*> made;
  for (const std::size_t i : order) {
    const auto same = std::find_if(
        made.begin(), made.end(), [&](const std::string* result) { return *result == results[i]; });
    if (same == made.end()) {
      chains.push_back({std::move(found[i].steps),
                        readings[i].language,
                        {},
                        chances[i],
                        evidence[i],
                        fitness::previewOf(results[i])});
      made.push_back(&results[i]);
      continue;
    }
    Chain& kept = chains[static_cast<std::size_t>(same - made.begin())];
    kept.confidence += chances[i];
    const Language language = readings[i].language;
    if (language != kept.language && std::find(kept.alsoLanguages.begin(), kept.alsoLanguages.end(),
                                               language) == kept.alsoLanguages.end()) {
      kept.alsoLanguages.push_back(language);
    }
  }
  // The first chain's chance as the calibration puts it, from how its
  // reading stands against the others'.
  const double nullScore =
      asItIs.asNothing + reading::kNaturalNats + cribChanceNats(settings.crib, judged.size());
  const std::size_t first = order.front();
  const Reading& read = readings[first];
  identification.features =
      featuresOf(chains.front(), evidence[first] - nullScore,
                 chains.size() > 1 ? chains.front().score - chains[1].score : kFeatureCap,
                 (read.asLanguage - read.asNothing) /
                     static_cast<double>(std::max<std::size_t>(countLetters(results[first]), 1)),
                 countLetters(results[first]));
  // The others move with it, each keeping its odds against the first, so
  // that a first chain in doubt puts its doubt on none of them rather than
  // on the next; the list still sums to one at most.
  const double calibrated = calibratedChance(identification.features);
  const double ratio = chains.front().confidence > 0 ? calibrated / chains.front().confidence : 0;
  double total = 0;
  for (Chain& chain : chains) {
    chain.confidence *= ratio;
    total += chain.confidence;
  }
  for (Chain& chain : chains)
    chain.confidence /= std::max(total, 1.0);
  // At least one chain, however few are asked for.
  chains.resize(std::min(chains.size(), std::max<std::size_t>(settings.top, 1)));
  identification.candidates = std::move(chains);
  const double best = identification.candidates.front().confidence;
  if (best < fitness::kSure) {
    identification.note = chances.back() > best ? "nothing here reads as natural language"
                                                : "no chain is clearly ahead";
  } else if (identification.sampled) {
    identification.note = fitness::kSampled;
  }
}

}  // namespace

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
  rank(text, std::move(search.found), settings, identification);
  return identification;
}

Identification rankChains(std::string_view text, std::vector<std::vector<Step>> tried,
                          const IdentifySettings& settings) {
  Identification identification;
  identification.sampled = text.size() > kIdentifySample;
  if (text.empty()) {
    identification.note = fitness::kNoInput;
    return identification;
  }
  if (tried.empty()) return identification;
  std::vector<Found> found;
  for (std::vector<Step>& steps : tried)
    found.push_back({std::move(steps), 0.0});
  rank(text, std::move(found), settings, identification);
  if (settings.stopped()) {
    identification.candidates.clear();
    identification.note = kCancelled;
  }
  return identification;
}

}  // namespace analysis
