#ifndef ZEMBRAX_CLI_OUTPUT_H_
#define ZEMBRAX_CLI_OUTPUT_H_

#include <sys/stat.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// A failure that ends the run, said as "cannot read 'x': reason".
class Failure : public std::runtime_error {
 public:
  Failure(const char* doing, const std::string& name, int error)
      : std::runtime_error(std::string("cannot ") + doing + " '" + name +
                           "': " + std::strerror(error)) {}
};

// Opens the file `name` to read, as a file descriptor; -1 with errno set
// where it cannot, EISDIR for a folder.
int openToRead(const std::string& name);

// Reads up to `size` bytes from `fd` into `into`, waiting where `fd` is
// non-blocking; 0 at the end. A failure is said of `name`.
std::size_t readSome(int fd, char* into, std::size_t size, const std::string& name);

// Where the result goes: the standard output, or the file named by -o.
//
// A regular file (or a new one) is written to a temporary file in its own
// folder, which takes its place once all went well; a symlink is followed
// to the file it names, and stays. The new file keeps the old one's
// permission bits and, for root, its owner and group. Anything else (a
// device, a FIFO, a socket) is written into in place. A target that may
// not be written, or a folder that the temporary file may not be added to,
// is refused; root too refuses one that has no write bit at all, the mark
// of a file that is meant to stay as it is.
class Output {
 public:
  explicit Output(const std::optional<std::string>& path);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output();

  void write(std::string_view bytes);

  // Puts the output file in place, whole, and makes its folder say so on disk.
  void commit();

 private:
  std::string shownName() const { return target.empty() ? "standard output" : target; }
#ifdef _WIN32
  void createTemporary();
#else
  void createTemporary(const std::string& landing, const struct stat* old);
#endif
  void discardTemporary();

  int fd;
  std::string target;   // as the user named it; empty for the standard output
  std::string folder;   // of the file a temporary file replaces, "" for the current one
  std::string landing;  // that file, symlinks followed
  bool replacing = false;
};

#endif  // ZEMBRAX_CLI_OUTPUT_H_
