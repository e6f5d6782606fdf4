// A test client of WordPrintOut: creates it by ProgID, as an early-bound client would, and
// reaches Word's objects late-bound for checks.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "com_ptr.h"
#include "late_bound.h"
#include "quorrel_h.h"

namespace quorrel_test {

com::ComPtr<_WordPrintOut> CreateWordPrintOut();

// Late-bound get of a path of members, e.g. {"Content", "Text"}; Empty on failure.
com::Variant GetPath(IDispatch* root, const std::vector<const wchar_t*>& path);

std::wstring GetText(IDispatch* root, const std::vector<const wchar_t*>& path);

// Quits the Word application behind `obj` (any Word object with an Application member)
// without saving; used to leave no process behind after a finished run.
void QuitWord(IDispatch* obj);

}  // namespace quorrel_test
