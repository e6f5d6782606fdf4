// Halvane.exe: the local server of clsLullpane. One program serves one object (the class is
// registered for single use), so that a client whose window dies ends only its own busy window.
//   /RegServer, /UnregServer   register or remove the class and its type library
//   /Embedding                 started by COM to serve an object (also the default)
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwchar>

#include "class_factory.h"
#include "halvane_h.h"
#include "lullpane.h"
#include "module.h"
#include "other_view_registration.h"
#include "registration.h"
#include "server_lifetime.h"

namespace {

const com::ClassRegistration kRegistration = {
    &CLSID_clsLullpane, L"Halvane.clsLullpane", L"Halvane.clsLullpane", &LIBID_Halvane, L"1.0",
    /*local_server=*/true};

// A client that asked COM to start the server connects well within this time.
constexpr UINT kUnusedExitMs = 30000;

bool HasSwitch(const wchar_t* command_line, const wchar_t* name) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(command_line, &argc);
  bool found = false;
  for (int i = 1; argv && i < argc && !found; ++i) {
    const wchar_t* arg = argv[i];
    if (*arg == L'/' || *arg == L'-') found = _wcsicmp(arg + 1, name) == 0;
  }
  LocalFree(argv);
  return found;
}

HRESULT Register() {
  HRESULT hr = com::RegisterClassAndTypeLib(kRegistration);
  if (SUCCEEDED(hr)) hr = halvane::RegisterInOtherView();
  return hr;
}

HRESULT Unregister() {
  HRESULT hr = com::UnregisterClassAndTypeLib(kRegistration);
  HRESULT other = halvane::UnregisterFromOtherView();
  return FAILED(hr) ? hr : other;
}

int Serve() {
  IClassFactory* factory = com::NewClassFactory(halvane::Lullpane::Create);
  if (!factory) return 1;
  DWORD cookie = 0;
  HRESULT hr = CoRegisterClassObject(CLSID_clsLullpane, factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_SINGLEUSE, &cookie);
  factory->Release();
  if (FAILED(hr)) return 1;

  HANDLE client = halvane::OpenStartingProcess();
  UINT_PTR unused_timer = SetTimer(nullptr, 0, kUnusedExitMs, nullptr);
  for (bool running = true; running;) {
    DWORD wait = MsgWaitForMultipleObjectsEx(client ? 1 : 0, &client, INFINITE, QS_ALLINPUT,
                                             MWMO_INPUTAVAILABLE);
    if (client && wait == WAIT_OBJECT_0) break;  // the client is gone, and with it every use
    MSG msg;
    while (running && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        running = false;
      } else if (msg.hwnd == nullptr && msg.message == WM_TIMER && msg.wParam == unused_timer) {
        KillTimer(nullptr, unused_timer);
        halvane::QuitIfUnused();
      } else {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
  if (client) CloseHandle(client);
  CoRevokeClassObject(cookie);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  com::SetModuleInstance(instance);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const wchar_t* command_line = GetCommandLineW();
  int status;
  if (HasSwitch(command_line, L"RegServer")) {
    status = SUCCEEDED(Register()) ? 0 : 1;
  } else if (HasSwitch(command_line, L"UnregServer")) {
    status = SUCCEEDED(Unregister()) ? 0 : 1;
  } else {
    status = Serve();
  }
  CoUninitialize();
  return status;
}
