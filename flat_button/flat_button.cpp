#include "flat_button.h"

#include <new>
#include <vector>

#include "ambient.h"
#include "button_painter.h"
#include "error_info.h"
#include "hresult.h"
#include "module.h"

namespace pelorin {
namespace {

enum : DISPID {
  kDownBackColor = 0x68030000,
  kBackColor = 0x68030001,
  kDownTextColor = 0x68030002,
  kTextColor = 0x68030003,
  kFont = 0x68030004,
  kEnabled = 0x68030005,
  kCaption = 0x68030006,
  kBorderStyle = 0x68030007,
  kBorderColor = 0x68030008,
  kBorderWidth = 0x68030009,
  kAutoRedraw = 0x6803000A,
  kAutoSize = 0x6803000B,
  kMarginHeight = 0x6803000C,
  kMarginWidth = 0x6803000D,
};
constexpr DISPID kClick = 1;

// Error info for a failing member, so that late-bound callers see a description.
HRESULT Reported(HRESULT hr) {
  if (SUCCEEDED(hr)) return hr;
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  com::ReportError(hr, IID__TavFlatBtn, L"Pelorin.TavFlatBtn", text ? text : L"");
  LocalFree(text);
  return hr;
}


}  // namespace

HRESULT FlatButton::Create(REFIID iid, void** out) {
  auto* obj = new (std::nothrow) FlatButton();
  if (!obj) return E_OUTOFMEMORY;
  HRESULT hr = obj->surface_.Initialize();
  if (SUCCEEDED(hr)) hr = obj->QueryInterface(iid, out);
  obj->Release();
  return hr;
}

FlatButton::FlatButton()
    : surface_(this),
      events_(static_cast<IConnectionPointContainer*>(this), DIID___TavFlatBtn),
      notify_(static_cast<IConnectionPointContainer*>(this)) {
  com::ModuleAddRef();
}

FlatButton::~FlatButton() { com::ModuleRelease(); }

HRESULT FlatButton::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, IID__TavFlatBtn)) {
    *out = static_cast<_TavFlatBtn*>(this);
  } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    *out = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else if (IsEqualIID(iid, IID_IPersistPropertyBag)) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit)) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(iid, IID_IOleObject)) {
    *out = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject)) {
    *out = static_cast<IOleInPlaceObject*>(this);
  } else if (IsEqualIID(iid, IID_IOleControl)) {
    *out = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2)) {
    *out = static_cast<IViewObject2*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG FlatButton::AddRef() { return ++refs_; }

ULONG FlatButton::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT FlatButton::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, IID__TavFlatBtn) ? S_OK : S_FALSE;
}

// --- drawing and the repaint rule ---

HRESULT FlatButton::Paint() {
  RETURN_IF_FAILED(DrawButton(state_, surface_));
  if (view_sink_) view_sink_->OnViewChange(DVASPECT_CONTENT, -1);
  return S_OK;
}

HRESULT FlatButton::RepaintRule() {
  bool user_mode = true;
  RETURN_IF_FAILED(AmbientUserMode(site_.Get(), &user_mode));
  if (state_.auto_redraw || !user_mode) return Paint();
  return S_OK;
}

void FlatButton::NotifyChanged(DISPID id) {
  dirty_ = true;
  notify_.NotifyChanged(id);
}

// --- _TavFlatBtn ---

HRESULT FlatButton::Redraw() { return Reported(Paint()); }

HRESULT FlatButton::get_MarginWidth(SHORT* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.margin_width;
  return S_OK;
}

HRESULT FlatButton::put_MarginWidth(SHORT value) {
  state_.margin_width = value;
  return Reported([&] {
    if (state_.auto_size) RETURN_IF_FAILED(FitToCaption(state_, surface_));
    RETURN_IF_FAILED(Paint());
    NotifyChanged(kMarginWidth);
    return S_OK;
  }());
}

HRESULT FlatButton::get_MarginHeight(SHORT* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.margin_height;
  return S_OK;
}

HRESULT FlatButton::put_MarginHeight(SHORT value) {
  state_.margin_height = value;
  return Reported([&] {
    RETURN_IF_FAILED(Paint());
    if (state_.auto_size) RETURN_IF_FAILED(FitToCaption(state_, surface_));
    NotifyChanged(kMarginHeight);
    return S_OK;
  }());
}

HRESULT FlatButton::get_AutoSize(VARIANT_BOOL* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.auto_size;
  return S_OK;
}

HRESULT FlatButton::put_AutoSize(VARIANT_BOOL value) {
  state_.auto_size = value;
  return Reported([&] {
    if (value) RETURN_IF_FAILED(FitToCaption(state_, surface_));
    RETURN_IF_FAILED(Paint());
    NotifyChanged(kAutoSize);
    return S_OK;
  }());
}

HRESULT FlatButton::get_AutoRedraw(VARIANT_BOOL* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.auto_redraw;
  return S_OK;
}

HRESULT FlatButton::put_AutoRedraw(VARIANT_BOOL value) {
  state_.auto_redraw = value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kAutoRedraw);
    return S_OK;
  }());
}

HRESULT FlatButton::get_BorderWidth(SHORT* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.border_width;
  return S_OK;
}

HRESULT FlatButton::put_BorderWidth(SHORT value) {
  state_.border_width = value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kBorderWidth);
    return S_OK;
  }());
}

HRESULT FlatButton::get_BorderColor(OLE_COLOR* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.border_color;
  return S_OK;
}

