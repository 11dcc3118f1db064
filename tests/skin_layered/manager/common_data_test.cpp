// The common skin data on controls that carry it.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "classlib/stdctrls/StdCtrls.h"
#include "manager_support.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// An edit of the library that carries skin data (colour-following code 2).
class TSkinnedEdit : public vcl::TEdit {
 public:
  explicit TSkinnedEdit(vcl::TComponent* AOwner, bool Cache = true)
      : TEdit(AOwner), SkinData(std::make_unique<TsCommonData>(this, Cache)) {
    SkinData->COC = 2;
  }
  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == kSkinCmdMessage) ++commands[SkinCommandOf(Message.WParam)];
    if (!CommonMessage(Message, SkinData.get())) TEdit::WndProc(Message);
  }
  std::unique_ptr<TsCommonData> SkinData;
  std::map<int, int> commands;
};

class CommonData : public ::testing::Test {
 protected:
  void SetUp() override {
    // See-through sections, and one with an outer shadow.
    skins.Write(L"Test", L"Options.dat",
                BytesOf(SkinText("[HALF]\r\nCOLOR=$0000FF\r\nTRANSPARENCY=50\r\n[CLEAR]\r\nTRANSPARENCY=100\r\n"
                                 "[SHADOWED]\r\nCOLOR=$FFFFFF\r\nOUTERMASK=!outer.bmp!1!0!0!2!2!2!2\r\nOUTOFFSL=2\r\n"
                                 "OUTOFFST=2\r\nOUTOFFSR=2\r\nOUTOFFSB=2\r\nOUTOPACITY=128\r\n[PLAIN]\r\nOUTERMODE=0\r\n")));
    skins.Write(L"Test", L"outer.bmp", Bmp24(6, 6, Flat(0x0000FF)));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    form->SetBounds(20, 20, 300, 200);
    edit = new TSkinnedEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 120, 24);
    other = new vcl::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 50, 120, 24);
    form->Show();
  }
  void TearDown() override {
    form.reset();
    manager.reset();
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = NewForm();
  TSkinnedEdit* edit = nullptr;
  vcl::TEdit* other = nullptr;
};

TEST_F(CommonData, TheSectionIsKeptInUpperCaseAndResolvedOnTheFirstShow) {
  EXPECT_EQ(edit->SkinData->SkinSection(), L"EDIT");  // the code's default, at the first show
  EXPECT_EQ(edit->SkinData->SkinIndex, -1);  // no skin yet
  manager->SetSkinName(L"Test");
  EXPECT_EQ(edit->SkinData->SkinIndex, manager->GetSkinIndex(L"EDIT"));
  EXPECT_TRUE(edit->SkinData->Skinned(true));

  const int refreshes = edit->commands[scmRefresh];
  edit->SkinData->SetSkinSection(L"panel");
  EXPECT_EQ(edit->SkinData->SkinSection(), L"PANEL");
  EXPECT_EQ(edit->SkinData->SkinIndex, manager->GetSkinIndex(L"PANEL"));
  // The stored text is compared before it is upper-cased: other case is a change.
  edit->SkinData->SetSkinSection(L"PANEL");
  edit->SkinData->SetSkinSection(L"Panel");
  EXPECT_EQ(edit->commands[scmRefresh], refreshes + 2);
  const int removals = edit->commands[scmRemoveSkin];
  edit->SkinData->SetSkinSection(L"NOSUCH");
  EXPECT_EQ(edit->SkinData->SkinIndex, -1);
  EXPECT_EQ(edit->commands[scmRemoveSkin], removals + 1);

  TqvSectionInfo info{-5, L"edit"};
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmSetSection), reinterpret_cast<LPARAM>(&info)), 1);
  EXPECT_EQ(edit->SkinData->SkinSection(), L"EDIT");
  edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetSkinIndex), reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.SkinIndex, manager->GetSkinIndex(L"EDIT"));
}

