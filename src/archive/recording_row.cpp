#include "archive/recording_row.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "archive/game_key.h"
#include "platform/file_access.h"
#include "recording/command_walk.h"
#include "recording/map_names.h"
#include "recording/recorded_game_file.h"

namespace morvane::archive {
namespace {

constexpr std::size_t kHashChunk = 1 << 20;  // a multiple of 32

// A 64-bit digest of the file's bytes in four lanes of multiply-and-rotate,
// fast enough that reading the file again costs more: equal for
// byte-identical files, and files that differ do not meet by chance. Not a
// defence against a file made to collide, which a copy mark does not need.
class ContentDigest {
 public:
  void add(const unsigned char* bytes, std::size_t size) {
    length_ += size;
    // In locals: the bytes may alias the members, which would send every
    // step through memory.
    uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
      mix(a, word(bytes + i));
      mix(b, word(bytes + i + 8));
      mix(c, word(bytes + i + 16));
      mix(d, word(bytes + i + 24));
    }
    for (; i < size; ++i) mix(a, bytes[i]);
    lanes_[0] = a, lanes_[1] = b, lanes_[2] = c, lanes_[3] = d;
  }
  std::string text() const {
    uint64_t all = length_;
    for (uint64_t lane : lanes_) mix(all, lane);
    char out[48];
    std::snprintf(out, sizeof out, "%016llx-%llu", static_cast<unsigned long long>(all),
                  static_cast<unsigned long long>(length_));
    return out;
  }

 private:
  // The machine's own byte order: a digest is compared only with digests
  // made on the same machine, in the same index.
  static uint64_t word(const unsigned char* bytes) {
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }
  static void mix(uint64_t& lane, uint64_t value) {
    lane ^= value;
    lane *= 0x9E3779B97F4A7C15ull;
    lane = (lane << 31) | (lane >> 33);
  }
  uint64_t lanes_[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                        0x082EFA98EC4E6C89ull};
  uint64_t length_ = 0;
};

std::string contentHashOf(const std::string& path) {
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) return {};
  std::vector<unsigned char> chunk(kHashChunk);
  ContentDigest digest;
  for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0;) {
    digest.add(chunk.data(), got);
  }
  std::fclose(file);
  return digest.text();
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
  if (entry.mapName != kMapTypeNotFound) {
    row.mapType = decoder.toUtf8(entry.mapName);
  } else if (!facts.mapScript.empty()) {
    row.mapType = decoder.toUtf8(facts.mapScript);
  }
  row.mapId = facts.mapId;
  if (facts.mapId) row.mapNameById = std::string(builtInMapName(*facts.mapId, facts.version.family));
  row.mapWidth = entry.mapWidth;
  row.mapHeight = entry.mapHeight;
  row.settings = facts.settings;
  row.durationMs = facts.durationMs;
  row.restoredAtMs = facts.restoredAtMs;
  if (facts.playedAt) row.playedMs = *facts.playedAt * 1000;
  row.settled = facts.settled;
  row.winners = facts.winners;
  row.codePage = facts.codePage;
  for (std::size_t k = 1; k < GameEntry::kPositions; ++k) {
    if (!entry.playerNames[k].empty()) row.players.push_back(playerAt(entry, facts, k, decoder));
  }
}

// What needs no names of what each player did; co-op partners share it.
void fillPlay(const GamePlay& play, RecordingRow& row) {
  for (PlayerRow& player : row.players) {
    const auto found = play.players.find(player.number);
    if (found == play.players.end()) continue;
    const PlayerPlay& own = found->second;
    player.actionsPerMinute = actionsPerMinute(own, play.durationMs);
    player.buildings = static_cast<int32_t>(own.buildings.size());
    for (const TrainOrder& unit : own.units) player.units += std::max(unit.count, 0);
    std::set<int32_t> techs;
    for (const ResearchOrder& order : own.research) techs.insert(order.techId);
    player.technologies = static_cast<int32_t>(techs.size());
  }
}

}  // namespace

const char* certaintyName(KeyCertainty certainty) {
  switch (certainty) {
    case KeyCertainty::kGameId:
      return "game-id";
    case KeyCertainty::kSync:
      return "sync";
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
  fillPlay(readGamePlay(file, entry), row);
  return row;
}

}  // namespace morvane::archive
