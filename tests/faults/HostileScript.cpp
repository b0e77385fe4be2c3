// The parts of the misbehaving server that do not depend on where it runs.
#include "HostileServer.h"

#include <string>

namespace faults {

Step ReadRequest() { return {Step::kReadRequest, "", 0}; }
Step Send(std::string bytes) { return {Step::kSend, std::move(bytes), 0}; }
Step Trickle(std::string bytes, int ms) { return {Step::kTrickle, std::move(bytes), ms}; }
Step Pause(int ms) { return {Step::kPause, "", ms}; }
Step HangUp() { return {Step::kHangUp, "", 0}; }

std::string HostileServer::Url() const {
  return "http://" + address_ + ":" + std::to_string(port_) + "/WebService/OutlookPlugin.asmx";
}

// Three fields a step: its kind, its bytes, its milliseconds.
std::vector<std::string> ScriptFields(const Script& script) {
  std::vector<std::string> fields;
  for (const Step& step : script) {
    fields.insert(fields.end(), {std::to_string(static_cast<int>(step.kind)), step.bytes, std::to_string(step.ms)});
  }
  return fields;
}

Script ScriptOf(const std::vector<std::string>& fields, size_t at) {
  Script script;
  for (size_t i = at; i + 2 < fields.size(); i += 3) {
    script.push_back({static_cast<Step::Kind>(std::stoi(fields[i])), fields[i + 1], std::stoi(fields[i + 2])});
  }
  return script;
}

}  // namespace faults
