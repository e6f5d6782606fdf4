// Documents saved with SaveAs2/SaveAs, Close and Quit, then opened again by a new Word: the
// same content through Word's own read members. The report document is kept beside the test
// program (saved\report.docx) for the conversion check of save_convert_test.sh.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "com_test_env.h"
#include "standin_client.h"
#include "word_standin_control.h"

namespace standin_test {
namespace {

using testing_support::Utf8;

constexpr HRESULT WordErr(int n) { return static_cast<HRESULT>(0x800A0000 + n); }

std::wstring FixtureDir() { return testing_support::ExeDir() + L"fixtures\\"; }
std::wstring SavedDir() {
  const std::wstring dir = testing_support::ExeDir() + L"saved\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

class DocumentSaveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(word_->hr()); }
  void TearDown() override {
    word_.reset();
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000)) << "a stand-in was left running";
  }
  IDispatch* app() { return word_->app(); }
  ComPtr<IDispatch> Documents() { return GetObj(app(), L"Documents"); }
  ComPtr<IDispatch> Open(const std::wstring& path) {
    Variant doc = Call(Documents().Get(), L"Open", {Variant::Str(path)});
    return doc.Type() == VT_DISPATCH ? ComPtr<IDispatch>(V_DISPATCH(doc.Ptr())) : nullptr;
  }
  // A new Word in place of the current one, which quits without saving.
  void Restart() {
    word_.reset();
    ASSERT_TRUE(testing_support::WaitForNoStandinProcess(10000));
    word_ = std::make_unique<WordSession>();
    ASSERT_HRESULT_SUCCEEDED(word_->hr());
  }
  static std::wstring Text(IDispatch* doc) { return GetText(GetObj(doc, L"Content").Get(), L"Text"); }
  static ComPtr<IDispatch> Range(IDispatch* doc, LONG start, LONG end) {
    return V_DISPATCH(Call(doc, L"Range", {Variant::I4(start), Variant::I4(end)}).Ptr());
  }
  static ComPtr<IDispatch> Footer(IDispatch* doc) {
    ComPtr<IDispatch> section = GetObj(GetObj(doc, L"Sections").Get(), L"Item", {Variant::I4(1)});
    return GetObj(GetObj(section.Get(), L"Footers").Get(), L"Item", {Variant::I4(1)});
  }
  static ComPtr<IDispatch> Header(IDispatch* doc) {
    ComPtr<IDispatch> section = GetObj(GetObj(doc, L"Sections").Get(), L"Item", {Variant::I4(1)});
    return GetObj(GetObj(section.Get(), L"Headers").Get(), L"Item", {Variant::I4(1)});
  }
  // Copies the whole of the template `file` to the end of `doc`.
  void AppendTemplate(IDispatch* doc, const wchar_t* file) {
    ComPtr<IDispatch> source = Open(FixtureDir() + file);
    ASSERT_TRUE(source);
    Call(GetObj(source.Get(), L"Content").Get(), L"Copy");
    Call(source.Get(), L"Close", {Variant::I4(0)});
    ComPtr<IDispatch> end = GetObj(doc, L"Content");
    Call(end.Get(), L"Collapse", {Variant::I4(0)});
    Call(end.Get(), L"Paste");
  }

  testing_support::ComApartment apartment_;
  testing_support::WordStandinSetup standin_;
  std::unique_ptr<WordSession> word_ = std::make_unique<WordSession>();
};

// What the report document shows through Word's read members, before and after the file.
struct Snapshot {
  std::wstring text, cell, superscript_font, box_text, header;
  LONG superscript = 0, plain = 0, pictures = 0, shapes = 0, page_numbers = 0, alignment = 0;
  LONG first_page_number = 0;
  std::wstring picture_width, picture_height, top_margin, page_width, left_margin;
};

