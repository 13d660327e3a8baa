#include <QAccessible>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "analysis/LetterChart.h"
#include "analysis/PeriodChart.h"

namespace {

// Shares of 26 letters drawn at random, summing to 1.
std::array<double, 26> randomShares(std::mt19937& random) {
  std::array<double, 26> shares;
  std::exponential_distribution<double> draw(1.0);
  for (double& share : shares)
    share = draw(random);
  const double sum = std::accumulate(shares.begin(), shares.end(), 0.0);
  for (double& share : shares)
    share /= sum;
  return shares;
}

// The chart drawn as it would be on screen.
QImage rendered(QWidget& chart) {
  QImage image(chart.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  chart.render(&image);
  return image;
}

// How many pixels of `image` differ from the background of `chart`.
int inkOf(const QImage& image, const QWidget& chart) {
  const QRgb background = chart.palette().base().color().rgb();
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ink += image.pixel(x, y) != background;
  return ink;
}

TEST(ChartLayout, TheScaleReachesTheLargestValueAndAtMostOneStepBeyond) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> exponent(-6, 6);
  for (int i = 0; i < 10000; ++i) {
    const double largest = std::pow(10.0, exponent(random));
    const chart::Scale scale = chart::scaleFor(largest);
    ASSERT_GE(scale.top, largest) << largest;
    ASSERT_LT(scale.top - scale.step, largest) << largest;
    // A step of 1, 2 or 5 times a power of ten.
    const double mantissa = scale.step / std::pow(10.0, std::floor(std::log10(scale.step) + 1e-9));
    ASSERT_TRUE(std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 ||
                std::abs(mantissa - 5) < 1e-6)
        << scale.step;
    const std::vector<double> ticks = chart::ticksOf(scale);
    ASSERT_GE(ticks.size(), 2u);
    ASSERT_LE(ticks.size(), 11u) << largest;
    ASSERT_NEAR(ticks.back(), scale.top, scale.step * 1e-9);
  }
  // Exact multiples get no step on top; nothing to show gets an axis all the same.
  EXPECT_DOUBLE_EQ(chart::scaleFor(20).top, 20);
  EXPECT_NEAR(chart::scaleFor(0.3).top, 0.3, 1e-12);
  for (const double nothing : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
    EXPECT_GT(chart::scaleFor(nothing).top, 0);
    EXPECT_GT(chart::scaleFor(nothing).step, 0);
  }
}

TEST(ChartLayout, DecimalsPrintEveryMultipleOfTheStep) {
  struct Row {
    double step;
    int decimals;
  };
  for (const Row row : {Row{0.005, 3}, Row{0.01, 2}, Row{0.02, 2}, Row{0.5, 1}, Row{1, 0},
                        Row{5, 0}, Row{20, 0}, Row{0, 0}})
    EXPECT_EQ(chart::decimalsFor(row.step), row.decimals) << row.step;
}

TEST(ChartLayout, BarsStayInTheirGroupInOrderWithoutOverlap) {
  for (const std::size_t groups : {1u, 2u, 26u, 100u})
    for (const std::size_t series : {1u, 2u, 3u}) {
      const double left = 40, width = 517;
      double end = left;
      for (std::size_t g = 0; g < groups; ++g) {
        const double centre = chart::groupCentre(g, groups, left, width);
        for (std::size_t s = 0; s < series; ++s) {
          const chart::Span span = chart::barSpan(g, groups, s, series, left, width);
          ASSERT_GT(span.width, 0);
          ASSERT_GE(span.left, end - 1e-9) << g << " " << s;
          end = span.left + span.width;
          // The group's bars sit around its label.
          ASSERT_LT(std::abs(span.left + span.width / 2 - centre), width / groups / 2);
        }
        // A gap to the next group.
        ASSERT_LT(end, chart::groupCentre(g, groups, left, width) + width / groups / 2);
      }
      ASSERT_LE(end, left + width + 1e-9);
    }
}

TEST(ChartLayout, BarsNeverOutgrowThePlot) {
  EXPECT_EQ(chart::barHeight(0.3, 0.3, 200), 200);
  EXPECT_EQ(chart::barHeight(0.6, 0.3, 200), 200);
  EXPECT_EQ(chart::barHeight(-1, 0.3, 200), 0);
  EXPECT_EQ(chart::barHeight(std::nan(""), 0.3, 200), 0);
  EXPECT_EQ(chart::barHeight(1, 0, 200), 0);
  EXPECT_DOUBLE_EQ(chart::barHeight(0.15, 0.3, 200), 100);
}

TEST(ChartLayout, LabelsKeepApart) {
  for (const double width : {50.0, 300.0, 1000.0})
    for (const std::size_t groups : {1u, 26u, 100u}) {
      const std::size_t every = chart::labelEvery(groups, width, 12);
      EXPECT_GE(every, 1u);
      EXPECT_TRUE(every >= groups || width / groups * every >= 12) << width << " " << groups;
    }
  EXPECT_EQ(chart::labelEvery(26, 1000, 10), 1u);
  EXPECT_EQ(chart::labelEvery(0, 1000, 10), 1u);
}

TEST(LetterChart, ItsTextAlternativeHoldsEveryValue) {
  std::mt19937 random(11);
  const std::vector<LetterSeries> series = {{"Input", randomShares(random)},
                                            {"Norwegian (Bokmål)", randomShares(random)},
                                            {"Decryption", randomShares(random)}};
  LetterChart chart;
  chart.setSeries(series);
  const QStringList lines = chart.accessibleDescription().split('\n');
  ASSERT_EQ(lines.size(), 2 + 26);
  EXPECT_EQ(lines[1], "Letter, Input, Norwegian (Bokmål), Decryption");
  for (int letter = 0; letter < 26; ++letter) {
    QStringList want;
    for (const LetterSeries& s : series)
      want << QString::number(s.share[letter] * 100, 'f', 1);
    EXPECT_EQ(lines[2 + letter], QString(QChar('A' + letter)) + ": " + want.join(", "));
  }
}

TEST(LetterChart, NoBarIsClippedAtAnySize) {
  std::mt19937 random(5);
  LetterChart chart;
  for (int round = 0; round < 50; ++round) {
    std::vector<LetterSeries> series;
    for (std::size_t s = 0; s <= static_cast<std::size_t>(round % 3); ++s)
      series.push_back({QString::number(s), randomShares(random)});
    // A text of one letter makes the tallest bar of all.
    if (round % 5 == 0) series[0].share = {1};
    chart.setSeries(series);
    chart.resize(200 + round * 17, 120 + round * 5);
    const QRectF plot = chart.plotArea();
    double tallest = 0;
    for (std::size_t s = 0; s < series.size(); ++s)
      for (std::size_t letter = 0; letter < 26; ++letter) {
        const QRectF bar = chart.barRect(letter, s);
        ASSERT_GE(bar.top(), plot.top() - 1e-9);
        ASSERT_LE(bar.right(), plot.right() + 1e-9);
        tallest = std::max(tallest, bar.height());
      }
    // The scale is no more than a step above the tallest bar.
    EXPECT_GT(tallest, plot.height() / 2) << round;
  }
}

TEST(LetterChart, TheSeriesDifferInTheirFills) {
  std::array<double, 26> even;
  even.fill(1.0 / 26);
  LetterChart chart;
  chart.setSeries({{"a", even}, {"b", even}, {"c", even}});
  chart.resize(900, 400);
  const QImage image = rendered(chart);
  // The fills' mean grey over each series' bar of A.
  std::vector<double> grey;
  for (std::size_t s = 0; s < 3; ++s) {
    const QRect bar = chart.barRect(0, s).toRect().adjusted(2, 2, -2, -2);
    double sum = 0;
    for (int y = bar.top(); y <= bar.bottom(); ++y)
      for (int x = bar.left(); x <= bar.right(); ++x)
        sum += qGray(image.pixel(x, y));
    grey.push_back(sum / (bar.width() * bar.height()));
  }
  EXPECT_GT(std::abs(grey[0] - grey[1]), 20);
  EXPECT_GT(std::abs(grey[1] - grey[2]), 20);
  EXPECT_GT(std::abs(grey[0] - grey[2]), 20);
}

TEST(LetterChart, LanguageLettersComeFromTheLibrary) {
  const LetterSeries english = languageLetters(analysis::Language::en);
  EXPECT_EQ(english.name, "English");
  EXPECT_EQ(english.share, analysis::modelOf(analysis::Language::en).letterFrequencies());
}

TEST(PeriodChart, TheChosenPeriodIsMarked) {
  PeriodChart chart;
  chart.setCoincidence({0.041, 0.043, 0.066, 0.043, 0.040, 0.066}, 3);
  chart.setReferences(coincidenceReferences(analysis::Language::en));
  chart.resize(600, 300);
  const QStringList lines = chart.accessibleDescription().split('\n');
  EXPECT_TRUE(lines.contains("3: 0.0660 (chosen)")) << lines.join('|').toStdString();
  EXPECT_TRUE(lines.contains("6: 0.0660"));
  EXPECT_EQ(chart.accessibleDescription().count("(chosen)"), 1);
  EXPECT_TRUE(lines.contains("Random letters: 0.0385"));
  // Bars of the same height, chosen and not, are drawn apart.
  const QImage image = rendered(chart);
  EXPECT_DOUBLE_EQ(chart.barRect(3).height(), chart.barRect(6).height());
  EXPECT_NE(image.pixel(chart.barRect(3).center().toPoint()),
            image.pixel(chart.barRect(6).center().toPoint()));
}

TEST(PeriodChart, ItSaysWhyTheChosenPeriodWasChosen) {
  struct Case {
    std::vector<double> byPeriod;
    std::size_t chosen;
    QString reason;  // its start
  };
  for (const Case& row : std::vector<Case>{
           {{0.041, 0.043, 0.066}, 3, "Period 3 was chosen: periods are ranked on"},
           // A lower bar chosen names the highest of those above it.
           {{0.04, 0.05, 0.06, 0.045, 0.07, 0.065}, 3, "Period 3 was chosen though 5 stands"},
           {{0.04, 0.05}, 0, ""}}) {
    PeriodChart chart;
    chart.setCoincidence(row.byPeriod, row.chosen);
    if (row.reason.isEmpty()) {
      EXPECT_TRUE(chart.toolTip().isEmpty());
      continue;
    }
    EXPECT_TRUE(chart.toolTip().startsWith(row.reason)) << chart.toolTip().toStdString();
    // Screen readers read the same sentence, as the table's last line.
    EXPECT_TRUE(chart.accessibleDescription().endsWith(chart.toolTip()));
  }
}

TEST(PeriodChart, TheScaleTakesInTheReferences) {
  PeriodChart chart;
  chart.setCoincidence({0.01, 0.012}, 1);
  chart.setReferences({{"High", 0.08}, {"Random letters", 1.0 / 26}, {"Left out", 9}});
  chart.resize(400, 200);
  const QString table = chart.accessibleDescription();
  EXPECT_TRUE(table.contains("High: 0.0800"));
  EXPECT_FALSE(table.contains("Left out"));
  // The bars stay low beneath the higher level.
  EXPECT_LT(chart.barRect(2).height(), chart.plotArea().height() / 4);
}

TEST(PeriodChart, ReferencesComeFromTheLibrary) {
  const std::vector<ReferenceLevel> levels = coincidenceReferences(analysis::Language::de);
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0].name, "German");
  EXPECT_DOUBLE_EQ(
      levels[0].level,
      analysis::coincidenceOf(analysis::modelOf(analysis::Language::de).letterFrequencies()));
  EXPECT_DOUBLE_EQ(levels[1].level, 1.0 / 26);
}

