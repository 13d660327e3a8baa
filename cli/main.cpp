#include <clocale>
#include <csignal>
#include <variant>

#include "Command.h"
#include "Run.h"

int main(int argc, char* argv[]) {
  // A reader that stops early (| head) ends the program quietly.
  std::signal(SIGPIPE, SIG_DFL);
  // A file grown past the size limit fails the write (EFBIG) instead of
  // stopping the run, which then says so and leaves no temporary file.
  std::signal(SIGXFSZ, SIG_IGN);
  // The locale's character set is the option texts' default encoding.
  std::setlocale(LC_CTYPE, "");
  const std::variant<Request, int> command = readCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&command)) return *status;
  return run(std::get<Request>(command));
}
