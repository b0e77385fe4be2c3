#pragma once
// Who is logged in on the pages, and how soon a user ID may try a password again.
// Both live in memory only: a restart logs everyone out and forgets failed tries.
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace reminder_service {

using SteadyClock = std::chrono::steady_clock;

class Sessions {
 public:
  explicit Sessions(SteadyClock::duration idleLimit = std::chrono::minutes(30)) : idleLimit_(idleLimit) {}

  // Starts a session for the member; returns its token (64 hex digits).
  std::string Start(const std::string& userId);
  // The member of a live session, which counts as a use; nothing for an unknown or idle token.
  std::optional<std::string> MemberOf(const std::string& token);
  // Ends the session; an unknown token is ignored.
  void End(const std::string& token);

 private:
  struct Entry {
    std::string userId;
    SteadyClock::time_point lastUse;
  };

  const SteadyClock::duration idleLimit_;
  std::mutex mutex_;
  std::unordered_map<std::string, Entry> byToken_;
};

// After three tries in a row that did not log in, each further try of the same user ID must
// wait 1, 2, 4 ... at most 30 seconds after the one before; a success or 15 quiet minutes
// start the count afresh. Every user ID is counted alike, known or not.
class LogInThrottle {
 public:
  // Seconds this user ID must still wait; 0 admits the try now, counted as failed until
  // Succeeded is called (so tries sent at once cannot slip past the count).
  int Admit(const std::string& userId);
  void Succeeded(const std::string& userId);

 private:
  struct Entry {
    int tries = 0;
    SteadyClock::time_point last;
  };

  std::mutex mutex_;
  std::unordered_map<std::string, Entry> byUser_;
};

}  // namespace reminder_service
