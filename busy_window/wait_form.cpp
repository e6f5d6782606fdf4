#include "wait_form.h"

#include "hresult.h"
#include "module.h"
#include "resource_ids.h"

namespace halvane {
namespace {

const wchar_t kFormClass[] = L"HalvaneWaitform";
const wchar_t kPictureClass[] = L"HalvanePictureBox";
constexpr COLORREF kBackColor = RGB(192, 255, 255);    // &H00FFFFC0&
constexpr COLORREF kShapeColor = RGB(112, 112, 255);   // &H00FF7070&
constexpr int kShapeBorderPixels = 4;
constexpr UINT kTimerId = 1;
constexpr UINT kTimerInterval = 500;
constexpr int kCancelButtonId = 1;

// A picture box shows the surface its window data points to; it draws nothing else.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      auto* surface = reinterpret_cast<const Surface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      if (surface) BitBlt(dc, 0, 0, surface->width(), surface->height(), surface->dc(), 0, 0, SRCCOPY);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

bool RegisterClasses() {
  static const bool registered = [] {
    HINSTANCE instance = com::ModuleInstance();
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = DefWindowProcW;  // replaced per window in WM_NCCREATE
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    form.hbrBackground = CreateSolidBrush(kBackColor);
    form.lpszClassName = kFormClass;
    WNDCLASSEXW picture{};
    picture.cbSize = sizeof(picture);
    picture.lpfnWndProc = PictureProc;
    picture.hInstance = instance;
    picture.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    picture.lpszClassName = kPictureClass;
    return RegisterClassExW(&form) && RegisterClassExW(&picture);
  }();
  return registered;
}

HWND CreatePictureBox(HWND parent, const RECT& r) {
  return CreateWindowExW(0, kPictureClass, nullptr, WS_CHILD | WS_VISIBLE, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent, nullptr,
                         com::ModuleInstance(), nullptr);
}

void ShowSurface(HWND box, const Surface& surface) {
  SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&surface));
}

}  // namespace

std::shared_ptr<WaitForm> WaitForm::Create(WaitFormEvents* events) {
  return std::shared_ptr<WaitForm>(new WaitForm(events));
}

WaitForm::~WaitForm() { Unload(); }

HRESULT WaitForm::Show() {
  if (!hwnd_) RETURN_IF_FAILED(Load());
  ShowWindow(hwnd_, SW_SHOW);
  return S_OK;
}

void WaitForm::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void WaitForm::Unload() {
  events_ = nullptr;
  if (HWND hwnd = hwnd_) {
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
  if (icon_big_) DestroyIcon(icon_big_);
  if (icon_small_) DestroyIcon(icon_small_);
  icon_big_ = icon_small_ = nullptr;
}

void WaitForm::StartAnime() {
  if (hwnd_) SetTimer(hwnd_, kTimerId, kTimerInterval, nullptr);
}

void WaitForm::StopAnime() {
  if (hwnd_) KillTimer(hwnd_, kTimerId);
}

bool WaitForm::CancelButtonEnabled() const {
  return cmd_cancel_ && IsWindowEnabled(cmd_cancel_);
}

void WaitForm::SetCancelButtonEnabled(bool enabled) {
  if (cmd_cancel_) EnableWindow(cmd_cancel_, enabled);
}

HRESULT WaitForm::Load() {
  if (!RegisterClasses()) return HRESULT_FROM_WIN32(GetLastError());
  tpp_ = ScreenTwipsPerPixel();
  const RECT client = TwipsRect(0, 0, 5520, 2205, tpp_);
  shape1_ = TwipsRect(120, 120, 5265, 1965, tpp_);
  image3_ = TwipsRect(1890, 510, 3120, 780, tpp_);
  RECT pic_anime = TwipsRect(360, 360, 1515, 1515, tpp_);
  const RECT pic_text = TwipsRect(1920, 270, 3225, 1005, tpp_);
  const RECT cmd_cancel = TwipsRect(3390, 1470, 1725, 405, tpp_);
  const SIZE text_frame = {pic_text.right - pic_text.left, pic_text.bottom - pic_text.top};

  RETURN_IF_FAILED(pictures_.Load(text_frame, kBackColor));
  if (!pic_text_surface_.Create(text_frame.cx, text_frame.cy, kBackColor)) return E_OUTOFMEMORY;
  // picAnime sizes itself to its picture.
  pic_anime.right = pic_anime.left + pictures_.worker(0).width();
  pic_anime.bottom = pic_anime.top + pictures_.worker(0).height();

  // Centred on the screen: the owner is attached only after the first show.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = client.right, height = client.bottom;
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kFormClass, L"Form1", WS_POPUP | WS_CLIPCHILDREN,
                              x, y, width, height, nullptr, nullptr, com::ModuleInstance(), nullptr);
  if (!hwnd) return HRESULT_FROM_WIN32(GetLastError());
  hwnd_ = hwnd;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));

  HINSTANCE instance = com::ModuleInstance();
  icon_big_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_HALVANE), IMAGE_ICON,
                                            32, 32, 0));
  icon_small_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_HALVANE),
                                              IMAGE_ICON, 16, 16, 0));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_));

  pic_anime_ = CreatePictureBox(hwnd_, pic_anime);
  pic_text_ = CreatePictureBox(hwnd_, pic_text);
  cmd_cancel_ = CreateWindowExW(0, L"BUTTON", L"キャンセル", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                BS_PUSHBUTTON, cmd_cancel.left, cmd_cancel.top,
                                cmd_cancel.right - cmd_cancel.left,
                                cmd_cancel.bottom - cmd_cancel.top, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelButtonId)),
                                instance, nullptr);
  if (!pic_anime_ || !pic_text_ || !cmd_cancel_) return HRESULT_FROM_WIN32(GetLastError());
  SendMessageW(cmd_cancel_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  ShowSurface(pic_text_, pic_text_surface_);

  // Loading.
  image3_visible_ = false;
  anime_frame_no_ = 0;
  anime_last_frame_no_ = kWorkerFrameCount - 1;
  ShowSurface(pic_anime_, pictures_.worker(0));
  text_frame_no_ = 0;
  DrawTextFrame(0);
  SetTimer(hwnd_, kTimerId, kTimerInterval, nullptr);
  return S_OK;
}

