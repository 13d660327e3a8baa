#ifndef ZEMBRAX_APP_INTERFACE_H_
#define ZEMBRAX_APP_INTERFACE_H_

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "BoxText.h"
#include "MethodPages.h"
#include "Methods.h"
#include "Text.h"
#include "analysis/AnalysisJob.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class AnalysisController;

namespace Ui {
class TmainForm;
}

// The main window: input and output boxes, a page of options for each of the
// nine methods and one for the registry's further methods, and the Encrypt,
// Decrypt and About buttons.
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

  // Loads the bytes of the file at `path`, up to a zero byte, into the input
  // box in place of its text, with the line breaks they have; UTF-8 text is
  // read in the boxes' encoding. A file that cannot be read, or one over
  // kLargestFile, is refused with a message and changes nothing.
  bool openFile(const QString& path);
  // Writes the whole last result, zero bytes included, to the file at
  // `path`, replacing it only once all is written.
  bool saveResult(const QString& path);

  // Asks for a file to open (`saving` false) or to save to; empty for none.
  using FileChooser = std::function<QString(bool saving)>;
  void setFileChooser(FileChooser chooser) { chooseFile = std::move(chooser); }

  // The encoding both boxes read their bytes in, and the option boxes are
  // read in when a method runs. Changing it shows the same bytes anew.
  text::Encoding encoding() const { return textEncoding; }
  void setEncoding(text::Encoding encoding);
  // The encoding chosen in the boxes' menus in an earlier run, if any.
  static std::optional<text::Encoding> savedEncoding();

  // The line break that typing and pasting give from now on, as chosen
  // under "Line breaks" in the boxes' menus; the boxes' bytes keep theirs.
  LineBreak lineBreak() const;
  void setLineBreak(LineBreak lineBreak);
  // The line break chosen in the boxes' menus in an earlier run, if any.
  static std::optional<LineBreak> savedLineBreak();

  // Larger files belong to zembrax-cli.
  static constexpr qint64 kLargestFile = qint64{256} << 20;

  void encodeButClick();
  void decodeButClick();
  void optionPaginaChange();
  void RadioButton1Click();
  void RadioButton2Click();
  void aboutButClick();

  // "Find key": cracks the input, off the GUI thread, with the method of the
  // page shown (or, on the page of methods without keys, tries each setting
  // of the method chosen), then puts the best key into the page's controls
  // and its decryption into the output box; the analysis window lists the
  // runners-up. An empty input shows "Insufficient input..." instead.
  void findKeyClick();
  // "What is this?": names, off the GUI thread, the chains of methods that
  // make the input read as language, ranked, in the analysis window; `why`
  // goes under them.
  void whatIsThisClick(const QString& why = {});
  // Whether an analysis is running.
  bool analysisRunning() const;
  // Moves the whole result, zero bytes and all, into the input box as one
  // edit that Undo takes back.
  void useResultAsInput();

 private:
  // The row of the table of pages for `page`, and what its functions read
  // and write.
  const pages::MethodPage* rowOf(const QWidget* page) const;
  pages::Controls pageControls();
  // Enables Encrypt, Decrypt and Find key as the page shown offers them.
  void offerButtons();
  // The Find key of the page shown; null where it has none.
  QPushButton* findKeyButton() const;

  // Shows `result` in the output box up to its first zero byte, and keeps
  // the rest for a saved result.
  void showResult(std::string result);

  // The analysis's buttons, menu entries and keys, and its window's links.
  void setUpAnalysis();
  // Puts a key found into its page's controls and shows its decryption.
  void applyKey(const analysis::Step& step);
  // Runs a chain on the input: the input box gets what its last step took,
  // the output box the result, and the last step's page shows with its
  // options set.
  void applyChain(const std::vector<analysis::Step>& steps);
  // Sets the options of the page that offers `method` to `options`, and
  // shows that page.
  void showOnPage(const methods::Method& method, const methods::Settings& options);
  // The text of `preview` bytes as a line of the list.
  QString previewText(std::string_view preview) const;
  // The input up to its first zero byte, as the coders read it, and its length.
  std::string inputText() const;
  std::size_t inputLength() const;

  // Scales both boxes' text to `percent` of the window's font.
  void zoomText(int percent);

  // The text of an option box in the encoding, with a notice where
  // characters were lost.
  std::string optionBytes(QLineEdit* box) const;

  // Shows that the file at `path` could not be read or written, and why.
  void refuseFile(const char* doing, const QString& path, const QString& reason);

  // Adds "Line breaks" to both boxes' menus, beside "Text encoding".
  void addLineBreakMenu();
  // Makes the note under the output box, hidden until it has to say
  // something.
  void addResultNote();
  // Says under the output box, where it makes room for a line, what the box
  // does not show of a result that `ran`: how many bytes it hides from a
  // zero byte on, or that the result is empty. Otherwise, or where nothing
  // ran, the note goes and the box takes its whole place again.
  void showResultNote(bool ran);
  // Gives the buttons and option controls tooltips that name their keys.
  void addTips();
  // Adds the keys to an option box's tooltip, and lets Enter there run
  // Encrypt (Decrypt where Encrypt is off).
  void setUpOptionBox(QWidget& box);
  // Enter and Space press the focused button, Enter in an option box runs
  // Encrypt (Decrypt where Encrypt is off), and Ctrl+Tab, Ctrl+PgDn and
  // their Shift and PgUp partners change pages.
  void addKeys();
  // Shows for a moment, beside `memo`, the text size it took.
  static void showZoom(QWidget* memo, int percent);

  std::unique_ptr<Ui::TmainForm> ui;
  // The last result from its first zero byte on, which the box does not
  // show but a saved result keeps.
  std::string hiddenResult;
  FileChooser chooseFile;
  text::Encoding textEncoding = text::Encoding::windows1252;
  QActionGroup* encodingChoices;
  QActionGroup* lineBreakChoices = nullptr;
  QLabel* resultNote = nullptr;
  QRect outputBox;            // the output box's whole place
  QString outputDescription;  // what assistive tools hear of it without a note
  // The analysis: its jobs and its window.
  AnalysisController* analysisControl;
  QAction* cancelKey;
  ClassicCoder classicCoder;
  CharCoder charCoder;
  SignalCoder signalCoder;
};

extern TmainForm* mainForm;

#endif  // ZEMBRAX_APP_INTERFACE_H_
