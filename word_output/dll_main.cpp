// Entry points of Quorrel.dll.
#include <windows.h>

#include "class_factory.h"
#include "module.h"
#include "registration.h"
#include "word_print_out.h"

namespace {

const com::ClassRegistration kRegistration = {
    &CLSID_WordPrintOut, L"Scrivlet.WordPrintOut", L"Scrivlet.WordPrintOut", &LIBID_Scrivlet,
    L"1.0"};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetClassObject(clsid, CLSID_WordPrintOut, quorrel::WordPrintOut::Create, iid, out);
}

STDAPI DllCanUnloadNow() { return com::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return com::RegisterClassAndTypeLib(kRegistration); }

STDAPI DllUnregisterServer() { return com::UnregisterClassAndTypeLib(kRegistration); }
