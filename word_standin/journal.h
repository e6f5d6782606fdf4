// The call journal a test reads back: one UTF-8 line per member call received, in the form
// `Type.Member kind args` (see FormatCall), and one per name lookup (see FormatLookup).
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace standin {

// `VT_I4:0`, `VT_BSTR:"text"`, `VT_BOOL:-1`, `VT_R8:141.75`, `VT_DISPATCH`. A by-reference
// argument is written as `VT_BYREF|VT_XX:value` with the value it points to. Control characters
// in strings are written as \r, \n, \t or \xHH so that a call stays on one line.
std::wstring FormatArgument(const VARIANT& v);

// `kind` is get, put or call. `named` holds the names of the first params->cNamedArgs entries
// of rgvarg (empty for a put's value, which is written last).
std::wstring FormatCall(const std::wstring& type, const std::wstring& member, const wchar_t* kind,
                        const DISPPARAMS& params, const std::vector<std::wstring>& named);

// `Type.Member lookup Named1, Named2`: a GetIDsOfNames call for a member and its named arguments.
std::wstring FormatLookup(const std::wstring& type, const OLECHAR* const* names, UINT count);

// Appends the line to the journal file of the test control, if one is set.
void AppendJournalLine(const std::wstring& line);

}  // namespace standin
