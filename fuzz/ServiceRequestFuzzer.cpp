// The reference service's SOAP handling on any request body, in-process, on a temporary
// SQLite database with the demo member. Handle must never throw, and its answer must be a
// well-formed envelope with status 200 or 500 whatever the request held.
#include <pugixml.hpp>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "reference-service/ReminderStore.h"
#include "reference-service/SoapEndpoint.h"

namespace {

// A database in a fresh folder (on tmpfs when there is one: every call may write), removed
// when the process ends.
class TemporaryStore {
 public:
  TemporaryStore() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    folder_ = std::string(base) + "/service-fuzz-XXXXXX";
    if (!::mkdtemp(&folder_[0])) std::abort();
    store_ = std::make_unique<reminder_service::ReminderStore>(folder_ + "/service.db");
    store_->SeedDemo();
  }
  ~TemporaryStore() {
    store_.reset();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((folder_ + "/service.db" + suffix).c_str());
    ::rmdir(folder_.c_str());
  }
  reminder_service::ReminderStore& Get() { return *store_; }

 private:
  std::string folder_;
  std::unique_ptr<reminder_service::ReminderStore> store_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TemporaryStore store;
  static reminder_service::SoapEndpoint endpoint(store.Get());

  reminder_service::SoapCall call;
  call.body.assign(reinterpret_cast<const char*>(data), size);
  call.host = "127.0.0.1:8080";
  const reminder_service::SoapReply reply = endpoint.Handle(call);

  if (reply.status != 200 && reply.status != 500) {
    std::fprintf(stderr, "status %d\n", reply.status);
    std::abort();
  }
  pugi::xml_document answer;
  const pugi::xml_parse_result parsed = answer.load_buffer(reply.body.data(), reply.body.size());
  if (!parsed || !answer.child("soap:Envelope").child("soap:Body")) {
    std::fprintf(stderr, "the answer is no SOAP envelope (%s):\n%s\n", parsed.description(), reply.body.c_str());
    std::abort();
  }
  return 0;
}
