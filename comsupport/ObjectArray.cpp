#include "comsupport/ObjectArray.h"

#include <new>
#include <string>

#include "error/Error.h"

namespace comsupport {

namespace {

// Raised as the library raises its own type mismatches: the arrays hold its records.
[[noreturn]] void RaiseTypeMismatch(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kTypeMismatch, "Falcrest", description);
}

[[noreturn]] void NotAnArray() { RaiseTypeMismatch("Type mismatch: the value is not an array of records"); }

// Keeps an array's data locked while its elements are read.
class Access {
 public:
  explicit Access(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) NotAnArray();
  }
  Access(const Access&) = delete;
  Access& operator=(const Access&) = delete;
  ~Access() { SafeArrayUnaccessData(array_); }
  void* data() const { return data_; }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

IUnknown* ObjectOfElement(const VARIANT& element) {
  const VARIANT* v = &element;
  if (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v)) v = V_VARIANTREF(v);
  switch (V_VT(v)) {
    case VT_EMPTY:
      return nullptr;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return V_UNKNOWN(v);
    case VT_BYREF | VT_DISPATCH:
    case VT_BYREF | VT_UNKNOWN:
      return V_UNKNOWNREF(v) ? *V_UNKNOWNREF(v) : nullptr;
    default:
      RaiseTypeMismatch("Type mismatch: an element of the array is not a record");
  }
}

}  // namespace

ObjectArray ReadObjectArray(const VARIANT& value) {
  const VARIANT* v = &value;
  while (V_VT(v) == (VT_BYREF | VT_VARIANT)) {
    v = V_VARIANTREF(v);
    if (!v) NotAnArray();
  }
  const VARTYPE vt = V_VT(v);
  if (!(vt & VT_ARRAY) || ((vt & VT_BYREF) && !V_ARRAYREF(v))) NotAnArray();
  const VARTYPE element = vt & VT_TYPEMASK;
  if (element != VT_VARIANT && element != VT_DISPATCH && element != VT_UNKNOWN) NotAnArray();
  SAFEARRAY* array = (vt & VT_BYREF) ? *V_ARRAYREF(v) : V_ARRAY(v);

  ObjectArray out;
  if (!array) return out;
  if (SafeArrayGetDim(array) != 1) NotAnArray();
  LONG upper = 0;
  SafeArrayGetLBound(array, 1, &out.lower);
  SafeArrayGetUBound(array, 1, &upper);
  out.assigned = true;
  const size_t count = upper >= out.lower ? static_cast<size_t>(upper - out.lower) + 1 : 0;
  out.items.reserve(count);
  Access access(array);
  for (size_t i = 0; i < count; ++i) {
    IUnknown* object = element == VT_VARIANT ? ObjectOfElement(static_cast<VARIANT*>(access.data())[i])
                                             : static_cast<IUnknown**>(access.data())[i];
    out.items.push_back(ComPtr<IUnknown>::Share(object));
  }
  return out;
}

void WriteObjectArray(const ObjectArray& array, VARIANT* out) {
  VariantInit(out);
  V_VT(out) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(out) = nullptr;
  if (!array.assigned) return;
  SAFEARRAYBOUND bound{static_cast<ULONG>(array.items.size()), array.lower};
  SAFEARRAY* made = SafeArrayCreate(VT_VARIANT, 1, &bound);
  if (!made) throw std::bad_alloc();
  {
    Access access(made);
    VARIANT* slots = static_cast<VARIANT*>(access.data());
    for (size_t i = 0; i < array.items.size(); ++i) {
      V_VT(&slots[i]) = VT_DISPATCH;
      V_DISPATCH(&slots[i]) = nullptr;
      if (array.items[i]) {
        array.items[i]->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&V_DISPATCH(&slots[i])));
      }
    }
  }
  V_ARRAY(out) = made;
}

}  // namespace comsupport
