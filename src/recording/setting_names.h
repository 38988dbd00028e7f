// Which of the game's fixed choices a stored setting is, for the names the
// inspector and the window give them. nullopt: a value the game never offers.
#pragma once

#include <cstdint>
#include <optional>

namespace morvane {

enum class Speed { kSlow, kNormal, kFast };

// Stored as a factor (1.5); a patch's own factors count under the names it
// shows them by.
std::optional<Speed> speedOf(float stored);

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
