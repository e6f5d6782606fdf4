// Caption placement, sizing to the caption and the drawing routine, driven directly on a
// drawing surface with fonts measured in the same run.
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "button_painter.h"
#include "flat_button_fixture.h"
#include "module.h"

namespace {

using flat_button_test::MakeFont;
using flat_button_test::MeasureAnsi;
using pelorin::ButtonState;
using pelorin::DrawingSurface;

// A surface whose resize event runs the control's resize handler, as the control wires it.
class Button : private DrawingSurface::Events {
 public:
  Button() : surface(this) {}
  HRESULT Initialize(IFontDisp* font) {
    HRESULT hr = surface.Initialize();
    return SUCCEEDED(hr) ? surface.SetFont(font) : hr;
  }

  ButtonState state;
  DrawingSurface surface;
  int resizes = 0;

 private:
  HRESULT OnResize() override {
    ++resizes;
    return pelorin::HandleResize(state, surface);
  }
  void OnMouseDown() override {}
  void OnMouseUp(float, float) override {}
  void OnCaptureLost() override {}
  void OnPositionRequest(const RECT&) override {}
};

class FlatButtonLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    com::SetModuleInstance(GetModuleHandleW(nullptr));
  }
  testing_support::ComApartment apartment_;
};

// A font and caption that measure exactly `cx` x `cy` pixels, searched among IPAGothic sizes and
// lower-case letters; false when none is found on this system.
bool FindCaption(LONG cx, LONG cy, com::ComPtr<IFontDisp>* font, std::string* caption) {
  for (double points = 6; points <= 12; points += 0.25) {
    com::ComPtr<IFontDisp> candidate = MakeFont(L"IPAGothic", points, SHIFTJIS_CHARSET);
    if (MeasureAnsi(candidate.Get(), "x").cy != cy) continue;
    // Fewest letters whose widths add up to cx (no kerning in this measure).
    std::vector<std::string> best(cx + 1);
    std::vector<bool> reachable(cx + 1, false);
    reachable[0] = true;
    for (LONG w = 1; w <= cx; ++w) {
      for (char c = 'a'; c <= 'z'; ++c) {
        LONG cw = MeasureAnsi(candidate.Get(), std::string(1, c)).cx;
        if (cw <= 0 || cw > w || !reachable[w - cw]) continue;
        if (!reachable[w] || best[w - cw].size() + 1 < best[w].size()) {
          reachable[w] = true;
          best[w] = best[w - cw] + c;
        }
      }
    }
    if (reachable[cx] && MeasureAnsi(candidate.Get(), best[cx]).cx == cx) {
      *font = candidate;
      *caption = best[cx];
      return true;
    }
  }
  return false;
}

TEST_F(FlatButtonLayout, WorkedExampleFitsAndCentres) {
  com::ComPtr<IFontDisp> font;
  std::string caption;
  if (!FindCaption(60, 12, &font, &caption)) GTEST_SKIP() << "no font measures 60 x 12 here";
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  if (b.surface.TwipsPerPixelX() != 15) GTEST_SKIP() << "needs 96 dots per inch";
  b.state.caption.assign(caption.begin(), caption.end());
  b.state.margin_width = 300;
  b.state.margin_height = 200;
  ASSERT_HRESULT_SUCCEEDED(pelorin::FitToCaption(b.state, b.surface));
  EXPECT_EQ(b.surface.Width(), 1200.0f);
  EXPECT_EQ(b.surface.Height(), 380.0f);
  const RECT& r = b.state.button_rect;
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 80);
  EXPECT_EQ(r.bottom, 25);
  EXPECT_EQ(b.state.caption_pos.x, 10);
  EXPECT_EQ(b.state.caption_pos.y, 6);
}

// Margins that are not whole pixels: the odd twip is lost in the division.
TEST_F(FlatButtonLayout, MarginWidth301) {
  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  if (b.surface.TwipsPerPixelX() != 15) GTEST_SKIP() << "needs 96 dots per inch";
  b.state.caption = L"Button";
  b.state.margin_width = 301;
  b.state.margin_height = 200;
  ASSERT_HRESULT_SUCCEEDED(pelorin::FitToCaption(b.state, b.surface));
  const LONG cx = MeasureAnsi(font.Get(), "Button").cx;
  EXPECT_EQ(b.surface.Width(), 15.0f * cx + 301);
  EXPECT_EQ(b.state.button_rect.right, cx + 20);
  EXPECT_EQ(b.state.caption_pos.x, 10);
}

TEST_F(FlatButtonLayout, EmptyCaptionFitsToMarginsOnly) {
  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  b.state.margin_width = 300;
  b.state.margin_height = 200;
  ASSERT_HRESULT_SUCCEEDED(pelorin::FitToCaption(b.state, b.surface));
  EXPECT_EQ(b.surface.Width(), 300.0f);
  EXPECT_EQ(b.state.button_rect.right, std::lrint(300 / b.surface.TwipsPerPixelX()));
}

