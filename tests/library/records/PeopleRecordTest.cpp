#include <string>

#include "RecordTestUtil.h"
#include "library/records/ContactType.h"
#include "library/records/MemberType.h"

namespace falcrest {
namespace {

using testing::Device;
using testing::ExpectError;

const std::string kNewDevice = DeviceType().Serialize();

TEST(MemberRecord, NewMemberFragment) {
  EXPECT_EQ(MemberType().Serialize(),
            "<Member><UserId></UserId><Password></Password><FirstName></FirstName><LastName></LastName>"
            "<SignupEmail></SignupEmail><TimeZone></TimeZone><Devices></Devices></Member>");
}

TEST(MemberRecord, FilledMemberWritesAllButTheSpareSlot) {
  MemberType m;
  m.UserId = "1001";
  m.Password = "5F4DCC3B5AA765D61D8327DEB882CF99";
  m.FirstName = "Ann";
  m.LastName = "Lee";
  m.SignupEmail = "ann@example.com";
  m.TimeZone = "-5";
  m.Devices = RecordArray<DeviceType>(0, 2);
  m.Devices.Set(0, Device(1, "HomeEmail", "a@b"));
  m.Devices.Set(1, Device(2, "SMS", "555"));
  m.Devices.Set(2, Device(3, "Fax", "never written"));
  EXPECT_EQ(m.Serialize("User"),
            "<User><UserId>1001</UserId><Password>5F4DCC3B5AA765D61D8327DEB882CF99</Password>"
            "<FirstName>Ann</FirstName><LastName>Lee</LastName><SignupEmail>ann@example.com</SignupEmail>"
            "<TimeZone>-5</TimeZone><Devices>" +
                m.Devices.At(0)->Serialize() + m.Devices.At(1)->Serialize() + "</Devices></User>");
}

TEST(MemberRecord, DeviceListBounds) {
  struct Row { const char* name; RecordArray<DeviceType> devices; int written; };
  std::vector<Row> rows;
  rows.push_back({"unassigned", RecordArray<DeviceType>(), 0});
  rows.push_back({"0 to 0", RecordArray<DeviceType>(0, 0), 0});
  rows.push_back({"0 to 1", RecordArray<DeviceType>(0, 1), 1});
  rows.push_back({"0 to 3", RecordArray<DeviceType>(0, 3), 3});
  rows.push_back({"1 to 3", RecordArray<DeviceType>(1, 3), 2});
  rows.push_back({"-2 to 0", RecordArray<DeviceType>(-2, 0), 0});
  for (Row& row : rows) {
    if (row.devices.Assigned()) {
      for (int32_t i = row.devices.Lower(); i <= row.devices.Upper(); ++i) row.devices.Set(i, std::make_shared<DeviceType>());
    }
    MemberType m;
    m.Devices = row.devices;
    std::string expected;
    for (int i = 0; i < row.written; ++i) expected += kNewDevice;
    std::string xml = m.Serialize();
    EXPECT_EQ(xml.substr(xml.find("<Devices>")), "<Devices>" + expected + "</Devices></Member>") << row.name;
  }
}

TEST(MemberRecord, EmptySlotInWrittenRangeIsMissingObject) {
  MemberType m;
  m.Devices = RecordArray<DeviceType>(0, 2);
  m.Devices.Set(0, Device(1, "SMS", "1"));
  ExpectError([&] { m.Serialize(); }, 91, "index 1", "member");
  ContactType c;
  c.Devices = RecordArray<DeviceType>(0, 1);
  ExpectError([&] { c.Serialize(); }, 91, "index 0", "contact");
}

TEST(MemberRecord, DeserializeTwoDevicesGivesSpareSlot) {
  MemberType m;
  m.Deserialize(
      "<User xmlns=\"http://tarvanel.example/\"><UserId>1001</UserId><Password>pw</Password><FirstName>Ann"
      "</FirstName><LastName>Lee</LastName><SignupEmail>a@b</SignupEmail><TimeZone>-5</TimeZone><Devices>" +
      testing::ServiceDevice("1", "HomeEmail", "a@b") + testing::ServiceDevice("2", "SMS", "555", "0") +
      "</Devices></User>");
  EXPECT_EQ(m.UserId, "1001");
  EXPECT_EQ(m.Password, "pw");
  EXPECT_EQ(m.FirstName, "Ann");
  EXPECT_EQ(m.LastName, "Lee");
  EXPECT_EQ(m.SignupEmail, "a@b");
  EXPECT_EQ(m.TimeZone, "-5");
  ASSERT_TRUE(m.Devices.Assigned());
  EXPECT_EQ(m.Devices.Lower(), 0);
  EXPECT_EQ(m.Devices.Upper(), 2);
  EXPECT_EQ(m.Devices.At(0)->DeviceId, 1);
  EXPECT_EQ(m.Devices.At(0)->DeviceAddress, "a@b");
  EXPECT_EQ(m.Devices.At(1)->DeviceType, "SMS");
  EXPECT_FALSE(m.Devices.At(1)->Selected);
  EXPECT_EQ(m.Devices.At(2), nullptr);
  // What was read writes back the same two devices.
  MemberType copy;
  copy.Deserialize(m.Serialize());
  EXPECT_EQ(copy.Serialize(), m.Serialize());
}

TEST(MemberRecord, DeserializeWithoutDevicesKeepsTheArray) {
  MemberType m;
  m.Devices = RecordArray<DeviceType>(0, 5);
  auto kept = Device(9, "Fax", "1");
  m.Devices.Set(3, kept);
  m.Deserialize(MemberType().Serialize());
  EXPECT_EQ(m.Devices.Upper(), 5);
  EXPECT_EQ(m.Devices.At(3), kept);
  // With devices, the old array is replaced whole: no stale record in the spare slot.
  m.Deserialize("<Member><UserId/><Password/><FirstName/><LastName/><SignupEmail/><TimeZone/><Devices>" +
                testing::ServiceDevice("1", "SMS", "1") + "</Devices></Member>");
  EXPECT_EQ(m.Devices.Upper(), 1);
  EXPECT_EQ(m.Devices.At(1), nullptr);
}

TEST(MemberRecord, MissingElementAndBadDevice) {
  MemberType m;
  ExpectError([&] { m.Deserialize("<Member><UserId>1</UserId></Member>"); }, 91,
              "The member record has no Password element", "no password");
  ExpectError(
      [&] {
        m.Deserialize("<Member><UserId/><Password/><FirstName/><LastName/><SignupEmail/><TimeZone/><Devices>"
                      "<Device><DeviceId>1</DeviceId></Device></Devices></Member>");
      },
      91, "The device record has no DeviceType element", "short device");
}

TEST(ContactRecord, NewAndFilledFragments) {
  EXPECT_EQ(ContactType().Serialize(),
            "<Contact><ContactId>0</ContactId><FullName></FullName><Title></Title><FirstName></FirstName>"
            "<MiddleName></MiddleName><LastName></LastName><AddressLine1></AddressLine1><AddressLine2>"
            "</AddressLine2><City></City><State></State><ZipCode></ZipCode><Devices></Devices></Contact>");
  ContactType c;
  c.ContactId = 7;
  c.FullName = "Bo Q. Ng";
  c.Title = "Dr";
  c.FirstName = "Bo";
  c.MiddleName = "Q";
  c.LastName = "Ng";
  c.AddressLine1 = "1 Main St";
  c.AddressLine2 = "Apt 2";
  c.City = "Springfield";
  c.state = "IL";
  c.ZipCode = "62701";
  c.Devices = RecordArray<DeviceType>(0, 1);
  c.Devices.Set(0, Device(4, "CellPhone", "555"));
  EXPECT_EQ(c.Serialize(),
            "<Contact><ContactId>7</ContactId><FullName>Bo Q. Ng</FullName><Title>Dr</Title><FirstName>Bo"
            "</FirstName><MiddleName>Q</MiddleName><LastName>Ng</LastName><AddressLine1>1 Main St</AddressLine1>"
            "<AddressLine2>Apt 2</AddressLine2><City>Springfield</City><State>IL</State><ZipCode>62701</ZipCode>"
            "<Devices>" +
                c.Devices.At(0)->Serialize() + "</Devices></Contact>");
  ContactType back;
  back.ZipCode = "kept";
  back.Deserialize(c.Serialize());
  EXPECT_EQ(back.ContactId, 7);
  EXPECT_EQ(back.FullName, "Bo Q. Ng");
  EXPECT_EQ(back.Title, "Dr");
  EXPECT_EQ(back.MiddleName, "Q");
  EXPECT_EQ(back.AddressLine2, "Apt 2");
  EXPECT_EQ(back.City, "Springfield");
  EXPECT_EQ(back.state, "IL");
  EXPECT_EQ(back.ZipCode, "kept");  // never read
  EXPECT_EQ(back.Devices.Upper(), 1);
  EXPECT_EQ(back.Devices.At(0)->DeviceType, "CellPhone");
}

TEST(ContactRecord, GuardedContactIdAndRequiredState) {
  ContactType c;
  c.ContactId = 5;
  std::string xml = ContactType().Serialize();
  xml.replace(xml.find("<ContactId>0"), 12, "<ContactId>n/a");
  c.Deserialize(xml);
  EXPECT_EQ(c.ContactId, 5);
  xml.replace(xml.find("<ContactId>n/a"), 14, "<ContactId>2147483648");
  ExpectError([&] { c.Deserialize(xml); }, 6, "The contact's ContactId \"2147483648\"", "just too large");
  xml = ContactType().Serialize();
  xml.erase(xml.find("<State>"), std::string("<State></State>").size());
  ExpectError([&] { c.Deserialize(xml); }, 91, "The contact record has no State element", "no state");
  // ZipCode is not required.
  xml = ContactType().Serialize();
  xml.erase(xml.find("<ZipCode>"), std::string("<ZipCode></ZipCode>").size());
  c.Deserialize(xml);
}

}  // namespace
}  // namespace falcrest
