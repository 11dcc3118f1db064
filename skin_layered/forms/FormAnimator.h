// A skinned form's own animations started and stopped: the minimise and restore animation
// toward the task bar (the manager's Minimizing effect) and the blend while the form is dragged
// (its BlendOnMoving effect). The animator owns the running animation's timer (FormAnimations.h
// does the steps) and knows whether an animation holds the form. Its provider owns it; it sees
// the provider through the provider's base (the form, its skin data, border form, window image
// and region), the provider's flag word and what TqvAnimatorHost answers, and hands the
// provider itself only to the timers it makes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

class TsSkinProvider;

// The bits of the provider's flag word the animator sets while its animations run.
inline constexpr std::uint32_t kExtBlendMoving = 0x80;  // moved with blending
inline constexpr std::uint32_t kExtMinimizing = 0x100;  // the minimise animation
inline constexpr std::uint32_t kExtRestoring = 0x400;   // the restore animation

// What the animator asks of its provider besides the base.
class TqvAnimatorHost {
 public:
  virtual ~TqvAnimatorHost() = default;
  // Frees the glow animations of the title's buttons and items.
  virtual void KillTitleAnimations() = 0;
  virtual void UpdateFormRgn(bool Repaint) = 0;
  virtual void UpdateGluedForms() = 0;
  // Runs Call, which may process messages; false when the provider or its form's window did
  // not outlive it (nothing of either may be touched then).
  virtual bool Watched(const std::function<void()>& Call) = 0;
};

class TqvFormAnimator {
 public:
  TqvFormAnimator(TsSkinProviderBase& Provider, TqvAnimatorHost& Host, std::uint32_t& Flags, TsSkinProvider* Timers)
      : provider_(Provider), host_(Host), flags_(Flags), timers_(Timers) {}
  TqvFormAnimator(const TqvFormAnimator&) = delete;
  TqvFormAnimator& operator=(const TqvFormAnimator&) = delete;

  // An animation is busy: position changes leave the form alone.
  bool Busy = false;
  // The running animation's timer (owned; minimise or move); nil until one starts.
  vcl::TObject* Timer() const { return timer_; }
  void FreeTimer();
  // The form's task-bar picture of the running minimise animation, else nil.
  vcl::TBitmap* Snapshot() const;
  // The window whose task-bar button stands for the form: the form's own when it is shown on
  // the task bar, else the application's.
  HWND TaskbarButtonWnd() const;

  // A snapshot of the form flies to its task-bar button while it fades; a second start while
  // one runs does nothing.
  void StartMinimize();
  // The way back from the task-bar button; false when no minimise animation was kept.
  bool StartRestore();
  // The form turns translucent while dragged; with RunMoveLoop the system's move loop runs at
  // once and the blend stops after it.
  void StartBlendOnMoving(bool RunMoveLoop);
  // The form opaque again; a snapshot form given (or made) covers the change and is freed.
  void StopBlendOnMoving(vcl::TForm* SnapshotForm);

 private:
  TsSkinProviderBase& provider_;
  TqvAnimatorHost& host_;
  std::uint32_t& flags_;
  TsSkinProvider* timers_;
  vcl::TObject* timer_ = nullptr;
};

}  // namespace skin_layered