TEST_F(DocumentSaveTest, ReportRoundTripsThroughTheFile) {
  const std::wstring path = SavedDir() + L"report.docx";
  DeleteFileW(path.c_str());
  ComPtr<IDispatch> doc = GetObj(Documents().Get(), L"Add");
  Put(GetObj(doc.Get(), L"Content").Get(), L"Text",
      Variant::Str(L"御見積書 No.42\r合計 1,234 円 <税込> & 送料\t別\r"));
  // "42" is superscript in a font of its own.
  ComPtr<IDispatch> number = Range(doc.Get(), 8, 10);
  ComPtr<IDispatch> font = GetObj(number.Get(), L"Font");
  Put(font.Get(), L"Superscript", Variant::Bool(true));
  Put(font.Get(), L"Name", Variant::Str(L"ＭＳ ゴシック"));
  AppendTemplate(doc.Get(), L"table.docx");
  AppendTemplate(doc.Get(), L"textboxes.docx");
  ComPtr<IDispatch> end = GetObj(doc.Get(), L"Content");
  Call(end.Get(), L"Collapse", {Variant::I4(0)});
  Call(end.Get(), L"InsertBreak", {Variant::I4(7)});
  Call(end.Get(), L"InsertAfter", {Variant::Str(L"写真 #photo# 以上")});
  ComPtr<IDispatch> photo_at = GetObj(doc.Get(), L"Content");
  Call(GetObj(photo_at.Get(), L"Find").Get(), L"Execute", {}, {{L"FindText", Variant::Str(L"#photo#")}});
  Call(GetObj(doc.Get(), L"InlineShapes").Get(), L"AddPicture",
       {Variant::Str(FixtureDir() + L"photo.png"), Variant::Bool(false), Variant::Bool(true),
        Variant::Dispatch(photo_at.Get())});
  ComPtr<IDispatch> setup = GetObj(doc.Get(), L"PageSetup");
  Put(setup.Get(), L"TopMargin", Variant::R8(72));
  Put(setup.Get(), L"LeftMargin", Variant::R8(56.7));
  Call(GetObj(Footer(doc.Get()).Get(), L"PageNumbers").Get(), L"Add", {},
       {{L"PageNumberAlignment", Variant::I4(2)}, {L"FirstPage", Variant::Bool(false)}});
  Put(GetObj(Header(doc.Get()).Get(), L"Range").Get(), L"Text", Variant::Str(L"社外秘"));

  auto snapshot = [&](IDispatch* d) {
    Snapshot s;
    s.text = Text(d);
    ComPtr<IDispatch> table = GetObj(d, L"Tables", {Variant::I4(1)});
    ComPtr<IDispatch> cell = V_DISPATCH(Call(table.Get(), L"Cell", {Variant::I4(1), Variant::I4(2)}).Ptr());
    s.cell = GetText(GetObj(cell.Get(), L"Range").Get(), L"Text");
    ComPtr<IDispatch> sup = GetObj(Range(d, 8, 10).Get(), L"Font");
    s.superscript = GetLong(sup.Get(), L"Superscript");
    s.superscript_font = GetText(sup.Get(), L"Name");
    s.plain = GetLong(GetObj(Range(d, 0, 4).Get(), L"Font").Get(), L"Superscript");
    ComPtr<IDispatch> pictures = GetObj(d, L"InlineShapes");
    s.pictures = GetLong(pictures.Get(), L"Count");
    if (s.pictures > 0) {
      ComPtr<IDispatch> picture = V_DISPATCH(Call(pictures.Get(), L"Item", {Variant::I4(1)}).Ptr());
      s.picture_width = GetText(picture.Get(), L"Width");
      s.picture_height = GetText(picture.Get(), L"Height");
    }
    ComPtr<IDispatch> shapes = GetObj(d, L"Shapes");
    s.shapes = GetLong(shapes.Get(), L"Count");
    if (s.shapes > 0) {
      ComPtr<IDispatch> box = V_DISPATCH(Call(shapes.Get(), L"Item", {Variant::I4(1)}).Ptr());
      s.box_text = GetText(GetObj(GetObj(box.Get(), L"TextFrame").Get(), L"TextRange").Get(), L"Text");
    }
    ComPtr<IDispatch> numbers = GetObj(Footer(d).Get(), L"PageNumbers");
    s.page_numbers = GetLong(numbers.Get(), L"Count");
    s.alignment = GetLong(numbers.Get(), L"Alignment");
    s.first_page_number = GetLong(numbers.Get(), L"ShowFirstPageNumber");
    s.header = GetText(GetObj(Header(d).Get(), L"Range").Get(), L"Text");
    ComPtr<IDispatch> ps = GetObj(d, L"PageSetup");
    s.top_margin = GetText(ps.Get(), L"TopMargin");
    s.left_margin = GetText(ps.Get(), L"LeftMargin");
    s.page_width = GetText(ps.Get(), L"PageWidth");
    return s;
  };
  const Snapshot before = snapshot(doc.Get());
  ASSERT_EQ(before.pictures, 1);
  ASSERT_EQ(before.superscript, -1);
  ASSERT_GE(before.shapes, 3);
  ASSERT_EQ(Utf8(before.header).substr(0, 9), Utf8(L"社外秘"));

  Call(doc.Get(), L"SaveAs2", {},
       {{L"FileName", Variant::Str(path)}, {L"FileFormat", Variant::I4(16)}});
  EXPECT_EQ(GetText(doc.Get(), L"Name"), L"report.docx");
  EXPECT_EQ(GetText(doc.Get(), L"FullName"), path);
  EXPECT_EQ(GetLong(doc.Get(), L"Saved"), -1);
  doc.Reset();

  Restart();
  ComPtr<IDispatch> again = Open(path);
  ASSERT_TRUE(again);
  const Snapshot after = snapshot(again.Get());
  EXPECT_EQ(Utf8(after.text), Utf8(before.text));
  EXPECT_EQ(Utf8(after.cell), Utf8(before.cell));
  EXPECT_EQ(after.superscript, -1);
  EXPECT_EQ(after.plain, 0);
  EXPECT_EQ(Utf8(after.superscript_font), Utf8(L"ＭＳ ゴシック"));
  EXPECT_EQ(after.pictures, 1);
  EXPECT_EQ(after.picture_width, before.picture_width);
  EXPECT_EQ(after.picture_height, before.picture_height);
  EXPECT_EQ(after.shapes, before.shapes);
  EXPECT_EQ(Utf8(after.box_text), Utf8(before.box_text));
  EXPECT_EQ(after.page_numbers, 1);
  EXPECT_EQ(after.alignment, 2);
  EXPECT_EQ(after.first_page_number, 0);
  EXPECT_EQ(Utf8(after.header), Utf8(before.header));
  EXPECT_EQ(after.top_margin, L"72");
  EXPECT_EQ(after.left_margin, before.left_margin);
  EXPECT_EQ(after.page_width, before.page_width);
}

