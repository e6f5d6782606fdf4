#include "server.h"

#include <windows.h>
#include <objbase.h>

#include <utility>

#include "class_factory.h"
#include "com_ptr.h"
#include "objects.h"
#include "server_lifetime.h"
#include "test_control.h"

namespace standin {
namespace {

// A process started for an activation that never arrives must not stay behind. Under Wine a
// first activation sometimes starts the server twice; the spare one goes quickly, since the
// class object is registered before this clock starts and a real activation comes at once.
constexpr UINT kFirstActivationTimeoutMs = 5000;
bool g_activated;
DWORD g_class_cookie;

// Each "Word.Application" activation gets a process of its own. The class object is withdrawn
// at the first activation rather than relying on REGCLS_SINGLEUSE alone: Wine keeps offering a
// single-use class object, and a later activation routed to this process while it ends would
// wait forever.
void WithdrawClassObject() {
  if (g_class_cookie) CoRevokeClassObject(std::exchange(g_class_cookie, 0));
}

HRESULT CreateApplication(REFIID iid, void** out) {
  if (g_activated) return CO_E_SERVER_STOPPING;
  g_activated = true;
  WithdrawClassObject();
  LoadTestControl();
  if (Control().fail_create) {
    RequestExit();
    return E_FAIL;
  }
  com::ComPtr<_Application> app;
  HRESULT hr = NewApplication(app.Receive());
  if (FAILED(hr)) return hr;
  return app->QueryInterface(iid, out);
}

void CALLBACK FirstActivationTimeout(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (!g_activated) RequestExit();
}

}  // namespace

int RunServer() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return 1;
  com::ComPtr<IClassFactory> factory = com::ComPtr<IClassFactory>::Adopt(
      com::NewClassFactory(CreateApplication));
  if (factory) {
    hr = CoRegisterClassObject(CLSID_Application, factory.Get(), CLSCTX_LOCAL_SERVER,
                               REGCLS_SINGLEUSE, &g_class_cookie);
  } else {
    hr = E_OUTOFMEMORY;
  }
  if (SUCCEEDED(hr)) {
    SetTimer(nullptr, 0, kFirstActivationTimeoutMs, FirstActivationTimeout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    WithdrawClassObject();
  }
  factory.Reset();
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}

}  // namespace standin
