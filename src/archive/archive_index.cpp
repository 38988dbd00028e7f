#include "archive/archive_index.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <unordered_map>

#include "archive/parallel_reading.h"
#include "archive/recording_files.h"
#include "archive/text_fold.h"
#include "platform/file_access.h"
#include "platform/folder_listing.h"
#include "platform/path.h"
#include "recording/map_names.h"

namespace morvane::archive {
namespace {

// Each step takes the layout from the version before it to its own.
constexpr const char* kSchemaSteps[] = {
    // 1: recordings, games, players and the names they share.
    R"(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT) WITHOUT ROWID;
CREATE TABLE game(
  id INTEGER PRIMARY KEY,
  game_key TEXT NOT NULL UNIQUE,
  certainty TEXT NOT NULL,
  main_recording INTEGER,
  recordings INTEGER NOT NULL DEFAULT 0,
  played_ms INTEGER
);
CREATE INDEX game_played ON game(played_ms);
CREATE TABLE recording(
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE,
  size INTEGER NOT NULL,
  mtime_ms INTEGER NOT NULL,
  content_hash TEXT NOT NULL,
  copy_of INTEGER,
  edition TEXT NOT NULL,
  version_text TEXT NOT NULL,
  save_version REAL NOT NULL,
  supported INTEGER NOT NULL,
  loaded INTEGER NOT NULL,
  error TEXT,
  game_id INTEGER,
  pov_number INTEGER,
  player_count INTEGER,
  map_type TEXT,
  map_id INTEGER,
  map_name TEXT,
  map_key INTEGER,
  map_width INTEGER,
  map_height INTEGER,
  speed REAL,
  population INTEGER,
  map_size INTEGER,
  reveal_map INTEGER,
  starting_age INTEGER,
  victory INTEGER,
  difficulty INTEGER,
  lock_teams INTEGER,
  game_type INTEGER,
  duration_ms INTEGER,
  restored_ms INTEGER,
  settled INTEGER,
  winners TEXT,
  code_page INTEGER
);
CREATE INDEX recording_game ON recording(game_id);
CREATE INDEX recording_hash ON recording(content_hash);
CREATE INDEX recording_map ON recording(map_key);
CREATE TABLE name(id INTEGER PRIMARY KEY, folded TEXT NOT NULL UNIQUE);
CREATE TABLE map(id INTEGER PRIMARY KEY, folded TEXT NOT NULL UNIQUE);
CREATE TABLE player(
  recording_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  number INTEGER NOT NULL,
  name TEXT NOT NULL,
  name_id INTEGER NOT NULL,
  civ_id INTEGER NOT NULL,
  colour_id INTEGER NOT NULL,
  team TEXT NOT NULL,
  result TEXT,
  resigned_ms INTEGER,
  feudal_ms INTEGER, castle_ms INTEGER, imperial_ms INTEGER,
  feudal_reached_ms INTEGER, castle_reached_ms INTEGER, imperial_reached_ms INTEGER,
  profile_id INTEGER,
  rating INTEGER,
  PRIMARY KEY(recording_id, position)
) WITHOUT ROWID;
-- Both cover a search's conditions on one player, so either answers it
-- without reading the rows.
CREATE INDEX player_name ON player(name_id, civ_id, result);
CREATE INDEX player_civ ON player(civ_id, name_id, result);
)",
    // 2: what each player did, from the walk of every command, and games
    // keyed by the identity the recordings state, which the first layout did
    // not keep: every recording is read again at the next update, which fills
    // the new columns, moves it to its game by the new key and drops the
    // emptied ones.
    R"(
ALTER TABLE player ADD COLUMN apm REAL;
ALTER TABLE player ADD COLUMN buildings INTEGER NOT NULL DEFAULT 0;
ALTER TABLE player ADD COLUMN units INTEGER NOT NULL DEFAULT 0;
ALTER TABLE player ADD COLUMN research INTEGER NOT NULL DEFAULT 0;
UPDATE recording SET size = -1;
)",
    // 3: when the game was played, as the recording states it; the reader's
    // revision that fills it has every recording read again.
    R"(
ALTER TABLE recording ADD COLUMN played_ms INTEGER;
)",
};
constexpr int kSteps = static_cast<int>(sizeof kSchemaSteps / sizeof kSchemaSteps[0]);
static_assert(kSteps == kSchemaVersion, "one step per layout version");

