#include "comsupport/Boundary.h"

#include <exception>
#include <new>

#include "comsupport/ComPtr.h"
#include "comsupport/Text.h"
#include "error/Error.h"

namespace comsupport {

HRESULT HResultOfNumber(int64_t number) {
  if (number > 0 && number < 65536) return static_cast<HRESULT>(0x800A0000u + static_cast<uint32_t>(number));
  const HRESULT hr = static_cast<HRESULT>(static_cast<uint32_t>(number));
  return FAILED(hr) ? hr : E_FAIL;
}

HRESULT ReportError(REFIID iid, int64_t number, const std::string& source, const std::string& description) {
  const HRESULT hr = HResultOfNumber(number);
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.put()))) return hr;
  create->SetGUID(iid);
  const std::wstring source16 = Utf16(source);
  const std::wstring description16 = Utf16(description);
  create->SetSource(const_cast<LPOLESTR>(source16.c_str()));
  create->SetDescription(const_cast<LPOLESTR>(description16.c_str()));
  ComPtr<IErrorInfo> info = create.As<IErrorInfo>(IID_IErrorInfo);
  SetErrorInfo(0, info.get());
  return hr;
}

HRESULT ReportCurrentException(REFIID iid) noexcept {
  try {
    throw;
  } catch (const falcrest::Error& e) {
    try {
      return ReportError(iid, e.Number(), e.Source(), e.Description());
    } catch (...) {
      return HResultOfNumber(e.Number());
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    try {
      return ReportError(iid, E_UNEXPECTED, std::string(), e.what());
    } catch (...) {
      return E_UNEXPECTED;
    }
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace comsupport
