// Word's Application object.
#include "automation_object.h"
#include "bstr.h"
#include "document_save.h"
#include "hresult.h"
#include "objects.h"
#include "optional_args.h"
#include "server_lifetime.h"
#include "test_control.h"
#include "word_error.h"

namespace standin {
namespace {

class ApplicationObject final : public AutomationObject<_Application> {
 public:
  ApplicationObject() : AutomationObject(L"Application") {}

  HRESULT STDMETHODCALLTYPE get_Name(BSTR* prop) override {
    return com::Bstr(L"Microsoft Word").CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Version(BSTR* prop) override {
    return com::Bstr(Control().version).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Documents(Documents** prop) override { return NewDocuments(prop); }
  HRESULT STDMETHODCALLTYPE get_DisplayAlerts(LONG* prop) override {
    *prop = App().display_alerts;
    return S_OK;
  }
  // WdAlertLevel: -1 all, -2 message boxes only, 0 none.
  HRESULT STDMETHODCALLTYPE put_DisplayAlerts(LONG prop) override {
    if (prop != 0 && prop != -1 && prop != -2)
      return WordError(IID__Application, kValueOutOfRange, L"Value out of range.");
    App().display_alerts = prop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* prop) override {
    *prop = App().visible ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  // A visible Word belongs to its user: it no longer ends when its last client lets go.
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL prop) override {
    App().visible = prop != VARIANT_FALSE;
    SetUserControl(App().visible);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_WindowState(LONG* prop) override {
    *prop = App().window_state;
    return S_OK;
  }
  // WdWindowState: 0 normal, 1 maximised, 2 minimised.
  HRESULT STDMETHODCALLTYPE put_WindowState(LONG prop) override {
    if (prop < 0 || prop > 2)
      return WordError(IID__Application, kValueOutOfRange, L"Value out of range.");
    App().window_state = prop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Activate() override { return S_OK; }

  // SaveChanges (WdSaveOptions): 0 do not save, -1 save, -2 prompt. With -1 every document is
  // saved as Close does; one that cannot be saved stops the quit with the documents still open.
  // With 0, and with -2 where no one can answer, they are discarded as Word does.
  HRESULT STDMETHODCALLTYPE Quit(VARIANT* SaveChanges, VARIANT* OriginalFormat,
                                 VARIANT* RouteDocument) override {
    LONG save = -2;
    if (FAILED(OptionalLong(SaveChanges, -2, &save)))
      return WordError(IID__Application, kTypeMismatch, L"Type mismatch.");
    if (save == -1) {
      for (const DocumentPtr& doc : App().documents)
        if (doc->full_path.empty() && !doc->saved)
          return SaveBeforeClose(doc, IID__Application);
      for (const DocumentPtr& doc : App().documents)
        RETURN_IF_FAILED(SaveBeforeClose(doc, IID__Application));
    }
    while (!App().documents.empty()) App().Close(App().documents.back());
    RequestExit();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Selection(Selection** prop) override {
    if (!App().active) return NoDocument();
    return NewSelection(App().active, prop);
  }
  HRESULT STDMETHODCALLTYPE get_ActiveDocument(_Document** prop) override {
    if (!App().active) return NoDocument();
    return NewDocument(App().active, prop);
  }
  HRESULT STDMETHODCALLTYPE get_ActiveWindow(Window** prop) override {
    if (!App().active) return NoDocument();
    return NewWindow(App().active, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Application(_Application** prop) override {
    return NewApplication(prop);
  }
  HRESULT STDMETHODCALLTYPE get_UserControl(VARIANT_BOOL* prop) override {
    *prop = App().visible ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

 private:
  static HRESULT NoDocument() {
    return WordError(IID__Application, kNoDocumentOpen,
                     L"This command is not available because no document is open.");
  }
};

}  // namespace

HRESULT NewApplication(_Application** out) { return NewObject<ApplicationObject>(out); }

}  // namespace standin
