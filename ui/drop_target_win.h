#pragma once
// The drop target component (拖放对象): an OLE IDropTarget registered on a window's handle. It
// accepts files (CF_HDROP), links (UniformResourceLocator), HTML ("HTML Format") and text, and
// reports each drop as one GBK text:
//   files: a single file's full path; for several files every path, each followed by CR LF;
//   link, HTML, text: what was dropped, converted to GBK.
// The drop is reported after the drag operation has finished (the report is posted to the
// window), so a handler that shows a message does not keep the drag source waiting.
#include <ole2.h>
#include <windows.h>

#include <functional>

#include "base/text.h"
#include "win/com_win.h"

namespace lumenta::ui {

enum class DropKind { kFiles, kLink, kHtml, kText };

class DropTarget final : public IDropTarget {
 public:
  using Receiver = std::function<void(DropKind kind, Text text)>;

  // A new target with one reference, held by the result.
  [[nodiscard]] static win::ComPtr<DropTarget> Create(Receiver receiver);

  // Registers the target on `window` (OLE is initialised for the thread while it is
  // registered). Registration succeeds once per window: a second call, or a window that already
  // has a target, is refused and changes nothing.
  [[nodiscard]] bool Register(HWND window);
  // Revokes the registration (done before the window is destroyed); nothing if not registered.
  void Revoke();
  [[nodiscard]] bool registered() const { return window_ != nullptr; }

  // The text a data object carries in the most specific format this target accepts, or
  // nothing. Exposed for the window's own use and for tests.
  [[nodiscard]] static bool Extract(IDataObject* data, DropKind& kind, Text& text);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  explicit DropTarget(Receiver receiver) : receiver_(std::move(receiver)) {}
  ~DropTarget() = default;
  // The effect shown to the drag source: copy where allowed, else link; never move (the
  // source must not delete what it dropped here).
  DWORD EffectFor(DWORD allowed) const;

  ULONG references_ = 1;
  Receiver receiver_;
  HWND window_ = nullptr;
  bool acceptable_ = false;
};

}  // namespace lumenta::ui
