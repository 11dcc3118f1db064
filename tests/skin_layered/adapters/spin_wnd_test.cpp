// The adapters of up-downs, size grips and transparent panes: each half of an up-down in its
// own state by the cursor and the button, a grip over its parent, a pane around its children,
// and the dialog hook's choice of them.
#include "classlib/comctrls/UpDown.h"
#include "panels_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/adapters/SizerWnd.h"
#include "skin_layered/adapters/SpinWnd.h"
#include "skin_layered/adapters/SysToolBarWnd.h"

namespace skin_layered::test {
namespace {

inline constexpr COLORREF kSpinNormal = 0x30A050, kSpinHot = 0x50C070, kSpinPressed = 0x107030;
inline constexpr COLORREF kGripColor = 0x1060E0;

POINT ScreenPoint(HWND Wnd, int X, int Y) {
  POINT p{X, Y};
  ClientToScreen(Wnd, &p);
  return p;
}

class SpinWnd : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    // "BUTTON" is the up-down's section when the skin has none of its name; its frames tell
    // the three states apart.
    skins.Write(L"Spin", L"Options.dat",
                BytesOf(PanelSkinText() + FlatSection("BUTTON", kSpinNormal, kSpinHot)));
    manager->SetSkinName(L"Spin");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    const int frames = AddFlatImage(*manager, L"BUTTON", L"BORDERSMASK", 6, 6, {kSpinNormal, kSpinHot, kSpinPressed});
    const int button = manager->GetSkinIndex(L"BUTTON");
    manager->Skin().Sections[static_cast<std::size_t>(button)].BorderIndex = frames;
    const int grip = AddFlatImage(*manager, L"FORM", L"GRIPIMAGE", 8, 8, {kGripColor});
    manager->Skin().InitConstantIndexes();
    manager->Skin().ConstData.GripImage = grip;
  }

  TqvAdapterPtr<TqvSpinWnd> MakeUpDown(vcl::TUDOrientation Orientation) {
    const bool vertical = Orientation == vcl::udVertical;
    auto* updown = Put<vcl::TUpDown>(form.get(), 20, 20, 20, 20);
    updown->SetOrientation(Orientation);
    updown->SetBounds(20, 20, vertical ? 20 : 40, vertical ? 40 : 20);
    return CreateAdapter<TqvSpinWnd>(updown->Handle(), nullptr, manager.get(), TqvSkinParams{updown, L""});
  }
};

TEST_F(SpinWnd, EachHalfShowsItsOwnStateByTheCursorAndTheButton) {
  auto adapter = MakeUpDown(vcl::udVertical);
  const HWND wnd = adapter->CtrlHandle;
  MouseSeam mouse;
  mouse.cursor = ScreenPoint(wnd, 10, 8);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
  EXPECT_TRUE(adapter->Pressed);
  auto pixels = Printed(wnd);
  EXPECT_EQ(pixels->At(2, 2), kSpinPressed);
  EXPECT_EQ(pixels->At(2, 37), kSpinNormal);
  // The arrows are drawn in the section's font colour (the skin has no arrow glyphs).
  EXPECT_GT(CountColor(*pixels, RECT{0, 0, 20, 20}, 0x000000), 0);
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
  EXPECT_FALSE(adapter->Pressed);
  // Hovering the lower half: that half hot.
  mouse.cursor = ScreenPoint(wnd, 10, 30);
  pixels = Printed(wnd);
  EXPECT_EQ(pixels->At(2, 2), kSpinNormal);
  EXPECT_EQ(pixels->At(2, 37), kSpinHot);
  // Away from the window: both normal.
  mouse.cursor = POINT{-500, -500};
  pixels = Printed(wnd);
  EXPECT_EQ(pixels->At(2, 2), kSpinNormal);
  EXPECT_EQ(pixels->At(2, 37), kSpinNormal);
  // A dialog's up-down beside no edit shows what lies behind in its two left columns.
  adapter->LeftOffset = 2;
  pixels = Printed(wnd);
  EXPECT_EQ(pixels->At(1, 2), static_cast<COLORREF>(vcl::ColorToRGB(form->Color())));
  EXPECT_EQ(pixels->At(2, 2), kSpinNormal);
}

TEST_F(SpinWnd, AHorizontalUpDownIsSplitIntoLeftAndRightAndGetsItsOwnPaintingBack) {
  auto adapter = MakeUpDown(vcl::udHorizontal);
  const HWND wnd = adapter->CtrlHandle;
  MouseSeam mouse;
  mouse.cursor = ScreenPoint(wnd, 30, 10);
  auto pixels = Printed(wnd);
  EXPECT_EQ(pixels->At(2, 2), kSpinNormal);
  EXPECT_EQ(pixels->At(37, 2), kSpinHot);
  // Without the skin the control paints itself.
  manager->SetActive(false);
  pixels = Printed(wnd);
  EXPECT_NE(pixels->At(2, 2), kSpinNormal);
  EXPECT_NE(pixels->At(37, 2), kSpinHot);
}

