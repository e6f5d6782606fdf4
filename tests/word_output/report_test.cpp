// A text report from end to end against the stand-in Word: template pages appended through the
// clipboard, fields filled, leftovers cleaned, the finished document read back through Word.
#include <string>
#include <vector>

#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <map>
#include <thread>

#include "com_test_env.h"
#include "message_box_watcher.h"
#include "word_client.h"
#include "word_standin_control.h"

namespace {

using com::ComPtr;
using com::Variant;
using quorrel_test::CreateWordPrintOut;
using quorrel_test::GetText;
using testing_support::Pages;
using testing_support::Utf8;
using testing_support::WordStandinSetup;

constexpr HRESULT kLibraryError = 0x80040201;

std::wstring FixtureDir() { return testing_support::ExeDir() + L"fixtures\\"; }

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    obj_ = CreateWordPrintOut();
    ASSERT_TRUE(obj_);
    SetPath(FixtureDir());
  }
  void TearDown() override {
    ComPtr<IDispatch> doc;
    obj_->get_objNewWord(doc.Receive());
    if (doc) quorrel_test::QuitWord(doc.Get());
    doc.Reset();
    obj_.Reset();
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(5000)) << "a stand-in Word was left";
  }

  void SetPath(const std::wstring& path) {
    com::Bstr p(path);
    ASSERT_HRESULT_SUCCEEDED(obj_->put_FormPath(p.Get()));
  }
  HRESULT Append(const wchar_t* name) {
    com::Bstr n(name);
    return obj_->put_FormName(n.Get());
  }
  HRESULT Fill(const wchar_t* field, const Variant& value, LONG* result, bool wildcard = false) {
    com::Bstr f(field);
    BSTR fb = f.Get();
    Variant v(value);
    VARIANT_BOOL w = wildcard ? VARIANT_TRUE : VARIANT_FALSE;
    return obj_->SetFieldText(&fb, v.Ptr(), &w, result);
  }
  LONG Code() {
    LONG code = -1;
    obj_->get_WordOutErr(&code);
    return code;
  }
  std::wstring FormName() {
    com::Bstr name;
    obj_->get_FormName(name.Receive());
    return name.Str();
  }
  ComPtr<IDispatch> Document() {
    ComPtr<IDispatch> d;
    obj_->get_objNewWord(d.Receive());
    return d;
  }
  std::wstring DocumentText() { return GetText(Document().Get(), {L"Content", L"Text"}); }

  testing_support::ComApartment apartment_;
  WordStandinSetup standin_;
  ComPtr<_WordPrintOut> obj_;
};

