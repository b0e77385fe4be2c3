#pragma once
// The client's objects as COM objects without a type library: IDispatch by member name
// (names compared without case, DISPATCH_METHOD|DISPATCH_PROPERTYGET accepted, as script
// callers send), a type name through GetTypeInfo, and connection points for their events.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace host::win32 {

class EventPoint;

class DispatchObject : public IDispatch, public IConnectionPointContainer {
 public:
  // typeName: what GetTypeInfo's documentation gives ("AppointmentItem"); label: how the
  // call log names this object ("Items Deleted Items").
  DispatchObject(std::wstring typeName, std::string label);
  virtual ~DispatchObject();
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override;
  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // The model keeps its own references; "release" is logged when the add-ins' last one goes.
  void HoldByModel() {
    ++modelRefs_;
    AddRef();
    heldOutside_ = false;  // the creator's reference goes next
  }
  void DropByModel() { --modelRefs_; Release(); }
  const std::string& Label() const { return label_; }

 protected:
  struct Member {
    const wchar_t* name;
    DISPID id;
  };
  void SetMembers(std::vector<Member> members) { members_ = std::move(members); }
  // An event interface this object is a source of.
  EventPoint& AddEventPoint(REFIID iid, const char* name);
  // One member: fills result; an error HRESULT or a falcrest::Error for a failure.
  virtual HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) = 0;

 private:
  LONG refs_ = 1;
  LONG modelRefs_ = 0;
  bool heldOutside_ = false;
  std::wstring typeName_;
  std::string label_;
  std::vector<Member> members_;
  std::vector<EventPoint*> points_;
};

// The argument at `index` counted from the first as written (DISPPARAMS holds them last-first).
VARIANT* Argument(DISPPARAMS& params, UINT index);
// Results.
void SetObject(VARIANT& result, IDispatch* object);
void SetText(VARIANT& result, const std::string& utf8);
std::string Utf8(const wchar_t* text, int length = -1);
std::wstring Wide(const std::string& utf8);

}  // namespace host::win32
