// Where a story's tables are: a table is a run of table characters; its rows end with an
// end-of-row mark and its cells with an end-of-cell mark.
#pragma once
#include <windows.h>

#include <vector>

#include "story.h"

namespace standin {

struct TableLayout {
  // For each row, each cell's [start, end) including its end-of-cell mark.
  std::vector<std::vector<Span>> rows;
  LONG start = 0;
  LONG end = 0;  // after the last end-of-row mark
};

// The first position of each table of the story, in order.
std::vector<LONG> TableStarts(const Story& story);
// The table that starts at `start`; false when no table starts there any more.
bool LayoutTableAt(const Story& story, LONG start, TableLayout* layout);

}  // namespace standin
