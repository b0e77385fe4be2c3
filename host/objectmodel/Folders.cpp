#include "host/objectmodel/Folders.h"

#include <algorithm>

#include "library/support/Error.h"

namespace host {

void ItemCollection::Add(const std::shared_ptr<outlook::Item>& item) {
  items_.push_back(item);
  sinks_.Raise([&](outlook::ItemsEvents& sink) { sink.ItemAdd(item); });
}

bool ItemCollection::Remove(const outlook::Item* item) {
  auto found = std::find_if(items_.begin(), items_.end(), [&](const auto& held) { return held.get() == item; });
  if (found == items_.end()) return false;
  items_.erase(found);
  return true;
}

bool ItemCollection::Contains(const outlook::Item* item) const {
  return std::any_of(items_.begin(), items_.end(), [&](const auto& held) { return held.get() == item; });
}

Session::Session() {
  folders_[outlook::kFolderCalendar] = std::make_shared<Folder>(outlook::kFolderCalendar, "Calendar");
  folders_[outlook::kFolderDeletedItems] = std::make_shared<Folder>(outlook::kFolderDeletedItems, "Deleted Items");
  folders_[kFolderInbox] = std::make_shared<Folder>(kFolderInbox, "Inbox");
  folders_[kFolderContacts] = std::make_shared<Folder>(kFolderContacts, "Contacts");
}

std::shared_ptr<outlook::MAPIFolder> Session::GetDefaultFolder(int folderType) {
  auto found = folders_.find(folderType);
  if (found == folders_.end()) {
    throw falcrest::Error(falcrest::error_number::kComponentBase + 0x107, "reminder-host",
                          "This client has no default folder of type " + std::to_string(folderType));
  }
  return found->second;
}

Folder& Session::Default(int folderType) {
  return static_cast<Folder&>(*GetDefaultFolder(folderType));
}

Folder* Session::FolderOf(const outlook::Item* item) {
  for (auto& [type, folder] : folders_) {
    if (folder->Contents().Contains(item)) return folder.get();
  }
  return nullptr;
}

}  // namespace host
