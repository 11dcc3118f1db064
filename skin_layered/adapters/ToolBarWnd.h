// TqvToolBarVCLWnd, the adapter of the library's tool bar: the bar's section kept in the skin
// data's cache and laid under the bar through the tool bar's advanced custom drawing, each
// button painted from the "TOOLBUTTON" section in its state with caption, glyph and drop-down
// arrow, the hot button followed by the mouse and the dropped one kept pressed while its menu
// is open.
#pragma once

#include "classlib/comctrls/ToolBar.h"
#include "skin_layered/adapters/MainWnd.h"

namespace skin_layered {

class TqvToolBarVCLWnd : public TqvMainWnd {
  VCL_CLASS(TqvToolBarVCLWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  void PrepareCache();
  void PaintBorder(HDC DC);
  // The index of the button at a client point; -1 for none and for separators.
  int HitTest(POINT P) const;
  // The button painted again on the bar's window.
  void RepaintButton(int Index);

  vcl::TToolBar* ToolBar = nullptr;
  vcl::TToolButton* DroppedButton = nullptr;
  int HotButton = -1;

  // The skin state of a button (0 normal, 1 hot, 2 pressed) by its custom-draw state.
  static int ButtonSkinState(const vcl::TToolButton* Button, vcl::TCustomDrawState State);
  // The width the drop-down arrow takes of a button (0 unless it is a drop-down button).
  static int DropDownArrowWidth(const vcl::TToolButton* Button);

 private:
  void BarDraw(vcl::TToolBar* Sender, const vcl::TRect& ARect, vcl::TCustomDrawStage Stage, bool& DefaultDraw);
  void ButtonDraw(vcl::TToolBar* Sender, vcl::TToolButton* Button, vcl::TCustomDrawState State,
                  vcl::TCustomDrawStage Stage, vcl::TTBCustomDrawFlags& Flags, bool& DefaultDraw);
  void SetEvents(bool On);
  void PaintToolBarBg(const vcl::TRect& R, HDC DC);
  void PaintButton(vcl::TToolButton* Button, vcl::TCustomDrawState State);
  void PaintArrow(vcl::TBitmap* Bmp, vcl::TToolButton* Button, int State, int ContentWidth);
  bool Skinned() const;
  void OnPaint(vcl::TMessage& Message);
  void OnNcPaint(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void OnSize(vcl::TMessage& Message);
  void OnMouseMove(vcl::TMessage& Message);
  void OnMouseLeave(vcl::TMessage& Message);
  // CN_NOTIFY: the control's own handling first.
  void OnNotifyMessage(vcl::TMessage& Message);
  void OnDropDownClosed(vcl::TMessage& Message);
  void OnNotify(vcl::TMessage& Message);
  bool OnSkinCommand(vcl::TMessage& Message);
};

}  // namespace skin_layered
