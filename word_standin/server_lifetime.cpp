#include "server_lifetime.h"

#include <windows.h>

namespace standin {
namespace {

LONG g_objects;
bool g_user_control;
bool g_exit_requested;
// Long enough for COM's own thread to send the reply of the call that asked for the exit.
constexpr UINT kExitGraceMs = 200;

void CALLBACK EndLoop(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostQuitMessage(0);
}

}  // namespace

void ObjectCreated() { ++g_objects; }

void ObjectDestroyed() {
  if (--g_objects == 0 && !g_user_control) RequestExit();
}

void SetUserControl(bool user_control) {
  g_user_control = user_control;
  if (!user_control && g_objects == 0) RequestExit();
}

void RequestExit() {
  if (g_exit_requested) return;
  g_exit_requested = true;
  // The loop ends a moment later: the reply to the call in progress (Quit, or the last
  // Release) must not race the apartment's teardown.
  SetTimer(nullptr, 0, kExitGraceMs, EndLoop);
}

bool ExitRequested() { return g_exit_requested; }

}  // namespace standin