TEST_F(SpinWnd, AGripAnswersBottomRightEverywhereAndShowsTheSkinsGripOverItsParent) {
  const HWND grip = Child(form->Handle(), L"SCROLLBAR", SBS_SIZEBOX | SBS_SIZEGRIP, 100, 100, 16, 16);
  auto adapter = CreateAdapter<TqvSizerWnd>(grip, nullptr, manager.get(), TqvSkinParams{});
  for (POINT p : {POINT{0, 0}, POINT{15, 15}, POINT{2, 13}}) {
    const POINT s = ScreenPoint(grip, p.x, p.y);
    EXPECT_EQ(SendMessageW(grip, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)), HTBOTTOMRIGHT);
  }
  auto pixels = Printed(grip);
  EXPECT_EQ(pixels->At(15, 15), kGripColor);
  EXPECT_EQ(pixels->At(8, 8), kGripColor);
  // Outside the 8 x 8 image the form shows through.
  EXPECT_EQ(pixels->At(2, 2), static_cast<COLORREF>(vcl::ColorToRGB(form->Color())));
}

TEST_F(SpinWnd, ATransparentPaneShowsItsSectionAroundItsChildWindows) {
  const HWND pane = Child(form->Handle(), L"STATIC", 0, 10, 10, 120, 80, WS_EX_CONTROLPARENT);
  Child(pane, L"BUTTON", 0, 20, 20, 60, 24, 0, L"Child");
  form->Show();  // the child windows left out are the visible ones
  auto adapter = CreateAdapter<TqvTransPanelWnd>(pane, nullptr, manager.get(), TqvSkinParams{});
  auto pixels = Printed(pane);
  EXPECT_EQ(pixels->At(5, 5), kCheckBox);
  EXPECT_EQ(pixels->At(110, 70), kCheckBox);
  // The child window's place is left to the child.
  EXPECT_NE(pixels->At(50, 30), kCheckBox);
}

TEST_F(SpinWnd, TheDialogHookGivesUpDownsGripsToolBarsAndPanesTheirAdapters) {
  const HWND host = Child(form->Handle(), L"STATIC", 0, 0, 0, 300, 200);
  auto child = [host](const wchar_t* cls, DWORD style) { return Child(host, cls, style, 10, 10, 40, 30); };
  const HWND spin = child(UPDOWN_CLASSW, 0);
  const HWND grip = child(L"SCROLLBAR", SBS_SIZEBOX | SBS_SIZEGRIP);
  const HWND bar = child(L"SCROLLBAR", SBS_HORZ);
  const HWND wrapable = child(TOOLBARCLASSNAMEW, TBSTYLE_WRAPABLE | CCS_NORESIZE);
  const HWND plain = child(TOOLBARCLASSNAMEW, CCS_NORESIZE);
  auto* provider = new TqvProvider(nullptr);
  for (HWND wnd : {spin, grip, bar, wrapable, plain}) EXPECT_TRUE(AddChildAdapter(provider, wnd));
  ASSERT_EQ(provider->Adapters.size(), 4u);  // a plain scroll bar gets none
  auto* spin_adapter = dynamic_cast<TqvSpinWnd*>(GetAdapter(spin));
  ASSERT_NE(spin_adapter, nullptr);
  EXPECT_EQ(spin_adapter->LeftOffset, 2);
  EXPECT_EQ(spin_adapter->SkinData->SkinSection(), L"SPEEDBUTTON_SMALL");
  EXPECT_NE(dynamic_cast<TqvSizerWnd*>(GetAdapter(grip)), nullptr);
  EXPECT_EQ(GetAdapter(bar), nullptr);
  auto* wrapable_adapter = dynamic_cast<TqvToolBarWnd*>(GetAdapter(wrapable));
  auto* plain_adapter = dynamic_cast<TqvToolBarWnd*>(GetAdapter(plain));
  ASSERT_NE(wrapable_adapter, nullptr);
  ASSERT_NE(plain_adapter, nullptr);
  EXPECT_EQ(wrapable_adapter->SkinData->SkinSection(), L"BAR");
  EXPECT_EQ(plain_adapter->SkinData->SkinSection(), L"CHECKBOX");
  vcl::TObject::Free(provider);
  EXPECT_EQ(GetAdapter(spin), nullptr);
}

}  // namespace
}  // namespace skin_layered::test
