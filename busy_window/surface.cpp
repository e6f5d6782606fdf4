#include "surface.h"

namespace halvane {

Surface::~Surface() {
  if (dc_) {
    SelectObject(dc_, old_bitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

bool Surface::Create(int width, int height, COLORREF fill) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (!dc_ || !bitmap_) return false;
  old_bitmap_ = SelectObject(dc_, bitmap_);
  width_ = width;
  height_ = height;
  RECT all = {0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
  return true;
}

}  // namespace halvane
