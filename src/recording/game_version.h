// Which game wrote a recording, read once from the start of its header and
// body, and the layout numbers that follow from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "recording/byte_reader.h"
#include "recording/de_layout.h"
#include "recording/object_layout.h"

namespace morvane {

enum class VersionFamily {
  kUnknown,
  kAoK,
  kAoKTrial,
  kAoC,  // The Conquerors, release not told by the body
  kAoC10,
  kAoC10c,
  kHD,
  kUserPatch12,
  kUserPatch13,
  kUserPatch14,
  kUserPatch15,
  kDE,  // the Definitive Edition
};

struct GameVersion {
  VersionFamily family = VersionFamily::kUnknown;
  // After the version text: a float, or in newer patches of the Definitive
  // Edition -1 and then a fixed-point number; rounded to hundredths as the
  // game shows it.
  float saveVersion = 0;
  std::string text;        // the version text as stated, before its NUL padding
  int64_t fieldsEnd = 12;  // the first byte after the save version, in either form
  // The version table holds a layout row confirmed for this version; a header
  // it does not hold is named, never read with a guessed row.
  bool supported = false;
};

GameVersion readGameVersion(ByteSpan header, ByteSpan body);

// The inspector's name of a family: "AoK", "AoC 1.0c", "HD", "unknown", ...
const char* versionName(VersionFamily family);
// The name of a header's version: its family's name where the table holds
// it, "DE 63.0" for a Definitive Edition header it does not, otherwise the
// version text and save version the header states ("VER 9.4 12.6").
std::string versionName(const GameVersion& version);
// A save version as the game names it: "63.0", "13.17", "66.3".
std::string saveVersionText(float saveVersion);

// The player-name list, from listStart.
// Each entry: player number, player type, name length, name.
struct NameListLayout {
  int64_t firstEntry = 24;
  // The lobby's map id, an int32 from listStart; none in the base game.
  std::optional<int64_t> mapId = 12;
};

// The optional block before the map block. Its flag follows the save
// version, or the later edition's lobby block where the version has one;
// the other offsets count from the flag.
struct OptionalBlockLayout {
  int64_t flag = 12;  // from the header's start
  bool afterLobbyBlock = false;
  int64_t stringCount = 6;
  int64_t strings = 12;
  int64_t afterStrings = 6;
  int records = 8;
  int64_t recordUnitsAt = 10;  // c, an int16; a record is 16 + bytesPerUnit * c bytes
  int64_t afterUnits = 4;
  int64_t bytesPerUnit = 400;
  int64_t tail = 5544;
  int64_t mapBaseWithout = 4;  // mapBase when the flag is not 1
};

// Offsets from mapBase.
struct MapBlockLayout {
  int64_t pov = 45;
  int64_t playerCount = 47;
  int64_t width = 110;
  int64_t height = 114;
  int64_t recordCount = 118;
  int64_t firstRecord = 122;
};

// A map record: tileBytes * w * h + beforeCheck bytes, a count of floats,
// the floats and afterFloats bytes. Only a count the version is known to
// write is taken, which checks that the walk is still on the records.
struct MapRecordLayout {
  int64_t tileBytes = 1;
  int64_t beforeCheck = 1275;
  int32_t checkValue = 41;
  int32_t otherCheckValue = 41;
  int64_t afterFloats = 4;
  int64_t beforeTerrain = 2;  // after the last record
};

// The tiles after the map records, one after another, row by row (x fastest).
struct TileLayout {
  int64_t bytes = 2;    // per tile
  int64_t terrain = 0;  // the terrain id's byte within the tile
  int64_t elevation = 1;
  // A tile that opens with 255 is widened to 255, terrain, elevation and the
  // terrain it replaced; any other tile stays a pair. Such tiles have no
  // fixed width, so they are walked one by one.
  bool widenedByMarker = false;
};

// The player blocks that follow the terrain, each found by its player's name.
struct PlayerBlockLayout {
  int64_t firstSearch = 1012;  // from the terrain's start, plus count and 3 * w * h
  // Names searched in their stored form (uint16 length + 1, bytes, NUL), not
  // bare: a short name can stand in object data before its block.
  bool storedForm = false;
  // A known version's block states how many 4-byte resource values follow
  // the name (0x16, int32 n, 0x21, the values); the civilisation stands
  // civAfterValues bytes after them. Patches and mods change n, not the rest.
  bool countedValues = false;
  int64_t civAfterValues = 18;
  // The player's initial camera, two floats in tiles, this many bytes after
  // the values; where a normal start puts the town centre.
  int64_t cameraAfterValues = 1;
  // Otherwise the civilisation stands at a fixed distance from the name's end.
  int64_t civ = 817;
  int64_t colourAfterCiv = 4;
};

// The lobby's settings around the player list and after the team bytes.
struct SettingsLayout {
  int64_t speed = 24;  // a float, from mapBase
  // int32s before the name list's first entry
  int64_t difficultyBeforeList = 8;
  int64_t lockTeamsBeforeList = 4;
  int64_t agesBeforeMarker = 64;  // 16 int32 starting ages end at the list's -99 marker
  int32_t standardAge = -1;       // what a standard start is stored as
  // The victory block (it opens with -99) at this distance before the marker.
  int64_t victoryBeforeMarker = 18044;
  // From the first team byte to the lobby's int32 reveal map; map size,
  // population, game type and lock teams follow it.
  int64_t lobbyAfterTeams = 9;
  bool lobbyGameType = true;   // the game type and lock-teams bytes
  int32_t populationUnit = 1;  // 25 where a patch stores the limit divided by 25
};

// The body's opening start record, before the first operation.
// How a command states its fields: the earlier editions' forms, the
// Definitive Edition's own (queue and tribute commands that name their
// player), and its rewrite, where every command names its player in the
// byte after its id and states its length again.
enum class CommandForm { kEarlier, kDefinitive, kDefinitiveRewritten };

struct BodyLayout {
  int64_t checksumIntervalAt = 4;   // the int32 500 that every start record holds
  int64_t startBytes = 28;          // the body's own version, then the record
  int64_t startZeros = 12;          // where the record goes on with zeros, this many
  int64_t startAfterInterval = 20;  // a start record's bytes after the 500
  // The research command, from its id: the player number and the
  // technology. Its stated length varies (16, 24 and 28 bytes, even within
  // one recording); these two stand where every length has them.
  int64_t researchPlayerAt = 8;
  int64_t researchPlayerBytes = 2;  // an int16, or a byte
  int64_t researchTechAt = 10;      // an int16
  // The wall command's two ends as int16s with the building after them, as
  // the later edition and the Definitive Edition write it; else bytes.
  bool wallEndsInShorts = false;
  CommandForm commands = CommandForm::kEarlier;
};

// The Definitive Edition rewrote its research command at this build: the
// player byte right after the id, then the command's length, the building,
// the count of selected units and the technology.
inline constexpr int32_t kResearchRewrittenBuild = 71094;

// The body's layout of a Definitive Edition header of this build (none: a
// patch that did not yet write its build).
void applyDefinitiveBuild(std::optional<int32_t> build, BodyLayout& body);

// Every default above is The Conquerors' layout, kept for an unknown version.
struct HeaderLayout {
  NameListLayout nameList;
  OptionalBlockLayout optionalBlock;
  MapBlockLayout mapBlock;
  MapRecordLayout mapRecord;
  TileLayout tiles;
  PlayerBlockLayout playerBlock;
  SettingsLayout settings;
  BodyLayout body;
  ObjectRecordLayout objects;
  DefinitiveLayout definitive;  // the Definitive Edition's header, read by de_header
};

HeaderLayout layoutFor(const GameVersion& version);

}  // namespace morvane
