#pragma once
// The add-in object the client creates and connects: it holds the client objects whose
// events matter, the service context, and the remote id slot, and routes the client's
// events to the appointment synchronisation and the device choice.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "addin/EventField.h"
#include "addin/dialog/AppointmentDevices.h"
#include "addin/objectmodel/Outlook.h"
#include "library/constants/SystemConst.h"
#include "library/records/DeviceType.h"
#include "library/records/LicenseType.h"
#include "library/records/RecordArray.h"
#include "library/records/ReminderType.h"
#include "library/registry/RegistryClass.h"
#include "library/service/WebService.h"
#include "library/support/DateTime.h"

namespace reminder {

inline constexpr const char* kErrorCaption = "Reminder Add-In Error";
inline constexpr const char* kErrorSource = "Reminder Add-In";
inline constexpr int64_t kUnknownCreateError = 50001;
inline constexpr int64_t kCreateError = 50002;
inline constexpr const char* kSettingsPageProgId = "Orvane.ReminderSetting";
inline constexpr const char* kSettingsPageTitle = "Tarvanel Reminder";

class ReminderDesigner : public outlook::IDTExtensibility2 {
 public:
  ReminderDesigner();
  ~ReminderDesigner() override;
  ReminderDesigner(const ReminderDesigner&) = delete;
  ReminderDesigner& operator=(const ReminderDesigner&) = delete;

  // Takes the client's objects and sets up the service context; a failure stops at the
  // failing step and shows the error box.
  void OnConnection(const std::shared_ptr<outlook::Application>& Application, int ConnectMode) override;
  // Lets go of the client's objects in a fixed order, ignoring every error.
  void OnDisconnection(int RemoveMode) override;
  void OnAddInsUpdate() override {}
  void OnStartupComplete() override {}
  void OnBeginShutdown() override {}

 private:
  // Sinks: each forwards one source's events to the handler named after that source.
  struct ApplicationSink : outlook::ApplicationEvents {
    explicit ApplicationSink(ReminderDesigner& d) : designer(d) {}
    void OptionsPagesAdd(outlook::PropertyPages& Pages) override { designer.OLApplication_OptionsPagesAdd(Pages); }
    ReminderDesigner& designer;
  };
  struct InspectorsSink : outlook::InspectorsEvents {
    explicit InspectorsSink(ReminderDesigner& d) : designer(d) {}
    void NewInspector(const std::shared_ptr<outlook::Inspector>& ins) override {
      designer.OLInspectors_NewInspector(ins);
    }
    ReminderDesigner& designer;
  };
  struct AppointmentSink : outlook::AppointmentEvents {
    explicit AppointmentSink(ReminderDesigner& d) : designer(d) {}
    void Open(bool& Cancel) override { designer.OLAppointmentItem_Open(Cancel); }
    void Write(bool& Cancel) override { designer.OLAppointmentItem_Write(Cancel); }
    ReminderDesigner& designer;
  };
  struct DeletedItemsSink : outlook::ItemsEvents {
    explicit DeletedItemsSink(ReminderDesigner& d) : designer(d) {}
    void ItemAdd(const std::shared_ptr<outlook::Item>& item) override { designer.OLItemsDeleted_ItemAdd(item); }
    ReminderDesigner& designer;
  };
  // The session is held with a sink, but none of its events is handled.
  struct IgnoredNameSpaceSink : outlook::NameSpaceEvents {
    void OptionsPagesAdd(outlook::PropertyPages&, const std::shared_ptr<outlook::MAPIFolder>&) override {}
  };
  // The calendar's items are held with a sink, but none of their events is handled.
  struct IgnoredItemsSink : outlook::ItemsEvents {
    void ItemAdd(const std::shared_ptr<outlook::Item>&) override {}
  };

  // One device kept for a reminder: the SMS provider has its own slot, so an address or a
  // provider holding "|" reaches the service unchanged.
  struct DeviceSlot {
    std::string type;
    std::string address;
    std::string provider;
  };
  static constexpr int kDeviceSlots = 11;

