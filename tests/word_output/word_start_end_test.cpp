// WordStart and WordEnd against the stand-in Word: what reaches Word (its journal), the message
// boxes the user sees, and the object's members afterwards.
#include <string>
#include <vector>

#include "com_test_env.h"
#include "message_box_watcher.h"
#include "word_client.h"
#include "word_standin_control.h"

namespace {

using com::ComPtr;
using quorrel_test::CreateWordPrintOut;
using testing_support::MessageBoxWatcher;
using testing_support::Utf8;
using testing_support::WordStandinSetup;

const wchar_t kVersionTooOld[] = L"Word出力は Microsoft Word 2000 以上の対応となっております。";
const wchar_t kWordMissing[] =
    L"Microsoft Word がインストールされていない可能性があります。\n\r"
    L"Microsoft Word 2000以上がインストールされていることを確認してください。";

const std::vector<std::wstring> kStartCalls = {
    L"Application.Version get", L"Application.Documents get", L"Documents.Add call",
    L"Application.DisplayAlerts put VT_I4:0"};

const std::vector<std::wstring> kDiscardCalls = {L"Document.Application get",
                                                 L"Application.Quit call VT_I4:0"};

std::vector<std::string> Utf8Lines(const std::vector<std::wstring>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(Utf8(l));
  return out;
}

class WordStartEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    obj_ = CreateWordPrintOut();
    ASSERT_TRUE(obj_);
  }

  void TearDown() override {
    obj_.Reset();
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(5000)) << "a stand-in Word was left";
  }

  LONG Code() {
    LONG code = -12345;
    EXPECT_HRESULT_SUCCEEDED(obj_->get_WordOutErr(&code));
    return code;
  }
  ComPtr<IDispatch> Word() {
    ComPtr<IDispatch> w;
    obj_->get_objWord(w.Receive());
    return w;
  }
  ComPtr<IDispatch> Document() {
    ComPtr<IDispatch> d;
    obj_->get_objNewWord(d.Receive());
    return d;
  }
  // Ends the run the way a failed run ends, so that no Word stays behind.
  void Discard() {
    obj_->put_WordOutErr(99);
    ASSERT_HRESULT_SUCCEEDED(obj_->WordEnd());
  }

  testing_support::ComApartment apartment_;
  WordStandinSetup standin_;
  ComPtr<_WordPrintOut> obj_;
};

TEST_F(WordStartEnd, StartsWordWithAnOutputDocumentAndAlertsOff) {
  MessageBoxWatcher boxes;
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  EXPECT_EQ(Code(), 0);
  EXPECT_TRUE(Word());
  EXPECT_TRUE(Document());
  EXPECT_TRUE(boxes.Seen().empty());
  EXPECT_EQ(Utf8Lines(standin_.Journal()), Utf8Lines(kStartCalls));
  EXPECT_EQ(quorrel_test::GetText(Word().Get(), {L"Documents", L"Count"}), L"1");
  Discard();
}

TEST_F(WordStartEnd, DiscardQuitsWordWithoutSavingAndClearsEverything) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  Discard();
  std::vector<std::wstring> expected = kStartCalls;
  expected.insert(expected.end(), kDiscardCalls.begin(), kDiscardCalls.end());
  EXPECT_EQ(Utf8Lines(standin_.Journal()), Utf8Lines(expected));
  EXPECT_FALSE(Word());
  EXPECT_FALSE(Document());
  EXPECT_EQ(Code(), 0);
}

TEST_F(WordStartEnd, OldWordWarnsButIsStillUsed) {
  standin_.SetVersion(L"8.0");
  MessageBoxWatcher boxes;
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  EXPECT_EQ(Code(), 3);
  EXPECT_TRUE(Document());
  EXPECT_EQ(Utf8Lines(standin_.Journal()), Utf8Lines(kStartCalls));
  auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(Utf8(seen[0].text), Utf8(kVersionTooOld));
  EXPECT_EQ(Utf8(seen[0].caption), "Scrivlet");
  EXPECT_EQ(seen[0].buttons.size(), 1u);
  EXPECT_TRUE(seen[0].exclamation_icon);
  Discard();
}

TEST_F(WordStartEnd, CancelStoredBeforeStartSurvives) {
  ASSERT_HRESULT_SUCCEEDED(obj_->put_WordOutErr(2));
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  EXPECT_EQ(Code(), 2);
  // The cancelled run is then discarded.
  ASSERT_HRESULT_SUCCEEDED(obj_->WordEnd());
  EXPECT_FALSE(Word());
  EXPECT_EQ(Code(), 0);
}

// Each way Word can be unusable ends in the two-line message and code 4, without an error to
// the caller.
struct Unusable {
  const char* name;
  bool fail_create;
  const wchar_t* version;
  const wchar_t* fail_member;
  bool word_created;
};

void PrintTo(const Unusable& u, std::ostream* os) { *os << u.name; }

class WordUnusable : public WordStartEnd, public ::testing::WithParamInterface<Unusable> {};

