#include "drawing_surface.h"

#include <windowsx.h>

#include <cmath>

#include "hresult.h"
#include "module.h"

namespace pelorin {
namespace {

constexpr wchar_t kWindowClass[] = L"PelorinTavFlatBtn";
constexpr float kInitialWidth = 2760;   // twips
constexpr float kInitialHeight = 2025;  // twips
constexpr double kTwipsPerInch = 1440;
constexpr HRESULT kInvalidPropertyValue = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 380);

HRESULT RegisterWindowClass(WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(com::ModuleInstance(), kWindowClass, &wc)) return S_OK;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = com::ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  return RegisterClassExW(&wc) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

// R(twips) \ R(twips per pixel): both rounded half to even, the quotient truncated.
LONG ToPixels(float twips, double twips_per_pixel) {
  return static_cast<LONG>(std::lrint(twips) / std::lrint(twips_per_pixel));
}

HRESULT Translate(OLE_COLOR color, COLORREF* out) { return OleTranslateColor(color, nullptr, out); }

}  // namespace

DrawingSurface::DrawingSurface(Events* events) : events_(events) {}

DrawingSurface::~DrawingSurface() {
  DestroyWindow();
  if (dc_) {
    SelectObject(dc_, original_font_);
    DeleteObject(SelectObject(dc_, original_bitmap_));
    DeleteDC(dc_);
  }
}

HRESULT DrawingSurface::Initialize() {
  RETURN_IF_FAILED(RegisterWindowClass(WindowProc));
  HDC screen = GetDC(nullptr);
  if (!screen) return E_FAIL;
  twips_per_pixel_x_ = kTwipsPerInch / GetDeviceCaps(screen, LOGPIXELSX);
  twips_per_pixel_y_ = kTwipsPerInch / GetDeviceCaps(screen, LOGPIXELSY);
  dc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!dc_) return E_OUTOFMEMORY;
  original_font_ = GetCurrentObject(dc_, OBJ_FONT);
  original_bitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
  SetBkMode(dc_, TRANSPARENT);  // text output draws the glyphs only
  SelectObject(dc_, GetStockObject(NULL_BRUSH));  // shapes are outlines: nothing is filled
  RETURN_IF_FAILED(Translate(0x8000000F, &back_color_));

  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(L"MS Sans Serif"), {}, FW_NORMAL, 0,
                FALSE, FALSE, FALSE};
  desc.cySize.int64 = 24 * 10000;
  com::ComPtr<IFontDisp> initial;
  RETURN_IF_FAILED(OleCreateFontIndirect(&desc, IID_IFontDisp, initial.ReceiveVoid()));
  RETURN_IF_FAILED(SetFont(initial.Get()));
  width_ = kInitialWidth;
  height_ = kInitialHeight;
  return ResizeImage();
}

HDC DrawingSurface::Dc() {
  // The font object may have been changed from outside since: select its current handle.
  HFONT font = nullptr;
  if (font_ && SUCCEEDED(font_->get_hFont(&font))) SelectObject(dc_, font);
  return dc_;
}

HRESULT DrawingSurface::SetFont(IFontDisp* font) {
  if (!font) return E_POINTER;
  com::ComPtr<IFont> given, copy;
  RETURN_IF_FAILED(font->QueryInterface(IID_IFont, given.ReceiveVoid()));
  RETURN_IF_FAILED(given->Clone(copy.Receive()));
  com::ComPtr<IFontDisp> copy_disp;
  RETURN_IF_FAILED(copy.As(&copy_disp));
  HFONT handle = nullptr;
  RETURN_IF_FAILED(copy->get_hFont(&handle));
  // Selected before the old object goes, so its handle is never deleted while selected.
  SelectObject(dc_, handle);
  font_ = copy;
  font_disp_ = copy_disp;
  return S_OK;
}

HRESULT DrawingSurface::SetForeColor(OLE_COLOR color) {
  COLORREF rgb;
  RETURN_IF_FAILED(Translate(color, &rgb));
  SetTextColor(dc_, rgb);
  return S_OK;
}

HRESULT DrawingSurface::SetBackColor(OLE_COLOR color) {
  RETURN_IF_FAILED(Translate(color, &back_color_));
  return Clear();
}

HRESULT DrawingSurface::Clear() {
  RECT all{0, 0, pixels_.cx, pixels_.cy};
  COLORREF old = SetBkColor(dc_, back_color_);
  // ExtTextOut with ETO_OPAQUE fills without creating a brush.
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  SetBkColor(dc_, old);
  Invalidate();
  return S_OK;
}

HRESULT DrawingSurface::SetWidth(float twips) { return SetExtent(twips, height_); }
HRESULT DrawingSurface::SetHeight(float twips) { return SetExtent(width_, twips); }

