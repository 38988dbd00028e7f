#include "archive/recording_row.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "archive/game_key.h"
#include "platform/file_access.h"
#include "recording/map_names.h"
#include "recording/recorded_game_file.h"

namespace morvane::archive {
namespace {

constexpr std::size_t kHashChunk = 1 << 20;

// Two zlib checksums and the length: equal for byte-identical files, and two
// files that differ do not meet by chance in an archive of any size.
std::string contentHashOf(const std::string& path) {
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) return {};
  std::vector<unsigned char> chunk(kHashChunk);
  uLong crc = crc32(0L, Z_NULL, 0);
  uLong adler = adler32(0L, Z_NULL, 0);
  unsigned long long length = 0;
  for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0;) {
    crc = crc32(crc, chunk.data(), static_cast<uInt>(got));
    adler = adler32(adler, chunk.data(), static_cast<uInt>(got));
    length += got;
  }
  std::fclose(file);
  char text[48];
  std::snprintf(text, sizeof text, "%08lx%08lx-%llu", static_cast<unsigned long>(crc),
                static_cast<unsigned long>(adler), length);
  return text;
}

PlayerOutcome outcomeOf(const GameFacts& facts, int32_t number) {
  if (facts.settled &&
      std::find(facts.winners.begin(), facts.winners.end(), number) != facts.winners.end())
    return PlayerOutcome::kWon;
  for (const Resignation& resignation : facts.resignations) {
    if (resignation.player == number) return PlayerOutcome::kResigned;
  }
  return facts.settled ? PlayerOutcome::kLost : PlayerOutcome::kUnknown;
}

template <typename Value>
const Value* find(const std::map<int32_t, Value>& byPlayer, int32_t number) {
  const auto found = byPlayer.find(number);
  return found == byPlayer.end() ? nullptr : &found->second;
}

PlayerRow playerAt(const GameEntry& entry, const GameFacts& facts, std::size_t position,
                   const platform::TextDecoder& decoder) {
  PlayerRow player;
  player.position = static_cast<int32_t>(position);
  player.number = entry.playerNumbers[position];
  player.name = decoder.toUtf8(entry.playerNames[position]);
  player.team = decoder.toUtf8(entry.teamLabels[position]);
  const int32_t number = player.number;
  if (number < 0 || number >= GameEntry::kPositions) return player;
  const PlayerSlot& slot = entry.slots[static_cast<std::size_t>(number)];
  player.civId = slot.civId;
  player.colourId = slot.colourId;
  player.outcome = outcomeOf(facts, number);
  for (const Resignation& resignation : facts.resignations) {
    if (resignation.player == number) {
      player.resignedMs = resignation.timeMs;
      break;
    }
  }
  if (const AgeTimes* times = find(facts.ageUps, number)) player.research = *times;
  if (const AgeTimes* times = find(facts.ageReached, number)) player.reached = *times;
  if (const int32_t* profile = find(facts.profileIds, number)) {
    player.profileId = *profile;
  } else if (const HdProfile* hd = find(facts.hdProfiles, number)) {
    if (hd->steamId != 0) player.profileId = static_cast<int64_t>(hd->steamId);
  }
  if (const HdProfile* hd = find(facts.hdProfiles, number)) player.rating = hd->rmRating;
  return player;
}

void fillGame(const GameEntry& entry, RecordingRow& row, const platform::TextDecoder& decoder) {
  const GameFacts& facts = entry.facts.read();
  const GameKey key = gameKeyOf(entry, row.contentHash);
  row.gameKey = key.text;
  row.certainty = key.certainty;
  if (entry.hasPov()) {
    const int32_t number = entry.playerNumbers[static_cast<std::size_t>(entry.povIndex)];
    row.povNumber = number;
  }
  row.playerCount = entry.playerCount;
  if (entry.mapName != kMapTypeNotFound) row.mapType = decoder.toUtf8(entry.mapName);
  row.mapId = facts.mapId;
  if (facts.mapId) row.mapNameById = std::string(builtInMapName(*facts.mapId, facts.version.family));
  row.mapWidth = entry.mapWidth;
  row.mapHeight = entry.mapHeight;
  row.settings = facts.settings;
  row.durationMs = facts.durationMs;
  row.restoredAtMs = facts.restoredAtMs;
  row.settled = facts.settled;
  row.winners = facts.winners;
  row.codePage = facts.codePage;
  for (std::size_t k = 1; k < GameEntry::kPositions; ++k) {
    if (!entry.playerNames[k].empty()) row.players.push_back(playerAt(entry, facts, k, decoder));
  }
}

}  // namespace

const char* certaintyName(KeyCertainty certainty) {
  switch (certainty) {
    case KeyCertainty::kMap:
      return "map";
    case KeyCertainty::kFixedMap:
      return "fixed-map";
    case KeyCertainty::kFile:
      break;
  }
  return "file";
}

const char* outcomeName(PlayerOutcome outcome) {
  switch (outcome) {
    case PlayerOutcome::kWon:
      return "won";
    case PlayerOutcome::kLost:
      return "lost";
    case PlayerOutcome::kResigned:
      return "resigned";
    case PlayerOutcome::kUnknown:
      break;
  }
  return "";
}

const platform::TextDecoder* Decoders::forRecording(int32_t found) {
  const int codePage = found != 0 && platform::codePageKnown(found) ? found : fallback_;
  std::unique_ptr<platform::TextDecoder>& decoder = decoders_[codePage];
  if (!decoder) decoder = platform::makeTextDecoder(codePage);
  return decoder.get();
}

RecordingRow readRecordingRow(const std::string& path, int64_t size, int64_t modifiedMs,
                              Decoders& decoders) {
  RecordingRow row;
  row.path = path;
  row.size = size;
  row.modifiedMs = modifiedMs;
  row.contentHash = contentHashOf(path);
  RecordedGameFile file;
  row.loaded = file.load(path, InflateTarget::kMemory);
  const GameVersion version = file.version();
  row.edition = versionName(version);
  row.versionText = version.text;
  row.saveVersion = version.saveVersion;
  row.supported = row.loaded && version.supported;
  if (!row.loaded) {
    row.error = describe(file.lastError());
    return row;
  }
  GameEntry entry;
  file.parseGame(entry);
  const platform::TextDecoder* decoder = decoders.forRecording(entry.facts.read().codePage);
  if (decoder == nullptr) {
    row.loaded = false;
    row.error = "no converter for the code page of its names";
    return row;
  }
  fillGame(entry, row, *decoder);
  return row;
}

}  // namespace morvane::archive
