#include "MethodPages.h"

#include <array>
#include <utility>

#include "BoxText.h"
#include "MoreMethodsPage.h"
#include "StrToInt.h"
#include "analysis/Variants.h"
#include "char/CharCoder.h"
#include "ui_Interface.h"

namespace pages {

namespace {

using analysis::Cipher;
using methods::methodNamed;

// The Bitwise page's operations, a radio button each.
std::array<std::pair<QRadioButton*, const char*>, 3> operations(const Ui::TmainForm& ui) {
  return {{{ui.bitANDradio, "and"}, {ui.bitORradio, "or"}, {ui.bitXORradio, "xor"}}};
}

// The ASCII page's number bases, a radio button each, by their methods.
std::array<std::pair<QRadioButton*, const char*>, 3> bases(const Ui::TmainForm& ui) {
  return {{{ui.bitBinRadio, "binary"}, {ui.bitDecRadio, "decimal"}, {ui.bitHexRadio, "hex"}}};
}

const std::array<MethodPage, 10> kPages = {{
    {.page = "caesarPage",
     .read = [](const Controls& c) -> std::optional<Request> {
       if (!c.ui.shiftOpt1->isChecked() && !c.ui.shiftOpt2->isChecked()) return std::nullopt;
       return Request{
           &methodNamed("caesar"),
           {{"shift", c.ui.caesarShiftBox->value()}, {"full", !c.ui.shiftOpt1->isChecked()}}};
     },
     .write =
         [](const Controls& c, const methods::Method&, const methods::Settings& settings) {
           (methods::flagOf(settings, "full") ? c.ui.shiftOpt2 : c.ui.shiftOpt1)->setChecked(true);
           c.ui.caesarShiftBox->setValue(methods::integerOf(settings, "shift"));
         },
     .cipher =
         [](const Controls& c) {
           return c.ui.shiftOpt2->isChecked() ? Cipher::caesarFull : Cipher::caesar;
         },
     .findKeyButton = "caesarFindKeyBut"},
    {.page = "vigenerePage",
     .read = [](const Controls& c) -> std::optional<Request> {
       return Request{&methodNamed("vigenere"), {{"key", c.bytes(c.ui.vigenereKeyBox)}}};
     },
     .write =
         [](const Controls& c, const methods::Method&, const methods::Settings& settings) {
           c.ui.vigenereKeyBox->setText(fromBytes(methods::textOf(settings, "key"), c.encoding));
         },
     .missing = [](const Controls& c) { return c.ui.vigenereKeyBox->text().isEmpty(); },
     .cipher = [](const Controls&) { return Cipher::vigenere; },
     .findKeyButton = "vigenereFindKeyBut"},
    {.page = "base64Page"},
    {.page = "substPage",
     .read = [](const Controls& c) -> std::optional<Request> {
       return Request{&methodNamed("subst"),
                      {{"from", c.bytes(c.ui.substKey1Box)}, {"to", c.bytes(c.ui.substKey2Box)}}};
     },
     .write =
         [](const Controls& c, const methods::Method&, const methods::Settings& settings) {
           c.ui.substKey1Box->setText(fromBytes(methods::textOf(settings, "from"), c.encoding));
           c.ui.substKey2Box->setText(fromBytes(methods::textOf(settings, "to"), c.encoding));
         },
     .missing =
         [](const Controls& c) {
           return c.ui.substKey1Box->text().isEmpty() || c.ui.substKey2Box->text().isEmpty();
         },
     // Both buttons substitute the same way round.
     .oneWay = true,
     .cipher = [](const Controls&) { return Cipher::substitution; },
     .findKeyButton = "substFindKeyBut"},
    {.page = "URLPage"},
    {.page = "bitManipPage",
     .read = [](const Controls& c) -> std::optional<Request> {
       for (const auto& [radio, operation] : operations(c.ui)) {
         if (radio->isChecked())
           return Request{&methodNamed("bitwise"), {{operation, StrToInt(c.ui.keyBox->text())}}};
       }
       return std::nullopt;
     },
     .write =
         [](const Controls& c, const methods::Method&, const methods::Settings& settings) {
           for (const auto& [radio, operation] : operations(c.ui)) {
             if (settings.empty() || settings.front().name != operation) continue;
             radio->setChecked(true);
             c.ui.keyBox->setValue(methods::integerOf(settings, operation));
           }
         },
     .missing = [](const Controls& c) { return c.ui.keyBox->text().isEmpty(); },
     .cipher = [](const Controls&) { return Cipher::bitwiseXor; },
     .findKeyButton = "bitFindKeyBut"},
    {.page = "asciiPage",
     .read = [](const Controls& c) -> std::optional<Request> {
       const std::int32_t width = c.ui.RadioButton1->isChecked() ? 8 : 7;
       for (const auto& [radio, base] : bases(c.ui)) {
         if (radio->isChecked()) return Request{&methodNamed(base), {{"bits", width}}};
       }
       return std::nullopt;
     },
     .write =
         [](const Controls& c, const methods::Method& method, const methods::Settings& settings) {
           for (const auto& [radio, base] : bases(c.ui)) {
             if (method.name == base) radio->setChecked(true);
           }
           const bool seven = methods::integerOf(settings, "bits", 8) == 7;
           (seven ? c.ui.RadioButton2 : c.ui.RadioButton1)->setChecked(true);
           c.chars.setBitWidth(seven ? 7 : 8);
         }},
    {.page = "morsePage"},
    {.page = "lsbPage"},
    {.page = "moreMethodsPage",
     .read = [](const Controls& c) -> std::optional<Request> {
       const methods::Method* method = c.ui.moreMethodsPage->method();
       if (method == nullptr) return std::nullopt;
       return Request{method, c.ui.moreMethodsPage->settings(c.bytes)};
     },
     .write =
         [](const Controls& c, const methods::Method& method, const methods::Settings& settings) {
           c.ui.moreMethodsPage->choose(method, settings, c.encoding);
         },
     .missing = [](const Controls& c) { return c.ui.moreMethodsPage->missing(); },
     // The method chosen in the list, where one is.
     .buttons =
         [](const Controls& c) {
           const methods::Method* method = c.ui.moreMethodsPage->method();
           return method == nullptr ? Buttons{}
                                    : Buttons{methods::encodes(*method), methods::decodes(*method)};
         },
     .searched = [](const Controls& c) -> const methods::Method* {
       const methods::Method* method = c.ui.moreMethodsPage->method();
       return method != nullptr && analysis::searchable(*method) ? method : nullptr;
     },
     .findKeyButton = "moreFindKeyBut"},
}};

}  // namespace

std::span<const MethodPage> all() {
  return kPages;
}

const MethodPage* named(std::string_view page) {
  for (const MethodPage& row : kPages) {
    if (row.page == page) return &row;
  }
  return nullptr;
}

std::optional<Request> read(const MethodPage& row, const Controls& controls) {
  if (row.read != nullptr) return row.read(controls);
  for (const methods::Method& method : methods::all()) {
    if (method.page == row.page) return Request{&method, {}};
  }
  return std::nullopt;
}

Buttons buttons(const MethodPage& row, const Controls& controls) {
  Buttons offered;
  if (row.buttons != nullptr) {
    offered = row.buttons(controls);
  } else {
    for (const methods::Method& method : methods::all()) {
      if (method.page != row.page) continue;
      offered.encrypt = offered.encrypt || methods::encodes(method);
      offered.decrypt = offered.decrypt || methods::decodes(method);
    }
  }
  offered.findKey =
      row.cipher != nullptr || (row.searched != nullptr && row.searched(controls) != nullptr);
  return offered;
}

}  // namespace pages
