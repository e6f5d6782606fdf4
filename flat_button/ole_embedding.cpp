// How a container embeds the button: client site, in-place activation as a windowed control,
// extent, and drawing into the container's device context.
#include <cmath>

#include "flat_button.h"
#include "hresult.h"

namespace pelorin {
namespace {

constexpr double kHimetricPerTwip = 2540.0 / 1440.0;

}  // namespace

HRESULT FlatButton::SetClientSite(IOleClientSite* site) {
  site_ = site;
  return S_OK;
}

HRESULT FlatButton::GetClientSite(IOleClientSite** out) {
  if (!out) return E_POINTER;
  return site_.CopyTo(out);
}

HRESULT FlatButton::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT FlatButton::Close(DWORD) { return InPlaceDeactivate(); }

HRESULT FlatButton::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT FlatButton::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT FlatButton::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT FlatButton::GetClipboardData(DWORD, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT FlatButton::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:  // nothing to do with the keyboard: in-place is enough
      return InPlaceActivate();
    case OLEIVERB_HIDE:
      if (surface_.Window()) ShowWindow(surface_.Window(), SW_HIDE);
      return S_OK;
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT FlatButton::InPlaceActivate() {
  if (surface_.Window()) {
    ShowWindow(surface_.Window(), SW_SHOW);
    return S_OK;
  }
  if (!site_) return E_UNEXPECTED;
  com::ComPtr<IOleInPlaceSite> site;
  RETURN_IF_FAILED(site_.As(&site));
  if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
  RETURN_IF_FAILED(site->OnInPlaceActivate());
  HWND parent = nullptr;
  com::ComPtr<IOleInPlaceFrame> frame;
  com::ComPtr<IOleInPlaceUIWindow> document;
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO frame_info{};
  frame_info.cb = sizeof(frame_info);
  HRESULT hr = site->GetWindow(&parent);
  if (SUCCEEDED(hr)) {
    hr = site->GetWindowContext(frame.Receive(), document.Receive(), &position, &clip,
                                &frame_info);
  }
  if (SUCCEEDED(hr)) {
    in_place_site_ = site;
    hr = surface_.CreateWindowIn(parent, position);
  }
  if (FAILED(hr)) {
    surface_.DestroyWindow();
    in_place_site_.Reset();
    site->OnInPlaceDeactivate();
  }
  return hr;
}

HRESULT FlatButton::EnumVerbs(IEnumOLEVERB** out) {
  return OleRegEnumVerbs(CLSID_TavFlatBtn, out);
}

HRESULT FlatButton::Update() { return S_OK; }
HRESULT FlatButton::IsUpToDate() { return S_OK; }

HRESULT FlatButton::GetUserClassID(CLSID* out) { return GetClassID(out); }

HRESULT FlatButton::GetUserType(DWORD form, LPOLESTR* out) {
  return OleRegGetUserType(CLSID_TavFlatBtn, form, out);
}

HRESULT FlatButton::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  RETURN_IF_FAILED(surface_.SetWidth(std::round(size->cx / kHimetricPerTwip)));
  return surface_.SetHeight(std::round(size->cy / kHimetricPerTwip));
}

HRESULT FlatButton::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  size->cx = std::lround(surface_.Width() * kHimetricPerTwip);
  size->cy = std::lround(surface_.Height() * kHimetricPerTwip);
  return S_OK;
}

HRESULT FlatButton::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (!ole_advise_) RETURN_IF_FAILED(CreateOleAdviseHolder(ole_advise_.Receive()));
  return ole_advise_->Advise(sink, cookie);
}

HRESULT FlatButton::Unadvise(DWORD cookie) {
  return ole_advise_ ? ole_advise_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT FlatButton::EnumAdvise(IEnumSTATDATA** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return ole_advise_ ? ole_advise_->EnumAdvise(out) : S_OK;
}

HRESULT FlatButton::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
  return S_OK;
}

HRESULT FlatButton::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// --- IOleWindow, IOleInPlaceObject ---

HRESULT FlatButton::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = surface_.Window();
  return *out ? S_OK : E_FAIL;
}

HRESULT FlatButton::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT FlatButton::InPlaceDeactivate() {
  if (!surface_.Window()) return S_OK;
  surface_.DestroyWindow();
  com::ComPtr<IOleInPlaceSite> site = in_place_site_;
  in_place_site_.Reset();
  if (site) site->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT FlatButton::UIDeactivate() { return S_OK; }

HRESULT FlatButton::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  return surface_.SetWindowRect(*position);
}

HRESULT FlatButton::ReactivateAndUndo() { return E_NOTIMPL; }

// --- IOleControl: no mnemonics, no keyboard ---

HRESULT FlatButton::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  if (info->cb < sizeof(CONTROLINFO)) return E_INVALIDARG;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT FlatButton::OnMnemonic(MSG*) { return E_NOTIMPL; }
HRESULT FlatButton::OnAmbientPropertyChange(DISPID) { return S_OK; }
HRESULT FlatButton::FreezeEvents(BOOL) { return S_OK; }

// --- IViewObject2: the container draws the persistent image ---

HRESULT FlatButton::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC target,
                         LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                         ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!bounds) return E_INVALIDARG;
  RECT rect{bounds->left, bounds->top, bounds->right, bounds->bottom};
  return surface_.Render(target, rect);
}

HRESULT FlatButton::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return S_FALSE;  // no palette
}

HRESULT FlatButton::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT FlatButton::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT FlatButton::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  view_aspects_ = aspects;
  view_flags_ = flags;
  view_sink_ = sink;
  return S_OK;
}

HRESULT FlatButton::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = view_aspects_;
  if (flags) *flags = view_flags_;
  if (sink) return view_sink_.CopyTo(sink);
  return S_OK;
}

HRESULT FlatButton::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

}  // namespace pelorin