HRESULT DrawingSurface::SetExtent(float width, float height) {
  if (width == width_ && height == height_) return S_OK;
  // A negative or unrepresentable extent is refused before anything changes.
  constexpr float kMaxTwips = 2e9f;
  if (!(width >= 0 && height >= 0 && width < kMaxTwips && height < kMaxTwips)) {
    return kInvalidPropertyValue;
  }
  width_ = width;
  height_ = height;
  RETURN_IF_FAILED(ResizeImage());
  if (window_) {
    RECT rect = window_rect_;
    rect.right = rect.left + pixels_.cx;
    rect.bottom = rect.top + pixels_.cy;
    window_rect_ = rect;
    MoveWindow(window_, rect.left, rect.top, pixels_.cx, pixels_.cy, TRUE);
    events_->OnPositionRequest(rect);
  }
  return events_->OnResize();
}

HRESULT DrawingSurface::ResizeImage() {
  SIZE size{ToPixels(width_, twips_per_pixel_x_), ToPixels(height_, twips_per_pixel_y_)};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx > 0 ? size.cx : 1;
  info.bmiHeader.biHeight = -(size.cy > 0 ? size.cy : 1);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return E_OUTOFMEMORY;

  // The new image starts in the background colour with the old image in its top-left corner.
  HDC old_dc = CreateCompatibleDC(dc_);
  if (!old_dc) {
    DeleteObject(bitmap);
    return E_OUTOFMEMORY;
  }
  HGDIOBJ old_selected = SelectObject(old_dc, bitmap);
  RECT all{0, 0, size.cx, size.cy};
  SetBkColor(old_dc, back_color_);
  ExtTextOutW(old_dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  if (bitmap_) BitBlt(old_dc, 0, 0, pixels_.cx, pixels_.cy, dc_, 0, 0, SRCCOPY);
  SelectObject(old_dc, old_selected);
  DeleteDC(old_dc);

  SelectObject(dc_, bitmap);
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap;
  pixels_ = size;
  Invalidate();
  return S_OK;
}

void DrawingSurface::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled);
}

HRESULT DrawingSurface::CreateWindowIn(HWND parent, const RECT& rect) {
  if (window_) return S_OK;
  window_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                            parent, nullptr, com::ModuleInstance(), nullptr);
  if (!window_) return HRESULT_FROM_WIN32(GetLastError());
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  EnableWindow(window_, enabled_);
  window_rect_ = rect;
  return SetWindowRect(rect);
}

void DrawingSurface::DestroyWindow() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
  window_ = nullptr;
}

HRESULT DrawingSurface::SetWindowRect(const RECT& rect) {
  window_rect_ = rect;
  if (window_) {
    MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               TRUE);
  }
  LONG cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  if (cx == pixels_.cx && cy == pixels_.cy) return S_OK;
  return SetExtent(static_cast<float>(cx * twips_per_pixel_x_),
                   static_cast<float>(cy * twips_per_pixel_y_));
}

HRESULT DrawingSurface::Render(HDC target, const RECT& bounds) {
  if (!target) return E_INVALIDARG;
  SetStretchBltMode(target, COLORONCOLOR);
  BOOL ok = StretchBlt(target, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, dc_, 0, 0, pixels_.cx, pixels_.cy, SRCCOPY);
  return ok ? S_OK : E_FAIL;
}

void DrawingSurface::Invalidate() {
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK DrawingSurface::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<DrawingSurface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // The handler may release the control: nothing of `self` is touched after it.
      self->HandleMessage(msg, wp, lp);
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    default:
      return self->HandleMessage(msg, wp, lp);
  }
}

LRESULT DrawingSurface::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC target = BeginPaint(window_, &ps);
      BitBlt(target, 0, 0, pixels_.cx, pixels_.cy, dc_, 0, 0, SRCCOPY);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (!enabled_) return 0;
      SetCapture(window_);
      events_->OnMouseDown();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!enabled_) return 0;
      events_->OnMouseUp(static_cast<float>(GET_X_LPARAM(lp) * twips_per_pixel_x_),
                         static_cast<float>(GET_Y_LPARAM(lp) * twips_per_pixel_y_));
      return 0;
    case WM_CAPTURECHANGED:
      // Also sent by our own release after a button-up, when the button is already up, and when
      // the button is disabled, which keeps the pressed state as it is.
      if (enabled_ && reinterpret_cast<HWND>(lp) != window_) events_->OnCaptureLost();
      return 0;
    default:
      return DefWindowProcW(window_, msg, wp, lp);
  }
}

}  // namespace pelorin
