#include "button_painter.h"

#include <cmath>

#include "hresult.h"

namespace pelorin {
namespace {

constexpr OLE_COLOR kEmbossLight = 0x80000014;   // COLOR_BTNHIGHLIGHT
constexpr OLE_COLOR kEmbossShadow = 0x80000010;  // COLOR_BTNSHADOW

struct Extent {
  LONG x;
  LONG y;
};

Extent Measure(const std::string& text, DrawingSurface& surface) {
  SIZE size{};
  GetTextExtentPoint32A(surface.Dc(), text.c_str(), lstrlenA(text.c_str()), &size);
  return {size.cx, size.cy};
}

void DrawCaption(const std::string& text, DrawingSurface& surface, LONG x, LONG y) {
  TextOutA(surface.Dc(), x, y, text.c_str(), lstrlenA(text.c_str()));
}

void DrawBorder(const ButtonState& state, DrawingSurface& surface) {
  HDC dc = surface.Dc();
  HPEN pen = CreatePen(state.border_style, state.border_width, state.border_color);
  HGDIOBJ old = SelectObject(dc, pen);
  const RECT& r = state.button_rect;
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// Sets InPaint back on every way out, so a failed drawing does not freeze the button.
class PaintGuard {
 public:
  explicit PaintGuard(ButtonState& state) : state_(state) { state_.in_paint = true; }
  ~PaintGuard() { state_.in_paint = false; }
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;

 private:
  ButtonState& state_;
};

}  // namespace

std::string AnsiCaption(const std::wstring& caption) {
  if (caption.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, caption.data(), static_cast<int>(caption.size()), nullptr,
                              0, nullptr, nullptr);
  std::string text(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, caption.data(), static_cast<int>(caption.size()), text.data(), n,
                      nullptr, nullptr);
  return text;
}

HRESULT CenterCaption(ButtonState& state, DrawingSurface& surface) {
  Extent size = Measure(AnsiCaption(state.caption), surface);
  state.caption_pos.x = (state.button_rect.right - size.x) / 2;
  state.caption_pos.y = (state.button_rect.bottom - size.y) / 2;
  return S_OK;
}

HRESULT FitToCaption(ButtonState& state, DrawingSurface& surface) {
  Extent size = Measure(AnsiCaption(state.caption), surface);
  double width = surface.TwipsPerPixelX() * size.x + state.margin_width;
  RETURN_IF_FAILED(surface.SetWidth(static_cast<float>(width)));
  double height = surface.TwipsPerPixelY() * size.y + state.margin_height;
  return surface.SetHeight(static_cast<float>(height));
}

HRESULT HandleResize(ButtonState& state, DrawingSurface& surface) {
  state.button_rect.left = 0;
  state.button_rect.top = 0;
  state.button_rect.bottom = std::lrint(surface.Height()) / std::lrint(surface.TwipsPerPixelY());
  state.button_rect.right = std::lrint(surface.Width()) / std::lrint(surface.TwipsPerPixelX());
  RETURN_IF_FAILED(CenterCaption(state, surface));
  return DrawButton(state, surface);
}

HRESULT DrawButton(ButtonState& state, DrawingSurface& surface) {
  if (state.in_paint) return S_OK;
  PaintGuard guard(state);
  RETURN_IF_FAILED(surface.Clear());
  const std::string text = AnsiCaption(state.caption);
  const POINT& at = state.caption_pos;
  if (state.enabled && state.is_down) {
    RETURN_IF_FAILED(surface.SetForeColor(state.down_text_color));
    RETURN_IF_FAILED(surface.SetBackColor(state.down_back_color));
    DrawCaption(text, surface, at.x + 1, at.y + 1);
    DrawBorder(state, surface);
  } else if (state.enabled) {
    RETURN_IF_FAILED(surface.SetForeColor(state.text_color));
    RETURN_IF_FAILED(surface.SetBackColor(state.back_color));
    DrawBorder(state, surface);
    DrawCaption(text, surface, at.x, at.y);
  } else {
    RETURN_IF_FAILED(surface.SetForeColor(kEmbossLight));
    DrawCaption(text, surface, at.x + 1, at.y + 1);
    RETURN_IF_FAILED(surface.SetForeColor(kEmbossShadow));
    DrawCaption(text, surface, at.x, at.y);
  }
  return S_OK;
}

}  // namespace pelorin
