// TWScrollbar: a small window laid exactly over one scroll bar of a skinned control and painted
// from the skin. It scrolls nothing itself: a press on it goes to the covered bar as the
// matching mouse message, so the system's own tracking (arrow repeat, paging, dragging the
// thumb) does the scrolling and the control gets its usual scroll messages; the panel only
// repaints. Three kinds of bar: the horizontal and vertical bars of a window's frame, and a
// scroll bar control.
//
// The skin's parts image holds 23 frames side by side: the arrows (horizontal first 1-4,
// second 5-8, vertical first 9-12, second 13-16; each +0 normal, +1 pressed, +3 hot) and the
// thumb grips (horizontal 17-19, vertical 20-22: normal, pressed, hot).
#pragma once

#include "classlib/extctrls/ExtCtrls.h"
#include "skin_classic/core/SkinData.h"

namespace winskin {

class TSkinControl;

// Which bar a panel covers.
inline constexpr int kBarHorizontal = 0;
inline constexpr int kBarVertical = 1;
inline constexpr int kBarControl = 2;

// Parts of a bar along its axis (the scroll codes of the same parts share these numbers).
inline constexpr int kPartNone = -1;
inline constexpr int kPartFirstArrow = 0;
inline constexpr int kPartSecondArrow = 1;
inline constexpr int kPartTrackBefore = 2;
inline constexpr int kPartTrackAfter = 3;
inline constexpr int kPartThumb = 5;

// The part at coordinate C along a bar of Length with arrows of Arrow pixels.
int ScrollBarPart(int C, int Arrow, int ThumbTop, int ThumbBottom, int Length);

struct TThumbExtent {
  int Top = 0;
  int Bottom = 0;
};
// The thumb of a scroll bar control of Length with arrows of Arrow pixels, from its range,
// page and position (a range of 0 counts as 9999999). With MinimumSize a thumb shorter than
// 8 pixels is drawn 8 long.
TThumbExtent ControlThumbExtent(int Length, int Arrow, int Min, int Max, int Page, int Pos, bool MinimumSize);

// How one bar looks at the moment.
struct TScrollBarLook {
  bool Vertical = true;
  int Arrow = 0;  // along the axis
  int ThumbTop = 0;
  int ThumbBottom = 0;
  bool Disabled = false;
  int HotPart = kPartNone;
  bool Pressed = false;  // the mouse is down on HotPart
};
// Paints a bar from the skin into Rect of DC, through a bitmap of its own; the Fill colour
// shows where the skin's pictures leave gaps. False (nothing painted) without the parts image.
bool PaintSkinScrollBar(HDC DC, const TRect& Rect, TSkinData* Skin, const TScrollBarLook& Look, vcl::TColor Fill);
// The skin has the parts picture scroll bars are painted from; without it the system's own
// bars show (no panel covers them).
bool HasScrollBarPicture(TSkinData* Skin);

class TWScrollbar : public vcl::TCustomPanel {
  VCL_CLASS(TWScrollbar, TCustomPanel)

 public:
  explicit TWScrollbar(vcl::TComponent* AOwner);

  // Covers a bar of a control of the class library / of a bare window (Kind: kBar*).
  void AttachToControl(TSkinControl* Skinner, vcl::TWinControl* Control, int Kind);
  void AttachToWindow(TSkinControl* Skinner, HWND Handle, int Kind);
  // Follows the covered bar: shown over it, or hidden when it is not there.
  void UpdatePosition(HWND Target);
  void UpdatePosition() { UpdatePosition(FTarget); }
  void HideBar();
  // The part under a point of the panel (kPart*).
  int HitTest(vcl::TPoint Point) const;

  int Kind() const { return FKind; }
  int BarKind() const { return FBarKind; }
  bool Shown() const { return FShown; }
  int HotPart() const { return FHotPart; }
  void SetHotPart(int Part) { FHotPart = Part; }
  bool PressedNow() const { return FPressed; }
  // The covered bar in the parent's client coordinates.
  const TRect& BarRect() const { return FBarRect; }
  int ThumbTop() const { return FThumbTop; }
  int ThumbBottom() const { return FThumbBottom; }
  HWND Target() const { return FTarget; }

  void Dispatch(vcl::TMessage& Message) override;

 protected:
  void CreateParams(vcl::TCreateParams& Params) override;
  void Paint() override;

 private:
  // The covered bar now: its rectangle on the screen, thumb and state. False when unknown.
  struct TBarInfo {
    RECT Screen{};
    int ThumbTop = 0;
    int ThumbBottom = 0;
    bool Invisible = false;
    bool Disabled = false;
  };
  bool ReadBar(TBarInfo& Info) const;
  void Attach(TSkinControl* Skinner, HWND Handle, vcl::TWinControl* Control, int Kind);
  // A panel point as the covered window takes it (the screen for frame bars).
  LPARAM TargetPoint(LPARAM PanelPoint) const;
  void WMLButtonDown(vcl::TMessage& Message);
  void WMLButtonUp(vcl::TMessage& Message);
  void WMMouseMove(vcl::TMessage& Message);
  void WMMouseLeave(vcl::TMessage& Message);

  int FKind = kBarVertical;
  int FBarKind = kBarVertical;
  int FArrowSize = 0;
  int FLength = 0;
  int FThumbTop = 0;
  int FThumbBottom = 0;
  vcl::TPoint FBarOrigin;
  vcl::TPoint FDragStart;
  int FThumbStart = 0;
  bool FPressed = false;
  int FHotPart = kPartNone;
  HWND FTarget = nullptr;
  vcl::TWinControl* FTargetControl = nullptr;
  TSkinControl* FSkinner = nullptr;
  TRect FBarRect;
  bool FShown = false;
};

}  // namespace winskin
