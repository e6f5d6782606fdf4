#include "class_factory.h"

#include <new>

#include "module.h"
#include "unknown_impl.h"

namespace com {
namespace {

class ClassFactory final : public Unknown<IClassFactory> {
 public:
  explicit ClassFactory(CreateInstanceFn create) : create_(create) {}

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
};

}  // namespace

IClassFactory* NewClassFactory(CreateInstanceFn create) {
  return new (std::nothrow) ClassFactory(create);
}

HRESULT GetClassObject(REFCLSID requested, REFCLSID clsid, CreateInstanceFn create, REFIID iid,
                       void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(requested, clsid)) return CLASS_E_CLASSNOTAVAILABLE;
  IClassFactory* factory = NewClassFactory(create);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

}  // namespace com
