#include "table_layout.h"

namespace standin {

std::vector<LONG> TableStarts(const Story& story) {
  std::vector<LONG> starts;
  bool inside = false;
  for (LONG i = 0; i < story.length(); ++i) {
    const bool here = story.FormatAt(i).in_table;
    if (here && !inside) starts.push_back(i);
    inside = here;
  }
  return starts;
}

bool LayoutTableAt(const Story& story, LONG start, TableLayout* layout) {
  *layout = TableLayout();
  const std::wstring& text = story.text();
  if (start < 0 || start >= story.length() || !story.FormatAt(start).in_table) return false;
  if (start > 0 && story.FormatAt(start - 1).in_table) return false;
  layout->start = start;
  std::vector<Span> row;
  LONG cell_start = start;
  LONG i = start;
  for (; i < story.length() && story.FormatAt(i).in_table; ++i) {
    if (text[i] == kCellMark) {
      row.push_back(Span{cell_start, i + 1});
      cell_start = i + 1;
    } else if (text[i] == kRowMark) {
      layout->rows.push_back(std::move(row));
      row.clear();
      cell_start = i + 1;
    }
  }
  layout->end = i;
  return !layout->rows.empty();
}

}  // namespace standin
