#pragma once
// The COM object over one shared record of the core: every property reads and writes the
// record itself, so a record reached through another record's property is the one held
// there, and changing it changes the holder's. A record's class lists its properties with
// RECORD_PROPERTY; reads and writes by the field's type are here, once.
#include <memory>
#include <string>
#include <utility>

#include "Falcrest_h.h"
#include "comsupport/Convert.h"
#include "comsupport/Identity.h"
#include "comsupport/Object.h"
#include "library/com/Records.h"
#include "library/support/Error.h"

namespace falcrest::com {

template <class Record, class Itf>
class RecordObject : public comsupport::DispatchObject<Itf> {
 public:
  using RecordType = Record;
  using InterfaceType = Itf;

  explicit RecordObject(std::shared_ptr<Record> record) : record_(std::move(record)) {}
  ~RecordObject() override { comsupport::Identities().Forget(KeyOf(record_.get()), this); }

  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return this->Get(result, [&] { return r().Serialize(comsupport::Utf8(tag)); });
  }
  // An empty variant, always.
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    return this->Guard([&] { r().Deserialize(comsupport::Utf8(xml)); });
  }

  void* STDMETHODCALLTYPE NativeObject(REFIID kind) override {
    return IsEqualIID(kind, __uuidof(Itf)) ? &record_ : nullptr;
  }

  static comsupport::IdentityMap::Key KeyOf(const Record* record) {
    static const char kind = 0;
    return {&kind, record};
  }

 protected:
  Record& r() { return *record_; }

  // Numbers and dates as they are, texts from UTF-16, booleans from VARIANT_BOOL.
  template <class Out, class Field>
  HRESULT Read(Out* result, Field Record::*field) {
    return this->Get(result, [&] { return r().*field; });
  }
  template <class In, class Field>
  HRESULT Write(In value, Field Record::*field) {
    return this->Guard([&] { r().*field = value; });
  }
  HRESULT Write(BSTR value, std::string Record::*field) {
    return this->Guard([&] { r().*field = comsupport::Utf8(value); });
  }
  HRESULT Write(VARIANT_BOOL value, bool Record::*field) {
    return this->Guard([&] { r().*field = comsupport::Boolean(value); });
  }
  // Arrays of records, as arrays of their objects.
  template <class Item>
  HRESULT Read(VARIANT* result, RecordArray<Item> Record::*field) {
    if (!result) return E_POINTER;
    VariantInit(result);
    return this->Guard([&] { WriteArray(r().*field, result); });
  }
  template <class Item>
  HRESULT Write(VARIANT value, RecordArray<Item> Record::*field) {
    return this->Guard([&] { ReadArray(value, r().*field); });
  }
  // A record held by the record, as its object.
  template <class Out, class Item>
  HRESULT Read(Out** result, std::shared_ptr<Item> Record::*field) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return this->Guard([&] { *result = ObjectOf(r().*field).Detach(); });
  }
  template <class In, class Item>
  HRESULT Write(In* value, std::shared_ptr<Item> Record::*field) {
    return this->Guard([&] { RecordOf(value, r().*field); });
  }

 private:
  std::shared_ptr<Record> record_;
};

// get_Name and put_Name of a record's object over the record's field Name.
#define RECORD_PROPERTY(Name, ComType)                                                         \
  STDMETHODIMP get_##Name(ComType* result) override { return Read(result, &RecordType::Name); } \
  STDMETHODIMP put_##Name(ComType value) override { return Write(value, &RecordType::Name); }

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
