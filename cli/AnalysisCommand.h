#ifndef ZEMBRAX_CLI_ANALYSISCOMMAND_H_
#define ZEMBRAX_CLI_ANALYSISCOMMAND_H_

// The command line of `zembrax-cli crack` and `zembrax-cli identify`.

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "Analysis.h"

// What the command line gave for crack and identify.
struct AnalysisOptions {
  std::string cipher;
  bool full = false;
  std::string keyLength;
  std::string language = "auto";
  std::size_t top = 5;
  bool json = false;
  bool apply = false;
  bool explain = false;
  std::string crib;
  std::vector<std::string> inputs;
  std::string output;
  bool progress = false;
};

// What crack --json and identify --json write, for --help and the manual.
inline constexpr std::string_view kJsonFormat =
    "With --json, crack writes {\"method\": M, \"language\": L, \"candidates\": "
    "[{\"options\": O, \"language\": L, \"confidence\": C, \"score\": S, \"preview\": P}, "
    "...], \"note\": N} and identify writes {\"candidates\": [{\"steps\": [{\"method\": M, "
    "\"decrypt\": D, \"options\": O}, ...], \"language\": L, \"confidence\": C, "
    "\"preview\": P}, ...], \"note\": N}. M is a method's name as the command line has it, L a "
    "language code, C the chance in [0, 1] that the candidate is right, S the log-likelihood it "
    "was ranked by, P the start of its result (as UTF-8, bytes that are not UTF-8 as U+FFFD). O "
    "are the options of method M that give the result, with -d where D is true: {\"shift\": 3}, "
    "{\"shift\": 3, \"full\": true}, {\"key\": \"LEMON\"}, {\"from\": \"...\", \"to\": "
    "\"...\"}, {\"xor\": 32}, {\"bits\": 7}. The note is there only when the answer is unsure "
    "(\"too short to be sure\", or another reason). A candidate that stands for the same "
    "result in several languages is one, with \"alsoLanguages\": [L, ...] after its "
    "\"language\", and the confidences of a list sum to 1 at most. With --explain, crack adds "
    "\"evidence\".";

// Adds the subcommands crack and identify to `app`, their options landing
// in `options`.
void addAnalysis(CLI::App& app, AnalysisOptions& options);

// Whether `name` is one of those subcommands.
bool isAnalysis(std::string_view name);

// Their usage lines after "zembrax-cli ".
std::string analysisUsage(std::string_view name);

// Their options by long name, each with whether it takes a value.
std::vector<std::pair<std::string, bool>> analysisOptionNames(std::string_view name);

// The request that subcommand `name` makes of `options`, or what is wrong
// with them.
std::variant<AnalysisRequest, std::string> analysisRequest(std::string_view name,
                                                           const AnalysisOptions& options);

#endif  // ZEMBRAX_CLI_ANALYSISCOMMAND_H_
