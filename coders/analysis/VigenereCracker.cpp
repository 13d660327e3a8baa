// Vigenere: the key length from how well each period's columns fit a
// language's letter frequencies, each period's key weighed against its
// length, then each key letter refined on the chain of letters.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <thread>

#include "Ascii.h"
#include "analysis/Crackers.h"
#include "analysis/Fitness.h"
#include "analysis/PairSearch.h"
#include "analysis/Parallel.h"
#include "analysis/PeriodCounts.h"
#include "analysis/Words.h"
#include "classic/ClassicCoder.h"

namespace analysis {

namespace {

// Key lengths searched when none is given.
constexpr std::size_t kDefaultMaxKeyLength = 32;
// Longer keys are not searched: the counts grow with the key length.
constexpr std::size_t kMostKeyLength = 100;
// A period needs this many letters per column to be tried at all.
constexpr std::size_t kLeastLettersPerColumn = 2;
// The letters read in sequence to refine and score keys; past them the
// letters count through their columns' frequencies alone.
constexpr std::size_t kSampleLetters = 2048;
// The letters read as pairs to rank the periods; a longer text ranks on
// frequencies the kPairPeriods that it ranks on pairs.
constexpr std::size_t kPairLetters = 600;
constexpr std::size_t kPairPeriods = 8;
// The languages whose pairs are read: those the frequencies suit best.
constexpr std::size_t kPairLanguages = 3;
// The periods that rank first on pairs, refined on the chain.
constexpr std::size_t kRefinedPeriods = 5;
// Rounds of refining every key letter in turn, at most (it settles sooner).
constexpr int kRefineRounds = 6;
// A text of at most this many letters also tries every listed word as its
// key: too few letters for the key's letters to be found one by one, and
// few enough to read for every word.
constexpr std::size_t kWordKeyLetters = 300;
// The best word keys that are scored as fully as the keys found by search.
constexpr std::size_t kWordKeysKept = 4;
// The keys that a crib gives for each period which are scored as fully as
// the keys found by search: the best few of every period, as the columns a
// crib leaves open, fitted to a short text, flatter a long key.
constexpr std::size_t kCribKeysKept = 6;
// A column that a crib leaves open is read from this many letters at least:
// from fewer, its best shift reads better than the right one as often as not.
constexpr std::size_t kOpenColumnLetters = 5;
// Shorter words make poor keys, and match too much by chance.
constexpr std::size_t kShortestWordKey = 3;
// Scales log-likelihoods into chances (see ByteMapCracker).
constexpr double kTemperature = 1.6;

using fitness::LetterChain;
using Key = std::vector<std::uint8_t>;
using Column = PeriodCounts::Column;

const double kLogAlphabet = std::log(26.0);

// ln p of a column's letters moved back by `shift`, taken alone.
double columnLogLikelihood(const Column& column, std::size_t shift, const LetterChain& chain) {
  double sum = 0;
  for (std::size_t x = 0; x < 26; ++x) {
    // A letter that the column lacks adds nothing: the columns of a short
    // text lack most.
    if (column[x] == 0) continue;
    sum += column[x] * chain.alone(static_cast<std::uint8_t>((x + 26 - shift) % 26));
  }
  return sum;
}

// The mean index of coincidence of the columns: the chance that two letters
// drawn from one column are the same.
double coincidence(const std::vector<Column>& columns) {
  double sum = 0;
  for (const Column& column : columns) {
    double n = 0, pairs = 0;
    for (const double x : column) {
      n += x;
      pairs += x * (x - 1);
    }
    sum += n > 1 ? pairs / (n * (n - 1)) : 0;
  }
  return sum / static_cast<double>(columns.size());
}

// The key's shortest period: "ABAB" is "AB".
Key primitive(const Key& key) {
  for (std::size_t p = 1; p < key.size(); ++p) {
    if (key.size() % p != 0) continue;
    bool repeats = true;
    for (std::size_t i = p; i < key.size() && repeats; ++i)
      repeats = key[i] == key[i - p];
    if (repeats) return Key(key.begin(), key.begin() + static_cast<std::ptrdiff_t>(p));
  }
  return key;
}

std::string keyText(const Key& key) {
  std::string text;
  for (const std::uint8_t k : key)
    text += static_cast<char>('A' + k);
  return text;
}

// The keys offered that fit best, at most `most`, each with its fit and the
// index of the language it was read in; a key offered again is kept once.
class BestKeys {
 public:
  explicit BestKeys(std::size_t most) : most(most) {}