TEST_F(Report, ThreePagesFromTwoTemplates) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ASSERT_EQ(Code(), 0);
  LONG r = 1;

  ASSERT_HRESULT_SUCCEEDED(Append(L"letter.docx"));
  EXPECT_EQ(FormName(), L"letter.docx");
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#name#", Variant::Str(L"山田 太郎"), &r));
  EXPECT_EQ(r, 0);
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#amount#", Variant::I4(12345), &r));
  EXPECT_EQ(r, 0);
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#note#", Variant(), &r));  // Empty deletes the field
  EXPECT_EQ(r, 0);
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());

  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#count#", Variant::Str(L"3"), &r));
  EXPECT_EQ(r, 0);
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());

  ASSERT_HRESULT_SUCCEEDED(Append(L"letter.docx"));
  // "#name#" stands on pages 2 and 3 now: one call fills both.
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#name#", Variant::Str(L"佐藤"), &r));
  EXPECT_EQ(r, 0);
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#missing#", Variant::Str(L"x"), &r));
  EXPECT_EQ(r, -1);
  ASSERT_HRESULT_SUCCEEDED(obj_->LastDelete());
  ASSERT_HRESULT_SUCCEEDED(obj_->WordEnd());
  EXPECT_EQ(Code(), 0);

  ComPtr<IDispatch> word;
  obj_->get_objWord(word.Receive());
  EXPECT_FALSE(word) << "the finish path releases Word";
  ASSERT_TRUE(Document());

  std::vector<std::wstring> pages = Pages(DocumentText());
  ASSERT_EQ(pages.size(), 3u) << Utf8(DocumentText());
  EXPECT_EQ(Utf8(pages[0]), Utf8(L"宛先: 山田 太郎 様\r日付: \r金額: 12345 円 ()\r"));
  EXPECT_EQ(Utf8(pages[1]), Utf8(L"件数 3\r担当 佐藤\r"));
  EXPECT_EQ(Utf8(pages[2]), Utf8(L"宛先: 佐藤 様\r日付: \r金額:  円 ()\r"));

  // Word is shown to the user, maximised, at 100 %, alerts back on.
  ComPtr<IDispatch> app;
  {
    Variant a = quorrel_test::GetPath(Document().Get(), {L"Application"});
    ASSERT_EQ(a.Type(), VT_DISPATCH);
    app = V_DISPATCH(a.Ptr());
  }
  Variant visible = quorrel_test::GetPath(app.Get(), {L"Visible"});
  EXPECT_EQ(visible.Type(), VT_BOOL);
  EXPECT_EQ(V_BOOL(visible.Ptr()), VARIANT_TRUE);
  EXPECT_EQ(GetText(app.Get(), {L"WindowState"}), L"1");
  EXPECT_EQ(GetText(app.Get(), {L"DisplayAlerts"}), L"-1");
  EXPECT_EQ(GetText(app.Get(), {L"ActiveWindow", L"ActivePane", L"View", L"Zoom", L"Percentage"}),
            L"100");
}

TEST_F(Report, FinishCallsReachWordInOrder) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
  size_t before = standin_.Journal().size();
  ASSERT_HRESULT_SUCCEEDED(obj_->WordEnd());
  std::vector<std::wstring> journal = standin_.Journal();
  std::vector<std::string> calls;
  for (size_t i = before; i < journal.size(); ++i) calls.push_back(Utf8(journal[i]));
  const std::vector<std::string> expected = {
      "Range.Find get", "Find.ClearFormatting call", "Find.Replacement get",
      "Replacement.ClearFormatting call", "Find.Text put VT_BSTR:\"#*#\"",
      "Replacement.Text put VT_BSTR:\"\"", "Find.Forward put VT_BOOL:-1",
      "Find.Wrap put VT_I4:1", "Find.Format put VT_BOOL:0", "Find.MatchFuzzy put VT_BOOL:0",
      "Find.MatchWholeWord put VT_BOOL:0", "Find.MatchAllWordForms put VT_BOOL:0",
      "Find.MatchSoundsLike put VT_BOOL:0", "Find.MatchWildcards put VT_BOOL:-1",
      "Range.Find get", "Find.Execute call Replace:=VT_I4:2",
      "Application.Selection get", "Selection.WholeStory call",
      "Selection.ParagraphFormat get", "ParagraphFormat.DisableLineHeightGrid put VT_BOOL:-1",
      "Application.ActiveWindow get", "Window.ActivePane get",
      "Pane.VerticalPercentScrolled put VT_I2:0", "Selection.HomeKey call VT_I4:6",
      "Application.Visible put VT_BOOL:-1", "Application.WindowState put VT_I4:1",
      "Application.Activate call", "Application.ActiveWindow get", "Window.Activate call",
      "Window.ActivePane get", "Pane.View get", "View.Zoom get",
      "Zoom.Percentage put VT_I2:100", "Application.DisplayAlerts put VT_I4:-1"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(DocumentText().find(L'#'), std::wstring::npos);
}

