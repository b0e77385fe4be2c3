#include <string>

#include "RecordTestUtil.h"
#include "library/records/DeviceType.h"
#include "library/support/DateTime.h"

namespace falcrest {
namespace {

using testing::ExpectError;

TEST(DeviceRecord, NewDeviceFragment) {
  EXPECT_EQ(DeviceType().Serialize(),
            "<Device><DeviceId>0</DeviceId><DeviceType></DeviceType><DeviceAddress></DeviceAddress>"
            "<ServiceProviderName></ServiceProviderName><Selected>false</Selected>"
            "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus></DeliveryStatus>"
            "<ExtendStatus></ExtendStatus></Device>");
}

TEST(DeviceRecord, FilledDeviceFragmentKeepsFixedDeliveryTime) {
  DeviceType d;
  d.DeviceId = -42;
  d.DeviceType = "SMS";
  d.DeviceAddress = "5551234";
  d.ServiceProviderName = "Verizon";
  d.Selected = true;
  d.LastDeliveryTime = 45358.75;
  d.DeliveryStatus = "Sent";
  d.ExtendStatus = "ok";
  EXPECT_EQ(d.Serialize("Dev"),
            "<Dev><DeviceId>-42</DeviceId><DeviceType>SMS</DeviceType><DeviceAddress>5551234</DeviceAddress>"
            "<ServiceProviderName>Verizon</ServiceProviderName><Selected>true</Selected>"
            "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus>Sent</DeliveryStatus>"
            "<ExtendStatus>ok</ExtendStatus></Dev>");
  d.DeviceId = 2147483647;
  EXPECT_NE(d.Serialize().find("<DeviceId>2147483647</DeviceId>"), std::string::npos);
}

TEST(DeviceRecord, DeserializeServiceAnswer) {
  DeviceType d;
  d.DeliveryStatus = "mine";
  d.ExtendStatus = "kept";
  d.LastDeliveryTime = 12.5;
  d.Deserialize("<GetOneMemberDeviceResult xmlns=\"http://tarvanel.example/\">" +
                testing::ServiceDevice("17", "HomeEmail", "me@example.com") + "</GetOneMemberDeviceResult>");
  EXPECT_EQ(d.DeviceId, 17);
  EXPECT_EQ(d.DeviceType, "HomeEmail");
  EXPECT_EQ(d.DeviceAddress, "me@example.com");
  EXPECT_EQ(d.ServiceProviderName, "prov");
  EXPECT_TRUE(d.Selected);
  EXPECT_EQ(d.LastDeliveryTime, 12.5);  // the ISO zero time is no date
  EXPECT_EQ(d.DeliveryStatus, "mine");
  EXPECT_EQ(d.ExtendStatus, "kept");
}

TEST(DeviceRecord, GuardedReads) {
  struct Row { const char* id; const char* time; int32_t expectedId; double expectedTime; };
  const Row rows[] = {
      {"5", "3/7/2024 6:00:00 PM", 5, 45358.75},
      {" 0042 ", "2024-03-07", 42, 45358.0},
      {"abc", "0001-01-01T00:00:00", 99, 1.0},
      {"", "", 99, 1.0},
      {"2.5", "13/13/2024", 2, 1.0},
  };
  for (const Row& row : rows) {
    DeviceType d;
    d.DeviceId = 99;
    d.LastDeliveryTime = 1.0;
    std::string xml = testing::ServiceDevice(row.id, "SMS", "1");
    xml.replace(xml.find("0001-01-01T00:00:00"), 19, row.time);
    d.Deserialize(xml);
    EXPECT_EQ(d.DeviceId, row.expectedId) << row.id;
    EXPECT_DOUBLE_EQ(d.LastDeliveryTime, row.expectedTime) << row.time;
  }
  // A number is converted even when it does not fit, and that is an overflow.
  DeviceType d;
  ExpectError([&] { d.Deserialize(testing::ServiceDevice("4294967296", "SMS", "1")); }, 6,
              "The device's DeviceId \"4294967296\" does not fit in a 32-bit number", "4294967296");
}

TEST(DeviceRecord, SelectedAsBoolean) {
  struct Row { const char* text; int expected; };  // -1: type mismatch
  const Row rows[] = {
      {"true", 1}, {"True", 1}, {"TRUE", 1}, {"false", 0}, {"fAlSe", 0}, {"0", 0}, {"1", 1}, {"-1", 1},
      {"0.5", 1}, {"0.0", 0}, {" 2 ", 1},
      {"yes", -1}, {"", -1}, {"no", -1}, {"t", -1},
  };
  for (const Row& row : rows) {
    DeviceType d;
    d.Selected = row.expected != 1;
    std::string xml = testing::ServiceDevice("1", "SMS", "1", row.text);
    if (row.expected < 0) {
      ExpectError([&] { d.Deserialize(xml); }, 13, "Selected", row.text);
    } else {
      d.Deserialize(xml);
      EXPECT_EQ(d.Selected, row.expected == 1) << row.text;
    }
  }
}

TEST(DeviceRecord, MissingElementsAreMissingNodeErrors) {
  const char* required[] = {"DeviceId", "DeviceType", "DeviceAddress", "ServiceProviderName", "Selected",
                            "LastDeliveryTime"};
  for (const char* name : required) {
    std::string xml = testing::ServiceDevice("1", "SMS", "1");
    std::string open = std::string("<") + name + ">";
    std::string close = std::string("</") + name + ">";
    size_t from = xml.find(open);
    xml.erase(from, xml.find(close) + close.size() - from);
    DeviceType d;
    ExpectError([&] { d.Deserialize(xml); }, 91, std::string("The device record has no ") + name + " element",
                name);
  }
  DeviceType d;
  ExpectError([&] { d.Deserialize("not xml"); }, 91, "The device record has no DeviceId element", "not xml");
  // DeliveryStatus and ExtendStatus are not needed.
  d.Deserialize(
      "<Device><DeviceId>3</DeviceId><DeviceType>Fax</DeviceType><DeviceAddress>9</DeviceAddress>"
      "<ServiceProviderName></ServiceProviderName><Selected>0</Selected><LastDeliveryTime/></Device>");
  EXPECT_EQ(d.DeviceId, 3);
}

TEST(DeviceRecord, FieldsReadBeforeAMissingElementKeepTheirValues) {
  DeviceType d;
  ExpectError([&] { d.Deserialize("<Device><DeviceId>8</DeviceId><DeviceType>AIM</DeviceType></Device>"); }, 91,
              "DeviceAddress", "partial");
  EXPECT_EQ(d.DeviceId, 8);
  EXPECT_EQ(d.DeviceType, "AIM");
}

}  // namespace
}  // namespace falcrest
