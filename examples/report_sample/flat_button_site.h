// One flat button control on a form: the client and in-place site it talks to, the ambient
// properties a form offers, its properties loaded as from a form file, and its Click event.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>

#include "com_ptr.h"
#include "unknown_impl.h"

namespace report_sample {

class FlatButtonSite final
    : public com::Unknown<IOleClientSite, com::Answering<IOleInPlaceSite, IOleWindow>, IDispatch> {
 public:
  // Creates a registered Pelorin.TavFlatBtn named `name`, loads `properties` and activates it
  // at `rect` of `form`. `on_click` runs on every Click.
  static HRESULT Create(HWND form, const wchar_t* name, const RECT& rect, IPropertyBag* properties,
                        std::function<void()> on_click, com::ComPtr<FlatButtonSite>* out);

  // The control's Enabled property, late-bound as a form's code sets it.
  HRESULT SetEnabled(bool enabled);
  HWND window() const;
  // Deactivates the control and lets it go; the site is unusable afterwards.
  void Close();

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override;
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override;
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT position, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override;

  // IDispatch: the ambient properties of the form
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

 private:
  FlatButtonSite(HWND form, const wchar_t* name, const RECT& rect)
      : form_(form), name_(name), rect_(rect) {}
  ~FlatButtonSite() = default;
  HRESULT Start(IPropertyBag* properties, std::function<void()> on_click);

  HWND form_;
  std::wstring name_;
  RECT rect_;
  com::ComPtr<IUnknown> control_;
  com::ComPtr<IConnectionPoint> click_point_;
  DWORD click_cookie_ = 0;
};

}  // namespace report_sample
