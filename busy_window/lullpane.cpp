#include "lullpane.h"

#include <new>

#include "error_info.h"
#include "owner_window.h"
#include "server_lifetime.h"

namespace halvane {
namespace {

constexpr DISPID kOnCancelButtonClicked = 1;
// Error 91 of the automation runtime: an object variable that was never set.
constexpr HRESULT kObjectNotSet = static_cast<HRESULT>(0x800A005B);
const wchar_t kSource[] = L"Halvane.clsLullpane";

}  // namespace

HRESULT Lullpane::Create(REFIID iid, void** out) {
  auto* object = new (std::nothrow) Lullpane();
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

Lullpane::Lullpane() : events_(this, DIID___clsLullpane) { ObjectCreated(); }

Lullpane::~Lullpane() {
  if (wait_form_) {
    wait_form_->Unload();
    wait_form_.reset();
  }
  events_.UnadviseAll();
  ObjectDestroyed();
}

HRESULT Lullpane::StartAnime(LONG hWnd) {
  owner_hwnd_ = hWnd;
  if (!wait_form_) wait_form_ = WaitForm::Create(this);
  HRESULT hr = wait_form_->Show();
  if (FAILED(hr)) {
    // A form that could not load is dropped, so that the next call tries afresh.
    wait_form_->Unload();
    wait_form_.reset();
    return com::ReportError(hr, IID__clsLullpane, kSource,
                            L"処理中ウィンドウを表示できません。");
  }
  if (hWnd != 0) SetFormOwner(wait_form_->hwnd(), hWnd);
  wait_form_->StartAnime();
  wait_form_->SetCancelButtonEnabled(true);
  return S_OK;
}

HRESULT Lullpane::StopAnime() {
  if (!wait_form_) {
    return com::ReportError(kObjectNotSet, IID__clsLullpane, kSource,
                            L"オブジェクト変数が設定されていません。");
  }
  wait_form_->StopAnime();
  wait_form_->Hide();
  return S_OK;
}

HRESULT Lullpane::EnumConnectionPoints(IEnumConnectionPoints** out) {
  return events_.Enumerate(out);
}

HRESULT Lullpane::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  return events_.Find(iid, out);
}

HRESULT Lullpane::GetClassInfo(ITypeInfo** out) {
  return com::GetModuleTypeInfo(CLSID_clsLullpane, out);
}

HRESULT Lullpane::GetGUID(DWORD kind, GUID* out) {
  if (!out) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *out = GUID_NULL;
    return E_INVALIDARG;
  }
  *out = DIID___clsLullpane;
  return S_OK;
}

HRESULT Lullpane::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, IID__clsLullpane) ? S_OK : S_FALSE;
}

void Lullpane::OnCancelButtonClicked() {
  // A client may release its last reference from its handler.
  AddRef();
  wait_form_->SetCancelButtonEnabled(false);
  events_.Fire(kOnCancelButtonClicked);
  Release();
}

// Only the owner's end destroys the form from outside, and without the form there is no timer
// left to notice it: the server ends now, as the next tick would have ended it.
void Lullpane::OnFormDestroyed() { EndServerNow(); }

void Lullpane::OnTimer() {
  // An object started without an owner window has no owner to outlive.
  if (owner_hwnd_ != 0 && !IsOwnerAlive(owner_hwnd_)) EndServerNow();
}

}  // namespace halvane
