// Each record's Deserialize on hostile XML; the first byte picks the record class. Reading
// may fail with a falcrest::Error; what it does read must survive a round trip: writing the
// record and reading that back gives the same XML again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/records/CalendarEventKeyType.h"
#include "library/records/CalendarEventType.h"
#include "library/records/ContactType.h"
#include "library/records/DeviceType.h"
#include "library/records/LicenseType.h"
#include "library/records/MemberType.h"
#include "library/records/ReminderType.h"
#include "library/records/ResultType.h"
#include "library/support/Error.h"

namespace {

template <typename Record>
void Check(const std::string& xml) {
  Record first;
  try {
    first.Deserialize(xml);
  } catch (const falcrest::Error&) {
    return;
  }
  std::string written;
  try {
    written = first.Serialize("Fuzz");
  } catch (const falcrest::Error&) {
    return;  // e.g. an empty slot that reading left in the written range
  }
  Record second;
  second.Deserialize(written);
  const std::string rewritten = second.Serialize("Fuzz");
  if (rewritten != written) {
    std::fprintf(stderr, "round trip changed the record:\n%s\n%s\n", written.c_str(), rewritten.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string xml(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 8) {
    case 0: Check<falcrest::MemberType>(xml); break;
    case 1: Check<falcrest::ContactType>(xml); break;
    case 2: Check<falcrest::DeviceType>(xml); break;
    case 3: Check<falcrest::ReminderType>(xml); break;
    case 4: Check<falcrest::CalendarEventType>(xml); break;
    case 5: Check<falcrest::CalendarEventKeyType>(xml); break;
    case 6: Check<falcrest::LicenseType>(xml); break;
    default: Check<falcrest::ResultType>(xml); break;
  }
  return 0;
}
