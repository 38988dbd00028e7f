// morvane-make-demo FOLDER: writes a demo SaveGame folder of recordings made
// by the project's own fixture writer, always the same bytes.
#include <cstdio>
#include <filesystem>
#include <string>

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
  game.gameChat = {"@#2Alice: nice rush", "@#1" + kTaro + ": gg"};
  place(morvane::demo::openLand(120, 2), game);
  return game;
}

SampleGame teamGame() {
  SampleGame game;
  game.players = {SamplePlayer{1, "Viktor", 11, 0, 2}, SamplePlayer{2, kPlayer, 18, 1, 3},
                  SamplePlayer{3, "Mia", 2, 2, 2}, SamplePlayer{4, kHanako, 6, 3, 3}};
  game.pov = 2;
  place(morvane::demo::forest(120, 4), game);
  game.mapText = "Black Forest";
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

bool write(const std::filesystem::path& path, const SampleGame& game) {
  const bool ok = morvane::fixtures::writeSampleGame(path.string(), game);
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
  bool ok = write(folder / "rec_taro_vs_alice.mgx", oneVersusOne()) &&
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
