#include "word_error.h"

#include "error_info.h"

namespace standin {

HRESULT WordError(REFIID iid, int number, const wchar_t* description) {
  return com::ReportError(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number), iid,
                          L"Microsoft Word", description);
}

HRESULT ObjectDeleted(REFIID iid) {
  return WordError(iid, kObjectDeleted, L"Object has been deleted.");
}

HRESULT ClipboardEmpty(REFIID iid) {
  return WordError(iid, kNotAvailable,
                   L"This method or property is not available because the Clipboard is empty "
                   L"or not valid.");
}

}  // namespace standin
