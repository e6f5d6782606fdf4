// When the server program ends: after its last object is gone, when no client came for it,
// or at once when an owner window has gone.
#pragma once

namespace halvane {

void ObjectCreated();
// Ends the message loop when no object and no server lock remains.
void ObjectDestroyed();
// Ends the loop if nothing was created or locked since the program started.
void QuitIfUnused();
// Ends the program on the spot: nothing of any object or form runs any more.
[[noreturn]] void EndServerNow();

}  // namespace halvane
