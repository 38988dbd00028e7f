// Player-name list, point of view, player count, map block, terrain, and the
// civilisation/colour search by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "recording/game_entry.h"
#include "recording/game_version.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/definitive_game.h"
#include "recording_writer/recording_writer.h"
#include "support/bare_header.h"
#include "support/parse_recording.h"

namespace morvane {
namespace {

using fixtures::HeaderBuilder;
using fixtures::ListEntry;
using fixtures::MapBlock;
using fixtures::ParsedRecording;
using fixtures::SampleGame;
using fixtures::SamplePlayer;

ListEntry entry(int32_t number, std::string name) {
  ListEntry e;
  e.number = number;
  e.name = std::move(name);
  return e;
}

ParsedRecording parse(const HeaderBuilder& h, GameEntry start = {}) {
  ParsedRecording parsed = fixtures::parseRecording(h.bytes(), {}, std::move(start));
  EXPECT_TRUE(parsed.written);
  EXPECT_TRUE(parsed.loaded) << describe(parsed.error);
  return parsed;
}

void expectSampleTwoPlayers(const GameEntry& e) {
  EXPECT_EQ(e.povIndex, 2);
  EXPECT_EQ(e.playerCount, 2);
  EXPECT_EQ(e.playerNumbers, (std::array<int32_t, 9>{0, 1, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(e.playerNames[0], "");
  EXPECT_EQ(e.playerNames[1], "Alice");
  EXPECT_EQ(e.playerNames[2], "Bob");
  EXPECT_STREQ(e.slots[1].name, "Alice");
  EXPECT_EQ(e.slots[1].civId, 3);
  EXPECT_EQ(e.slots[1].colourId, 0);
  EXPECT_STREQ(e.slots[2].name, "Bob");
  EXPECT_EQ(e.slots[2].civId, 7);
  EXPECT_EQ(e.slots[2].colourId, 1);
  for (int k = 3; k < 9; ++k) {
    EXPECT_STREQ(e.slots[k].name, "") << k;
    EXPECT_EQ(e.playerNames[k], "") << k;
  }
}

void expectElevation(const GameEntry& e, const std::vector<uint8_t>& tiles) {
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    if (e.mapTiles.elevation(i) != tiles[i]) {
      ADD_FAILURE() << "tile " << i << " stands at " << int{e.mapTiles.elevation(i)}
                    << ", expected " << int{tiles[i]};
      return;
    }
  }
}

// Each tile's terrain id is tiles[i]; the terrain field holds the same bytes
// unless field gives its own (tiles wider than a pair).
void expectTerrain(const GameEntry& e, const std::vector<uint8_t>& tiles,
                   const std::vector<uint8_t>* field = nullptr) {
  if (field == nullptr) field = &tiles;
  for (std::size_t i = 0; i < TerrainTiles::kSize; ++i) {
    const uint8_t id = i < tiles.size() ? tiles[i] : 65;
    const uint8_t byte = i < field->size() ? (*field)[i] : 65;
    if (e.mapTiles.terrainId(i) != id || e.mapTiles[i] != byte) {
      ADD_FAILURE() << "tile " << i << " is " << int{e.mapTiles.terrainId(i)} << " in field byte "
                    << int{e.mapTiles[i]} << ", expected " << int{id} << " in " << int{byte};
      return;
    }
  }
}

// Each game's layout as the writer lays it out from its own numbers: reading it
// with another row loses the names, the map, the civilisations or the starting
// views. The optional block moves the map block. Only a known version's block
// is read far enough to reach the camera.
TEST(PlayerListTest, EachGameVersionIsReadWithItsOwnLayout) {
  fixtures::VersionLayout trial = fixtures::baseGameLayout();
  trial.text = "TRL 9.3";
  fixtures::VersionLayout patch14 = fixtures::conquerorsLayout();
  patch14.text = "VER 9.A";
  fixtures::VersionLayout moddedPatch15 = fixtures::patch15Layout();
  moddedPatch15.resourceValues = 548;
  struct Row {
    const char* name;
    fixtures::VersionLayout layout;
    bool optionalBlock;
    VersionFamily family;
    int32_t width = 20;
    int32_t height = 12;
  };
  const Row rows[] = {
      {"unknown version, the sample game", {}, false, VersionFamily::kUnknown, 16, 16},
      {"unknown version, optional block", {}, true, VersionFamily::kUnknown},
      {"base game", fixtures::baseGameLayout(), false, VersionFamily::kAoK},
      {"base game trial", trial, true, VersionFamily::kAoKTrial},
      {"The Conquerors", fixtures::conquerorsLayout(), true, VersionFamily::kAoC},
      {"patch 1.4", patch14, false, VersionFamily::kUserPatch14},
      {"patch 1.5", fixtures::patch15Layout(), false, VersionFamily::kUserPatch15},
      {"later edition 11.90", fixtures::laterEditionLayout(11.9f), true, VersionFamily::kHD},
      {"later edition 11.93", fixtures::laterEditionLayout(11.93f), false, VersionFamily::kHD},
      {"later edition with AI", fixtures::laterEditionLayout(11.97f), true, VersionFamily::kHD},
      {"later edition 12.3", fixtures::laterEditionLayout(12.3f), true, VersionFamily::kHD},
      {"patch 1.5, modded data set", moddedPatch15, false, VersionFamily::kUserPatch15},
      {"later edition 12.1 with AI", fixtures::laterEditionLayout(12.1f), true, VersionFamily::kHD},
      {"later edition 12.31 with AI", fixtures::laterEditionLayout(12.31f), true,
       VersionFamily::kHD},
      {"lobby block 1000", fixtures::laterEditionLayout(12.36f, 1000), false, VersionFamily::kHD},
      {"lobby block 1004", fixtures::laterEditionLayout(12.4f, 1004), true, VersionFamily::kHD},
      {"lobby block 1005", fixtures::laterEditionLayout(12.49f, 1005), false, VersionFamily::kHD},
      {"lobby block 1006 without ratings", fixtures::laterEditionLayout(12.5f, 1006, false), true,
       VersionFamily::kHD},
      {"lobby block 1006 with ratings", fixtures::laterEditionLayout(12.5f, 1006, true), false,
       VersionFamily::kHD},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SampleGame game = fixtures::twoPlayerGame();
    game.layout = row.layout;
    game.withOptionalBlock = row.optionalBlock;
    game.width = row.width;
    game.height = row.height;
    game.players[0].camera = {3.5f, 7.25f};
    game.players[1].camera = {static_cast<float>(row.width) - 0.5f, 0};
    for (int32_t i = 0; i < row.width * row.height; ++i)
      game.elevation.push_back(static_cast<uint8_t>(i % 7));
    const ParsedRecording parsed = fixtures::parseSampleGame(game);
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.version.family, row.family);
    expectSampleTwoPlayers(parsed.entry);
    EXPECT_EQ(parsed.entry.mapWidth, row.width);
    EXPECT_EQ(parsed.entry.mapHeight, row.height);
    // Tiles of four bytes (255, terrain, elevation, unused) leave the field
    // its every-other-byte form: 255 and the elevation of the first half.
    std::vector<uint8_t> markedField;
    for (std::size_t i = 0; row.layout.markedTiles && i < game.elevation.size(); ++i)
      markedField.push_back(i % 2 == 0 ? 255 : game.elevation[i / 2]);
    expectTerrain(parsed.entry, fixtures::terrainPattern(row.width, row.height),
                  row.layout.markedTiles ? &markedField : nullptr);
    expectElevation(parsed.entry, game.elevation);
    const std::optional<MapPoint>& alice = parsed.entry.slots[1].start;
    const std::optional<MapPoint>& bob = parsed.entry.slots[2].start;
    if (row.family == VersionFamily::kUnknown) {
      EXPECT_FALSE(alice.has_value());
      EXPECT_FALSE(bob.has_value());
      continue;
    }
    ASSERT_TRUE(alice.has_value());
    EXPECT_EQ(alice->x, 3.5f);
    EXPECT_EQ(alice->y, 7.25f);
    ASSERT_TRUE(bob.has_value());
    EXPECT_EQ(bob->x, static_cast<float>(row.width) - 0.5f);
    EXPECT_EQ(bob->y, 0.0f);
  }
}

// The Definitive Edition's own block, replay section and map, written as
// each of its patches lays them out: every row of its table is read by its
// structure, the AI section stepped over by its own; a header whose AI
// section breaks that structure is refused as an unknown version is. Where
// the first release's lobby names each player by the profile id, the names
// come from the players' blocks in the game data.
TEST(PlayerListTest, EachDefinitiveEditionPatchIsReadWithItsOwnLayout) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const struct {
    float save;
    bool withAi = false;
    int32_t restoredAtMs = 0;
    bool aiSectionDamaged = false;
    bool lobbyLengthOff = false;
    bool narrowTiles = false;
    int32_t valueArrays = 0;
    bool profileIdsAsNames = false;
    bool noPlayedAt = false;  // the header's time 0
  } rows[] = {{12.97f},
              {12.97f, false, 0, false, false, true},
              {12.97f, false, 0, false, false, false, 0, true},
              {12.97f, false, 0, false, false, true, 0, true},
              {13.13f},
              {13.17f},
              {13.34f},
              {20.06f},
              {20.16f},
              {25.02f},
              {25.06f},
              {25.22f},
              {26.16f},
              {26.21f},
              {37.0f},
              {50.0f},
              {61.5f},
              {62.0f},
              {63.0f},
              {64.3f},
              {66.3f},
              {66.6f},
              {67.2f},
              {26.21f, true},
              {63.0f, true},
              {63.0f, true, 0, true},
              {64.3f, false, 0, false, true},
              {25.02f, false, 0, false, false, false, 1},
              {37.0f, false, 60000},
              {63.0f, false, 0, false, false, false, 0, false, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.save) + (row.withAi ? " with AI" : "") +
                 (row.aiSectionDamaged ? " damaged" : "") +
                 (row.narrowTiles ? " seven-byte tiles" : "") +
                 (row.valueArrays ? " other arrays" : "") +
                 (row.profileIdsAsNames ? " profile ids as names" : "") +
                 (row.noPlayedAt ? " no time" : ""));
    fixtures::DefinitiveGame game = fixtures::twoPlayerDefinitiveGame(row.save);
    game.profileIdsAsNames = row.profileIdsAsNames;
    game.narrowTiles = row.narrowTiles;
    game.valueArrays = row.valueArrays;
    game.withAi = row.withAi;
    game.aiSectionDamaged = row.aiSectionDamaged;
    game.lobbyLengthOff = row.lobbyLengthOff;
    game.restoredAtMs = row.restoredAtMs;
    game.playedAt = row.noPlayedAt ? 0 : 1651256760;  // 2022-04-29 18:26 UTC
    const std::string path = folder.file("game.aoe2record");
    ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildDefinitiveHeader(game),
                                         fixtures::buildDefinitiveBody(game)));
    RecordedGameFile file;
    if (row.aiSectionDamaged) {
      EXPECT_FALSE(file.load(path));
      EXPECT_EQ(file.lastError(), LoadError::kUnsupportedVersion);
      EXPECT_EQ(versionName(file.version()), "DE 63.0");
      continue;
    }
    ASSERT_TRUE(file.load(path)) << describe(file.lastError());
    EXPECT_EQ(file.version().family, VersionFamily::kDE);
    GameEntry e;
    file.parseGame(e);
    EXPECT_EQ(e.playerNumbers, (std::array<int32_t, 9>{0, 1, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(e.playerNames[1], "Alice");
    EXPECT_EQ(e.playerNames[2], "Bj\xC3\xB6rn");
    EXPECT_STREQ(e.slots[2].name, "Bj\xC3\xB6rn");
    EXPECT_EQ(e.slots[1].civId, 16);
    EXPECT_EQ(e.slots[2].civId, 41);
    EXPECT_EQ(e.slots[1].colourId, 1);
    EXPECT_EQ(e.teamLabels[1], "1");
    EXPECT_EQ(e.teamLabels[2], "2");
    const GameFacts& facts = e.facts.read();
    EXPECT_EQ(facts.profileIds.at(2), 2428367);
    EXPECT_EQ(facts.mapId, 9);
    EXPECT_EQ(facts.settings.populationLimit, 200);
    EXPECT_EQ(facts.settings.lockTeams, true);
    EXPECT_EQ(facts.settings.startingAge, 0);
    EXPECT_EQ(facts.settings.difficulty.has_value(), row.save < 61.5f);
    // The time the game was played from 26.16, where the header states one.
    EXPECT_EQ(facts.playedAt, row.save >= 26.16f && !row.noPlayedAt
                                  ? std::optional<int64_t>(1651256760)
                                  : std::nullopt);
    // Built from each message's fields: a notice's tag names its player, a
    // message the game did not show the recording's player is left out.
    EXPECT_EQ(e.gameChat, "Alice: gl \"hf\"\r\nBj\xC3\xB6rn advanced to the Feudal Age.\r\n");
    // The chat before the game only where every length ends at the map seed.
    EXPECT_EQ(e.lobbyChat, row.lobbyLengthOff ? "" : "Bj\xC3\xB6rn: hi\r\nAlice: 11\r\n");
    ASSERT_EQ(facts.resignations.size(), 1u);
    EXPECT_EQ(facts.resignations[0].player, 2);
    // A restored game's length counts from its start; the last click of
    // each age counts, in the research command of the header's build.
    EXPECT_EQ(facts.durationMs, row.restoredAtMs + 9000);
    ASSERT_EQ(facts.ageUps.size(), 2u);
    EXPECT_EQ(facts.ageUps.at(1)[Age::kFeudal], row.restoredAtMs + 2000);
    EXPECT_EQ(facts.ageUps.at(1)[Age::kCastle], row.restoredAtMs + 4000);
    EXPECT_EQ(facts.ageUps.at(2)[Age::kFeudal], row.restoredAtMs + 3000);
    EXPECT_EQ(facts.ageUps.at(2)[Age::kCastle], std::nullopt);
    EXPECT_EQ(facts.winners, std::vector<int32_t>{1});
    // The start each player's block in the game data states, where the
    // patch's count of value arrays before it is known (one to 13.20, two
    // from 20.16) and the block holds that count; from 67.2 a name follows
    // the block's culture byte, past the start.
    const bool startsKnown = (row.save < 13.34f || row.save >= 20.16f) && row.valueArrays == 0;
    if (startsKnown) {
      ASSERT_EQ(facts.startPositions.size(), 2u);
      EXPECT_EQ(facts.startPositions.at(1).x, 3.0f);
      EXPECT_EQ(facts.startPositions.at(1).y, 5.0f);
      EXPECT_EQ(facts.startPositions.at(2).x, 6.0f);
      EXPECT_EQ(facts.startPositions.at(2).y, 2.0f);
    } else {
      EXPECT_TRUE(facts.startPositions.empty());
    }
    EXPECT_EQ(e.povIndex, 2);
    EXPECT_EQ(e.playerCount, 3);
    EXPECT_EQ(e.mapWidth, game.width);
    EXPECT_EQ(e.mapHeight, game.height);
    expectElevation(e, game.elevation);
    for (std::size_t i = 0; i < game.terrain.size(); ++i) {
      ASSERT_EQ(e.mapTiles.terrainId(i), game.terrain[i]) << i;
    }
  }
}

// A map the lobby's id does not name keeps its script's file name; a
// built-in id keeps its own name, and a damaged string names nothing.
TEST(PlayerListTest, DefinitiveCustomMapKeepsItsFileName) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string script =
      "SUBSCRIBEDMODS:RANDOM_MAPS:GBDCC_Dry River_v2.1.rms:351529_GBDCC:false";
  const std::string kNotFound(fixtures::kUnknownMap);
  const struct {
    const char* why;
    int32_t mapId;
    std::vector<std::string> strings;
    std::string expected;
  } cases[] = {
      {"a custom map's script after a built-in string", 59, {"NONE:NONE:::false", script},
       "GBDCC_Dry River_v2.1"},
      {"the first script counts", 59, {script, "SUBSCRIBEDMODS:RANDOM_MAPS:Other.RMS:1:false"},
       "GBDCC_Dry River_v2.1"},
      {"an extension in capitals", 59, {"SUBSCRIBEDMODS:RANDOM_MAPS:Other.RMS:1:false"}, "Other"},
      {"a file name alone", 59, {"SUBSCRIBEDMODS:RANDOM_MAPS:Only.rms"}, "Only"},
      {"no script", 59, {"NONE:NONE:::false"}, kNotFound},
      {"a built-in id keeps its name", 9, {script}, kNotFound},
      {"an empty file name", 59, {"SUBSCRIBEDMODS:RANDOM_MAPS::1:false"}, kNotFound},
      {"another kind of mod", 59, {"SUBSCRIBEDMODS:DATA:Arabia.rms:1:false"}, kNotFound},
      {"a NUL inside the string", 59, {std::string("SUBSCRIBEDMODS:RANDOM_MAPS:A\0b.rms", 34)},
       kNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    fixtures::DefinitiveGame game = fixtures::twoPlayerDefinitiveGame(64.3f);
    game.mapId = c.mapId;
    game.mapStrings = c.strings;
    const std::string path = folder.file("game.aoe2record");
    ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildDefinitiveHeader(game),
                                         fixtures::buildDefinitiveBody(game)));
    RecordedGameFile file;
    ASSERT_TRUE(file.load(path)) << describe(file.lastError());
    GameEntry e;
    file.parseGame(e);
    EXPECT_EQ(e.mapName, c.expected);
    EXPECT_EQ(e.playerNames[2], "Bj\xC3\xB6rn");  // the block read on past the strings
  }
  // A script's length running past the header: the block is not read, and
  // the map is named by nothing.
  fixtures::DefinitiveGame game = fixtures::twoPlayerDefinitiveGame(64.3f);
  game.mapId = 59;
  game.mapStrings = {script};
  std::vector<uint8_t> header = fixtures::buildDefinitiveHeader(game);
  const auto at = std::search(header.begin(), header.end(), script.begin(), script.end());
  ASSERT_NE(at, header.end());
  *(at - 2) = 0xFF;
  *(at - 1) = 0xFF;
  const std::string path = folder.file("damaged.aoe2record");
  ASSERT_TRUE(fixtures::writeRecording(path, header, fixtures::buildDefinitiveBody(game)));
  RecordedGameFile file;
  if (file.load(path)) {
    GameEntry e;
    file.parseGame(e);
    EXPECT_EQ(e.mapName, kNotFound);
  }
}

