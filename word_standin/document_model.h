// One open document: its main text story and the state of its window.
#pragma once
#include <windows.h>

#include <string>

namespace standin {

struct DocumentModel {
  std::wstring name;       // "文書1" until saved or when opened from a file
  std::wstring full_path;  // empty for a document never saved
  // The main story. Word's always ends with a paragraph mark that cannot be deleted.
  std::wstring text = L"\r";
  bool saved = true;
  bool closed = false;  // objects that still show it fail as Word's do
  LONG selection_start = 0;
  LONG selection_end = 0;
  // The document's window.
  LONG zoom_percentage = 100;
  LONG vertical_percent_scrolled = 0;
};

}  // namespace standin
