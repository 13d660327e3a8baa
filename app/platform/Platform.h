#ifndef ZEMBRAX_APP_PLATFORM_PLATFORM_H_
#define ZEMBRAX_APP_PLATFORM_PLATFORM_H_

#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

// What the window does differently on POSIX systems and on Windows; the rest
// of the program is the same code on both.
namespace platform {

// The command line's words as text: on POSIX systems the bytes of `argv` in
// the locale's encoding, on Windows the UTF-16 command line itself, so that
// names in any script arrive whole.
QStringList commandLine(int argc, char* argv[]);

// Puts the settings where the system keeps a user's settings for a program:
// on Windows in an INI file in the roaming AppData folder rather than the
// registry, so that the same file format serves everywhere and tests can
// move it into a folder of their own.
void chooseSettingsLocation();

// Why a file was not opened: "read" or "open" (for "Cannot %1 ...") and the
// reason.
struct FileRefusal {
  const char* doing;
  QString reason;
};

// Opens `path` into `file` for reading if it is a regular file, without
// waiting on a FIFO or a device.
std::optional<FileRefusal> openRegularFile(const QString& path, QFile& file);

}  // namespace platform

#endif  // ZEMBRAX_APP_PLATFORM_PLATFORM_H_
