// Word's Document object.
#include "automation_object.h"
#include "bstr.h"
#include "objects.h"
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

 private:
  DocumentPtr doc_;
};

}  // namespace

HRESULT NewDocument(const DocumentPtr& doc, _Document** out) {
  return NewObject<DocumentObject>(out, doc);
}

}  // namespace standin
