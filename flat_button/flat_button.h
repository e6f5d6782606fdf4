// TavFlatBtn: the flat push button control object, its properties, OLE embedding and
// persistence. Painting lives in button_painter, the image and window in drawing_surface.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "button_state.h"
#include "com_ptr.h"
#include "connection_point.h"
#include "drawing_surface.h"
#include "pelorin_h.h"
#include "property_notify_point.h"
#include "typelib_dispatch.h"

namespace pelorin {

class FlatButton final : public com::TypeLibDispatch<_TavFlatBtn>,
                         public ISupportErrorInfo,
                         public IProvideClassInfo2,
                         public IConnectionPointContainer,
                         public IPersistPropertyBag,
                         public IPersistStreamInit,
                         public IOleObject,
                         public IOleInPlaceObject,
                         public IOleControl,
                         public IViewObject2,
                         private DrawingSurface::Events {
 public:
  static HRESULT Create(REFIID iid, void** out);

  // A windowed control activated in place as soon as it is visible.
  static constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                                       OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                                       OLEMISC_SETCLIENTSITEFIRST;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

  // _TavFlatBtn, in slot order
  HRESULT STDMETHODCALLTYPE Redraw() override;
  HRESULT STDMETHODCALLTYPE get_MarginWidth(SHORT* ret) override;
  HRESULT STDMETHODCALLTYPE put_MarginWidth(SHORT value) override;
  HRESULT STDMETHODCALLTYPE get_MarginHeight(SHORT* ret) override;
  HRESULT STDMETHODCALLTYPE put_MarginHeight(SHORT value) override;
  HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* ret) override;
  HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_AutoRedraw(VARIANT_BOOL* ret) override;
  HRESULT STDMETHODCALLTYPE put_AutoRedraw(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_BorderWidth(SHORT* ret) override;
  HRESULT STDMETHODCALLTYPE put_BorderWidth(SHORT value) override;
  HRESULT STDMETHODCALLTYPE get_BorderColor(OLE_COLOR* ret) override;
  HRESULT STDMETHODCALLTYPE put_BorderColor(OLE_COLOR value) override;
  HRESULT STDMETHODCALLTYPE get_BorderStyle(enum BorderStyle* ret) override;
  HRESULT STDMETHODCALLTYPE put_BorderStyle(enum BorderStyle value) override;
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* ret) override;
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* ret) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** ret) override;
  HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp** value) override;
  HRESULT STDMETHODCALLTYPE get_TextColor(OLE_COLOR* ret) override;
  HRESULT STDMETHODCALLTYPE put_TextColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_DownTextColor(OLE_COLOR* ret) override;
  HRESULT STDMETHODCALLTYPE put_DownTextColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR* ret) override;
  HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR* value) override;
  HRESULT STDMETHODCALLTYPE get_DownBackColor(OLE_COLOR* ret) override;
  HRESULT STDMETHODCALLTYPE put_DownBackColor(OLE_COLOR value) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* out) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // IPersist, IPersistPropertyBag, IPersistStreamInit (persistence.cpp)
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* out) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clear_dirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;

  // IOleObject (ole_embedding.cpp)
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** out) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR obj) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD save_option) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** out) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** out) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index,
                                   HWND parent, LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* out) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* out) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspect_info,
                                 DVTARGETDEVICE* device, HDC target_info, HDC target,
                                 LPCRECTL bounds, LPCRECTL wbounds,
                                 BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR arg) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspect_info,
                                        DVTARGETDEVICE* device, HDC target_info,
                                        LOGPALETTE** out) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspect_info,
                                   DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device,
                                      LPSIZEL size) override;

 private:
  FlatButton();
  ~FlatButton();

  // DrawingSurface::Events
  HRESULT OnResize() override;
  void OnMouseDown() override;
  void OnMouseUp(float x, float y) override;
  void OnCaptureLost() override;
  void OnPositionRequest(const RECT& rect) override;

  HRESULT Paint();
  // Draws when AutoRedraw is on or the container is in design mode.
  HRESULT RepaintRule();
  // Marks the control dirty and tells the container that the property changed.
  void NotifyChanged(DISPID id);

  // The three persistence handlers (persistence.cpp).
  HRESULT InitializeProperties();
  void ReadProperties(IPropertyBag* bag);
  void Loaded();
  void WriteProperties(IPropertyBag* bag);

  HRESULT InPlaceActivate();

  LONG refs_ = 1;
  ButtonState state_;
  DrawingSurface surface_;
  com::ConnectionPoint events_;
  PropertyNotifyPoint notify_;
  bool dirty_ = false;
  com::ComPtr<IOleClientSite> site_;
  com::ComPtr<IOleInPlaceSite> in_place_site_;
  com::ComPtr<IOleAdviseHolder> ole_advise_;
  com::ComPtr<IAdviseSink> view_sink_;
  DWORD view_aspects_ = 0;
  DWORD view_flags_ = 0;
};

}  // namespace pelorin