std::optional<int64_t> ageMs(const AgeTimes& times, Age age) { return times[age]; }

std::string winnersText(const std::vector<int32_t>& winners) {
  std::string text;
  for (int32_t number : winners) text += (text.empty() ? "" : ",") + std::to_string(number);
  return text;
}

// The half-open range of paths that start with prefix.
std::pair<std::string, std::string> prefixRange(const std::string& prefix) {
  return {prefix, prefix + "\xF4\x8F\xBF\xBF\xFF"};
}

// Size and time of one file, from its folder's listing.
std::optional<FoundFile> lookUpFile(const std::string& path, char separator) {
  const std::optional<std::string> folder = platform::parentFolder(path, separator);
  if (!folder) return std::nullopt;
  const std::string name = path.substr(folder->size() + 1);
  for (const platform::FolderItem& item :
       platform::listFolder(platform::joinPath(*folder, "", separator))) {
    if (!item.isFolder() && item.exactName == name)
      return FoundFile{path, static_cast<int64_t>(item.size), unixMs(item.lastWrite)};
  }
  return std::nullopt;
}

PlayerOutcome outcomeFromText(const std::string& text) {
  if (text == "won") return PlayerOutcome::kWon;
  if (text == "lost") return PlayerOutcome::kLost;
  if (text == "resigned") return PlayerOutcome::kResigned;
  return PlayerOutcome::kUnknown;
}

KeyCertainty certaintyFromText(const std::string& text) {
  if (text == "game-id") return KeyCertainty::kGameId;
  if (text == "sync") return KeyCertainty::kSync;
  if (text == "map") return KeyCertainty::kMap;
  if (text == "fixed-map") return KeyCertainty::kFixedMap;
  return KeyCertainty::kFile;
}

}  // namespace

