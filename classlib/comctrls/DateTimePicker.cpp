// TDateTimePicker (a superclass of SysDateTimePick32) and the library's date-time values.
#include "classlib/comctrls/DateTimePicker.h"

#include <cmath>

#include <commctrl.h>

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

// ---------------------------------------------------------------------------------------
// Date-time values

namespace {

// Days between 1 January 1970 and a date of the proleptic Gregorian calendar, and back.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

// 30 December 1899, day 0 of the library's values, counted from 1 January 1970.
constexpr int64_t kEpochDays = -25569;
constexpr int64_t kMsPerDay = 86400000;

}  // namespace

bool TryDateTimeToSystemTime(TDateTime Value, SYSTEMTIME& Result) {
  // Years 1601 to 30827 lie well inside these bounds; the check keeps the casts defined.
  if (!std::isfinite(Value) || Value < -200000.0 || Value > 11000000.0) return false;
  // A negative value is a day before day 0 with the fraction as its time, counted forward.
  auto days = static_cast<int64_t>(std::trunc(Value));
  int64_t ms = std::llround(std::fabs(Value - static_cast<double>(days)) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days + kEpochDays, y, m, d);
  if (y < 1601 || y > 30827) return false;
  Result = SYSTEMTIME{};
  Result.wYear = static_cast<WORD>(y);
  Result.wMonth = static_cast<WORD>(m);
  Result.wDay = static_cast<WORD>(d);
  // Day 0 was a Saturday.
  Result.wDayOfWeek = static_cast<WORD>(((days + 6) % 7 + 7) % 7);
  Result.wHour = static_cast<WORD>(ms / 3600000);
  Result.wMinute = static_cast<WORD>(ms / 60000 % 60);
  Result.wSecond = static_cast<WORD>(ms / 1000 % 60);
  Result.wMilliseconds = static_cast<WORD>(ms % 1000);
  return true;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& Value) {
  const int64_t days = DaysFromCivil(Value.wYear, Value.wMonth, Value.wDay) - kEpochDays;
  const double time =
      static_cast<double>(((Value.wHour * 60 + Value.wMinute) * 60 + Value.wSecond) * 1000 + Value.wMilliseconds) /
      static_cast<double>(kMsPerDay);
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

TDateTime Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return SystemTimeToDateTime(now);
}

// ---------------------------------------------------------------------------------------
// TDateTimePicker

VCL_CLASS_INFO(TDateTimePicker) {
  publish::Align(p);
  publish::Anchors(p);
  publish::Bounds(p);
  p.Enum<&TDateTimePicker::CalAlignment, &TDateTimePicker::SetCalAlignment>(
      L"CalAlignment", static_cast<int64_t>(dtaLeft));
  p.Bool<&TDateTimePicker::Checked, &TDateTimePicker::SetChecked>(L"Checked", true);
  publish::Color(p, clWindow);
  p.Float<&TDateTimePicker::Date, &TDateTimePicker::SetDate>(L"Date");
  p.Enum<&TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat>(L"DateFormat", static_cast<int64_t>(dfShort));
  p.Enum<&TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode>(L"DateMode", static_cast<int64_t>(dmComboBox));
  publish::Enabled(p);
  publish::Font(p);
  p.String<&TDateTimePicker::Format, &TDateTimePicker::SetFormat>(L"Format");
  publish::Hints(p);
  p.Enum<&TDateTimePicker::Kind, &TDateTimePicker::SetKind>(L"Kind", static_cast<int64_t>(dtkDate));
  p.Float<&TDateTimePicker::MaxDate, &TDateTimePicker::SetMaxDate>(L"MaxDate").Stored =
      [](const TObject* o) { return static_cast<const TDateTimePicker*>(o)->MaxDate() != 0; };
  p.Float<&TDateTimePicker::MinDate, &TDateTimePicker::SetMinDate>(L"MinDate").Stored =
      [](const TObject* o) { return static_cast<const TDateTimePicker*>(o)->MinDate() != 0; };
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Bool<&TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox>(L"ShowCheckbox", false);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  p.Float<&TDateTimePicker::Time, &TDateTimePicker::SetTime>(L"Time");
  publish::Visible(p);
  p.Event<&TDateTimePicker::OnChange>(L"OnChange");
  p.Event<&TDateTimePicker::OnCloseUp>(L"OnCloseUp");
  publish::OnContextPopup(p);
  p.Event<&TDateTimePicker::OnDropDown>(L"OnDropDown");
  publish::KeyEvents(p);
  p.Event<&TControl::OnClick>(L"OnClick");
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
  // The window tracks the mouse itself (its drop-down calendar too).
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 186, 21);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  date_time_ = Now();
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  // The date classes are not among those the controls unit registers.
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_DATE_CLASSES;
  InitCommonControlsEx(&icc);
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, DATETIMEPICK_CLASSW);
  if (kind_ == dtkTime) {
    Params.Style |= DTS_TIMEFORMAT;
  } else {
    if (date_format_ == dfLong) Params.Style |= DTS_LONGDATEFORMAT;
    if (date_mode_ == dmUpDown) Params.Style |= DTS_UPDOWN;
  }
  if (show_checkbox_) Params.Style |= DTS_SHOWNONE;
  if (cal_alignment_ == dtaRight) Params.Style |= DTS_RIGHTALIGN;
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyFormat();
  ApplyRange();
  ApplyValue();
}

