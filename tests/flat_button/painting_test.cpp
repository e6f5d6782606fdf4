// The drawn image of a placed control: normal, pressed and disabled looks, border styles and
// caption placement, read back through IViewObject::Draw.
#include "flat_button_fixture.h"

namespace {

using flat_button_test::Box;
using flat_button_test::BoxOf;
using flat_button_test::Count;
using flat_button_test::FlatButtonTest;
using flat_button_test::MeasureAnsi;
using flat_button_test::ReferenceInk;
using testing_support::Image;
using testing_support::Rgb;

constexpr OLE_COLOR kFace = 0x00E0D0C0;
constexpr OLE_COLOR kDownFace = 0x0080FFFF;
constexpr OLE_COLOR kText = 0x000000C0;
constexpr OLE_COLOR kDownText = 0x00C00000;
constexpr OLE_COLOR kBorder = 0x00008000;

// Bounding box of the pixels that are neither of two colours.
Box InkBox(const Image& image, uint32_t face, uint32_t border) {
  Box box{image.width, image.height, -1, -1};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = image.At(x, y);
      if (p == face || p == border) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

bool OuterRingIs(const Image& image, uint32_t color) {
  for (int x = 0; x < image.width; ++x) {
    if (image.At(x, 0) != color || image.At(x, image.height - 1) != color) return false;
  }
  for (int y = 0; y < image.height; ++y) {
    if (image.At(0, y) != color || image.At(image.width - 1, y) != color) return false;
  }
  return true;
}

class FlatButtonPainting : public FlatButtonTest {
 protected:
  void SetUp() override {
    FlatButtonTest::SetUp();
    Place();
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_BackColor, kFace));
    ASSERT_HRESULT_SUCCEEDED(button_->put_DownBackColor(kDownFace));
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_TextColor, kText));
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_DownTextColor, kDownText));
    ASSERT_HRESULT_SUCCEEDED(button_->put_BorderColor(kBorder));
    ASSERT_HRESULT_SUCCEEDED(SetCaption(L"Flat"));
    // Room around the caption, so that the caption and the border do not meet.
    ASSERT_HRESULT_SUCCEEDED(host_.Place({0, 0, 90, 30}));
  }

  // Where the caption's ink lies when drawn at the centred position, plus `shift`.
  Box ExpectedInk(const char* caption, int shift) {
    Image image = host_.Snapshot();
    SIZE size = MeasureAnsi(font_.Get(), caption);
    int x = (image.width - size.cx) / 2 + shift, y = (image.height - size.cy) / 2 + shift;
    return ReferenceInk(font_.Get(), caption, x, y, image.width, image.height);
  }
};

TEST_F(FlatButtonPainting, NormalLookFaceBorderAndCentredCaption) {
  Image image = host_.Snapshot();
  ASSERT_EQ(image.width, 90);
  ASSERT_EQ(image.height, 30);
  EXPECT_TRUE(OuterRingIs(image, Rgb(kBorder)));
  EXPECT_EQ(image.At(1, 1), Rgb(kFace));
  EXPECT_EQ(image.At(88, 28), Rgb(kFace));
  EXPECT_GT(Count(image, Rgb(kText)), 0);
  EXPECT_EQ(InkBox(image, Rgb(kFace), Rgb(kBorder)), ExpectedInk("Flat", 0));
}

TEST_F(FlatButtonPainting, PressedLookShiftsCaptionAndUsesDownColours) {
  host_.Mouse(WM_LBUTTONDOWN, 5, 5);
  Image image = host_.Snapshot();
  host_.Mouse(WM_LBUTTONUP, -10, -10);
  EXPECT_TRUE(OuterRingIs(image, Rgb(kBorder)));
  EXPECT_EQ(image.At(1, 1), Rgb(kDownFace));
  EXPECT_GT(Count(image, Rgb(kDownText)), 0);
  EXPECT_EQ(Count(image, Rgb(kText)), 0);
  EXPECT_EQ(InkBox(image, Rgb(kDownFace), Rgb(kBorder)), ExpectedInk("Flat", 1));
}

TEST_F(FlatButtonPainting, DisabledLookIsEmbossedWithoutBorder) {
  ASSERT_HRESULT_SUCCEEDED(SetEnabled(false));
  Image image = host_.Snapshot();
  EXPECT_EQ(Count(image, Rgb(kBorder)), 0);
  EXPECT_EQ(image.At(0, 0), Rgb(kFace));  // the face colour of the last enabled drawing
  EXPECT_GT(Count(image, Rgb(0x80000010)), 0);  // shadow caption
  EXPECT_GT(Count(image, Rgb(0x80000014)), 0);  // highlight caption, one pixel down-right
  Box normal = ExpectedInk("Flat", 0), shifted = ExpectedInk("Flat", 1);
  Box both{normal.left, normal.top, shifted.right, shifted.bottom};
  EXPECT_EQ(InkBox(image, Rgb(kFace), Rgb(kFace)), both);
}

