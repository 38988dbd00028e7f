// Which game wrote a recording: the version text, the save version after it
// and the body's first int32 decide the family and so the layout row.
#include "recording/game_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "recording_writer/byte_writer.h"

namespace morvane {
namespace {

TEST(GameVersionTest, FamilyComesFromTextSaveVersionAndBody) {
  struct Row {
    std::string_view text;
    float save;
    int32_t bodyStart;
    const char* name;
  };
  const Row rows[] = {
      {"VER 9.3", 11.5f, 0, "AoK"},
      {"TRL 9.3", 11.5f, 0, "AoK trial"},
      {"VER 9.4", 11.76f, 3, "AoC 1.0"},
      {"VER 9.4", 11.76f, 4, "AoC 1.0c"},
      {"VER 9.4", 11.76f, 5, "AoC"},
      {"VER 9.4", 11.77f, 4, "HD"},
      {"VER 9.8", 11.76f, 4, "UserPatch 1.2"},
      {"VER 9.9", 11.76f, 4, "UserPatch 1.3"},
      {"VER 9.D", 11.76f, 4, "UserPatch 1.4"},
      {"VER 9.E", 11.76f, 4, "UserPatch 1.5"},
      {"VER 9.5", 11.76f, 4, "unknown"},
      {"", 0, 4, "unknown"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " " + std::to_string(row.save));
    fixtures::ByteWriter header;
    header.text(row.text);
    header.padTo(8);
    uint32_t bits = 0;
    std::memcpy(&bits, &row.save, sizeof bits);
    header.u32(bits);
    fixtures::ByteWriter body;
    body.i32(row.bodyStart);
    const GameVersion version =
        readGameVersion(ByteSpan(header.bytes().data(), header.bytes().size()),
                        ByteSpan(body.bytes().data(), body.bytes().size()));
    EXPECT_STREQ(versionName(version.family), row.name);
  }
}

}  // namespace
}  // namespace morvane
