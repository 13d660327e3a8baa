#ifndef ZEMBRAX_APP_METHODPAGES_H_
#define ZEMBRAX_APP_METHODPAGES_H_

// How each page of the main window offers its methods, a row a page: how
// its controls are read into settings and set from them, which of its boxes
// must be filled in, which of Encrypt and Decrypt it offers, and what Find
// key cracks there. The window asks this table, never a page by name.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Methods.h"
#include "Text.h"
#include "analysis/Cracker.h"

class CharCoder;
class QLineEdit;
class QWidget;

namespace Ui {
class TmainForm;
}

namespace pages {

// A method of the registry, with the settings that a page's controls give.
struct Request {
  const methods::Method* method;
  methods::Settings settings;
};

// What a row reads and writes: the window's controls, the encoding that
// option boxes are read in, and the coder that keeps the ASCII page's bit
// width.
struct Controls {
  Ui::TmainForm& ui;
  text::Encoding encoding;
  // The bytes of an option box in that encoding, with a notice where
  // characters were lost.
  std::function<std::string(QLineEdit*)> bytes;
  CharCoder& chars;
};

// Which of Encrypt, Decrypt and Find key a page offers.
struct Buttons {
  bool encrypt = false;
  bool decrypt = false;
  bool findKey = false;
};

struct MethodPage {
  std::string_view page;  // its object name
  // The method that the controls choose, with their settings; none when no
  // option of the page selects one. Null for a page without options, which
  // offers the one method whose page it is.
  std::optional<Request> (*read)(const Controls& controls) = nullptr;
  // Sets the controls to a step of `method` with `settings`; null for a
  // page without options.
  void (*write)(const Controls& controls, const methods::Method& method,
                const methods::Settings& settings) = nullptr;
  // Whether a box that the page needs is empty; null where it needs none.
  bool (*missing)(const Controls& controls) = nullptr;
  // The buttons it enables; null for those of the ways that its methods
  // code.
  Buttons (*buttons)(const Controls& controls) = nullptr;
  // Both buttons run the method one way round.
  bool oneWay = false;
  // What Find key cracks there, and the object name of its button; none
  // where the page has no Find key.
  analysis::Cipher (*cipher)(const Controls& controls) = nullptr;
  // Or, on a page of methods without keys, the method whose settings Find
  // key tries: the one the controls choose, where the analysis can judge
  // its decoding; null for none.
  const methods::Method* (*searched)(const Controls& controls) = nullptr;
  const char* findKeyButton = nullptr;
};

// Every page, in the order of the window's tabs.
std::span<const MethodPage> all();

// The row of the page named `page`, or null.
const MethodPage* named(std::string_view page);

// The methods of `row` as its controls now read, and the buttons they take:
// Find key where the page has one and it has something to try.
std::optional<Request> read(const MethodPage& row, const Controls& controls);
Buttons buttons(const MethodPage& row, const Controls& controls);

}  // namespace pages

#endif  // ZEMBRAX_APP_METHODPAGES_H_
