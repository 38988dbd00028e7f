// Every real recording with a truth file beside it: load and parse it and
// compare each field the file pins with the game's true value.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "recording/body_walk.h"
#include "recording/recorded_game_file.h"
#include "recording/setting_names.h"
#include "recording_writer/recording_writer.h"
#include "recording_writer/temp_folder.h"
#include "support/shared_recordings.h"
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

// The last research click of each age per player number, as the facts file
// beside the recording gives it; a player or age it names unsettled is not
// pinned.
void compareDefinitiveAgeUps(const std::string& name, const GameFacts& facts) {
  const fs::path path = fs::path(MORVANE_RECORDINGS_DIR) / (name + ".de-facts.json");
  if (!fs::exists(path)) return;
  const auto jsonBytes = fixtures::readFile(path.string());
  Value expected;
  ASSERT_TRUE(testing_json::Parser(std::string(jsonBytes.begin(), jsonBytes.end())).parse(expected));
  const Value& ageUps = expected["ageUps"];
  const auto unsettled = [&](const std::string& key) {
    return expected.has("unsettledAgeUps") && expected["unsettledAgeUps"].has(key);
  };
  for (const auto& [number, times] : facts.ageUps) {
    EXPECT_TRUE(ageUps.has(std::to_string(number))) << "player " << number << " clicked";
  }
  static const char* const kAgeKeys[kAges] = {"feudal", "castle", "imperial"};
  for (const auto& [key, player] : ageUps.members) {
    if (unsettled(key)) continue;
    const auto read = facts.ageUps.find(std::stoi(key));
    for (int age = 0; age < kAges; ++age) {
      SCOPED_TRACE("player " + key + " " + kAgeKeys[age]);
      const Value& times = player[kAgeKeys[age]];
      const std::optional<int64_t> last =
          read == facts.ageUps.end() ? std::nullopt : read->second.ms[std::size_t(age)];
      if (times.has("lastClickMs")) {
        EXPECT_EQ(last, times["lastClickMs"].number);
      } else {
        EXPECT_EQ(last, std::nullopt);
      }
    }
  }
}

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Every field the Definitive Edition's truth file states, except those its
// "unsettled" names.
void compareDefinitiveRecording(const std::string& name, const fixtures::TempFolder& folder) {
  SCOPED_TRACE(name);
  const fs::path dir(MORVANE_RECORDINGS_DIR);
  const auto jsonBytes = fixtures::readFile((dir / (name + ".de-truth.json")).string());
  Value truth;
  ASSERT_TRUE(testing_json::Parser(std::string(jsonBytes.begin(), jsonBytes.end())).parse(truth));
  const auto stated = [&](const std::string& field) {
    return truth.has(field) && !(truth.has("unsettled") && truth["unsettled"].has(field));
  };
  const std::string copy = folder.file(name);
  ASSERT_TRUE(fixtures::writeFile(copy, fixtures::readFile((dir / name).string())));
  RecordedGameFile file;
  ASSERT_TRUE(file.load(copy)) << describe(file.lastError());
  const GameVersion version = file.version();
  EXPECT_EQ(versionName(version), "DE");
  EXPECT_NEAR(version.saveVersion, truth["saveVersion"].real, 0.001);
  EXPECT_EQ(version.text, truth["versionString"].text);

  GameEntry entry;
  file.parseGame(entry);
  const GameFacts& facts = entry.facts.read();
  // None holds map type text; the one on a custom map (lobby id 59) names it
  // by its script's file, as its header's random map strings state.
  const std::map<std::string, std::string> customMaps = {
      {"de-64.3-lobby-chat.aoe2record", "GBDCC_Dry River_v2.1"}};
  const auto custom = customMaps.find(name);
  EXPECT_EQ(entry.mapName,
            custom != customMaps.end() ? custom->second : std::string(kMapTypeNotFound));
  std::set<std::size_t> positions;
  for (const Value& player : truth["dePlayers"].items) {
    const auto position = static_cast<std::size_t>(player["position"].number);
    const auto number = static_cast<std::size_t>(player["number"].number);
    SCOPED_TRACE("position " + std::to_string(position));
    positions.insert(position);
    EXPECT_EQ(entry.playerNumbers[position], player["number"].number);
    EXPECT_EQ(entry.playerNames[position], player["name"].text);
    EXPECT_EQ(entry.teamLabels[position], player["teamLabel"].text);
    EXPECT_EQ(entry.slots[number].name, player["name"].text);
    EXPECT_EQ(entry.slots[number].civId, player["civId"].number);
    EXPECT_EQ(entry.slots[number].colourId, player["colourId"].number);
    const auto profile = facts.profileIds.find(static_cast<int32_t>(number));
    ASSERT_NE(profile, facts.profileIds.end());
    EXPECT_EQ(profile->second, player["profileId"].number);
  }
  for (std::size_t k = 0; k < GameEntry::kPositions; ++k) {
    if (positions.count(k) == 0) {
      EXPECT_EQ(entry.playerNumbers[k], 0) << "position " << k << " holds no player";
    }
  }
  EXPECT_EQ(entry.povIndex, truth["povNumber"].number);
  EXPECT_EQ(entry.playerCount, truth["playerCount"].number);
  EXPECT_EQ(entry.mapWidth, truth["mapWidth"].number);
  EXPECT_EQ(entry.mapHeight, truth["mapHeight"].number);
  EXPECT_EQ(facts.mapId.value_or(-1), truth["mapId"].number);
  // The map was walked to its tiles: none is left as a parse leaves it unfilled.
  EXPECT_NE(entry.mapTiles.terrainId(0), TerrainTiles::kUnfilled);
  EXPECT_EQ(facts.durationMs, truth["durationMs"].number);
  ASSERT_EQ(facts.resignations.size(), truth["resignations"].items.size());
  for (std::size_t r = 0; r < facts.resignations.size(); ++r) {
    EXPECT_EQ(facts.resignations[r].player, truth["resignations"][r][0].number);
    EXPECT_EQ(facts.resignations[r].timeMs, truth["resignations"][r][1].number);
  }
  if (stated("winners") && truth["winners"].kind == Value::Kind::kNull) {
    EXPECT_FALSE(facts.settled) << "the recording settles no result";
  } else if (stated("winners")) {
    ASSERT_TRUE(facts.settled);
    ASSERT_EQ(facts.winners.size(), truth["winners"].items.size());
    for (std::size_t w = 0; w < facts.winners.size(); ++w) {
      EXPECT_EQ(facts.winners[w], truth["winners"][w].number);
    }
  }
  const Value& settings = truth["settings"];
  const GameSettings& read = facts.settings;
  const auto setting = [&](const char* field, std::optional<int32_t> value) {
    if (!settings.has(field) ||
        (truth.has("unsettled") && truth["unsettled"].has(std::string("settings.") + field))) {
      return;
    }
    EXPECT_EQ(value.value_or(-1000), settings[field].number) << field;
  };
  ASSERT_TRUE(read.speed.has_value());
  EXPECT_NEAR(*read.speed, settings["speed"].real, 0.001);
  if (settings.has("speedName")) {
    const char* names[] = {"slow", "normal", "fast", "casual"};
    const auto speed = speedOf(*read.speed, version.family);
    ASSERT_TRUE(speed.has_value()) << "a speed the game names";
    EXPECT_EQ(names[static_cast<int>(*speed)], settings["speedName"].text);
  }
  setting("populationLimit", read.populationLimit);
  setting("revealMap", read.revealMap);
  setting("startingAge", read.startingAge);
  setting("victory", read.victory);
  setting("difficulty", read.difficulty);
  if (settings.has("lockTeams")) {
    EXPECT_EQ(read.lockTeams, settings["lockTeams"].boolean);
  }
  if (stated("lobbyChatCount")) {
    EXPECT_EQ(lineCount(entry.lobbyChat), truth["lobbyChatCount"].number);
  }
  if (stated("gameChatShown")) {
    EXPECT_EQ(lineCount(entry.gameChat), truth["gameChatShown"].number);
  }
  if (stated("gameChatCount")) {
    const BodyWalk walk = walkBody(ByteSpan(file.bodyBytes().data(), file.bodyBytes().size()),
                                   file.bodyOffset(), layoutFor(version).body);
    EXPECT_EQ(static_cast<int64_t>(walk.chat.size()), truth["gameChatCount"].number);
  }
  compareDefinitiveAgeUps(name, facts);
}

