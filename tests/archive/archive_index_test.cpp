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
#include <optional>
#include <set>
#include <sstream>

#include "archive/search_lines.h"
#include "archive/text_fold.h"
#include "platform/text_decoder.h"
#include "recording/map_names.h"
#include "recording_writer/definitive_game.h"
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

// One game recorded by two of its players, in each edition family: the
// headers differ on a few tiles (the ground under a building one of them saw
// laid), the recordings in how long each player stayed. They are one game by
// the identity the recordings state, its longest recording standing for it;
// another game of the same players, civilisations and map stays another.
TEST_F(ArchiveTest, PointsOfViewJoinByTheGamesOwnIdentityAndOtherGamesStayApart) {
  struct Family {
    const char* name;
    std::optional<fixtures::VersionLayout> layout;  // none: the Definitive Edition
    KeyCertainty certainty;
  };
  const Family families[] = {
      {"base game", fixtures::baseGameLayout(), KeyCertainty::kSync},
      {"The Conquerors", fixtures::conquerorsLayout(), KeyCertainty::kSync},
      {"patch 1.5", fixtures::patch15Layout(), KeyCertainty::kSync},
      {"later edition, first lobby block", fixtures::laterEditionLayout(12.36f, 1000),
       KeyCertainty::kSync},
      {"later edition 12.5", fixtures::laterEditionLayout(12.5f, 1006), KeyCertainty::kGameId},
      {"Definitive Edition", std::nullopt, KeyCertainty::kGameId},
  };
  // Game g seen by player pov, for steps checksum blocks (or steps seconds).
  const auto writeView = [](const Family& family, const std::string& path, uint8_t g, uint8_t pov,
                            int steps, bool buildingLaid) {
    std::array<uint8_t, 16> id{};
    id.fill(static_cast<uint8_t>(0x30 + g));
    if (!family.layout) {
      fixtures::DefinitiveGame game = fixtures::twoPlayerDefinitiveGame(63.0f);
      // Each point of view states its own moment of the game's day.
      game.playedAt = 1651256760u + 86400u * g - pov;
      game.pov = pov;
      game.gameId = id;
      game.stepMs = 1000 * steps;
      if (buildingLaid) game.terrain[10] = game.terrain[11] = 27;
      return fixtures::writeRecording(path, fixtures::buildDefinitiveHeader(game),
                                      fixtures::buildDefinitiveBody(game));
    }
    SampleGame game = gameBetween("Alice", "Bob", pov);
    game.layout = *family.layout;
    game.gameId = id;
    game.terrain = fixtures::terrainPattern(game.width, game.height);
    if (buildingLaid) game.terrain[40] = game.terrain[41] = game.terrain[56] = 27;
    for (int k = 0; k < steps; ++k) game.worldChecksums.push_back(0x05000000u * g + 0x1234u * k);
    return fixtures::writeSampleGame(path, game);
  };
  for (const Family& family : families) {
    SCOPED_TRACE(family.name);
    TempFolder scratch;
    const std::string games = scratch.file("games");
    fs::create_directories(games);
    ASSERT_TRUE(writeView(family, games + "/alice.mgx", 1, 1, 8, false));
    ASSERT_TRUE(writeView(family, games + "/bob.mgx", 1, 2, 5, true));
    ASSERT_TRUE(writeView(family, games + "/rematch.mgx", 2, 1, 8, false));
    // Copied files: their times are the copy's, not the game's.
    for (const char* name : {"alice.mgx", "bob.mgx", "rematch.mgx"})
      setModified(games + "/" + name, 1700000000);
    Archive archive(scratch.file("index.sqlite"));
    EXPECT_EQ(archive.update(requestFor(games)).read, 3u);
    const SearchResult result = archive.search(SearchQuery{});
    ASSERT_EQ(result.games.size(), 2u);
    // A game is dated as its recordings state, the earliest of its points
    // of view, else by the file's time; the search's dates go by it.
    SearchQuery before;
    before.toMs = int64_t{1700000000} * 1000;
    EXPECT_EQ(archive.search(before).games.size(), family.layout ? 0u : 2u);
    for (const GameHit& game : result.games) {
      EXPECT_EQ(game.certainty, family.certainty);
      std::set<int32_t> views;
      for (const HitRecording& recording : game.recordings) views.insert(recording.povNumber);
      const bool rematch = fileNamesOf({{game}, false}).count("rematch.mgx") != 0;
      // Game 1's earliest view is Bob's (point of view 2), not Alice's,
      // which stands for it.
      const int64_t stated = rematch ? 1651256760 + 2 * 86400 - 1 : 1651256760 + 86400 - 2;
      EXPECT_EQ(game.playedMs, (family.layout ? 1700000000 : stated) * 1000);
      if (rematch) {
        EXPECT_EQ(views, (std::set<int32_t>{1}));
        continue;
      }
      EXPECT_EQ(views, (std::set<int32_t>{1, 2}));
      // Alice stayed longest: hers stands for the game.
      EXPECT_EQ(game.durationMs, result.games[0].durationMs);
    }
  }
}

