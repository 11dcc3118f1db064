// TqvScrollBoxWnd, the adapter of scroll boxes (and of other vendors' scrolling containers):
// its client area painted on erasing from its section ("PANEL_LOW") over what lies behind
// the box, its children painted over that picture (so that they sit on the skin), its frame
// strips from the same cache and its bars skinned by the scroll adapter. A box that takes no
// children is left to the scroll adapter alone.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/paint/BackdropCopy.h"

namespace skin_layered {

class TqvScrollBoxWnd : public TqvScrollWnd {
  VCL_CLASS(TqvScrollBoxWnd, TqvScrollWnd)
 public:
  using TqvScrollWnd::TqvScrollWnd;

  void WndProc(vcl::TMessage& Message) override;

  // The cache: the section in its normal state over what lies behind the box. A parent that
  // is not ready leaves the skin data updating and the cache as it was.
  void PrepareCache();

 protected:
  // The section, "PANEL_LOW" unless one was given, is known before the frame is laid out.
  void InitSkinData(bool Owned) override;
  // The client area with the children into DC (nil: the client area's own DC).
  void PaintClient(HDC DC);
  // The skinned bars and the frame strips into DC (window coordinates).
  void PaintNonClient(HDC DC);

 private:
  // The skin command, whether the box is skinned or not; true when answered.
  bool OnSkinCommand(vcl::TMessage& Message);
  void OnNcPaint(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  // The skinned box's messages; true when answered.
  bool OnSkinnedMessage(vcl::TMessage& Message);
  // The parent painted its picture: the box is made again over it where it changed under the box.
  void OnParentPainted();
  // The cache was made for the window's present size and frame.
  bool CacheFitsWindow() const;
  // The box's own section draws a picture made for its size (not one plain colour); a see-through
  // one shows its parent, which repaints it when it changes under it.
  bool PictureFollowsSize() const;
  void OnSize(vcl::TMessage& Message);

  // What the cache was last made over: the parent's picture under the box.
  TBackdropCopy backdrop_;
  // The client area, in window coordinates, the cache was last made with.
  vcl::TRect cached_client_;
};

}  // namespace skin_layered
