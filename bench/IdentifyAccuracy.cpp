// How often identification names the right chain, on running text in every
// language put through each kind of chain, beside the targets, and how far
// its confidence can be trusted.
//
//   identify_accuracy CORPUS_FOLDER [TRIALS] [BYTES]
//
// CORPUS_FOLDER holds LANG.txt per language code; TRIALS texts per language
// and kind (default 20) of BYTES bytes of plaintext (default 200).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "IdentifyCases.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER [TRIALS] [BYTES]\n", argv[0]);
    return 2;
  }
  const int trials = argc > 2 ? std::atoi(argv[2]) : 20;
  const std::size_t bytes = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 200;
  // The share of texts of one encoding, and of a cipher under one, whose
  // chain must be right.
  constexpr double kEncodingTarget = 0.95, kLayeredTarget = 0.90;
  std::mt19937 random(20261208);
  std::printf("%d texts of %zu bytes per language and kind\n\n", trials, bytes);
  std::printf("%-22s %8s %8s %8s %10s\n", "kind", "right", "target", "texts", "slowest s");
  std::size_t sure = 0, sureRight = 0;
  for (const identifycases::Kind& kind : identifycases::kinds()) {
    std::size_t right = 0, texts = 0;
    double slowest = 0;
    for (std::size_t l = 0; l < analysis::kLanguageCount; ++l) {
      const std::string code(analysis::codeOf(static_cast<analysis::Language>(l)));
      const std::string corpus = crackcases::readFile(std::string(argv[1]) + "/" + code + ".txt");
      if (corpus.empty()) continue;
      for (int t = 0; t < trials; ++t) {
        const std::string plain = crackcases::excerpt(corpus, 0, bytes, random);
        const auto start = std::chrono::steady_clock::now();
        const identifycases::Outcome outcome = identifycases::run(kind, plain, random);
        slowest = std::max(
            slowest,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        ++texts;
        right += outcome.right ? 1 : 0;
        if (outcome.confidence >= 0.9) {
          ++sure;
          sureRight += outcome.right ? 1 : 0;
        }
      }
    }
    const double target = kind.cipher && !kind.encodings.empty() ? kLayeredTarget : kEncodingTarget;
    const double share = texts == 0 ? 0 : static_cast<double>(right) / static_cast<double>(texts);
    std::printf("%-22s %7.1f%% %7.0f%% %8zu %10.3f %s\n", kind.name.c_str(), 100 * share,
                100 * target, texts, slowest, share >= target ? "" : "(below target)");
  }
  std::printf("\nanswers with confidence >= 0.9: %zu, of which right: %.1f%% (target >= 95%%)\n",
              sure,
              sure == 0 ? 0.0 : 100.0 * static_cast<double>(sureRight) / static_cast<double>(sure));

  // Speed on 1 MiB of each kind, the tables and chains already loaded (the
  // runs above loaded them).
  constexpr double kMostSeconds = 0.2;
  const std::string english = crackcases::readFile(std::string(argv[1]) + "/en.txt");
  std::string mebibyte;
  while (mebibyte.size() < (std::size_t{1} << 20))
    mebibyte += english;
  mebibyte.resize(std::size_t{1} << 20);
  std::printf("\n%-22s %10s %8s\n", "1 MiB of", "seconds", "target");
  for (const identifycases::Kind& kind : identifycases::kinds()) {
    std::string made =
        kind.cipher ? crackcases::encrypt(*kind.cipher, mebibyte, 5, random) : mebibyte;
    for (const std::string& method : kind.encodings)
      made = identifycases::code(method, made, Direction::encode);
    made.resize(std::min(made.size(), std::size_t{1} << 20));
    const auto start = std::chrono::steady_clock::now();
    analysis::identify(made, {});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-22s %10.3f %8.1f %s\n", kind.name.c_str(), seconds, kMostSeconds,
                seconds <= kMostSeconds ? "" : "(over target)");
  }
  return 0;
}
