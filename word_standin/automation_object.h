// Base of every stand-in automation object: reference counting, a dual interface served from
// the type library, error info support and the server's object count.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <new>
#include <utility>

#include "dispatch_call.h"
#include "journal.h"
#include "server_lifetime.h"
#include "typelib_dispatch.h"
#include "unknown_impl.h"

namespace standin {

template <class Iface>
class AutomationObject
    : public com::Unknown<com::Answering<com::TypeLibDispatch<Iface>, IDispatch>,
                          ISupportErrorInfo> {
 public:
  // `type_name` is Word's name of the object, used in the journal and in failure controls.
  explicit AutomationObject(const wchar_t* type_name) : type_name_(type_name) { ObjectCreated(); }
  virtual ~AutomationObject() { ObjectDestroyed(); }
  // Lookups are journaled too: a test sees how often a client asks for the same name.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    if (ExitRequested()) return RPC_E_DISCONNECTED;
    if (names && count) AppendJournalLine(FormatLookup(type_name_, names, count));
    return com::TypeLibDispatch<Iface>::GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                   UINT* arg_err) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return DispatchCall(type_name_, static_cast<Iface*>(this), __uuidof(Iface), id, flags, params,
                        result, excep, arg_err);
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
    return IsEqualIID(iid, __uuidof(Iface)) ? S_OK : S_FALSE;
  }

  // The object as handed to clients.
  Iface* Interface() { return static_cast<Iface*>(this); }

 private:
  const wchar_t* type_name_;
};

// Creates an object and moves its first reference into `out` (for [out, retval] members).
template <class T, class Iface, class... Args>
HRESULT NewObject(Iface** out, Args&&... args) {
  if (!out) return E_POINTER;
  *out = nullptr;
  T* object = new (std::nothrow) T(std::forward<Args>(args)...);
  if (!object) return E_OUTOFMEMORY;
  *out = object->Interface();
  return S_OK;
}

}  // namespace standin
