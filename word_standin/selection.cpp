// Word's Selection: the caret or highlighted span in the active document's window.
#include "automation_object.h"
#include "bstr.h"
#include "objects.h"
#include "optional_args.h"
#include "range_ops.h"
#include "word_error.h"

namespace standin {
namespace {

constexpr LONG kUnitLine = 5;   // wdLine
constexpr LONG kUnitStory = 6;  // wdStory

class SelectionObject final : public AutomationObject<Selection> {
 public:
  explicit SelectionObject(DocumentPtr doc) : AutomationObject(L"Selection"), doc_(std::move(doc)) {}

  HRESULT STDMETHODCALLTYPE get_Text(BSTR* prop) override {
    const std::wstring& text = doc_->main->text();
    const Span& sel = *doc_->selection;
    LONG end = sel.end;
    // A collapsed selection reads as the character after the caret, as Word's does.
    if (end == sel.start && end < static_cast<LONG>(text.size())) ++end;
    return com::Bstr(VisibleText(*doc_->main, sel.start, end)).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Start(LONG* prop) override {
    *prop = doc_->selection->start;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_End(LONG* prop) override {
    *prop = doc_->selection->end;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE WholeStory() override {
    doc_->selection->start = 0;
    doc_->selection->end = static_cast<LONG>(doc_->main->text().size());
    return S_OK;
  }
  // Unit 6 goes to the start of the story. Without page layout a line is taken to be the
  // paragraph the caret is in. Extend 1 keeps the other end of the selection where it was.
  // The result is the number of characters the caret moved, as Word returns it.
  HRESULT STDMETHODCALLTYPE HomeKey(VARIANT* Unit, VARIANT* Extend, LONG* prop) override {
    return MoveKey(Unit, Extend, /*to_end=*/false, prop);
  }
  HRESULT STDMETHODCALLTYPE EndKey(VARIANT* Unit, VARIANT* Extend, LONG* prop) override {
    return MoveKey(Unit, Extend, /*to_end=*/true, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Find(Find** prop) override {
    return NewFind(doc_, doc_->main, doc_->selection, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Font(_Font** prop) override {
    return NewFont(doc_->main, doc_->selection, prop);
  }
  HRESULT STDMETHODCALLTYPE get_ParagraphFormat(_ParagraphFormat** prop) override {
    return NewParagraphFormat(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Sections(Sections** prop) override {
    return NewSections(doc_, prop);
  }
  HRESULT STDMETHODCALLTYPE get_Range(Range** prop) override {
    return NewRange(doc_, doc_->main, doc_->selection->start, doc_->selection->end, prop);
  }
  HRESULT STDMETHODCALLTYPE Collapse(VARIANT* Direction) override {
    LONG direction = kCollapseStart;
    if (FAILED(OptionalLong(Direction, kCollapseStart, &direction)))
      return WordError(IID_Selection, kTypeMismatch, L"Type mismatch.");
    CollapseSpan(*doc_->main, doc_->selection.get(), direction);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Copy() override {
    if (doc_->selection->start == doc_->selection->end || FAILED(CopySpan(*doc_->main, *doc_->selection)))
      return WordError(IID_Selection, kCommandFailed, L"Command failed.");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Paste() override {
    if (doc_->closed) return ObjectDeleted(IID_Selection);
    if (!PasteIntoSpan(doc_->main.get(), doc_->selection.get()))
      return ClipboardEmpty(IID_Selection);
    // The selection ends up as a caret after what was pasted.
    doc_->selection->start = doc_->selection->end;
    doc_->saved = false;
    return S_OK;
  }
  // Typed text replaces the selection and leaves the caret after it.
  HRESULT STDMETHODCALLTYPE TypeText(BSTR Text) override {
    if (doc_->closed) return ObjectDeleted(IID_Selection);
    SetSpanText(doc_->main.get(), doc_->selection.get(),
                std::wstring(Text ? Text : L"", SysStringLen(Text)));
    doc_->selection->start = doc_->selection->end;
    doc_->saved = false;
    return S_OK;
  }

 private:
  HRESULT MoveKey(VARIANT* Unit, VARIANT* Extend, bool to_end, LONG* prop) {
    if (doc_->closed) return ObjectDeleted(IID_Selection);
    LONG unit = kUnitLine, extend = 0;
    if (FAILED(OptionalLong(Unit, kUnitLine, &unit)) || FAILED(OptionalLong(Extend, 0, &extend)))
      return WordError(IID_Selection, kTypeMismatch, L"Type mismatch.");
    if (unit != kUnitLine && unit != kUnitStory)
      return WordError(IID_Selection, kBadParameter, L"Bad parameter.");
    const std::wstring& text = doc_->main->text();
    const LONG story_end = static_cast<LONG>(text.size()) - 1;  // before the final mark
    LONG caret = to_end ? doc_->selection->end : doc_->selection->start;
    LONG target;
    if (unit == kUnitStory) {
      target = to_end ? story_end : 0;
    } else if (to_end) {
      size_t mark = text.find(L'\r', caret);
      target = mark == std::wstring::npos ? story_end : static_cast<LONG>(mark);
    } else {
      size_t mark = caret > 0 ? text.find_last_of(L'\r', caret - 1) : std::wstring::npos;
      target = mark == std::wstring::npos ? 0 : static_cast<LONG>(mark) + 1;
    }
    const LONG moved = target > caret ? target - caret : caret - target;
    if (extend) {
      if (to_end) doc_->selection->end = target; else doc_->selection->start = target;
    } else {
      doc_->selection->start = doc_->selection->end = target;
    }
    *prop = moved;
    return S_OK;
  }

  DocumentPtr doc_;
};

}  // namespace

HRESULT NewSelection(const DocumentPtr& doc, Selection** out) {
  return NewObject<SelectionObject>(out, doc);
}

}  // namespace standin
