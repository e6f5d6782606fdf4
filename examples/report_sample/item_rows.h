// The rows of the quotation's item table as SetTable reads them: one row object per item,
// answering Values(i) and Colums(i), in a collection behind the run time's _Collection.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "com_ptr.h"
#include "quorrel_h.h"

namespace report_sample {

struct Item {
  std::wstring name;
  std::wstring reading;  // ruby over the name
  LONG quantity;
  LONG unit_price;
};

// Entries of each row: 0 name, 1 quantity, 2 unit price (plain, columns 1 to 3), then
// 3 the reading of the name (ruby, column 1).
constexpr LONG kItemMaxIndex = 2;
constexpr LONG kItemMaxRubyIndex = 0;

com::ComPtr<_Collection> NewItemCollection(const std::vector<Item>& items);

// "12,000": amounts as the report prints them.
std::wstring GroupedNumber(LONG value);

}  // namespace report_sample
