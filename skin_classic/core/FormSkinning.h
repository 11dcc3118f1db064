// What the skin manager drives of the form skinning: one object per skinned top-level window
// (its frame, caption buttons, menu bar and child control skinners) and one per skinned
// popup-menu window. The form window code supplies the concrete classes through
// SetFormSkinning; without them the manager skins no window.
#pragma once

#include <functional>
#include <memory>

#include "classlib/rtl/Component.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"

namespace vcl {
class TWinControl;
}

namespace winskin {

class TSkinData;

// Where a skinned window's object stands.
enum class TSkinFormState {
  Created = 0,     // attached, set-up not finished
  Ready = 1,       // skinned
  Reapplying = 3,  // the skin is applied again
  Destroying = 4,  // the window is being destroyed
  Sizing = 5,      // the window size is being adjusted
  Destroyed = 6,   // the window is gone; the manager frees the object at its next purge
};

// The object that skins one top-level window. A window of the class library is attached
// with its form object (which owns this object), a foreign window by handle alone.
class TWinSkinFormBase : public vcl::TComponent {
  VCL_CLASS(TWinSkinFormBase, TComponent)

 public:
  explicit TWinSkinFormBase(vcl::TComponent* AOwner) : TComponent(AOwner) {}
  // Leaves the manager's list.
  ~TWinSkinFormBase() override;

  HWND Window = nullptr;
  vcl::String WindowClass;  // the window's class name
  TSkinData* SkinData = nullptr;
  TSkinFormState State = TSkinFormState::Created;

  // Takes over the window of FormObject / a foreign window, with the skin of SkinData.
  virtual void AttachForm(TSkinData* ASkinData, vcl::TWinControl* FormObject) = 0;
  virtual void AttachWindow(TSkinData* ASkinData) = 0;
  // Gives the window back its own procedure and releases the control skinners.
  virtual void Detach() = 0;
  // Detach, and also the window's styles, region and frame as they were (unskinning all).
  virtual void Unskin() = 0;
  // Frees / rebuilds the objects made from the skin (caption buttons, border sizes), and
  // applies the skin again after a skin change.
  virtual void ReleaseSkinObjects() = 0;
  virtual void LoadSkinObjects() = 0;
  virtual void Reapply() = 0;
  // A size grip created on the window later: mapped as a child control.
  virtual void MapSizeGrip(HWND Grip) = 0;
  virtual bool IsMDIChild() const = 0;
  // The MDI children follow the frame's maximised state (when the frame skins their borders).
  virtual void MDIMaximizedChanged(bool Maximized) = 0;
  // The skin now in use paints the frame where the window's frame is the system's, or the
  // other way round: the window is skinned anew rather than re-applied.
  virtual bool FrameChangesWithSkin() const = 0;
};

// The object that skins one popup-menu window ("#32768").
class TWinSkinPopMenuBase : public vcl::TObject {
  VCL_CLASS(TWinSkinPopMenuBase, TObject)

 public:
  TWinSkinPopMenuBase() = default;

  HWND Window = nullptr;
  TSkinData* SkinData = nullptr;  // the skin it is framed with (set by Attach)
  bool FromMenuBar = false;       // opened from a form's menu bar

  // First: no other popup window of the thread is skinned.
  virtual void Attach(HWND AWindow, TSkinData* ASkinData, bool First) = 0;
  virtual void Detach() = 0;
};

struct TFormSkinning {
  // A new form object (owned by Owner, which may be nil).
  std::function<TWinSkinFormBase*(vcl::TComponent* Owner)> CreateForm;
  std::function<std::unique_ptr<TWinSkinPopMenuBase>()> CreatePopMenu;
};

// Installs the form skinning; answers the one installed before.
TFormSkinning SetFormSkinning(TFormSkinning Skinning);
const TFormSkinning& FormSkinning();

}  // namespace winskin