void WaitForm::Tick() {
  anime_frame_no_ = anime_frame_no_ == anime_last_frame_no_ ? 0 : anime_frame_no_ + 1;
  ShowSurface(pic_anime_, pictures_.worker(anime_frame_no_));
  InvalidateRect(pic_anime_, nullptr, FALSE);
  text_frame_no_ = text_frame_no_ < kTextFrameCount - 1 ? text_frame_no_ + 1 : 0;
  DrawTextFrame(text_frame_no_);
  if (events_) events_->OnTimer();
}

void WaitForm::DrawTextFrame(int i) {
  const Surface& frame = pictures_.text(i);
  // The frame store is measured in twips; the same rounding gives its pixel size.
  const int w = frame.width(), h = frame.height();
  BitBlt(pic_text_surface_.dc(), 0, 0, w, h, frame.dc(), 0, 0, SRCCOPY);
  InvalidateRect(pic_text_, nullptr, FALSE);
  UpdateWindow(pic_text_);
}

void WaitForm::OnCancelClick() {
  // The object may be released while the event is out; this frame must outlive that.
  std::shared_ptr<WaitForm> keep = shared_from_this();
  image3_visible_ = true;
  InvalidateRect(hwnd_, &image3_, TRUE);
  ShowWindow(pic_text_, SW_HIDE);
  EnableWindow(hwnd_, FALSE);
  if (events_) events_->OnCancelButtonClicked();
  if (hwnd_) EnableWindow(hwnd_, TRUE);
}

void WaitForm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  // The frame line lies inside the shape's rectangle.
  HPEN pen = CreatePen(PS_INSIDEFRAME, kShapeBorderPixels, kShapeColor);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, shape1_.left, shape1_.top, shape1_.right, shape1_.bottom);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
  if (image3_visible_) {
    const Surface& cancel = pictures_.cancel();
    BitBlt(dc, image3_.left, image3_.top, cancel.width(), cancel.height(), cancel.dc(), 0, 0,
           SRCCOPY);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK WaitForm::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* form = reinterpret_cast<WaitForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || form->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wparam, lparam);
  return form->HandleMessage(msg, wparam, lparam);
}

LRESULT WaitForm::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (wparam == kTimerId) Tick();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCancelButtonId && HIWORD(wparam) == BN_CLICKED) OnCancelClick();
      return 0;
    case WM_CLOSE:
      return 0;  // only the owning object unloads the form
    case WM_DESTROY: {
      // Unload detaches the form before it destroys the window: this is somebody else's doing.
      hwnd_ = pic_anime_ = pic_text_ = cmd_cancel_ = nullptr;
      if (WaitFormEvents* events = events_) events->OnFormDestroyed();
      return 0;
    }
  }
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

}  // namespace halvane
