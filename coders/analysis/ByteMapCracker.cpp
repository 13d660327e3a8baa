// Caesar (letters or all non-zero bytes) and bitwise XOR: each key maps every
// byte value to one byte value, so the whole text is summed up by how often
// each byte value occurs, and only a sample is read letter after letter.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "Ascii.h"
#include "analysis/Crackers.h"
#include "analysis/Fitness.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"

namespace analysis {

namespace {

using ByteMap = std::array<std::uint8_t, 256>;

// The bytes read in sequence, through the letter chain; the rest of the text
// counts through its byte histogram alone.
constexpr std::size_t kSampleBytes = 2048;
// At most this many sample bytes are read through the chain, summed over
// the keys: beyond it only the keys that the histogram ranks first are read.
constexpr std::size_t kChainBudget = std::size_t{1} << 17;
// The fewest keys read through the chain.
constexpr std::size_t kLeastChainedKeys = 8;
// The share of texts in capitals: enough that a short note in capitals
// keeps its key, few enough that the key which flips the case of a short
// text of running text does not win.
constexpr double kCapitalShare = 0.02;
// Scales the log-likelihoods into chances: the letters of a text are not as
// independent as the chain takes them, which makes it too sure.
constexpr double kLetterTemperature = 1.6;
constexpr double kByteTemperature = 1.6;

// Every key's map that decrypts, made by the coder itself.
std::vector<ByteMap> decryptingMaps(Cipher cipher) {
  std::string all(256, '\0');
  std::iota(all.begin(), all.end(), 0);
  const std::size_t keys = cipher == Cipher::caesar ? 26 : cipher == Cipher::caesarFull ? 255 : 256;
  std::vector<ByteMap> maps(keys);
  for (std::size_t key = 0; key < keys; ++key) {
    const auto k = static_cast<std::int32_t>(key);
    const std::string mapped = cipher == Cipher::caesar ? ClassicCoder().caesarShift(all, -k)
                               : cipher == Cipher::caesarFull
                                   ? ClassicCoder().caesarShiftFull(all, -k)
                                   : CharCoder().bitwiseApply(all, k, &CharCoder::bitXor);
    std::copy(mapped.begin(), mapped.end(), maps[key].begin());
  }
  return maps;
}

// The chances of fitness::textByteLogChances with the cases swapped: text
// in capitals, as notes and puzzles often are, whose keys would otherwise
// lose to the key that flips the case of every letter (and turns spaces
// into control bytes).
const std::array<float, 256>& capitalByteLogChances() {
  static const std::array<float, 256> chances = [] {
    std::array<float, 256> out = fitness::textByteLogChances();
    for (int c = 'A'; c <= 'Z'; ++c)
      std::swap(out[c], out[c + 32]);
    return out;
  }();
  return chances;
}

methods::Settings optionsOf(Cipher cipher, std::size_t key) {
  const auto k = static_cast<std::int32_t>(key);
  if (cipher == Cipher::bitwiseXor) return {{"xor", k}};
  if (cipher == Cipher::caesarFull) return {{"shift", k}, {"full", true}};
  return {{"shift", k}};
}

class ByteMapCracker : public Cracker {
 public:
  ByteMapCracker(Cipher cipher, const CrackSettings& settings)
      : cipher(cipher), settings(settings), maps(decryptingMaps(cipher)) {}

  void feed(std::string_view piece) override {
    total += piece.size();
    fitness::keepUpTo(head, piece, fitness::kHeadBytes);
    const std::size_t before = sample.size();
    fitness::keepUpTo(sample, piece, kSampleBytes);
    countRest(piece.substr(sample.size() - before));
  }

  Report finish() override;

 private:
  // Counts bytes past the sample, in four tables so that repeated bytes do
  // not wait on each other's counts.
  void countRest(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    for (; i + 4 <= bytes.size(); i += 4) {
      ++counts[0][p[i]];
      ++counts[1][p[i + 1]];
      ++counts[2][p[i + 2]];
      ++counts[3][p[i + 3]];
    }
    for (; i < bytes.size(); ++i)
      ++counts[0][p[i]];
  }

  // Caesar over letters scores letters only: every other byte is the same
  // under every key.
  bool lettersOnly() const { return cipher == Cipher::caesar; }

