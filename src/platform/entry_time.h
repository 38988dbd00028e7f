// A time broken down in UTC, in the order of a Win32 SYSTEMTIME.
#pragma once

#include <cstdint>

namespace morvane::platform {

struct EntryTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

}  // namespace morvane::platform
