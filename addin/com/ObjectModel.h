#pragma once
// The client's object model over COM: each class wraps one of the client's objects, reaches
// its members by name through IDispatch, and sinks its events through its connection point.
// A wrapper holds one reference to the client's object and lets go of it when it is
// destroyed; the add-in's fields decide when that is.
#include <windows.h>
#include <ole2.h>

#include <memory>

#include "addin/objectmodel/Outlook.h"
#include "comsupport/ComPtr.h"

namespace reminder::com {

// The client's application object, as OnConnection hands it over; nullptr for none.
std::shared_ptr<outlook::Application> WrapApplication(IDispatch* application);

// The client's event interfaces and the DISPIDs of the events the add-in handles.
extern const IID IID_ApplicationEvents;
extern const IID IID_InspectorsEvents;
extern const IID IID_ItemsEvents;
extern const IID IID_ItemEvents;
extern const IID IID_NameSpaceEvents;
inline constexpr DISPID kDispidOptionsPagesAdd = 0xF005;
inline constexpr DISPID kDispidNewInspector = 0xF001;
inline constexpr DISPID kDispidItemAdd = 0xF001;
inline constexpr DISPID kDispidOpen = 0xF003;
inline constexpr DISPID kDispidWrite = 0xF002;

}  // namespace reminder::com
