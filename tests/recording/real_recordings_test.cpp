// Every real recording with a truth file beside it: load and parse it and
// compare each field the file pins with the game's true value.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"
#include "recording_writer/temp_folder.h"
#include "support/tiny_json.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using testing_json::Value;

std::string toHex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

uint32_t tilesCrc(const TerrainTiles& tiles) {
  std::vector<uint8_t> bytes(TerrainTiles::kSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = tiles[i];
  return static_cast<uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

std::vector<std::string> recordingNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(MORVANE_RECORDINGS_DIR, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const std::string suffix = ".truth.json";
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(name.substr(0, name.size() - suffix.size()));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

void compareRecording(const std::string& name, const fixtures::TempFolder& folder) {
  SCOPED_TRACE(name);
  const fs::path dir(MORVANE_RECORDINGS_DIR);
  const auto jsonBytes = fixtures::readFile((dir / (name + ".truth.json")).string());
  const std::string jsonText(jsonBytes.begin(), jsonBytes.end());
  Value expected;
  ASSERT_TRUE(testing_json::Parser(jsonText).parse(expected)) << "unreadable expected file";

  // The shared folder is read-only: load a copy, as the temporary file goes beside it.
  const std::string copy = folder.file(name);
  ASSERT_TRUE(fixtures::writeFile(copy, fixtures::readFile((dir / name).string())));

  RecordedGameFile file;
  const bool loaded = file.load(copy);
  ASSERT_EQ(loaded, expected["loaded"].boolean) << describe(file.lastError());
  if (!loaded) return;

  std::set<std::string> undefined;
  if (expected.has("undefined")) {
    for (const Value& field : expected["undefined"].items) undefined.insert(field.text);
  }
  const auto check = [&](const char* field) {
    return expected.has(field) && undefined.count(field) == 0;
  };

  GameEntry entry;
  file.parseHeader(entry);

  const auto number = [&](const char* field, int64_t actual) {
    if (check(field)) {
      EXPECT_EQ(actual, expected[field].number) << field;
    }
  };
  const auto bytes = [&](const char* field, const std::string& actual) {
    if (check(field)) {
      EXPECT_EQ(toHex(actual), expected[field].text) << field;
    }
  };
  number("headerLength", file.headerLength());
  number("bodyLength", file.bodyLength());
  bytes("mapName", entry.mapName);
  number("mapWidth", entry.mapWidth);
  number("mapHeight", entry.mapHeight);
  number("mapTilesCrc32", tilesCrc(entry.mapTiles));
  number("povIndex", entry.povIndex);
  number("playerCount", entry.playerCount);
  for (std::size_t k = 0; k < 9; ++k) {
    SCOPED_TRACE("position " + std::to_string(k));
    if (check("playerNumbers")) {
      EXPECT_EQ(entry.playerNumbers[k], expected["playerNumbers"][k].number);
    }
    if (check("playerNames")) {
      EXPECT_EQ(toHex(entry.playerNames[k]), expected["playerNames"][k].text);
    }
    if (check("teamLabels")) {
      EXPECT_EQ(toHex(entry.teamLabels[k]), expected["teamLabels"][k].text);
    }
    if (check("slots")) {
      const Value& slot = expected["slots"][k];
      EXPECT_EQ(toHex(entry.slots[k].name), slot["name"].text);
      // null: a slot that holds no player, not pinned.
      if (slot["civId"].kind != Value::Kind::kNull) {
        EXPECT_EQ(entry.slots[k].civId, slot["civId"].number);
      }
      if (slot["colourId"].kind != Value::Kind::kNull) {
        EXPECT_EQ(entry.slots[k].colourId, slot["colourId"].number);
      }
    }
  }
  if (check("version")) {
    EXPECT_EQ(versionName(file.version().family), expected["version"].text);
  }
  bytes("lobbyChat", entry.lobbyChat);
  bytes("gameChat", entry.gameChat);
  if (check("povName")) {
    const std::string pov =
        entry.povIndex >= 1 && entry.povIndex <= 8 ? entry.playerNames[entry.povIndex] : "";
    EXPECT_EQ(toHex(pov), expected["povName"].text);
  }
}

TEST(RealRecordingsTest, EveryRecordingMatchesItsExpectedFields) {
  if (!fs::is_directory(MORVANE_RECORDINGS_DIR)) {
    GTEST_SKIP() << "no real recordings at " << MORVANE_RECORDINGS_DIR;
  }
  const std::vector<std::string> names = recordingNames();
  ASSERT_FALSE(names.empty()) << "no truth files in " << MORVANE_RECORDINGS_DIR;
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  for (const std::string& name : names) compareRecording(name, folder);
}

}  // namespace
}  // namespace morvane
