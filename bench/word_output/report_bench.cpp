// A 100-page report with 10 fields a page, made once through WordPrintOut and once by a C++
// client making the same Word calls directly, against the stand-in Word in the same run.
// Prints both times, their ratio, and the cross-process calls per page each made.
#include <windows.h>

#include <cstdio>
#include <string>

#include "com_test_env.h"
#include "late_bound.h"
#include "quorrel_h.h"
#include "take_turns.h"
#include "word_standin_control.h"

namespace {

using quorrel_bench::Run;

using com::DispidCache;
using com::Variant;

constexpr int kPages = 100;
constexpr int kFields = 10;

std::wstring FieldName(int i) { return L"#f" + std::to_wstring(i) + L"#"; }

Run ThroughLibrary(const std::wstring& forms, testing_support::WordStandinSetup& standin) {
  CLSID clsid;
  CLSIDFromProgID(L"Scrivlet.WordPrintOut", &clsid);
  com::ComPtr<_WordPrintOut> w;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__WordPrintOut, w.ReceiveVoid());
  com::Bstr path(forms), name(L"tenfields.docx");
  w->put_FormPath(path.Get());
  w->WordStart();

  Run r = quorrel_bench::Measure(standin, [&] {
    for (int p = 0; p < kPages; ++p) {
      if (p) w->NewPage();
      w->put_FormName(name.Get());
      for (int i = 1; i <= kFields; ++i) {
        com::Bstr field(FieldName(i));
        BSTR fb = field.Get();
        Variant text = Variant::Str(L"値" + std::to_wstring(p * kFields + i));
        VARIANT_BOOL wild = VARIANT_FALSE;
        LONG found = 0;
        w->SetFieldText(&fb, text.Ptr(), &wild, &found);
      }
    }
    w->LastDelete();
  });
  w->put_WordOutErr(99);  // quit Word without saving
  w->WordEnd();
  return r;
}