TEST(RealRecordingsTest, EveryDefinitiveRecordingMatchesItsTruth) {
  if (!fs::is_directory(MORVANE_RECORDINGS_DIR)) {
    GTEST_SKIP() << "no real recordings at " << MORVANE_RECORDINGS_DIR;
  }
  const std::vector<std::string> names = fixtures::recordingsWith(MORVANE_RECORDINGS_DIR, ".de-truth.json");
  if (names.empty()) GTEST_SKIP() << "no Definitive Edition truth files";
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  for (const std::string& name : names) compareDefinitiveRecording(name, folder);
}

// The tiles of the points, sorted as the objects file lists them.
std::vector<std::pair<int64_t, int64_t>> tilesOf(const std::vector<MapPoint>& points) {
  std::vector<std::pair<int64_t, int64_t>> tiles;
  for (const MapPoint& p : points)
    tiles.emplace_back(static_cast<int64_t>(std::floor(p.x)),
                       static_cast<int64_t>(std::floor(p.y)));
  std::sort(tiles.begin(), tiles.end());
  return tiles;
}

std::vector<std::pair<int64_t, int64_t>> tilesOf(const Value& list) {
  std::vector<std::pair<int64_t, int64_t>> tiles;
  for (const Value& tile : list.items) tiles.emplace_back(tile[0].number, tile[1].number);
  return tiles;
}

