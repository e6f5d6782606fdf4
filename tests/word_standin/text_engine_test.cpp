// The stand-in's document engine as Word's clients see it: ranges and their editing rules,
// find and replace (literal and wildcard), the clipboard, the selection, fonts, page setup and
// page numbers, checked through Word's own read members.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "com_test_env.h"
#include "standin_client.h"
#include "word_standin_control.h"

namespace standin_test {
namespace {

using testing_support::Utf8;

constexpr HRESULT kStringTooLong = 0x800A16DE;  // Word error 5854

class StandinEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(word_->hr());
    doc_ = GetObj(GetObj(word_->app(), L"Documents").Get(), L"Add");
  }
  // The next test's activation must not meet this process while it is ending.
  void TearDown() override {
    doc_.Reset();
    word_.reset();
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000)) << "a stand-in was left running";
  }
  ComPtr<IDispatch> Content() { return GetObj(doc_.Get(), L"Content"); }
  std::wstring Text() { return GetText(Content().Get(), L"Text"); }
  void SetText(const std::wstring& text) { Put(Content().Get(), L"Text", Variant::Str(text)); }

  testing_support::ComApartment apartment_;
  testing_support::WordStandinSetup standin_;
  std::unique_ptr<WordSession> word_ = std::make_unique<WordSession>();
  ComPtr<IDispatch> doc_;
};

TEST_F(StandinEngineTest, RangesFollowWordsEditingRules) {
  EXPECT_EQ(Text(), L"\r") << "a new document holds its final paragraph mark";
  ComPtr<IDispatch> range = Content();
  Call(range.Get(), L"Collapse", {Variant::I4(0)});
  EXPECT_EQ(GetLong(range.Get(), L"Start"), 0) << "collapsing to the end stops before the mark";
  Call(range.Get(), L"InsertAfter", {Variant::Str(L"abc")});
  EXPECT_EQ(GetText(range.Get(), L"Text"), L"abc") << "the range grows over inserted text";
  Call(range.Get(), L"Collapse", {Variant::I4(0)});
  Call(range.Get(), L"InsertBreak", {Variant::I4(7)});
  EXPECT_EQ(Text(), L"abc\f\r");
  Call(range.Get(), L"InsertAfter", {Variant::Str(L"de")});
  EXPECT_EQ(Text(), L"abc\fde\r");

  // A collapsed range deletes the next character; the final mark survives.
  ComPtr<IDispatch> at = Call(doc_.Get(), L"Range", {Variant::I4(1), Variant::I4(1)}).Get().pdispVal;
  EXPECT_EQ(GetLong(at.Get(), L"Start"), 1);
  EXPECT_EQ(V_I4(Call(at.Get(), L"Delete").Ptr()), 1);
  EXPECT_EQ(Text(), L"ac\fde\r");
  ComPtr<IDispatch> end = Content();
  Call(end.Get(), L"Collapse", {Variant::I4(0)});
  Variant deleted = Call(end.Get(), L"Delete");
  EXPECT_EQ(V_I4(deleted.Ptr()), 0) << "nothing follows but the final mark";
  EXPECT_EQ(Text(), L"ac\fde\r");

  // An empty last paragraph after the caret goes, as the LastDelete of a report does.
  SetText(L"page\r");
  EXPECT_EQ(Text(), L"page\r\r");
  ComPtr<IDispatch> tail = Content();
  Call(tail.Get(), L"Collapse", {Variant::I4(0)});
  Call(tail.Get(), L"Delete");
  EXPECT_EQ(Text(), L"page\r");
}

struct ReplaceCase {
  const wchar_t* text;
  const wchar_t* find;
  const wchar_t* replace;
  bool wildcards;
  bool found;
  const wchar_t* result;
};

