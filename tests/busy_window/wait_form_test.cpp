// The busy form in this process, with its pictures taken from the built server: what it tells
// its object when its window goes without being unloaded.
#include <windows.h>

#include <gtest/gtest.h>

#include "com_test_env.h"
#include "module.h"
#include "owner_window.h"
#include "wait_form.h"

namespace {

struct Recorder : halvane::WaitFormEvents {
  void OnCancelButtonClicked() override {}
  void OnTimer() override {}
  void OnFormDestroyed() override { ++destroyed; }
  int destroyed = 0;
};

class WaitFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(apartment_.hr());
    resources_ = LoadLibraryExW((testing_support::BinDir() + L"Halvane.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(resources_, nullptr);
    com::SetModuleInstance(resources_);
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    form_ = halvane::WaitForm::Create(&events_);
    ASSERT_HRESULT_SUCCEEDED(form_->Show());
    halvane::SetFormOwner(form_->hwnd(), static_cast<LONG>(reinterpret_cast<LONG_PTR>(owner_)));
    ASSERT_EQ(GetWindow(form_->hwnd(), GW_OWNER), owner_);
  }
  void TearDown() override {
    form_.reset();
    if (owner_) DestroyWindow(owner_);
    if (resources_) FreeLibrary(resources_);
  }

  testing_support::ComApartment apartment_;
  HMODULE resources_ = nullptr;
  HWND owner_ = nullptr;
  Recorder events_;
  std::shared_ptr<halvane::WaitForm> form_;
};

// An owner of the same thread takes its owned windows with it, as any owner does on Windows.
TEST_F(WaitFormTest, OwnerTakingTheWindowIsReportedOnce) {
  HWND window = form_->hwnd();
  ASSERT_TRUE(DestroyWindow(owner_));
  owner_ = nullptr;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(events_.destroyed, 1);
  EXPECT_EQ(form_->hwnd(), nullptr);
  form_->Unload();  // nothing left to destroy twice
  EXPECT_EQ(events_.destroyed, 1);
}

TEST_F(WaitFormTest, UnloadIsNoLoss) {
  HWND window = form_->hwnd();
  form_->Unload();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(events_.destroyed, 0);
}

}  // namespace
