// The version text and save version at the header's start, the body's first
// int32, and the layout row of each family.
#include "recording/game_version.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <tuple>
#include <utility>

namespace morvane {
namespace {

constexpr int64_t kVersionTextBytes = 8;
constexpr float kLaterEditionAbove = 11.76f;  // save versions above: the later edition
// The newest save version each edition's rows were confirmed on; anything
// newer is a patch the table does not know.
constexpr float kBaseGamesNewest = 11.76f;  // the base game, The Conquerors, the patches
constexpr float kLaterEditionNewest = 12.50f;
constexpr float kDefinitiveFrom = 12.97f;
// Newer patches of the Definitive Edition store -1 where the float stood and
// the save version after it as a 16.16 fixed-point number (37 alone stands
// for 37.0).
constexpr float kFixedPointFollows = -1.0f;
constexpr uint32_t kFixedPointOne = 1u << 16;
constexpr uint32_t kPlainThirtySeven = 37;
constexpr int32_t kBodyRelease10 = 3;  // 1.0 and 1.0a
constexpr int32_t kBodyRelease10c = 4;

struct VersionText {
  std::string_view text;
  VersionFamily family;
};

constexpr VersionText kVersionTexts[] = {
    {"VER 9.3", VersionFamily::kAoK},         {"TRL 9.3", VersionFamily::kAoKTrial},
    {"VER 9.4", VersionFamily::kAoC},         {"VER 9.8", VersionFamily::kUserPatch12},
    {"VER 9.9", VersionFamily::kUserPatch13}, {"VER 9.A", VersionFamily::kUserPatch14},
    {"VER 9.B", VersionFamily::kUserPatch14}, {"VER 9.C", VersionFamily::kUserPatch14},
    {"VER 9.D", VersionFamily::kUserPatch14}, {"VER 9.E", VersionFamily::kUserPatch15},
    {"VER 9.F", VersionFamily::kUserPatch15},
};

// The save version, and the first byte after it.
std::pair<float, int64_t> readSaveVersion(ByteSpan header) {
  ByteReader q(header, kVersionTextBytes);
  float value = q.f32();
  if (value == kFixedPointFollows) {
    const auto fixed = static_cast<uint32_t>(q.i32());
    value = fixed == kPlainThirtySeven
                ? 37.0f
                : static_cast<float>(fixed) / static_cast<float>(kFixedPointOne);
  }
  if (q.failed()) return {0.0f, q.position()};
  // Hundredths, as the game names its versions: 16.16 cannot hold 66.3 exactly.
  return {std::round(value * 100.0f) / 100.0f, q.position()};
}

// The rule over the version fields that says whether the table holds a row
// confirmed for the version.
bool tableHolds(const GameVersion& version) {
  // A header that states no version at all is read by the documented rules,
  // whose layout is the table's first row; every game writes its text.
  if (version.family == VersionFamily::kUnknown && version.text.empty()) return true;
  const float save = version.saveVersion;
  if (!(save > 0)) return false;  // NaN too
  switch (version.family) {
    case VersionFamily::kUnknown:
      return false;
    case VersionFamily::kDE:
      return save >= kDefinitiveFrom && save <= newestDefinitiveRow() &&
             definitiveLayoutFor(save).known;
    case VersionFamily::kHD:
      return save <= kLaterEditionNewest;
    default:
      return save <= kBaseGamesNewest;
  }
}

VersionFamily conquerorsRelease(ByteSpan body) {
  const auto release = body.i32(0);
  if (release == kBodyRelease10) return VersionFamily::kAoC10;
  if (release == kBodyRelease10c) return VersionFamily::kAoC10c;
  return VersionFamily::kAoC;
}

// The family of a "VER 9.4" header, the text every edition since The
// Conquerors writes.
VersionFamily conquerorsFamily(float saveVersion, ByteSpan body) {
  if (saveVersion >= kDefinitiveFrom) return VersionFamily::kDE;
  if (saveVersion > kLaterEditionNewest) return VersionFamily::kUnknown;  // a patch between
  if (saveVersion > kLaterEditionAbove) return VersionFamily::kHD;
  return conquerorsRelease(body);
}

// The stated text as it can be shown: bytes outside printable ASCII as '?'.
std::string printableText(std::string_view text) {
  std::string result(text);
  for (char& ch : result) {
    if (ch < 0x20 || ch > 0x7E) ch = '?';
  }
  return result;
}

// What changed in the later edition's header, by the save version from
// which it holds.
struct LaterEditionRow {
  float from;
  int64_t tileBytes;     // per tile in a map record
  int64_t beforeCheck;   // a map record's fixed bytes before its count of floats
  int32_t recordFloats;  // a count of floats a map record may hold besides 41
  int64_t bytesPerUnit;  // per unit of an AI record
  int64_t optionalTail;  // after the AI records
  int64_t nameListFirstEntry;
  bool lobbyBlock;
  int64_t victoryBeforeMarker;
  int32_t standardAge;
  int64_t lobbyAfterTeams;
};

constexpr LaterEditionRow kLaterEditionRows[] = {
    {11.77f, 1, 1275, 41, 400, 5544, 24, false, 18044, -1, 9},
    {11.93f, 2, 2048, 41, 400, 5544, 24, false, 18044, -1, 9},
    {11.96f, 2, 2048, 41, 400, 5544 + 1280, 24, false, 18044, -1, 9},
    {12.0f, 2, 2048, 41, 400 + 384, 5544 + 1280, 24, false, 18044 + 4, -1, 9},
    {12.3f, 2, 2048, 100, 400 + 384, 5544 + 1280 + 4, 24 + 16, false, 18044 + 4, -1, 8},
    {12.35f, 2, 2048, 100, 400 + 384, 5544 + 1280 + 4, 24 + 16, true, 18044 + 644, 2, 8},
};

// The later edition's object records, by the save version from which each
// form holds. Walked against recordings at 11.97, 12.10, 12.31, 12.36 and
// 12.50; the versions between 11.97 and 12.10 are not known.
struct LaterEditionObjectRow {
  float from;
  bool known;
  int64_t pathData;
  int64_t movingTail;
  int64_t actionTail;
  int64_t linkedChildren;
  bool staticList;
};

constexpr LaterEditionObjectRow kLaterEditionObjectRows[] = {
    {11.77f, false, 44, 0, 0, 4, false},
    {11.97f, true, 44, 0, 2, 4, false},
    {11.98f, false, 44, 0, 2, 4, false},
    {12.1f, true, 44 + 4, 1, 3, 3, false},
    {12.37f, true, 44 + 4, 1, 3, 3, true},
};

void applyLaterEditionObjects(float saveVersion, ObjectRecordLayout& objects) {
  const LaterEditionObjectRow* row = &kLaterEditionObjectRows[0];
  for (const LaterEditionObjectRow& later : kLaterEditionObjectRows) {
    if (saveVersion >= later.from) row = &later;
  }
  objects.known = row->known;
  objects.workerCount = row->staticList ? 1 : 4;  // one byte again from the row with the closing list
  objects.staticList = row->staticList;
  objects.pathData = row->pathData;
  objects.movingTail = row->movingTail;
  objects.actionTail = row->actionTail;
  objects.unitAiTail = 4;
  objects.linkedChildren = row->linkedChildren;
}

const LaterEditionRow& laterEditionRow(float saveVersion) {
  const LaterEditionRow* row = &kLaterEditionRows[0];
  for (const LaterEditionRow& later : kLaterEditionRows) {
    if (saveVersion >= later.from) row = &later;
  }
  return *row;
}

void applyLaterEditionRow(const LaterEditionRow& row, HeaderLayout& layout) {
  layout.mapRecord.tileBytes = row.tileBytes;
  layout.mapRecord.beforeCheck = row.beforeCheck;
  layout.mapRecord.otherCheckValue = row.recordFloats;
  layout.optionalBlock.bytesPerUnit = row.bytesPerUnit;
  layout.optionalBlock.tail = row.optionalTail;
  layout.optionalBlock.afterLobbyBlock = row.lobbyBlock;
  layout.nameList.firstEntry = row.nameListFirstEntry;
  layout.settings.victoryBeforeMarker = row.victoryBeforeMarker;
  layout.settings.standardAge = row.standardAge;
  layout.settings.lobbyAfterTeams = row.lobbyAfterTeams;
}

}  // namespace

GameVersion readGameVersion(ByteSpan header, ByteSpan body) {
  GameVersion version;
  // The text is NUL-padded to 8 bytes.
  const std::string_view text = header.text(0, kVersionTextBytes, kVersionTextBytes);
  version.text = std::string(text);
  std::tie(version.saveVersion, version.fieldsEnd) = readSaveVersion(header);
  for (const VersionText& known : kVersionTexts) {
    if (text == known.text) version.family = known.family;
  }
  if (version.family == VersionFamily::kAoC) {
    version.family = conquerorsFamily(version.saveVersion, body);
  }
  version.supported = tableHolds(version);
  return version;
}

// Two decimals, a last zero dropped.
std::string saveVersionText(float saveVersion) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(saveVersion));
  std::string result(text);
  if (result.size() > 3 && result.back() == '0' && result[result.size() - 3] == '.') {
    result.pop_back();
  }
  return result;
}

