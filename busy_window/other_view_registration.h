// A client of the other bitness marshals this server's interfaces through the type library,
// looked up in its own registry view: this registers them there too, without touching what
// a build of the other bitness registered for itself.
#pragma once
#include <windows.h>

namespace halvane {

HRESULT RegisterInOtherView();
// Leaves everything in place while the other bitness still has the class registered.
HRESULT UnregisterFromOtherView();

}  // namespace halvane
