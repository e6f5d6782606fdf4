// The stand-in Word's cost per call as its documents grow: replace-all of distinct placeholders
// in documents of 50 to 200 pages, and Cell(r, c).Range.InsertAfter into tables of 2,500 to
// 10,000 calls. Per-call costs that stay level as the size grows mean linear growth overall.
#include <windows.h>

#include <cstdio>
#include <string>

#include "com_test_env.h"
#include "late_bound.h"
#include "word_standin_control.h"

namespace {

using com::ComPtr;
using com::Variant;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / f.QuadPart;
}

ComPtr<IDispatch> Child(IDispatch* obj, const wchar_t* member, std::vector<Variant> args = {}) {
  Variant v;
  com::GetProperty(obj, member, v.Ptr(), std::move(args));
  return v.Type() == VT_DISPATCH ? ComPtr<IDispatch>(V_DISPATCH(v.Ptr())) : ComPtr<IDispatch>();
}

ComPtr<IDispatch> StartWord() {
  CLSID clsid;
  ComPtr<IDispatch> app;
  if (SUCCEEDED(CLSIDFromProgID(L"Word.Application", &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, app.ReceiveVoid());
  }
  return app;
}

// `pages` pages of 5 placeholders each, 1,000 distinct names in all, then one replace-all per
// name. Returns the seconds per replace-all.
double ReplaceAll(int pages) {
  ComPtr<IDispatch> app = StartWord();
  ComPtr<IDispatch> doc = Child(Child(app.Get(), L"Documents").Get(), L"Add");
  std::wstring text;
  for (int p = 0; p < pages; ++p) {
    for (int i = 0; i < 5; ++i) {
      text += L"項目 #f" + std::to_wstring((p * 5 + i) % 1000) + L"# の値\r";
    }
    text += L"\f";
  }
  ComPtr<IDispatch> content = Child(doc.Get(), L"Content");
  com::PutProperty(content.Get(), L"Text", Variant::Str(text));
  const double start = Now();
  for (int i = 0; i < 1000; ++i) {
    ComPtr<IDispatch> find = Child(Child(doc.Get(), L"Content").Get(), L"Find");
    com::Invoke(find.Get(), L"Execute", DISPATCH_METHOD, {},
                {{L"FindText", Variant::Str(L"#f" + std::to_wstring(i) + L"#")},
                 {L"ReplaceWith", Variant::Str(L"値" + std::to_wstring(i))},
                 {L"Replace", Variant::I4(2)}},
                nullptr);
  }
  const double per_call = (Now() - start) / 1000;
  com::CallMethod(app.Get(), L"Quit", {Variant::I4(0)});
  return per_call;
}

// `calls` InsertAfter calls into the cells of the 500-row table template. Returns the seconds
// per Cell(r, c).Range.InsertAfter sequence.
double InsertIntoCells(const std::wstring& forms, int calls) {
  ComPtr<IDispatch> app = StartWord();
  Variant doc;
  com::CallMethod(Child(app.Get(), L"Documents").Get(), L"Open",
                  {Variant::Str(forms + L"bigtable.docx")}, doc.Ptr());
  ComPtr<IDispatch> table = Child(V_DISPATCH(doc.Ptr()), L"Tables", {Variant::I4(1)});
  const double start = Now();
  for (int i = 0; i < calls; ++i) {
    Variant cell;
    com::CallMethod(table.Get(), L"Cell", {Variant::I4(2 + i % 500), Variant::I4(1 + i / 500 % 8)},
                    cell.Ptr());
    ComPtr<IDispatch> range = Child(V_DISPATCH(cell.Ptr()), L"Range");
    com::CallMethod(range.Get(), L"InsertAfter", {Variant::Str(L"x")});
  }
  const double per_call = (Now() - start) / calls;
  com::CallMethod(app.Get(), L"Quit", {Variant::I4(0)});
  return per_call;
}

}  // namespace

int main() {
  testing_support::ComApartment apartment;
  std::wstring exe = testing_support::ExeDir();  // <build>\bench\ ;
  std::wstring forms = exe.substr(0, exe.size() - 6) + L"tests\\fixtures\\";
  std::printf("replace-all of 1,000 distinct placeholders (per call)\n");
  for (int pages : {50, 100, 200}) {
    std::printf("  %3d pages: %8.3f ms\n", pages, ReplaceAll(pages) * 1000);
    testing_support::WaitForNoStandinProcess(10000);
  }
  std::printf("Cell(r, c).Range.InsertAfter (per sequence of three calls)\n");
  for (int calls : {2500, 5000, 10000}) {
    std::printf("  %5d calls: %8.3f ms\n", calls, InsertIntoCells(forms, calls) * 1000);
    testing_support::WaitForNoStandinProcess(10000);
  }
  return 0;
}