// A hand-written client: the same calls, each DISPID resolved once per Word object type.
class DirectClient {
 public:
  HRESULT Start() {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Word.Application", &clsid))) return E_FAIL;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                app_.ReceiveVoid()))) {
      return E_FAIL;
    }
    Variant docs, doc;
    Get(app_.Get(), app_c_, L"Documents", &docs);
    Call(V_DISPATCH(docs.Ptr()), docs_c_, L"Add", {}, &doc);
    doc_ = V_DISPATCH(doc.Ptr());
    return com::PutProperty(app_.Get(), L"DisplayAlerts", Variant::I4(0), nullptr, &app_c_);
  }

  void Append(const std::wstring& path) {
    Variant docs, tmpl, tapp, active, range, name, target, app, sel, content;
    Get(app_.Get(), app_c_, L"Documents", &docs);
    Call(V_DISPATCH(docs.Ptr()), docs_c_, L"Open", {Variant::Str(path)}, &tmpl);
    Get(V_DISPATCH(tmpl.Ptr()), doc_c_, L"Application", &tapp);
    Get(V_DISPATCH(tapp.Ptr()), app_c_, L"ActiveDocument", &active);
    Get(V_DISPATCH(active.Ptr()), doc_c_, L"Range", &range);
    Call(V_DISPATCH(range.Ptr()), range_c_, L"WholeStory");
    Call(V_DISPATCH(range.Ptr()), range_c_, L"Copy");
    Call(V_DISPATCH(tmpl.Ptr()), doc_c_, L"Close");
    Get(doc_.Get(), doc_c_, L"Name", &name);
    Get(app_.Get(), app_c_, L"Documents", &target, {name});
    Call(V_DISPATCH(target.Ptr()), doc_c_, L"Activate");
    Get(doc_.Get(), doc_c_, L"Application", &app);
    Get(V_DISPATCH(app.Ptr()), app_c_, L"Selection", &sel);
    Call(V_DISPATCH(sel.Ptr()), sel_c_, L"EndKey", {Variant::I4(5)});
    Get(doc_.Get(), doc_c_, L"Content", &content);
    range_ = V_DISPATCH(content.Ptr());
    Call(range_.Get(), range_c_, L"Collapse", {Variant::I4(0)});
    Call(range_.Get(), range_c_, L"Paste");
  }

  void Fill(const std::wstring& field, const std::wstring& text) {
    Variant find, repl, found;
    Get(range_.Get(), range_c_, L"Find", &find);
    IDispatch* f = V_DISPATCH(find.Ptr());
    Call(f, find_c_, L"ClearFormatting");
    Get(f, find_c_, L"Replacement", &repl);
    Call(V_DISPATCH(repl.Ptr()), repl_c_, L"ClearFormatting");
    Put(f, find_c_, L"Text", Variant::Str(field));
    Put(V_DISPATCH(repl.Ptr()), repl_c_, L"Text", Variant::Str(text));
    Put(f, find_c_, L"Forward", Variant::Bool(true));
    Put(f, find_c_, L"Wrap", Variant::I4(1));
    for (const wchar_t* off : {L"Format", L"MatchFuzzy", L"MatchWholeWord", L"MatchAllWordForms",
                               L"MatchSoundsLike", L"MatchWildcards"}) {
      Put(f, find_c_, off, Variant::Bool(false));
    }
    Get(range_.Get(), range_c_, L"Find", &find);
    com::Invoke(V_DISPATCH(find.Ptr()), L"Execute", DISPATCH_METHOD, {},
                {{L"Replace", Variant::I4(2)}}, found.Ptr(), nullptr, &find_c_);
  }

  void NewPage() {
    Call(range_.Get(), range_c_, L"Collapse", {Variant::I4(0)});
    Call(range_.Get(), range_c_, L"InsertBreak", {Variant::I4(7)});
  }
  void LastDelete() {
    Call(range_.Get(), range_c_, L"Collapse", {Variant::I4(0)});
    Call(range_.Get(), range_c_, L"Delete");
  }
  void Quit() {
    range_.Reset();
    doc_.Reset();
    Call(app_.Get(), app_c_, L"Quit", {Variant::I4(0)});
    app_.Reset();
  }

 private:
  static void Get(IDispatch* o, DispidCache& c, const wchar_t* m, Variant* out,
                  std::vector<Variant> args = {}) {
    com::GetProperty(o, m, out->Receive(), std::move(args), nullptr, &c);
  }
  static void Call(IDispatch* o, DispidCache& c, const wchar_t* m, std::vector<Variant> args = {},
                   Variant* out = nullptr) {
    com::CallMethod(o, m, std::move(args), out ? out->Receive() : nullptr, nullptr, &c);
  }
  static void Put(IDispatch* o, DispidCache& c, const wchar_t* m, const Variant& v) {
    com::PutProperty(o, m, v, nullptr, &c);
  }

  com::ComPtr<IDispatch> app_, doc_, range_;
  DispidCache app_c_, docs_c_, doc_c_, range_c_, sel_c_, find_c_, repl_c_;
};

Run Direct(const std::wstring& forms, testing_support::WordStandinSetup& standin) {
  DirectClient c;
  if (FAILED(c.Start())) return Run();
  Run r = quorrel_bench::Measure(standin, [&] {
    for (int p = 0; p < kPages; ++p) {
      if (p) c.NewPage();
      c.Append(forms + L"tenfields.docx");
      for (int i = 1; i <= kFields; ++i) {
        c.Fill(FieldName(i), L"値" + std::to_wstring(p * kFields + i));
      }
    }
    c.LastDelete();
  });
  c.Quit();
  return r;
}

}  // namespace

int main() {
  testing_support::ComApartment apartment;
  const std::wstring forms = quorrel_bench::FixtureDir();
  testing_support::WordStandinSetup standin;

  Run direct, library;
  quorrel_bench::TakeTurns([&] { return Direct(forms, standin); },
                           [&] { return ThroughLibrary(forms, standin); }, &direct, &library);

  std::printf("report of %d pages, %d fields a page\n", kPages, kFields);
  quorrel_bench::PrintComparison(direct, library, kPages, "page");
  return 0;
}
