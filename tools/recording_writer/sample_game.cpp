#include "recording_writer/sample_game.h"

#include <algorithm>

#include "recording_writer/body_builder.h"

namespace morvane::fixtures {
namespace {

// Pads with bytes 0x00..0x1F drawn from a small generator: never a marker
// byte, a label letter or a name letter, so padding cannot be mistaken for data.
void padWithNoise(ByteWriter& out, int64_t offset, uint32_t& state) {
  if (state == 0) {
    out.padTo(offset);
    return;
  }
  while (out.size() < offset) {
    state = state * 1664525u + 1013904223u;
    // Mostly zeros, like the game's own tables, so it compresses about 10:1.
    out.u8((state >> 29) == 0 ? static_cast<uint8_t>((state >> 16) & 0x1F) : 0);
  }
}

const SamplePlayer* firstWithNumber(const SampleGame& game, int32_t number) {
  for (const SamplePlayer& player : game.players) {
    if (player.number == number) return &player;
  }
  return nullptr;
}

}  // namespace

std::vector<uint8_t> terrainPattern(int32_t width, int32_t height) {
  std::vector<uint8_t> tiles;
  const int64_t count = int64_t{width} * height;
  for (int64_t i = 0; i < count; ++i) tiles.push_back(static_cast<uint8_t>((i * 7 + i / 13) % 41));
  return tiles;
}

SampleHeader buildHeader(const SampleGame& game) {
  HeaderBuilder h;
  h.layout = game.layout;
  h.mapId = game.mapId;
  h.mapFile = game.mapFile;
  h.gameId = game.gameId;
  SampleHeader out;
  uint32_t noise = game.noiseSeed;

  if (game.withOptionalBlock) {
    OptionalBlock block;
    block.strings = {"player one", "player two"};
    block.recordUnits = {0, 1, 0, 2, 0, 0, 1, 0};
    h.optionalBlock(block);
  } else {
    h.plainStart();
  }

  const auto playerCount = game.playerCount.value_or(
      static_cast<uint8_t>(std::min<std::size_t>(game.players.size(), 8)));
  MapBlock map;
  map.pov = game.pov;
  map.playerCount = playerCount;
  map.width = game.width;
  map.height = game.height;
  map.terrain = game.terrain.empty() ? terrainPattern(game.width, game.height) : game.terrain;
  map.elevation = game.elevation;
  out.map = h.mapBlock(map);
  if (game.restoredAtMs != 0) {
    h.i32(0);  // no obstruction tables
    h.zeros(4);
    h.i32(game.width);
    h.i32(game.height);
    h.zeros(4 * int64_t{game.width} * game.height);  // visibility
    h.u32(game.restoredAtMs);
  }

  // The civilisation/colour records, in slot order 1, 2, ...
  int32_t highestNumber = 0;
  for (const SamplePlayer& player : game.players) {
    highestNumber = std::max(highestNumber, player.number);
  }
  // The search starts no later than civSearchStart; larger tiles and the
  // restore tables can reach past it.
  padWithNoise(h, std::max(h.size(), out.map.civSearchStart), noise);
  const auto objectsOf = [&](int32_t block) {
    if (static_cast<std::size_t>(block) < game.objects.size())
      h.objectLists(static_cast<uint8_t>(block), game.objects[static_cast<std::size_t>(block)],
                    game.objectListCapacity);
  };
  objectsOf(0);
  for (int32_t number = 1; number <= std::min(highestNumber, 8); ++number) {
    const SamplePlayer* player = firstWithNumber(game, number);
    if (player) {
      h.playerRecord(player->name, player->civ, player->colour, player->camera);
    } else {
      h.playerRecord("", 0, 0);
    }
    objectsOf(number);
  }

  if (game.withMapTypeLine) {
    const auto labelLength = static_cast<int64_t>(game.mapLabel.size());
    const int64_t lineStart = std::max(h.size(), game.mapTypeSpaceAt - labelLength - 1);
    padWithNoise(h, lineStart, noise);
    out.mapTypeSpace = h.mapTypeLine(game.mapLabel, game.mapText, game.mapLineEnd);
  } else {
    padWithNoise(h, std::max(h.size(), kMapTypeLowestSpace + 100), noise);
  }
  padWithNoise(h, h.size() + 64, noise);

  std::vector<ListEntry> entries(1);
  for (const SamplePlayer& player : game.players) {
    ListEntry entry;
    entry.number = player.number;
    entry.name = player.name;
    entry.type = player.type;
    entries.push_back(entry);
  }
  out.listStart = h.playerList(entries);
  out.listEnd = h.doubleMarker();
  out.teamBytesOffset = h.scenarioList(game.scenarioRecords);
  std::array<uint8_t, 8> teams = {1, 1, 1, 1, 1, 1, 1, 1};
  for (std::size_t k = 0; k < game.players.size() && k < 8; ++k) teams[k] = game.players[k].team;
  out.chatScanStart = h.teamBytes(teams);
  if (game.lobbyPopulation) {
    constexpr int64_t kPopulationAfterTeams = 9 + 12;  // past reveal map, ..., map size
    h.setI32(out.teamBytesOffset + kPopulationAfterTeams, *game.lobbyPopulation);
  }
  for (const std::string& message : game.lobbyChat) h.lobbyMessage(message);

  int64_t length = std::max(h.size() + 64, game.minimumHeaderLength);
  if (out.mapTypeSpace != 0) length = std::max(length, out.mapTypeSpace + kMapTypeTailDistance);
  padWithNoise(h, length, noise);
  out.bytes = h.take();
  return out;
}

std::vector<uint8_t> buildBody(const SampleGame& game) {
  BodyBuilder body;
  uint32_t noise = game.noiseSeed;
  if (!game.worldChecksums.empty()) {
    body.start(game.layout.text == baseGameLayout().text);
    constexpr int32_t kStepsBetweenChecksums = 20;
    for (uint32_t checksum : game.worldChecksums) {
      for (int32_t k = 1; k < kStepsBetweenChecksums; ++k) body.timeStep(200);
      body.timeStep(200, true, 0, checksum);
    }
  }
  for (const std::string& message : game.gameChat) {
    padWithNoise(body, body.size() + game.bodyFiller, noise);
    body.chat(message);
  }
  padWithNoise(body, body.size() + game.bodyFiller, noise);
  return body.take();
}

SampleGame twoPlayerGame() {
  SampleGame game;
  game.players = {SamplePlayer{1, "Alice", 3, 0, 2}, SamplePlayer{2, "Bob", 7, 1, 3}};
  game.pov = 2;
  game.lobbyChat = {"@#1Alice: gl hf"};
  game.gameChat = {"@#2Bob: wp"};
  return game;
}

SampleGame eightPlayerGame() {
  SampleGame game;
  for (int32_t n = 1; n <= 8; ++n) {
    game.players.push_back(SamplePlayer{n, "Player" + std::to_string(n), static_cast<uint8_t>(n),
                                        static_cast<uint8_t>(n - 1),
                                        static_cast<uint8_t>(n % 3 + 1)});
  }
  game.withOptionalBlock = true;
  game.width = 40;
  game.height = 30;
  game.mapLabel = std::string(kLabelJapanese);
  game.lobbyChat = {"@#1hi", "@#2--system--", "@#3ready"};
  game.gameChat = {"@#4go", "@#5gg"};
  return game;
}

}  // namespace morvane::fixtures
