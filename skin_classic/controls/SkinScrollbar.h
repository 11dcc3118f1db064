// The skinners that lay covering panels (TWScrollbar) over scroll bars:
//   TSkinScrollbar   scrollable controls of the class library (memos, list boxes, grids, tree
//                    and list views, scroll boxes): both frame bars, a flat skinned border,
//                    the fixed colour of grids
//   TSkinScrollbarH  bare windows with frame bars (the list of a simple combo box)
//   TSkinScControl   scroll bar controls
//   TComboxScrollBar the vertical bar of a combo box's drop-down list, painted in the list's
//                    own frame, with a thumb drag of its own
#pragma once

#include <memory>

#include "skin_classic/controls/ScrollPanel.h"
#include "skin_classic/controls/SkinControl.h"

namespace winskin {

// The class library's paint-into-DC requests (answered with kPaintDCAnswer when the
// request carries kPaintDCAnswer in LParam).
inline constexpr UINT CM_PAINTCONTROLINTO = 0xBC4A;
inline constexpr UINT CM_PAINTBORDERINTO = 0xBC4B;
inline constexpr LPARAM kPaintDCAnswer = 0x41A2;
// Has a combo box's drop-down list repaint its skinned bar.
inline constexpr UINT CM_LISTBARREPAINT = 0x1AE;

// Fills the square between two shown panels of Window with the skin's face colour.
void FillScrollCorner(HDC DC, HWND Window, TWScrollbar* Horz, TWScrollbar* Vert, vcl::TColor Face);

class TSkinScrollbar : public TSkinControl {
  VCL_CLASS(TSkinScrollbar, TSkinControl)

 public:
  explicit TSkinScrollbar(vcl::TComponent* AOwner);
  ~TSkinScrollbar() override;

  // Attaching a scrollable control goes through AttachScrollControl.
  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  virtual void AttachScrollControl(vcl::TWinControl* Control, TSkinData* SkinData, TSkinControlHost* Form,
                                   vcl::TCanvas* Canvas);
  void RestoreControl() override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  void UpdateSkin() override;

  TWScrollbar* HorzBar() const { return FHorzBar.get(); }
  TWScrollbar* VertBar() const { return FVertBar.get(); }
  bool DrawsBorder() const { return FDrawBorder; }

 protected:
  // The flat border over the control's frame: the line colour outside, the face colour inside.
  void DrawBorder(HDC DC);
  void UpdateBars();

  TOwnedObject<TWScrollbar> FHorzBar;
  TOwnedObject<TWScrollbar> FVertBar;
  bool FNativeInfo = true;
  bool FDrawBorder = false;
  bool FMoved = false;

 private:
  void WMMouseWheel();
  void WMMoved();
  void CMVisibleChanged(const vcl::TMessage& Message);
  void CMEnabledChanged(vcl::TMessage& Message);
  void CMRecreateWnd();
  void CMPaintBorderInto(vcl::TMessage& Message);
  bool saved_fixed_color_ = false;
  vcl::TColor fixed_color_ = vcl::clNone;
};

class TSkinScrollbarH : public TSkinControl {
  VCL_CLASS(TSkinScrollbarH, TSkinControl)

 public:
  explicit TSkinScrollbarH(vcl::TComponent* AOwner);
  ~TSkinScrollbarH() override;

  void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

  TWScrollbar* HorzBar() const { return FHorzBar.get(); }
  TWScrollbar* VertBar() const { return FVertBar.get(); }

 private:
  void HideWithWindow();
  void UpdatePanels(bool Resized);

  TOwnedObject<TWScrollbar> FHorzBar;
  TOwnedObject<TWScrollbar> FVertBar;
};

class TSkinScControl : public TSkinControl {
  VCL_CLASS(TSkinScControl, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  ~TSkinScControl() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AttachScrollBar(vcl::TWinControl* Control, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas);
  void RestoreControl() override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;

  TWScrollbar* Bar() const { return FBar.get(); }

 private:
  void FollowWindow();
  void CMVisibleChanged(const vcl::TMessage& Message);

  TOwnedObject<TWScrollbar> FBar;
};

class TComboxScrollBar : public TSkinControl {
  VCL_CLASS(TComboxScrollBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // The skin's scroll bar parts.
  bool HasPicture() const override { return HasScrollBarPicture(FSkinData); }

  // The list's vertical bar in window coordinates; false when it has none.
  bool BarRect(TRect& Bar) const;
  bool Dragging() const { return dragging_; }

 private:
  bool WMNCMouseMove(vcl::TMessage& Message);
  bool WMNCLButtonDown(vcl::TMessage& Message);
  void WMCaptureChanged(const vcl::TMessage& Message);
  void WMCancelMode();
  // Drags the thumb under a press at a screen point; false when the press is not on it.
  bool DragThumb(vcl::TPoint At);

  int FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  bool dragging_ = false;
  bool drag_cancelled_ = false;  // the capture went elsewhere or the mode was cancelled
  bool pressed_thumb_ = false;
};

}  // namespace winskin
