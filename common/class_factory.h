// A class factory for one class, creating instances through a plain function.
#pragma once
#include <objbase.h>

namespace com {

using CreateInstanceFn = HRESULT (*)(REFIID iid, void** out);

// Answers DllGetClassObject for `clsid` (CLASS_E_CLASSNOTAVAILABLE for any other class).
HRESULT GetClassObject(REFCLSID requested, REFCLSID clsid, CreateInstanceFn create, REFIID iid,
                       void** out);

// A new factory with one reference, for CoRegisterClassObject in local servers.
IClassFactory* NewClassFactory(CreateInstanceFn create);

}  // namespace com
