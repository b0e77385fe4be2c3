#include "host/objectmodel/Inspectors.h"

#include <algorithm>

#include "host/objectmodel/Items.h"

namespace host {

std::shared_ptr<InspectorWindow> InspectorCollection::Open(const std::shared_ptr<outlook::Item>& item) {
  if (auto shown = Find(item.get())) {
    open_.erase(std::find(open_.begin(), open_.end(), shown));
    open_.push_back(shown);
    return shown;
  }
  auto inspector = std::make_shared<InspectorWindow>(item);
  open_.push_back(inspector);
  sinks_.Raise([&](outlook::InspectorsEvents& sink) { sink.NewInspector(inspector); });
  if (auto* appointment = dynamic_cast<Appointment*>(item.get())) {
    if (appointment->RaiseOpen()) {
      Close(item.get());
      return nullptr;
    }
  }
  return inspector;
}

void InspectorCollection::Close(const outlook::Item* item) {
  open_.erase(std::remove_if(open_.begin(), open_.end(), [&](const auto& w) { return w->Item().get() == item; }),
              open_.end());
}

std::shared_ptr<InspectorWindow> InspectorCollection::Find(const outlook::Item* item) const {
  for (const auto& window : open_) {
    if (window->Item().get() == item) return window;
  }
  return nullptr;
}

std::shared_ptr<InspectorWindow> InspectorCollection::Active() const {
  return open_.empty() ? nullptr : open_.back();
}

}  // namespace host
