#pragma once
// Two ways to come by a ui::ComPtr besides Adopt: one more reference to an object somebody else
// owns, and the same object through another interface.
#include <unknwn.h>

#include "ui/com_ptr_win.h"

namespace lumenta::com {

template <class T>
[[nodiscard]] ui::ComPtr<T> Share(T* pointer) {
  if (pointer) pointer->AddRef();
  return ui::ComPtr<T>::Adopt(pointer);
}

// The object behind `pointer` as `U` (by `iid`), or an empty pointer.
template <class U, class T>
[[nodiscard]] ui::ComPtr<U> Query(T* pointer, REFIID iid) {
  ui::ComPtr<U> other;
  if (pointer && FAILED(pointer->QueryInterface(iid, reinterpret_cast<void**>(other.Receive())))) {
    other.Reset();
  }
  return other;
}

}  // namespace lumenta::com
