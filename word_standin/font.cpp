// Word's Font (character formatting of a range) and ParagraphFormat.
#include "automation_object.h"
#include "bstr.h"
#include "objects.h"
#include "word_error.h"

namespace standin {
namespace {

constexpr LONG kUndefined = 9999999;  // wdUndefined: the range mixes values

class FontObject final : public AutomationObject<_Font> {
 public:
  FontObject(std::shared_ptr<Story> story, std::shared_ptr<Span> span)
      : AutomationObject(L"Font"), story_(std::move(story)), span_(std::move(span)) {}

  // A range with several fonts reads as the empty name; a collapsed one reads the character
  // before it.
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* prop) override {
    std::wstring name;
    bool first = true;
    for (LONG i = From(); i < To(); ++i) {
      const std::wstring& here = story_->FormatAt(i).font_name;
      if (first) name = here; else if (name != here) name.clear();
      first = false;
    }
    return com::Bstr(name).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR prop) override {
    std::wstring name(prop ? prop : L"", SysStringLen(prop));
    story_->SetFormat(span_->start, span_->end, [&](CharFormat* f) { f->font_name = name; });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Superscript(LONG* prop) override {
    LONG value = 0;
    bool first = true;
    for (LONG i = From(); i < To(); ++i) {
      LONG here = story_->FormatAt(i).superscript ? -1 : 0;
      if (first) value = here; else if (value != here) value = kUndefined;
      first = false;
    }
    *prop = value;
    return S_OK;
  }
  // True (-1 or 1) or False (0); anything else is Word's "value out of range".
  HRESULT STDMETHODCALLTYPE put_Superscript(LONG prop) override {
    if (prop != 0 && prop != -1 && prop != 1)
      return WordError(IID__Font, kValueOutOfRange, L"Value out of range.");
    story_->SetFormat(span_->start, span_->end, [&](CharFormat* f) { f->superscript = prop != 0; });
    return S_OK;
  }

 private:
  LONG From() const {
    return span_->start == span_->end && span_->start > 0 ? span_->start - 1 : span_->start;
  }
  LONG To() const { return span_->start == span_->end ? From() + 1 : span_->end; }

  std::shared_ptr<Story> story_;
  std::shared_ptr<Span> span_;
};

// The line-height grid setting is kept for the document as a whole.
class ParagraphFormatObject final : public AutomationObject<_ParagraphFormat> {
 public:
  explicit ParagraphFormatObject(DocumentPtr doc)
      : AutomationObject(L"ParagraphFormat"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_DisableLineHeightGrid(LONG* prop) override {
    *prop = doc_->disable_line_height_grid ? -1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_DisableLineHeightGrid(LONG prop) override {
    doc_->disable_line_height_grid = prop != 0;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
};

}  // namespace

HRESULT NewFont(const std::shared_ptr<Story>& story, const std::shared_ptr<Span>& span,
                _Font** out) {
  return NewObject<FontObject>(out, story, span);
}

HRESULT NewParagraphFormat(const DocumentPtr& doc, _ParagraphFormat** out) {
  return NewObject<ParagraphFormatObject>(out, doc);
}

}  // namespace standin
