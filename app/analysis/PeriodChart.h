#ifndef ZEMBRAX_APP_ANALYSIS_PERIODCHART_H_
#define ZEMBRAX_APP_ANALYSIS_PERIODCHART_H_

#include <QString>

#include <vector>

#include "ChartWidget.h"
#include "analysis/Language.h"

// A level to compare the indices with: a language's index of coincidence
// (analysis::coincidenceOf of its letter frequencies) or that of letters
// drawn evenly (1/26).
struct ReferenceLevel {
  QString name;  // "English", "Random letters"
  double level;
};

// A bar chart of the index of coincidence of a Vigenere text for every
// period from 1 up: the bar of the key length chosen is dark, the others
// light, the legend names the chosen period and the tooltip says why. Up to two reference levels
// run across as dashed and dotted lines. A key length shows as the first
// period whose bar reaches the language's level, and again at its multiples.
class PeriodChart : public ChartWidget {
  Q_OBJECT

 public:
  // The most reference levels drawn; more are left out.
  static constexpr std::size_t kMostReferences = 2;

  explicit PeriodChart(QWidget* parent = nullptr);

  // Shows the index of each period (Evidence::periodCoincidence, period 1
  // first) and marks period `chosen` (Evidence::period; 0 marks none).
  void setCoincidence(std::vector<double> byPeriod, std::size_t chosen);
  // Draws these levels across the chart (none by default); the scale grows
  // to take them in.
  void setReferences(std::vector<ReferenceLevel> references);

  const std::vector<double>& coincidence() const { return indices; }
  std::size_t chosen() const { return chosenPeriod; }

  // Where the bar of `period` (1 to coincidence().size()) stands now, in
  // widget coordinates.
  QRectF barRect(std::size_t period) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh();

  std::vector<double> indices;
  std::size_t chosenPeriod = 0;
  std::vector<ReferenceLevel> levels;
};

// The levels to compare a text in `language` with: the language's own index
// of coincidence, named for it, and that of random letters.
std::vector<ReferenceLevel> coincidenceReferences(analysis::Language language);

// Why period `chosen` was chosen, which the chart's tooltip says: it need
// not have the highest bar. Empty where none is chosen.
QString chosenReason(const std::vector<double>& byPeriod, std::size_t chosen);

// The chart's values as a table of plain text for screen readers: a title
// line, a header line, one line per period with its index ("3: 0.0661"),
// the chosen one followed by "(chosen)", one line per reference level, and
// the reason for the chosen period.
QString periodTable(const std::vector<double>& byPeriod, std::size_t chosen,
                    const std::vector<ReferenceLevel>& references);

#endif  // ZEMBRAX_APP_ANALYSIS_PERIODCHART_H_
