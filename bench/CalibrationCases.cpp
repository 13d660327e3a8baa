// Cases of known answer for tools/calibrate: texts of every kind that
// identification meets (puzzle texts, running text under encodings and
// ciphers, texts made with methods the analysis does not have), each
// identified, one line each: whether the first chain was right, then the
// features its chance is judged on, tab-separated.
//
//   calibration_cases CORPUS_FOLDER [TRIALS]
//
// TRIALS texts per language and kind (default 3). The draws are seeded
// apart from the benchmarks', so that the benchmarks judge the fit on
// texts it never saw.

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "IdentifyCases.h"
#include "PuzzleCases.h"

namespace {

void print(bool right, const analysis::Features& features) {
  std::printf("%d", right ? 1 : 0);
  for (const double f : features)
    std::printf("\t%.6g", f);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER [TRIALS]\n", argv[0]);
    return 2;
  }
  const int trials = argc > 2 ? std::atoi(argv[2]) : 3;
  std::mt19937 random(4242);
  for (std::size_t l = 0; l < analysis::kLanguageCount; ++l) {
    const std::string code(analysis::codeOf(static_cast<analysis::Language>(l)));
    const std::string text = crackcases::readFile(std::string(argv[1]) + "/" + code + ".txt");
    if (text.empty()) continue;
    const puzzlecases::Source source{text, puzzlecases::wordsOf(text)};
    for (int t = 0; t < trials; ++t) {
      for (const puzzlecases::Kind& kind : puzzlecases::kinds()) {
        const puzzlecases::Made made = kind.make(source, random);
        const analysis::Identification found = analysis::identify(made.text, {});
        if (found.candidates.empty()) continue;
        print(analysis::runChain(found.candidates.front().steps, made.text) == made.expected,
              found.features);
      }
      for (const identifycases::Kind& kind : identifycases::kinds()) {
        const std::string plain = crackcases::excerpt(text, 0, 200, random);
        const identifycases::Outcome outcome = identifycases::run(kind, plain, random);
        print(outcome.right, outcome.features);
      }
    }
  }
  return 0;
}
