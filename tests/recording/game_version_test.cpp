// Which game wrote a recording: the version text, the save version after it
// and the body's first int32 decide the family and so the layout row.
#include "recording/game_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "recording_writer/byte_writer.h"

namespace morvane {
namespace {

// The family, whether the table holds the version, and the name the
// inspector gives it: a version the table holds no row for is named by what
// the header states and never read as its nearest neighbour.
TEST(GameVersionTest, FamilyComesFromTextSaveVersionAndBody) {
  constexpr uint32_t kNoFixedPoint = 0;
  struct Row {
    std::string_view text;
    float save;
    uint32_t fixedPoint;  // after a save version of -1, as newer patches store it
    int32_t bodyStart;
    const char* family;
    bool supported;
    const char* name;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Row rows[] = {
      {"VER 9.3", 11.5f, kNoFixedPoint, 0, "AoK", true, "AoK"},
      {"TRL 9.3", 11.5f, kNoFixedPoint, 0, "AoK trial", true, "AoK trial"},
      {"VER 9.4", 11.76f, kNoFixedPoint, 3, "AoC 1.0", true, "AoC 1.0"},
      {"VER 9.4", 11.76f, kNoFixedPoint, 4, "AoC 1.0c", true, "AoC 1.0c"},
      {"VER 9.4", 11.76f, kNoFixedPoint, 5, "AoC", true, "AoC"},
      {"VER 9.4", 11.77f, kNoFixedPoint, 4, "HD", true, "HD"},
      {"VER 9.4", 12.5f, kNoFixedPoint, 4, "HD", true, "HD"},
      {"VER 9.4", 12.51f, kNoFixedPoint, 4, "unknown", false, "VER 9.4 12.51"},
      {"VER 9.4", 12.96f, kNoFixedPoint, 5, "unknown", false, "VER 9.4 12.96"},
      {"VER 9.4", 12.97f, kNoFixedPoint, 5, "DE", true, "DE"},
      {"VER 9.4", 13.17f, kNoFixedPoint, 5, "DE", true, "DE"},
      {"VER 9.4", -1.0f, 37u << 16, 5, "DE", true, "DE"},
      {"VER 9.4", -1.0f, 37, 5, "DE", true, "DE"},
      {"VER 9.4", -1.0f, 63u << 16, 5, "DE", true, "DE"},
      {"VER 9.4", -1.0f, 4345037, 5, "DE", true, "DE"},  // 66.3
      {"VER 9.4", -1.0f, 4364698, 5, "DE", true, "DE"},  // 66.6
      {"VER 9.4", -1.0f, 4404019, 5, "DE", true, "DE"},  // 67.2, the newest row
      // Between rows no description settles, or newer than the newest row:
      // named, never read as its neighbour.
      {"VER 9.4", -1.0f, 4365353, 5, "DE", false, "DE 66.61"},
      {"VER 9.4", -1.0f, 67u << 16, 5, "DE", false, "DE 67.0"},
      {"VER 9.4", -1.0f, 4410573, 5, "DE", false, "DE 67.3"},
      {"VER 9.4", -1.0f, 68u << 16, 5, "DE", false, "DE 68.0"},
      {"VER 9.4", nan, kNoFixedPoint, 4, "AoC 1.0c", false, "VER 9.4 nan"},
      {"VER 9.8", 11.76f, kNoFixedPoint, 4, "UserPatch 1.2", true, "UserPatch 1.2"},
      {"VER 9.9", 11.76f, kNoFixedPoint, 4, "UserPatch 1.3", true, "UserPatch 1.3"},
      {"VER 9.D", 11.76f, kNoFixedPoint, 4, "UserPatch 1.4", true, "UserPatch 1.4"},
      {"VER 9.E", 11.76f, kNoFixedPoint, 4, "UserPatch 1.5", true, "UserPatch 1.5"},
      {"VER 9.F", 11.77f, kNoFixedPoint, 4, "UserPatch 1.5", false, "VER 9.F 11.77"},
      {"VER 9.5", 11.76f, kNoFixedPoint, 4, "unknown", false, "VER 9.5 11.76"},
      {"VER\x01"
       "9.4",
       11.76f, kNoFixedPoint, 4, "unknown", false, "VER?9.4 11.76"},
      // No text at all: the documented rules' layout, the table's first row.
      {"", 0, kNoFixedPoint, 4, "unknown", true, "unknown"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " " + std::to_string(row.save) + " " +
                 std::to_string(row.fixedPoint));
    fixtures::ByteWriter header;
    header.text(row.text);
    header.padTo(8);
    uint32_t bits = 0;
    std::memcpy(&bits, &row.save, sizeof bits);
    header.u32(bits);
    if (row.fixedPoint != kNoFixedPoint) header.u32(row.fixedPoint);
    fixtures::ByteWriter body;
    body.i32(row.bodyStart);
    const GameVersion version =
        readGameVersion(ByteSpan(header.bytes().data(), header.bytes().size()),
                        ByteSpan(body.bytes().data(), body.bytes().size()));
    EXPECT_STREQ(versionName(version.family), row.family);
    EXPECT_EQ(version.supported, row.supported);
    EXPECT_EQ(versionName(version), row.name);
  }
}

}  // namespace
}  // namespace morvane