TEST_F(FlatButtonLayout, CaptionWiderThanFaceStartsLeftOfIt) {
  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  b.state.caption = L"A caption much wider than the face";
  ASSERT_HRESULT_SUCCEEDED(b.surface.SetWidth(40 * b.surface.TwipsPerPixelX()));
  const LONG cx = MeasureAnsi(font.Get(), "A caption much wider than the face").cx;
  EXPECT_EQ(b.state.caption_pos.x, (40 - cx) / 2);  // truncated toward zero
  EXPECT_LT(b.state.caption_pos.x, 0);
}

// n is the byte count in the ANSI code page: a double-byte character counts twice.
TEST_F(FlatButtonLayout, JapaneseCaptionMeasuredInCodePageBytes) {
  ASSERT_EQ(GetACP(), 932u) << "run with the Japanese locale";
  const std::wstring caption = L"キャンセル";
  const std::string ansi = pelorin::AnsiCaption(caption);
  EXPECT_EQ(ansi.size(), 2 * caption.size());
  EXPECT_EQ(lstrlenA(ansi.c_str()), 10);

  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 12, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  b.state.caption = caption;
  ASSERT_HRESULT_SUCCEEDED(pelorin::FitToCaption(b.state, b.surface));
  const SIZE size = MeasureAnsi(font.Get(), ansi);
  // Five characters as ten bytes are wider than five single-byte ones.
  EXPECT_GT(size.cx, MeasureAnsi(font.Get(), "xxxxx").cx);
  EXPECT_EQ(b.surface.Width(), static_cast<float>(b.surface.TwipsPerPixelX() * size.cx));
  EXPECT_EQ(b.surface.Height(), static_cast<float>(b.surface.TwipsPerPixelY() * size.cy));
}

// A drawing that fails part way must not leave the button unable to draw again.
TEST_F(FlatButtonLayout, FailedDrawingDoesNotFreezeTheButton) {
  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  b.state.enabled = VARIANT_TRUE;
  b.state.text_color = 0x800000FF;  // no such system colour
  EXPECT_HRESULT_FAILED(pelorin::DrawButton(b.state, b.surface));
  EXPECT_FALSE(b.state.in_paint);
  b.state.text_color = 0;
  EXPECT_HRESULT_SUCCEEDED(pelorin::DrawButton(b.state, b.surface));
}

TEST_F(FlatButtonLayout, DrawingWhileDrawingDrawsNothing) {
  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  b.state.enabled = VARIANT_TRUE;
  b.state.back_color = RGB(255, 0, 0);
  b.state.in_paint = true;
  EXPECT_HRESULT_SUCCEEDED(pelorin::DrawButton(b.state, b.surface));
  EXPECT_NE(GetPixel(b.surface.Dc(), 5, 5), RGB(255, 0, 0));
  EXPECT_TRUE(b.state.in_paint);  // the running drawing still owns the flag
  b.state.in_paint = false;
  EXPECT_HRESULT_SUCCEEDED(pelorin::DrawButton(b.state, b.surface));
  EXPECT_EQ(GetPixel(b.surface.Dc(), 5, 5), RGB(255, 0, 0));
}

// GDI objects of this process, or -1 where the platform does not count them.
int GdiObjects() {
  SetLastError(0);
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  return n == 0 && GetLastError() != 0 ? -1 : static_cast<int>(n);
}

TEST_F(FlatButtonLayout, NoGdiHandleLeakOver10000Drawings) {
  com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  Button b;
  ASSERT_HRESULT_SUCCEEDED(b.Initialize(font.Get()));
  b.state.caption = L"Leak";
  b.state.enabled = VARIANT_TRUE;
  b.state.border_width = 1;
  ASSERT_HRESULT_SUCCEEDED(b.surface.SetWidth(900));
  // A handle created before and after must take the same table slot when nothing leaked;
  // GetGuiResources counts them where the platform implements it.
  const int before = GdiObjects();
  HPEN probe = CreatePen(PS_SOLID, 1, 0);
  DeleteObject(probe);
  for (int i = 0; i < 10000; ++i) {
    b.state.is_down = (i % 2) != 0;
    b.state.enabled = (i % 3) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    ASSERT_HRESULT_SUCCEEDED(pelorin::DrawButton(b.state, b.surface));
  }
  HPEN after = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(LOWORD(reinterpret_cast<UINT_PTR>(after)), LOWORD(reinterpret_cast<UINT_PTR>(probe)));
  DeleteObject(after);
  if (before >= 0) {
    EXPECT_EQ(GdiObjects(), before);
  }
}

}  // namespace
