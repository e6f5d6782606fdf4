// Copy and Paste through the Windows clipboard: the stand-in's own format for rich content
// (text with its character formats) beside plain Unicode text, so other programs can paste
// what was copied and a paste of text another program copied also works.
#pragma once
#include <windows.h>

#include "story.h"

namespace standin {

HRESULT PutOnClipboard(const Fragment& fragment);
// False when the clipboard holds neither format (or cannot be opened).
bool ReadClipboard(Fragment* fragment);

}  // namespace standin
