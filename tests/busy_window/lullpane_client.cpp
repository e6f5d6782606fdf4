#include "lullpane_client.h"

#include "com_test_env.h"
#include "variant.h"

namespace busy_window_test {

const CLSID kClsid = {0xBD3DE365, 0x5BBF, 0x4558, {0xB9, 0xC2, 0x39, 0x4C, 0x5F, 0x89, 0x07, 0xF1}};
const IID kIid = {0x2AE1A0EA, 0x843A, 0x46E6, {0xB2, 0x32, 0x9D, 0xD6, 0xEF, 0x57, 0x61, 0x89}};
const IID kEventsIid = {0xD76CDCDC, 0x9339, 0x4C44,
                        {0xB4, 0xC1, 0xBC, 0xF5, 0x51, 0x1F, 0xEE, 0xD8}};

namespace {

HRESULT Call(IDispatch* busy, DISPID id, std::vector<com::Variant> args) {
  std::vector<VARIANTARG> argv;
  for (auto it = args.rbegin(); it != args.rend(); ++it) argv.push_back(*it->Ptr());
  DISPPARAMS params{argv.data(), nullptr, static_cast<UINT>(argv.size()), 0};
  EXCEPINFO excep{};
  HRESULT hr = busy->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                            &excep, nullptr);
  if (hr == DISP_E_EXCEPTION) hr = excep.scode;
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  return hr;
}

}  // namespace

HRESULT StartAnime(IDispatch* busy, HWND owner) {
  // Window handles cross as 32-bit integers.
  return Call(busy, kStartAnime,
              {com::Variant::I4(static_cast<LONG>(reinterpret_cast<LONG_PTR>(owner)))});
}

HRESULT StopAnime(IDispatch* busy) { return Call(busy, kStopAnime, {}); }

HRESULT EventSink::QueryInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, kEventsIid)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}
HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  *out = nullptr;
  return E_NOTIMPL;
}
HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                          UINT*) {
  if (id != kOnCancelButtonClicked) return DISP_E_MEMBERNOTFOUND;
  ++cancel_count;
  if (on_cancel) on_cancel();
  return S_OK;
}

Connection::Connection(IUnknown* busy, IDispatch* sink) {
  com::ComPtr<IConnectionPointContainer> container;
  hr_ = busy->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid());
  if (SUCCEEDED(hr_)) hr_ = container->FindConnectionPoint(kEventsIid, point_.Receive());
  if (SUCCEEDED(hr_)) hr_ = point_->Advise(sink, &cookie_);
}

Connection::~Connection() {
  if (SUCCEEDED(hr_)) point_->Unadvise(cookie_);
}

OwnerWindow::OwnerWindow() {
  hwnd_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() { Destroy(); }

void OwnerWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

HWND FindForm(HWND owner, DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"HalvaneWaitform", nullptr); w;
         w = FindWindowExW(nullptr, w, L"HalvaneWaitform", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (owner ? GetWindow(w, GW_OWNER) == owner : pid != GetCurrentProcessId()) return w;
    }
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return nullptr;
    testing_support::PumpMessages(20);
  }
}

HWND FormChild(HWND form, int index) {
  HWND child = GetWindow(form, GW_CHILD);
  for (int i = 0; child && i < index; ++i) child = GetWindow(child, GW_HWNDNEXT);
  return child;
}

HWND CancelButton(HWND form) { return FindWindowExW(form, nullptr, L"Button", nullptr); }

HANDLE OpenServerProcess(HWND form) {
  DWORD pid = 0;
  GetWindowThreadProcessId(form, &pid);
  return pid ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid) : nullptr;
}

bool WaitForExit(HANDLE process, DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return true;
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    testing_support::PumpMessages(20);
  }
}

Capture::Capture(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD* p = static_cast<const DWORD*>(bits);
  pixels_.assign(p, p + static_cast<size_t>(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF Capture::At(int x, int y) const {
  DWORD v = pixels_.at(static_cast<size_t>(y) * width_ + x);  // 0x00RRGGBB
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool Capture::SameRegion(const Capture& other, const RECT& region) const {
  for (int y = region.top; y < region.bottom; ++y) {
    for (int x = region.left; x < region.right; ++x) {
      if (At(x, y) != other.At(x, y)) return false;
    }
  }
  return true;
}

bool WaitForRegionChange(HWND form, const Capture& before, const RECT& region, DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    if (!Capture(form).SameRegion(before, region)) return true;
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    testing_support::PumpMessages(10);
  }
}

std::wstring PicturePath(const wchar_t* file) {
  std::string dir = HALVANE_PICTURES_DIR;  // a Unix path, reached through drive Z:
  std::wstring path = L"Z:";
  for (char c : dir) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path + L"\\" + file;
}

}  // namespace busy_window_test
