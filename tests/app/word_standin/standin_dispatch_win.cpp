#include "tests/app/word_standin/standin_dispatch_win.h"

#include <oleauto.h>

#include <atomic>
#include <cstdio>
#include <cwctype>

#include "tests/app/word_standin/standin_log_win.h"
#include "tests/app/word_standin/standin_session.h"

namespace lumenta::standin {
namespace {

std::atomic<long> g_liveObjects{0};

// The word processor's code for a call on an object of an application that has quit.
constexpr HRESULT kDisconnected = RPC_E_DISCONNECTED;

const VARIANT* ThroughReference(const VARIANT* value) {
  while (value && V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
  return value;
}

bool IsLeftOut(const VARIANT* value) {
  return !value || (V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND);
}

std::string Show(const VARIANT& value) {
  if (V_VT(&value) == (VT_BYREF | VT_VARIANT)) return "&" + Show(*V_VARIANTREF(&value));
  switch (V_VT(&value)) {
    case VT_EMPTY:
      return "empty";
    case VT_BOOL:
      return V_BOOL(&value) ? "true" : "false";
    case VT_I2:
      return std::to_string(V_I2(&value));
    case VT_I4:
      return std::to_string(V_I4(&value));
    case VT_R8: {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%g", V_R8(&value));
      return buffer;
    }
    case VT_BSTR:
      return Quote(std::wstring_view(V_BSTR(&value), SysStringLen(V_BSTR(&value))));
    case VT_ERROR:
      return V_ERROR(&value) == DISP_E_PARAMNOTFOUND ? "missing" : "error";
    case VT_DISPATCH:
      return "object";
    default:
      return "vt" + std::to_string(V_VT(&value));
  }
}

bool SameName(const wchar_t* a, const wchar_t* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::towlower(*a) != std::towlower(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

long LiveObjects() { return g_liveObjects.load(); }

Call::Call(WORD flags, DISPPARAMS* params, std::span<const Member> members, int member) {
  put_ = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  const Member& called = members[static_cast<size_t>(member)];
  const UINT total = params ? params->cArgs : 0;
  const UINT named = params ? params->cNamedArgs : 0;
  if (named > total) {
    valid_ = false;
    return;
  }
  std::string positional;
  std::string namedShown;
  // Positional arguments are the last entries of rgvarg, from the last argument to the first.
  const UINT positionalCount = total - named;
  for (UINT i = 0; i < positionalCount; ++i) {
    const VARIANT& value = params->rgvarg[total - 1 - i];
    arguments_.push_back(&value);
    if (!positional.empty()) positional += ", ";
    positional += Show(value);
  }
  for (UINT i = 0; i < named; ++i) {
    const DISPID id = params->rgdispidNamedArgs[i];
    const VARIANT& value = params->rgvarg[i];
    if (id == DISPID_PROPERTYPUT) {
      putValue_ = ThroughReference(&value);
      continue;
    }
    if (id < 0 || static_cast<size_t>(id) >= called.parameters.size()) {
      valid_ = false;
      return;
    }
    if (arguments_.size() <= static_cast<size_t>(id)) arguments_.resize(id + 1, nullptr);
    if (arguments_[id]) {
      valid_ = false;  // the same parameter passed twice
      return;
    }
    arguments_[id] = &value;
    if (!namedShown.empty()) namedShown += ", ";
    namedShown += ToUtf8(called.parameters[id]) + ":=" + Show(value);
  }
  if (put_ && !putValue_) valid_ = false;
  std::string all = positional;
  if (!namedShown.empty()) all += (all.empty() ? "" : ", ") + namedShown;
  shown_ = ToUtf8(called.name);
  if (put_) {
    shown_ += " = " + (putValue_ ? Show(*putValue_) : std::string("?"));
  } else if (flags & DISPATCH_METHOD) {
    shown_ += "(" + all + ")";
  } else if (!all.empty()) {
    shown_ += "(" + all + ")";
  }
}

const VARIANT* Call::Argument(size_t position) const {
  if (position >= arguments_.size()) return nullptr;
  const VARIANT* value = ThroughReference(arguments_[position]);
  return IsLeftOut(value) ? nullptr : value;
}

std::optional<long> Call::Int(size_t position) const {
  const VARIANT* value = Argument(position);
  if (!value) return std::nullopt;
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4))) {
    return std::nullopt;
  }
  return V_I4(&converted);
}

std::optional<bool> Call::Bool(size_t position) const {
  const VARIANT* value = Argument(position);
  if (!value) return std::nullopt;
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BOOL))) {
    return std::nullopt;
  }
  return V_BOOL(&converted) != VARIANT_FALSE;
}

