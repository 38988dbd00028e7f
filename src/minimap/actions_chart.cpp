// Plain pixels from plain numbers: every write goes through one bounds-checked
// blend, so no input can reach outside the picture, and the cost follows the
// picture's size and the number of minutes.
#include "minimap/actions_chart.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace morvane {
namespace {

constexpr Rgb kGround = {255, 255, 255};
constexpr Rgb kGrid = {228, 228, 228};
constexpr Rgb kAxis = {96, 96, 96};
constexpr Rgb kLabel = {64, 64, 64};
constexpr int64_t kMinuteMs = 60000;

// A 5 x 7 pixel font of the characters the chart writes: each row's five
// bits, the leftmost the highest.
struct Glyph {
  char character;
  uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
    {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
    {'m', {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}},
    {'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
    {'u', {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};
constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 7;
constexpr int32_t kGlyphAdvance = 6;

const Glyph* glyphOf(char character) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.character == character) return &glyph;
  }
  return nullptr;  // a space, or a character the chart never writes
}

// Labels are drawn twice as large on a chart tall enough for it.
int32_t fontScale(int32_t height) { return height >= 360 ? 2 : 1; }

int32_t textWidth(const std::string& text, int32_t scale) {
  if (text.empty()) return 0;
  return (static_cast<int32_t>(text.size()) * kGlyphAdvance - 1) * scale;
}

class Canvas {
 public:
  Canvas(Picture& picture) : picture_(picture) {}

  // colour over the pixel by coverage 0..1.
  void blend(int32_t x, int32_t y, Rgb colour, double coverage) {
    if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height || coverage <= 0) return;
    const double a = std::min(coverage, 1.0);
    const std::size_t at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture_.width) +
         static_cast<std::size_t>(x)) *
        4;
    const auto mix = [a](uint8_t under, uint8_t over) {
      return static_cast<uint8_t>(std::lround(under + (over - under) * a));
    };
    picture_.rgba[at] = mix(picture_.rgba[at], colour.red);
    picture_.rgba[at + 1] = mix(picture_.rgba[at + 1], colour.green);
    picture_.rgba[at + 2] = mix(picture_.rgba[at + 2], colour.blue);
  }

  void fill(int32_t left, int32_t top, int32_t right, int32_t bottom, Rgb colour) {
    for (int32_t y = std::max(top, 0); y < std::min(bottom, picture_.height); ++y) {
      for (int32_t x = std::max(left, 0); x < std::min(right, picture_.width); ++x)
        blend(x, y, colour, 1);
    }
  }

  // Text whose top left corner is (x, y).
  void text(const std::string& text, int32_t x, int32_t y, int32_t scale, Rgb colour) {
    for (const char character : text) {
      if (const Glyph* glyph = glyphOf(character)) {
        for (int32_t row = 0; row < kGlyphHeight; ++row) {
          for (int32_t column = 0; column < kGlyphWidth; ++column) {
            if ((glyph->rows[row] >> (kGlyphWidth - 1 - column) & 1) == 0) continue;
            fill(x + column * scale, y + row * scale, x + (column + 1) * scale,
                 y + (row + 1) * scale, colour);
          }
        }
      }
      x += kGlyphAdvance * scale;
    }
  }

  // A line of the given width from (ax, ay) to (bx, by), its edges blended:
  // each pixel near it is covered by how far its centre lies inside.
  void segment(double ax, double ay, double bx, double by, double width, Rgb colour) {
    const double half = width / 2;
    const auto left = static_cast<int32_t>(std::floor(std::min(ax, bx) - half - 1));
    const auto right = static_cast<int32_t>(std::ceil(std::max(ax, bx) + half + 1));
    const auto top = static_cast<int32_t>(std::floor(std::min(ay, by) - half - 1));
    const auto bottom = static_cast<int32_t>(std::ceil(std::max(ay, by) + half + 1));
    const double dx = bx - ax, dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    for (int32_t y = std::max(top, 0); y <= std::min(bottom, picture_.height - 1); ++y) {
      for (int32_t x = std::max(left, 0); x <= std::min(right, picture_.width - 1); ++x) {
        const double px = x + 0.5 - ax, py = y + 0.5 - ay;
        const double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
        const double distance = std::hypot(px - t * dx, py - t * dy);
        blend(x, y, colour, half + 0.5 - distance);
      }
    }
  }

  // A disc of the given radius, its edge blended.
  void disc(double cx, double cy, double radius, Rgb colour) { segment(cx, cy, cx, cy, radius * 2, colour); }

 private:
  Picture& picture_;
};