TEST_F(CommonData, ColoursFollowTheSectionFocusHoverAndSkinRemoval) {
  manager->SetSkinName(L"Test");
  EXPECT_EQ(edit->Color(), 0x00C0FF);
  EXPECT_EQ(edit->Font()->Color(), 0x000080);

  other->SetFocus();
  ASSERT_EQ(GetFocus(), other->Handle());
  edit->SetFocus();
  EXPECT_EQ(edit->Color(), 0xC0FFC0);
  EXPECT_EQ(edit->Font()->Color(), 0x008000);
  other->SetFocus();
  EXPECT_EQ(edit->Color(), 0x00C0FF);

  edit->Perform(vcl::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(edit->Color(), 0xC0FFC0);
  EXPECT_EQ(manager->HotControl(), edit);
  edit->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(edit->Color(), 0x00C0FF);

  // A control that keeps its own colour keeps it; the section's font colour stands off it, or
  // turns black or white where it would not.
  edit->SkinData->SetCustomColor(true);
  edit->SetColor(0xE0F0F0);
  edit->Perform(vcl::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(edit->Color(), 0xE0F0F0);
  EXPECT_EQ(edit->Font()->Color(), 0x008000);
  edit->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  edit->SetColor(0x103010);
  edit->Perform(vcl::CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(edit->Color(), 0x103010);
  EXPECT_EQ(edit->Font()->Color(), vcl::clWhite);
  edit->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  edit->SkinData->SetCustomColor(false);

  manager->SetActive(false);
  EXPECT_EQ(edit->Color(), vcl::clWindow);
  EXPECT_EQ(edit->Font()->Color(), vcl::clWindowText);
  EXPECT_FALSE(edit->SkinData->Skinned());

  manager->SetActive(true);
  EXPECT_EQ(edit->Color(), 0x00C0FF);
}

// The mouse goes from a hot control to a window (a form's frame, a bare window): the control
// is told it is hot no more first; one that keeps the focus stays hot, and the window waits.
TEST_F(CommonData, AHotControlLeavesWhenAWindowBecomesHot) {
  manager->SetSkinName(L"Test");
  other->SetFocus();
  edit->Perform(vcl::CM_MOUSEENTER, 0, 0);
  ASSERT_EQ(manager->HotControl(), edit);
  ASSERT_EQ(edit->Color(), 0xC0FFC0);
  manager->SetHotWnd(form->Handle());
  EXPECT_EQ(manager->HotControl(), nullptr);
  EXPECT_EQ(manager->HotWnd(), form->Handle());
  EXPECT_EQ(edit->commands[scmMouseLeave], 1);

  manager->SetHotWnd(nullptr);
  edit->SetFocus();
  edit->Perform(vcl::CM_MOUSEENTER, 0, 0);
  ASSERT_EQ(manager->HotControl(), edit);
  manager->SetHotWnd(form->Handle());
  EXPECT_EQ(manager->HotControl(), edit);
  EXPECT_EQ(manager->HotWnd(), nullptr);
  other->SetFocus();
}

class TGlowMdiFrame : public vcl::TForm {
  VCL_CLASS(TGlowMdiFrame, vcl::TForm)
 public:
  explicit TGlowMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};
VCL_CLASS_INFO(TGlowMdiFrame) {}

class TGlowMdiChild : public vcl::TForm {
  VCL_CLASS(TGlowMdiChild, vcl::TForm)
 public:
  explicit TGlowMdiChild(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIChild); }
};
VCL_CLASS_INFO(TGlowMdiChild) {}

// The window above Wnd in z-order among this program's windows (a window of a test running
// beside this one may come in between).
HWND OwnWindowAbove(HWND Wnd) {
  for (HWND w = GetWindow(Wnd, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId()) return w;
  }
  return nullptr;
}

// A control on an MDI child glows above the program's main form: the child lies inside the
// frame's client window, and a glow placed by it would go among the frame's children.
TEST_F(CommonData, TheGlowOfAControlOnAnMdiChildLiesOverTheMainForm) {
  skins.Write(L"Glow", L"Options.dat",
              BytesOf(SkinText("[GLOWING]\r\nCOLOR=$00FF00\r\nGLOWMARGIN=2\r\nGLOW0=!glow.bmp!1!0!0!2!2!2!2\r\n")));
  skins.Write(L"Glow", L"glow.bmp", Bmp24(8, 8, Flat(0x00FFFF)));
  manager->SetSkinName(L"Glow");
  manager->Effects()->SetAllowGlowing(true);
  const std::optional<bool> alpha = SetPerPixelAlphaShown(true);
  ASSERT_EQ(vcl::Application->MainForm(), nullptr);
  auto* frame = vcl::Application->CreateForm<TGlowMdiFrame>();
  frame->SetBounds(40, 40, 500, 400);
  frame->Show();
  auto* child = new TGlowMdiChild(frame);
  child->SetBounds(10, 10, 300, 200);
  auto* glowing = new TSkinnedEdit(child);
  glowing->SetParent(child);
  glowing->SetBounds(10, 10, 120, 24);
  glowing->SkinData->SetSkinSection(L"GLOWING");
  child->Show();
  // Another window right above the frame: the glow goes between them.
  auto above = NewForm();
  above->SetBounds(60, 60, 100, 80);
  above->Show();
  SetWindowPos(frame->Handle(), above->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_EQ(OwnWindowAbove(frame->Handle()), above->Handle());
  glowing->Perform(vcl::CM_MOUSEENTER, 0, 0);
  ASSERT_GE(glowing->SkinData->GlowID, 0);
  const TqvGlowEffect* glow = GlowAt(glowing->SkinData->GlowID);
  ASSERT_TRUE(glow && glow->Form());
  EXPECT_EQ(OwnWindowAbove(frame->Handle()), glow->Form()->Handle());
  EXPECT_EQ(OwnWindowAbove(glow->Form()->Handle()), above->Handle());
  glowing->Perform(vcl::CM_MOUSELEAVE, 0, 0);
  ClearGlows(true);
  SetPerPixelAlphaShown(alpha);
  vcl::TObject::Free(frame);
}

TEST_F(CommonData, AnotherManagersCommandsLeaveTheControlAlone) {
  manager->SetSkinName(L"Test");
  ManagerPtr second = NewManager();
  second->SetSkinDirectory(skins.Directory());
  const int index = edit->SkinData->SkinIndex;
  for (int command : {scmNewSkin, scmRemoveSkin})
    edit->Perform(kSkinCmdMessage, SkinCommandWParam(command), reinterpret_cast<LPARAM>(second.get()));
  EXPECT_EQ(edit->SkinData->SkinIndex, index);
  // Its skin, announced to every form, changes nothing here either.
  second->SetSkinName(L"Test");
  second->SetActive(false);
  EXPECT_EQ(edit->SkinData->SkinIndex, index);
  EXPECT_EQ(edit->Color(), 0x00C0FF);
}

TEST_F(CommonData, SkinnedDataAnswersTheCommandsAndSwallowsUIState) {
  vcl::TMessage uiState{WM_UPDATEUISTATE, 0, 0, 0};
  EXPECT_FALSE(CommonMessage(uiState, edit->SkinData.get()));
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmIsSkinned), 0), 1);
  manager->SetSkinName(L"Test");
  EXPECT_TRUE(CommonMessage(uiState, edit->SkinData.get()));
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetSkinData), 0),
            reinterpret_cast<LRESULT>(edit->SkinData.get()));
  vcl::TRect bounds;
  edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetBounds), reinterpret_cast<LPARAM>(&bounds));
  EXPECT_EQ(bounds, edit->BoundsRect());
  vcl::TMessage unknown = SkinCommandMessage(99);
  EXPECT_FALSE(CommonWndProc(unknown, edit->SkinData.get()));
  vcl::TMessage other{WM_PAINT, 0, 0, 0};
  EXPECT_TRUE(CommonWndProc(other, edit->SkinData.get()));
  EXPECT_FALSE(CommonMessage(other, nullptr));
}

