// Factories of the stand-in's automation objects, each returning a new object with one
// reference. Objects hold the models they show, never one another, so no reference cycles.
#pragma once
#include "app_state.h"
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

}  // namespace standin