struct Archive::Statements {
  explicit Statements(sqlite3* db)
      : knownUnder(db, "SELECT id, path, size, mtime_ms FROM recording WHERE path >= ?1 AND path < ?2"),
        recordingOfPath(db, "SELECT id, size, mtime_ms FROM recording WHERE path = ?1"),
        recordingFacts(db, "SELECT game_id, content_hash FROM recording WHERE id = ?1"),
        deletePlayers(db, "DELETE FROM player WHERE recording_id = ?1"),
        deleteRecording(db, "DELETE FROM recording WHERE id = ?1"),
        insertRecording(db, R"(INSERT INTO recording(path, size, mtime_ms, content_hash, edition,
            version_text, save_version, supported, loaded, error, game_id, pov_number, player_count,
            map_type, map_id, map_name, map_key, map_width, map_height, speed, population,
            map_size, reveal_map, starting_age, victory, difficulty, lock_teams, game_type,
            duration_ms, restored_ms, settled, winners, code_page, played_ms)
            VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18,
                   ?19, ?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28, ?29, ?30, ?31, ?32, ?33,
                   ?34))"),
        insertPlayer(db, R"(INSERT INTO player(recording_id, position, number, name, name_id,
            civ_id, colour_id, team, result, resigned_ms, feudal_ms, castle_ms, imperial_ms,
            feudal_reached_ms, castle_reached_ms, imperial_reached_ms, profile_id, rating, apm,
            buildings, units, research)
            VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18,
                   ?19, ?20, ?21, ?22))"),
        insertName(db, "INSERT OR IGNORE INTO name(folded) VALUES(?1)"),
        nameOfText(db, "SELECT id FROM name WHERE folded = ?1"),
        deleteUnusedNames(db, "DELETE FROM name WHERE id NOT IN (SELECT name_id FROM player)"),
        insertMap(db, "INSERT OR IGNORE INTO map(folded) VALUES(?1)"),
        mapOfText(db, "SELECT id FROM map WHERE folded = ?1"),
        deleteUnusedMaps(db, R"(DELETE FROM map WHERE id NOT IN
            (SELECT map_key FROM recording WHERE map_key IS NOT NULL))"),
        insertGame(db, "INSERT OR IGNORE INTO game(game_key, certainty) VALUES(?1, ?2)"),
        gameOfKey(db, "SELECT id FROM game WHERE game_key = ?1"),
        refreshGame(db, R"(UPDATE game SET
            main_recording = (SELECT id FROM recording WHERE game_id = ?1
                              ORDER BY duration_ms DESC, id LIMIT 1),
            recordings = (SELECT count(*) FROM recording WHERE game_id = ?1)
            WHERE id = ?1)"),
        // The earliest time its recordings state (the points of view of
        // one game may differ by a moment), else the main file's last write.
        refreshPlayed(db, R"(UPDATE game SET played_ms = coalesce(
            (SELECT min(played_ms) FROM recording WHERE game_id = ?1),
            (SELECT mtime_ms FROM recording WHERE id = game.main_recording)) WHERE id = ?1)"),
        deleteEmptyGame(db, "DELETE FROM game WHERE id = ?1 AND recordings = 0"),
        refreshCopies(db, R"(UPDATE recording SET copy_of = NULLIF(
            (SELECT min(id) FROM recording WHERE content_hash = ?1), id)
            WHERE content_hash = ?1)"),
        clearHits(db, "DELETE FROM temp.hits"),
        hitGames(db, R"(SELECT h.rank, h.game_id, h.played_ms, g.certainty, r.map_type, r.map_name,
            r.duration_ms, r.edition FROM temp.hits h JOIN game g ON g.id = h.game_id
            JOIN recording r ON r.id = h.main_recording ORDER BY h.rank)"),
        hitPlayers(db, R"(SELECT h.rank, p.position, p.number, p.name, p.civ_id, p.team, p.result,
            p.apm, p.buildings, p.units, p.research
            FROM temp.hits h JOIN player p ON p.recording_id = h.main_recording
            ORDER BY h.rank, p.position)"),
        hitRecordings(db, R"(SELECT h.rank, q.id, q.path, q.pov_number, q.copy_of IS NOT NULL
            FROM temp.hits h JOIN recording q ON q.game_id = h.game_id ORDER BY h.rank, q.path)"),
        counts(db, R"(SELECT (SELECT count(*) FROM recording), (SELECT count(*) FROM recording
            WHERE loaded), (SELECT count(*) FROM game), (SELECT count(*) FROM player),
            (SELECT count(*) FROM recording WHERE copy_of IS NOT NULL))"),
        readerRevision(db, "SELECT value FROM meta WHERE key = 'reader'"),
        setReaderRevision(db, "INSERT OR REPLACE INTO meta(key, value) VALUES('reader', ?1)"),
        forgetSizes(db, "UPDATE recording SET size = -1") {}

  Statement knownUnder, recordingOfPath, recordingFacts, deletePlayers, deleteRecording,
      insertRecording, insertPlayer, insertName, nameOfText, deleteUnusedNames, insertMap,
      mapOfText, deleteUnusedMaps, insertGame,
      gameOfKey, refreshGame, refreshPlayed, deleteEmptyGame, refreshCopies, clearHits,
      hitGames, hitPlayers, hitRecordings, counts, readerRevision, setReaderRevision, forgetSizes;
  // Name ids met in this connection's updates; names are only removed when
  // no player has them, after which this is emptied.
  std::unordered_map<std::string, int64_t> nameIds;
  std::unordered_map<std::string, int64_t> mapIds;
};