  // Whether a key of fit `fit` would be kept.
  bool wanted(double fit) const { return fit > floor(); }
  // The fit that a key must beat to be kept.
  double floor() const { return kept.size() < most ? -INFINITY : kept.back().fit; }

  // Keeps `key` if it is among the best; a key kept already keeps the
  // better of its fits, with its language.
  void offer(Key key, double fit, std::size_t language) {
    if (!wanted(fit)) return;
    const auto same =
        std::find_if(kept.begin(), kept.end(), [&](const Kept& k) { return k.key == key; });
    if (same != kept.end()) {
      if (fit <= same->fit) return;
      *same = {std::move(key), fit, language};
    } else {
      if (kept.size() == most) kept.pop_back();
      kept.push_back({std::move(key), fit, language});
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Kept& a, const Kept& b) { return a.fit > b.fit; });
  }

  // Offers every key kept to `other`.
  void offerAllTo(BestKeys& other) {
    for (Kept& k : kept)
      other.offer(std::move(k.key), k.fit, k.language);
    kept.clear();
  }

  // Moves the keys, best first, with their languages, to the end of `out`.
  void moveTo(std::vector<std::pair<Key, std::size_t>>& out) {
    for (Kept& k : kept)
      out.emplace_back(std::move(k.key), k.language);
    kept.clear();
  }

 private:
  struct Kept {
    Key key;
    double fit;
    std::size_t language;
  };
  std::size_t most;
  std::vector<Kept> kept;
};

// The key letters of one period refined on the chain, each column in turn
// given the shift that makes the whole sample likeliest, until none moves.
class Refiner {
 public:
  Refiner(std::span<const std::uint8_t> cipher, std::size_t period, const LetterChain& chain)
      : cipher(cipher), period(period), chain(chain), plain(cipher.size()) {}

  // Refines `key` in place; afterwards scores[c][s] is the sample's
  // log-likelihood, up to a constant per column, with column c at shift s.
  void refine(Key& key) {
    scores.assign(period, std::array<double, 26>{});
    for (std::size_t j = 0; j < cipher.size(); ++j)
      plain[j] = decrypt(j, key[j % period]);
    for (int round = 0; round < kRefineRounds; ++round) {
      bool moved = false;
      for (std::size_t c = 0; c < period; ++c) {
        const std::vector<std::size_t> touched = touchedBy(c);
        for (std::uint8_t s = 0; s < 26; ++s) {
          setColumn(c, s);
          double sum = 0;
          for (const std::size_t j : touched)
            sum += term(j);
          scores[c][s] = sum;
        }
        const auto best = static_cast<std::uint8_t>(
            std::max_element(scores[c].begin(), scores[c].end()) - scores[c].begin());
        moved = moved || best != key[c];
        key[c] = best;
        setColumn(c, best);
      }
      if (!moved) break;
    }
  }

  std::vector<std::array<double, 26>> scores;

 private:
  std::uint8_t decrypt(std::size_t j, std::uint8_t shift) const {
    return static_cast<std::uint8_t>((cipher[j] + 26 - shift) % 26);
  }
  void setColumn(std::size_t c, std::uint8_t shift) {
    for (std::size_t j = c; j < cipher.size(); j += period)
      plain[j] = decrypt(j, shift);
  }
  // The places whose chain term reads a letter of column c: the letter
  // itself or one of the three before it.
  std::vector<std::size_t> touchedBy(std::size_t c) const {
    std::vector<std::size_t> touched;
    for (std::size_t j = 0; j < cipher.size(); ++j)
      if (period <= 3 || (j + period - c) % period <= 3) touched.push_back(j);
    return touched;
  }
  float term(std::size_t j) const {
    const std::size_t known = std::min<std::size_t>(j, 3);
    std::uint32_t context = 0;
    for (std::size_t i = j - known; i < j; ++i)
      context = context * 26 + plain[i];
    return chain.next(context, static_cast<unsigned>(known), plain[j]);
  }

