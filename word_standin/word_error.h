// Word's run-time errors: clients see DISP_E_EXCEPTION with scode 0x800A0000 + the error number
// and Word's description, as late-bound callers of Word do.
#pragma once
#include <windows.h>

namespace standin {

enum WordErrorNumber {
  kTypeMismatch = 13,
  kNoDocumentOpen = 4248,       // "This command is not available because no document is open."
  kBadParameter = 5843,         // a parameter value is out of its range
  kNoSuchMember = 5941,         // "The requested member of the collection does not exist."
  kStringTooLong = 5854,
  kCommandFailed = 4198,
  kValueOutOfRange = 4608,
  kObjectDeleted = 5825,
  kBadPattern = 5560,           // "The Find What text contains a Pattern Match expression ..."
  kFileNotFound = 5174,         // "This file could not be found."
  kFileCorrupt = 5792,          // "The file appears to be corrupted."
  kBadFileName = 5152,          // "This is not a valid file name." (a picture file)
  kNotAvailable = 4605,         // "This method or property is not available ..."
};

HRESULT WordError(REFIID iid, int number, const wchar_t* description);

// For members of an object whose document was closed.
HRESULT ObjectDeleted(REFIID iid);

// For Paste when the clipboard holds nothing Word can paste.
HRESULT ClipboardEmpty(REFIID iid);

}  // namespace standin
