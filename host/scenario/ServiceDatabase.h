#pragma once
// What the reference service holds for a member, read from its SQLite database (opened
// read-only, while the service runs), for scenarios that check what reached the service.
#include <cstdint>
#include <string>
#include <vector>

namespace host::scenario {

struct ServiceDevice {
  std::string type;
  std::string address;
  std::string provider;
};

struct ServiceEvent {
  int64_t id = 0;
  std::string eventDateTime;
  std::string subject;
  std::string description;
  std::string remindDateTime;
  std::vector<ServiceDevice> devices;
};

// The member's events with their reminders, in the order they were created. Raises
// falcrest::Error when the database cannot be read.
std::vector<ServiceEvent> ReadServiceEvents(const std::string& databasePath, const std::string& userId);

}  // namespace host::scenario
