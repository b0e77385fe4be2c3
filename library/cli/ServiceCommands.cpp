// The service subcommands: device, ids, create, modify, delete. Each makes one call of the
// service (create and modify one each) and prints the answer. A fault or an empty answer
// reaches the caller only as the operation's empty result, which these commands report as a
// refusal (exit status 1).
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/cli/Commands.h"
#include "library/cli/Connection.h"
#include "library/service/WebService.h"
#include "library/support/Numbers.h"

namespace falcrest::cli {
namespace {

constexpr const char* kExitStatus =
    "Exit status: 0 done, 1 refused by the service (a fault or an empty answer), 2 error.\n";

std::vector<std::string> WithConnection(std::vector<std::string> options) {
  options.insert(options.end(), kConnectionOptions.begin(), kConnectionOptions.end());
  return options;
}

int Help(const char* usage, const char* about) {
  std::cout << "usage: " << usage << "\n\n" << about << "\n" << kConnectionHelp << "\n" << kExitStatus;
  return 0;
}

[[noreturn]] void Usage(const std::string& complaint, const char* command) {
  throw std::invalid_argument(complaint + " (falcrest " + command + " --help)");
}

int Refused(const std::string& what) {
  std::cerr << "falcrest: the reminder service " << what << "\n";
  return 1;
}

WebService ServiceFor(const Connection& connection) {
  WebService service;
  service.WebServiceURL = connection.url;
  return service;
}

// A strict decimal event id: "42", "-5"; nothing else.
int32_t EventId(const std::string& text, const char* command) {
  if (!IsCanonicalInt32(text)) Usage("the event id \"" + text + "\" is not a whole number", command);
  return static_cast<int32_t>(std::stol(text));
}

// The reminder of create and modify: the event, the remind time and the member with the
// devices of --device, in the array form the add-in builds (bounds 0..n, slot n empty).
ReminderType BuildReminder(const OptionList& options, const Connection& connection, const char* command) {
  if (!options.Has("--start")) Usage("--start is needed", command);
  const std::vector<std::string> devices = options.All("--device");
  if (devices.empty()) Usage("at least one --device TYPE=ADDRESS is needed", command);

  auto event = std::make_shared<CalendarEventType>();
  event->EventDateTime = options.Get("--start");
  event->Subject = options.Get("--subject");
  event->Description = options.Get("--description");

  auto member = std::make_shared<MemberType>();
  member->UserId = connection.license.UserId;
  member->Password = connection.license.Password;
  const int32_t n = static_cast<int32_t>(devices.size());
  member->Devices = RecordArray<DeviceType>(0, n);
  bool sms = false;
  for (int32_t i = 0; i < n; ++i) {
    const std::string& typeAndAddress = devices[static_cast<size_t>(i)];
    size_t equals = typeAndAddress.find('=');
    if (equals == std::string::npos || equals == 0)
      Usage("--device wants TYPE=ADDRESS, not \"" + typeAndAddress + "\"", command);
    auto device = std::make_shared<DeviceType>();
    device->DeviceType = typeAndAddress.substr(0, equals);
    device->DeviceAddress = typeAndAddress.substr(equals + 1);
    if (device->DeviceType == "SMS") {
      device->ServiceProviderName = options.Get("--provider");
      sms = true;
    }
    member->Devices.Set(i, device);
  }
  member->Devices.Set(n, std::make_shared<DeviceType>());
  if (options.Has("--provider") && !sms) Usage("--provider belongs to an SMS device (--device SMS=ADDRESS)", command);

  ReminderType reminder;
  reminder.EventPropty = event;
  reminder.RemindDateTime = options.Get("--remind", event->EventDateTime);
  reminder.User = member;
  return reminder;
}

constexpr const char* kReminderOptionsHelp =
    "  --start TEXT            the event's date and time, as the service is to show it\n"
    "                          (the add-in sends the general date text: \"3/14/2025 9:30:00 AM\")\n"
    "  --remind TEXT           when to remind (default: the start)\n"
    "  --subject TEXT          the event's subject\n"
    "  --description TEXT      the event's description\n"
    "  --device TYPE=ADDRESS   a device to remind on, e.g. HomeEmail=me@example.com; repeat it\n"
    "                          for more; TYPE is one of HomeEmail WorkEmail HomePhone WorkPhone\n"
    "                          CellPhone SMS AIM MSN YAHOO Fax\n"
    "  --provider NAME         the SMS provider of --device SMS=ADDRESS\n";

const std::vector<std::string> kReminderOptions = {"--start",       "--remind", "--subject",
                                                   "--description", "--device", "--provider"};

}  // namespace

int RunDevice(const Args& args) {
  const char* usage = "falcrest device [OPTIONS] TYPE";
  if (WantsHelp(args))
    return Help(usage,
                "Prints the member's device of TYPE (HomeEmail, WorkEmail, HomePhone, WorkPhone,\n"
                "CellPhone, SMS, AIM, MSN, YAHOO or Fax) as the service holds it, one\n"
                "\"Name: value\" a line.\n");
  OptionList options(args, kConnectionOptions, "device");
  if (options.Positional().size() != 1) Usage("one device TYPE is needed", "device");
  const std::string& type = options.Positional()[0];
  const Connection connection = ResolveConnection(options);

  std::shared_ptr<DeviceType> device = ServiceFor(connection).GetOneMemberDevice(connection.license, type);
  if (!device) return Refused("gave no " + type + " device (it refused, or the member has none)");
  std::cout << "DeviceId: " << device->DeviceId << "\n"
            << "DeviceType: " << device->DeviceType << "\n"
            << "DeviceAddress: " << device->DeviceAddress << "\n"
            << "ServiceProviderName: " << device->ServiceProviderName << "\n"
            << "Selected: " << (device->Selected ? "true" : "false") << "\n"
            << "DeliveryStatus: " << device->DeliveryStatus << "\n"
            << "ExtendStatus: " << device->ExtendStatus << "\n";
  return 0;
}

int RunIds(const Args& args) {
  const char* usage = "falcrest ids [OPTIONS] --start TEXT --subject TEXT";
  if (WantsHelp(args))
    return Help(usage,
                "Prints the first remote event id the service holds for the member's event with\n"
                "this start and subject, as the add-in looks it up; -1 when there is none.\n\n"
                "  --start TEXT     the event's date and time, exactly as it was sent\n"
                "  --subject TEXT   the event's subject\n");
  OptionList options(args, WithConnection({"--start", "--subject"}), "ids");
  if (!options.Positional().empty()) Usage("unexpected argument \"" + options.Positional()[0] + "\"", "ids");
  if (!options.Has("--start")) Usage("--start is needed", "ids");
  const Connection connection = ResolveConnection(options);

  CalendarEventKeyType key;
  key.UserId = connection.license.UserId;
  key.EventDateTime = options.Get("--start");
  key.Subject = options.Get("--subject");
  int32_t id = ServiceFor(connection).GetReminderIds(connection.license, key);
  std::cout << id << "\n";
  if (id <= 0) return Refused("holds no event with this start and subject (or refused the look-up)");
  return 0;
}

int RunCreate(const Args& args) {
  const char* usage = "falcrest create [OPTIONS] --start TEXT --device TYPE=ADDRESS...";
  if (WantsHelp(args)) {
    std::string about =
        "Creates a reminder for the member and prints the service's answer: its error\n"
        "message (empty when the reminder was made) and the reminder's detail page.\n\n" +
        std::string(kReminderOptionsHelp);
    return Help(usage, about.c_str());
  }
  OptionList options(args, WithConnection(kReminderOptions), "create");
  if (!options.Positional().empty()) Usage("unexpected argument \"" + options.Positional()[0] + "\"", "create");
  const Connection connection = ResolveConnection(options);
  const ReminderType reminder = BuildReminder(options, connection, "create");

  std::shared_ptr<ResultType> result = ServiceFor(connection).CreateReminder(connection.license, reminder);
  if (!result) return Refused("refused the reminder");
  std::cout << "ErrorMessage: " << result->ErrorMessage << "\n"
            << "ReminderDetailUrl: " << result->ReminderDetailUrl << "\n";
  if (!result->ErrorMessage.empty()) return Refused("did not create the reminder: " + result->ErrorMessage);
  return 0;
}

int RunModify(const Args& args) {
  const char* usage = "falcrest modify [OPTIONS] --event-id N --start TEXT --device TYPE=ADDRESS...";
  if (WantsHelp(args)) {
    std::string about =
        "Replaces the reminder of the remote event N (see falcrest ids) and prints the\n"
        "service's message. The service answers a change it made with no message, and a\n"
        "refusal without a reason looks the same, so no message counts as done.\n\n"
        "  --event-id N            the remote event to change\n" +
        std::string(kReminderOptionsHelp);
    return Help(usage, about.c_str());
  }
  std::vector<std::string> known = WithConnection(kReminderOptions);
  known.push_back("--event-id");
  OptionList options(args, known, "modify");
  if (!options.Positional().empty()) Usage("unexpected argument \"" + options.Positional()[0] + "\"", "modify");
  if (!options.Has("--event-id")) Usage("--event-id is needed", "modify");
  const int32_t event_id = EventId(options.Get("--event-id"), "modify");
  const Connection connection = ResolveConnection(options);
  ReminderType reminder = BuildReminder(options, connection, "modify");
  reminder.EventPropty->EventId = event_id;

  const std::string message = ServiceFor(connection).ModifyReminderByEventId(connection.license, reminder);
  if (!message.empty()) {
    std::cout << message << "\n";
    return Refused("did not change the reminder: " + message);
  }
  std::cout << "The reminder of event " << event_id << " was replaced.\n";
  return 0;
}

int RunDelete(const Args& args) {
  const char* usage = "falcrest delete [OPTIONS] EVENT_ID";
  if (WantsHelp(args))
    return Help(usage,
                "Deletes the remote event EVENT_ID and its reminders, and prints the number the\n"
                "service answers.\n");
  OptionList options(args, kConnectionOptions, "delete");
  if (options.Positional().size() != 1) Usage("one EVENT_ID is needed", "delete");
  const int32_t event_id = EventId(options.Positional()[0], "delete");
  const Connection connection = ResolveConnection(options);

  int32_t answer = ServiceFor(connection).DeleteReminderByEventId(connection.license, event_id);
  if (answer == -1) return Refused("refused to delete event " + std::to_string(event_id));
  std::cout << answer << "\n";
  return 0;
}

}  // namespace falcrest::cli
