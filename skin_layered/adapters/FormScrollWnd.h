// TqvFormScrollWnd, the scroll adapter of a skinned form's own scroll bars (those of its
// AutoScroll): the bars skinned as every scroll adapter's, over the skin data of the form's
// provider. The provider keeps answering the skin command message for the form: the skin
// data, its window image and the backgrounds the form's controls ask for are the provider's.
// The provider makes and frees it (through the adapter services).
#pragma once

#include "skin_layered/adapters/ScrollWnd.h"

namespace skin_layered {

class TqvFormScrollWnd : public TqvScrollWnd {
  VCL_CLASS(TqvFormScrollWnd, TqvScrollWnd)
 public:
  using TqvScrollWnd::TqvScrollWnd;

  void WndProc(vcl::TMessage& Message) override;
  // The form's control style is the provider's business.
  bool AddsOpaqueStyle() const override { return false; }
};

}  // namespace skin_layered
