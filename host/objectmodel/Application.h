#pragma once
// The client's application object: its session, its inspectors and the Options dialog's
// OptionsPagesAdd event.
#include <memory>

#include "addin/objectmodel/Outlook.h"
#include "host/objectmodel/Folders.h"
#include "host/objectmodel/Inspectors.h"
#include "host/objectmodel/SinkList.h"

namespace host {

class Application : public outlook::Application {
 public:
  std::shared_ptr<outlook::NameSpace> Session() override { return session_; }
  std::shared_ptr<outlook::Inspectors> GetInspectors() override { return inspectors_; }
  void Advise(outlook::ApplicationEvents* sink) override { sinks_.Advise(sink); }
  void Unadvise(outlook::ApplicationEvents* sink) override { sinks_.Unadvise(sink); }

  host::Session& Folders() { return *session_; }
  InspectorCollection& Windows() { return *inspectors_; }
  // Raised while the Options dialog is built; a receiver's error reaches the caller.
  void RaiseOptionsPagesAdd(outlook::PropertyPages& pages) {
    sinks_.Raise([&](outlook::ApplicationEvents& sink) { sink.OptionsPagesAdd(pages); });
  }

 private:
  std::shared_ptr<host::Session> session_ = std::make_shared<host::Session>();
  std::shared_ptr<InspectorCollection> inspectors_ = std::make_shared<InspectorCollection>();
  SinkList<outlook::ApplicationEvents> sinks_;
};

}  // namespace host
