#pragma once
// The client's object model as COM objects over the host's own objects (host/objectmodel/):
// Application, NameSpace, folders with their Items, Inspectors, Inspector and the items.
// Events of the host objects are fired to the COM sinks advised on the matching source,
// with the IIDs and DISPIDs the client publishes. Appointments live in memory only.
#include <map>
#include <memory>
#include <vector>

#include "host/objectmodel/Application.h"
#include "host/win32/Dispatch.h"

namespace host::win32 {

class ComApplication;
class ComItem;

// DISPIDs of the client's events.
inline constexpr DISPID kOptionsPagesAdd = 0xF005;
inline constexpr DISPID kNewInspector = 0xF001;
inline constexpr DISPID kItemAdd = 0xF001;
inline constexpr DISPID kItemOpen = 0xF003;
inline constexpr DISPID kItemWrite = 0xF002;

extern const IID IID_ApplicationEvents;
extern const IID IID_InspectorsEvents;
extern const IID IID_ItemsEvents;
extern const IID IID_ItemEvents;
extern const IID IID_NameSpaceEvents;

class ComModel {
 public:
  explicit ComModel(std::shared_ptr<host::Application> app);
  // Stops every bridge from the host objects and drops the model's references.
  ~ComModel();
  ComModel(const ComModel&) = delete;
  ComModel& operator=(const ComModel&) = delete;

  // The Application object (no reference added).
  IDispatch* Application();
  // Fires OptionsPagesAdd(pages) on the Application's sinks.
  void RaiseOptionsPagesAdd(IDispatch* pages);
  // The COM object of a host item: one per item for the model's life.
  IDispatch* Wrap(const std::shared_ptr<outlook::Item>& item);
  // Keeps an object for the model's life (takes a reference).
  void Keep(DispatchObject* object);

 private:
  std::shared_ptr<host::Application> app_;
  ComApplication* application_ = nullptr;
  std::map<const outlook::Item*, ComItem*> items_;
  std::vector<DispatchObject*> kept_;
};

}  // namespace host::win32
