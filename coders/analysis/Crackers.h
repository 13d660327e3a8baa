#ifndef ZEMBRAX_CODERS_ANALYSIS_CRACKERS_H_
#define ZEMBRAX_CODERS_ANALYSIS_CRACKERS_H_

// The crackers behind makeCracker, one family each.

#include <memory>

#include "analysis/Cracker.h"

namespace analysis {

// Caesar over letters, Caesar over the 255 non-zero bytes, and bitwise XOR:
// every key is a map of byte values, `cipher` says which.
std::unique_ptr<Cracker> makeByteMapCracker(Cipher cipher, const CrackSettings& settings);
std::unique_ptr<Cracker> makeVigenereCracker(const CrackSettings& settings);
std::unique_ptr<Cracker> makeSubstitutionCracker(const CrackSettings& settings);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_CRACKERS_H_
