#include "reference-service/ReminderStore.h"

#include <algorithm>

#include "library/constants/DeviceTypes.h"
#include "reference-service/PasswordDigest.h"
#include "reference-service/Secrets.h"

namespace reminder_service {

namespace {

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS members (
  user_id TEXT PRIMARY KEY NOT NULL,
  password_md5 TEXT NOT NULL,
  first_name TEXT NOT NULL DEFAULT '',
  last_name TEXT NOT NULL DEFAULT '',
  signup_email TEXT NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS devices (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  member TEXT NOT NULL REFERENCES members(user_id) ON DELETE CASCADE,
  type TEXT NOT NULL,
  address TEXT NOT NULL,
  provider TEXT NOT NULL DEFAULT '',
  UNIQUE (member, type)
);
CREATE TABLE IF NOT EXISTS events (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  member TEXT NOT NULL REFERENCES members(user_id) ON DELETE CASCADE,
  event_datetime TEXT NOT NULL,
  subject TEXT NOT NULL,
  description TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS events_by_key ON events (member, event_datetime, subject);
CREATE TABLE IF NOT EXISTS event_links (
  event_id INTEGER PRIMARY KEY REFERENCES events(id) ON DELETE CASCADE,
  token TEXT NOT NULL UNIQUE
);
CREATE TABLE IF NOT EXISTS reminders (
  event_id INTEGER PRIMARY KEY REFERENCES events(id) ON DELETE CASCADE,
  remind_datetime TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS reminder_devices (
  event_id INTEGER NOT NULL REFERENCES reminders(event_id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  type TEXT NOT NULL,
  address TEXT NOT NULL,
  provider TEXT NOT NULL,
  PRIMARY KEY (event_id, position)
);
)sql";

// Position of a device type name in the ten, for ordering; unknown names last.
int TypeOrder(const std::string& type) {
  for (size_t i = 0; i < falcrest::kDeviceTypeNames.size(); ++i)
    if (type == falcrest::kDeviceTypeNames[i]) return static_cast<int>(i);
  return static_cast<int>(falcrest::kDeviceTypeNames.size());
}

Device ReadDevice(const Statement& s) {
  Device d;
  d.id = s.Int(0);
  d.type = s.Text(1);
  d.address = s.Text(2);
  d.provider = s.Text(3);
  return d;
}

}  // namespace

ReminderStore::ReminderStore(const std::string& path) : db_(path) {
  db_.Exec(kSchema);
  // A database from before detail tokens: give its events theirs.
  std::vector<int64_t> unlinked;
  auto s = db_.Prepare("SELECT id FROM events WHERE id NOT IN (SELECT event_id FROM event_links)");
  while (s.Step()) unlinked.push_back(s.Int(0));
  for (int64_t id : unlinked) AddDetailToken(id);
}

std::string ReminderStore::AddDetailToken(int64_t eventId) {
  std::string token = RandomToken(16);
  db_.Prepare("INSERT INTO event_links (event_id, token) VALUES (?, ?)").Bind(1, eventId).Bind(2, token).Run();
  return token;
}

bool ReminderStore::AddMember(const Member& m) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(
      "INSERT OR IGNORE INTO members (user_id, password_md5, first_name, last_name, signup_email) "
      "VALUES (?, ?, ?, ?, ?)");
  s.Bind(1, m.userId).Bind(2, m.passwordDigest).Bind(3, m.firstName).Bind(4, m.lastName).Bind(5, m.signupEmail);
  s.Run();
  return db_.Changes() == 1;
}

std::optional<Member> ReminderStore::FindMember(const std::string& userId) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(
      "SELECT user_id, password_md5, first_name, last_name, signup_email FROM members WHERE user_id = ?");
  s.Bind(1, userId);
  if (!s.Step()) return std::nullopt;
  return Member{s.Text(0), s.Text(1), s.Text(2), s.Text(3), s.Text(4)};
}

std::optional<Device> ReminderStore::FindDevice(const std::string& userId, const std::string& type) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare("SELECT id, type, address, provider FROM devices WHERE member = ? AND type = ?");
  s.Bind(1, userId).Bind(2, type);
  if (!s.Step()) return std::nullopt;
  return ReadDevice(s);
}

std::vector<Device> ReminderStore::Devices(const std::string& userId) {
  std::vector<Device> devices;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto s = db_.Prepare("SELECT id, type, address, provider FROM devices WHERE member = ?");
    s.Bind(1, userId);
    while (s.Step()) devices.push_back(ReadDevice(s));
  }
  std::stable_sort(devices.begin(), devices.end(),
                   [](const Device& a, const Device& b) { return TypeOrder(a.type) < TypeOrder(b.type); });
  return devices;
}

void ReminderStore::SetDevice(const std::string& userId, const Device& device) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(
      "INSERT INTO devices (member, type, address, provider) VALUES (?, ?, ?, ?) "
      "ON CONFLICT (member, type) DO UPDATE SET address = excluded.address, provider = excluded.provider");
  s.Bind(1, userId).Bind(2, device.type).Bind(3, device.address).Bind(4, device.provider);
  s.Run();
}

void ReminderStore::RemoveDevice(const std::string& userId, const std::string& type) {
  std::lock_guard<std::mutex> lock(mutex_);
  db_.Prepare("DELETE FROM devices WHERE member = ? AND type = ?").Bind(1, userId).Bind(2, type).Run();
}

