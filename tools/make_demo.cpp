// morvane-make-demo FOLDER: writes a demo SaveGame folder of recordings made
// by the project's own fixture writer, always the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "demo_maps.h"
#include "recording_writer/recording_writer.h"

namespace {

using morvane::demo::DemoMap;
using morvane::fixtures::SampleGame;
using morvane::fixtures::SamplePlayer;

// Shift_JIS bytes.
const std::string kTaro = "\x91\xBE\x98\x59";                            // 太郎
const std::string kPlayer = "\x83\x76\x83\x8C\x83\x43\x83\x84\x81\x5B";  // プレイヤー
const std::string kHanako = "\x89\xD4\x8E\x71";                          // 花子
const std::string kGoodGame = "\x82\xE6\x82\xEB\x82\xB5\x82\xAD";        // よろしく

// The map's tiles, and each player's start in list order, in The Conquerors'
// layout: a header of no known version holds no starting views.
void place(const DemoMap& map, SampleGame& game) {
  game.layout = morvane::fixtures::conquerorsLayout();
  game.width = map.width;
  game.height = map.height;
  game.terrain = map.terrain;
  game.elevation = map.elevation;
  for (std::size_t k = 0; k < game.players.size() && k < map.starts.size(); ++k)
    game.players[k].camera = map.starts[k];
}

SampleGame oneVersusOne() {
  SampleGame game;
  game.players = {SamplePlayer{1, kTaro, 5, 0, 1}, SamplePlayer{2, "Alice", 1, 1, 1}};
  game.pov = 1;
  game.mapLabel = std::string(morvane::fixtures::kLabelJapanese);
  game.mapText = "\x83\x41\x83\x89\x83\x72\x83\x41";  // アラビア
  game.lobbyChat = {"@#1" + kTaro + ": " + kGoodGame, "@#2Alice: gl hf"};
  game.lobbyPopulation = 200;
  place(morvane::demo::openLand(120, 2), game);
  return game;
}

SampleGame teamGame() {
  SampleGame game;
  game.players = {SamplePlayer{1, "Viktor", 11, 0, 2}, SamplePlayer{2, kPlayer, 18, 1, 3},
                  SamplePlayer{3, "Mia", 2, 2, 2}, SamplePlayer{4, kHanako, 6, 3, 3}};
  game.pov = 2;
  place(morvane::demo::forest(120, 4), game);
  // Played on a Japanese game, as its players' Shift-JIS names say: the
  // label is what tells a reader the names' code page.
  game.mapLabel = std::string(morvane::fixtures::kLabelJapanese);
  game.mapText = "\x8D\x95\x82\xA2\x90\x58";  // 黒い森
  game.lobbyChat = {"@#1Viktor: 2v2, no rush"};
  game.gameChat = {"@#3Mia: walls up", "@#2" + kPlayer + ": OK"};
  return game;
}

SampleGame eightPlayers() {
  SampleGame game;
  const char* const names[] = {"Ann", "Ben", "Cat", "Dan", "Eve", "Fox", "Gus", "Hal"};
  for (int k = 0; k < 8; ++k)
    game.players.push_back(SamplePlayer{k + 1, names[k], static_cast<uint8_t>(k * 2 + 1),
                                        static_cast<uint8_t>(k), static_cast<uint8_t>(2 + k % 2)});
  game.pov = 5;
  place(morvane::demo::islands(200, 8), game);
  game.mapText = "Islands";
  game.gameChat = {"@#5Eve: 4v4 on islands!"};
  return game;
}

// The 1v1 as it was played: Taro goes for archers, Alice for scouts and
// knights, both age up, chat, and Alice resigns at 32:10, so that the report
// has a length, a result, age-up times, actions per minute and build orders
// to show. Ids are The Conquerors' (the names table's).
std::vector<uint8_t> oneVersusOneBody(const SampleGame& game) {
  using morvane::fixtures::BodyBuilder;
  using morvane::fixtures::CommandLayout;
  constexpr CommandLayout kLayout = CommandLayout::kEarlier;
  constexpr int32_t kSecond = 1000, kMinute = 60 * kSecond;
  constexpr int32_t kEnd = 32 * kMinute + 10 * kSecond;
  // Research.
  constexpr int16_t kLoom = 22, kWheelbarrow = 213, kHorseCollar = 14, kFletching = 199,
                    kDoubleBitAxe = 202, kBodkin = 200, kCrossbow = 100, kBallistics = 93,
                    kBloodlines = 435, kFeudal = 101, kCastle = 102;
  // Buildings.
  constexpr int32_t kHouse = 70, kMill = 68, kBarracks = 12, kRange = 87, kStable = 101,
                    kBlacksmith = 103, kFarm = 50, kMarket = 84, kTownCentre = 109,
                    kUniversity = 209, kLumberCamp = 562, kMiningCamp = 584;
  // Units.
  constexpr int16_t kVillager = 83, kArcher = 4, kScout = 448, kKnight = 38;
  // The objects each player queues at: its town centre, then its own.
  constexpr uint32_t kTaroCentre = 101, kTaroRange = 150, kAliceCentre = 201, kAliceStable = 250;

  struct Event {
    int32_t ms;
    std::function<void(BodyBuilder&)> write;
  };
  std::vector<Event> events;
  const auto at = [&](int32_t minutes, int32_t seconds, std::function<void(BodyBuilder&)> write) {
    events.push_back({minutes * kMinute + seconds * kSecond, std::move(write)});
  };
  const auto research = [](uint8_t player, int16_t technology) {
    return [=](BodyBuilder& b) { b.research(player, technology); };
  };
  // Each building a few tiles further round the player's start.
  int32_t placed = 0;
  const auto build = [&](uint8_t player, int32_t building) {
    const morvane::fixtures::Camera start = game.players[player - 1u].camera;
    const double turn = placed * 2.4;
    const double reach = 5 + placed++ % 4 * 2;
    const auto x = static_cast<float>(start.x + reach * std::cos(turn));
    const auto y = static_cast<float>(start.y + reach * std::sin(turn));
    return [=](BodyBuilder& b) { b.build(kLayout, player, building, x, y, {1000u + player}); };
  };
  // Selecting the building makes it known as the player's, then the queue.
  const auto train = [](uint8_t player, uint32_t building, int16_t unit, int16_t count) {
    return [=](BodyBuilder& b) {
      b.order(kLayout, 0x00, player, {building});
      b.queue(building, unit, count);
    };
  };
  // The pace of each: Taro's steady and quick, Alice's slower and falling
  // off once she is behind.
  for (int32_t minute = 0; minute * kMinute < kEnd; ++minute) {
    const double wave = std::sin(minute * 0.9);
    const auto taro = static_cast<int32_t>(22 + std::min(minute, 14) * 2.2 + 5 * wave);
    const auto alice = static_cast<int32_t>(18 + std::min(minute, 16) * 1.6 - 4 * wave -
                                            std::max(minute - 24, 0) * 2.5);
    for (const auto& [player, count] : {std::pair<uint8_t, int32_t>{1, taro}, {2, alice}}) {
      for (int32_t k = 0; k < count; ++k) {
        const int32_t ms = minute * kMinute + (k * kMinute + player * 700) / count;
        if (ms >= kEnd) break;
        events.push_back(
            {ms, [player = player](BodyBuilder& b) { b.order(kLayout, 0x03, player, {}); }});
      }
    }
    // The villagers, as long as the economy grows.
    if (minute < 20) {
      at(minute, 5, train(1, kTaroCentre, kVillager, 2));
      at(minute, 12, train(2, kAliceCentre, kVillager, 2));
    }
  }
  at(0, 25, build(1, kHouse));
  at(0, 50, build(1, kHouse));
  at(1, 30, build(1, kLumberCamp));
  at(2, 10, build(1, kMill));
  at(3, 40, research(1, kLoom));
  at(4, 30, build(1, kHouse));
  at(6, 0, build(1, kBarracks));
  at(7, 20, build(1, kFarm));
  at(7, 25, build(1, kFarm));
  at(7, 30, build(1, kFarm));
  at(9, 0, research(1, kFeudal));
  at(10, 40, build(1, kRange));
  at(11, 0, build(1, kRange));
  at(11, 30, train(1, kTaroRange, kArcher, 5));
  at(12, 10, research(1, kFletching));
  at(12, 40, research(1, kDoubleBitAxe));
  at(13, 30, research(1, kHorseCollar));
  at(14, 0, train(1, kTaroRange, kArcher, 5));
  at(15, 10, build(1, kBlacksmith));
  at(17, 0, research(1, kCastle));
  at(19, 30, build(1, kTownCentre));
  at(20, 10, research(1, kCrossbow));
  at(21, 0, research(1, kBodkin));
  at(22, 0, build(1, kUniversity));
  at(24, 0, research(1, kBallistics));

  at(0, 30, build(2, kHouse));
  at(1, 0, build(2, kHouse));
  at(1, 20, build(2, kLumberCamp));
  at(1, 50, build(2, kMill));
  at(3, 30, build(2, kHouse));
  at(4, 10, research(2, kLoom));
  at(5, 20, build(2, kBarracks));
  at(7, 0, build(2, kFarm));
  at(7, 10, build(2, kFarm));
  at(8, 40, research(2, kWheelbarrow));
  at(10, 0, research(2, kFeudal));
  at(11, 20, build(2, kStable));
  at(12, 0, train(2, kAliceStable, kScout, 3));
  at(13, 10, build(2, kBlacksmith));
  at(14, 20, research(2, kHorseCollar));
  at(15, 0, build(2, kMarket));
  at(16, 30, build(2, kMiningCamp));
  at(19, 0, research(2, kCastle));
  at(20, 40, build(2, kStable));
  at(21, 30, train(2, kAliceStable, kKnight, 5));
  at(22, 40, research(2, kBloodlines));
  at(23, 0, build(2, kTownCentre));
  at(10, 0, [](BodyBuilder& b) { b.chat("@#2Alice: nice rush"); });
  at(32, 10, [](BodyBuilder& b) {
    b.chat("@#1" + kTaro + ": gg");
    b.resign(2, 2);
  });
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.ms < b.ms; });

  BodyBuilder body;
  body.start();
  int32_t now = 0;
  for (const Event& event : events) {
    if (event.ms > now) body.timeStep(event.ms - now);
    now = std::max(now, event.ms);
    event.write(body);
  }
  body.timeStep(500);
  return body.take();
}

