#include "sample_form.h"

#include "hresult.h"
#include "memory_property_bag.h"
#include "variant.h"

namespace report_sample {
namespace {

constexpr wchar_t kFormClass[] = L"ReportSampleForm";
constexpr UINT kMakeReport = WM_APP + 1;  // posted by the report button's Click
constexpr int kFormWidth = 460, kFormHeight = 190;

// What the form file holds for the two buttons: a caption and the form's colour scheme.
com::ComPtr<testing_support::MemoryPropertyBag> ButtonProperties(const wchar_t* caption) {
  auto bag = testing_support::MemoryPropertyBag::New();
  bag->Set(L"Caption", com::Variant::Str(caption));
  bag->Set(L"BackColor", com::Variant::I4(0x00FFF0E0));      // light blue
  bag->Set(L"DownBackColor", com::Variant::I4(0x00A05020));  // dark blue
  bag->Set(L"TextColor", com::Variant::I4(0x00602000));
  bag->Set(L"DownTextColor", com::Variant::I4(0x00FFFFFF));
  bag->Set(L"BorderColor", com::Variant::I4(0x00A05020));
  bag->Set(L"BorderWidth", com::Variant::I2(1));
  return bag;
}

const wchar_t* OutcomeText(Outcome outcome) {
  switch (outcome) {
    case Outcome::kSaved: return L"出力しました: ";
    case Outcome::kCancelled: return L"キャンセルしました。";
    default: return L"出力できませんでした: ";
  }
}

}  // namespace

SampleForm::~SampleForm() {
  if (report_button_) report_button_->Close();
  if (end_button_) end_button_->Close();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

HRESULT SampleForm::Create() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  RegisterClassW(&wc);  // already registered by an earlier form: fine

  RECT frame{0, 0, kFormWidth, kFormHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&frame, style, FALSE);
  hwnd_ = CreateWindowExW(0, kFormClass, L"帳票出力サンプル", style, 40, 40,
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                          wc.hInstance, this);
  if (!hwnd_) return HRESULT_FROM_WIN32(GetLastError());

  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND intro = CreateWindowExW(0, L"STATIC", L"見積書を Word で作成し、保存します。",
                               WS_CHILD | WS_VISIBLE, 20, 18, 420, 20, hwnd_, nullptr,
                               wc.hInstance, nullptr);
  status_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, 20, 140,
                            420, 36, hwnd_, nullptr, wc.hInstance, nullptr);
  SendMessageW(intro, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  RETURN_IF_FAILED(AddButton(L"cmdReport", L"帳票出力", {20, 60, 170, 104}, kMakeReport,
                             &report_button_));
  return AddButton(L"cmdEnd", L"終了", {190, 60, 340, 104}, WM_CLOSE, &end_button_);
}

HRESULT SampleForm::AddButton(const wchar_t* name, const wchar_t* caption, const RECT& rect,
                              UINT command, com::ComPtr<FlatButtonSite>* out) {
  // A Click only posts the command: the run starts once the button has finished its click.
  HWND form = hwnd_;
  return FlatButtonSite::Create(hwnd_, name, rect, ButtonProperties(caption).Get(),
                                [form, command] { PostMessageW(form, command, 0, 0); }, out);
}

void SampleForm::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

RunResult SampleForm::MakeReport() {
  running_ = true;
  report_button_->SetEnabled(false);
  end_button_->SetEnabled(false);
  SetStatus(L"出力中...");
  RunResult result = report_sample::MakeReport(hwnd_, settings_);
  SetStatus(OutcomeText(result.outcome) +
            (result.outcome == Outcome::kSaved ? result.document : result.message));
  report_button_->SetEnabled(true);
  end_button_->SetEnabled(true);
  running_ = false;
  return result;
}

void SampleForm::PressReportButton() {
  HWND button = report_button_->window();
  RECT client;
  GetClientRect(button, &client);
  const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(button, WM_LBUTTONUP, 0, centre);
}

void SampleForm::SetStatus(const std::wstring& text) {
  SetWindowTextW(status_, text.c_str());
  UpdateWindow(status_);
}

LRESULT CALLBACK SampleForm::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* created = static_cast<SampleForm*>(create->lpCreateParams);
    created->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* form = reinterpret_cast<SampleForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return form ? form->Handle(message, wparam, lparam)
              : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT SampleForm::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kMakeReport:
      if (!running_) {
        RunResult result = MakeReport();
        if (on_run_finished_) on_run_finished_(result);
      }
      return 0;
    case WM_CLOSE:
      // Not while a run is on: the busy window and Word belong to it.
      if (!running_) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace report_sample
