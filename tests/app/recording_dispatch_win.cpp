#include "tests/app/recording_dispatch_win.h"

#include <oleauto.h>

#include <cstdio>
#include <cwctype>

namespace lumenta::testing {

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), n, out.data(), needed, nullptr, nullptr);
  return out;
}

namespace {

std::wstring Lower(std::wstring_view name) {
  std::wstring lower(name);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

class RecordingObject : public IDispatch {
 public:
  RecordingObject(DispatchJournal& journal, std::string path)
      : journal_(journal), path_(std::move(path)) {
    ++journal_.liveObjects;
    journal_.paths[this] = path_;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      --journal_.liveObjects;
      journal_.paths.erase(this);
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT status = S_OK;
    for (UINT i = 0; i < count; ++i) {
      const std::wstring name = names[i];
      if (journal_.unknownNames.count(ToUtf8(name))) {
        ids[i] = DISPID_UNKNOWN;
        status = DISP_E_UNKNOWNNAME;
        continue;
      }
      ids[i] = Intern(name);
    }
    return status;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    if (id < 1 || static_cast<size_t>(id) > journal_.names.size()) return DISP_E_MEMBERNOTFOUND;
    const std::string member = path_ + "." + ToUtf8(journal_.names[id - 1]);

    // Positional arguments come last in rgvarg, in reverse order; named ones first.
    std::string arguments;
    const UINT named = params ? params->cNamedArgs : 0;
    const UINT total = params ? params->cArgs : 0;
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    std::string putValue;
    UINT putIndex = 0;
    for (UINT i = total; i-- > named;) {
      if (!arguments.empty()) arguments += ", ";
      arguments += Show(params->rgvarg[i]);
    }
    for (UINT i = 0; i < named; ++i) {
      if (params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) {
        putValue = Show(params->rgvarg[i]);
        putIndex = i;
        continue;
      }
      if (!arguments.empty()) arguments += ", ";
      const DISPID nameId = params->rgdispidNamedArgs[i];
      const bool known = nameId >= 1 && static_cast<size_t>(nameId) <= journal_.names.size();
      arguments +=
          (known ? ToUtf8(journal_.names[nameId - 1]) : "?") + ":=" + Show(params->rgvarg[i]);
    }
    const std::string shown = arguments.empty() ? member : member + "(" + arguments + ")";

    if (put) {
      journal_.calls.push_back("put " + shown + " = " + putValue);
    } else if (flags & DISPATCH_METHOD) {
      journal_.calls.push_back("call " + member + "(" + arguments + ")");
    } else {
      journal_.calls.push_back("get " + shown);
    }

    auto failure = journal_.failures.find(shown);
    if (failure == journal_.failures.end()) failure = journal_.failures.find(member);
    if (failure != journal_.failures.end()) {
      if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = failure->second;
        exception->bstrDescription = SysAllocString(L"scripted failure");
      }
      return DISP_E_EXCEPTION;
    }
    if (auto back = journal_.writeBack.find(member); back != journal_.writeBack.end()) {
      for (UINT i = 0; i < total; ++i) {
        VARIANT& slot = params->rgvarg[i];
        if (V_VT(&slot) == (VT_BYREF | VT_VARIANT)) {
          VariantCopy(V_VARIANTREF(&slot), const_cast<VARIANT*>(&back->second.raw()));
        }
      }
    }
    if (put) {
      if (total == 0) return DISP_E_PARAMNOTOPTIONAL;
      // Plain values are remembered for later reads; objects are not, so that the journal
      // never keeps alive what the caller should have released.
      win::Variant value;
      VariantCopyInd(value.Receive(), &params->rgvarg[putIndex]);
      if (value.type() == VT_DISPATCH || value.type() == VT_UNKNOWN) {
        journal_.answers.erase(member);
      } else {
        journal_.answers[member] = std::move(value);
      }
      return S_OK;
    }
    if (!result) return S_OK;
    auto answer = journal_.answers.find(shown);
    if (answer == journal_.answers.end()) answer = journal_.answers.find(member);
    if (answer != journal_.answers.end()) {
      return VariantCopy(result, const_cast<VARIANT*>(&answer->second.raw()));
    }
    auto* child = new RecordingObject(journal_, shown);
    VariantInit(result);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = child;  // its one reference goes to the caller
    return S_OK;
  }

 private:
  virtual ~RecordingObject() = default;

  DISPID Intern(const std::wstring& name) {
    const std::wstring lower = Lower(name);
    for (size_t i = 0; i < journal_.names.size(); ++i) {
      if (Lower(journal_.names[i]) == lower) return static_cast<DISPID>(i + 1);
    }
    journal_.names.push_back(name);
    return static_cast<DISPID>(journal_.names.size());
  }

  std::string Show(const VARIANT& value) const {
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
        return "\"" + ToUtf8(std::wstring_view(V_BSTR(&value), SysStringLen(V_BSTR(&value)))) +
               "\"";
      case VT_ERROR:
        return V_ERROR(&value) == DISP_E_PARAMNOTFOUND ? "missing" : "error";
      case VT_DISPATCH: {
        auto known = journal_.paths.find(V_DISPATCH(&value));
        return known != journal_.paths.end() ? known->second : "object";
      }
      default:
        return "vt" + std::to_string(V_VT(&value));
    }
  }

  DispatchJournal& journal_;
  std::string path_;
  ULONG references_ = 1;
};

}  // namespace

win::ComPtr<IDispatch> DispatchJournal::Root(const std::string& name) {
  return win::ComPtr<IDispatch>::Adopt(new RecordingObject(*this, name));
}

}  // namespace lumenta::testing
