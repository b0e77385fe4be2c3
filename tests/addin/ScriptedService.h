#pragma once
// A reminder service on a free loopback port whose answers the test scripts per web method:
// the member's devices, the id a look-up finds, faults, empty answers, error texts, broken
// answers. Every call is recorded with its method and body.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace addin_test {

struct ServiceCall {
  std::string method;  // from the SOAPAction header
  std::string body;    // the request entity
};

// The text of the first <tag>..</tag> in xml, or "(no tag)" when there is none.
std::string ElementText(const std::string& xml, const std::string& tag);
// How often "<tag>" occurs in xml.
size_t CountElements(const std::string& xml, const std::string& tag);

class ScriptedService {
 public:
  enum class Mode {
    kNormal,  // the scripted result
    kFault,   // a SOAP fault
    kEmpty,   // a response element without any text
    kBroken,  // an error page that is no SOAP at all: the client fails reading it
  };

  ScriptedService();
  ~ScriptedService();
  ScriptedService(const ScriptedService&) = delete;
  ScriptedService& operator=(const ScriptedService&) = delete;

  std::string Url() const;

  // The member's device of a type; every type without one answers empty.
  void SetDevice(const std::string& type, const std::string& address, const std::string& provider = "");
  void RemoveDevice(const std::string& type);
  // The id GetReminderIds finds; -1 answers an empty result (no ids).
  void SetReminderId(int id);
  // Error texts the create and modify answers carry ("" = success).
  void SetCreateError(const std::string& text);
  void SetModifyText(const std::string& text);
  void SetMode(const std::string& method, Mode mode);

  std::vector<ServiceCall> Calls() const;
  // The methods called, in order.
  std::vector<std::string> Methods() const;
  // The calls of one method, in order.
  std::vector<ServiceCall> CallsOf(const std::string& method) const;
  void ClearCalls();

 private:
  std::string Answer(const std::string& method, const std::string& body, int& status);
  std::string Result(const std::string& method, const std::string& body);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;

  mutable std::mutex mutex_;
  struct Device {
    std::string address;
    std::string provider;
  };
  std::map<std::string, Device> devices_;
  int reminder_id_ = -1;
  std::string create_error_;
  std::string modify_text_;
  std::map<std::string, Mode> modes_;
  std::vector<ServiceCall> calls_;
};

}  // namespace addin_test
