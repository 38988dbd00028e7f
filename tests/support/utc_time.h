// A UTC time from its parts: what the listing shows for a game and the stamp a
// test gives its file.
#pragma once

#include <cstdint>

#include "platform/entry_time.h"

namespace morvane::fixtures {

inline platform::EntryTime utcTime(int year, int month, int day, int hour, int minute,
                                   int second = 0) {
  platform::EntryTime time;
  time.year = static_cast<uint16_t>(year);
  time.month = static_cast<uint16_t>(month);
  time.day = static_cast<uint16_t>(day);
  time.hour = static_cast<uint16_t>(hour);
  time.minute = static_cast<uint16_t>(minute);
  time.second = static_cast<uint16_t>(second);
  return time;
}

}  // namespace morvane::fixtures