Archive::Archive(const std::string& path, Check check)
    : db_(path, Database::Mode::kReadWrite) {
  prepareSchema(check);
  db_.execute(
      "CREATE TEMP TABLE hits(rank INTEGER PRIMARY KEY, game_id INTEGER, main_recording INTEGER, "
      "played_ms INTEGER)");
  statements_ = std::make_unique<Statements>(db_.handle());
  Statements& s = *statements_;
  const std::string revision = std::to_string(kReaderRevision);
  std::string stored;
  if (s.readerRevision.step()) stored = s.readerRevision.text(0);
  s.readerRevision.reset();
  if (stored != revision) {
    // What an older reader found is not trusted: every file is read again.
    Transaction transaction(db_);
    s.forgetSizes.run();
    s.setReaderRevision.bind(1, revision).run();
    transaction.commit();
  }
}

Archive::~Archive() = default;

void Archive::prepareSchema(Check check) {
  // The first read of the file: a file that is no database fails here.
  db_.execute("PRAGMA journal_mode = WAL");
  db_.execute("PRAGMA synchronous = NORMAL");
  db_.execute("PRAGMA wal_autocheckpoint = 16384");
  Statement version(db_.handle(), "PRAGMA user_version");
  version.step();
  const int64_t current = version.integer(0);
  version.reset();
  if (current > kSchemaVersion) {
    throw ArchiveError(ArchiveProblem::kNewerSchema,
                       db_.path() + ": written by a newer Morvane (index layout " +
                           std::to_string(current) + ", this program knows up to " +
                           std::to_string(kSchemaVersion) + ")");
  }
  if (current == 0) {
    Statement tables(db_.handle(), "SELECT count(*) FROM sqlite_master");
    tables.step();
    if (tables.integer(0) != 0)
      throw ArchiveError(ArchiveProblem::kDamaged, db_.path() + ": not a Morvane index");
  }
  if (check == Check::kQuick && current > 0) {
    Statement quick(db_.handle(), "PRAGMA quick_check");
    const bool ok = quick.step() && quick.text(0) == "ok";
    if (!ok) throw ArchiveError(ArchiveProblem::kDamaged, db_.path() + ": " + quick.text(0));
  }
  for (int64_t step = current; step < kSchemaVersion; ++step) {
    Transaction transaction(db_);
    db_.execute(kSchemaSteps[step]);
    db_.execute("PRAGMA user_version = " + std::to_string(step + 1));
    transaction.commit();
  }
}

bool Archive::removeIndexFiles(const std::string& path) {
  bool gone = true;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    const std::string file = path + suffix;
    if (platform::removeFile(file)) continue;
    if (std::FILE* still = platform::openFile(file, "rb")) {
      std::fclose(still);
      gone = false;
    }
  }
  return gone;
}

int64_t Archive::nameId(const std::string& folded) {
  Statements& s = *statements_;
  const auto known = s.nameIds.find(folded);
  if (known != s.nameIds.end()) return known->second;
  s.insertName.bind(1, folded).run();
  s.nameOfText.bind(1, folded);
  s.nameOfText.step();
  const int64_t id = s.nameOfText.integer(0);
  s.nameOfText.reset();
  s.nameIds.emplace(folded, id);
  return id;
}

int64_t Archive::mapKey(const std::string& folded) {
  Statements& s = *statements_;
  const auto known = s.mapIds.find(folded);
  if (known != s.mapIds.end()) return known->second;
  s.insertMap.bind(1, folded).run();
  s.mapOfText.bind(1, folded);
  s.mapOfText.step();
  const int64_t id = s.mapOfText.integer(0);
  s.mapOfText.reset();
  s.mapIds.emplace(folded, id);
  return id;
}

void Archive::refreshGame(int64_t gameId) {
  Statements& s = *statements_;
  s.refreshGame.bind(1, gameId).run();
  s.refreshPlayed.bind(1, gameId).run();
  s.deleteEmptyGame.bind(1, gameId).run();
}

void Archive::refreshCopies(const std::string& contentHash) {
  statements_->refreshCopies.bind(1, contentHash).run();
}

