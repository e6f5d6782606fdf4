#include "control_host.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "hresult.h"
#include "unknown_impl.h"
#include "variant.h"

namespace testing_support {
namespace {

constexpr wchar_t kHostClass[] = L"PelorinTestHost";

HWND CreateHostWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassW(&wc);  // fails harmlessly when already registered
  // Hidden until asked: without a window manager, hiding a shown window under X waits seconds.
  return CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                         640, 240, nullptr, nullptr, wc.hInstance, nullptr);
}

int PixelsPerInch() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Events of the control's outgoing interface, recorded by DISPID.
class EventSink final : public com::Unknown<IDispatch> {
 public:
  EventSink(REFIID iid, std::vector<DISPID>* log) : iid_(iid), log_(log) {}

  void* FindOwnInterface(REFIID iid) override {
    return IsEqualIID(iid, iid_) ? static_cast<IDispatch*>(this) : nullptr;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    log_->push_back(id);
    return S_OK;
  }

 private:
  IID iid_;
  std::vector<DISPID>* log_;
};

}  // namespace

// The client site, in-place site, ambient dispatch and change-notice sink of the one control.
class ControlSite final
    : public com::Unknown<IOleClientSite, com::Answering<IOleInPlaceSite, IOleWindow>, IDispatch,
                          IPropertyNotifySink, IAdviseSink> {
 public:
  explicit ControlSite(HWND host) : host_(host) {}

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    *out = host_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT pos, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override {
    *frame = nullptr;
    *doc = nullptr;
    *pos = position;
    *clip = position;
    info->fMDIApp = FALSE;
    info->hwndFrame = host_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  // The container grants every size the control asks for.
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override {
    position = *rect;
    com::ComPtr<IOleInPlaceObject> object;
    if (control && SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, object.ReceiveVoid()))) {
      object->SetObjectRects(rect, rect);
    }
    return S_OK;
  }

  // IDispatch: the ambient properties
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
      case DISPID_AMBIENT_USERMODE:
        if (FAILED(ambients.user_mode_error)) return ambients.user_mode_error;
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = ambients.user_mode ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
      case DISPID_AMBIENT_DISPLAYNAME:
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(ambients.display_name.c_str());
        return S_OK;
      case DISPID_AMBIENT_FONT:
        if (!ambients.font) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = ambients.font.Get();
        ambients.font->AddRef();
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  // IPropertyNotifySink
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    changes.push_back(id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

  // IAdviseSink: only view changes are counted
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { ++view_changes; }
  void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
  void STDMETHODCALLTYPE OnSave() override {}
  void STDMETHODCALLTYPE OnClose() override {}

  Ambients ambients;
  RECT position{};
  IUnknown* control = nullptr;  // not referenced: the host owns the control
  std::vector<DISPID> changes;
  std::vector<DISPID> events;
  int view_changes = 0;

 private:
  HWND host_;
};

bool Image::SaveBmp(const std::wstring& path) const {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = stride * height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  bool ok = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&info, sizeof(info), 1, out) == 1;
  std::vector<char> row(stride, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      uint32_t p = At(x, y);
      row[x * 3] = static_cast<char>(p & 0xFF);
      row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
    ok = ok && fwrite(row.data(), stride, 1, out) == 1;
  }
  return fclose(out) == 0 && ok;
}

uint32_t Rgb(OLE_COLOR color) {
  COLORREF c = 0;
  OleTranslateColor(color, nullptr, &c);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

ControlHost::ControlHost() : host_(CreateHostWindow()) {
  site_ = new ControlSite(host_);
}

ControlHost::~ControlHost() {
  Close();
  site_->Release();
  if (host_) DestroyWindow(host_);
  if (dll_) FreeLibrary(dll_);
}

HRESULT ControlHost::Create(const std::wstring& dll_path, REFCLSID clsid, REFIID events_iid) {
  dll_ = LoadLibraryW(dll_path.c_str());
  if (!dll_) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get_class = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll_, "DllGetClassObject"));
  if (!get_class) return E_NOINTERFACE;
  com::ComPtr<IClassFactory> factory;
  RETURN_IF_FAILED(get_class(clsid, IID_IClassFactory, factory.ReceiveVoid()));
  RETURN_IF_FAILED(factory->CreateInstance(nullptr, IID_IUnknown, control_.ReceiveVoid()));
  site_->control = control_.Get();

  com::ComPtr<IOleObject> ole = As<IOleObject>();
  if (!ole) return E_NOINTERFACE;
  RETURN_IF_FAILED(ole->SetClientSite(static_cast<IOleClientSite*>(site_)));
  if (com::ComPtr<IViewObject> view = As<IViewObject>()) {
    RETURN_IF_FAILED(view->SetAdvise(DVASPECT_CONTENT, 0, static_cast<IAdviseSink*>(site_)));
  }

  com::ComPtr<IConnectionPointContainer> points = As<IConnectionPointContainer>();
  if (!points) return E_NOINTERFACE;
  com::ComPtr<IConnectionPoint> notify, events;
  RETURN_IF_FAILED(points->FindConnectionPoint(IID_IPropertyNotifySink, notify.Receive()));
  RETURN_IF_FAILED(notify->Advise(static_cast<IPropertyNotifySink*>(site_), &notify_cookie_));
  events_iid_ = events_iid;
  RETURN_IF_FAILED(points->FindConnectionPoint(events_iid, events.Receive()));
  auto* sink = new (std::nothrow) EventSink(events_iid, &site_->events);
  if (!sink) return E_OUTOFMEMORY;
  auto sink_ref = com::ComPtr<IDispatch>::Adopt(sink);
  return events->Advise(sink_ref.Get(), &events_cookie_);
}

