// The arithmetic of skinned scroll bars: thumb length and place, the part under a point, and
// the position a dragged thumb stands for (never past the range, whatever nMin and nPage).
#include <gtest/gtest.h>

#include "skin_layered/adapters/ScrollGeometry.h"

namespace skin_layered {
namespace {

SCROLLINFO Info(int Min, int Max, UINT Page, int Pos) {
  return SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, Min, Max, Page, Pos, 0};
}

TEST(ScrollGeometry, MulDivRoundsToTheNearestAndSurvivesAZeroDivisor) {
  EXPECT_EQ(MulDivSafe(10, 3, 4), 8);   // 7.5 up
  EXPECT_EQ(MulDivSafe(-10, 3, 4), -8);  // away from zero
  EXPECT_EQ(MulDivSafe(5, 7, 0), 0);
  EXPECT_EQ(MulDivSafe(2000000000, 2000000000, 1), 2147483647);
}

TEST(ScrollGeometry, TheThumbTakesThePagesShareOfTheRoomAndNPosPlacesIt) {
  // 200 long, buttons 20: room 160; range 100, page 25: thumb 40.
  TqvThumb t = ThumbGeometry(0, 200, 20, 16, Info(0, 99, 25, 0));
  EXPECT_EQ(t.Length, 40);
  EXPECT_EQ(t.Start, 20);
  t = ThumbGeometry(0, 200, 20, 16, Info(0, 99, 25, 75));  // the last position: at the end
  EXPECT_EQ(t.Start + t.Length, 180);
  t = ThumbGeometry(100, 200, 20, 16, Info(50, 149, 25, 50));  // nMin not 0, bar not at 0
  EXPECT_EQ(t.Start, 120);
  EXPECT_EQ(t.Length, 40);
  // Positions past the range stay inside the room.
  t = ThumbGeometry(0, 200, 20, 16, Info(0, 99, 25, 1000));
  EXPECT_EQ(t.Start + t.Length, 180);
}

TEST(ScrollGeometry, ShortThumbsAndRangesWithoutRoomAreStillDefined) {
  EXPECT_EQ(ThumbGeometry(0, 200, 20, 16, Info(0, 9999, 1, 0)).Length, 16);  // the minimum thumb
  EXPECT_EQ(ThumbGeometry(0, 200, 20, 16, Info(0, 99, 0, 0)).Length, 20);    // no page: a button
  EXPECT_EQ(ThumbGeometry(0, 200, 0, 0, Info(0, 99, 0, 0)).Length, 19);      // no page, no buttons
  // An empty range with a page: the thumb fills the room, placed at its start.
  const TqvThumb empty = ThumbGeometry(0, 200, 20, 16, Info(10, 5, 10, 7));
  EXPECT_EQ(empty.Length, 160);
  EXPECT_EQ(empty.Start, 20);
  // Page as large as the range: one position only, no division by zero.
  const TqvThumb whole = ThumbGeometry(0, 200, 20, 16, Info(0, 0, 1, 0));
  EXPECT_EQ(whole.Start, 20);
}

TEST(ScrollGeometry, HitPartsAlongAVerticalBar) {
  const SCROLLINFO info = Info(0, 99, 25, 0);  // thumb 20..60 of a bar 0..200 with buttons 20
  auto hit = [&](int y, int x = 5) { return ScrollHitPart(0, 200, 0, 17, y, x, 20, 16, info); };
  EXPECT_EQ(hit(0), kPartFirstArrow);
  EXPECT_EQ(hit(19), kPartFirstArrow);
  EXPECT_EQ(hit(20), kPartThumb);
  EXPECT_EQ(hit(59), kPartThumb);
  EXPECT_EQ(hit(60), kPartPageAfter);
  EXPECT_EQ(hit(179), kPartPageAfter);
  EXPECT_EQ(hit(180), kPartSecondArrow);
  EXPECT_EQ(hit(199), kPartSecondArrow);
  EXPECT_EQ(hit(200), kPartNone);
  EXPECT_EQ(hit(100, 17), kPartNone);  // beside the bar
  const SCROLLINFO lower = Info(0, 99, 25, 75);
  EXPECT_EQ(ScrollHitPart(0, 200, 0, 17, 30, 5, 20, 16, lower), kPartPageBefore);
  // A bar of two buttons or less: the halves are the arrows, nothing else.
  EXPECT_EQ(ScrollHitPart(0, 30, 0, 17, 14, 5, 20, 16, info), kPartFirstArrow);
  EXPECT_EQ(ScrollHitPart(0, 30, 0, 17, 15, 5, 20, 16, info), kPartSecondArrow);
}

TEST(ScrollGeometry, ADraggedThumbNeverStandsForAPositionPastTheRange) {
  // nMin 50, nMax 249, page 20: positions 50..230; room 160 with a thumb of 16.
  const SCROLLINFO info = Info(50, 249, 20, 50);
  EXPECT_EQ(ThumbDragPosition(0, 160, 16, info), 50);
  EXPECT_EQ(ThumbDragPosition(144, 160, 16, info), 230);
  EXPECT_EQ(ThumbDragPosition(500, 160, 16, info), 230);
  EXPECT_EQ(ThumbDragPosition(-40, 160, 16, info), 50);
  EXPECT_EQ(ThumbDragPosition(72, 160, 16, info), 140);
  // Without a page the last position is nMax.
  EXPECT_EQ(ThumbDragPosition(144, 160, 16, Info(-10, 10, 0, 0)), 10);
  // A thumb that fills the room, and a page larger than the range: nMin.
  EXPECT_EQ(ThumbDragPosition(0, 160, 160, info), 50);
  EXPECT_EQ(ThumbDragPosition(100, 160, 16, Info(5, 10, 50, 5)), 5);
}

}  // namespace
}  // namespace skin_layered
