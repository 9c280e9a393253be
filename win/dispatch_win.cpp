#include "win/dispatch_win.h"

#include <oleauto.h>

#include <span>
#include <string>
#include <vector>

namespace lumenta::win {

void Arg::Fill(VARIANT& slot) const {
  if (target_) {
    VariantInit(&slot);
    V_VT(&slot) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&slot) = target_->get();
  } else {
    // A bitwise view of the value: arguments passed by value stay owned by the caller.
    slot = value_.raw();
  }
}

namespace {

// Frees what a callee's exception report holds; gives the most telling failure code.
HRESULT TakeException(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  return FAILED(info.scode) ? info.scode : DISP_E_EXCEPTION;
}

CallResult Invoke(IDispatch* object, std::wstring_view member, WORD flags,
                  std::span<const Arg> positional, std::span<const NamedArg> named,
                  const Variant* putValue) {
  CallResult result;
  if (!object) {
    result.status = E_POINTER;
    return result;
  }
  if (member.empty()) {
    result.status = DISP_E_UNKNOWNNAME;
    return result;
  }

  // The member's name first, then the names of the named arguments: one lookup for all.
  std::vector<std::wstring> names;
  names.reserve(1 + named.size());
  names.emplace_back(member);
  for (const NamedArg& arg : named) names.emplace_back(arg.name);
  std::vector<LPOLESTR> namePointers;
  for (std::wstring& name : names) namePointers.push_back(name.data());
  std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
  result.status =
      object->GetIDsOfNames(IID_NULL, namePointers.data(), static_cast<UINT>(namePointers.size()),
                            LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(result.status)) return result;

  // rgvarg holds the named arguments first, in the order of rgdispidNamedArgs, then the
  // positional ones from last to first. A property write is one more named argument.
  std::vector<VARIANT> slots;
  std::vector<DISPID> namedIds;
  if (putValue) {
    slots.push_back(putValue->raw());
    namedIds.push_back(DISPID_PROPERTYPUT);
  }
  for (size_t i = 0; i < named.size(); ++i) {
    VARIANT slot;
    named[i].arg.Fill(slot);
    slots.push_back(slot);
    namedIds.push_back(ids[1 + i]);
  }
  for (size_t i = positional.size(); i-- > 0;) {
    VARIANT slot;
    positional[i].Fill(slot);
    slots.push_back(slot);
  }
  DISPPARAMS params{};
  params.rgvarg = slots.empty() ? nullptr : slots.data();
  params.cArgs = static_cast<UINT>(slots.size());
  params.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
  params.cNamedArgs = static_cast<UINT>(namedIds.size());

  EXCEPINFO exception{};
  UINT argumentError = 0;
  result.status =
      object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                     putValue ? nullptr : result.value.Receive(), &exception, &argumentError);
  if (result.status == DISP_E_EXCEPTION) result.status = TakeException(exception);
  if (FAILED(result.status)) result.value = Variant();
  return result;
}

// Splits "A.B.C" into the object that holds C (reading A, then A.B) and the name C.
struct Target {
  HRESULT status = S_OK;
  win::ComPtr<IDispatch> holder;
  std::wstring_view member;
};

Target Walk(IDispatch* root, std::wstring_view path) {
  Target target;
  if (!root) {
    target.status = E_POINTER;
    return target;
  }
  win::ComPtr<IDispatch> current = Share(root);
  for (;;) {
    const size_t dot = path.find(L'.');
    if (dot == std::wstring_view::npos) {
      target.holder = std::move(current);
      target.member = path;
      return target;
    }
    CallResult step =
        Invoke(current.get(), path.substr(0, dot), DISPATCH_PROPERTYGET, {}, {}, nullptr);
    if (!step.ok()) {
      target.status = step.status;
      return target;
    }
    win::ComPtr<IDispatch> next = step.value.ToDispatch();
    if (!next) {
      target.status = DISP_E_TYPEMISMATCH;
      return target;
    }
    current = std::move(next);  // the object before it is released here
    path.remove_prefix(dot + 1);
  }
}

}  // namespace

CallResult GetProperty(IDispatch* object, std::wstring_view path, std::initializer_list<Arg> args) {
  Target target = Walk(object, path);
  if (FAILED(target.status)) return CallResult{target.status, Variant()};
  return Invoke(target.holder.get(), target.member, DISPATCH_PROPERTYGET,
                std::span<const Arg>(args.begin(), args.size()), {}, nullptr);
}

HRESULT PutProperty(IDispatch* object, std::wstring_view path, const Variant& value) {
  Target target = Walk(object, path);
  if (FAILED(target.status)) return target.status;
  return Invoke(target.holder.get(), target.member, DISPATCH_PROPERTYPUT, {}, {}, &value).status;
}

CallResult CallMethod(IDispatch* object, std::wstring_view path,
                      std::initializer_list<Arg> positional,
                      std::initializer_list<NamedArg> named) {
  Target target = Walk(object, path);
  if (FAILED(target.status)) return CallResult{target.status, Variant()};
  // Also a property read: automation clients call parameterised properties (Item, Cell) the
  // same way as methods, and servers accept both for them.
  return Invoke(target.holder.get(), target.member, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                std::span<const Arg>(positional.begin(), positional.size()),
                std::span<const NamedArg>(named.begin(), named.size()), nullptr);
}

}  // namespace lumenta::win