HRESULT FlatButton::put_BorderColor(OLE_COLOR value) {
  state_.border_color = value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kBorderColor);
    return S_OK;
  }());
}

HRESULT FlatButton::get_BorderStyle(enum BorderStyle* ret) {
  if (!ret) return E_POINTER;
  *ret = static_cast<enum BorderStyle>(state_.border_style);
  return S_OK;
}

HRESULT FlatButton::put_BorderStyle(enum BorderStyle value) {
  state_.border_style = static_cast<LONG>(value);
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kBorderStyle);
    return S_OK;
  }());
}

HRESULT FlatButton::get_Caption(BSTR* ret) {
  if (!ret) return E_POINTER;
  *ret = SysAllocStringLen(state_.caption.data(), static_cast<UINT>(state_.caption.size()));
  return *ret ? S_OK : E_OUTOFMEMORY;
}

HRESULT FlatButton::put_Caption(BSTR* value) {
  if (!value) return E_POINTER;
  state_.caption.assign(*value ? *value : L"", SysStringLen(*value));
  return Reported([&] {
    RETURN_IF_FAILED(CenterCaption(state_, surface_));
    RETURN_IF_FAILED(FitToCaption(state_, surface_));
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kCaption);
    return S_OK;
  }());
}

HRESULT FlatButton::get_Enabled(VARIANT_BOOL* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.enabled;
  return S_OK;
}

HRESULT FlatButton::put_Enabled(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  surface_.SetEnabled(*value != VARIANT_FALSE);
  state_.enabled = *value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kEnabled);
    return S_OK;
  }());
}

HRESULT FlatButton::get_Font(IFontDisp** ret) {
  if (!ret) return E_POINTER;
  *ret = surface_.Font();
  if (*ret) (*ret)->AddRef();
  return S_OK;
}

HRESULT FlatButton::putref_Font(IFontDisp** value) {
  if (!value) return E_POINTER;
  if (!*value) return Reported(E_INVALIDARG);  // a button always has a font
  return Reported([&] {
    RETURN_IF_FAILED(surface_.SetFont(*value));
    RETURN_IF_FAILED(CenterCaption(state_, surface_));
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kFont);
    return S_OK;
  }());
}

HRESULT FlatButton::get_TextColor(OLE_COLOR* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.text_color;
  return S_OK;
}

HRESULT FlatButton::put_TextColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  state_.text_color = *value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kTextColor);
    return S_OK;
  }());
}

HRESULT FlatButton::get_DownTextColor(OLE_COLOR* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.down_text_color;
  return S_OK;
}

HRESULT FlatButton::put_DownTextColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  state_.down_text_color = *value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kDownTextColor);
    return S_OK;
  }());
}

HRESULT FlatButton::get_BackColor(OLE_COLOR* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.back_color;
  return S_OK;
}

HRESULT FlatButton::put_BackColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  state_.back_color = *value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kBackColor);
    return S_OK;
  }());
}

HRESULT FlatButton::get_DownBackColor(OLE_COLOR* ret) {
  if (!ret) return E_POINTER;
  *ret = state_.down_back_color;
  return S_OK;
}

HRESULT FlatButton::put_DownBackColor(OLE_COLOR value) {
  state_.down_back_color = value;
  return Reported([&] {
    RETURN_IF_FAILED(RepaintRule());
    NotifyChanged(kDownBackColor);
    return S_OK;
  }());
}

// --- IProvideClassInfo2 ---

HRESULT FlatButton::GetClassInfo(ITypeInfo** out) {
  return com::GetModuleTypeInfo(CLSID_TavFlatBtn, out);
}

HRESULT FlatButton::GetGUID(DWORD kind, GUID* out) {
  if (!out) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *out = DIID___TavFlatBtn;
  return S_OK;
}

// --- IConnectionPointContainer ---

HRESULT FlatButton::EnumConnectionPoints(IEnumConnectionPoints** out) {
  return com::NewConnectionPointEnum({&events_, &notify_}, out);
}

HRESULT FlatButton::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IPropertyNotifySink)) {
    *out = &notify_;
    notify_.AddRef();
    return S_OK;
  }
  return events_.Find(iid, out);
}

// --- surface events: resize and the mouse ---

HRESULT FlatButton::OnResize() {
  RETURN_IF_FAILED(HandleResize(state_, surface_));
  if (view_sink_) view_sink_->OnViewChange(DVASPECT_CONTENT, -1);
  return S_OK;
}

void FlatButton::OnMouseDown() {
  state_.is_down = true;
  Paint();
}

void FlatButton::OnMouseUp(float x, float y) {
  // A Click handler may release the control.
  com::ComPtr<IUnknown> keep(static_cast<_TavFlatBtn*>(this));
  bool was_down = state_.is_down;
  state_.is_down = false;
  if (FAILED(Paint()) || !was_down) return;
  float width = surface_.Width(), height = surface_.Height();
  if (0 <= x && 0 <= y && x <= width && y <= height) events_.Fire(kClick);
}

// Without the capture the release may never come here, or come from a press elsewhere: the
// button is up again, and a later release must not click it.
void FlatButton::OnCaptureLost() {
  if (!state_.is_down) return;
  state_.is_down = false;
  Paint();
}

void FlatButton::OnPositionRequest(const RECT& rect) {
  if (in_place_site_) in_place_site_->OnPosRectChange(&rect);
}

}  // namespace pelorin
