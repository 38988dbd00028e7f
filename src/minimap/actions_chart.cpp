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
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture_.width) +
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
  void disc(double cx, double cy, double radius, Rgb colour) {
    segment(cx, cy, cx, cy, radius * 2, colour);
  }

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

// Everything the drawing places, computed once for the picture and the marks.
struct Geometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t scale = 1;
  int32_t glyph = 0;
  PlotArea area;
  double spanMs = 0;
  ChartScale chart;
  std::vector<std::vector<Point>> lines;  // the middles of each line's minutes

  double xOf(double ms) const {
    return area.left + std::min(ms, spanMs) / spanMs * (area.right - area.left);
  }
  double yOf(double rate) const {
    return area.bottom - rate / chart.top * (area.bottom - area.top);
  }
};

Geometry geometryOf(const ChartData& data, int32_t width, int32_t height) {
  Geometry g;
  g.width = std::clamp(width, kChartMinWidth, kChartMaxSize);
  g.height = std::clamp(height, kChartMinHeight, kChartMaxSize);
  g.scale = fontScale(g.height);
  g.glyph = kGlyphHeight * g.scale;
  g.area = plotAreaOf(g.width, g.height);
  std::vector<std::vector<double>> rates;
  double highest = 0;
  for (const ChartLine& line : data.lines) {
    rates.push_back(smoothedActionsPerMinute(line.actionsByMinute, data.durationMs));
    for (const double rate : rates.back()) highest = std::max(highest, rate);
  }
  g.spanMs = static_cast<double>(std::max<int64_t>(data.durationMs, kMinuteMs));
  g.chart = chartScale(highest, g.spanMs / kMinuteMs, (g.area.right - g.area.left) / g.scale);
  for (std::size_t i = 0; i < data.lines.size(); ++i) {
    std::vector<Point>& points = g.lines.emplace_back();
    for (std::size_t minute = 0; minute < rates[i].size(); ++minute) {
      const double middle = static_cast<double>(minute) * kMinuteMs +
                            static_cast<double>(minuteLength(minute, data.durationMs)) / 2;
      points.push_back({g.xOf(middle), g.yOf(rates[i][minute])});
    }
  }
  return g;
}

double ringRadius(const Geometry& g) { return 4.0 * g.scale; }

ChartBox ringBox(const Geometry& g, double x, double y) {
  const double outer = ringRadius(g) + g.scale;
  return {static_cast<int32_t>(std::floor(x - outer)), static_cast<int32_t>(std::floor(y - outer)),
          static_cast<int32_t>(std::ceil(x + outer)), static_cast<int32_t>(std::ceil(y + outer))};
}

// Far enough apart that two numerals never read as one.
ChartBox widened(const ChartBox& box, int32_t by) {
  return {box.left - by, box.top - by, box.right + by, box.bottom + by};
}

// How far up or down a numeral may move from its ring, in lines of text.
constexpr int32_t kNumeralMoves = 4;

std::vector<AgeMark> marksOf(const ChartData& data, const Geometry& g) {
  std::vector<AgeMark> marks;
  for (std::size_t i = 0; i < data.lines.size(); ++i) {
    if (g.lines[i].empty()) continue;
    for (std::size_t age = 0; age < data.lines[i].agesMs.size(); ++age) {
      const std::optional<int64_t>& ms = data.lines[i].agesMs[age];
      if (!ms || *ms < 0) continue;
      const double x = g.xOf(static_cast<double>(*ms));
      marks.push_back({i, static_cast<int32_t>(age), x, lineYAt(g.lines[i], x), std::nullopt});
    }
  }
  // In the order of time, so that the earliest ages keep the places over
  // their rings.
  std::stable_sort(marks.begin(), marks.end(),
                   [](const AgeMark& a, const AgeMark& b) { return a.x < b.x; });
  std::vector<ChartBox> rings;
  for (const AgeMark& mark : marks) rings.push_back(ringBox(g, mark.x, mark.y));
  const ChartBox title = chartTitleBox(g.width, g.height);
  std::vector<ChartBox> placed;
  const int32_t gap = g.scale;
  const int32_t step = g.glyph + 2 * g.scale;
  const auto isFree = [&](const ChartBox& box, bool besideRings, std::size_t own) {
    if (box.top < 0 || box.bottom > g.area.bottom || box.left < 0 || box.right > g.width)
      return false;
    if (boxesOverlap(widened(box, gap), title)) return false;
    for (const ChartBox& other : placed) {
      if (boxesOverlap(widened(box, gap), other)) return false;
    }
    if (!besideRings) return true;
    for (std::size_t r = 0; r < rings.size(); ++r) {
      if (r != own && boxesOverlap(box, rings[r])) return false;
    }
    return true;
  };
  for (std::size_t m = 0; m < marks.size(); ++m) {
    AgeMark& mark = marks[m];
    const int32_t textWidthPx = textWidth(kAgeNumerals[mark.age], g.scale);
    const int32_t left = std::clamp(static_cast<int32_t>(std::lround(mark.x)) - textWidthPx / 2, 0,
                                    std::max(g.width - textWidthPx, 0));
    const double radius = ringRadius(g);
    const auto over = static_cast<int32_t>(std::lround(mark.y - radius - 3 * g.scale)) - g.glyph;
    const auto under = static_cast<int32_t>(std::lround(mark.y + radius + 3 * g.scale));
    // Clear of the other rings where it can be, else over them.
    for (const bool besideRings : {true, false}) {
      for (int32_t move = 0; move < kNumeralMoves && !mark.numeral; ++move) {
        for (const int32_t top : {over - move * step, under + move * step}) {
          const ChartBox box{left, top, left + textWidthPx, top + g.glyph};
          if (isFree(box, besideRings, m)) {
            mark.numeral = box;
            break;
          }
        }
      }
    }
    if (mark.numeral) placed.push_back(*mark.numeral);
  }
  return marks;
}

}  // namespace

