// Twips to pixels as the form lays itself out and sizes the text-frame block copy.
#include <gtest/gtest.h>

#include "twips.h"

namespace halvane {
namespace {

TEST(HalvaneTwipsTest, RoundsToNearestWithHalvesToEven) {
  struct Case { int twips; double tpp; int pixels; };
  const Case cases[] = {
      {5520, 15, 368}, {2205, 15, 147},  // the form's client area at 96 dpi
      {3225, 15, 215}, {1005, 15, 67},   // the text-frame surface at 96 dpi
      {3225, 12, 269}, {1005, 12, 84},   // 268.75 and 83.75 at 120 dpi
      {30, 12, 2},     {42, 12, 4},      // 2.5 and 3.5: halves go to the even neighbour
      {1515, 15, 101}, {0, 12, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.tpp), c.pixels) << c.twips << " / " << c.tpp;
  }
}

TEST(HalvaneTwipsTest, RectangleKeepsItsWidthWhereverItStarts) {
  const RECT r = TwipsRect(1920, 270, 3225, 1005, {12, 12});
  EXPECT_EQ(r.left, 160);
  EXPECT_EQ(r.top, 22);  // 22.5 rounds to even
  EXPECT_EQ(r.right - r.left, 269);
  EXPECT_EQ(r.bottom - r.top, 84);
}

}  // namespace
}  // namespace halvane