  // ln p of byte value `d` in `language` taken alone, in running text
  // (`capitals` false) or in text of capitals.
  std::array<double, 256> byteWeights(Language language, bool capitals) const;

  // The sample decrypted by `map`: its letters (0..25) in order, for each
  // language's chain, and ln p of its bytes as running text and as text of
  // capitals, which no language changes.
  struct Decrypted {
    std::vector<std::uint8_t> letters;
    double asText = 0, asCapitals = 0;
  };
  Decrypted decryptSample(const ByteMap& map) const;

  Cipher cipher;
  CrackSettings settings;
  std::vector<ByteMap> maps;
  std::size_t total = 0;
  std::string head, sample;
  std::array<std::array<std::uint64_t, 256>, 4> counts{};
};

std::array<double, 256> ByteMapCracker::byteWeights(Language language, bool capitals) const {
  const auto& chain = fitness::chainOf(language);
  const auto& bytes = capitals ? capitalByteLogChances() : fitness::textByteLogChances();
  std::array<double, 256> weights{};
  for (int d = 0; d < 256; ++d) {
    const unsigned char letter = ascii::letterIndex(static_cast<char>(d));
    weights[d] = (lettersOnly() ? 0.0 : bytes[d]) + (letter < 26 ? chain.alone(letter) : 0.0);
  }
  return weights;
}

ByteMapCracker::Decrypted ByteMapCracker::decryptSample(const ByteMap& map) const {
  const auto& bytes = fitness::textByteLogChances();
  const auto& capitalBytes = capitalByteLogChances();
  Decrypted out;
  for (const char c : sample) {
    const std::uint8_t d = map[static_cast<unsigned char>(c)];
    out.asText += bytes[d];
    out.asCapitals += capitalBytes[d];
    const unsigned char letter = ascii::letterIndex(static_cast<char>(d));
    if (letter < 26) out.letters.push_back(letter);
  }
  return out;
}

Report ByteMapCracker::finish() {
  const std::vector<Language> languages = fitness::languagesFor(settings);
  Report report{languages.front(), {}, {}, false, {}};
  std::array<double, 256> rest{}, all{};
  for (int b = 0; b < 256; ++b)
    rest[b] = static_cast<double>(counts[0][b] + counts[1][b] + counts[2][b] + counts[3][b]);
  all = rest;
  for (const char c : sample)
    all[static_cast<unsigned char>(c)] += 1;
  std::array<double, 26> letterCounts{};
  for (int b = 0; b < 256; ++b) {
    const unsigned char letter = ascii::letterIndex(static_cast<char>(b));
    if (letter < 26) letterCounts[letter] += all[b];
  }
  report.evidence.inputLetters = fitness::frequencies(letterCounts);
  const double letters = std::accumulate(letterCounts.begin(), letterCounts.end(), 0.0);
  if (total == 0) {
    report.note = fitness::kNoInput;
    return report;
  }
  if (lettersOnly() && letters == 0) {
    report.note = fitness::kNoLetters;
    return report;
  }

  // Every key in every language from the histogram alone, then the keys
  // that rank first again with the sample read in sequence.
  const std::size_t keys = maps.size();
  // Per language, the weights of running text and of text in capitals.
  std::vector<std::array<std::array<double, 256>, 2>> weights;
  for (const Language language : languages)
    weights.push_back({byteWeights(language, false), byteWeights(language, true)});
  // The byte values counted, with their counts: a short text holds few.
  using Histogram = std::vector<std::pair<std::uint8_t, double>>;
  auto held = [](const std::array<double, 256>& counted) {
    Histogram histogram;
    for (int b = 0; b < 256; ++b)
      if (counted[b] != 0) histogram.emplace_back(static_cast<std::uint8_t>(b), counted[b]);
    return histogram;
  };
  const Histogram allHeld = held(all), restHeld = held(rest);
  auto histogramScore = [](const ByteMap& map, const Histogram& counted,
                           const std::array<double, 256>& weight) {
    double sum = 0;
    for (const auto& [b, count] : counted)
      sum += count * weight[map[b]];
    return sum;
  };
  // Running text, or text in capitals at the share kCapitalShare.
  const double asText = std::log(1 - kCapitalShare), asCapitals = std::log(kCapitalShare);
  auto eitherCase = [&](double text, double capitals) {
    const double both[] = {asText + text, asCapitals + capitals};
    return fitness::logSumExp(both);
  };
  const double languagePrior = std::log(static_cast<double>(languages.size()));
  std::vector<std::vector<double>> perLanguage(keys, std::vector<double>(languages.size()));
  std::vector<double> scores(keys);
  for (std::size_t k = 0; k < keys; ++k) {
    for (std::size_t l = 0; l < languages.size(); ++l)
      perLanguage[k][l] = eitherCase(histogramScore(maps[k], allHeld, weights[l][0]),
                                     histogramScore(maps[k], allHeld, weights[l][1]));
    scores[k] = fitness::logSumExp(perLanguage[k]) - languagePrior;
  }
  std::vector<std::size_t> order(keys);
  std::iota(order.begin(), order.end(), 0);
  auto rank = [&] {
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });
  };
  rank();
  const std::size_t chained = std::min(
      keys, std::max(kLeastChainedKeys, kChainBudget / std::max<std::size_t>(sample.size(), 1)));
  std::vector<Decrypted> decrypted;
  for (std::size_t r = 0; r < chained && !settings.stopped(); ++r)
    decrypted.push_back(decryptSample(maps[order[r]]));
  // Language by language, so that a chain's tables stay in the cache
  // through all the keys.
  for (std::size_t l = 0; l < languages.size() && !settings.stopped(); ++l) {
    const fitness::LetterChain& chain = fitness::chainOf(languages[l]);
    for (std::size_t r = 0; r < decrypted.size(); ++r) {
      const std::size_t k = order[r];
      const double read = fitness::chainLogLikelihood(chain, decrypted[r].letters);
      const double asText = read + (lettersOnly() ? 0 : decrypted[r].asText);
      const double asCapitals = read + (lettersOnly() ? 0 : decrypted[r].asCapitals);
      perLanguage[k][l] = eitherCase(asText + histogramScore(maps[k], restHeld, weights[l][0]),
                                     asCapitals + histogramScore(maps[k], restHeld, weights[l][1]));
    }
  }
  for (std::size_t r = 0; r < decrypted.size(); ++r)
    scores[order[r]] = fitness::logSumExp(perLanguage[order[r]]) - languagePrior;
  rank();
  if (settings.stopped()) {
    report.note = kCancelled;
    return report;
  }

