// The sample client as its users run it: report_sample.exe /batch (and examples/sample_run.vbs)
// in a process of their own, the saved report opened again through Word and read back.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "com_test_env.h"
#include "late_bound.h"
#include "word_client.h"
#include "word_standin_control.h"

namespace {

using com::ComPtr;
using com::Variant;
using quorrel_test::GetText;
using testing_support::Pages;
using testing_support::Utf8;

constexpr DWORD kRunTimeoutMs = 120000;
// The stand-in Word's type library: what it can do shows in its members.
constexpr GUID kStandinLibrary = {
    0xC3B5CA74, 0xDDC3, 0x4F37, {0xAB, 0x3D, 0xB5, 0x38, 0x07, 0x04, 0xDC, 0xA8}};

std::wstring ExamplesDir() { return testing_support::ExeDir() + L"..\\examples\\"; }
std::wstring Templates() { return ExamplesDir() + L"templates\\"; }

std::wstring WindowsPath(const char* unix_path) {
  std::wstring path = L"Z:";
  for (const char* c = unix_path; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

bool StandinKnows(const wchar_t* member) {
  ComPtr<ITypeLib> library;
  if (FAILED(LoadRegTypeLib(kStandinLibrary, 1, 0, 0, library.Receive()))) return false;
  std::wstring name = member;
  ITypeInfo* info = nullptr;
  MEMBERID id = 0;
  USHORT found = 1;
  if (FAILED(library->FindName(name.data(), 0, &info, &id, &found))) return false;
  if (found && info) info->Release();
  return found > 0;
}

// Saving needs Documents.Open and SaveAs2 or SaveAs; the stand-in is still growing them.
bool StandinReadsAndWritesDocuments() {
  return StandinKnows(L"Open") && (StandinKnows(L"SaveAs2") || StandinKnows(L"SaveAs"));
}

struct ProcessResult {
  DWORD exit_code = STILL_ACTIVE;
  std::wstring output;  // UTF-8 from the program, decoded
};

// Runs `command_line` with its output on a pipe, waiting up to kRunTimeoutMs.
ProcessResult RunProgram(std::wstring command_line) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return result;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = write;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(write);
  if (!started) {
    CloseHandle(read);
    return result;
  }
  std::string bytes;
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD available = 0;
    while (PeekNamedPipe(read, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!ReadFile(read, buffer, sizeof(buffer), &got, nullptr) || got == 0) break;
      bytes.append(buffer, got);
    }
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
      DWORD got = 0;
      char buffer[4096];
      while (ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
      break;
    }
    if (GetTickCount() - start > kRunTimeoutMs) {
      TerminateProcess(process.hProcess, 255);
      WaitForSingleObject(process.hProcess, 5000);
      break;
    }
  }
  GetExitCodeProcess(process.hProcess, &result.exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(read);
  int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  result.output.resize(n);
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), result.output.data(), n);
  return result;
}

// A folder as one command-line argument: without its trailing backslash, which would escape the
// closing quote.
std::wstring FolderArg(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return L"\"" + folder + L"\"";
}

ProcessResult RunSample(const std::wstring& arguments) {
  return RunProgram(L"\"" + ExamplesDir() + L"report_sample.exe\" /batch " + arguments);
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

// A saved report opened again in a Word of its own.
class SavedReport {
 public:
  explicit SavedReport(const std::wstring& path) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Word.Application", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                word_.ReceiveVoid()))) {
      return;
    }
    ComPtr<IDispatch> documents;
    if (SUCCEEDED(com::GetObject(word_.Get(), L"Documents", &documents))) {
      com::GetObject(documents.Get(), L"Open", &document_, {Variant::Str(path)});
    }
  }
  ~SavedReport() {
    if (word_) com::CallMethod(word_.Get(), L"Quit", {Variant::I4(0)});
  }
  IDispatch* document() const { return document_.Get(); }

  // The texts of the document's text boxes (shapes of type 17).
  std::vector<std::wstring> TextBoxes() const {
    std::vector<std::wstring> texts;
    ComPtr<IDispatch> shapes;
    if (FAILED(com::GetObject(document_.Get(), L"Shapes", &shapes))) return texts;
    Variant count;
    com::GetProperty(shapes.Get(), L"Count", count.Ptr());
    count.ChangeType(VT_I4);
    for (LONG i = 1; i <= V_I4(count.Ptr()); ++i) {
      ComPtr<IDispatch> shape;
      if (FAILED(com::GetObject(shapes.Get(), L"Item", &shape, {Variant::I4(i)}))) continue;
      if (GetText(shape.Get(), {L"Type"}) == L"17") {
        texts.push_back(GetText(shape.Get(), {L"TextFrame", L"TextRange", L"Text"}));
      }
    }
    return texts;
  }

 private:
  ComPtr<IDispatch> word_;
  ComPtr<IDispatch> document_;
};

class SampleReport : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    ASSERT_TRUE(FileExists(ExamplesDir() + L"report_sample.exe"));
  }
  void TearDown() override {
    EXPECT_TRUE(testing_support::WaitForNoStandinProcess(10000)) << "a stand-in Word was left";
  }
  std::wstring Report() const { return output_.path() + L"sample_report.docx"; }
  // A report of an earlier run, which no later run may leave standing as its own.
  void LeaveStaleReport() const {
    HANDLE file = CreateFileW(Report().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }

  testing_support::ComApartment apartment_;
  testing_support::WordStandinSetup standin_;
  testing_support::TempDir output_;
};

