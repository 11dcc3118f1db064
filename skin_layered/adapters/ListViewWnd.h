// TqvListViewWnd, the adapter of list views (the library's TListView, the "syslistview32"
// children of system dialogs). Beyond the edit adapter it gives the list view the section's
// background and text colours through the list view's own messages (and its own back when the
// skin goes), scrolls the list while a skinned thumb is dragged, and, in report view, paints
// the column header ("SysHeader32", subclassed) from the skin's "COLHEADER" section (else
// "BUTTON"): each column in its place on screen with its hot or pressed look, text, image and
// sort arrow.
//
// Columns are known by their item index everywhere; the header's display order is mapped to
// it once, where a place on screen is turned into a column.
#pragma once

#include <windows.h>

#include "classlib/controls/WindowSubclass.h"
#include "skin_layered/adapters/EditWnd.h"

namespace skin_layered {

// The control type code of a list view's skin data.
inline constexpr int kListViewCode = 10;
// A header place that is no column (right of the last one).
inline constexpr int kNoColumn = -2;

class TqvListViewWnd : public TqvEditWnd {
  VCL_CLASS(TqvListViewWnd, TqvEditWnd)
 public:
  using TqvEditWnd::TqvEditWnd;
  ~TqvListViewWnd() override;

  void SetSkinParams() override;
  void SaveStdParams() override;
  void RestoreStdParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The view in the library's order: icon 0, small icon 1, list 2, report 3.
  int ViewStyle() const;
  bool ReportView() const { return ViewStyle() == 3; }
  // The column (item index) under a screen point, kNoColumn when none.
  int ColumnAt(POINT Screen) const;
  // The header painted into DC at the header's client origin (nil: the header's own DC).
  void PaintHeader(HDC DC);

  HWND HeaderHandle = nullptr;  // the subclassed header, nil when none
  int PressedColumn = -1;       // item pressed with the left button, -1 none
  int HotColumn = -1;           // item under the mouse, -1 none

 protected:
  // The modern system draws the list view's own style: it is left on.
  bool WantsVisualStyleOff() const override { return false; }

 private:
  bool BeforeBase(vcl::TMessage& Message);
  void AfterBase(vcl::TMessage& Message);
  bool OnScroll(vcl::TMessage& Message, bool Vertical);
  void OnParentNotify(const vcl::TMessage& Message);
  void OnPrintHeader(HDC DC);
  // The list view's header subclassed when none is yet.
  void FindHeader();
  void AttachHeader(HWND Header);
  void DetachHeader();
  void HeaderProc(vcl::TMessage& Message);
  void HeaderMessage(vcl::TMessage& Message);
  void OnHeaderPaint(vcl::TMessage& Message);
  void OnHeaderPosChanging(vcl::TMessage& Message);
  void OnHeaderDestroy(vcl::TMessage& Message);
  void OnHeaderHitTest(vcl::TMessage& Message);
  void OnHeaderTimer(vcl::TMessage& Message);
  void OnHeaderButtonUp(vcl::TMessage& Message);
  void OnHeaderButtonDown(vcl::TMessage& Message);
  void RepaintHeader();
  // One column (Index, kNoColumn for the empty rest) at R of DC.
  void PaintHeaderItem(HDC DC, const RECT& R, int Index);
  void RestoreWindowColors();

  vcl::TWindowSubclass header_;
  // The window's own colours before the skin (a list view without a library control).
  COLORREF saved_bk_ = 0;
  COLORREF saved_text_bk_ = 0;
  COLORREF saved_text_ = 0;
  bool colors_saved_ = false;
};

}  // namespace skin_layered
