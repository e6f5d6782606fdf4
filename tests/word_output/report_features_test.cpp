// Tables with ruby, picture fields, text-box templates, page layout and page numbers against
// the stand-in Word, checked through Word's own read members and its call journal.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "com_test_env.h"
#include "row_collection.h"
#include "word_client.h"
#include "word_standin_control.h"

namespace {

using com::ComPtr;
using com::Variant;
using quorrel_test::CollectionLog;
using quorrel_test::Entries;
using quorrel_test::GetPath;
using quorrel_test::GetText;
using quorrel_test::NewCollection;
using quorrel_test::NewRow;
using testing_support::Utf8;

std::wstring FixtureDir() { return testing_support::ExeDir() + L"fixtures\\"; }

class Features : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    obj_ = quorrel_test::CreateWordPrintOut();
    ASSERT_TRUE(obj_);
    com::Bstr path(FixtureDir());
    ASSERT_HRESULT_SUCCEEDED(obj_->put_FormPath(path.Get()));
    ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  }
  void TearDown() override {
    quorrel_test::QuitWord(Document().Get());
    obj_.Reset();
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(5000)) << "a stand-in Word was left";
  }

  void Append(const wchar_t* name) {
    com::Bstr n(name);
    ASSERT_HRESULT_SUCCEEDED(obj_->put_FormName(n.Get()));
  }
  ComPtr<IDispatch> Document() {
    ComPtr<IDispatch> d;
    obj_->get_objNewWord(d.Receive());
    return d;
  }
  std::wstring Text() { return GetText(Document().Get(), {L"Content", L"Text"}); }
  ComPtr<IDispatch> Object(IDispatch* root, const std::vector<const wchar_t*>& path) {
    Variant v = GetPath(root, path);
    return v.Type() == VT_DISPATCH ? ComPtr<IDispatch>(V_DISPATCH(v.Ptr())) : ComPtr<IDispatch>();
  }
  // The text of a table cell without Word's end-of-cell mark.
  std::wstring CellText(LONG row, LONG column) {
    ComPtr<IDispatch> table;
    Variant t;
    if (FAILED(com::GetProperty(Document().Get(), L"Tables", t.Ptr(), {Variant::I4(1)})) ||
        t.Type() != VT_DISPATCH) {
      return L"<no table>";
    }
    Variant cell;
    if (FAILED(com::CallMethod(V_DISPATCH(t.Ptr()), L"Cell", {Variant::I4(row), Variant::I4(column)},
                               cell.Ptr()))) {
      return L"<no cell>";
    }
    std::wstring text = GetText(V_DISPATCH(cell.Ptr()), {L"Range", L"Text"});
    if (text.size() >= 2 && text.substr(text.size() - 2) == L"\r\a") text.resize(text.size() - 2);
    return text;
  }
  // Whether the first occurrence of `text` in the document is superscript.
  bool Superscript(const std::wstring& text) {
    ComPtr<IDispatch> range = Object(Document().Get(), {L"Content"});
    ComPtr<IDispatch> find = Object(range.Get(), {L"Find"});
    Variant found;
    com::Invoke(find.Get(), L"Execute", DISPATCH_METHOD, {}, {{L"FindText", Variant::Str(text)}},
                found.Ptr());
    if (found.Type() != VT_BOOL || !V_BOOL(found.Ptr())) {
      ADD_FAILURE() << "not found: " << Utf8(text);
      return false;
    }
    return GetText(range.Get(), {L"Font", L"Superscript"}) == L"-1" ||
           GetText(range.Get(), {L"Font", L"Superscript"}) == L"True";
  }
  std::vector<std::string> JournalSince(size_t from) {
    std::vector<std::wstring> all = standin_.Journal();
    std::vector<std::string> out;
    for (size_t i = from; i < all.size(); ++i) out.push_back(Utf8(all[i]));
    return out;
  }
  void SetTable(_Collection* rows, LONG table, LONG max_index, LONG row_count, LONG start_row,
                LONG max_ruby) {
    ASSERT_HRESULT_SUCCEEDED(
        obj_->SetTable(&rows, &table, &max_index, &row_count, &start_row, &max_ruby));
  }

  testing_support::ComApartment apartment_;
  testing_support::WordStandinSetup standin_;
  ComPtr<_WordPrintOut> obj_;
};

// ---- Tables

