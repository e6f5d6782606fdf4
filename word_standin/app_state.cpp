#include "app_state.h"

#include <algorithm>

#include "variant.h"

namespace standin {
namespace {

// Word names new documents after its user-interface language: "文書1" on a Japanese system,
// "Document1" on an English one, numbered on from 1 for the life of the process.
std::wstring UntitledName(int number) {
  const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
  return (japanese ? L"文書" : L"Document") + std::to_wstring(number);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

DocumentPtr AppState::AddDocument() {
  auto doc = std::make_shared<DocumentModel>();
  doc->name = UntitledName(++untitled_count);
  documents.push_back(doc);
  active = doc;
  return doc;
}

void AppState::AddOpened(const DocumentPtr& doc) {
  documents.push_back(doc);
  active = doc;
}

void AppState::Activate(const DocumentPtr& doc) { active = doc; }

void AppState::Close(const DocumentPtr& doc) {
  doc->closed = true;
  documents.erase(std::remove(documents.begin(), documents.end(), doc), documents.end());
  // Word activates the document opened before the closed one was active.
  if (active == doc) active = documents.empty() ? nullptr : documents.back();
}

DocumentPtr AppState::Find(const VARIANT& index) const {
  com::Variant key;
  if (FAILED(VariantCopyInd(key.Ptr(), const_cast<VARIANT*>(&index)))) return nullptr;
  if (key.Type() == VT_BSTR) {
    std::wstring name(V_BSTR(key.Ptr()), SysStringLen(V_BSTR(key.Ptr())));
    for (const DocumentPtr& doc : documents)
      if (SameText(doc->name, name) || (!doc->full_path.empty() && SameText(doc->full_path, name)))
        return doc;
    return nullptr;
  }
  if (FAILED(key.ChangeType(VT_I4))) return nullptr;
  LONG n = V_I4(key.Ptr());
  if (n < 1 || n > static_cast<LONG>(documents.size())) return nullptr;
  return documents[n - 1];
}

AppState& App() {
  static AppState state;
  return state;
}

}  // namespace standin