// Inside the caller's transaction.
void Archive::removeRecording(int64_t id) {
  Statements& s = *statements_;
  s.recordingFacts.bind(1, id);
  if (!s.recordingFacts.step()) {
    s.recordingFacts.reset();
    return;
  }
  const bool inGame = !s.recordingFacts.isNull(0);
  const int64_t gameId = s.recordingFacts.integer(0);
  const std::string hash = s.recordingFacts.text(1);
  s.recordingFacts.reset();
  s.deletePlayers.bind(1, id).run();
  s.deleteRecording.bind(1, id).run();
  if (inGame) refreshGame(gameId);
  refreshCopies(hash);
}

void Archive::write(const RecordingRow& row) {
  Statements& s = *statements_;
  Transaction transaction(db_);
  s.recordingOfPath.bind(1, row.path);
  std::optional<int64_t> old;
  if (s.recordingOfPath.step()) old = s.recordingOfPath.integer(0);
  s.recordingOfPath.reset();
  if (old) removeRecording(*old);

  std::optional<int64_t> gameId;
  if (row.loaded) {
    s.insertGame.bind(1, row.gameKey).bind(2, std::string_view(certaintyName(row.certainty))).run();
    s.gameOfKey.bind(1, row.gameKey);
    s.gameOfKey.step();
    gameId = s.gameOfKey.integer(0);
    s.gameOfKey.reset();
  }
  Statement& r = s.insertRecording;
  r.bind(1, row.path).bind(2, row.size).bind(3, row.modifiedMs).bind(4, row.contentHash);
  r.bind(5, row.edition).bind(6, row.versionText).bind(7, static_cast<double>(row.saveVersion));
  r.bind(8, int64_t{row.supported}).bind(9, int64_t{row.loaded});
  if (row.loaded) {
    r.bindNull(10).bind(11, *gameId).bind(12, int64_t{row.povNumber}).bind(13, int64_t{row.playerCount});
    if (row.mapType) {
      r.bind(14, *row.mapType);
    } else {
      r.bindNull(14);
    }
    r.bind(15, row.mapId);
    if (row.mapNameById.empty()) {
      r.bindNull(16);
    } else {
      r.bind(16, row.mapNameById);
    }
    // The built-in map is found by its Japanese name too, as the search shows it.
    r.bind(17, mapKey(foldForSearch(row.mapType.value_or("") + "\n" + row.mapNameById + "\n" +
                                    std::string(japaneseMapName(row.mapNameById).utf8))));
    r.bind(18, int64_t{row.mapWidth}).bind(19, int64_t{row.mapHeight});
    const GameSettings& g = row.settings;
    r.bind(20, g.speed).bind(21, g.populationLimit).bind(22, g.mapSize).bind(23, g.revealMap);
    r.bind(24, g.startingAge).bind(25, g.victory).bind(26, g.difficulty).bind(27, g.lockTeams);
    r.bind(28, g.gameType).bind(29, row.durationMs).bind(30, row.restoredAtMs);
    r.bind(31, int64_t{row.settled});
    if (row.settled) {
      r.bind(32, winnersText(row.winners));
    } else {
      r.bindNull(32);
    }
    r.bind(33, int64_t{row.codePage});
    r.bind(34, row.playedMs);
  } else {
    r.bind(10, row.error);
    for (int column = 11; column <= 34; ++column) r.bindNull(column);
  }
  r.run();
  const int64_t recordingId = db_.lastInsertId();
  for (const PlayerRow& p : row.players) {
    Statement& q = s.insertPlayer;
    q.bind(1, recordingId).bind(2, int64_t{p.position}).bind(3, int64_t{p.number});
    q.bind(4, p.name).bind(5, nameId(foldForSearch(p.name)));
    q.bind(6, int64_t{p.civId}).bind(7, int64_t{p.colourId}).bind(8, p.team);
    if (p.outcome == PlayerOutcome::kUnknown) {
      q.bindNull(9);
    } else {
      q.bind(9, std::string_view(outcomeName(p.outcome)));
    }
    q.bind(10, p.resignedMs);
    q.bind(11, ageMs(p.research, Age::kFeudal)).bind(12, ageMs(p.research, Age::kCastle));
    q.bind(13, ageMs(p.research, Age::kImperial)).bind(14, ageMs(p.reached, Age::kFeudal));
    q.bind(15, ageMs(p.reached, Age::kCastle)).bind(16, ageMs(p.reached, Age::kImperial));
    q.bind(17, p.profileId).bind(18, p.rating);
    if (p.actionsPerMinute) {
      q.bind(19, *p.actionsPerMinute);
    } else {
      q.bindNull(19);
    }
    q.bind(20, int64_t{p.buildings}).bind(21, int64_t{p.units}).bind(22, int64_t{p.technologies});
    q.run();
  }
  if (gameId) refreshGame(*gameId);
  refreshCopies(row.contentHash);
  transaction.commit();
}