// A camera is a starting view only inside the map: every other value a
// damaged or hostile header can hold is left out, and the block's
// civilisation is still read.
TEST(PlayerListTest, StartingViewOutsideTheMapIsLeftOut) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const struct {
    const char* why;
    fixtures::Camera camera;
    bool kept;
  } cases[] = {
      {"the map's first corner", {0, 0}, true},
      {"just inside the far edge", {19.99f, 11.99f}, true},
      {"x on the far edge", {20, 5}, false},
      {"y on the far edge", {5, 12}, false},
      {"negative", {-0.01f, 5}, false},
      {"negative zero", {-0.0f, 5}, true},
      {"not a number", {nan, 5}, false},
      {"y not a number", {5, nan}, false},
      {"infinite", {infinity, 5}, false},
      {"minus infinity", {5, -infinity}, false},
      {"huge", {3e38f, 5}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    SampleGame game = fixtures::twoPlayerGame();
    game.layout = fixtures::conquerorsLayout();
    game.width = 20;
    game.height = 12;
    game.players[1].camera = c.camera;
    const ParsedRecording parsed = fixtures::parseSampleGame(game);
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.entry.slots[2].start.has_value(), c.kept);
    EXPECT_EQ(parsed.entry.slots[2].civId, 7);
    EXPECT_TRUE(parsed.entry.slots[1].start.has_value());
  }
}

