#include "recording_report.h"

#include <zlib.h>

#include <cstring>
#include <vector>

#include "facts_report.h"
#include "objects_report.h"
#include "play_report.h"
#include "json_line.h"
#include "library/civilisation_names.h"
#include "library/list_presentation.h"
#include "minimap/minimap.h"
#include "minimap/png_image.h"
#include "recording/command_walk.h"
#include "recording/recorded_game_file.h"

namespace morvane::inspect {
namespace {

// Hex, or UTF-8 through the decoder chosen for the recording.
class ByteStrings {
 public:
  explicit ByteStrings(const platform::TextDecoder* decoder) : decoder_(decoder) {}
  std::string operator()(std::string_view bytes) const {
    if (decoder_ == nullptr) return jsonString(hexBytes(bytes));
    return jsonString(decoder_->toUtf8(bytes));
  }

 private:
  const platform::TextDecoder* decoder_;
};

const platform::TextDecoder* decoderFor(const ReportSettings& settings, int32_t codePage) {
  if (settings.raw || settings.decoders == nullptr) return nullptr;
  return &settings.decoders->forRecording(codePage);
}

uint32_t tilesCrc32(const TerrainTiles& tiles) {
  std::vector<uint8_t> bytes(TerrainTiles::kSize, 0);
  if (tiles.data() != nullptr) std::memcpy(bytes.data(), tiles.data(), bytes.size());
  return static_cast<uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

std::string povNameOf(const GameEntry& entry, const NameTable* playerNames) {
  static const NameTable kNoNames;
  return povPlayerName(entry, playerNames != nullptr ? *playerNames : kNoNames);
}

void addParse(JsonLine& line, const RecordedGameFile& file, const GameEntry& entry,
              const ReportSettings& settings) {
  const ByteStrings bytes(decoderFor(settings, entry.facts.read().codePage));
  const GameFacts& facts = entry.facts.read();
  const VersionFamily family = file.version().family;
  line.number("headerLength", file.headerLength());
  line.number("bodyLength", file.bodyLength());
  // The reader's own word for a map it found no text for is code page 932
  // whatever the recording's: it is written as the text it is.
  if (!settings.raw && entry.mapName == kMapTypeNotFound) {
    line.string("mapName", u8"\u4E0D\u660E");
  } else {
    line.raw("mapName", bytes(entry.mapName));
  }
  line.number("mapWidth", entry.mapWidth);
  line.number("mapHeight", entry.mapHeight);
  line.number("mapTilesCrc32", tilesCrc32(entry.mapTiles));
  line.number("povIndex", entry.povIndex);
  line.raw("povName", bytes(povNameOf(entry, settings.playerNames)));
  line.number("playerCount", entry.playerCount);
  std::vector<std::string> numbers, names, slots, teams;
  for (std::size_t k = 0; k < GameEntry::kPositions; ++k) {
    numbers.push_back(std::to_string(entry.playerNumbers[k]));
    names.push_back(bytes(entry.playerNames[k]));
    const PlayerSlot& slot = entry.slots[k];
    JsonLine slotLine;
    slotLine.raw("name", bytes(std::string_view(slot.name, strnlen(slot.name, sizeof slot.name))));
    slotLine.number("civId", slot.civId);
    // The raw form keeps to the fields the expectation files pin.
    if (slot.civId != 0 && !settings.raw) {
      slotLine.string("civName", civilisationName(slot.civId, family));
    }
    slotLine.number("colourId", slot.colourId);
    const auto profile = facts.profileIds.find(static_cast<int32_t>(k));
    if (profile != facts.profileIds.end()) slotLine.number("profileId", profile->second);
    slots.push_back(slotLine.str());
    teams.push_back(bytes(entry.teamLabels[k]));
  }
  line.raw("playerNumbers", jsonArray(numbers));
  line.raw("playerNames", jsonArray(names));
  line.raw("slots", jsonArray(slots));
  line.raw("teamLabels", jsonArray(teams));
  line.raw("lobbyChat", bytes(entry.lobbyChat));
  line.raw("gameChat", bytes(entry.gameChat));
}

}  // namespace

Report reportRecording(const std::string& path, const ReportSettings& settings) {
  JsonLine line;
  // The exact path: UTF-8 on Windows, the name's own bytes on POSIX.
  line.string("file", path);
  RecordedGameFile file;
  Report report;
  // The inspector reads archives and shares that are not its own: it never
  // writes into them, not even a temporary file.
  report.loaded = file.load(path, InflateTarget::kMemory);
  line.boolean("loaded", report.loaded);
  if (report.loaded) {
    GameEntry entry;
    file.parseGame(entry);
    addParse(line, file, entry, settings);
    if (settings.minimapSize)
      report.minimapPng = encodePng(drawMinimap(entry, *settings.minimapSize));
    addFacts(line, entry.facts.read(), settings.result);
    addMapAndProfiles(line, entry.facts.read(), file.version().family);
    addObjects(line, entry.facts.read());
    addPlay(line, readGamePlay(file, entry), file.version().family);
  } else {
    line.string("error", describe(file.lastError()));
  }
  const GameVersion version = file.version();
  if (version.family == VersionFamily::kDE && version.supported) {
    line.raw("saveVersion", saveVersionText(version.saveVersion));
  }
  // A file whose header was never read holds no version the table could hold.
  line.boolean("supported", report.loaded && version.supported);
  line.string("version", versionName(version));
  report.line = line.str();
  return report;
}

}  // namespace morvane::inspect
