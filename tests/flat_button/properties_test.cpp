// Each property put's side effects (fit, centring, redraw by the repaint rule, change notice)
// in design and run mode, values stored unchanged, and failures passed to the caller.
#include <functional>

#include "flat_button_fixture.h"

namespace {

using flat_button_test::FlatButtonTest;
using flat_button_test::MakeFont;

enum class Draws { Always, ByRule, Never };

struct PutCase {
  const char* what;
  bool auto_size;  // AutoSize before the put
  std::function<HRESULT(_TavFlatBtn*)> put;
  std::function<bool(_TavFlatBtn*)> stored;  // the get gives the value back unchanged
  DISPID notice;                             // 0: none
  bool fits;
  Draws draws;
};

template <class T>
std::function<bool(_TavFlatBtn*)> Reads(HRESULT (STDMETHODCALLTYPE _TavFlatBtn::*get)(T*), T want) {
  return [get, want](_TavFlatBtn* b) {
    T got{};
    return SUCCEEDED((b->*get)(&got)) && got == want;
  };
}

HRESULT PutCaption(_TavFlatBtn* b, const wchar_t* text) {
  BSTR s = SysAllocString(text);
  HRESULT hr = b->put_Caption(&s);
  SysFreeString(s);
  return hr;
}

bool CaptionIs(_TavFlatBtn* b, const wchar_t* text) {
  BSTR s = nullptr;
  bool same = SUCCEEDED(b->get_Caption(&s)) && std::wstring(s ? s : L"") == text;
  SysFreeString(s);
  return same;
}

const com::ComPtr<IFontDisp>& BigFont() {
  static com::ComPtr<IFontDisp> font = MakeFont(L"IPAGothic", 16, SHIFTJIS_CHARSET);
  return font;
}

std::vector<PutCase> Cases() {
  const auto nothing = [](_TavFlatBtn*) { return true; };
  return {
      {"Redraw", false, [](_TavFlatBtn* b) { return b->Redraw(); }, nothing, 0, false,
       Draws::Always},
      {"MarginWidth", false, [](_TavFlatBtn* b) { return b->put_MarginWidth(-7); },
       Reads(&_TavFlatBtn::get_MarginWidth, SHORT(-7)), 0x6803000D, false, Draws::Always},
      {"MarginWidth with AutoSize", true, [](_TavFlatBtn* b) { return b->put_MarginWidth(450); },
       Reads(&_TavFlatBtn::get_MarginWidth, SHORT(450)), 0x6803000D, true, Draws::Always},
      {"MarginHeight", false, [](_TavFlatBtn* b) { return b->put_MarginHeight(32767); },
       Reads(&_TavFlatBtn::get_MarginHeight, SHORT(32767)), 0x6803000C, false, Draws::Always},
      {"MarginHeight with AutoSize", true, [](_TavFlatBtn* b) { return b->put_MarginHeight(90); },
       Reads(&_TavFlatBtn::get_MarginHeight, SHORT(90)), 0x6803000C, true, Draws::Always},
      {"AutoSize on", false, [](_TavFlatBtn* b) { return b->put_AutoSize(VARIANT_TRUE); },
       Reads(&_TavFlatBtn::get_AutoSize, VARIANT_BOOL(VARIANT_TRUE)), 0x6803000B, true,
       Draws::Always},
      {"AutoSize off", true, [](_TavFlatBtn* b) { return b->put_AutoSize(VARIANT_FALSE); },
       Reads(&_TavFlatBtn::get_AutoSize, VARIANT_BOOL(VARIANT_FALSE)), 0x6803000B, false,
       Draws::Always},
      // Switching AutoRedraw on makes the rule draw at once, in either mode.
      {"AutoRedraw on", false, [](_TavFlatBtn* b) { return b->put_AutoRedraw(VARIANT_TRUE); },
       Reads(&_TavFlatBtn::get_AutoRedraw, VARIANT_BOOL(VARIANT_TRUE)), 0x6803000A, false,
       Draws::Always},
      {"AutoRedraw off", false, [](_TavFlatBtn* b) { return b->put_AutoRedraw(VARIANT_FALSE); },
       Reads(&_TavFlatBtn::get_AutoRedraw, VARIANT_BOOL(VARIANT_FALSE)), 0x6803000A, false,
       Draws::ByRule},
      {"BorderWidth", false, [](_TavFlatBtn* b) { return b->put_BorderWidth(-3); },
       Reads(&_TavFlatBtn::get_BorderWidth, SHORT(-3)), 0x68030009, false, Draws::ByRule},
      {"BorderColor", false, [](_TavFlatBtn* b) { return b->put_BorderColor(0x80000005); },
       Reads(&_TavFlatBtn::get_BorderColor, OLE_COLOR(0x80000005)), 0x68030008, false,
       Draws::ByRule},
      {"BorderStyle 7", false,
       [](_TavFlatBtn* b) { return b->put_BorderStyle(static_cast<enum BorderStyle>(7)); },
       Reads(&_TavFlatBtn::get_BorderStyle, static_cast<enum BorderStyle>(7)), 0x68030007, false,
       Draws::ByRule},
      {"Caption", false, [](_TavFlatBtn* b) { return PutCaption(b, L"a&b\tc"); },
       [](_TavFlatBtn* b) { return CaptionIs(b, L"a&b\tc"); }, 0x68030006, true, Draws::ByRule},
      {"Enabled as 1", false,
       [](_TavFlatBtn* b) {
         VARIANT_BOOL v = 1;
         return b->put_Enabled(&v);
       },
       Reads(&_TavFlatBtn::get_Enabled, VARIANT_BOOL(1)), 0x68030005, false, Draws::ByRule},
      {"Font never fits", true,
       [](_TavFlatBtn* b) {
         IFontDisp* f = BigFont().Get();
         return b->putref_Font(&f);
       },
       nothing, 0x68030004, false, Draws::ByRule},
      {"TextColor", false,
       [](_TavFlatBtn* b) {
         OLE_COLOR c = 0xFFFFFFFF;
         return b->put_TextColor(&c);
       },
       Reads(&_TavFlatBtn::get_TextColor, OLE_COLOR(0xFFFFFFFF)), 0x68030003, false,
       Draws::Never},  // not a colour GDI knows: the drawing fails, see below
      {"DownTextColor", false,
       [](_TavFlatBtn* b) {
         OLE_COLOR c = 0x00123456;
         return b->put_DownTextColor(&c);
       },
       Reads(&_TavFlatBtn::get_DownTextColor, OLE_COLOR(0x00123456)), 0x68030002, false,
       Draws::ByRule},
      {"BackColor", false,
       [](_TavFlatBtn* b) {
         OLE_COLOR c = 0x8000000F;
         return b->put_BackColor(&c);
       },
       Reads(&_TavFlatBtn::get_BackColor, OLE_COLOR(0x8000000F)), 0x68030001, false,
       Draws::ByRule},
      {"DownBackColor", false, [](_TavFlatBtn* b) { return b->put_DownBackColor(0x00ABCDEF); },
       Reads(&_TavFlatBtn::get_DownBackColor, OLE_COLOR(0x00ABCDEF)), 0x68030000, false,
       Draws::ByRule},
  };
}

class FlatButtonProperties : public FlatButtonTest {};

TEST_F(FlatButtonProperties, EachPutInDesignAndRunMode) {
  Place();
  for (bool design : {false, true}) {
    for (const PutCase& c : Cases()) {
      SCOPED_TRACE(std::string(c.what) + (design ? " (design)" : " (run)"));
      // Start from a known state: run mode, no AutoRedraw, a size that is not the fitted one.
      host_.ambients().user_mode = true;
      OLE_COLOR black = 0;
      ASSERT_HRESULT_SUCCEEDED(button_->put_TextColor(&black));
      ASSERT_HRESULT_SUCCEEDED(button_->put_AutoRedraw(VARIANT_FALSE));
      ASSERT_HRESULT_SUCCEEDED(button_->put_AutoSize(c.auto_size ? VARIANT_TRUE : VARIANT_FALSE));
      ASSERT_HRESULT_SUCCEEDED(host_.Place({0, 0, 301, 77}));
      host_.ambients().user_mode = !design;
      host_.changes().clear();
      host_.view_changes() = 0;

      HRESULT hr = c.put(button_.Get());
      bool drawing_fails = c.draws == Draws::Never;
      // A fit that changes the size draws through the resize handler.
      bool expect_draw =
          c.draws == Draws::Always || (c.draws == Draws::ByRule && design) || c.fits;
      if (drawing_fails && design) {
        EXPECT_HRESULT_FAILED(hr);  // the redraw in design mode meets the bad colour
      } else {
        EXPECT_HRESULT_SUCCEEDED(hr);
      }
      EXPECT_TRUE(c.stored(button_.Get()));
      if (!(drawing_fails && design)) {
        EXPECT_EQ(host_.changes(), c.notice ? std::vector<DISPID>{c.notice} : std::vector<DISPID>{});
        EXPECT_EQ(host_.view_changes() > 0, expect_draw);
      }
      RECT client{};
      GetClientRect(host_.window(), &client);
      EXPECT_EQ(client.right != 301 || client.bottom != 77, c.fits);
    }
  }
}

// Setting Font re-centres the caption without resizing: the caption's ink moves.
TEST_F(FlatButtonProperties, FontRecentresWithoutResizing) {
  Place();
  ASSERT_HRESULT_SUCCEEDED(button_->put_AutoSize(VARIANT_TRUE));
  RECT before{};
  GetClientRect(host_.window(), &before);
  IFontDisp* big = BigFont().Get();
  ASSERT_HRESULT_SUCCEEDED(button_->putref_Font(&big));
  RECT after{};
  GetClientRect(host_.window(), &after);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
  // The control keeps its own copy: the caller's object is not the control's.
  com::ComPtr<IFontDisp> current;
  ASSERT_HRESULT_SUCCEEDED(button_->get_Font(current.Receive()));
  ASSERT_TRUE(current);
  com::ComPtr<IFont> a, b;
  current.As(&a);
  BigFont().As(&b);
  EXPECT_EQ(a->IsEqual(b.Get()), S_OK);
}

TEST_F(FlatButtonProperties, NothingIsNotAFont) {
  Place();
  IFontDisp* none = nullptr;
  EXPECT_EQ(button_->putref_Font(&none), E_INVALIDARG);
  EXPECT_TRUE(host_.changes().empty());
}

// A container that fails the user-mode query fails the put; the value is already stored and
// no change notice goes out.
TEST_F(FlatButtonProperties, AmbientFailureReachesTheCaller) {
  Place();
  host_.ambients().user_mode_error = E_ACCESSDENIED;
  OLE_COLOR red = 0x000000FF;
  EXPECT_EQ(button_->put_BackColor(&red), E_ACCESSDENIED);
  OLE_COLOR stored = 0;
  button_->get_BackColor(&stored);
  EXPECT_EQ(stored, red);
  EXPECT_TRUE(host_.changes().empty());
  // The failure travels with a description for late-bound callers.
  com::ComPtr<ISupportErrorInfo> support = host_.As<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__TavFlatBtn), S_OK);
  com::ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, info.Receive()), S_OK);
  host_.ambients().user_mode_error = S_OK;
}

