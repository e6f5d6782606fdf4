#include "message_box_watcher.h"

namespace testing_support {
namespace {

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring s(n + 1, L'\0');
  s.resize(GetWindowTextW(hwnd, s.data(), n + 1));
  return s;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
  auto* box = reinterpret_cast<SeenMessageBox*>(param);
  std::wstring cls = ClassOf(child);
  LONG style = GetWindowLongW(child, GWL_STYLE);
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    box->buttons.push_back(WindowText(child));
  } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
      box->exclamation_icon = icon && icon == LoadIconW(nullptr, IDI_EXCLAMATION);
    } else if (GetDlgCtrlID(child) == 0xFFFF) {  // the message text of a message box
      box->text = WindowText(child);
    }
  }
  return TRUE;
}

struct Found {
  DWORD pid;
  std::vector<HWND> boxes;
};

BOOL CALLBACK FindBoxes(HWND hwnd, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == found->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
    found->boxes.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() : thread_([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

void MessageBoxWatcher::Run() {
  std::vector<HWND> answered;
  while (!stop_) {
    Found found{GetCurrentProcessId(), {}};
    EnumWindows(FindBoxes, reinterpret_cast<LPARAM>(&found));
    for (HWND box : found.boxes) {
      bool done = false;
      for (HWND a : answered) done |= a == box;
      if (done) continue;
      SeenMessageBox seen;
      seen.caption = WindowText(box);
      EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&seen));
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      answered.push_back(box);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    Sleep(20);
  }
}

}  // namespace testing_support
