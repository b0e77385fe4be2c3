#include "addin/com/ObjectModel.h"

#include <string>
#include <utility>
#include <vector>

#include "addin/com/Dispatch.h"
#include "addin/com/EventSink.h"
#include "comsupport/Text.h"
#include "library/support/Error.h"

namespace reminder::com {

const IID IID_ApplicationEvents = {0x0006304E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_InspectorsEvents = {0x00063079, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_ItemsEvents = {0x00063077, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_NameSpaceEvents = {0x0006308C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_ItemEvents = {0x0006303A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

// The connections of one source, one per sink of the add-in.
template <class Sink>
class Connections {
 public:
  void Advise(IDispatch* source, REFIID iid, Sink* sink, Connection::Handler handler) {
    auto connection = std::make_unique<Connection>();
    connection->Advise(source, iid, std::move(handler));
    list_.emplace_back(sink, std::move(connection));
  }
  void Unadvise(Sink* sink) {
    for (auto it = list_.begin(); it != list_.end(); ++it) {
      if (it->first != sink) continue;
      std::unique_ptr<Connection> connection = std::move(it->second);
      list_.erase(it);
      connection->Unadvise();
      return;
    }
  }

 private:
  std::vector<std::pair<Sink*, std::unique_ptr<Connection>>> list_;
};

// The one argument of an event (rgvarg[0]); a missing argument is an empty object.
const VARIANT* OnlyArgument(const DISPPARAMS& params) { return params.cArgs > 0 ? &params.rgvarg[0] : nullptr; }

ComPtr<IDispatch> ObjectArgument(const DISPPARAMS& params) {
  const VARIANT* argument = OnlyArgument(params);
  return argument ? ObjectOf(*argument) : nullptr;
}

falcrest::LocalDateTime LocalOf(DATE date) {
  SYSTEMTIME t{};
  if (!VariantTimeToSystemTime(date, &t)) falcrest::RaiseOverflow("Outlook gave a start date out of range");
  falcrest::LocalDateTime local;
  local.year = t.wYear;
  local.month = t.wMonth;
  local.day = t.wDay;
  local.hour = t.wHour;
  local.minute = t.wMinute;
  local.second = t.wSecond;
  return local;
}

VARIANT TextArgument(const comsupport::Bstr& text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text.get();
  return v;
}

class DispatchItem : public outlook::Item {
 public:
  DispatchItem(ComPtr<IDispatch> object, std::string typeName)
      : object_(std::move(object)), type_name_(std::move(typeName)) {}
  std::string TypeName() const override { return type_name_; }

 private:
  ComPtr<IDispatch> object_;
  std::string type_name_;
};

class DispatchAppointment : public outlook::AppointmentItem {
 public:
  explicit DispatchAppointment(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  std::string TypeName() const override { return "AppointmentItem"; }
  falcrest::LocalDateTime Start() const override { return LocalOf(GetDate(object_.get(), L"Start")); }
  std::string Subject() const override { return GetText(object_.get(), L"Subject"); }
  std::string Location() const override { return GetText(object_.get(), L"Location"); }
  std::string Body() const override { return GetText(object_.get(), L"Body"); }
  bool ReminderSet() const override { return GetBoolean(object_.get(), L"ReminderSet"); }
  int32_t ReminderMinutesBeforeStart() const override {
    return GetLong(object_.get(), L"ReminderMinutesBeforeStart");
  }

  void Advise(outlook::AppointmentEvents* sink) override {
    sinks_.Advise(object_.get(), IID_ItemEvents, sink, [sink](DISPID id, DISPPARAMS&, EXCEPINFO* exception) {
      // The add-in never cancels the client's open or save: Cancel is left as it came.
      if (id == kDispidOpen) return GuardEvent(exception, [&] { bool cancel = false; sink->Open(cancel); });
      if (id == kDispidWrite) return GuardEvent(exception, [&] { bool cancel = false; sink->Write(cancel); });
      return S_OK;
    });
  }
  void Unadvise(outlook::AppointmentEvents* sink) override { sinks_.Unadvise(sink); }

 private:
  ComPtr<IDispatch> object_;
  Connections<outlook::AppointmentEvents> sinks_;
};

// An item as the add-in sees it: an appointment when its type name says so.
std::shared_ptr<outlook::Item> WrapItem(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  std::string name = TypeNameOf(object.get());
  if (name == "AppointmentItem") return std::make_shared<DispatchAppointment>(std::move(object));
  return std::make_shared<DispatchItem>(std::move(object), std::move(name));
}

class DispatchItems : public outlook::Items {
 public:
  explicit DispatchItems(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  void Advise(outlook::ItemsEvents* sink) override {
    sinks_.Advise(object_.get(), IID_ItemsEvents, sink, [sink](DISPID id, DISPPARAMS& params, EXCEPINFO* exception) {
      if (id != kDispidItemAdd) return S_OK;
      return GuardEvent(exception, [&] { sink->ItemAdd(WrapItem(ObjectArgument(params))); });
    });
  }
  void Unadvise(outlook::ItemsEvents* sink) override { sinks_.Unadvise(sink); }

 private:
  ComPtr<IDispatch> object_;
  Connections<outlook::ItemsEvents> sinks_;
};

class DispatchFolder : public outlook::MAPIFolder {
 public:
  explicit DispatchFolder(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  std::shared_ptr<outlook::Items> GetItems() override {
    ComPtr<IDispatch> items = GetMember(object_.get(), L"Items");
    return items ? std::make_shared<DispatchItems>(std::move(items)) : nullptr;
  }

 private:
  ComPtr<IDispatch> object_;
};

class DispatchNameSpace : public outlook::NameSpace {
 public:
  explicit DispatchNameSpace(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  std::shared_ptr<outlook::MAPIFolder> GetDefaultFolder(int folderType) override {
    VARIANT type;
    VariantInit(&type);
    V_VT(&type) = VT_I4;
    V_I4(&type) = folderType;
    ComPtr<IDispatch> folder = GetMember(object_.get(), L"GetDefaultFolder", {type});
    return folder ? std::make_shared<DispatchFolder>(std::move(folder)) : nullptr;
  }
  // The add-in handles none of the session's events; the sink only holds the connection.
  void Advise(outlook::NameSpaceEvents* sink) override {
    sinks_.Advise(object_.get(), IID_NameSpaceEvents, sink, [](DISPID, DISPPARAMS&, EXCEPINFO*) { return S_OK; });
  }
  void Unadvise(outlook::NameSpaceEvents* sink) override { sinks_.Unadvise(sink); }

 private:
  ComPtr<IDispatch> object_;
  Connections<outlook::NameSpaceEvents> sinks_;
};

class DispatchInspector : public outlook::Inspector {
 public:
  explicit DispatchInspector(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  std::shared_ptr<outlook::Item> CurrentItem() override { return WrapItem(GetMember(object_.get(), L"CurrentItem")); }

 private:
  ComPtr<IDispatch> object_;
};

class DispatchInspectors : public outlook::Inspectors {
 public:
  explicit DispatchInspectors(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  void Advise(outlook::InspectorsEvents* sink) override {
    sinks_.Advise(object_.get(), IID_InspectorsEvents, sink,
                  [sink](DISPID id, DISPPARAMS& params, EXCEPINFO* exception) {
                    if (id != kDispidNewInspector) return S_OK;
                    return GuardEvent(exception, [&] {
                      ComPtr<IDispatch> inspector = ObjectArgument(params);
                      sink->NewInspector(inspector ? std::make_shared<DispatchInspector>(std::move(inspector))
                                                   : nullptr);
                    });
                  });
  }
  void Unadvise(outlook::InspectorsEvents* sink) override { sinks_.Unadvise(sink); }

 private:
  ComPtr<IDispatch> object_;
  Connections<outlook::InspectorsEvents> sinks_;
};

class DispatchPropertyPages : public outlook::PropertyPages {
 public:
  explicit DispatchPropertyPages(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  void Add(const std::string& progId, const std::string& title) override {
    comsupport::Bstr page(comsupport::NewBstr(progId));
    comsupport::Bstr caption(comsupport::NewBstr(title));
    Variant ignored;
    Call(object_.get(), L"Add", {TextArgument(page), TextArgument(caption)}, ignored);
  }

 private:
  ComPtr<IDispatch> object_;
};

class DispatchApplication : public outlook::Application {
 public:
  explicit DispatchApplication(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  std::shared_ptr<outlook::NameSpace> Session() override {
    ComPtr<IDispatch> session = GetMember(object_.get(), L"Session");
    return session ? std::make_shared<DispatchNameSpace>(std::move(session)) : nullptr;
  }
  std::shared_ptr<outlook::Inspectors> GetInspectors() override {
    ComPtr<IDispatch> inspectors = GetMember(object_.get(), L"Inspectors");
    return inspectors ? std::make_shared<DispatchInspectors>(std::move(inspectors)) : nullptr;
  }
  void Advise(outlook::ApplicationEvents* sink) override {
    sinks_.Advise(object_.get(), IID_ApplicationEvents, sink,
                  [sink](DISPID id, DISPPARAMS& params, EXCEPINFO* exception) {
                    if (id != kDispidOptionsPagesAdd) return S_OK;
                    // A page that cannot be added goes back to the client as the event's failure.
                    return GuardEvent(exception, [&] {
                      DispatchPropertyPages pages(ObjectArgument(params));
                      sink->OptionsPagesAdd(pages);
                    });
                  });
  }
  void Unadvise(outlook::ApplicationEvents* sink) override { sinks_.Unadvise(sink); }

 private:
  ComPtr<IDispatch> object_;
  Connections<outlook::ApplicationEvents> sinks_;
};

}  // namespace

std::shared_ptr<outlook::Application> WrapApplication(IDispatch* application) {
  if (!application) return nullptr;
  return std::make_shared<DispatchApplication>(ComPtr<IDispatch>::Share(application));
}

}  // namespace reminder::com
