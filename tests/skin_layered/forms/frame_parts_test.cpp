// The parts of a skinned form's frame that stand on their own, each driven through a host of
// the test's own over a real form window: the window region and the frame's mouse.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms_support.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/FormAnimator.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormRegion.h"
#include "skin_layered/forms/FormScrollBars.h"
#include "skin_layered/forms/FrameMouse.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

vcl::TRect BoxOf(HRGN rgn) {
  RECT box{};
  GetRgnBox(rgn, &box);
  return vcl::TRect(box);
}

// A window image as wide as the test sets, without a shadow.
class TFakeImage : public TqvImageMeasures {
 public:
  vcl::TRect ShadowSize() const override { return {}; }
  int ImageWidth() const override { return width; }
  int OffsetX() const override { return 0; }
  int OffsetY() const override { return 0; }
  int width = 0;
};

// A provider's default options over the test's form, and what the form's measures ask of their
// host: no skin, no system menu, no title icon; the border form and the image are the test's.
class TBareMeasuresHost : public TqvFormMeasuresHost {
 public:
  explicit TBareMeasuresHost(vcl::TCustomForm* form) : options(nullptr) { options.Form = form; }
  TsSkinManager* SkinManager() const override { return nullptr; }
  TqvBorderForm* ExtBorderForm() const override { return border; }
  TsSystemMenu* CurrentSystemMenu() const override { return nullptr; }
  TsTitleIcon* TitleIcon() const override { return nullptr; }
  TqvFormScrollBars& ScrollBars() override { return bars; }
  bool MaximizedBorderLarge() const override { return false; }
  const TqvImageMeasures& WindowImage() const override { return image; }

  TqvProviderOptions options;
  TqvBorderForm* border = nullptr;
  TFakeImage image;
  std::uint32_t flags = 0;
  TqvFormScrollBars bars{options, flags};
  int titleIndex = -1, menuLines = -1;
};

// Answers the region what the test sets and the form's own measures; no skin, so the corner
// rectangles are the test's.
class TFakeRegionHost : public TqvFormRegionHost, public TBareMeasuresHost {
 public:
  explicit TFakeRegionHost(vcl::TCustomForm* form) : TBareMeasuresHost(form) {}
  TsSkinManager* SkinManager() const override { return nullptr; }
  TsSkinProviderBase* FrameProvider() override { return &options; }
  TqvBorderForm* ExtBorderForm() const override { return border; }
  const TqvFormMeasures& Measures() const override { return measures; }
  const TqvImageMeasures& WindowImage() const override { return image; }
  bool ShowsSnapshot() const override { return snapshot; }
  bool ImagePaintedWhole() const override { return painted; }

  TqvFormMeasures measures{*this, options, titleIndex, menuLines};
  bool snapshot = false, painted = true;
};

