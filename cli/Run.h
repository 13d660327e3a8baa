#ifndef ZEMBRAX_CLI_RUN_H_
#define ZEMBRAX_CLI_RUN_H_

#include "Command.h"

// Codes the inputs of `request`, one after another and a piece at a time,
// to its output. Returns the exit status: 0, or 1 after saying on the
// standard error what failed. An output file is replaced only once all went
// well; until then the result goes to a temporary file beside it (see
// Output.h for devices, FIFOs, sockets, symlinks and files not to be written).
int run(const Request& request);

#endif  // ZEMBRAX_CLI_RUN_H_
