#include "ChartWidget.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Room around the plot and between legend entries, in lines of the chart's font.
constexpr double kPadding = 0.5;
// A legend swatch's width, in lines, and the room above and below it, so
// that swatches on neighbouring legend lines stay apart.
constexpr double kSwatchWidth = 1.5;
constexpr double kSwatchInset = 0.2;
// The size a chart asks for, and the least it can be read at, in lines of
// its font: 26 letters of up to three bars each want about 40 lines across.
constexpr QSizeF kPreferredLines(40, 14);
constexpr QSizeF kLeastLines(20, 8);

// Assistive tools see every chart as a chart, which the platform's bridges
// announce as one, with its name and its description (the values' table).
QAccessibleInterface* chartFactory(const QString&, QObject* object) {
  if (auto* chart = qobject_cast<ChartWidget*>(object))
    return new QAccessibleWidget(chart, QAccessible::Chart);
  return nullptr;
}

QSize linesToSize(const QFont& font, QSizeF lines) {
  const double line = QFontMetricsF(font).lineSpacing();
  return QSizeF(lines.width() * line, lines.height() * line).toSize();
}

}  // namespace

ChartWidget::ChartWidget(const QString& name, QWidget* parent) : QWidget(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(chartFactory);
    return true;
  }();
  Q_UNUSED(installed);
  setAccessibleName(name);
  // Reachable with Tab, so that a screen reader's user lands on it and hears its table.
  setFocusPolicy(Qt::TabFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartWidget::setZoom(int percent) {
  zoomPercent = percent;
  updateGeometry();
  update();
}

QFont ChartWidget::chartFont() const {
  QFont zoomed = font();
  if (zoomed.pointSizeF() > 0) {
    zoomed.setPointSizeF(zoomed.pointSizeF() * zoomPercent / 100);
  } else {
    zoomed.setPixelSize(std::max(1, zoomed.pixelSize() * zoomPercent / 100));
  }
  return zoomed;
}

QSize ChartWidget::sizeHint() const {
  return linesToSize(chartFont(), kPreferredLines);
}

QSize ChartWidget::minimumSizeHint() const {
  return linesToSize(chartFont(), kLeastLines);
}

void ChartWidget::setContent(chart::Scale scale, QString axisUnit, std::vector<QString> groupLabels,
                             std::vector<LegendEntry> legend, const QString& textAlternative) {
  axis = scale;
  unit = std::move(axisUnit);
  labels = std::move(groupLabels);
  legendEntries = std::move(legend);
  setAccessibleDescription(textAlternative);
  update();
}

QString ChartWidget::axisLabel(double value) const {
  return QString::number(value, 'f', chart::decimalsFor(axis.step)) + unit;
}

double ChartWidget::axisLabelWidth() const {
  return QFontMetricsF(chartFont()).horizontalAdvance(axisLabel(axis.top));
}

std::vector<QPointF> ChartWidget::legendPlaces(double* height) const {
  const QFontMetricsF metrics(chartFont());
  const double line = metrics.lineSpacing();
  const double pad = kPadding * line;
  std::vector<QPointF> places;
  QPointF at(pad, pad);
  for (const LegendEntry& entry : legendEntries) {
    const double width = kSwatchWidth * line + pad + metrics.horizontalAdvance(entry.text);
    if (at.x() > pad && at.x() + width > this->width() - pad) at = QPointF(pad, at.y() + line);
    places.push_back(at);
    at.rx() += width + 2 * pad;
  }
  *height = legendEntries.empty() ? 0 : at.y() + line;
  return places;
}

QRectF ChartWidget::plotArea() const {
  const double line = QFontMetricsF(chartFont()).lineSpacing();
  const double pad = kPadding * line;
  double legendHeight = 0;
  legendPlaces(&legendHeight);
  const double left = pad + axisLabelWidth() + pad;
  // A line's headroom above the plot: for the top mark's label, and for a
  // note over the tallest bar.
  const double top = legendHeight + pad + line;
  const double bottom = height() - pad - line;
  return QRectF(QPointF(left, top), QPointF(std::max(left, width() - pad), std::max(top, bottom)));
}

QRectF ChartWidget::barRect(chart::Span span, double value) const {
  const QRectF plot = plotArea();
  const double tall = chart::barHeight(value, axis.top, plot.height());
  return QRectF(span.left, plot.bottom() - tall, span.width, tall);
}

QBrush ChartWidget::fillOf(Qt::BrushStyle pattern, QPalette::ColorRole role) const {
  return QBrush(palette().color(role), pattern);
}

void ChartWidget::paintBar(QPainter& painter, const QRectF& bar, const QBrush& fill) const {
  if (bar.height() <= 0) return;
  painter.fillRect(bar, palette().base());
  painter.setBrush(fill);
  painter.setPen(QPen(palette().text(), 1));
  painter.drawRect(bar);
}

void ChartWidget::paintLevel(QPainter& painter, double value, Qt::PenStyle style) const {
  const QRectF plot = plotArea();
  const double y = plot.bottom() - chart::barHeight(value, axis.top, plot.height());
  painter.setPen(QPen(palette().text(), 2, style));
  painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
}

void ChartWidget::paintFrame(QPainter& painter) const {
  painter.fillRect(rect(), palette().base());
  painter.setFont(chartFont());
  const QFontMetricsF metrics(chartFont());
  const double line = metrics.lineSpacing();
  const double pad = kPadding * line;
  const QRectF plot = plotArea();
  const QPen text(palette().text(), 1);
  const QPen grid(palette().mid(), 1, Qt::DotLine);

  // The axis: a faint line at every mark, its value beside it.
  for (const double tick : chart::ticksOf(axis)) {
    const double y = plot.bottom() - chart::barHeight(tick, axis.top, plot.height());
    painter.setPen(grid);
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(text);
    painter.drawText(QRectF(pad, y - line / 2, plot.left() - 2 * pad, line),
                     Qt::AlignRight | Qt::AlignVCenter, axisLabel(tick));
  }
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());

  // The groups' labels, as many as fit.
  double widest = 0;
  for (const QString& label : labels)
    widest = std::max(widest, metrics.horizontalAdvance(label));
  const std::size_t every = chart::labelEvery(labels.size(), plot.width(), widest);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (i % every != 0) continue;
    const double centre = chart::groupCentre(i, labels.size(), plot.left(), plot.width());
    painter.drawText(QRectF(centre - widest, plot.bottom(), 2 * widest, line), Qt::AlignCenter,
                     labels[i]);
  }

  // The legend: each entry's swatch, then its text.
  double legendHeight = 0;
  const std::vector<QPointF> places = legendPlaces(&legendHeight);
  for (std::size_t i = 0; i < legendEntries.size(); ++i) {
    const LegendEntry& entry = legendEntries[i];
    const QRectF swatch(places[i] + QPointF(0, line * kSwatchInset),
                        QSizeF(kSwatchWidth * line, line * (1 - 2 * kSwatchInset)));
    if (entry.line != Qt::NoPen) {
      painter.setPen(QPen(palette().text(), 2, entry.line));
      painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                       QPointF(swatch.right(), swatch.center().y()));
    } else {
      painter.setBrush(entry.fill);
      painter.setPen(text);
      painter.drawRect(swatch);
    }
    painter.setPen(text);
    painter.drawText(QRectF(swatch.right() + pad, places[i].y(), width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, entry.text);
  }
}
