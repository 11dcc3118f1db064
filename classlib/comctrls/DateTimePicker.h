// Date and time pickers: a superclass of the system's SysDateTimePick32 whose window class is
// the library's class name ("TDateTimePicker"), with the library's date-time values.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

// A point in time as the library keeps it: whole days since 30 December 1899, the time of
// day as the fraction.
using TDateTime = double;
using TDate = TDateTime;
using TTime = TDateTime;

// The system's form of a date-time (years 1601 to 30827; the milliseconds rounded); false
// for a value outside that range or not a number.
bool TryDateTimeToSystemTime(TDateTime Value, SYSTEMTIME& Result);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& Value);
// The local date and time now.
TDateTime Now();

VCL_ENUM(TDateTimeKind, dtkDate, dtkTime)
using enum TDateTimeKind;

VCL_ENUM(TDTDateFormat, dfShort, dfLong)
using enum TDTDateFormat;

// The date picked in a dropped calendar, or with arrows beside the text.
VCL_ENUM(TDTDateMode, dmComboBox, dmUpDown)
using enum TDTDateMode;

// The side of the control the dropped calendar lines up with.
VCL_ENUM(TDTCalAlignment, dtaLeft, dtaRight)
using enum TDTCalAlignment;

class TDateTimePicker : public TWinControl {
  VCL_CLASS(TDateTimePicker, TWinControl)
 public:
  explicit TDateTimePicker(TComponent* AOwner);

  // The value shown (the window's while it exists).
  TDateTime DateTime() const;
  void SetDateTime(TDateTime Value);
  // Its date part (whole days), keeping the time, and its time part, keeping the date.
  TDate Date() const;
  void SetDate(TDate Value);
  TTime Time() const;
  void SetTime(TTime Value);
  // The earliest and latest values the user may pick; 0 for no limit.
  TDate MinDate() const { return min_date_; }
  void SetMinDate(TDate Value);
  TDate MaxDate() const { return max_date_; }
  void SetMaxDate(TDate Value);

  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind Value);
  TDTDateFormat DateFormat() const { return date_format_; }
  void SetDateFormat(TDTDateFormat Value);
  TDTDateMode DateMode() const { return date_mode_; }
  void SetDateMode(TDTDateMode Value);
  TDTCalAlignment CalAlignment() const { return cal_alignment_; }
  void SetCalAlignment(TDTCalAlignment Value);
  // The system's display format ("yyyy'年'M'月'd'日'"); empty for the Kind's and DateFormat's.
  const String& Format() const { return format_; }
  void SetFormat(const String& Value);
  // A check box that, cleared, leaves the control without a value.
  bool ShowCheckbox() const { return show_checkbox_; }
  void SetShowCheckbox(bool Value);
  bool Checked() const;
  void SetChecked(bool Value);

  void Dispatch(TMessage& Message) override;

  // The user changed the value (or the check box).
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();

 private:
  void ApplyValue();
  void ApplyRange();
  void ApplyFormat();
  void HandleNotify(TMessage& Message);

  TDateTime date_time_ = 0;
  TDate min_date_ = 0;
  TDate max_date_ = 0;
  TDateTimeKind kind_ = dtkDate;
  TDTDateFormat date_format_ = dfShort;
  TDTDateMode date_mode_ = dmComboBox;
  TDTCalAlignment cal_alignment_ = dtaLeft;
  String format_;
  bool show_checkbox_ = false;
  bool checked_ = true;
};

}  // namespace vcl
