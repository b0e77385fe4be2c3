// Writes the seed corpora of the fuzz targets from the system itself: the requests the
// client sends for each operation, the answers the reference service gives them, each
// record's XML, Base64 texts and a registry file. Run: fuzz_make_corpus <folder>; the
// committed corpora under fuzz/corpus/ were made this way.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "fuzz/FakeHttp.h"
#include "library/digest/Base64Class.h"
#include "library/records/CalendarEventKeyType.h"
#include "library/records/LicenseType.h"
#include "library/records/ReminderType.h"
#include "library/records/ResultType.h"
#include "library/registry/filestore/RegFile.h"
#include "library/service/WebService.h"
#include "reference-service/ReminderStore.h"
#include "reference-service/SoapEndpoint.h"

namespace {

std::string root;

void Write(const std::string& target, const std::string& name, const std::string& bytes) {
  const std::string folder = root + "/" + target;
  ::mkdir(root.c_str(), 0755);
  ::mkdir(folder.c_str(), 0755);
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

std::shared_ptr<falcrest::DeviceType> Device(const char* type, const char* address, const char* provider = "") {
  auto device = std::make_shared<falcrest::DeviceType>();
  device->DeviceId = 3;
  device->DeviceType = type;
  device->DeviceAddress = address;
  device->ServiceProviderName = provider;
  device->Selected = true;
  return device;
}

falcrest::ReminderType Reminder(int32_t eventId, const std::string& subject) {
  falcrest::ReminderType reminder;
  reminder.EventPropty = std::make_shared<falcrest::CalendarEventType>();
  reminder.EventPropty->EventId = eventId;
  reminder.EventPropty->EventDateTime = "3/14/2031 9:30:00 AM";
  reminder.EventPropty->Subject = subject;
  reminder.EventPropty->Description = "Room 4 & 5\r\n<bring notes>";
  reminder.RemindDateTime = "3/14/2031 9:15:00 AM";
  reminder.User = std::make_shared<falcrest::MemberType>();
  reminder.User->UserId = "demo";
  reminder.User->Devices = falcrest::RecordArray<falcrest::DeviceType>(0, 2);
  reminder.User->Devices.Set(0, Device("HomeEmail", "demo@example.com"));
  reminder.User->Devices.Set(1, Device("SMS", "5551234", "Acme | Co"));
  return reminder;
}

void Records(const falcrest::ReminderType& reminder) {
  auto contact = std::make_shared<falcrest::ContactType>();
  contact->FullName = "Ann O'Neil";
  contact->state = "WA";
  contact->Devices = falcrest::RecordArray<falcrest::DeviceType>(0, 1);
  contact->Devices.Set(0, Device("Fax", "555-0100"));
  falcrest::ReminderType withContact = reminder;
  withContact.Contacts = falcrest::RecordArray<falcrest::ContactType>(0, 1);
  withContact.Contacts.Set(0, contact);
  falcrest::CalendarEventKeyType key{"demo", "3/14/2031 9:30:00 AM", "Dentist"};
  falcrest::LicenseType license{"42", "FE01CE2A7FBAC8FAFAED7C982A04E229", "Tovern", "Outlook"};
  falcrest::ResultType result{"Unkown error", "http://host/Reminder.aspx?id=1"};
  // The first byte picks the class, as RecordsFuzzer reads it.
  Write("records", "member", '\0' + reminder.User->Serialize("Member"));
  Write("records", "contact", '\1' + contact->Serialize("Contact"));
  Write("records", "device", '\2' + Device("SMS", "5551234", "Acme")->Serialize("Device"));
  Write("records", "reminder", '\3' + withContact.Serialize("reminder"));
  Write("records", "event", '\4' + reminder.EventPropty->Serialize("Event"));
  Write("records", "eventkey", '\5' + key.Serialize("eventKey"));
  Write("records", "license", '\6' + license.Serialize("license"));
  Write("records", "result", '\7' + result.Serialize("CreateReminderResult"));
}

void Base64Texts() {
  const falcrest::Base64Class base64;
  int n = 0;
  for (std::string text : {std::string("demo"), std::string("p\xC3\xA4ssw\xC3\xB6rd"), std::string(60, 'x')}) {
    Write("decode64", "text" + std::to_string(n++), base64.Encode64(text));
  }
  Write("decode64", "inner-padding", "QQ==QUFB");
}

void RegistryFile() {
  using falcrest::registry::Value;
  falcrest::registry::filestore::RegFile file;
  const std::vector<std::string> key = {"HKEY_CURRENT_USER", "Software", "Microsoft", "Office", "Outlook", "Addins",
                                        "Reminder.ReminderDesigner", "Setting"};
  file.Set(key, "UserID", Value{falcrest::registry::kDword, std::string("\x2a\0\0\0", 4)});
  file.Set(key, "Password", Value{falcrest::registry::kSz, std::string("ZGVtbw==\0", 9)});
  file.Set(key, "WebServiceURL", Value{falcrest::registry::kSz, std::string("http://127.0.0.1/WebService/OutlookPlugin.asmx\0", 47)});
  file.Set(key, "Device", Value{falcrest::registry::kSz, std::string("HomeEmail,\"Fax\\\0", 16)});
  file.Set(key, "Raw", Value{falcrest::registry::kBinary, std::string("\0\xff\n", 3)});
  file.Set({"HKEY_LOCAL_MACHINE", "Software"}, "", Value{falcrest::registry::kMultiSz, std::string("a\0b\0\0", 5)});
  Write("registry_file", "settings.reg", file.Format());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  root = argv[1];
  char folder[] = "/tmp/make-corpus-XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  const std::string db = std::string(folder) + "/service.db";
  int written = 0;
  {
    reminder_service::ReminderStore store(db);
    store.SeedDemo();
    reminder_service::SoapEndpoint endpoint(store);
    std::string lastAnswer;
    falcrest::fuzzing::SetResponder([&](const std::string& request) {
      lastAnswer = endpoint.Handle(reminder_service::SoapCall{request, std::nullopt, "127.0.0.1:8080"}).body;
      return lastAnswer;
    });
    auto keep = [&](const std::string& name) {
      Write("service_request", name, falcrest::fuzzing::LastRequestBody());
      Write("soap_answer", name, lastAnswer);
      written += 2;
    };

    falcrest::WebService service;
    service.WebServiceURL = "http://127.0.0.1:8080/WebService/OutlookPlugin.asmx";
    falcrest::LicenseType license{"demo", "FE01CE2A7FBAC8FAFAED7C982A04E229", "Tovern", "Outlook"};
    const falcrest::ReminderType reminder = Reminder(0, "Dentist & <Co>");

    service.GetOneMemberDevice(license, "SMS");
    keep("GetOneMemberDevice");
    service.CreateReminder(license, reminder);
    keep("CreateReminder");
    service.CreateReminder(license, reminder);
    falcrest::CalendarEventKeyType key{"demo", "3/14/2031 9:30:00 AM", "Dentist & <Co>"};
    const int32_t id = service.GetReminderIds(license, key);
    keep("GetReminderIds");
    service.ModifyReminderByEventId(license, Reminder(id, "Dentist"));
    keep("ModifyReminderByEventId");
    service.ModifyReminderByEventId(license, Reminder(99999, "Nothing"));
    keep("ModifyReminderByEventId-unknown");
    service.DeleteReminderByEventId(license, id);
    keep("DeleteReminderByEventId");
    license.Password = "00000000000000000000000000000000";
    service.GetOneMemberDevice(license, "HomeEmail");
    keep("fault");
    Records(reminder);
  }
  for (const char* suffix : {"", "-wal", "-shm"}) ::unlink((db + suffix).c_str());
  ::rmdir(folder);
  Base64Texts();
  RegistryFile();
  std::printf("corpus written to %s\n", root.c_str());
  return 0;
}
