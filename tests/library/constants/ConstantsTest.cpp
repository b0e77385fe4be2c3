#include <gtest/gtest.h>

#include "library/constants/SystemConst.h"
#include "library/constants/TimeZoneConst.h"

namespace {

TEST(Constants, SystemConstValues) {
  falcrest::SystemConst a, b;
  EXPECT_EQ(a.Name(), "Tovern");
  EXPECT_EQ(a.ProgramName(), "Outlook");
  EXPECT_EQ(a.Name(), b.Name());
}

TEST(Constants, TimeZoneConstValues) {
  falcrest::TimeZoneConst zones;
  const struct {
    std::string got, want;
  } rows[] = {
      {zones.EasternTime(), "Eastern Time"}, {zones.PacificTime(), "Pacific Time"},
      {zones.MountainTime(), "Mountain Time"}, {zones.AlaskaTime(), "Alaska Time"},
      {zones.HawaiiTime(), "Hawaii Time"}, {zones.BeijingTime(), "Beijing Time"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.got, row.want);
}

}  // namespace
