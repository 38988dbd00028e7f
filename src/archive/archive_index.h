// The index of every recording a player keeps: one SQLite file of the
// recordings, the games they show and the players in them (the tables are
// described in docs/archive.md). Every statement is prepared here and named
// for what it does; callers only call functions. One object is one
// connection, used by one thread at a time; the window reads through its own
// while a worker updates through another.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/recording_row.h"
#include "archive/sqlite_handle.h"

namespace morvane::archive {

// The layout of the tables. A newer program migrates an older index forward
// step by step; an index of a newer layout than this is refused, not read.
inline constexpr int kSchemaVersion = 3;
// Raised whenever the reader changes what it finds in a recording: every
// file is then read again at the next update.
// 2: the Definitive Edition's computer players and AI section.
// 3: each player's actions per minute and counts of what was built, trained
//    and researched, from the walk of every command; the game id and the
//    first world checksums.
// 4: a Definitive Edition game on a custom map named by its script's file.
// 5: when the game was played, where the Definitive Edition's header states it.
// 6: the later edition's custom map by its script's file.
inline constexpr int kReaderRevision = 6;

struct UpdateRequest {
  std::vector<std::string> folders;  // exact paths, without a trailing separator
  std::vector<std::string> files;    // exact paths of single recordings
  bool recursive = false;
  char separator = '/';
  unsigned jobs = 1;
  int fallbackCodePage = 1252;  // for names whose code page nothing decides
};

struct UpdateProgress {
  std::size_t done = 0;   // files read and written
  std::size_t total = 0;  // files to read
};

struct UpdateControl {
  // On the updating thread after each file written.
  std::function<void(const UpdateProgress&)> progress;
  // Set from any thread to stop between files; what is written stays.
  const std::atomic<bool>* stop = nullptr;
  // For the tests: stop after this many files written, as a kill would.
  std::optional<std::size_t> stopAfter;
};

struct UpdateStats {
  std::size_t found = 0;      // recording files under the paths
  std::size_t read = 0;       // new or changed, read and written
  std::size_t unchanged = 0;  // same size and time as indexed
  std::size_t removed = 0;    // indexed, no longer there
  std::size_t notLoaded = 0;  // of those read
  bool stopped = false;
};

struct SearchQuery {
  // One player of the game matching all of these:
  std::string playerName;         // a part of the name, any case
  std::optional<int32_t> civId;
  std::optional<PlayerOutcome> outcome;  // kLost also finds kResigned
  std::string map;                // a part of the map type text or name
  std::optional<int64_t> fromMs;  // played at or after, ms since 1970 UTC
  std::optional<int64_t> toMs;    // played before
  std::string under;  // a recording of the game in this folder tree (exact path + separator)
  std::size_t limit = 1000;
};

struct HitPlayer {
  int32_t position = 0;
  int32_t number = 0;
  std::string name;
  int32_t civId = 0;
  std::string team;
  PlayerOutcome outcome = PlayerOutcome::kUnknown;
  std::optional<double> actionsPerMinute;  // absent where the walk named no one
  int32_t buildings = 0;
  int32_t units = 0;
  int32_t technologies = 0;
};

struct HitRecording {
  int64_t id = 0;
  std::string path;
  int32_t povNumber = 0;
  bool copy = false;  // byte-identical to another recording of the index
};

struct GameHit {
  int64_t gameId = 0;
  // When it was played, as its recordings state it, else the last write of
  // its longest recording.
  int64_t playedMs = 0;
  KeyCertainty certainty = KeyCertainty::kFile;
  std::string mapType;
  std::string mapNameById;
  int64_t durationMs = 0;
  std::string edition;
  std::vector<HitPlayer> players;        // of its longest recording
  std::vector<HitRecording> recordings;  // all of them, by path
};

struct SearchResult {
  std::vector<GameHit> games;  // newest first
  bool more = false;           // the limit cut the list
};

struct ArchiveCounts {
  int64_t recordings = 0;
  int64_t loaded = 0;
  int64_t games = 0;
  int64_t players = 0;
  int64_t copies = 0;
};

class Archive {
 public:
  enum class Check { kNone, kQuick };
  // Opens the index at path (UTF-8), creating it where there is none and
  // migrating an older layout. Throws ArchiveError: kDamaged (with the path)
  // for a file that is not an index or whose pages do not check,
  // kNewerSchema for one a newer program wrote.
  explicit Archive(const std::string& path, Check check = Check::kQuick);
  ~Archive();

  // Removes the index file and its journal, for a rebuild; true when gone.
  static bool removeIndexFiles(const std::string& path);

  // Reads what is new or changed under the request's paths and drops what
  // is gone; each file's rows are written in a transaction of their own.
  UpdateStats update(const UpdateRequest& request, const UpdateControl& control = {});

  // Writes one recording's rows in a transaction of their own, replacing
  // those of the same path: what update does with each file it reads.
  void write(const RecordingRow& row);
  // Many writes committed together, for loading made-up rows in bulk; an
  // update never runs inside one.
  class Batch {
   public:
    explicit Batch(Archive& archive) : db_(archive.db_) { db_.execute("BEGIN"); }
    ~Batch() { db_.execute("COMMIT"); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    Database& db_;
  };

  SearchResult search(const SearchQuery& query);
  ArchiveCounts counts();
  const std::string& path() const { return db_.path(); }
  // Makes a running statement of another thread fail soon (cancel).
  void interrupt() { db_.interrupt(); }

 private:
  struct Statements;
  void prepareSchema(Check check);
  void removeRecording(int64_t id);
  void refreshGame(int64_t gameId);
  void refreshCopies(const std::string& contentHash);
  int64_t nameId(const std::string& folded);
  int64_t mapKey(const std::string& folded);
  int64_t count(const std::string& sql, const std::function<void(Statement&)>& bind);
  Statement& searchStatement(const std::string& sql);

  Database db_;
  std::unique_ptr<Statements> statements_;
  std::map<std::string, std::unique_ptr<Statement>> searches_;
};

}  // namespace morvane::archive