TEST(FormRegion, TheRegionIsTheHostsImageLessItsCornersWhenTheHostAllowsIt) {
  auto form = NewForm();
  form->SetBounds(0, 0, 400, 300);
  form->HandleNeeded();
  const HWND wnd = form->Handle();
  TFakeRegionHost host(form.get());
  // The image is wider than the window (a shadow's share): the region takes the image's width.
  host.image.width = 420;
  TqvFormRegion region(host);
  region.RgnRects = {vcl::Rect(0, 0, 3, 1), vcl::Rect(417, 0, 420, 1)};

  // Moved by (DX, DY), holes and all.
  HRGN moved = region.MakeRgn(5, 7);
  EXPECT_EQ(BoxOf(moved), vcl::Rect(5, 7, 425, 307));
  EXPECT_FALSE(PtInRegion(moved, 6, 7) || PtInRegion(moved, 423, 7));
  EXPECT_TRUE(PtInRegion(moved, 8, 7) && PtInRegion(moved, 6, 8));
  DeleteObject(moved);

  // Nothing while an animation shows a snapshot, nor while the provider leaves the frame to the
  // system; the region stays marked as changed.
  host.snapshot = true;
  region.UpdateFormRgn(false);
  host.snapshot = false;
  host.options.DrawNonClientArea = false;
  region.UpdateFormRgn(false);
  host.options.DrawNonClientArea = true;
  EXPECT_EQ(RegionBox(wnd), vcl::TRect());
  EXPECT_TRUE(region.RgnChanged);

  // A form that keeps its own region until the image was painted whole.
  MessageSpy above(form.get());
  above.answers[kRegionQueryMessage] = kRegionQueryValue;
  host.painted = false;
  region.UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(wnd), vcl::TRect());
  host.painted = true;
  host.image.width = 400;
  region.RgnRects = {vcl::Rect(0, 0, 3, 1), vcl::Rect(397, 0, 400, 1)};
  region.UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(wnd), vcl::Rect(0, 0, 400, 300));
  EXPECT_FALSE(InWindowRegion(wnd, 1, 0) || InWindowRegion(wnd, 398, 0));
  EXPECT_TRUE(InWindowRegion(wnd, 3, 0) && InWindowRegion(wnd, 200, 150));
  EXPECT_FALSE(region.RgnChanged);
  EXPECT_FALSE(region.SettingRgn);

  // With a border window only the client part of the window stays.
  TFakeBorderForm border(wnd, 30, GetSystemMetrics(SM_CYCAPTION));
  host.border = &border;
  region.UpdateFormRgn(true);
  const int frame = SysBorderWidth(wnd, nullptr, false);
  EXPECT_EQ(RegionBox(wnd), vcl::Rect(frame, frame + SysCaptionHeight(form.get()), 400 - frame, 300 - frame));
  host.border = nullptr;

  // A borderless form without a sizing frame keeps its own.
  SetWindowRgn(wnd, nullptr, FALSE);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  region.UpdateFormRgn(true);
  EXPECT_EQ(RegionBox(wnd), vcl::TRect());

  // Without a skin the corners are none.
  region.UpdateRgnRects();
  EXPECT_TRUE(region.RgnRects.empty());
}

// A region of the whole window is none: without corner holes the window keeps no region (one
// it had goes), and setting none again asks nothing of its frame. A repaint asked for then
// invalidates the frame, unless the caller paints it. An image narrower than the window, or
// any corner hole, still gives a region.
TEST(FormRegion, ARegionOfTheWholeWindowIsNone) {
  auto form = NewForm();
  form->SetBounds(0, 0, 400, 300);
  form->HandleNeeded();
  const HWND wnd = form->Handle();
  TFakeRegionHost host(form.get());
  TqvFormRegion region(host);

  host.image.width = 399;  // one column short of the window
  EXPECT_TRUE(region.UpdateFormRgn(false));
  EXPECT_EQ(RegionBox(wnd), vcl::Rect(0, 0, 399, 300));

  for (const int width : {400, 420}) {
    SCOPED_TRACE(width);
    host.image.width = width;
    SetWindowRgn(wnd, CreateRectRgn(0, 0, 399, 300), FALSE);
    EXPECT_TRUE(region.UpdateFormRgn(false));  // the region it had goes
    EXPECT_EQ(RegionBox(wnd), vcl::TRect());
    EXPECT_FALSE(region.RgnChanged);
    EXPECT_FALSE(region.SettingRgn);

    MessageSpy asked(form.get());
    EXPECT_FALSE(region.UpdateFormRgn(false));
    EXPECT_FALSE(region.UpdateFormRgn(true, false));
    EXPECT_EQ(asked.Count(WM_NCCALCSIZE), 0);
    EXPECT_EQ(RegionBox(wnd), vcl::TRect());
    ValidateRect(wnd, nullptr);
    form->Show();
    UpdateWindow(wnd);
    const int before = asked.Count(WM_NCPAINT);
    EXPECT_FALSE(region.UpdateFormRgn(true, false));
    UpdateWindow(wnd);
    EXPECT_EQ(asked.Count(WM_NCPAINT), before);  // the caller paints the frame
    EXPECT_FALSE(region.UpdateFormRgn(true));
    UpdateWindow(wnd);
    EXPECT_EQ(asked.Count(WM_NCPAINT), before + 1);  // the system's repaint does
    form->Hide();
  }

  // One corner hole: a region again, cut there.
  host.image.width = 400;
  region.RgnRects = {vcl::Rect(0, 0, 1, 1)};
  EXPECT_TRUE(region.UpdateFormRgn(false));
  EXPECT_EQ(RegionBox(wnd), vcl::Rect(0, 0, 400, 300));
  EXPECT_FALSE(InWindowRegion(wnd, 0, 0));
  EXPECT_TRUE(InWindowRegion(wnd, 1, 0));
}