// The objects at the start where the version's records are known; the start
// positions wherever the objects file settles them.
void compareObjects(const std::string& name, const fixtures::TempFolder& folder) {
  SCOPED_TRACE(name);
  const fs::path dir(MORVANE_RECORDINGS_DIR);
  const auto jsonBytes = fixtures::readFile((dir / (name + ".objects.json")).string());
  Value truth;
  ASSERT_TRUE(testing_json::Parser(std::string(jsonBytes.begin(), jsonBytes.end())).parse(truth));
  const std::string copy = folder.file(name);
  ASSERT_TRUE(fixtures::writeFile(copy, fixtures::readFile((dir / name).string())));
  RecordedGameFile file;
  if (!file.load(copy)) return;  // the truth files say which load
  GameEntry entry;
  file.parseGame(entry);
  const GameFacts& facts = entry.facts.read();
  // A start is placed on the map: neither objects nor starts where the map
  // itself is not read.
  if (entry.mapWidth == 0) return;
  const bool known = layoutFor(file.version()).objects.known && file.version().supported;
  // Where no two readers settle Gaia's objects, the players' town centres may
  // still be settled: the lists are read for them.
  EXPECT_EQ(facts.objects.read, known && (truth.has("counts") || truth.has("townCentres")))
      << facts.objects.notRead;
  if (facts.objects.read && truth.has("townCentres")) {
    std::map<int32_t, std::vector<std::pair<int64_t, int64_t>>> found, expected;
    for (const PlacedBuilding& building : facts.objects.buildings) {
      if (building.townCentre)
        found[building.player].emplace_back(static_cast<int64_t>(std::floor(building.at.x)),
                                            static_cast<int64_t>(std::floor(building.at.y)));
    }
    for (const auto& [number, centres] : truth["townCentres"].members) {
      for (const Value& at : centres.items)
        expected[std::stoi(number)].emplace_back(static_cast<int64_t>(std::floor(at[0].real)),
                                                 static_cast<int64_t>(std::floor(at[1].real)));
    }
    for (auto* centres : {&found, &expected}) {
      for (auto& [number, tiles] : *centres) std::sort(tiles.begin(), tiles.end());
    }
    EXPECT_EQ(found, expected);
  }
  if (facts.objects.read && truth.has("counts")) {
    const Value& counts = truth["counts"];
    EXPECT_EQ(static_cast<int64_t>(facts.objects.cliffs.size()), counts["cliff"].number);
    EXPECT_EQ(tilesOf(facts.objects.gold), tilesOf(truth["tiles"]["gold"]));
    EXPECT_EQ(tilesOf(facts.objects.stone), tilesOf(truth["tiles"]["stone"]));
    EXPECT_EQ(tilesOf(facts.objects.relics), tilesOf(truth["tiles"]["relic"]));
  }
  if (!truth.has("startPosition")) return;
  for (const auto& [number, start] : truth["startPosition"].members) {
    SCOPED_TRACE("player " + number);
    const auto found = facts.startPositions.find(std::stoi(number));
    ASSERT_NE(found, facts.startPositions.end());
    EXPECT_EQ(std::floor(found->second.x), start[0].real);
    EXPECT_EQ(std::floor(found->second.y), start[1].real);
  }
}

TEST(RealRecordingsTest, EveryRecordingMatchesItsObjects) {
  if (!fs::is_directory(MORVANE_RECORDINGS_DIR)) {
    GTEST_SKIP() << "no real recordings at " << MORVANE_RECORDINGS_DIR;
  }
  const std::vector<std::string> names =
      fixtures::recordingsWith(MORVANE_RECORDINGS_DIR, ".objects.json");
  if (names.empty()) GTEST_SKIP() << "no objects files";
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  for (const std::string& name : names) compareObjects(name, folder);
}

TEST(RealRecordingsTest, EveryRecordingMatchesItsExpectedFields) {
  if (!fs::is_directory(MORVANE_RECORDINGS_DIR)) {
    GTEST_SKIP() << "no real recordings at " << MORVANE_RECORDINGS_DIR;
  }
  const std::vector<std::string> names = fixtures::recordingsWith(MORVANE_RECORDINGS_DIR, ".truth.json");
  ASSERT_FALSE(names.empty()) << "no truth files in " << MORVANE_RECORDINGS_DIR;
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  for (const std::string& name : names) compareRecording(name, folder);
}

}  // namespace
}  // namespace morvane
