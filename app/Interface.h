#ifndef ZEMBRAX_APP_INTERFACE_H_
#define ZEMBRAX_APP_INTERFACE_H_

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"

namespace Ui {
class TmainForm;
}

// Which button asked for the work: Encrypt or Decrypt.
enum class Direction { encode, decode };

// The main window: input and output boxes, a page of options for each of the
// nine methods, and the Encrypt, Decrypt and About buttons.
class TmainForm : public QWidget {
  Q_OBJECT

 public:
  explicit TmainForm(QWidget* parent = nullptr);
  ~TmainForm() override;

  // Checks that the input box, and any field page `pageIndex` needs, is
  // filled in, runs the page's method in `direction` on the input and shows
  // the result (up to its first zero byte) in the output box. Incomplete
  // input shows "Insufficient input..." instead.
  void processInput(Direction direction, int pageIndex);

  void encodeButClick();
  void decodeButClick();
  void optionPaginaChange();
  void RadioButton1Click();
  void RadioButton2Click();
  void aboutButClick();

 private:
  // The result of page `pageIndex`'s method, or nothing when no option of
  // the page selects one.
  std::optional<std::string> runMethod(Direction direction, int pageIndex, std::string text);

  std::unique_ptr<Ui::TmainForm> ui;
  ClassicCoder classicCoder;
  CharCoder charCoder;
  SignalCoder signalCoder;
};

extern TmainForm* mainForm;

#endif  // ZEMBRAX_APP_INTERFACE_H_
