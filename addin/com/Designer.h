#pragma once
// The creatable class of Reminder.dll: the add-in object the client connects.
#include <windows.h>
#include <ole2.h>

namespace reminder::com {

// A new ReminderDesigner as interface `iid` (the class factory's creator).
HRESULT CreateDesigner(REFIID iid, void** out);

}  // namespace reminder::com