  // Event handlers (ReminderDesigner.cpp, Synchronisation.cpp).
  void OLInspectors_NewInspector(const std::shared_ptr<outlook::Inspector>& ins);
  void OLApplication_OptionsPagesAdd(outlook::PropertyPages& Pages);
  void OLAppointmentItem_Open(bool& Cancel);
  void OLAppointmentItem_Write(bool& Cancel);
  void OLItemsDeleted_ItemAdd(const std::shared_ptr<outlook::Item>& item);

  // Service context (ServiceContext.cpp).
  void SetUpServiceContext();
  void PrepareServiceCall();
  std::string Setting(const char* name) const;
  bool CredentialsStored() const;
  static std::string PasswordDigest(const std::string& stored);

  // Synchronisation (Synchronisation.cpp).
  int32_t FindRemoteReminderId(const falcrest::LocalDateTime& start, const std::string& subject);
  void CreateRemoteReminder(const std::string& chosenTypes);
  void ModifyRemoteReminder(int32_t eventId, const std::string& chosenTypes);
  void DeleteRemoteReminder();
  // The reminder for the tracked appointment, or nullptr when nothing is to be sent (no
  // credentials stored, no device left). eventId < 0: a new reminder.
  std::shared_ptr<falcrest::ReminderType> BuildReminderRecord(int32_t eventId, const std::string& chosenTypes);
  static std::string Description(const std::string& location, const std::string& body);

  // Device choice (DeviceChoice.cpp).
  void PrepareDeviceForm(AppointmentDevices& dialog);
  std::string ChooseDevices();
  // The kept devices (n + 1 records, the last one empty) and n.
  falcrest::RecordArray<falcrest::DeviceType> BuildMemberDevices(const std::string& chosenTypes, int& n);

  // The item as an appointment when its type name is exactly "AppointmentItem", else nullptr;
  // an empty item (type name "Nothing") is no appointment.
  static std::shared_ptr<outlook::AppointmentItem> AsAppointment(const std::shared_ptr<outlook::Item>& item);
  // Checked access to fields that a failed connection may have left empty.
  outlook::AppointmentItem& TrackedAppointment() const;
  falcrest::RegistryClass& Registry() const;
  falcrest::WebService& Service() const;
  falcrest::LicenseType& Credentials() const;

  static void ReportError(const std::string& description);
  static void ReportCurrentException();

  ApplicationSink application_sink_{*this};
  InspectorsSink inspectors_sink_{*this};
  AppointmentSink appointment_sink_{*this};
  DeletedItemsSink deleted_items_sink_{*this};
  IgnoredNameSpaceSink namespace_sink_;
  IgnoredItemsSink calendar_items_sink_;

  EventField<outlook::Application, outlook::ApplicationEvents> OLApplication{&application_sink_};
  EventField<outlook::NameSpace, outlook::NameSpaceEvents> OLNamespace{&namespace_sink_};
  EventField<outlook::Inspectors, outlook::InspectorsEvents> OLInspectors{&inspectors_sink_};
  EventField<outlook::AppointmentItem, outlook::AppointmentEvents> OLAppointmentItem{&appointment_sink_};
  EventField<outlook::Items, outlook::ItemsEvents> OLItemsCalendar{&calendar_items_sink_};
  EventField<outlook::Items, outlook::ItemsEvents> OLItemsDeleted{&deleted_items_sink_};
  std::shared_ptr<outlook::MAPIFolder> OLFolderCalendar;
  std::shared_ptr<outlook::MAPIFolder> OLFolderDeleted;

  std::shared_ptr<falcrest::RegistryClass> SettingRegistry;
  std::shared_ptr<falcrest::LicenseType> ServiceCredentials;
  std::shared_ptr<falcrest::WebService> ReminderWebService;
  std::shared_ptr<falcrest::SystemConst> ClientConst;

  // Remote event id of the appointment looked up last; -1 = none.
  int32_t CurrentEventId = -1;
};

}  // namespace reminder