TEST_P(WordUnusable, ReportsNonExistence) {
  const Unusable& u = GetParam();
  standin_.SetFailCreate(u.fail_create);
  if (u.version) standin_.SetVersion(u.version);
  if (u.fail_member) standin_.AddFailMember(u.fail_member);
  // Whatever the client stored in objWord stays when Word cannot be created.
  ComPtr<IDispatch> previous;
  CoCreateInstance(CLSID_WordPrintOut, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   previous.ReceiveVoid());
  ASSERT_TRUE(previous);
  ASSERT_HRESULT_SUCCEEDED(obj_->put_objWord(previous.Get()));

  MessageBoxWatcher boxes;
  EXPECT_HRESULT_SUCCEEDED(obj_->WordStart());
  EXPECT_EQ(Code(), 4);
  auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(Utf8(seen[0].text), Utf8(kWordMissing));
  EXPECT_EQ(Utf8(seen[0].caption), "Scrivlet");
  EXPECT_TRUE(seen[0].exclamation_icon);
  if (u.word_created) {
    EXPECT_NE(Word().Get(), previous.Get());
    quorrel_test::QuitWord(Word().Get());
  } else {
    EXPECT_EQ(Word().Get(), previous.Get());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordUnusable,
    ::testing::Values(Unusable{"CreationFails", true, nullptr, nullptr, false},
                      Unusable{"VersionIsNoNumber", false, L"abc", nullptr, true},
                      Unusable{"VersionFails", false, nullptr, L"Application.Version", true},
                      Unusable{"AddFails", false, nullptr, L"Documents.Add", true},
                      Unusable{"AlertsFail", false, nullptr, L"Application.DisplayAlerts", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WordStartEnd, FinishWithoutTemplateChangesNothing) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  size_t before = standin_.Journal().size();
  ASSERT_HRESULT_SUCCEEDED(obj_->WordEnd());
  EXPECT_EQ(standin_.Journal().size(), before) << "no call may reach Word";
  EXPECT_TRUE(Word());
  EXPECT_TRUE(Document());
  com::Variant visible = quorrel_test::GetPath(Word().Get(), {L"Visible"});
  ASSERT_EQ(visible.Type(), VT_BOOL);
  EXPECT_EQ(V_BOOL(visible.Ptr()), VARIANT_FALSE);
  Discard();
}

TEST_F(WordStartEnd, EndBeforeStartDoesNothing) {
  for (LONG code : {0, 1, 99}) {
    obj_->put_WordOutErr(code);
    EXPECT_HRESULT_SUCCEEDED(obj_->WordEnd());
    EXPECT_EQ(Code(), code);
  }
  EXPECT_TRUE(standin_.Journal().empty());
}

TEST_F(WordStartEnd, SecondStartReleasesTheFirstWordWithoutQuit) {
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  ComPtr<IDispatch> first = Word();
  ASSERT_HRESULT_SUCCEEDED(obj_->WordStart());
  EXPECT_NE(Word().Get(), first.Get());
  for (const auto& line : standin_.Journal()) EXPECT_EQ(line.find(L"Quit"), std::wstring::npos);
  quorrel_test::QuitWord(first.Get());
  first.Reset();
  Discard();
}

// The server can unload only when nothing of it is held: no object, no class factory a client
// kept, no server lock.
TEST(QuorrelModule, CanUnloadOnlyWhenNothingIsHeld) {
  testing_support::ComApartment apartment;
  ComPtr<_WordPrintOut> obj = CreateWordPrintOut();
  ASSERT_TRUE(obj);
  HMODULE dll = GetModuleHandleW(L"Quorrel.dll");
  ASSERT_NE(dll, nullptr);
  auto can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll, "DllCanUnloadNow"));
  ASSERT_NE(can_unload, nullptr);
  EXPECT_EQ(can_unload(), S_FALSE) << "an object lives";
  ComPtr<IDispatch> other;
  obj->get_objWord(other.Receive());
  obj.Reset();
  EXPECT_EQ(can_unload(), S_OK);

  auto factory = [] {
    ComPtr<IClassFactory> f;
    EXPECT_HRESULT_SUCCEEDED(CoGetClassObject(CLSID_WordPrintOut, CLSCTX_INPROC_SERVER, nullptr,
                                              IID_IClassFactory, f.ReceiveVoid()));
    return f;
  };
  ComPtr<IClassFactory> kept = factory();
  ASSERT_TRUE(kept);
  EXPECT_EQ(can_unload(), S_FALSE) << "a factory is kept without LockServer";
  ASSERT_HRESULT_SUCCEEDED(kept->LockServer(TRUE));
  kept.Reset();
  EXPECT_EQ(can_unload(), S_FALSE) << "the server is locked";
  ComPtr<IClassFactory> unlocker = factory();
  ASSERT_TRUE(unlocker);
  ASSERT_HRESULT_SUCCEEDED(unlocker->LockServer(FALSE));
  unlocker.Reset();
  EXPECT_EQ(can_unload(), S_OK);
}

}  // namespace
