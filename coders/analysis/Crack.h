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

// The method of the registry whose options a candidate of `cipher` carries.
const methods::Method& methodOf(Cipher cipher);

// The direction in which a candidate's options decrypt: a substitution's
// alphabets map the cipher's letters to the plain ones, so they are applied
// as they stand.
Direction decryptionOf(Cipher cipher);

// `text` decrypted by a candidate of `cipher` with `options`.
std::string decrypt(Cipher cipher, const methods::Settings& options, std::string text);

// How much less likely an answer is taken to be when its result does not
// hold the crib, in nats: the user may have the crib slightly wrong, so not
// impossible, but far behind every answer that holds it.
inline constexpr double kCribMissNats = 25;

// ln of the chance that `crib` stands somewhere in `length` bytes drawn at
// random (letters of either case, and the printable bytes), as it would
// were no key right; 0 for no crib.
double cribChanceNats(std::string_view crib, std::size_t length);

// Whether `text` holds `crib`, its letters in either case.
bool holdsCrib(std::string_view text, std::string_view crib);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_CRACK_H_
