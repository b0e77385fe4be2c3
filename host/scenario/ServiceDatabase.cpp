#include "host/scenario/ServiceDatabase.h"

#include <sqlite3.h>

#include <memory>

#include "library/support/Error.h"

namespace host::scenario {
namespace {

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

[[noreturn]] void RaiseDatabase(const std::string& path, const std::string& what) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x151, "reminder-host",
                        "Cannot read the service database " + path + ": " + what);
}

std::string Column(sqlite3_stmt* s, int index) {
  const unsigned char* text = sqlite3_column_text(s, index);
  return text ? reinterpret_cast<const char*>(text) : "";
}

Statement Prepare(sqlite3* db, const std::string& path, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) RaiseDatabase(path, sqlite3_errmsg(db));
  return Statement(raw);
}

}  // namespace

std::vector<ServiceEvent> ReadServiceEvents(const std::string& databasePath, const std::string& userId) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(databasePath.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  Database db(raw);
  if (rc != SQLITE_OK) RaiseDatabase(databasePath, raw ? sqlite3_errmsg(raw) : "cannot open");
  sqlite3_busy_timeout(db.get(), 5000);

  std::vector<ServiceEvent> events;
  Statement list = Prepare(db.get(), databasePath,
                           "SELECT e.id, e.event_datetime, e.subject, e.description, COALESCE(r.remind_datetime, '') "
                           "FROM events e LEFT JOIN reminders r ON r.event_id = e.id WHERE e.member = ? ORDER BY e.id");
  sqlite3_bind_text(list.get(), 1, userId.c_str(), -1, SQLITE_TRANSIENT);
  while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) {
    ServiceEvent e;
    e.id = sqlite3_column_int64(list.get(), 0);
    e.eventDateTime = Column(list.get(), 1);
    e.subject = Column(list.get(), 2);
    e.description = Column(list.get(), 3);
    e.remindDateTime = Column(list.get(), 4);
    events.push_back(e);
  }
  if (rc != SQLITE_DONE) RaiseDatabase(databasePath, sqlite3_errmsg(db.get()));

  Statement devices = Prepare(db.get(), databasePath,
                              "SELECT type, address, provider FROM reminder_devices WHERE event_id = ? ORDER BY position");
  for (ServiceEvent& e : events) {
    sqlite3_reset(devices.get());
    sqlite3_bind_int64(devices.get(), 1, e.id);
    while (sqlite3_step(devices.get()) == SQLITE_ROW) {
      e.devices.push_back({Column(devices.get(), 0), Column(devices.get(), 1), Column(devices.get(), 2)});
    }
  }
  return events;
}

}  // namespace host::scenario
