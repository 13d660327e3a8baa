// Language detection accuracy over the held-out texts of tests/corpus: for
// each language and each length, the share of samples (runs of that many
// consecutive letters) that rankLanguages puts first in their own language.
// Prints the figures; `language_bench [CORPUS_FOLDER]`.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Fitness.h"
#include "Language.h"

namespace {

// Lengths in letters, as the solvers meet them: a short Caesar message, a
// line, a paragraph.
constexpr std::size_t kLengths[] = {15, 30, 100};
// Samples per language and length, spread evenly over the text.
constexpr std::size_t kSamples = 400;

std::vector<std::uint8_t> corpusLetters(const std::string& folder, analysis::Language language) {
  std::ifstream file(folder + "/" + std::string(analysis::codeOf(language)) + ".txt",
                     std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return analysis::letterIndices(text.str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ZEMBRAX_CORPUS_DIR;
  std::printf("language  letters");
  for (const std::size_t length : kLengths)
    std::printf("  %3zu letters", length);
  std::printf("\n");
  std::vector<double> sums(std::size(kLengths), 0.0);
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto language = static_cast<analysis::Language>(i);
    const auto letters = corpusLetters(folder, language);
    std::printf("%-8s  %7zu", std::string(analysis::codeOf(language)).c_str(), letters.size());
    for (std::size_t l = 0; l < std::size(kLengths); ++l) {
      const std::size_t length = kLengths[l];
      std::size_t right = 0;
      const std::size_t stride = (letters.size() - length) / kSamples;
      for (std::size_t s = 0; s < kSamples; ++s) {
        const std::span sample(letters.data() + s * stride, length);
        right += analysis::fitness::rankLanguages(sample).front().language == language;
      }
      const double share = 100.0 * static_cast<double>(right) / kSamples;
      sums[l] += share;
      std::printf("  %10.1f %%", share);
    }
    std::printf("\n");
  }
  std::printf("%-17s", "mean");
  for (const double sum : sums)
    std::printf("  %10.1f %%", sum / analysis::kLanguageCount);
  std::printf("\n");
}
