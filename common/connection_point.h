// One outgoing dispinterface: IConnectionPoint for it, IConnectionPointContainer answers for the
// object that owns it, and raising an event to every advised sink.
#pragma once
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "com_ptr.h"
#include "variant.h"

namespace com {

// A new enumerator over `points` (one reference), for IConnectionPointContainer.
HRESULT NewConnectionPointEnum(std::vector<ComPtr<IConnectionPoint>> points,
                               IEnumConnectionPoints** out);

class ConnectionPoint final : public IConnectionPoint {
 public:
  // `container` is the owning object; it is not referenced, the owner outlives this object's
  // use by clients because every client reference to this point also holds the container.
  ConnectionPoint(IConnectionPointContainer* container, REFIID events_iid);
  ~ConnectionPoint();

  // IUnknown: delegated to the container, so the point lives as long as its owner.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  // Answers IConnectionPointContainer::FindConnectionPoint / EnumConnectionPoints.
  HRESULT Find(REFIID iid, IConnectionPoint** out);
  HRESULT Enumerate(IEnumConnectionPoints** out);

  // Calls `dispid` on every sink, in advise order, with positional `args` (first argument
  // first). Sinks advised or unadvised by a handler take effect for the next event.
  void Fire(DISPID dispid, const std::vector<Variant>& args = {});

  void UnadviseAll();

 private:
  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> dispatch;
  };
  IConnectionPointContainer* container_;
  IID iid_;
  std::vector<Sink> sinks_;
  DWORD next_cookie_ = 1;
};

}  // namespace com
