#include "ui/drop_target_win.h"

#include <shellapi.h>

#include <string>

#include "base/codepage.h"
#include "base/text_encoders.h"

namespace lumenta::ui {
namespace {

CLIPFORMAT Format(const wchar_t* name) {
  return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
}

FORMATETC HGlobalFormat(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
  FORMATETC request = HGlobalFormat(format);
  return data->QueryGetData(&request) == S_OK;
}

// The bytes of an HGLOBAL medium of `format`; false when the object does not give it.
bool ReadBytes(IDataObject* data, CLIPFORMAT format, std::string& bytes) {
  FORMATETC request = HGlobalFormat(format);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&request, &medium))) return false;
  bool ok = false;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (const void* memory = GlobalLock(medium.hGlobal)) {
      bytes.assign(static_cast<const char*>(memory), size);
      GlobalUnlock(medium.hGlobal);
      ok = true;
    }
  }
  ReleaseStgMedium(&medium);
  return ok;
}

// UTF-16 text held in a byte block, up to its first zero unit (the block may be rounded up).
std::u16string WideText(const std::string& bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  const size_t zero = units.find(u'\0');
  if (zero != std::u16string::npos) units.resize(zero);
  return units;
}

Text AnsiText(const std::string& bytes) {
  const std::string_view text = AsText(bytes);
  return Utf16ToGbk(codepage::ToUtf16(text, codepage::SystemAnsiCodePage()));
}

bool ReadFiles(IDataObject* data, Text& text) {
  FORMATETC request = HGlobalFormat(CF_HDROP);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&request, &medium))) return false;
  bool ok = false;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
    auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::u16string all;
    for (UINT i = 0; i < count; ++i) {
      const UINT length = DragQueryFileW(drop, i, nullptr, 0);
      std::wstring path(length + 1, L'\0');
      const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
      path.resize(copied);
      all.append(reinterpret_cast<const char16_t*>(path.data()), path.size());
      if (count > 1) all += u"\r\n";
    }
    text = Utf16ToGbk(all);
    ok = count > 0;
  }
  ReleaseStgMedium(&medium);
  return ok;
}

}  // namespace

win::ComPtr<DropTarget> DropTarget::Create(Receiver receiver) {
  return win::ComPtr<DropTarget>::Adopt(new DropTarget(std::move(receiver)));
}

bool DropTarget::Register(HWND window) {
  if (window_ != nullptr || window == nullptr) return false;
  // Drag and drop needs OLE on this thread; the reference is given back in Revoke.
  if (FAILED(OleInitialize(nullptr))) return false;
  if (FAILED(RegisterDragDrop(window, this))) {
    OleUninitialize();
    return false;
  }
  window_ = window;
  return true;
}

void DropTarget::Revoke() {
  if (window_ == nullptr) return;
  RevokeDragDrop(window_);
  window_ = nullptr;
  OleUninitialize();
}

bool DropTarget::Extract(IDataObject* data, DropKind& kind, Text& text) {
  if (data == nullptr) return false;
  std::string bytes;
  if (ReadFiles(data, text)) {
    kind = DropKind::kFiles;
    return true;
  }
  if (ReadBytes(data, Format(L"UniformResourceLocatorW"), bytes)) {
    kind = DropKind::kLink;
    text = Utf16ToGbk(WideText(bytes));
    return true;
  }
  if (ReadBytes(data, Format(L"UniformResourceLocator"), bytes)) {
    kind = DropKind::kLink;
    text = AnsiText(bytes);
    return true;
  }
  if (ReadBytes(data, Format(L"HTML Format"), bytes)) {
    kind = DropKind::kHtml;
    text = Utf8ToAnsi(AsText(bytes));
    return true;
  }
  if (ReadBytes(data, CF_UNICODETEXT, bytes)) {
    kind = DropKind::kText;
    text = Utf16ToGbk(WideText(bytes));
    return true;
  }
  if (ReadBytes(data, CF_TEXT, bytes)) {
    kind = DropKind::kText;
    text = AnsiText(bytes);
    return true;
  }
  return false;
}

HRESULT DropTarget::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() { return ++references_; }

ULONG DropTarget::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

DWORD DropTarget::EffectFor(DWORD allowed) const {
  if (!acceptable_) return DROPEFFECT_NONE;
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  return DROPEFFECT_NONE;
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  acceptable_ =
      data != nullptr &&
      (Offers(data, CF_HDROP) || Offers(data, Format(L"UniformResourceLocatorW")) ||
       Offers(data, Format(L"UniformResourceLocator")) || Offers(data, Format(L"HTML Format")) ||
       Offers(data, CF_UNICODETEXT) || Offers(data, CF_TEXT));
  if (effect != nullptr) *effect = EffectFor(*effect);
  return S_OK;
}

HRESULT DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect != nullptr) *effect = EffectFor(*effect);
  return S_OK;
}

HRESULT DropTarget::DragLeave() {
  acceptable_ = false;
  return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  DropKind kind;
  Text text;
  const bool received = Extract(data, kind, text);
  acceptable_ = received;
  if (effect != nullptr) *effect = EffectFor(*effect);
  acceptable_ = false;
  if (received && receiver_) receiver_(kind, std::move(text));
  return S_OK;
}

}  // namespace lumenta::ui
