// The sample's form: two flat buttons, "帳票出力" (make the report) and "終了" (quit), and a
// status line. Its window is the owner of the busy window during a run.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>

#include "com_ptr.h"
#include "flat_button_site.h"
#include "report_run.h"

namespace report_sample {

class SampleForm {
 public:
  explicit SampleForm(const RunSettings& settings) : settings_(settings) {}
  ~SampleForm();
  SampleForm(const SampleForm&) = delete;
  SampleForm& operator=(const SampleForm&) = delete;

  // Creates the form and its buttons, hidden.
  HRESULT Create();
  void Show();
  HWND hwnd() const { return hwnd_; }

  // One report run with the buttons disabled meanwhile; the status line tells the outcome.
  RunResult MakeReport();
  // Called after each run started by "帳票出力".
  void set_on_run_finished(std::function<void(const RunResult&)> callback) {
    on_run_finished_ = std::move(callback);
  }
  // Presses "帳票出力" with the mouse, as a person would (unattended demonstrations).
  void PressReportButton();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  HRESULT AddButton(const wchar_t* name, const wchar_t* caption, const RECT& rect, UINT command,
                    com::ComPtr<FlatButtonSite>* out);
  void SetStatus(const std::wstring& text);

  const RunSettings& settings_;
  HWND hwnd_ = nullptr;
  HWND status_ = nullptr;
  com::ComPtr<FlatButtonSite> report_button_;
  com::ComPtr<FlatButtonSite> end_button_;
  bool running_ = false;
  std::function<void(const RunResult&)> on_run_finished_;
};

}  // namespace report_sample
