#ifndef ZEMBRAX_APP_ANALYSIS_ANALYSISFORM_H_
#define ZEMBRAX_APP_ANALYSIS_ANALYSISFORM_H_

#include <QString>
#include <QWidget>

#include <cstddef>
#include <vector>

#include "LetterChart.h"
#include "PeriodChart.h"

class QLabel;
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
    double confidence;  // in [0, 1]
    QString preview;
  };

  // Empties the list and says what is being worked out; `keyHeading` heads
  // the first column ("Key" or "Steps").
  void showWorking(const QString& title, const QString& keyHeading);
  // Shows or hides the busy bar and Cancel.
  void setBusy(bool busy);
  bool isBusy() const;
  // Fills the list, best first, and chooses the first row.
  void showCandidates(const std::vector<Row>& rows);
  // The library's note, or what was done; empty hides it.
  void showNote(const QString& note);
  QString note() const;

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

  // Shows the window in front of the main window without taking the focus
  // from it.
  void present();

 signals:
  // Apply (or Enter or a double click on a row) asks for row `row`.
  void applyRequested(int row);
  // Cancel, Escape or closing the window asks to stop the work.
  void cancelRequested();

 protected:
  // Closing the window stops the work it waits for.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Moves the window beside `main`, right of it or else left, where the
  // screen has room; elsewhere it stays where the system puts it.
  void placeBeside(const QWidget& main);

  bool placed = false;
  QLabel* title;
  QProgressBar* busyBar;
  QPushButton* cancelBut;
  QTreeWidget* candidateList;
  QLabel* noteLabel;
  QPushButton* applyBut;
  QWidget* charts;
  LetterChart* letterChart;
  PeriodChart* periodChart;
};

#endif  // ZEMBRAX_APP_ANALYSIS_ANALYSISFORM_H_
