// clsLullpane: the busy window object a client drives across processes. It owns at most one
// busy form, raises OnCancelButtonClicked through a connection point and watches the owner
// window on every tick.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <memory>

#include "connection_point.h"
#include "halvane_h.h"
#include "typelib_dispatch.h"
#include "unknown_impl.h"
#include "wait_form.h"

namespace halvane {

class Lullpane final
    : public com::Unknown<com::Answering<com::TypeLibDispatch<_clsLullpane>, IDispatch>,
                          IConnectionPointContainer,
                          com::Answering<IProvideClassInfo2, IProvideClassInfo>,
                          ISupportErrorInfo>,
      private WaitFormEvents {
 public:
  static HRESULT Create(REFIID iid, void** out);

  // _clsLullpane
  HRESULT STDMETHODCALLTYPE StartAnime(LONG hWnd) override;
  HRESULT STDMETHODCALLTYPE StopAnime() override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* out) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  Lullpane();
  ~Lullpane();

  // WaitFormEvents
  void OnCancelButtonClicked() override;
  void OnTimer() override;
  void OnFormDestroyed() override;

  LONG owner_hwnd_ = 0;
  std::shared_ptr<WaitForm> wait_form_;
  com::ConnectionPoint events_;
};

}  // namespace halvane
