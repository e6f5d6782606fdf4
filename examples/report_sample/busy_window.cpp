#include "busy_window.h"

#include <new>
#include <utility>

#include "hresult.h"
#include "late_bound.h"
#include "unknown_impl.h"
#include "variant.h"

namespace report_sample {
namespace {

// __clsLullpane
constexpr IID kBusyWindowEvents = {
    0xD76CDCDC, 0x9339, 0x4C44, {0xB4, 0xC1, 0xBC, 0xF5, 0x51, 0x1F, 0xEE, 0xD8}};
constexpr DISPID kOnCancelButtonClicked = 1;

class CancelSink final : public com::Unknown<IDispatch> {
 public:
  explicit CancelSink(std::function<void()> on_cancel) : on_cancel_(std::move(on_cancel)) {}

  void* FindOwnInterface(REFIID iid) override {
    return IsEqualIID(iid, kBusyWindowEvents) ? static_cast<IDispatch*>(this) : nullptr;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id == kOnCancelButtonClicked && on_cancel_) on_cancel_();
    return S_OK;
  }

 private:
  std::function<void()> on_cancel_;
};

struct FormSearch {
  HWND owner;
  HWND form;
};

BOOL CALLBACK FindOwnedForm(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FormSearch*>(param);
  if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) return TRUE;
  search->form = window;
  return FALSE;
}

}  // namespace

BusyWindow::~BusyWindow() {
  if (point_ && cookie_) point_->Unadvise(cookie_);
}

HRESULT BusyWindow::Create(std::function<void()> on_cancel) {
  CLSID clsid;
  RETURN_IF_FAILED(CLSIDFromProgID(L"Halvane.clsLullpane", &clsid));
  RETURN_IF_FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    busy_.ReceiveVoid()));
  com::ComPtr<IConnectionPointContainer> points;
  RETURN_IF_FAILED(busy_.As(&points));
  RETURN_IF_FAILED(points->FindConnectionPoint(kBusyWindowEvents, point_.Receive()));
  auto sink = com::ComPtr<IDispatch>::Adopt(new (std::nothrow) CancelSink(std::move(on_cancel)));
  if (!sink) return E_OUTOFMEMORY;
  return point_->Advise(sink.Get(), &cookie_);
}

HRESULT BusyWindow::Start(HWND owner) {
  if (!busy_) return E_UNEXPECTED;
  owner_ = owner;
  // A window handle crosses as a 32-bit integer, also from a 64-bit client.
  LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(owner));
  return com::CallMethod(busy_.Get(), L"StartAnime", {com::Variant::I4(handle)});
}

HRESULT BusyWindow::Stop() {
  if (!busy_) return E_UNEXPECTED;
  return com::CallMethod(busy_.Get(), L"StopAnime");
}

bool BusyWindow::PressCancel() const {
  FormSearch search{owner_, nullptr};
  EnumWindows(FindOwnedForm, reinterpret_cast<LPARAM>(&search));
  HWND button = search.form ? FindWindowExW(search.form, nullptr, L"Button", nullptr) : nullptr;
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

}  // namespace report_sample
