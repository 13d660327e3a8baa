#ifndef ZEMBRAX_CLI_RUN_H_
#define ZEMBRAX_CLI_RUN_H_

#include <functional>
#include <string>
#include <vector>

#include "Command.h"

// Codes the inputs of `request`, one after another and a piece at a time,
// to its output. Returns the exit status: 0, or 1 after saying on the
// standard error what failed. An output file is replaced only once all went
// well; until then the result goes to a temporary file beside it (see
// Output.h for devices, FIFOs, sockets, symlinks and files not to be written).
int run(const Request& request);

// Reads the files named ("-" for the standard input), one after another, a
// piece at a time, handing each piece to `take`, which may take its bytes.
// `opened`, if given, is called once all are open, before the first piece.
// Progress is shown as `run` shows it. Throws Failure for a file that
// cannot be read.
void readPieces(const std::vector<std::string>& names, bool progress,
                const std::function<void(std::string& piece)>& take,
                const std::function<void()>& opened = {});

// Runs `work` and returns its exit status, or 1 after saying on the
// standard error what failed.
int reportFailures(const std::function<int()>& work);

#endif  // ZEMBRAX_CLI_RUN_H_
