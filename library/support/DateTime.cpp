#include "library/support/DateTime.h"

namespace falcrest {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (Howard Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);

LocalDateTime FromDayAndSeconds(int64_t day, int64_t seconds) {
  LocalDateTime t;
  CivilFromDays(day, t.year, t.month, t.day);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

// Years 100 to 9999: the range of the platform's date type.
bool IsValid(const LocalDateTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// A small reader over one text: numbers of a bounded width, exact characters, blanks.
class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool Number(int minDigits, int maxDigits, int& value) {
    int count = 0;
    value = 0;
    while (pos_ < text_.size() && count < maxDigits && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      ++count;
    }
    return count >= minDigits;
  }
  bool Char(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) return ++pos_, true;
    return false;
  }
  // Skips blanks; true when there was at least one.
  bool Blanks() {
    size_t start = pos_;
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    return pos_ > start;
  }
  // "AM" or "PM" in any letter case: 0 for AM, 12 for PM, -1 when neither.
  int Meridiem() {
    if (pos_ + 2 > text_.size()) return -1;
    char a = static_cast<char>(text_[pos_] & ~0x20), m = static_cast<char>(text_[pos_ + 1] & ~0x20);
    if (m != 'M' || (a != 'A' && a != 'P')) return -1;
    pos_ += 2;
    return a == 'P' ? 12 : 0;
  }
  bool AtEnd() const { return pos_ == text_.size(); }

 private:
  const std::string& text_;
  size_t pos_ = 0;
};

// "h:mm[:ss][ AM|PM]" after the date; AM/PM takes hours 0 to 12.
bool ReadTime(Reader& r, LocalDateTime& t) {
  if (!r.Number(1, 2, t.hour) || !r.Char(':') || !r.Number(2, 2, t.minute)) return false;
  if (r.Char(':') && !r.Number(2, 2, t.second)) return false;
  r.Blanks();
  if (r.AtEnd()) return true;
  int offset = r.Meridiem();
  if (offset < 0 || t.hour > 12) return false;
  t.hour = t.hour % 12 + offset;
  r.Blanks();
  return true;
}

}  // namespace

bool LocalDateTime::operator==(const LocalDateTime& o) const {
  return year == o.year && month == o.month && day == o.day && hour == o.hour && minute == o.minute &&
         second == o.second;
}

LocalDateTime AddMinutes(const LocalDateTime& t, int64_t minutes) {
  int64_t total = (DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 + t.minute * 60 +
                   t.second) + minutes * 60;
  int64_t day = total >= 0 ? total / kSecondsPerDay : -((-total + kSecondsPerDay - 1) / kSecondsPerDay);
  return FromDayAndSeconds(day, total - day * kSecondsPerDay);
}

double ToOleDate(const LocalDateTime& t) {
  double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kOleEpoch);
  double fraction = (t.hour * 3600 + t.minute * 60 + t.second) / static_cast<double>(kSecondsPerDay);
  // Before the epoch the whole part counts back while the time of day still counts forward.
  return days >= 0 ? days + fraction : days - fraction;
}

bool TryParseDateTime(const std::string& text, LocalDateTime& out) {
  Reader r(text);
  LocalDateTime t;
  t.hour = t.minute = t.second = 0;
  r.Blanks();
  int first = 0;
  if (!r.Number(1, 4, first)) return false;
  if (r.Char('/')) {  // M/d/yyyy
    t.month = first;
    if (!r.Number(1, 2, t.day) || !r.Char('/') || !r.Number(3, 4, t.year)) return false;
  } else if (r.Char('-')) {  // yyyy-MM-dd
    t.year = first;
    if (!r.Number(1, 2, t.month) || !r.Char('-') || !r.Number(1, 2, t.day)) return false;
  } else {
    return false;
  }
  bool blank = r.Blanks();
  if (!r.AtEnd()) {
    if (!blank || !ReadTime(r, t) || !r.AtEnd()) return false;
  }
  if (!IsValid(t)) return false;
  out = t;
  return true;
}

}  // namespace falcrest
