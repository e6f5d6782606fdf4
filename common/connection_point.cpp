#include "connection_point.h"

#include <new>

namespace com {
namespace {

// Enumerator over one connection point.
class SingleEnum final : public IEnumConnectionPoints {
 public:
  explicit SingleEnum(IConnectionPoint* point) : point_(point) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumConnectionPoints)) {
      *out = static_cast<IEnumConnectionPoints*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    if (count > 0 && pos_ == 0) {
      point_.CopyTo(&out[0]);
      pos_ = n = 1;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (count == 0) return S_OK;
    bool had = pos_ == 0;
    pos_ = 1;
    return (had && count == 1) ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override { pos_ = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    auto* copy = new (std::nothrow) SingleEnum(point_.Get());
    if (!copy) return E_OUTOFMEMORY;
    copy->pos_ = pos_;
    *out = copy;
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
  ULONG pos_ = 0;
  ComPtr<IConnectionPoint> point_;
};

}  // namespace

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* container, REFIID events_iid)
    : container_(container), iid_(events_iid) {}

ConnectionPoint::~ConnectionPoint() = default;

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG ConnectionPoint::AddRef() { return container_->AddRef(); }
ULONG ConnectionPoint::Release() { return container_->Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = container_;
  container_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  ComPtr<IDispatch> dispatch;
  // A sink must implement the event interface itself; IDispatch alone is what it is called on.
  if (FAILED(sink->QueryInterface(iid_, dispatch.ReceiveVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.ReceiveVoid()))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  sinks_.push_back({next_cookie_, dispatch});
  *cookie = next_cookie_++;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie == cookie) {
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT ConnectionPoint::Find(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, iid_)) return CONNECT_E_NOCONNECTION;
  *out = this;
  AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Enumerate(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) SingleEnum(this);
  return *out ? S_OK : E_OUTOFMEMORY;
}

void ConnectionPoint::Fire(DISPID dispid, const std::vector<Variant>& args) {
  // A copy: a handler may advise or unadvise while we iterate.
  std::vector<Sink> sinks = sinks_;
  std::vector<VARIANTARG> argv;
  for (auto it = args.rbegin(); it != args.rend(); ++it) argv.push_back(*it->Ptr());
  for (const Sink& s : sinks) {
    DISPPARAMS params{argv.data(), nullptr, static_cast<UINT>(argv.size()), 0};
    Variant result;
    s.dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                       result.Ptr(), nullptr, nullptr);
  }
}

void ConnectionPoint::UnadviseAll() { sinks_.clear(); }

}  // namespace com
