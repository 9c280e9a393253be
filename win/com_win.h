#pragma once
// COM interface pointers: an owning pointer (AddRef on copy, Release at scope end), one more
// reference to an object somebody else owns, and the same object through another interface.
#include <unknwn.h>

#include <utility>

namespace lumenta::win {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (as returned by a Create/Query call).
  static ComPtr Adopt(Interface* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (Interface* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  [[nodiscard]] Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For functions that return a new reference through an out parameter; releases the old one.
  Interface** Receive() {
    Reset();
    return &pointer_;
  }

 private:
  Interface* pointer_ = nullptr;
};

// One more reference to `pointer`'s object.
template <class T>
[[nodiscard]] ComPtr<T> Share(T* pointer) {
  if (pointer) pointer->AddRef();
  return ComPtr<T>::Adopt(pointer);
}

// The object behind `pointer` as `U` (by `iid`), or an empty pointer.
template <class U, class T>
[[nodiscard]] ComPtr<U> Query(T* pointer, REFIID iid) {
  ComPtr<U> other;
  if (pointer && FAILED(pointer->QueryInterface(iid, reinterpret_cast<void**>(other.Receive())))) {
    other.Reset();
  }
  return other;
}

}  // namespace lumenta::win
