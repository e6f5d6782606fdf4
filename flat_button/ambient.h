// The container's ambient properties, read through the client site's IDispatch.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "com_ptr.h"

namespace pelorin {

// A container that has no site, no ambient dispatch or does not know the property gets the
// usual default; any other failure of the query is returned.
HRESULT AmbientUserMode(IOleClientSite* site, bool* user_mode);
HRESULT AmbientDisplayName(IOleClientSite* site, std::wstring* name);
// The container's font, or the system's dialog font when the container offers none.
HRESULT AmbientFont(IOleClientSite* site, com::ComPtr<IFontDisp>* font);

}  // namespace pelorin
