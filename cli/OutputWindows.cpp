// The output and the input files on Windows. Names arrive as UTF-8 and are
// opened by their UTF-16 form, so any name works whatever the ANSI code
// page; the standard input and output are binary (main sets them so).

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Output.h"

namespace {

// How a POSIX program would say a Windows error.
int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED:
      return EPIPE;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

std::wstring wideOf(const std::string& utf8) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

// "dir\" of "dir\name" or "dir/name", "" of "name".
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The temporary file of the output, for commit() to move into place. Until
// then Windows deletes it when its last handle closes, so a run that is
// stopped or fails leaves none.
std::wstring temporaryPath;

// Marks the open file to be deleted once closed, or no longer.
bool deleteOnClose(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleted ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// A file descriptor that owns `handle`, opened for writing.
int descriptorOf(HANDLE handle, const std::string& shown) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    throw Failure("write", shown, EMFILE);
  }
  return fd;
}

HANDLE handleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

int openToRead(const std::string& name) {
  const std::wstring wide = wideOf(name);
  const int fd = _wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  // Windows refuses to open a folder as a file, and says so as EACCES.
  const DWORD attributes = fd < 0 ? GetFileAttributesW(wide.c_str()) : 0;
  if (fd < 0 && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    errno = EISDIR;
  return fd;
}

std::size_t readSome(int fd, char* into, std::size_t size, const std::string& name) {
  const int got = _read(fd, into, static_cast<unsigned>(size));
  if (got < 0) throw Failure("read", name, errno);
  return static_cast<std::size_t>(got);
}

Output::Output(const std::optional<std::string>& path) : fd(_fileno(stdout)) {
  if (!path) return;
  target = *path;
  landing = target;
  const std::wstring wide = wideOf(target);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw Failure("write", target, EISDIR);
  // An existing target that may not be written is refused; one that is no
  // file on disk (NUL, a named pipe, a console) is written into in place.
  const HANDLE existing =
      CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) throw Failure("write", target, errnoOf(error));
  } else if (GetFileType(existing) != FILE_TYPE_DISK) {
    fd = descriptorOf(existing, target);
    return;
  } else {
    CloseHandle(existing);
  }
  folder = folderOf(landing);
  createTemporary();
}

void Output::createTemporary() {
  const std::string name = landing.substr(folder.size());
  // A name of its own: CREATE_NEW takes only one that is not there yet.
  const unsigned long long seed =
      GetTickCount64() ^ static_cast<unsigned long long>(GetCurrentProcessId()) << 20;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%06llx", (seed + attempt * 7919) & 0xFFFFFF);
    const std::wstring path = wideOf(folder + "." + name + ".zembrax-" + suffix);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS) continue;
      // A missing folder is said of the file, as for any other program.
      const int reason = errnoOf(error);
      if (reason == ENOENT) throw Failure("write", target, reason);
      throw Failure("write in", folder.empty() ? "." : folder.substr(0, folder.size() - 1), reason);
    }
    if (!deleteOnClose(file, true)) {
      const DWORD error = GetLastError();
      CloseHandle(file);
      DeleteFileW(path.c_str());
      throw Failure("write", target, errnoOf(error));
    }
    fd = descriptorOf(file, target);
    temporaryPath = path;
    replacing = true;
    return;
  }
  throw Failure("write", target, EEXIST);
}

void Output::discardTemporary() {
  // Closing the file deletes it.
  if (fd != _fileno(stdout)) _close(fd);
  fd = _fileno(stdout);
  temporaryPath.clear();
  replacing = false;
}

Output::~Output() {
  if (replacing) {
    discardTemporary();
  } else if (fd != _fileno(stdout)) {
    _close(fd);
  }
}

void Output::write(std::string_view bytes) {
  // WriteFile itself, as the C library's _write loses some of its errors.
  const HANDLE handle = handleOf(fd);
  while (!bytes.empty()) {
    const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(handle, bytes.data(), size, &wrote, nullptr)) {
      const int error = errnoOf(GetLastError());
      // A reader that stops early (| head) ends the run quietly, with the
      // status a POSIX shell shows for it.
      if (error == EPIPE && target.empty()) std::_Exit(128 + 13);
      throw Failure("write", shownName(), error);
    }
    bytes.remove_prefix(wrote);
  }
}

void Output::commit() {
  if (target.empty()) return;
  if (!replacing) {
    const int closed = _close(fd);
    fd = _fileno(stdout);
    if (closed != 0) throw Failure("write", target, errno);
    return;
  }
  const HANDLE file = handleOf(fd);
  if (!FlushFileBuffers(file) || !deleteOnClose(file, false))
    throw Failure("write", target, errnoOf(GetLastError()));
  // From here on the temporary file stays when closed: it is moved into
  // place, or removed here.
  const std::wstring temporary = temporaryPath;
  const int closed = _close(fd);
  const int closeError = errno;
  fd = _fileno(stdout);
  replacing = false;
  temporaryPath.clear();
  if (closed == 0 && MoveFileExW(temporary.c_str(), wideOf(landing).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return;
  const int error = closed != 0 ? closeError : errnoOf(GetLastError());
  DeleteFileW(temporary.c_str());
  throw Failure("write", target, error);
}
