#include "flat_button_site.h"

#include <olectl.h>

#include <new>
#include <utility>

#include "hresult.h"
#include "late_bound.h"
#include "variant.h"

namespace report_sample {
namespace {

// Pelorin.TavFlatBtn and its event interface __TavFlatBtn.
constexpr CLSID kFlatButtonClsid = {
    0xF9B0148F, 0x877A, 0x4E2D, {0x9C, 0x02, 0x3E, 0xEA, 0xFD, 0x76, 0x6C, 0x85}};
constexpr IID kFlatButtonEvents = {
    0xE334893E, 0x730F, 0x497F, {0xA3, 0x07, 0x91, 0x9E, 0xE8, 0x86, 0xBE, 0xBA}};
constexpr DISPID kClick = 1;

// Receives the control's events and hands Click to the form.
class ClickSink final : public com::Unknown<IDispatch> {
 public:
  explicit ClickSink(std::function<void()> on_click) : on_click_(std::move(on_click)) {}

  void* FindOwnInterface(REFIID iid) override {
    return IsEqualIID(iid, kFlatButtonEvents) ? static_cast<IDispatch*>(this) : nullptr;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id == kClick && on_click_) on_click_();
    return S_OK;
  }

 private:
  std::function<void()> on_click_;
};

}  // namespace

HRESULT FlatButtonSite::Create(HWND form, const wchar_t* name, const RECT& rect,
                               IPropertyBag* properties, std::function<void()> on_click,
                               com::ComPtr<FlatButtonSite>* out) {
  auto site =
      com::ComPtr<FlatButtonSite>::Adopt(new (std::nothrow) FlatButtonSite(form, name, rect));
  if (!site) return E_OUTOFMEMORY;
  HRESULT hr = site->Start(properties, std::move(on_click));
  if (FAILED(hr)) {
    site->Close();
    return hr;
  }
  *out = std::move(site);
  return S_OK;
}

HRESULT FlatButtonSite::Start(IPropertyBag* properties, std::function<void()> on_click) {
  RETURN_IF_FAILED(CoCreateInstance(kFlatButtonClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    control_.ReceiveVoid()));
  com::ComPtr<IOleObject> ole;
  RETURN_IF_FAILED(control_.As(&ole));
  RETURN_IF_FAILED(ole->SetClientSite(this));

  com::ComPtr<IPersistPropertyBag> persist;
  RETURN_IF_FAILED(control_.As(&persist));
  RETURN_IF_FAILED(persist->Load(properties, nullptr));

  com::ComPtr<IConnectionPointContainer> points;
  RETURN_IF_FAILED(control_.As(&points));
  RETURN_IF_FAILED(points->FindConnectionPoint(kFlatButtonEvents, click_point_.Receive()));
  auto sink = com::ComPtr<IDispatch>::Adopt(new (std::nothrow) ClickSink(std::move(on_click)));
  if (!sink) return E_OUTOFMEMORY;
  RETURN_IF_FAILED(click_point_->Advise(sink.Get(), &click_cookie_));

  RECT rect = rect_;
  return ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, form_, &rect);
}

HRESULT FlatButtonSite::SetEnabled(bool enabled) {
  com::ComPtr<IDispatch> button;
  RETURN_IF_FAILED(control_.As(&button));
  return com::PutProperty(button.Get(), L"Enabled", com::Variant::Bool(enabled));
}

HWND FlatButtonSite::window() const {
  com::ComPtr<IOleInPlaceObject> object;
  HWND hwnd = nullptr;
  if (control_ && SUCCEEDED(control_.As(&object))) object->GetWindow(&hwnd);
  return hwnd;
}

void FlatButtonSite::Close() {
  if (click_point_ && click_cookie_) click_point_->Unadvise(click_cookie_);
  click_point_.Reset();
  click_cookie_ = 0;
  com::ComPtr<IOleObject> ole;
  if (control_ && SUCCEEDED(control_.As(&ole))) {
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
  }
  control_.Reset();
}

HRESULT FlatButtonSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
  *out = nullptr;
  return E_NOTIMPL;
}

HRESULT FlatButtonSite::GetContainer(IOleContainer** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT FlatButtonSite::GetWindow(HWND* out) {
  *out = form_;
  return S_OK;
}

HRESULT FlatButtonSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                         LPRECT position, LPRECT clip,
                                         LPOLEINPLACEFRAMEINFO info) {
  *frame = nullptr;
  *doc = nullptr;
  *position = rect_;
  GetClientRect(form_, clip);
  info->fMDIApp = FALSE;
  info->hwndFrame = form_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

// The form grants the size the control asks for (AutoSize).
HRESULT FlatButtonSite::OnPosRectChange(LPCRECT rect) {
  rect_ = *rect;
  com::ComPtr<IOleInPlaceObject> object;
  if (control_ && SUCCEEDED(control_.As(&object))) object->SetObjectRects(rect, rect);
  return S_OK;
}

HRESULT FlatButtonSite::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

// A running form: user mode and the control's name; the control takes the system's dialog
// font when the form offers none.
HRESULT FlatButtonSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                               EXCEPINFO*, UINT*) {
  if (!result) return E_POINTER;
  VariantInit(result);
  switch (id) {
    case DISPID_AMBIENT_USERMODE:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = VARIANT_TRUE;
      return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(name_.c_str());
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace report_sample
