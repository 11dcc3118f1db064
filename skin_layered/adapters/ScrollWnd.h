// TqvScrollWnd, the adapter of a window whose standard scroll bars are replaced by skinned
// ones, and TqvScrollBar, the state of one bar. The window keeps its WS_HSCROLL/WS_VSCROLL
// styles and its own SCROLLINFO; the adapter takes the bars out of the window's non-client
// layout, paints them from the skin's scroll sections ("SCROLLBTNLEFT" ... "SCROLLSLIDERV",
// the corner's "GRIPIMAGE") into the window DC, and plays the system bars' part with the
// mouse: hover, arrows and page clicks repeating while held, thumb dragging, each sending the
// window the WM_HSCROLL/WM_VSCROLL messages the system bars would. Edits, list boxes, views,
// grids, scroll boxes, MDI clients, popup-menu windows and system dialogs derive from it.
//
// Timers 0xFFF2 (hover), 0xFFFD (repeat delay) and 0xFFFE (repeat) are the adapter's on the
// windows it adapts. One bar of one window is hot or pressed at a time (GUI thread only).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/adapters/ScrollGeometry.h"
#include "skin_layered/adapters/ScrollState.h"

namespace skin_layered {

class TqvScrollWnd;
class TsScrollWndData;

inline constexpr UINT_PTR kHoverTimer = 0xFFF2;        // 20 ms
inline constexpr UINT_PTR kRepeatDelayTimer = 0xFFFD;  // 300 ms
inline constexpr UINT_PTR kRepeatTimer = 0xFFFE;       // 55 ms
inline constexpr UINT kHoverInterval = 20;
inline constexpr UINT kRepeatDelay = 300;
inline constexpr UINT kRepeatInterval = 55;

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

class TqvScrollWnd : public TqvMainWnd {
  VCL_CLASS(TqvScrollWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;
  ~TqvScrollWnd() override;

  void CreateSkinData(vcl::TControl* Owner) override;
  void WndProc(vcl::TMessage& Message) override;

  // The skin data's scroll options; nil when the skin data given is plain.
  TsScrollWndData* ScrollWndData() const;
  TqvScrollBar* Bar(int Kind) const { return Kind == kHorzBar ? HorzBar.get() : Kind == kVertBar ? VertBar.get() : nullptr; }

  bool FrameCalculated = false;  // a WM_NCCALCSIZE went through the adapter
  std::unique_ptr<TqvScrollBar> HorzBar;
  std::unique_ptr<TqvScrollBar> VertBar;
  bool Dragging = false;         // the thumb of one bar is dragged
  bool LeftScrollBar = false;    // WS_EX_LEFTSCROLLBAR: the vertical bar on the left
  int BorderLeft = 0;            // the non-client frame, measured in WM_NCCALCSIZE
  int BorderRight = 0;
  int BorderTop = 0;
  int BorderBottom = 0;
  bool InNcCalculation = false;  // the adapter calls WM_NCCALCSIZE below with the bars' styles off

 protected:
  void Install() override;
  void Uninstall(bool UseSetWindowPos) override;
  // The drop-down list of a combo box keeps the mouse after a scroll, and its button-up
  // goes no further.
  virtual bool KeepsCaptureAfterScroll() const { return false; }
  virtual bool SwallowsButtonUpAfterScroll() const { return false; }
  // Where the window's image starts in the background it answers with (a form's frame,
  // the MDI client's place in its form).
  virtual vcl::TPoint BackgroundOffset() const;
  // The window's frame strips (the widths measured in WM_NCCALCSIZE) copied from the skin
  // data's cache into DC (window coordinates).
  void CopyFrameFromCache(HDC DC);

 private:
  friend int PaintScrollBars(TqvScrollWnd* Adapter, HWND Handle, int HotPart, HDC DC);
  friend void UpdateScrolls(TqvScrollWnd* Adapter, bool Repaint);
  friend struct TqvScrollPainter;
  friend struct TqvScrollTracker;

  bool SkinnedMessage(vcl::TMessage& Message);
  // The skin command while the skin is away; true when answered.
  bool OnUnskinnedCommand(vcl::TMessage& Message);
  void OnSkinCommand(vcl::TMessage& Message);
  bool OnSkinCommandMessage(vcl::TMessage& Message);
  bool OnOtherNcButton(vcl::TMessage& Message);
  bool OnFrameCalc(vcl::TMessage& Message);
  bool OnStyleChanged(vcl::TMessage& Message);
  bool OnTimer(vcl::TMessage& Message);
  void OnNcCalcSize(vcl::TMessage& Message);
  void OnNcPaint(vcl::TMessage& Message);
  void OnNcHitTest(vcl::TMessage& Message);
  // After a message went below: bars whose SCROLLINFO changed are painted again.
  void AfterPassedOn(const vcl::TMessage& Message);
  void FreeBars();
};

// Attaching and detaching a scroll adapter (done by creation and UninstallAdapter); the
// bars are made with it and freed when it goes.
inline void InstallScrollAdapter(TqvScrollWnd* Adapter) { InstallAdapter(Adapter); }
template <class T>
void UninstallScrollAdapter(TqvAdapterPtr<T>& Adapter, bool FreeAdapter, bool UseSetWindowPos) {
  UninstallAdapter(Adapter, FreeAdapter, UseSetWindowPos);
}

// The scroll adapter of a window, nil when the window has none or another kind.
TqvScrollWnd* GetScrollAdapter(HWND Handle);
// The horizontal (0) or vertical (1) bar of the window's scroll adapter; nil for other
// values or without one.
TqvScrollBar* GetScrollBarObject(HWND Handle, int Bar);
// Sets the smallest thumb of the horizontal (0), vertical (1) or both (3) bars (the low 16
// bits of Value); 0 without a scroll adapter, else 1.
int SetMinThumb(HWND Handle, int Bar, int Value);

// A bar's arrow-button length (Thickness false) or thickness: the skin data's scroll option,
// the manager's, the bar's own, the skin's scroll width, the system's; 0 for nil.
int GetScrollMetric(const TqvScrollBar* Bar, bool Thickness);
// The screen rectangles of the adapter's bars.
void GetHScrollRect(TqvScrollWnd* Adapter, HWND Handle, vcl::TRect& R);
void GetVScrollRect(TqvScrollWnd* Adapter, HWND Handle, vcl::TRect& R);
// The bar can be used: GetScrollBarInfo does not call it unavailable, not both arrows are
// disabled, and a bar hidden while inactive has an active range. Without GetScrollBarInfo:
// the window style has the bar.
bool ScrollBarEnabled(const TqvScrollBar* Bar);
// The corner between the bars shows the size grip: the window is top-level, or its corner
// lies on its top-level parent's client corner.
bool CornerHasGrip(TqvScrollWnd* Adapter);

// Paints both bars and the corner into DC (0: the window's own); answers 0.
int PaintScrollBars(TqvScrollWnd* Adapter, HWND Handle, int HotPart, HDC DC);
// Reads both bars' SCROLLINFO again and with Repaint paints them (not while painting is
// held for an animation).
void UpdateScrolls(TqvScrollWnd* Adapter, bool Repaint);
// Makes or frees a control's scroll adapter by whether its skin data is skinned.
void RefreshScrolls(TsCommonData* SkinData, TqvAdapterPtr<TqvScrollWnd>& Adapter);
// The border image of the control's section drawn into its cache, its key-coloured pixels
// showing the parent's background.
void PaintAdapterBorder(TsCommonData* SkinData, TqvMainWnd* Adapter);

// Sends the window a scroll message as its bar would: scmBeforeScroll first (an answer of 1
// makes the position travel in LParam and leaves SCROLLINFO alone; otherwise a thumb
// position is written into SCROLLINFO first), then Msg with MAKEWPARAM(Code, Pos), then
// scmAfterScroll, whose answer is the result.
LRESULT SendScrollMsg(HWND Handle, UINT Msg, int Code, int Pos);

// The adapter's share of the mouse messages (ScrollTracking.cpp), for the adapters derived
// from it too; true when the message was answered and goes no further.
struct TqvScrollTracker {
  static bool NcMouseMove(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool NcButtonDown(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool Timer(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool MouseMove(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static bool ButtonUp(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  static void CaptureChanged(TqvScrollWnd& Wnd, vcl::TMessage& Message);
  // The window goes or its adapter leaves: nothing of the shared state stays with it.
  static void Forget(TqvScrollWnd& Wnd);
  // The part of the bar under a screen point (margins applied).
  static int HitPart(TqvScrollWnd& Wnd, TqvScrollBar& Bar, POINT Screen);
  // The system drew its own bars over the window's while its thumb is dragged: the dragged
  // bar goes over them again, its thumb under the cursor.
  static void RepaintDrag(TqvScrollWnd& Wnd);

 private:
  static void StartRepeat(TqvScrollWnd& Wnd, TqvScrollBar& Bar, int Part);
  static void StartDrag(TqvScrollWnd& Wnd, TqvScrollBar& Bar, POINT Screen);
  static void TrackThumb(TqvScrollWnd& Wnd, POINT Screen);
  // The cursor moved while a part is held (screen point).
  static void FollowCursor(TqvScrollWnd& Wnd, POINT Screen);
  // The press ends: the last scroll messages, the capture given back (Release), the bar
  // painted without it.
  static void EndTracking(TqvScrollWnd& Wnd, bool Release);
  static void LeaveHotBar();
};

// The painting of the bars (ScrollPaint.cpp).
struct TqvScrollPainter {
  // One bar at R (window coordinates) into DC; ThumbStart >= 0 places the thumb there
  // (along the bar, window coordinates) for a drag.
  static void PaintBar(TqvScrollWnd& Wnd, TqvScrollBar& Bar, const vcl::TRect& R, int HotPart, int PressedPart,
                       HDC DC, int ThumbStart, bool ForDrag);
  static void PaintCorner(TqvScrollWnd& Wnd, const vcl::TRect& R, HDC DC);
};

}  // namespace skin_layered
