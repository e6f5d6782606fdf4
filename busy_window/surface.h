// A persistent drawing surface: a memory DC with its own bitmap, kept for the life of the form.
#pragma once
#include <windows.h>

namespace halvane {

class Surface {
 public:
  Surface() = default;
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // A width x height surface compatible with the screen, filled with `fill`.
  bool Create(int width, int height, COLORREF fill);

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace halvane
