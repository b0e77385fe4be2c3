#pragma once
// What passed between the client and its add-ins, in order: the client's IDTExtensibility2
// calls, and the add-ins' Advise/Unadvise on the event sources and their last release of an
// object ("connect Reminder.ReminderDesigner mode 1", "unadvise ItemsEvents Deleted Items",
// "release Items Deleted Items"). Tests compare it with the order the client promises.
#include <string>
#include <vector>

namespace host::win32 {

std::vector<std::string>& CallLog();
inline void LogCall(const std::string& entry) { CallLog().push_back(entry); }

}  // namespace host::win32
