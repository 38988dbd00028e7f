#include "archive/game_key.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "recording/game_version.h"

namespace morvane::archive {
namespace {

constexpr char kScenario[] = "scenario";
constexpr int32_t kScenarioGameType = 3;

// 64-bit FNV-1a: the key material is small, its parts are already digests.
class KeyHash {
 public:
  void add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      value_ ^= bytes[i];
      value_ *= 1099511628211ull;
    }
  }
  void add(int64_t number) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(number >> (8 * i));
    add(bytes, sizeof bytes);
  }
  void add(const std::string& text) {
    add(static_cast<int64_t>(text.size()));
    add(text.data(), text.size());
  }
  std::string hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
    return text;
  }

 private:
  uint64_t value_ = 14695981039346656037ull;
};

int64_t digest(const uint8_t* bytes, std::size_t size) {
  const auto length = static_cast<uInt>(size);
  const uLong crc = crc32(0L, bytes, length);
  const uLong adler = adler32(1L, bytes, length);
  return static_cast<int64_t>((static_cast<uint64_t>(crc) << 32) | (adler & 0xFFFFFFFFu));
}

bool mapRead(const GameEntry& entry) {
  return entry.mapTiles.allocated() && entry.mapWidth > 0 && entry.mapHeight > 0 &&
         int64_t{entry.mapWidth} * entry.mapHeight <= static_cast<int64_t>(TerrainTiles::kSize);
}

bool fixedMap(const GameEntry& entry) {
  if (entry.mapName == kScenario) return true;
  const auto& type = entry.facts.read().settings.gameType;
  return type && *type == kScenarioGameType;
}

bool allZero(const GameGuid& id) {
  for (uint8_t byte : id) {
    if (byte != 0) return false;
  }
  return true;
}

// The players in lobby order, each with its number, civilisation and colour:
// what every recording of one game states alike.
void addPlayers(const GameEntry& entry, KeyHash& hash) {
  const GameFacts& facts = entry.facts.read();
  for (std::size_t k = 1; k < GameEntry::kPositions; ++k) {
    const std::string& name = entry.playerNames[k];
    if (name.empty()) continue;
    const int32_t number = entry.playerNumbers[k];
    hash.add(static_cast<int64_t>(k));
    hash.add(number);
    hash.add(name);
    if (number >= 0 && number < GameEntry::kPositions) {
      const PlayerSlot& slot = entry.slots[static_cast<std::size_t>(number)];
      hash.add(slot.civId);
      hash.add(slot.colourId);
    }
    const auto profile = facts.profileIds.find(number);
    if (profile != facts.profileIds.end()) hash.add(profile->second);
  }
}

}  // namespace

GameKey gameKeyOf(const GameEntry& entry, const std::string& contentHash) {
  const GameFacts& facts = entry.facts.read();
  const VersionFamily family = facts.version.family;
  if (facts.gameGuid && !allZero(*facts.gameGuid)) {
    KeyHash hash;
    hash.add(static_cast<int64_t>(family));
    hash.add(facts.gameGuid->data(), facts.gameGuid->size());
    addPlayers(entry, hash);
    return {"g:" + hash.hex(), KeyCertainty::kGameId};
  }
  // The Definitive Edition's checksum blocks hold no world checksum there;
  // a block whose checksum is 0 was written without one.
  std::vector<uint32_t> checksums;
  if (family != VersionFamily::kDE) {
    for (uint32_t checksum : facts.syncChecksums) {
      if (checksum != 0 && checksums.size() < kKeyedSyncChecksums) checksums.push_back(checksum);
    }
  }
  if (checksums.size() == kKeyedSyncChecksums) {
    KeyHash hash;
    hash.add(static_cast<int64_t>(family));
    hash.add(saveVersionText(facts.version.saveVersion));
    for (uint32_t checksum : checksums) hash.add(checksum);
    addPlayers(entry, hash);
    return {"s:" + hash.hex(), KeyCertainty::kSync};
  }
  if (!mapRead(entry)) return {"f:" + contentHash, KeyCertainty::kFile};
  KeyHash hash;
  // The edition and version: recordings of one game were written by one.
  hash.add(static_cast<int64_t>(family));
  hash.add(saveVersionText(facts.version.saveVersion));
  // The whole map as generated at the start: terrain and elevation of every tile.
  hash.add(entry.mapWidth);
  hash.add(entry.mapHeight);
  hash.add(digest(entry.mapTiles.terrainIdData(), TerrainTiles::kSize));
  hash.add(digest(entry.mapTiles.elevationData(), TerrainTiles::kSize));
  addPlayers(entry, hash);
  const KeyCertainty certainty = fixedMap(entry) ? KeyCertainty::kFixedMap : KeyCertainty::kMap;
  return {"m:" + hash.hex(), certainty};
}

}  // namespace morvane::archive
