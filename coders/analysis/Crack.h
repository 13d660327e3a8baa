#ifndef ZEMBRAX_CODERS_ANALYSIS_CRACK_H_
#define ZEMBRAX_CODERS_ANALYSIS_CRACK_H_

// Breaking the window's ciphers without their key: Caesar (letters or all
// byte values), bitwise XOR, Vigenere and the substitution of letters. A
// cracker is fed the ciphertext in pieces and then ranks the keys that may
// have made it, each with the chance that it is the right one.

#include <memory>

#include "analysis/Cracker.h"

namespace analysis {

std::unique_ptr<Cracker> makeCracker(Cipher cipher, const CrackSettings& settings);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_CRACK_H_
