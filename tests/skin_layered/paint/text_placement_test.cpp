// Placing a button's glyph and caption inside its client rectangle.
#include <gtest/gtest.h>

#include "skin_layered/paint/text/TextPlacement.h"

namespace skin_layered::test {
namespace {

using vcl::Point;
using vcl::Rect;
using vcl::TPoint;
using vcl::TRect;

struct TPlaced {
  TPoint glyph;
  TRect text;
};

TPlaced Place(TRect client, TPoint glyph, TPoint text, int layout, int align, int margin, int spacing,
              unsigned flags = 0) {
  TPlaced p;
  CalcTextRect(client, glyph, text, layout, align, margin, spacing, p.glyph, p.text, flags);
  return p;
}

TEST(CalcTextRect, GlyphAboveCentresThePairBothWays) {
  const TPlaced p = Place(Rect(0, 0, 100, 60), Point(16, 16), Point(40, 12), kGlyphTop, kAlignCenter, 0, 0);
  EXPECT_EQ(p.glyph, Point(42, 16));
  EXPECT_EQ(p.text, Rect(30, 32, 70, 44));
  // Below: the same gaps above and below the pair, the glyph under the caption.
  const TPlaced below = Place(Rect(0, 0, 100, 60), Point(16, 16), Point(40, 12), kGlyphBottom, kAlignCenter, 0, 4);
  EXPECT_EQ(below.text, Rect(30, 14, 70, 26));
  EXPECT_EQ(below.glyph, Point(42, 30));
}

TEST(CalcTextRect, AutomaticMarginAndSpacingShareTheRoomInThree) {
  const TPlaced p = Place(Rect(10, 20, 110, 50), Point(16, 16), Point(40, 10), kGlyphLeft, kAlignLeft, -1, -1);
  // (100 - 56) div 3 = 14 before the glyph and between glyph and caption.
  EXPECT_EQ(p.glyph, Point(10 + 14, 20 + 7));
  EXPECT_EQ(p.text, Rect(10 + 44, 20 + 10, 10 + 84, 20 + 20));
}

TEST(CalcTextRect, ALeftCaptionIsCutAtTheMarginInClientCoordinates) {
  // The client does not start at 0: the cut is still the margin before its right edge.
  const TPlaced p = Place(Rect(10, 0, 70, 30), Point(16, 16), Point(40, 10), kGlyphLeft, kAlignLeft, 4, 4);
  EXPECT_EQ(p.glyph.X, 14);
  EXPECT_EQ(p.text.Left, 34);
  EXPECT_EQ(p.text.Right, 70 - 4);
}

TEST(CalcTextRect, AlignmentsAndSides) {
  const TRect client = Rect(0, 0, 120, 30);
  // Glyph right of the caption, right-aligned: the glyph ends at the margin.
  const TPlaced right = Place(client, Point(16, 16), Point(40, 10), kGlyphRight, kAlignRight, 5, 3);
  EXPECT_EQ(right.glyph.X, 120 - 5 - 16);
  EXPECT_EQ(right.text.Right, right.glyph.X - 3);
  // Centred: the pair in the middle, the glyph after the caption.
  const TPlaced centred = Place(client, Point(16, 16), Point(40, 10), kGlyphRight, kAlignCenter, 5, 4);
  EXPECT_EQ(centred.text.Left, (120 - 40 - 4 - 16) / 2);
  EXPECT_EQ(centred.glyph.X, centred.text.Right + 4);
  // DT_RIGHT puts the glyph on the other side.
  const TPlaced swapped = Place(client, Point(16, 16), Point(40, 10), kGlyphLeft, kAlignLeft, 5, 3, 2);
  EXPECT_EQ(swapped.text.Left, 5);
  EXPECT_EQ(swapped.glyph.X, 5 + 40 + 3);
  // Left layout, centred: never closer to the edge than the margin.
  const TPlaced tight = Place(Rect(0, 0, 50, 20), Point(16, 16), Point(40, 10), kGlyphLeft, kAlignCenter, 6, 2);
  EXPECT_EQ(tight.glyph.X, 6);
  EXPECT_EQ(tight.text.Left, 6 + 2 + 16);
  // Without a caption or glyph there is no spacing.
  const TPlaced alone = Place(client, Point(16, 16), Point(0, 0), kGlyphLeft, kAlignRight, 5, 9);
  EXPECT_EQ(alone.text.Left, 120 - 5);
  EXPECT_EQ(alone.glyph.X, 120 - 5 - 16);
}

}  // namespace
}  // namespace skin_layered::test
