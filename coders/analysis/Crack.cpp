#include "analysis/Crack.h"

#include "analysis/Crackers.h"

namespace analysis {

std::unique_ptr<Cracker> makeCracker(Cipher cipher, const CrackSettings& settings) {
  switch (cipher) {
    case Cipher::vigenere:
      return makeVigenereCracker(settings);
    case Cipher::substitution:
      return makeSubstitutionCracker(settings);
    default:
      return makeByteMapCracker(cipher, settings);
  }
}

}  // namespace analysis
