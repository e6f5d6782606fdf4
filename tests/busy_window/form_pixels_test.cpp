// Reads the busy form's pixels from the screen (Xvfb under the test runner): its colours and
// frame line, the animation between ticks and the cancel picture after a click.
#include <windows.h>
#include <olectl.h>

#include "com_ptr.h"
#include "com_test_env.h"
#include "lullpane_client.h"

namespace busy_window_test {
namespace {

using com::ComPtr;
using testing_support::PumpMessages;

constexpr COLORREF kBack = RGB(192, 255, 255);
constexpr COLORREF kFrame = RGB(112, 112, 255);
// Client-area places at 15 twips per pixel.
constexpr RECT kAnime = {24, 24, 124, 124};
constexpr RECT kText = {128, 18, 343, 85};
constexpr RECT kCancelPicture = {126, 34, 334, 86};
constexpr DWORD kTickWait = 2000;  // a tick, with room for late timers under X

// A committed picture file drawn over the form's background, as the form shows it.
class Reference {
 public:
  explicit Reference(const wchar_t* file) {
    ComPtr<IPicture> picture;
    hr_ = OleLoadPicturePath(const_cast<LPOLESTR>(PicturePath(file).c_str()), nullptr, 0, 0,
                             IID_IPicture, picture.ReceiveVoid());
    if (FAILED(hr_)) return;
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    BITMAP bm{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof(bm), &bm);
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width_, height_};
    HBRUSH brush = CreateSolidBrush(kBack);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    hr_ = picture->Render(dc_, 0, 0, width_, height_, 0, h, w, -h, nullptr);
  }
  ~Reference() {
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
  }
  HRESULT hr() const { return hr_; }

  // Pixels of `capture` at `origin` that differ from this picture.
  int Differences(const Capture& capture, POINT origin) const {
    int n = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (GetPixel(dc_, x, y) != capture.At(origin.x + x, origin.y + y)) ++n;
      }
    }
    return n;
  }

 private:
  HRESULT hr_ = E_FAIL;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

class HalvaneFormPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                              busy_.ReceiveVoid()));
    ASSERT_HRESULT_SUCCEEDED(StartAnime(busy_.Get(), owner_.hwnd()));
    form_ = FindForm(owner_.hwnd());
    ASSERT_NE(form_, nullptr);
    PumpMessages(50);
  }

  // The next tick's picture, captured right after the worker frame changed.
  Capture NextTick(const Capture& before) {
    EXPECT_TRUE(WaitForRegionChange(form_, before, kAnime, kTickWait));
    PumpMessages(30);  // the text copy of the same tick
    return Capture(form_);
  }

  testing_support::ComApartment apartment_;
  OwnerWindow owner_;
  ComPtr<IDispatch> busy_;
  HWND form_ = nullptr;
};

TEST_F(HalvaneFormPixelsTest, BackgroundAndFourPixelFrameLine) {
  Capture shot(form_);
  ASSERT_EQ(shot.width(), 368);
  ASSERT_EQ(shot.height(), 147);
  const POINT background[] = {{2, 2}, {365, 144}, {7, 70}, {12, 70}, {200, 12}, {354, 140}};
  for (POINT p : background) EXPECT_EQ(shot.At(p.x, p.y), kBack) << p.x << "," << p.y;
  // Shape1 spans pixels 8..358 x 8..138, its line drawn inside that rectangle.
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(shot.At(8 + i, 70), kFrame) << "left " << i;
    EXPECT_EQ(shot.At(358 - i, 70), kFrame) << "right " << i;
    EXPECT_EQ(shot.At(200, 8 + i), kFrame) << "top " << i;
    EXPECT_EQ(shot.At(200, 138 - i), kFrame) << "bottom " << i;
  }
}

TEST_F(HalvaneFormPixelsTest, LoadingShowsTheFirstFramesThenTicksAdvanceThem) {
  Reference worker0(L"worker0.bmp"), worker1(L"worker1.bmp");
  Reference text0(L"text0.gif"), text1(L"text1.gif");
  ASSERT_HRESULT_SUCCEEDED(worker0.hr());
  ASSERT_HRESULT_SUCCEEDED(text1.hr());
  Capture first(form_);
  EXPECT_EQ(worker0.Differences(first, {kAnime.left, kAnime.top}), 0);
  EXPECT_EQ(text0.Differences(first, {kText.left, kText.top}), 0);
  Capture second = NextTick(first);
  EXPECT_EQ(worker1.Differences(second, {kAnime.left, kAnime.top}), 0);
  EXPECT_EQ(text1.Differences(second, {kText.left, kText.top}), 0);
}

