// IDispatch driven by the module's own type library (ITypeInfo::Invoke), and the type info of
// the module's classes for IProvideClassInfo.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "unknown_impl.h"

namespace com {

// Type info of `guid` from the type library embedded in this module; loaded once per process
// and cached. Returns a new reference.
HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** out);

// Implements the four IDispatch members of `Iface` (a dual interface described by the module's
// type library) for an object deriving from it.
template <class Iface>
class TypeLibDispatch : public Iface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return GetModuleTypeInfo(__uuidof(Iface), out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    ITypeInfo* info = nullptr;
    HRESULT hr = GetModuleTypeInfo(__uuidof(Iface), &info);
    if (FAILED(hr)) return hr;
    hr = info->GetIDsOfNames(names, count, ids);
    info->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* arg_err) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    HRESULT hr = GetModuleTypeInfo(__uuidof(Iface), &info);
    if (FAILED(hr)) return hr;
    hr = info->Invoke(static_cast<Iface*>(this), id, flags, params, result, excep, arg_err);
    info->Release();
    return hr;
  }
};

// Listed as a base of Unknown, it is answered as the dual interface it implements.
template <class Iface>
struct Listed<TypeLibDispatch<Iface>> : Listed<Iface> {};

}  // namespace com
