// Filling placeholder fields with text (SetFieldText) and deleting those left (ClearConversion).
#include "hresult.h"
#include "word_constants.h"
#include "word_print_out.h"

namespace quorrel {
namespace {

using com::Variant;

constexpr HRESULT kFieldFailed = 0x80040201;

// Text form of the client's value, as the platform converts it (Empty gives "", Null fails).
HRESULT ToText(const VARIANT* value, com::Bstr* text) {
  if (!value) return E_POINTER;
  Variant v;
  RETURN_IF_FAILED(VariantChangeTypeEx(v.Ptr(), const_cast<VARIANT*>(value), LOCALE_USER_DEFAULT,
                                       VARIANT_ALPHABOOL, VT_BSTR));
  *text = com::Bstr::Adopt(V_BSTR(v.Ptr()));
  V_VT(v.Ptr()) = VT_EMPTY;
  return S_OK;
}

}  // namespace

HRESULT WordPrintOut::ReplaceAllInRange(bool* found) {
  WordObject find;
  RETURN_IF_FAILED(InsertionRange().Child(L"Find", WordType::Find, &find));
  Variant result;
  RETURN_IF_FAILED(find.CallNamed(L"Execute", {{L"Replace", Variant::I4(kReplaceAll)}},
                                  result.Ptr()));
  if (found) {
    RETURN_IF_FAILED(result.ChangeType(VT_BOOL));
    *found = V_BOOL(result.Ptr()) != VARIANT_FALSE;
  }
  return S_OK;
}

HRESULT WordPrintOut::SetFieldText(BSTR* StFieldname, VARIANT* StText, VARIANT_BOOL* BoWildCard,
                                   LONG* ret) {
  if (!ret) return E_POINTER;
  *ret = -1;
  // The failure carries the number only: no description left on the thread by an earlier call,
  // or by code that ran while this one waited for Word.
  auto fail = [] {
    SetErrorInfo(0, nullptr);
    return kFieldFailed;
  };
  if (word_out_err_ == OutCancel) return fail();  // Word is not touched once cancelled
  word_out_err_ = NonErr;

  com::Bstr text;
  if (FAILED(ToText(StText, &text))) return fail();
  const wchar_t* field = (StFieldname && *StFieldname) ? *StFieldname : L"";
  bool wildcards = BoWildCard && *BoWildCard != VARIANT_FALSE;
  bool found = false;
  if (FAILED(SetFindReplace(field, text.Get() ? text.Get() : L"", wildcards)) ||
      FAILED(ReplaceAllInRange(&found))) {
    return fail();
  }
  *ret = found ? 0 : -1;
  return S_OK;
}

HRESULT WordPrintOut::ClearConversion() {
  // Runs on the insertion range's Find, which holds the conditions just set, so the leftover
  // placeholders go whatever Word's selection covers.
  if (SUCCEEDED(SetFindReplace(L"#*#", L"", true)) && SUCCEEDED(ReplaceAllInRange(nullptr))) {
    InsertionRange().Call(L"Collapse", {Variant::I4(kCollapseEnd)});
  }
  return S_OK;
}

}  // namespace quorrel
