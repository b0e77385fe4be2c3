// The COM objects of the MD5 digest and Base64.
#include "library/com/Classes.h"
#include "library/digest/Base64Class.h"
#include "library/digest/MD5HashClass.h"

#include "comsupport/Convert.h"
#include "comsupport/Object.h"

namespace falcrest::com {

using comsupport::Utf8;

namespace {

class MD5HashObject final : public comsupport::DispatchObject<_MD5HashClass> {
 public:
  // The text is passed by reference and left unchanged.
  STDMETHODIMP ComputeHash(BSTR* text, BSTR* result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!text) return E_POINTER;
    return Guard([&] { comsupport::Store(result, MD5HashClass().ComputeHash(Utf8(*text))); });
  }
};

class Base64Object final : public comsupport::DispatchObject<_Base64Class> {
 public:
  STDMETHODIMP Encode64(BSTR* sString, BSTR* result) override {
    return Transform(sString, result, [](std::string& text) { return Base64Class().Encode64(text); });
  }
  STDMETHODIMP Decode64(BSTR* sString, BSTR* result) override {
    return Transform(sString, result, [](std::string& text) { return Base64Class().Decode64(text); });
  }

 private:
  // Both change their argument in place, and what they changed stays changed when they fail.
  template <class Operation>
  HRESULT Transform(BSTR* argument, BSTR* result, Operation&& operation) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!argument) return E_POINTER;
    return Guard([&] {
      std::string text = Utf8(*argument);
      std::string output;
      try {
        output = operation(text);
      } catch (...) {
        comsupport::ReplaceBstr(argument, text);
        throw;
      }
      comsupport::ReplaceBstr(argument, text);
      comsupport::Store(result, output);
    });
  }
};

}  // namespace

HRESULT CreateMD5HashClass(REFIID iid, void** out) { return CreatePlain<MD5HashObject>(iid, out); }
HRESULT CreateBase64Class(REFIID iid, void** out) { return CreatePlain<Base64Object>(iid, out); }

}  // namespace falcrest::com
