// Error descriptions that travel with a failing HRESULT (IErrorInfo).
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace com {

// Sets the thread's error info for a failure of interface `iid` and returns `hr`, so that a
// method can end with `return ReportError(...)`.
HRESULT ReportError(HRESULT hr, REFIID iid, const wchar_t* source, const wchar_t* description);

}  // namespace com
