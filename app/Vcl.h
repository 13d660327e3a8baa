#ifndef ZEMBRAX_APP_VCL_H_
#define ZEMBRAX_APP_VCL_H_

// The few services of a Windows component library that the windows rely on:
// its error classes and their display, the string-to-integer conversion, and
// the conversion of box texts to and from the bytes of a text encoding.

#include <QPoint>
#include <QString>

#include <cstdint>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Text.h"

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

// Says in a message box over `parent` that there was not enough memory to
// do something (`doing`: "paste", "encrypt"), and that nothing changed.
void showOutOfMemory(QWidget* parent, const char* doing);

// Runs an event handler the way the library delivers events: an error that
// escapes it is shown by `showException` and goes no further, so it never
// crosses Qt's event loop. Running out of memory is said as that, with what
// the handler was `doing`.
template <typename Handler>
void deliverEvent(Handler&& handler, const char* doing = "go on") {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    showOutOfMemory(nullptr, doing);
  } catch (const std::exception& error) {
    showException(error);
  }
}

// The bytes of a box text in `encoding`: every line break becomes CR LF, and
// a character the encoding cannot hold becomes '?' and counts as lost.
text::Encoded toBytes(const QString& text, text::Encoding encoding);

// A box text of bytes in `encoding`. CR LF, and a lone CR or LF, each show as
// one line break; bytes that are no character show as U+FFFD.
QString fromBytes(std::string_view bytes, text::Encoding encoding);

// Bytes as a paste brings them into a box: up to the first zero byte, with
// every line break (CR LF, a lone CR or a lone LF) as CR LF.
std::string pastedBytes(std::string_view bytes);

// Says beside `widget`, at `where` in it, without holding anything up, that
// `lost` characters became '?' because `encoding` cannot hold them.
void showLossNotice(QWidget* widget, QPoint where, std::size_t lost, text::Encoding encoding);

// The words of that notice.
QString lossNotice(std::size_t lost, text::Encoding encoding);

// True when there is a screen to open windows on. Where windows go through
// X or Wayland, that takes a display or a platform named in QT_QPA_PLATFORM;
// without one, says in one line on the error output how to start `program`
// on a virtual display.
bool hasDisplay(const char* program);

// Centres a top-level window on the screen it is on.
void centreOnScreen(QWidget& window);

#endif  // ZEMBRAX_APP_VCL_H_
