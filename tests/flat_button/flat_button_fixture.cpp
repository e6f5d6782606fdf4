#include "flat_button_fixture.h"

#include <cstring>

namespace flat_button_test {

com::ComPtr<IFontDisp> MakeFont(const wchar_t* face, double points, SHORT charset) {
  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(face), {}, FW_NORMAL, charset,
                FALSE, FALSE, FALSE};
  desc.cySize.int64 = static_cast<LONGLONG>(points * 10000);
  com::ComPtr<IFontDisp> font;
  OleCreateFontIndirect(&desc, IID_IFontDisp, font.ReceiveVoid());
  return font;
}

namespace {

// A memory DC with `font` selected and a `width` x `height` white 32-bit image.
class Canvas {
 public:
  Canvas(IFontDisp* font, int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    old_bitmap_ = SelectObject(dc_, bitmap_);
    memset(bits_, 0xFF, static_cast<size_t>(width) * height * 4);
    com::ComPtr<IFont> ifont;
    HFONT hfont = nullptr;
    if (font && SUCCEEDED(font->QueryInterface(IID_IFont, ifont.ReceiveVoid()))) {
      ifont->get_hFont(&hfont);
    }
    old_font_ = SelectObject(dc_, hfont ? hfont : GetStockObject(SYSTEM_FONT));
    font_ = ifont;  // keeps the handle alive while selected
  }
  ~Canvas() {
    SelectObject(dc_, old_font_);
    SelectObject(dc_, old_bitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  Image Read() const {
    GdiFlush();
    Image image;
    image.width = width_;
    image.height = height_;
    image.pixels.assign(bits_, bits_ + static_cast<size_t>(width_) * height_);
    for (uint32_t& p : image.pixels) p &= 0x00FFFFFF;
    return image;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  uint32_t* bits_ = nullptr;
  HGDIOBJ old_bitmap_, old_font_;
  com::ComPtr<IFont> font_;
};

}  // namespace

SIZE MeasureAnsi(IFontDisp* font, const std::string& ansi) {
  Canvas canvas(font, 1, 1);
  SIZE size{};
  GetTextExtentPoint32A(canvas.dc(), ansi.c_str(), static_cast<int>(ansi.size()), &size);
  return size;
}

Box BoxOf(const Image& image, uint32_t color) {
  Box box{image.width, image.height, -1, -1};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) != color) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

int Count(const Image& image, uint32_t color) {
  int n = 0;
  for (uint32_t p : image.pixels) n += p == color;
  return n;
}

Box ReferenceInk(IFontDisp* font, const std::string& ansi, int x, int y, int width, int height) {
  Canvas canvas(font, width, height);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  TextOutA(canvas.dc(), x, y, ansi.c_str(), static_cast<int>(ansi.size()));
  return BoxOf(canvas.Read(), 0x000000);
}

void FlatButtonTest::SetUp() {
  ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
  ASSERT_HRESULT_SUCCEEDED(host_.Create(testing_support::BinDir() + L"Pelorin.dll",
                                        CLSID_TavFlatBtn, DIID___TavFlatBtn));
  button_ = host_.As<_TavFlatBtn>();
  ASSERT_TRUE(button_);
  font_ = MakeFont(L"IPAGothic", 9, SHIFTJIS_CHARSET);
  ASSERT_TRUE(font_);
  host_.ambients().font = font_;
}

void FlatButtonTest::TearDown() {
  button_.Reset();
  host_.Close();
}

void FlatButtonTest::Place() {
  ASSERT_HRESULT_SUCCEEDED(host_.InitNew());
  ASSERT_HRESULT_SUCCEEDED(host_.Activate());
  ASSERT_NE(host_.window(), nullptr);
  host_.changes().clear();
}

HRESULT FlatButtonTest::SetCaption(const wchar_t* text) {
  BSTR caption = SysAllocString(text);
  HRESULT hr = button_->put_Caption(&caption);
  SysFreeString(caption);
  return hr;
}

HRESULT FlatButtonTest::SetEnabled(bool enabled) {
  VARIANT_BOOL value = enabled ? VARIANT_TRUE : VARIANT_FALSE;
  return button_->put_Enabled(&value);
}

HRESULT FlatButtonTest::SetColor(HRESULT (STDMETHODCALLTYPE _TavFlatBtn::*put)(OLE_COLOR*),
                                 OLE_COLOR color) {
  return (button_.Get()->*put)(&color);
}

}  // namespace flat_button_test
