// TqvFrameScrollWnd, the scroll adapter of a skinned frame's own scroll bars (those of its
// AutoScroll): the bars skinned as every scroll adapter's, over the skin data of the frame's
// frame adapter. The frame adapter keeps answering the skin command message for the frame: the
// frame's section, its cache and the backgrounds its controls ask for are the frame adapter's.
// The frame adapter makes and frees it (through the adapter services).
#pragma once

#include "skin_layered/adapters/ScrollWnd.h"

namespace skin_layered {

class TqvFrameScrollWnd : public TqvScrollWnd {
  VCL_CLASS(TqvFrameScrollWnd, TqvScrollWnd)
 public:
  using TqvScrollWnd::TqvScrollWnd;

  void WndProc(vcl::TMessage& Message) override;
  // The frame's control style is the frame adapter's business.
  bool AddsOpaqueStyle() const override { return false; }
};

}  // namespace skin_layered
