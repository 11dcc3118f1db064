// TqvProgressWnd, the adapter of a progress bar of a system dialog (a file copy's): the
// container's background, over it the skin's gauge (its trough with its frame) and the part
// of the bar its position fills with the gauge's bar piece, horizontal or vertical. Where the
// skin has no gauge, or no piece for the bar, the bar is filled in the system's bar colour over
// the skinned background, so a bar never shows no progress. A marquee bar (no position) keeps
// the system's painting.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/ContainerWnd.h"

namespace skin_layered {

class TqvProgressWnd : public TqvContainerWnd {
  VCL_CLASS(TqvProgressWnd, TqvContainerWnd)
 public:
  using TqvContainerWnd::TqvContainerWnd;

  void WndProc(vcl::TMessage& Message) override;

  // The part of the window (window coordinates) the position fills; empty at the minimum.
  vcl::TRect BarRect() const;

 protected:
  void PaintContent(vcl::TBitmap* Cache) override;

 private:
  bool Vertical() const;
  bool Marquee() const;
};

}  // namespace skin_layered
