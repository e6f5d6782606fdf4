// Module-wide state of a COM server: its instance handle and its lock count.
#pragma once
#include <windows.h>
#include <string>

namespace com {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

// Live objects and IClassFactory::LockServer locks; DllCanUnloadNow answers from it.
void ModuleAddRef();
void ModuleRelease();
LONG ModuleLockCount();

// Full path of this module (the DLL or EXE the code is linked into).
std::wstring ModulePath();

}  // namespace com
