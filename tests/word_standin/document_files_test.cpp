// Documents read from .docx files as Word shows them: text, tables with their end-of-cell
// marks, text boxes and other shapes, inline pictures, and Word's errors for bad input, all
// through Word's own members.
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

constexpr HRESULT WordErr(int n) { return static_cast<HRESULT>(0x800A0000 + n); }

std::wstring FixtureDir() { return testing_support::ExeDir() + L"fixtures\\"; }

class DocumentFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(word_->hr());
    documents_ = GetObj(word_->app(), L"Documents");
    blank_ = GetObj(documents_.Get(), L"Add");
  }
  void TearDown() override {
    blank_.Reset();
    documents_.Reset();
    word_.reset();
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000)) << "a stand-in was left running";
  }
  ComPtr<IDispatch> Open(const std::wstring& path) {
    Variant doc = Call(documents_.Get(), L"Open", {Variant::Str(path)});
    return doc.Type() == VT_DISPATCH ? ComPtr<IDispatch>(V_DISPATCH(doc.Ptr())) : nullptr;
  }
  static std::wstring Text(IDispatch* doc) { return GetText(GetObj(doc, L"Content").Get(), L"Text"); }
  static ComPtr<IDispatch> CellOf(IDispatch* doc, LONG table, LONG row, LONG column) {
    ComPtr<IDispatch> t = GetObj(doc, L"Tables", {Variant::I4(table)});
    Variant cell = Call(t.Get(), L"Cell", {Variant::I4(row), Variant::I4(column)});
    return V_DISPATCH(cell.Ptr());
  }
  static std::wstring CellText(IDispatch* doc, LONG row, LONG column) {
    return GetText(GetObj(CellOf(doc, 1, row, column).Get(), L"Range").Get(), L"Text");
  }
  // Copies the whole of `from` and pastes it at the end of the blank document.
  void CopyIntoBlank(IDispatch* from) {
    ComPtr<IDispatch> all = GetObj(from, L"Content");
    Call(all.Get(), L"Copy");
    ComPtr<IDispatch> end = GetObj(blank_.Get(), L"Content");
    Call(end.Get(), L"Collapse", {Variant::I4(0)});
    Call(end.Get(), L"Paste");
  }

  testing_support::ComApartment apartment_;
  testing_support::WordStandinSetup standin_;
  std::unique_ptr<WordSession> word_ = std::make_unique<WordSession>();
  ComPtr<IDispatch> documents_;
  ComPtr<IDispatch> blank_;
};

std::wstring TableText() {
  // Five rows of three cells; every cell and every row ends with a mark read as "\r\a".
  const std::vector<std::vector<std::wstring>> rows = {
      {L"品名", L"数量", L"備考"}, {L"", L"", L""}, {L"", L"", L""}, {L"x", L"", L""}, {L"", L"", L""}};
  std::wstring text = L"一覧 #title#\r";
  for (const auto& row : rows) {
    for (const auto& cell : row) text += cell + L"\r\a";
    text += L"\r\a";
  }
  return text + L"\r";
}

struct OpenCase {
  const wchar_t* file;
  std::wstring text;
};

