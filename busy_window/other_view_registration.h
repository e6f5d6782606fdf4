// A client of the other bitness marshals this server's interfaces through the type library,
// looked up in its own registry view: this registers them there too, without touching what
// a build of the other bitness registered for itself.
#pragma once
#include <windows.h>

namespace halvane {

HRESULT RegisterInOtherView();
// Called after this bitness's own unregistration. While the other bitness still has the class
// registered, the interface keys the platform removed from both views are put back for it;
// otherwise what RegisterInOtherView added goes too.
HRESULT UnregisterFromOtherView();

}  // namespace halvane
