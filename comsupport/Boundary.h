#pragma once
// The edge of every COM method: no C++ exception crosses it. An error leaves as an HRESULT
// with IErrorInfo set (number, source, description), so that a script's Err object and a
// C++ caller's GetErrorInfo show what the core raised.
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>

namespace comsupport {

// The HRESULT of an error number: 0x800A0000 + n for 0 < n < 65536 (the run-time's own
// numbers), the number itself otherwise, E_FAIL if that would not be a failure.
HRESULT HResultOfNumber(int64_t number);
// Sets IErrorInfo for the interface and returns the error's HRESULT.
HRESULT ReportError(REFIID iid, int64_t number, const std::string& source, const std::string& description);
// Call inside a catch block: reports the exception in flight (falcrest::Error with its own
// fields, out of memory as E_OUTOFMEMORY, anything else as E_UNEXPECTED with its text).
HRESULT ReportCurrentException(REFIID iid) noexcept;

// Runs a method body; S_OK when it returns, the reported error when it throws.
template <class Body>
HRESULT Guard(REFIID iid, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportCurrentException(iid);
  }
}

}  // namespace comsupport
