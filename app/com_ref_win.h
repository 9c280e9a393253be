#pragma once
// An owning reference to a COM interface: releases it when it goes out of scope, so no path
// through the automation code can leak an intermediate object.
#include <unknwn.h>
#include <windows.h>

#include <utility>

namespace lumenta::com {

template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(const Ref& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~Ref() { Reset(); }

  // Takes over a reference the caller already owns (no AddRef).
  [[nodiscard]] static Ref Adopt(T* pointer) {
    Ref ref;
    ref.p_ = pointer;
    return ref;
  }
  // Holds one more reference to an object somebody else owns.
  [[nodiscard]] static Ref Share(T* pointer) {
    if (pointer) pointer->AddRef();
    return Adopt(pointer);
  }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // For out-parameters: drops the current reference and hands out the slot to fill.
  [[nodiscard]] T** Receive() {
    Reset();
    return &p_;
  }
  [[nodiscard]] void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // The same object through another interface, or an empty reference.
  template <class U>
  [[nodiscard]] Ref<U> Query(REFIID iid) const {
    Ref<U> other;
    if (p_ && FAILED(p_->QueryInterface(iid, other.ReceiveVoid()))) other.Reset();
    return other;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace lumenta::com
