#pragma once
// Makes the settings page "Orvane.ReminderSetting" creatable by the host's Options dialog.
// The host calls this once at start, before any dialog opens.

void RegisterSettingsPage();
