#include "row_collection.h"

#include <new>

#include "unknown_impl.h"

namespace quorrel_test {
namespace {

constexpr DISPID kValues = 1, kColums = 2;
constexpr HRESULT kSubscriptOutOfRange = 0x800A0009;

HRESULT IndexOf(const VARIANT* arg, LONG* index) {
  VARIANT v;
  VariantInit(&v);
  HRESULT hr = VariantChangeType(&v, const_cast<VARIANT*>(arg), 0, VT_I4);
  if (SUCCEEDED(hr)) *index = V_I4(&v);
  return hr;
}

class Row final : public com::Unknown<IDispatch> {
 public:
  Row(std::vector<RowEntry> entries, bool has_columns)
      : entries_(std::move(entries)), has_columns_(has_columns) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i == 0 && _wcsicmp(names[0], L"Values") == 0) ids[0] = kValues;
      else if (i == 0 && has_columns_ && _wcsicmp(names[0], L"Colums") == 0) ids[0] = kColums;
      else hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if (id != kValues && !(id == kColums && has_columns_)) return DISP_E_MEMBERNOTFOUND;
    if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    LONG index = 0;
    if (FAILED(IndexOf(&params->rgvarg[0], &index))) return DISP_E_TYPEMISMATCH;
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return kSubscriptOutOfRange;
    const RowEntry& e = entries_[index];
    return (id == kValues ? e.value : e.column).CopyTo(result);
  }

 private:
  std::vector<RowEntry> entries_;
  bool has_columns_;
};

class Collection final : public com::Unknown<com::Answering<_Collection, IDispatch>> {
 public:
  Collection(std::vector<com::ComPtr<IDispatch>> rows, CollectionLog* log)
      : rows_(std::move(rows)), log_(log) {}

  // Reached only through the vtable in these tests.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* ret) override {
    if (log_) {
      ++log_->item_calls;
      log_->index_types.push_back(V_VT(index));
    }
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
  HRESULT STDMETHODCALLTYPE Count(LONG* n) override {
    *n = static_cast<LONG>(rows_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Remove(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }

 private:
  std::vector<com::ComPtr<IDispatch>> rows_;
  CollectionLog* log_;
};

}  // namespace

com::ComPtr<IDispatch> NewRow(std::vector<RowEntry> entries, bool has_columns) {
  return com::ComPtr<IDispatch>::Adopt(new Row(std::move(entries), has_columns));
}

std::vector<RowEntry> Entries(const std::vector<std::pair<const wchar_t*, LONG>>& items) {
  std::vector<RowEntry> out;
  for (const auto& [text, column] : items) {
    out.push_back({com::Variant::Str(text), com::Variant::I4(column)});
  }
  return out;
}

com::ComPtr<_Collection> NewCollection(std::vector<com::ComPtr<IDispatch>> rows,
                                       CollectionLog* log) {
  return com::ComPtr<_Collection>::Adopt(new Collection(std::move(rows), log));
}

}  // namespace quorrel_test
