#include "fuzz_recording.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "minimap/minimap.h"
#include "recording/command_walk.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"

namespace morvane::fuzzing {
namespace {

const fixtures::TempFolder& folder() {
  static const fixtures::TempFolder instance;
  return instance;
}

// The picture of whatever the parse gave, at a size the input picks (the
// drawing brings one below its least up to it); the sanitizers watch every
// write into it.
const char* checkMinimap(const GameEntry& entry, int32_t size) {
  const Picture picture = drawMinimap(entry, size);
  const int32_t width = std::max(size, kMinimapMinSize);
  if (picture.width != width || picture.height != width / 2 ||
      picture.rgba.size() != static_cast<std::size_t>(width) * (width / 2) * 4)
    return "the picture has the size asked for";
  for (std::size_t alpha = 3; alpha < picture.rgba.size(); alpha += 4) {
    if (picture.rgba[alpha] != 0 && picture.rgba[alpha] != 255)
      return "each pixel is drawn or left clear";
  }
  return nullptr;
}

// Each player's actions are the sum of its minutes, and its orders come in
// the order of game time.
const char* checkPlay(const GamePlay& play) {
  if (play.durationMs < 0) return "the walked time is never negative";
  for (const auto& [number, p] : play.players) {
    int64_t sum = 0;
    for (const int32_t n : p.actionsByMinute) sum += n;
    if (sum != p.actions) return "the minutes hold every action";
    const auto ordered = [](const auto& orders) {
      return std::is_sorted(orders.begin(), orders.end(),
                            [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
    };
    if (!ordered(p.research) || !ordered(p.buildings) || !ordered(p.units))
      return "orders by game time";
  }
  return nullptr;
}

}  // namespace

const char* checkRecording(const uint8_t* data, std::size_t size) {
  if (!folder().ok()) return "a temporary folder";
  const DecodedInput input = decodeInput(data, size);
  const std::string path = folder().file(input.mgl ? "game.mgl" : "game.mgx");
  if (!fixtures::writeFile(path, input.file)) return nullptr;

  RecordedGameFile file;
  const bool loaded = file.load(path);
  if (std::filesystem::exists(path + ".tmp1")) return "the temporary file is removed";
  if (loaded != (file.lastError() == LoadError::kNone)) return "a reason for every false load";
  if (!loaded) return nullptr;
  if (file.headerLength() != static_cast<int32_t>(file.headerBytes().size()))
    return "headerLength matches the header";
  if (file.bodyLength() != static_cast<int32_t>(file.bodyBytes().size()))
    return "bodyLength matches the body";

  GameEntry entry;
  file.parseGame(entry);
  if (file.headerLength() > 0 && entry.mapName.empty()) return "a parsed game has a map name";
  const GameFacts& facts = entry.facts.read();
  if (facts.durationMs < facts.restoredAtMs) return "time steps are never negative";
  for (std::size_t i = 1; i < facts.resignations.size(); ++i)
    if (facts.resignations[i].timeMs < facts.resignations[i - 1].timeMs)
      return "resignations by time";
  for (const PlayerSlot& slot : entry.slots)
    if (slot.name[255] != '\0') return "slot names end";
  for (const std::string& name : entry.playerNames)
    if (name.size() > 255) return "names fit";
  for (const PlayerSlot& slot : entry.slots) {
    // Written as tests that NaN fails.
    if (slot.start && !(slot.start->x >= 0 && slot.start->x < static_cast<float>(entry.mapWidth) &&
                        slot.start->y >= 0 && slot.start->y < static_cast<float>(entry.mapHeight)))
      return "starting views lie inside the map";
  }
  if (const char* fault = checkPlay(readGamePlay(file, entry))) return fault;
  return checkMinimap(entry, static_cast<int32_t>(size % 300));
}

}  // namespace morvane::fuzzing