// The length of minute m inside the game.
int64_t minuteLength(std::size_t minute, int64_t durationMs) {
  return std::min(kMinuteMs, durationMs - static_cast<int64_t>(minute) * kMinuteMs);
}

// The round step for at most `most` steps up to highest: 1, 2 or 5 times a
// power of ten.
int32_t roundStep(double highest, int32_t most) {
  for (int32_t power = 1; power <= 100000000; power *= 10) {
    for (const int32_t factor : {1, 2, 5}) {
      const int32_t step = factor * power;
      if (step * static_cast<double>(most) >= highest) return step;
    }
  }
  return 1000000000;
}

std::string minuteLabel(int32_t minute) { return std::to_string(minute); }

constexpr const char* kAgeNumerals[3] = {"II", "III", "IV"};
constexpr char kTitle[] = "APM, 3-minute mean";

struct Point {
  double x;
  double y;
};

// The y of the line at x: straight between its points, level beyond them.
double lineYAt(const std::vector<Point>& points, double x) {
  if (x <= points.front().x) return points.front().y;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (x <= points[i].x) {
      const Point& a = points[i - 1];
      const Point& b = points[i];
      return b.x > a.x ? a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x) : b.y;
    }
  }
  return points.back().y;
}

}  // namespace

ChartData chartDataOf(const GameReport& report) {
  ChartData data;
  if (!report.hasPlay) return data;
  data.durationMs = report.playDurationMs;
  std::vector<int32_t> drawn;
  for (const ReportPlayer& player : report.players) {
    if (player.playerNumber < 0 ||
        std::find(drawn.begin(), drawn.end(), player.playerNumber) != drawn.end())
      continue;
    drawn.push_back(player.playerNumber);
    data.lines.push_back({slotColour(player.colourIndex), player.actionsByMinute, player.ageMs});
  }
  return data;
}

std::vector<double> smoothedActionsPerMinute(const std::vector<int32_t>& actionsByMinute,
                                             int64_t durationMs) {
  std::vector<double> rates;
  for (std::size_t minute = 0; minute < actionsByMinute.size(); ++minute) {
    const int64_t length = minuteLength(minute, durationMs);
    if (length < kShortestChartedMinuteMs) break;
    rates.push_back(actionsByMinute[minute] * static_cast<double>(kMinuteMs) /
                    static_cast<double>(length));
  }
  std::vector<double> smoothed(rates.size());
  for (std::size_t i = 0; i < rates.size(); ++i) {
    const std::size_t first = i > 0 ? i - 1 : 0;
    const std::size_t last = std::min(i + 1, rates.size() - 1);
    double sum = 0;
    for (std::size_t j = first; j <= last; ++j) sum += rates[j];
    smoothed[i] = sum / static_cast<double>(last - first + 1);
  }
  return smoothed;
}

ChartScale chartScale(double highestRate, double minutes, int32_t plotWidth) {
  ChartScale scale;
  // Five rate steps at most, whatever the pace: a slow game's lines still
  // fill the height.
  scale.step = roundStep(std::max(highestRate, 10.0), 5);
  scale.top = static_cast<int32_t>(std::ceil(std::max(highestRate, 10.0) / scale.step)) * scale.step;
  // A minute label needs about 36 pixels to stand clear of the next.
  const double labels = std::max(1.0, std::floor(plotWidth / 36.0));
  constexpr int32_t kMinuteSteps[] = {1, 2, 5, 10, 15, 20, 30, 60, 120, 240, 480, 960};
  scale.minuteStep = kMinuteSteps[std::size(kMinuteSteps) - 1];
  for (const int32_t step : kMinuteSteps) {
    if (minutes / step <= labels) {
      scale.minuteStep = step;
      break;
    }
  }
  return scale;
}

PlotArea plotAreaOf(int32_t width, int32_t height) {
  const int32_t scale = fontScale(height);
  const int32_t glyph = kGlyphHeight * scale;
  PlotArea area;
  // Room for four digits of rate on the left, the minutes under the axis and
  // the title over the plot.
  area.left = textWidth("0000", scale) + 10 * scale;
  area.top = glyph + 10 * scale;
  area.right = width - 12 * scale;
  area.bottom = height - glyph - 10 * scale;
  return area;
}

