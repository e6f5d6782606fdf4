// The client's side of SetTable: row objects answering Values(i) and Colums(i), and a
// collection of them behind the run-time library's _Collection interface.
#pragma once
#include <windows.h>

#include <vector>

#include "com_ptr.h"
#include "quorrel_h.h"
#include "variant.h"

namespace quorrel_test {

struct RowEntry {
  com::Variant value;   // what Values(i) returns
  com::Variant column;  // what Colums(i) returns
};

// A late-bound row object. Without `has_columns` it does not know the name Colums.
com::ComPtr<IDispatch> NewRow(std::vector<RowEntry> entries, bool has_columns = true);

// Entries from texts and columns, for the common case.
std::vector<RowEntry> Entries(const std::vector<std::pair<const wchar_t*, LONG>>& items);

class RowCollection;

struct CollectionLog {
  int item_calls = 0;
  std::vector<VARTYPE> index_types;  // the VARTYPE of each Item index argument
};

// Elements are numbered from 1. Item with a position past the end fails as the client's run
// time does (subscript out of range).
com::ComPtr<_Collection> NewCollection(std::vector<com::ComPtr<IDispatch>> rows,
                                       CollectionLog* log);

}  // namespace quorrel_test
