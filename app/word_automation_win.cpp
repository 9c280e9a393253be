// WordAutomation: construction, the Application's creation, and the operations the document
// search uses.
#include "app/word_automation_win.h"

#include <objbase.h>
#include <ole2.h>

#include "win/dispatch_win.h"

namespace lumenta::app {

using win::Arg;
using win::Bool;
using win::CallMethod;
using win::GetProperty;
using win::Int;
using win::PutProperty;
using win::Str;
using win::Swallow;
using win::Variant;

namespace {

constexpr wchar_t kProgId[] = L"WORD.Application";
// Selection.MoveRight's unit for characters (wdCharacter).
constexpr int kCharacterUnit = 1;

WordAutomation::InstanceCreator g_createInstance = &CoCreateInstance;

}  // namespace

WordAutomation::InstanceCreator WordAutomation::SetInstanceCreator(InstanceCreator creator) {
  InstanceCreator previous = g_createInstance;
  g_createInstance = creator ? creator : &CoCreateInstance;
  return previous;
}

WordAutomation::WordAutomation() {
  // S_FALSE (already initialised on this thread) counts too: each success is paired with one
  // CoUninitialize.
  comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

WordAutomation::~WordAutomation() {
  // The references go before COM does.
  findObject_.Reset();
  lastSearchText_ = Variant();
  table_.Reset();
  application_.Reset();
  if (comReady_) CoUninitialize();
}

void WordAutomation::CreateApplication() {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(kProgId, &clsid))) return;
  win::ComPtr<IUnknown> created;
  HRESULT status = g_createInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                    reinterpret_cast<void**>(created.Receive()));
  // Systems without distributed COM reject a context set that includes the remote server.
  if (status == E_INVALIDARG) {
    status = g_createInstance(clsid, nullptr, CLSCTX_ALL & ~CLSCTX_REMOTE_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(created.Receive()));
  }
  if (FAILED(status) || !created) return;
  if (FAILED(OleRun(created.get()))) return;  // the new object goes; the previous one stays
  win::ComPtr<IDispatch> application = win::Query<IDispatch>(created.get(), IID_IDispatch);
  if (!application) return;
  application_ = std::move(application);
}

void WordAutomation::OpenDocument(std::wstring_view path) {
  Swallow(CallMethod(app(), L"Documents.Open", {win::WStr(path)}));
}

bool WordAutomation::SetVisible(bool visible) {
  return SUCCEEDED(PutProperty(app(), L"Visible", Bool(visible)));
}

bool WordAutomation::IsVisible() {
  return GetProperty(app(), L"Visible").value.ToBool().value_or(false);
}

bool WordAutomation::FindFirst(std::string_view text, bool forward, bool useForward,
                               bool highlight) {
  WordSearchOptions options;
  options.highlight = highlight;
  if (useForward)
    options.direction = forward ? SearchDirection::kForward : SearchDirection::kBackward;
  return FindFirst(text, options);
}

bool WordAutomation::FindFirst(std::string_view text, const WordSearchOptions& options) {
  // Start after the current selection: a selection that holds text is collapsed to its end.
  const win::CallResult selected = GetProperty(app(), L"Selection.Text");
  if (!selected.value.ToWide().value_or(std::wstring()).empty()) {
    Swallow(CallMethod(app(), L"Selection.MoveRight", {Int(kCharacterUnit), Int(1)}));
  }

  findObject_ = GetProperty(app(), L"Selection.Find").object();
  IDispatch* find = findObject_.get();
  Swallow(CallMethod(find, L"ClearFormatting"));
  Swallow(PutProperty(find, L"Highlight", Int(options.highlight ? 1 : 0)));
  Swallow(CallMethod(find, L"Replacement.ClearFormatting"));
  Swallow(PutProperty(find, L"Replacement.Text", Str("")));
  lastSearchText_ = Str(text);

  // Only these three are passed; the word processor's defaults apply to the rest (no case or
  // whole-word matching, no wildcards, the Find object's own wrap setting).
  Variant findText = lastSearchText_;
  Variant forwardFlag = Bool(options.direction != SearchDirection::kBackward);
  Variant format = Bool(false);
  const win::CallResult found = CallMethod(find, L"Execute", {},
                                           {{L"FindText", Arg::ByRef(findText)},
                                            {L"Forward", Arg::ByRef(forwardFlag)},
                                            {L"Format", Arg::ByRef(format)}});
  return found.value.ToBool().value_or(false);
}

bool WordAutomation::FindNext() {
  if (!findObject_) return false;
  Variant findText = lastSearchText_;
  Variant forwardFlag = Bool(true);
  const win::CallResult found =
      CallMethod(findObject_.get(), L"Execute", {},
                 {{L"FindText", Arg::ByRef(findText)}, {L"Forward", Arg::ByRef(forwardFlag)}});
  return found.value.ToBool().value_or(false);
}

void WordAutomation::SetFontColor(int colour) {
  Swallow(PutProperty(app(), L"Selection.Font.Color", Int(colour)));
}

void WordAutomation::CloseDocument(int index) {
  const win::ComPtr<IDispatch> document =
      CallMethod(app(), L"Documents.Item", {Int(index)}).object();
  Swallow(CallMethod(document.get(), L"Close"));
}

void WordAutomation::Quit() { Swallow(CallMethod(app(), L"Quit")); }

}  // namespace lumenta::app
