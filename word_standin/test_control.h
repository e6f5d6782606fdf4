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
  std::wstring pause_before;            // "Type.Member": see PauseIfAsked
};

// Names of the events a test creates to hold this server between two calls.
constexpr wchar_t kPausedEvent[] = L"WordStandin.Paused";
constexpr wchar_t kResumeEvent[] = L"WordStandin.Resume";

// Reads the key again and replaces the process-wide settings.
void LoadTestControl();
const TestControl& Control();

// Before the first call of the member named by "PauseBefore", signals the paused event and
// waits (ten seconds at most) for the resume event, so a test can act between two calls of
// one client operation. Does nothing when the test made no events.
void PauseIfAsked(const std::wstring& type_member);

}  // namespace standin
