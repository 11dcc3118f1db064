// TqvPanelWnd, the adapter of a panel (and of other vendors' panels): its section chosen by
// the panel's bevels, kept in the skin data's cache with the caption drawn over it, painted
// on WM_ERASEBKGND and WM_PRINT, and its border strips drawn from the same cache.
#pragma once

#include "skin_layered/adapters/MainWnd.h"

namespace vcl {
class TWinControl;
}

namespace skin_layered {

// A panel tagged so keeps its caption to itself.
inline constexpr intptr_t kPanelNoCaptionTag = 999;

class TqvPanelWnd : public TqvMainWnd {
  VCL_CLASS(TqvPanelWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The section over the whole cache, then the caption inside the bevels.
  void PrepareCache();
  // The border strips (outside the client area) from the cache into DC (nil: the window DC).
  void PaintBorder(HDC DC);

  // The owner control when there is one (its bevels are read when it is a panel).
  vcl::TWinControl* Panel = nullptr;

 private:
  // The panel's section by its bevels and border style.
  vcl::String SectionByBevels() const;
  void DrawCaption(vcl::TRect R);
  // The client area (and the panel's graphic children) painted into DC.
  void PaintPanel(HDC DC);
  bool OnSkinCommand(vcl::TMessage& Message);
};

}  // namespace skin_layered