  std::span<const std::uint8_t> cipher;
  std::size_t period;
  const LetterChain& chain;
  std::vector<std::uint8_t> plain;
};

class VigenereCracker : public Cracker {
 public:
  explicit VigenereCracker(const CrackSettings& settings)
      : settings(settings),
        most(
            std::min(kMostKeyLength, settings.maxKeyLength == 0
                                         ? std::max(kDefaultMaxKeyLength, settings.minKeyLength)
                                         : std::max(settings.maxKeyLength, settings.minKeyLength))),
        least(std::clamp<std::size_t>(settings.minKeyLength, 1, most)),
        counts(most) {}

  void feed(std::string_view piece) override {
    total += piece.size();
    fitness::keepUpTo(head, piece, fitness::kHeadBytes);
    for (const char c : piece) {
      const std::uint8_t letter = ascii::letterIndex(c);
      if (letter >= 26) continue;
      counts.add(letter);
      if (sample.size() < kSampleLetters) sample.push_back(letter);
    }
  }

  Report finish() override;

 private:
  struct Tried {
    Key key;
    std::size_t period;
    double score;
    Language language;
  };

  // The key's log-likelihood in every language: the sample through the
  // chain, the letters past it through their columns alone.
  std::vector<double> keyLogLikelihoods(const Key& key, const std::vector<Language>& languages,
                                        const std::vector<Column>& columns) const;
  // The listed words, of every language tried, that read the sample best as
  // keys, each read in its own language (whose index it comes with).
  std::vector<std::pair<Key, std::size_t>> bestWordKeys(
      const std::vector<Language>& languages) const;
  // The keys that put the crib's letters at some place of the sample, for
  // every period searched, the columns the crib does not reach filled to
  // read best; the best of each period, each with the index of the
  // language it reads best in.
  std::vector<std::pair<Key, std::size_t>> cribKeys(const std::vector<Language>& languages) const;
  // ln p of the letters under a key of `period` drawn at random, per
  // language, from the columns' frequencies.
  double periodEvidence(const std::vector<Column>& columns, const LetterChain& chain) const;

