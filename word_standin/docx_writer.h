// Writes a document as a WordprocessingML package (.docx): paragraphs and runs (font name,
// superscript), breaks, tables, text boxes, inline pictures with their media parts, headers and
// footers with page numbers, and the page setup.
#pragma once
#include <windows.h>

#include <string>

#include "document_model.h"

namespace standin {

// Replaces the file at `path`. A failure leaves any existing file as it was.
HRESULT WriteDocxFile(const std::wstring& path, const DocumentModel& doc);

}  // namespace standin
