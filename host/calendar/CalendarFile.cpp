#include "host/calendar/CalendarFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "library/support/Error.h"

namespace host::calendar {
namespace {

[[noreturn]] void RaiseFile(const std::string& what, const std::string& path, int err) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x111, "reminder-host",
                        "Cannot " + what + " the calendar file " + path + ": " + std::strerror(err));
}

// Closes the descriptor when the write is abandoned half way.
struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::string DefaultCalendarPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data && *data) {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : ".") + "/.local/share";
  }
  return base + "/tarvanel/calendar.ics";
}

CalendarData LoadCalendarFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (errno == ENOENT || !std::filesystem::exists(path)) return {};
    RaiseFile("read", path, errno);
  }
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return ParseCalendar(text.str());
  } catch (const falcrest::Error& e) {
    throw falcrest::Error(e.Number(), e.Source(), path + ": " + e.Description());
  }
}

void SaveCalendarFile(const std::string& path, const CalendarData& data) {
  const std::string text = WriteCalendar(data);
  std::filesystem::path target(path);
  std::error_code ec;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);

  std::string temp = path + ".XXXXXX";
  FileDescriptor file;
  file.fd = ::mkstemp(temp.data());
  if (file.fd < 0) RaiseFile("write", path, errno);
  const char* at = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t written = ::write(file.fd, at, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::unlink(temp.c_str());
      RaiseFile("write", path, err);
    }
    at += written;
    left -= static_cast<size_t>(written);
  }
  ::fchmod(file.fd, 0600);
  if (::fsync(file.fd) != 0 || ::close(file.fd) != 0) {
    int err = errno;
    file.fd = -1;
    ::unlink(temp.c_str());
    RaiseFile("write", path, err);
  }
  file.fd = -1;
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    RaiseFile("replace", path, err);
  }
}

}  // namespace host::calendar
