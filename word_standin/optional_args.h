// Reading Word's optional VARIANT arguments: an omitted one arrives as VT_ERROR
// DISP_E_PARAMNOTFOUND (or VT_EMPTY); a given one is converted with the platform's rules.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace standin {

bool IsOmitted(const VARIANT* v);

// DISP_E_TYPEMISMATCH when a given value does not convert.
HRESULT OptionalLong(const VARIANT* v, LONG fallback, LONG* out);
HRESULT OptionalBool(const VARIANT* v, bool fallback, bool* out);
HRESULT OptionalString(const VARIANT* v, const std::wstring& fallback, std::wstring* out);

}  // namespace standin
