// Initialise, read and write through the container's property bag and through a stream.
#include <cmath>

#include "flat_button_fixture.h"
#include "memory_property_bag.h"

namespace {

using com::Variant;
using flat_button_test::FlatButtonTest;
using flat_button_test::MakeFont;
using flat_button_test::MeasureAnsi;
using testing_support::MemoryPropertyBag;

// Every stored property of a control, as read back through its gets.
struct Values {
  std::wstring caption;
  VARIANT_BOOL enabled, auto_redraw, auto_size;
  OLE_COLOR text, down_text, back, down_back, border_color;
  enum BorderStyle style;
  SHORT border_width, margin_width, margin_height;
  std::wstring font_name;
  LONGLONG font_size;

  static Values Of(_TavFlatBtn* b) {
    Values v{};
    BSTR s = nullptr;
    b->get_Caption(&s);
    v.caption = s ? s : L"";
    SysFreeString(s);
    b->get_Enabled(&v.enabled);
    b->get_AutoRedraw(&v.auto_redraw);
    b->get_AutoSize(&v.auto_size);
    b->get_TextColor(&v.text);
    b->get_DownTextColor(&v.down_text);
    b->get_BackColor(&v.back);
    b->get_DownBackColor(&v.down_back);
    b->get_BorderColor(&v.border_color);
    b->get_BorderStyle(&v.style);
    b->get_BorderWidth(&v.border_width);
    b->get_MarginWidth(&v.margin_width);
    b->get_MarginHeight(&v.margin_height);
    com::ComPtr<IFontDisp> disp;
    com::ComPtr<IFont> font;
    if (SUCCEEDED(b->get_Font(disp.Receive())) && disp && SUCCEEDED(disp.As(&font))) {
      BSTR name = nullptr;
      CY size{};
      font->get_Name(&name);
      font->get_Size(&size);
      v.font_name = name ? name : L"";
      v.font_size = size.int64;
      SysFreeString(name);
    }
    return v;
  }
  bool operator==(const Values& o) const {
    return caption == o.caption && enabled == o.enabled && auto_redraw == o.auto_redraw &&
           auto_size == o.auto_size && text == o.text && down_text == o.down_text &&
           back == o.back && down_back == o.down_back && border_color == o.border_color &&
           style == o.style && border_width == o.border_width &&
           margin_width == o.margin_width && margin_height == o.margin_height &&
           font_name == o.font_name && font_size == o.font_size;
  }
};

class FlatButtonPersistence : public FlatButtonTest {
 protected:
  // Gives every property a value other than its default.
  void SetAllProperties() {
    IFontDisp* font = other_font_.Get();
    ASSERT_HRESULT_SUCCEEDED(button_->putref_Font(&font));
    ASSERT_HRESULT_SUCCEEDED(SetCaption(L"保存"));
    ASSERT_HRESULT_SUCCEEDED(SetEnabled(false));
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_TextColor, 0x00010203));
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_DownTextColor, 0x80000008));
    ASSERT_HRESULT_SUCCEEDED(SetColor(&_TavFlatBtn::put_BackColor, 0x00FF00FF));
    ASSERT_HRESULT_SUCCEEDED(button_->put_DownBackColor(0));
    ASSERT_HRESULT_SUCCEEDED(button_->put_BorderStyle(static_cast<enum BorderStyle>(7)));
    ASSERT_HRESULT_SUCCEEDED(button_->put_BorderWidth(3));
    ASSERT_HRESULT_SUCCEEDED(button_->put_BorderColor(0x000000FF));
    ASSERT_HRESULT_SUCCEEDED(button_->put_AutoRedraw(VARIANT_FALSE));
    ASSERT_HRESULT_SUCCEEDED(button_->put_AutoSize(VARIANT_TRUE));
    ASSERT_HRESULT_SUCCEEDED(button_->put_MarginWidth(500));
    ASSERT_HRESULT_SUCCEEDED(button_->put_MarginHeight(500));
  }

  // A second control in its own container, loaded from `bag`.
  struct Loaded {
    testing_support::ControlHost host;
    com::ComPtr<_TavFlatBtn> button;
  };
  void LoadInto(Loaded* other, IPropertyBag* bag, const wchar_t* name = L"FlatBtn1") {
    other->host.ambients().font = font_;
    other->host.ambients().display_name = name;
    ASSERT_HRESULT_SUCCEEDED(other->host.Create(testing_support::BinDir() + L"Pelorin.dll",
                                                CLSID_TavFlatBtn, DIID___TavFlatBtn));
    other->button = other->host.As<_TavFlatBtn>();
    ASSERT_HRESULT_SUCCEEDED(other->host.Load(bag));
  }

  com::ComPtr<IFontDisp> other_font_ = MakeFont(L"IPAMincho", 12, SHIFTJIS_CHARSET);
};

