// Drives clsLullpane in its server process as a C++ client does: start, stop, the cancel
// event, and the server's end when an owner window or the object goes.
#include <windows.h>

#include "com_ptr.h"
#include "com_test_env.h"
#include "lullpane_client.h"

namespace busy_window_test {
namespace {

using com::ComPtr;
using testing_support::PumpMessages;

constexpr HRESULT kObjectNotSet = static_cast<HRESULT>(0x800A005B);

class HalvaneLullpaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    ASSERT_HRESULT_SUCCEEDED(Create(&busy_));
  }

  static HRESULT Create(ComPtr<IDispatch>* out) {
    return CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            out->ReceiveVoid());
  }

  // Starts the object owned by `owner` and returns its form.
  HWND Start(IDispatch* busy, HWND owner) {
    EXPECT_HRESULT_SUCCEEDED(StartAnime(busy, owner));
    HWND form = FindForm(owner);
    EXPECT_NE(form, nullptr);
    return form;
  }

  // Clicks the real button as a user would; the click is handled on the server's thread.
  static void ClickCancel(HWND form) { PostMessageW(CancelButton(form), BM_CLICK, 0, 0); }

  static bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while (!done()) {
      if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
      PumpMessages(10);
    }
    return true;
  }

  testing_support::ComApartment apartment_;
  ComPtr<IDispatch> busy_;
  OwnerWindow owner_;
};

TEST_F(HalvaneLullpaneTest, StopAnimeOnFreshObjectFailsAndShowsNothing) {
  EXPECT_EQ(StopAnime(busy_.Get()), kObjectNotSet);
  // Early-bound clients see the same code, with error info.
  ComPtr<IUnknown> unknown;
  ASSERT_HRESULT_SUCCEEDED(busy_->QueryInterface(kIid, unknown.ReceiveVoid()));
  ComPtr<ISupportErrorInfo> support;
  ASSERT_HRESULT_SUCCEEDED(busy_->QueryInterface(IID_ISupportErrorInfo, support.ReceiveVoid()));
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(kIid), S_OK);
  EXPECT_EQ(FindForm(nullptr, 300), nullptr);
}

TEST_F(HalvaneLullpaneTest, StartShowsOwnedBorderlessFormAndStopHidesIt) {
  HWND form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_TRUE(IsWindowEnabled(CancelButton(form)));
  const LONG style = GetWindowLongW(form, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_NE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);  // not in the task bar
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 368);
  EXPECT_EQ(client.bottom, 147);
  wchar_t caption[32] = {};
  GetWindowTextW(CancelButton(form), caption, 32);
  EXPECT_STREQ(caption, L"キャンセル");
  // Centred on the screen when first shown.
  RECT work, r;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(form, &r);
  EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);

  ASSERT_HRESULT_SUCCEEDED(StopAnime(busy_.Get()));
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_HRESULT_SUCCEEDED(StopAnime(busy_.Get()));  // stopped stays stopped
}

TEST_F(HalvaneLullpaneTest, TwoStartsLeaveOneVisibleFormWithEnabledButton) {
  HWND form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  ASSERT_HRESULT_SUCCEEDED(StartAnime(busy_.Get(), owner_.hwnd()));
  DWORD server = 0;
  GetWindowThreadProcessId(form, &server);
  int forms = 0;
  for (HWND w = FindWindowExW(nullptr, nullptr, L"HalvaneWaitform", nullptr); w;
       w = FindWindowExW(nullptr, w, L"HalvaneWaitform", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == server) ++forms;
  }
  EXPECT_EQ(forms, 1);
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_TRUE(IsWindowEnabled(CancelButton(form)));
}

TEST_F(HalvaneLullpaneTest, CancelClickRaisesOneEventAndDisablesTheButton) {
  EventSink sink;
  HWND form = nullptr;
  bool form_enabled_during_event = true;
  sink.on_cancel = [&] { form_enabled_during_event = IsWindowEnabled(form) != FALSE; };
  Connection connection(busy_.Get(), &sink);
  ASSERT_HRESULT_SUCCEEDED(connection.hr());
  form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  HWND pic_text = FormChild(form, 1);
  ASSERT_TRUE(IsWindowVisible(pic_text));

  ClickCancel(form);
  ASSERT_TRUE(PumpUntil([&] { return sink.cancel_count > 0; }, 3000));
  PumpMessages(700);  // more than a tick: nothing further arrives
  EXPECT_EQ(sink.cancel_count, 1);
  EXPECT_FALSE(form_enabled_during_event);
  EXPECT_TRUE(IsWindowEnabled(form));
  EXPECT_FALSE(IsWindowEnabled(CancelButton(form)));
  EXPECT_FALSE(IsWindowVisible(pic_text));  // the cancel picture stands in its place
}

TEST_F(HalvaneLullpaneTest, RestartAfterCancelEnablesButtonAndKeepsCancelLook) {
  EventSink sink;
  Connection connection(busy_.Get(), &sink);
  ASSERT_HRESULT_SUCCEEDED(connection.hr());
  HWND form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  ClickCancel(form);
  ASSERT_TRUE(PumpUntil([&] { return sink.cancel_count > 0; }, 3000));

  ASSERT_HRESULT_SUCCEEDED(StopAnime(busy_.Get()));
  ASSERT_HRESULT_SUCCEEDED(StartAnime(busy_.Get(), owner_.hwnd()));
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_TRUE(IsWindowEnabled(CancelButton(form)));
  EXPECT_FALSE(IsWindowVisible(FormChild(form, 1)));
}