Picture drawActionsChart(const ChartData& data, int32_t width, int32_t height) {
  Picture picture;
  picture.width = std::clamp(width, kChartMinWidth, kChartMaxSize);
  picture.height = std::clamp(height, kChartMinHeight, kChartMaxSize);
  picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 255);
  Canvas canvas(picture);
  canvas.fill(0, 0, picture.width, picture.height, kGround);
  const int32_t scale = fontScale(picture.height);
  const PlotArea area = plotAreaOf(picture.width, picture.height);
  const double plotWidth = area.right - area.left;
  const double plotHeight = area.bottom - area.top;

  std::vector<std::vector<double>> rates;
  double highest = 0;
  for (const ChartLine& line : data.lines) {
    rates.push_back(smoothedActionsPerMinute(line.actionsByMinute, data.durationMs));
    for (const double rate : rates.back()) highest = std::max(highest, rate);
  }
  const double spanMs = static_cast<double>(std::max<int64_t>(data.durationMs, kMinuteMs));
  const double minutes = spanMs / kMinuteMs;
  const ChartScale chart = chartScale(highest, minutes, static_cast<int32_t>(plotWidth) / scale);
  const auto xOf = [&](double ms) { return area.left + std::min(ms, spanMs) / spanMs * plotWidth; };
  const auto yOf = [&](double rate) { return area.bottom - rate / chart.top * plotHeight; };
  const int32_t glyph = kGlyphHeight * scale;

  for (int32_t rate = 0; rate <= chart.top; rate += chart.step) {
    const auto y = static_cast<int32_t>(std::lround(yOf(rate)));
    if (rate > 0) canvas.fill(area.left, y, area.right, y + 1, kGrid);
    const std::string label = std::to_string(rate);
    canvas.text(label, area.left - 6 * scale - textWidth(label, scale), y - glyph / 2, scale, kLabel);
  }
  for (int32_t minute = 0; minute <= static_cast<int32_t>(minutes); minute += chart.minuteStep) {
    const auto x = static_cast<int32_t>(std::lround(xOf(minute * static_cast<double>(kMinuteMs))));
    if (minute > 0) canvas.fill(x, area.top, x + 1, area.bottom, kGrid);
    canvas.fill(x, area.bottom, x + 1, area.bottom + 3 * scale, kAxis);
    const std::string label = minuteLabel(minute);
    canvas.text(label, x - textWidth(label, scale) / 2, area.bottom + 5 * scale, scale, kLabel);
  }
  canvas.fill(area.left, area.top, area.left + 1, area.bottom + 1, kAxis);
  canvas.fill(area.left, area.bottom, area.right, area.bottom + 1, kAxis);
  canvas.text(kTitle, area.left, area.top - glyph - 5 * scale, scale, kLabel);

  // Every line first, then the ages over them: no line hides a mark.
  const double lineWidth = 2.0 * scale;
  std::vector<std::vector<Point>> lines;
  for (std::size_t i = 0; i < data.lines.size(); ++i) {
    std::vector<Point>& points = lines.emplace_back();
    for (std::size_t minute = 0; minute < rates[i].size(); ++minute) {
      const double middle = static_cast<double>(minute) * kMinuteMs +
                            static_cast<double>(minuteLength(minute, data.durationMs)) / 2;
      points.push_back({xOf(middle), yOf(rates[i][minute])});
    }
    const Rgb colour = data.lines[i].colour;
    for (std::size_t p = 1; p < points.size(); ++p)
      canvas.segment(points[p - 1].x, points[p - 1].y, points[p].x, points[p].y, lineWidth, colour);
    if (points.size() == 1) canvas.disc(points[0].x, points[0].y, lineWidth, colour);
  }
  for (std::size_t i = 0; i < data.lines.size(); ++i) {
    const ChartLine& line = data.lines[i];
    if (lines[i].empty()) continue;
    for (std::size_t age = 0; age < line.agesMs.size(); ++age) {
      if (!line.agesMs[age] || *line.agesMs[age] < 0) continue;
      const double x = xOf(static_cast<double>(*line.agesMs[age]));
      const double y = lineYAt(lines[i], x);
      const double radius = 4.0 * scale;
      canvas.disc(x, y, radius + scale, line.colour);
      canvas.disc(x, y, radius - scale, kGround);
      const std::string numeral = kAgeNumerals[age];
      const auto top = static_cast<int32_t>(std::lround(y - radius - 3 * scale)) - glyph;
      canvas.text(numeral, static_cast<int32_t>(std::lround(x)) - textWidth(numeral, scale) / 2,
                  std::max(top, 0), scale, line.colour);
    }
  }
  return picture;
}

}  // namespace morvane
