// The adapter of system tool bars (buttons by state over the bar, texts read whole, a client
// edge, the bar's own painting back) and of combo boxes with an embedded edit.
#include <string>

#include "classlib/stdctrls/StdCtrls.h"
#include "panels_support.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/adapters/SysToolBarWnd.h"
#include "skin_layered/adapters/WWComboBoxWnd.h"

namespace skin_layered::test {
namespace {

inline constexpr COLORREF kBar = 0x905030, kButton = 0x2090D0, kButtonHot = 0x40B0F0, kButtonPressed = 0x105080;
inline constexpr COLORREF kSeparator = 0xF030F0, kEdit = 0xE0E0C0;

class SysToolBar : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    skins.Write(L"Bars", L"Options.dat",
                BytesOf(PanelSkinText() + FlatSection("BAR", kBar, kBar) + FlatSection("EDIT", kEdit, kEdit)));
    manager->SetSkinName(L"Bars");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    const int tool = manager->GetSkinIndex(L"TOOLBUTTON");
    manager->Skin().Sections[static_cast<std::size_t>(tool)].BorderIndex =
        AddFlatImage(*manager, L"TOOLBUTTON", L"BORDERSMASK", 6, 6, {kButton, kButtonHot, kButtonPressed});
    AddFlatImage(*manager, L"DIVIDER", L"BORDERSMASK", 6, 6, {kSeparator});
    manager->Skin().InitConstantIndexes();
  }

