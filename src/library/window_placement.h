// Where a second window opens beside the window that owns it, worked out
// from rectangles alone so that the choice is the same on every system.
#pragma once

#include <cstdint>

namespace morvane {

// Screen pixels; right and bottom are outside, as Windows counts them.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
};

struct ScreenPoint {
  int32_t x = 0, y = 0;
};

// The top-left corner for a window of width x height beside owner, inside
// work (the owner's monitor's work area): to its right, else its left, else
// below, else above it, top or left edges aligned, where the whole window
// fits there; else, of those places moved into work and work's four corners,
// the one that covers the least of owner (the first of them on a tie). A
// window larger than work keeps its top-left corner in work.
ScreenPoint placeBeside(const ScreenRect& owner, int32_t width, int32_t height,
                        const ScreenRect& work);

}  // namespace morvane
