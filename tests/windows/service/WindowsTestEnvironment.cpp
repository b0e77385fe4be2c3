// What a test program on Windows sets up before its first test, as the client does for the
// add-in: COM (the XML backend creates MSXML objects) and Winsock (the loopback servers).
// The main thread joins the multithreaded apartment, so that the worker threads of a test
// use COM through it without initialising it themselves.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <objbase.h>

#include <cstdio>

namespace {

class WindowsTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override {
    WSACleanup();
    CoUninitialize();
  }
};

// A crash must fail the test: under Wine an unhandled exception starts the debugger and the
// program then exits with 0.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "unhandled exception 0x%08lx at %p\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

const LPTOP_LEVEL_EXCEPTION_FILTER kPreviousFilter = SetUnhandledExceptionFilter(&OnUnhandledException);

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WindowsTestEnvironment);

}  // namespace
