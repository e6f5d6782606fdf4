// Late-bound calls by member name through IDispatch, with positional and named arguments.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "bstr.h"
#include "com_ptr.h"
#include "variant.h"

namespace com {

// What a failed call reported: the HRESULT and, for DISP_E_EXCEPTION, the server's EXCEPINFO.
struct CallError {
  HRESULT hr = S_OK;
  HRESULT scode = S_OK;  // the server's own code when hr is DISP_E_EXCEPTION, else hr
  Bstr source;
  Bstr description;
  UINT arg_err = 0;
};

struct NamedArg {
  const wchar_t* name;
  Variant value;
};

// DISPIDs of members (and of their named arguments) resolved once and reused. One cache serves
// objects of one type only: the same name may have other DISPIDs on another type.
class DispidCache {
 public:
  HRESULT Lookup(IDispatch* obj, const wchar_t* member, const std::vector<const wchar_t*>& named,
                 std::vector<DISPID>* ids);
  size_t size() const { return ids_.size(); }

 private:
  std::map<std::wstring, std::vector<DISPID>> ids_;
};

// One call. `args` are positional, first argument first. On failure fills `error` (if given)
// and returns the failing HRESULT, with DISP_E_EXCEPTION mapped to the server's scode.
HRESULT Invoke(IDispatch* obj, const wchar_t* member, WORD flags, std::vector<Variant> args,
               std::vector<NamedArg> named, VARIANT* result, CallError* error = nullptr,
               DispidCache* cache = nullptr);

// Shorthands for the common shapes.
HRESULT CallMethod(IDispatch* obj, const wchar_t* member, std::vector<Variant> args = {},
                   VARIANT* result = nullptr, CallError* error = nullptr,
                   DispidCache* cache = nullptr);
HRESULT GetProperty(IDispatch* obj, const wchar_t* member, VARIANT* result,
                    std::vector<Variant> args = {}, CallError* error = nullptr,
                    DispidCache* cache = nullptr);
HRESULT PutProperty(IDispatch* obj, const wchar_t* member, const Variant& value,
                    CallError* error = nullptr, DispidCache* cache = nullptr);
// A get (or call) whose result must be an object.
HRESULT GetObject(IDispatch* obj, const wchar_t* member, ComPtr<IDispatch>* out,
                  std::vector<Variant> args = {}, CallError* error = nullptr,
                  DispidCache* cache = nullptr);

}  // namespace com