TEST_F(DocumentSaveTest, BadSaveArgumentsFailAndKeepTheDocumentUnsaved) {
  ComPtr<IDispatch> doc = GetObj(Documents().Get(), L"Add");
  Put(GetObj(doc.Get(), L"Content").Get(), L"Text", Variant::Str(L"x"));
  const std::wstring dir = SavedDir();
  const struct {
    std::wstring file;
    Variant format;
    HRESULT error;
  } cases[] = {
      {dir + L"a.docx", Variant::I4(0), WordErr(4608)},      // the binary .doc format
      {dir + L"a?b.docx", Variant::I4(16), WordErr(5152)},
      {dir + L"no such folder\\a.docx", Variant::I4(12), WordErr(4198)},
      {dir + L"a.docx", Variant::Str(L"docx"), WordErr(13)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Failure(doc.Get(), L"SaveAs", DISPATCH_METHOD, {Variant::Str(c.file), c.format}).scode,
              c.error)
        << Utf8(c.file);
  }
  EXPECT_EQ(GetLong(doc.Get(), L"Saved"), 0);
  EXPECT_EQ(GetText(doc.Get(), L"Path"), L"");
  EXPECT_EQ(GetFileAttributesW((dir + L"a.docx").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Close and Quit with wdSaveChanges (-1) write a document that has a file; a changed document
// that never had one fails and stays open instead of being lost.
TEST_F(DocumentSaveTest, CloseAndQuitSaveChangesToTheFile) {
  const std::wstring closed = SavedDir() + L"closed.docx", quit = SavedDir() + L"quit.docx";
  ComPtr<IDispatch> untitled = GetObj(Documents().Get(), L"Add");
  Put(GetObj(untitled.Get(), L"Content").Get(), L"Text", Variant::Str(L"未保存"));
  EXPECT_EQ(Failure(untitled.Get(), L"Close", DISPATCH_METHOD, {Variant::I4(-1)}).scode,
            WordErr(4198));
  EXPECT_EQ(GetLong(Documents().Get(), L"Count"), 1);
  EXPECT_EQ(Failure(app(), L"Quit", DISPATCH_METHOD, {Variant::I4(-1)}).scode, WordErr(4198));
  EXPECT_EQ(GetLong(Documents().Get(), L"Count"), 1);

  for (const std::wstring& path : {closed, quit}) {
    ComPtr<IDispatch> doc = GetObj(Documents().Get(), L"Add");
    Put(GetObj(doc.Get(), L"Content").Get(), L"Text", Variant::Str(L"初版"));
    Call(doc.Get(), L"SaveAs", {Variant::Str(path)});
    Put(GetObj(doc.Get(), L"Content").Get(), L"Text", Variant::Str(L"改訂版"));
    EXPECT_EQ(GetLong(doc.Get(), L"Saved"), 0);
    if (path == closed) Call(doc.Get(), L"Close", {Variant::I4(-1)});
  }
  Call(untitled.Get(), L"Close", {Variant::I4(0)});
  untitled.Reset();
  Call(app(), L"Quit", {Variant::I4(-1)});
  Restart();
  for (const std::wstring& path : {closed, quit}) {
    ComPtr<IDispatch> doc = Open(path);
    ASSERT_TRUE(doc) << Utf8(path);
    EXPECT_EQ(Utf8(Text(doc.Get())), Utf8(L"改訂版\r")) << Utf8(path);
  }
}

}  // namespace
}  // namespace standin_test