TEST_F(Features, TableRowsThenRubyInSuperscript) {
  Append(L"table.docx");
  CollectionLog log;
  std::vector<ComPtr<IDispatch>> rows;
  for (int k = 1; k <= 3; ++k) {
    std::wstring n = std::to_wstring(k);
    std::wstring item = L"品" + n, count = n, ruby = L"ruby" + n;
    rows.push_back(NewRow(Entries({{item.c_str(), 1}, {count.c_str(), 2}, {L"+", 2},
                                   {ruby.c_str(), 1}})));
  }
  // Rows 2 to 4 from elements 1 to 3; two plain entries into column 2 of each row.
  SetTable(NewCollection(rows, &log).Get(), 1, 2, 3, 2, 0);

  EXPECT_EQ(Utf8(CellText(1, 1)), Utf8(L"品名"));
  EXPECT_EQ(Utf8(CellText(2, 1)), Utf8(L"品1ruby1"));
  EXPECT_EQ(Utf8(CellText(2, 2)), Utf8(L"1+"));
  EXPECT_EQ(Utf8(CellText(4, 1)), Utf8(L"x品3ruby3"));  // after the template's own text
  EXPECT_EQ(Utf8(CellText(5, 1)), "");
  EXPECT_EQ(Text().find(L"#?ルビ?#"), std::wstring::npos);
  EXPECT_TRUE(Superscript(L"ruby2"));
  EXPECT_FALSE(Superscript(L"品2"));
  // Every read fetches the element anew, with a by-reference 32-bit position.
  EXPECT_EQ(log.item_calls, 3 * (3 + 1) * 2);
  for (VARTYPE vt : log.index_types) EXPECT_EQ(vt, VT_BYREF | VT_I4);
}

TEST_F(Features, EmptyRubyTextMakesNoWordCall) {
  Append(L"table.docx");
  auto rows = NewCollection({NewRow(Entries({{L"a", 1}, {L"", 1}}))}, nullptr);
  size_t before = standin_.Journal().size();
  SetTable(rows.Get(), 1, 0, 1, 2, 0);
  std::vector<std::string> calls = JournalSince(before);
  EXPECT_EQ(calls.back(), Utf8(L"Range.InsertAfter call VT_BSTR:\"a\""));
  for (const auto& c : calls) EXPECT_EQ(c.find("Selection"), std::string::npos) << c;
}

// An automation object with one more method where a collection has Item: it tells whether
// anybody took it for a collection. Lives on the stack; counts are not kept.
class NotACollection final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  virtual HRESULT STDMETHODCALLTYPE NotItem(VARIANT*, VARIANT*) {
    called = true;
    return E_FAIL;
  }
  bool called = false;
};

// A late-bound client may hand over an object that is no collection at all: the call does
// nothing with it and, as always, does not fail.
TEST_F(Features, TableFromSomethingElseThanACollectionDoesNothing) {
  Append(L"table.docx");
  NotACollection other;
  IDispatch* data_ref = &other;
  VARIANT data;
  VariantInit(&data);
  V_VT(&data) = VT_BYREF | VT_DISPATCH;
  V_DISPATCHREF(&data) = &data_ref;
  LONG table = 1, max_index = 1, row_count = 1, start_row = 2, max_ruby = -1;
  const std::wstring before = Text();
  Variant result;
  EXPECT_HRESULT_SUCCEEDED(com::CallMethod(
      obj_.Get(), L"SetTable",
      {Variant(data), Variant::I4Ref(&table), Variant::I4Ref(&max_index), Variant::I4Ref(&row_count),
       Variant::I4Ref(&start_row), Variant::I4Ref(&max_ruby)},
      result.Ptr()));
  EXPECT_FALSE(other.called) << "a method was called on an object that is no collection";
  EXPECT_EQ(Utf8(Text()), Utf8(before));
}