TEST_F(HalvaneLullpaneTest, StopAnimeFromTheEventHandlerHidesTheForm) {
  EventSink sink;
  HRESULT stop = E_FAIL;
  sink.on_cancel = [&] { stop = StopAnime(busy_.Get()); };
  Connection connection(busy_.Get(), &sink);
  ASSERT_HRESULT_SUCCEEDED(connection.hr());
  HWND form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  ClickCancel(form);
  ASSERT_TRUE(PumpUntil([&] { return sink.cancel_count > 0; }, 3000));
  EXPECT_HRESULT_SUCCEEDED(stop);
  EXPECT_FALSE(IsWindowVisible(form));
}

TEST_F(HalvaneLullpaneTest, ReleaseFromTheEventHandlerEndsTheServer) {
  EventSink sink;
  HWND form = nullptr;
  auto connection = std::make_unique<Connection>(busy_.Get(), &sink);
  ASSERT_HRESULT_SUCCEEDED(connection->hr());
  sink.on_cancel = [&] {
    connection.reset();
    busy_.Reset();
  };
  form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  HANDLE server = OpenServerProcess(form);
  ASSERT_NE(server, nullptr);
  ClickCancel(form);
  EXPECT_TRUE(WaitForExit(server, 5000));
  EXPECT_EQ(sink.cancel_count, 1);
  CloseHandle(server);
}

TEST_F(HalvaneLullpaneTest, DestroyedOwnerEndsTheServerWithinTwoTicks) {
  HWND form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  HANDLE server = OpenServerProcess(form);
  ASSERT_NE(server, nullptr);
  PumpMessages(100);
  owner_.Destroy();
  // Two ticks, with room for the late timers of a window under X.
  EXPECT_TRUE(WaitForExit(server, 1500));
  CloseHandle(server);
  EXPECT_FALSE(SUCCEEDED(StopAnime(busy_.Get())));  // the object went with its program
}

TEST_F(HalvaneLullpaneTest, DestroyedOwnerWhileStoppedLeavesTheServerUntilRelease) {
  HWND form = Start(busy_.Get(), owner_.hwnd());
  ASSERT_NE(form, nullptr);
  HANDLE server = OpenServerProcess(form);
  ASSERT_NE(server, nullptr);
  ASSERT_HRESULT_SUCCEEDED(StopAnime(busy_.Get()));
  owner_.Destroy();
  EXPECT_FALSE(WaitForExit(server, 1500));  // three ticks' time: no owner test runs
  EXPECT_HRESULT_SUCCEEDED(StopAnime(busy_.Get()));
  busy_.Reset();
  EXPECT_TRUE(WaitForExit(server, 5000));
  CloseHandle(server);
}

TEST_F(HalvaneLullpaneTest, EachObjectHasItsOwnServerAndOneOwnersEndSparesTheOther) {
  ComPtr<IDispatch> other;
  ASSERT_HRESULT_SUCCEEDED(Create(&other));
  OwnerWindow other_owner;
  HWND form = Start(busy_.Get(), owner_.hwnd());
  HWND other_form = Start(other.Get(), other_owner.hwnd());
  ASSERT_NE(form, nullptr);
  ASSERT_NE(other_form, nullptr);
  HANDLE server = OpenServerProcess(form);
  HANDLE other_server = OpenServerProcess(other_form);
  EXPECT_NE(GetProcessId(server), GetProcessId(other_server));

  owner_.Destroy();
  EXPECT_TRUE(WaitForExit(server, 1500));
  EXPECT_FALSE(WaitForExit(other_server, 1000));
  EXPECT_TRUE(IsWindowVisible(other_form));
  EXPECT_HRESULT_SUCCEEDED(StopAnime(other.Get()));
  CloseHandle(server);
  CloseHandle(other_server);
}

TEST_F(HalvaneLullpaneTest, ZeroHandleShowsAnUnownedFormThatStaysUntilRelease) {
  ASSERT_HRESULT_SUCCEEDED(StartAnime(busy_.Get(), nullptr));
  HWND form = FindForm(nullptr);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(GetWindow(form, GW_OWNER), nullptr);
  HANDLE server = OpenServerProcess(form);
  ASSERT_NE(server, nullptr);
  EXPECT_FALSE(WaitForExit(server, 1500));
  EXPECT_TRUE(IsWindowVisible(form));
  // A live owner given later is honoured.
  ASSERT_HRESULT_SUCCEEDED(StartAnime(busy_.Get(), owner_.hwnd()));
  EXPECT_EQ(GetWindow(form, GW_OWNER), owner_.hwnd());
  busy_.Reset();
  EXPECT_TRUE(WaitForExit(server, 5000));
  CloseHandle(server);
}

TEST(HalvaneClientDeathTest, KilledClientWithUnownedFormEndsItsServer) {
  testing_support::ComApartment apartment;
  std::wstring command = L"\"" + testing_support::ExeDir() + L"halvane_orphaning_client.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION client{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &client));
  CloseHandle(client.hThread);
  HWND form = FindForm(nullptr, 10000);
  ASSERT_NE(form, nullptr);
  HANDLE server = OpenServerProcess(form);
  ASSERT_NE(server, nullptr);
  EXPECT_FALSE(WaitForExit(server, 1000));  // no owner: the form stays while its client lives

  TerminateProcess(client.hProcess, 1);
  CloseHandle(client.hProcess);
  EXPECT_TRUE(WaitForExit(server, 5000));
  CloseHandle(server);
}

}  // namespace
}  // namespace busy_window_test
