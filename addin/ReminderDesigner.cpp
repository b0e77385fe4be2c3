#include "addin/ReminderDesigner.h"

#include "addin/Components.h"
#include "addin/objectmodel/Windowing.h"
#include "library/support/Error.h"

namespace reminder {

namespace {

// The client hands back an empty object where it has none; that is an error only where the
// object is used, so the set-up stops at the step that needs it, and an object held but
// never used (no Inspectors, no items of a folder) just raises no events.
template <class T>
T& Use(const std::shared_ptr<T>& object, const char* what) {
  if (!object) falcrest::RaiseMissingObject(std::string("Outlook did not provide ") + what);
  return *object;
}

// Runs one release step of the disconnection; the client is going away, so nothing that
// fails here is worth reporting.
template <class F>
void IgnoringErrors(F&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

std::shared_ptr<outlook::IDTExtensibility2> CreateReminderDesigner() { return std::make_shared<ReminderDesigner>(); }

ReminderDesigner::ReminderDesigner() = default;

// The client normally disconnects first; a designer dropped while still connected must not
// leave its sinks advised on objects that outlive it.
ReminderDesigner::~ReminderDesigner() { OnDisconnection(0); }

void ReminderDesigner::OnConnection(const std::shared_ptr<outlook::Application>& Application, int) {
  try {
    OLApplication.Set(Application);
    OLNamespace.Set(Use(OLApplication.Get(), "the application object").Session());
    OLInspectors.Set(Use(OLApplication.Get(), "the application object").GetInspectors());
    OLFolderCalendar = Use(OLNamespace.Get(), "the session (NameSpace)").GetDefaultFolder(outlook::kFolderCalendar);
    OLItemsCalendar.Set(Use(OLFolderCalendar, "the default Calendar folder").GetItems());
    OLFolderDeleted = Use(OLNamespace.Get(), "the session (NameSpace)").GetDefaultFolder(outlook::kFolderDeletedItems);
    OLItemsDeleted.Set(Use(OLFolderDeleted, "the default Deleted Items folder").GetItems());
    SetUpServiceContext();
    CurrentEventId = -1;
  } catch (...) {
    ReportCurrentException();
  }
}

void ReminderDesigner::OnDisconnection(int) {
  IgnoringErrors([this] { OLItemsDeleted.Release(); });
  IgnoringErrors([this] { OLFolderDeleted.reset(); });
  IgnoringErrors([this] { OLItemsCalendar.Release(); });
  IgnoringErrors([this] { OLFolderCalendar.reset(); });
  IgnoringErrors([this] { OLAppointmentItem.Release(); });
  IgnoringErrors([this] { OLInspectors.Release(); });
  IgnoringErrors([this] { OLNamespace.Release(); });
  IgnoringErrors([this] { OLApplication.Release(); });
}

void ReminderDesigner::OLInspectors_NewInspector(const std::shared_ptr<outlook::Inspector>& ins) {
  try {
    // An inspector without an item is no appointment: ignored like a mail.
    std::shared_ptr<outlook::AppointmentItem> appointment =
        AsAppointment(Use(ins, "the new inspector").CurrentItem());
    if (appointment) OLAppointmentItem.Set(std::move(appointment));
  } catch (...) {
    ReportCurrentException();
  }
}

// No error box here: a page that cannot be added is the client's to report.
void ReminderDesigner::OLApplication_OptionsPagesAdd(outlook::PropertyPages& Pages) {
  Pages.Add(kSettingsPageProgId, kSettingsPageTitle);
}

std::shared_ptr<outlook::AppointmentItem> ReminderDesigner::AsAppointment(const std::shared_ptr<outlook::Item>& item) {
  if (!item || item->TypeName() != "AppointmentItem") return nullptr;
  auto appointment = std::dynamic_pointer_cast<outlook::AppointmentItem>(item);
  if (!appointment) falcrest::RaiseTypeMismatch("The item named AppointmentItem is not an appointment");
  return appointment;
}

outlook::AppointmentItem& ReminderDesigner::TrackedAppointment() const {
  if (!OLAppointmentItem) falcrest::RaiseMissingObject("No appointment is being tracked by the Reminder add-in");
  return *OLAppointmentItem.Get();
}

void ReminderDesigner::ReportError(const std::string& description) {
  ui::Current().MessageBox(description, kErrorCaption, ui::Icon::kCritical);
}

// Called inside a catch block: one message box whatever was thrown.
void ReminderDesigner::ReportCurrentException() {
  try {
    throw;
  } catch (const falcrest::Error& e) {
    ReportError(e.Description());
  } catch (const std::exception& e) {
    ReportError(e.what());
  } catch (...) {
    ReportError("An unexpected error stopped the Reminder add-in");
  }
}

}  // namespace reminder
