// The state of the one application object of this process: its documents, which is active,
// and the application's own settings.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

#include "document_model.h"

namespace standin {

using DocumentPtr = std::shared_ptr<DocumentModel>;

struct AppState {
  std::vector<DocumentPtr> documents;  // in the order they were added or opened
  DocumentPtr active;
  LONG display_alerts = -1;  // wdAlertsAll
  bool visible = false;      // an automation-started Word is invisible
  LONG window_state = 0;     // wdWindowStateNormal
  int untitled_count = 0;

  // A new empty document, named as Word names them, and made active.
  DocumentPtr AddDocument();
  // A document read from a file, added and made active.
  void AddOpened(const DocumentPtr& doc);
  void Activate(const DocumentPtr& doc);
  void Close(const DocumentPtr& doc);
  // 1-based index or a name (the document name or its full path, case-insensitive).
  DocumentPtr Find(const VARIANT& index) const;
};

AppState& App();

}  // namespace standin
