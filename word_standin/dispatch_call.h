// The IDispatch::Invoke of every stand-in object: journals the call as received, fails it when
// a test asked so, applies Word's default-member rule, then lets the type library invoke it.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace standin {

HRESULT DispatchCall(const wchar_t* type_name, IDispatch* self, REFIID iid, DISPID id, WORD flags,
                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* arg_err);

}  // namespace standin
