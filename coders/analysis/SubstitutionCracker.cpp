// The substitution of letters: a key (which plain letter each cipher letter
// stands for) found by hill climbing on quadgram fitness, from the letters'
// frequency order and from shaken copies of the best key so far.

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>
#include <span>
#include <string>

#include "Ascii.h"
#include "analysis/Crackers.h"
#include "analysis/Fitness.h"
#include "analysis/Parallel.h"
#include "char/CharCoder.h"

namespace analysis {

namespace {

// The text analysed: the first MiB.
constexpr std::size_t kSampleBytes = std::size_t{1} << 20;
// The letters climbed on: enough for any key, few enough to climb fast.
constexpr std::size_t kClimbLetters = 3000;
// The quadgram lookups the search may spend on a text of kBudgetLetters
// letters, about 0.25 s on one thread; a shorter text, which needs more climbs to
// be sure of its key, may spend up to kShortTextBudget times as many.
constexpr std::size_t kLookupBudget = std::size_t{48} << 20;
constexpr std::size_t kBudgetLetters = 300;
constexpr double kShortTextBudget = 2.0;
// A longer text spends less, down to this share at 500 letters and more:
// almost every climb on it reaches the key, and on 500 and 1,000 letters
// the search is as often right (99-100 %) with this share as with all.
constexpr double kLongTextBudget = 0.6;
// The most climbs of one language in one round of the search: more than a
// text of a few hundred letters uses within its budget. A text of one or
// two letters has no quadgram for a swap to touch, so its climbs cost no
// lookups at all, and only this ends them.
constexpr int kMostClimbs = 500;
// The most letter pairs swapped to shake the best key for a new climb.
constexpr int kMostShakes = 6;
// Two keys whose decryptions share this share of letters count as one
// answer: a text seldom shows its rare letters.
constexpr double kSameAnswer = 0.95;
// Scales quadgram log-likelihoods into chances; quadgrams overlap, so the
// sum counts every letter about four times.
constexpr double kTemperature = 4.0;
// The letter count at which a climb finds the right key half the time; the
// chance grows by kLengthSlope (in logits) per letter.
constexpr double kHalfSureLetters = 80;
constexpr double kLengthSlope = 0.05;
// The quadgram fitness per quadgram that a search in each language reaches
// on 100-letter texts of the other languages (bench/crack_accuracy's corpus,
// in the order of Language). A language whose quadgrams spread more evenly
// reaches more on text of any language, so languages are compared by how
// far a text rises above this level.
constexpr std::array<double, kLanguageCount> kForeignLevel = {
    -11.059, -11.214, -11.662, -11.040, -11.598, -11.280, -11.564, -11.128,
    -11.442, -11.395, -11.527, -11.384, -10.843, -11.631, -11.458, -11.715};

// What scoring a swap costs besides its lookups, counted as lookups, so that
// a text of a few letters, whose swaps touch almost nothing, still ends its
// search in time.
constexpr std::size_t kSwapCost = 8;

// Fixed seed: the same text always gets the same answer.
constexpr unsigned kSeed = 20261208;

using Key = std::array<std::uint8_t, 26>;  // cipher letter -> plain letter

struct Optimum {
  Key key;
  double fitness;
  Language language;
};

// Hill climbing over keys for one text in one language.
class Climber {
 public:
  Climber(std::span<const std::uint8_t> cipher, Language language)
      : language(language), model(&modelOf(language)) {
    // The text as quadgrams of cipher letters, each with how often it
    // occurs: a key is scored once per distinct quadgram.
    std::vector<std::uint32_t> grams;
    for (std::size_t i = 3; i < cipher.size(); ++i)
      grams.push_back(((cipher[i - 3] * 26u + cipher[i - 2]) * 26u + cipher[i - 1]) * 26u +
                      cipher[i]);
    std::sort(grams.begin(), grams.end());
    for (std::size_t i = 0; i < grams.size();) {
      std::size_t j = i;
      while (j < grams.size() && grams[j] == grams[i])
        ++j;
      const std::uint32_t g = grams[i];
      const std::array<std::uint8_t, 4> letters = {
          static_cast<std::uint8_t>(g / 17576), static_cast<std::uint8_t>(g / 676 % 26),
          static_cast<std::uint8_t>(g / 26 % 26), static_cast<std::uint8_t>(g % 26)};
      for (std::size_t k = 0; k < 4; ++k) {
        // Each quadgram listed once under each letter it holds.
        const bool listed =
            std::find(letters.begin(), letters.begin() + static_cast<std::ptrdiff_t>(k),
                      letters[k]) != letters.begin() + static_cast<std::ptrdiff_t>(k);
        if (!listed) holding[letters[k]].push_back(static_cast<std::uint32_t>(quads.size()));
      }
      quads.push_back({letters, static_cast<float>(j - i)});
      i = j;
    }
    for (const std::uint8_t c : cipher)
      ++seen[c];
    level = static_cast<double>(grams.size()) * kForeignLevel[static_cast<std::size_t>(language)];
  }

