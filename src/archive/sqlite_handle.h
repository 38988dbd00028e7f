// The archive's thin hold on SQLite: a connection and its prepared
// statements, each prepared once and kept by the code that names it. Any
// failure becomes an ArchiveError, so no caller goes on with half a result.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace morvane::archive {

// Why the index could not be used.
enum class ArchiveProblem {
  kCannotOpen,   // no such folder, no right to write, ...
  kDamaged,      // not a database, or one whose pages do not check
  kNewerSchema,  // written by a newer program: never read with our schema
  kFailed,       // any other failure of a statement
};

class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(ArchiveProblem problem, const std::string& message)
      : std::runtime_error(message), problem_(problem) {}
  ArchiveProblem problem() const { return problem_; }

 private:
  ArchiveProblem problem_;
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds by 1-based index; reset() clears the step but keeps the bindings.
  Statement& bind(int index, int64_t value);
  Statement& bind(int index, double value);
  Statement& bind(int index, std::string_view text);
  Statement& bindNull(int index);
  template <typename T>
  Statement& bind(int index, const std::optional<T>& value) {
    return value ? bind(index, static_cast<int64_t>(*value)) : bindNull(index);
  }
  Statement& bind(int index, const std::optional<float>& value) {
    return value ? bind(index, static_cast<double>(*value)) : bindNull(index);
  }
  // True while a row is there.
  bool step();
  // Steps to the end and resets, for a statement that returns no rows.
  void run();
  void reset();

  bool isNull(int column) const;
  int64_t integer(int column) const;
  double real(int column) const;
  std::string text(int column) const;

 private:
  void check(int code) const;
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

class Database {
 public:
  enum class Mode { kReadWrite, kReadOnly };
  // Opens (creating where kReadWrite) the database file at a UTF-8 path.
  Database(const std::string& path, Mode mode);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void execute(std::string_view sql);
  sqlite3* handle() const { return db_; }
  int64_t lastInsertId() const;
  const std::string& path() const { return path_; }
  // Makes a long statement of another thread end soon with an error.
  void interrupt();

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
};

// The problem a SQLite result code stands for.
ArchiveProblem problemOf(int code);

// One unit of work that stands or falls whole; rolled back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  void commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace morvane::archive
