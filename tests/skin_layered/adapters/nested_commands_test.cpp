// Adapted windows inside adapted containers: new skins and the skin's removal reach them
// through their containers (the manager's broadcast stops at a skinned window), and a
// see-through label shows the face of its container, not that of the form.
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "hosts_support.h"
#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/GroupBoxWnd.h"
#include "skin_layered/adapters/PanelWnd.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kFormColor = 0x1020F0;
constexpr COLORREF kOwnEdit = 0x00FFFF;

// One skin's colours of the sections the nested controls take.
struct TColors {
  COLORREF Panel, GroupBox, Edit, Button;
};
constexpr TColors kFirst{0x3060A0, 0xA03060, 0x30C0F0, 0x40B040};
constexpr TColors kSecond{0x206080, 0x802040, 0x50E0A0, 0xB04040};

// The sections in another order in each skin, so that a window keeping the indexes of the
// skin before shows the wrong colours.
std::string NestedSkinText(const TColors& C, bool Reversed) {
  const std::string sections[] = {FlatSection("PANEL", C.Panel, C.Panel), FlatSection("GROUPBOX", C.GroupBox, C.GroupBox),
                                  FlatSection("EDIT", C.Edit, C.Edit), FlatSection("BUTTON", C.Button, C.Button)};
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\n";
  if (Reversed) text += ScrollSections();
  for (int i = 0; i < 4; ++i) text += sections[Reversed ? 3 - i : i];
  if (!Reversed) text += ScrollSections();
  return text;
}

class NestedAdapters : public HostsTest {
 protected:
  void SetUp() override {
    HostsTest::SetUp();
    skins.Write(L"First", L"Options.dat", BytesOf(NestedSkinText(kFirst, false)));
    skins.Write(L"Second", L"Options.dat", BytesOf(NestedSkinText(kSecond, true)));
    form->SetColor(static_cast<vcl::TColor>(kFormColor));
  }
  vcl::TPanel* NewPanel() {
    auto* panel = Put<vcl::TPanel>(form.get(), 10, 10, 300, 200);
    panel->SetBevelOuter(vcl::bvRaised);
    panel->SetBevelInner(vcl::bvNone);
    panel->SetCaption(L"");
    return panel;
  }
  vcl::TLabel* NewLabel(vcl::TWinControl* Parent) {
    auto* label = Put<vcl::TLabel>(Parent, 30, 40, 50, 20, form.get());
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetCaption(L"");
    label->SetBounds(30, 40, 50, 20);
    return label;
  }
  // A pixel of the window painted through WM_PRINT.
  static COLORREF PrintedAt(vcl::TWinControl* Control, int X, int Y) { return Printed(Control->Handle())->At(X, Y); }

  // Destroyed in this order's reverse: the inner windows' adapters first.
  TqvAdapterPtr<TqvScrollBoxWnd> box_adapter;
  TqvAdapterPtr<TqvPanelWnd> panel_adapter;
  TqvAdapterPtr<TqvEditWnd> edit_adapter;
  TqvAdapterPtr<TqvGroupBoxWnd> group_adapter;
  TqvAdapterPtr<TqvBtnWnd> button_adapter;
};

TEST_F(NestedAdapters, NewSkinsAndTheRemovalReachWindowsInsideAdaptedContainers) {
  manager->SetSkinName(L"First");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  vcl::TPanel* panel = NewPanel();
  auto* edit = Put<vcl::TEdit>(panel, 10, 10, 120, 24, form.get());
  edit->SetColor(static_cast<vcl::TColor>(kOwnEdit));
  auto* group = Put<vcl::TGroupBox>(panel, 10, 50, 200, 120, form.get());
  group->SetCaption(L"");
  auto* button = Put<vcl::TButton>(group, 20, 30, 100, 40, form.get());
  button->SetCaption(L"");

  panel_adapter = CreateAdapter<TqvPanelWnd>(panel->Handle(), nullptr, manager.get(), TqvSkinParams{panel, L""});
  edit_adapter = CreateAdapter<TqvEditWnd>(edit->Handle(), nullptr, manager.get(), TqvSkinParams{edit, L""}, true);
  group_adapter = CreateAdapter<TqvGroupBoxWnd>(group->Handle(), nullptr, manager.get(), TqvSkinParams{group, L""});
  button_adapter = CreateAdapter<TqvBtnWnd>(button->Handle(), nullptr, manager.get(), TqvSkinParams{button, L""});
  auto expect = [&](const TColors& C) {
    SendMessageW(edit->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(C.Edit));
    EXPECT_EQ(PrintedAt(panel, 250, 5), C.Panel);
    EXPECT_EQ(PrintedAt(button, 4, 4), C.Button);
  };
  expect(kFirst);
  // Another skin: every nested window takes its colours.
  manager->SetSkinName(L"Second");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  expect(kSecond);

  // The skin goes: the windows inside the panel and the group box have their own looks back.
  manager->SetActive(false);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kOwnEdit));
  EXPECT_EQ(edit_adapter->SkinData->SkinIndex, kNoIndex);
  EXPECT_NE(PrintedAt(panel, 250, 5), kSecond.Panel);
  EXPECT_NE(PrintedAt(button, 4, 4), kSecond.Button);

  // And comes back to all of them.
  manager->SetActive(true);
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  expect(kSecond);
}

TEST_F(NestedAdapters, ASeeThroughLabelShowsTheFaceOfItsContainer) {
  vcl::TPanel* panel = NewPanel();
  NewLabel(panel);
  panel_adapter = CreateAdapter<TqvPanelWnd>(panel->Handle(), nullptr, manager.get(), TqvSkinParams{panel, L""});
  // The panel has no border: its client area starts at its window's corner.
  EXPECT_EQ(PrintedAt(panel, 30 + 25, 40 + 10), kPanel);

  auto* box = Put<vcl::TScrollBox>(form.get(), 10, 220, 200, 80);
  NewLabel(box);
  box_adapter = CreateAdapter<TqvScrollBoxWnd>(box->Handle(), nullptr, manager.get(), TqvSkinParams{box, L""}, true);
  ASSERT_EQ(box_adapter->BorderLeft, 2);
  EXPECT_EQ(PrintedAt(box, 2 + 30 + 25, 2 + 40 + 10), kPanelLow);

  auto* group = Put<vcl::TGroupBox>(form.get(), 220, 220, 150, 80);
  group->SetCaption(L"");
  NewLabel(group);
  group_adapter = CreateAdapter<TqvGroupBoxWnd>(group->Handle(), nullptr, manager.get(), TqvSkinParams{group, L""});
  EXPECT_EQ(PrintedAt(group, 30 + 25, 40 + 10), kGroupBox);
}

}  // namespace
}  // namespace skin_layered::test
