#pragma once
// An owning VARIANT: cleared (strings freed, objects released) when it goes out of scope.
// Texts cross into automation as BSTRs converted from GBK and come back converted to GBK.
#include <oaidl.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"
#include "win/com_win.h"

namespace lumenta::win {

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant() { VariantClear(&v_); }

  // Takes over `raw` and leaves it empty.
  [[nodiscard]] static Variant Adopt(VARIANT& raw);

  VARTYPE type() const { return V_VT(&v_); }
  bool empty() const { return V_VT(&v_) == VT_EMPTY; }
  const VARIANT& raw() const { return v_; }
  // Clears the value and hands out the VARIANT for a callee to fill.
  [[nodiscard]] VARIANT* Receive();
  // The VARIANT itself, for passing by reference to a callee that may change it.
  VARIANT* get() { return &v_; }

  // Conversions by the automation rules (VariantChangeType); empty on failure. A value passed
  // by reference is read through the reference.
  [[nodiscard]] std::optional<bool> ToBool() const;
  [[nodiscard]] std::optional<std::int32_t> ToInt() const;
  [[nodiscard]] std::optional<double> ToDouble() const;
  [[nodiscard]] std::optional<Text> ToText() const;
  [[nodiscard]] std::optional<std::wstring> ToWide() const;
  // The object held, or an empty reference when the value is no object.
  [[nodiscard]] win::ComPtr<IDispatch> ToDispatch() const;

 private:
  [[nodiscard]] bool ChangeTo(VARTYPE wanted, VARIANT& out) const;
  VARIANT v_;
};

// Values for arguments and property writes.
[[nodiscard]] Variant Bool(bool value);
[[nodiscard]] Variant Int(std::int32_t value);
[[nodiscard]] Variant Double(double value);
[[nodiscard]] Variant Str(std::string_view gbk);
[[nodiscard]] Variant WStr(std::wstring_view text);
[[nodiscard]] Variant Object(IDispatch* object);
// An optional parameter left out: the callee applies its default.
[[nodiscard]] Variant Missing();

}  // namespace lumenta::win
