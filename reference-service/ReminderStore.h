#pragma once
// The service's data: members, their devices, and the events with their reminders.
// One SQLite connection shared by all request threads, each call under one mutex.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "reference-service/Database.h"

namespace reminder_service {

struct Member {
  std::string userId;
  std::string passwordDigest;  // upper-case MD5 hex, as the client sends it
  std::string firstName;
  std::string lastName;
  std::string signupEmail;
};

struct Device {
  int64_t id = 0;
  std::string type;  // one of the ten device type names
  std::string address;
  std::string provider;  // SMS provider; empty for other kinds
};

// What a reminder request carries about the event and when and where to remind.
struct ReminderData {
  std::string eventDateTime;
  std::string subject;
  std::string description;
  std::string remindDateTime;
  std::vector<Device> devices;  // as sent; ids unused
};

struct StoredEvent {
  int64_t id = 0;
  std::string member;
  std::string detailToken;  // names the event on the detail page instead of its id
  ReminderData data;
};

struct NewEvent {
  int64_t id = 0;
  std::string detailToken;
};

class ReminderStore {
 public:
  // Opens (and creates when new) the database at `path`; throws DatabaseError.
  explicit ReminderStore(const std::string& path);

  // Adds a member; false when the user ID is taken.
  bool AddMember(const Member& member);
  std::optional<Member> FindMember(const std::string& userId);

  // The member's device of that type, if any.
  std::optional<Device> FindDevice(const std::string& userId, const std::string& type);
  // The member's devices in the order of the ten device type names.
  std::vector<Device> Devices(const std::string& userId);
  // Creates or replaces the member's device of that type.
  void SetDevice(const std::string& userId, const Device& device);
  void RemoveDevice(const std::string& userId, const std::string& type);

  // Stores a new event with its reminder and an unguessable detail token.
  NewEvent AddEvent(const std::string& userId, const ReminderData& data);
  // Ids of the member's events with exactly that date-time text and subject, ascending.
  std::vector<int64_t> FindEvents(const std::string& userId, const std::string& eventDateTime,
                                  const std::string& subject);
  // Removes the member's event and its reminder; returns the number removed (0 or 1).
  int DeleteEvent(const std::string& userId, int64_t eventId);
  // Replaces event data and reminder of the member's event; false when there is none.
  bool ReplaceEvent(const std::string& userId, int64_t eventId, const ReminderData& data);

  std::vector<StoredEvent> EventsOf(const std::string& userId);
  std::optional<StoredEvent> FindEvent(int64_t eventId);
  // The member's event with that detail token; nothing when the token names no event of theirs.
  std::optional<StoredEvent> FindMemberEvent(const std::string& userId, const std::string& detailToken);

  // Member "demo" (password "demo") with a home e-mail and an SMS device; safe to repeat.
  void SeedDemo();

 private:
  std::vector<Device> ReminderDevices(int64_t eventId);
  void WriteReminder(int64_t eventId, const ReminderData& data);
  std::string AddDetailToken(int64_t eventId);
  // The first row of an event query with its devices; nothing when there is no row.
  std::optional<StoredEvent> FirstEvent(Statement& query);

  std::mutex mutex_;
  Connection db_;
};

}  // namespace reminder_service
