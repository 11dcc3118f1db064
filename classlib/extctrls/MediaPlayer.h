// The media player control (window class "TMediaPlayer"): a strip of the player's buttons
// (play, pause, stop, next, previous, step, back, record, eject) that the user clicks. Which
// buttons show, which can be clicked and which are drawn in colour are three sets. Playing
// media is not built: a click runs OnClick (whose DoDefault would start the device's action,
// of which there is none) and then OnPostClick.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

// Its identifiers stay inside the type: btNext and btPrev name an up-down control's buttons
// too.
VCL_ENUM(TMPBtnType, btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject)
using TButtonSet = Set<TMPBtnType>;
inline constexpr TButtonSet kAllMPButtons{TMPBtnType::btPlay, TMPBtnType::btPause, TMPBtnType::btStop,
                                          TMPBtnType::btNext, TMPBtnType::btPrev, TMPBtnType::btStep,
                                          TMPBtnType::btBack, TMPBtnType::btRecord, TMPBtnType::btEject};

using EMPNotify = Event<void(TObject* Sender, TMPBtnType Button, bool& DoDefault)>;
using EMPPostNotify = Event<void(TObject* Sender, TMPBtnType Button)>;

class TMediaPlayer : public TCustomControl {
  VCL_CLASS(TMediaPlayer, TCustomControl)
 public:
  explicit TMediaPlayer(TComponent* AOwner);

  TButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TButtonSet Value);
  TButtonSet EnabledButtons() const { return enabled_; }
  void SetEnabledButtons(TButtonSet Value);
  TButtonSet ColoredButtons() const { return colored_; }
  void SetColoredButtons(TButtonSet Value);

  // The visible button under a client point (false when none).
  bool ButtonAtPos(TPoint Pos, TMPBtnType& Button) const;
  // The strip shares the width evenly among the visible buttons.
  TRect ButtonRect(TMPBtnType Button) const;

  // A click on Button, as the user's: only for a visible, enabled button.
  void ClickButton(TMPBtnType Button);

  EMPNotify OnClick;
  EMPPostNotify OnPostClick;

  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

 private:
  int VisibleCount() const;
  void WMGetDlgCode(TMessage& Message);
  void StateChanged(TMessage& Message);
  void DrawGlyph(TMPBtnType Button, const TRect& Face, TColor Ink);

  TButtonSet visible_ = kAllMPButtons;
  TButtonSet enabled_ = kAllMPButtons;
  TButtonSet colored_ = kAllMPButtons;
  bool pressing_ = false;
  TMPBtnType pressed_ = TMPBtnType::btPlay;  // while pressing_
  TMPBtnType focused_ = TMPBtnType::btPlay;  // the button the keyboard clicks
};

// The unit's start-up makes its classes known to form descriptions (registered in its source
// file, which every program linking the library links).
namespace detail {
void InitMPlayerUnit();
}  // namespace detail

}  // namespace vcl
