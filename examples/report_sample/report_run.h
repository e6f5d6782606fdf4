// One report run, the way a client drives the three components: WordPrintOut builds the
// quotation in Word page by page while the busy window stands over the client's window; a click
// on its cancel button stores OutCancel and the run is discarded.
#pragma once
#include <windows.h>

#include <string>

namespace report_sample {

struct RunSettings {
  std::wstring forms;   // folder of the templates and the picture, with the trailing separator
  std::wstring output;  // folder the finished report is saved in, with the trailing separator
  // Unattended runs: press the busy window's cancel button before this page (1 = first page,
  // 0 = never), and pause this long before each page with the busy window animating.
  int cancel_before_page = 0;
  DWORD page_pause_ms = 0;
  // Quit Word once the report is saved (nobody is there to look at it).
  bool close_word = false;
};

enum class Outcome { kSaved, kCancelled, kFailed };

struct RunResult {
  Outcome outcome = Outcome::kFailed;
  std::wstring document;  // the saved report, for kSaved
  std::wstring message;   // what went wrong, for kFailed
  int pages = 0;          // template pages appended
};

// The file the report is saved as in `output`.
std::wstring ReportPath(const std::wstring& output);

// Makes the report with `owner` as the busy window's owner. Runs on an apartment-threaded
// thread whose messages it pumps while waiting.
RunResult MakeReport(HWND owner, const RunSettings& settings);

}  // namespace report_sample