TEST_F(FlatButtonPersistence, InitialiseGivesTheDefaultsAndFitsToTheName) {
  Place();
  Values v = Values::Of(button_.Get());
  EXPECT_EQ(v.caption, L"FlatBtn1");
  EXPECT_EQ(v.enabled, VARIANT_TRUE);
  EXPECT_EQ(v.text, 0x80000012u);
  EXPECT_EQ(v.down_text, 0x8000000Du);
  EXPECT_EQ(v.down_back, 0x00FFFFFFu);
  EXPECT_EQ(v.back, 0x8000000Fu);
  EXPECT_EQ(v.style, psSolid);
  EXPECT_EQ(v.border_width, 1);
  EXPECT_EQ(v.border_color, 0u);
  EXPECT_EQ(v.auto_redraw, VARIANT_TRUE);
  EXPECT_EQ(v.auto_size, VARIANT_FALSE);
  EXPECT_EQ(v.margin_width, 300);
  EXPECT_EQ(v.margin_height, 200);
  com::ComPtr<IFont> ambient;
  font_.As(&ambient);
  BSTR ambient_name = nullptr;
  ambient->get_Name(&ambient_name);
  EXPECT_EQ(v.font_name, std::wstring(ambient_name));
  SysFreeString(ambient_name);
  // Sized to the name in the ambient font, no margin: the caption fitted while both were 0.
  SIZE size = MeasureAnsi(font_.Get(), "FlatBtn1");
  RECT client{};
  GetClientRect(host_.window(), &client);
  EXPECT_EQ(client.right, size.cx);
  EXPECT_EQ(client.bottom, size.cy);
}

TEST_F(FlatButtonPersistence, DefaultsAreNotWrittenAndNameFollowsTheInstance) {
  Place();
  auto bag = MemoryPropertyBag::New();
  ASSERT_HRESULT_SUCCEEDED(host_.Save(bag.Get()));
  EXPECT_TRUE(bag->Names().empty());

  Loaded other;
  LoadInto(&other, bag.Get(), L"FlatBtn2");
  EXPECT_EQ(Values::Of(other.button.Get()).caption, L"FlatBtn2");
}

TEST_F(FlatButtonPersistence, SaveAndLoadRoundTrip) {
  Place();
  SetAllProperties();
  auto bag = MemoryPropertyBag::New();
  ASSERT_HRESULT_SUCCEEDED(host_.Save(bag.Get()));
  const std::vector<std::wstring> order = {
      L"Font", L"Caption", L"Enabled", L"TextColor", L"DownTextColor", L"BackColor",
      L"DownBackColor", L"BorderStyle", L"BorderWidth", L"BorderColor", L"AutoRedraw",
      L"AutoSize", L"MarginWidth", L"MarginHeight"};
  EXPECT_EQ(bag->Names(), order);
  EXPECT_EQ(bag->Get(L"BorderStyle").Type(), VT_I4);
  EXPECT_EQ(V_I4(bag->Get(L"BorderStyle").Ptr()), 7);
  EXPECT_EQ(bag->Get(L"MarginHeight").Type(), VT_I2);
  EXPECT_EQ(V_I2(bag->Get(L"MarginHeight").Ptr()), 500);
  EXPECT_EQ(bag->Get(L"TextColor").Type(), VT_I4);

  Loaded other;
  LoadInto(&other, bag.Get());
  EXPECT_TRUE(Values::Of(other.button.Get()) == Values::Of(button_.Get()));
}

// Only what differs from the default is written.
TEST_F(FlatButtonPersistence, MarginHeightWrittenOnlyWhenNotDefault) {
  Place();
  for (SHORT height : {SHORT(500), SHORT(200)}) {
    ASSERT_HRESULT_SUCCEEDED(button_->put_MarginHeight(height));
    auto bag = MemoryPropertyBag::New();
    ASSERT_HRESULT_SUCCEEDED(host_.Save(bag.Get()));
    EXPECT_EQ(bag->Has(L"MarginHeight"), height != 200) << height;
  }
}

TEST_F(FlatButtonPersistence, UnconvertibleEntryIsSkipped) {
  auto bag = MemoryPropertyBag::New();
  bag->Set(L"TextColor", Variant::Str(L"not a colour"));
  bag->Set(L"BackColor", Variant::I4(0x00123456));
  bag->Set(L"BorderWidth", Variant::Str(L"4"));  // converts
  Loaded other;
  LoadInto(&other, bag.Get());
  Values v = Values::Of(other.button.Get());
  EXPECT_EQ(v.text, 0u);  // skipped: left at zero, not the default
  EXPECT_EQ(v.back, 0x00123456u);
  EXPECT_EQ(v.border_width, 4);
  EXPECT_EQ(v.down_text, 0x8000000Du);
  EXPECT_EQ(v.margin_height, 200);
  EXPECT_EQ(v.caption, L"FlatBtn1");
}

