#ifndef ZEMBRAX_APP_ANALYSIS_CHARTLAYOUT_H_
#define ZEMBRAX_APP_ANALYSIS_CHARTLAYOUT_H_

#include <QString>

#include <cstddef>
#include <span>
#include <vector>

// The arithmetic of the analysis charts, apart from their painting: the
// value axis, where each bar stands, which labels fit, and numbers as the
// charts print them.
namespace chart {

// A value axis from 0 to `top`, marked every `step`.
struct Scale {
  double top;
  double step;
};

// The axis for values up to `largest`: its top is at or above `largest`, so
// no bar is clipped, and at most one step above it; the step is 1, 2 or 5
// times a power of ten. A largest of 0 or less (or not finite) gives 0 to 1.
Scale scaleFor(double largest);

// The marks of the axis: 0, step, 2 step, ... up to its top.
std::vector<double> ticksOf(const Scale& scale);

// The digits after the point that print every multiple of `step` exactly
// (0.005 takes three, 20 none).
int decimalsFor(double step);

// The largest of `values`, or 0 for none.
double largestOf(std::span<const double> values);

// A stretch along the axis of the groups.
struct Span {
  double left;
  double width;
};

// Where bar `series` of `seriesCount` side by side stands in group `group`
// of `groups`, across a plot `width` wide starting at `left`. Each group
// keeps a gap at both sides so that neighbouring groups stay apart.
Span barSpan(std::size_t group, std::size_t groups, std::size_t series, std::size_t seriesCount,
             double left, double width);

// The middle of group `group` of `groups` across that plot, where its label goes.
double groupCentre(std::size_t group, std::size_t groups, double left, double width);

// How tall a bar of `value` stands in a plot `height` tall whose axis ends at
// `top`: never below 0 nor above the plot.
double barHeight(double value, double top, double height);

// Label every how many groups so that labels `labelWidth` wide, with room
// between them, fit among `groups` groups across `width`: 1, 2, 5, 10, 20, ...
std::size_t labelEvery(std::size_t groups, double width, double labelWidth);

// A share (0..1) as a percentage with one decimal: 0.0823 is "8.2".
QString percent(double share);

}  // namespace chart

#endif  // ZEMBRAX_APP_ANALYSIS_CHARTLAYOUT_H_
