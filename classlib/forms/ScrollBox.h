// Scrolling containers: a windowed control whose children may lie beyond its client area and
// are brought into view with the window's own scroll bars. With AutoScroll the range of each
// bar follows the children (the right and bottom edges of the controls that are not aligned
// to the far side, plus the widths of those that are); scrolling moves the children.
// TScrollBox is the plain scrolling box; forms and frames are scrolling controls too.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"

namespace vcl {

class TScrollingWinControl;

VCL_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
using enum TScrollBarKind;

// What a scroll bar reports (SB_LINEUP ... SB_ENDSCROLL, in the system's order).
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using enum TScrollCode;

// One of a scrolling control's two window scroll bars.
class TControlScrollBar : public TPersistent {
  VCL_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar() = default;
  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : control_(Control), kind_(Kind) {}

  void Assign(TPersistent* Source) override;

  TScrollBarKind Kind() const { return kind_; }
  // Pixels one arrow click scrolls.
  int Increment() const { return increment_; }
  void SetIncrement(int Value);
  // Pixels kept free beyond the children (AutoScroll) and around a control scrolled into view.
  int Margin() const { return margin_; }
  void SetMargin(int Value);
  // How far the contents are scrolled: 0 .. Range - the client's extent.
  int Position() const { return position_; }
  void SetPosition(int Value);
  // The extent of the contents. Setting it turns the control's AutoScroll off.
  int Range() const { return range_; }
  void SetRange(int Value);
  // Dragging the thumb scrolls at once rather than when it is let go.
  bool Tracking() const { return tracking_; }
  void SetTracking(bool Value) { tracking_ = Value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  // Whether the bar shows: visible, and the contents larger than the client area.
  bool IsScrollBarVisible() const;
  // The position while the bar shows, else 0.
  int ScrollPos() const { return IsScrollBarVisible() ? position_ : 0; }

 private:
  friend class TScrollingWinControl;

  // The client's extent along the bar, without the window's scroll bars.
  int ControlSize() const;
  int MaxPosition() const;
  void DoSetRange(int Value);
  // Shows the window's bar with range, page and position, or hides it.
  void Apply(bool Show, int Page);
  // WM_HSCROLL / WM_VSCROLL of the window's own bar.
  void ScrollMessage(WORD Code);

  TScrollingWinControl* control_ = nullptr;
  TScrollBarKind kind_ = sbHorizontal;
  int increment_ = 8;
  int margin_ = 0;
  int position_ = 0;
  int range_ = 0;
  bool tracking_ = false;
  bool visible_ = true;
  bool shown_ = false;  // the bar is on the window
  int page_ = 1;        // the client's extent while it is
};

class TScrollingWinControl : public TWinControl {
  VCL_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);

  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool Value);
  TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
  void SetHorzScrollBar(TControlScrollBar* Value) { horz_->Assign(Value); }
  TControlScrollBar* VertScrollBar() const { return vert_.get(); }
  void SetVertScrollBar(TControlScrollBar* Value) { vert_->Assign(Value); }

  // Scrolls so that the control (a child at any depth), with the bars' margins, is in view.
  void ScrollInView(TControl* AControl);

  void Dispatch(TMessage& Message) override;

 protected:
  void AdjustClientRect(TRect& Rect) const override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CreateWnd() override;
  // With AutoScroll, the ranges again from the children.
  void CalcAutoRange();
  // Shows or hides the window's bars for the ranges and the client size.
  void UpdateScrollBars();

 private:
  friend class TControlScrollBar;

  void WMScroll(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  std::unique_ptr<TControlScrollBar> horz_;
  std::unique_ptr<TControlScrollBar> vert_;
  bool auto_scroll_ = true;
  bool updating_bars_ = false;
};

class TScrollBox : public TScrollingWinControl {
  VCL_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* AOwner);

  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
};

// The properties a frame publishes; a scroll box (ScrollBox) adds its bevels and border style.
void PublishScrollingContainer(TPropertyList& p, bool ScrollBox);

}  // namespace vcl
