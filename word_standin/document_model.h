// One open document: its stories, page setup and the state of its window.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "story.h"

namespace standin {

// Lengths in points. Word's default A4 page on a Japanese system.
struct PageSetupModel {
  float top_margin = 99.25f;
  float bottom_margin = 85.05f;
  float left_margin = 85.05f;
  float right_margin = 85.05f;
  float header_distance = 42.55f;
  float footer_distance = 49.6f;
  float page_width = 595.3f;
  float page_height = 841.9f;
};

// Page numbers added to a header or footer.
struct PageNumbersModel {
  LONG count = 0;
  LONG alignment = 1;  // wdAlignPageNumberCenter
  bool first_page = true;
};

struct HeaderFooterModel {
  std::shared_ptr<Story> story = std::make_shared<Story>();
  PageNumbersModel page_numbers;
};

struct DocumentModel {
  DocumentModel() : selection(main->Track(0, 0)) {}

  std::wstring name;       // "文書1" until saved or when opened from a file
  std::wstring full_path;  // empty for a document never saved
  std::shared_ptr<Story> main = std::make_shared<Story>();
  std::shared_ptr<Span> selection;
  PageSetupModel page_setup;
  // Index 0 to 2: wdHeaderFooterPrimary (1), FirstPage (2), EvenPages (3).
  HeaderFooterModel headers[3];
  HeaderFooterModel footers[3];
  bool disable_line_height_grid = false;
  bool saved = true;
  bool closed = false;  // objects that still show it fail as Word's do
  // The document's window.
  LONG zoom_percentage = 100;
  LONG vertical_percent_scrolled = 0;
};

}  // namespace standin