TEST_F(StandinEngineTest, ReplaceAllMatchesWordsResults) {
  const ReplaceCase cases[] = {
      {L"氏名:#NAME# 様", L"#NAME#", L"山田", false, true, L"氏名:山田 様\r"},
      {L"#A# and #a#", L"#a#", L"x", false, true, L"x and x\r"},  // case-insensitive
      {L"#A# and #B#\r#C#", L"#*#", L"", true, true, L" and \r\r"},  // lazy, every one
      {L"x#?ルビ?#y", L"#?ルビ?#", L"", true, true, L"xy\r"},
      {L"x#?ルビ?#y #1ルビ2#", L"#?ルビ?#", L"R", false, true, L"xRy #1ルビ2#\r"},
      {L"a #1ルビ2# b", L"#?ルビ?#", L"R", true, true, L"a R b\r"},
      {L"nothing here", L"#NAME#", L"y", false, false, L"nothing here\r"},
      {L"ab12cd345", L"[0-9]{2,3}", L"<^&>", true, true, L"ab<12>cd<345>\r"},
      {L"aaa bab", L"<[!b]@>", L"W", true, true, L"W bab\r"},
      {L"2024-01-31", L"([0-9]@)-([0-9]@)-([0-9]@)", L"\\3/\\2/\\1", true, true, L"31/01/2024\r"},
      {L"a*b", L"\\*", L"+", true, true, L"a+b\r"},
  };
  for (const ReplaceCase& c : cases) {
    SetText(c.text);
    ComPtr<IDispatch> range = Content();
    ComPtr<IDispatch> find = GetObj(range.Get(), L"Find");
    Call(find.Get(), L"ClearFormatting");
    Put(find.Get(), L"Text", Variant::Str(c.find));
    Put(GetObj(find.Get(), L"Replacement").Get(), L"Text", Variant::Str(c.replace));
    Put(find.Get(), L"Forward", Variant::Bool(true));
    Put(find.Get(), L"Wrap", Variant::I4(1));
    Put(find.Get(), L"MatchWildcards", Variant::Bool(c.wildcards));
    // A Find obtained anew keeps the conditions (they are sticky).
    Variant found = Call(GetObj(range.Get(), L"Find").Get(), L"Execute", {},
                         {{L"Replace", Variant::I4(2)}});
    EXPECT_EQ(found.Type(), VT_BOOL) << Utf8(c.find);
    EXPECT_EQ(V_BOOL(found.Ptr()) != VARIANT_FALSE, c.found) << Utf8(c.find);
    EXPECT_EQ(Utf8(Text()), Utf8(c.result)) << Utf8(c.find);
  }
  std::vector<std::wstring> journal = standin_.Journal();
  bool seen = false;
  for (const auto& line : journal) seen = seen || line == L"Find.Execute call Replace:=VT_I4:2";
  EXPECT_TRUE(seen);
}

TEST_F(StandinEngineTest, FindWithoutReplaceMovesTheRangeOntoTheMatch) {
  SetText(L"one #F# two #F#");
  ComPtr<IDispatch> range = Content();
  ComPtr<IDispatch> find = GetObj(range.Get(), L"Find");
  Put(find.Get(), L"MatchWildcards", Variant::Bool(false));
  Variant found = Call(find.Get(), L"Execute", {}, {{L"FindText", Variant::Str(L"#F#")}});
  EXPECT_NE(V_BOOL(found.Ptr()), VARIANT_FALSE);
  EXPECT_EQ(GetLong(range.Get(), L"Start"), 4);
  EXPECT_EQ(GetLong(range.Get(), L"End"), 7);
  EXPECT_NE(V_BOOL(Get(find.Get(), L"Found").Ptr()), VARIANT_FALSE);
}

TEST_F(StandinEngineTest, FindRejectsWhatWordRejects) {
  ComPtr<IDispatch> find = GetObj(Content().Get(), L"Find");
  com::CallError e = Failure(find.Get(), L"Text", DISPATCH_PROPERTYPUT,
                             {Variant::Str(std::wstring(256, L'x'))});
  EXPECT_EQ(e.scode, kStringTooLong);
  Put(find.Get(), L"MatchWildcards", Variant::Bool(true));
  for (const wchar_t* bad : {L"[abc", L"a{2", L"(x", L"@"}) {
    com::CallError b = Failure(find.Get(), L"Execute", DISPATCH_METHOD, {Variant::Str(bad)});
    EXPECT_EQ(b.hr, DISP_E_EXCEPTION) << Utf8(bad);
  }
}

TEST_F(StandinEngineTest, CopyAndPasteGoThroughTheClipboard) {
  SetText(L"テンプレート本文");
  ComPtr<IDispatch> source = Content();
  Put(GetObj(Call(doc_.Get(), L"Range", {Variant::I4(0), Variant::I4(3)}).Get().pdispVal,
             L"Font").Get(), L"Name", Variant::Str(L"ＭＳ ゴシック"));
  Call(source.Get(), L"WholeStory");
  Call(source.Get(), L"Copy");

  ComPtr<IDispatch> out = GetObj(GetObj(word_->app(), L"Documents").Get(), L"Add");
  ComPtr<IDispatch> range = GetObj(out.Get(), L"Content");
  Call(range.Get(), L"Collapse", {Variant::I4(0)});
  Call(range.Get(), L"Paste");
  EXPECT_EQ(GetText(range.Get(), L"Text"), L"テンプレート本文\r") << "the range covers the paste";
  EXPECT_EQ(GetText(GetObj(out.Get(), L"Content").Get(), L"Text"), L"テンプレート本文\r\r");
  ComPtr<IDispatch> first = Call(out.Get(), L"Range", {Variant::I4(0), Variant::I4(3)}).Get().pdispVal;
  EXPECT_EQ(GetText(GetObj(first.Get(), L"Font").Get(), L"Name"), L"ＭＳ ゴシック");

  // Text another program put on the clipboard pastes as plain text; CR LF become marks.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const wchar_t plain[] = L"外部\r\nテキスト";
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof(plain));
  memcpy(GlobalLock(mem), plain, sizeof(plain));
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  ComPtr<IDispatch> target = Content();
  Call(target.Get(), L"Collapse", {Variant::I4(0)});
  Call(target.Get(), L"Paste");
  EXPECT_EQ(GetText(target.Get(), L"Text"), L"外部\rテキスト");
  EXPECT_EQ(Text(), L"テンプレート本文外部\rテキスト\r");

  // With nothing on the clipboard Word refuses the paste and leaves the document alone.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  com::CallError empty = Failure(target.Get(), L"Paste", DISPATCH_METHOD, {});
  EXPECT_EQ(empty.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(empty.scode, static_cast<HRESULT>(0x800A11FD));  // 4605
  EXPECT_EQ(Text(), L"テンプレート本文外部\rテキスト\r");
}

