// TqvTreeViewWnd, the adapter of tree views (the library's TTreeView, the "systreeview32"
// children of system dialogs). Beyond the edit adapter's border and bars it gives the tree the
// section's background and text colours through the tree view's own messages (a system
// dialog's tree the window colours), erases in that background, and gives the tree exactly
// its own colours back when the skin or the adapter goes.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/EditWnd.h"

namespace skin_layered {

class TqvTreeViewWnd : public TqvEditWnd {
  VCL_CLASS(TqvTreeViewWnd, TqvEditWnd)
 public:
  using TqvEditWnd::TqvEditWnd;

  void SaveStdParams() override;
  void RestoreStdParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The background the tree shows now: the section's (hot while focused or hot) or, with
  // CustomColor, the control's own; the window colour for a dialog's tree.
  vcl::TColor Background() const;

 private:
  void OnEraseBkgnd(vcl::TMessage& Message);
  // The background colour the tree paints with now (its own messages' answer).
  COLORREF ShownBackground() const;

  // The window's own colours before the skin (a tree without a library control); -1 is the
  // system's default.
  COLORREF saved_bk_ = static_cast<COLORREF>(-1);
  COLORREF saved_text_ = static_cast<COLORREF>(-1);
  bool colors_saved_ = false;
};

}  // namespace skin_layered
