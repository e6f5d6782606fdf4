// Shared setup for the flat button tests: a control in the test container, test fonts and
// readings of the drawn image.
#pragma once
#include <windows.h>
#include <olectl.h>

#include <string>

#include "com_ptr.h"
#include "com_test_env.h"
#include "control_host.h"
#include "pelorin_h.h"

namespace flat_button_test {

using testing_support::Image;

// A standard font object; charset 128 for Japanese faces.
com::ComPtr<IFontDisp> MakeFont(const wchar_t* face, double points, SHORT charset = 0);

// Pixel extent of `ansi` (code page bytes) in `font`, measured here with GDI.
SIZE MeasureAnsi(IFontDisp* font, const std::string& ansi);

struct Box {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  bool empty() const { return right < left; }
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Bounding box of the pixels of `image` equal to `color` (0x00RRGGBB).
Box BoxOf(const Image& image, uint32_t color);
// Pixels of `image` equal to `color`.
int Count(const Image& image, uint32_t color);
// The ink box of `ansi` drawn in `font` at (x, y) on a blank image of the given size.
Box ReferenceInk(IFontDisp* font, const std::string& ansi, int x, int y, int width, int height);

// A control created from the built Pelorin.dll inside the test container.
class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Places a new control (initialise) and activates it in place.
  void Place();

  HRESULT SetCaption(const wchar_t* text);
  HRESULT SetEnabled(bool enabled);
  HRESULT SetColor(HRESULT (STDMETHODCALLTYPE _TavFlatBtn::*put)(OLE_COLOR*), OLE_COLOR color);

  testing_support::ComApartment apartment_;
  testing_support::ControlHost host_;
  com::ComPtr<_TavFlatBtn> button_;
  com::ComPtr<IFontDisp> font_;
};

}  // namespace flat_button_test
