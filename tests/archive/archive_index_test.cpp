// The archive index over generated trees and the shared real recordings:
// what an update reads, keeps and drops, which recordings make one game,
// what a search finds, and an index that survives a killed run.
#include "archive/archive_index.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "archive/search_lines.h"
#include "archive/text_fold.h"
#include "platform/text_decoder.h"
#include "recording/map_names.h"
#include "recording_writer/recording_writer.h"
#include "support/shared_recordings.h"
#include "support/tiny_json.h"

namespace morvane::archive {
namespace {

namespace fs = std::filesystem;
using fixtures::SampleGame;
using fixtures::SamplePlayer;
using fixtures::TempFolder;

SampleGame gameBetween(const std::string& a, const std::string& b, uint8_t pov) {
  SampleGame game = fixtures::twoPlayerGame();
  game.players[0].name = a;
  game.players[1].name = b;
  game.pov = pov;
  // Each player's recording holds the chat that player saw.
  game.gameChat = {pov == 1 ? "@#1Alice: gg" : "@#2Bob: wp"};
  return game;
}

std::set<std::string> fileNamesOf(const SearchResult& result) {
  std::set<std::string> names;
  for (const GameHit& game : result.games) {
    for (const HitRecording& recording : game.recordings)
      names.insert(fs::path(recording.path).filename().string());
  }
  return names;
}

void setModified(const std::string& path, int64_t unixSeconds) {
  const utimbuf times{static_cast<time_t>(unixSeconds), static_cast<time_t>(unixSeconds)};
  ASSERT_EQ(utime(path.c_str(), &times), 0);
}

UpdateRequest requestFor(const std::string& folder, unsigned jobs = 2) {
  UpdateRequest request;
  request.folders = {folder};
  request.recursive = true;
  request.jobs = jobs;
  return request;
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    tree = folder.file("SaveGame");
    fs::create_directories(tree + "/2024-05");
    index = folder.file("index.sqlite");
  }
  std::string write(const std::string& name, const SampleGame& game) {
    const std::string path = tree + "/" + name;
    EXPECT_TRUE(fixtures::writeSampleGame(path, game));
    return path;
  }
  TempFolder folder;
  std::string tree;
  std::string index;
};

TEST_F(ArchiveTest, PointsOfViewShareAGameAndCopiesAreMarked) {
  write("alice.mgx", gameBetween("Alice", "Bob", 1));
  write("bob.mgx", gameBetween("Alice", "Bob", 2));
  fs::copy_file(tree + "/bob.mgx", tree + "/2024-05/bob copy.mgx");
  write("2024-05/other.mgx", gameBetween("Alice", "Carol", 1));
  Archive archive(index);
  const UpdateStats stats = archive.update(requestFor(tree));
  EXPECT_EQ(stats.read, 4u);
  const ArchiveCounts counts = archive.counts();
  EXPECT_EQ(counts.recordings, 4);
  EXPECT_EQ(counts.games, 2);
  EXPECT_EQ(counts.copies, 1);

  SearchQuery query;
  query.playerName = "bob";
  const SearchResult result = archive.search(query);
  ASSERT_EQ(result.games.size(), 1u);
  const GameHit& game = result.games[0];
  EXPECT_EQ(game.certainty, KeyCertainty::kMap);
  ASSERT_EQ(game.recordings.size(), 3u);
  int copies = 0;
  std::set<int32_t> views;
  for (const HitRecording& recording : game.recordings) {
    copies += recording.copy;
    views.insert(recording.povNumber);
  }
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(views, (std::set<int32_t>{1, 2}));
  ASSERT_EQ(game.players.size(), 2u);
  EXPECT_EQ(game.players[1].name, "Bob");
  EXPECT_EQ(game.players[1].civId, 7);
}

TEST_F(ArchiveTest, UpdateReadsOnlyWhatChangedAndDropsWhatIsGone) {
  const std::string alice = write("alice.mgx", gameBetween("Alice", "Bob", 1));
  const std::string bob = write("2024-05/bob.mgx", gameBetween("Alice", "Bob", 2));
  write("2024-05/other.mgx", gameBetween("Alice", "Carol", 1));
  Archive archive(index);
  EXPECT_EQ(archive.update(requestFor(tree)).read, 3u);

  UpdateStats again = archive.update(requestFor(tree));
  EXPECT_EQ(again.read, 0u);
  EXPECT_EQ(again.unchanged, 3u);

  // Rows an older reader wrote are read again by this one.
  {
    Archive older(index);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(index.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "UPDATE meta SET value = '0' WHERE key = 'reader'", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  EXPECT_EQ(Archive(index).update(requestFor(tree)).read, 3u);

  // The same bytes with another time, and a file gone.
  setModified(alice, 1700000000);
  fs::remove(bob);
  again = archive.update(requestFor(tree));
  EXPECT_EQ(again.read, 1u);
  EXPECT_EQ(again.removed, 1u);
  const ArchiveCounts counts = archive.counts();
  EXPECT_EQ(counts.recordings, 2);
  EXPECT_EQ(counts.games, 2);

  // A folder updated on its own leaves the rest of the index alone.
  UpdateRequest sub = requestFor(tree + "/2024-05");
  EXPECT_EQ(archive.update(sub).removed, 0u);
  EXPECT_EQ(archive.counts().recordings, 2);

  SearchQuery query;
  query.playerName = "ALI";
  query.fromMs = int64_t{1700000000} * 1000;
  query.toMs = int64_t{1700000001} * 1000;
  const SearchResult result = archive.search(query);
  EXPECT_EQ(fileNamesOf(result), (std::set<std::string>{"alice.mgx"}));
}

TEST_F(ArchiveTest, SearchCombinesThePlayersCriteriaOnOnePlayer) {
  SampleGame japanese = gameBetween("Alice", "Bob", 1);
  japanese.players[1].name = "\x82\xA0\x82\xA2\x82\xA4";  // "あいう" in code page 932
  japanese.mapLabel = std::string(fixtures::kLabelJapanese);
  japanese.mapText = "\x83\x41\x83\x89\x83\x72\x83\x41";  // "アラビア"
  write("ja.mgx", japanese);
  write("en.mgx", gameBetween("Alice", "Bob", 2));
  Archive archive(index);
  archive.update(requestFor(tree));

  SearchQuery query;
  query.playerName = "いう";
  EXPECT_EQ(fileNamesOf(archive.search(query)), (std::set<std::string>{"ja.mgx"}));
  query = {};
  query.map = "ラビ";
  EXPECT_EQ(fileNamesOf(archive.search(query)), (std::set<std::string>{"ja.mgx"}));
  // Alice plays civilisation 3, Bob 7: Alice on 7 is nobody.
  query = {};
  query.playerName = "alice";
  query.civId = 7;
  EXPECT_TRUE(archive.search(query).games.empty());
  query.civId = 3;
  EXPECT_EQ(archive.search(query).games.size(), 2u);
  query.under = tree + "/";
  EXPECT_EQ(archive.search(query).games.size(), 2u);
  query.under = tree + "/2024-05/";
  EXPECT_TRUE(archive.search(query).games.empty());
}

TEST_F(ArchiveTest, DamagedOrNewerIndexIsRefusedWithItsPath) {
  {
    std::ofstream garbage(index, std::ios::binary);
    garbage << std::string(8192, 'x');
  }
  try {
    Archive archive(index);
    FAIL() << "a file of garbage opened as an index";
  } catch (const ArchiveError& error) {
    EXPECT_EQ(error.problem(), ArchiveProblem::kDamaged);
    EXPECT_NE(std::string(error.what()).find(index), std::string::npos);
  }
  ASSERT_TRUE(Archive::removeIndexFiles(index));
  write("alice.mgx", gameBetween("Alice", "Bob", 1));
  {
    Archive archive(index);
    archive.update(requestFor(tree));
  }
  // Pages that no longer check: the second page overwritten whole.
  {
    std::fstream file(index, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(4096);
    file << std::string(4096, '\x5A');
  }
  EXPECT_THROW(
      {
        try {
          Archive archive(index);
        } catch (const ArchiveError& error) {
          EXPECT_EQ(error.problem(), ArchiveProblem::kDamaged) << error.what();
          throw;
        }
      },
      ArchiveError);
  ASSERT_TRUE(Archive::removeIndexFiles(index));
  {
    Archive archive(index);
    EXPECT_EQ(archive.update(requestFor(tree)).read, 1u);
  }
  // A layout from a newer program is not read with this one's.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(index.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  try {
    Archive archive(index);
    FAIL() << "an index of layout 99 opened";
  } catch (const ArchiveError& error) {
    EXPECT_EQ(error.problem(), ArchiveProblem::kNewerSchema);
  }
}

// Many copies of twenty games, in folders of fifty.
std::size_t writeCopies(const std::string& tree) {
  std::size_t files = 0;
  for (int g = 0; g < 20; ++g) {
    const std::string folder = tree + "/month" + std::to_string(g);
    fs::create_directories(folder);
    const std::string first = folder + "/game0.mgx";
    EXPECT_TRUE(fixtures::writeSampleGame(first, gameBetween("Alice", "P" + std::to_string(g), 1)));
    ++files;
    for (int c = 1; c < 50; ++c, ++files)
      fs::copy_file(first, folder + "/game" + std::to_string(c) + ".mgx");
  }
  return files;
}

TEST_F(ArchiveTest, AnIndexingKilledPartWayOpensAndTheNextRunCompletes) {
  const std::size_t files = writeCopies(tree);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    Archive archive(index);
    UpdateControl control;
    control.progress = [&](const UpdateProgress& progress) {
      if (progress.done == 100) (void)!::write(ready[1], "k", 1);
    };
    archive.update(requestFor(tree), control);
    _exit(0);
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it was killed";

  Archive archive(index);  // checks its pages
  const std::size_t before = static_cast<std::size_t>(archive.counts().recordings);
  EXPECT_GE(before, 100u);
  EXPECT_LT(before, files);
  const UpdateStats stats = archive.update(requestFor(tree));
  EXPECT_EQ(stats.unchanged, before);
  EXPECT_EQ(stats.read + stats.unchanged, files);
  const ArchiveCounts counts = archive.counts();
  EXPECT_EQ(counts.recordings, static_cast<int64_t>(files));
  EXPECT_EQ(counts.games, 20);
  EXPECT_EQ(counts.copies, static_cast<int64_t>(files) - 20);
}

TEST_F(ArchiveTest, AStoppedRunKeepsWhatItWroteAndTheNextCompletes) {
  const std::size_t files = writeCopies(tree);
  Archive archive(index);
  UpdateControl control;
  control.stopAfter = 30;
  const UpdateStats first = archive.update(requestFor(tree, 1), control);
  EXPECT_TRUE(first.stopped);
  EXPECT_EQ(first.read, 30u);
  EXPECT_EQ(archive.counts().recordings, 30);
  const UpdateStats second = archive.update(requestFor(tree));
  EXPECT_EQ(second.read, files - 30);
  EXPECT_FALSE(second.stopped);
}

TEST(TextFold, FindsNamesWhateverTheirCaseOrWidth) {
  const std::pair<const char*, const char*> cases[] = {
      {"DutchClass", "dutchclass"},
      {"\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBD\x83", "abc"},               // full-width ＡＢｃ
      {"\xC3\x89\x43OLE", "\xC3\xA9\x63ole"},                         // ÉCOLE
      {"\xCE\xA3\xCE\xA9", "\xCF\x83\xCF\x89"},                       // ΣΩ
      {"\xD0\x9F\xD0\xA0\xD0\x98", "\xD0\xBF\xD1\x80\xD0\xB8"},       // ПРИ
      {"\xC5\x81\xC3\x93\xC5\xBB", "\xC5\x82\xC3\xB3\xC5\xBC"},       // ŁÓŻ
      {"\xE3\x81\x82\xE6\xBC\xA2", "\xE3\x81\x82\xE6\xBC\xA2"},       // あ漢, no case
      {"a\xFF" "B", "a\xFF" "b"},                                     // an invalid byte kept
  };
  for (const auto& [text, folded] : cases) EXPECT_EQ(foldForSearch(text), folded) << text;
}

TEST(SearchLines, FormDatesBoundWholeDaysAndMonths) {
  SearchForm form;
  form.from = "2024-02";
  form.to = "2024/02/29";
  FormProblem problem;
  std::optional<SearchQuery> query = queryOf(form, "C:\\Games\\", problem);
  ASSERT_TRUE(query);
  EXPECT_EQ(*query->fromMs, int64_t{1706745600000});  // 2024-02-01 00:00 UTC
  EXPECT_EQ(*query->toMs, int64_t{1709251200000});    // 2024-03-01 00:00 UTC
  EXPECT_EQ(query->under, "C:\\Games\\");
  form.to = "2024-13-01";
  EXPECT_FALSE(queryOf(form, "", problem));
  EXPECT_EQ(problem, FormProblem::kBadTo);
}

TEST(SearchLines, AGameIsOneLineOfItsSidesAndRecordings) {
  GameHit game;
  game.playedMs = int64_t{1709251200000} + 3723000;  // 2024-03-01 01:02:03
  game.mapNameById = "Arabia";
  game.durationMs = 1513000;
  game.players = {{1, 1, "Alice", 2, "1", PlayerOutcome::kWon},
                  {2, 2, "Bob", 3, "2", PlayerOutcome::kResigned},
                  {3, 3, "Carol", 4, "1", PlayerOutcome::kWon}};
  game.recordings = {{1, "/a/alice.mgx", 1, true}, {2, "/a/bob.mgx", 2, false}, {3, "/b/x.mgx", 1, false}};
  const ResultLine line = lineOf(game);
  EXPECT_EQ(line.date, "2024/03/01 01:02");
  EXPECT_EQ(line.players,
            u8"Alice (フランク) ○, Carol (チュートン) ○ vs Bob (ゴート) ×");
  EXPECT_EQ(line.map, u8"アラビア");  // a built-in map by its Japanese name where known
  EXPECT_EQ(line.length, "0:25:13");
  EXPECT_EQ(line.recordings, "bob.mgx, x.mgx (\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC 1)");
  EXPECT_EQ(line.firstPath, "/a/bob.mgx");
}

// The shared recordings: the index agrees with their truth files.
class SharedRecordingsIndex : public ::testing::Test {
 protected:
  static std::string folder() { return MORVANE_RECORDINGS_DIR; }
  static testing_json::Value json(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    testing_json::Value value;
    EXPECT_TRUE(testing_json::Parser(text.str()).parse(value)) << path;
    return value;
  }
  static std::string unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
      bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
  }
};

TEST_F(SharedRecordingsIndex, CountsAndSearchesAgreeWithTheTruthFiles) {
  const auto earlier = fixtures::recordingsWith(folder(), ".truth.json");
  const auto definitive = fixtures::recordingsWith(folder(), ".de-truth.json");
  if (earlier.empty() && definitive.empty()) GTEST_SKIP() << "no recordings at " << folder();
  TempFolder scratch;
  Archive archive(scratch.file("index.sqlite"));
  UpdateRequest request;
  request.folders = {folder()};
  request.jobs = 2;
  const UpdateStats stats = archive.update(request);
  EXPECT_EQ(stats.found, earlier.size() + definitive.size());
  EXPECT_EQ(stats.notLoaded, 0u);
  const ArchiveCounts counts = archive.counts();
  EXPECT_EQ(counts.loaded, static_cast<int64_t>(earlier.size() + definitive.size()));

  struct TruePlayer {
    std::string name;
    std::optional<int32_t> civ;
  };
  std::map<std::string, std::vector<TruePlayer>> players;  // by file
  std::map<std::string, std::string> maps;                 // folded map texts by file
  for (const std::string& name : earlier) {
    const auto truth = json(folder() + "/" + name + ".truth.json");
    const auto facts = json(folder() + "/" + name + ".facts.json");
    const int codePage = facts.has("codePage") && facts["codePage"].number != 0
                             ? static_cast<int>(facts["codePage"].number) : 1252;
    const auto decoder = platform::makeTextDecoder(codePage);
    ASSERT_TRUE(decoder);
    for (std::size_t k = 1; k < 9; ++k) {
      const std::string bytes = unhex(truth["playerNames"][k].text);
      if (bytes.empty()) continue;
      const auto& slot = truth["slots"][static_cast<std::size_t>(truth["playerNumbers"][k].number)];
      TruePlayer player{decoder->toUtf8(bytes), std::nullopt};
      if (slot["civId"].kind == testing_json::Value::Kind::kNumber)
        player.civ = static_cast<int32_t>(slot["civId"].number);
      players[name].push_back(player);
    }
    std::string map = decoder->toUtf8(unhex(truth["mapName"].text));
    if (facts.has("mapNameById") && facts["mapNameById"].kind == testing_json::Value::Kind::kString)
      map += "\n" + facts["mapNameById"].text;
    maps[name] = foldForSearch(map);
  }
  for (const std::string& name : definitive) {
    const auto truth = json(folder() + "/" + name + ".de-truth.json");
    for (const auto& player : truth["dePlayers"].items)
      players[name].push_back({player["name"].text, static_cast<int32_t>(player["civId"].number)});
    maps[name] = foldForSearch(
        std::string(builtInMapName(static_cast<int32_t>(truth["mapId"].number), VersionFamily::kDE)));
  }

  for (const auto& [file, list] : players) {
    for (const TruePlayer& player : list) {
      SearchQuery query;
      query.playerName = player.name;
      query.civId = player.civ;
      EXPECT_EQ(fileNamesOf(archive.search(query)).count(file), 1u)
          << file << ": " << player.name << " civilisation " << player.civ.value_or(-1);
    }
  }
  SearchQuery arabia;
  arabia.map = "arabia";
  std::set<std::string> expected;
  for (const auto& [file, map] : maps) {
    if (map.find("arabia") != std::string::npos) expected.insert(file);
  }
  EXPECT_EQ(fileNamesOf(archive.search(arabia)), expected);
  SearchQuery byCivilisation;
  byCivilisation.civId = 27;
  std::set<std::string> onCiv27;
  for (const auto& [file, list] : players) {
    for (const TruePlayer& player : list)
      if (player.civ == 27) onCiv27.insert(file);
  }
  EXPECT_EQ(fileNamesOf(archive.search(byCivilisation)), onCiv27);
}

}  // namespace
}  // namespace morvane::archive
