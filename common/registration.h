// Self-registration of a COM class and of the type library embedded in the module (resource 1).
#pragma once
#include <windows.h>

namespace com {

struct ClassRegistration {
  const CLSID* clsid;
  const wchar_t* prog_id;
  const wchar_t* description;
  const GUID* libid;
  const wchar_t* typelib_version;     // "1.0"
  bool local_server = false;          // LocalServer32 (an .exe) instead of InprocServer32
  const wchar_t* threading_model = L"Apartment";  // in-process servers only
  // ActiveX controls: the Control key, MiscStatus and the toolbox bitmap resource.
  bool control = false;
  DWORD misc_status = 0;
  int toolbox_bitmap_id = 0;
};

// Writes the class keys under HKEY_CLASSES_ROOT and registers the module's type library.
HRESULT RegisterClassAndTypeLib(const ClassRegistration& reg);
// Removes what RegisterClassAndTypeLib wrote; succeeds when nothing was registered.
HRESULT UnregisterClassAndTypeLib(const ClassRegistration& reg);

}  // namespace com
