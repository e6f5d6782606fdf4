#include "server_lifetime.h"

#include <tlhelp32.h>

#include "module.h"

namespace halvane {

void ObjectCreated() { com::ModuleAddRef(); }

void ObjectDestroyed() {
  com::ModuleRelease();
  if (com::ModuleLockCount() == 0) PostQuitMessage(0);
}

void QuitIfUnused() {
  if (com::ModuleLockCount() == 0) PostQuitMessage(0);
}

namespace {

DWORD ParentProcessId() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  DWORD parent = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return parent;
}

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

HANDLE OpenStartingProcess() {
  DWORD parent_id = ParentProcessId();
  if (parent_id == 0) return nullptr;
  HANDLE parent =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent_id);
  if (!parent) return nullptr;
  // A parent that is already gone may have left its id to a younger process.
  ULONGLONG parent_created = CreationTime(parent);
  if (parent_created == 0 || parent_created > CreationTime(GetCurrentProcess())) {
    CloseHandle(parent);
    return nullptr;
  }
  return parent;
}

void EndServerNow() { ExitProcess(0); }

}  // namespace halvane
