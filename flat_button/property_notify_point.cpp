#include "property_notify_point.h"

#include "unknown_impl.h"

namespace pelorin {

HRESULT PropertyNotifyPoint::QueryInterface(REFIID iid, void** out) {
  return com::QueryInterfaceOf<IConnectionPoint>(this, iid, out);
}

HRESULT PropertyNotifyPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = IID_IPropertyNotifySink;
  return S_OK;
}

HRESULT PropertyNotifyPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = container_;
  container_->AddRef();
  return S_OK;
}

HRESULT PropertyNotifyPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  com::ComPtr<IPropertyNotifySink> notify;
  if (FAILED(sink->QueryInterface(IID_IPropertyNotifySink, notify.ReceiveVoid()))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  sinks_.push_back({next_cookie_, notify});
  *cookie = next_cookie_++;
  return S_OK;
}

HRESULT PropertyNotifyPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie == cookie) {
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT PropertyNotifyPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

void PropertyNotifyPoint::NotifyChanged(DISPID id) {
  // A copy: a sink may unadvise from its handler.
  std::vector<Sink> sinks = sinks_;
  for (const Sink& s : sinks) s.sink->OnChanged(id);
}

}  // namespace pelorin
