#ifndef ZEMBRAX_APP_ANALYSIS_CHARTWIDGET_H_
#define ZEMBRAX_APP_ANALYSIS_CHARTWIDGET_H_

#include <QBrush>
#include <QFont>
#include <QString>
#include <QWidget>

#include <vector>

#include "ChartLayout.h"

class QPainter;

// What the analysis charts share: text that follows the window's zoom, a
// value axis with its marks, a legend, and the text alternative that screen
// readers read. A chart is a plain widget that assistive tools see as a
// chart, named for what it shows, whose accessible description holds its
// values as a table of plain text, one row a line.
class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  // Draws the text at `percent` of the widget's font size, as the text
  // boxes zoom theirs (100 is the font itself); the chart grows with it.
  void setZoom(int percent);
  int zoom() const { return zoomPercent; }
  // The font the chart's text is drawn in: the widget's, zoomed.
  QFont chartFont() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // The area the bars stand in, below the legend and beside the axis
  // labels, at the widget's present size; a line of the chart's font is
  // free above it.
  QRectF plotArea() const;

 protected:
  // A chart named `name` for assistive tools.
  ChartWidget(const QString& name, QWidget* parent);

  // One entry of the legend: a bar's fill, or a line's pattern when `line`
  // is not Qt::NoPen.
  struct LegendEntry {
    QString text;
    QBrush fill;
    Qt::PenStyle line = Qt::NoPen;
  };

  // What the chart shows now; setting it repaints. `axisUnit` follows each
  // axis label (" %"); `groupLabels` go under the groups of bars.
  void setContent(chart::Scale scale, QString axisUnit, std::vector<QString> groupLabels,
                  std::vector<LegendEntry> legend, const QString& textAlternative);

  chart::Scale scale() const { return axis; }
  std::size_t groups() const { return labels.size(); }

  // A bar's fill in this chart's palette: `pattern` drawn in `role`'s colour.
  QBrush fillOf(Qt::BrushStyle pattern, QPalette::ColorRole role) const;
  // Draws `bar` (as barRect gives it) filled and outlined.
  void paintBar(QPainter& painter, const QRectF& bar, const QBrush& fill) const;
  // Draws a level across the plot in the line pattern `style`.
  void paintLevel(QPainter& painter, double value, Qt::PenStyle style) const;
  // Draws what every chart has: the background, the axis with its marks, the
  // group labels and the legend. The chart's own marks go on top.
  void paintFrame(QPainter& painter) const;

  // The rectangle of a bar over `span` from the plot's foot up to `value`.
  QRectF barRect(chart::Span span, double value) const;

 private:
  // The legend's entries placed left to right, wrapping at the widget's
  // width: each entry's top-left corner; the legend's height in `height`.
  std::vector<QPointF> legendPlaces(double* height) const;
  double axisLabelWidth() const;
  QString axisLabel(double value) const;

  int zoomPercent = 100;
  chart::Scale axis = chart::scaleFor(0);
  QString unit;
  std::vector<QString> labels;
  std::vector<LegendEntry> legendEntries;
};

#endif  // ZEMBRAX_APP_ANALYSIS_CHARTWIDGET_H_
