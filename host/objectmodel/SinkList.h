#pragma once
// The receivers advised on one event source. Raising walks a copy of the list so that a
// receiver may advise or unadvise (its own or another sink) while an event is delivered;
// a sink unadvised during the walk receives nothing more.
#include <algorithm>
#include <vector>

namespace host {

template <class Sink>
class SinkList {
 public:
  void Advise(Sink* sink) {
    if (sink && !Contains(sink)) sinks_.push_back(sink);
  }
  void Unadvise(Sink* sink) { sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end()); }
  bool Contains(Sink* sink) const { return std::find(sinks_.begin(), sinks_.end(), sink) != sinks_.end(); }
  size_t Count() const { return sinks_.size(); }

  template <class Call>
  void Raise(Call call) {
    const std::vector<Sink*> snapshot = sinks_;
    for (Sink* sink : snapshot) {
      if (Contains(sink)) call(*sink);
    }
  }

 private:
  std::vector<Sink*> sinks_;
};

}  // namespace host