// Fewer world checksums than a key takes (a block holding 0 holds none):
// the map and players decide.
TEST_F(ArchiveTest, AGameTooShortForItsChecksumsIsKeyedByItsMap) {
  SampleGame game = gameBetween("Alice", "Bob", 1);
  game.worldChecksums = {0, 0, 0x05000001u, 0, 0x05000002u};
  write("short.mgx", game);
  Archive archive(index);
  archive.update(requestFor(tree));
  const SearchResult result = archive.search(SearchQuery{});
  ASSERT_EQ(result.games.size(), 1u);
  EXPECT_EQ(result.games[0].certainty, KeyCertainty::kMap);
}

// An index the first layout wrote kept games by their map: opened, it is
// migrated, and its next update reads every file again and re-keys them.
TEST_F(ArchiveTest, AnIndexOfTheFirstLayoutIsReKeyedAtItsNextUpdate) {
  SampleGame alice = gameBetween("Alice", "Bob", 1);
  alice.worldChecksums = {1, 2, 3, 4};
  SampleGame bob = gameBetween("Alice", "Bob", 2);
  bob.worldChecksums = alice.worldChecksums;
  bob.terrain = fixtures::terrainPattern(bob.width, bob.height);
  bob.terrain[7] = 27;
  write("alice.mgx", alice);
  write("bob.mgx", bob);
  {
    Archive archive(index);
    archive.update(requestFor(tree));
    ASSERT_EQ(archive.counts().games, 1);
  }
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(index.c_str(), &db), SQLITE_OK);
    // As the first layout left them: one game per map, and no player's
    // actions or counts.
    sqlite3_exec(db,
                 "PRAGMA user_version = 1;"
                 "ALTER TABLE player DROP COLUMN apm;"
                 "ALTER TABLE player DROP COLUMN buildings;"
                 "ALTER TABLE player DROP COLUMN units;"
                 "ALTER TABLE player DROP COLUMN research;"
                 "ALTER TABLE recording DROP COLUMN played_ms;"
                 "INSERT INTO game(id, game_key, certainty, recordings) VALUES(99, 'm:old', 'map', 1);"
                 "UPDATE recording SET game_id = 99 WHERE path LIKE '%bob.mgx';"
                 "UPDATE game SET game_key = 'm:older', certainty = 'map', recordings = 1 WHERE id <> 99;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  Archive archive(index);
  ASSERT_EQ(archive.counts().games, 2);
  EXPECT_EQ(archive.update(requestFor(tree)).read, 2u);
  EXPECT_EQ(archive.counts().games, 1);
  const SearchResult result = archive.search(SearchQuery{});
  ASSERT_EQ(result.games.size(), 1u);
  EXPECT_EQ(result.games[0].certainty, KeyCertainty::kSync);
  EXPECT_EQ(result.games[0].recordings.size(), 2u);
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

TEST_F(ArchiveTest, EachPlayersActionsPerMinuteAndCountsComeBackWithTheGame) {
  RecordingRow row;
  row.path = tree + "/played.mgx";
  row.loaded = true;
  row.gameKey = "played";
  PlayerRow alice;
  alice.position = 1;
  alice.number = 1;
  alice.name = "Alice";
  alice.actionsPerMinute = 71.4;
  alice.buildings = 35;
  alice.units = 120;
  alice.technologies = 18;
  PlayerRow bob = alice;  // no command named him
  bob.position = 2;
  bob.number = 2;
  bob.name = "Bob";
  bob.actionsPerMinute.reset();
  bob.buildings = bob.units = bob.technologies = 0;
  row.players = {alice, bob};
  Archive archive(index);
  archive.write(row);
  const SearchResult result = archive.search({});
  ASSERT_EQ(result.games.size(), 1u);
  const std::vector<HitPlayer>& players = result.games[0].players;
  ASSERT_EQ(players.size(), 2u);
  ASSERT_TRUE(players[0].actionsPerMinute);
  EXPECT_DOUBLE_EQ(*players[0].actionsPerMinute, 71.4);
  EXPECT_EQ(players[0].buildings, 35);
  EXPECT_EQ(players[0].units, 120);
  EXPECT_EQ(players[0].technologies, 18);
  EXPECT_FALSE(players[1].actionsPerMinute);
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
  const auto player = [](int32_t n, const char* name, int32_t civ, const char* team,
                         PlayerOutcome outcome, std::optional<double> actions) {
    HitPlayer p;
    p.position = p.number = n;
    p.name = name;
    p.civId = civ;
    p.team = team;
    p.outcome = outcome;
    p.actionsPerMinute = actions;
    p.buildings = 10 * n;
    p.units = 20 * n;
    p.technologies = n;
    return p;
  };
  game.players = {player(1, "Alice", 2, "1", PlayerOutcome::kWon, 71.4),
                  player(2, "Bob", 3, "2", PlayerOutcome::kResigned, 88.6),
                  player(3, "Carol", 4, "1", PlayerOutcome::kWon, std::nullopt)};
  game.recordings = {{1, "/a/alice.mgx", 1, true}, {2, "/a/bob.mgx", 2, false}, {3, "/b/x.mgx", 1, false}};
  const ResultLine line = lineOf(game);
  EXPECT_EQ(line.date, "2024/03/01 01:02");
  EXPECT_EQ(line.players,
            u8"Alice (フランク) ○, Carol (チュートン) ○ vs Bob (ゴート) ×");
  EXPECT_EQ(line.map, u8"アラビア");  // a built-in map by its Japanese name where known
  EXPECT_EQ(line.length, "0:25:13");
  // Actions and counts in the players' order; Carol's walk named no one.
  EXPECT_EQ(line.actions, "71, - vs 89");
  EXPECT_EQ(line.counts, "10/20/1, 30/60/3 vs 20/40/2");
  EXPECT_EQ(line.highestActions, 88.6);
  EXPECT_EQ(line.recordings, "bob.mgx, x.mgx (\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC 1)");
  EXPECT_EQ(line.firstPath, "/a/bob.mgx");
  // The tip: every player whole, then every path.
  EXPECT_EQ(line.tip, u8"Alice (チーム 1) フランク: 勝利\nBob (チーム 2) ゴート: 投了\n"
                      u8"Carol (チーム 1) チュートン: 勝利\n\n/a/alice.mgx (コピー)\n/a/bob.mgx\n/b/x.mgx");
}

TEST(SearchLines, LinesSortByEveryColumnAndAgainTheOtherWay) {
  const auto lineWith = [](int64_t played, int64_t length, const char* players, const char* map,
                           const char* files, std::optional<double> actions, int64_t counts) {
    ResultLine line;
    line.playedMs = played;
    line.durationMs = length;
    line.players = players;
    line.map = map;
    line.recordings = files;
    line.highestActions = actions;
    line.countsTotal = counts;
    return line;
  };
  const std::vector<ResultLine> found = {
      lineWith(300, 10, "bob vs Carol", "Arabia", "c.mgx", 40.2, 300),
      lineWith(200, 30, "Alice vs Bob", "arena", "b.mgx", std::nullopt, 0),
      lineWith(100, 20, "carol vs Dave", "Arabia", "a.mgx", 40.6, 120)};
  const auto order = [&](ResultOrder o) {
    std::vector<ResultLine> lines = found;
    sortLines(lines, o);
    std::string files;
    for (const ResultLine& line : lines) files += line.recordings.substr(0, 1);
    return files;
  };
  ResultOrder o;
  EXPECT_EQ(order(o), "cba");
  o = orderAfterClick(o, ResultColumn::kDate);
  EXPECT_EQ(order(o), "abc");
  o = orderAfterClick(o, ResultColumn::kLength);
  EXPECT_EQ(order(o), "bac");
  o = orderAfterClick(o, ResultColumn::kPlayers);
  EXPECT_EQ(order(o), "bca");  // any case
  o = orderAfterClick(o, ResultColumn::kPlayers);
  EXPECT_EQ(order(o), "acb");
  o = orderAfterClick(o, ResultColumn::kMap);
  EXPECT_EQ(order(o), "cab");  // equal maps keep the search's order
  o = orderAfterClick(o, ResultColumn::kRecordings);
  EXPECT_EQ(order(o), "abc");
  o = orderAfterClick(o, ResultColumn::kActions);
  EXPECT_EQ(order(o), "acb");  // highest first, a walk that named no one last
  o = orderAfterClick(o, ResultColumn::kCounts);
  EXPECT_EQ(order(o), "cab");
  o = orderAfterClick(o, ResultColumn::kCounts);
  EXPECT_EQ(order(o), "bac");
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
  // A custom map is found by its script's name, which its header states.
  const std::string customMap = "de-64.3-lobby-chat.aoe2record";
  if (std::count(definitive.begin(), definitive.end(), customMap) > 0) {
    SearchQuery dryRiver;
    dryRiver.map = "dry river";
    EXPECT_EQ(fileNamesOf(archive.search(dryRiver)), std::set<std::string>{customMap});
  }
  SearchQuery byCivilisation;
  byCivilisation.civId = 27;
  std::set<std::string> onCiv27;
  for (const auto& [file, list] : players) {
    for (const TruePlayer& player : list)
      if (player.civ == 27) onCiv27.insert(file);
  }
  EXPECT_EQ(fileNamesOf(archive.search(byCivilisation)), onCiv27);
  // Every game of some minutes was played by someone: the walk of its
  // commands gave a player actions.
  for (const GameHit& game : archive.search({}).games) {
    if (game.durationMs < 60000) continue;
    double most = 0;
    for (const HitPlayer& player : game.players) most = std::max(most, player.actionsPerMinute.value_or(0));
    EXPECT_GT(most, 1.0) << game.recordings.front().path;
  }
}

}  // namespace
}  // namespace morvane::archive
