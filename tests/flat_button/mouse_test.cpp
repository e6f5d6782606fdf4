// Pressing and releasing the mouse on a placed control: the pressed look and Click.
#include "flat_button_fixture.h"

namespace {

using flat_button_test::FlatButtonTest;
using testing_support::Rgb;

constexpr OLE_COLOR kFace = 0x00E0D0C0;
constexpr OLE_COLOR kDownFace = 0x0080FFFF;
constexpr DISPID kClick = 1;

class FlatButtonMouse : public FlatButtonTest {
 protected:
  void SetUp() override {
    FlatButtonTest::SetUp();
    Place();
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_BackColor, kFace));
    ASSERT_HRESULT_SUCCEEDED(button_->put_DownBackColor(kDownFace));
    RECT client{};
    GetClientRect(host_.window(), &client);
    width_ = client.right;
    height_ = client.bottom;
  }
  uint32_t Face() const { return host_.Snapshot().At(1, 1); }
  int Clicks() {
    int n = 0;
    for (DISPID id : host_.events()) n += id == kClick;
    return n;
  }
  // Placed with InitNew, the extent is a whole number of pixels: width_ x height_.
  int width_ = 0, height_ = 0;
};

TEST_F(FlatButtonMouse, PressShowsPressedLookReleaseInsideClicks) {
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  EXPECT_EQ(Face(), Rgb(kDownFace));
  EXPECT_EQ(GetCapture(), host_.window());
  EXPECT_EQ(Clicks(), 0);
  host_.Mouse(WM_LBUTTONUP, 3, 3);
  EXPECT_EQ(Face(), Rgb(kFace));
  EXPECT_EQ(Clicks(), 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FlatButtonMouse, ReleasePositionsInclusiveBounds) {
  const struct {
    int x, y;
    bool click;
  } cases[] = {
      {0, 0, true},
      {width_, height_, true},  // exactly at width and height
      {width_ + 1, 0, false},
      {0, height_ + 1, false},
      {-1, 0, false},
      {0, -1, false},
      {width_ + 40, height_ + 40, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    host_.events().clear();
    host_.Mouse(WM_LBUTTONDOWN, 1, 1);
    host_.Mouse(WM_LBUTTONUP, c.x, c.y);
    EXPECT_EQ(Clicks(), c.click ? 1 : 0);
    EXPECT_EQ(Face(), Rgb(kFace));
  }
}

TEST_F(FlatButtonMouse, DoubleClickGivesTwoClicks) {
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  host_.Mouse(WM_LBUTTONDBLCLK, 2, 2);
  EXPECT_EQ(Face(), Rgb(kDownFace));
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 2);
}

TEST_F(FlatButtonMouse, EveryButtonClicks) {
  const UINT pairs[][2] = {{WM_RBUTTONDOWN, WM_RBUTTONUP}, {WM_MBUTTONDOWN, WM_MBUTTONUP},
                           {WM_RBUTTONDBLCLK, WM_RBUTTONUP}};
  for (const auto& p : pairs) {
    host_.events().clear();
    host_.Mouse(p[0], 2, 2);
    EXPECT_EQ(Face(), Rgb(kDownFace));
    host_.Mouse(p[1], 2, 2);
    EXPECT_EQ(Clicks(), 1) << p[0];
  }
}

TEST_F(FlatButtonMouse, TwoButtonsGiveOneClickAtTheFirstRelease) {
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  host_.Mouse(WM_RBUTTONDOWN, 2, 2);
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 1);
  host_.Mouse(WM_RBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 1);
}

TEST_F(FlatButtonMouse, ReleaseWithoutPressDoesNotClick) {
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 0);
}

// Another window takes the mouse between press and release (a switch to another program, say):
// the button comes up, and a release that reaches it later is no click.
TEST_F(FlatButtonMouse, LostCaptureReleasesWithoutClick) {
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  ASSERT_EQ(GetCapture(), host_.window());
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetCapture(other);
  EXPECT_EQ(Face(), Rgb(kFace));
  ReleaseCapture();
  DestroyWindow(other);
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 0);
  // The next press and release click as usual.
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 1);
}

TEST_F(FlatButtonMouse, DisabledButtonNeverPressesOrClicks) {
  ASSERT_HRESULT_SUCCEEDED(SetEnabled(false));
  testing_support::Image before = host_.Snapshot();
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  EXPECT_TRUE(host_.Snapshot() == before);
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  host_.Mouse(WM_LBUTTONDBLCLK, 2, 2);
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Clicks(), 0);
}

TEST_F(FlatButtonMouse, RunModeWithoutAutoRedrawStillRedrawsOnPress) {
  host_.ambients().user_mode = true;
  ASSERT_HRESULT_SUCCEEDED(button_->put_AutoRedraw(VARIANT_FALSE));
  host_.Mouse(WM_LBUTTONDOWN, 2, 2);
  EXPECT_EQ(Face(), Rgb(kDownFace));
  host_.Mouse(WM_LBUTTONUP, 2, 2);
  EXPECT_EQ(Face(), Rgb(kFace));
}

}  // namespace