bool boxesOverlap(const ChartBox& a, const ChartBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ChartBox chartTitleBox(int32_t width, int32_t height) {
  const int32_t scale = fontScale(std::clamp(height, kChartMinHeight, kChartMaxSize));
  const PlotArea area = plotAreaOf(std::clamp(width, kChartMinWidth, kChartMaxSize),
                                   std::clamp(height, kChartMinHeight, kChartMaxSize));
  const int32_t top = area.top - kGlyphHeight * scale - 5 * scale;
  return {area.left, top, area.left + textWidth(kTitle, scale), top + kGlyphHeight * scale};
}

std::vector<AgeMark> ageMarksOf(const ChartData& data, int32_t width, int32_t height) {
  return marksOf(data, geometryOf(data, width, height));
}

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
  scale.top =
      static_cast<int32_t>(std::ceil(std::max(highestRate, 10.0) / scale.step)) * scale.step;
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
  const Geometry g = geometryOf(data, width, height);
  Picture picture;
  picture.width = g.width;
  picture.height = g.height;
  picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 255);
  Canvas canvas(picture);
  canvas.fill(0, 0, picture.width, picture.height, kGround);
  const int32_t scale = g.scale;
  const PlotArea& area = g.area;
  const int32_t glyph = g.glyph;

  for (int32_t rate = 0; rate <= g.chart.top; rate += g.chart.step) {
    const auto y = static_cast<int32_t>(std::lround(g.yOf(rate)));
    if (rate > 0) canvas.fill(area.left, y, area.right, y + 1, kGrid);
    const std::string label = std::to_string(rate);
    canvas.text(label, area.left - 6 * scale - textWidth(label, scale), y - glyph / 2, scale,
                kLabel);
  }
  const double minutes = g.spanMs / kMinuteMs;
  for (int32_t minute = 0; minute <= static_cast<int32_t>(minutes); minute += g.chart.minuteStep) {
    const auto x =
        static_cast<int32_t>(std::lround(g.xOf(minute * static_cast<double>(kMinuteMs))));
    if (minute > 0) canvas.fill(x, area.top, x + 1, area.bottom, kGrid);
    canvas.fill(x, area.bottom, x + 1, area.bottom + 3 * scale, kAxis);
    const std::string label = minuteLabel(minute);
    canvas.text(label, x - textWidth(label, scale) / 2, area.bottom + 5 * scale, scale, kLabel);
  }
  canvas.fill(area.left, area.top, area.left + 1, area.bottom + 1, kAxis);
  canvas.fill(area.left, area.bottom, area.right, area.bottom + 1, kAxis);
  const ChartBox title = chartTitleBox(g.width, g.height);
  canvas.text(kTitle, title.left, title.top, scale, kLabel);

  // Every line first, then the ages over them: no line hides a mark.
  const double lineWidth = 2.0 * scale;
  for (std::size_t i = 0; i < data.lines.size(); ++i) {
    const std::vector<Point>& points = g.lines[i];
    const Rgb colour = data.lines[i].colour;
    for (std::size_t p = 1; p < points.size(); ++p)
      canvas.segment(points[p - 1].x, points[p - 1].y, points[p].x, points[p].y, lineWidth, colour);
    if (points.size() == 1) canvas.disc(points[0].x, points[0].y, lineWidth, colour);
  }
  const std::vector<AgeMark> marks = marksOf(data, g);
  const double radius = ringRadius(g);
  for (const AgeMark& mark : marks) {
    const Rgb colour = data.lines[mark.line].colour;
    canvas.disc(mark.x, mark.y, radius + scale, colour);
    canvas.disc(mark.x, mark.y, radius - scale, kGround);
  }
  // The numerals last, each on a patch of ground: neither a ring nor a line
  // crosses one.
  for (const AgeMark& mark : marks) {
    if (!mark.numeral) continue;
    const ChartBox& box = *mark.numeral;
    canvas.fill(box.left - scale, box.top - scale, box.right + scale, box.bottom + scale, kGround);
    canvas.text(kAgeNumerals[mark.age], mark.numeral->left, mark.numeral->top, scale,
                data.lines[mark.line].colour);
  }
  return picture;
}

}  // namespace morvane