void ReminderStore::WriteReminder(int64_t eventId, const ReminderData& data) {
  db_.Prepare("INSERT OR REPLACE INTO reminders (event_id, remind_datetime) VALUES (?, ?)")
      .Bind(1, eventId)
      .Bind(2, data.remindDateTime)
      .Run();
  db_.Prepare("DELETE FROM reminder_devices WHERE event_id = ?").Bind(1, eventId).Run();
  int64_t position = 0;
  for (const Device& d : data.devices) {
    db_.Prepare("INSERT INTO reminder_devices (event_id, position, type, address, provider) VALUES (?, ?, ?, ?, ?)")
        .Bind(1, eventId)
        .Bind(2, position++)
        .Bind(3, d.type)
        .Bind(4, d.address)
        .Bind(5, d.provider)
        .Run();
  }
}

NewEvent ReminderStore::AddEvent(const std::string& userId, const ReminderData& data) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction tx(db_);
  db_.Prepare("INSERT INTO events (member, event_datetime, subject, description) VALUES (?, ?, ?, ?)")
      .Bind(1, userId)
      .Bind(2, data.eventDateTime)
      .Bind(3, data.subject)
      .Bind(4, data.description)
      .Run();
  NewEvent added{db_.LastInsertId(), ""};
  added.detailToken = AddDetailToken(added.id);
  WriteReminder(added.id, data);
  tx.Commit();
  return added;
}

std::vector<int64_t> ReminderStore::FindEvents(const std::string& userId, const std::string& eventDateTime,
                                               const std::string& subject) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(
      "SELECT id FROM events WHERE member = ? AND event_datetime = ? AND subject = ? ORDER BY id");
  s.Bind(1, userId).Bind(2, eventDateTime).Bind(3, subject);
  std::vector<int64_t> ids;
  while (s.Step()) ids.push_back(s.Int(0));
  return ids;
}

int ReminderStore::DeleteEvent(const std::string& userId, int64_t eventId) {
  std::lock_guard<std::mutex> lock(mutex_);
  // Reminder and its devices go with the event through the cascading keys.
  db_.Prepare("DELETE FROM events WHERE id = ? AND member = ?").Bind(1, eventId).Bind(2, userId).Run();
  return db_.Changes();
}

bool ReminderStore::ReplaceEvent(const std::string& userId, int64_t eventId, const ReminderData& data) {
  std::lock_guard<std::mutex> lock(mutex_);
  Transaction tx(db_);
  db_.Prepare("UPDATE events SET event_datetime = ?, subject = ?, description = ? WHERE id = ? AND member = ?")
      .Bind(1, data.eventDateTime)
      .Bind(2, data.subject)
      .Bind(3, data.description)
      .Bind(4, eventId)
      .Bind(5, userId)
      .Run();
  if (db_.Changes() != 1) return false;
  WriteReminder(eventId, data);
  tx.Commit();
  return true;
}

std::vector<Device> ReminderStore::ReminderDevices(int64_t eventId) {
  auto s = db_.Prepare("SELECT 0, type, address, provider FROM reminder_devices WHERE event_id = ? ORDER BY position");
  s.Bind(1, eventId);
  std::vector<Device> devices;
  while (s.Step()) devices.push_back(ReadDevice(s));
  return devices;
}

namespace {
const char* const kEventColumns =
    "SELECT e.id, e.member, e.event_datetime, e.subject, e.description, COALESCE(r.remind_datetime, ''), "
    "COALESCE(l.token, '') "
    "FROM events e LEFT JOIN reminders r ON r.event_id = e.id LEFT JOIN event_links l ON l.event_id = e.id ";

StoredEvent ReadEvent(const Statement& s) {
  StoredEvent e;
  e.id = s.Int(0);
  e.member = s.Text(1);
  e.data.eventDateTime = s.Text(2);
  e.data.subject = s.Text(3);
  e.data.description = s.Text(4);
  e.data.remindDateTime = s.Text(5);
  e.detailToken = s.Text(6);
  return e;
}
}  // namespace

std::vector<StoredEvent> ReminderStore::EventsOf(const std::string& userId) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(std::string(kEventColumns) + "WHERE e.member = ? ORDER BY e.id");
  s.Bind(1, userId);
  std::vector<StoredEvent> events;
  while (s.Step()) events.push_back(ReadEvent(s));
  for (StoredEvent& e : events) e.data.devices = ReminderDevices(e.id);
  return events;
}

std::optional<StoredEvent> ReminderStore::FirstEvent(Statement& query) {
  if (!query.Step()) return std::nullopt;
  StoredEvent e = ReadEvent(query);
  e.data.devices = ReminderDevices(e.id);
  return e;
}

std::optional<StoredEvent> ReminderStore::FindEvent(int64_t eventId) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(std::string(kEventColumns) + "WHERE e.id = ?");
  s.Bind(1, eventId);
  return FirstEvent(s);
}

std::optional<StoredEvent> ReminderStore::FindMemberEvent(const std::string& userId, const std::string& detailToken) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto s = db_.Prepare(std::string(kEventColumns) + "WHERE l.token = ? AND e.member = ?");
  s.Bind(1, detailToken).Bind(2, userId);
  return FirstEvent(s);
}

void ReminderStore::SeedDemo() {
  AddMember(Member{"demo", PasswordDigest("demo"), "Demo", "Member", "demo@example.com"});
  if (!FindDevice("demo", "HomeEmail")) SetDevice("demo", Device{0, "HomeEmail", "demo@example.com", ""});
  if (!FindDevice("demo", "SMS")) SetDevice("demo", Device{0, "SMS", "5551234", "Acme"});
}

}  // namespace reminder_service
