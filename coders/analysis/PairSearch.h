#ifndef ZEMBRAX_CODERS_ANALYSIS_PAIRSEARCH_H_
#define ZEMBRAX_CODERS_ANALYSIS_PAIRSEARCH_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/Fitness.h"

namespace analysis {

// The Vigenere key of a period under which the letters read likeliest as
// pairs: each letter's chance after the one before it, plus the first
// letter's own. Pairs join neighbouring key letters only, so the key
// letters form a ring and the best key is found exactly, by dynamic
// programming around it.
struct PairBest {
  std::vector<std::uint8_t> key;  // the key's shifts, 0..25
  double logLikelihood;           // ln p of the letters decrypted with it
};
PairBest bestKeyOnPairs(std::span<const std::uint8_t> letters, std::size_t period,
                        const fitness::LetterChain& chain);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_PAIRSEARCH_H_
