#ifndef ZEMBRAX_APP_ANALYSIS_LETTERCHART_H_
#define ZEMBRAX_APP_ANALYSIS_LETTERCHART_H_

#include <QString>

#include <array>
#include <vector>

#include "ChartWidget.h"
#include "analysis/Language.h"

// One row of letter frequencies: how much of its letters each of A-Z makes
// up. The shares sum to 1, or are all 0 for a text without letters.
struct LetterSeries {
  QString name;  // what the legend and the table call it ("Input", "English")
  std::array<double, 26> share;
};

// A bar chart of the frequencies of the letters A-Z: for each letter the
// bars of up to three series side by side, in the order given, each series
// in a fill of its own (solid dark, hatched, solid light) named in the
// legend, so that they differ without colour. The scale is in percent and
// always reaches the tallest bar.
class LetterChart : public ChartWidget {
  Q_OBJECT

 public:
  // The most series drawn; more are left out of the chart and its table.
  static constexpr std::size_t kMostSeries = 3;

  explicit LetterChart(QWidget* parent = nullptr);

  // Shows `series`, e.g. the input's (Evidence::inputLetters), the language
  // found (LanguageModel::letterFrequencies) and the decryption's
  // (Evidence::outputLetters). None draws an empty chart.
  void setSeries(std::vector<LetterSeries> series);
  const std::vector<LetterSeries>& series() const { return shown; }

  // Where the bar of `series` (below series().size()) for `letter` (0 = A,
  // below 26) stands now, in widget coordinates.
  QRectF barRect(std::size_t letter, std::size_t series) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The fill of series `series` (0 up).
  QBrush seriesFill(std::size_t series) const;

  std::vector<LetterSeries> shown;
};

// The letter frequencies of `language`, named for it ("English").
LetterSeries languageLetters(analysis::Language language);

// The chart's values as a table of plain text for screen readers: a title
// line, a header line naming the columns, then one line per letter with
// each series' share in percent, e.g. "A: 8.2, 8.5".
QString letterTable(const std::vector<LetterSeries>& series);

#endif  // ZEMBRAX_APP_ANALYSIS_LETTERCHART_H_
