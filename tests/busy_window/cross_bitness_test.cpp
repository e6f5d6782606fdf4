// A client of one bitness drives the server of the other: this test starts the other build's
// Halvane.exe, lets it register its class object, and uses the object it serves.
#include <windows.h>

#include <string>

#include "com_ptr.h"
#include "com_test_env.h"
#include "lullpane_client.h"

namespace busy_window_test {
namespace {

using com::ComPtr;

// bin\ of the other bitness's build: <root>\x86\bin\ beside <root>\x64\bin\.
std::wstring OtherServerPath() {
  std::wstring bin = testing_support::BinDir();  // ...\<arch>\bin\ ;
  std::wstring arch_dir = bin.substr(0, bin.size() - 5);  // ...\<arch>
  std::wstring root = arch_dir.substr(0, arch_dir.find_last_of(L'\\') + 1);
  return root + (sizeof(void*) == 8 ? L"x86" : L"x64") + L"\\bin\\Halvane.exe";
}

bool Is64BitProcess(HANDLE process) {
  BOOL wow64 = FALSE;
  IsWow64Process(process, &wow64);
  return !wow64;  // on a 64-bit system
}

TEST(HalvaneCrossBitnessTest, ClientDrivesTheServerOfTheOtherBitness) {
  const std::wstring server_path = OtherServerPath();
  if (GetFileAttributesW(server_path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "the other bitness is not built";
  }
  testing_support::ComApartment apartment;
  ASSERT_HRESULT_SUCCEEDED(apartment.hr());

  std::wstring command = L"\"" + server_path + L"\" /Embedding";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  CloseHandle(pi.hThread);
  EXPECT_NE(Is64BitProcess(pi.hProcess), sizeof(void*) == 8);
  // Waiting for input means its class object is registered and its loop runs.
  WaitForInputIdle(pi.hProcess, 10000);

  {
    ComPtr<IDispatch> busy;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                              busy.ReceiveVoid()));
    OwnerWindow owner;
    EventSink sink;
    Connection connection(busy.Get(), &sink);
    ASSERT_HRESULT_SUCCEEDED(connection.hr());
    ASSERT_HRESULT_SUCCEEDED(StartAnime(busy.Get(), owner.hwnd()));
    HWND form = FindForm(owner.hwnd());
    ASSERT_NE(form, nullptr);
    DWORD server_pid = 0;
    GetWindowThreadProcessId(form, &server_pid);
    EXPECT_EQ(server_pid, pi.dwProcessId);

    PostMessageW(CancelButton(form), BM_CLICK, 0, 0);
    for (DWORD end = GetTickCount() + 3000; sink.cancel_count == 0 && GetTickCount() < end;) {
      testing_support::PumpMessages(10);
    }
    EXPECT_EQ(sink.cancel_count, 1);
    EXPECT_HRESULT_SUCCEEDED(StopAnime(busy.Get()));
    // The owner handle crossed bitness intact: its end ends the server.
    ASSERT_HRESULT_SUCCEEDED(StartAnime(busy.Get(), owner.hwnd()));
    owner.Destroy();
    EXPECT_TRUE(WaitForExit(pi.hProcess, 1500));
  }
  TerminateProcess(pi.hProcess, 1);  // no-op when it ended as it should
  CloseHandle(pi.hProcess);
}

}  // namespace
}  // namespace busy_window_test
