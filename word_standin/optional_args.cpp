#include "optional_args.h"

#include "variant.h"

namespace standin {
namespace {

HRESULT Converted(const VARIANT* v, VARTYPE vt, com::Variant* out) {
  HRESULT hr = VariantChangeType(out->Receive(), const_cast<VARIANT*>(v), 0, vt);
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

}  // namespace

bool IsOmitted(const VARIANT* v) {
  if (!v) return true;
  if (V_VT(v) == (VT_VARIANT | VT_BYREF)) return IsOmitted(V_VARIANTREF(v));
  return V_VT(v) == VT_EMPTY || (V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND);
}

HRESULT OptionalLong(const VARIANT* v, LONG fallback, LONG* out) {
  *out = fallback;
  if (IsOmitted(v)) return S_OK;
  com::Variant value;
  HRESULT hr = Converted(v, VT_I4, &value);
  if (SUCCEEDED(hr)) *out = V_I4(value.Ptr());
  return hr;
}

HRESULT OptionalBool(const VARIANT* v, bool fallback, bool* out) {
  *out = fallback;
  if (IsOmitted(v)) return S_OK;
  com::Variant value;
  HRESULT hr = Converted(v, VT_BOOL, &value);
  if (SUCCEEDED(hr)) *out = V_BOOL(value.Ptr()) != VARIANT_FALSE;
  return hr;
}

HRESULT OptionalString(const VARIANT* v, const std::wstring& fallback, std::wstring* out) {
  *out = fallback;
  if (IsOmitted(v)) return S_OK;
  com::Variant value;
  HRESULT hr = Converted(v, VT_BSTR, &value);
  if (SUCCEEDED(hr)) *out = std::wstring(V_BSTR(value.Ptr()), SysStringLen(V_BSTR(value.Ptr())));
  return hr;
}

}  // namespace standin
