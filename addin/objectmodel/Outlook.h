#pragma once
// The client's object model, as far as the add-in and the settings page use it: the
// operations they call and the events they receive. The host implements these classes;
// the add-in and the page only call them. Events are delivered to sinks that a receiver
// advises on the source and unadvises when it lets go. A member that returns an object
// returns nullptr where the client has none (an empty object, type name "Nothing"); the
// caller decides whether that is an error, at the point where it uses the object.
#include <cstdint>
#include <memory>
#include <string>

#include "library/support/DateTime.h"

namespace outlook {

// Any item: mail, contact, appointment. TypeName is what its type information gives:
// "AppointmentItem", "MailItem", "ContactItem".
class Item {
 public:
  virtual ~Item() = default;
  virtual std::string TypeName() const = 0;
};

class AppointmentEvents {
 public:
  virtual ~AppointmentEvents() = default;
  virtual void Open(bool& Cancel) = 0;
  virtual void Write(bool& Cancel) = 0;
};

// An appointment; the six fields the add-in reads, read live.
class AppointmentItem : public Item {
 public:
  virtual falcrest::LocalDateTime Start() const = 0;
  virtual std::string Subject() const = 0;
  virtual std::string Location() const = 0;
  virtual std::string Body() const = 0;
  virtual bool ReminderSet() const = 0;
  virtual int32_t ReminderMinutesBeforeStart() const = 0;

  virtual void Advise(AppointmentEvents* sink) = 0;
  virtual void Unadvise(AppointmentEvents* sink) = 0;
};

class ItemsEvents {
 public:
  virtual ~ItemsEvents() = default;
  virtual void ItemAdd(const std::shared_ptr<Item>& item) = 0;
};

// The items of a folder; source of ItemAdd.
class Items {
 public:
  virtual ~Items() = default;
  virtual void Advise(ItemsEvents* sink) = 0;
  virtual void Unadvise(ItemsEvents* sink) = 0;
};

class MAPIFolder {
 public:
  virtual ~MAPIFolder() = default;
  virtual std::shared_ptr<Items> GetItems() = 0;
};

inline constexpr int kFolderDeletedItems = 3;
inline constexpr int kFolderCalendar = 9;

class PropertyPages;

class NameSpaceEvents {
 public:
  virtual ~NameSpaceEvents() = default;
  // The Options dialog of a folder is being built.
  virtual void OptionsPagesAdd(PropertyPages& Pages, const std::shared_ptr<MAPIFolder>& Folder) = 0;
};

class NameSpace {
 public:
  virtual ~NameSpace() = default;
  // The default folder of the type (kFolderCalendar, kFolderDeletedItems).
  virtual std::shared_ptr<MAPIFolder> GetDefaultFolder(int folderType) = 0;
  virtual void Advise(NameSpaceEvents* sink) = 0;
  virtual void Unadvise(NameSpaceEvents* sink) = 0;
};

class Inspector {
 public:
  virtual ~Inspector() = default;
  // The item the window shows.
  virtual std::shared_ptr<Item> CurrentItem() = 0;
};

class InspectorsEvents {
 public:
  virtual ~InspectorsEvents() = default;
  virtual void NewInspector(const std::shared_ptr<Inspector>& inspector) = 0;
};

class Inspectors {
 public:
  virtual ~Inspectors() = default;
  virtual void Advise(InspectorsEvents* sink) = 0;
  virtual void Unadvise(InspectorsEvents* sink) = 0;
};

// The page's container in the Options dialog.
class PropertyPageSite {
 public:
  virtual ~PropertyPageSite() = default;
  // The page's state changed: the dialog reads Dirty again.
  virtual void OnStatusChange() = 0;
};

// A page of the Options dialog, as the dialog talks to it.
class PropertyPage {
 public:
  virtual ~PropertyPage() = default;
  virtual void Apply() = 0;
  virtual bool Dirty() const = 0;
  virtual void GetPageInfo(std::string& HelpFile, int32_t& HelpContext) = 0;
};

// The pages of the Options dialog being built.
class PropertyPages {
 public:
  virtual ~PropertyPages() = default;
  // Adds a tab hosting the control created from the ProgID; raises when it cannot be created.
  virtual void Add(const std::string& progId, const std::string& title) = 0;
};

class ApplicationEvents {
 public:
  virtual ~ApplicationEvents() = default;
  virtual void OptionsPagesAdd(PropertyPages& Pages) = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual std::shared_ptr<NameSpace> Session() = 0;
  virtual std::shared_ptr<Inspectors> GetInspectors() = 0;
  virtual void Advise(ApplicationEvents* sink) = 0;
  virtual void Unadvise(ApplicationEvents* sink) = 0;
};

// The add-in host interface the client connects an add-in through.
class IDTExtensibility2 {
 public:
  virtual ~IDTExtensibility2() = default;
  virtual void OnConnection(const std::shared_ptr<Application>& Application, int ConnectMode) = 0;
  virtual void OnDisconnection(int RemoveMode) = 0;
  virtual void OnAddInsUpdate() = 0;
  virtual void OnStartupComplete() = 0;
  virtual void OnBeginShutdown() = 0;
};

}  // namespace outlook