// Disabling while held down keeps the pressed face colour.
TEST_F(FlatButtonPainting, DisabledWhileDownKeepsDownFace) {
  host_.Mouse(WM_LBUTTONDOWN, 5, 5);
  ASSERT_HRESULT_SUCCEEDED(SetEnabled(false));
  Image image = host_.Snapshot();
  EXPECT_EQ(image.At(0, 0), Rgb(kDownFace));
  EXPECT_EQ(Count(image, Rgb(kBorder)), 0);
  EXPECT_GT(Count(image, Rgb(0x80000010)), 0);
}

TEST_F(FlatButtonPainting, NullPenDrawsFaceAndCaptionOnly) {
  ASSERT_HRESULT_SUCCEEDED(button_->put_BorderStyle(psNull));
  Image image = host_.Snapshot();
  EXPECT_EQ(Count(image, Rgb(kBorder)), 0);
  EXPECT_TRUE(OuterRingIs(image, Rgb(kFace)));
  EXPECT_EQ(InkBox(image, Rgb(kFace), Rgb(kFace)), ExpectedInk("Flat", 0));
}

TEST_F(FlatButtonPainting, WiderPenIsCentredOnTheOutline) {
  ASSERT_HRESULT_SUCCEEDED(button_->put_BorderWidth(4));
  Image image = host_.Snapshot();
  EXPECT_EQ(image.At(0, 15), Rgb(kBorder));
  EXPECT_EQ(image.At(1, 15), Rgb(kBorder));
  EXPECT_EQ(image.At(3, 15), Rgb(kFace));
}

// The caption is cut on both sides and drawn from a negative x, over the border.
TEST_F(FlatButtonPainting, CaptionWiderThanFaceIsCut) {
  const char* wide = "A caption far wider than this face";
  ASSERT_HRESULT_SUCCEEDED(SetCaption(L"A caption far wider than this face"));
  ASSERT_HRESULT_SUCCEEDED(host_.Place({0, 0, 40, 30}));
  Image image = host_.Snapshot();
  ASSERT_EQ(image.width, 40);
  SIZE size = MeasureAnsi(font_.Get(), wide);
  int x = (40 - size.cx) / 2, y = (30 - size.cy) / 2;
  ASSERT_LT(x, 0);
  EXPECT_EQ(InkBox(image, Rgb(kFace), Rgb(kBorder)),
            ReferenceInk(font_.Get(), wide, x, y, 40, 30));
  EXPECT_EQ(image.At(0, 0), Rgb(kBorder));
}

TEST_F(FlatButtonPainting, EmptyCaptionDrawsNoText) {
  ASSERT_HRESULT_SUCCEEDED(SetCaption(L""));
  ASSERT_HRESULT_SUCCEEDED(host_.Place({0, 0, 90, 30}));
  Image image = host_.Snapshot();
  EXPECT_TRUE(OuterRingIs(image, Rgb(kBorder)));
  EXPECT_TRUE(InkBox(image, Rgb(kFace), Rgb(kBorder)).empty());
}

TEST_F(FlatButtonPainting, TwoDrawingsGiveTheSameImage) {
  Image first = host_.Snapshot();
  ASSERT_HRESULT_SUCCEEDED(button_->Redraw());
  EXPECT_TRUE(host_.Snapshot() == first);
}

// At run time with AutoRedraw off a colour change waits for Redraw.
TEST_F(FlatButtonPainting, RunModeWithoutAutoRedrawWaitsForRedraw) {
  host_.ambients().user_mode = true;
  ASSERT_HRESULT_SUCCEEDED(button_->put_AutoRedraw(VARIANT_FALSE));
  ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_BackColor, 0x000000FF));
  EXPECT_EQ(host_.Snapshot().At(1, 1), Rgb(kFace));
  ASSERT_HRESULT_SUCCEEDED(button_->Redraw());
  EXPECT_EQ(host_.Snapshot().At(1, 1), Rgb(0x000000FF));
}

// The control's window shows the image on the screen.
TEST_F(FlatButtonPainting, WindowShowsTheImage) {
  host_.Show();
  HWND window = host_.window();
  UpdateWindow(window);
  HDC dc = GetDC(window);
  COLORREF shown = GetPixel(dc, 1, 1);
  ReleaseDC(window, dc);
  if (shown == CLR_INVALID) GTEST_SKIP() << "no readable screen";
  EXPECT_EQ(shown, static_cast<COLORREF>(kFace));
}

}  // namespace
