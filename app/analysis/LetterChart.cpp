#include "LetterChart.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr std::size_t kLetters = 26;

// How each series is filled, in order: by pattern and by shade, so that the
// series differ in grey and in print as well as on screen.
struct SeriesFill {
  Qt::BrushStyle pattern;
  QPalette::ColorRole shade;
};
constexpr std::array<SeriesFill, LetterChart::kMostSeries> kSeriesFills = {{
    {Qt::SolidPattern, QPalette::Text},
    {Qt::BDiagPattern, QPalette::Text},
    {Qt::SolidPattern, QPalette::Mid},
}};

QString letterAt(std::size_t letter) {
  return QChar(static_cast<char16_t>(u'A' + letter));
}

}  // namespace

LetterSeries languageLetters(analysis::Language language) {
  return {QString::fromUtf8(analysis::nameOf(language)),
          analysis::modelOf(language).letterFrequencies()};
}

QString letterTable(const std::vector<LetterSeries>& series) {
  QString table = QObject::tr("Letter frequencies in percent");
  if (series.empty()) return table + QObject::tr(": no letters.");
  table += QLatin1String(".\n") + QObject::tr("Letter");
  for (const LetterSeries& s : series)
    table += QLatin1String(", ") + s.name;
  for (std::size_t letter = 0; letter < kLetters; ++letter) {
    table += QLatin1Char('\n') + letterAt(letter) + QLatin1Char(':');
    for (std::size_t i = 0; i < series.size(); ++i)
      table += (i == 0 ? QLatin1String(" ") : QLatin1String(", ")) +
               chart::percent(series[i].share[letter]);
  }
  return table;
}

LetterChart::LetterChart(QWidget* parent) : ChartWidget(tr("Letter frequencies"), parent) {
  setSeries({});
}

void LetterChart::setSeries(std::vector<LetterSeries> series) {
  if (series.size() > kMostSeries) series.resize(kMostSeries);
  shown = std::move(series);
  double largest = 0;
  for (const LetterSeries& s : shown)
    largest = std::max(largest, chart::largestOf(s.share));
  std::vector<QString> letters;
  for (std::size_t letter = 0; letter < kLetters; ++letter)
    letters.push_back(letterAt(letter));
  std::vector<LegendEntry> legend;
  for (std::size_t i = 0; i < shown.size(); ++i)
    legend.push_back({shown[i].name, seriesFill(i)});
  setContent(chart::scaleFor(largest * 100), QStringLiteral(" %"), std::move(letters),
             std::move(legend), letterTable(shown));
}

QBrush LetterChart::seriesFill(std::size_t series) const {
  return fillOf(kSeriesFills[series].pattern, kSeriesFills[series].shade);
}

QRectF LetterChart::barRect(std::size_t letter, std::size_t series) const {
  const QRectF plot = plotArea();
  return ChartWidget::barRect(
      chart::barSpan(letter, kLetters, series, shown.size(), plot.left(), plot.width()),
      shown[series].share[letter] * 100);
}

void LetterChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintFrame(painter);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QBrush fill = seriesFill(i);
    for (std::size_t letter = 0; letter < kLetters; ++letter)
      paintBar(painter, barRect(letter, i), fill);
  }
}
