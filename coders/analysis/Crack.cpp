#include "analysis/Crack.h"

#include <algorithm>
#include <cmath>

#include "Ascii.h"
#include "analysis/Crackers.h"
#include "analysis/Fitness.h"
#include "analysis/Reading.h"

namespace analysis {

namespace {

std::unique_ptr<Cracker> makeFamilyCracker(Cipher cipher, const CrackSettings& settings) {
  switch (cipher) {
    case Cipher::vigenere:
      return makeVigenereCracker(settings);
    case Cipher::substitution:
      return makeSubstitutionCracker(settings);
    default:
      return makeByteMapCracker(cipher, settings);
  }
}

// The input bytes in which a crib is looked for, and on which two keys that
// decrypt them alike are taken for one.
constexpr std::size_t kHeadBytes = 16 << 10;
// With a crib, this many keys are ranked before the crib picks among them:
// every key of Caesar and XOR.
constexpr std::size_t kCribRanked = 256;
// The chance, in nats, that a key which is wrong makes a wrapper
// "name{...}" of the text: it must put a '{' after the name and a '}' at
// the end, two bytes of some 95.
const double kWrapperChanceNats = 2 * std::log(1.0 / 95);
// A wrapper is a line, a flag or a key: a text longer than this is taken
// for none, and its keys are not weighed by one.
constexpr std::size_t kLongestWrapper = 1 << 10;

// Whether the keys of `cipher` move braces, so that a wrapper in a result
// tells its key: a shift of all bytes and XOR, where a shift of letters
// leaves every brace where it was.
bool movesBraces(Cipher cipher) {
  return cipher == Cipher::bitwiseXor || cipher == Cipher::caesarFull;
}

// A cracker whose report lists each decryption once (keys that differ
// only in letters the text lacks are one), and ranks the keys whose
// decryption holds the crib first.
class RankingCracker final : public Cracker {
 public:
  RankingCracker(Cipher cipher, const CrackSettings& settings)
      : cipher(cipher),
        settings(settings),
        cracker(makeFamilyCracker(cipher, widened(cipher, settings))) {}

  void feed(std::string_view piece) override {
    fitness::keepUpTo(head, piece, kHeadBytes);
    cracker->feed(piece);
  }

  Report finish() override {
    Report report = cracker->finish();
    if (!settings.crib.empty()) {
      weighBy(
          report, [this](std::string_view result) { return holdsCrib(result, settings.crib); },
          cribChanceNats(settings.crib, head.size()));
    } else {
      if (movesBraces(cipher) && head.size() <= kLongestWrapper) weighByWrapper(report);
      // Without a crib, the keys beyond those asked for were ranked only
      // for a wrapper to pick among.
      report.candidates.resize(
          std::min(report.candidates.size(), std::max<std::size_t>(settings.top, 1)));
    }
    mergeSameResults(report);
    report.candidates.resize(
        std::min(report.candidates.size(), std::max<std::size_t>(settings.top, 1)));
    return report;
  }

 private:
  static CrackSettings widened(Cipher cipher, CrackSettings settings) {
    if (!settings.crib.empty() || movesBraces(cipher))
      settings.top = std::max(settings.top, kCribRanked);
    return settings;
  }

  // A result that is a wrapper "name{...}" holds its own crib: where some
  // key makes one, the keys that do not are weighed as keys that miss a
  // crib.
  void weighByWrapper(Report& report) const {
    const auto wrapped = [this](const Candidate& candidate) {
      return reading::isWrapped(decrypt(cipher, candidate.options, head));
    };
    if (std::none_of(report.candidates.begin(), report.candidates.end(), wrapped)) return;
    weighBy(report, reading::isWrapped, kWrapperChanceNats);
  }

