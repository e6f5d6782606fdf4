// The stand-in's Application, Documents and Document, its test controls, its journal and the
// life of its process, driven through IDispatch as Word's clients drive Word.
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "com_test_env.h"
#include "standin_client.h"
#include "word_standin_control.h"

namespace standin_test {
namespace {

using testing_support::Utf8;

std::vector<std::string> Utf8Lines(const std::vector<std::wstring>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(Utf8(l));
  return out;
}

// Terminates every stand-in process; returns how many there were.
int EndStandinProcesses() {
  int ended = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (CompareStringOrdinal(entry.szExeFile, -1, L"WordStandin.exe", -1, TRUE) != CSTR_EQUAL)
      continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (!process) continue;
    if (TerminateProcess(process, 1)) ++ended;
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  CloseHandle(snapshot);
  return ended;
}

constexpr HRESULT kNoSuchMember = 0x800A1735;   // Word error 5941
constexpr HRESULT kNoDocumentOpen = 0x800A1098;  // Word error 4248

class StandinApplicationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000)) << "a stand-in was left running";
  }
  testing_support::ComApartment apartment_;
  testing_support::WordStandinSetup standin_;
};

TEST_F(StandinApplicationTest, JournalRecordsEveryCallWithTypesInOrder) {
  {
    WordSession word;
    ASSERT_HRESULT_SUCCEEDED(word.hr());
    IDispatch* app = word.app();
    EXPECT_EQ(GetText(app, L"Version"), L"16.0");
    ComPtr<IDispatch> docs = GetObj(app, L"Documents");
    ComPtr<IDispatch> doc = GetObj(docs.Get(), L"Add");
    Put(app, L"DisplayAlerts", Variant::I4(0));
    Put(app, L"Visible", Variant::Bool(false));
    Put(app, L"WindowState", Variant::I4(1));
    Call(app, L"Activate");
    EXPECT_EQ(GetText(doc.Get(), L"Name"), L"文書1");
    GetObj(doc.Get(), L"Application");
    Call(docs.Get(), L"Item", {Variant::Str(L"文書1")});
    Call(app, L"Quit", {}, {{L"SaveChanges", Variant::I4(0)}});
  }
  EXPECT_EQ(Utf8Lines(standin_.Journal()),
            Utf8Lines({L"Application.Version get",
                       L"Application.Documents get",
                       L"Documents.Add call",
                       L"Application.DisplayAlerts put VT_I4:0",
                       L"Application.Visible put VT_BOOL:0",
                       L"Application.WindowState put VT_I4:1",
                       L"Application.Activate call",
                       L"Document.Name get",
                       L"Document.Application get",
                       L"Documents.Item call VT_BSTR:\"文書1\"",
                       L"Application.Quit call SaveChanges:=VT_I4:0"}));
  // This client keeps no DISPIDs: each call asked for its names first, named arguments too.
  const std::vector<std::wstring> lookups = standin_.Lookups();
  ASSERT_EQ(lookups.size(), 11u);
  EXPECT_EQ(Utf8Lines({lookups.front(), lookups.back()}),
            Utf8Lines({L"Application.Version lookup", L"Application.Quit lookup SaveChanges"}));
}

