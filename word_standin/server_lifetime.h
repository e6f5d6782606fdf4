// When the server process ends: after Application.Quit, or when the last object handed to a
// client is released while no user has the application (not visible).
#pragma once

namespace standin {

void ObjectCreated();
void ObjectDestroyed();

// Visible instances stay after their last client goes, as a user now works with them.
void SetUserControl(bool user_control);

// Ends the message loop once the current call has returned.
void RequestExit();

// True once the process is on its way out; like a Word that has quit, it takes no more calls.
bool ExitRequested();

}  // namespace standin
