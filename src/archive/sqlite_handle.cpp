#include "archive/sqlite_handle.h"

#include <sqlite3.h>

namespace morvane::archive {
namespace {

// A busy database (the window reading while the worker writes) is waited for.
constexpr int kBusyWaitMs = 5000;

[[noreturn]] void fail(sqlite3* db, int code, const std::string& what) {
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  throw ArchiveError(problemOf(code), what + ": " + (message != nullptr ? message : "?"));
}

}  // namespace

ArchiveProblem problemOf(int code) {
  switch (code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return ArchiveProblem::kDamaged;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
      return ArchiveProblem::kCannotOpen;
    default:
      return ArchiveProblem::kFailed;
  }
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  const int code =
      sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &statement_, nullptr);
  if (code != SQLITE_OK) fail(db, code, "prepare");
}

Statement::~Statement() { sqlite3_finalize(statement_); }

void Statement::check(int code) const {
  if (code != SQLITE_OK) fail(db_, code, "bind");
}

Statement& Statement::bind(int index, int64_t value) {
  check(sqlite3_bind_int64(statement_, index, value));
  return *this;
}

Statement& Statement::bind(int index, double value) {
  check(sqlite3_bind_double(statement_, index, value));
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  check(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::bindNull(int index) {
  check(sqlite3_bind_null(statement_, index));
  return *this;
}

bool Statement::step() {
  const int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  sqlite3_reset(statement_);
  fail(db_, code, "step");
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() { sqlite3_reset(statement_); }

bool Statement::isNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

int64_t Statement::integer(int column) const { return sqlite3_column_int64(statement_, column); }

double Statement::real(int column) const { return sqlite3_column_double(statement_, column); }

std::string Statement::text(int column) const {
  const auto* bytes = sqlite3_column_text(statement_, column);
  if (bytes == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(bytes),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

Database::Database(const std::string& path, Mode mode) : path_(path) {
  const int flags = (mode == Mode::kReadOnly ? SQLITE_OPEN_READONLY
                                             : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                    SQLITE_OPEN_NOMUTEX;
  const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (code != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ArchiveError(problemOf(code), path + ": " + message);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyWaitMs);
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::execute(std::string_view sql) {
  const std::string text(sql);
  char* message = nullptr;
  const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
  if (code != SQLITE_OK) {
    const std::string reason = message != nullptr ? message : sqlite3_errstr(code);
    sqlite3_free(message);
    throw ArchiveError(problemOf(code), path_ + ": " + reason);
  }
}

int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

void Database::interrupt() { sqlite3_interrupt(db_); }

// A savepoint outside any transaction begins one and its release commits
// it; inside a batch it is a part of the batch.
Transaction::Transaction(Database& db) : db_(db) { db_.execute("SAVEPOINT unit"); }

Transaction::~Transaction() {
  if (!open_) return;
  char* message = nullptr;
  sqlite3_exec(db_.handle(), "ROLLBACK TO unit; RELEASE unit", nullptr, nullptr, &message);
  sqlite3_free(message);
}

void Transaction::commit() {
  db_.execute("RELEASE unit");
  open_ = false;
}

}  // namespace morvane::archive