TEST(Charts, EmptyDataDrawsAndSaysSo) {
  LetterChart letters;
  PeriodChart periods;
  for (ChartWidget* chart : std::initializer_list<ChartWidget*>{&letters, &periods}) {
    for (const QSize size : {QSize(0, 0), QSize(3, 2), QSize(400, 200)}) {
      chart->resize(size);
      if (!size.isEmpty()) rendered(*chart);
    }
  }
  letters.setSeries({{"Input", {}}});
  rendered(letters);
  EXPECT_EQ(periods.accessibleDescription(), "Index of coincidence by period: no periods.");
  periods.setCoincidence({0.05}, 9);  // a chosen period beyond the bars
  EXPECT_FALSE(periods.accessibleDescription().contains("chosen"));
  rendered(periods);
  letters.setSeries({});
  EXPECT_EQ(letters.accessibleDescription(), "Letter frequencies in percent: no letters.");
}

TEST(Charts, ZoomScalesTheText) {
  LetterChart letters;
  PeriodChart periods;
  for (ChartWidget* chart : std::initializer_list<ChartWidget*>{&letters, &periods}) {
    const double size = chart->chartFont().pointSizeF();
    const QSize hint = chart->sizeHint();
    chart->setZoom(200);
    EXPECT_EQ(chart->zoom(), 200);
    EXPECT_DOUBLE_EQ(chart->chartFont().pointSizeF(), 2 * size);
    EXPECT_GT(chart->sizeHint().height(), hint.height() * 3 / 2);
    chart->setZoom(50);
    EXPECT_DOUBLE_EQ(chart->chartFont().pointSizeF(), size / 2);
  }
}

