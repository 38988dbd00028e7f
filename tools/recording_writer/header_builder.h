// Assembles an inflated recorded-game header piece by piece, in the order and
// with the field positions the parser reads. Every method appends at the
// current end and returns the offset the caller will want to check against.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recording_writer/byte_writer.h"

namespace morvane::fixtures {

// The little-endian double 1.6 that closes the player-name list region.
inline constexpr std::string_view kDoubleMarker{"\x9A\x99\x99\x99\x99\x99\xF9\x3F", 8};
// int32 -99, opening the player-name list.
inline constexpr std::string_view kListMarker{"\x9D\xFF\xFF\xFF", 4};

// Map type labels in the code pages the game writes them in.
inline constexpr std::string_view kLabelJapanese{"\x83\x7D\x83\x62\x83\x76\x82\xCC\x8E\xED\x97\xDE",
                                                 12};
inline constexpr std::string_view kLabelEnglish{"Map Type"};
inline constexpr std::string_view kLabelSpanish{"Tipo de mapa"};
inline constexpr std::string_view kLabelGerman{"Kartentyp"};
inline constexpr std::string_view kLabelChinese{"\xB5\xD8\xCD\xBC\xC0\xE0\xD0\xCD", 8};
inline constexpr std::string_view kLabelKorean{"\xC1\xF6\xB5\xB5\x20\xC1\xBE\xB7\xF9", 9};
// "不明" in code page 932: the map name of a game without a map type line.
inline constexpr std::string_view kUnknownMap{"\x95\x73\x96\xBE", 4};

// Header offsets the map type search is confined to.
inline constexpr int64_t kMapTypeLowestSpace = 100001;
inline constexpr int64_t kMapTypeTailDistance = 18000;
// Markers whose last byte lies at or below this offset are not found.
inline constexpr int64_t kMarkerSearchFloor = 18000;

// "地图类别" in code page 936 and "地圖類別" in 950, each followed by its
// full-width colon and no space.
inline constexpr std::string_view kLabelChineseFullWidth{"\xB5\xD8\xCD\xBC\xC0\xE0\xB1\xF0", 8};
inline constexpr std::string_view kColonGbk{"\xA3\xBA", 2};
inline constexpr std::string_view kLabelTaiwanese{"\xA6\x61\xB9\xCF\xC3\xFE\xA7\x4F", 8};
inline constexpr std::string_view kColonBig5{"\xA1\x47", 2};

// What differs between the games' header layouts, in the writer's own
// numbers. The defaults write no version text: The Conquerors layout, which
// a reader keeps for a header it does not recognise.
inline constexpr uint64_t kFirstProfileId = 76561198000000000;

struct VersionLayout {
  std::string_view text;  // at offset 0, NUL-padded to 8 bytes
  float saveVersion = 0;  // the float at offset 8
  int64_t listGap = 20;   // bytes between the -99 marker and the first entry
  bool listMapId = true;  // the lobby's map id 8 bytes into that gap
  int64_t widthAt = 110;  // from mapBase; height, record count and records follow
  int64_t optionalTail = 5544;
  int64_t recordTileBytes = 1;  // a record's bytes before its check value are
  int64_t recordFixed = 1275;   // recordTileBytes * w * h + recordFixed
  // Each tile as 255, terrain, elevation and an unused byte, not the pair.
  bool markedTiles = false;
  bool somePlainTiles = false;  // with markedTiles: every third tile a plain pair
  int64_t civAt = 817;       // from a name's end; the colour 4 bytes on
  bool storedNames = false;  // uint16 length + 1 before a block's name
  // Non-zero: each player block states its count of 4-byte resource values
  // (0x16, n, 0x21, the values) and the civilisation stands civAfterValues
  // bytes after them, in place of civAt.
  int32_t resourceValues = 0;
  int64_t civAfterValues = 18;
  int64_t bytesPerRuleUnit = 400;  // an AI record is 16 + this * c bytes
  // Non-zero: the later edition's lobby block of this version stands between
  // the save version and the optional-block flag.
  float lobbyVersion = 0;
  bool lobbyRatings = false;  // two ratings in each of its player entries
  // A queued action's state: 4 bytes in the patches.
  int64_t actionStateBytes = 1;
};

VersionLayout baseGameLayout();    // "VER 9.3"
VersionLayout conquerorsLayout();  // "VER 9.4", save version 11.76
VersionLayout patch12Layout();     // "VER 9.8"
VersionLayout patch15Layout();     // "VER 9.F"
// The later edition from its save version; from 12.35 on with a lobby block
// of the given version.
VersionLayout laterEditionLayout(float saveVersion, float lobbyVersion = 1006,
                                 bool lobbyRatings = true);  // "VER 9.4", above 11.76

struct OptionalBlock {
  std::vector<std::string> strings;
  // The int16 at offset 18; defaults to the number of strings.
  std::optional<int16_t> stringCount;
  // c of each of the 8 records (each record is 16 + bytesPerRuleUnit * c bytes).
  std::array<int16_t, 8> recordUnits = {};
};

struct MapBlock {
  uint8_t pov = 1;
  uint8_t playerCount = 2;
  int32_t width = 0;
  int32_t height = 0;
  // One map record per element, carrying that check value: its count of
  // floats, 41 (or in later versions 100); the walk stops at any other.
  std::vector<int32_t> recordChecks = {41};
  // The record count field; defaults to recordChecks.size().
  std::optional<int32_t> declaredRecords;
  // Terrain byte of each tile; one tile per element is written after the
  // records and their 2 skipped bytes, a pair or in the layout's marked form.
  std::vector<uint8_t> terrain;
  uint8_t terrainSecondByte = 0xEE;
  // Each tile's elevation; terrainSecondByte past its end.
  std::vector<uint8_t> elevation = {};
};

// A player's initial camera, in tiles.
struct Camera {
  float x = 0;
  float y = 0;
};

// An object standing on the map at the start, written in The Conquerors'
// record form whatever the layout, but for the width of an action's state.
struct StartObject {
  uint8_t type = 10;  // 10 static, 70 combat, 80 building; anything else as 10
  uint16_t unit = 0;
  float x = 0;
  float y = 0;
  bool sleeping = false;  // in the block's second list
  bool moving = false;    // a combat unit with a move queued
};

struct MapBlockPositions {
  int64_t mapBase = 0;
  int64_t afterRecords = 0;    // where the record walk ends when every check is 41
  int64_t terrainStart = 0;    // afterRecords + 2
  int64_t civSearchStart = 0;  // first position compared with slot names
};

struct ListEntry {
  int32_t number = 0;
  std::string name;
  // n as stored; defaults to name.size().
  std::optional<int32_t> declaredLength;
  int32_t type = 0;  // the player type: 2 human, 4 computer, 6 spectator
};

struct SubRecord {
  int32_t v = 0;  // -1 counts as 0
  int32_t c = 0;
  int32_t d = 0;
};

struct ScenarioRecord {
  int32_t a = 0;
  int32_t b = 0;
  std::vector<SubRecord> subRecords;
  // S as stored; defaults to subRecords.size().
  std::optional<int32_t> declaredSubRecords;
  int32_t w = 0;
};

// Byte lengths of the walked structures as the team label walk counts them.
int64_t subRecordLength(const SubRecord& record);
int64_t scenarioRecordLength(const ScenarioRecord& record);

// A chat message: int32 n and the text, n defaulting to the text's length.
void appendChatMessage(ByteWriter& out, std::string_view text,
                       std::optional<int32_t> declaredLength = std::nullopt);

class HeaderBuilder : public ByteWriter {
 public:
  VersionLayout layout;
  // The map id the name list and the lobby block state. The lobby block's
  // first two player entries are players 1 and 2 with profile ids
  // kFirstProfileId + 1 and + 2 and, where it has them, ratings 1501/1401 and
  // 1502/1402.
  int32_t mapId = 0;
  std::string mapFile;  // the lobby's random map script; empty for a built-in map
  // The game id the lobby block states, where its version has one.
  std::array<uint8_t, 16> gameId = {};

