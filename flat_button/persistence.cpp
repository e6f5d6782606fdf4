// The three persistence handlers (initialise, read, write) and the two ways a container
// reaches them: a property bag, or a stream holding one.
#include "ambient.h"
#include "bstr.h"
#include "flat_button.h"
#include "hresult.h"
#include "stream_property_bag.h"
#include "variant.h"

namespace pelorin {
namespace {

using com::Variant;

constexpr OLE_COLOR kDefaultTextColor = 0x80000012;      // COLOR_BTNTEXT
constexpr OLE_COLOR kDefaultDownTextColor = 0x8000000D;  // COLOR_HIGHLIGHT
constexpr OLE_COLOR kDefaultDownBackColor = 0x00FFFFFF;  // white
constexpr OLE_COLOR kDefaultBackColor = 0x8000000F;      // COLOR_BTNFACE
constexpr SHORT kDefaultBorderWidth = 1;
constexpr SHORT kDefaultMarginWidth = 300;
constexpr SHORT kDefaultMarginHeight = 200;

Variant Color(OLE_COLOR c) { return Variant::I4(static_cast<LONG>(c)); }

// One property from the bag, `fallback` when the bag lacks it, converted to `type`.
// Fails when the bag refuses it or it does not convert.
HRESULT ReadValue(IPropertyBag* bag, const wchar_t* name, const Variant& fallback, VARTYPE type,
                  Variant* out) {
  VARIANT* v = out->Receive();
  V_UNKNOWN(v) = nullptr;  // so that clearing a refused read frees nothing
  V_VT(v) = fallback.Type();
  HRESULT hr = bag->Read(name, v, nullptr);
  if (hr == E_INVALIDARG) {
    *out = fallback;  // not in the bag
  } else {
    RETURN_IF_FAILED(hr);
  }
  return out->Type() == type ? S_OK : out->ChangeType(type);
}

// Writes `value` unless it equals `fallback`.
HRESULT WriteValue(IPropertyBag* bag, const wchar_t* name, Variant value, const Variant& fallback) {
  if (VarCmp(value.Ptr(), const_cast<VARIANT*>(fallback.Ptr()), LOCALE_USER_DEFAULT, 0) ==
      VARCMP_EQ) {
    return S_OK;
  }
  return bag->Write(name, value.Ptr());
}

bool SameFont(IFontDisp* a, IFontDisp* b) {
  com::ComPtr<IFont> font_a, font_b;
  if (!a || !b || FAILED(a->QueryInterface(IID_IFont, font_a.ReceiveVoid())) ||
      FAILED(b->QueryInterface(IID_IFont, font_b.ReceiveVoid()))) {
    return false;
  }
  // A font reports the face it was realised with: compare both realised.
  HFONT ignored = nullptr;
  font_a->get_hFont(&ignored);
  font_b->get_hFont(&ignored);
  return font_a->IsEqual(font_b.Get()) == S_OK;
}

}  // namespace

HRESULT FlatButton::InitializeProperties() {
  com::ComPtr<IFontDisp> font;
  RETURN_IF_FAILED(AmbientFont(site_.Get(), &font));
  IFontDisp* font_arg = font.Get();
  RETURN_IF_FAILED(putref_Font(&font_arg));
  std::wstring name;
  RETURN_IF_FAILED(AmbientDisplayName(site_.Get(), &name));
  com::Bstr caption(name);
  BSTR caption_arg = caption.Get();
  RETURN_IF_FAILED(put_Caption(&caption_arg));
  VARIANT_BOOL enabled = VARIANT_TRUE;
  RETURN_IF_FAILED(put_Enabled(&enabled));
  OLE_COLOR color = kDefaultTextColor;
  RETURN_IF_FAILED(put_TextColor(&color));
  color = kDefaultDownTextColor;
  RETURN_IF_FAILED(put_DownTextColor(&color));
  RETURN_IF_FAILED(put_DownBackColor(kDefaultDownBackColor));
  color = kDefaultBackColor;
  RETURN_IF_FAILED(put_BackColor(&color));
  RETURN_IF_FAILED(put_BorderStyle(psSolid));
  RETURN_IF_FAILED(put_BorderWidth(kDefaultBorderWidth));
  RETURN_IF_FAILED(put_BorderColor(0));
  RETURN_IF_FAILED(put_AutoRedraw(VARIANT_TRUE));
  RETURN_IF_FAILED(put_AutoSize(VARIANT_FALSE));
  RETURN_IF_FAILED(put_MarginWidth(kDefaultMarginWidth));
  RETURN_IF_FAILED(put_MarginHeight(kDefaultMarginHeight));
  state_.in_paint = false;
  return S_OK;
}

void FlatButton::ReadProperties(IPropertyBag* bag) {
  Variant v;
  com::ComPtr<IFontDisp> ambient_font;
  if (SUCCEEDED(AmbientFont(site_.Get(), &ambient_font)) &&
      SUCCEEDED(ReadValue(bag, L"Font", Variant::Dispatch(ambient_font.Get()), VT_DISPATCH, &v))) {
    com::ComPtr<IFontDisp> font;
    if (V_DISPATCH(v.Ptr()) &&
        SUCCEEDED(V_DISPATCH(v.Ptr())->QueryInterface(IID_IFontDisp, font.ReceiveVoid()))) {
      surface_.SetFont(font.Get());  // directly: no centring, no change notice
    }
  }
  std::wstring name;
  if (SUCCEEDED(AmbientDisplayName(site_.Get(), &name)) &&
      SUCCEEDED(ReadValue(bag, L"Caption", Variant::Str(name), VT_BSTR, &v))) {
    BSTR caption = V_BSTR(v.Ptr());
    put_Caption(&caption);
  }
  if (SUCCEEDED(ReadValue(bag, L"Enabled", Variant::Bool(true), VT_BOOL, &v))) {
    put_Enabled(&V_BOOL(v.Ptr()));
  }
  // The colours travel as 32-bit integers; OLE_COLOR is their unsigned reading.
  struct ColorStep {
    const wchar_t* name;
    OLE_COLOR fallback;
    HRESULT (STDMETHODCALLTYPE FlatButton::*put_by_ref)(OLE_COLOR*);
    HRESULT (STDMETHODCALLTYPE FlatButton::*put_by_value)(OLE_COLOR);
  };
  const ColorStep colors[] = {
      {L"TextColor", kDefaultTextColor, &FlatButton::put_TextColor, nullptr},
      {L"DownTextColor", kDefaultDownTextColor, &FlatButton::put_DownTextColor, nullptr},
      {L"BackColor", kDefaultBackColor, &FlatButton::put_BackColor, nullptr},
      {L"DownBackColor", kDefaultDownBackColor, nullptr, &FlatButton::put_DownBackColor},
  };
  for (const ColorStep& step : colors) {
    if (FAILED(ReadValue(bag, step.name, Color(step.fallback), VT_I4, &v))) continue;
    OLE_COLOR color = static_cast<OLE_COLOR>(V_I4(v.Ptr()));
    if (step.put_by_ref) (this->*step.put_by_ref)(&color);
    else (this->*step.put_by_value)(color);
  }
  if (SUCCEEDED(ReadValue(bag, L"BorderStyle", Variant::I2(psSolid), VT_I4, &v))) {
    put_BorderStyle(static_cast<enum BorderStyle>(V_I4(v.Ptr())));
  }
  if (SUCCEEDED(ReadValue(bag, L"BorderWidth", Variant::I2(kDefaultBorderWidth), VT_I2, &v))) {
    put_BorderWidth(V_I2(v.Ptr()));
  }
  if (SUCCEEDED(ReadValue(bag, L"BorderColor", Variant::I4(0), VT_I4, &v))) {
    put_BorderColor(static_cast<OLE_COLOR>(V_I4(v.Ptr())));
  }
  if (SUCCEEDED(ReadValue(bag, L"AutoRedraw", Variant::Bool(true), VT_BOOL, &v))) {
    put_AutoRedraw(V_BOOL(v.Ptr()));
  }
  if (SUCCEEDED(ReadValue(bag, L"AutoSize", Variant::Bool(false), VT_BOOL, &v))) {
    put_AutoSize(V_BOOL(v.Ptr()));
  }
  if (SUCCEEDED(ReadValue(bag, L"MarginWidth", Variant::I2(kDefaultMarginWidth), VT_I2, &v))) {
    put_MarginWidth(V_I2(v.Ptr()));
  }
  if (SUCCEEDED(ReadValue(bag, L"MarginHeight", Variant::I2(kDefaultMarginHeight), VT_I2, &v))) {
    put_MarginHeight(V_I2(v.Ptr()));
  }
}

void FlatButton::WriteProperties(IPropertyBag* bag) {
  com::ComPtr<IFontDisp> ambient_font;
  if (SUCCEEDED(AmbientFont(site_.Get(), &ambient_font)) &&
      !SameFont(surface_.Font(), ambient_font.Get())) {
    Variant font = Variant::Dispatch(surface_.Font());
    bag->Write(L"Font", font.Ptr());
  }
  std::wstring name;
  if (SUCCEEDED(AmbientDisplayName(site_.Get(), &name))) {
    WriteValue(bag, L"Caption", Variant::Str(state_.caption), Variant::Str(name));
  }
  WriteValue(bag, L"Enabled", Variant::Bool(state_.enabled != VARIANT_FALSE), Variant::Bool(true));
  WriteValue(bag, L"TextColor", Color(state_.text_color), Color(kDefaultTextColor));
  WriteValue(bag, L"DownTextColor", Color(state_.down_text_color), Color(kDefaultDownTextColor));
  WriteValue(bag, L"BackColor", Color(state_.back_color), Color(kDefaultBackColor));
  WriteValue(bag, L"DownBackColor", Color(state_.down_back_color), Color(kDefaultDownBackColor));
  WriteValue(bag, L"BorderStyle", Variant::I4(state_.border_style), Variant::I2(psSolid));
  WriteValue(bag, L"BorderWidth", Variant::I2(state_.border_width),
             Variant::I2(kDefaultBorderWidth));
  WriteValue(bag, L"BorderColor", Color(state_.border_color), Color(0));
  WriteValue(bag, L"AutoRedraw", Variant::Bool(state_.auto_redraw != VARIANT_FALSE),
             Variant::Bool(true));
  WriteValue(bag, L"AutoSize", Variant::Bool(state_.auto_size != VARIANT_FALSE),
             Variant::Bool(false));
  WriteValue(bag, L"MarginWidth", Variant::I2(state_.margin_width),
             Variant::I2(kDefaultMarginWidth));
  WriteValue(bag, L"MarginHeight", Variant::I2(state_.margin_height),
             Variant::I2(kDefaultMarginHeight));
}

// --- IPersist, IPersistPropertyBag, IPersistStreamInit ---

HRESULT FlatButton::GetClassID(CLSID* out) {
  if (!out) return E_POINTER;
  *out = CLSID_TavFlatBtn;
  return S_OK;
}

HRESULT FlatButton::InitNew() { return InitializeProperties(); }

HRESULT FlatButton::Load(IPropertyBag* bag, IErrorLog*) {
  if (!bag) return E_POINTER;
  ReadProperties(bag);
  Loaded();
  return S_OK;
}

// A put refused while reading was skipped: its error info must not reach the container's next
// failing call, and what was just read is no change to save.
void FlatButton::Loaded() {
  SetErrorInfo(0, nullptr);
  dirty_ = false;
}

HRESULT FlatButton::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL) {
  if (!bag) return E_POINTER;
  WriteProperties(bag);
  if (clear_dirty) dirty_ = false;
  return S_OK;
}

HRESULT FlatButton::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT FlatButton::Load(IStream* stream) {
  if (!stream) return E_POINTER;
  com::ComPtr<StreamPropertyBag> bag;
  RETURN_IF_FAILED(StreamPropertyBag::Create(bag.Receive()));
  RETURN_IF_FAILED(bag->LoadFrom(stream));
  ReadProperties(bag.Get());
  Loaded();
  return S_OK;
}

HRESULT FlatButton::Save(IStream* stream, BOOL clear_dirty) {
  if (!stream) return E_POINTER;
  com::ComPtr<StreamPropertyBag> bag;
  RETURN_IF_FAILED(StreamPropertyBag::Create(bag.Receive()));
  WriteProperties(bag.Get());
  RETURN_IF_FAILED(bag->SaveTo(stream));
  if (clear_dirty) dirty_ = false;
  return S_OK;
}

HRESULT FlatButton::GetSizeMax(ULARGE_INTEGER* size) {
  if (size) size->QuadPart = 0;
  return E_NOTIMPL;
}

}  // namespace pelorin
