// The plainest header the later stages can start from: no optional block, a
// map block without records or terrain and, where a test needs one, the
// player list closed by its double marker.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "recording_writer/header_builder.h"

namespace morvane::fixtures {

// Plain start and map block; returns where the map block's parts lie.
inline MapBlockPositions mapWithoutRecords(HeaderBuilder& h, uint8_t playerCount = 2) {
  h.plainStart();
  MapBlock map;
  map.playerCount = playerCount;
  map.recordChecks = {};
  return h.mapBlock(map);
}

// The map block, then the player list at 20000; returns listEnd.
inline int64_t headerThroughPlayerList(HeaderBuilder& h, std::vector<ListEntry> list = {}) {
  mapWithoutRecords(h);
  h.padTo(20000);
  h.playerList(std::move(list));
  return h.doubleMarker();
}

}  // namespace morvane::fixtures
