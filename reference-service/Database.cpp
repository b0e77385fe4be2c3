#include "reference-service/Database.h"

namespace reminder_service {

namespace {

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
  throw DatabaseError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

sqlite3* OpenRaw(const std::string& path) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw DatabaseError("Cannot open the database " + path + ": " + message);
  }
  return db;
}

}  // namespace

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db), stmt_(nullptr, sqlite3_finalize) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
    Fail(db, "Cannot prepare \"" + sql + "\"");
  stmt_.reset(raw);
}

Statement& Statement::Bind(int index, const std::string& text) {
  if (sqlite3_bind_text(stmt_.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
    Fail(db_, "Cannot bind a text");
  return *this;
}

Statement& Statement::Bind(int index, int64_t number) {
  if (sqlite3_bind_int64(stmt_.get(), index, number) != SQLITE_OK) Fail(db_, "Cannot bind a number");
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_.get());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_, "Database statement failed");
}

void Statement::Run() {
  while (Step()) {
  }
}

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
  if (!text) return std::string();
  return std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column)));
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_.get(), column); }

Connection::Connection(const std::string& path) : db_(OpenRaw(path), sqlite3_close) {
  // Concurrent requests and a second process on the same file wait instead of failing.
  sqlite3_busy_timeout(db_.get(), 5000);
  Exec("PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL;");
}

void Connection::Exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : "unknown error";
    sqlite3_free(message);
    throw DatabaseError("Database statement failed: " + text);
  }
}

Transaction::Transaction(Connection& connection) : connection_(connection) { connection_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (done_) return;
  try {
    connection_.Exec("ROLLBACK");
  } catch (const DatabaseError&) {
    // A failed rollback leaves SQLite to undo the transaction when the connection closes.
  }
}

void Transaction::Commit() {
  connection_.Exec("COMMIT");
  done_ = true;
}

}  // namespace reminder_service
