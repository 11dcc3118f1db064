// The registered forms through a skin change: their images are saved before the new skin
// loads, they are held still (painting suspended, redraw off) while it is announced, and let
// go afterwards, with the skin-change animation when the manager has it on. Only forms that
// show (visible, not minimised, not MDI children, top-level, with a window) and whose provider
// belongs to the manager take part; nothing happens while the application is minimised.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

// The manager's skin-changing animation option.
struct TqvSkinChangeAnimation {
  bool Active = false;
  int Time = 0;  // milliseconds
  TqvAnimType Mode = atFading;
};

// What these steps ask of the skin manager whose skin changes, and of its animation unit.
class TqvSkinChangeManager {
 public:
  virtual ~TqvSkinChangeManager() = default;

  virtual bool IsDefaultManager() const = 0;
  // The manager is designed, loading or being read: its forms are not touched.
  virtual bool DesigningOrLoading() const = 0;
  virtual TqvSkinChangeAnimation SkinChanging() const = 0;
  // The provider's skin data uses this manager.
  virtual bool UsesProvider(const TsSkinProviderBase& Provider) const = 0;
  // Fades the form from its old look (its provider's snapshot) to the new one in Time ms:
  // by default the animation unit's AnimChangeForm.
  virtual void AnimChangeForm(vcl::TCustomForm& Form, int Time, std::uint8_t Alpha, bool Aero);
  // Puts the bitmap on the layered window at the alpha (255 opaque).
  virtual void UpdateLayeredWnd(HWND Wnd, vcl::TBitmap& Bmp, std::uint8_t Alpha) = 0;
};

using TqvSkinnedFormProc = std::function<void(vcl::TCustomForm& Form, TsSkinProviderBase& Provider)>;
// Proc for each registered form that takes part, with its provider. Forms that leave the
// registry or begin to be destroyed during the walk are skipped.
void ForEachSkinnedForm(TqvSkinChangeManager& Manager, const TqvSkinnedFormProc& Proc);

// Before a new skin is loaded: painting suspended, and a form with a border window gets a
// snapshot of its image (state bit kProviderChangeSnapshot). Sets AnimationActive for the
// default manager when its skin-changing animation is on. Undone when it fails part way.
void SaveFormImages(TqvSkinChangeManager& Manager);
// Before the new skin is announced: painting suspended, kProviderChangeFrozen set, the
// snapshot put on the border window, and WM_SETREDRAW 0.
void LockForms(TqvSkinChangeManager& Manager);
// After the announcement: redraw on again for the frozen forms; with Animate 1 each is shown
// anew (animated when the manager's skin-changing animation is on), otherwise nothing is
// redrawn. Painting resumes in both cases.
void UnlockForms(TqvSkinChangeManager& Manager, int Animate);

// SaveFormImages for a scope: unless Keep is called (the change went through and
// LockForms / UnlockForms finish it), the forms are given back as they were when the scope
// ends, whatever the exit: painting resumes, snapshots are dropped and the forms repainted.
class TqvSavedFormImages {
 public:
  explicit TqvSavedFormImages(TqvSkinChangeManager& Manager);
  ~TqvSavedFormImages();
  TqvSavedFormImages(const TqvSavedFormImages&) = delete;
  TqvSavedFormImages& operator=(const TqvSavedFormImages&) = delete;

  void Keep() { kept_ = true; }

 private:
  bool kept_ = false;
  bool set_animation_ = false;
  std::vector<vcl::TCustomForm*> forms_;
};

}  // namespace skin_layered