// Calls that stop early keep what was written before, quietly.
struct TableCase {
  const char* name;
  LONG max_index, row_count, max_ruby;
  bool with_columns;
  std::vector<std::pair<const wchar_t*, LONG>> entries;
  bool null_second_value;
  std::wstring cell21, cell22;
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class TableStops : public Features, public ::testing::WithParamInterface<TableCase> {};

TEST_P(TableStops, KeepsEarlierWrites) {
  const TableCase& c = GetParam();
  Append(L"table.docx");
  auto entries = Entries(c.entries);
  if (c.null_second_value) V_VT(entries[1].value.Ptr()) = VT_NULL;
  auto rows = NewCollection({NewRow(entries, c.with_columns)}, nullptr);
  SetTable(rows.Get(), 1, c.max_index, c.row_count, 2, c.max_ruby);
  EXPECT_EQ(Utf8(CellText(2, 1)), Utf8(c.cell21));
  EXPECT_EQ(Utf8(CellText(2, 2)), Utf8(c.cell22));
  LONG code = -1;
  obj_->get_WordOutErr(&code);
  EXPECT_EQ(code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableStops,
    ::testing::Values(
        TableCase{"ColumnZero", 2, 1, -1, true, {{L"a", 1}, {L"b", 0}, {L"c", 2}}, false, L"a", L""},
        TableCase{"NullValue", 2, 1, -1, true, {{L"a", 1}, {L"b", 2}, {L"c", 2}}, true, L"a", L""},
        TableCase{"NoColumsMember", 1, 1, -1, false, {{L"a", 1}, {L"b", 2}}, false, L"", L""},
        TableCase{"NoRows", 1, 0, 0, true, {{L"a", 1}, {L"b", 2}}, false, L"", L""},
        TableCase{"MoreRowsThanElements", 1, 2, -1, true, {{L"a", 1}, {L"b", 2}}, false, L"a",
                  L"b"},
        TableCase{"RubyOnlyFromIndexZero", -1, 1, 0, true, {{L"r", 2}}, false, L"", L"r"},
        TableCase{"MissingCell", 1, 1, -1, true, {{L"a", 1}, {L"b", 9}}, false, L"a", L""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Pictures

struct PictureCall {
  const wchar_t* field;
  const wchar_t* file;
  LONG expected;
};

LONG PlacePicture(_WordPrintOut* obj, const wchar_t* field, const std::wstring& file, double h,
                  double w) {
  com::Bstr f(field), p(file);
  BSTR fb = f.Get(), pb = p.Get();
  LONG r = 99;
  EXPECT_HRESULT_SUCCEEDED(obj->SetFieldImage(&fb, &pb, &h, &w, &r));
  return r;
}

TEST_F(Features, PicturesReplaceFieldsSizedInMillimetres) {
  Append(L"pictures.docx");
  size_t before = standin_.Journal().size();
  EXPECT_EQ(PlacePicture(obj_.Get(), L"#photo1#", FixtureDir() + L"photo.png", 50, 30), 0);
  std::vector<std::string> calls = JournalSince(before);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 3], "InlineShape.Height put VT_R8:141.75");
  EXPECT_EQ(calls[calls.size() - 2], "InlineShape.Width put VT_R8:85.05");
  EXPECT_EQ(calls.back(), "Document.Content get");
  EXPECT_EQ(PlacePicture(obj_.Get(), L"#photo2#", FixtureDir() + L"photo.bmp", 10, 10), 0);
  EXPECT_EQ(GetText(Document().Get(), {L"InlineShapes", L"Count"}), L"2");
  EXPECT_EQ(Text().find(L"#photo"), std::wstring::npos) << Utf8(Text());
}

TEST_F(Features, FailedPictureKeepsFieldAndPageOrder) {
  Append(L"pictures.docx");
  const std::wstring page = Text();
  // A missing file, a file that is no picture and a field that is not there all give -1.
  EXPECT_EQ(PlacePicture(obj_.Get(), L"#photo1#", FixtureDir() + L"nothere.png", 5, 5), -1);
  EXPECT_EQ(PlacePicture(obj_.Get(), L"#photo1#", FixtureDir() + L"corrupt.png", 5, 5), -1);
  EXPECT_EQ(PlacePicture(obj_.Get(), L"#absent#", FixtureDir() + L"photo.png", 5, 5), -1);
  EXPECT_EQ(GetText(Document().Get(), {L"InlineShapes", L"Count"}), L"0");
  EXPECT_EQ(Utf8(Text()), Utf8(page));
  // The insertion range is as before the calls: the next page follows this one whole.
  ASSERT_HRESULT_SUCCEEDED(obj_->NewPage());
  std::wstring text = Text();
  size_t brk = text.find(L'\f');
  ASSERT_NE(brk, std::wstring::npos);
  EXPECT_NE(text.find(L"#photo2#"), std::wstring::npos);
  EXPECT_LT(text.find(L"#photo2#"), brk) << Utf8(text);
}

// ---- Text boxes

std::string FileBytes(const std::wstring& path) {
  std::ifstream f(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST_F(Features, TextBoxTemplateFilledThenAppended) {
  Append(L"letter.docx");
  const std::string on_disk = FileBytes(FixtureDir() + L"textboxes.docx");
  com::Bstr name(L"textboxes.docx");
  BSTR nb = name.Get();
  ComPtr<IDispatch> doc;
  ASSERT_HRESULT_SUCCEEDED(obj_->SetFieldTextBox_Before(&nb, doc.Receive()));
  ASSERT_TRUE(doc);
  com::Bstr form;
  obj_->get_FormName(form.Receive());
  EXPECT_EQ(form.Str(), L"textboxes.docx");

  com::Bstr field(L"#name#"), text(L"山田");
  BSTR fb = field.Get(), tb = text.Get();
  ASSERT_HRESULT_SUCCEEDED(obj_->SelectionFindforTextBox(&fb, &tb));
  auto box = [&](int i) {
    Variant shape;
    ComPtr<IDispatch> shapes = Object(doc.Get(), {L"Shapes"});
    com::CallMethod(shapes.Get(), L"Item", {Variant::I4(i)}, shape.Ptr());
    return GetText(V_DISPATCH(shape.Ptr()), {L"TextFrame", L"TextRange", L"Text"});
  };
  // Both boxes holding the field get exactly the new text; other case or width does not match.
  EXPECT_EQ(Utf8(box(1)).substr(0, 6), Utf8(L"山田"));
  EXPECT_EQ(Utf8(box(2)).substr(0, 6), Utf8(L"山田"));
  EXPECT_EQ(box(1).find(L"氏名"), std::wstring::npos);
  EXPECT_NE(box(3).find(L"#NAME#"), std::wstring::npos);

  IDispatch* raw = doc.Get();
  ASSERT_HRESULT_SUCCEEDED(obj_->SetFieldTextBox_After(&raw));
  doc.Reset();
  // The filled page follows the letter; the template file is as it was.
  std::wstring all = Text();
  EXPECT_NE(all.find(L"本文 #body#"), std::wstring::npos) << Utf8(all);
  EXPECT_LT(all.find(L"宛先"), all.find(L"本文"));
  EXPECT_EQ(GetText(Document().Get(), {L"Application", L"Documents", L"Count"}), L"1");
  EXPECT_EQ(GetText(Document().Get(), {L"Application", L"ActiveDocument", L"Name"}),
            GetText(Document().Get(), {L"Name"}));
  EXPECT_EQ(FileBytes(FixtureDir() + L"textboxes.docx"), on_disk);
  // The page's shapes came along, and trimming after the last page keeps them all.
  EXPECT_EQ(GetText(Document().Get(), {L"Shapes", L"Count"}), L"4");
  ASSERT_HRESULT_SUCCEEDED(obj_->LastDelete());
  EXPECT_EQ(GetText(Document().Get(), {L"Shapes", L"Count"}), L"4");
}

TEST_F(Features, EmptyTextBoxFieldFillsEveryBoxWithText) {
  com::Bstr name(L"textboxes.docx"), field(L""), text(L"z");
  BSTR nb = name.Get(), fb = field.Get(), tb = text.Get();
  ComPtr<IDispatch> doc;
  ASSERT_HRESULT_SUCCEEDED(obj_->SetFieldTextBox_Before(&nb, doc.Receive()));
  ASSERT_HRESULT_SUCCEEDED(obj_->SelectionFindforTextBox(&fb, &tb));
  ComPtr<IDispatch> shapes = Object(doc.Get(), {L"Shapes"});
  int filled = 0;
  for (int i = 1; i <= 4; ++i) {
    Variant shape;
    ASSERT_HRESULT_SUCCEEDED(com::CallMethod(shapes.Get(), L"Item", {Variant::I4(i)}, shape.Ptr()));
    if (GetText(V_DISPATCH(shape.Ptr()), {L"Type"}) != L"17") continue;
    std::wstring t = GetText(V_DISPATCH(shape.Ptr()), {L"TextFrame", L"TextRange", L"Text"});
    filled += t.substr(0, 1) == L"z";
  }
  EXPECT_EQ(filled, 3);
  com::CallMethod(doc.Get(), L"Close", {Variant::I4(0)});
}

TEST_F(Features, TextBoxErrorsAreWordsOwn) {
  com::Bstr name(L"nothere.docx");
  BSTR nb = name.Get();
  ComPtr<IDispatch> doc;
  HRESULT hr = obj_->SetFieldTextBox_Before(&nb, doc.Receive());
  EXPECT_TRUE(FAILED(hr));
  EXPECT_NE(hr, static_cast<HRESULT>(0x80040201));
  EXPECT_FALSE(doc);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Receive()), S_OK);
  com::Bstr description;
  info->GetDescription(description.Receive());
  EXPECT_GT(description.Length(), 0u);
  com::Bstr form;
  obj_->get_FormName(form.Receive());
  EXPECT_EQ(form.Str(), L"nothere.docx");

  // Without a document there is nothing to copy.
  IDispatch* none = nullptr;
  EXPECT_TRUE(FAILED(obj_->SetFieldTextBox_After(&none)));
}

// ---- Page layout and page numbers

TEST_F(Features, PageSetReachesWordInPointsInOrder) {
  LONG mm[] = {20, 20, 25, 25, 10, 10, 210, 297};
  size_t before = standin_.Journal().size();
  ASSERT_HRESULT_SUCCEEDED(
      obj_->PageSet(&mm[0], &mm[1], &mm[2], &mm[3], &mm[4], &mm[5], &mm[6], &mm[7]));
  const std::vector<std::string> expected = {
      "Application.ActiveDocument get", "Document.PageSetup get",
      "PageSetup.TopMargin put VT_R8:56.7", "PageSetup.BottomMargin put VT_R8:56.7",
      "PageSetup.LeftMargin put VT_R8:70.875", "PageSetup.RightMargin put VT_R8:70.875",
      "PageSetup.HeaderDistance put VT_R8:28.35", "PageSetup.FooterDistance put VT_R8:28.35",
      "PageSetup.PageWidth put VT_R8:595.35", "PageSetup.PageHeight put VT_R8:841.995"};
  EXPECT_EQ(JournalSince(before), expected);
  EXPECT_EQ(GetText(Document().Get(), {L"PageSetup", L"PageHeight"}), L"841.995");
}

struct PageNumberCase {
  const char* name;
  LONG position, flag;
  const wchar_t* story;  // Headers or Footers
  LONG alignment;
};

void PrintTo(const PageNumberCase& c, std::ostream* os) { *os << c.name; }

class PageNumbers : public Features, public ::testing::WithParamInterface<PageNumberCase> {};

TEST_P(PageNumbers, AddedToHeaderOrFooterInTheFixedFont) {
  const PageNumberCase& c = GetParam();
  Append(L"summary.docx");
  size_t before = standin_.Journal().size();
  LONG position = c.position, flag = c.flag;
  ASSERT_HRESULT_SUCCEEDED(obj_->SetPageNo(&position, &flag));
  std::vector<std::string> calls = JournalSince(before);
  const std::string add = "PageNumbers.Add call PageNumberAlignment:=VT_I4:" +
                          std::to_string(c.alignment) + ", FirstPage:=VT_BOOL:-1";
  EXPECT_NE(std::find(calls.begin(), calls.end(), add), calls.end());
  EXPECT_EQ(calls.back(), Utf8(L"Font.Name put VT_BSTR:\"ＭＳ 明朝\""));

  ComPtr<IDispatch> section;
  Variant s;
  ASSERT_HRESULT_SUCCEEDED(com::GetProperty(Document().Get(), L"Sections", s.Ptr(), {Variant::I4(1)}));
  Variant target;
  ASSERT_HRESULT_SUCCEEDED(
      com::GetProperty(V_DISPATCH(s.Ptr()), c.story, target.Ptr(), {Variant::I4(1)}));
  EXPECT_EQ(GetText(V_DISPATCH(target.Ptr()), {L"PageNumbers", L"Count"}), L"1");
  EXPECT_EQ(Utf8(GetText(V_DISPATCH(target.Ptr()), {L"Range", L"Font", L"Name"})),
            Utf8(L"ＭＳ 明朝"));
}

INSTANTIATE_TEST_SUITE_P(Cases, PageNumbers,
                         ::testing::Values(PageNumberCase{"CentreInHeader", 0, 0, L"Headers", 1},
                                           PageNumberCase{"LeftInFooter", 7, -1, L"Footers", 0},
                                           PageNumberCase{"RightInFooter", 2, 1, L"Footers", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FeaturesBeforeStart, LayoutCallsDoNothing) {
  testing_support::ComApartment apartment;
  auto obj = quorrel_test::CreateWordPrintOut();
  LONG mm[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  EXPECT_HRESULT_SUCCEEDED(obj->PageSet(&mm[0], &mm[1], &mm[2], &mm[3], &mm[4], &mm[5], &mm[6], &mm[7]));
  EXPECT_HRESULT_SUCCEEDED(obj->SetPageNo(&mm[0], &mm[1]));
  double h = 1, w = 1;
  com::Bstr f(L"#a#"), p(L"x.png");
  BSTR fb = f.Get(), pb = p.Get();
  LONG r = 0;
  EXPECT_HRESULT_SUCCEEDED(obj->SetFieldImage(&fb, &pb, &h, &w, &r));
  EXPECT_EQ(r, -1);
  LONG code = -1;
  obj->get_WordOutErr(&code);
  EXPECT_EQ(code, 0);
}

}  // namespace
