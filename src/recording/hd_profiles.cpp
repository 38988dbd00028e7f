#include "recording/hd_profiles.h"

namespace morvane {

std::map<int32_t, HdProfile> hdProfilesOf(const LobbyBlock& lobby) {
  std::map<int32_t, HdProfile> profiles;
  for (const LobbyPlayer& player : lobby.players) {
    if (player.number < 1 || player.profileId == 0) continue;
    HdProfile profile;
    profile.steamId = player.profileId;
    profile.rmRating = player.rmRating.value_or(0);
    profile.dmRating = player.dmRating.value_or(0);
    profiles.emplace(player.number, profile);
  }
  return profiles;
}

}  // namespace morvane
