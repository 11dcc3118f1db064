// TqvSBWnd, the adapter of a stand-alone scroll-bar control (the library's TScrollBar): the
// whole window painted from the skin's scroll sections (two arrow buttons, the track split at
// the thumb, the thumb), each part with a state of its own. The control's own procedure still
// scrolls; the adapter keeps a copy of the scroll parameters, follows the mouse over the
// parts, moves Position while the thumb is dragged, and redraws the control after every
// change without losing redraw locks that other code set.
#pragma once

#include "skin_layered/adapters/MainWnd.h"

namespace vcl {
class TScrollBar;
}

namespace skin_layered {

// The parts of the control and their states.
inline constexpr int kSBFirstButton = 0, kSBSecondButton = 1, kSBTrackBefore = 2, kSBTrackAfter = 3, kSBThumb = 4;
inline constexpr int kSBPartCount = 5;
// PressedPart values beyond the parts.
inline constexpr int kSBThumbDragged = 5, kSBThumbReleased = 4, kSBReleased = 8;

// A bar's parts along its axis (Length long, buttons Button long).
struct TqvSBLayout {
  int Button = 0;
  int ThumbStart = 0;
  int ThumbLength = 0;
  int ThumbCentre = 0;
};
// Thumb length: 16 with Page 0, else Page's share of the track, never below 16.
int SBThumbLength(int TrackLength, int Min, int Max, int Page);
TqvSBLayout SBLayout(int Length, int Button, int Min, int Max, int Page, int TrackPos);
// The scroll position under a point Along the bar (the thumb's centre there); Fallback when
// the thumb leaves no room to move.
int SBPositionAt(int Along, const TqvSBLayout& Layout, int Length, int Min, int Max, int Page, int Fallback);

class TqvSBWnd : public TqvMainWnd {
  VCL_CLASS(TqvSBWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // Sets a part's state; Exclusive resets the others as a new active part would.
  void SetPartState(int Part, int State, bool Exclusive);
  int PartState(int Part) const { return states_[Part]; }
  void Repaint();
  // A press and a release at a client point (what the mouse messages do before the
  // control's own procedure runs).
  void MouseDown(POINT P);
  void MouseUp(POINT P);
  // The mouse at a client point: hot parts, or the thumb dragged.
  void MouseAt(POINT P);
  // The parts' rectangles in client coordinates.
  vcl::TRect PartRect(int Part) const;
  bool Vertical() const;

  vcl::TScrollBar* ScrollBar = nullptr;
  int Min = 0, Max = 0, Page = 0, Position = 0, TrackPos = 0;
  int DragOffset = 0;
  int PressedPart = kSBReleased;
  int RedrawLocks = 0;
  bool IgnoreRedraw = false;

 private:
  int Length() const;
  int ButtonSize() const;
  TqvSBLayout Layout() const;
  int PartAt(POINT P) const;
  int PositionAt(POINT P) const;
  // The position the grabbed thumb stands for with the mouse at P.
  int DraggedPosition(POINT P) const;
  // The control's own procedure with redraw switched off around it.
  void CallQuietly(vcl::TMessage& Message);
  // Invalidated and redrawn at once, redraw locks lifted for it and set again after.
  void ForceRedraw();
  bool ShownControl() const;
  // The skinned bar's messages; true when answered (they go no further).
  bool SkinnedMessage(vcl::TMessage& Message);
  bool OnSetRedraw(const vcl::TMessage& Message);
  bool OnPaint(vcl::TMessage& Message);
  bool OnNcHitTest(vcl::TMessage& Message);
  bool OnButtonDown(vcl::TMessage& Message);
  bool OnButtonUp(vcl::TMessage& Message);
  bool OnDoubleClick(vcl::TMessage& Message);
  bool OnMouseEnter();
  bool OnMouseLeave();
  bool OnChanged(vcl::TMessage& Message);
  bool OnSystemDrawing();
  bool OnPrint(const vcl::TMessage& Message);
  bool OnEnabledChanged(vcl::TMessage& Message);
  bool OnSetScrollInfo(vcl::TMessage& Message);
  // The cursor's place in client coordinates.
  POINT CursorInClient() const;
  // Where the mouse was for the message being handled, in client coordinates.
  POINT MessagePointInClient() const;
  // The range into the control in one validated change.
  void PushRange(int NewMin, int NewMax, int NewPage);
  void Paint(HDC GivenDC);
  bool OnSkinCommand(vcl::TMessage& Message);

  int states_[kSBPartCount] = {};
};

}  // namespace skin_layered
