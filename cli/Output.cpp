#include "Output.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

namespace {

// Waits until `fd`, which is non-blocking, is ready for `events` (POLLIN or
// POLLOUT); a failure is said as doing `name`.
void waitUntilReady(int fd, short events, const char* doing, const std::string& name) {
  pollfd ready{fd, events, 0};
  while (::poll(&ready, 1, -1) < 0) {
    if (errno != EINTR) throw Failure(doing, name, errno);
  }
}

// The temporary file of the output, removed if the run is stopped by a
// signal. Its name is complete before the handlers that read it are in
// place, and it changes only while those signals wait.
char temporaryPath[PATH_MAX];

// The signals that stop a run. Each removes the temporary file first,
// unless it was ignored when the run began (nohup): then it stays ignored.
constexpr std::array kStopSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

extern "C" void removeTemporaryAndStop(int signal) {
  if (temporaryPath[0] != '\0') ::unlink(temporaryPath);
  // The handler was reset to the default, which stops the run once this
  // returns and the signal is no longer blocked.
  ::raise(signal);
}

// Holds back the stop signals for its lifetime.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kStopSignals)
      sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &before);
  }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
  ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &before, nullptr); }

 private:
  sigset_t before;
};

void removeTemporaryOnStopSignals() {
  struct sigaction action {};
  action.sa_handler = removeTemporaryAndStop;
  sigfillset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (int signal : kStopSignals) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
      ::sigaction(signal, &action, nullptr);
  }
}

// "dir/" of "dir/name", "" of "name".
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The folder as a user names it: "dir" for "dir/", "." for "".
std::string shownFolder(const std::string& folder) {
  if (folder.empty()) return ".";
  return folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
}

// The file that writing `path` lands on: the path with the symlinks at its
// end followed, each relative to the folder it is in.
std::string followLinks(const std::string& path) {
  std::string landing = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(landing.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return landing;
    std::array<char, PATH_MAX> link;
    const ssize_t length = ::readlink(landing.c_str(), link.data(), link.size());
    if (length < 0) throw Failure("write", path, errno);
    if (static_cast<std::size_t>(length) == link.size()) throw Failure("write", path, ENAMETOOLONG);
    const std::string next(link.data(), static_cast<std::size_t>(length));
    landing = next.front() == '/' ? next : folderOf(landing) + next;
  }
  throw Failure("write", path, ELOOP);
}

// 0 if this process may write `path`, or why not. The kernel answers for
// everyone but root, who may write anything: root is held back by a file
// without any write bit, which someone marked as not to be changed.
int whyNotWritable(const std::string& path, int access) {
  if (::faccessat(AT_FDCWD, path.c_str(), access, AT_EACCESS) != 0) return errno;
  struct stat status {};
  if (::geteuid() == 0 && ::stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) == 0)
    return EACCES;
  return 0;
}

// Opens a device, a FIFO or a socket to write into.
int openInPlace(const std::string& path, const struct stat& status, const std::string& shown) {
  if (!S_ISSOCK(status.st_mode)) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw Failure("write", shown, errno);
    return fd;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) throw Failure("write", shown, ENAMETOOLONG);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw Failure("write", shown, errno);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    throw Failure("write", shown, error);
  }
  return fd;
}

}  // namespace

int openToRead(const std::string& name) {
  return ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
}

std::size_t readSome(int fd, char* into, std::size_t size, const std::string& name) {
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      waitUntilReady(fd, POLLIN, "read", name);
    } else if (errno != EINTR) {
      throw Failure("read", name, errno);
    }
  }
}

Output::Output(const std::optional<std::string>& path) : fd(STDOUT_FILENO) {
  if (!path) return;
  target = *path;
  landing = followLinks(target);
  struct stat old {};
  const bool exists = ::stat(landing.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) throw Failure("write", target, errno);
  if (exists && S_ISDIR(old.st_mode)) throw Failure("write", target, EISDIR);
  if (exists) {
    if (const int error = whyNotWritable(landing, W_OK)) throw Failure("write", target, error);
    if (!S_ISREG(old.st_mode)) {
      fd = openInPlace(landing, old, target);
      return;
    }
  }
  folder = folderOf(landing);
  if (const int error = whyNotWritable(folder.empty() ? "." : folder, W_OK | X_OK)) {
    // A missing folder is said of the file, as for any other program.
    if (error == ENOENT) throw Failure("write", target, error);
    throw Failure("write in", shownFolder(folder), error);
  }
  createTemporary(landing, exists ? &old : nullptr);
}

void Output::createTemporary(const std::string& file, const struct stat* old) {
  const std::string pattern = folder + "." + file.substr(folder.size()) + ".zembrax-XXXXXX";
  std::array<char, sizeof temporaryPath> name{};
  if (pattern.size() >= name.size()) throw Failure("write", target, ENAMETOOLONG);
  std::memcpy(name.data(), pattern.c_str(), pattern.size() + 1);
  {
    const SignalsHeld held;
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
      fd = STDOUT_FILENO;
      throw Failure("write", target, errno);
    }
    std::memcpy(temporaryPath, name.data(), name.size());
    removeTemporaryOnStopSignals();
  }
  replacing = true;
  // The new file gets the old one's permission bits (set-id bits, which
  // would hand the new content the old one's rights, are dropped), owner and
  // group, or those of any new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const bool keepOwner = old != nullptr && ::geteuid() == 0;
  if ((keepOwner && ::fchown(fd, old->st_uid, old->st_gid) != 0) ||
      ::fchmod(fd, old != nullptr ? old->st_mode & 0777 : 0666 & ~mask) != 0) {
    const int error = errno;
    discardTemporary();
    throw Failure("write", target, error);
  }
}

void Output::discardTemporary() {
  if (fd != STDOUT_FILENO) ::close(fd);
  fd = STDOUT_FILENO;
  const SignalsHeld held;
  ::unlink(temporaryPath);
  temporaryPath[0] = '\0';
  replacing = false;
}

Output::~Output() {
  if (replacing) {
    discardTemporary();
  } else if (fd != STDOUT_FILENO) {
    ::close(fd);
  }
}

void Output::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      waitUntilReady(fd, POLLOUT, "write", shownName());
      continue;
    }
    if (wrote < 0) throw Failure("write", shownName(), errno);
    bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
}

void Output::commit() {
  if (target.empty()) return;
  if (!replacing) {
    const int closed = ::close(fd);
    fd = STDOUT_FILENO;
    if (closed != 0) throw Failure("write", target, errno);
    return;
  }
  int error = ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  fd = STDOUT_FILENO;
  if (error != 0) throw Failure("write", target, error);
  {
    const SignalsHeld held;
    if (::rename(temporaryPath, landing.c_str()) != 0) throw Failure("write", target, errno);
    temporaryPath[0] = '\0';
  }
  replacing = false;
  // The rename is lasting only once the folder is on disk too. (Some file
  // systems cannot sync a folder and say EINVAL: there is nothing to wait for.)
  const int folderFd =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) throw Failure("write", target, errno);
  const int synced = ::fsync(folderFd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(folderFd);
  if (synced != 0) throw Failure("write", target, synced);
}
