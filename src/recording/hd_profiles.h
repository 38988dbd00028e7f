// The later edition's player profiles, from its lobby block.
#pragma once

#include <cstdint>
#include <map>

#include "recording/game_facts.h"
#include "recording/lobby_block.h"

namespace morvane {

// By player number: each entry of a player with a profile (an AI or an empty
// or closed slot has none); the first of co-op seats sharing a number. A
// block without ratings gives 0 for them.
std::map<int32_t, HdProfile> hdProfilesOf(const LobbyBlock& lobby);

}  // namespace morvane
