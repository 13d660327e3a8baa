#include "Run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Output.h"

namespace {

// How much is read at a time: enough for the coders' wide kernels to run
// long, little enough that a piece and its coded form (2 MiB at most, for
// binary or Morse) stay in the caches.
constexpr std::size_t kPiece = 256 << 10;
// Over this, a file on a terminal shows progress unless told otherwise.
constexpr std::uint64_t kLongInput = 64 << 20;

struct Input {
  int fd;
  std::string name;
  std::optional<std::uint64_t> size;  // for regular files
};

// Opens every input before anything is written, so that a missing file
// ends the run before any output.
std::vector<Input> openInputs(const std::vector<std::string>& names) {
  std::vector<Input> inputs;
  for (const std::string& name : names) {
    const bool standard = name == "-";
    const int fd = standard ? STDIN_FILENO : openToRead(name);
    const std::string shown = standard ? "standard input" : name;
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) throw Failure("read", shown, errno);
    if (S_ISDIR(status.st_mode)) throw Failure("read", shown, EISDIR);
    inputs.push_back(
        {fd, shown,
         S_ISREG(status.st_mode) ? std::optional<std::uint64_t>(status.st_size) : std::nullopt});
  }
  return inputs;
}

// One line on the standard error that says how far the run is, redrawn at
// most ten times a second and erased at the end.
class Progress {
 public:
  Progress(bool shown, std::optional<std::uint64_t> total) : shown(shown), total(total) {}

  void advance(std::size_t bytes) {
    done += bytes;
    const Clock::time_point now = Clock::now();
    if (!shown || now - drawn < std::chrono::milliseconds(100)) return;
    drawn = now;
    const double seconds = std::chrono::duration<double>(now - start).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    char line[160];
    int length = std::snprintf(line, sizeof line, "\r%.1f MB", static_cast<double>(done) / 1e6);
    if (total && *total > 0) {
      const double left =
          rate > 0 ? static_cast<double>(*total - std::min(done, *total)) / rate : 0;
      length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                              " of %.1f MB (%.0f%%)", static_cast<double>(*total) / 1e6,
                              100.0 * static_cast<double>(done) / static_cast<double>(*total));
      length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                              ", %.0f MB/s, %.0f s left   ", rate / 1e6, left);
    } else {
      length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                              ", %.0f MB/s   ", rate / 1e6);
    }
    std::fputs(line, stderr);
    width = std::max(width, length);
  }

  ~Progress() {
    if (width > 0) std::fprintf(stderr, "\r%*s\r", width, "");
  }

 private:
  using Clock = std::chrono::steady_clock;
  const bool shown;
  const std::optional<std::uint64_t> total;
  std::uint64_t done = 0;
  int width = 0;
  const Clock::time_point start = Clock::now();
  Clock::time_point drawn = start;
};

void code(const Request& request) {
  // The output is made once every input is open, so that a missing file
  // ends the run before anything is written.
  std::optional<Output> output;
  const std::unique_ptr<StreamCoder> coder = request.coder();
  std::uint64_t read = 0;
  std::uint64_t written = 0;
  // One piece of memory goes round: read into, coded (in place where the
  // method allows), written out, and read into again.
  const auto take = [&](std::string& piece) {
    read += piece.size();
    piece = coder->feed(std::move(piece));
    output->write(piece);
    written += piece.size();
  };
  if (request.held) {
    output.emplace(request.output);
    for (std::size_t at = 0; at < request.held->size(); at += kPiece) {
      std::string piece = request.held->substr(at, kPiece);
      take(piece);
    }
  } else {
    readPieces(request.inputs, request.progress, take, [&] { output.emplace(request.output); });
  }
  const std::string last = coder->finish();
  output->write(last);
  output->commit();
  written += last.size();
  if (read > 0 && written == 0 && !request.emptyNote.empty())
    std::fprintf(stderr, "zembrax-cli: %s\n", request.emptyNote.c_str());
}

}  // namespace

void readPieces(const std::vector<std::string>& names, bool progress,
                const std::function<void(std::string& piece)>& take,
                const std::function<void()>& opened) {
  const std::vector<Input> inputs = openInputs(names);
  if (opened) opened();
  std::optional<std::uint64_t> total = 0;
  for (const Input& input : inputs)
    total = total && input.size ? std::optional(*total + *input.size) : std::nullopt;
  const bool longFile = total.value_or(0) > kLongInput;
  Progress shown(progress || (longFile && ::isatty(STDERR_FILENO)), total);
  // Read into memory left as it comes: a short input touches a page of it,
  // where a piece made ready to take a whole kPiece had all of it cleared.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kPiece);
  std::string piece;
  for (const Input& input : inputs) {
    for (;;) {
      const std::size_t got = readSome(input.fd, buffer.get(), kPiece, input.name);
      if (got == 0) break;
      piece.assign(buffer.get(), got);
      take(piece);
      shown.advance(got);
    }
    if (input.fd != STDIN_FILENO) ::close(input.fd);
  }
}

int reportFailures(const std::function<int()>& work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    std::fputs("zembrax-cli: out of memory\n", stderr);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zembrax-cli: %s\n", error.what());
  }
  return 1;
}

int run(const Request& request) {
  return reportFailures([&request] {
    code(request);
    return 0;
  });
}