TEST_F(CommonData, SkinDataWithoutCacheIgnoresCacheDrops) {
  auto* bare = new TSkinnedEdit(form.get(), false);
  bare->SetParent(form.get());
  manager->Options()->SetOptimizingPriority(opMemory);
  manager->SetSkinName(L"Test");
  bare->SkinData->BGChanged = false;
  bare->Perform(kSkinCmdMessage, SkinCommandWParam(scmDropCache), 0);
  bare->Perform(vcl::CM_VISIBLECHANGED, 0, 0);
  EXPECT_EQ(bare->SkinData->CacheBmp(), nullptr);
  EXPECT_FALSE(bare->SkinData->BGChanged);
  // With a cache both drop it and mark the background.
  edit->SkinData->InitCacheBmp();
  EXPECT_EQ(edit->SkinData->CacheBmp()->Width(), 120);
  edit->SkinData->BGChanged = false;
  edit->Perform(vcl::CM_VISIBLECHANGED, 0, 0);
  EXPECT_EQ(edit->SkinData->CacheBmp()->Width(), 0);
  EXPECT_TRUE(edit->SkinData->BGChanged);
}

TEST_F(CommonData, TheColourUnderAHalfTransparentControlIsMixedByPercent) {
  manager->SetSkinName(L"Test");
  form->SetColor(0x000000);
  edit->SkinData->SetSkinSection(L"HALF");
  // Red 255 over black at 50 %: half of each.
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetColor), 0), 0x00007F);
  EXPECT_EQ(GetBgColor(edit->SkinData.get(), 0), 0x00007F);
  edit->SkinData->SetSkinSection(L"CLEAR");
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetColor), 0), 0x000000);
  edit->SkinData->SetSkinSection(L"PANEL");
  EXPECT_EQ(edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetColor), 0), 0xC08080);
}