  // None of the keys: letters drawn at random, or bytes drawn at random.
  const double nullScore = lettersOnly() ? letters * std::log(1.0 / 26)
                                         : static_cast<double>(total) * std::log(1.0 / 256);
  const std::vector<double> chances =
      fitness::posteriors(scores, nullScore, lettersOnly() ? kLetterTemperature : kByteTemperature);
  for (std::size_t r = 0; r < std::min(std::max<std::size_t>(settings.top, 1), keys); ++r) {
    const std::size_t k = order[r];
    const auto& scored = perLanguage[k];
    const auto best = std::max_element(scored.begin(), scored.end()) - scored.begin();
    std::string decrypted = head;
    for (char& c : decrypted)
      c = static_cast<char>(maps[k][static_cast<unsigned char>(c)]);
    report.candidates.push_back({optionsOf(cipher, k),
                                 languages[static_cast<std::size_t>(best)],
                                 {},
                                 chances[k],
                                 scores[k],
                                 fitness::previewOf(decrypted)});
  }
  report.language = report.candidates.front().language;
  report.evidence.keyScores = scores;
  std::array<double, 26> outputCounts{};
  for (int b = 0; b < 256; ++b) {
    const unsigned char letter = ascii::letterIndex(static_cast<char>(maps[order[0]][b]));
    if (letter < 26) outputCounts[letter] += all[b];
  }
  report.evidence.outputLetters = fitness::frequencies(outputCounts);
  fitness::noteDoubt(report, lettersOnly() ? static_cast<std::size_t>(letters) : total,
                     chances.back());
  return report;
}

}  // namespace

std::unique_ptr<Cracker> makeByteMapCracker(Cipher cipher, const CrackSettings& settings) {
  return std::make_unique<ByteMapCracker>(cipher, settings);
}

}  // namespace analysis