// A report asks Word for each name once: a member's DISPID is kept for every later object of
// the same type, however many pages follow.
TEST_F(Report, EachNameIsLookedUpOnce) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  LONG r = 1;
  for (const wchar_t* page : {L"letter.docx", L"summary.docx", L"letter.docx"}) {
    ASSERT_HRESULT_SUCCEEDED(Append(page));
    ASSERT_HRESULT_SUCCEEDED(Fill(L"#name#", Variant::Str(L"山田"), &r));
    ASSERT_HRESULT_SUCCEEDED(Fill(L"#count#", Variant::I4(3), &r));
    ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());
  }
  ASSERT_HRESULT_SUCCEEDED(obj_->ClearConversion());
  ASSERT_HRESULT_SUCCEEDED(obj_->LastDelete());
  ASSERT_HRESULT_SUCCEEDED(obj_->WordEnd());

  const std::vector<std::wstring> lookups = standin_.Lookups();
  std::map<std::wstring, int> times;
  for (const std::wstring& l : lookups) ++times[l];
  for (const auto& [lookup, n] : times) EXPECT_EQ(n, 1) << Utf8(lookup);
  EXPECT_NE(times.count(L"Range.Collapse lookup"), 0u) << "lookups reach the journal";
  EXPECT_GT(standin_.Journal().size(), 3 * lookups.size());
}

TEST_F(Report, AppendCallsReachWordInOrder) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  size_t before = standin_.Journal().size();
  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
  std::vector<std::wstring> journal = standin_.Journal();
  std::vector<std::string> calls;
  for (size_t i = before; i < journal.size(); ++i) calls.push_back(Utf8(journal[i]));
  const std::string path = Utf8(FixtureDir() + L"summary.docx");
  const std::vector<std::string> expected = {
      "Application.Documents get", "Documents.Open call VT_BSTR:\"" + path + "\"",
      "Document.Application get", "Application.ActiveDocument get", "Document.Range call",
      "Range.WholeStory call", "Range.Copy call", "Document.Close call",
      "Document.Name get", "Application.Documents get VT_BSTR:\"文書1\"",
      "Document.Activate call", "Document.Application get", "Application.Selection get",
      "Selection.EndKey call VT_I4:5", "Document.Content get", "Range.Collapse call VT_I4:0",
      "Range.Paste call"};
  EXPECT_EQ(calls, expected);
}

// Another program writing the clipboard between the template's copy and the paste: what it put
// there is what lands on the page, and an emptied clipboard fails the append like any other
// step of it.
struct ClipboardIntrusion {
  const char* name;
  const wchar_t* text;  // what the other program puts there; nullptr: it empties the clipboard
};

void PrintTo(const ClipboardIntrusion& c, std::ostream* os) { *os << c.name; }

void WriteClipboard(const wchar_t* text) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  EmptyClipboard();
  if (text) {
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), text, bytes);
    GlobalUnlock(mem);
    if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
  }
  CloseClipboard();
}

class ClipboardBetweenCopyAndPaste : public Report,
                                     public ::testing::WithParamInterface<ClipboardIntrusion> {};

