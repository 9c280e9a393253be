#include "win/variant_win.h"

#include <oleauto.h>

#include <cstring>

#include "base/text_encoders.h"

namespace lumenta::win {

Variant::Variant(const Variant& other) {
  VariantInit(&v_);
  if (FAILED(VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)))) VariantInit(&v_);
}

Variant::Variant(Variant&& other) noexcept {
  v_ = other.v_;
  VariantInit(&other.v_);
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    VariantClear(&v_);
    if (FAILED(VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)))) VariantInit(&v_);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    VariantClear(&v_);
    v_ = other.v_;
    VariantInit(&other.v_);
  }
  return *this;
}

Variant Variant::Adopt(VARIANT& raw) {
  Variant value;
  value.v_ = raw;
  VariantInit(&raw);
  return value;
}

VARIANT* Variant::Receive() {
  VariantClear(&v_);
  return &v_;
}

bool Variant::ChangeTo(VARTYPE wanted, VARIANT& out) const {
  VariantInit(&out);
  // VariantChangeType reads through VT_BYREF itself; a missing-parameter marker or an empty
  // value is no value for the caller, whatever the conversion rules would make of it.
  const VARIANT* held = &v_;
  while (held && V_VT(held) == (VT_BYREF | VT_VARIANT)) held = V_VARIANTREF(held);
  if (!held) return false;
  const VARTYPE type = V_VT(held) & ~VT_BYREF;
  if (type == VT_EMPTY || type == VT_ERROR || type == VT_NULL) return false;
  return SUCCEEDED(VariantChangeType(&out, const_cast<VARIANT*>(&v_), 0, wanted));
}

std::optional<bool> Variant::ToBool() const {
  VARIANT out;
  if (!ChangeTo(VT_BOOL, out)) return std::nullopt;
  return V_BOOL(&out) != VARIANT_FALSE;
}

std::optional<std::int32_t> Variant::ToInt() const {
  VARIANT out;
  if (!ChangeTo(VT_I4, out)) return std::nullopt;
  return static_cast<std::int32_t>(V_I4(&out));
}

std::optional<double> Variant::ToDouble() const {
  VARIANT out;
  if (!ChangeTo(VT_R8, out)) return std::nullopt;
  return V_R8(&out);
}

std::optional<std::wstring> Variant::ToWide() const {
  VARIANT out;
  if (!ChangeTo(VT_BSTR, out)) return std::nullopt;
  std::wstring text(V_BSTR(&out) ? V_BSTR(&out) : L"", SysStringLen(V_BSTR(&out)));
  VariantClear(&out);
  return text;
}

std::optional<Text> Variant::ToText() const {
  auto wide = ToWide();
  if (!wide) return std::nullopt;
  return Utf16ToGbk(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide->data()), wide->size()));
}

win::ComPtr<IDispatch> Variant::ToDispatch() const {
  const VARIANT* value = &v_;
  if (V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
  if (!value) return {};
  switch (V_VT(value)) {
    case VT_DISPATCH:
      return Share(V_DISPATCH(value));
    case VT_DISPATCH | VT_BYREF:
      return V_DISPATCHREF(value) ? Share(*V_DISPATCHREF(value)) : win::ComPtr<IDispatch>{};
    case VT_UNKNOWN:
      return Query<IDispatch>(V_UNKNOWN(value), IID_IDispatch);
    default:
      return {};
  }
}

Variant Bool(bool value) {
  Variant v;
  VARIANT* raw = v.Receive();
  V_VT(raw) = VT_BOOL;
  V_BOOL(raw) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

Variant Int(std::int32_t value) {
  Variant v;
  VARIANT* raw = v.Receive();
  V_VT(raw) = VT_I4;
  V_I4(raw) = value;
  return v;
}

Variant Double(double value) {
  Variant v;
  VARIANT* raw = v.Receive();
  V_VT(raw) = VT_R8;
  V_R8(raw) = value;
  return v;
}

Variant WStr(std::wstring_view text) {
  Variant v;
  BSTR string = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!string) return v;  // out of memory: an empty value, which every callee rejects
  VARIANT* raw = v.Receive();
  V_VT(raw) = VT_BSTR;
  V_BSTR(raw) = string;
  return v;
}

Variant Str(std::string_view gbk) {
  const std::u16string units = TextToUtf16(gbk);
  return WStr(std::wstring_view(reinterpret_cast<const wchar_t*>(units.data()), units.size()));
}

Variant Object(IDispatch* object) {
  Variant v;
  if (!object) return v;
  object->AddRef();
  VARIANT* raw = v.Receive();
  V_VT(raw) = VT_DISPATCH;
  V_DISPATCH(raw) = object;
  return v;
}

Variant Missing() {
  Variant v;
  VARIANT* raw = v.Receive();
  V_VT(raw) = VT_ERROR;
  V_ERROR(raw) = DISP_E_PARAMNOTFOUND;
  return v;
}

}  // namespace lumenta::win
