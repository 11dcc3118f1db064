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
#include "skin_layered/adapters/ScrollTracking.h"

namespace skin_layered {

class TqvScrollWnd;
class TsScrollWndData;

class TqvScrollWnd : public TqvMainWnd, public TqvScrollTrackHost {
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
  int BarPaints = 0;             // times the bars were painted into the window (what keeping them costs)

  // The bars are painted again once the messages queued before are handled: a run of changes
  // (a list filled item by item, the system drawing its own bar at each) costs one painting.
  void RepaintScrollsLater();
  // The bars read and painted again now, a dragged one with its thumb where the mouse holds it;
  // not inside the adapter's own scroll message (its end paints them).
  void RepaintScrollsNow();

 protected:
  void Install() override;
  void Uninstall(bool UseSetWindowPos) override;
  // The drop-down list of a combo box keeps the mouse after a scroll, and its button-up
  // goes no further.
  bool KeepsCaptureAfterScroll() const override { return false; }
  bool SwallowsButtonUpAfterScroll() const override { return false; }
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

  // What the mouse interaction of the bars asks of the adapter.
  HWND TrackHandle() const override { return CtrlHandle; }
  TqvScrollBar* TrackBar(int Kind) const override { return Bar(Kind); }
  vcl::TRect BarScreenRect(const TqvScrollBar& Bar) override;
  void RepaintBars() override;
  void UpdateBars() override;
  void PaintBarForDrag(TqvScrollBar& Bar, const vcl::TRect& R, int PressedPart, HDC DC, int ThumbStart) override;
  bool ThumbDragged() const override { return Dragging; }
  void SetThumbDragged(bool Value) override { Dragging = Value; }
  bool OwnScrolling() const override { return ScrollingInProgress; }
  void SetOwnScrolling(bool Value) override { ScrollingInProgress = Value; }
  vcl::TLifetime::TWatch WatchLifetime() const override { return Lifetime().Watch(); }
  vcl::TControl* TrackOwner() const override { return OwnerControl(); }

  bool SkinnedMessage(vcl::TMessage& Message);
  void OnRepaintScrolls();
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

  bool repaint_posted_ = false;  // RepaintScrollsLater's message is on its way
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

// The screen rectangles of the adapter's bars.
void GetHScrollRect(TqvScrollWnd* Adapter, HWND Handle, vcl::TRect& R);
void GetVScrollRect(TqvScrollWnd* Adapter, HWND Handle, vcl::TRect& R);
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

// The painting of the bars (ScrollPaint.cpp).
struct TqvScrollPainter {
  // One bar at R (window coordinates) into DC; ThumbStart >= 0 places the thumb there
  // (along the bar, window coordinates) for a drag.
  static void PaintBar(TqvScrollWnd& Wnd, TqvScrollBar& Bar, const vcl::TRect& R, int HotPart, int PressedPart,
                       HDC DC, int ThumbStart, bool ForDrag);
  static void PaintCorner(TqvScrollWnd& Wnd, const vcl::TRect& R, HDC DC);
};

}  // namespace skin_layered
