#include "class_factory.h"

#include <new>

#include "module.h"

namespace com {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateInstanceFn create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
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
  LONG refs_ = 1;
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
