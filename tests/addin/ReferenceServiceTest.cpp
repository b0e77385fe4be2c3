// One appointment's life against the real reference service: created on save, found and
// modified after reopening, deleted from Deleted Items.
#include <memory>

#include "AddinFixture.h"
#include "support/ServiceProcess.h"
#include "library/digest/MD5HashClass.h"
#include "library/service/WebService.h"
#include "library/support/DateText.h"

namespace addin_test {
namespace {

class ReferenceService : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    try {
      reference_ = std::make_unique<falcrest::test::ServiceProcess>(true);
    } catch (const std::exception& e) {
      GTEST_SKIP() << "the reference service cannot be started: " << e.what();
    }
    StoreSetting(falcrest::kWebServiceUrlValue, reference_->EndpointUrl());
    StoreSetting(falcrest::kDeviceValue, "HomeEmail,SMS");
    Connect();
  }
  void TearDown() override {
    AddinTest::TearDown();
    reference_.reset();
  }

  // The remote id for the subject, asked directly.
  int32_t RemoteId(const FakeAppointment& appointment) {
    falcrest::LicenseType license;
    license.UserId = "demo";
    license.Password = falcrest::MD5HashClass().ComputeHash("demo");
    license.ClientName = "Tovern";
    license.ClientProgramName = "Outlook";
    falcrest::CalendarEventKeyType key;
    key.UserId = "demo";
    key.EventDateTime = falcrest::GeneralDateText(appointment.start);
    key.Subject = appointment.subject;
    falcrest::WebService service;
    service.WebServiceURL = reference_->EndpointUrl();
    return service.GetReminderIds(license, key);
  }

  std::unique_ptr<falcrest::test::ServiceProcess> reference_;
};

TEST_F(ReferenceService, AnAppointmentIsCreatedModifiedAndDeleted) {
  auto appointment = Track("Dentist");
  appointment->location = "Main St 4";
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  ASSERT_TRUE(windowing.boxes.empty()) << windowing.boxes[0].text;
  ASSERT_EQ(view.shown.size(), 1u);
  EXPECT_TRUE(view.shown[0].IsTicked("HomeEmail"));
  EXPECT_TRUE(view.shown[0].IsTicked("SMS"));
  EXPECT_EQ(view.shown[0].At("lblSMS").caption, "5551234");
  EXPECT_EQ(view.shown[0].At("lblSMSProvider").caption, "(Acme)");
  const int32_t id = RemoteId(*appointment);
  ASSERT_GT(id, 0);

  // Reopened and renamed: the same remote event is changed, no second one appears.
  auto reopened = Track("Dentist");
  reopened->location = "Main St 4";
  reopened->RaiseOpen();
  reopened->subject = "Dentist (moved)";
  reopened->RaiseWrite();
  ASSERT_TRUE(windowing.boxes.empty()) << windowing.boxes[0].text;
  EXPECT_EQ(RemoteId(*reopened), id);
  EXPECT_EQ(RemoteId(*appointment), -1);

  outlook.app->session->deleted->items->RaiseItemAdd(reopened);
  EXPECT_TRUE(windowing.boxes.empty());
  EXPECT_EQ(RemoteId(*reopened), -1);
}

TEST_F(ReferenceService, AWrongPasswordOffersNoDeviceAndSendsNothing) {
  StorePassword("wrong");
  auto appointment = Track("Dentist");
  appointment->RaiseWrite();
  ASSERT_EQ(view.shown.size(), 1u);
  for (const reminder::DeviceRow& row : reminder::kDeviceRows)
    EXPECT_FALSE(view.shown[0].At(row.checkBox).enabled) << row.deviceType;
  EXPECT_TRUE(windowing.boxes.empty());
  EXPECT_EQ(RemoteId(*appointment), -1);
}

}  // namespace
}  // namespace addin_test