  // Swaps pairs of plain letters while any swap improves the fitness; the
  // optimum's fitness is given above the level of foreign text. A swap is
  // scored on the quadgrams that hold one of its two letters only.
  Optimum climb(Key key) {
    double best = 0;
    values.resize(quads.size());
    for (std::size_t q = 0; q < quads.size(); ++q) {
      values[q] = value(quads[q], key);
      best += values[q];
    }
    for (bool improved = true; improved;) {
      improved = false;
      for (std::uint8_t a = 0; a < 26; ++a) {
        for (std::uint8_t b = a + 1; b < 26; ++b) {
          if (seen[a] == 0 && seen[b] == 0) continue;
          std::swap(key[a], key[b]);
          double change = 0;
          touched.clear();
          for (const std::uint32_t q : holding[a])
            touched.push_back(q);
          for (const std::uint32_t q : holding[b])
            if (!holds(quads[q], a)) touched.push_back(q);
          for (std::size_t t = 0; t < touched.size(); ++t) {
            fresh[t] = value(quads[touched[t]], key);
            change += fresh[t] - values[touched[t]];
          }
          lookups += touched.size() + kSwapCost;
          if (change > 0) {
            best += change;
            improved = true;
            for (std::size_t t = 0; t < touched.size(); ++t)
              values[touched[t]] = fresh[t];
          } else {
            std::swap(key[a], key[b]);
          }
        }
      }
    }
    return {key, best - level, language};
  }

  // The key that maps the cipher letters in order of frequency onto the
  // language's letters in order of frequency.
  Key frequencyOrder() const {
    std::array<std::uint8_t, 26> cipherOrder{}, plainOrder{};
    std::iota(cipherOrder.begin(), cipherOrder.end(), 0);
    std::iota(plainOrder.begin(), plainOrder.end(), 0);
    std::stable_sort(cipherOrder.begin(), cipherOrder.end(),
                     [&](std::uint8_t a, std::uint8_t b) { return seen[a] > seen[b]; });
    const auto& f = model->letterFrequencies();
    std::stable_sort(plainOrder.begin(), plainOrder.end(),
                     [&](std::uint8_t a, std::uint8_t b) { return f[a] > f[b]; });
    Key key{};
    for (std::size_t r = 0; r < 26; ++r)
      key[cipherOrder[r]] = plainOrder[r];
    return key;
  }

  std::size_t lookups = 0;

