#include "server_lifetime.h"

#include <windows.h>

#include "module.h"

namespace halvane {

void ObjectCreated() { com::ModuleAddRef(); }

void ObjectDestroyed() {
  com::ModuleRelease();
  if (com::ModuleLockCount() == 0) PostQuitMessage(0);
}

void QuitIfUnused() {
  if (com::ModuleLockCount() == 0) PostQuitMessage(0);
}

void EndServerNow() { ExitProcess(0); }

}  // namespace halvane