// Properties are read in order: with AutoSize off the caption fits while both margins are
// still zero and the margins read later do not fit again.
TEST_F(FlatButtonPersistence, ReadOrderDecidesTheLoadedSize) {
  struct Case {
    bool auto_size;
    SHORT margin_width;
    LONG extra_twips;  // width beyond the caption
  };
  for (const Case& c : {Case{false, 600, 0}, Case{true, 600, 600}}) {
    SCOPED_TRACE(c.auto_size);
    auto bag = MemoryPropertyBag::New();
    bag->Set(L"Caption", Variant::Str(L"Loaded"));
    bag->Set(L"AutoSize", Variant::Bool(c.auto_size));
    bag->Set(L"MarginWidth", Variant::I2(c.margin_width));
    Loaded other;
    LoadInto(&other, bag.Get());
    com::ComPtr<IOleObject> ole = other.host.As<IOleObject>();
    SIZEL himetric{};
    ASSERT_HRESULT_SUCCEEDED(ole->GetExtent(DVASPECT_CONTENT, &himetric));
    HDC screen = GetDC(nullptr);
    const double twips_per_pixel = 1440.0 / GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const double width = twips_per_pixel * MeasureAnsi(font_.Get(), "Loaded").cx + c.extra_twips;
    EXPECT_EQ(himetric.cx, std::lround(width * 2540 / 1440));
  }
}

TEST_F(FlatButtonPersistence, StreamRoundTrip) {
  Place();
  SetAllProperties();
  com::ComPtr<IStream> stream;
  ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()));
  com::ComPtr<IPersistStreamInit> persist = host_.As<IPersistStreamInit>();
  ASSERT_EQ(persist->IsDirty(), S_OK);
  ASSERT_HRESULT_SUCCEEDED(persist->Save(stream.Get(), TRUE));
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ASSERT_HRESULT_SUCCEEDED(stream->Seek({}, STREAM_SEEK_SET, nullptr));

  testing_support::ControlHost other;
  other.ambients().font = font_;
  ASSERT_HRESULT_SUCCEEDED(other.Create(testing_support::BinDir() + L"Pelorin.dll",
                                        CLSID_TavFlatBtn, DIID___TavFlatBtn));
  com::ComPtr<IPersistStreamInit> loaded = other.As<IPersistStreamInit>();
  ASSERT_HRESULT_SUCCEEDED(loaded->Load(stream.Get()));
  com::ComPtr<_TavFlatBtn> button = other.As<_TavFlatBtn>();
  EXPECT_TRUE(Values::Of(button.Get()) == Values::Of(button_.Get()));
  EXPECT_EQ(loaded->IsDirty(), S_FALSE) << "what was just loaded is nothing to save";
}

// A value the control refuses while reading is skipped, and its error stays behind.
TEST_F(FlatButtonPersistence, RefusedEntryLeavesNoErrorInfo) {
  auto bag = MemoryPropertyBag::New();
  bag->Set(L"AutoSize", Variant::Bool(true));
  bag->Set(L"MarginWidth", Variant::I2(-30000));  // a negative width to fit: refused
  Loaded other;
  LoadInto(&other, bag.Get());
  com::ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, info.Receive()), S_FALSE);
  EXPECT_EQ(other.host.As<IPersistStreamInit>()->IsDirty(), S_FALSE);
}

TEST_F(FlatButtonPersistence, CorruptStreamIsRefused) {
  com::ComPtr<IStream> stream;
  ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()));
  const char junk[] = "not a saved button";
  stream->Write(junk, sizeof(junk), nullptr);
  stream->Seek({}, STREAM_SEEK_SET, nullptr);
  com::ComPtr<IPersistStreamInit> persist = host_.As<IPersistStreamInit>();
  EXPECT_HRESULT_FAILED(persist->Load(stream.Get()));
}

TEST_F(FlatButtonPersistence, ChangeMarksDirty) {
  Place();
  com::ComPtr<IPersistStreamInit> persist = host_.As<IPersistStreamInit>();
  auto bag = MemoryPropertyBag::New();
  ASSERT_HRESULT_SUCCEEDED(host_.Save(bag.Get()));
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ASSERT_HRESULT_SUCCEEDED(button_->put_BorderWidth(2));
  EXPECT_EQ(persist->IsDirty(), S_OK);
}

}  // namespace
