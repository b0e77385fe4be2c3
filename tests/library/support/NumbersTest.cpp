#include <gtest/gtest.h>

#include <string>

#include "library/support/Error.h"
#include "library/support/Numbers.h"

namespace falcrest {
namespace {

// expected: the 32-bit value, or kNo (not numeric) / kBig (numeric, overflows).
constexpr int64_t kNo = INT64_MIN;
constexpr int64_t kBig = INT64_MAX;

TEST(Numbers, ReadsLikeTheRuntime) {
  struct Row { const char* text; int64_t expected; };
  const Row rows[] = {
      {"0", 0}, {"42", 42}, {"-17", -17}, {"+5", 5}, {"  12  ", 12}, {"\t7", 7},
      {"0042", 42}, {"1,000", 1000}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"0.5", 0}, {"1.5", 2},
      {".5", 0}, {"7.", 7}, {"1e3", 1000}, {"1E+2", 100}, {"25e-1", 2}, {"1d2", 100},
      {"&H10", 16}, {"&h1f", 31}, {"&HFFFFFFFF", -1}, {"&O17", 15},
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"2147483648", kBig}, {"-2147483649", kBig}, {"2147483647.5", kBig}, {"1e20", kBig}, {"1e400", kBig},
      {"&H100000000", kBig},
      {"", kNo}, {" ", kNo}, {"abc", kNo}, {"12abc", kNo}, {"1 2", kNo}, {"--1", kNo}, {".", kNo},
      {"e5", kNo}, {"1e", kNo}, {",1", kNo}, {"&H", kNo}, {"&HG", kNo}, {"&O8", kNo}, {"1.2.3", kNo},
      {"TRUE", kNo}, {"0x10", kNo},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("text \"") + row.text + "\"");
    int32_t guarded = 99;
    const Int32Read read = ReadInt32(row.text, guarded);
    EXPECT_EQ(read, row.expected == kNo ? Int32Read::kNotNumeric
                    : row.expected == kBig ? Int32Read::kTooLarge
                                           : Int32Read::kRead);
    if (row.expected == kNo) {
      EXPECT_EQ(guarded, 99);
      try {
        ToInt32(row.text, "The user ID");
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 13);
        EXPECT_EQ(e.Description(), std::string("The user ID \"") + row.text + "\" is not a number");
      }
    } else if (row.expected == kBig) {
      EXPECT_EQ(guarded, 99);
      try {
        ToInt32(row.text, "The device's DeviceId");
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 6);
        EXPECT_EQ(e.Description(), std::string("The device's DeviceId \"") + row.text +
                                       "\" does not fit in a 32-bit number (-2147483648 to 2147483647)");
      }
    } else {
      EXPECT_EQ(guarded, row.expected);
      EXPECT_EQ(ToInt32(row.text), row.expected);
    }
  }
}

TEST(Numbers, CanonicalInt32) {
  struct Row { const char* text; bool canonical; };
  const Row rows[] = {
      {"0", true}, {"42", true}, {"-1", true}, {"2147483647", true}, {"-2147483648", true},
      {"0042", false}, {"+1", false}, {"-0", false}, {" 1", false}, {"1 ", false}, {"4294967295", false},
      {"2147483648", false}, {"-2147483649", false}, {"", false}, {"-", false}, {"2.5", false},
      {"&H10", false}, {"99999999999", false},
  };
  for (const Row& row : rows) EXPECT_EQ(IsCanonicalInt32(row.text), row.canonical) << row.text;
}

}  // namespace
}  // namespace falcrest
