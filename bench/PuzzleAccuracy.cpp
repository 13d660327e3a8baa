// How identification and the crackers do on the texts puzzles hold, each
// figure beside its target: how often identify's first answer is right for
// each kind of text, how often the crackers are right with a crib and on
// short texts under a word key, and how far the confidence can be trusted
// over a mix in which one text in four is made with a method the analysis
// does not have (none of which may be named with a confidence of 0.5 or
// more unless it is right all the same).
//
//   puzzle_accuracy CORPUS_FOLDER [TRIALS [KIND]]
//
// CORPUS_FOLDER holds LANG.txt per language code; TRIALS texts per language
// and kind (default 6). With KIND (the start of a kind's name), only that
// kind is run, and every text it gets wrong is shown with the answer; with
// KIND "crib", only the crackers with a crib.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "PuzzleCases.h"
#include "analysis/Fitness.h"

namespace {

// The share of texts whose first answer must be right: of each kind, and
// of texts under a word key, which may be a word the lists lack.
constexpr double kKindTarget = 0.95, kWordKeyTarget = 0.90;
// Of the answers given with a confidence of kSure or more, the share that
// must be right.
constexpr double kSureTarget = 0.97;
// A text made with a method the analysis lacks may get at most this.
constexpr double kUnknownMost = 0.5;
// The crackers with a crib of five letters on twenty-letter texts.
constexpr double kCribTarget = 0.95;
constexpr std::size_t kCribLetters = 5, kCribTextLetters = 20;

struct Tally {
  std::size_t texts = 0, right = 0, sure = 0, sureRight = 0, confident = 0;
};

void print(const char* name, const Tally& t, double target, bool unknown) {
  const double share =
      t.texts == 0 ? 0 : static_cast<double>(t.right) / static_cast<double>(t.texts);
  if (unknown) {
    std::printf("%-28s %7.1f%% %8s %6zu %9zu %s\n", name, 100 * share, "-", t.texts, t.confident,
                t.confident == 0 ? "" : "(named with confidence >= 0.5)");
  } else {
    std::printf("%-28s %7.1f%% %7.0f%% %6zu %9s %s\n", name, 100 * share, 100 * target, t.texts, "",
                share >= target ? "" : "(below target)");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER [TRIALS]\n", argv[0]);
    return 2;
  }
  const int trials = argc > 2 ? std::atoi(argv[2]) : 6;
  const std::string_view only = argc > 3 ? argv[3] : "";
  std::vector<puzzlecases::Source> sources;
  for (std::size_t l = 0; l < analysis::kLanguageCount; ++l) {
    const std::string code(analysis::codeOf(static_cast<analysis::Language>(l)));
    const std::string text = crackcases::readFile(std::string(argv[1]) + "/" + code + ".txt");
    if (!text.empty()) sources.push_back({text, puzzlecases::wordsOf(text)});
  }
  const auto& kinds = puzzlecases::kinds();
  const auto unknownKinds = static_cast<std::size_t>(
      std::count_if(kinds.begin(), kinds.end(), [](const auto& k) { return k.unknown; }));
  const std::size_t knownKinds = kinds.size() - unknownKinds;
  // One text in four of the mix is of an unknown method.
  const int unknownTrials = std::max<int>(
      1, static_cast<int>(static_cast<double>(trials) * static_cast<double>(knownKinds) /
                              (3.0 * static_cast<double>(unknownKinds)) +
                          0.5));

  std::mt19937 random(20261209);
  std::printf("identify, %d texts per language and kind (%d of each unknown method)\n\n", trials,
              unknownTrials);
  std::printf("%-28s %8s %8s %6s %9s\n", "kind", "right", "target", "texts", ">= 0.5");
  Tally all;
  for (const puzzlecases::Kind& kind : kinds) {
    if (!std::string_view(kind.name).starts_with(only)) continue;
    Tally tally;
    for (const puzzlecases::Source& source : sources) {
      for (int t = 0; t < (kind.unknown ? unknownTrials : trials); ++t) {
        const puzzlecases::Made made = kind.make(source, random);
        const puzzlecases::Outcome outcome = puzzlecases::judge(made);
        if (!only.empty() && !outcome.right) {
          const analysis::Identification found = analysis::identify(made.text, {});
          std::printf("  wrong at %.3f: %.60s\n    expected %.60s\n", outcome.confidence,
                      made.text.c_str(), made.expected.c_str());
          for (const analysis::Chain& chain : found.candidates) {
            std::string steps;
            for (const analysis::Step& step : chain.steps)
              steps += std::string(step.method->name) + " ";
            std::printf("    %.3f %s-> %.60s\n", chain.confidence, steps.c_str(),
                        chain.preview.c_str());
          }
        }
        ++tally.texts;
        tally.right += outcome.right ? 1 : 0;
        tally.confident += !outcome.right && outcome.confidence >= kUnknownMost ? 1 : 0;
        if (outcome.confidence >= analysis::fitness::kSure) {
          ++tally.sure;
          tally.sureRight += outcome.right ? 1 : 0;
        }
      }
    }
    const bool wordKey = std::string_view(kind.name).starts_with("vigenere");
    print(kind.name, tally, wordKey ? kWordKeyTarget : kKindTarget, kind.unknown);
    all.sure += tally.sure;
    all.sureRight += tally.sureRight;
  }
  std::printf("\nanswers with confidence >= %.1f: %zu, of which right: %.1f%% (target >= %.0f%%)\n",
              analysis::fitness::kSure, all.sure,
              all.sure == 0
                  ? 0.0
                  : 100.0 * static_cast<double>(all.sureRight) / static_cast<double>(all.sure),
              100 * kSureTarget);

  if (!only.empty() && only != "crib") return 0;
  std::printf("\ncrack with a crib of %zu letters, %zu-letter texts, %d per language\n\n",
              kCribLetters, kCribTextLetters, trials);
  std::printf("%-28s %8s %8s %6s\n", "cipher", "right", "target", "texts");
  using analysis::Cipher;
  for (const Cipher cipher : {Cipher::caesar, Cipher::bitwiseXor, Cipher::vigenere}) {
    Tally tally;
    for (const puzzlecases::Source& source : sources) {
      for (int t = 0; t < trials; ++t) {
        const std::string plain = crackcases::excerpt(source.text, kCribTextLetters, 0, random);
        // The crib: a piece of the plaintext that holds five letters A-Z.
        std::string crib;
        std::size_t letters = 0;
        for (std::size_t at = static_cast<std::size_t>(
                 puzzlecases::pick(random, 0, static_cast<int>(plain.size()) / 3));
             at < plain.size() && letters < kCribLetters; ++at) {
          if (crib.empty() && !ascii::isLetter(plain[at])) continue;
          crib += plain[at];
          letters += ascii::isLetter(plain[at]) ? 1 : 0;
        }
        const std::string text = crackcases::encrypt(cipher, plain, 5, random);
        analysis::CrackSettings settings;
        settings.crib = crib;
        auto cracker = analysis::makeCracker(cipher, settings);
        cracker->feed(text);
        const analysis::Report report = cracker->finish();
        ++tally.texts;
        const std::string found =
            report.candidates.empty()
                ? std::string()
                : crackcases::decryptWith(cipher, report.candidates.front(), text);
        tally.right += found == plain ? 1 : 0;
        if (found != plain && only == "crib")
          std::printf("  wrong: [%s] crib [%s] gave [%s]\n", plain.c_str(), crib.c_str(),
                      found.c_str());
      }
    }
    print(std::string(analysis::methodOf(cipher).name).c_str(), tally, kCribTarget, false);
  }
  return 0;
}
