// Which of the game's fixed choices a stored setting is, for the names the
// inspector and the window give them. nullopt: a value the game never offers.
#pragma once

#include <cstdint>
#include <optional>

#include "recording/game_version.h"

namespace morvane {

// The names the games give their speeds; the Definitive Edition added one
// between its slow and normal speeds.
enum class Speed { kSlow, kNormal, kFast, kCasual };

// Stored as a factor (1.5); each edition and patch names its own factors:
// 1.5, the others' normal speed, is the Definitive Edition's casual one.
std::optional<Speed> speedOf(float stored, VersionFamily family);

// Index into each list of names: map sizes Tiny..Giant, reveal map
// Normal..All Visible, difficulty Hardest..Easiest, starting age
// Standard..Post-Imperial, victory Standard..Custom, game type Random Map..
// Turbo Random Map.
inline constexpr int32_t kMapSizes = 6;
inline constexpr int32_t kRevealMaps = 3;
inline constexpr int32_t kDifficulties = 5;
inline constexpr int32_t kStartingAges = 6;
inline constexpr int32_t kVictories = 5;
inline constexpr int32_t kGameTypes = 9;

inline bool named(std::optional<int32_t> value, int32_t count) {
  return value && *value >= 0 && *value < count;
}

}  // namespace morvane
