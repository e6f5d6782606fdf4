// Word's Sections, Section, HeadersFooters, HeaderFooter and PageNumbers. A document here has
// one section, with the three headers and footers Word gives every section.
#include "automation_object.h"
#include "objects.h"
#include "optional_args.h"
#include "word_error.h"

namespace standin {
namespace {

HRESULT NewHeadersFooters(const DocumentPtr& doc, bool footers, HeadersFooters** out);
HRESULT NewHeaderFooter(const DocumentPtr& doc, HeaderFooterModel* model, HeaderFooter** out);
HRESULT NewPageNumbers(const DocumentPtr& doc, HeaderFooterModel* model, PageNumbers** out);
HRESULT NewSection(const DocumentPtr& doc, Section** out);

HRESULT NoSuchMember(REFIID iid) {
  return WordError(iid, kNoSuchMember, L"The requested member of the collection does not exist.");
}

class SectionsObject final : public AutomationObject<Sections> {
 public:
  explicit SectionsObject(DocumentPtr doc) : AutomationObject(L"Sections"), doc_(std::move(doc)) {}
  HRESULT STDMETHODCALLTYPE Item(LONG Index, Section** prop) override {
    if (Index != 1) return NoSuchMember(IID_Sections);
    return NewSection(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    *prop = 1;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
};

class SectionObject final : public AutomationObject<Section> {
 public:
  explicit SectionObject(DocumentPtr doc) : AutomationObject(L"Section"), doc_(std::move(doc)) {}
  HRESULT STDMETHODCALLTYPE get_Headers(HeadersFooters** prop) override {
    return NewHeadersFooters(doc_, false, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Footers(HeadersFooters** prop) override {
    return NewHeadersFooters(doc_, true, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Range(Range** prop) override {
    return NewRange(doc_, doc_->main, 0, doc_->main->length(), prop);
  }

 private:
  DocumentPtr doc_;
};

// Index: wdHeaderFooterPrimary 1, wdHeaderFooterFirstPage 2, wdHeaderFooterEvenPages 3.
class HeadersFootersObject final : public AutomationObject<HeadersFooters> {
 public:
  HeadersFootersObject(DocumentPtr doc, bool footers)
      : AutomationObject(L"HeadersFooters"), doc_(std::move(doc)), footers_(footers) {}
  HRESULT STDMETHODCALLTYPE Item(LONG Index, HeaderFooter** prop) override {
    if (Index < 1 || Index > 3) return NoSuchMember(IID_HeadersFooters);
    HeaderFooterModel* model = footers_ ? &doc_->footers[Index - 1] : &doc_->headers[Index - 1];
    return NewHeaderFooter(doc_, model, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    *prop = 3;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
  bool footers_;
};

// The model lives inside the document, which the object keeps alive.
class HeaderFooterObject final : public AutomationObject<HeaderFooter> {
 public:
  HeaderFooterObject(DocumentPtr doc, HeaderFooterModel* model)
      : AutomationObject(L"HeaderFooter"), doc_(std::move(doc)), model_(model) {}
  HRESULT STDMETHODCALLTYPE get_Range(Range** prop) override {
    return NewRange(doc_, model_->story, 0, model_->story->length(), prop);
  }
  HRESULT STDMETHODCALLTYPE get_PageNumbers(PageNumbers** prop) override {
    return NewPageNumbers(doc_, model_, prop);
  }

 private:
  DocumentPtr doc_;
  HeaderFooterModel* model_;
};

class PageNumbersObject final : public AutomationObject<PageNumbers> {
 public:
  PageNumbersObject(DocumentPtr doc, HeaderFooterModel* model)
      : AutomationObject(L"PageNumbers"), doc_(std::move(doc)), model_(model) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    *prop = model_->page_numbers.count;
    return S_OK;
  }
  // PageNumberAlignment (WdPageNumberAlignment): 0 left, 1 centre (default), 2 right, 3 inside,
  // 4 outside. FirstPage False leaves the number off the first page.
  HRESULT STDMETHODCALLTYPE Add(VARIANT* PageNumberAlignment, VARIANT* FirstPage) override {
    if (doc_->closed) return ObjectDeleted(IID_PageNumbers);
    LONG alignment = 1;
    bool first_page = true;
    if (FAILED(OptionalLong(PageNumberAlignment, 1, &alignment)) ||
        FAILED(OptionalBool(FirstPage, true, &first_page)))
      return WordError(IID_PageNumbers, kTypeMismatch, L"Type mismatch.");
    if (alignment < 0 || alignment > 4)
      return WordError(IID_PageNumbers, kValueOutOfRange, L"Value out of range.");
    ++model_->page_numbers.count;
    model_->page_numbers.alignment = alignment;
    model_->page_numbers.first_page = first_page;
    doc_->saved = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ShowFirstPageNumber(VARIANT_BOOL* prop) override {
    *prop = model_->page_numbers.first_page ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Alignment(LONG* prop) override {
    *prop = model_->page_numbers.alignment;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
  HeaderFooterModel* model_;
};

HRESULT NewHeadersFooters(const DocumentPtr& doc, bool footers, HeadersFooters** out) {
  return NewObject<HeadersFootersObject>(out, doc, footers);
}
HRESULT NewHeaderFooter(const DocumentPtr& doc, HeaderFooterModel* model, HeaderFooter** out) {
  return NewObject<HeaderFooterObject>(out, doc, model);
}
HRESULT NewPageNumbers(const DocumentPtr& doc, HeaderFooterModel* model, PageNumbers** out) {
  return NewObject<PageNumbersObject>(out, doc, model);
}
HRESULT NewSection(const DocumentPtr& doc, Section** out) {
  return NewObject<SectionObject>(out, doc);
}

}  // namespace

HRESULT NewSections(const DocumentPtr& doc, Sections** out) {
  return NewObject<SectionsObject>(out, doc);
}

}  // namespace standin
