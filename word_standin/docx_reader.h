// Reads a WordprocessingML package (.docx) into a document: paragraphs and runs (font name,
// superscript), page and line breaks, tables, floating shapes (text boxes with their own text,
// other shapes by kind), inline pictures, and the page setup of the last section.
#pragma once
#include <windows.h>

#include <string>

#include "document_model.h"

namespace standin {

enum class DocxResult { kOk, kNotFound, kUnreadable, kCorrupt };

DocxResult ReadDocxFile(const std::wstring& path, DocumentModel* doc);

}  // namespace standin
