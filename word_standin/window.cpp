// A document's window and what hangs from it: Window, Pane, View and Zoom.
#include "automation_object.h"
#include "bstr.h"
#include "objects.h"
#include "word_error.h"

namespace standin {
namespace {

class WindowObject final : public AutomationObject<Window> {
 public:
  explicit WindowObject(DocumentPtr doc) : AutomationObject(L"Window"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* prop) override {
    return com::Bstr(doc_->name).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_ActivePane(Pane** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Window);
    return NewPane(doc_, prop);
  }
  // Activating a window makes its document the active one.
  HRESULT STDMETHODCALLTYPE Activate() override {
    if (doc_->closed) return ObjectDeleted(IID_Window);
    App().Activate(doc_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_View(View** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Window);
    return NewView(doc_, prop);
  }
  // Document windows share the application window's state in the single-window interface.
  HRESULT STDMETHODCALLTYPE get_WindowState(LONG* prop) override {
    *prop = App().window_state;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_WindowState(LONG prop) override {
    if (prop < 0 || prop > 2) return WordError(IID_Window, kValueOutOfRange, L"Value out of range.");
    App().window_state = prop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Document(_Document** prop) override {
    return NewDocument(doc_, prop);
  }

 private:
  DocumentPtr doc_;
};

class PaneObject final : public AutomationObject<Pane> {
 public:
  explicit PaneObject(DocumentPtr doc) : AutomationObject(L"Pane"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_VerticalPercentScrolled(LONG* prop) override {
    *prop = doc_->vertical_percent_scrolled;
    return S_OK;
  }
  // Word keeps the value within 0 to 100.
  HRESULT STDMETHODCALLTYPE put_VerticalPercentScrolled(LONG prop) override {
    doc_->vertical_percent_scrolled = prop < 0 ? 0 : (prop > 100 ? 100 : prop);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_View(View** prop) override { return NewView(doc_, prop); }

 private:
  DocumentPtr doc_;
};

class ViewObject final : public AutomationObject<View> {
 public:
  explicit ViewObject(DocumentPtr doc) : AutomationObject(L"View"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_Zoom(Zoom** prop) override { return NewZoom(doc_, prop); }

 private:
  DocumentPtr doc_;
};

class ZoomObject final : public AutomationObject<Zoom> {
 public:
  explicit ZoomObject(DocumentPtr doc) : AutomationObject(L"Zoom"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_Percentage(LONG* prop) override {
    *prop = doc_->zoom_percentage;
    return S_OK;
  }
  // Word accepts 10 to 500 percent and raises an error for anything else.
  HRESULT STDMETHODCALLTYPE put_Percentage(LONG prop) override {
    if (prop < 10 || prop > 500)
      return WordError(IID_Zoom, kValueOutOfRange, L"Value out of range.");
    doc_->zoom_percentage = prop;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
};

}  // namespace

HRESULT NewWindow(const DocumentPtr& doc, Window** out) { return NewObject<WindowObject>(out, doc); }
HRESULT NewPane(const DocumentPtr& doc, Pane** out) { return NewObject<PaneObject>(out, doc); }
HRESULT NewView(const DocumentPtr& doc, View** out) { return NewObject<ViewObject>(out, doc); }
HRESULT NewZoom(const DocumentPtr& doc, Zoom** out) { return NewObject<ZoomObject>(out, doc); }

}  // namespace standin
