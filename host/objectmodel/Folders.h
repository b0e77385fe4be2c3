#pragma once
// Folders and their items: the default folders of the session (Calendar, Deleted Items,
// Inbox, Contacts), each with an item collection that raises ItemAdd when an item arrives.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addin/objectmodel/Outlook.h"
#include "host/objectmodel/SinkList.h"

namespace host {

inline constexpr int kFolderInbox = 6;
inline constexpr int kFolderContacts = 10;

class ItemCollection : public outlook::Items {
 public:
  void Advise(outlook::ItemsEvents* sink) override { sinks_.Advise(sink); }
  void Unadvise(outlook::ItemsEvents* sink) override { sinks_.Unadvise(sink); }

  // Appends the item and raises ItemAdd.
  void Add(const std::shared_ptr<outlook::Item>& item);
  // Appends the item without an event (loading a folder at start).
  void Load(const std::shared_ptr<outlook::Item>& item) { items_.push_back(item); }
  // Takes the item out; false when it is not here.
  bool Remove(const outlook::Item* item);
  bool Contains(const outlook::Item* item) const;
  const std::vector<std::shared_ptr<outlook::Item>>& All() const { return items_; }

 private:
  std::vector<std::shared_ptr<outlook::Item>> items_;
  SinkList<outlook::ItemsEvents> sinks_;
};

class Folder : public outlook::MAPIFolder {
 public:
  Folder(int type, std::string name) : type_(type), name_(std::move(name)) {}
  std::shared_ptr<outlook::Items> GetItems() override { return items_; }
  ItemCollection& Contents() { return *items_; }
  int Type() const { return type_; }
  const std::string& Name() const { return name_; }

 private:
  int type_;
  std::string name_;
  std::shared_ptr<ItemCollection> items_ = std::make_shared<ItemCollection>();
};

class Session : public outlook::NameSpace {
 public:
  Session();
  // The default folder; raises falcrest::Error for a type this client does not have.
  std::shared_ptr<outlook::MAPIFolder> GetDefaultFolder(int folderType) override;
  Folder& Default(int folderType);
  // The folder holding the item, or nullptr.
  Folder* FolderOf(const outlook::Item* item);
  // Receivers of the session's events; this client raises none of them.
  void Advise(outlook::NameSpaceEvents* sink) override { sinks_.Advise(sink); }
  void Unadvise(outlook::NameSpaceEvents* sink) override { sinks_.Unadvise(sink); }

 private:
  std::map<int, std::shared_ptr<Folder>> folders_;
  SinkList<outlook::NameSpaceEvents> sinks_;
};

}  // namespace host
