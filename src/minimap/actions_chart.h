// Actions per minute over a game as a line chart: one line per player in the
// player's colour, the ages each reached marked on its line, minutes along
// the bottom and actions per minute up the side.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "library/game_report.h"
#include "library/player_colours.h"
#include "minimap/minimap.h"

namespace morvane {

struct ChartLine {
  Rgb colour;
  std::vector<int32_t> actionsByMinute;  // [0] the first minute of game time
  // Feudal, Castle, Imperial: when the player got there, where known.
  std::array<std::optional<int64_t>, 3> agesMs;
};

struct ChartData {
  int64_t durationMs = 0;
  std::vector<ChartLine> lines;
};

// The report's players with a play, one line for each player number (co-op
// positions share one) in its colour, with the ages the report gives them.
ChartData chartDataOf(const GameReport& report);

// A minute's count reads as a rate over the minute's own length: the last
// minute of a game is often a part of one. A part shorter than this is left
// off the line, since a few commands in a few seconds would read as a spike.
inline constexpr int64_t kShortestChartedMinuteMs = 20000;

// The rate of each minute charted, averaged with the minutes either side
// (those that exist): a player's count jumps from minute to minute with the
// fights and the queues, and the average shows the pace that a reader looks
// for. Empty for a game of no time.
std::vector<double> smoothedActionsPerMinute(const std::vector<int32_t>& actionsByMinute,
                                             int64_t durationMs);

// The scale the chart draws with: the top of the rate axis and its step,
// and the step of the minute ticks, all of them round numbers.
struct ChartScale {
  int32_t top = 0;
  int32_t step = 0;
  int32_t minuteStep = 1;
};
ChartScale chartScale(double highestRate, double minutes, int32_t plotWidth);

// Where the plot lies inside a chart of that size: the axes' corner is at
// (left, bottom); ticks and their labels lie outside.
struct PlotArea {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};
PlotArea plotAreaOf(int32_t width, int32_t height);

// A box of the chart's pixels, its right and bottom edges outside it.
struct ChartBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};
bool boxesOverlap(const ChartBox& a, const ChartBox& b);

// Where the title is written.
ChartBox chartTitleBox(int32_t width, int32_t height);

// An age reached, marked by a ring on its player's line: the ring's middle
// and the box of its numeral. With many players the ages come close
// together, so a numeral stands over its ring where that is free, else
// under it, else the nearest free place up or down; it is left out where
// none is near (the ring still says the time). A numeral never covers
// another, the title or the minutes.
struct AgeMark {
  std::size_t line = 0;
  int32_t age = 0;  // 0 Feudal, 1 Castle, 2 Imperial
  double x = 0;
  double y = 0;
  std::optional<ChartBox> numeral;
};
std::vector<AgeMark> ageMarksOf(const ChartData& data, int32_t width, int32_t height);

// Sizes the drawing accepts; a size outside is brought inside.
inline constexpr int32_t kChartMinWidth = 160;
inline constexpr int32_t kChartMinHeight = 100;
inline constexpr int32_t kChartMaxSize = 4096;

// The chart on a white ground, opaque. Each line joins the middles of the
// minutes charted, drawn smooth (its edges blended with what is under them);
// an age reached is a ring on the line at its time with the age's numeral
// (II, III, IV) over it. The title says the rates are 3-minute means. The
// labels are drawn in a small pixel font of the picture's own.
Picture drawActionsChart(const ChartData& data, int32_t width, int32_t height);

}  // namespace morvane