// A fit to a negative width is refused instead of sizing the control below zero; the margin is
// stored and the size is left as it was.
TEST_F(FlatButtonProperties, FitToNegativeWidthIsRefused) {
  Place();
  ASSERT_HRESULT_SUCCEEDED(SetCaption(L""));
  RECT before{};
  GetClientRect(host_.window(), &before);
  ASSERT_HRESULT_SUCCEEDED(button_->put_MarginWidth(-1000));
  EXPECT_EQ(button_->put_AutoSize(VARIANT_TRUE), static_cast<HRESULT>(0x800A017C));
  SHORT margin = 0;
  button_->get_MarginWidth(&margin);
  EXPECT_EQ(margin, -1000);
  RECT after{};
  GetClientRect(host_.window(), &after);
  EXPECT_EQ(after.right, before.right);
}

TEST_F(FlatButtonProperties, ClassInfoNamesTheEventInterface) {
  com::ComPtr<IProvideClassInfo2> info = host_.As<IProvideClassInfo2>();
  ASSERT_TRUE(info);
  GUID events{};
  ASSERT_HRESULT_SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
  EXPECT_TRUE(IsEqualGUID(events, DIID___TavFlatBtn));
  com::ComPtr<ITypeInfo> coclass;
  ASSERT_HRESULT_SUCCEEDED(info->GetClassInfo(coclass.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(attr->guid, CLSID_TavFlatBtn));
  coclass->ReleaseTypeAttr(attr);
}

// Late-bound callers go through the type library.
TEST_F(FlatButtonProperties, LateBoundPutAndGet) {
  Place();
  com::ComPtr<IDispatch> dispatch = host_.As<IDispatch>();
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"BorderWidth");
  ASSERT_HRESULT_SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
  EXPECT_EQ(id, 0x68030009);
  VARIANT value;
  V_VT(&value) = VT_I4;
  V_I4(&value) = 5;
  DISPID put_id = DISPID_PROPERTYPUT;
  DISPPARAMS put{&value, &put_id, 1, 1};
  ASSERT_HRESULT_SUCCEEDED(
      dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr));
  SHORT width = 0;
  ASSERT_HRESULT_SUCCEEDED(button_->get_BorderWidth(&width));
  EXPECT_EQ(width, 5);
}

}  // namespace

