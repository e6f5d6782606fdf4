// SetTable with 500 rows of 8 entries and 2 ruby entries, once through WordPrintOut and once by
// a C++ client making the same Word calls directly, against the stand-in Word in one run.
// Prints both times, their ratio and the cross-process calls per cell.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "com_test_env.h"
#include "late_bound.h"
#include "quorrel_h.h"
#include "row_collection.h"
#include "take_turns.h"
#include "word_standin_control.h"

namespace {

using quorrel_bench::Run;

using com::ComPtr;
using com::DispidCache;
using com::Variant;

constexpr LONG kRows = 500, kPlain = 8, kRuby = 2;
const wchar_t kMarker[] = L"#?ルビ?#";

struct Row {
  std::vector<std::wstring> texts;
  std::vector<LONG> columns;
};

std::vector<Row> MakeRows() {
  std::vector<Row> rows;
  for (LONG k = 1; k <= kRows; ++k) {
    Row r;
    for (LONG i = 0; i < kPlain; ++i) {
      r.texts.push_back(L"v" + std::to_wstring(k) + L"_" + std::to_wstring(i));
      r.columns.push_back(i + 1);
    }
    for (LONG i = 0; i < kRuby; ++i) {
      r.texts.push_back(L"よみ" + std::to_wstring(i));
      r.columns.push_back(i + 1);
    }
    rows.push_back(r);
  }
  return rows;
}

Run ThroughLibrary(const std::wstring& forms, const std::vector<Row>& data,
                      testing_support::WordStandinSetup& standin) {
  CLSID clsid;
  CLSIDFromProgID(L"Scrivlet.WordPrintOut", &clsid);
  ComPtr<_WordPrintOut> w;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__WordPrintOut, w.ReceiveVoid());
  com::Bstr path(forms), name(L"bigtable.docx");
  w->put_FormPath(path.Get());
  w->WordStart();
  w->put_FormName(name.Get());

  std::vector<ComPtr<IDispatch>> rows;
  for (const Row& r : data) {
    std::vector<quorrel_test::RowEntry> entries;
    for (size_t i = 0; i < r.texts.size(); ++i) {
      entries.push_back({Variant::Str(r.texts[i]), Variant::I4(r.columns[i])});
    }
    rows.push_back(quorrel_test::NewRow(entries));
  }
  ComPtr<_Collection> collection = quorrel_test::NewCollection(rows, nullptr);
  _Collection* c = collection.Get();
  LONG table = 1, max_index = kPlain - 1, row_count = kRows, start = 2, max_ruby = kRuby - 1;

  Run r = quorrel_bench::Measure(
      standin, [&] { w->SetTable(&c, &table, &max_index, &row_count, &start, &max_ruby); });
  w->put_WordOutErr(99);
  w->WordEnd();
  return r;
}

