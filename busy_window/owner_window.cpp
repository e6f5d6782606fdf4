#include "owner_window.h"

namespace halvane {

HWND WindowFromLong(LONG handle) {
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
}

void SetFormOwner(HWND form, LONG owner) {
#ifdef _WIN64
  SetWindowLongPtrA(form, GWLP_HWNDPARENT, static_cast<LONG_PTR>(owner));
#else
  SetWindowLongA(form, GWL_HWNDPARENT, owner);
#endif
}

bool IsOwnerAlive(LONG owner) {
  // A successful call does not clear the error code: a stale one must not read as a failure.
  SetLastError(ERROR_SUCCESS);
#ifdef _WIN64
  LONG_PTR instance = GetWindowLongPtrA(WindowFromLong(owner), GWLP_HINSTANCE);
#else
  LONG instance = GetWindowLongA(WindowFromLong(owner), GWL_HINSTANCE);
#endif
  DWORD error = GetLastError();
  return instance != 0 || error == ERROR_SUCCESS;
}

}  // namespace halvane
