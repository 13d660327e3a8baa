#include "analysis/Crack.h"

#include "analysis/Crackers.h"
#include "analysis/Fitness.h"

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

// A cracker whose report lists each key once.
class MergingCracker final : public Cracker {
 public:
  explicit MergingCracker(std::unique_ptr<Cracker> cracker) : cracker(std::move(cracker)) {}

  void feed(std::string_view piece) override { cracker->feed(piece); }

  Report finish() override {
    Report report = cracker->finish();
    fitness::mergeSameKeys(report);
    return report;
  }

 private:
  std::unique_ptr<Cracker> cracker;
};

}  // namespace

std::unique_ptr<Cracker> makeCracker(Cipher cipher, const CrackSettings& settings) {
  return std::make_unique<MergingCracker>(makeFamilyCracker(cipher, settings));
}

}  // namespace analysis
