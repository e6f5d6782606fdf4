// /RegServer and /UnregServer of the stand-in.
#pragma once

namespace standin {

// Both return the process exit code. Registration is refused (non-zero, message on stderr)
// when "Word.Application" belongs to another class: the stand-in never shadows a real Word.
int RegisterServer();
int UnregisterServer();

}  // namespace standin
