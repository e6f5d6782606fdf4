#include "document_save.h"

#include <string>

#include "docx_writer.h"
#include "optional_args.h"
#include "word_error.h"

namespace standin {
namespace {

constexpr LONG kFormatXmlDocument = 12;      // wdFormatXMLDocument
constexpr LONG kFormatDocumentDefault = 16;  // wdFormatDocumentDefault

std::wstring FullPath(const std::wstring& name) {
  wchar_t buffer[MAX_PATH * 2];
  DWORD n = GetFullPathNameW(name.c_str(), ARRAYSIZE(buffer), buffer, nullptr);
  return n > 0 && n < ARRAYSIZE(buffer) ? std::wstring(buffer, n) : std::wstring();
}

HRESULT Save(const DocumentPtr& doc, const std::wstring& path, REFIID iid) {
  const HRESULT hr = WriteDocxFile(path, *doc);
  if (FAILED(hr)) {
    return WordError(iid, kCommandFailed,
                     (L"Word cannot save this file.\r\n(" + path + L")").c_str());
  }
  doc->full_path = path;
  doc->name = path.substr(path.find_last_of(L"\\/") + 1);
  doc->saved = true;
  return S_OK;
}

}  // namespace

HRESULT SaveDocumentAs(const DocumentPtr& doc, const VARIANT* file_name, const VARIANT* file_format,
                       REFIID iid) {
  if (doc->closed) return ObjectDeleted(iid);
  std::wstring name;
  LONG format = kFormatDocumentDefault;
  if (FAILED(OptionalString(file_name, L"", &name)) ||
      FAILED(OptionalLong(file_format, kFormatDocumentDefault, &format)))
    return WordError(iid, kTypeMismatch, L"Type mismatch.");
  if (format != kFormatXmlDocument && format != kFormatDocumentDefault)
    return WordError(iid, kValueOutOfRange, L"Value out of range.");
  if (name.empty()) name = doc->full_path.empty() ? doc->name + L".docx" : doc->full_path;
  const std::wstring path = FullPath(name);
  if (path.empty() || path.back() == L'\\' || path.back() == L'/' ||
      path.find_first_of(L"*?\"<>|", 2) != std::wstring::npos)
    return WordError(iid, kBadFileName, L"This is not a valid file name.");
  // Word refuses to take the name of another open document.
  for (const DocumentPtr& other : App().documents) {
    if (other != doc && !other->full_path.empty() &&
        CompareStringOrdinal(other->full_path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL)
      return WordError(iid, kCommandFailed,
                       L"Word cannot give a document the same name as an open document.");
  }
  return Save(doc, path, iid);
}

HRESULT SaveBeforeClose(const DocumentPtr& doc, REFIID iid) {
  if (!doc->full_path.empty()) return Save(doc, doc->full_path, iid);
  if (doc->saved) return S_OK;
  return WordError(iid, kCommandFailed,
                   (doc->name + L" has never been saved: save it with SaveAs before closing it "
                                L"with SaveChanges.")
                       .c_str());
}

}  // namespace standin
