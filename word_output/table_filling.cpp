// Filling a Word table of the output document from the client's rows: SetTable.
#include <cstdint>

#include "hresult.h"
#include "word_constants.h"
#include "word_print_out.h"

namespace quorrel {
namespace {

using com::Variant;

// Marks where a ruby text goes while it is being made superscript.
constexpr wchar_t kRubyMarker[] = L"#?ルビ?#";

bool FitsLong(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// One entry of row `k`: the element is fetched from the collection anew for each read, as the
// client's collection may hand out a different object each time.
class RowReader {
 public:
  explicit RowReader(_Collection* rows) : rows_(rows) {}

  HRESULT Read(LONG k, LONG index, com::Bstr* text, LONG* column) {
    Variant value;
    RETURN_IF_FAILED(Member(k, L"Values", index, &value));
    RETURN_IF_FAILED(VariantChangeTypeEx(value.Ptr(), value.Ptr(), LOCALE_USER_DEFAULT,
                                         VARIANT_ALPHABOOL, VT_BSTR));
    *text = com::Bstr::Adopt(V_BSTR(value.Ptr()));
    V_VT(value.Ptr()) = VT_EMPTY;

    Variant col;
    RETURN_IF_FAILED(Member(k, L"Colums", index, &col));
    RETURN_IF_FAILED(col.ChangeType(VT_I4));
    *column = V_I4(col.Ptr());
    return S_OK;
  }

 private:
  HRESULT Member(LONG k, const wchar_t* name, LONG index, Variant* out) {
    LONG position = k;
    Variant key = Variant::I4Ref(&position);
    Variant row;
    RETURN_IF_FAILED(rows_->Item(key.Ptr(), row.Receive()));
    if (row.Type() != VT_DISPATCH || !V_DISPATCH(row.Ptr())) return DISP_E_TYPEMISMATCH;
    LONG arg = index;
    return com::Invoke(V_DISPATCH(row.Ptr()), name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                       {Variant::I4Ref(&arg)}, {}, out->Receive());
  }

  _Collection* rows_;
};

}  // namespace

HRESULT WordPrintOut::SetTable(_Collection** CoData, LONG* LoTableNo, LONG* LoMaxIndex,
                               LONG* LoRow, LONG* LoStartRow, LONG* LoMaxRubiIndex) {
  // Every error ends the call quietly; what was written stays.
  if (!CoData || !*CoData || !LoTableNo || !LoMaxIndex || !LoRow || !LoStartRow ||
      !LoMaxRubiIndex) {
    return S_OK;
  }
  // A late-bound caller can hand over any object here: only a real collection is read.
  com::ComPtr<_Collection> rows;
  if (FAILED((*CoData)->QueryInterface(IID__Collection, rows.ReceiveVoid()))) return S_OK;
  FillTable(rows.Get(), *LoTableNo, *LoMaxIndex, *LoRow, *LoStartRow, *LoMaxRubiIndex);
  return S_OK;
}

HRESULT WordPrintOut::FillTable(_Collection* rows, LONG table_no, LONG max_index, LONG row_count,
                                LONG start_row, LONG max_ruby_index) {
  RowReader reader(rows);
  WordObject table;
  auto cell_range = [&](LONG row, LONG column, WordObject* range, WordObject* cell) -> HRESULT {
    if (!table) {
      RETURN_IF_FAILED(OutputDocument().Child(L"Tables", WordType::Table, &table,
                                              {Variant::I4(table_no)}));
    }
    RETURN_IF_FAILED(table.Child(L"Cell", WordType::Cell, cell,
                                 {Variant::I4(row), Variant::I4(column)}));
    return cell->Child(L"Range", WordType::Range, range);
  };

  // Plain pass: every plain entry of every row, row by row, in index order.
  for (int64_t k = 1; k <= row_count; ++k) {
    const int64_t row = int64_t{start_row} + k - 1;
    if (!FitsLong(row)) return E_INVALIDARG;
    for (int64_t index = 0; index <= max_index; ++index) {
      com::Bstr text;
      LONG column = 0;
      RETURN_IF_FAILED(reader.Read(static_cast<LONG>(k), static_cast<LONG>(index), &text, &column));
      WordObject cell, range;
      RETURN_IF_FAILED(cell_range(static_cast<LONG>(row), column, &range, &cell));
      RETURN_IF_FAILED(range.Call(L"InsertAfter", {Variant::Str(text.Str())}));
    }
  }
  if (max_ruby_index < 0) return S_OK;

  // Ruby pass: each ruby text goes in after its cell's text through a marker that is made
  // superscript and then replaced, so the text takes the marker's formatting.
  const int64_t first = int64_t{max_index} + 1;
  const int64_t last = first + max_ruby_index;
  if (!FitsLong(first) || !FitsLong(last)) return E_INVALIDARG;
  WordObject app = App();
  for (int64_t k = 1; k <= row_count; ++k) {
    const int64_t row = int64_t{start_row} + k - 1;
    if (!FitsLong(row)) return E_INVALIDARG;
    for (int64_t index = first; index <= last; ++index) {
      com::Bstr text;
      LONG column = 0;
      RETURN_IF_FAILED(reader.Read(static_cast<LONG>(k), static_cast<LONG>(index), &text, &column));
      if (text.Length() == 0) continue;

      WordObject cell, range, selection, find, font, replacement;
      RETURN_IF_FAILED(cell_range(static_cast<LONG>(row), column, &range, &cell));
      RETURN_IF_FAILED(range.Call(L"InsertAfter", {Variant::Str(kRubyMarker)}));
      RETURN_IF_FAILED(cell.Call(L"Select"));

      RETURN_IF_FAILED(app.Child(L"Selection", WordType::Selection, &selection));
      RETURN_IF_FAILED(selection.Child(L"Find", WordType::Find, &find));
      RETURN_IF_FAILED(find.Call(L"ClearFormatting"));
      RETURN_IF_FAILED(find.Put(L"Text", Variant::Str(kRubyMarker)));
      RETURN_IF_FAILED(find.CallNamed(L"Execute", {{L"Forward", Variant::Bool(true)}}));
      RETURN_IF_FAILED(selection.Child(L"Font", WordType::Font, &font));
      RETURN_IF_FAILED(font.Put(L"Superscript", Variant::Bool(true)));

      RETURN_IF_FAILED(selection.Child(L"Find", WordType::Find, &find));
      RETURN_IF_FAILED(find.Call(L"ClearFormatting"));
      RETURN_IF_FAILED(find.Child(L"Replacement", WordType::Replacement, &replacement));
      RETURN_IF_FAILED(replacement.Call(L"ClearFormatting"));
      RETURN_IF_FAILED(find.Put(L"Text", Variant::Str(kRubyMarker)));
      RETURN_IF_FAILED(replacement.Put(L"Text", Variant::Str(text.Str())));
      RETURN_IF_FAILED(find.Put(L"Forward", Variant::Bool(true)));
      RETURN_IF_FAILED(find.CallNamed(L"Execute", {{L"Replace", Variant::I4(kReplaceAll)}}));
    }
  }
  return S_OK;
}

}  // namespace quorrel
