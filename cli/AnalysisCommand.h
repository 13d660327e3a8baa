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
  std::vector<std::string> inputs;
  std::string output;
  bool progress = false;
};

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
