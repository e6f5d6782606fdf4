// Pictures embedded as RCDATA resources (GIF or 24-bit bitmap files), decoded by the platform.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "com_ptr.h"

namespace halvane {

HRESULT LoadPictureResource(int id, com::ComPtr<IPicture>* out);

// The picture's own size in pixels.
HRESULT PicturePixelSize(IPicture* picture, SIZE* size);

// Draws `picture` at its own pixel size with its top left corner at (x, y); transparent
// pixels leave the target as it was.
HRESULT DrawPicture(IPicture* picture, HDC target, int x, int y);

}  // namespace halvane
