#include "reference-service/Sessions.h"

#include <algorithm>
#include <iterator>

#include "reference-service/Secrets.h"

namespace reminder_service {

namespace {

// Bounds the memory a flood of log-ins or wrong passwords can take.
constexpr size_t kMaxEntries = 10000;
constexpr auto kForgetTries = std::chrono::minutes(15);

// Before inserting into a full table: drop what is stale, and if that is not enough, the
// entry used longest ago.
template <typename Map, typename Stale, typename LastUse>
void MakeRoom(Map& map, Stale stale, LastUse lastUse) {
  if (map.size() < kMaxEntries) return;
  for (auto it = map.begin(); it != map.end();) it = stale(it->second) ? map.erase(it) : std::next(it);
  if (map.size() < kMaxEntries) return;
  map.erase(std::min_element(map.begin(), map.end(),
                             [&](const auto& a, const auto& b) { return lastUse(a.second) < lastUse(b.second); }));
}

SteadyClock::duration DelayAfter(int tries) {
  if (tries < 3) return SteadyClock::duration::zero();
  return std::chrono::seconds(std::min(1 << std::min(tries - 3, 5), 30));
}

}  // namespace

std::string Sessions::Start(const std::string& userId) {
  std::string token = RandomToken(32);
  const auto now = SteadyClock::now();
  std::lock_guard<std::mutex> lock(mutex_);
  MakeRoom(
      byToken_, [&](const Entry& e) { return now - e.lastUse > idleLimit_; },
      [](const Entry& e) { return e.lastUse; });
  byToken_[token] = Entry{userId, now};
  return token;
}

std::optional<std::string> Sessions::MemberOf(const std::string& token) {
  const auto now = SteadyClock::now();
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = byToken_.find(token);
  if (it == byToken_.end()) return std::nullopt;
  if (now - it->second.lastUse > idleLimit_) {
    byToken_.erase(it);
    return std::nullopt;
  }
  it->second.lastUse = now;
  return it->second.userId;
}

void Sessions::End(const std::string& token) {
  std::lock_guard<std::mutex> lock(mutex_);
  byToken_.erase(token);
}

int LogInThrottle::Admit(const std::string& userId) {
  const auto now = SteadyClock::now();
  std::lock_guard<std::mutex> lock(mutex_);
  if (byUser_.find(userId) == byUser_.end())
    MakeRoom(
        byUser_, [&](const Entry& e) { return now - e.last > kForgetTries; }, [](const Entry& e) { return e.last; });
  Entry& entry = byUser_[userId];
  if (entry.tries > 0 && now - entry.last > kForgetTries) entry.tries = 0;
  const auto allowedAt = entry.last + DelayAfter(entry.tries);
  if (entry.tries > 0 && now < allowedAt) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(allowedAt - now).count();
    return static_cast<int>((wait + 999) / 1000);
  }
  ++entry.tries;
  entry.last = now;
  return 0;
}

void LogInThrottle::Succeeded(const std::string& userId) {
  std::lock_guard<std::mutex> lock(mutex_);
  byUser_.erase(userId);
}

}  // namespace reminder_service