TEST_P(ClipboardBetweenCopyAndPaste, PasteTakesWhatIsThere) {
  const ClipboardIntrusion& c = GetParam();
  // Word is held after the copy, at the template's close, while the other program writes.
  standin_.PauseBefore(L"Document.Close");
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  bool held = false;
  std::thread other([&] {
    held = standin_.WaitForPause(10000);
    if (held) WriteClipboard(c.text);
    standin_.Resume();
  });
  HRESULT hr = Append(L"letter.docx");
  other.join();
  ASSERT_TRUE(held) << "Word was never held between copy and paste";

  if (c.text) {
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(FormName(), L"letter.docx");
    EXPECT_EQ(Code(), 0);
    EXPECT_EQ(Utf8(DocumentText()), Utf8(std::wstring(c.text) + L"\r"));
  } else {
    EXPECT_EQ(hr, kLibraryError);
    EXPECT_EQ(FormName(), L"");
    EXPECT_EQ(Code(), 1);
    EXPECT_EQ(DocumentText(), L"\r");
    EXPECT_EQ(GetText(Document().Get(), {L"Application", L"Documents", L"Count"}), L"1");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardBetweenCopyAndPaste,
    ::testing::Values(ClipboardIntrusion{"OtherText", L"別のプログラムの文字"},
                      ClipboardIntrusion{"Emptied", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The page and field operations, each as the sequence of calls Word receives from it.
TEST_F(Report, PageAndFieldCallsReachWordInOrder) {
  auto find_replace = [](const std::string& find, const std::string& replace, bool wildcards) {
    return std::vector<std::string>{
        "Range.Find get", "Find.ClearFormatting call", "Find.Replacement get",
        "Replacement.ClearFormatting call", "Find.Text put VT_BSTR:\"" + find + "\"",
        "Replacement.Text put VT_BSTR:\"" + replace + "\"", "Find.Forward put VT_BOOL:-1",
        "Find.Wrap put VT_I4:1", "Find.Format put VT_BOOL:0", "Find.MatchFuzzy put VT_BOOL:0",
        "Find.MatchWholeWord put VT_BOOL:0", "Find.MatchAllWordForms put VT_BOOL:0",
        "Find.MatchSoundsLike put VT_BOOL:0",
        std::string("Find.MatchWildcards put VT_BOOL:") + (wildcards ? "-1" : "0"),
        "Range.Find get", "Find.Execute call Replace:=VT_I4:2"};
  };
  auto then = [](std::vector<std::string> calls, std::vector<std::string> more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
  };
  LONG r = 0;
  const struct {
    const char* name;
    std::function<HRESULT()> operation;
    std::vector<std::string> expected;
  } operations[] = {
      {"SetFieldText", [&] { return Fill(L"#name#", Variant::Str(L"山田"), &r); },
       find_replace("#name#", "山田", false)},
      {"SetFieldText with a wildcard pattern",
       [&] { return Fill(L"#a*#", Variant::I4(5), &r, true); }, find_replace("#a*#", "5", true)},
      {"ClearConversion", [&] { return obj_->ClearConversion(); },
       then(find_replace("#*#", "", true), {"Range.Collapse call VT_I4:0"})},
      {"NewPage", [&] { return obj_->NewPage(); },
       {"Range.Collapse call VT_I4:0", "Range.InsertBreak call VT_I4:7"}},
      {"LastDelete", [&] { return obj_->LastDelete(); },
       {"Range.Collapse call VT_I4:0", "Range.Delete call"}},
  };
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ASSERT_HRESULT_SUCCEEDED(Append(L"letter.docx"));
  for (const auto& op : operations) {
    SCOPED_TRACE(op.name);
    const size_t before = standin_.Journal().size();
    ASSERT_HRESULT_SUCCEEDED(op.operation());
    const std::vector<std::wstring> journal = standin_.Journal();
    std::vector<std::string> calls;
    for (size_t i = before; i < journal.size(); ++i) calls.push_back(Utf8(journal[i]));
    EXPECT_EQ(calls, op.expected);
  }
}

TEST_F(Report, NewPageAndLastDeleteShapeThePages) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  // Nothing to do before the first page, and no error either.
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());
  ASSERT_HRESULT_SUCCEEDED(obj_->LastDelete());
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(DocumentText(), L"\r");

  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));  // directly after the first copy
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());  // two breaks in a row
  std::vector<std::wstring> pages = Pages(DocumentText());
  ASSERT_EQ(pages.size(), 3u) << Utf8(DocumentText());
  EXPECT_EQ(Utf8(pages[0]), Utf8(L"件数 #count#\r担当 #name#\r件数 #count#\r担当 #name#\r"));
  EXPECT_EQ(pages[1], L"");
}

// Ends every stand-in Word process the hard way, as a crash of Word would.
void KillWord() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, L"WordStandin.exe") != 0) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (!process) continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