TEST_F(HalvaneFormPixelsTest, WorkerFramesRepeatAfterFiveTicks) {
  Capture start = NextTick(Capture(form_));
  Capture shot = start;
  for (int tick = 1; tick <= 5; ++tick) {
    shot = NextTick(shot);
    EXPECT_EQ(shot.SameRegion(start, kAnime), tick == 5) << "tick " << tick;
  }
}

TEST_F(HalvaneFormPixelsTest, StopAndStartKeepTheFrames) {
  Capture before = NextTick(Capture(form_));
  ASSERT_HRESULT_SUCCEEDED(StopAnime(busy_.Get()));
  PumpMessages(700);  // a stopped form does not tick
  ASSERT_HRESULT_SUCCEEDED(StartAnime(busy_.Get(), owner_.hwnd()));
  PumpMessages(50);
  Capture after(form_);
  EXPECT_TRUE(after.SameRegion(before, kAnime));
  EXPECT_TRUE(after.SameRegion(before, kText));
  EXPECT_TRUE(WaitForRegionChange(form_, after, kAnime, kTickWait));
}

TEST_F(HalvaneFormPixelsTest, CancelClickReplacesTheCaptionByTheCancelPicture) {
  Reference cancel(L"cancel.gif");
  ASSERT_HRESULT_SUCCEEDED(cancel.hr());
  EXPECT_GT(cancel.Differences(Capture(form_), {kCancelPicture.left, kCancelPicture.top}), 0);

  EventSink sink;
  Connection connection(busy_.Get(), &sink);
  ASSERT_HRESULT_SUCCEEDED(connection.hr());
  PostMessageW(CancelButton(form_), BM_CLICK, 0, 0);
  for (DWORD end = GetTickCount() + 3000; sink.cancel_count == 0 && GetTickCount() < end;) {
    PumpMessages(10);
  }
  ASSERT_EQ(sink.cancel_count, 1);
  PumpMessages(100);
  Capture shot(form_);
  EXPECT_EQ(cancel.Differences(shot, {kCancelPicture.left, kCancelPicture.top}), 0);
  // The worker goes on; the caption stays replaced.
  Capture later = NextTick(shot);
  EXPECT_EQ(cancel.Differences(later, {kCancelPicture.left, kCancelPicture.top}), 0);
}

// Sets the prefix's screen to 120 dots per inch (12 twips per pixel) for the programs started
// while it lives, and puts 96 back.
class TwelveTwipsPerPixel {
 public:
  TwelveTwipsPerPixel() {
    DWORD dpi = 120;
    ok_ = RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                          &dpi, sizeof(dpi)) == ERROR_SUCCESS;
  }
  ~TwelveTwipsPerPixel() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

TEST(HalvaneFormScaleTest, AtTwelveTwipsPerPixelTheLayoutAndTextBlockScale) {
  testing_support::ComApartment apartment;
  TwelveTwipsPerPixel dpi;
  ASSERT_TRUE(dpi.ok());
  ComPtr<IDispatch> busy;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                            busy.ReceiveVoid()));
  OwnerWindow owner;
  ASSERT_HRESULT_SUCCEEDED(StartAnime(busy.Get(), owner.hwnd()));
  HWND form = FindForm(owner.hwnd());
  ASSERT_NE(form, nullptr);
  RECT r;
  GetClientRect(form, &r);
  EXPECT_EQ(r.right, 460);   // 5520 / 12
  EXPECT_EQ(r.bottom, 184);  // 2205 / 12 = 183.75
  // The text surface and its block copy: 3225 x 1005 twips, 268.75 x 83.75 rounded.
  GetClientRect(FormChild(form, 1), &r);
  EXPECT_EQ(r.right, 269);
  EXPECT_EQ(r.bottom, 84);
  // The worker picture keeps its own 100 x 100 pixels.
  GetClientRect(FormChild(form, 0), &r);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 100);
  // Right of the 208-pixel caption picture the copied block shows the background.
  PumpMessages(100);
  POINT origin = {0, 0};
  ClientToScreen(form, &origin);
  RECT text_box;
  GetWindowRect(FormChild(form, 1), &text_box);
  Capture shot(form);
  EXPECT_EQ(shot.At(text_box.left - origin.x + 240, text_box.top - origin.y + 40), kBack);
}

}  // namespace
}  // namespace busy_window_test
