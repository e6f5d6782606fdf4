// The client's window as the form's owner. Clients pass window handles as 32-bit signed
// integers; a 64-bit server sign-extends them, as the platform does for handles.
#pragma once
#include <windows.h>

namespace halvane {

HWND WindowFromLong(LONG handle);

// Makes `owner` the owner of `form`. The result is deliberately not examined: a form that
// cannot be owned still animates and the owner test decides its fate.
void SetFormOwner(HWND form, LONG owner);

// False only when the handle names no window: the query fails and leaves an error code.
bool IsOwnerAlive(LONG owner);

}  // namespace halvane
