// Track bars: a superclass of the system's msctls_trackbar32 whose window class is the
// library's class name ("TTrackBar"). The system draws the channel, ticks and thumb (skin
// engines take over through its custom-draw notifications); moving the thumb fires OnChange.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

VCL_ENUM(TTrackBarOrientation, trHorizontal, trVertical)
using enum TTrackBarOrientation;

VCL_ENUM(TTickMark, tmBottomRight, tmTopLeft, tmBoth)
using enum TTickMark;

VCL_ENUM(TTickStyle, tsNone, tsAuto, tsManual)
using enum TTickStyle;

class TTrackBar : public TWinControl {
  VCL_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* AOwner);

  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  // Kept within Min and Max.
  int Position() const;
  void SetPosition(int Value);
  // Ticks every Frequency positions (TickStyle tsAuto).
  int Frequency() const { return frequency_; }
  void SetFrequency(int Value);
  // The steps of the arrow keys and of a click beside the thumb.
  int LineSize() const { return line_size_; }
  void SetLineSize(int Value);
  int PageSize() const { return page_size_; }
  void SetPageSize(int Value);
  // The range shown selected in the channel (both 0: none).
  int SelStart() const { return sel_start_; }
  void SetSelStart(int Value);
  int SelEnd() const { return sel_end_; }
  void SetSelEnd(int Value);
  int ThumbLength() const { return thumb_length_; }
  void SetThumbLength(int Value);
  bool SliderVisible() const { return slider_visible_; }
  void SetSliderVisible(bool Value);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation Value);
  TTickMark TickMarks() const { return tick_marks_; }
  void SetTickMarks(TTickMark Value);
  TTickStyle TickStyle() const { return tick_style_; }
  void SetTickStyle(TTickStyle Value);
  // A tick at one position (TickStyle tsManual).
  void SetTick(int Value);

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Changed();

 private:
  void ApplyRange();
  void ApplySelection();
  void CNScroll(TMessage& Message);

  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  int frequency_ = 1;
  int line_size_ = 1;
  int page_size_ = 2;
  int sel_start_ = 0;
  int sel_end_ = 0;
  int thumb_length_ = 20;
  bool slider_visible_ = true;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickMark tick_marks_ = tmBottomRight;
  TTickStyle tick_style_ = tsAuto;
};

}  // namespace vcl