 private:
  struct Gram {
    std::array<std::uint8_t, 4> letters;  // cipher letters
    float times;                          // how often the text holds it
  };
  static bool holds(const Gram& g, std::uint8_t letter) {
    return g.letters[0] == letter || g.letters[1] == letter || g.letters[2] == letter ||
           g.letters[3] == letter;
  }
  // The fitness that `g` adds under `key`.
  float value(const Gram& g, const Key& key) const {
    const auto& l = g.letters;
    return g.times *
           model->quadgram(((key[l[0]] * 26u + key[l[1]]) * 26u + key[l[2]]) * 26u + key[l[3]]);
  }
  Language language;
  const LanguageModel* model;
  double level = 0;  // the fitness of foreign text, for comparing languages
  std::vector<Gram> quads;
  std::array<std::vector<std::uint32_t>, 26> holding;  // the quadgrams holding each letter
  std::vector<float> values;                           // each quadgram's fitness now
  std::vector<std::uint32_t> touched;                  // the quadgrams a swap changes
  std::array<float, 2 * kClimbLetters> fresh{};        // and their fitness after it
  std::array<std::size_t, 26> seen{};
};

// `key` with `swaps` random pairs of plain letters exchanged.
Key shaken(Key key, int swaps, std::mt19937& random) {
  std::uniform_int_distribution<int> letter(0, 25);
  for (int i = 0; i < swaps; ++i)
    std::swap(key[letter(random)], key[letter(random)]);
  return key;
}

// The share of `letters` that `a` and `b` decrypt alike.
double agreement(const Key& a, const Key& b, std::span<const double, 26> letters) {
  double same = 0, all = 0;
  for (std::size_t c = 0; c < 26; ++c) {
    all += letters[c];
    same += a[c] == b[c] ? letters[c] : 0;
  }
  return all == 0 ? 1 : same / all;
}

// A language in the running: its climber, the best key it found so far,
// and the optima it reached in the round under way.
struct Contender {
  Climber climber;
  Optimum best;
  bool started = false;
  // Each language shakes keys by its own draws, so that the answer does not
  // hang on which language a thread took first.
  std::mt19937 random;
  std::vector<Optimum> found;
};

// ln p of `letters` as letters in no order, drawn with frequencies of their
// own that are not known, every set of frequencies as likely as any other.
double noOrderLogLikelihood(std::span<const std::uint8_t> letters) {
  std::array<double, 26> counts{};
  for (const std::uint8_t letter : letters)
    ++counts[letter];
  return fitness::unknownFrequencyNats(counts, 26);
}

// ln of the number of keys that `letters` tell apart: keys that differ only
// in the letters the text lacks decrypt it alike.
double keyChoices(std::span<const std::uint8_t> letters) {
  std::array<bool, 26> seen{};
  for (const std::uint8_t letter : letters)
    seen[letter] = true;
  const auto kinds = static_cast<double>(std::count(seen.begin(), seen.end(), true));
  return std::lgamma(27.0) - std::lgamma(27.0 - kinds);
}

// The chance that no key made `letters`: the letters in no order against
// their decryption by `key` read as each of `languages`, which pays for
// choosing its key among all and its language among those. The decryption
// is read in every language, not in the one its key was found in alone: a
// key can be found right in a language whose letters its text reads badly
// in.
double noKeyChance(std::span<const std::uint8_t> letters, const Key& key,
                   std::span<const Language> languages) {
  std::vector<std::uint8_t> plain(letters.begin(), letters.end());
  for (std::uint8_t& letter : plain)
    letter = key[letter];
  std::vector<double> read;
  for (const Language language : languages)
    read.push_back(fitness::chainLogLikelihood(fitness::chainOf(language), plain));
  const double someKey = fitness::logSumExp(read) -
                         std::log(static_cast<double>(languages.size())) - keyChoices(letters);
  return 1 / (1 + std::exp(someKey - noOrderLogLikelihood(letters)));
}

class SubstitutionCracker : public Cracker {
 public:
  explicit SubstitutionCracker(const CrackSettings& settings) : settings(settings) {}

  void feed(std::string_view piece) override {
    total += piece.size();
    fitness::keepUpTo(sample, piece, kSampleBytes);
  }

  Report finish() override;

 private:
  // Climbs from the frequency order (the first time), then from shaken
  // copies of the best key and from shaken frequency orders, until `budget`
  // lookups are spent; adds every optimum reached to the contender's `found`.
  void search(Contender& contender, std::size_t budget) const;

