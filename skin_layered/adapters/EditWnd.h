// TqvEditWnd, the adapter of edit-like controls: single- and multi-line edits, list boxes,
// rich edits, hot-key and date-time controls, and the "edit", "listbox" and "combolbox"
// children of system dialogs. It paints the control's skinned border and bars in the
// non-client area from its cache, writes the section's colours into the control's own colour
// properties (so that the control paints its client area in skin colours), repaints on focus
// and enabling, and gives the control its own colours back when the skin goes.
//
// The scrolled-control family derives from it (list views, grids, trees, combo boxes and
// their drop-down lists): a descendant sets its section and control code in SetSkinParams,
// saves and restores its own parameters around the base's, decides the visual style with
// WantsVisualStyleOff and handles its messages before calling TqvEditWnd::WndProc.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/BaseWnd.h"

namespace skin_layered {

// The control type code of skin data an edit adapter makes for itself.
inline constexpr int kEditAdapterCode = 231;

class TqvEditWnd : public TqvBaseWnd {
  VCL_CLASS(TqvEditWnd, TqvBaseWnd)
 public:
  using TqvBaseWnd::TqvBaseWnd;

  void SaveStdParams() override;
  void RestoreStdParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  bool ChildrenChanged = false;  // children came or went: the form is told on the next redraw
  bool SingleLineEdit = false;   // a library edit without ES_MULTILINE
  vcl::TColor FillColor = vcl::clWindow;  // the background last taken from the skin
  vcl::TColor SavedColor = vcl::clWindow;
  vcl::TColor SavedFontColor = vcl::clWindowText;
  vcl::TColor SavedFocusColor = 0;  // the control's "FocusColor" property, when it has one
  vcl::TColor BorderColor = 0;      // the skin's border colour (adapters without a control)

 protected:
  // With skin data given: off unless a list view (whose style the modern system draws) or a
  // control that has "UseXPThemes"; without: off only for the "COMBOBOX" section. Never for
  // the "DIALOG" section.
  bool WantsVisualStyleOff() const override;
  bool AddsOpaqueStyle() const override;
  void InitSkinData(bool Owned) override;
  // ApplySkinParams is running (or the scroll adapter lays out the frame): painting goes to
  // the base.
  bool Busy() const { return applying_ || InNcCalculation; }
  // The window's DC must not be painted: an empty clip box, unless it is the print target.
  bool EmptyClip(HDC DC) const;

 private:
  bool BeforeBase(vcl::TMessage& Message);
  void AfterBase(vcl::TMessage& Message);
  void AfterGetTopIndex(vcl::TMessage& Message);
  void AfterMouseMove();
  void AfterParentNotify(const vcl::TMessage& Message);
  void AfterMouseEnterLeave(const vcl::TMessage& Message);
  bool OnCommand(vcl::TMessage& Message);
  void OnNcPaint(vcl::TMessage& Message);
  bool OnPaint(vcl::TMessage& Message);
  bool OnEraseBkgnd(vcl::TMessage& Message);
  void OnFocus(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void ApplyIfNotApplied() {
    if (!SkinParamsApplied) ApplySkinParams();
  }

  bool applying_ = false;
  bool params_saved_ = false;
};

}  // namespace skin_layered
