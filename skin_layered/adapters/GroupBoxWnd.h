// TqvGroupBoxWnd, the adapter of group boxes (class-library TGroupBox, or the group-box
// "button" windows of system dialogs): the frame painted from the skin section "GROUPBOX"
// from half the caption's height down, the strip above it and the caption's gap showing what
// lies behind the box, the caption in the section's font colour. A system dialog's group box
// gets only its frame: its interior stays the dialog's.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/core/CacheInfo.h"

namespace skin_layered {

class TqvGroupBoxWnd : public TqvMainWnd {
  VCL_CLASS(TqvGroupBoxWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The caption's rectangle in the window: its bottom is the caption height, the strip above
  // the frame.
  vcl::TRect CaptionRect();
  int CaptionHeight() { return CaptionRect().Bottom; }
  // Composes the box in its cache.
  void PrepareCache();

 private:
  void PaintGroupBox(const vcl::TMessage& Message);
  void OnFocus(vcl::TMessage& Message);
  void OnSetText(vcl::TMessage& Message);
  void OnPaint(vcl::TMessage& Message);
  void OnEraseBkgnd(vcl::TMessage& Message);
  // In a dialog the skin's frame goes over the one the system paints.
  void OnDialogNcPaint(vcl::TMessage& Message);
  void OnParentNotify(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void OnSkinCommand(vcl::TMessage& Message);
  void OnPrepareCache(vcl::TMessage& Message);
  void OnGetBgInfo(vcl::TMessage& Message);
  void Redraw();
  // R of the cache shows what lies behind the box.
  void ShowBackground(const vcl::TRect& R, const TqvCacheInfo& Background);
};

}  // namespace skin_layered