// The measures the mouse tests lay the title out by: a frame 4 wide, a caption 24 high, one
// menu line 20 high (frame and lines as the test sets), a 16-pixel icon, no grip; the rest as
// the form without a skin gives them.
class TLayoutMeasures : public TqvFormMeasures {
 public:
  explicit TLayoutMeasures(TBareMeasuresHost& host)
      : TqvFormMeasures(host, host.options, host.titleIndex, host.menuLines) {}
  int CaptionHeight(bool) const override { return 24; }
  int SysCaptionHeightOfForm() const override { return 24; }
  int BorderWidthDef() const override { return frame; }
  bool HasBorder() const override { return true; }
  int MenuLinesCount() const override { return lines; }
  int MenuHeight() const override { return 20; }
  bool GripVisible() const override { return false; }
  bool IconVisible() const override { return true; }
  int TitleIconWidth() const override { return 16; }
  int TitleIconHeight() const override { return 16; }
  int BorderIconsTop() const override { return 0; }
  int frame = 4, lines = 1;
};

// What a title bar item hears: e enter, l leave, d down, u up, c click.
struct TItemEvents {
  std::string heard;
  void Enter(vcl::TObject*) { heard += 'e'; }
  void Leave(vcl::TObject*) { heard += 'l'; }
  void Down(vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { heard += 'd'; }
  void Up(vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { heard += 'u'; }
  void Click(vcl::TObject*) { heard += 'c'; }
  void Bind(TqvTitleBarItem* item) {
    item->OnMouseEnter = vcl::TNotifyEvent::Bind<&TItemEvents::Enter>(this);
    item->OnMouseLeave = vcl::TNotifyEvent::Bind<&TItemEvents::Leave>(this);
    item->OnMouseDown = vcl::TMouseEvent::Bind<&TItemEvents::Down>(this);
    item->OnMouseUp = vcl::TMouseEvent::Bind<&TItemEvents::Up>(this);
    item->OnClick = vcl::TNotifyEvent::Bind<&TItemEvents::Click>(this);
  }
};

// Answers the frame's mouse with the title's objects laid out by the test, the form's own
// system menu, no skin, and records what the mouse asks of it.
class TFakeMouseHost : public TqvFrameMouseHost,
                       public TqvCaptionButtonsHost,
                       public TqvCaptionItemsHost,
                       public TqvSysMenuOwner,
                       public TqvAnimatorHost,
                       public TBareMeasuresHost {
 public:
  explicit TFakeMouseHost(vcl::TCustomForm* form) : TBareMeasuresHost(form) { options.SkinData = data.get(); }
  ~TFakeMouseHost() override {
    if (menu) vcl::TObject::Free(menu);
  }
  // Shared by the interfaces.
  TsSkinManager* SkinManager() const override { return nullptr; }
  TsSkinProviderBase* FrameProvider() override { return &options; }
  TqvBorderForm* ExtBorderForm() const override { return nullptr; }
  TsSystemMenu* CurrentSystemMenu() const override { return menu; }
  const TqvFormMeasures& Measures() const override { return measures; }
  const TqvImageMeasures& WindowImage() const override { return image; }
  TsTitleButtons* TitleButtons() const override { return user.get(); }
  TsTitleBar* TitleBar() const override { return bar.get(); }
  TqvCaptionButtons& CaptionButtons() const override { return *buttons; }
  TqvCaptionItems& CaptionItems() const override { return *items; }
  bool Watched(const std::function<void()>& call) override {
    call();
    return true;
  }
  void UpdateGluedForms() override {}
  void KillTitleAnimations() override {}
  // The frame's mouse.
  void CallOldWndProc(vcl::TMessage& message) override { passed.push_back(message.Msg); }
  void MakeSystemMenu() override {
    if (!menu) menu = new TsSystemMenu(this);
  }
  TsSystemMenu* SystemMenuOf(vcl::TCustomForm*) const override { return nullptr; }
  bool StartButtonGlow(int, bool) override { return false; }
  void SetCaptionActive(bool) override {}
  vcl::TPoint FormOrigin() override { return WindowBox(options.Form->Handle()).TopLeft(); }
  vcl::TBitmap* TitleBackground() const override { return nullptr; }
  vcl::TPoint GripPos(int) override { return {}; }
  TqvFormScrollBars& ScrollBars() override { return bars; }
  void RefreshNonClient() override { ++refreshes; }
  void UpdateSysMenuStyle(bool) override {}
  bool OutlineSizing() const override { return false; }
  bool AllowBlendOnMoving() const override { return false; }
  void StartBlendOnMoving(bool) override {}
  TqvFormAnimator& Animator() override { return animator; }
  // The buttons' and items' own hosts: never asked here (nothing is painted without a skin).
  bool CaptionActive() const override { return true; }
  void UpdateFormRgn(bool) override {}
  // The system menu's owner.
  vcl::TComponent* SysMenuComponent() override { return nullptr; }
  vcl::TCustomForm* SysMenuForm() const override { return options.Form; }
  TqvSysSubMenu* SysSubMenu() const override { return nullptr; }
  void SetMinimizingFromMenu(bool) override {}

  std::unique_ptr<TsScrollWndData> data = std::make_unique<TsScrollWndData>(nullptr, false);
  TLayoutMeasures measures{*this};
  // The title bar: items 0 to 4 hidden, item 5 a button placed by the test.
  std::unique_ptr<TsTitleBar, void (*)(TsTitleBar*)> bar{vcl::Construct<TsTitleBar>(options.Form),
                                                        [](TsTitleBar* b) { vcl::TObject::Free(b); }};
  TqvTitleBarItem* item = nullptr;
  TItemEvents itemEvents;
  std::unique_ptr<TqvCaptionButtons> buttons = std::make_unique<TqvCaptionButtons>(*this);
  std::unique_ptr<TqvCaptionItems> items = std::make_unique<TqvCaptionItems>(*this);
  std::unique_ptr<TsTitleButtons> user = std::make_unique<TsTitleButtons>();
  TqvFormAnimator animator{options, *this, flags, nullptr};
  TsSystemMenu* menu = nullptr;
  std::vector<UINT> passed;
  int refreshes = 0;
};

class FrameMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form->SetBounds(0, 0, 400, 300);
    host.image.width = 400;
    form->SetBorderIcons(vcl::TBorderIcons{vcl::biSystemMenu, vcl::biMinimize});
    form->HandleNeeded();
    // The title laid out by hand in image coordinates, each element apart from the others.
    TqvCaptionButtons& b = *host.buttons;
    b.BtnClose.Rect = vcl::Rect(370, 10, 390, 26);
    b.BtnMaximize.Rect = vcl::Rect(345, 10, 365, 26);
    b.BtnMinimize.Rect = vcl::Rect(320, 10, 340, 26);
    b.IconRect = vcl::Rect(24, 10, 40, 26);
    hidden = host.user->Add();
    hidden->SetVisible(false);
    shown = host.user->Add();
    shown->Data.Rect = vcl::Rect(290, 10, 310, 26);
    off = host.user->Add();
    off->SetEnabled(false);
    off->Data.Rect = vcl::Rect(265, 10, 285, 26);
    for (int i = 0; i < 6; ++i) host.item = host.bar->Items()->Add();
    for (int i = 0; i < 5; ++i) host.bar->Items()->Items(i)->SetVisible(false);
    host.item->ItemRect = vcl::Rect(200, 10, 240, 26);
    host.itemEvents.Bind(host.item);
  }
  HWND Wnd() const { return form->Handle(); }
  vcl::TPoint Screen(vcl::TPoint image) const {
    const vcl::TPoint origin = WindowBox(Wnd()).TopLeft();
    return vcl::TPoint(origin.X + image.X, origin.Y + image.Y);
  }
  vcl::TPoint At(const vcl::TRect& r) const { return Screen(vcl::TPoint(r.Left + 2, r.Top + 2)); }
  static vcl::TMessage Mouse(UINT msg, int code, vcl::TPoint screen) {
    return vcl::TMessage{msg, static_cast<WPARAM>(code), MAKELPARAM(screen.X, screen.Y), 0};
  }

  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = NewForm();
  TFakeMouseHost host{form.get()};
  TqvFrameMouse mouse{host, host.flags};
  TsTitleButton* hidden = nullptr;
  TsTitleButton* shown = nullptr;
  TsTitleButton* off = nullptr;
};

