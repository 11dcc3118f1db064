// Glow halos: a skinned control whose section has a glow image gets a soft halo drawn
// outside its bounds, in a borderless, click-through window with per-pixel alpha placed
// around it on the screen. A process-wide list keeps the shown glows; AddGlow hands out a
// position in it, RemoveGlow frees one (its slot stays, empty), ClearGlows frees them all.
// A control's skin data keeps its glow's position and removes it when the control is hidden,
// moved, re-skinned or destroyed; the skin manager clears all glows on a skin change.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/forms/Forms.h"
#include "skin_layered/paint/ControlSkin.h"

namespace skin_layered {

class TqvGlowEffect;

// The halo's form: unowned, in a window class of its own (without the system's drop shadow),
// a layered tool window that never activates and lets the mouse through to what lies below.
class TqvGlowForm : public vcl::TForm {
  VCL_CLASS(TqvGlowForm, vcl::TForm)

 public:
  explicit TqvGlowForm(vcl::TComponent* AOwner);
  ~TqvGlowForm() override;

 protected:
  void CreateParams(vcl::TCreateParams& Params) override;
  void WndProc(vcl::TMessage& Message) override;

 private:
  friend class TqvGlowEffect;
  TqvGlowEffect* effect_ = nullptr;  // told when the form goes, whoever frees it
};

// One shown glow.
class TqvGlowEffect {
 public:
  explicit TqvGlowEffect(const TqvControlSkin& Data);
  ~TqvGlowEffect();
  TqvGlowEffect(const TqvGlowEffect&) = delete;
  TqvGlowEffect& operator=(const TqvGlowEffect&) = delete;

  int ImageIndex() const { return image_index_; }
  int Margin() const { return margin_; }
  // Nil until shown, and once its form is let go.
  TqvGlowForm* Form() const { return form_; }
  vcl::TBitmap* Bitmap() const { return bitmap_.get(); }

 private:
  friend int AddGlow(const vcl::TRect&, vcl::StringView, vcl::StringView, int, int, HWND, const TqvControlSkin*);
  friend void ClearGlows(bool);
  friend class TqvGlowForm;

  // Creates the form and puts the halo on it, around R (screen), above OwnerWnd.
  void Show(const vcl::TRect& R, HWND OwnerWnd, int Alpha);
  // Lets the form go: freed now when AtOnce (or nothing runs its queued messages any more),
  // else once its queued messages are handled. The effect forgets it either way.
  void DropForm(bool AtOnce);

  const TsLoadedSkin* skin_;
  vcl::TComponent* manager_;
  TqvColorChanges changes_;
  int image_index_ = kNoIndex;
  int margin_ = 0;
  TqvGlowForm* form_ = nullptr;
  std::unique_ptr<vcl::TBitmap> bitmap_;
};

// A glow around R (the control's screen rectangle) from the image MaskName + "0" of the
// section, pulled in by Margin on every side, at constant alpha Alpha (0..255), placed in
// z-order with OwnerWnd (the control's window); the control's colour changes apply to it.
// Answers its position in the glow list, or -1 (nothing created) without layered windows
// or a display that shows their per-pixel alpha (PerPixelAlphaShown),
// without skin data or a skin, or when the section has no such image.
int AddGlow(const vcl::TRect& R, vcl::StringView SectionName, vcl::StringView MaskName, int Margin, int Alpha,
            HWND OwnerWnd, const TqvControlSkin* SkinData);
// Frees the glow at Index and sets Index to -1; nothing (Index unchanged) for -1, a position
// beyond the list or an emptied slot.
void RemoveGlow(int& Index);
// Frees every glow (DestroyForms: their forms at once) and empties the list.
void ClearGlows(bool DestroyForms);

// The list as it stands (emptied slots included) and its entries (nil for an emptied slot or
// a position beyond the list).
int GlowCount();
const TqvGlowEffect* GlowAt(int Index);
// True while a glow's form is being destroyed.
bool GlowDestroying();

}  // namespace skin_layered
