// Date-time values and pickers, and header controls, on real windows and their notifications.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

SYSTEMTIME Time(WORD y, WORD m, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  return SYSTEMTIME{y, m, 0, d, h, mi, s, ms};
}

// Date-time values

TEST(DateTimeValues, DaysCountFrom30December1899WithTheTimeAsTheFraction) {
  SYSTEMTIME st{};
  ASSERT_TRUE(TryDateTimeToSystemTime(0.0, st));
  EXPECT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay, 18991230);
  EXPECT_EQ(st.wDayOfWeek, 6);  // a Saturday
  ASSERT_TRUE(TryDateTimeToSystemTime(45000.75, st));
  EXPECT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay, 20230315);
  EXPECT_EQ(st.wDayOfWeek, 3);
  EXPECT_EQ(st.wHour, 18);

  // Before day 0 the fraction still counts forward from the day's start.
  ASSERT_TRUE(TryDateTimeToSystemTime(-1.25, st));
  EXPECT_EQ(st.wDay, 29);
  EXPECT_EQ(st.wHour, 6);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(st), -1.25);

  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(Time(2024, 2, 29, 12)), 45351.5);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(Time(1601, 1, 1)), -109205.0);
  // Round trip to the millisecond.
  ASSERT_TRUE(TryDateTimeToSystemTime(SystemTimeToDateTime(Time(2031, 12, 31, 23, 59, 59, 999)), st));
  EXPECT_EQ(st.wSecond * 1000 + st.wMilliseconds, 59999);

  // Outside what the system can hold.
  EXPECT_FALSE(TryDateTimeToSystemTime(-109206.0, st));  // 31 December 1600
  EXPECT_FALSE(TryDateTimeToSystemTime(1e12, st));
  EXPECT_FALSE(TryDateTimeToSystemTime(std::nan(""), st));
  EXPECT_FALSE(TryDateTimeToSystemTime(INFINITY, st));
  GetLocalTime(&st);
  EXPECT_NEAR(Now(), SystemTimeToDateTime(st), 1.0 / 24);
}

// Date-time picker