void TDateTimePicker::DestroyWnd() {
  date_time_ = DateTime();
  checked_ = Checked();
  TWinControl::DestroyWnd();
}

void TDateTimePicker::ApplyValue() {
  if (!HasWindow()) return;
  SYSTEMTIME st{};
  if (!TryDateTimeToSystemTime(date_time_, st)) GetLocalTime(&st);
  Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  // Some versions of the control want a time even when told there is none.
  if (show_checkbox_ && !checked_) Send(DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::ApplyRange() {
  if (!HasWindow()) return;
  SYSTEMTIME range[2] = {};
  WPARAM flags = 0;
  // Whole days: the latest day to its last millisecond.
  if (min_date_ != 0 && TryDateTimeToSystemTime(std::trunc(min_date_), range[0])) flags |= GDTR_MIN;
  if (max_date_ != 0 && TryDateTimeToSystemTime(std::trunc(max_date_), range[1])) {
    range[1].wHour = 23;
    range[1].wMinute = 59;
    range[1].wSecond = 59;
    range[1].wMilliseconds = 999;
    flags |= GDTR_MAX;
  }
  Send(DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
}

void TDateTimePicker::ApplyFormat() {
  if (HasWindow()) Send(DTM_SETFORMATW, 0, format_.empty() ? 0 : reinterpret_cast<LPARAM>(format_.c_str()));
}

TDateTime TDateTimePicker::DateTime() const {
  if (HasWindow()) {
    SYSTEMTIME st{};
    if (Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID) return SystemTimeToDateTime(st);
  }
  return date_time_;
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  SYSTEMTIME st{};
  if (!TryDateTimeToSystemTime(Value, st))
    throw EConvertError(L"Invalid date-time value: " + std::to_wstring(Value));
  // Within the limits, except while a description still sets them.
  if (!ComponentState().Contains(csReading)) {
    if (min_date_ != 0 && Value < std::trunc(min_date_)) Value = std::trunc(min_date_) + (Value - std::trunc(Value));
    if (max_date_ != 0 && Value >= std::trunc(max_date_) + 1) Value = std::trunc(max_date_) + (Value - std::trunc(Value));
  }
  date_time_ = Value;
  if (HasWindow()) {
    TryDateTimeToSystemTime(Value, st);
    Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    checked_ = true;
  }
}

TDate TDateTimePicker::Date() const { return std::trunc(DateTime()); }

void TDateTimePicker::SetDate(TDate Value) {
  const TDateTime now = DateTime();
  SetDateTime(std::trunc(Value) + (now - std::trunc(now)));
}

TTime TDateTimePicker::Time() const {
  const TDateTime now = DateTime();
  return std::fabs(now - std::trunc(now));
}

void TDateTimePicker::SetTime(TTime Value) {
  const TDateTime now = DateTime();
  const double date = std::trunc(now);
  const double time = std::fabs(Value - std::trunc(Value));
  SetDateTime(date >= 0 ? date + time : date - time);
}

void TDateTimePicker::SetMinDate(TDate Value) {
  if (min_date_ == Value) return;
  SYSTEMTIME st{};
  if (Value != 0 && !TryDateTimeToSystemTime(Value, st))
    throw EConvertError(L"Invalid date-time value: " + std::to_wstring(Value));
  min_date_ = Value;
  ApplyRange();
}

void TDateTimePicker::SetMaxDate(TDate Value) {
  if (max_date_ == Value) return;
  SYSTEMTIME st{};
  if (Value != 0 && !TryDateTimeToSystemTime(Value, st))
    throw EConvertError(L"Invalid date-time value: " + std::to_wstring(Value));
  max_date_ = Value;
  ApplyRange();
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (kind_ == Value) return;
  kind_ = Value;
  RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
  if (date_format_ == Value) return;
  date_format_ = Value;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
  if (date_mode_ == Value) return;
  date_mode_ = Value;
  RecreateWnd();
}

void TDateTimePicker::SetCalAlignment(TDTCalAlignment Value) {
  if (cal_alignment_ == Value) return;
  cal_alignment_ = Value;
  RecreateWnd();
}

void TDateTimePicker::SetFormat(const String& Value) {
  if (format_ == Value) return;
  format_ = Value;
  ApplyFormat();
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
  if (show_checkbox_ == Value) return;
  show_checkbox_ = Value;
  RecreateWnd();
}

bool TDateTimePicker::Checked() const {
  if (show_checkbox_ && HasWindow()) {
    SYSTEMTIME st{};
    return Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID;
  }
  return checked_;
}

void TDateTimePicker::SetChecked(bool Value) {
  date_time_ = DateTime();
  checked_ = Value;
  if (show_checkbox_) ApplyValue();
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HasWindow() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  switch (header->code) {
    case DTN_DATETIMECHANGE: {
      const auto* info = reinterpret_cast<const NMDATETIMECHANGE*>(header);
      checked_ = info->dwFlags == GDT_VALID;
      if (checked_) date_time_ = SystemTimeToDateTime(info->st);
      Change();
      break;
    }
    case DTN_DROPDOWN:
      if (OnDropDown) OnDropDown(this);
      break;
    case DTN_CLOSEUP:
      if (OnCloseUp) OnCloseUp(this);
      break;
    default:
      break;
  }
  Message.Result = 0;
}

void TDateTimePicker::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    HandleNotify(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

}  // namespace vcl
