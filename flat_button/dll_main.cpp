// Entry points of Pelorin.dll.
#include <windows.h>

#include "class_factory.h"
#include "flat_button.h"
#include "module.h"
#include "registration.h"

namespace {

constexpr int kToolboxBitmap = 30000;

const com::ClassRegistration kRegistration = {
    &CLSID_TavFlatBtn, L"Pelorin.TavFlatBtn", L"Pelorin.TavFlatBtn", &LIBID_Pelorin, L"1.0",
    /*local_server=*/false, L"Apartment",
    /*control=*/true, pelorin::FlatButton::kMiscStatus, kToolboxBitmap};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetClassObject(clsid, CLSID_TavFlatBtn, pelorin::FlatButton::Create, iid, out);
}

STDAPI DllCanUnloadNow() { return com::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return com::RegisterClassAndTypeLib(kRegistration); }

STDAPI DllUnregisterServer() { return com::UnregisterClassAndTypeLib(kRegistration); }
