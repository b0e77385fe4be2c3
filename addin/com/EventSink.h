#pragma once
// One advised event sink on a source of the client's events: the sink is a small IDispatch
// that answers QueryInterface for IUnknown, IDispatch and the event interface (a source that
// asks for the event interface refuses a sink that does not), and hands every event to a
// handler. Arguments arrive last-first, as the source fires them.
#include <windows.h>
#include <ocidl.h>

#include <functional>

#include "comsupport/ComPtr.h"

namespace reminder::com {

class SinkObject;  // EventSink.cpp

class Connection {
 public:
  // Handles one event; an error is reported to the source through `exception`. Events the
  // handler does not know are answered with S_OK.
  using Handler = std::function<HRESULT(DISPID id, DISPPARAMS& params, EXCEPINFO* exception)>;

  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  // A connection still advised is unadvised quietly.
  ~Connection();

  // Advises a new sink for the event interface `iid` on the source; raises falcrest::Error
  // when the source has no such connection point or refuses the sink.
  void Advise(IDispatch* source, REFIID iid, Handler handler);
  // Unadvises; raises when the source refuses. The sink hears nothing afterwards, and the
  // connection is let go even then.
  void Unadvise();

 private:
  comsupport::ComPtr<IConnectionPoint> point_;
  SinkObject* sink_ = nullptr;  // our own reference
  DWORD cookie_ = 0;
};

// Runs an event handler body, turning what it throws into EXCEPINFO and DISP_E_EXCEPTION.
HRESULT GuardEvent(EXCEPINFO* exception, const std::function<void()>& body) noexcept;

}  // namespace reminder::com
