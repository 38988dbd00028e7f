#include "library/window_placement.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

struct PlacementCase {
  const char* name;
  ScreenRect owner;
  int32_t width, height;
  ScreenRect work;
  ScreenPoint expected;
};

constexpr ScreenRect kScreen = {0, 0, 1024, 768};

const PlacementCase kCases[] = {
    {"RightWhereItFits", {10, 20, 500, 420}, 400, 300, kScreen, {504, 20}},
    {"LeftWhenTheRightIsShort", {600, 20, 1000, 420}, 400, 300, kScreen, {196, 20}},
    {"BelowWhenNeitherSideHasRoom", {100, 0, 900, 300}, 600, 400, kScreen, {100, 304}},
    {"AboveWhenOnlyAboveHasRoom", {100, 420, 900, 768}, 600, 400, kScreen, {100, 16}},
    // The owner low on the screen: beside it, moved up so that it fits.
    {"SlidUpAlongTheSide", {0, 500, 480, 760}, 500, 400, kScreen, {484, 368}},
    // No place free of the owner: the one that covers least of it. Against
    // the screen's right or left edge it covers 464 of the owner's columns
    // either way, below it 600: the first tried, the right, wins.
    {"CoversTheLeastWhereNothingFits", {136, 0, 888, 768}, 600, 700, kScreen, {424, 0}},
    {"LargerThanTheScreenKeepsItsCornerOnIt", {0, 0, 200, 200}, 1200, 900, kScreen, {0, 0}},
    // A second monitor's work area starting left of the first one.
    {"OnAMonitorWithNegativeCoordinates", {-1000, 100, -600, 500}, 300, 300,
     {-1280, 0, 0, 1024}, {-596, 100}},
};

class WindowPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(WindowPlacementTest, PlacesTheWindow) {
  const PlacementCase& c = GetParam();
  const ScreenPoint p = placeBeside(c.owner, c.width, c.height, c.work);
  EXPECT_EQ(p.x, c.expected.x);
  EXPECT_EQ(p.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowPlacementTest, ::testing::ValuesIn(kCases),
                         [](const auto& each) { return std::string(each.param.name); });

}  // namespace
}  // namespace morvane
