#pragma once
// Inspector windows. Opening an item creates its inspector, raises NewInspector, then the
// item's Open; an item already shown is brought forward without events. The inspector
// opened last is the active one, which the front ends edit, save and close.
#include <memory>
#include <vector>

#include "addin/objectmodel/Outlook.h"
#include "host/objectmodel/SinkList.h"

namespace host {

class InspectorWindow : public outlook::Inspector {
 public:
  explicit InspectorWindow(std::shared_ptr<outlook::Item> item) : item_(std::move(item)) {}
  std::shared_ptr<outlook::Item> CurrentItem() override { return item_; }
  const std::shared_ptr<outlook::Item>& Item() const { return item_; }

 private:
  std::shared_ptr<outlook::Item> item_;
};

class InspectorCollection : public outlook::Inspectors {
 public:
  void Advise(outlook::InspectorsEvents* sink) override { sinks_.Advise(sink); }
  void Unadvise(outlook::InspectorsEvents* sink) override { sinks_.Unadvise(sink); }

  // Shows the item; returns its inspector, or nullptr when the item's Open was cancelled
  // (the window then does not stay open).
  std::shared_ptr<InspectorWindow> Open(const std::shared_ptr<outlook::Item>& item);
  // Closes the item's window, if it has one.
  void Close(const outlook::Item* item);
  // The inspector showing the item, or nullptr.
  std::shared_ptr<InspectorWindow> Find(const outlook::Item* item) const;
  // The active inspector, or nullptr when none is open.
  std::shared_ptr<InspectorWindow> Active() const;
  const std::vector<std::shared_ptr<InspectorWindow>>& All() const { return open_; }

 private:
  std::vector<std::shared_ptr<InspectorWindow>> open_;
  SinkList<outlook::InspectorsEvents> sinks_;
};

}  // namespace host
