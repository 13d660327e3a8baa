#include "PeriodChart.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

// An index of coincidence lies in 0..1 and is near 0.04 to 0.08 for
// letters; four decimals tell the periods of a text apart.
constexpr int kIndexDecimals = 4;

// The line patterns of the reference levels, in order.
constexpr std::array<Qt::PenStyle, PeriodChart::kMostReferences> kLevelLines = {Qt::DashLine,
                                                                                Qt::DotLine};

// The index of coincidence of letters drawn evenly from the alphabet.
constexpr double kRandomCoincidence = 1.0 / 26;

// The fills of the chosen period's bar and of the others: dark and light.
constexpr QPalette::ColorRole kChosenShade = QPalette::Text;
constexpr QPalette::ColorRole kOtherShade = QPalette::Mid;

QString index(double value) {
  return QString::number(value, 'f', kIndexDecimals);
}

}  // namespace

std::vector<ReferenceLevel> coincidenceReferences(analysis::Language language) {
  return {{QString::fromUtf8(analysis::nameOf(language)),
           analysis::coincidenceOf(analysis::modelOf(language).letterFrequencies())},
          {QObject::tr("Random letters"), kRandomCoincidence}};
}

QString chosenReason(const std::vector<double>& byPeriod, std::size_t chosen) {
  if (chosen < 1 || chosen > byPeriod.size()) return {};
  // The highest bar of another period, where one stands higher.
  std::size_t higher = 0;
  for (std::size_t p = 1; p <= byPeriod.size(); ++p)
    if (byPeriod[p - 1] > byPeriod[chosen - 1] &&
        (higher == 0 || byPeriod[p - 1] > byPeriod[higher - 1]))
      higher = p;
  const QString why = QObject::tr(
      "periods are ranked on how well their letter pairs read as the language, and a longer "
      "period pays a penalty for its extra key letters.");
  if (higher == 0) return QObject::tr("Period %1 was chosen: %2").arg(chosen).arg(why);
  return QObject::tr("Period %1 was chosen though %2 stands higher: %3")
      .arg(chosen)
      .arg(higher)
      .arg(why);
}

QString periodTable(const std::vector<double>& byPeriod, std::size_t chosen,
                    const std::vector<ReferenceLevel>& references) {
  QString table = QObject::tr("Index of coincidence by period");
  if (byPeriod.empty()) return table + QObject::tr(": no periods.");
  table += QLatin1String(".\n") + QObject::tr("Period, Index");
  for (std::size_t p = 1; p <= byPeriod.size(); ++p) {
    table += QLatin1Char('\n') + QString::number(p) + QLatin1String(": ") + index(byPeriod[p - 1]);
    if (p == chosen) table += QLatin1Char(' ') + QObject::tr("(chosen)");
  }
  for (const ReferenceLevel& reference : references)
    table += QLatin1Char('\n') + reference.name + QLatin1String(": ") + index(reference.level);
  const QString reason = chosenReason(byPeriod, chosen);
  if (!reason.isEmpty()) table += QLatin1Char('\n') + reason;
  return table;
}

PeriodChart::PeriodChart(QWidget* parent)
    : ChartWidget(tr("Index of coincidence by period"), parent) {
  refresh();
}

void PeriodChart::setCoincidence(std::vector<double> byPeriod, std::size_t chosen) {
  indices = std::move(byPeriod);
  chosenPeriod = chosen;
  refresh();
}

void PeriodChart::setReferences(std::vector<ReferenceLevel> references) {
  if (references.size() > kMostReferences) references.resize(kMostReferences);
  levels = std::move(references);
  refresh();
}

void PeriodChart::refresh() {
  double largest = chart::largestOf(indices);
  for (const ReferenceLevel& reference : levels)
    largest = std::max(largest, reference.level);
  std::vector<QString> periods;
  for (std::size_t p = 1; p <= indices.size(); ++p)
    periods.push_back(QString::number(p));
  std::vector<LegendEntry> legend;
  if (!indices.empty()) legend.push_back({tr("Index"), fillOf(Qt::SolidPattern, kOtherShade)});
  if (chosenPeriod >= 1 && chosenPeriod <= indices.size())
    legend.push_back(
        {tr("Chosen period: %1").arg(chosenPeriod), fillOf(Qt::SolidPattern, kChosenShade)});
  for (std::size_t i = 0; i < levels.size(); ++i)
    legend.push_back({levels[i].name, {}, kLevelLines[i]});
  setContent(chart::scaleFor(largest), {}, std::move(periods), std::move(legend),
             periodTable(indices, chosenPeriod, levels));
  setToolTip(chosenReason(indices, chosenPeriod));
}

QRectF PeriodChart::barRect(std::size_t period) const {
  const QRectF plot = plotArea();
  return ChartWidget::barRect(
      chart::barSpan(period - 1, indices.size(), 0, 1, plot.left(), plot.width()),
      indices[period - 1]);
}

void PeriodChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintFrame(painter);
  const QBrush chosen = fillOf(Qt::SolidPattern, kChosenShade);
  const QBrush other = fillOf(Qt::SolidPattern, kOtherShade);
  for (std::size_t p = 1; p <= indices.size(); ++p)
    paintBar(painter, barRect(p), p == chosenPeriod ? chosen : other);
  for (std::size_t i = 0; i < levels.size(); ++i)
    paintLevel(painter, levels[i].level, kLevelLines[i]);
  if (chosenPeriod < 1 || chosenPeriod > indices.size()) return;
  // The chosen period's number over its bar, which the axis may not label.
  QFont bold = chartFont();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(palette().text().color());
  const QRectF bar = barRect(chosenPeriod);
  const QString number = QString::number(chosenPeriod);
  const QFontMetricsF metrics(bold);
  const double width = metrics.horizontalAdvance(number) + metrics.averageCharWidth();
  // On a patch of the background, so that a level line across stays clear of it.
  const QRectF label(bar.center().x() - width / 2, bar.top() - metrics.height(), width,
                     metrics.height());
  painter.fillRect(label, palette().base());
  painter.drawText(label, Qt::AlignCenter, number);
}
