#include "item_rows.h"

#include <new>
#include <utility>

#include "unknown_impl.h"
#include "variant.h"

namespace report_sample {
namespace {

constexpr DISPID kValues = 1, kColums = 2;
constexpr HRESULT kSubscriptOutOfRange = 0x800A0009;

HRESULT IndexOf(const VARIANT* arg, LONG* index) {
  com::Variant v(*arg);
  HRESULT hr = VariantChangeType(v.Ptr(), v.Ptr(), 0, VT_I4);
  if (SUCCEEDED(hr)) *index = V_I4(v.Ptr());
  return hr;
}

// Late-bound only, as a class of the client's own would be.
class ItemRow final : public com::Unknown<IDispatch> {
 public:
  explicit ItemRow(Item item) : item_(std::move(item)) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (count == 1 && _wcsicmp(names[0], L"Values") == 0) ids[0] = kValues;
    else if (count == 1 && _wcsicmp(names[0], L"Colums") == 0) ids[0] = kColums;
    return ids[0] == DISPID_UNKNOWN || count != 1 ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if (id != kValues && id != kColums) return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (!result) return E_POINTER;
    LONG index = 0;
    if (FAILED(IndexOf(&params->rgvarg[0], &index))) return DISP_E_TYPEMISMATCH;
    static constexpr LONG kColumns[] = {1, 2, 3, 1};
    if (index < 0 || index > 3) return kSubscriptOutOfRange;
    if (id == kColums) return com::Variant::I4(kColumns[index]).CopyTo(result);
    switch (index) {
      case 0: return com::Variant::Str(item_.name).CopyTo(result);
      case 1: return com::Variant::I4(item_.quantity).CopyTo(result);
      case 2: return com::Variant::Str(GroupedNumber(item_.unit_price)).CopyTo(result);
      default: return com::Variant::Str(item_.reading).CopyTo(result);
    }
  }

 private:
  Item item_;
};

class ItemCollection final : public com::Unknown<com::Answering<_Collection, IDispatch>> {
 public:
  explicit ItemCollection(std::vector<com::ComPtr<IDispatch>> rows) : rows_(std::move(rows)) {}

  // SetTable reaches Item through the vtable; nothing here is called by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* ret) override {
    if (!index || !ret) return E_POINTER;
    LONG k = 0;
    if (FAILED(IndexOf(index, &k))) return DISP_E_TYPEMISMATCH;
    if (k < 1 || static_cast<size_t>(k) > rows_.size()) return kSubscriptOutOfRange;
    VariantInit(ret);
    V_VT(ret) = VT_DISPATCH;
    return rows_[k - 1].CopyTo(&V_DISPATCH(ret));
  }
  HRESULT STDMETHODCALLTYPE Add(VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Count(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(rows_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Remove(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }

 private:
  std::vector<com::ComPtr<IDispatch>> rows_;
};

}  // namespace

com::ComPtr<_Collection> NewItemCollection(const std::vector<Item>& items) {
  std::vector<com::ComPtr<IDispatch>> rows;
  for (const Item& item : items) {
    auto row = com::ComPtr<IDispatch>::Adopt(new (std::nothrow) ItemRow(item));
    if (!row) return nullptr;
    rows.push_back(std::move(row));
  }
  return com::ComPtr<_Collection>::Adopt(new (std::nothrow) ItemCollection(std::move(rows)));
}

std::wstring GroupedNumber(LONG value) {
  std::wstring digits = std::to_wstring(value < 0 ? -static_cast<long long>(value) : value);
  std::wstring out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += L',';
    out += digits[i];
  }
  return value < 0 ? L"-" + out : out;
}

}  // namespace report_sample