TEST_F(FrameMouseTest, EveryPartOfTheFrameAnswersFromTheHostsLayout) {
  TqvCaptionButtons& b = *host.buttons;
  EXPECT_EQ(mouse.HitTestAt(At(b.BtnClose.Rect)), HTCLOSE);
  EXPECT_EQ(mouse.HitTestAt(At(b.BtnMinimize.Rect)), HTMINBUTTON);
  // Without biMaximize the system menu disables the maximise button: a piece of caption.
  EXPECT_EQ(mouse.HitTestAt(At(b.BtnMaximize.Rect)), HTCAPTION);
  // A user button answers its index in the collection; a disabled one is caption.
  EXPECT_EQ(mouse.HitTestAt(At(shown->Data.Rect)), kHitUserButton + 1);
  EXPECT_EQ(mouse.HitTestAt(At(off->Data.Rect)), HTCAPTION);
  EXPECT_EQ(mouse.HitTestAt(At(host.item->ItemRect)), kHitTitleBarItem + 5);
  EXPECT_EQ(mouse.HitTestAt(At(b.IconRect)), HTSYSMENU);
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 20})), HTCAPTION);
  // Under the host's caption (4 + 24) lies its one menu line of 20.
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 30})), HTMENU);
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 60})), HTCLIENT);
  EXPECT_EQ(mouse.HitTestAt(Screen({0, 150})), HTLEFT);
  EXPECT_EQ(mouse.HitTestAt(Screen({399, 299})), HTBOTTOMRIGHT);
  EXPECT_EQ(mouse.ElementByCode(kHitUserButton), nullptr);  // hidden
  EXPECT_EQ(mouse.ElementByCode(kHitUserButton + 1), &shown->Data);
  EXPECT_EQ(mouse.ButtonByCode(kHitMdiRestore), &b.MDIMax);

  // The hit-test message: title elements answered, the rest left to the form's procedure.
  vcl::TMessage test = Mouse(WM_NCHITTEST, 0, At(b.BtnClose.Rect));
  mouse.WMNCHitTest(test);
  EXPECT_EQ(test.Result, HTCLOSE);
  test = Mouse(WM_NCHITTEST, 0, Screen({150, 20}));
  mouse.WMNCHitTest(test);
  EXPECT_EQ(host.passed, std::vector<UINT>{WM_NCHITTEST});
}

