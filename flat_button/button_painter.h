// Layout and painting of the flat button: caption placement, sizing to the caption, the resize
// handler and the three looks (normal, pressed, disabled).
#pragma once
#include <windows.h>

#include <string>

#include "button_state.h"
#include "drawing_surface.h"

namespace pelorin {

// The caption in the ANSI code page, as measured and drawn (n = its lstrlenA bytes).
std::string AnsiCaption(const std::wstring& caption);

HRESULT CenterCaption(ButtonState& state, DrawingSurface& surface);
HRESULT FitToCaption(ButtonState& state, DrawingSurface& surface);
HRESULT HandleResize(ButtonState& state, DrawingSurface& surface);
HRESULT DrawButton(ButtonState& state, DrawingSurface& surface);

}  // namespace pelorin
