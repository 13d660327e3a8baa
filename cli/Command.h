#ifndef ZEMBRAX_CLI_COMMAND_H_
#define ZEMBRAX_CLI_COMMAND_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Analysis.h"
#include "stream/StreamCoder.h"

// What a command line asks for: a coder, the files to read ("-" for the
// standard input) and where the result goes.
struct Request {
  std::function<std::unique_ptr<StreamCoder>()> coder;
  std::vector<std::string> inputs;
  std::optional<std::string> output;  // the standard output when empty
  bool progress = false;
  // What to say on the standard error when the input held bytes and the
  // result none (a decoder that found nothing to decode); empty for nothing.
  std::string emptyNote;
  // The input, already read, in place of `inputs`; null to read them.
  std::shared_ptr<const std::string> held;
};

// Reads the command line. Either a request to code, one to crack or
// identify, or the exit status after it printed help, the version or a
// usage error.
std::variant<Request, AnalysisRequest, int> readCommandLine(int argc, const char* const* argv);

#endif  // ZEMBRAX_CLI_COMMAND_H_
