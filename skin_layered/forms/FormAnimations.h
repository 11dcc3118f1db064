// The animations a skin provider runs on its form, on 12 ms steps of the engine's timer: the
// minimise and restore animation (a snapshot of the form flies to or from its task-bar button
// while it shrinks and fades) and the blend on moving (the form turns translucent while it is
// dragged). Also here the snapshot form, a borderless top-most layered window showing a frozen
// picture of a window, and the task bar's place. Every picture reaches the screen through
// UpdateLayeredWnd; each step is a public Step so that tests drive the animations without
// waiting for the timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/ThreadedTimer.h"

namespace skin_layered {

class TsSkinProvider;
class TqvBorderForm;

inline constexpr int kAnimationStep = 12;  // ms between two steps

// Sides of the screen the task bar can stand on.
inline constexpr int kTaskbarLeft = 1, kTaskbarTop = 2, kTaskbarRight = 4, kTaskbarBottom = 8;

// A borderless top-most layered form at Wnd's screen rectangle showing Wnd's current pixels
// (opaque), shown without activation; the caller owns it. Nil without a window.
vcl::TForm* CreateSnapshotForm(HWND Wnd);
// The task bar's window ("Shell_TrayWnd"); nil without one.
HWND FindTrayWindow();
// The side of the screen a task bar of rectangle Tray stands on.
int TaskbarEdgeOf(const vcl::TRect& Tray);
// The point on the inner edge of a task bar at Tray, in line with the centre (CX, CY).
vcl::TPoint TaskbarEdgePoint(const vcl::TRect& Tray, int CX, int CY);
// The screen rectangle of the task-bar button standing for Owner (read from the task bar's
// tool bar in the shell's process); the empty rectangle when it cannot be read.
vcl::TRect TaskbarButtonRect(HWND Owner);

// The minimise / restore animation of a form.
class TqvMinTimer : public TqvThreadedTimer {
  VCL_CLASS(TqvMinTimer, TqvThreadedTimer)
 public:
  // Bound to Provider (its form's window is animated) and prepared at once; disabled.
  TqvMinTimer(vcl::TComponent* AOwner, TsSkinProvider* Provider);
  ~TqvMinTimer() override;

  // Steps, alpha, rectangles and the window showing the frames, from the form as it is now.
  void PrepareImage();
  // The target, and the movement and shrinking per step toward it.
  void InitData();
  // The task-bar button's rectangle (composition off), else the point on the task bar's edge
  // in line with the form; the empty rectangle without a task bar.
  vcl::TRect GetTargetRect();
  // The alpha of the first frame.
  std::uint8_t GetMaxAlpha() const;
  // One step; a step asked for while one runs is skipped.
  void Step();
  // Where the frames are shown.
  HWND AnimWnd() const;

  vcl::TRect FormRect, TargetRect;
  double CurLeft = 0, CurTop = 0, CurRight = 0, CurBottom = 0;
  double StepX = 0, StepY = 0;
  int FormCenterX = 0, TargetCenterX = 0, FormCenterY = 0, TargetCenterY = 0;
  double ShrinkX = 0, ShrinkY = 0;
  std::uint8_t MaxAlpha = 255;
  bool InitDone = false;
  double Alpha = 0, AlphaStep = 0;
  int TaskbarEdge = 0;
  TsSkinProvider* Provider = nullptr;
  HWND Wnd = nullptr;
  std::unique_ptr<vcl::TBitmap> Snapshot;  // the form's picture
  std::unique_ptr<vcl::TBitmap> Frame;     // one frame's picture
  bool Restoring = false;
  int Steps = 2;
  bool OwnsAnimForm = false;

 protected:
  void DoTimer() override { Step(); }

 private:
  void MinimizeStep();
  void RestoreStep();
  // The snapshot stretched to the current rectangle, put on the animation window at Alpha.
  void ShowFrame(std::uint8_t FrameAlpha, bool BehindTray);
  void FreeAnimForm();

  vcl::TForm* anim_form_ = nullptr;  // the snapshot form, when the timer made it
  bool stepping_ = false;
};

// The blend on moving: the form's alpha falls step by step to the target while it is dragged.
class TqvMoveTimer : public TqvThreadedTimer {
  VCL_CLASS(TqvMoveTimer, TqvThreadedTimer)
 public:
  TqvMoveTimer(vcl::TComponent* AOwner, TsSkinProvider* Provider);

  // One step: the alpha now on the form (or its border window) and its glued forms, then one
  // step toward TargetAlpha.
  void Step();

  std::uint8_t TargetAlpha = 255;
  double Alpha = 255;
  double AlphaStep = 0;
  TsSkinProvider* Provider = nullptr;
  HWND Wnd = nullptr;
  // A skinned dialog's border form (a provider's own is asked of the provider).
  TqvBorderForm* BorderForm = nullptr;

 protected:
  void DoTimer() override { Step(); }
};

}  // namespace skin_layered
