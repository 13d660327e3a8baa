#ifndef ZEMBRAX_CLI_ANALYSIS_H_
#define ZEMBRAX_CLI_ANALYSIS_H_

#include <optional>
#include <string>
#include <vector>

#include "analysis/Crack.h"

// What `zembrax-cli crack` and `zembrax-cli identify` are asked for.
struct AnalysisRequest {
  // The cipher to break; none to say what the text is.
  std::optional<analysis::Cipher> cipher;
  analysis::CrackSettings settings;
  bool json = false;
  bool apply = false;    // write the best candidate's result instead of the ranking
  bool explain = false;  // show the evidence too
  std::vector<std::string> inputs;
  std::optional<std::string> output;  // the standard output when empty
  bool progress = false;
};

// Cracks or identifies the inputs and writes the ranking (or, asked to
// apply, the best candidate's result) to the output. Returns the exit
// status: 0; 1 for no input, a text without what the method needs, or a
// file that cannot be read or written, after one line on the standard error.
int analyse(const AnalysisRequest& request);

#endif  // ZEMBRAX_CLI_ANALYSIS_H_
