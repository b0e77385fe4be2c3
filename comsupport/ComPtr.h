#pragma once
// An owning interface pointer: releases on destruction, put() for out-parameters.
#include <windows.h>
#include <ole2.h>

#include <utility>

namespace comsupport {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already owns.
  static ComPtr Attach(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* p) {
    if (p) p->AddRef();
    return Attach(p);
  }
  ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { if (p_) p_->Release(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Releases what is held and gives the address for a callee to fill.
  T** put() {
    *this = nullptr;
    return &p_;
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }

  // The interface `U` of the same object, or empty.
  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
    return out;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace comsupport
