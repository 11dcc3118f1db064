// What controls offer the engines to draw by: reading order, bevels and the list view's lent canvas.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/rtl/SysInfo.h"
#include "controls_support.h"

#include <commctrl.h>

namespace vcl::testing {
namespace {

FormPtr NewForm(int w = 240, int h = 160) {
  FormPtr f(new TForm(nullptr, 0));
  f->SetClientSize(w, h);
  return f;
}

// The system set up for right-to-left scripts (or not) for one scope.
class LocaleScope {
 public:
  explicit LocaleScope(bool MiddleEast) {
    TSysLocale l = SysLocale();
    l.MiddleEast = MiddleEast;
    SetSysLocale(l);
  }
  ~LocaleScope() { SetSysLocale(std::nullopt); }
};

// Reading order

TEST(BiDiMode, DrawTextFlagsFollowTheModeOnARightToLeftSystemOnly) {
  TRecordingPanel control(nullptr);
  struct Case {
    TBiDiMode mode;
    UINT in, out;
  };
  {
    const LocaleScope rtl(true);
    const Case cases[] = {
        {bdLeftToRight, DT_LEFT, DT_LEFT},
        {bdLeftToRight, DT_RIGHT, DT_RIGHT},
        {bdRightToLeft, DT_LEFT | DT_SINGLELINE, DT_RIGHT | DT_SINGLELINE | DT_RTLREADING},
        {bdRightToLeft, DT_RIGHT, DT_RTLREADING},
        {bdRightToLeft, DT_CENTER | DT_VCENTER, DT_CENTER | DT_VCENTER | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_LEFT, DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
    };
    for (const Case& c : cases) {
      control.SetBiDiMode(c.mode);
      EXPECT_EQ(control.DrawTextBiDiModeFlags(c.in), c.out) << static_cast<int>(c.mode) << " " << c.in;
    }
    control.SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_TRUE(control.UseRightToLeftReading());
    EXPECT_FALSE(control.UseRightToLeftAlignment());
    EXPECT_TRUE(control.UseRightToLeftScrollBar());
  }
  const LocaleScope ltr(false);
  control.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(control.DrawTextBiDiModeFlags(DT_LEFT), static_cast<UINT>(DT_LEFT));
  EXPECT_FALSE(control.IsRightToLeft());
}

TEST(BiDiMode, ChildrenAndFormsFollowTheirParentsAndTheApplication) {
  const LocaleScope rtl(true);
  auto form = NewForm();
  auto* panel = Put<TRecordingPanel>(form.get());
  auto* label = Put<TRecordingGraphic>(panel);
  Application->SetBiDiMode(bdRightToLeft);  // parentless forms follow the application
  EXPECT_EQ(form->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(label->BiDiMode(), bdRightToLeft);
  EXPECT_NE(GetWindowLongPtrW(panel->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING, 0);
  EXPECT_NE(GetWindowLongPtrW(panel->Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR, 0);
  auto later = NewForm();  // and so do forms made afterwards
  EXPECT_EQ(later->BiDiMode(), bdRightToLeft);

  panel->SetBiDiMode(bdLeftToRight);  // its own mode from now on
  EXPECT_FALSE(panel->ParentBiDiMode());
  EXPECT_EQ(label->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(GetWindowLongPtrW(panel->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING, 0);
  Application->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(form->BiDiMode(), bdLeftToRight);
  EXPECT_FALSE(Application->UseRightToLeftReading());
}

// Bevels and border widths

TEST(Bevels, TheyAndTheBorderWidthTakeTheirSpaceFromTheClientArea) {
  auto form = NewForm();
  auto* panel = Put<TRecordingPanel>(form.get(), 10, 10, 100, 80);
  panel->SetBevelWidth(2);  // no bevel kind yet: nothing changes
  EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 100, 80));
  panel->SetBevelKind(bkTile);
  EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 92, 72));  // outer and inner, 2 pixels each
  panel->SetBorderWidth(3);
  EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 86, 66));
  HWND wnd = panel->Handle();  // the window's client area is the same
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(TRect(client), Rect(0, 0, 86, 66));
  POINT origin{0, 0};
  MapWindowPoints(wnd, form->Handle(), &origin, 1);
  EXPECT_EQ(origin.x, 10 + 7);
  EXPECT_EQ(origin.y, 10 + 7);

  panel->SetBevelEdges({beLeft, beTop});  // changed on the living window
  GetClientRect(wnd, &client);
  EXPECT_EQ(TRect(client), Rect(0, 0, 90, 70));
  panel->SetBevelInner(bvNone);
  GetClientRect(wnd, &client);
  EXPECT_EQ(TRect(client), Rect(0, 0, 92, 72));

  // Aligned children fill what is left.
  auto* child = Put<TRecordingGraphic>(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 92, 72));
}

TEST(Bevels, PaintedInTheFrameWithTheBorderInTheControlsColour) {
  auto form = NewForm();
  auto* panel = Put<TRecordingPanel>(form.get(), 0, 0, 60, 40);
  panel->SetColor(clLime);
  panel->fill = clBlue;
  panel->SetBorderWidth(2);
  panel->SetBevelKind(bkTile);
  panel->SetBevelOuter(bvLowered);
  panel->SetBevelInner(bvRaised);
  panel->SetBevelWidth(2);
  panel->HandleNeeded();
  PixelTarget target(60, 40);
  panel->Perform(WM_PRINT, reinterpret_cast<WPARAM>(target.dc()), PRF_NONCLIENT | PRF_CLIENT);
  const auto sys = [](int index) { return static_cast<TColor>(GetSysColor(index)); };
  EXPECT_EQ(target.At(1, 20), clLime);                    // border width
  EXPECT_EQ(target.At(2, 20), sys(COLOR_BTNSHADOW));      // lowered outer bevel, left edge
  EXPECT_EQ(target.At(3, 20), sys(COLOR_BTNHIGHLIGHT));   // raised inner bevel
  EXPECT_EQ(target.At(5, 20), clLime);                    // the rest of the bevel width
  EXPECT_EQ(target.At(6, 20), clBlue);                    // the client area
  EXPECT_EQ(target.At(57, 20), sys(COLOR_BTNHIGHLIGHT));  // lowered outer bevel, right edge
  EXPECT_EQ(target.At(30, 37), sys(COLOR_BTNHIGHLIGHT));  // and bottom
}

// The list view's canvas

TEST(ListViewCanvas, CustomDrawEventsPaintThroughTheLentCanvas) {
  auto form = NewForm(200, 120);
  form->Show();
  auto* view = Put<TListView>(form.get(), 0, 0, 200, 120);
  view->SetViewStyle(vsReport);
  view->Columns()->Add()->SetWidth(150);
  view->Items()->Add()->SetCaption(L"first");
  view->Items()->Add()->SetCaption(L"second");
  struct Painter {
    std::vector<TListItem*> items;
    int whole = 0;
    void Whole(TCustomListView*, const TRect&, bool&) { ++whole; }
    void Item(TCustomListView* sender, TListItem* item, TCustomDrawState, bool& defaultDraw) {
      items.push_back(item);
      if (item->Index() != 1) return;
      RECT r{};
      ListView_GetItemRect(sender->Handle(), 1, &r, LVIR_BOUNDS);
      sender->Canvas()->Brush()->SetColor(clRed);
      sender->Canvas()->FillRect(r);
      defaultDraw = false;
    }
  } painter;
  view->OnCustomDraw = TLVCustomDrawEvent::Bind<&Painter::Whole>(&painter);
  view->OnCustomDrawItem = TLVCustomDrawItemEvent::Bind<&Painter::Item>(&painter);
  PixelTarget target(200, 120);
  view->Perform(WM_PRINT, reinterpret_cast<WPARAM>(target.dc()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_GE(painter.whole, 1);
  ASSERT_GE(painter.items.size(), 2u);
  RECT rect{};
  ListView_GetItemRect(view->Handle(), 1, &rect, LVIR_BOUNDS);
  const TRect second(rect);
  POINT origin{0, 0};
  MapWindowPoints(view->Handle(), nullptr, &origin, 1);
  RECT window{};
  GetWindowRect(view->Handle(), &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  EXPECT_EQ(target.At(dx + second.Left + 5, dy + (second.Top + second.Bottom) / 2), clRed);
  EXPECT_EQ(view->Canvas()->CurrentHandle(), nullptr);  // let go after the paint
}

}  // namespace
}  // namespace vcl::testing
