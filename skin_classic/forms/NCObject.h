// Objects drawn in a skinned form's non-client area: the hot and pressed state machine they
// share (TNCObject), and the caption buttons a skin describes (TWinSysButton) with their
// visibility rules, layout and painting.
#pragma once

#include "skin_classic/data/DataSkinObjects.h"

namespace winskin {

using vcl::String;
using vcl::TPoint;

class TFormFrame;

// The skin's caption-button actions (a button's Action); some have a second code. Any other
// action is the application's own (the window is told of it).
inline constexpr int kActionClose = 0;
inline constexpr int kActionMaximize = 1, kActionMaximize2 = 22;
inline constexpr int kActionMinimize = 2, kActionMinimize2 = 23;
inline constexpr int kActionIcon = 3, kActionIcon2 = 11;
inline constexpr int kActionSystemMenu = 12;
inline constexpr int kActionHelp = 4;
// The buttons of a maximised MDI child on its frame's menu band.
inline constexpr int kActionChildMinimize = 7, kActionChildMinimize2 = 60;
inline constexpr int kActionChildRestore = 8, kActionChildRestore2 = 61;
inline constexpr int kActionChildClose = 9, kActionChildClose2 = 62;

// The skin's visibility conditions of a caption button (codes 201-999 always hold, 1000-2000
// ask the window, every other code never holds).
inline constexpr int kShowAlways = 0;
inline constexpr int kShowMaximized = 1;
inline constexpr int kShowNotMaximized = 2;
inline constexpr int kShowActive = 3;
inline constexpr int kShowInactive = 4;
inline constexpr int kShowWithBoxes = 6, kShowWithBoxes2 = 8;
inline constexpr int kShowWithoutMaximizeBox = 7;
inline constexpr int kShowWithoutMinimizeBox = 9;
inline constexpr int kShowContextHelp = 10;
inline constexpr int kShowOnMenuBand = 100;  // an MDI frame whose active child is maximised
inline constexpr int kShowOnDialog = 200;
inline constexpr int kShowAskedFirst = 1000, kShowAskedLast = 2000;

// The states of a non-client object.
enum class TNCState { Normal = 1, Pressed = 2, Hot = 3 };

class TNCObject : public vcl::TObject {
  VCL_CLASS(TNCObject, TObject)

 public:
  explicit TNCObject(TFormFrame* AOwner) : Owner(AOwner) {}

  TFormFrame* Owner;
  int Index = 0;
  TRect BoundsRect;  // window coordinates
  bool Visible = false;
  TNCState State = TNCState::Normal;
  bool Enabled = true;

  // Pressed: becomes the owner's hot object (another hot one leaves first).
  virtual void MouseDown();
  // Released over it: hot again.
  virtual void MouseUp();
  // The cursor came over it; nothing changes over the object that is already hot or pressed.
  virtual void MouseHover();
  // The cursor left it: normal, and the owner has no hot object.
  virtual void MouseLeave();
  virtual void Paint() {}
};

// One caption button of the skin.
class TWinSysButton : public TNCObject {
  VCL_CLASS(TWinSysButton, TNCObject)

 public:
  TWinSysButton(TFormFrame* AOwner, TDataSkinSysButton* AData) : TNCObject(AOwner), Data(AData) {}

  TDataSkinSysButton* Data;

  int Action() const { return Data->Action; }
  // The icon buttons draw the window's icon.
  bool IsIcon() const { return Data->Action == kActionIcon || Data->Action == kActionIcon2; }
  bool IsSystemMenu() const { return IsIcon() || Data->Action == kActionSystemMenu; }
  // On the menu band of an MDI frame whose child is maximised.
  bool OnMenuBand() const { return Data->Visibility == kShowOnMenuBand; }
  // The skin has no picture for the button: the system's caption button of its action is
  // drawn in its place (the system's size, at the place the skin gives).
  bool SystemDrawn() const;
  // The picture the button draws (the window's icon for icon buttons) and its frames.
  TBitmap* Image() const;
  int FrameCount() const;
  int FrameWidth() const;
  int FrameHeight() const;

  // Visible and Enabled from the skin's two conditions and the button's action.
  void UpdateVisibility();
  // The frame to draw: the state's, or the disabled one; TitlePaint: the frame of a full
  // title paint (normal when the form is active, inactive otherwise).
  int PaintFrame(bool TitlePaint) const;
  // Draws frame Frame at the button's place, Origin being the DC's window point (0, 0).
  void PaintTo(HDC DC, int Frame, TPoint Origin) const;
  // Repaints the button in its current state on the window.
  void Paint() override;

 private:
  bool ConditionHolds(int Code, bool First) const;
};

}  // namespace winskin
