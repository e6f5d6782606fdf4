#include "memory_property_bag.h"

#include <olectl.h>

namespace testing_support {

com::ComPtr<MemoryPropertyBag> MemoryPropertyBag::New() {
  return com::ComPtr<MemoryPropertyBag>::Adopt(new MemoryPropertyBag());
}

HRESULT MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  for (const auto& [key, stored] : values_) {
    if (key != name) continue;
    VARTYPE wanted = V_VT(value);
    VariantInit(value);
    if (wanted == VT_EMPTY || wanted == stored.Type()) return stored.CopyTo(value);
    return VariantChangeType(value, const_cast<VARIANT*>(stored.Ptr()), 0, wanted);
  }
  return E_INVALIDARG;
}

HRESULT MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  com::Variant copy(*value);
  if ((V_VT(value) == VT_DISPATCH || V_VT(value) == VT_UNKNOWN) && V_UNKNOWN(value)) {
    com::ComPtr<IFont> font, clone;
    if (SUCCEEDED(V_UNKNOWN(value)->QueryInterface(IID_IFont, font.ReceiveVoid())) &&
        SUCCEEDED(font->Clone(clone.Receive()))) {
      com::ComPtr<IDispatch> dispatch;
      clone.As(&dispatch);
      copy = com::Variant::Dispatch(dispatch.Get());
    }
  }
  Set(name, copy);
  return S_OK;
}

bool MemoryPropertyBag::Has(const std::wstring& name) const {
  for (const auto& entry : values_) {
    if (entry.first == name) return true;
  }
  return false;
}

com::Variant MemoryPropertyBag::Get(const std::wstring& name) const {
  for (const auto& entry : values_) {
    if (entry.first == name) return entry.second;
  }
  return com::Variant();
}

void MemoryPropertyBag::Set(const std::wstring& name, const com::Variant& value) {
  for (auto& entry : values_) {
    if (entry.first == name) {
      entry.second = value;
      return;
    }
  }
  values_.emplace_back(name, value);
}

std::vector<std::wstring> MemoryPropertyBag::Names() const {
  std::vector<std::wstring> names;
  for (const auto& entry : values_) names.push_back(entry.first);
  return names;
}

}  // namespace testing_support
