// Owning BSTR.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <utility>

namespace com {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* s) : s_(s ? SysAllocString(s) : nullptr) {}
  explicit Bstr(const std::wstring& s)
      : s_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  Bstr(const Bstr& o) : s_(o.s_ ? SysAllocStringLen(o.s_, SysStringLen(o.s_)) : nullptr) {}
  Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  ~Bstr() { SysFreeString(s_); }
  Bstr& operator=(Bstr o) noexcept { std::swap(s_, o.s_); return *this; }

  static Bstr Adopt(BSTR s) { Bstr b; b.s_ = s; return b; }

  void Reset() { SysFreeString(std::exchange(s_, nullptr)); }
  BSTR Detach() { return std::exchange(s_, nullptr); }
  BSTR* Receive() { Reset(); return &s_; }

  // A copy for an out-parameter; an empty Bstr gives the empty string, never NULL.
  HRESULT CopyTo(BSTR* out) const {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(s_ ? s_ : L"", Length());
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  BSTR Get() const { return s_; }
  UINT Length() const { return SysStringLen(s_); }
  std::wstring Str() const { return std::wstring(s_ ? s_ : L"", Length()); }

 private:
  BSTR s_ = nullptr;
};

}  // namespace com
