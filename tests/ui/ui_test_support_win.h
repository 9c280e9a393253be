#pragma once
// Helpers for tests that drive real windows under Wine: pumping messages, running code later
// from inside whatever message loop is running (a modal loop, a message box, a file dialog),
// reading back native windows, and an OLE data object and drop source for real drags.
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lumenta::testing {

// Dispatches the waiting messages of this thread.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Dispatches messages until `done` holds or `timeout` has passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

inline std::map<UINT_PTR, std::function<void()>>& PendingActions() {
  static std::map<UINT_PTR, std::function<void()>> pending;
  return pending;
}

// Runs `action` once, `delay` from now, from inside whatever message loop this thread runs then.
// Actions still pending when a test ends are dropped (see CancelPendingActions).
inline void RunLater(std::chrono::milliseconds delay, std::function<void()> action) {
  const UINT_PTR id =
      SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        auto found = PendingActions().find(timer);
        if (found == PendingActions().end()) return;
        std::function<void()> run = std::move(found->second);
        PendingActions().erase(found);
        run();
      });
  PendingActions()[id] = std::move(action);
}

// Drops every pending action, so none outlives the test whose locals it refers to.
inline void CancelPendingActions() {
  for (const auto& entry : PendingActions()) KillTimer(nullptr, entry.first);
  PendingActions().clear();
}

class CancelPendingActionsAfterEachTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override { CancelPendingActions(); }
};

inline const bool kPendingActionsCancelledAfterEachTest = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new CancelPendingActionsAfterEachTest);
  return true;
}();

// Calls `check` every 50 ms from inside the running loop until it returns true (then stops), at
// most `tries` times.
inline void PollLater(std::function<bool()> check, int tries = 200) {
  RunLater(std::chrono::milliseconds(50), [check = std::move(check), tries]() mutable {
    if (!check() && tries > 1) PollLater(std::move(check), tries - 1);
  });
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

inline std::u16string TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(wcslen(text.c_str()));
  return std::u16string(text.begin(), text.end());
}

// The window rectangle of `window` in the client coordinates of `container`.
inline RECT RectIn(HWND window, HWND container) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline LPARAM PointParam(int x, int y) { return MAKELPARAM(x, y); }

// A user's click on the tab of page `index` (0-based) of a tab control.
inline void ClickTab(HWND tabs, int index) {
  RECT item;
  SendMessageW(tabs, 0x130A /* TCM_GETITEMRECT */, index, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = PointParam((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(tabs, WM_LBUTTONUP, 0, at);
}

// The top-level windows of this thread with this class, visible or not.
inline std::vector<HWND> ThreadWindowsOfClass(const std::wstring& className) {
  struct Search {
    std::wstring className;
    std::vector<HWND> found;
  } search{className, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        if (ClassOf(window) == search->className) search->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// An HGLOBAL holding `bytes`.
inline HGLOBAL GlobalBytes(const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 2);
  void* target = GlobalLock(memory);
  memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  return memory;
}

// CF_HDROP contents for these paths (wide).
inline std::string DropFilesBytes(const std::vector<std::wstring>& paths) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::wstring& path : paths) {
    bytes.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * 2);
  }
  bytes.append(2, '\0');
  return bytes;
}

inline std::string WideBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

// A data object offering fixed HGLOBAL formats, as a drag source would.
class TestDataObject final : public IDataObject {
 public:
  void Add(CLIPFORMAT format, std::string bytes) { formats_[format] = std::move(bytes); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the stack

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalBytes(formats_[format->cfFormat]);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (format == nullptr || !(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    return formats_.count(format->cfFormat) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  ULONG references_ = 1;
  std::map<CLIPFORMAT, std::string> formats_;
};

// A drop source that lets the drag move for a few steps and then drops, the way a user drags
// over a window and lets go of the button.
class TestDropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return ++steps_ >= 4 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int steps_ = 0;
};

// Drags `data` from the screen point `at` and drops it there (a real OLE drag: the target is
// found under the cursor). Returns the effect DoDragDrop reports.
inline DWORD DragAndDropAt(POINT at, IDataObject* data, DWORD allowed = DROPEFFECT_COPY) {
  SetCursorPos(at.x, at.y);
  TestDropSource source;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data, &source, allowed, &effect);
  return effect;
}

}  // namespace lumenta::testing
