// The connection point for IPropertyNotifySink: tells advised containers that a property
// changed.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "com_ptr.h"

namespace pelorin {

class PropertyNotifyPoint final : public IConnectionPoint {
 public:
  // `container` owns this point and outlives every client reference to it.
  explicit PropertyNotifyPoint(IConnectionPointContainer* container) : container_(container) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return container_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return container_->Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  void NotifyChanged(DISPID id);
  void UnadviseAll() { sinks_.clear(); }

 private:
  struct Sink {
    DWORD cookie;
    com::ComPtr<IPropertyNotifySink> sink;
  };
  IConnectionPointContainer* container_;
  std::vector<Sink> sinks_;
  DWORD next_cookie_ = 1;
};

}  // namespace pelorin