TEST(Charts, RenderedChartsShowInk) {
  std::mt19937 random(3);
  LetterChart letters;
  letters.setSeries({{"Input", randomShares(random)}, languageLetters(analysis::Language::en)});
  PeriodChart periods;
  periods.setCoincidence({0.04, 0.05, 0.067}, 3);
  periods.setReferences(coincidenceReferences(analysis::Language::en));
  for (ChartWidget* chart : std::initializer_list<ChartWidget*>{&letters, &periods}) {
    chart->resize(500, 250);
    const QImage image = rendered(*chart);
    // Bars, axis and labels: well beyond a few stray pixels.
    EXPECT_GT(inkOf(image, *chart), image.width() * image.height() / 50);
  }
}

TEST(Charts, ScreenReadersFindANamedChartWithItsTable) {
  LetterChart letters;
  PeriodChart periods;
  periods.setCoincidence({0.04, 0.05}, 2);
  const std::vector<std::pair<ChartWidget*, QString>> charts = {
      {&letters, "Letter frequencies"}, {&periods, "Index of coincidence by period"}};
  for (const auto& [chart, name] : charts) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(chart);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Chart);
    EXPECT_EQ(accessible->text(QAccessible::Name), name);
    EXPECT_EQ(accessible->text(QAccessible::Description), chart->accessibleDescription());
    EXPECT_TRUE(chart->focusPolicy() & Qt::TabFocus);
  }
}

}  // namespace