namespace flat_button_test {

// A container finds both outgoing interfaces by enumeration: the Click events and the change
// notices, with Skip, Reset and Clone keeping their place.
TEST_F(FlatButtonTest, ConnectionPointsAreEnumerated) {
  Place();
  com::ComPtr<IConnectionPointContainer> container;
  ASSERT_HRESULT_SUCCEEDED(button_.As(&container));
  com::ComPtr<IEnumConnectionPoints> points;
  ASSERT_HRESULT_SUCCEEDED(container->EnumConnectionPoints(points.Receive()));
  IConnectionPoint* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(points->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  IID first{}, second{};
  got[0]->GetConnectionInterface(&first);
  got[1]->GetConnectionInterface(&second);
  EXPECT_TRUE(IsEqualIID(first, DIID___TavFlatBtn));
  EXPECT_TRUE(IsEqualIID(second, IID_IPropertyNotifySink));
  got[0]->Release();
  got[1]->Release();

  ASSERT_HRESULT_SUCCEEDED(points->Reset());
  EXPECT_EQ(points->Skip(1), S_OK);
  com::ComPtr<IEnumConnectionPoints> copy;
  ASSERT_HRESULT_SUCCEEDED(points->Clone(copy.Receive()));
  IConnectionPoint* next = nullptr;
  ASSERT_EQ(copy->Next(1, &next, nullptr), S_OK);
  IID iid{};
  next->GetConnectionInterface(&iid);
  EXPECT_TRUE(IsEqualIID(iid, IID_IPropertyNotifySink));
  next->Release();
  EXPECT_EQ(copy->Skip(1), S_FALSE);
}

}  // namespace flat_button_test
