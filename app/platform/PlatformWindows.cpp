#include <QCoreApplication>
#include <QSettings>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include "Platform.h"

namespace platform {

QStringList commandLine(int argc, char* argv[]) {
  QStringList words;
  // The program's own command line comes as UTF-16; words that it was not
  // given (`argv` is not the C runtime's) are in the ANSI code page.
  if (argv != __argv) {
    for (int i = 0; i < argc; ++i)
      words << QString::fromLocal8Bit(argv[i]);
    return words;
  }
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return words;
  for (int i = 0; i < count; ++i)
    words << QString::fromWCharArray(arguments[i]);
  LocalFree(arguments);
  return words;
}

void chooseSettingsLocation() {
  QSettings::setDefaultFormat(QSettings::IniFormat);
}

std::optional<FileRefusal> openRegularFile(const QString& path, QFile& file) {
  // Others may go on reading, writing, renaming or deleting the file while it
  // is read, as with a file opened on POSIX systems.
  const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FileRefusal{"read", qt_error_string()};
  // A console, a printer port, NUL or a pipe is no file on a disk, and a
  // folder (which backup semantics open) holds no bytes of its own.
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(handle);
    return FileRefusal{"open",
                       QCoreApplication::translate("TmainForm", "it is not a regular file")};
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return FileRefusal{"read", qt_error_string()};
  }
  if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    _close(descriptor);
    return FileRefusal{"read", file.errorString()};
  }
  return std::nullopt;
}

}  // namespace platform
