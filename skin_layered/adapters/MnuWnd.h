// TqvMnuWnd, the adapter of a system popup-menu window ("#32768"), made by the dialog hook with
// the section "MAINMENU" while the manager skins popups. The skinned menus draw the items
// (owner-drawn) and give the window its region; the adapter paints the window's 3-pixel frame
// from the skin, shows the window fully transparent until that frame is painted and then with
// the popups' opacity, and answers the menus' questions about the region.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/ScrollWnd.h"

namespace skin_layered {

inline constexpr int kMenuFrame = 3;

class TqvMnuWnd : public TqvScrollWnd {
  VCL_CLASS(TqvMnuWnd, TqvScrollWnd)
 public:
  using TqvScrollWnd::TqvScrollWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  bool KeepsVisualStyle() const override { return true; }

  bool FramePainted = false;  // the first skinned WM_NCPAINT came
  bool Showing = false;       // the adapter makes the window layered while it is shown
  int RegionDone = 0;         // 1 once the menus set the window's region
  // A message of this adapter is being handled: it is not freed now.
  bool Running() const { return running_ > 0; }

 private:
  void OnDestroy(vcl::TMessage& Message);
  void OnSkinCommand(vcl::TMessage& Message);
  void AnswerRegionDone(vcl::TMessage& Message);
  void UnskinnedMessage(vcl::TMessage& Message);
  void OnEraseBkgnd(vcl::TMessage& Message);
  void OnNcPaintMessage(vcl::TMessage& Message);
  void OnNcPaint();
  void OnWindowPosChanging(vcl::TMessage& Message);
  // The window made fully transparent for its first show becomes visible again.
  void Reveal();
  void PrepareMenuCache();
  void Dispatch(vcl::TMessage& Message);
  bool transparent_ = false;  // made fully transparent, not yet revealed
  int running_ = 0;
};

}  // namespace skin_layered
