#pragma once
// Helpers shared by the record tests.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "library/records/DeviceType.h"
#include "library/support/Error.h"

namespace falcrest::testing {

// Runs `call` and checks that it raises error `number` whose description holds `words`.
inline void ExpectError(const std::function<void()>& call, int64_t number, const std::string& words,
                        const std::string& row) {
  try {
    call();
    ADD_FAILURE() << row << ": no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), number) << row << ": " << e.Description();
    EXPECT_NE(e.Description().find(words), std::string::npos) << row << ": " << e.Description();
  }
}

inline std::shared_ptr<DeviceType> Device(int32_t id, const std::string& kind, const std::string& address) {
  auto d = std::make_shared<DeviceType>();
  d->DeviceId = id;
  d->DeviceType = kind;
  d->DeviceAddress = address;
  return d;
}

// The fragment a service sends for one device, with a default namespace and blanks between
// elements, as a real answer carries.
inline std::string ServiceDevice(const std::string& id, const std::string& kind, const std::string& address,
                                 const std::string& selected = "true") {
  return "<Device>\n  <DeviceId>" + id + "</DeviceId>\n  <DeviceType>" + kind + "</DeviceType>\n  <DeviceAddress>" +
         address + "</DeviceAddress>\n  <ServiceProviderName>prov</ServiceProviderName>\n  <Selected>" + selected +
         "</Selected>\n  <LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>\n"
         "  <DeliveryStatus>Sent</DeliveryStatus>\n  <ExtendStatus>x</ExtendStatus>\n</Device>";
}

}  // namespace falcrest::testing