TEST_F(DocumentFilesTest, OpensTemplatesAsWordShowsThem) {
  const std::vector<OpenCase> cases = {
      {L"letter.docx", L"宛先: #name# 様\r日付: #date#\r金額: #amount# 円 (#note#)\r"},
      {L"table.docx", TableText()},
      // Each floating shape stands in an empty paragraph of its own.
      {L"textboxes.docx", L"本文 #body#\r\r\r\r\r"},
  };
  for (const OpenCase& c : cases) {
    ComPtr<IDispatch> doc = Open(FixtureDir() + c.file);
    ASSERT_TRUE(doc) << Utf8(c.file);
    EXPECT_EQ(Utf8(Text(doc.Get())), Utf8(c.text)) << Utf8(c.file);
    EXPECT_EQ(GetText(doc.Get(), L"Name"), c.file);
    EXPECT_EQ(GetText(GetObj(word_->app(), L"ActiveDocument").Get(), L"Name"), c.file);
    Call(doc.Get(), L"Close", {Variant::I2(0)});
  }
  EXPECT_EQ(GetLong(documents_.Get(), L"Count"), 1);
  // The page setup of the file, in points.
  ComPtr<IDispatch> doc = Open(FixtureDir() + L"letter.docx");
  EXPECT_EQ(GetText(GetObj(doc.Get(), L"PageSetup").Get(), L"TopMargin"), L"99.25");
  EXPECT_EQ(GetText(GetObj(doc.Get(), L"PageSetup").Get(), L"PageWidth"), L"595.3");
  // Opening the open file again activates it instead of adding a second copy.
  Call(blank_.Get(), L"Activate");
  ComPtr<IDispatch> again = Open(FixtureDir() + L"letter.docx");
  EXPECT_EQ(GetLong(documents_.Get(), L"Count"), 2);
  EXPECT_EQ(GetText(GetObj(word_->app(), L"ActiveDocument").Get(), L"Name"), L"letter.docx");
}

