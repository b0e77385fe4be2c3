#include <gtest/gtest.h>

#include "library/digest/MD5HashClass.h"

TEST(WindowsSmoke, CoreRunsUnderWine) {
  falcrest::MD5HashClass md5;
  EXPECT_EQ(md5.ComputeHash("abc"), "900150983CD24FB0D6963F7D28E17F72");
}