std::optional<std::wstring> Call::Text(size_t position) const {
  const VARIANT* value = Argument(position);
  if (!value) return std::nullopt;
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BSTR))) {
    return std::nullopt;
  }
  std::wstring text(V_BSTR(&converted), SysStringLen(V_BSTR(&converted)));
  VariantClear(&converted);
  return text;
}

StandInObject::StandInObject(const char* className, std::shared_ptr<Session> session)
    : className_(className), session_(std::move(session)) {
  ++g_liveObjects;
}

StandInObject::~StandInObject() { --g_liveObjects; }

HRESULT StandInObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else {
    *out = OtherInterface(iid);
  }
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG StandInObject::AddRef() { return ++references_; }

ULONG StandInObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT StandInObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT StandInObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT StandInObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  const std::span<const Member> members = Members();
  int found = -1;
  for (size_t i = 0; i < members.size(); ++i) {
    if (SameName(members[i].name, names[0])) found = static_cast<int>(i);
  }
  HRESULT status = S_OK;
  ids[0] = found < 0 ? DISPID_UNKNOWN : found + 1;
  if (found < 0) status = DISP_E_UNKNOWNNAME;
  // The parameters' DISPIDs are their positions, as in the word processor's type library.
  for (UINT n = 1; n < count; ++n) {
    ids[n] = DISPID_UNKNOWN;
    if (found < 0) continue;
    const auto& parameters = members[static_cast<size_t>(found)].parameters;
    for (size_t p = 0; p < parameters.size(); ++p) {
      if (SameName(parameters[p], names[n])) ids[n] = static_cast<DISPID>(p);
    }
    if (ids[n] == DISPID_UNKNOWN) status = DISP_E_UNKNOWNNAME;
  }
  return status;
}

HRESULT StandInObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT*) {
  const std::span<const Member> members = Members();
  if (id < 1 || static_cast<size_t>(id) > members.size()) return DISP_E_MEMBERNOTFOUND;
  const Call call(flags, params, members, id - 1);
  const bool put = call.put();
  LogLine(std::string(put                         ? "put "
                      : (flags & DISPATCH_METHOD) ? "call "
                                                  : "get ") +
          className_ + "." + call.Shown());
  if (!call.valid()) return DISP_E_BADPARAMCOUNT;
  if (session_->quit) return kDisconnected;
  if (result) VariantInit(result);
  return Handle(id - 1, call, result, exception);
}

HRESULT Raise(EXCEPINFO* exception, HRESULT code, const wchar_t* description) {
  LogLine("raise " + ToUtf8(description));
  if (exception) {
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(L"Microsoft Word");
    exception->bstrDescription = SysAllocString(description);
    exception->scode = code;
  }
  return DISP_E_EXCEPTION;
}

void ReturnObject(VARIANT* result, IDispatch* object) {
  if (!result) {
    object->Release();
    return;
  }
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
}

void ReturnBool(VARIANT* result, bool value) {
  if (!result) return;
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void ReturnInt(VARIANT* result, long value) {
  if (!result) return;
  V_VT(result) = VT_I4;
  V_I4(result) = value;
}

void ReturnText(VARIANT* result, std::wstring_view text) {
  if (!result) return;
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace lumenta::standin