std::string versionName(const GameVersion& version) {
  if (version.supported) return versionName(version.family);
  if (version.family == VersionFamily::kDE) return "DE " + saveVersionText(version.saveVersion);
  if (version.text.empty()) return versionName(VersionFamily::kUnknown);
  return printableText(version.text) + " " + saveVersionText(version.saveVersion);
}

const char* versionName(VersionFamily family) {
  switch (family) {
    case VersionFamily::kUnknown:
      return "unknown";
    case VersionFamily::kAoK:
      return "AoK";
    case VersionFamily::kAoKTrial:
      return "AoK trial";
    case VersionFamily::kAoC:
      return "AoC";
    case VersionFamily::kAoC10:
      return "AoC 1.0";
    case VersionFamily::kAoC10c:
      return "AoC 1.0c";
    case VersionFamily::kHD:
      return "HD";
    case VersionFamily::kUserPatch12:
      return "UserPatch 1.2";
    case VersionFamily::kUserPatch13:
      return "UserPatch 1.3";
    case VersionFamily::kUserPatch14:
      return "UserPatch 1.4";
    case VersionFamily::kUserPatch15:
      return "UserPatch 1.5";
    case VersionFamily::kDE:
      return "DE";
  }
  return "unknown";
}

void applyDefinitiveBuild(std::optional<int32_t> build, BodyLayout& body) {
  if (build && *build >= kResearchRewrittenBuild) {
    body.researchPlayerAt = 1;
    body.researchPlayerBytes = 1;
    body.researchTechAt = 10;
    body.commands = CommandForm::kDefinitiveRewritten;
  } else {
    // Three bytes after the id, the building, the player, the count of
    // selected units, then the technology as an int32.
    body.researchPlayerAt = 8;
    body.researchPlayerBytes = 2;
    body.researchTechAt = 12;
    body.commands = CommandForm::kDefinitive;
  }
}

