// The local server: offers the Application class to COM and runs until the process should end.
#pragma once

namespace standin {

// Registers the class object (single use: every activation starts a process of its own, as
// Word started by automation does) and pumps messages. Returns the process exit code.
int RunServer();

}  // namespace standin
