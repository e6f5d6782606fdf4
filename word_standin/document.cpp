// Word's Document object.
#include "automation_object.h"
#include "bstr.h"
#include "hresult.h"
#include "document_save.h"
#include "objects.h"
#include "optional_args.h"
#include "word_error.h"

namespace standin {
namespace {

class DocumentObject final : public AutomationObject<_Document> {
 public:
  explicit DocumentObject(DocumentPtr doc) : AutomationObject(L"Document"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_Name(BSTR* prop) override {
    return com::Bstr(doc_->name).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Application(_Application** prop) override {
    return NewApplication(prop);
  }
  // FullName of a document never saved is its name, and its Path is empty.
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR* prop) override {
    return com::Bstr(doc_->full_path.empty() ? doc_->name : doc_->full_path).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR* prop) override {
    const std::wstring& path = doc_->full_path;
    return com::Bstr(path.substr(0, path.empty() ? 0 : path.find_last_of(L'\\'))).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Saved(VARIANT_BOOL* prop) override {
    *prop = doc_->saved ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Activate() override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    App().Activate(doc_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ActiveWindow(Window** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewWindow(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Content(::Range** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewRange(doc_, doc_->main, 0, doc_->main->length(), prop);
  }
  // Start and End default to the start and the end of the main story; a start past the end
  // is Word's "value out of range".
  HRESULT STDMETHODCALLTYPE Range(VARIANT* Start, VARIANT* End, ::Range** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    LONG start = 0, end = doc_->main->length();
    if (FAILED(OptionalLong(Start, 0, &start)) || FAILED(OptionalLong(End, end, &end)))
      return WordError(IID__Document, kTypeMismatch, L"Type mismatch.");
    if (start < 0 || end < start || end > doc_->main->length())
      return WordError(IID__Document, kValueOutOfRange, L"Value out of range.");
    return NewRange(doc_, doc_->main, start, end, prop);
  }
  HRESULT STDMETHODCALLTYPE get_PageSetup(PageSetup** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewPageSetup(doc_, prop);
  }
  // SaveChanges (WdSaveOptions): 0 do not save, -1 save, -2 prompt (given as any integer type).
  // With -1 the document is saved first (see SaveBeforeClose); with -2 no one can answer the
  // prompt, so the document closes unsaved, as Word does with alerts off.
  HRESULT STDMETHODCALLTYPE Close(VARIANT* SaveChanges, VARIANT* OriginalFormat,
                                  VARIANT* RouteDocument) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    LONG save = -2;
    if (FAILED(OptionalLong(SaveChanges, -2, &save)))
      return WordError(IID__Document, kTypeMismatch, L"Type mismatch.");
    if (save == -1) RETURN_IF_FAILED(SaveBeforeClose(doc_, IID__Document));
    App().Close(doc_);
    return S_OK;
  }
  // The other arguments of Word's SaveAs are accepted and have no effect here.
  HRESULT STDMETHODCALLTYPE SaveAs(VARIANT* FileName, VARIANT* FileFormat, VARIANT*, VARIANT*,
                                   VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                   VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                   VARIANT*) override {
    return SaveDocumentAs(doc_, FileName, FileFormat, IID__Document);
  }
  HRESULT STDMETHODCALLTYPE SaveAs2(VARIANT* FileName, VARIANT* FileFormat, VARIANT*, VARIANT*,
                                    VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                    VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                    VARIANT*) override {
    return SaveDocumentAs(doc_, FileName, FileFormat, IID__Document);
  }
  HRESULT STDMETHODCALLTYPE get_Sections(Sections** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewSections(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Tables(Tables** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewTables(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Shapes(Shapes** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewShapes(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_InlineShapes(InlineShapes** prop) override {
    if (doc_->closed) return ObjectDeleted(IID__Document);
    return NewInlineShapes(doc_, doc_->main, nullptr, prop);
  }

 private:
  DocumentPtr doc_;
};

}  // namespace

HRESULT NewDocument(const DocumentPtr& doc, _Document** out) {
  return NewObject<DocumentObject>(out, doc);
}

}  // namespace standin
