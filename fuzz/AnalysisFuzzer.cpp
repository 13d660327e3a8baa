// One libFuzzer target per entry point of the analysis; ZEMBRAX_FUZZ_TARGET
// names it: "caesar", "full", "xor", "vigenere" or "subst" for crack, or
// "identify". For any bytes the analysis ends (libFuzzer's -timeout bounds
// each run), its JSON is valid, its chances lie in [0, 1], and a cracker fed
// the text in two pieces reports as one fed it whole.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "JsonCheck.h"
#include "analysis/Crack.h"
#include "analysis/Identify.h"
#include "analysis/Json.h"

namespace {

using analysis::Cipher;

constexpr std::string_view kTarget = ZEMBRAX_FUZZ_TARGET;

Cipher cipherOfTarget() {
  if (kTarget == "full") return Cipher::caesarFull;
  if (kTarget == "xor") return Cipher::bitwiseXor;
  if (kTarget == "vigenere") return Cipher::vigenere;
  if (kTarget == "subst") return Cipher::substitution;
  return Cipher::caesar;
}

bool isChance(double chance) {
  return chance >= 0 && chance <= 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (kTarget == "identify") {
    const analysis::Identification found = analysis::identify(text, {});
    for (const analysis::Chain& chain : found.candidates)
      require(isChance(chain.confidence), "a chain's confidence is a chance");
    require(jsoncheck::isJson(json::identification(found)), "identify's JSON is valid");
    return 0;
  }
  // The text in two pieces, cut where its first byte says, and whole: the
  // pieces must make no difference to the report.
  const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
  const Cipher cipher = cipherOfTarget();
  const auto cracker = analysis::makeCracker(cipher, {});
  cracker->feed(text.substr(0, cut));
  cracker->feed(text.substr(cut));
  const analysis::Report report = cracker->finish();
  for (const analysis::Candidate& candidate : report.candidates)
    require(isChance(candidate.confidence), "a candidate's confidence is a chance");
  const std::string written = json::crackReport(cipher, report, true);
  require(jsoncheck::isJson(written), "crack's JSON is valid");
  const auto whole = analysis::makeCracker(cipher, {});
  whole->feed(text);
  require(json::crackReport(cipher, whole->finish(), true) == written,
          "the text in two pieces gives the report of the whole");
  return 0;
}