  // A bar of three buttons and a separator: "One" enabled, "Two" pressed, "Three" disabled.
  void MakeBar(DWORD ExStyle = 0) {
    bar = Child(form->Handle(), TOOLBARCLASSNAMEW, TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 10,
                10, 300, 40, ExStyle);
    ASSERT_NE(bar, nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    static const wchar_t* const kTexts[] = {L"One", L"Two", L"", L"Three"};
    TBBUTTON buttons[4]{};
    for (int i = 0; i < 4; ++i) {
      buttons[i].iBitmap = I_IMAGENONE;
      buttons[i].idCommand = 100 + i;
      buttons[i].fsState = TBSTATE_ENABLED;
      buttons[i].fsStyle = BTNS_BUTTON;
      buttons[i].iString = reinterpret_cast<INT_PTR>(kTexts[i]);
    }
    buttons[1].fsState |= TBSTATE_PRESSED;
    buttons[2].fsStyle = BTNS_SEP;
    buttons[2].iBitmap = 8;
    buttons[3].fsState = 0;
    SendMessageW(bar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(60, 30));
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    adapter = CreateAdapter<TqvToolBarWnd>(bar, nullptr, manager.get(), TqvSkinParams{nullptr, L"BAR"});
  }
  RECT Item(int Index) const {
    RECT r{};
    SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  std::unique_ptr<FramePixels> Print() const { return Printed(bar); }

  HWND bar = nullptr;
  TqvAdapterPtr<TqvToolBarWnd> adapter;
  MouseSeam mouse{};
};

TEST_F(SysToolBar, ButtonsArePaintedInTheirStatesOverTheBar) {
  MakeBar();
  mouse.cursor = POINT{-500, -500};
  auto pixels = Print();
  const RECT b0 = Item(0), b1 = Item(1), sep = Item(2), b3 = Item(3);
  EXPECT_EQ(pixels->At(b0.left + 1, b0.top + 1), kButton);
  EXPECT_EQ(pixels->At(b1.left + 1, b1.top + 1), kButtonPressed);
  // The disabled button is faded toward the bar: neither colour.
  const COLORREF faded = pixels->At(b3.left + 1, b3.top + 1);
  EXPECT_NE(faded, kButton);
  EXPECT_NE(faded, kBar);
  EXPECT_GT(GetRValue(faded), GetRValue(kBar));
  EXPECT_LT(GetRValue(faded), GetRValue(kButton));
  // The separator's strip in the divider's image, the bar beside it.
  const int middle = (sep.left + sep.right) / 2;
  EXPECT_EQ(pixels->At(middle, (sep.top + sep.bottom) / 2), kSeparator);
  EXPECT_EQ(pixels->At(sep.left, sep.top + 1), kBar);
  EXPECT_EQ(pixels->At(295, 35), kBar);
  // The text is written over the button.
  EXPECT_LT(CountColor(*pixels, RECT{b0.left + 2, b0.top + 2, b0.right - 2, b0.bottom - 2}, kButton),
            (b0.right - b0.left - 4) * (b0.bottom - b0.top - 4));
  // The cursor over the first button makes it hot.
  POINT over{b0.left + 5, b0.top + 5};
  ClientToScreen(bar, &over);
  mouse.cursor = over;
  pixels = Print();
  EXPECT_EQ(pixels->At(b0.left + 1, b0.top + 1), kButtonHot);
  EXPECT_EQ(pixels->At(b3.left + 1, b3.top + 1), faded);  // a disabled button never hot
}

TEST_F(SysToolBar, ButtonTextsAreReadWhole) {
  MakeBar();
  const std::wstring long_text(700, L'x');
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_TEXT;
  info.pszText = const_cast<wchar_t*>(long_text.c_str());
  SendMessageW(bar, TB_SETBUTTONINFOW, 100, reinterpret_cast<LPARAM>(&info));
  TBBUTTON button{};
  SendMessageW(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
  EXPECT_EQ(adapter->ButtonText(button), long_text);
  SendMessageW(bar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button));
  EXPECT_TRUE(adapter->ButtonText(button).empty());
  // Painting a button of that text wraps it without harm.
  auto pixels = Print();
  EXPECT_EQ(pixels->At(Item(0).left + 1, Item(0).top + 1), kButton);
}

TEST_F(SysToolBar, ABarWithAClientEdgeTakesItsFrameFromTheCacheAndTheSkinsRemovalGivesItsOwnPaintingBack) {
  MakeBar(WS_EX_CLIENTEDGE);
  mouse.cursor = POINT{-500, -500};
  auto pixels = Print();
  EXPECT_EQ(adapter->FrameOffset, 2);
  EXPECT_EQ(pixels->At(0, 20), kBar);  // the frame from the bar's section
  const RECT b0 = Item(0);
  EXPECT_EQ(pixels->At(b0.left + 3, b0.top + 3), kButton);  // the client area inside the frame
  manager->SetActive(false);
  pixels = Print();
  EXPECT_NE(pixels->At(b0.left + 3, b0.top + 3), kButton);
  EXPECT_NE(pixels->At(295, 35), kBar);
}

TEST_F(SysToolBar, AComboBoxWithAnEmbeddedEditHasItsButtonAtTheRightAndAnAdaptedEdit) {
  auto* combo = Put<vcl::TComboBox>(form.get(), 10, 10, 160, 24);
  auto a = CreateAdapter<TqvWWComboBoxWnd>(combo->Handle(), nullptr, manager.get(), TqvSkinParams{combo, L""});
  EXPECT_TRUE(a->ButtonShown);
  const RECT box = WindowBox(combo->Handle());
  EXPECT_EQ(a->ButtonRect(), (vcl::TRect{box.right - 2 - GetSystemMetrics(SM_CXVSCROLL), 2, box.right - 2, box.bottom - 2}));
  // An edit made inside the combo box becomes its embedded edit, with an adapter of its own.
  auto* edit = Put<vcl::TEdit>(combo, 2, 2, 100, 18, form.get());
  edit->HandleNeeded();
  ASSERT_NE(a->EditAdapter, nullptr);
  EXPECT_EQ(a->EmbeddedEdit, edit);
  EXPECT_EQ(GetAdapter(edit->Handle()), a->EditAdapter.get());
  EXPECT_EQ(a->EditData->SkinSection(), L"EDIT");
  a.reset();
  EXPECT_EQ(GetAdapter(edit->Handle()), nullptr);
  vcl::TObject::Free(edit);
  // A simple combo box shows no button.
  auto* simple = Put<vcl::TComboBox>(form.get(), 10, 50, 160, 80);
  simple->SetStyle(vcl::csSimple);
  auto b = CreateAdapter<TqvWWComboBoxWnd>(simple->Handle(), nullptr, manager.get(), TqvSkinParams{simple, L""});
  EXPECT_FALSE(b->ButtonShown);
  EXPECT_EQ(b->ButtonRect().Width(), 0);
}

}  // namespace
}  // namespace skin_layered::test
