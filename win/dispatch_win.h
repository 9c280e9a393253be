#pragma once
// Late-bound automation calls: property reads and writes and method calls by member name
// (IDispatch::GetIDsOfNames, then IDispatch::Invoke), with positional and named arguments passed
// by value or by reference.
//
// A member may be given as a path, "Selection.Find.Replacement": every member before the last is
// read as an object property and released as soon as the next one has been obtained; the
// arguments go to the last member. Nothing here throws or shows anything: every failure comes
// back as an HRESULT the caller may look at or swallow.
#include <oaidl.h>
#include <windows.h>

#include <initializer_list>
#include <string_view>

#include "win/com_win.h"
#include "win/variant_win.h"

namespace lumenta::win {

// One argument of a call: a value, or a reference to a variant the callee may change (the
// variant must outlive the call).
class Arg {
 public:
  Arg(Variant value) : value_(std::move(value)) {}
  [[nodiscard]] static Arg ByRef(Variant& target) {
    Arg arg{Variant()};
    arg.target_ = &target;
    return arg;
  }
  // What goes into DISPPARAMS.rgvarg.
  void Fill(VARIANT& slot) const;

 private:
  Variant value_;
  Variant* target_ = nullptr;
};

struct NamedArg {
  std::wstring_view name;
  Arg arg;
};

struct [[nodiscard]] CallResult {
  // S_OK, or why the call failed. For an exception raised by the callee this is the
  // exception's own code when it gave one, else DISP_E_EXCEPTION.
  HRESULT status = E_FAIL;
  Variant value;

  bool ok() const { return SUCCEEDED(status); }
  // The object the call returned, or an empty reference.
  win::ComPtr<IDispatch> object() const {
    return ok() ? value.ToDispatch() : win::ComPtr<IDispatch>{};
  }
};

// Reads a property (with index arguments, if any).
CallResult GetProperty(IDispatch* object, std::wstring_view path,
                       std::initializer_list<Arg> args = {});

// Writes a property.
[[nodiscard]] HRESULT PutProperty(IDispatch* object, std::wstring_view path, const Variant& value);

// Calls a method; its result, if any, is in the returned value.
CallResult CallMethod(IDispatch* object, std::wstring_view path,
                      std::initializer_list<Arg> positional = {},
                      std::initializer_list<NamedArg> named = {});

// Marks a result the caller does not need: the operation goes on whatever happened.
inline void Swallow(const CallResult&) {}
inline void Swallow(HRESULT) {}

}  // namespace lumenta::win
