// The version text and save version at the header's start, the body's first
// int32, and the layout row of each family.
#include "recording/game_version.h"

#include <cstring>
#include <string_view>

namespace morvane {
namespace {

constexpr int64_t kVersionTextBytes = 8;
constexpr float kLaterEditionAbove = 11.76f;  // save versions above: the later edition
constexpr int32_t kBodyRelease10 = 3;         // 1.0 and 1.0a
constexpr int32_t kBodyRelease10c = 4;

struct VersionText {
  std::string_view text;
  VersionFamily family;
};

constexpr VersionText kVersionTexts[] = {
    {"VER 9.3", VersionFamily::kAoK},         {"TRL 9.3", VersionFamily::kAoKTrial},
    {"VER 9.4", VersionFamily::kAoC},         {"VER 9.A", VersionFamily::kUserPatch14},
    {"VER 9.B", VersionFamily::kUserPatch14}, {"VER 9.C", VersionFamily::kUserPatch14},
    {"VER 9.D", VersionFamily::kUserPatch14}, {"VER 9.E", VersionFamily::kUserPatch15},
    {"VER 9.F", VersionFamily::kUserPatch15},
};

float readSaveVersion(ByteSpan header) {
  ByteReader q(header, kVersionTextBytes);
  const uint32_t bits = static_cast<uint32_t>(q.i32());
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return q.failed() ? 0 : value;
}

VersionFamily conquerorsRelease(ByteSpan body) {
  const auto release = body.i32(0);
  if (release == kBodyRelease10) return VersionFamily::kAoC10;
  if (release == kBodyRelease10c) return VersionFamily::kAoC10c;
  return VersionFamily::kAoC;
}

}  // namespace

GameVersion readGameVersion(ByteSpan header, ByteSpan body) {
  GameVersion version;
  // The text is NUL-padded to 8 bytes.
  const std::string_view text = header.text(0, kVersionTextBytes, kVersionTextBytes);
  for (const VersionText& known : kVersionTexts) {
    if (text == known.text) version.family = known.family;
  }
  if (version.family == VersionFamily::kUnknown) return version;
  version.saveVersion = readSaveVersion(header);
  if (version.family == VersionFamily::kAoC) {
    version.family =
        version.saveVersion > kLaterEditionAbove ? VersionFamily::kHD : conquerorsRelease(body);
  }
  return version;
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
    case VersionFamily::kUserPatch14:
      return "UserPatch 1.4";
    case VersionFamily::kUserPatch15:
      return "UserPatch 1.5";
  }
  return "unknown";
}

HeaderLayout layoutFor(const GameVersion& version) {
  HeaderLayout layout;
  if (version.family == VersionFamily::kUnknown) return layout;
  layout.playerBlock.storedForm = true;
  switch (version.family) {
    case VersionFamily::kAoK:
    case VersionFamily::kAoKTrial:
      // No map id in the name list, no 2 bytes after the player count, and
      // 9 fewer values and 4 fewer bytes in each player block.
      layout.nameList.firstEntry = 20;
      layout.mapBlock.width = 108;
      layout.mapBlock.height = 112;
      layout.mapBlock.recordCount = 116;
      layout.mapBlock.firstRecord = 120;
      layout.playerBlock.civ = 777;
      layout.playerBlock.colour = 781;
      layout.playerBlock.nextSearch = 782;
      break;
    case VersionFamily::kUserPatch15:
      // 42 more 4-byte values in each player block.
      layout.playerBlock.civ = 985;
      layout.playerBlock.colour = 989;
      layout.playerBlock.nextSearch = 990;
      break;
    case VersionFamily::kHD:
      if (version.saveVersion >= 11.93f) {
        layout.mapRecord.tileBytes = 2;
        layout.mapRecord.beforeCheck = 2048;
      }
      if (version.saveVersion >= 11.96f) layout.optionalBlock.tail = 5544 + 1280;
      if (version.saveVersion >= 12.3f) layout.nameList.firstEntry = 24 + 16;
      break;
    default:
      break;
  }
  return layout;
}

}  // namespace morvane
