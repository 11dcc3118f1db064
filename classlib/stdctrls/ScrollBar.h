// Scroll bar controls on the system SCROLLBAR class, in a window of the library's class name
// ("TScrollBar"). The position moves by SmallChange (arrows), LargeChange (the track) or the
// thumb; OnScroll sees every move and may change it, OnChange follows each new position.
#pragma once

#include "classlib/forms/ScrollBox.h"

namespace vcl {

using TScrollEvent = Event<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
  VCL_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* AOwner);

  // Changing the kind turns the bar (its width and height are exchanged).
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind Value);
  int Min() const { return min_; }
  void SetMin(int Value) { SetParams(position_, Value, max_); }
  int Max() const { return max_; }
  void SetMax(int Value) { SetParams(position_, min_, Value); }
  int Position() const { return position_; }
  void SetPosition(int Value) { SetParams(Value, min_, max_); }
  // The thumb's share of the range; 0 for the system's square thumb.
  int PageSize() const { return page_size_; }
  void SetPageSize(int Value);
  int SmallChange() const { return small_change_; }
  void SetSmallChange(int Value) { small_change_ = Value; }
  int LargeChange() const { return large_change_; }
  void SetLargeChange(int Value) { large_change_ = Value; }
  // Position, Min and Max at once; a range whose Max is below Min (or below PageSize) raises
  // EInvalidOperation; the position is kept inside the range.
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;

 private:
  // The last position the thumb reaches (the page ends at Max).
  int LastPosition() const;
  void PutOnWindow(bool Redraw);
  void CNScroll(TMessage& Message);
  void CNCtlColorScrollBar(TMessage& Message);

  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int page_size_ = 0;
  int small_change_ = 1;
  int large_change_ = 1;
};

}  // namespace vcl
