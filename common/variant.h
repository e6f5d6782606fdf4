// Owning VARIANT, cleared with VariantClear.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <utility>

namespace com {

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant& o) : Variant() { VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)); }
  Variant(Variant&& o) noexcept : Variant() { std::swap(v_, o.v_); }
  explicit Variant(const VARIANT& o) : Variant() { VariantCopy(&v_, const_cast<VARIANT*>(&o)); }
  ~Variant() { VariantClear(&v_); }
  Variant& operator=(Variant o) noexcept { std::swap(v_, o.v_); return *this; }

  static Variant I4(LONG n) { Variant r; V_VT(&r.v_) = VT_I4; V_I4(&r.v_) = n; return r; }
  static Variant I2(SHORT n) { Variant r; V_VT(&r.v_) = VT_I2; V_I2(&r.v_) = n; return r; }
  static Variant R8(double d) { Variant r; V_VT(&r.v_) = VT_R8; V_R8(&r.v_) = d; return r; }
  static Variant Bool(bool b) {
    Variant r; V_VT(&r.v_) = VT_BOOL; V_BOOL(&r.v_) = b ? VARIANT_TRUE : VARIANT_FALSE; return r;
  }
  static Variant Str(const wchar_t* s) { return Str(std::wstring(s ? s : L"")); }
  static Variant Str(const std::wstring& s) {
    Variant r; V_VT(&r.v_) = VT_BSTR;
    V_BSTR(&r.v_) = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return r;
  }
  static Variant Dispatch(IDispatch* d) {
    Variant r; V_VT(&r.v_) = VT_DISPATCH; V_DISPATCH(&r.v_) = d; if (d) d->AddRef(); return r;
  }
  // A by-reference 32-bit integer, as a VB client passes a Long variable; `n` must outlive it.
  static Variant I4Ref(LONG* n) {
    Variant r; V_VT(&r.v_) = VT_BYREF | VT_I4; V_I4REF(&r.v_) = n; return r;
  }
  // An omitted optional argument.
  static Variant Missing() {
    Variant r; V_VT(&r.v_) = VT_ERROR; V_ERROR(&r.v_) = DISP_E_PARAMNOTFOUND; return r;
  }

  void Reset() { VariantClear(&v_); }
  VARIANT* Receive() { VariantClear(&v_); return &v_; }
  VARIANT Detach() { VARIANT r = v_; VariantInit(&v_); return r; }
  HRESULT CopyTo(VARIANT* out) const { return out ? VariantCopy(out, const_cast<VARIANT*>(&v_)) : E_POINTER; }

  // Converts in place with the platform's rules (locale-aware, overflow-checked).
  HRESULT ChangeType(VARTYPE vt) { return VariantChangeType(&v_, &v_, 0, vt); }

  VARTYPE Type() const { return V_VT(&v_); }
  const VARIANT& Get() const { return v_; }
  VARIANT* Ptr() { return &v_; }
  const VARIANT* Ptr() const { return &v_; }

 private:
  VARIANT v_;
};

}  // namespace com