HeaderLayout layoutFor(const GameVersion& version) {
  HeaderLayout layout;
  if (version.family == VersionFamily::kUnknown) return layout;
  layout.playerBlock.storedForm = true;
  layout.playerBlock.countedValues = true;
  switch (version.family) {
    case VersionFamily::kAoK:
    case VersionFamily::kAoKTrial:
      // No map id in the name list, no 2 bytes after the player count, and
      // 4 fewer bytes between the resource values and the civilisation.
      layout.nameList.firstEntry = 20;
      layout.nameList.mapId.reset();
      layout.mapBlock.width = 108;
      layout.mapBlock.height = 112;
      layout.mapBlock.recordCount = 116;
      layout.mapBlock.firstRecord = 120;
      layout.playerBlock.civAfterValues = 14;
      layout.settings.lobbyGameType = false;
      // No body version before the start record, which holds 12 more bytes.
      layout.body.checksumIntervalAt = 0;
      layout.body.startBytes = 36;
      layout.body.startAfterInterval = 32;
      layout.objects.known = version.family == VersionFamily::kAoK;  // the trial's not seen
      layout.objects.baseGame = true;
      break;
    case VersionFamily::kAoC:  // 1.0 and 1.0c write the same records
    case VersionFamily::kAoC10:
    case VersionFamily::kAoC10c:
      layout.objects.known = true;
      break;
    case VersionFamily::kUserPatch12:
    case VersionFamily::kUserPatch13:
      // The patches that raised the limit above 200 store it in 25s.
      layout.settings.populationUnit = 25;
      // Their records are 1.4's, as the public description of the records
      // has them; no recording of theirs was walked here.
      layout.objects.known = true;
      layout.objects.actionState = 4;
      break;
    case VersionFamily::kUserPatch14:
      layout.settings.populationUnit = 25;
      layout.objects.known = true;
      layout.objects.actionState = 4;
      break;
    case VersionFamily::kUserPatch15:
      layout.settings.populationUnit = 25;
      layout.objects.known = true;
      layout.objects.actionState = 4;
      // Its tiles make room for more terrains: a tile may be 255, the
      // terrain id, the elevation and the terrain it replaced.
      layout.tiles.widenedByMarker = true;
      break;
    case VersionFamily::kHD:
      layout.body.wallEndsInShorts = true;
      applyLaterEditionRow(laterEditionRow(version.saveVersion), layout);
      applyLaterEditionObjects(version.saveVersion, layout.objects);
      break;
    case VersionFamily::kDE:
      layout.definitive = definitiveLayoutFor(version.saveVersion);
      layout.definitive.blockStart = version.fieldsEnd;
      layout.objects = layout.definitive.objects;
      // Its start record goes on with one zero int32 where the others have
      // three, and holds 4 bytes more after the 500.
      layout.body.startZeros = 4;
      layout.body.startAfterInterval = 24;
      applyDefinitiveBuild(std::nullopt, layout.body);
      break;
    default:
      break;
  }
  return layout;
}

}  // namespace morvane