  CrackSettings settings;
  std::size_t total = 0;
  std::string sample;
};

void SubstitutionCracker::search(Contender& contender, std::size_t budget) const {
  Climber& climber = contender.climber;
  const std::size_t start = climber.lookups;
  if (!contender.started) {
    contender.best = climber.climb(climber.frequencyOrder());
    contender.started = true;
    contender.found.push_back(contender.best);
  }
  std::mt19937& random = contender.random;
  std::uniform_int_distribution<int> shakes(2, kMostShakes);
  for (int climbs = 1;
       climber.lookups - start < budget && climbs <= kMostClimbs && !settings.stopped(); ++climbs) {
    // Every third climb starts afresh from the frequency order, shaken.
    const Key from = climbs % 3 == 0 ? shaken(climber.frequencyOrder(), 3 * kMostShakes, random)
                                     : shaken(contender.best.key, shakes(random), random);
    const Optimum reached = climber.climb(from);
    contender.found.push_back(reached);
    if (reached.fitness > contender.best.fitness) contender.best = reached;
  }
}

Report SubstitutionCracker::finish() {
  const std::vector<Language> languages = fitness::languagesFor(settings);
  Report report{languages.front(), {}, {}, total > kSampleBytes, {}};
  std::vector<std::uint8_t> letters;
  std::array<double, 26> counts{};
  for (const char c : sample) {
    const std::uint8_t letter = ascii::letterIndex(c);
    if (letter >= 26) continue;
    ++counts[letter];
    if (letters.size() < kClimbLetters) letters.push_back(letter);
  }
  report.evidence.inputLetters = fitness::frequencies(counts);
  if (total == 0 || letters.empty()) {
    report.note = total == 0 ? fitness::kNoInput : fitness::kNoLetters;
    return report;
  }
  if (report.sampled) report.note = fitness::kSampled;

  // Successive halving over the languages: each round shares its part of
  // the budget among the languages still in the running, and the better
  // half of them goes on, until one is left.
  const double longer =
      std::clamp(static_cast<double>(kBudgetLetters) / static_cast<double>(letters.size()),
                 kLongTextBudget, kShortTextBudget);
  const auto budget = static_cast<std::size_t>(static_cast<double>(kLookupBudget) * longer);
  std::vector<Contender> alive;
  for (const Language language : languages)
    alive.push_back({Climber(letters, language),
                     {},
                     false,
                     std::mt19937(kSeed + static_cast<unsigned>(language)),
                     {}});
  std::size_t rounds = 1;
  while ((std::size_t{1} << (rounds - 1)) < alive.size())
    ++rounds;
  std::vector<Optimum> found;
  for (std::size_t round = 0; round < rounds && !settings.stopped(); ++round) {
    const std::size_t each = budget / rounds / alive.size();
    forEachAtOnce(alive.size(), [this, &alive, each](std::size_t c) { search(alive[c], each); });
    for (Contender& contender : alive) {
      found.insert(found.end(), contender.found.begin(), contender.found.end());
      contender.found.clear();
    }
    std::stable_sort(alive.begin(), alive.end(), [](const Contender& a, const Contender& b) {
      return a.best.fitness > b.best.fitness;
    });
    alive.erase(alive.begin() + static_cast<std::ptrdiff_t>((alive.size() + 1) / 2), alive.end());
  }

  if (settings.stopped()) {
    report.note = kCancelled;
    return report;
  }

  // The distinct optima, best first; the chance of each is that of all the
  // optima that give about the same decryption.
  std::stable_sort(found.begin(), found.end(),
                   [](const Optimum& a, const Optimum& b) { return a.fitness > b.fitness; });
  std::vector<Optimum> distinct;
  for (const Optimum& o : found) {
    const bool known = std::any_of(distinct.begin(), distinct.end(), [&](const Optimum& d) {
      return d.key == o.key && d.language == o.language;
    });
    if (!known) distinct.push_back(o);
  }
  std::vector<double> scores;
  for (const Optimum& o : distinct)
    scores.push_back(o.fitness);
  const std::vector<double> chances = fitness::posteriors(scores, -INFINITY, kTemperature);
  const double found50 =
      1 / (1 + std::exp(-kLengthSlope * (static_cast<double>(letters.size()) - kHalfSureLetters)));
  const double noKey = noKeyChance(letters, distinct.front().key, languages);
  const std::string from = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (std::size_t r = 0; r < std::min(std::max<std::size_t>(settings.top, 1), distinct.size());
       ++r) {
    double chance = 0;
    for (std::size_t o = 0; o < distinct.size(); ++o)
      if (agreement(distinct[r].key, distinct[o].key, counts) >= kSameAnswer) chance += chances[o];
    std::string to(52, ' ');
    for (std::size_t c = 0; c < 26; ++c) {
      to[c] = static_cast<char>('A' + distinct[r].key[c]);
      to[26 + c] = static_cast<char>('a' + distinct[r].key[c]);
    }
    const std::string decrypted =
        CharCoder().substitute(sample.substr(0, fitness::kHeadBytes), from, to);
    report.candidates.push_back({{{"from", from}, {"to", to}},
                                 distinct[r].language,
                                 {},
                                 std::min(1.0, chance) * found50 * (1 - noKey),
                                 distinct[r].fitness,
                                 fitness::previewOf(decrypted)});
  }
  report.language = distinct.front().language;
  std::array<double, 26> output{};
  for (std::size_t c = 0; c < 26; ++c)
    output[distinct.front().key[c]] += counts[c];
  report.evidence.outputLetters = fitness::frequencies(output);
  // Below kHalfSureLetters the search misses the key more often than it
  // finds it, and running text has too few letters to outweigh the choice
  // of key: "no key" winning there says the text is short, not that it is
  // no text.
  fitness::noteDoubt(report, letters.size(),
                     static_cast<double>(letters.size()) < kHalfSureLetters ? 0 : noKey);
  return report;
}

}  // namespace

std::unique_ptr<Cracker> makeSubstitutionCracker(const CrackSettings& settings) {
  return std::make_unique<SubstitutionCracker>(settings);
}

}  // namespace analysis
