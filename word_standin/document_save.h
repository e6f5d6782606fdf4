// Saving a document as Word does: the file, then its name, full name and saved state.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "app_state.h"

namespace standin {

// SaveAs: `file_name` (omitted: the document's own path, or its name in the current folder)
// in `file_format` (omitted, wdFormatXMLDocument 12 or wdFormatDocumentDefault 16: the only
// format written here). Errors are Word's, reported for interface `iid`.
HRESULT SaveDocumentAs(const DocumentPtr& doc, const VARIANT* file_name, const VARIANT* file_format,
                       REFIID iid);

// Close or Quit with wdSaveChanges: a document with a path is saved to it. A changed document
// that was never saved would make Word ask for a name; no one can answer here, so it fails
// and stays open rather than losing its text.
HRESULT SaveBeforeClose(const DocumentPtr& doc, REFIID iid);

}  // namespace standin