  CrackSettings settings;
  std::size_t most, least;
  PeriodCounts counts;
  std::size_t total = 0;
  std::string head;
  std::vector<std::uint8_t> sample;
};

std::vector<double> VigenereCracker::keyLogLikelihoods(const Key& key,
                                                       const std::vector<Language>& languages,
                                                       const std::vector<Column>& columns) const {
  const std::size_t period = key.size();
  std::vector<Column> rest = columns;
  std::vector<std::uint8_t> plain(sample.size());
  for (std::size_t j = 0; j < sample.size(); ++j) {
    rest[j % period][sample[j]] -= 1;
    plain[j] = static_cast<std::uint8_t>((sample[j] + 26 - key[j % period]) % 26);
  }
  std::vector<double> out;
  for (const Language language : languages) {
    const LetterChain& chain = fitness::chainOf(language);
    double sum = fitness::chainLogLikelihood(chain, plain);
    for (std::size_t c = 0; c < period; ++c)
      sum += columnLogLikelihood(rest[c], key[c], chain);
    out.push_back(sum);
  }
  return out;
}

std::vector<std::pair<Key, std::size_t>> VigenereCracker::bestWordKeys(
    const std::vector<Language>& languages) const {
  // Each language's best on a thread of its own, then the best of those.
  std::vector<BestKeys> perLanguage(languages.size(), BestKeys(kWordKeysKept));
  forEachAtOnce(languages.size(), [&](std::size_t l) {
    const LetterChain& chain = fitness::chainOf(languages[l]);
    BestKeys& best = perLanguage[l];
    const words::WordList& list = words::wordListOf(languages[l]);
    // The sample's letters as 'a' + 26 + the letter, from which a key's
    // letter (as 'a' + shift) is taken to decrypt it.
    const std::size_t letters = sample.size();
    std::vector<std::uint8_t> raised(letters), plain(letters);
    for (std::size_t j = 0; j < letters; ++j)
      raised[j] = static_cast<std::uint8_t>('a' + 26 + sample[j]);
    for (std::size_t rank = 0; rank < list.size(); ++rank) {
      if (settings.stopped()) return;
      const std::string_view word = list.word(rank);
      if (word.size() < std::max(least, kShortestWordKey) || word.size() > most) continue;
      // The key laid along the sample, a word's length at a time.
      for (std::size_t start = 0; start < letters; start += word.size()) {
        const std::size_t end = std::min(letters, start + word.size());
        for (std::size_t j = start; j < end; ++j) {
          const auto letter = static_cast<std::uint8_t>(raised[j] - word[j - start]);
          plain[j] = static_cast<std::uint8_t>(letter >= 26 ? letter - 26 : letter);
        }
      }
      // Every letter lowers the fit, so a word is dropped once it falls
      // below the keys kept.
      const double fit = fitness::chainLogLikelihoodAbove(chain, plain, best.floor());
      if (!best.wanted(fit)) continue;
      Key key;
      for (const char c : word)
        key.push_back(static_cast<std::uint8_t>(c - 'a'));
      best.offer(std::move(key), fit, l);
    }
  });
  if (settings.stopped()) return {};
  BestKeys best(kWordKeysKept);
  for (BestKeys& language : perLanguage)
    language.offerAllTo(best);
  std::vector<std::pair<Key, std::size_t>> keys;
  best.moveTo(keys);
  return keys;
}

std::vector<std::pair<Key, std::size_t>> VigenereCracker::cribKeys(
    const std::vector<Language>& languages) const {
  const std::vector<std::uint8_t> crib = letterIndices(settings.crib);
  std::vector<std::pair<Key, std::size_t>> keys;
  std::vector<std::uint8_t> plain(sample.size());
  const std::size_t places =
      crib.empty() || crib.size() > sample.size() ? 0 : sample.size() - crib.size() + 1;
  // Periods as long as the search reads, each column with letters enough.
  const std::size_t longest = std::max(
      least, std::min(most, std::max<std::size_t>(sample.size() / kLeastLettersPerColumn, 1)));
  for (std::size_t period = least; period <= longest && places > 0; ++period) {
    // A key longer than the crib has columns it leaves open, which a short
    // text fits by chance.
    if (period > crib.size() && sample.size() / period < kOpenColumnLetters) continue;
    const std::vector<Column> columns = counts.columns(period);
    BestKeys best(kCribKeysKept);
    for (std::size_t at = 0; at < places; ++at) {
      if (settings.stopped()) return {};
      Key key(period, 26);
      bool fits = true;
      for (std::size_t i = 0; i < crib.size() && fits; ++i) {
        const auto shift = static_cast<std::uint8_t>((sample[at + i] + 26 - crib[i]) % 26);
        std::uint8_t& letter = key[(at + i) % period];
        fits = letter == 26 || letter == shift;
        letter = shift;
      }
      if (!fits) continue;
      for (std::size_t l = 0; l < languages.size(); ++l) {
        const LetterChain& chain = fitness::chainOf(languages[l]);
        Key filled = key;
        // A column that the crib does not reach is chosen among 26.
        double chosen = 0;
        for (std::size_t c = 0; c < period; ++c) {
          if (filled[c] < 26) continue;
          chosen += kLogAlphabet;
          double highest = -INFINITY;
          for (std::uint8_t shift = 0; shift < 26; ++shift) {
            const double fit = columnLogLikelihood(columns[c], shift, chain);
            if (fit > highest) {
              highest = fit;
              filled[c] = shift;
            }
          }
        }
        const auto decrypted = [&](const Key& k) {
          for (std::size_t j = 0; j < sample.size(); ++j)
            plain[j] = static_cast<std::uint8_t>((sample[j] + 26 - k[j % period]) % 26);
          return fitness::chainLogLikelihood(chain, plain);
        };
        // Then each such column once more, on the chain of the whole
        // sample: a column of two or three letters says little alone.
        double fit = decrypted(filled);
        for (std::size_t c = 0; c < period; ++c) {
          if (key[c] < 26) continue;
          Key tried = filled;
          for (std::uint8_t shift = 0; shift < 26; ++shift) {
            tried[c] = shift;
            const double shifted = decrypted(tried);
            if (shifted > fit) {
              fit = shifted;
              filled[c] = shift;
            }
          }
        }
        best.offer(std::move(filled), fit - chosen, l);
      }
    }
    best.moveTo(keys);
  }
  return keys;
}

double VigenereCracker::periodEvidence(const std::vector<Column>& columns,
                                       const LetterChain& chain) const {
  double sum = 0;
  for (const Column& column : columns) {
    std::array<double, 26> shifts{};
    for (std::size_t s = 0; s < 26; ++s)
      shifts[s] = columnLogLikelihood(column, s, chain);
    sum += fitness::logSumExp(shifts) - kLogAlphabet;
  }
  return sum;
}

Report VigenereCracker::finish() {
  const std::vector<Language> languages = fitness::languagesFor(settings);
  Report report{languages.front(), {}, {}, false, {}};
  const std::size_t letters = counts.count();
  if (total == 0 || letters == 0) {
    report.note = total == 0 ? fitness::kNoInput : fitness::kNoLetters;
    return report;
  }
  // The word keys, which need nothing of the search, on threads of their
  // own while the search runs on this one, where there are threads to spare.
  const bool triesWords = letters <= kWordKeyLetters;
  std::vector<std::pair<Key, std::size_t>> wordKeys;
  std::jthread wordSearch;
  if (triesWords && mostThreads() > 1)
    wordSearch = std::jthread([&] { wordKeys = bestWordKeys(languages); });
  const std::size_t longest =
      std::max(least, std::min(most, std::max<std::size_t>(letters / kLeastLettersPerColumn, 1)));
  report.evidence.inputLetters = fitness::frequencies(counts.columns(1)[0]);

  // Every period's evidence on frequencies alone.
  struct Ranked {
    std::size_t period;
    double evidence;
    std::vector<double> perLanguage;
    Key key;
    std::size_t language = 0;
  };
  std::vector<Ranked> ranked;
  for (std::size_t p = 1; p <= longest; ++p) {
    const std::vector<Column> columns = counts.columns(p);
    report.evidence.periodCoincidence.push_back(coincidence(columns));
    if (p < least) continue;
    std::vector<double> evidence;
    for (const Language language : languages)
      evidence.push_back(periodEvidence(columns, fitness::chainOf(language)));
    ranked.push_back({p, fitness::logSumExp(evidence), evidence, {}});
  }
  auto byEvidence = [](const Ranked& a, const Ranked& b) { return a.evidence > b.evidence; };
  std::stable_sort(ranked.begin(), ranked.end(), byEvidence);
  if (letters > kPairLetters) ranked.resize(std::min(ranked.size(), kPairPeriods));

  // Those periods again on letter pairs, in the languages that their
  // frequencies suit best, each with the best key on pairs.
  std::vector<std::size_t> shortlist(languages.size());
  std::iota(shortlist.begin(), shortlist.end(), 0);
  auto suits = [&](std::size_t l) {
    double most = -INFINITY;
    for (const Ranked& r : ranked)
      most = std::max(most, r.perLanguage[l]);
    return most;
  };
  std::stable_sort(shortlist.begin(), shortlist.end(),
                   [&](std::size_t a, std::size_t b) { return suits(a) > suits(b); });
  shortlist.resize(std::min(shortlist.size(), kPairLanguages));
  const std::span<const std::uint8_t> pairLetters(sample.data(),
                                                  std::min(sample.size(), kPairLetters));
  for (Ranked& r : ranked) {
    if (settings.stopped()) break;
    r.evidence = -INFINITY;
    for (const std::size_t l : shortlist) {
      PairBest found = bestKeyOnPairs(pairLetters, r.period, fitness::chainOf(languages[l]));
      if (found.logLikelihood <= r.evidence) continue;
      r.evidence = found.logLikelihood;
      r.key = std::move(found.key);
      r.language = l;
    }
    r.evidence -= static_cast<double>(r.period) * kLogAlphabet;
  }
  std::stable_sort(ranked.begin(), ranked.end(), byEvidence);
  ranked.resize(std::min(ranked.size(), kRefinedPeriods));

  // The first periods' keys refined on the whole chain.
  const double languagePrior = std::log(static_cast<double>(languages.size()));
  std::vector<Tried> tried;
  std::vector<std::array<double, 26>> bestScores;
  // Adds `key` to those tried, scored in every language; `scores` are its
  // refiner's, for the chance of each key letter.
  const auto tryKey = [&](Key key, const std::vector<std::array<double, 26>>& scores) {
    key = primitive(key);
    const bool seen =
        std::any_of(tried.begin(), tried.end(), [&](const Tried& t) { return t.key == key; });
    if (seen) return;
    const std::vector<double> fits = keyLogLikelihoods(key, languages, counts.columns(key.size()));
    const auto language = std::max_element(fits.begin(), fits.end()) - fits.begin();
    const double score =
        fitness::logSumExp(fits) - languagePrior - words::vigenereKeyNats(keyText(key));
    if (tried.empty() || score > tried.front().score) bestScores = scores;
    tried.push_back({key, key.size(), score, languages[static_cast<std::size_t>(language)]});
    std::stable_sort(tried.begin(), tried.end(),
                     [](const Tried& a, const Tried& b) { return a.score > b.score; });
  };
  for (Ranked& r : ranked) {
    if (settings.stopped()) break;
    Key key = r.key;
    Refiner refiner(sample, r.period, fitness::chainOf(languages[r.language]));
    refiner.refine(key);
    tryKey(std::move(key), refiner.scores);
  }
  // Adds keys found otherwise than by search, each with the index of the
  // language it reads best in.
  const auto tryFound = [&](std::vector<std::pair<Key, std::size_t>> found) {
    for (auto& [key, language] : found) {
      // The chance of each letter from the refiner, where refining leaves
      // the key as it is.
      Refiner refiner(sample, key.size(), fitness::chainOf(languages[language]));
      Key refined = key;
      refiner.refine(refined);
      const bool kept = refined == key;
      tryKey(std::move(key), kept ? refiner.scores : std::vector<std::array<double, 26>>{});
    }
  };
  if (triesWords) {
    if (wordSearch.joinable())
      wordSearch.join();
    else
      wordKeys = bestWordKeys(languages);
    tryFound(std::move(wordKeys));
  }
  if (!settings.crib.empty()) tryFound(cribKeys(languages));

  // The best key's neighbours, one letter changed, from the refiner's
  // scores: the chance that each letter is right.
  if (settings.stopped()) {
    report.note = kCancelled;
    return report;
  }
  const Tried best = tried.front();
  std::vector<double> scores;
  for (const Tried& t : tried)
    scores.push_back(t.score);
  if (bestScores.size() == best.period) {
    for (std::size_t c = 0; c < best.period; ++c) {
      std::vector<double> column(bestScores[c].begin(), bestScores[c].end());
      const std::vector<double> chance = fitness::posteriors(column, -INFINITY, kTemperature);
      report.evidence.keyLetterFitness.push_back(chance[best.key[c]]);
      for (std::uint8_t s = 0; s < 26; ++s) {
        if (s == best.key[c]) continue;
        scores.push_back(best.score + bestScores[c][s] - bestScores[c][best.key[c]]);
        Key neighbour = best.key;
        neighbour[c] = s;
        tried.push_back({neighbour, best.period, scores.back(), best.language});
      }
    }
  }
  const double nullScore = static_cast<double>(letters) * -kLogAlphabet;
  const std::vector<double> chances = fitness::posteriors(scores, nullScore, kTemperature);
  std::vector<std::size_t> order(tried.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });
  for (std::size_t r = 0; r < std::min(std::max<std::size_t>(settings.top, 1), order.size()); ++r) {
    const Tried& t = tried[order[r]];
    const std::string key = keyText(primitive(t.key));
    report.candidates.push_back({{{"key", key}},
                                 t.language,
                                 {},
                                 chances[order[r]],
                                 scores[order[r]],
                                 fitness::previewOf(ClassicCoder().vigenereDecode(head, key))});
  }
  report.language = best.language;
  report.evidence.period = best.period;
  std::array<double, 26> output{};
  const std::vector<Column> columns = counts.columns(best.period);
  for (std::size_t c = 0; c < best.period; ++c)
    for (std::size_t x = 0; x < 26; ++x)
      output[(x + 26 - best.key[c]) % 26] += columns[c][x];
  report.evidence.outputLetters = fitness::frequencies(output);
  fitness::noteDoubt(report, letters, chances.back());
  return report;
}

}  // namespace

std::unique_ptr<Cracker> makeVigenereCracker(const CrackSettings& settings) {
  return std::make_unique<VigenereCracker>(settings);
}

}  // namespace analysis