// A real 1.0c game has the bare name "PX" in object data long before its
// player's block; the bare-name search read civilisation 40 and colour 128
// there. A known version searches for the stored form followed by a block's
// count of values, and passes over a count the header cannot hold; an unknown
// one keeps the bare search of The Conquerors layout.
TEST(PlayerListTest, StoredNameIsFoundPastTheSameBytesInObjectData) {
  for (const bool known : {true, false}) {
    SCOPED_TRACE(known ? "known version" : "unknown version");
    HeaderBuilder h;
    h.layout = known ? fixtures::conquerorsLayout() : fixtures::VersionLayout{};
    const auto at = fixtures::mapWithoutRecords(h, 2);
    h.padTo(at.civSearchStart);
    h.playerRecord("Ann", 5, 3);
    // Object data: the name, for the known version stored and with a count.
    if (known) {
      h.i16(3);
      h.text(std::string_view("PX\0\x16", 4));
      h.i32(1 << 30);
      h.u8(0x21);
    }
    const int64_t name = h.text("PX");
    h.padTo(name + 2 + 821 + 1);
    h.setU8(name + 2 + 817, 40);
    h.setU8(name + 2 + 821, 128);
    h.playerRecord("PX", 17, 2);
    h.padTo(20000);
    h.playerList({entry(0, ""), entry(1, "Ann"), entry(2, "PX")});
    h.doubleMarker();
    const ParsedRecording parsed = parse(h);
    EXPECT_EQ(parsed.entry.slots[1].civId, 5);
    EXPECT_EQ(parsed.entry.slots[2].civId, known ? 17 : 40);
    EXPECT_EQ(parsed.entry.slots[2].colourId, known ? 2 : 128);
  }
}

