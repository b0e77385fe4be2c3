#include "host/win32/ObjectModel.h"

#include "host/objectmodel/Items.h"
#include "host/win32/EventPoint.h"
#include "library/support/DateTime.h"
#include "library/support/Error.h"

namespace host::win32 {

const IID IID_ApplicationEvents = {0x0006304E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_InspectorsEvents = {0x00063079, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_ItemsEvents = {0x00063077, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_NameSpaceEvents = {0x0006308C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_ItemEvents = {0x0006303A, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

// The item classes of the client's object model.
constexpr long kClassAppointment = 26;
constexpr long kClassMail = 43;
constexpr long kClassContact = 40;

enum : DISPID {
  kSession = 1, kInspectors, kGetNamespace, kName, kGetDefaultFolder, kItems, kCount, kCurrentItem,
  kClass, kStart, kEnd, kSubject, kLocation, kBody, kReminderSet, kReminderMinutes, kFullName, kParent
};

int IntArgument(DISPPARAMS& params, UINT index) {
  VARIANT* v = Argument(params, index);
  if (!v) throw falcrest::Error(449, "reminder-host", "Argument not optional");
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, v, 0, VT_I4))) {
    throw falcrest::Error(falcrest::error_number::kTypeMismatch, "reminder-host", "Type mismatch");
  }
  return converted.lVal;
}

void SetLong(VARIANT& result, long value) {
  result.vt = VT_I4;
  result.lVal = value;
}

class ComItems : public DispatchObject, public outlook::ItemsEvents {
 public:
  ComItems(ComModel& model, host::ItemCollection& items, const std::string& folder)
      : DispatchObject(L"Items", "Items " + folder), model_(model), items_(items),
        events_(AddEventPoint(IID_ItemsEvents, "ItemsEvents")) {
    SetMembers({{L"Count", kCount}});
    items_.Advise(this);
  }
  void Detach() { items_.Unadvise(this); }
  void ItemAdd(const std::shared_ptr<outlook::Item>& item) override {
    VARIANT arg;
    SetObject(arg, model_.Wrap(item));
    events_.Fire(kItemAdd, {arg});
    VariantClear(&arg);
  }

 protected:
  HRESULT Call(DISPID, WORD, DISPPARAMS&, VARIANT& result) override {
    SetLong(result, static_cast<long>(items_.All().size()));
    return S_OK;
  }

 private:
  ComModel& model_;
  host::ItemCollection& items_;
  EventPoint& events_;
};

class ComFolder : public DispatchObject {
 public:
  ComFolder(ComModel& model, host::Folder& folder)
      : DispatchObject(L"MAPIFolder", "Folder " + folder.Name()), folder_(folder) {
    SetMembers({{L"Items", kItems}, {L"Name", kName}});
    items_ = new ComItems(model, folder.Contents(), folder.Name());
    model.Keep(items_);
    items_->Release();
  }

 protected:
  HRESULT Call(DISPID id, WORD, DISPPARAMS&, VARIANT& result) override {
    if (id == kName) SetText(result, folder_.Name());
    else SetObject(result, items_);
    return S_OK;
  }

 private:
  host::Folder& folder_;
  ComItems* items_;
};

class ComNameSpace : public DispatchObject {
 public:
  ComNameSpace(ComModel& model, host::Session& session)
      : DispatchObject(L"NameSpace", "NameSpace"), model_(model), session_(session) {
    AddEventPoint(IID_NameSpaceEvents, "NameSpaceEvents");  // advised by add-ins; raises nothing here
    SetMembers({{L"GetDefaultFolder", kGetDefaultFolder}});
  }

 protected:
  HRESULT Call(DISPID, WORD, DISPPARAMS& params, VARIANT& result) override {
    const int type = IntArgument(params, 0);
    session_.GetDefaultFolder(type);  // raises for a folder this client lacks
    auto found = folders_.find(type);
    if (found == folders_.end()) {
      auto* folder = new ComFolder(model_, session_.Default(type));
      model_.Keep(folder);
      folder->Release();
      found = folders_.emplace(type, folder).first;
    }
    SetObject(result, found->second);
    return S_OK;
  }

 private:
  ComModel& model_;
  host::Session& session_;
  std::map<int, ComFolder*> folders_;
};

class ComInspector : public DispatchObject {
 public:
  ComInspector(ComModel& model, std::shared_ptr<outlook::Item> item)
      : DispatchObject(L"Inspector", "Inspector"), model_(model), item_(std::move(item)) {
    SetMembers({{L"CurrentItem", kCurrentItem}});
  }

 protected:
  HRESULT Call(DISPID, WORD, DISPPARAMS&, VARIANT& result) override {
    SetObject(result, model_.Wrap(item_));
    return S_OK;
  }

 private:
  ComModel& model_;
  std::shared_ptr<outlook::Item> item_;
};

class ComInspectors : public DispatchObject, public outlook::InspectorsEvents {
 public:
  ComInspectors(ComModel& model, host::InspectorCollection& inspectors)
      : DispatchObject(L"Inspectors", "Inspectors"), model_(model), inspectors_(inspectors),
        events_(AddEventPoint(IID_InspectorsEvents, "InspectorsEvents")) {
    SetMembers({{L"Count", kCount}});
    inspectors_.Advise(this);
  }
  void Detach() { inspectors_.Unadvise(this); }
  void NewInspector(const std::shared_ptr<outlook::Inspector>& inspector) override {
    auto* window = new ComInspector(model_, inspector->CurrentItem());
    model_.Keep(window);
    VARIANT arg;
    SetObject(arg, window);
    window->Release();
    events_.Fire(kNewInspector, {arg});
    VariantClear(&arg);
  }

 protected:
  HRESULT Call(DISPID, WORD, DISPPARAMS&, VARIANT& result) override {
    SetLong(result, static_cast<long>(inspectors_.All().size()));
    return S_OK;
  }

 private:
  ComModel& model_;
  host::InspectorCollection& inspectors_;
  EventPoint& events_;
};

}  // namespace

class ComItem : public DispatchObject, public outlook::AppointmentEvents {
 public:
  explicit ComItem(std::shared_ptr<outlook::Item> item)
      : DispatchObject(Wide(item->TypeName()), item->TypeName() + " " + ItemTitle(*item)), item_(std::move(item)),
        appointment_(dynamic_cast<host::Appointment*>(item_.get())) {
    if (appointment_) {
      events_ = &AddEventPoint(IID_ItemEvents, "ItemEvents");
      SetMembers({{L"Class", kClass}, {L"Start", kStart}, {L"End", kEnd}, {L"Subject", kSubject},
                  {L"Location", kLocation}, {L"Body", kBody}, {L"ReminderSet", kReminderSet},
                  {L"ReminderMinutesBeforeStart", kReminderMinutes}});
      appointment_->Advise(this);
    } else {
      SetMembers({{L"Class", kClass}, {L"Subject", kSubject}, {L"Body", kBody}, {L"FullName", kFullName}});
    }
  }
  void Detach() {
    if (appointment_) appointment_->Unadvise(this);
  }
  void Open(bool& cancel) override { cancel = FireCancellable(kItemOpen) || cancel; }
  void Write(bool& cancel) override { cancel = FireCancellable(kItemWrite) || cancel; }

 protected:
  HRESULT Call(DISPID id, WORD, DISPPARAMS&, VARIANT& result) override {
    auto* mail = dynamic_cast<host::MailItem*>(item_.get());
    auto* contact = dynamic_cast<host::ContactItem*>(item_.get());
    switch (id) {
      case kClass:
        SetLong(result, appointment_ ? kClassAppointment : mail ? kClassMail : kClassContact);
        return S_OK;
      case kSubject:
        SetText(result, ItemTitle(*item_));
        return S_OK;
      case kBody:
        SetText(result, appointment_ ? appointment_->Body() : mail ? mail->body : "");
        return S_OK;
      case kFullName:
        SetText(result, contact ? contact->fullName : "");
        return S_OK;
      default:
        break;
    }
    if (!appointment_) return DISP_E_MEMBERNOTFOUND;
    const host::AppointmentFields& f = appointment_->Fields();
    switch (id) {
      case kStart:
      case kEnd:
        result.vt = VT_DATE;
        result.date = falcrest::ToOleDate(f.start) + (id == kEnd ? f.durationMinutes / 1440.0 : 0.0);
        return S_OK;
      case kLocation:
        SetText(result, f.location);
        return S_OK;
      case kReminderSet:
        result.vt = VT_BOOL;
        result.boolVal = f.reminderSet ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
      case kReminderMinutes:
        SetLong(result, f.reminderMinutesBeforeStart);
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  bool FireCancellable(DISPID id) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BOOL | VT_BYREF;
    arg.pboolVal = &cancel;
    events_->Fire(id, {arg});
    return cancel != VARIANT_FALSE;
  }

  std::shared_ptr<outlook::Item> item_;
  host::Appointment* appointment_;
  EventPoint* events_ = nullptr;
};

class ComApplication : public DispatchObject {
 public:
  ComApplication(ComModel& model, host::Application& app)
      : DispatchObject(L"Application", "Application"), events_(AddEventPoint(IID_ApplicationEvents, "ApplicationEvents")) {
    SetMembers({{L"Session", kSession}, {L"Inspectors", kInspectors}, {L"GetNamespace", kGetNamespace},
                {L"Name", kName}});
    session_ = new ComNameSpace(model, app.Folders());
    model.Keep(session_);
    session_->Release();
    inspectors_ = new ComInspectors(model, app.Windows());
    model.Keep(inspectors_);
    inspectors_->Release();
  }
  EventPoint& Events() { return events_; }
  void Detach() { static_cast<ComInspectors*>(inspectors_)->Detach(); }

 protected:
  HRESULT Call(DISPID id, WORD, DISPPARAMS&, VARIANT& result) override {
    if (id == kName) SetText(result, "reminder-host");
    else SetObject(result, id == kInspectors ? inspectors_ : session_);
    return S_OK;
  }

 private:
  EventPoint& events_;
  DispatchObject* session_;
  DispatchObject* inspectors_;
};

ComModel::ComModel(std::shared_ptr<host::Application> app) : app_(std::move(app)) {
  application_ = new ComApplication(*this, *app_);
  Keep(application_);
  application_->Release();
}

ComModel::~ComModel() {
  application_->Detach();
  for (DispatchObject* object : kept_) {
    if (auto* items = dynamic_cast<ComItems*>(object)) items->Detach();
  }
  for (auto& [item, wrapper] : items_) wrapper->Detach();
  for (auto& [item, wrapper] : items_) wrapper->DropByModel();
  for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) (*it)->DropByModel();
}

IDispatch* ComModel::Application() { return application_; }

void ComModel::RaiseOptionsPagesAdd(IDispatch* pages) {
  VARIANT arg;
  SetObject(arg, pages);
  application_->Events().Fire(kOptionsPagesAdd, {arg});
  VariantClear(&arg);
}

IDispatch* ComModel::Wrap(const std::shared_ptr<outlook::Item>& item) {
  auto found = items_.find(item.get());
  if (found != items_.end()) return static_cast<DispatchObject*>(found->second);
  auto* wrapper = new ComItem(item);
  wrapper->HoldByModel();
  wrapper->Release();
  items_.emplace(item.get(), wrapper);
  return static_cast<DispatchObject*>(wrapper);
}

void ComModel::Keep(DispatchObject* object) {
  object->HoldByModel();
  kept_.push_back(object);
}

}  // namespace host::win32
