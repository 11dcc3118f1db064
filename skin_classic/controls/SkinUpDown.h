// TSkinUpDown: up-down (spin) buttons painted from the skin's "UpDown.Horz" or "UpDown.Vert"
// element (four frames per arrow: normal, pressed, disabled, hot; its second picture holds
// the arrow glyphs), or without one as flat boxes with drawn arrows. The control's own mouse
// handling runs first, so it still changes the value and repeats while held.
#pragma once

#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {

class TSkinUpDown : public TSkinControl {
  VCL_CLASS(TSkinUpDown, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

  // Set by the creator: the up-down sits inside another control's border / scrolls sideways.
  bool FInEdit = false;
  bool FHorizontal = false;

  // The state (1 normal, 2 pressed, 3 disabled, 4 hot) each half was last painted in.
  int HalfState(int Half) const { return half_state_[Half & 1]; }

 private:
  void WMEraseBkgnd(vcl::TMessage& Message);
  void WMLButtonDown(vcl::TMessage& Message);
  void WMLButtonUp(vcl::TMessage& Message);
  bool Horizontal() const;
  int half_state_[2] = {1, 1};
};

// Skins the up-down window a skinned control holds (a tab strip's arrows, a tab set's
// scroller): the new skinner belongs to Owner and goes on the form's list.
TSkinUpDown* AttachUpDown(vcl::TComponent* Owner, HWND UpDown, TSkinData* SkinData, TSkinControlHost* Form,
                          vcl::TCanvas* Canvas, bool Horizontal = false);

}  // namespace winskin
