// The client's side of Halvane.clsLullpane: the busy window shown over one of our windows while
// Word works, with its cancel button reported through OnCancelButtonClicked.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>

#include "com_ptr.h"

namespace report_sample {

class BusyWindow {
 public:
  BusyWindow() = default;
  ~BusyWindow();
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

  // Creates the object in the busy window server; `on_cancel` runs on this thread when the
  // user clicks the cancel button.
  HRESULT Create(std::function<void()> on_cancel);
  HRESULT Start(HWND owner);
  HRESULT Stop();

  // Clicks the cancel button of the shown window as a person would (used by the unattended
  // runs that demonstrate a cancellation).
  bool PressCancel() const;

 private:
  com::ComPtr<IDispatch> busy_;
  com::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  HWND owner_ = nullptr;
};

}  // namespace report_sample
