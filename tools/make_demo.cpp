// morvane-make-demo FOLDER: writes a demo SaveGame folder of recordings made
// by the project's own fixture writer, always the same bytes.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
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

// The 1v1 as it was played: both age up, chat, and Alice resigns at 32:10,
// so the report has a length, a result and age-up times to show.
std::vector<uint8_t> oneVersusOneBody() {
  constexpr int16_t kFeudal = 101, kCastle = 102;
  constexpr int32_t kMinute = 60 * 1000;
  morvane::fixtures::BodyBuilder body;
  body.start();
  const auto minutes = [&](int count) {
    for (int m = 0; m < count; ++m) body.timeStep(kMinute);
  };
  minutes(9);
  body.research(1, kFeudal);
  minutes(1);
  body.research(2, kFeudal);
  body.chat("@#2Alice: nice rush");
  minutes(7);
  body.research(1, kCastle);
  minutes(2);
  body.research(2, kCastle);
  minutes(13);
  body.timeStep(10 * 1000);
  body.chat("@#1" + kTaro + ": gg");
  body.resign(2, 2);
  body.timeStep(500);
  return body.take();
}

bool write(const std::filesystem::path& path, const SampleGame& game,
           const std::vector<uint8_t>* body = nullptr) {
  const bool ok = body != nullptr ? morvane::fixtures::writeRecording(
                                        path.string(), morvane::fixtures::buildHeader(game).bytes,
                                        *body)
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
  const std::vector<uint8_t> played = oneVersusOneBody();
  bool ok = write(folder / "rec_taro_vs_alice.mgx", oneVersusOne(), &played) &&
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
