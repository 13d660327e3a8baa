#ifndef ZEMBRAX_APP_ANALYSIS_ANALYSISFORM_H_
#define ZEMBRAX_APP_ANALYSIS_ANALYSISFORM_H_

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <optional>
#include <vector>

#include "LetterChart.h"
#include "PeriodChart.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The analysis window beside the main window: the keys that "Find key"
// found, or the chains that "What is this?" named, ranked, with the
// library's note, a busy bar and Cancel while it works, and room for the
// charts of its evidence. It is not modal; the main window fills it and
// applies what is chosen.
class TanalysisForm : public QWidget {
  Q_OBJECT

 public:
  explicit TanalysisForm(QWidget* parent = nullptr);

  // A candidate as the list shows it.
  struct Row {
    QString key;  // the key, or the chain of steps
    QString language;
    int percent;  // the confidence shown
    QString preview;
  };

  // Saves its size and place for the next run.
  ~TanalysisForm() override;

  // Empties the list and the charts and says what is being worked out;
  // `keyHeading` heads the first column ("Key" or "Steps").
  void showWorking(const QString& title, const QString& keyHeading);
  // The line above the list, which says what it shows.
  void setHeading(const QString& heading);
  QString heading() const;
  // Greys the list and the charts out, with `line` above them saying why,
  // and turns Apply off; an empty line shows them as current again.
  void setStale(const QString& line);
  // Gives the list the focus, in front.
  void focusList();
  // Shows or hides the busy bar and Cancel.
  void setBusy(bool busy);
  bool isBusy() const;
  // Fills the list, best first, and chooses the first row.
  void showCandidates(const std::vector<Row>& rows);
  // The library's note, or what was done; empty hides it.
  void showNote(const QString& note);
  QString note() const;

  // The text the user knows stands in the answer (a crib), which the next
  // search is given; empty for none.
  QString knownText() const;

  // The row chosen in the list, or -1 for none.
  int chosenRow() const;
  void chooseRow(int row);
  int rowCount() const;

  // The charts of the evidence, below the list: the letter frequencies
  // `letters`, and where `byPeriod` holds the index of coincidence of every
  // period, those with period `chosen` marked beside the levels
  // `references`. No letters hide both, no periods the period chart.
  void showCharts(std::vector<LetterSeries> letters, std::vector<double> byPeriod,
                  std::size_t chosen, std::vector<ReferenceLevel> references);
  // Draws the charts' text at `percent` of the font, as the boxes zoom.
  void setChartZoom(int percent);

  // Shows the window without taking the focus from the main window: the
  // first time where it was last run, or else where it hides least of it.
  void present();

  // The least size that the window is put in.
  static constexpr QSize kLeastSize{300, 240};

 signals:
  // Apply (or Enter or a double click on a row) asks for row `row`.
  void applyRequested(int row);
  // Cancel, Escape or closing the window asks to stop the work.
  void cancelRequested();
  // The known text was edited: the answers on screen were found without it.
  void knownTextEdited();

 protected:
  // Closing the window stops the work it waits for.
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Puts the window where it hides none of `main`, moving `main` to a
  // corner of the screen where that makes room.
  void placeBeside(QWidget& main);
  void rememberGeometry() const;

  bool placed = false;
  QLabel* title;
  QLabel* staleLabel;
  QProgressBar* busyBar;
  QPushButton* cancelBut;
  QTreeWidget* candidateList;
  QLabel* noteLabel;
  QLineEdit* knownTextBox;
  QPushButton* applyBut;
  QWidget* charts;
  LetterChart* letterChart;
  PeriodChart* periodChart;
};

// Where a window of `wanted` size, and at least `least`, goes in `room` (a
// screen's free area) so that it hides nothing of `main`, `gap` apart: right
// or left of it, whichever side has more room, else below or above it,
// shrunk to the room there. None where no side has room for `least`.
std::optional<QRect> placeBeside(const QRect& room, const QRect& main, QSize wanted, QSize least,
                                 int gap);

#endif  // ZEMBRAX_APP_ANALYSIS_ANALYSISFORM_H_
