#include "connection_point.h"

#include <new>

#include "unknown_impl.h"

namespace com {
namespace {

// Enumerator over a container's connection points.
class PointEnum final : public Unknown<IEnumConnectionPoints> {
 public:
  explicit PointEnum(std::vector<ComPtr<IConnectionPoint>> points)
      : points_(std::move(points)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && pos_ < points_.size(); ++n, ++pos_) points_[pos_].CopyTo(&out[n]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    pos_ += count;
    if (pos_ <= points_.size()) return S_OK;
    pos_ = points_.size();
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    pos_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    auto* copy = new (std::nothrow) PointEnum(points_);
    if (!copy) return E_OUTOFMEMORY;
    copy->pos_ = pos_;
    *out = copy;
    return S_OK;
  }

 private:
  size_t pos_ = 0;
  std::vector<ComPtr<IConnectionPoint>> points_;
};

}  // namespace

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* container, REFIID events_iid)
    : container_(container), iid_(events_iid) {}

ConnectionPoint::~ConnectionPoint() = default;

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  return QueryInterfaceOf<IConnectionPoint>(this, iid, out);
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

HRESULT NewConnectionPointEnum(std::vector<ComPtr<IConnectionPoint>> points,
                               IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) PointEnum(std::move(points));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ConnectionPoint::Enumerate(IEnumConnectionPoints** out) {
  return NewConnectionPointEnum({this}, out);
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