UpdateStats Archive::update(const UpdateRequest& request, const UpdateControl& control) {
  Statements& s = *statements_;
  UpdateStats stats;
  std::vector<FoundFile> found = findRecordings(request.folders, request.recursive, request.separator);
  for (const std::string& file : request.files) {
    if (std::optional<FoundFile> one = lookUpFile(file, request.separator)) found.push_back(*one);
  }
  stats.found = found.size();

  // What the index holds under the same paths.
  struct Known {
    int64_t id, size, modifiedMs;
  };
  std::unordered_map<std::string, Known> known;
  for (const std::string& folder : request.folders) {
    const std::string prefix = platform::joinPath(folder, "", request.separator);
    const auto range = prefixRange(prefix);
    s.knownUnder.bind(1, range.first).bind(2, range.second);
    while (s.knownUnder.step()) {
      std::string path = s.knownUnder.text(1);
      if (!request.recursive && path.find(request.separator, prefix.size()) != std::string::npos)
        continue;
      known.emplace(std::move(path),
                    Known{s.knownUnder.integer(0), s.knownUnder.integer(2), s.knownUnder.integer(3)});
    }
    s.knownUnder.reset();
  }
  for (const std::string& file : request.files) {
    s.recordingOfPath.bind(1, file);
    if (s.recordingOfPath.step()) {
      known.emplace(file, Known{s.recordingOfPath.integer(0), s.recordingOfPath.integer(1),
                                s.recordingOfPath.integer(2)});
    }
    s.recordingOfPath.reset();
  }

  std::vector<FoundFile> toRead;
  std::set<std::string> present;
  for (FoundFile& file : found) {
    present.insert(file.path);
    const auto old = known.find(file.path);
    if (old != known.end() && old->second.size == file.size &&
        old->second.modifiedMs == file.modifiedMs) {
      ++stats.unchanged;
    } else {
      toRead.push_back(std::move(file));
    }
  }
  for (const auto& [path, old] : known) {
    if (present.count(path) != 0) continue;
    Transaction transaction(db_);
    removeRecording(old.id);
    transaction.commit();
    ++stats.removed;
  }

  std::atomic<bool> halted{false};
  ParallelReading how;
  how.jobs = request.jobs;
  how.fallbackCodePage = request.fallbackCodePage;
  how.stop = [&] {
    return halted.load(std::memory_order_relaxed) ||
           (control.stop != nullptr && control.stop->load(std::memory_order_relaxed));
  };
  UpdateProgress progress{0, toRead.size()};
  try {
    readInParallel(toRead, how, [&](RecordingRow&& row) {
      write(row);
      ++stats.read;
      if (!row.loaded) ++stats.notLoaded;
      ++progress.done;
      if (control.progress) control.progress(progress);
      if (control.stopAfter && stats.read >= *control.stopAfter) halted = true;
    });
  } catch (...) {
    // A rolled-back name or map may be in them.
    s.nameIds.clear();
    s.mapIds.clear();
    throw;
  }
  stats.stopped = stats.read < toRead.size();
  s.deleteUnusedNames.run();
  // The journal's pages go into the database once, at the end, rather
  // than every thousand pages with a flush to the disk each time.
  db_.execute("PRAGMA wal_checkpoint(TRUNCATE)");
  s.deleteUnusedMaps.run();
  s.nameIds.clear();
  s.mapIds.clear();
  return stats;
}

