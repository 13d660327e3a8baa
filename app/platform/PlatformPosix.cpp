#include <QCoreApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Platform.h"

namespace platform {

QStringList commandLine(int argc, char* argv[]) {
  QStringList words;
  for (int i = 0; i < argc; ++i)
    words << QString::fromLocal8Bit(argv[i]);
  return words;
}

// QSettings' own choice on these systems: ~/.config/Zembrax/Zembrax.conf.
void chooseSettingsLocation() {}

std::optional<FileRefusal> openRegularFile(const QString& path, QFile& file) {
  // Opened without waiting, so that a FIFO or a device is found out, not
  // waited on.
  const int descriptor =
      ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat status {};
  if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
    const int error = errno;
    if (descriptor >= 0) ::close(descriptor);
    return FileRefusal{"read", QString::fromLocal8Bit(std::strerror(error))};
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return FileRefusal{"open",
                       QCoreApplication::translate("TmainForm", "it is not a regular file")};
  }
  if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return FileRefusal{"read", file.errorString()};
  }
  return std::nullopt;
}

}  // namespace platform
