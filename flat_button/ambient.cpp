#include "ambient.h"

#include "hresult.h"
#include "variant.h"

namespace pelorin {
namespace {

// S_FALSE when the container does not offer the property.
HRESULT GetAmbient(IOleClientSite* site, DISPID id, com::Variant* value) {
  if (!site) return S_FALSE;
  com::ComPtr<IDispatch> ambient;
  if (FAILED(site->QueryInterface(IID_IDispatch, ambient.ReceiveVoid()))) return S_FALSE;
  DISPPARAMS none{};
  HRESULT hr = ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               value->Receive(), nullptr, nullptr);
  if (hr == DISP_E_MEMBERNOTFOUND) return S_FALSE;
  return FAILED(hr) ? hr : S_OK;
}

HRESULT SystemDialogFont(com::ComPtr<IFontDisp>* font) {
  LOGFONTW lf{};
  if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf)) return E_FAIL;
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  LONG height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
  FONTDESC desc{sizeof(FONTDESC), lf.lfFaceName, {}, static_cast<SHORT>(lf.lfWeight),
                static_cast<SHORT>(lf.lfCharSet), FALSE, FALSE, FALSE};
  desc.cySize.int64 = static_cast<LONGLONG>(height) * 72 * 10000 / dpi;
  return OleCreateFontIndirect(&desc, IID_IFontDisp, font->ReceiveVoid());
}

}  // namespace

HRESULT AmbientUserMode(IOleClientSite* site, bool* user_mode) {
  com::Variant value;
  HRESULT hr = GetAmbient(site, DISPID_AMBIENT_USERMODE, &value);
  RETURN_IF_FAILED(hr);
  if (hr == S_FALSE) {
    *user_mode = true;
    return S_OK;
  }
  RETURN_IF_FAILED(value.ChangeType(VT_BOOL));
  *user_mode = V_BOOL(value.Ptr()) != VARIANT_FALSE;
  return S_OK;
}

HRESULT AmbientDisplayName(IOleClientSite* site, std::wstring* name) {
  com::Variant value;
  HRESULT hr = GetAmbient(site, DISPID_AMBIENT_DISPLAYNAME, &value);
  RETURN_IF_FAILED(hr);
  name->clear();
  if (hr == S_FALSE) return S_OK;
  RETURN_IF_FAILED(value.ChangeType(VT_BSTR));
  BSTR text = V_BSTR(value.Ptr());
  name->assign(text ? text : L"", SysStringLen(text));
  return S_OK;
}

HRESULT AmbientFont(IOleClientSite* site, com::ComPtr<IFontDisp>* font) {
  com::Variant value;
  HRESULT hr = GetAmbient(site, DISPID_AMBIENT_FONT, &value);
  RETURN_IF_FAILED(hr);
  if (hr == S_OK && (value.Type() == VT_DISPATCH || value.Type() == VT_UNKNOWN) &&
      V_UNKNOWN(value.Ptr())) {
    return V_UNKNOWN(value.Ptr())->QueryInterface(IID_IFontDisp, font->ReceiveVoid());
  }
  return SystemDialogFont(font);
}

}  // namespace pelorin