TEST_F(DocumentFilesTest, BadFilesFailWithWordsErrors) {
  testing_support::TempDir dir;
  const std::wstring corrupt = dir.path() + L"corrupt.docx";
  const std::wstring no_document = dir.path() + L"nodocument.docx";
  HANDLE h = CreateFileW(corrupt.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  DWORD written;
  WriteFile(h, "PK\3\4 broken", 12, &written, nullptr);
  CloseHandle(h);
  // A real ZIP container without a document part: a picture file renamed.
  ASSERT_TRUE(CopyFileW((FixtureDir() + L"photo.png").c_str(), no_document.c_str(), FALSE));
  ASSERT_TRUE(CreateDirectoryW((dir.path() + L"folder.docx").c_str(), nullptr));

  const struct {
    std::wstring path;
    HRESULT error;
  } cases[] = {
      {FixtureDir() + L"nothere.docx", WordErr(5174)},
      {dir.path() + L"folder.docx", WordErr(5174)},
      {corrupt, WordErr(5792)},
      {no_document, WordErr(5792)},
      {FixtureDir() + L"corrupt.png", WordErr(5792)},
  };
  for (const auto& c : cases) {
    com::CallError e = Failure(documents_.Get(), L"Open", DISPATCH_METHOD, {Variant::Str(c.path)});
    EXPECT_EQ(e.scode, c.error) << Utf8(c.path);
    EXPECT_NE(e.description.Str().find(c.path), std::wstring::npos) << Utf8(e.description.Str());
  }
  Variant null_name;
  V_VT(null_name.Ptr()) = VT_NULL;
  com::CallError mismatch = Failure(documents_.Get(), L"Open", DISPATCH_METHOD, {null_name});
  EXPECT_EQ(mismatch.scode, WordErr(13));
  // Nothing was added, and the server still answers.
  EXPECT_EQ(GetLong(documents_.Get(), L"Count"), 1);
  EXPECT_EQ(GetText(GetObj(word_->app(), L"ActiveDocument").Get(), L"Name"),
            GetText(blank_.Get(), L"Name"));
}

TEST_F(DocumentFilesTest, TableCellsFollowWordsEndOfCellRule) {
  ComPtr<IDispatch> doc = Open(FixtureDir() + L"table.docx");
  EXPECT_EQ(GetLong(GetObj(doc.Get(), L"Tables").Get(), L"Count"), 1);
  EXPECT_EQ(Utf8(CellText(doc.Get(), 1, 2)), Utf8(L"数量\r\a"));

  // InsertAfter lands inside the cell, before its mark; the range still spans the cell.
  ComPtr<IDispatch> range = GetObj(CellOf(doc.Get(), 1, 2, 1).Get(), L"Range");
  Call(range.Get(), L"InsertAfter", {Variant::Str(L"ab")});
  Call(range.Get(), L"InsertAfter", {Variant::Str(L"c")});
  EXPECT_EQ(GetText(range.Get(), L"Text"), L"abc\r\a");
  EXPECT_EQ(GetLong(range.Get(), L"End") - GetLong(range.Get(), L"Start"), 4)
      << "the end-of-cell mark is one position";
  EXPECT_EQ(Utf8(CellText(doc.Get(), 4, 1)), "x\r\a");
  ComPtr<IDispatch> first = GetObj(CellOf(doc.Get(), 1, 3, 1).Get(), L"Range");
  Call(first.Get(), L"InsertAfter", {Variant::Str(L"d")});
  EXPECT_EQ(CellText(doc.Get(), 3, 1), L"d\r\a");
  EXPECT_EQ(CellText(doc.Get(), 2, 1), L"abc\r\a");

  // Selecting a cell selects it whole; a find in the selection selects the match.
  Call(CellOf(doc.Get(), 1, 2, 1).Get(), L"Select");
  ComPtr<IDispatch> selection = GetObj(word_->app(), L"Selection");
  EXPECT_EQ(GetLong(selection.Get(), L"Start"), GetLong(range.Get(), L"Start"));
  EXPECT_EQ(GetLong(selection.Get(), L"End"), GetLong(range.Get(), L"End"));
  Variant found = Call(GetObj(selection.Get(), L"Find").Get(), L"Execute", {},
                       {{L"FindText", Variant::Str(L"b")}, {L"Forward", Variant::Bool(true)}});
  EXPECT_EQ(V_BOOL(found.Ptr()), VARIANT_TRUE);
  EXPECT_EQ(GetText(selection.Get(), L"Text"), L"b");
  Put(GetObj(selection.Get(), L"Font").Get(), L"Superscript", Variant::Bool(true));
  // Replaced text keeps the format of the text it replaces.
  Call(GetObj(GetObj(doc.Get(), L"Content").Get(), L"Find").Get(), L"Execute", {},
       {{L"FindText", Variant::Str(L"b")}, {L"ReplaceWith", Variant::Str(L"BB")},
        {L"Replace", Variant::I4(2)}});
  EXPECT_EQ(CellText(doc.Get(), 2, 1), L"aBBc\r\a");
  ComPtr<IDispatch> bb = GetObj(CellOf(doc.Get(), 1, 2, 1).Get(), L"Range");
  Call(GetObj(bb.Get(), L"Find").Get(), L"Execute", {}, {{L"FindText", Variant::Str(L"BB")}});
  EXPECT_EQ(GetLong(GetObj(bb.Get(), L"Font").Get(), L"Superscript"), -1);

  // Word's error for a table or a cell that is not there.
  EXPECT_EQ(Failure(doc.Get(), L"Tables", DISPATCH_PROPERTYGET, {Variant::I4(2)}).scode,
            WordErr(5941));
  ComPtr<IDispatch> table = GetObj(doc.Get(), L"Tables", {Variant::I4(1)});
  for (auto [row, column] : {std::pair{6, 1}, std::pair{1, 4}, std::pair{0, 1}}) {
    EXPECT_EQ(Failure(table.Get(), L"Cell", DISPATCH_METHOD, {Variant::I4(row), Variant::I4(column)})
                  .scode,
              WordErr(5941))
        << row << "," << column;
  }

  // Copy and paste carry the table as a table.
  CopyIntoBlank(doc.Get());
  EXPECT_EQ(GetLong(GetObj(blank_.Get(), L"Tables").Get(), L"Count"), 1);
  EXPECT_EQ(CellText(blank_.Get(), 2, 1), L"aBBc\r\a");
  EXPECT_EQ(CellText(blank_.Get(), 5, 3), L"\r\a");
}

TEST_F(DocumentFilesTest, TextBoxesHaveTheirOwnText) {
  ComPtr<IDispatch> doc = Open(FixtureDir() + L"textboxes.docx");
  ComPtr<IDispatch> shapes = GetObj(doc.Get(), L"Shapes");
  ASSERT_EQ(GetLong(shapes.Get(), L"Count"), 4);
  const LONG types[] = {17, 17, 17, 1};
  const wchar_t* texts[] = {L"氏名 #name#\r", L"#name# 様控え\r", L"Ｎａｍｅ #NAME#\r"};
  for (LONG i = 1; i <= 4; ++i) {
    ComPtr<IDispatch> shape = V_DISPATCH(Call(shapes.Get(), L"Item", {Variant::I4(i)}).Ptr());
    EXPECT_EQ(GetLong(shape.Get(), L"Type"), types[i - 1]);
    ComPtr<IDispatch> frame = GetObj(shape.Get(), L"TextFrame");
    if (types[i - 1] == 17) {
      EXPECT_EQ(Utf8(GetText(GetObj(frame.Get(), L"TextRange").Get(), L"Text")), Utf8(texts[i - 1]));
    } else {
      EXPECT_EQ(Failure(frame.Get(), L"TextRange", DISPATCH_PROPERTYGET).scode, WordErr(4605));
    }
  }
  EXPECT_EQ(Failure(shapes.Get(), L"Item", DISPATCH_METHOD, {Variant::I4(5)}).scode, WordErr(5941));

  // A put replaces the box's text and keeps its final paragraph mark; the range then covers
  // the new text.
  ComPtr<IDispatch> first = V_DISPATCH(Call(shapes.Get(), L"Item", {Variant::I4(1)}).Ptr());
  auto box_text = [](IDispatch* shape) {
    return GetText(GetObj(GetObj(shape, L"TextFrame").Get(), L"TextRange").Get(), L"Text");
  };
  ComPtr<IDispatch> box = GetObj(GetObj(first.Get(), L"TextFrame").Get(), L"TextRange");
  Put(box.Get(), L"Text", Variant::Str(L"山田"));
  EXPECT_EQ(Utf8(GetText(box.Get(), L"Text")), Utf8(L"山田"));
  EXPECT_EQ(Utf8(box_text(first.Get())), Utf8(L"山田\r"));
  EXPECT_EQ(Utf8(Text(doc.Get())), Utf8(L"本文 #body#\r\r\r\r\r")) << "the main text is untouched";

  // Shapes anchored in copied text go with it.
  CopyIntoBlank(doc.Get());
  ComPtr<IDispatch> pasted = GetObj(blank_.Get(), L"Shapes");
  ASSERT_EQ(GetLong(pasted.Get(), L"Count"), 4);
  ComPtr<IDispatch> copy = V_DISPATCH(Call(pasted.Get(), L"Item", {Variant::I4(1)}).Ptr());
  EXPECT_EQ(Utf8(box_text(copy.Get())), Utf8(L"山田\r"));
  Put(GetObj(GetObj(copy.Get(), L"TextFrame").Get(), L"TextRange").Get(), L"Text",
      Variant::Str(L"z"));
  EXPECT_EQ(Utf8(box_text(first.Get())), Utf8(L"山田\r")) << "the copy is a copy";
}

// Deleting only paragraph marks joins paragraphs and keeps the text boxes anchored in them;
// deleting their text as well deletes them.
TEST_F(DocumentFilesTest, JoinedParagraphsKeepTheirTextBoxes) {
  ComPtr<IDispatch> doc = Open(FixtureDir() + L"textboxes.docx");
  ComPtr<IDispatch> shapes = GetObj(doc.Get(), L"Shapes");
  ASSERT_EQ(GetLong(shapes.Get(), L"Count"), 4);
  ASSERT_EQ(Utf8(Text(doc.Get())), Utf8(L"本文 #body#\r\r\r\r\r"));
  Call(V_DISPATCH(Call(doc.Get(), L"Range", {Variant::I4(9), Variant::I4(11)}).Ptr()), L"Delete");
  EXPECT_EQ(Utf8(Text(doc.Get())), Utf8(L"本文 #body#\r\r\r"));
  EXPECT_EQ(GetLong(shapes.Get(), L"Count"), 4);
  Call(V_DISPATCH(Call(doc.Get(), L"Range", {Variant::I4(0), Variant::I4(11)}).Ptr()), L"Delete");
  EXPECT_EQ(Utf8(Text(doc.Get())), Utf8(L"\r"));
  EXPECT_LT(GetLong(shapes.Get(), L"Count"), 4);
}

TEST_F(DocumentFilesTest, PicturesTakeOnePositionAndHaveASize) {
  Put(GetObj(blank_.Get(), L"Content").Get(), L"Text", Variant::Str(L"a#p#b"));
  ComPtr<IDispatch> found = Call(blank_.Get(), L"Range", {Variant::I4(0), Variant::I4(5)}).Get().pdispVal;
  ComPtr<IDispatch> range = GetObj(found.Get(), L"Duplicate");
  // A find moves the range it runs on, never its duplicate.
  Call(GetObj(found.Get(), L"Find").Get(), L"Execute", {}, {{L"FindText", Variant::Str(L"#p#")}});
  EXPECT_EQ(GetLong(found.Get(), L"Start"), 1);
  EXPECT_EQ(GetLong(range.Get(), L"Start"), 0);
  EXPECT_EQ(GetLong(range.Get(), L"End"), 5);
  range = found;
  ComPtr<IDispatch> shapes = GetObj(range.Get(), L"InlineShapes");

  // A missing or undecodable file fails as in Word and changes nothing.
  const struct {
    const wchar_t* file;
    HRESULT error;
  } bad[] = {{L"nothere.png", WordErr(5152)}, {L"corrupt.png", WordErr(4198)}};
  for (const auto& b : bad) {
    EXPECT_EQ(Failure(shapes.Get(), L"AddPicture", DISPATCH_METHOD,
                      {Variant::Str(FixtureDir() + b.file), Variant::Bool(false),
                       Variant::Bool(true), Variant::Dispatch(range.Get())})
                  .scode,
              b.error)
        << Utf8(b.file);
  }
  EXPECT_EQ(Text(blank_.Get()), L"a#p#b\r");

  Variant added = Call(shapes.Get(), L"AddPicture",
                       {Variant::Str(FixtureDir() + L"photo.png"), Variant::Bool(false),
                        Variant::Bool(true), Variant::Dispatch(range.Get())});
  ASSERT_EQ(added.Type(), VT_DISPATCH);
  ComPtr<IDispatch> picture = V_DISPATCH(added.Ptr());
  EXPECT_EQ(Text(blank_.Get()), L"a\x01" L"b\r") << "the picture replaced the text";
  EXPECT_EQ(GetLong(GetObj(blank_.Get(), L"InlineShapes").Get(), L"Count"), 1);
  // 40 x 20 pixels at 96 dots per inch.
  EXPECT_EQ(GetText(picture.Get(), L"Width"), L"30");
  EXPECT_EQ(GetText(picture.Get(), L"Height"), L"15");
  Put(picture.Get(), L"Height", Variant::R8(141.75));
  EXPECT_EQ(GetText(picture.Get(), L"Height"), L"141.75");
  for (double bad_size : {0.0, -1.0, 1585.0}) {
    com::CallError e = Failure(picture.Get(), L"Width", DISPATCH_PROPERTYPUT, {Variant::R8(bad_size)});
    EXPECT_EQ(e.scode, WordErr(4608)) << bad_size;
  }

  // Copied with its text.
  ComPtr<IDispatch> all = GetObj(blank_.Get(), L"Content");
  Call(all.Get(), L"Copy");
  ComPtr<IDispatch> other = GetObj(documents_.Get(), L"Add");
  ComPtr<IDispatch> target = GetObj(other.Get(), L"Content");
  Call(target.Get(), L"Paste");
  EXPECT_EQ(GetLong(GetObj(other.Get(), L"InlineShapes").Get(), L"Count"), 1);
  ComPtr<IDispatch> copy = V_DISPATCH(
      Call(GetObj(other.Get(), L"InlineShapes").Get(), L"Item", {Variant::I4(1)}).Ptr());
  EXPECT_EQ(GetText(copy.Get(), L"Height"), L"141.75");
}

}  // namespace
}  // namespace standin_test
