#pragma once
// The general date text seam: a date-time as the user's regional settings write it.
#include "library/support/DateTime.h"

namespace falcrest {

// Short date, one blank, long time; a time of exactly midnight gives the date alone.
// On POSIX the patterns come from FALCREST_SHORT_DATE and FALCREST_LONG_TIME (Windows
// pattern syntax), by default "M/d/yyyy" and "h:mm:ss tt". On Windows the system writes it
// from the user's regional settings (and writes a date-time on 1899-12-30 as the time alone).
std::string GeneralDateText(const LocalDateTime& t);

}  // namespace falcrest
