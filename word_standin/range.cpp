// Word's Range: a span of one story that follows the edits made around it.
#include "automation_object.h"
#include "bstr.h"
#include "objects.h"
#include "optional_args.h"
#include "range_ops.h"
#include "word_error.h"

namespace standin {
namespace {

// Asked of a Range handed back by a client: only this server's own objects answer it.
// {5B0C27E1-7A1D-4C3B-9F4E-2D8A61C0B7A3}
constexpr GUID kOwnRange = {0x5b0c27e1, 0x7a1d, 0x4c3b, {0x9f, 0x4e, 0x2d, 0x8a, 0x61, 0xc0, 0xb7, 0xa3}};

constexpr LONG kPageBreak = 7;  // wdPageBreak
constexpr LONG kLineBreak = 6;  // wdLineBreak

class RangeObject final : public AutomationObject<Range> {
 public:
  RangeObject(DocumentPtr doc, std::shared_ptr<Story> story, LONG start, LONG end)
      : AutomationObject(L"Range"), doc_(std::move(doc)), story_(std::move(story)),
        span_(story_->Track(start, end)) {}

  void* FindOwnInterface(REFIID iid) override {
    return IsEqualIID(iid, kOwnRange) ? this : nullptr;
  }
  const std::shared_ptr<Story>& story() const { return story_; }
  const std::shared_ptr<Span>& span() const { return span_; }

  HRESULT STDMETHODCALLTYPE get_Text(BSTR* prop) override {
    return com::Bstr(VisibleText(*story_, span_->start, span_->end)).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE put_Text(BSTR prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    SetSpanText(story_.get(), span_.get(), std::wstring(prop ? prop : L"", SysStringLen(prop)));
    doc_->saved = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Start(LONG* prop) override {
    *prop = span_->start;
    return S_OK;
  }
  // Moving one end past the other moves both, as Word does; out of the story is clamped.
  HRESULT STDMETHODCALLTYPE put_Start(LONG prop) override {
    span_->start = prop;
    if (span_->end < prop) span_->end = prop;
    story_->Clamp(span_.get());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_End(LONG* prop) override {
    *prop = span_->end;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_End(LONG prop) override {
    span_->end = prop;
    if (span_->start > prop) span_->start = prop;
    if (span_->start < 0) span_->start = 0;
    story_->Clamp(span_.get());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE WholeStory() override {
    span_->start = 0;
    span_->end = story_->length();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Collapse(VARIANT* Direction) override {
    LONG direction = kCollapseStart;
    if (FAILED(OptionalLong(Direction, kCollapseStart, &direction))) return Mismatch();
    CollapseSpan(*story_, span_.get(), direction);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertAfter(BSTR Text) override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    InsertAfterSpan(story_.get(), span_.get(), std::wstring(Text ? Text : L"", SysStringLen(Text)));
    doc_->saved = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertBefore(BSTR Text) override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    InsertBeforeSpan(story_.get(), span_.get(), std::wstring(Text ? Text : L"", SysStringLen(Text)));
    doc_->saved = false;
    return S_OK;
  }
  // The break replaces the range, which ends up collapsed after it.
  HRESULT STDMETHODCALLTYPE InsertBreak(VARIANT* Type) override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    LONG type = kPageBreak;
    if (FAILED(OptionalLong(Type, kPageBreak, &type))) return Mismatch();
    if (type != kPageBreak && type != kLineBreak)
      return WordError(IID_Range, kBadParameter, L"Bad parameter.");
    SetSpanText(story_.get(), span_.get(), std::wstring(1, type == kPageBreak ? L'\f' : L'\v'));
    span_->start = span_->end;
    doc_->saved = false;
    return S_OK;
  }
  // Unit wdCharacter (1) only; Count characters after a collapsed range.
  HRESULT STDMETHODCALLTYPE Delete(VARIANT* Unit, VARIANT* Count, LONG* prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    LONG unit = 1, count = 1;
    if (FAILED(OptionalLong(Unit, 1, &unit)) || FAILED(OptionalLong(Count, 1, &count)))
      return Mismatch();
    if (unit != 1) return WordError(IID_Range, kBadParameter, L"Bad parameter.");
    *prop = DeleteSpan(story_.get(), span_.get(), count);
    if (*prop) doc_->saved = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Copy() override {
    if (span_->start == span_->end)
      return WordError(IID_Range, kCommandFailed, L"This method or property is not available "
                                                  L"because the object refers to an empty range.");
    if (FAILED(CopySpan(*story_, *span_)))
      return WordError(IID_Range, kCommandFailed, L"Command failed.");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Paste() override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    if (!PasteIntoSpan(story_.get(), span_.get()))
      return ClipboardEmpty(IID_Range);
    doc_->saved = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Find(Find** prop) override {
    return NewFind(doc_, story_, span_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Font(_Font** prop) override { return NewFont(story_, span_, prop); }
  HRESULT STDMETHODCALLTYPE get_ParagraphFormat(_ParagraphFormat** prop) override {
    return NewParagraphFormat(doc_, prop);
  }
  // A new range over the same text that follows edits on its own.
  HRESULT STDMETHODCALLTYPE get_Duplicate(::Range** prop) override {
    return NewRange(doc_, story_, span_->start, span_->end, prop);
  }
  HRESULT STDMETHODCALLTYPE get_InlineShapes(InlineShapes** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    return NewInlineShapes(doc_, story_, span_, prop);
  }
  // Selecting a range of the main story makes it the selection of its document.
  HRESULT STDMETHODCALLTYPE Select() override {
    if (doc_->closed) return ObjectDeleted(IID_Range);
    if (story_ == doc_->main) {
      doc_->selection->start = span_->start;
      doc_->selection->end = span_->end;
      App().Activate(doc_);
    }
    return S_OK;
  }

 private:
  static HRESULT Mismatch() { return WordError(IID_Range, kTypeMismatch, L"Type mismatch."); }

  DocumentPtr doc_;
  std::shared_ptr<Story> story_;
  std::shared_ptr<Span> span_;
};

}  // namespace

bool RangeExtent(IUnknown* object, std::shared_ptr<Story>* story, std::shared_ptr<Span>* span) {
  void* own = nullptr;
  if (!object || FAILED(object->QueryInterface(kOwnRange, &own)) || !own) return false;
  auto* range = static_cast<RangeObject*>(own);
  *story = range->story();
  *span = range->span();
  range->Release();
  return true;
}

HRESULT NewRange(const DocumentPtr& doc, const std::shared_ptr<Story>& story, LONG start, LONG end,
                 Range** out) {
  return NewObject<RangeObject>(out, doc, story, start, end);
}

}  // namespace standin