SYSTEMTIME WindowTime(HWND wnd, LRESULT* kind = nullptr) {
  SYSTEMTIME st{};
  const LRESULT r = SendMessageW(wnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  if (kind) *kind = r;
  return st;
}

TEST(DateTimePickerWindow, TheValueLimitsAndKindReachTheWindow) {
  auto form = ShownForm();
  auto* dtp = Put<TDateTimePicker>(form.get());
  dtp->SetDateTime(45000.5);
  HWND wnd = dtp->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TDateTimePicker");
  SYSTEMTIME st = WindowTime(wnd);
  EXPECT_EQ(st.wDay, 15);
  EXPECT_EQ(st.wHour, 12);
  EXPECT_DOUBLE_EQ(dtp->Time(), 0.5);

  // The date and the time change apart.
  dtp->SetDate(45351.9);
  dtp->SetTime(0.25);
  EXPECT_DOUBLE_EQ(dtp->DateTime(), 45351.25);
  st = WindowTime(wnd);
  EXPECT_EQ(st.wMonth * 100 + st.wDay, 229);
  EXPECT_EQ(st.wHour, 6);

  // Limits: the window's range, and values kept inside them.
  dtp->SetMinDate(45000.0);
  dtp->SetMaxDate(45400.0);
  SYSTEMTIME range[2] = {};
  const auto flags = SendMessageW(wnd, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
  EXPECT_EQ(flags & (GDTR_MIN | GDTR_MAX), GDTR_MIN | GDTR_MAX);
  EXPECT_EQ(range[0].wYear, 2023);
  dtp->SetDate(46000.0);
  EXPECT_DOUBLE_EQ(dtp->Date(), 45400.0);
  EXPECT_THROW(dtp->SetDateTime(1e12), EConvertError);

  // A cleared check box leaves no value in the window.
  dtp->SetShowCheckbox(true);
  wnd = dtp->Handle();
  EXPECT_NE(StyleOf(wnd) & DTS_SHOWNONE, 0);
  dtp->SetChecked(false);
  LRESULT kind = 0;
  WindowTime(wnd, &kind);
  EXPECT_EQ(kind, GDT_NONE);
  EXPECT_FALSE(dtp->Checked());
  EXPECT_DOUBLE_EQ(dtp->Date(), 45400.0);  // kept for when it is checked again
  dtp->SetChecked(true);
  WindowTime(wnd, &kind);
  EXPECT_EQ(kind, GDT_VALID);

  dtp->SetKind(dtkTime);
  EXPECT_NE(StyleOf(dtp->Handle()) & DTS_TIMEFORMAT, 0);
  dtp->SetKind(dtkDate);
  dtp->SetDateMode(dmUpDown);
  EXPECT_NE(StyleOf(dtp->Handle()) & DTS_UPDOWN, 0);
  EXPECT_DOUBLE_EQ(dtp->DateTime(), 45400.25);  // the new windows kept the value
}

TEST(DateTimePickerEvents, TheUsersChangeInTheWindowFiresOnChange) {
  auto form = ShownForm();
  auto* dtp = Put<TDateTimePicker>(form.get());
  dtp->SetDateMode(dmUpDown);
  dtp->SetFormat(L"yyyy'-'MM'-'dd");
  dtp->SetDateTime(45000.0);
  struct Changes {
    int count = 0;
    TDateTime last = 0;
    void Change(TObject* Sender) {
      ++count;
      last = static_cast<TDateTimePicker*>(Sender)->DateTime();
    }
  } changes;
  dtp->OnChange = TNotifyEvent::Bind<&Changes::Change>(&changes);
  HWND wnd = dtp->Handle();
  // The user moves to a field and presses the up arrow: one field of the date goes up.
  dtp->SetFocus();
  for (WPARAM key : {WPARAM{VK_RIGHT}, WPARAM{VK_UP}}) {
    SendMessageW(wnd, WM_KEYDOWN, key, 0);
    SendMessageW(wnd, WM_KEYUP, key, 0);
  }
  Pump();
  EXPECT_GE(changes.count, 1);
  // The event saw the value the window shows.
  const TDateTime shown = SystemTimeToDateTime(WindowTime(wnd));
  EXPECT_DOUBLE_EQ(changes.last, shown);
  EXPECT_GT(shown, 45000.0);
  // A new window keeps the user's value.
  dtp->SetDateMode(dmComboBox);
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(WindowTime(dtp->Handle())), shown);
}

// Header control

String ItemText(HWND wnd, int index, int* format = nullptr, int* image = nullptr, int* width = nullptr) {
  wchar_t buffer[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_WIDTH;
  item.pszText = buffer;
  item.cchTextMax = 64;
  SendMessageW(wnd, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  if (format) *format = item.fmt;
  if (image) *image = item.iImage;
  if (width) *width = item.cxy;
  return buffer;
}

TRect ItemRect(HWND wnd, int index) {
  RECT r{};
  SendMessageW(wnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

THeaderSection* AddSection(THeaderControl* hc, const String& text, int width) {
  THeaderSection* s = hc->Sections()->Add();
  s->SetText(text);
  s->SetWidth(width);
  return s;
}

struct HeaderEvents {
  std::vector<THeaderSection*> clicks;
  std::vector<THeaderSection*> resizes;
  std::vector<std::pair<TSectionTrackState, int>> tracks;
  std::vector<std::pair<THeaderSection*, TRect>> draws;
  void Click(THeaderControl*, THeaderSection* S) { clicks.push_back(S); }
  void Resize(THeaderControl*, THeaderSection* S) { resizes.push_back(S); }
  void Track(THeaderControl*, THeaderSection*, int Width, TSectionTrackState State) { tracks.emplace_back(State, Width); }
  void Draw(THeaderControl* H, THeaderSection* S, const TRect& R, bool) {
    draws.emplace_back(S, R);
    H->Canvas()->Brush()->SetColor(clFuchsia);
    H->Canvas()->FillRect(R);
  }
  void Wire(THeaderControl* hc) {
    hc->OnSectionClick = TSectionNotifyEvent::Bind<&HeaderEvents::Click>(this);
    hc->OnSectionResize = TSectionNotifyEvent::Bind<&HeaderEvents::Resize>(this);
    hc->OnSectionTrack = TSectionTrackEvent::Bind<&HeaderEvents::Track>(this);
    hc->OnDrawSection = TDrawSectionEvent::Bind<&HeaderEvents::Draw>(this);
  }
};

TEST(HeaderControlWindow, SectionsAreTheWindowsItemsWithTheirTextsWidthsAndFormats) {
  auto form = ShownForm();
  auto* hc = Put<THeaderControl>(form.get());
  AddSection(hc, L"编号", 40);
  THeaderSection* name = AddSection(hc, L"版块名", 160);
  name->SetAlignment(taCenter);
  name->SetImageIndex(1);
  THeaderSection* code = AddSection(hc, L"代码", 60);
  HWND wnd = hc->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"THeaderControl");
  ASSERT_EQ(SendMessageW(wnd, HDM_GETITEMCOUNT, 0, 0), 3);
  int format = 0, image = 0, width = 0;
  EXPECT_EQ(ItemText(wnd, 1, &format, &image, &width), L"版块名");
  EXPECT_EQ(format & HDF_JUSTIFYMASK, HDF_CENTER);
  EXPECT_NE(format & HDF_IMAGE, 0);
  EXPECT_EQ(image, 1);
  EXPECT_EQ(width, 160);
  EXPECT_EQ(code->Left(), 200);
  EXPECT_EQ(ItemRect(wnd, 2).Left, 200);
  EXPECT_EQ(ItemRect(wnd, 2).Right, code->Right());

  code->SetText(L"代码片段");
  EXPECT_EQ(ItemText(wnd, 2), L"代码片段");
  hc->Sections()->Delete(0);
  ASSERT_EQ(SendMessageW(wnd, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(ItemText(wnd, 0), L"版块名");
  // Widths stay within the limits.
  code->SetMaxWidth(100);
  code->SetWidth(300);
  EXPECT_EQ(code->Width(), 100);
  ItemText(wnd, 1, nullptr, nullptr, &width);
  EXPECT_EQ(width, 100);

  hc->SetHotTrack(true);
  wnd = hc->Handle();
  EXPECT_NE(StyleOf(wnd) & HDS_HOTTRACK, 0);
  EXPECT_EQ(SendMessageW(wnd, HDM_GETITEMCOUNT, 0, 0), 2);
}

TEST(HeaderControlEvents, ClicksAndDividerDragsComeFromTheWindow) {
  auto form = ShownForm();
  auto* hc = Put<THeaderControl>(form.get());
  THeaderSection* first = AddSection(hc, L"a", 80);
  THeaderSection* second = AddSection(hc, L"b", 80);
  second->SetAllowClick(false);
  HeaderEvents events;
  events.Wire(hc);
  HWND wnd = hc->Handle();
  UpdateWindow(wnd);

  const int y = hc->Height() / 2;
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(40, y));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(40, y));
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(120, y));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(120, y));
  ASSERT_EQ(events.clicks.size(), 1u);  // the second section takes no clicks
  EXPECT_EQ(events.clicks[0], first);

  // The user drags the first divider 30 pixels to the right.
  first->SetMaxWidth(105);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(80, y));
  SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(95, y));
  SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(110, y));
  SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(110, y));
  Pump();
  // Kept within its limit, in the window too.
  EXPECT_EQ(first->Width(), 105);
  int width = 0;
  ItemText(wnd, 0, nullptr, nullptr, &width);
  EXPECT_EQ(width, 105);
  EXPECT_EQ(second->Left(), 105);
  ASSERT_FALSE(events.resizes.empty());
  EXPECT_EQ(events.resizes.back(), first);
  ASSERT_GE(events.tracks.size(), 2u);
  EXPECT_EQ(events.tracks.front().first, tsTrackBegin);
  EXPECT_EQ(events.tracks.back().first, tsTrackEnd);
  for (auto [state, w] : events.tracks) EXPECT_LE(w, 105);
}

TEST(HeaderControlDraw, OwnerDrawnSectionsArePaintedByOnDrawSection) {
  auto form = ShownForm();
  auto* hc = Put<THeaderControl>(form.get());
  AddSection(hc, L"text", 80);
  THeaderSection* drawn = AddSection(hc, L"", 80);
  drawn->SetStyle(hsOwnerDraw);
  HeaderEvents events;
  events.Wire(hc);
  HWND wnd = hc->Handle();
  int format = 0;
  ItemText(wnd, 1, &format);
  EXPECT_NE(format & HDF_OWNERDRAW, 0);

  TBitmap bmp;
  bmp.SetWidth(hc->Width());
  bmp.SetHeight(hc->Height());
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  ASSERT_EQ(events.draws.size(), 1u);
  EXPECT_EQ(events.draws[0].first, drawn);
  EXPECT_EQ(events.draws[0].second, ItemRect(wnd, 1));
  EXPECT_EQ(bmp.Canvas()->Pixels(120, hc->Height() / 2), clFuchsia);
  EXPECT_NE(bmp.Canvas()->Pixels(40, hc->Height() / 2), clFuchsia);
}

}  // namespace
}  // namespace vcl::testing
