// Editing operations shared by Range and Selection, on a span of a story, with Word's rules.
#pragma once
#include <windows.h>

#include <string>

#include "story.h"

namespace standin {

constexpr LONG kCollapseEnd = 0;    // wdCollapseEnd
constexpr LONG kCollapseStart = 1;  // wdCollapseStart

void CollapseSpan(const Story& story, Span* span, LONG direction);
void SetSpanText(Story* story, Span* span, const std::wstring& text);
void InsertAfterSpan(Story* story, Span* span, const std::wstring& text);
void InsertBeforeSpan(Story* story, Span* span, const std::wstring& text);
// Returns the number of characters deleted.
LONG DeleteSpan(Story* story, Span* span, LONG count);
HRESULT CopySpan(const Story& story, const Span& span);
// False when the clipboard holds nothing to paste.
bool PasteIntoSpan(Story* story, Span* span);

}  // namespace standin