Statement& Archive::searchStatement(const std::string& sql) {
  std::unique_ptr<Statement>& statement = searches_[sql];
  if (!statement) statement = std::make_unique<Statement>(db_.handle(), sql);
  return *statement;
}

namespace {

std::string unindexed(std::string conditions) {
  for (const char* column : {"p.name_id", "p.civ_id", "p.result"}) {
    const std::string plain = std::string(" ") + column;
    for (std::size_t at = conditions.find(plain); at != std::string::npos;
         at = conditions.find(plain, at + plain.size() + 1)) {
      conditions.insert(at + 1, "+");
    }
  }
  return conditions;
}

}  // namespace

int64_t Archive::count(const std::string& sql, const std::function<void(Statement&)>& bind) {
  Statement& statement = searchStatement(sql);
  bind(statement);
  statement.step();
  const int64_t rows = statement.integer(0);
  statement.reset();
  return rows;
}

SearchResult Archive::search(const SearchQuery& query) {
  Statements& s = *statements_;
  // A criterion that matches fewer rows than this drives the search from its
  // own index; a broader one is checked game by game while the games are
  // walked newest first, which fills a page of results early either way.
  constexpr int64_t kSelective = 20000;
  const std::string limitText = " LIMIT " + std::to_string(kSelective) + ")";

  const std::string name = foldForSearch(query.playerName);
  const std::string map = foldForSearch(query.map);
  std::string playerWhere;  // conditions on one player row p
  if (!name.empty()) playerWhere += " AND p.name_id IN (SELECT id FROM name WHERE instr(folded, ?1) > 0)";
  if (query.civId) playerWhere += " AND p.civ_id = ?2";
  if (query.outcome == PlayerOutcome::kWon) playerWhere += " AND p.result = 'won'";
  if (query.outcome == PlayerOutcome::kLost || query.outcome == PlayerOutcome::kResigned)
    playerWhere += " AND p.result IN ('lost', 'resigned')";
  const std::string mapKeys = " (SELECT id FROM map WHERE instr(folded, ?3) > 0)";
  const auto range = prefixRange(query.under);
  const auto bindPlayer = [&](Statement& statement) {
    if (!name.empty()) statement.bind(1, name);
    if (query.civId) statement.bind(2, int64_t{*query.civId});
  };
  const auto bindMap = [&](Statement& statement) {
    if (!map.empty()) statement.bind(3, map);
  };
  const auto bindUnder = [&](Statement& statement) {
    if (!query.under.empty()) statement.bind(6, range.first).bind(7, range.second);
  };

  // How many rows each criterion matches, up to kSelective.
  enum Driver { kByDate, kByPlayer, kByMap, kByFolder };
  Driver driver = kByDate;
  int64_t fewest = kSelective;
  const auto consider = [&](Driver candidate, const std::string& sql,
                            const std::function<void(Statement&)>& bind) {
    const int64_t rows = count(sql, bind);
    if (rows < fewest) fewest = rows, driver = candidate;
  };
  if (!playerWhere.empty())
    consider(kByPlayer, "SELECT count(*) FROM (SELECT 1 FROM player p WHERE 1" + playerWhere + limitText,
             bindPlayer);
  if (!map.empty())
    consider(kByMap, "SELECT count(*) FROM (SELECT 1 FROM recording WHERE map_key IN" + mapKeys + limitText,
             bindMap);
  if (!query.under.empty())
    consider(kByFolder, "SELECT count(*) FROM (SELECT 1 FROM recording WHERE path >= ?6 AND path < ?7" + limitText,
             bindUnder);

  // The games found go into a table of this connection, in order, and what
  // is shown of them is read by joining it: three statements for a page of
  // results rather than two for each game.
  std::string sql =
      "INSERT INTO temp.hits(game_id, main_recording, played_ms) SELECT g.id, g.main_recording, "
      "g.played_ms FROM game g JOIN recording r ON r.id = g.main_recording WHERE 1";
  if (!playerWhere.empty()) {
    sql += driver == kByPlayer
               ? " AND g.id IN (SELECT q.game_id FROM player p JOIN recording q ON q.id = p.recording_id WHERE 1" + playerWhere + ")"
               // Unary + keeps the planner on the recording's few players
               // rather than probing the name index for every game.
               : " AND EXISTS (SELECT 1 FROM recording q JOIN player p ON p.recording_id = q.id WHERE q.game_id = g.id" +
                     unindexed(playerWhere) + ")";
  }
  if (!map.empty()) {
    sql += driver == kByMap ? " AND g.id IN (SELECT game_id FROM recording WHERE map_key IN" + mapKeys + ")"
                            : " AND r.map_key IN" + mapKeys;
  }
  if (!query.under.empty()) {
    sql += driver == kByFolder
               ? " AND g.id IN (SELECT game_id FROM recording WHERE path >= ?6 AND path < ?7)"
               : " AND EXISTS (SELECT 1 FROM recording u WHERE u.game_id = g.id AND u.path >= ?6 AND u.path < ?7)";
  }
  if (query.fromMs) sql += " AND g.played_ms >= ?4";
  if (query.toMs) sql += " AND g.played_ms < ?5";
  sql += " ORDER BY g.played_ms DESC, g.id DESC LIMIT ?8";

  Statement& find = searchStatement(sql);
  bindPlayer(find);
  bindMap(find);
  bindUnder(find);
  if (query.fromMs) find.bind(4, *query.fromMs);
  if (query.toMs) find.bind(5, *query.toMs);
  find.bind(8, static_cast<int64_t>(query.limit) + 1);

  s.clearHits.run();
  find.run();

  SearchResult result;
  std::unordered_map<int64_t, std::size_t> byRank;
  while (s.hitGames.step()) {
    if (result.games.size() == query.limit) {
      result.more = true;
      break;
    }
    byRank.emplace(s.hitGames.integer(0), result.games.size());
    GameHit hit;
    hit.gameId = s.hitGames.integer(1);
    hit.playedMs = s.hitGames.integer(2);
    hit.certainty = certaintyFromText(s.hitGames.text(3));
    hit.mapType = s.hitGames.text(4);
    hit.mapNameById = s.hitGames.text(5);
    hit.durationMs = s.hitGames.integer(6);
    hit.edition = s.hitGames.text(7);
    result.games.push_back(std::move(hit));
  }
  s.hitGames.reset();
  while (s.hitPlayers.step()) {
    const auto game = byRank.find(s.hitPlayers.integer(0));
    if (game == byRank.end()) continue;
    HitPlayer player;
    player.position = static_cast<int32_t>(s.hitPlayers.integer(1));
    player.number = static_cast<int32_t>(s.hitPlayers.integer(2));
    player.name = s.hitPlayers.text(3);
    player.civId = static_cast<int32_t>(s.hitPlayers.integer(4));
    player.team = s.hitPlayers.text(5);
    player.outcome = outcomeFromText(s.hitPlayers.text(6));
    if (!s.hitPlayers.isNull(7)) player.actionsPerMinute = s.hitPlayers.real(7);
    player.buildings = static_cast<int32_t>(s.hitPlayers.integer(8));
    player.units = static_cast<int32_t>(s.hitPlayers.integer(9));
    player.technologies = static_cast<int32_t>(s.hitPlayers.integer(10));
    result.games[game->second].players.push_back(std::move(player));
  }
  s.hitPlayers.reset();
  while (s.hitRecordings.step()) {
    const auto game = byRank.find(s.hitRecordings.integer(0));
    if (game == byRank.end()) continue;
    result.games[game->second].recordings.push_back(
        {s.hitRecordings.integer(1), s.hitRecordings.text(2),
         static_cast<int32_t>(s.hitRecordings.integer(3)), s.hitRecordings.integer(4) != 0});
  }
  s.hitRecordings.reset();
  return result;
}

ArchiveCounts Archive::counts() {
  Statement& c = statements_->counts;
  c.step();
  const ArchiveCounts counts{c.integer(0), c.integer(1), c.integer(2), c.integer(3), c.integer(4)};
  c.reset();
  return counts;
}

}  // namespace morvane::archive
