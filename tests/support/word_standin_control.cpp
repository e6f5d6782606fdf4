#include "word_standin_control.h"

#include <tlhelp32.h>

namespace testing_support {
namespace {

constexpr wchar_t kKey[] = L"Software\\WordStandin";

void SetValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, type, data, bytes);
}

void SetString(const wchar_t* name, const std::wstring& text) {
  SetValue(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring FromUtf8(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

// "Type.Member lookup ...", beside the calls "Type.Member get|put|call ...".
bool IsLookup(const std::wstring& line) {
  const size_t space = line.find(L' ');
  return line.compare(space == std::wstring::npos ? line.size() : space + 1, 6, L"lookup") == 0;
}

}  // namespace

WordStandinSetup::WordStandinSetup() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  for (unsigned i = GetTickCount();; ++i) {
    journal_path_ = std::wstring(dir) + L"standin_journal_" +
                    std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(i) + L".txt";
    HANDLE file = CreateFileW(journal_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      break;
    }
  }
  SetString(L"JournalFile", journal_path_);
}

WordStandinSetup::~WordStandinSetup() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
  DeleteFileW(journal_path_.c_str());
  if (paused_) CloseHandle(paused_);
  if (resume_) CloseHandle(resume_);
}

void WordStandinSetup::SetVersion(const std::wstring& text) { SetString(L"Version", text); }

void WordStandinSetup::SetFailCreate(bool fail) {
  DWORD value = fail ? 1 : 0;
  SetValue(L"FailCreate", REG_DWORD, &value, sizeof(value));
}

void WordStandinSetup::AddFailMember(const std::wstring& type_member) {
  fail_members_.push_back(type_member);
  std::wstring block;
  for (const std::wstring& m : fail_members_) block.append(m).push_back(L'\0');
  block.push_back(L'\0');
  SetValue(L"FailMembers", REG_MULTI_SZ, block.data(),
           static_cast<DWORD>(block.size() * sizeof(wchar_t)));
}

void WordStandinSetup::PauseBefore(const std::wstring& type_member) {
  if (!paused_) paused_ = CreateEventW(nullptr, FALSE, FALSE, L"WordStandin.Paused");
  if (!resume_) resume_ = CreateEventW(nullptr, FALSE, FALSE, L"WordStandin.Resume");
  SetString(L"PauseBefore", type_member);
}

bool WordStandinSetup::WaitForPause(DWORD timeout_ms) {
  return paused_ && WaitForSingleObject(paused_, timeout_ms) == WAIT_OBJECT_0;
}

void WordStandinSetup::Resume() {
  if (resume_) SetEvent(resume_);
}

std::vector<std::wstring> WordStandinSetup::AllJournalLines() const {
  std::vector<std::wstring> lines;
  HANDLE file = CreateFileW(journal_path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(FromUtf8(line));
    start = end + 1;
  }
  return lines;
}

std::vector<std::wstring> WordStandinSetup::Journal() const {
  std::vector<std::wstring> calls;
  for (std::wstring& line : AllJournalLines())
    if (!IsLookup(line)) calls.push_back(std::move(line));
  return calls;
}

std::vector<std::wstring> WordStandinSetup::Lookups() const {
  std::vector<std::wstring> lookups;
  for (std::wstring& line : AllJournalLines())
    if (IsLookup(line)) lookups.push_back(std::move(line));
  return lookups;
}

int CountStandinProcesses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (CompareStringOrdinal(entry.szExeFile, -1, L"WordStandin.exe", -1, TRUE) == CSTR_EQUAL)
      ++count;
  }
  CloseHandle(snapshot);
  return count;
}

bool WaitForNoStandinProcess(DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (CountStandinProcesses() == 0) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(50);
  }
}

}  // namespace testing_support
