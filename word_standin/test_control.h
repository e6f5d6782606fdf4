// What a test asked of this server process, read from HKCU\Software\WordStandin when the
// Application object is created (each "Word.Application" activation is a process of its own).
#pragma once
#include <set>
#include <string>

namespace standin {

struct TestControl {
  std::wstring version = L"16.0";
  bool fail_create = false;
  std::set<std::wstring> fail_members;  // "Type.Member"
  std::wstring journal_path;            // empty: no journal
};

// Reads the key again and replaces the process-wide settings.
void LoadTestControl();
const TestControl& Control();

}  // namespace standin
