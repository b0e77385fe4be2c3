#pragma once
// A thin RAII layer over SQLite: a connection, prepared statements and transactions.
// Every failure throws DatabaseError with SQLite's own message.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace reminder_service {

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One prepared statement; finalised when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);

  // Binds by 1-based index; returns *this so binds chain.
  Statement& Bind(int index, const std::string& text);
  Statement& Bind(int index, int64_t number);

  // Runs one step: true while a row is ready, false when done.
  bool Step();
  // Runs the statement to its end, ignoring rows.
  void Run();

  // Column values of the current row (0-based); NULL reads as empty text or 0.
  std::string Text(int column) const;
  int64_t Int(int column) const;

 private:
  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt_;
};

// One connection with WAL journaling, a busy timeout and foreign keys on.
class Connection {
 public:
  explicit Connection(const std::string& path);

  // Runs one or more statements without results.
  void Exec(const std::string& sql);
  Statement Prepare(const std::string& sql) { return Statement(db_.get(), sql); }
  int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_.get()); }
  int Changes() const { return sqlite3_changes(db_.get()); }

 private:
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db_;
};

// BEGIN IMMEDIATE on construction; rolled back unless Commit was called.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

}  // namespace reminder_service