  // Takes the chance of the keys whose result misses what `holds` looks for
  // down by kCribMissNats, the rest (and the chance that no key is right,
  // where a wrong text holds it by a chance of `chanceNats`) up to make up
  // for it.
  template <typename Holds>
  void weighBy(Report& report, Holds holds, double chanceNats) const {
    double listed = 0, weighed = 0;
    for (Candidate& candidate : report.candidates) {
      listed += candidate.confidence;
      if (!holds(decrypt(cipher, candidate.options, head)))
        candidate.confidence *= std::exp(-kCribMissNats);
      weighed += candidate.confidence;
    }
    const double none = std::max(0.0, 1 - listed) * std::exp(chanceNats);
    for (Candidate& candidate : report.candidates)
      candidate.confidence /= weighed + none;
    std::stable_sort(
        report.candidates.begin(), report.candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.confidence > b.confidence; });
    if (report.candidates.empty()) return;
    report.language = report.candidates.front().language;
    // The crib may have settled what the letters alone left in doubt.
    const bool doubt = report.note == fitness::kNotText || report.note == fitness::kTooShort ||
                       report.note == fitness::kNotAhead;
    if (doubt && report.candidates.front().confidence >= fitness::kSure) report.note.clear();
  }

  // Makes the candidates that decrypt the text alike into one, the first
  // (the best) taking the others' languages and chances, and scales the
  // chances down where they sum to more than one, so that a list never
  // says more than certainty.
  void mergeSameResults(Report& report) const {
    std::vector<Candidate> merged;
    std::vector<std::string> results;
    for (Candidate& candidate : report.candidates) {
      std::string result = decrypt(cipher, candidate.options, head);
      const auto same = std::find(results.begin(), results.end(), result);
      if (same == results.end()) {
        merged.push_back(std::move(candidate));
        results.push_back(std::move(result));
        continue;
      }
      Candidate& kept = merged[static_cast<std::size_t>(same - results.begin())];
      kept.confidence += candidate.confidence;
      candidate.alsoLanguages.insert(candidate.alsoLanguages.begin(), candidate.language);
      for (const Language language : candidate.alsoLanguages) {
        const auto& listed = kept.alsoLanguages;
        if (language != kept.language &&
            std::find(listed.begin(), listed.end(), language) == listed.end()) {
          kept.alsoLanguages.push_back(language);
        }
      }
    }
    double total = 0;
    for (const Candidate& candidate : merged)
      total += candidate.confidence;
    if (total > 1) {
      for (Candidate& candidate : merged)
        candidate.confidence /= total;
    }
    report.candidates = std::move(merged);
  }

  Cipher cipher;
  CrackSettings settings;
  std::unique_ptr<Cracker> cracker;
  std::string head;
};

}  // namespace

std::unique_ptr<Cracker> makeCracker(Cipher cipher, const CrackSettings& settings) {
  return std::make_unique<RankingCracker>(cipher, settings);
}

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

Direction decryptionOf(Cipher cipher) {
  return cipher == Cipher::substitution ? Direction::encode : methods::undoing(methodOf(cipher));
}

std::string decrypt(Cipher cipher, const methods::Settings& options, std::string text) {
  methods::OwnCoders coders;
  return methodOf(cipher).run(coders.all(), options, decryptionOf(cipher), std::move(text));
}

double cribChanceNats(std::string_view crib, std::size_t length) {
  if (crib.empty()) return 0;
  // The letters, counted without their case, and the other printable bytes.
  const double letterNats = std::log(1.0 / 26), otherNats = std::log(1.0 / 95);
  double nats = 0;
  for (const char c : crib)
    nats += ascii::isLetter(c) ? letterNats : otherNats;
  const double places = length >= crib.size() ? static_cast<double>(length - crib.size() + 1) : 0;
  return std::min(0.0, std::log(places) + nats);
}

bool holdsCrib(std::string_view text, std::string_view crib) {
  const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return std::search(text.begin(), text.end(), crib.begin(), crib.end(),
                     [&](char a, char b) { return fold(a) == fold(b); }) != text.end();
}

}  // namespace analysis
