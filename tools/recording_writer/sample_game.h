// A whole, well-formed recorded game described by what a player would see:
// players, map, map type, teams and chat. buildHeader lays it out the way the
// game does, so a test only states what it cares about.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recording_writer/header_builder.h"

namespace morvane::fixtures {

struct SamplePlayer {
  int32_t number = 0;  // the slot it belongs to, 1..8
  std::string name;
  uint8_t civ = 0;
  uint8_t colour = 0;
  uint8_t team = 1;    // 1 is "no team"
  Camera camera = {};  // where the player's view starts
  int32_t type = 0;    // as the list stores it (ListEntry::type)
};

struct SampleGame {
  VersionLayout layout;               // The Conquerors layout unless a test names a game
  std::vector<SamplePlayer> players;  // list positions 1, 2, ...; position 0 stays empty
  uint8_t pov = 1;
  std::optional<uint8_t> playerCount;  // defaults to the number of players
  int32_t width = 16;
  int32_t height = 16;
  // Terrain and elevation of each tile, row by row; terrainPattern and the
  // map block's filler byte when empty.
  std::vector<uint8_t> terrain;
  std::vector<uint8_t> elevation;
  bool withOptionalBlock = false;
  bool withMapTypeLine = true;
  std::string mapLabel{kLabelEnglish};
  std::string mapText = "Arabia";
  int32_t mapId = 9;  // Arabia's, where the layout stores one
  // The random map script a later edition's lobby names; empty for a
  // built-in map, as the game writes it.
  std::string mapFile;
  std::string mapLineEnd = "\n";
  // Offset wanted for the space after the label's colon; it moves up when
  // the map block does not leave room below it.
  int64_t mapTypeSpaceAt = kMapTypeLowestSpace + 100;
  std::vector<ScenarioRecord> scenarioRecords;
  std::vector<std::string> lobbyChat;  // message texts, markers included
  std::vector<std::string> gameChat;
  int64_t minimumHeaderLength = 0;
  // Non-zero: the map's tables after the terrain are written, ending with the
  // time the game was restored at.
  uint32_t restoredAtMs = 0;
  // Set: the lobby's population limit after the team bytes, as stored.
  std::optional<int32_t> lobbyPopulation;
  // The objects at the start by block, Gaia's first, each block's lists after
  // its player record; none written when empty.
  std::vector<std::vector<StartObject>> objects;
  std::optional<int32_t> objectListCapacity;  // each list's as stated; its count when unset
  int64_t bodyFiller = 64;  // command bytes before each in-game message and at the end
  // Non-zero: padding is pseudo-random bytes from this seed, so the header
  // compresses about as well as a real one. Zero: padding is zeros.
  uint32_t noiseSeed = 0;
  // The game id of the later edition's lobby block, where the layout has one.
  std::array<uint8_t, 16> gameId = {};
  // Non-empty: the body opens with a start record and one time step with a
  // checksum block per value, each holding it as its world checksum, before
  // the chat.
  std::vector<uint32_t> worldChecksums;
};

struct SampleHeader {
  std::vector<uint8_t> bytes;
  MapBlockPositions map;
  int64_t mapTypeSpace = 0;  // 0 without a map type line
  int64_t listStart = 0;
  int64_t listEnd = 0;
  int64_t teamBytesOffset = 0;
  int64_t chatScanStart = 0;
};

// Deterministic terrain bytes for a width x height map.
std::vector<uint8_t> terrainPattern(int32_t width, int32_t height);

SampleHeader buildHeader(const SampleGame& game);
std::vector<uint8_t> buildBody(const SampleGame& game);

// A two-player game on a 16 x 16 map with one lobby and one in-game message.
SampleGame twoPlayerGame();
// Eight players on a 40 x 30 map with the optional block, a Japanese map
// label and chat in both places.
SampleGame eightPlayerGame();

}  // namespace morvane::fixtures
