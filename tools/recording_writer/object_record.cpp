#include "recording_writer/object_record.h"

namespace morvane::fixtures {

void objectRecordHead(ByteWriter& out, uint8_t type, uint8_t owner, uint16_t unit, float x,
                      float y) {
  out.u8(type);
  out.u8(owner);
  out.i16(static_cast<int16_t>(unit));
  out.i16(0);       // sprite
  out.i32(-1);      // not garrisoned
  out.f32(100.0f);  // hit points
  out.zeros(4);     // states
  out.i32(0);       // id
  out.u8(0);        // facet
  out.f32(x);
  out.f32(y);
  out.f32(0);
  out.zeros(8);  // screen and shadow offsets
  out.i16(-1);   // no resource
  out.f32(0);
  out.zeros(1 + 3);
}

}  // namespace morvane::fixtures