TEST_F(FrameMouseTest, TheCaptionAndMenuBandsFollowTheMeasuresTheHostAnswers) {
  // Two menu lines of 20 under the caption (4 + 24): the second one is menu too.
  host.measures.lines = 2;
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 60})), HTMENU);
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 70})), HTCLIENT);
  // No menu line: the client starts right under the caption.
  host.measures.lines = 0;
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 30})), HTCLIENT);
  // A wider frame moves the caption band down with it.
  host.measures.frame = 10;
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 30})), HTCAPTION);
  EXPECT_EQ(mouse.HitTestAt(Screen({150, 36})), HTCLIENT);
}

TEST_F(FrameMouseTest, TheHotAndPressedElementsMoveThroughTheirStates) {
  TqvCaptionButtons& b = *host.buttons;
  mouse.SetHotElement(kHitMin, true);
  mouse.SetHotElement(kHitClose, true);
  EXPECT_EQ(vcl::TPoint(b.BtnMinimize.State, b.BtnClose.State), vcl::TPoint(0, 1));
  EXPECT_EQ(mouse.HotElement, kHitClose);

  // A title bar item turns hot, and the caption is repainted as it goes.
  vcl::TMessage move = Mouse(WM_NCMOUSEMOVE, HTCAPTION, At(host.item->ItemRect));
  mouse.WMNCMouseMove(move);
  EXPECT_EQ(b.BtnClose.State, 0);
  EXPECT_EQ(host.item->HotState(), 1);
  EXPECT_EQ(host.itemEvents.heard, "e");
  EXPECT_EQ(host.refreshes, 1);

  // Pressed and released over the item: its mouse-down, its mouse-up, then a click.
  vcl::TMessage down = Mouse(WM_NCLBUTTONDOWN, kHitTitleBarItem + 5, At(host.item->ItemRect));
  mouse.WMNCLButtonDown(down);
  EXPECT_TRUE(TitleButtonPressed());
  EXPECT_TRUE(host.item->Pressed);
  vcl::TMessage up = Mouse(WM_NCLBUTTONUP, kHitTitleBarItem + 5, At(host.item->ItemRect));
  mouse.WMNCLButtonUp(up);
  EXPECT_EQ(host.itemEvents.heard, "educ");
  EXPECT_FALSE(host.item->Pressed);
  EXPECT_FALSE(TitleButtonPressed());

  // The minimise button pressed, dragged off and released elsewhere: nothing runs.
  MessageSpy spy(form.get(), WM_SYSCOMMAND);
  down = Mouse(WM_NCLBUTTONDOWN, kHitMin, At(b.BtnMinimize.Rect));
  mouse.WMNCLButtonDown(down);
  EXPECT_EQ(b.BtnMinimize.State, 2);
  up = Mouse(WM_NCLBUTTONUP, kHitMin, Screen({150, 20}));
  mouse.WMNCLButtonUp(up);
  EXPECT_EQ(b.BtnMinimize.State, 0);
  EXPECT_EQ(spy.Count(WM_SYSCOMMAND), 0);
  // Released on it: the form minimises.
  mouse.WMNCLButtonDown(down);
  up = Mouse(WM_NCLBUTTONUP, kHitMin, At(b.BtnMinimize.Rect));
  mouse.WMNCLButtonUp(up);
  EXPECT_EQ(spy.seen[WM_SYSCOMMAND], std::vector<WPARAM>{SC_MINIMIZE});
  EXPECT_EQ(vcl::TPoint(b.BtnMinimize.State, mouse.HotElement), vcl::TPoint(0, 0));

  // Leaving the frame clears the hot element for good.
  mouse.SetHotElement(kHitClose, false);
  vcl::TMessage leave{WM_MOUSELEAVE, 0, 0, 0};
  mouse.WMMouseLeave(leave);
  EXPECT_EQ(vcl::TPoint(b.BtnClose.State, mouse.HotElement), vcl::TPoint(0, -1));

  // Without the frame painted by the provider nothing turns hot.
  host.options.DrawNonClientArea = false;
  mouse.SetHotElement(kHitClose, true);
  EXPECT_EQ(b.BtnClose.State, 0);
}

}  // namespace
}  // namespace skin_layered::test