// Word gone in the middle of a run: every later call fails or does nothing, as each operation's
// own rule says, and none takes long.
TEST_F(Report, WordKilledMidRunLeavesEachCallItsOwnOutcome) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ASSERT_HRESULT_SUCCEEDED(Append(L"letter.docx"));
  KillWord();

  auto quick = [](const char* what, const std::function<HRESULT()>& call) {
    DWORD start = GetTickCount();
    HRESULT hr = call();
    EXPECT_LT(GetTickCount() - start, 1000u) << what;
    return hr;
  };
  LONG r = 1;
  EXPECT_EQ(quick("SetFieldText", [&] { return Fill(L"#name#", Variant::Str(L"x"), &r); }),
            kLibraryError);
  EXPECT_EQ(r, -1);
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(quick("NewPage", [&] { return obj_->NewPage(); }), S_OK);
  EXPECT_EQ(quick("LastDelete", [&] { return obj_->LastDelete(); }), S_OK);
  EXPECT_EQ(quick("ClearConversion", [&] { return obj_->ClearConversion(); }), S_OK);
  LONG mm[8] = {10, 10, 10, 10, 10, 10, 210, 297};
  EXPECT_EQ(quick("PageSet", [&] {
              return obj_->PageSet(&mm[0], &mm[1], &mm[2], &mm[3], &mm[4], &mm[5], &mm[6], &mm[7]);
            }), S_OK);
  EXPECT_EQ(quick("SetPageNo", [&] { return obj_->SetPageNo(&mm[0], &mm[1]); }), S_OK);
  com::Bstr field(L"#photo#"), file(FixtureDir() + L"photo.png");
  BSTR fb = field.Get(), pb = file.Get();
  double size = 10;
  r = 0;
  EXPECT_EQ(quick("SetFieldImage",
                  [&] { return obj_->SetFieldImage(&fb, &pb, &size, &size, &r); }), S_OK);
  EXPECT_EQ(r, -1);
  com::Bstr text(L"y");
  BSTR tb = text.Get();
  EXPECT_TRUE(FAILED(quick("SelectionFindforTextBox",
                           [&] { return obj_->SelectionFindforTextBox(&fb, &tb); })));
  EXPECT_EQ(quick("FormName", [&] { return Append(L"summary.docx"); }), kLibraryError);
  EXPECT_EQ(FormName(), L"");
  EXPECT_EQ(Code(), 1);
  // The discard path stops at its first call: nothing else changes.
  EXPECT_EQ(quick("WordEnd", [&] { return obj_->WordEnd(); }), S_OK);
  EXPECT_EQ(Code(), 1);
  obj_->put_objNewWord(nullptr);
}

// Each way an append can fail: 0x80040201 with a description, FormName empty, code 1, and the
// output document unchanged.
struct BadTemplate {
  const char* name;
  const wchar_t* file;
  DWORD attributes;    // given to a copy of a good template; 0: no copy is made
  bool folder;         // `file` is a folder
  bool corrupt;        // `file` holds bytes that are no document
  bool strip_separator;  // FormPath without its trailing backslash
  bool start_word;
};

void PrintTo(const BadTemplate& b, std::ostream* os) { *os << b.name; }

class FailedAppend : public Report, public ::testing::WithParamInterface<BadTemplate> {};

