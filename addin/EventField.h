#pragma once
// A field that receives the events of the object it holds: assigning an object advises the
// field's sink on it and unadvises the sink from the object held before; releasing
// unadvises and lets go.
#include <memory>
#include <utility>

namespace reminder {

template <class Source, class Sink>
class EventField {
 public:
  explicit EventField(Sink* sink) : sink_(sink) {}
  EventField(const EventField&) = delete;
  EventField& operator=(const EventField&) = delete;

  const std::shared_ptr<Source>& Get() const { return source_; }
  explicit operator bool() const { return source_ != nullptr; }

  // Advises the sink on `source`, then lets go of the previous object. When advising fails
  // the field keeps what it held. A previous object that can no longer be unadvised (its
  // window closed, its item deleted) is let go all the same.
  void Set(std::shared_ptr<Source> source) {
    if (source == source_) return;
    if (source) source->Advise(sink_);
    std::shared_ptr<Source> previous = std::exchange(source_, std::move(source));
    if (previous) {
      try {
        previous->Unadvise(sink_);
      } catch (...) {
      }
    }
  }

  // Unadvises and lets go; the field is empty afterwards even when unadvising raised, and
  // the error then reaches the caller.
  void Release() {
    std::shared_ptr<Source> previous = std::move(source_);
    source_.reset();
    if (previous) previous->Unadvise(sink_);
  }

 private:
  Sink* sink_;
  std::shared_ptr<Source> source_;
};

}  // namespace reminder
