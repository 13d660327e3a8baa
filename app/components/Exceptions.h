#ifndef ZEMBRAX_APP_COMPONENTS_EXCEPTIONS_H_
#define ZEMBRAX_APP_COMPONENTS_EXCEPTIONS_H_

// The component library's error classes and the message boxes that show
// them, and the way it delivers events: an error never crosses the event
// loop.

#include <new>
#include <stdexcept>

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

#endif  // ZEMBRAX_APP_COMPONENTS_EXCEPTIONS_H_
