// The form is laid out in twips (1/1440 inch) and drawn in screen pixels.
#pragma once
#include <windows.h>

namespace halvane {

struct TwipsPerPixel {
  double x;
  double y;
};

// Of the screen, from its logical dots per inch (15 at 96 dpi, 12 at 120 dpi).
TwipsPerPixel ScreenTwipsPerPixel();

// Rounded to the nearest pixel, a half to the even neighbour.
int TwipsToPixels(int twips, double twips_per_pixel);

// A rectangle given in twips (left, top, width, height), in pixels.
RECT TwipsRect(int left, int top, int width, int height, const TwipsPerPixel& tpp);

}  // namespace halvane
