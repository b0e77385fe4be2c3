// A proxy of a Falcrest object in a second apartment: the call, the in/out string changed in
// place and the error's number cross the apartment boundary. (Wine's channel does not carry
// IErrorInfo across apartments, so the description is not checked here.)
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "Falcrest_h.h"

namespace {

std::wstring Text(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

// Runs `body` in a new single-threaded apartment while this one keeps serving its calls.
template <class Body>
void InOtherApartment(Body body) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread other([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    body();
    CoUninitialize();
    SetEvent(done);
  });
  while (MsgWaitForMultipleObjects(1, &done, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  other.join();
  CloseHandle(done);
}

TEST(FalcrestMarshal, Base64ThroughAProxy) {
  ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"Falcrest.Base64Class", &clsid));
  _Base64Class* object = nullptr;
  ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(_Base64Class),
                                   reinterpret_cast<void**>(&object)));
  IStream* stream = nullptr;
  ASSERT_EQ(S_OK, CoMarshalInterThreadInterfaceInStream(__uuidof(_Base64Class), object, &stream));

  InOtherApartment([&] {
    _Base64Class* proxy = nullptr;
    ASSERT_EQ(S_OK, CoGetInterfaceAndReleaseStream(stream, __uuidof(_Base64Class), reinterpret_cast<void**>(&proxy)));
    ASSERT_NE(static_cast<void*>(proxy), static_cast<void*>(object)) << "a proxy, not the object itself";

    BSTR text = SysAllocString(L"a");
    BSTR encoded = nullptr;
    EXPECT_EQ(S_OK, proxy->Encode64(&text, &encoded));
    EXPECT_EQ(L"YQ==", Text(encoded));
    EXPECT_EQ(std::wstring(L"a\0\0", 3), Text(text)) << "the argument carries its padding back";

    BSTR bad = SysAllocString(L"abcde");
    BSTR decoded = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(0x80040000), proxy->Decode64(&bad, &decoded));
    EXPECT_EQ(nullptr, decoded);
    SysFreeString(text);
    SysFreeString(encoded);
    SysFreeString(bad);
    proxy->Release();
  });
  object->Release();
  CoUninitialize();
}

}  // namespace
