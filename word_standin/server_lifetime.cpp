#include "server_lifetime.h"

#include <windows.h>

namespace standin {
namespace {
LONG g_objects;
bool g_user_control;
bool g_exit_requested;
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
  // Posted, so the reply to the call in progress still goes out before the loop ends.
  PostQuitMessage(0);
}

}  // namespace standin
