#include <string>

#include "RecordTestUtil.h"
#include "library/records/LicenseType.h"
#include "library/records/ResultType.h"

namespace falcrest {
namespace {

using testing::ExpectError;

LicenseType Filled() {
  LicenseType l;
  l.UserId = "1001";
  l.Password = "5F4DCC3B5AA765D61D8327DEB882CF99";
  l.ClientName = "Outlook";
  l.ClientProgramName = "Reminder";
  return l;
}

TEST(LicenseRecord, Fragments) {
  EXPECT_EQ(LicenseType().Serialize(),
            "<License><UserId></UserId><Password></Password><ClientName></ClientName><ClientProgramName>"
            "</ClientProgramName></License>");
  EXPECT_EQ(Filled().Serialize("license"),
            "<license><UserId>1001</UserId><Password>5F4DCC3B5AA765D61D8327DEB882CF99</Password>"
            "<ClientName>Outlook</ClientName><ClientProgramName>Reminder</ClientProgramName></license>");
}

TEST(LicenseRecord, IsValidNeedsAllFour) {
  EXPECT_TRUE(Filled().IsValid());
  EXPECT_FALSE(LicenseType().IsValid());
  for (int blank = 0; blank < 4; ++blank) {
    LicenseType l = Filled();
    std::string* fields[] = {&l.UserId, &l.Password, &l.ClientName, &l.ClientProgramName};
    fields[blank]->clear();
    EXPECT_FALSE(l.IsValid()) << "blank field " << blank;
  }
  LicenseType spaces = Filled();
  spaces.UserId = " ";
  EXPECT_TRUE(spaces.IsValid());  // nothing but emptiness is examined
}

TEST(LicenseRecord, DeserializeReadsOnlyTheUserIdAsANumber) {
  struct Row { const char* text; const char* expected; int error; };
  const Row rows[] = {
      {"1001", "1001", 0}, {"007", "7", 0}, {" 42 ", "42", 0}, {"-5", "-5", 0}, {"2.5", "2", 0},
      {"abc", nullptr, 13}, {"", nullptr, 13}, {"99999999999", nullptr, 6},
  };
  for (const Row& row : rows) {
    LicenseType l = Filled();
    l.UserId = "before";
    std::string xml = std::string("<License><UserId>") + row.text + "</UserId><Password>other</Password></License>";
    if (row.error) {
      ExpectError([&] { l.Deserialize(xml); }, row.error, "user ID", row.text);
      EXPECT_EQ(l.UserId, "before") << row.text;
    } else {
      l.Deserialize(xml);
      EXPECT_EQ(l.UserId, row.expected) << row.text;
    }
    EXPECT_EQ(l.Password, Filled().Password) << row.text;
  }
  LicenseType l;
  ExpectError([&] { l.Deserialize("<License/>"); }, 91, "The license record has no UserId element", "none");
}

TEST(ResultRecord, FragmentsAndPartialRead) {
  EXPECT_EQ(ResultType().Serialize(), "<Result><ErrorMessage></ErrorMessage><ReminderDetailUrl></ReminderDetailUrl></Result>");
  struct Row { const char* xml; const char* error; const char* url; };
  const Row rows[] = {
      {"<Result><ReminderDetailUrl>u</ReminderDetailUrl></Result>", "old error", "u"},
      {"<Result><ErrorMessage>Bad user</ErrorMessage></Result>", "Bad user", "old url"},
      {"<CreateReminderResult xmlns='http://tarvanel.example/'><ErrorMessage/><ReminderDetailUrl>http://x/1"
       "</ReminderDetailUrl></CreateReminderResult>", "", "http://x/1"},
      {"<Result/>", "old error", "old url"},
      {"not xml", "old error", "old url"},
      {"", "old error", "old url"},
  };
  for (const Row& row : rows) {
    ResultType r;
    r.ErrorMessage = "old error";
    r.ReminderDetailUrl = "old url";
    r.Deserialize(row.xml);
    EXPECT_EQ(r.ErrorMessage, row.error) << row.xml;
    EXPECT_EQ(r.ReminderDetailUrl, row.url) << row.xml;
  }
}

}  // namespace
}  // namespace falcrest
