#include "test_control.h"

#include <windows.h>

#include <vector>

namespace standin {
namespace {

constexpr wchar_t kKey[] = L"Software\\WordStandin";

TestControl& Settings() {
  static TestControl settings;
  return settings;
}

bool ReadString(HKEY key, const wchar_t* name, std::wstring* out) {
  DWORD bytes = 0;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
    return false;
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS)
    return false;
  text.resize(wcslen(text.c_str()));
  *out = text;
  return true;
}

std::set<std::wstring> ReadMultiString(HKEY key, const wchar_t* name) {
  std::set<std::wstring> items;
  DWORD bytes = 0;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS)
    return items;
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_MULTI_SZ, nullptr, buffer.data(), &bytes) !=
      ERROR_SUCCESS)
    return items;
  for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) items.insert(p);
  return items;
}

}  // namespace

void LoadTestControl() {
  TestControl fresh;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    ReadString(key, L"Version", &fresh.version);
    DWORD fail = 0, size = sizeof(fail);
    if (RegGetValueW(key, nullptr, L"FailCreate", RRF_RT_REG_DWORD, nullptr, &fail, &size) ==
        ERROR_SUCCESS)
      fresh.fail_create = fail != 0;
    fresh.fail_members = ReadMultiString(key, L"FailMembers");
    ReadString(key, L"JournalFile", &fresh.journal_path);
    ReadString(key, L"PauseBefore", &fresh.pause_before);
    RegCloseKey(key);
  }
  Settings() = fresh;
}

const TestControl& Control() { return Settings(); }

void PauseIfAsked(const std::wstring& type_member) {
  static bool paused = false;
  if (paused || type_member != Settings().pause_before) return;
  paused = true;
  HANDLE paused_event = OpenEventW(EVENT_MODIFY_STATE, FALSE, kPausedEvent);
  HANDLE resume_event = OpenEventW(SYNCHRONIZE, FALSE, kResumeEvent);
  if (paused_event && resume_event) {
    SetEvent(paused_event);
    WaitForSingleObject(resume_event, 10000);
  }
  if (paused_event) CloseHandle(paused_event);
  if (resume_event) CloseHandle(resume_event);
}

}  // namespace standin