bool write(const std::filesystem::path& path, const SampleGame& game,
           const std::vector<uint8_t>* body = nullptr) {
  const bool ok = body != nullptr
                      ? morvane::fixtures::writeRecording(
                            path.string(), morvane::fixtures::buildHeader(game).bytes, *body)
                      : morvane::fixtures::writeSampleGame(path.string(), game);
  if (!ok) std::fprintf(stderr, "morvane-make-demo: cannot write %s\n", path.string().c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvane-make-demo FOLDER\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder / "Old games", error);
  if (error) {
    std::fprintf(stderr, "morvane-make-demo: cannot create %s\n", folder.string().c_str());
    return 1;
  }
  SampleGame quiet = morvane::fixtures::twoPlayerGame();
  quiet.mapText = "Arabia";
  const SampleGame oneVersusOneGame = oneVersusOne();
  const std::vector<uint8_t> played = oneVersusOneBody(oneVersusOneGame);
  bool ok = write(folder / "rec_taro_vs_alice.mgx", oneVersusOneGame, &played) &&
            write(folder / "rec_2v2_black_forest.mgx", teamGame()) &&
            write(folder / "rec_4v4_islands.mgx", eightPlayers()) &&
            write(folder / "Old games" / "rec_first.mgx", quiet);
  // Files the listing leaves out.
  ok = ok && write(folder / "old_format.mgl", quiet);
  std::FILE* notes = std::fopen((folder / "notes.txt").string().c_str(), "wb");
  if (notes != nullptr) {
    std::fputs("Demo folder written by morvane-make-demo.\n", notes);
    std::fclose(notes);
  }
  return ok ? 0 : 1;
}
