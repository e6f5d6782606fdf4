// The fields of one flat button: its stored properties and its drawing and pressed state.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <string>

namespace pelorin {

struct ButtonState {
  std::wstring caption;
  VARIANT_BOOL enabled = VARIANT_FALSE;  // any non-zero value counts as True
  OLE_COLOR text_color = 0;
  OLE_COLOR down_text_color = 0;
  OLE_COLOR back_color = 0;
  OLE_COLOR down_back_color = 0;
  LONG border_style = 0;  // a pen style, handed to GDI unchecked
  SHORT border_width = 0;
  OLE_COLOR border_color = 0;
  VARIANT_BOOL auto_redraw = VARIANT_FALSE;
  VARIANT_BOOL auto_size = VARIANT_FALSE;
  SHORT margin_width = 0;   // twips, both sides together
  SHORT margin_height = 0;  // twips, both sides together

  bool is_down = false;
  bool in_paint = false;
  RECT button_rect{};  // the face in pixels
  POINT caption_pos{};  // top-left corner of the caption in pixels
};

}  // namespace pelorin
