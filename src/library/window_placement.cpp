#include "library/window_placement.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace morvane {
namespace {

// Between the two windows, so that their frames do not touch.
constexpr int32_t kGap = 4;

int64_t overlap(const ScreenRect& a, const ScreenRect& b) {
  const int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

ScreenRect at(ScreenPoint corner, int32_t width, int32_t height) {
  return {corner.x, corner.y, corner.x + width, corner.y + height};
}

bool inside(const ScreenRect& r, const ScreenRect& work) {
  return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
         r.bottom <= work.bottom;
}

// Moved the least distance into work; the top-left corner wins where it cannot fit.
ScreenPoint into(ScreenPoint p, int32_t width, int32_t height, const ScreenRect& work) {
  p.x = std::max(std::min(p.x, work.right - width), work.left);
  p.y = std::max(std::min(p.y, work.bottom - height), work.top);
  return p;
}

}  // namespace

ScreenPoint placeBeside(const ScreenRect& owner, int32_t width, int32_t height,
                        const ScreenRect& work) {
  const ScreenPoint beside[] = {
      {owner.right + kGap, owner.top},           // right
      {owner.left - kGap - width, owner.top},    // left
      {owner.left, owner.bottom + kGap},         // below
      {owner.left, owner.top - kGap - height},   // above
  };
  std::vector<ScreenPoint> tried;
  for (std::size_t side = 0; side < std::size(beside); ++side) {
    const ScreenPoint p = beside[side];
    // Slid along the owner's side into work, it still does not cover it:
    // right and left slide up and down, below and above sideways.
    const bool leftOrRight = side < 2;
    const ScreenPoint slid = leftOrRight ? ScreenPoint{p.x, into(p, width, height, work).y}
                                         : ScreenPoint{into(p, width, height, work).x, p.y};
    const ScreenRect r = at(slid, width, height);
    if (inside(r, work) && overlap(r, owner) == 0) return slid;
    tried.push_back(into(p, width, height, work));
  }
  for (const ScreenPoint corner : {ScreenPoint{work.left, work.top},
                                   ScreenPoint{work.right - width, work.top},
                                   ScreenPoint{work.left, work.bottom - height},
                                   ScreenPoint{work.right - width, work.bottom - height}}) {
    tried.push_back(into(corner, width, height, work));
  }
  ScreenPoint best = tried.front();
  int64_t least = overlap(at(best, width, height), owner);
  for (const ScreenPoint p : tried) {
    const int64_t covered = overlap(at(p, width, height), owner);
    if (covered < least) best = p, least = covered;
  }
  return best;
}

}  // namespace morvane
