#include "ChartLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace chart {

namespace {

// About this many steps up the axis: enough marks to read a bar's height by,
// few enough that their labels stay apart on a chart a few lines tall.
constexpr double kStepsWanted = 4;

// The multiples of a power of ten that an axis steps by.
constexpr std::array<double, 4> kNiceSteps = {1, 2, 5, 10};

// A bar group's share of its slot kept free, half on each side, so that
// neighbouring groups read as separate.
constexpr double kGroupGap = 0.25;

// Space between two group labels, as a share of a label's width.
constexpr double kLabelRoom = 1.5;

// Quotients this close below a whole number count as whole: the rounding of
// 0.3 / 0.1 must not add a step.
constexpr double kWholeSlack = 1e-9;

}  // namespace

Scale scaleFor(double largest) {
  if (!(largest > 0) || !std::isfinite(largest)) return {1, 0.2};
  const double rough = largest / kStepsWanted;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power * kNiceSteps.back();
  for (const double nice : kNiceSteps) {
    if (nice * power >= rough) {
      step = nice * power;
      break;
    }
  }
  double top = std::ceil(largest / step - kWholeSlack) * step;
  if (top < largest) top += step;
  return {top, step};
}

std::vector<double> ticksOf(const Scale& scale) {
  std::vector<double> ticks;
  const auto count = static_cast<std::size_t>(std::lround(scale.top / scale.step));
  for (std::size_t i = 0; i <= count; ++i)
    ticks.push_back(static_cast<double>(i) * scale.step);
  return ticks;
}

int decimalsFor(double step) {
  if (!(step > 0) || !std::isfinite(step)) return 0;
  return std::max(0, static_cast<int>(-std::floor(std::log10(step) + kWholeSlack)));
}

double largestOf(std::span<const double> values) {
  double largest = 0;
  for (const double value : values)
    largest = std::max(largest, value);
  return largest;
}

Span barSpan(std::size_t group, std::size_t groups, std::size_t series, std::size_t seriesCount,
             double left, double width) {
  const double slot = width / static_cast<double>(std::max<std::size_t>(groups, 1));
  const double bar =
      slot * (1 - kGroupGap) / static_cast<double>(std::max<std::size_t>(seriesCount, 1));
  return {left + slot * static_cast<double>(group) + slot * kGroupGap / 2 +
              bar * static_cast<double>(series),
          bar};
}

double groupCentre(std::size_t group, std::size_t groups, double left, double width) {
  return left + width * (static_cast<double>(group) + 0.5) /
                    static_cast<double>(std::max<std::size_t>(groups, 1));
}

double barHeight(double value, double top, double height) {
  if (!(value > 0) || !(top > 0)) return 0;
  return std::min(height, height * value / top);
}

std::size_t labelEvery(std::size_t groups, double width, double labelWidth) {
  if (groups == 0 || !(width > 0)) return 1;
  const double slot = width / static_cast<double>(groups);
  std::size_t power = 1;
  for (;;) {
    for (const double nice : {1.0, 2.0, 5.0}) {
      const auto every = static_cast<std::size_t>(nice) * power;
      if (slot * static_cast<double>(every) >= labelWidth * kLabelRoom || every >= groups)
        return every;
    }
    power *= 10;
  }
}

QString percent(double share) {
  return QString::number(share * 100, 'f', 1);
}

}  // namespace chart
