// The actions chart: the rates it draws from the minute counts, its round
// scales, and where its axes, grid, lines and age marks land on the picture
// and in which colour.
#include "minimap/actions_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace morvane {
namespace {

struct Rgba {
  int red;
  int green;
  int blue;
  bool operator==(const Rgba& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
  return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

Rgba at(const Picture& picture, int32_t x, int32_t y) {
  const auto i = (static_cast<std::size_t>(y) * picture.width + x) * 4;
  return {picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2]};
}

constexpr Rgba kWhite = {255, 255, 255};
constexpr Rgba kGrid = {228, 228, 228};
constexpr Rgba kAxis = {96, 96, 96};
constexpr Rgb kRed = {224, 0, 0};
constexpr Rgb kBlue = {0, 0, 192};

TEST(ActionsChartTest, RatesAreTheMinutesCountsAveragedWithTheirNeighbours) {
  struct Case {
    const char* what;
    std::vector<int32_t> counts;
    int64_t durationMs;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {"whole minutes", {30, 60, 90, 60}, 240000, {45, 60, 70, 75}},
      // 40 s of the last minute: its 20 commands are a rate of 30.
      {"a last part read as a rate", {60, 60, 20}, 160000, {60, 50, 45}},
      // 10 s of the last minute are left off, its commands with them.
      {"a short last part left off", {60, 30, 50}, 130000, {45, 45}},
      {"one minute", {40}, 60000, {40}},
      {"counts beyond the game", {10, 10, 10}, 60000, {10}},
      {"a game of no time", {10}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<double> rates = smoothedActionsPerMinute(c.counts, c.durationMs);
    ASSERT_EQ(rates.size(), c.expected.size());
    for (std::size_t i = 0; i < rates.size(); ++i) EXPECT_NEAR(rates[i], c.expected[i], 1e-9) << i;
  }
}

TEST(ActionsChartTest, ScalesAreRoundNumbersThatHoldTheHighestRateAndLeaveLabelsRoom) {
  struct Case {
    double highest;
    double minutes;
    int32_t plotWidth;
    ChartScale expected;
  };
  const Case cases[] = {
      {73, 40, 720, {80, 20, 2}},   // 20 labels fit: every second minute
      {73, 40, 1500, {80, 20, 1}},  // 41 labels fit
      {120, 40, 300, {150, 50, 5}}, {249, 90, 300, {250, 50, 15}},
      {0, 0.5, 300, {10, 2, 1}},  // no actions: the scale of a slow game
      {3, 600, 100, {10, 2, 480}},
  };
  for (const Case& c : cases) {
    const ChartScale scale = chartScale(c.highest, c.minutes, c.plotWidth);
    EXPECT_EQ(scale.top, c.expected.top) << c.highest;
    EXPECT_EQ(scale.step, c.expected.step) << c.highest;
    EXPECT_EQ(scale.minuteStep, c.expected.minuteStep) << c.minutes << " " << c.plotWidth;
  }
}

TEST(ActionsChartTest, AReportsPlayersAreOneLineForEachPlayerNumberInTheirColour) {
  GameReport report;
  report.state = ReportState::kGame;
  ReportPlayer ann;
  ann.playerNumber = 2;
  ann.colourIndex = 2;  // red
  ann.actionsByMinute = {5, 6};
  ann.ageMs[1] = 60000;
  ReportPlayer cy = ann;  // co-op with Ann
  cy.colourIndex = 1;
  ReportPlayer bob;
  bob.playerNumber = 1;
  bob.colourIndex = 1;  // blue
  report.players = {ann, bob, cy};
  EXPECT_TRUE(chartDataOf(report).lines.empty());  // no play given
  report.hasPlay = true;
  report.playDurationMs = 90000;
  const ChartData data = chartDataOf(report);
  EXPECT_EQ(data.durationMs, 90000);
  ASSERT_EQ(data.lines.size(), 2u);
  EXPECT_EQ(data.lines[0].colour.red, 224);
  EXPECT_EQ(data.lines[0].actionsByMinute, (std::vector<int32_t>{5, 6}));
  EXPECT_EQ(data.lines[0].agesMs[1], 60000);
  EXPECT_EQ(data.lines[1].colour.blue, 192);
}

class ActionsChartPictureTest : public ::testing::Test {
 protected:
  static constexpr int32_t kWidth = 500;
  static constexpr int32_t kHeight = 200;

  // Ten minutes: red at a steady 60 reaching Feudal at 4:30, blue at 20.
  ActionsChartPictureTest() {
    data.durationMs = 600000;
    ChartLine red{kRed, std::vector<int32_t>(10, 60), {}};
    red.agesMs[0] = 270000;
    data.lines.push_back(red);
    data.lines.push_back({kBlue, std::vector<int32_t>(10, 20), {}});
  }
  double xOf(double minutes) const { return area.left + minutes / 10 * (area.right - area.left); }
  double yOf(double rate) const {
    // 60 at most: the scale's top is 60 in steps of 20.
    return area.bottom - rate / 60 * (area.bottom - area.top);
  }

  ChartData data;
  PlotArea area = plotAreaOf(kWidth, kHeight);
};

TEST_F(ActionsChartPictureTest, EachPlayersLineStandsAtItsRateInItsColour) {
  const Picture picture = drawActionsChart(data, kWidth, kHeight);
  ASSERT_EQ(picture.width, kWidth);
  ASSERT_EQ(picture.height, kHeight);
  const auto x = static_cast<int32_t>(xOf(7.5));
  EXPECT_EQ(at(picture, x, static_cast<int32_t>(yOf(60))), (Rgba{224, 0, 0}));
  EXPECT_EQ(at(picture, x, static_cast<int32_t>(yOf(20))), (Rgba{0, 0, 192}));
  // Between them and above them, only the ground.
  EXPECT_EQ(at(picture, x + 3, static_cast<int32_t>(yOf(45))), kWhite);
  EXPECT_EQ(at(picture, x + 3, static_cast<int32_t>(yOf(30))), kWhite);
  // The lines join the minutes' middles: nothing before the first.
  EXPECT_EQ(at(picture, static_cast<int32_t>(xOf(0.2)), static_cast<int32_t>(yOf(60)) + 1), kWhite);
}

TEST_F(ActionsChartPictureTest, AxesAndGridStandAtTheScalesRoundNumbers) {
  data.lines.clear();
  data.lines.push_back({kRed, std::vector<int32_t>(10, 60), {}});
  const Picture picture = drawActionsChart(data, kWidth, kHeight);
  // The axes' corner, and the axes along the plot's left and bottom.
  EXPECT_EQ(at(picture, area.left, area.bottom), kAxis);
  EXPECT_EQ(at(picture, area.left, area.top + 5), kAxis);
  EXPECT_EQ(at(picture, area.right - 5, area.bottom), kAxis);
  // A grid line at every whole minute (ten fit here) and at rates 20 and 40.
  for (int minute = 1; minute <= 10; ++minute) {
    const auto x = static_cast<int32_t>(std::lround(xOf(minute)));
    EXPECT_EQ(at(picture, x, static_cast<int32_t>(yOf(10))), kGrid) << minute;
    EXPECT_EQ(at(picture, x, area.bottom + 1), kAxis) << "tick " << minute;
  }
  for (const int rate : {20, 40}) {
    const auto y = static_cast<int32_t>(std::lround(yOf(rate)));
    EXPECT_EQ(at(picture, static_cast<int32_t>(xOf(0.5)), y), kGrid) << rate;
  }
  // The rate's labels stand left of the axis, in the label's grey.
  int inked = 0;
  for (int32_t y = area.top - 5; y < area.bottom + 5; ++y) {
    for (int32_t x = 0; x < area.left; ++x) inked += at(picture, x, y) == kWhite ? 0 : 1;
  }
  EXPECT_GT(inked, 20);
}

TEST_F(ActionsChartPictureTest, AnAgeReachedIsARingOnTheLineAtItsTimeWithItsNumeralOver) {
  const Picture picture = drawActionsChart(data, kWidth, kHeight);
  const double x = xOf(4.5), y = yOf(60);
  // The ring's middle is the ground over the line; its edge, above and
  // below the line, the player's (a pixel's centre lies half a pixel down).
  EXPECT_EQ(at(picture, static_cast<int32_t>(x), static_cast<int32_t>(y)), kWhite);
  EXPECT_EQ(at(picture, static_cast<int32_t>(x), static_cast<int32_t>(y) - 4), (Rgba{224, 0, 0}));
  EXPECT_EQ(at(picture, static_cast<int32_t>(x), static_cast<int32_t>(y) + 3), (Rgba{224, 0, 0}));
  // "II" over it in red: two upright strokes.
  int red = 0;
  for (int32_t py = static_cast<int32_t>(y) - 16; py < static_cast<int32_t>(y) - 7; ++py) {
    for (int32_t px = static_cast<int32_t>(x) - 6; px <= static_cast<int32_t>(x) + 6; ++px)
      red += at(picture, px, py) == Rgba{224, 0, 0} ? 1 : 0;
  }
  EXPECT_GE(red, 14);
  // Blue reached no age: its line has no ring.
  EXPECT_EQ(at(picture, static_cast<int32_t>(x), static_cast<int32_t>(yOf(20))), (Rgba{0, 0, 192}));
}

// Eight players with the same pace reach each age within seconds of each
// other, the fastest at the top of the scale under the title.
TEST(ActionsChartMarksTest, NumeralsOfAgesReachedTogetherStandApartAndClearOfTheTitle) {
  for (const int32_t height : {200, 400}) {
    SCOPED_TRACE(height);
    ChartData data;
    data.durationMs = 30 * 60000;
    for (int32_t k = 0; k < 8; ++k) {
      ChartLine line{{static_cast<uint8_t>(k * 30), 0, 0}, std::vector<int32_t>(30, 60 - k), {}};
      line.agesMs = {600000 + k * 5000, 1000000 + k * 5000, 1500000 + k * 5000};
      data.lines.push_back(line);
    }
    // And one whose Feudal Age is at the very start of the plot.
    data.lines[0].agesMs[0] = 0;
    const std::vector<AgeMark> marks = ageMarksOf(data, 500, height);
    ASSERT_EQ(marks.size(), 24u);
    const ChartBox title = chartTitleBox(500, height);
    const PlotArea area = plotAreaOf(500, height);
    int32_t numerals = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
      if (!marks[i].numeral) continue;
      ++numerals;
      const ChartBox& box = *marks[i].numeral;
      EXPECT_FALSE(boxesOverlap(box, title)) << i;
      EXPECT_GE(box.top, 0) << i;
      EXPECT_GE(box.left, 0) << i;
      EXPECT_LE(box.right, 500) << i;
      EXPECT_LE(box.bottom, area.bottom) << i;
      // Near its ring: within a few lines of text.
      EXPECT_LT(std::abs((box.top + box.bottom) / 2.0 - marks[i].y), 60.0 * (height >= 360 ? 2 : 1))
          << i;
      for (std::size_t j = 0; j < i; ++j) {
        if (marks[j].numeral) {
          EXPECT_FALSE(boxesOverlap(box, *marks[j].numeral)) << i << " " << j;
        }
      }
    }
    // Most of them find a place.
    EXPECT_GE(numerals, 18);
  }
}

TEST(ActionsChartMarksTest, ALoneAgeHasItsNumeralOverItsRing) {
  ChartData data;
  data.durationMs = 600000;
  ChartLine line{kRed, std::vector<int32_t>(10, 20), {}};
  line.agesMs[1] = 300000;
  data.lines.push_back(line);
  const std::vector<AgeMark> marks = ageMarksOf(data, 500, 200);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].age, 1);
  ASSERT_TRUE(marks[0].numeral.has_value());
  EXPECT_LT(marks[0].numeral->bottom, marks[0].y - 4);
  EXPECT_NEAR((marks[0].numeral->left + marks[0].numeral->right) / 2.0, marks[0].x, 1.5);
}

TEST_F(ActionsChartPictureTest, SizesOutsideTheRangeAreBroughtInside) {
  EXPECT_EQ(drawActionsChart(data, 10, 10).width, kChartMinWidth);
  EXPECT_EQ(drawActionsChart(data, 10, 10).height, kChartMinHeight);
  const Picture huge = drawActionsChart(data, 100000, 200);
  EXPECT_EQ(huge.width, kChartMaxSize);
  EXPECT_EQ(huge.rgba.size(), static_cast<std::size_t>(kChartMaxSize) * 200 * 4);
}

}  // namespace
}  // namespace morvane
