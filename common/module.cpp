#include "module.h"

namespace com {
namespace {
HINSTANCE g_instance;
LONG g_locks;
}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ModuleInstance() { return g_instance; }

void ModuleAddRef() { InterlockedIncrement(&g_locks); }
void ModuleRelease() { InterlockedDecrement(&g_locks); }
LONG ModuleLockCount() { return g_locks; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) { path.resize(n); return path; }
    path.resize(path.size() * 2);
  }
}

}  // namespace com