TEST_F(CommonData, TheOuterShadowGoesIntoTheParentsImageOnce) {
  manager->SetSkinName(L"Test");
  auto parentImage = CreateBmp32(300, 200);
  auto white = [&] {
    TPixelView view;
    InitPixelView(parentImage.get(), view);
    for (int y = 0; y < view.Height; ++y) std::fill(view.Row(y), view.Row(y) + view.Width, 0xFFFFFFFFu);
  };
  white();
  TqvPaintRecord record{0, parentImage.get(), {0, 0}, {0, 0}};
  auto paint = [&](std::uint16_t mode) {
    edit->Perform(kSkinCmdMessage, SkinCommandWParam(scmPaintToParent, mode), reinterpret_cast<LPARAM>(&record));
  };

  // Without the outer effects on, nothing.
  edit->SkinData->SetSkinSection(L"SHADOWED");
  paint(0);
  EXPECT_EQ(PixelOf(parentImage.get(), 9, 9), 0xFFFFFFFFu);
  edit->SkinData->OuterEffects()->SetVisibility(ovAlways);
  paint(0);
  const std::uint32_t once = PixelOf(parentImage.get(), 9, 9);  // in the shadow's band left of the edit
  EXPECT_NE(once, 0xFFFFFFFFu);
  EXPECT_EQ(PixelOf(parentImage.get(), 5, 5), 0xFFFFFFFFu);  // outside it
  ASSERT_NE(edit->SkinData->OuterImage(), nullptr);
  EXPECT_EQ(edit->SkinData->OuterImage()->Width(), 124);

  // Over the background saved before: one shadow however often it is painted.
  paint(kPaintOverSaved);
  EXPECT_EQ(PixelOf(parentImage.get(), 9, 9), once);
  paint(kPaintOverSaved);
  EXPECT_EQ(PixelOf(parentImage.get(), 9, 9), once);

  // A section without an outer image or layer paints nothing.
  white();
  edit->SkinData->SetSkinSection(L"PLAIN");
  paint(0);
  EXPECT_EQ(PixelOf(parentImage.get(), 9, 9), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace skin_layered::test
