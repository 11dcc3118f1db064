// The arithmetic of a skinned scroll bar, apart from any window: the thumb's length and place
// in a track, the part of the bar under a point and the position a dragged thumb stands for.
// Lengths and places run along the bar: x for a horizontal bar, y for a vertical one.
#pragma once

#include <windows.h>

#include "classlib/rtl/Types.h"

namespace skin_layered {

// The parts of a bar, equal to the scroll codes they send.
inline constexpr int kPartNone = -1;
inline constexpr int kPartFirstArrow = SB_LINEUP;    // left or up
inline constexpr int kPartSecondArrow = SB_LINEDOWN;  // right or down
inline constexpr int kPartPageBefore = SB_PAGEUP;    // the track before the thumb
inline constexpr int kPartPageAfter = SB_PAGEDOWN;   // the track after the thumb
inline constexpr int kPartThumb = SB_THUMBTRACK;

// A * B / C rounded to the nearest (halves away from zero) and kept within int; 0 for C 0.
int MulDivSafe(int A, int B, int C);

// The range can be scrolled: nMax >= nPage, nMax > nMin and nMax not 0.
bool ScrollRangeActive(const SCROLLINFO& Info);

struct TqvThumb {
  int Length = 0;
  int Start = 0;  // along the bar, in the bar's coordinates
};

// The thumb of a bar from BarStart, BarLength long, with arrow buttons Button long:
//  - its length: with nPage 0 the larger of Button and MinThumb; otherwise nPage's share of
//    the room between the buttons (all of it when the range is empty); below 19 without
//    buttons it becomes 19, else below MinThumb it becomes MinThumb;
//  - its place: nPos's share of the room the thumb leaves, within that room.
TqvThumb ThumbGeometry(int BarStart, int BarLength, int Button, int MinThumb, const SCROLLINFO& Info);

// The part of a bar under a point (Along the bar, Across it). -1 outside the bar's band
// (CrossStart..CrossEnd), and where the thumb does not fit before the second button. The
// buttons are half the bar each when the bar is no longer than two.
int ScrollHitPart(int BarStart, int BarLength, int CrossStart, int CrossEnd, int Along, int Across, int Button,
                  int MinThumb, const SCROLLINFO& Info);

// The position a thumb dragged Offset pixels into the room between the buttons stands for:
// nMin + Offset's share of (nMax - nMin - max(nPage, 1) + 1) in RoomLength - ThumbLength,
// within nMin..nMax - max(nPage, 1) + 1; nMin when the thumb fills the room.
int ThumbDragPosition(int Offset, int RoomLength, int ThumbLength, const SCROLLINFO& Info);

}  // namespace skin_layered
