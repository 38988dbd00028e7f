// The opening of an object record, the same in every edition that writes
// the start's object lists.
#pragma once

#include <cstdint>

#include "recording_writer/byte_writer.h"

namespace morvane::fixtures {

// Type, owner, unit, sprite, garrison, hit points, states, id, facet, place,
// screen offsets, no resource and its amount, workers, damage and attack:
// up to the pathing group, which the editions write differently.
void objectRecordHead(ByteWriter& out, uint8_t type, uint8_t owner, uint16_t unit, float x,
                      float y);

}  // namespace morvane::fixtures
