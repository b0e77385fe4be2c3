#pragma once
// Calls into the client's objects by member name, as a late-bound caller makes them:
// GetIDsOfNames, then Invoke. A failing call raises falcrest::Error with the client's own
// description where it gave one.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "comsupport/ComPtr.h"

namespace reminder::com {

using comsupport::ComPtr;

// Owns a VARIANT.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }
  VARIANT* get() { return &v_; }
  const VARIANT& value() const { return v_; }

 private:
  VARIANT v_;
};

// Reads a property (DISPATCH_PROPERTYGET | DISPATCH_METHOD, as script callers send) or
// calls a method with `args` given first-first; the result is left in `result`.
void Call(IDispatch* object, const wchar_t* member, const std::vector<VARIANT>& args, Variant& result);

// The result of a member as an object; empty when the client gave none (VT_EMPTY, VT_NULL
// or a null object).
ComPtr<IDispatch> GetMember(IDispatch* object, const wchar_t* member, const std::vector<VARIANT>& args = {});
// The result of a member converted to text, Boolean, 32-bit number or date.
std::string GetText(IDispatch* object, const wchar_t* member);
bool GetBoolean(IDispatch* object, const wchar_t* member);
LONG GetLong(IDispatch* object, const wchar_t* member);
DATE GetDate(IDispatch* object, const wchar_t* member);

// The object held by an argument of an event (plain or by reference); empty for none.
ComPtr<IDispatch> ObjectOf(const VARIANT& argument);

// The name of the object's type, as a late-bound caller's TypeName gives it: the class
// name from IProvideClassInfo, else the name of its dispatch type without a leading "_";
// "Object" when it describes itself in no way.
std::string TypeNameOf(IDispatch* object);

}  // namespace reminder::com
