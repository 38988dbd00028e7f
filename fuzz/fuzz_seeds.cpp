// Writes the fuzz seed corpus: well-formed games made by the fixture writer,
// both as whole files and as wrapped headers, and, given a folder of real
// recordings, each of them as its inflated header and the start of its body,
// so that mutations reach the fields only real games fill.
// Usage: morvane_fuzz_seeds DIR [RECORDINGS]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/body_builder.h"
#include "recording_writer/definitive_game.h"
#include "recording_writer/recording_writer.h"

namespace {

using namespace morvane::fixtures;

std::vector<SampleGame> seedGames() {
  std::vector<SampleGame> games;
  games.push_back(twoPlayerGame());
  games.push_back(eightPlayerGame());

  SampleGame scenario = twoPlayerGame();
  ScenarioRecord record;
  record.a = 12;
  record.b = 3;
  record.w = 2;
  record.subRecords = {SubRecord{-1, 4, 6}, SubRecord{3, 0, 2}};
  scenario.scenarioRecords = {record};
  scenario.mapLabel = std::string(kLabelKorean);
  games.push_back(scenario);

  SampleGame coop = twoPlayerGame();
  coop.players.push_back(SamplePlayer{1, "Carol", 0, 0, 2});
  coop.players.push_back(SamplePlayer{2, "Dave", 0, 0, 3});
  coop.mapLabel = std::string(kLabelGerman);
  coop.mapLineEnd = "\r\n";
  games.push_back(coop);

  // Known versions: player blocks with counted values, the lobby block.
  SampleGame conquerors = eightPlayerGame();
  conquerors.layout = conquerorsLayout();
  games.push_back(conquerors);
  SampleGame later = twoPlayerGame();
  later.layout = laterEditionLayout(12.5f, 1006, true);
  later.withOptionalBlock = true;
  games.push_back(later);

  // Terrain, slopes and starting views for the minimap: ids the game does
  // not have, a camera at the edge and one that is not a number.
  SampleGame drawn = twoPlayerGame();
  drawn.layout = patch15Layout();
  drawn.width = 24;
  drawn.height = 20;
  for (int32_t i = 0; i < drawn.width * drawn.height; ++i) {
    drawn.terrain.push_back(static_cast<uint8_t>(i % 3 == 0 ? 250 : i % 40));
    drawn.elevation.push_back(static_cast<uint8_t>(i / 7 % 5));
  }
  drawn.players[0].camera = {23.9f, 0};
  drawn.players[1].camera = {std::numeric_limits<float>::quiet_NaN(), 3};
  // The objects at the start (patch 1.5's records are read): Gaia's
  // resources and a cliff, a town centre and a unit for the first player.
  drawn.objects = {
      {StartObject{10, 66, 2.5f, 3.5f}, StartObject{70, 594, 8.5f, 1.5f},
       StartObject{10, 285, 6.5f, 7.5f}, StartObject{10, 264, 1.0f, 14.0f, true}},
      {StartObject{80, 109, 12.5f, 12.5f}, StartObject{70, 83, 11.5f, 10.5f}},
  };
  games.push_back(drawn);
  return games;
}

// Gaia's resources, a boar keeping its place and an animated object; a town
// centre and a villager whose AIs close with more in the later patches.
std::vector<std::vector<DefinitiveObject>> definitiveObjects(float save) {
  std::vector<std::vector<DefinitiveObject>> objects = {
      {DefinitiveObject{10, 66, 2.5f, 3.5f}, DefinitiveObject{70, 48, 1.5f, 6.5f, true},
       DefinitiveObject{10, 285, 6.5f, 7.5f}},
      {DefinitiveObject{80, 109, 6.0f, 2.0f}, DefinitiveObject{70, 83, 5.5f, 2.5f}},
      {DefinitiveObject{80, 109, 1.0f, 1.0f}},
  };
  objects[1][0].aiKind = 15;
  objects[1][1].aiKind = 17;
  if (save < 20.16f || save >= 67.2f) objects[0].push_back(DefinitiveObject{20, 1902, 7.5f, 0.5f});
  return objects;
}

// The Definitive Edition at the patches whose layouts differ most: the first
// release's seven-byte tiles and lobby of profile ids, before and after the
// save version's fixed-point form, the per-player entries, the wider tiles
// and the newest row, each with its objects, chat before the game and
// age-ups (in the research command of either build), and two with an AI
// section.
std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> definitiveSeeds() {
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> seeds;
  DefinitiveGame first = twoPlayerDefinitiveGame(12.97f);
  first.narrowTiles = true;
  first.profileIdsAsNames = true;
  first.objects = definitiveObjects(first.saveVersion);
  seeds.emplace_back(buildDefinitiveHeader(first), buildDefinitiveBody(first));
  for (const float save : {13.17f, 20.16f, 26.21f, 37.0f, 63.0f, 66.3f, 67.2f}) {
    DefinitiveGame game = twoPlayerDefinitiveGame(save);
    game.objects = definitiveObjects(save);
    seeds.emplace_back(buildDefinitiveHeader(game), buildDefinitiveBody(game));
  }
  for (const float save : {26.21f, 67.2f}) {
    DefinitiveGame withAi = twoPlayerDefinitiveGame(save);
    withAi.withAi = true;
    seeds.emplace_back(buildDefinitiveHeader(withAi), buildDefinitiveBody(withAi));
  }
  return seeds;
}

// A body of every command form that says what a player did, a command of
// unknown type and one cut short, behind a header of the form's edition.
std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> playSeeds() {
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> seeds;
  SampleGame conquerors = twoPlayerGame();
  conquerors.layout = conquerorsLayout();
  BodyBuilder earlier;
  earlier.start();
  earlier.playSample(CommandLayout::kEarlier);
  seeds.emplace_back(buildHeader(conquerors).bytes, earlier.take());
  for (const float save : {26.21f, 63.0f}) {
    const DefinitiveGame game = twoPlayerDefinitiveGame(save);
    std::vector<uint8_t> body = buildDefinitiveBody(game);
    BodyBuilder commands;
    commands.playSample(save > 26.21f ? CommandLayout::kRewritten : CommandLayout::kDefinitive);
    const std::vector<uint8_t>& more = commands.bytes();
    body.insert(body.end(), more.begin(), more.end());
    seeds.emplace_back(buildDefinitiveHeader(game), std::move(body));
  }
  return seeds;
}

bool writeSeed(const std::filesystem::path& dir, const std::string& name,
               const std::vector<uint8_t>& bytes) {
  if (writeFile((dir / name).string(), bytes)) return true;
  std::fprintf(stderr, "cannot write %s\n", (dir / name).string().c_str());
  return false;
}

// The wrapped form holds at most this much body (its length is 16 bits).
constexpr std::size_t kMaxWrappedBody = 0xFFFF;

// Each loadable recording of folder, wrapped; the count written.
int writeRealSeeds(const std::filesystem::path& dir, const std::filesystem::path& folder,
                   bool& ok) {
  int written = 0;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!it->is_regular_file() || name.find(".json") != std::string::npos) continue;
    morvane::RecordedGameFile file;
    if (!file.load(it->path().string(), morvane::InflateTarget::kMemory)) continue;
    const morvane::ByteBuffer& header = file.headerBytes();
    const morvane::ByteBuffer& body = file.bodyBytes();
    const std::vector<uint8_t> headerBytes(header.data(), header.data() + file.headerLength());
    const std::vector<uint8_t> bodyStart(
        body.data(), body.data() + std::min<std::size_t>(body.size(), kMaxWrappedBody));
    const bool mgl = name.size() > 4 && name.compare(name.size() - 4, 4, ".mgl") == 0;
    ok = writeSeed(dir, "real-" + name,
                   morvane::fuzzing::encodeWrapped(headerBytes, bodyStart, mgl)) &&
         ok;
    ++written;
  }
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s DIR [RECORDINGS]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir(argv[1]);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  int written = 0;
  bool ok = true;
  const std::vector<SampleGame> games = seedGames();
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> recordings;
  for (const SampleGame& game : games)
    recordings.emplace_back(buildHeader(game).bytes, buildBody(game));
  for (auto& seed : definitiveSeeds()) recordings.push_back(std::move(seed));
  for (auto& seed : playSeeds()) recordings.push_back(std::move(seed));
  for (std::size_t i = 0; i < recordings.size(); ++i) {
    const std::vector<uint8_t>& header = recordings[i].first;
    const std::vector<uint8_t>& body = recordings[i].second;
    for (bool mgl : {false, true}) {
      const std::string suffix = std::to_string(i) + (mgl ? "-mgl" : "-mgx");
      const Layout layout = mgl ? Layout::kMgl : Layout::kMgx;
      const std::vector<uint8_t> file = containerBytes(layout, rawDeflate(header), body);
      ok = writeSeed(dir, "raw-" + suffix, morvane::fuzzing::encodeRaw(file, mgl)) && ok;
      ok =
          writeSeed(dir, "wrapped-" + suffix, morvane::fuzzing::encodeWrapped(header, body, mgl)) &&
          ok;
      written += 2;
    }
  }
  if (argc == 3) written += writeRealSeeds(dir, argv[2], ok);
  std::printf("%d seeds in %s\n", written, dir.string().c_str());
  return ok ? 0 : 1;
}
