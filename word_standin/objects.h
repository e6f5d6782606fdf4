// Factories of the stand-in's automation objects, each returning a new object with one
// reference. Objects hold the models they show, never one another, so no reference cycles.
#pragma once
#include <memory>

#include "app_state.h"
#include "story.h"
#include "word_standin_h.h"

namespace standin {

HRESULT NewApplication(_Application** out);
HRESULT NewDocuments(Documents** out);
HRESULT NewDocument(const DocumentPtr& doc, _Document** out);
HRESULT NewWindow(const DocumentPtr& doc, Window** out);
HRESULT NewPane(const DocumentPtr& doc, Pane** out);
HRESULT NewView(const DocumentPtr& doc, View** out);
HRESULT NewZoom(const DocumentPtr& doc, Zoom** out);
HRESULT NewSelection(const DocumentPtr& doc, Selection** out);
// A range over [start, end) of one story of `doc`.
HRESULT NewRange(const DocumentPtr& doc, const std::shared_ptr<Story>& story, LONG start, LONG end,
                 Range** out);
// The Find of a range or of the selection: a match moves `span` onto it.
HRESULT NewFind(const DocumentPtr& doc, const std::shared_ptr<Story>& story,
                const std::shared_ptr<Span>& span, Find** out);
HRESULT NewReplacement(Replacement** out);
HRESULT NewFont(const std::shared_ptr<Story>& story, const std::shared_ptr<Span>& span,
                _Font** out);
HRESULT NewParagraphFormat(const DocumentPtr& doc, _ParagraphFormat** out);
HRESULT NewPageSetup(const DocumentPtr& doc, PageSetup** out);
HRESULT NewSections(const DocumentPtr& doc, Sections** out);
HRESULT NewTables(const DocumentPtr& doc, Tables** out);
HRESULT NewShapes(const DocumentPtr& doc, Shapes** out);
// The inline pictures of `story` within `span`, or of the whole story when `span` is null.
HRESULT NewInlineShapes(const DocumentPtr& doc, const std::shared_ptr<Story>& story,
                        const std::shared_ptr<Span>& span, InlineShapes** out);
HRESULT NewInlineShape(const DocumentPtr& doc, const std::shared_ptr<Story>& story,
                       const std::shared_ptr<ShapeModel>& shape, InlineShape** out);

// The story and span of a Range object of this server; false for any other object.
bool RangeExtent(IUnknown* object, std::shared_ptr<Story>* story, std::shared_ptr<Span>* span);

}  // namespace standin
