#include "com_test_env.h"

#include <shellapi.h>

namespace testing_support {

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

std::wstring BinDir() {
  std::wstring dir = ExeDir();  // ...\tests\ ;
  dir.pop_back();
  return dir.substr(0, dir.find_last_of(L'\\') + 1) + L"bin\\";
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (unsigned i = GetTickCount();; ++i) {
    path_ = std::wstring(base) + L"qt" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(i) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() {
  std::wstring from = path_;
  from.pop_back();
  from.push_back(L'\0');  // double-NUL terminated list
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

void PumpMessages(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    LONG left = static_cast<LONG>(end - GetTickCount());
    if (left <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

std::string Utf8(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::vector<std::wstring> Pages(const std::wstring& text) {
  std::vector<std::wstring> pages(1);
  for (wchar_t c : text) {
    if (c == L'\f') pages.emplace_back();
    else pages.back() += c;
  }
  return pages;
}

}  // namespace testing_support