TEST_F(StandinEngineTest, SelectionKeysFontAndParagraphFormat) {
  SetText(L"line one\rline two");
  ComPtr<IDispatch> sel = GetObj(word_->app(), L"Selection");
  Call(sel.Get(), L"WholeStory");
  EXPECT_EQ(GetLong(sel.Get(), L"End"), 18);
  Call(sel.Get(), L"HomeKey", {Variant::I4(6)});
  EXPECT_EQ(GetLong(sel.Get(), L"Start"), 0);
  EXPECT_EQ(GetLong(sel.Get(), L"End"), 0);
  Call(sel.Get(), L"EndKey", {Variant::I4(5)});
  EXPECT_EQ(GetLong(sel.Get(), L"Start"), 8) << "end of the first line";
  Call(sel.Get(), L"EndKey", {Variant::I4(6), Variant::I4(1)});
  EXPECT_EQ(GetLong(sel.Get(), L"End"), 17) << "extended to the end of the story";
  ComPtr<IDispatch> font = GetObj(sel.Get(), L"Font");
  Put(font.Get(), L"Superscript", Variant::Bool(true));
  EXPECT_EQ(GetLong(font.Get(), L"Superscript"), -1);
  EXPECT_EQ(GetLong(GetObj(Content().Get(), L"Font").Get(), L"Superscript"), 9999999) << "mixed";
  Put(GetObj(sel.Get(), L"ParagraphFormat").Get(), L"DisableLineHeightGrid", Variant::Bool(true));
  EXPECT_EQ(GetLong(GetObj(Content().Get(), L"ParagraphFormat").Get(), L"DisableLineHeightGrid"),
            -1);
}

TEST_F(StandinEngineTest, PageSetupHeadersAndPageNumbers) {
  ComPtr<IDispatch> setup = GetObj(doc_.Get(), L"PageSetup");
  Put(setup.Get(), L"TopMargin", Variant::R8(20 * 2.835));
  EXPECT_NEAR(V_R4(Get(setup.Get(), L"TopMargin").Ptr()), 56.7f, 0.01f);
  EXPECT_EQ(Failure(setup.Get(), L"PageWidth", DISPATCH_PROPERTYPUT, {Variant::R8(-1)}).hr,
            DISP_E_EXCEPTION);
  ComPtr<IDispatch> sel = GetObj(word_->app(), L"Selection");
  ComPtr<IDispatch> footer = GetObj(GetObj(sel.Get(), L"Sections", {Variant::I4(1)}).Get(),
                                    L"Footers", {Variant::I4(1)});
  Call(GetObj(footer.Get(), L"PageNumbers").Get(), L"Add", {},
       {{L"PageNumberAlignment", Variant::I4(2)}, {L"FirstPage", Variant::Bool(true)}});
  ComPtr<IDispatch> numbers = GetObj(footer.Get(), L"PageNumbers");
  EXPECT_EQ(GetLong(numbers.Get(), L"Count"), 1);
  EXPECT_EQ(GetLong(numbers.Get(), L"Alignment"), 2);
  ComPtr<IDispatch> header_range = GetObj(
      GetObj(GetObj(doc_.Get(), L"Sections", {Variant::I4(1)}).Get(), L"Headers", {Variant::I4(1)}).Get(),
      L"Range");
  Put(header_range.Get(), L"Text", Variant::Str(L"見出し"));
  EXPECT_EQ(Text(), L"\r") << "headers are stories of their own";

  std::vector<std::wstring> journal = standin_.Journal();
  auto has = [&](const std::wstring& line) {
    for (const auto& l : journal) if (l == line) return true;
    return false;
  };
  EXPECT_TRUE(has(L"PageSetup.TopMargin put VT_R8:56.7"));
  EXPECT_TRUE(has(L"Selection.Sections get VT_I4:1"));
  EXPECT_TRUE(has(L"PageNumbers.Add call PageNumberAlignment:=VT_I4:2, FirstPage:=VT_BOOL:-1"));
}

}  // namespace
}  // namespace standin_test
