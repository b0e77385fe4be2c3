#pragma once
// The COM object over one shared record of the core: every property reads and writes the
// record itself, so a record reached through another record's property is the one held
// there, and changing it changes the holder's.
#include <memory>
#include <string>
#include <utility>

#include "Falcrest_h.h"
#include "comsupport/Convert.h"
#include "comsupport/Identity.h"
#include "comsupport/Object.h"
#include "library/support/Error.h"

namespace falcrest::com {

template <class Record, class Itf>
class RecordObject : public comsupport::DispatchObject<Itf> {
 public:
  using RecordType = Record;
  using InterfaceType = Itf;

  explicit RecordObject(std::shared_ptr<Record> record) : record_(std::move(record)) {}
  ~RecordObject() override { comsupport::Identities().Forget(KeyOf(record_.get()), this); }

  void* STDMETHODCALLTYPE NativeObject(REFIID kind) override {
    return IsEqualIID(kind, __uuidof(Itf)) ? &record_ : nullptr;
  }

  static comsupport::IdentityMap::Key KeyOf(const Record* record) {
    static const char kind = 0;
    return {&kind, record};
  }

 protected:
  Record& r() { return *record_; }

  // Deserialize: an empty variant, always.
  template <class Body>
  HRESULT Empty(VARIANT* result, Body&& body) {
    if (!result) return E_POINTER;
    VariantInit(result);
    return this->Guard(body);
  }

 private:
  std::shared_ptr<Record> record_;
};

// The COM object of a record: the live one if there is one, else a new one (nullptr for no
// record). Throws std::bad_alloc only.
template <class Object>
comsupport::ComPtr<typename Object::InterfaceType> Wrap(const std::shared_ptr<typename Object::RecordType>& record) {
  using Itf = typename Object::InterfaceType;
  if (!record) return nullptr;
  comsupport::ObjectCore* core = comsupport::Identities().FindOrAdd(
      Object::KeyOf(record.get()), [&]() -> comsupport::ObjectCore* { return new Object(record); });
  return comsupport::ComPtr<Itf>::Attach(static_cast<Object*>(core)->Interface());
}

// The record behind an object a caller hands in; nullptr for no object. An object that is not
// this module's record of that class raises the type-mismatch error.
template <class Object>
std::shared_ptr<typename Object::RecordType> Unwrap(IUnknown* object, const char* what) {
  using Itf = typename Object::InterfaceType;
  if (!object) return nullptr;
  comsupport::ComPtr<comsupport::INativeObject> native;
  object->QueryInterface(comsupport::IID_INativeObject, reinterpret_cast<void**>(native.put()));
  void* record = native ? native->NativeObject(__uuidof(Itf)) : nullptr;
  if (!record) RaiseTypeMismatch(std::string("Type mismatch: ") + what);
  return *static_cast<std::shared_ptr<typename Object::RecordType>*>(record);
}

// A new record's object, as interface `iid`: the class factory's creator.
template <class Object>
HRESULT CreateRecord(REFIID iid, void** out) {
  try {
    auto object = Wrap<Object>(std::make_shared<typename Object::RecordType>());
    return object->QueryInterface(iid, out);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace falcrest::com
