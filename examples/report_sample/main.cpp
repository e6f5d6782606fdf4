// The sample client: a form whose "帳票出力" button makes a quotation in Word with the three
// components, or, with /batch, the same run without a person.
//
//   report_sample.exe [/batch | /demo] [/forms DIR] [/out DIR] [/cancel-before-page N]
//                     [/page-pause MS]
//
// /batch   makes the report at once, prints where it went and exits: 0 saved, 2 cancelled,
//          1 failed.
// /demo    shows the form, presses "帳票出力" after two seconds, closes after the run.
// /forms   folder of the templates (default: templates\ beside the program).
// /out     folder of the finished report (default: output\ beside the program).
// /cancel-before-page N  presses the busy window's cancel button before page N.
// /page-pause MS         pauses before each page, the busy window animating.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "report_run.h"
#include "sample_form.h"

namespace report_sample {
namespace {

enum class Mode { kForm, kBatch, kDemo };

struct Options {
  Mode mode = Mode::kForm;
  RunSettings run;
  bool valid = true;
};

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

Options ParseOptions() {
  Options options;
  options.run.forms = ProgramFolder() + L"templates\\";
  options.run.output = ProgramFolder() + L"output\\";
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (_wcsicmp(arg.c_str(), L"/batch") == 0) {
      options.mode = Mode::kBatch;
    } else if (_wcsicmp(arg.c_str(), L"/demo") == 0) {
      options.mode = Mode::kDemo;
    } else if (_wcsicmp(arg.c_str(), L"/forms") == 0 && has_value) {
      options.run.forms = WithSeparator(argv[++i]);
    } else if (_wcsicmp(arg.c_str(), L"/out") == 0 && has_value) {
      options.run.output = WithSeparator(argv[++i]);
    } else if (_wcsicmp(arg.c_str(), L"/cancel-before-page") == 0 && has_value) {
      options.run.cancel_before_page = _wtoi(argv[++i]);
    } else if (_wcsicmp(arg.c_str(), L"/page-pause") == 0 && has_value) {
      options.run.page_pause_ms = static_cast<DWORD>(_wtoi(argv[++i]));
    } else {
      options.valid = false;
    }
  }
  LocalFree(argv);
  // Nobody is there to close Word after an unattended run.
  options.run.close_word = options.mode != Mode::kForm;
  return options;
}

// UTF-8 lines on standard output, whatever the console's code page.
void PrintLine(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr,
                                  0, nullptr, nullptr);
  std::string utf8(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), bytes, &written, nullptr);
}

int Report(const RunResult& result) {
  switch (result.outcome) {
    case Outcome::kSaved:
      PrintLine(L"report: " + result.document + L" (" + std::to_wstring(result.pages) +
                L" template pages)");
      return 0;
    case Outcome::kCancelled:
      PrintLine(L"cancelled: no report was saved");
      return 2;
    default:
      PrintLine(L"failed: " + result.message);
      return 1;
  }
}

constexpr UINT_PTR kPressTimer = 1, kCloseTimer = 2;

// The form until "終了" (or, in the demonstration, until a few seconds after its one run).
int RunForm(SampleForm& form, Mode mode) {
  int status = 0;
  form.set_on_run_finished([&form, &status, mode](const RunResult& result) {
    status = Report(result);
    if (mode == Mode::kDemo) SetTimer(form.hwnd(), kCloseTimer, 3000, nullptr);
  });
  form.Show();
  if (mode == Mode::kDemo) SetTimer(form.hwnd(), kPressTimer, 2000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == form.hwnd()) {
      KillTimer(form.hwnd(), msg.wParam);
      if (msg.wParam == kPressTimer) form.PressReportButton();
      if (msg.wParam == kCloseTimer) PostQuitMessage(0);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return status;
}

}  // namespace
}  // namespace report_sample

int main() {
  using namespace report_sample;
  const Options options = ParseOptions();
  if (!options.valid) {
    PrintLine(L"usage: report_sample.exe [/batch | /demo] [/forms DIR] [/out DIR] "
              L"[/cancel-before-page N] [/page-pause MS]");
    return 1;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int status = 1;
  {
    SampleForm form(options.run);
    HRESULT hr = form.Create();
    if (FAILED(hr)) {
      wchar_t code[16];
      swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
      PrintLine(std::wstring(L"failed: the form could not be created (") + code + L")");
    } else if (options.mode == Mode::kBatch) {
      status = Report(form.MakeReport());
    } else {
      status = RunForm(form, options.mode);
    }
  }
  CoUninitialize();
  return status;
}