TEST_F(SampleReport, BatchRunSavesTheFourPageQuotation) {
  if (!StandinReadsAndWritesDocuments()) {
    GTEST_SKIP() << "the stand-in Word cannot open and save documents yet";
  }
  ProcessResult run = RunSample(L"/out " + FolderArg(output_.path()));
  ASSERT_EQ(run.exit_code, 0u) << Utf8(run.output);
  EXPECT_TRUE(Contains(run.output, (L"report: " + Report()).c_str())) << Utf8(run.output);
  ASSERT_TRUE(FileExists(Report()));

  SavedReport saved(Report());
  ASSERT_TRUE(saved.document()) << "the saved report does not open in Word";
  const std::wstring text = GetText(saved.document(), {L"Content", L"Text"});
  EXPECT_EQ(text.find(L'#'), std::wstring::npos) << "a placeholder was left: " << Utf8(text);
  const std::vector<std::wstring> pages = Pages(text);
  ASSERT_EQ(pages.size(), 4u) << Utf8(text);
  EXPECT_TRUE(Contains(pages[0], L"株式会社 山田製作所 御中")) << Utf8(pages[0]);
  EXPECT_TRUE(Contains(pages[0], L"御見積金額: 37,300 円")) << Utf8(pages[0]);
  // The table: each item with its reading after it, then quantity and unit price.
  EXPECT_TRUE(Contains(pages[1], L"検査用治具けんさようじぐ")) << Utf8(pages[1]);
  EXPECT_TRUE(Contains(pages[1], L"12,000")) << Utf8(pages[1]);
  EXPECT_TRUE(Contains(pages[1], L"取付金具とりつけかなぐ")) << Utf8(pages[1]);
  EXPECT_TRUE(Contains(pages[2], L"撮影: 営業部 山田")) << Utf8(pages[2]);
  EXPECT_EQ(GetText(saved.document(), {L"InlineShapes", L"Count"}), L"1");
  const std::vector<std::wstring> boxes = saved.TextBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(Contains(boxes[0] + boxes[1], L"担当: 営業部 山田 太郎"));
  EXPECT_TRUE(Contains(boxes[0] + boxes[1], L"連絡先: 03-1234-5678"));
  EXPECT_EQ(GetText(saved.document(), {L"PageSetup", L"TopMargin"}), L"56.7");
  // The file holds whole twips: 841.995 points (29.7 cm) comes back as 16840 twips, as in Word.
  EXPECT_EQ(GetText(saved.document(), {L"PageSetup", L"PageHeight"}), L"842");
}

struct CancelCase {
  const char* name;
  int before_page;
  bool needs_documents;  // pages before the cancel are appended from the templates
};

class SampleCancel : public SampleReport, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(SampleCancel, LeavesNoReportAndNoWord) {
  if (GetParam().needs_documents && !StandinReadsAndWritesDocuments()) {
    GTEST_SKIP() << "the stand-in Word cannot open and save documents yet";
  }
  LeaveStaleReport();
  ProcessResult run = RunSample(L"/cancel-before-page " + std::to_wstring(GetParam().before_page) +
                                L" /out " + FolderArg(output_.path()));
  EXPECT_EQ(run.exit_code, 2u) << Utf8(run.output);
  EXPECT_TRUE(Contains(run.output, L"cancelled: no report was saved")) << Utf8(run.output);
  EXPECT_FALSE(FileExists(Report()));
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleCancel,
                         ::testing::Values(CancelCase{"BeforeFirstPage", 1, false},
                                           CancelCase{"BeforeThirdPage", 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SampleReport, MissingTemplatesFailWithoutReportOrWord) {
  testing_support::TempDir empty_forms;
  LeaveStaleReport();
  ProcessResult run =
      RunSample(L"/forms " + FolderArg(empty_forms.path()) + L" /out " + FolderArg(output_.path()));
  EXPECT_EQ(run.exit_code, 1u) << Utf8(run.output);
  EXPECT_TRUE(Contains(run.output, L"failed: appending sample_cover.docx failed (0x80040201"))
      << Utf8(run.output);
  EXPECT_FALSE(FileExists(Report()));
}

TEST_F(SampleReport, ScriptVersionSavesTheReport) {
  if (!StandinReadsAndWritesDocuments()) {
    GTEST_SKIP() << "the stand-in Word cannot open and save documents yet";
  }
  ProcessResult run = RunProgram(L"cscript.exe //nologo \"" + WindowsPath(SAMPLE_SCRIPT) + L"\" " +
                                 FolderArg(Templates()) + L" " + FolderArg(output_.path()));
  EXPECT_TRUE(Contains(run.output, L"ALL PASSED")) << Utf8(run.output);
  ASSERT_TRUE(FileExists(Report()));
  SavedReport saved(Report());
  ASSERT_TRUE(saved.document());
  const std::wstring text = GetText(saved.document(), {L"Content", L"Text"});
  EXPECT_EQ(Pages(text).size(), 4u) << Utf8(text);
  EXPECT_EQ(text.find(L'#'), std::wstring::npos) << Utf8(text);
}

}  // namespace
