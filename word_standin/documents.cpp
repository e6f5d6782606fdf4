// Word's Documents collection.
#include "automation_object.h"
#include "objects.h"
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
};

}  // namespace

HRESULT NewDocuments(Documents** out) { return NewObject<DocumentsObject>(out); }

}  // namespace standin
