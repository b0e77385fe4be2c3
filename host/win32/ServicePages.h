#pragma once
// What the reference service holds for a member, read from its member pages over HTTP (a
// Windows program cannot open the service's SQLite file while it runs): log in through the
// log-in form, read the reminder list, then each reminder's page for its description and
// devices. Gives the same records the POSIX runner reads from the database.
#include <map>
#include <string>
#include <vector>

#include "host/scenario/ServiceDatabase.h"

namespace host::win32 {

class ServicePages {
 public:
  // baseUrl: "http://127.0.0.1:PORT"; password: the member's password on the service.
  ServicePages(std::string baseUrl, std::string password)
      : baseUrl_(std::move(baseUrl)), password_(std::move(password)) {}

  // The member's events in the order they were created; raises falcrest::Error when the
  // service cannot be read or refuses the log-in.
  std::vector<scenario::ServiceEvent> Events(const std::string& userId);

 private:
  std::string Session(const std::string& userId);
  std::string baseUrl_;
  std::string password_;
  std::map<std::string, std::string> sessions_;  // user ID -> session cookie
};

// Pieces of the pages, kept apart so that they can be checked without a service.
std::string DecodeHtml(const std::string& html);
// "Text Messaging (SMS): 5551234 (Acme)" -> SMS, 5551234, Acme.
scenario::ServiceDevice ParseDeviceSummary(const std::string& text);

}  // namespace host::win32
