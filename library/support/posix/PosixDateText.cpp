// The general date text from patterns in the environment, written in the Windows pattern
// syntax, so that tests and users can pick any regional form without a locale database.
#include <cstdlib>
#include <string>

#include "library/support/DateText.h"

namespace falcrest {
namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string Pattern(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return value && *value ? value : fallback;
}

std::string Padded(int value, size_t width) {
  std::string digits = std::to_string(value);
  return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

// 0 = Sunday (Zeller's congruence on the Gregorian calendar).
int Weekday(const LocalDateTime& t) {
  int y = t.year, m = t.month;
  if (m < 3) {
    m += 12;
    --y;
  }
  int h = (t.day + 13 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400) % 7;  // 0 = Saturday
  return (h + 6) % 7;
}

// One run of the same pattern letter, `count` long.
std::string Field(char letter, size_t count, const LocalDateTime& t) {
  switch (letter) {
    case 'M':
      if (count >= 4) return kMonthNames[t.month - 1];
      if (count == 3) return std::string(kMonthNames[t.month - 1]).substr(0, 3);
      return Padded(t.month, count);
    case 'd':
      if (count >= 4) return kDayNames[Weekday(t)];
      if (count == 3) return std::string(kDayNames[Weekday(t)]).substr(0, 3);
      return Padded(t.day, count);
    case 'y':
      if (count <= 2) return Padded(t.year % 100, count);
      return Padded(t.year, 4);
    case 'h':
      return Padded(t.hour % 12 == 0 ? 12 : t.hour % 12, count >= 2 ? 2 : 1);
    case 'H':
      return Padded(t.hour, count >= 2 ? 2 : 1);
    case 'm':
      return Padded(t.minute, count >= 2 ? 2 : 1);
    case 's':
      return Padded(t.second, count >= 2 ? 2 : 1);
    case 't': {
      std::string designator = t.hour < 12 ? "AM" : "PM";
      return count >= 2 ? designator : designator.substr(0, 1);
    }
    default:
      return std::string(count, letter);
  }
}

// Pattern letters become fields, 'quoted text' is copied ('' inside it is one quote), every
// other character is copied as it is.
std::string Format(const std::string& pattern, const LocalDateTime& t) {
  static const std::string kLetters = "MdyhHmst";
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    if (c == '\'') {
      ++i;
      while (i < pattern.size()) {
        if (pattern[i] == '\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += pattern[i++];
      }
      continue;
    }
    if (kLetters.find(c) == std::string::npos) {
      out += c;
      ++i;
      continue;
    }
    size_t count = 1;
    while (i + count < pattern.size() && pattern[i + count] == c) ++count;
    out += Field(c, count, t);
    i += count;
  }
  return out;
}

}  // namespace

std::string GeneralDateText(const LocalDateTime& t) {
  std::string date = Format(Pattern("FALCREST_SHORT_DATE", "M/d/yyyy"), t);
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return date;
  return date + " " + Format(Pattern("FALCREST_LONG_TIME", "h:mm:ss tt"), t);
}

}  // namespace falcrest
