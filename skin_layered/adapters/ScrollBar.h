// TqvScrollBar, the state of one skinned scroll bar of a scroll adapter's window, and what
// is asked of a bar: its metrics, whether it can be used, the scroll messages it sends.
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/rtl/Object.h"

namespace skin_layered {

class TqvScrollWnd;

// Bits of a bar's flags.
inline constexpr std::uint16_t kFirstArrowDisabled = 0x1;   // left or up
inline constexpr std::uint16_t kSecondArrowDisabled = 0x2;  // right or down
inline constexpr std::uint16_t kHideInactiveBar = 0x4;      // no bar while the range is inactive
inline constexpr std::uint16_t kStyleHasBar = 0x8;          // WS_HSCROLL / WS_VSCROLL set

inline constexpr int kHorzBar = SB_HORZ;
inline constexpr int kVertBar = SB_VERT;
inline constexpr int kDefaultMinThumb = 16;

class TqvScrollBar : public vcl::TObject {
  VCL_CLASS(TqvScrollBar, vcl::TObject)
 public:
  TqvScrollBar(TqvScrollWnd* AOwner, int AKind) : Kind(AKind), Owner(AOwner) {}

  std::uint16_t Flags = 0;
  int ButtonSize = -1;  // -1: from the skin data, the manager or the system
  int Thickness = -1;
  int MarginBefore = 0;  // cut from the bar's ends for hit testing and hover painting
  int MarginAfter = 0;
  bool UseMarginBefore = false;
  bool UseMarginAfter = false;
  int Kind = kHorzBar;
  int MinThumb = kDefaultMinThumb;
  TqvScrollWnd* Owner = nullptr;
  bool Visible = false;  // room for the bar is kept in the non-client area
  SCROLLINFO Info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};

  bool Vertical() const { return Kind == kVertBar; }
  // Reads the window's SCROLLINFO of this bar.
  void ReadInfo();
};

// A bar's arrow-button length (Thickness false) or thickness: the skin data's scroll option,
// the manager's, the bar's own, the skin's scroll width, the system's; 0 for nil.
int GetScrollMetric(const TqvScrollBar* Bar, bool Thickness);

// The bar can be used: GetScrollBarInfo does not call it unavailable, not both arrows are
// disabled, and a bar hidden while inactive has an active range. Without GetScrollBarInfo:
// the window style has the bar.
bool ScrollBarEnabled(const TqvScrollBar* Bar);

// Sends the window a scroll message as its bar would: scmBeforeScroll first (an answer of 1
// makes the position travel in LParam and leaves SCROLLINFO alone; otherwise a thumb
// position is written into SCROLLINFO first), then Msg with MAKEWPARAM(Code, Pos), then
// scmAfterScroll, whose answer is the result.
LRESULT SendScrollMsg(HWND Handle, UINT Msg, int Code, int Pos);

}  // namespace skin_layered
