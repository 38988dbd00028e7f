#include "recording/setting_names.h"

#include <cmath>

namespace morvane {

std::optional<Speed> speedOf(float stored) {
  if (!std::isfinite(stored)) return std::nullopt;
  switch (static_cast<int>(std::lround(stored * 100))) {
    case 100:
      return Speed::kSlow;
    case 150:
    case 178:  // community patch 1.5's own speeds
    case 169:  // the Definitive Edition's normal speed
      return Speed::kNormal;
    case 200:
    case 237:
      return Speed::kFast;
    default:
      return std::nullopt;
  }
}

}  // namespace morvane
