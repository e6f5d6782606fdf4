#include "twips.h"

#include <cfenv>
#include <cmath>

namespace halvane {

TwipsPerPixel ScreenTwipsPerPixel() {
  HDC screen = GetDC(nullptr);
  int dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
  int dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi_x <= 0) dpi_x = 96;
  if (dpi_y <= 0) dpi_y = 96;
  return {1440.0 / dpi_x, 1440.0 / dpi_y};
}

int TwipsToPixels(int twips, double twips_per_pixel) {
  // The default rounding mode rounds a half to the even neighbour.
  return static_cast<int>(std::nearbyint(twips / twips_per_pixel));
}

RECT TwipsRect(int left, int top, int width, int height, const TwipsPerPixel& tpp) {
  int x = TwipsToPixels(left, tpp.x);
  int y = TwipsToPixels(top, tpp.y);
  return {x, y, x + TwipsToPixels(width, tpp.x), y + TwipsToPixels(height, tpp.y)};
}

}  // namespace halvane