Run Direct(const std::wstring& forms, const std::vector<Row>& data,
              testing_support::WordStandinSetup& standin) {
  CLSID clsid;
  CLSIDFromProgID(L"Word.Application", &clsid);
  ComPtr<IDispatch> app;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              app.ReceiveVoid()))) {
    return Run();
  }
  DispidCache app_c, docs_c, doc_c, table_c, cell_c, range_c, sel_c, find_c, repl_c, font_c;
  // The same document as the library fills: a new one with the template pasted into it.
  Variant docs, doc, tmpl, source, content, table;
  com::GetProperty(app.Get(), L"Documents", docs.Ptr(), {}, nullptr, &app_c);
  com::CallMethod(V_DISPATCH(docs.Ptr()), L"Add", {}, doc.Ptr(), nullptr, &docs_c);
  com::CallMethod(V_DISPATCH(docs.Ptr()), L"Open", {Variant::Str(forms + L"bigtable.docx")},
                  tmpl.Ptr(), nullptr, &docs_c);
  com::GetProperty(V_DISPATCH(tmpl.Ptr()), L"Content", source.Ptr(), {}, nullptr, &doc_c);
  com::CallMethod(V_DISPATCH(source.Ptr()), L"Copy", {}, nullptr, nullptr, &range_c);
  com::CallMethod(V_DISPATCH(tmpl.Ptr()), L"Close", {}, nullptr, nullptr, &doc_c);
  IDispatch* d = V_DISPATCH(doc.Ptr());
  com::GetProperty(d, L"Content", content.Ptr(), {}, nullptr, &doc_c);
  com::CallMethod(V_DISPATCH(content.Ptr()), L"Collapse", {Variant::I4(0)}, nullptr, nullptr,
                  &range_c);
  com::CallMethod(V_DISPATCH(content.Ptr()), L"Paste", {}, nullptr, nullptr, &range_c);

  Run r = quorrel_bench::Measure(standin, [&] {
    com::GetProperty(d, L"Tables", table.Ptr(), {Variant::I4(1)}, nullptr, &doc_c);
    IDispatch* tb = V_DISPATCH(table.Ptr());
    auto cell_range = [&](LONG row, LONG col, Variant* cell, Variant* range) {
      com::CallMethod(tb, L"Cell", {Variant::I4(row), Variant::I4(col)}, cell->Receive(), nullptr,
                      &table_c);
      com::GetProperty(V_DISPATCH(cell->Ptr()), L"Range", range->Receive(), {}, nullptr, &cell_c);
    };
    for (LONG k = 0; k < kRows; ++k) {
      for (LONG i = 0; i < kPlain; ++i) {
        Variant cell, range;
        cell_range(k + 2, data[k].columns[i], &cell, &range);
        com::CallMethod(V_DISPATCH(range.Ptr()), L"InsertAfter", {Variant::Str(data[k].texts[i])},
                        nullptr, nullptr, &range_c);
      }
    }
    for (LONG k = 0; k < kRows; ++k) {
      for (LONG i = kPlain; i < kPlain + kRuby; ++i) {
        Variant cell, range, sel, find, font, repl;
        cell_range(k + 2, data[k].columns[i], &cell, &range);
        com::CallMethod(V_DISPATCH(range.Ptr()), L"InsertAfter", {Variant::Str(kMarker)}, nullptr,
                        nullptr, &range_c);
        com::CallMethod(V_DISPATCH(cell.Ptr()), L"Select", {}, nullptr, nullptr, &cell_c);
        com::GetProperty(app.Get(), L"Selection", sel.Ptr(), {}, nullptr, &app_c);
        IDispatch* s = V_DISPATCH(sel.Ptr());
        com::GetProperty(s, L"Find", find.Ptr(), {}, nullptr, &sel_c);
        com::CallMethod(V_DISPATCH(find.Ptr()), L"ClearFormatting", {}, nullptr, nullptr, &find_c);
        com::PutProperty(V_DISPATCH(find.Ptr()), L"Text", Variant::Str(kMarker), nullptr, &find_c);
        com::Invoke(V_DISPATCH(find.Ptr()), L"Execute", DISPATCH_METHOD, {},
                    {{L"Forward", Variant::Bool(true)}}, nullptr, nullptr, &find_c);
        com::GetProperty(s, L"Font", font.Ptr(), {}, nullptr, &sel_c);
        com::PutProperty(V_DISPATCH(font.Ptr()), L"Superscript", Variant::Bool(true), nullptr,
                         &font_c);
        com::GetProperty(s, L"Find", find.Ptr(), {}, nullptr, &sel_c);
        IDispatch* f = V_DISPATCH(find.Ptr());
        com::CallMethod(f, L"ClearFormatting", {}, nullptr, nullptr, &find_c);
        com::GetProperty(f, L"Replacement", repl.Ptr(), {}, nullptr, &find_c);
        com::CallMethod(V_DISPATCH(repl.Ptr()), L"ClearFormatting", {}, nullptr, nullptr, &repl_c);
        com::PutProperty(f, L"Text", Variant::Str(kMarker), nullptr, &find_c);
        com::PutProperty(V_DISPATCH(repl.Ptr()), L"Text", Variant::Str(data[k].texts[i]), nullptr,
                         &repl_c);
        com::PutProperty(f, L"Forward", Variant::Bool(true), nullptr, &find_c);
        com::Invoke(f, L"Execute", DISPATCH_METHOD, {}, {{L"Replace", Variant::I4(2)}}, nullptr,
                    nullptr, &find_c);
      }
    }
  });
  com::CallMethod(app.Get(), L"Quit", {Variant::I4(0)}, nullptr, nullptr, &app_c);
  return r;
}

}  // namespace

int main() {
  testing_support::ComApartment apartment;
  const std::wstring forms = quorrel_bench::FixtureDir();
  testing_support::WordStandinSetup standin;
  const std::vector<Row> data = MakeRows();

  Run direct, library;
  quorrel_bench::TakeTurns([&] { return Direct(forms, data, standin); },
                           [&] { return ThroughLibrary(forms, data, standin); }, &direct,
                           &library);
  std::printf("SetTable: %ld rows, %ld plain + %ld ruby entries a row\n", kRows, kPlain, kRuby);
  quorrel_bench::PrintComparison(direct, library, kRows * (kPlain + kRuby), "cell");
  return 0;
}
