#include "recording/setting_names.h"

#include <cmath>

namespace morvane {

std::optional<Speed> speedOf(float stored, VersionFamily family) {
  if (!std::isfinite(stored) || std::fabs(stored) > 100) return std::nullopt;
  const auto hundredths = static_cast<int>(std::lround(stored * 100));
  if (family == VersionFamily::kDE) {
    switch (hundredths) {
      case 100:
        return Speed::kSlow;
      case 150:
        return Speed::kCasual;
      case 169:  // the edition's normal speed, 1.7 as it shows it
      case 170:
        return Speed::kNormal;
      case 200:
        return Speed::kFast;
      default:
        return std::nullopt;
    }
  }
  switch (hundredths) {
    case 100:
      return Speed::kSlow;
    case 150:
    case 178:  // community patch 1.5's own speeds
      return Speed::kNormal;
    case 200:
    case 237:
      return Speed::kFast;
    default:
      return std::nullopt;
  }
}

}  // namespace morvane