TEST_F(StandinApplicationTest, DocumentsAreNamedCountedAndFoundByIndexOrName) {
  WordSession word;
  ASSERT_HRESULT_SUCCEEDED(word.hr());
  ComPtr<IDispatch> docs = GetObj(word.app(), L"Documents");
  EXPECT_EQ(GetLong(docs.Get(), L"Count"), 0) << "Word started by automation has no document";
  Call(docs.Get(), L"Add");
  Call(docs.Get(), L"Add");
  EXPECT_EQ(GetLong(docs.Get(), L"Count"), 2);
  EXPECT_EQ(GetText(GetObj(word.app(), L"ActiveDocument").Get(), L"Name"), L"文書2");

  // By index, by name (any case), and through the default member of Application.Documents.
  EXPECT_EQ(GetText(GetObj(docs.Get(), L"Item", {Variant::I4(1)}).Get(), L"Name"), L"文書1");
  EXPECT_EQ(GetText(GetObj(word.app(), L"Documents", {Variant::Str(L"文書2")}).Get(), L"Name"),
            L"文書2");
  ComPtr<IDispatch> first = GetObj(word.app(), L"Documents", {Variant::I2(1)});
  Call(first.Get(), L"Activate");
  EXPECT_EQ(GetText(GetObj(word.app(), L"ActiveDocument").Get(), L"Name"), L"文書1");
  ComPtr<IDispatch> app_again = GetObj(first.Get(), L"Application");
  EXPECT_EQ(GetText(app_again.Get(), L"Name"), L"Microsoft Word");

  for (const Variant& index : {Variant::I4(0), Variant::I4(3), Variant::Str(L"文書9")}) {
    com::CallError e = Failure(docs.Get(), L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {index});
    EXPECT_EQ(e.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(e.scode, kNoSuchMember);
  }
}

TEST_F(StandinApplicationTest, MembersOfTheActiveDocumentFailWithoutOne) {
  WordSession word;
  ASSERT_HRESULT_SUCCEEDED(word.hr());
  for (const wchar_t* member : {L"ActiveDocument", L"ActiveWindow", L"Selection"}) {
    com::CallError e = Failure(word.app(), member, DISPATCH_PROPERTYGET);
    EXPECT_EQ(e.scode, kNoDocumentOpen) << Utf8(member);
    EXPECT_FALSE(e.description.Str().empty());
  }
}

TEST_F(StandinApplicationTest, VersionAndFailingMembersFollowTheTestControl) {
  standin_.SetVersion(L"8.0");
  standin_.AddFailMember(L"Documents.Add");
  standin_.AddFailMember(L"Application.Activate");
  WordSession word;
  ASSERT_HRESULT_SUCCEEDED(word.hr());
  EXPECT_EQ(GetText(word.app(), L"Version"), L"8.0");
  ComPtr<IDispatch> docs = GetObj(word.app(), L"Documents");
  com::CallError add = Failure(docs.Get(), L"Add", DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  EXPECT_EQ(add.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(add.scode, E_FAIL);
  EXPECT_FALSE(add.description.Str().empty());
  EXPECT_EQ(Failure(word.app(), L"Activate", DISPATCH_METHOD).scode, E_FAIL);
  EXPECT_EQ(GetLong(docs.Get(), L"Count"), 0) << "a failed Add adds nothing";
  std::vector<std::wstring> journal = standin_.Journal();
  ASSERT_GE(journal.size(), 4u);
  EXPECT_EQ(journal[2], L"Documents.Add call") << "a failing call is still received";
}

TEST_F(StandinApplicationTest, FailCreateFailsTheActivationAndLeavesNoProcess) {
  standin_.SetFailCreate(true);
  ComPtr<IDispatch> app;
  EXPECT_TRUE(FAILED(CreateWord(&app)));
  EXPECT_FALSE(app);
  EXPECT_TRUE(standin_.Journal().empty());
}

TEST_F(StandinApplicationTest, InvisibleInstanceEndsWhenItsLastClientLetsGo) {
  {
    ComPtr<IDispatch> app;
    ASSERT_HRESULT_SUCCEEDED(CreateWord(&app));
    ComPtr<IDispatch> doc = GetObj(GetObj(app.Get(), L"Documents").Get(), L"Add");
    app.Reset();
    EXPECT_EQ(testing_support::CountStandinProcesses(), 1) << "the document still holds it";
  }
  EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000));
}

TEST_F(StandinApplicationTest, VisibleInstanceStaysForItsUser) {
  ComPtr<IDispatch> app;
  ASSERT_HRESULT_SUCCEEDED(CreateWord(&app));
  Put(app.Get(), L"Visible", Variant::Bool(true));
  app.Reset();
  Sleep(1000);
  EXPECT_EQ(testing_support::CountStandinProcesses(), 1);
  // Its user would close it now; the test ends it the hard way.
  EXPECT_EQ(EndStandinProcesses(), 1);
}

TEST_F(StandinApplicationTest, EachActivationIsAProcessOfItsOwn) {
  WordSession first, second;
  ASSERT_HRESULT_SUCCEEDED(first.hr());
  ASSERT_HRESULT_SUCCEEDED(second.hr());
  EXPECT_EQ(testing_support::CountStandinProcesses(), 2);
  Call(GetObj(first.app(), L"Documents").Get(), L"Add");
  EXPECT_EQ(GetLong(GetObj(second.app(), L"Documents").Get(), L"Count"), 0);
}

TEST_F(StandinApplicationTest, QuitEndsTheProcessAfterTheCallReturns) {
  ComPtr<IDispatch> app;
  ASSERT_HRESULT_SUCCEEDED(CreateWord(&app));
  ComPtr<IDispatch> doc = GetObj(GetObj(app.Get(), L"Documents").Get(), L"Add");
  Call(doc.Get(), L"Activate");
  Call(GetObj(doc.Get(), L"Application").Get(), L"Quit", {Variant::I4(0)});  // succeeded
  EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000));
  com::CallError e = Failure(doc.Get(), L"Name", DISPATCH_PROPERTYGET);
  EXPECT_NE(e.hr, S_OK);
}

}  // namespace
}  // namespace standin_test
