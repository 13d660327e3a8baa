#include <clocale>
#include <variant>

#include "Command.h"
#include "Run.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>
#else
#include <csignal>

#include "Memory.h"
#endif

namespace {

int start(int argc, const char* const* argv) {
  // The locale's character set is the option texts' default encoding.
  std::setlocale(LC_CTYPE, "");
  const std::variant<Request, AnalysisRequest, int> command = readCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&command)) return *status;
  if (const auto* analysis = std::get_if<AnalysisRequest>(&command)) return analyse(*analysis);
  return run(std::get<Request>(command));
}

}  // namespace

#ifdef _WIN32

// Windows hands over the command line in UTF-16: as UTF-8, every name and
// option text arrives whole, whatever the ANSI code page.
int wmain(int argc, wchar_t* argv[]) {
  std::vector<std::string> arguments;
  std::vector<const char*> pointers;
  for (int i = 0; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string& argument = arguments.emplace_back(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, argument.data(), size, nullptr, nullptr);
    argument.resize(argument.size() - 1);  // the terminating zero
  }
  for (const std::string& argument : arguments)
    pointers.push_back(argument.c_str());
  pointers.push_back(nullptr);
  // The coded bytes pass as they are, with no CR added before LF or taken away.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  return start(argc, pointers.data());
}

#else

int main(int argc, char* argv[]) {
  prepareMemory();
  // A reader that stops early (| head) ends the program quietly.
  std::signal(SIGPIPE, SIG_DFL);
  // A file grown past the size limit fails the write (EFBIG) instead of
  // stopping the run, which then says so and leaves no temporary file.
  std::signal(SIGXFSZ, SIG_IGN);
  return start(argc, argv);
}

#endif
