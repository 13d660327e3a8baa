#ifndef ZEMBRAX_APP_VCL_H_
#define ZEMBRAX_APP_VCL_H_

// The few services of a Windows component library that the windows rely on:
// its error classes and their display, the string-to-integer conversion, and
// the conversion of box texts to and from the ANSI code page (Windows-1252).

#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

class QWidget;

// The library's error class: whatever escapes an event handler is shown to the
// user by `showException`, and the program goes on.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised by `StrToInt` for a text that is not an integer.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Reads a signed 32-bit decimal integer: an optional sign and digits, nothing
// else. Nothing for any other text, a lone sign and numbers out of range
// included.
std::optional<std::int32_t> parseInteger(const QString& text);

// `parseInteger`, throwing EConvertError where it gives nothing.
std::int32_t StrToInt(const QString& text);

// Shows `error`'s message in a modal message box over the active window.
void showException(const std::exception& error);

// Runs an event handler the way the library delivers events: an error that
// escapes it is shown by `showException` and goes no further, so it never
// crosses Qt's event loop.
template <typename Handler>
void deliverEvent(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    showException(error);
  }
}

// The bytes of a box text in Windows-1252. A character the code page cannot
// hold becomes '?', and every line break becomes CR LF.
std::string toAnsi(const QString& text);

// A Windows-1252 text for a box. CR LF, and a lone CR or LF, each show as one
// line break.
QString fromAnsi(std::string_view bytes);

// Bytes as a paste brings them into a box: up to the first zero byte, with
// every line break (CR LF, a lone CR or a lone LF) as CR LF.
std::string pastedBytes(std::string_view bytes);

// The character of one Windows-1252 byte.
QChar ansiChar(unsigned char byte);

// True when there is a screen to open windows on. Where windows go through
// X or Wayland, that takes a display or a platform named in QT_QPA_PLATFORM;
// without one, says in one line on the error output how to start `program`
// on a virtual display.
bool hasDisplay(const char* program);

// Centres a top-level window on the screen it is on.
void centreOnScreen(QWidget& window);

#endif  // ZEMBRAX_APP_VCL_H_
