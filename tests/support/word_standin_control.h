// Test control of the stand-in "Word.Application" server (WordStandin.exe), through the
// registry key it reads whenever an Application object is created.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Writes HKCU\Software\WordStandin for one test; removes the key on destruction.
class WordStandinSetup {
 public:
  WordStandinSetup();  // clears any old values, creates a fresh journal file
  ~WordStandinSetup();
  WordStandinSetup(const WordStandinSetup&) = delete;
  WordStandinSetup& operator=(const WordStandinSetup&) = delete;

  void SetVersion(const std::wstring& text);
  void SetFailCreate(bool fail);
  void AddFailMember(const std::wstring& type_member);  // "Documents.Add"
  // Holds the stand-in before its first call of `type_member`; WaitForPause then tells when it
  // is held, and Resume lets it go on.
  void PauseBefore(const std::wstring& type_member);
  bool WaitForPause(DWORD timeout_ms);
  void Resume();
  std::vector<std::wstring> Journal() const;  // the member calls so far
  std::vector<std::wstring> Lookups() const;  // the name lookups so far, "Type.Member lookup"
  const std::wstring& journal_path() const { return journal_path_; }

 private:
  std::vector<std::wstring> AllJournalLines() const;

  std::wstring journal_path_;
  std::vector<std::wstring> fail_members_;
  HANDLE paused_ = nullptr;
  HANDLE resume_ = nullptr;
};

int CountStandinProcesses();  // running WordStandin.exe processes
bool WaitForNoStandinProcess(DWORD timeout_ms);

}  // namespace testing_support
