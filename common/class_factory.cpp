#include "class_factory.h"

#include <new>

#include "module.h"
#include "unknown_impl.h"

namespace com {
namespace {

class ClassFactory final : public Unknown<IClassFactory> {
 public:
  // A DLL's factory counts as one of its objects: a client may keep it without LockServer, and
  // DllCanUnloadNow must not let the DLL go under it. A local server's registered factory does
  // not count, or the server would never see its last object go.
  ClassFactory(CreateInstanceFn create, bool keeps_module)
      : create_(create), keeps_module_(keeps_module) {
    if (keeps_module_) ModuleAddRef();
  }
  ~ClassFactory() override {
    if (keeps_module_) ModuleRelease();
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) ModuleAddRef(); else ModuleRelease();
    return S_OK;
  }

 private:
  CreateInstanceFn create_;
  bool keeps_module_;
};

}  // namespace

IClassFactory* NewClassFactory(CreateInstanceFn create) {
  return new (std::nothrow) ClassFactory(create, /*keeps_module=*/false);
}

HRESULT GetClassObject(REFCLSID requested, REFCLSID clsid, CreateInstanceFn create, REFIID iid,
                       void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(requested, clsid)) return CLASS_E_CLASSNOTAVAILABLE;
  IClassFactory* factory = new (std::nothrow) ClassFactory(create, /*keeps_module=*/true);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

}  // namespace com
