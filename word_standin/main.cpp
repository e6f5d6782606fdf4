// WordStandin.exe: a local automation server registered as "Word.Application" in the test
// prefix only. Started by COM with -Embedding (or /Automation); /RegServer and /UnregServer
// register and remove it.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "module.h"
#include "server.h"
#include "standin_registration.h"

namespace {

bool IsSwitch(const wchar_t* arg, const wchar_t* name) {
  return (arg[0] == L'/' || arg[0] == L'-') &&
         CompareStringOrdinal(arg + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  com::SetModuleInstance(instance);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int code = -1;
  for (int i = 1; argv && i < argc && code < 0; ++i) {
    if (IsSwitch(argv[i], L"RegServer")) code = standin::RegisterServer();
    else if (IsSwitch(argv[i], L"UnregServer")) code = standin::UnregisterServer();
  }
  LocalFree(argv);
  if (code >= 0) return code;
  return standin::RunServer();
}
