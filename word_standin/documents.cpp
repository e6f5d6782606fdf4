// Word's Documents collection.
#include "automation_object.h"
#include "docx_reader.h"
#include "objects.h"
#include "variant.h"
#include "optional_args.h"
#include "word_error.h"

namespace standin {
namespace {

class DocumentsObject final : public AutomationObject<Documents> {
 public:
  DocumentsObject() : AutomationObject(L"Documents") {}

  HRESULT STDMETHODCALLTYPE Item(VARIANT* Index, _Document** prop) override {
    DocumentPtr doc = Index ? App().Find(*Index) : nullptr;
    if (!doc)
      return WordError(IID_Documents, kNoSuchMember,
                       L"The requested member of the collection does not exist.");
    return NewDocument(doc, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    *prop = static_cast<LONG>(App().documents.size());
    return S_OK;
  }
  // Template and the other arguments are accepted and not used: every new document is empty.
  HRESULT STDMETHODCALLTYPE Add(VARIANT* Template, VARIANT* NewTemplate, VARIANT* DocumentType,
                                VARIANT* Visible, _Document** prop) override {
    return NewDocument(App().AddDocument(), prop);
  }
  HRESULT STDMETHODCALLTYPE get_Application(_Application** prop) override {
    return NewApplication(prop);
  }
  // Opens a .docx as a new document named by its file name, and makes it active. A file that
  // is already open is activated instead, as Word does. The other arguments are accepted and
  // not used.
  HRESULT STDMETHODCALLTYPE Open(VARIANT* FileName, VARIANT* ConfirmConversions, VARIANT* ReadOnly,
                                 VARIANT* AddToRecentFiles, VARIANT* PasswordDocument,
                                 VARIANT* PasswordTemplate, VARIANT* Revert,
                                 VARIANT* WritePasswordDocument, VARIANT* WritePasswordTemplate,
                                 VARIANT* Format, VARIANT* Encoding, VARIANT* Visible,
                                 _Document** prop) override {
    std::wstring name;
    if (IsOmitted(FileName) || FAILED(OptionalString(FileName, L"", &name)))
      return WordError(IID_Documents, kTypeMismatch, L"Type mismatch.");
    std::wstring path = FullPath(name);
    com::Variant key;
    V_VT(key.Ptr()) = VT_BSTR;
    V_BSTR(key.Ptr()) = SysAllocString(path.c_str());
    if (DocumentPtr open = App().Find(*key.Ptr())) {
      App().Activate(open);
      return NewDocument(open, prop);
    }
    auto doc = std::make_shared<DocumentModel>();
    switch (ReadDocxFile(path, doc.get())) {
      case DocxResult::kOk:
        break;
      case DocxResult::kNotFound:
        return WordError(IID_Documents, kFileNotFound,
                         (L"This file could not be found.\r\n(" + path + L")").c_str());
      case DocxResult::kUnreadable:
        return WordError(IID_Documents, kCommandFailed,
                         (L"Word cannot open this file.\r\n(" + path + L")").c_str());
      case DocxResult::kCorrupt:
        return WordError(IID_Documents, kFileCorrupt,
                         (L"The file appears to be corrupted.\r\n(" + path + L")").c_str());
    }
    doc->full_path = path;
    doc->name = path.substr(path.find_last_of(L"\\/") + 1);
    App().AddOpened(doc);
    return NewDocument(doc, prop);
  }

 private:
  // Word opens a relative name from the current folder.
  static std::wstring FullPath(const std::wstring& name) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(name.c_str(), ARRAYSIZE(buffer), buffer, nullptr);
    return n > 0 && n < ARRAYSIZE(buffer) ? std::wstring(buffer, n) : name;
  }
};

}  // namespace

HRESULT NewDocuments(Documents** out) { return NewObject<DocumentsObject>(out); }

}  // namespace standin
