#include "range_ops.h"

#include "clipboard.h"

namespace standin {

// Collapsing to the end of a range that takes in the story's final paragraph mark lands before
// that mark: nothing can follow it, and Word appends there.
void CollapseSpan(const Story& story, Span* span, LONG direction) {
  if (direction == kCollapseEnd) {
    span->start = span->end < story.length() ? span->end : story.last_insert_point();
    span->end = span->start;
  } else {
    span->end = span->start;
  }
}

namespace {

// The end of the text a range can replace: never the story's final paragraph mark, and never
// the end-of-cell or end-of-row mark the range ends with (Word keeps a cell's mark).
LONG EditableEnd(const Story& story, const Span& span) {
  if (span.end >= story.length()) return story.last_insert_point();
  if (span.end > span.start && IsTableMark(story.text()[span.end - 1])) return span.end - 1;
  return span.end;
}

}  // namespace

// The range takes in the new text. A span that would replace the final paragraph mark keeps it.
void SetSpanText(Story* story, Span* span, const std::wstring& text) {
  LONG end = EditableEnd(*story, *span);
  LONG start = span->start > end ? end : span->start;
  story->Replace(start, end, text);
  span->start = start;
  span->end = start + static_cast<LONG>(text.size());
}

// Word extends the range over text inserted after it; after the final paragraph mark nothing
// can go, so the text goes in before it. A cell's range takes the text before its end-of-cell
// mark and still ends after the mark.
void InsertAfterSpan(Story* story, Span* span, const std::wstring& text) {
  const LONG start = span->start;
  const LONG at = EditableEnd(*story, *span);
  const LONG kept = span->end - at;  // the marks the range keeps after the new text
  story->Replace(at, at, text);
  span->start = start;
  span->end = at + static_cast<LONG>(text.size()) + kept;
}

void InsertBeforeSpan(Story* story, Span* span, const std::wstring& text) {
  const LONG start = span->start;
  const LONG end = span->end;
  story->Replace(start, start, text);
  span->start = start;
  span->end = end + static_cast<LONG>(text.size());
}

// A collapsed range deletes the `count` characters that follow it; a range deletes its text.
// The story's final paragraph mark is never deleted.
// At the end of the story, after an empty last paragraph, the paragraph goes: Word joins it to
// the one before, which leaves the same text as deleting the mark before the caret.
LONG DeleteSpan(Story* story, Span* span, LONG count) {
  LONG start = span->start;
  LONG end = span->end;
  if (start == end && start == story->last_insert_point() && start > 0 &&
      story->text()[start - 1] == kParagraphMark) {
    story->Replace(start - 1, start, std::wstring());
    span->start = span->end = start - 1;
    return 1;
  }
  if (start == end) end = start + (count > 0 ? count : 1);
  if (end > story->last_insert_point()) end = story->last_insert_point();
  if (end <= start) return 0;
  story->Replace(start, end, std::wstring());
  span->start = span->end = start;
  return end - start;
}

HRESULT CopySpan(const Story& story, const Span& span) {
  return PutOnClipboard(story.Copy(span.start, span.end));
}

// The pasted content replaces the range, which then covers it.
bool PasteIntoSpan(Story* story, Span* span) {
  Fragment fragment;
  if (!ReadClipboard(&fragment) || fragment.text.empty()) return false;
  LONG end = EditableEnd(*story, *span);
  LONG start = span->start > end ? end : span->start;
  if (fragment.formats.size() == fragment.text.size()) {
    story->Replace(start, end, fragment);
  } else {
    story->Replace(start, end, fragment.text);
  }
  span->start = start;
  span->end = start + static_cast<LONG>(fragment.text.size());
  return true;
}

}  // namespace standin
