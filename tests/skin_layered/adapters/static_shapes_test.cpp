// The rectangles and frames of a skinned system dialog's statics: each shows its shape over
// the skin's section, as the dialog hook adapts them.
#include <string>
#include <utility>

#include "dialogs_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/StaticWnd.h"

namespace skin_layered::test {
namespace {

// The section of the statics: a green no system colour has.
constexpr COLORREF kStaticSection = 0x20A040, kDialogFill = 0xC0C0C0;

std::string ShapesSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("DIALOG", kDialogFill, kDialogFill) +
         "[FORMTITLE]\r\nCOLOR=$603020\r\n" + FlatSection("CHECKBOX", kStaticSection, kStaticSection);
}

constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kBlackRect = 10, kGrayFrame = 11, kBlackFrame = 12, kEtchedFrame = 13, kLabel = 14, kWhiteFrame = 15,
               kGrayRect = 16, kWhiteRect = 17;

class StaticShapes : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(skins, L"Shapes", ShapesSkinText());
    manager->AnimEffects()->DialogShow()->SetActive(false);
    manager->AnimEffects()->DialogHide()->SetActive(false);
    ASSERT_TRUE(manager->IsDefault());
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"Shapes", 200, 120);
    t.Item(kStaticAtom, WS_VISIBLE | SS_BLACKRECT, 8, 8, 60, 20, kBlackRect);
    t.Item(kStaticAtom, WS_VISIBLE | SS_GRAYFRAME, 8, 32, 60, 20, kGrayFrame);
    t.Item(kStaticAtom, WS_VISIBLE | SS_BLACKFRAME, 8, 56, 60, 20, kBlackFrame);
    t.Item(kStaticAtom, WS_VISIBLE | SS_ETCHEDFRAME, 8, 80, 60, 20, kEtchedFrame);
    t.Item(kStaticAtom, WS_VISIBLE | SS_LEFT, 80, 8, 60, 20, kLabel);
    t.Item(kStaticAtom, WS_VISIBLE | SS_WHITEFRAME, 80, 32, 60, 20, kWhiteFrame);
    t.Item(kStaticAtom, WS_VISIBLE | SS_GRAYRECT, 80, 56, 60, 20, kGrayRect);
    t.Item(kStaticAtom, WS_VISIBLE | SS_WHITERECT, 80, 80, 60, 20, kWhiteRect);
    dlg = CreateTestDialog(t);
    ASSERT_NE(dlg, nullptr);
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
  }
  void TearDown() override {
    if (IsWindow(dlg)) DestroyWindow(dlg);
    PurgeProviders();
    manager.reset();
  }

  // The static's picture as its adapter paints it.
  std::unique_ptr<FramePixels> Shape(WORD Id) const {
    const HWND wnd = GetDlgItem(dlg, Id);
    EXPECT_NE(dynamic_cast<TqvStaticWnd*>(GetAdapter(wnd)), nullptr) << Id;
    return Printed(wnd);
  }

  TempSkins skins;
  ManagerPtr manager;
  HWND dlg = nullptr;
};

TEST_F(StaticShapes, EachShowsItsShapeOverTheSection) {
  const RECT box = WindowBox(GetDlgItem(dlg, kGrayFrame));
  const int w = box.right, h = box.bottom;
  ASSERT_GT(w, 20);
  ASSERT_GT(h, 10);

  // A frame of every colour, and the etched one: its edge drawn on all four sides, its inside
  // the section.
  for (const WORD id : {kGrayFrame, kBlackFrame, kWhiteFrame, kEtchedFrame}) {
    auto frame = Shape(id);
    SCOPED_TRACE(id);
    for (const auto& [x, y] : {std::pair{0, h / 2}, std::pair{w / 2, 0}, std::pair{w - 1, h / 2}, std::pair{w / 2, h - 1}})
      EXPECT_NE(frame->At(x, y), kStaticSection) << x << "," << y;
    EXPECT_EQ(frame->At(w / 2, h / 2), kStaticSection);
    EXPECT_EQ(frame->At(3, 3), kStaticSection);
  }
  // A rectangle of every colour covers the section (grey and white ones are the system's own).
  auto rect = Shape(kBlackRect);
  EXPECT_NE(rect->At(w / 2, h / 2), kStaticSection);
  for (const WORD id : {kBlackRect, kGrayRect, kWhiteRect}) {
    SCOPED_TRACE(id);
    const HWND wnd = GetDlgItem(dlg, id);
    EXPECT_EQ(CountColor(*Printed(wnd), WindowBox(wnd), kStaticSection), 0);
  }
  // An empty label still shows the section alone.
  SetDlgItemTextW(dlg, kLabel, L"");
  auto label = Shape(kLabel);
  const RECT labelBox = WindowBox(GetDlgItem(dlg, kLabel));
  EXPECT_EQ(CountColor(*label, labelBox, kStaticSection), labelBox.right * labelBox.bottom);
}

}  // namespace
}  // namespace skin_layered::test
