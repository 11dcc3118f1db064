// TqvBaseWnd, the base of the adapters of scrolled controls (edits, list boxes, views, grids,
// combo boxes, the MDI client): a scroll adapter that keeps its cache and its skinned bars in
// step with the window's size, enabling and scrolling.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/ScrollWnd.h"

namespace skin_layered {

class TqvBaseWnd : public TqvScrollWnd {
  VCL_CLASS(TqvBaseWnd, TqvScrollWnd)
 public:
  using TqvScrollWnd::TqvScrollWnd;

  void WndProc(vcl::TMessage& Message) override;

 protected:
  // Geometry refreshed, the cache rebuilt and, unless a dialog's child, its border painted.
  void RebuildCache();

 private:
  void OnBaseSkinCommand(vcl::TMessage& Message);
  void RefreshFromOwnManager(vcl::TMessage& Message);
  void PassOnAndRefresh(vcl::TMessage& Message);
};

// The message goes on to the window below no matter what the adapter would do with it
// (a message the control's own window reflects back and that must not reach it).
inline constexpr UINT kSwallowedReflect = 0x2100;

}  // namespace skin_layered
