#ifndef ZEMBRAX_APP_ANALYSIS_ANALYSISCONTROLLER_H_
#define ZEMBRAX_APP_ANALYSIS_ANALYSISCONTROLLER_H_

#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AnalysisForm.h"
#include "AnalysisJob.h"

// A step as the lists name it: "Caesar shift 3", "Vigenere key LUX", "XOR
// 90", "Base64".
QString stepText(const analysis::Step& step);
// A chain of steps as the lists name it: "Base64 → Caesar shift 3".
QString chainText(const std::vector<analysis::Step>& steps);
// A variant of a method's settings as Find key lists it: its step, and
// which button runs it where both ways are tried ("Keyboard shift
// (Decrypt)").
QString variantText(const analysis::Step& step);

// A candidate before the list merges it: the text of its key or steps, its
// languages best first, its confidence in [0, 1] and its preview.
struct Answer {
  QString key;
  std::vector<analysis::Language> languages;
  double confidence;
  QString preview;
};

// The list's rows for `answers`, best first: answers of the same key text
// decrypt to the same text and make one row, which lists their languages
// and adds up their confidences. Where the confidences add up to more than
// 1 they are scaled down to 1, and the percentages shown are rounded so
// that they add up to no more than 100. `sources` gets, for each row, the
// index of the first answer merged into it.
std::vector<TanalysisForm::Row> mergedRows(const std::vector<Answer>& answers,
                                           std::vector<std::size_t>& sources);

// What the analysis window shows, and which text it belongs to: the job
// running, the last answer with the cipher it was asked for, and whether
// the input, an option or the page changed since. A changed input greys the
// answer out and turns Apply off, so that an answer is never applied to a
// text it was not made for.
class AnalysisController : public QObject {
  Q_OBJECT

 public:
  // The text of a preview's bytes as a line of the list.
  using PreviewText = std::function<QString(std::string_view preview)>;

  // The analysis window opens beside `main`, the window it belongs to.
  AnalysisController(QWidget& main, PreviewText previewText);

  // Cracks the first `length` bytes of `source` with `cipher`, or names
  // what they are; `note` says why the latter, where the user asked for
  // Find key, and stays under the answer.
  void findKey(analysis::Cipher cipher, const std::string& source, std::size_t length);
  void whatIsThis(const std::string& source, std::size_t length, const QString& note = {});
  // Tries each variant of the settings of `method`, which takes no key, on
  // the first `length` bytes of `source`, and ranks them (see Variants.h).
  void findSettings(const methods::Method& method, const std::string& source, std::size_t length);
  // Stops the job running, if any: the window says "Cancelled".
  void cancel();
  // The input, an option or the page changed: a job running stops, and the
  // answer shown greys out. Nothing while a row is being applied.
  void inputChanged();
  // Shows an answer as a job gives it; a key found is applied at once.
  void showOutcome(const AnalysisOutcome& outcome);

  bool isRunning() const { return runner->isRunning(); }
  bool isStale() const { return stale; }
  // The analysis window, once made.
  TanalysisForm* form() const { return window; }
  // The line under the list, which says what was done.
  void showNote(const QString& note);
  void setChartZoom(int percent);
  // Moves the focus to the list, where the window is shown; false where not.
  bool focusList();

  static constexpr std::size_t kKeysListed = 8;
  static constexpr std::size_t kChainsListed = 5;

 signals:
  // Row chosen: a key of the cipher asked for, or a chain, to apply to the
  // input. Changes that applying a key makes leave the answer current.
  void keyChosen(const analysis::Step& step);
  void chainChosen(const std::vector<analysis::Step>& steps);
  void busyChanged(bool busy);
  void runningChanged(bool running);

 private:
  TanalysisForm& present();
  void start(AnalysisWork work, const QString& heading, const QString& keyHeading,
             const std::string& source, std::size_t length);
  void apply(int row);
  void showEvidence(analysis::Cipher cipher, const analysis::Report& report);
  bool findingKey() const { return asked || askedMethod != nullptr; }

  QWidget& main;
  PreviewText previewText;
  AnalysisRunner* runner;
  TanalysisForm* window = nullptr;
  // What the job running, or the answer shown, was asked for: the cipher
  // of Find key, or the method whose settings it tries; neither for What
  // is this?; and the note that goes with it.
  std::optional<analysis::Cipher> asked;
  const methods::Method* askedMethod = nullptr;
  QString askedNote;
  AnalysisOutcome answer;
  // Each row's first candidate in the answer.
  std::vector<std::size_t> rowSources;
  bool stale = false;
  bool applying = false;
  int zoom = 100;
};

#endif  // ZEMBRAX_APP_ANALYSIS_ANALYSISCONTROLLER_H_