TEST_P(FailedAppend, ReportsOpenErr) {
  const BadTemplate& b = GetParam();
  testing_support::TempDir dir;
  std::wstring file = dir.path() + b.file;
  if (b.attributes) {
    ASSERT_TRUE(CopyFileW((FixtureDir() + L"summary.docx").c_str(), file.c_str(), FALSE));
    SetFileAttributesW(file.c_str(), b.attributes);
  }
  if (b.folder) {
    ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
  }
  if (b.corrupt) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written;
    WriteFile(h, "PK\3\4 broken", 12, &written, nullptr);
    CloseHandle(h);
  }
  std::wstring path = dir.path();
  if (b.strip_separator) {
    path.pop_back();  // "...\qtN" + "summary.docx" names no file
    ASSERT_TRUE(CopyFileW((FixtureDir() + L"summary.docx").c_str(), file.c_str(), FALSE));
  }
  SetPath(path);
  // A name stored by an earlier append is cleared by the failure.
  if (b.start_word) {
    ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
    SetPath(FixtureDir());
    ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
    SetPath(path);
  }
  std::wstring before = b.start_word ? DocumentText() : L"";

  EXPECT_EQ(Append(b.file), kLibraryError);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Receive()), S_OK);
  com::Bstr description;
  info->GetDescription(description.Receive());
  EXPECT_NE(description.Str().find(b.file), std::wstring::npos) << Utf8(description.Str());
  EXPECT_EQ(FormName(), L"");
  EXPECT_EQ(Code(), 1);
  if (b.start_word) {
    EXPECT_EQ(Utf8(DocumentText()), Utf8(before));
    EXPECT_EQ(GetText(Document().Get(), {L"Application", L"Documents", L"Count"}), L"1")
        << "no template may stay open";
  }
  if (b.attributes) SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedAppend,
    ::testing::Values(
        BadTemplate{"Missing", L"nothere.docx", 0, false, false, false, true},
        BadTemplate{"Hidden", L"hidden.docx", FILE_ATTRIBUTE_HIDDEN, false, false, false, true},
        BadTemplate{"System", L"system.docx", FILE_ATTRIBUTE_SYSTEM, false, false, false, true},
        BadTemplate{"Folder", L"folder.docx", 0, true, false, false, true},
        BadTemplate{"Corrupt", L"corrupt.docx", 0, false, true, false, true},
        BadTemplate{"PathWithoutSeparator", L"summary.docx", 0, false, false, true, true},
        BadTemplate{"BeforeWordStart", L"summary.docx", FILE_ATTRIBUTE_NORMAL, false, false,
                    false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// SetFieldText's edges: values of several types, wildcards, the cancelled run, Word's refusal.
TEST_F(Report, FieldTextEdges) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ASSERT_HRESULT_SUCCEEDED(Append(L"letter.docx"));
  LONG r = 1;
  Variant null_value;
  V_VT(null_value.Ptr()) = VT_NULL;
  std::wstring before = DocumentText();
  EXPECT_EQ(Fill(L"#name#", null_value, &r), kLibraryError);
  EXPECT_EQ(DocumentText(), before);

  ASSERT_HRESULT_SUCCEEDED(Fill(L"#date#", Variant::Bool(true), &r));
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#amount#", Variant::R8(1.5), &r));
  // A wildcard pattern: every field left goes, as the clean-up does it.
  ASSERT_HRESULT_SUCCEEDED(Fill(L"#*#", Variant::Str(L""), &r, true));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(Utf8(DocumentText()), Utf8(L"宛先:  様\r日付: True\r金額: 1.5 円 ()\r\r"));

  // Word refuses a replacement text longer than 255 characters.
  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
  EXPECT_EQ(Fill(L"#count#", Variant::Str(std::wstring(300, L'x')), &r), kLibraryError);
  EXPECT_EQ(Code(), 0);

  // Once cancelled, no call reaches Word and the code stays.
  ASSERT_HRESULT_SUCCEEDED(obj_->put_WordOutErr(2));
  size_t calls = standin_.Journal().size();
  EXPECT_EQ(Fill(L"#count#", Variant::Str(L"1"), &r), kLibraryError);
  EXPECT_EQ(r, -1);
  EXPECT_EQ(Code(), 2);
  EXPECT_EQ(standin_.Journal().size(), calls);
}

TEST_F(Report, FieldTextWithoutPageFails) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  LONG r = 1;
  EXPECT_EQ(Fill(L"#name#", Variant::Str(L"x"), &r), kLibraryError);
  EXPECT_EQ(r, -1);
  // The code is reset all the same; ClearConversion quietly does nothing.
  EXPECT_EQ(Code(), 0);
  EXPECT_HRESULT_SUCCEEDED(obj_->ClearConversion());
}

TEST_F(Report, ClearConversionRemovesEveryPlaceholder) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ASSERT_HRESULT_SUCCEEDED(Append(L"letter.docx"));
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());
  ASSERT_HRESULT_SUCCEEDED(Append(L"summary.docx"));
  ASSERT_HRESULT_SUCCEEDED(obj_->ClearConversion());
  EXPECT_EQ(DocumentText().find(L'#'), std::wstring::npos) << Utf8(DocumentText());
}

}  // namespace
