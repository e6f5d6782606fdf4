// When the server program ends: after its last object is gone, when no client came for it,
// when the client that started it is gone, or at once when an owner window has gone.
#pragma once
#include <windows.h>

namespace halvane {

void ObjectCreated();
// Ends the message loop when no object and no server lock remains.
void ObjectDestroyed();
// Ends the loop if nothing was created or locked since the program started.
void QuitIfUnused();
// The process that started this one, opened for waiting, or nullptr. When COM starts the
// server from the activating client's process (as Wine does), that is the client, and its end
// must end the server: nothing else releases an object whose client was killed.
HANDLE OpenStartingProcess();
// Ends the program on the spot: nothing of any object or form runs any more.
[[noreturn]] void EndServerNow();

}  // namespace halvane