HRESULT ControlHost::InitNew() {
  com::ComPtr<IPersistPropertyBag> persist = As<IPersistPropertyBag>();
  return persist ? persist->InitNew() : E_NOINTERFACE;
}

HRESULT ControlHost::Load(IPropertyBag* bag) {
  com::ComPtr<IPersistPropertyBag> persist = As<IPersistPropertyBag>();
  return persist ? persist->Load(bag, nullptr) : E_NOINTERFACE;
}

HRESULT ControlHost::Save(IPropertyBag* bag) {
  com::ComPtr<IPersistPropertyBag> persist = As<IPersistPropertyBag>();
  return persist ? persist->Save(bag, TRUE, FALSE) : E_NOINTERFACE;
}

HRESULT ControlHost::Activate() {
  com::ComPtr<IOleObject> ole = As<IOleObject>();
  if (!ole) return E_NOINTERFACE;
  SIZEL himetric{};
  RETURN_IF_FAILED(ole->GetExtent(DVASPECT_CONTENT, &himetric));
  // Whole pixels of the extent: a few hundredths of a pixel lost to HIMETRIC rounding are kept.
  const int dpi = PixelsPerInch();
  auto pixels = [dpi](LONG h) { return static_cast<LONG>(std::floor(h * dpi / 2540.0 + 0.05)); };
  site_->position = {0, 0, pixels(himetric.cx), pixels(himetric.cy)};
  RECT rect = site_->position;
  return ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0,
                     host_, &rect);
}

void ControlHost::Close() {
  if (!control_) return;
  com::ComPtr<IConnectionPointContainer> points = As<IConnectionPointContainer>();
  com::ComPtr<IConnectionPoint> point;
  if (points && notify_cookie_ &&
      SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, point.Receive()))) {
    point->Unadvise(notify_cookie_);
  }
  if (points && events_cookie_ &&
      SUCCEEDED(points->FindConnectionPoint(events_iid_, point.Receive()))) {
    point->Unadvise(events_cookie_);
  }
  if (com::ComPtr<IViewObject> view = As<IViewObject>()) view->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
  if (com::ComPtr<IOleObject> ole = As<IOleObject>()) {
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
  }
  site_->control = nullptr;
  control_.Reset();
}

void ControlHost::Show() {
  ShowWindow(host_, SW_SHOWNOACTIVATE);
  UpdateWindow(host_);
}

Ambients& ControlHost::ambients() { return site_->ambients; }
std::vector<DISPID>& ControlHost::changes() { return site_->changes; }
std::vector<DISPID>& ControlHost::events() { return site_->events; }
int& ControlHost::view_changes() { return site_->view_changes; }

HRESULT ControlHost::Place(const RECT& rect) {
  site_->position = rect;
  com::ComPtr<IOleInPlaceObject> object = As<IOleInPlaceObject>();
  return object ? object->SetObjectRects(&rect, &rect) : E_NOINTERFACE;
}

HWND ControlHost::window() const {
  com::ComPtr<IOleInPlaceObject> object = As<IOleInPlaceObject>();
  HWND hwnd = nullptr;
  if (object) object->GetWindow(&hwnd);
  return hwnd;
}

Image ControlHost::Snapshot() const {
  Image image;
  RECT client{};
  if (!GetClientRect(window(), &client)) return image;
  image.width = client.right;
  image.height = client.bottom;
  if (image.width <= 0 || image.height <= 0) return image;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECTL bounds{0, 0, image.width, image.height};
  com::ComPtr<IViewObject> view = As<IViewObject>();
  if (view && SUCCEEDED(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds,
                                   nullptr, nullptr, 0))) {
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    image.pixels.assign(p, p + static_cast<size_t>(image.width) * image.height);
    for (uint32_t& px : image.pixels) px &= 0x00FFFFFF;
  } else {
    image = Image();
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return image;
}

void ControlHost::Mouse(UINT message, int x, int y) const {
  WPARAM keys = 0;
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: keys = MK_LBUTTON; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: keys = MK_RBUTTON; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: keys = MK_MBUTTON; break;
  }
  SendMessageW(window(), message, keys,
               MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                          static_cast<WORD>(static_cast<SHORT>(y))));
}

}  // namespace testing_support