  // The version text and save version, the lobby block where the layout has
  // one, then the optional-block flag; the map block follows the flag unless
  // it is 1. Returns mapBase.
  int64_t plainStart(int32_t flag = 0);
  // Flag 1, the string count 6 bytes on and the block 12 bytes on; returns mapBase.
  int64_t optionalBlock(const OptionalBlock& block);

  // The later edition's lobby block as its version lays it out, with the
  // players' names, each preceded by the four separator bytes as a lure.
  int64_t lobbyBlock(float version, bool ratings);

  // The map block at the current end: pov at +45, player count at +47, width
  // +110, height +114, record count +118, records from +122, then terrain.
  MapBlockPositions mapBlock(const MapBlock& block);

  // One player record of the civilisation/colour region at the current end:
  // the name (stored form if the layout says so), civ at +L+817 and colour at
  // +L+821 (L the name length, 817 the layout's civAt), or counted values,
  // one byte, the camera and the civilisation after them. Returns the offset
  // of the name.
  int64_t playerRecord(std::string_view name, uint8_t civ, uint8_t colour, Camera camera = {});

  // A block's three object lists (live, sleeping, remembered copies), the
  // objects owned by owner; each list's capacity as declared, else its count.
  // Returns the offset of the first list's marker.
  int64_t objectLists(uint8_t owner, const std::vector<StartObject>& objects,
                      std::optional<int32_t> declaredCapacity = std::nullopt);

  // "label: text" followed by end; returns the offset of the separator's
  // last byte (the space).
  int64_t mapTypeLine(std::string_view label, std::string_view text, std::string_view end = "\n",
                      std::string_view separator = ": ");

  // The -99 marker, 20 bytes and nine name-list entries (missing ones are
  // written as empty entries with player number 0); returns listStart.
  int64_t playerList(std::vector<ListEntry> entries);

  // The 1.6 double; returns listEnd (the offset just past it).
  int64_t doubleMarker();

  // From listEnd: 1 byte, N, the records and N * 4 bytes; returns the offset
  // of the team bytes.
  int64_t scenarioList(const std::vector<ScenarioRecord>& records,
                       std::optional<int32_t> declaredCount = std::nullopt);
  int64_t scenarioRecord(const ScenarioRecord& record);

  // The 8 team bytes and the 23 skipped bytes; returns chatScanStart.
  int64_t teamBytes(const std::array<uint8_t, 8>& teams);

  // int32 n then the text; returns the offset of the text (the marker).
  int64_t lobbyMessage(std::string_view text, std::optional<int32_t> declaredLength = std::nullopt);
};

}  // namespace morvane::fixtures
