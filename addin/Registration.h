#pragma once
// The client's add-in entry: the key falcrest::kAddinKey below HKEY_CURRENT_USER, with
// FriendlyName, Description, LoadBehavior 3 (load at start-up) and CommandLineSafe 0,
// written to the platform's registry (registry::DefaultStore).
//
// Unregistering removes the entry's four values but keeps the "Setting" subkey, so the
// user's account and default devices survive an uninstall followed by a reinstall. The key
// itself goes only when nothing else is left below it.

namespace reminder {

inline constexpr const char* kAddinFriendlyName = "Reminder";
inline constexpr const char* kAddinDescription = "Tarvanel Inc. Reminding Service Outlook Add-In.";
inline constexpr int kLoadAtStartup = 3;

// Writes the entry; raises falcrest::Error when the registry cannot be written.
void RegisterAddin();
// Removes the entry as above; nothing happens when it is not there.
void UnregisterAddin();

}  // namespace reminder
