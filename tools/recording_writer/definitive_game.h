// A Definitive Edition recording written from the edition's documented
// layout at a chosen save version: its own block with the settings and one
// entry per player, the AI flag, the replay section, the map and its tiles,
// and a body with chat in the edition's JSON form.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvane::fixtures {

// An object standing on the map at the start, written in the record form
// of the save version: 10 a static object (where ownCopy, with its own copy
// of its type), 20 an animated one, 70 a combat unit with an AI (and, where
// placed, the place it keeps: from 26.16 an AI of kind 4 alone keeps one),
// 80 a building. A unit has sprites unless spriteless.
struct DefinitiveObject {
  uint8_t type = 10;
  uint16_t unit = 0;
  float x = 0;
  float y = 0;
  bool placed = false;
  bool ownCopy = false;
  bool spriteless = false;
  // The kind of its AI, 0 none; -1: a combat unit's is 1, or 4 where it
  // keeps a place, and a building has none.
  int32_t aiKind = -1;
};

struct DefinitivePlayerSpec {
  int32_t number = 1;
  std::string name;
  int32_t civ = 1;
  int32_t colour = 0;
  uint8_t team = 1;  // 1 no team, 2 team 1, ...
  int32_t profileId = 0;
  uint16_t spawnX = 0;  // the start its block in the game data states
  uint16_t spawnY = 0;
};

struct DefinitiveChatMessage {
  int32_t player = 1;
  int32_t channel = 0;
  std::string message;  // as typed, or the game's notice
  int32_t taunt = -1;
  std::string shown;                 // "messageAGP": the line the game showed
  std::optional<int32_t> receivers;  // "destinationMap": bit n + 1 for player n
};

struct DefinitiveGame {
  float saveVersion = 63.0f;
  std::vector<DefinitivePlayerSpec> players;
  int32_t mapId = 9;
  // When the game was played, seconds since 1970 UTC, written from 26.16;
  // 0 states no time.
  uint32_t playedAt = 1729982223;
  // The random map's strings; after the first each is keyed by a checksum,
  // as the game writes them. A built-in map's is "NONE:NONE:::false".
  std::vector<std::string> mapStrings = {"SUBSCRIBEDMODS:RANDOM_MAPS:Arabia.rms",
                                         "\xA3\x5F\x02\x00"};
  int32_t difficulty = 1;  // written only where the version has it first
  int32_t revealMap = 0;
  int32_t victory = 1;
  int32_t startingAge = 2;  // the edition's own id: 2 is the Dark Age
  int32_t gameType = 0;
  float speed = 1.7f;
  int32_t population = 200;
  bool lockTeams = true;
  uint16_t pov = 1;
  int32_t width = 8;
  int32_t height = 8;
  std::vector<uint8_t> terrain;  // per tile, row by row; 0 past its end
  std::vector<uint8_t> elevation;
  // The tiles in seven bytes, as some files of the first release (12.97)
  // write them, not nine.
  bool narrowTiles = false;
  // The lobby's entries name each player by the profile id in decimal
  // digits, as the first release (12.97) writes them; the players' blocks
  // in the game data keep the names.
  bool profileIdsAsNames = false;
  // Arrays of values before each player's start in the game data; 0: the
  // patch's own count.
  int32_t valueArrays = 0;
  int32_t restoredAtMs = 0;  // the game time a restored game was saved at
  bool withAi = false;       // the AI flag set, and the AI section after it
  bool aiSectionDamaged = false;  // one byte of its closing run of 0xFF is not
  // The chat before the game, each message as stored (its NUL added).
  std::vector<std::string> lobbyChat;
  bool lobbyLengthOff = false;  // the last message's length one more than its bytes
  // The messages during the game, each written as the JSON object the
  // edition sends.
  std::vector<DefinitiveChatMessage> chat;
  int32_t stepMs = 1000;  // one time step after each message
  // Research commands (player, technology), one step apart, before the chat,
  // in the layout of the build the header states.
  std::vector<std::pair<uint8_t, int16_t>> research;
  std::vector<uint8_t> resigning;  // player numbers, one step apart, after the chat
  // Per block, Gaia's first, the objects of its first list, written after
  // the block; none: no lists, zeros where they stand.
  std::vector<std::vector<DefinitiveObject>> objects;
  std::array<uint8_t, 16> gameId = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A,
                                    0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
};

// A game the tests and fuzz seeds start from: two players on two teams.
DefinitiveGame twoPlayerDefinitiveGame(float saveVersion);

std::vector<uint8_t> buildDefinitiveHeader(const DefinitiveGame& game);
std::vector<uint8_t> buildDefinitiveBody(const DefinitiveGame& game);

}  // namespace morvane::fixtures
