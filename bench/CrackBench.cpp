// How long the crackers take, each beside its target, on English running text
// encrypted with a fixed key and fed in 256 KiB pieces as the command line
// feeds it.
//
//   crack_bench CORPUS_FOLDER

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "CrackCases.h"

namespace {

using analysis::Cipher;

constexpr std::size_t kPiece = 256 * 1024;
constexpr std::size_t kMiB = 1024 * 1024;
// Each figure is the fastest of this many runs, as the machine is shared.
constexpr int kRuns = 3;

struct Timing {
  const char* name;
  Cipher cipher;
  std::size_t letters, bytes;  // the text: so many letters, or so many bytes
  double target;               // seconds
};

constexpr Timing kTimings[] = {
    {"caesar, 16 MiB", Cipher::caesar, 0, 16 * kMiB, 0.05},
    {"caesar --full, 16 MiB", Cipher::caesarFull, 0, 16 * kMiB, 0.05},
    {"xor, 16 MiB", Cipher::bitwiseXor, 0, 16 * kMiB, 0.05},
    {"vigenere, 1 MiB", Cipher::vigenere, 0, kMiB, 0.1},
    {"vigenere, 16 MiB", Cipher::vigenere, 0, 16 * kMiB, 1.0},
    {"subst, 300 letters", Cipher::substitution, 300, 0, 0.3},
    {"subst, 1000 letters", Cipher::substitution, 1000, 0, 1.0},
    {"caesar, 1000 letters", Cipher::caesar, 1000, 0, 1.0},
    {"caesar --full, 1000 letters", Cipher::caesarFull, 1000, 0, 1.0},
    {"xor, 1000 letters", Cipher::bitwiseXor, 1000, 0, 1.0},
    {"vigenere, 1000 letters", Cipher::vigenere, 1000, 0, 1.0},
};

double secondsToCrack(Cipher cipher, const std::string& text) {
  const auto start = std::chrono::steady_clock::now();
  auto cracker = analysis::makeCracker(cipher, {});
  for (std::size_t at = 0; at < text.size(); at += kPiece)
    cracker->feed(std::string_view(text).substr(at, kPiece));
  const analysis::Report report = cracker->finish();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (report.candidates.empty()) std::printf("  (no answer)\n");
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string english = crackcases::readFile(std::string(argv[1]) + "/en.txt");
  if (english.empty()) {
    std::fprintf(stderr, "no en.txt in %s\n", argv[1]);
    return 1;
  }
  std::mt19937 random(20261208);
  std::printf("%-30s %10s %10s\n", "crack", "seconds", "target");
  const double first = secondsToCrack(Cipher::caesar, english.substr(0, 200));
  std::printf("%-30s %10.3f %10s\n", "first call (tables built)", first, "");
  for (const Timing& t : kTimings) {
    std::string plain;
    if (t.letters) {
      plain = crackcases::excerpt(english, t.letters, 0, random);
    } else {
      while (plain.size() < t.bytes)
        plain += english;
      plain.resize(t.bytes);
    }
    const std::string text = crackcases::encrypt(t.cipher, plain, 7, random);
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run)
      best = std::min(best, secondsToCrack(t.cipher, text));
    std::printf("%-30s %10.3f %10.3f %s\n", t.name, best, t.target,
                best <= t.target ? "" : "OVER TARGET");
  }
  return 0;
}
