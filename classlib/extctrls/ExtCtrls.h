// Extended controls: panels with bevels and a caption, radio groups of real radio button
// children, splitters that resize their neighbour, and images that show a picture.
#pragma once

#include <memory>
#include <vector>

#include "classlib/extctrls/Bevel.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

// Draws Width one-pixel frames just inside Rect (top and left edges in TopColor, bottom and
// right in BottomColor) and shrinks Rect by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// ---------------------------------------------------------------------------------------
// Panels

class TCustomPanel : public TCustomControl {
  VCL_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);

  // How the caption sits across the panel (it is always centred vertically).
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut Value);
  int BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int Value);
  // Space in the panel's colour between the outer and the inner bevel.
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int Value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);
  // Repaint the whole panel when it is resized (otherwise only the uncovered part).
  bool FullRepaint() const { return full_repaint_; }
  void SetFullRepaint(bool Value);
  // Kept for form descriptions; the panel always paints its own background.
  bool ParentBackground() const { return parent_background_; }
  void SetParentBackground(bool Value) { parent_background_ = Value; }

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) const override;
  void Paint() override;

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevel_inner_ = bvNone;
  TBevelCut bevel_outer_ = bvRaised;
  int bevel_width_ = 1;
  int border_width_ = 0;
  TBorderStyle border_style_ = TBorderStyle::bsNone;
  bool full_repaint_ = true;
  bool parent_background_ = true;
};

class TPanel : public TCustomPanel {
  VCL_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------------------
// Radio groups

class TCustomRadioGroup;

// One radio button of a radio group (a real child window); made and freed by its group.
class TGroupButton : public TRadioButton {
  VCL_CLASS(TGroupButton, TRadioButton)
 public:
  TGroupButton(TCustomRadioGroup* Group);
  ~TGroupButton() override;

 protected:
  void Click() override;

 private:
  friend class TCustomRadioGroup;
  TCustomRadioGroup* group_;
};

class TCustomRadioGroup : public TCustomGroupBox {
  VCL_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  void BeforeDestruction() override;

  // One radio button per item.
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  // The checked item, -1 for none. Setting an item checks its button, which fires OnClick;
  // setting -1 unchecks the button and fires nothing. The user's choice of another item
  // fires OnClick once.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int Value);
  // The buttons fill the columns top to bottom, one column after the other.
  int Columns() const { return columns_; }
  void SetColumns(int Value);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int Index) const;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;

 private:
  friend class TGroupButton;
  void ButtonClick(TGroupButton* Button);
  void ButtonGone(TGroupButton* Button);
  void ItemsChange(TObject* Sender);
  void UpdateButtons();
  void SetButtonCount(int Count);
  void ArrangeButtons();

  std::unique_ptr<TStringList> items_;
  std::vector<TGroupButton*> buttons_;
  int item_index_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
  VCL_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// ---------------------------------------------------------------------------------------
// Splitters

VCL_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)
using enum TResizeStyle;

using TCanResizeEvent = Event<void(TObject* Sender, int& NewSize, bool& Accept)>;

// Dragged with the mouse, a splitter resizes the control aligned to the same edge just
// before it (the one it touches on the side of its alignment).
class TSplitter : public TGraphicControl {
  VCL_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* AOwner);
  ~TSplitter() override;

  // A size at or below MinSize snaps to 0 (hides the neighbour) while AutoSnap is on.
  bool AutoSnap() const { return auto_snap_; }
  void SetAutoSnap(bool Value) { auto_snap_ = Value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool Value);
  int MinSize() const { return min_size_; }
  void SetMinSize(int Value);
  // rsUpdate resizes while dragging; rsLine and rsPattern show where it will go.
  TResizeStyle ResizeStyle() const { return resize_style_; }
  void SetResizeStyle(TResizeStyle Value) { resize_style_ = Value; }

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;
  TNotifyEvent OnPaint;

  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void RequestAlign() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  class LineDC;

  TControl* FindSizedControl() const;
  void CalcSplitSize(int X, int Y, int& NewSize, int& Split) const;
  bool DoCanResize(int& NewSize);
  void UpdateControlSize();
  void DrawLine();
  void StopSizing();

  bool auto_snap_ = true;
  bool beveled_ = false;
  int min_size_ = 30;
  TResizeStyle resize_style_ = rsPattern;
  // The drag in progress.
  TControl* control_ = nullptr;
  TPoint down_pos_;
  int max_size_ = 0;
  int new_size_ = 0;
  int old_size_ = -1;
  int split_ = 0;
  bool line_visible_ = false;
  std::unique_ptr<LineDC> line_dc_;
};

// ---------------------------------------------------------------------------------------
// Images

class TImage : public TGraphicControl {
  VCL_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* Value) { picture_->Assign(Value); }
  // The control takes the picture's size (its width and height then follow the picture,
  // whatever is asked, except along the edge it is aligned to).
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool Value);
  bool Center() const { return center_; }
  void SetCenter(bool Value);
  // Stretch: the picture fills the control. Proportional: it keeps its aspect ratio and
  // shrinks (never grows, unless Stretch) to fit.
  bool Stretch() const { return stretch_; }
  void SetStretch(bool Value);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool Value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;
  // Where the picture is drawn within the control.
  TRect DestRect() const;

 private:
  void PictureChanged(TObject* Sender);

  std::unique_ptr<TPicture> picture_;
  bool auto_size_ = false;
  bool center_ = false;
  bool stretch_ = false;
  bool proportional_ = false;
  bool transparent_ = false;
};

// The unit's start-up makes its classes known to form descriptions (registered in its source
// file, which every program linking the library links).
namespace detail {
void InitExtCtrlsUnit();
}  // namespace detail

}  // namespace vcl