TEST(PlayerListTest, OptionalBlockWithNegativeStringCountSkipsNoStrings) {
  HeaderBuilder h;
  fixtures::OptionalBlock block;
  block.stringCount = -2;
  block.recordUnits = {1, 0, 0, 0, 0, 0, 0, 3};
  h.optionalBlock(block);
  MapBlock map;
  map.pov = 4;
  map.playerCount = 6;
  map.width = 3;
  map.height = 2;
  map.terrain = {10, 11, 12, 13, 14, 15};
  h.mapBlock(map);
  h.padTo(30000);
  h.playerList({});
  h.doubleMarker();
  const ParsedRecording parsed = parse(h);
  EXPECT_EQ(parsed.entry.povIndex, 4);
  EXPECT_EQ(parsed.entry.playerCount, 6);
  EXPECT_EQ(parsed.entry.mapWidth, 3);
  EXPECT_EQ(parsed.entry.mapHeight, 2);
  expectTerrain(parsed.entry, map.terrain);
}

// Each row: a map block after the plain start and the header's length; the
// entry takes its point of view, player count, size and terrain.
TEST(PlayerListTest, MapBlockAfterThePlainStartIsRead) {
  // MapBlock's fields: pov, player count, width, height, record checks, declared
  // record count, terrain.
  const struct {
    const char* why;
    int32_t flag;
    MapBlock map;
    int64_t headerLength;
  } cases[] = {
      {"flag 2 means the plain layout", 2, {3, 5, 2, 2, {41}, {}, {1, 2, 3, 4}}, 20000},
      {"point of view and player count are unsigned bytes", 0, {200, 255, 0, 0, {}, {}, {}}, 1000},
      {"no records", 0, {1, 2, 3, 3, {}, {}, {9, 8, 7, 6, 5, 4, 3, 2, 1}}, 1000},
      {"several records are walked",
       0,
       {1, 2, 5, 4, {41, 41, 41}, {}, fixtures::terrainPattern(5, 4)},
       30000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    HeaderBuilder h;
    h.plainStart(c.flag);
    const auto at = h.mapBlock(c.map);
    // Without records the terrain follows the map block's fixed fields.
    if (c.map.recordChecks.empty()) {
      ASSERT_EQ(at.terrainStart, at.mapBase + 124);
    }
    h.padTo(c.headerLength);
    const ParsedRecording parsed = parse(h);
    EXPECT_EQ(parsed.entry.povIndex, c.map.pov);
    EXPECT_EQ(parsed.entry.playerCount, c.map.playerCount);
    EXPECT_EQ(parsed.entry.mapWidth, c.map.width);
    EXPECT_EQ(parsed.entry.mapHeight, c.map.height);
    expectTerrain(parsed.entry, c.map.terrain);
  }
}
TEST(PlayerListTest, EmptyHeaderSetsOnlyTheMapSize) {
  GameEntry start;
  start.mapWidth = 5;
  start.mapHeight = 6;
  start.povIndex = 3;
  start.playerNames[1] = "kept";
  start.mapName = "kept too";
  const ParsedRecording parsed = parse(HeaderBuilder{}, start);
  EXPECT_EQ(parsed.entry.mapWidth, 0);
  EXPECT_EQ(parsed.entry.mapHeight, 0);
  EXPECT_EQ(parsed.entry.povIndex, 3);
  EXPECT_EQ(parsed.entry.playerNames[1], "kept");
  EXPECT_EQ(parsed.entry.mapName, "kept too");
  EXPECT_FALSE(parsed.entry.mapTiles.allocated()) << "the terrain is not written";
}

TEST(PlayerListTest, ShortHeaderReadsTheListFromOffset24) {
  // 18000 bytes or fewer: no marker search, even for markers that are there.
  HeaderBuilder list;
  list.zeros(24);
  for (const ListEntry& e : {entry(0, ""), entry(1, "Ann"), entry(2, "Ben")}) {
    list.i32(e.number);
    list.i32(0);
    list.i32(static_cast<int32_t>(e.name.size()));
    list.text(e.name);
  }
  list.padTo(10000);
  list.text(fixtures::kListMarker);
  list.zeros(20);
  list.i32(1);
  list.i32(0);
  list.i32(3);
  list.text("Zed");
  list.padTo(17000);
  list.doubleMarker();
  list.padTo(18000);
  const ParsedRecording parsed = parse(list);
  EXPECT_EQ(parsed.entry.playerNames[1], "Ann");
  EXPECT_EQ(parsed.entry.playerNames[2], "Ben");
  EXPECT_STREQ(parsed.entry.slots[1].name, "Ann");
  EXPECT_EQ(parsed.entry.playerNumbers[1], 1);
  EXPECT_EQ(parsed.entry.playerNumbers[2], 2);
}

// A -99 whose last byte sits at offset `lastByte`, a double marker well above.
HeaderBuilder listMarkerEndingAt(int64_t lastByte) {
  HeaderBuilder h;
  fixtures::mapWithoutRecords(h);
  h.padTo(lastByte - 3);
  h.playerList({entry(0, ""), entry(1, "Zed")});
  h.padTo(30000);
  h.doubleMarker();
  h.padTo(31000);
  return h;
}

TEST(PlayerListTest, ListMarkerEndingAbove18000IsFound) {
  const ParsedRecording parsed = parse(listMarkerEndingAt(18001));
  EXPECT_EQ(parsed.entry.playerNames[1], "Zed");
  EXPECT_EQ(parsed.entry.playerNumbers[1], 1);
}

TEST(PlayerListTest, ListMarkerEndingAt18000IsNotFound) {
  const ParsedRecording parsed = parse(listMarkerEndingAt(18000));
  EXPECT_EQ(parsed.entry.playerNames[1], "");
  EXPECT_EQ(parsed.entry.playerNumbers[1], 0);
}

// Each row: a list closed by a double marker at 20000, a second list at
// secondAt, closed or not: the list before the last double marker is taken.
TEST(PlayerListTest, ListBeforeTheLastDoubleMarkerIsTaken) {
  const struct {
    const char* first;
    const char* second;
    int64_t secondAt;
    bool secondClosed;
    const char* taken;
  } cases[] = {
      {"Low", "Mid", 25000, true, "Mid"},
      {"Before", "After", 22000, false, "Before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.taken);
    HeaderBuilder h;
    fixtures::headerThroughPlayerList(h, {entry(0, ""), entry(1, c.first)});
    h.padTo(c.secondAt);
    h.playerList({entry(0, ""), entry(1, c.second)});
    h.padTo(c.secondAt + 1000);
    if (c.secondClosed) {
      h.doubleMarker();
      h.padTo(c.secondAt + 2000);
    }
    EXPECT_EQ(parse(h).entry.playerNames[1], c.taken);
  }
}

TEST(PlayerListTest, SharedPlayerNumberKeepsTheFirstNameInTheSlot) {
  SampleGame game;
  game.players = {SamplePlayer{1, "First", 4, 2, 1}, SamplePlayer{2, "Other", 5, 3, 1},
                  SamplePlayer{1, "Second", 9, 9, 1}};
  game.playerCount = 2;
  const ParsedRecording parsed = fixtures::parseSampleGame(game);
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.playerNumbers, (std::array<int32_t, 9>{0, 1, 2, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(parsed.entry.playerNames[1], "First");
  EXPECT_EQ(parsed.entry.playerNames[3], "Second");
  EXPECT_STREQ(parsed.entry.slots[1].name, "First");
  EXPECT_EQ(parsed.entry.slots[1].civId, 4);
  EXPECT_EQ(parsed.entry.slots[2].civId, 5);
  EXPECT_EQ(parsed.entry.slots[2].colourId, 3);
}

TEST(PlayerListTest, PositionWithoutPlayerKeepsItsEarlierNameAndSlotsAreReset) {
  GameEntry start;
  start.playerNames[3] = "earlier";
  std::strcpy(start.slots[5].name, "junk");
  start.slots[6].civId = 9;
  start.slots[6].colourId = 9;
  start.slots[0].civId = 9;
  const SampleGame game = fixtures::twoPlayerGame();
  const ParsedRecording parsed =
      fixtures::parseRecording(buildHeader(game).bytes, buildBody(game), start);
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.playerNames[3], "earlier");
  EXPECT_EQ(parsed.entry.playerNumbers[3], 0);
  EXPECT_STREQ(parsed.entry.slots[5].name, "");
  EXPECT_EQ(parsed.entry.slots[6].civId, 0);
  EXPECT_EQ(parsed.entry.slots[6].colourId, 0);
  EXPECT_EQ(parsed.entry.slots[0].civId, 0);
}

TEST(PlayerListTest, NameEndsAtItsFirstNul) {
  HeaderBuilder h;
  fixtures::headerThroughPlayerList(h, {entry(0, ""), entry(1, std::string("Ab\0cd", 5))});
  const ParsedRecording parsed = parse(h);
  EXPECT_EQ(parsed.entry.playerNames[1], "Ab");
  EXPECT_STREQ(parsed.entry.slots[1].name, "Ab");
}

TEST(PlayerListTest, OverlongNameIsCutTo255Bytes) {
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += static_cast<char>('a' + i % 26);
  HeaderBuilder h;
  fixtures::headerThroughPlayerList(h, {entry(0, ""), entry(1, longName), entry(2, "Next")});
  const ParsedRecording parsed = parse(h);
  EXPECT_EQ(parsed.entry.playerNames[1], longName.substr(0, 255));
  EXPECT_EQ(std::string(parsed.entry.slots[1].name), longName.substr(0, 255));
  EXPECT_EQ(parsed.entry.slots[1].name[255], '\0');
  EXPECT_EQ(parsed.entry.playerNames[2], "Next") << "the next entry follows all 300 bytes";
  EXPECT_STREQ(parsed.entry.slots[2].name, "Next");
}

TEST(PlayerListTest, PlayerNumberOutsideTheSlotsIsSkipped) {
  HeaderBuilder h;
  fixtures::headerThroughPlayerList(
      h, {entry(0, ""), entry(9, "Nine"), entry(-1, "Minus"), entry(2, "Two")});
  const ParsedRecording parsed = parse(h);
  // -1 is a closed position: its name is the game's word for it, no player's.
  EXPECT_EQ(parsed.entry.playerNames[2], "");
  EXPECT_EQ(parsed.entry.playerNumbers[2], -1);
  EXPECT_EQ(parsed.entry.playerNames[3], "Two");
  EXPECT_EQ(parsed.entry.playerNumbers[3], 2);
  EXPECT_STREQ(parsed.entry.slots[2].name, "Two");
  for (int k : {0, 1, 3, 4, 5, 6, 7, 8}) EXPECT_STREQ(parsed.entry.slots[k].name, "") << k;
}

TEST(PlayerListTest, FailedRecordCheckLeavesTerrainAt65AndSearchesFromTheFailure) {
  for (const std::vector<int32_t>& checks :
       {std::vector<int32_t>{40}, std::vector<int32_t>{41, 40}}) {
    SCOPED_TRACE(checks.size());
    HeaderBuilder h;
    h.plainStart();
    MapBlock map;
    map.width = 10;
    map.height = 10;
    map.playerCount = 1;
    map.recordChecks = checks;
    map.terrain = fixtures::terrainPattern(10, 10);
    const auto at = h.mapBlock(map);
    // The walk stops at the failed check, 100 + 1275 bytes into the last record.
    const int64_t checkAt = at.afterRecords - 172;
    h.padTo(checkAt + 1014 + 1 + 3 * 100);
    h.playerRecord("Solo", 11, 6);
    h.padTo(20000);
    h.playerList({entry(0, ""), entry(1, "Solo")});
    h.doubleMarker();
    const ParsedRecording parsed = parse(h);
    EXPECT_EQ(parsed.entry.mapWidth, 10);
    EXPECT_EQ(parsed.entry.mapHeight, 10);
    expectTerrain(parsed.entry, {});
    EXPECT_EQ(parsed.entry.slots[1].civId, 11);
    EXPECT_EQ(parsed.entry.slots[1].colourId, 6);
  }
}

// A map record counts its floats: 41, or from save version 12.3 on also 100.
// The walk takes only those, and a count it does not take leaves the terrain
// unread rather than read from the wrong place.
TEST(PlayerListTest, MapRecordsHoldTheFloatCountTheirVersionWrites) {
  const struct {
    const char* why;
    fixtures::VersionLayout layout;
    std::vector<int32_t> checks;
    bool read;
  } cases[] = {
      {"The Conquerors, 41", fixtures::conquerorsLayout(), {41, 41}, true},
      {"The Conquerors, 100", fixtures::conquerorsLayout(), {41, 100}, false},
      {"later edition 12.0, 100", fixtures::laterEditionLayout(12.0f), {100}, false},
      {"later edition 12.31, both", fixtures::laterEditionLayout(12.31f), {100, 41, 100}, true},
      {"later edition 12.36, 100", fixtures::laterEditionLayout(12.36f, 1000), {100}, true},
      {"later edition 12.5, 41", fixtures::laterEditionLayout(12.5f), {41}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    HeaderBuilder h;
    h.layout = c.layout;
    h.plainStart();
    MapBlock map;
    map.width = 6;
    map.height = 5;
    map.recordChecks = c.checks;
    map.terrain = fixtures::terrainPattern(6, 5);
    h.mapBlock(map);
    h.padTo(h.size() + 20000);
    h.playerList({});
    h.doubleMarker();
    const ParsedRecording parsed = parse(h);
    expectTerrain(parsed.entry, c.read ? map.terrain : std::vector<uint8_t>{});
  }
}

TEST(PlayerListTest, EmptySlotBetweenPlayersMatchesAtTheNextPosition) {
  SampleGame game;
  game.players = {SamplePlayer{1, "Ann", 5, 2, 1}, SamplePlayer{3, "Cy", 6, 7, 1}};
  game.playerCount = 2;
  // The builder writes an empty-name record for slot 2 right after Ann's.
  const fixtures::SampleHeader header = buildHeader(game);
  auto bytes = header.bytes;
  const int64_t ann = header.map.civSearchStart;
  const int64_t slot2 = ann + 3 + 822;
  bytes[static_cast<std::size_t>(slot2 + 817)] = 21;
  bytes[static_cast<std::size_t>(slot2 + 821)] = 4;
  const ParsedRecording parsed = fixtures::parseRecording(bytes);
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.slots[1].civId, 5);
  EXPECT_EQ(parsed.entry.slots[1].colourId, 2);
  EXPECT_EQ(parsed.entry.slots[2].civId, 21);
  EXPECT_EQ(parsed.entry.slots[2].colourId, 4);
  EXPECT_STREQ(parsed.entry.slots[3].name, "Cy");
  EXPECT_EQ(parsed.entry.slots[3].civId, 0) << "only playerCount slots are matched";
  EXPECT_EQ(parsed.entry.slots[3].colourId, 0);
}

// Each row: civilisation records from the search start, the player list at
// 20000 and the civilisation and colour each slot ends with.
TEST(PlayerListTest, CivilisationSearchMatchesTheListedNames) {
  struct Record {
    const char* name;
    uint8_t civ;
    uint8_t colour;
  };
  using Slots = std::array<std::pair<int, int>, 9>;
  const struct {
    const char* why;
    uint8_t playerCount;
    std::vector<Record> records;
    std::vector<ListEntry> list;
    bool doubleMarker;
    Slots slots;
  } cases[] = {
      {"in slot order, case-sensitively",
       2,
       {{"bob", 1, 1},    // wrong case: not slot 2's name
        {"Bob", 2, 2},    // before Alice: slot 1 comes first
        {"alice", 3, 3},  // wrong case
        {"Alice", 4, 4},
        {"Bob", 5, 5}},
       {entry(0, ""), entry(1, "Alice"), entry(2, "Bob")},
       true,
       {{{0, 0}, {4, 4}, {5, 5}}}},
      {"player count zero still matches one slot",
       0,
       {{"Ann", 8, 3}, {"Ben", 9, 4}},
       {entry(0, ""), entry(1, "Ann"), entry(2, "Ben")},
       true,
       {{{0, 0}, {8, 3}, {0, 0}}}},
      {"without the double marker nothing is searched",
       2,
       {{"", 8, 3}, {"", 9, 4}},
       {entry(0, ""), entry(1, "Ann")},
       false,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    HeaderBuilder h;
    h.padTo(fixtures::mapWithoutRecords(h, c.playerCount).civSearchStart);
    for (const Record& record : c.records) h.playerRecord(record.name, record.civ, record.colour);
    h.padTo(20000);
    h.playerList(c.list);
    if (c.doubleMarker)
      h.doubleMarker();
    else
      h.padTo(21000);
    const ParsedRecording parsed = parse(h);
    for (std::size_t k = 0; k < c.slots.size(); ++k) {
      EXPECT_EQ(parsed.entry.slots[k].civId, c.slots[k].first) << k;
      EXPECT_EQ(parsed.entry.slots[k].colourId, c.slots[k].second) << k;
    }
  }
}

TEST(PlayerListTest, CivilisationSearchNeverPassesSlot8) {
  SampleGame game;
  for (int32_t n = 1; n <= 8; ++n) {
    game.players.push_back(SamplePlayer{n, "P" + std::to_string(n), static_cast<uint8_t>(n + 10),
                                        static_cast<uint8_t>(n), 1});
  }
  game.playerCount = 200;  // more than there are slots
  const ParsedRecording parsed = fixtures::parseSampleGame(game);
  ASSERT_TRUE(parsed.loaded);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(parsed.entry.slots[n].civId, n + 10) << n;
    EXPECT_EQ(parsed.entry.slots[n].colourId, n) << n;
  }
  EXPECT_EQ(parsed.entry.slots[0].civId, 0);
}

// Values the layout cannot hold: the parse stays inside the header and the
// entry, and the later stages still run.
TEST(PlayerListTest, MapLargerThanTheTilesStillRunsTheLaterStages) {
  // Found by fuzzing: 3 * w * h overflowed 64 bits when both were INT32_MIN.
  for (const auto& size : {std::pair{300, 300}, std::pair{-5, 10}, std::pair{65536, 65536},
                           std::pair{INT32_MIN, INT32_MIN}, std::pair{INT32_MAX, INT32_MAX}}) {
    SCOPED_TRACE(std::to_string(size.first) + " x " + std::to_string(size.second));
    SampleGame game = fixtures::twoPlayerGame();
    game.width = size.first;
    game.height = size.second;
    if (int64_t{size.first} * size.second > 100000) {
      // Too big to write; declare it over a small map.
      game.width = 4;
      game.height = 4;
    }
    fixtures::SampleHeader header = buildHeader(game);
    HeaderBuilder patch;
    patch.raw(header.bytes);
    patch.setI32(header.map.mapBase + 110, size.first);
    patch.setI32(header.map.mapBase + 114, size.second);
    const ParsedRecording parsed = fixtures::parseRecording(patch.bytes(), buildBody(game));
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.entry.mapWidth, size.first);
    EXPECT_EQ(parsed.entry.mapHeight, size.second);
    EXPECT_EQ(parsed.entry.mapName, "Arabia");
    EXPECT_EQ(parsed.entry.teamLabels[1], "1");
    EXPECT_EQ(parsed.entry.lobbyChat, "Alice: gl hf\r\n");
  }
}

TEST(PlayerListTest, NameLengthPastTheHeaderStillRunsTheLaterStages) {
  for (int32_t n : {-20, 0x7FFFFFFF, 1000000}) {
    SCOPED_TRACE(n);
    HeaderBuilder h;
    fixtures::mapWithoutRecords(h);
    h.padTo(20000);
    ListEntry bad = entry(1, "Ann");
    bad.declaredLength = n;
    h.playerList({entry(0, ""), bad});
    const int64_t listEnd = h.doubleMarker();
    h.scenarioList({});
    h.teamBytes({2, 2, 1, 1, 1, 1, 1, 1});
    h.lobbyMessage("@#1hello");
    h.padTo(listEnd + 200);
    const ParsedRecording parsed = parse(h);
    EXPECT_EQ(parsed.entry.teamLabels[1], "1");
    EXPECT_EQ(parsed.entry.lobbyChat, "hello\r\n");
    EXPECT_EQ(parsed.entry.mapName, std::string(fixtures::kUnknownMap));
  }
}

}  // namespace
}  // namespace morvane
