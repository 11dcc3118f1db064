// TqvNativePaint, the adapter of other vendors' controls that paint their client area
// themselves: their painting and frame stay their own, while the adapter keeps the skin's
// picture of the control ("TRANSPARENT" unless given) ready for the children that ask what
// lies behind them, and skins the bars as a scroll box's.
#pragma once

#include "skin_layered/adapters/ScrollBoxWnd.h"

namespace skin_layered {

class TqvNativePaint : public TqvScrollBoxWnd {
  VCL_CLASS(TqvNativePaint, TqvScrollBoxWnd)
 public:
  using TqvScrollBoxWnd::TqvScrollBoxWnd;

  void WndProc(vcl::TMessage& Message) override;

 protected:
  void InitSkinData(bool Owned) override;
};

}  // namespace skin_layered
