// The skin command message on a live window tree: its encoding, sending to windows and to
// controls (never creating a window), the colour queries, repainting children, the
// depth-first broadcast that skips into unskinned children and past children destroyed on the
// way, and the broadcast to child windows.
#include "command_spies.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SkinCommand.h"

namespace skin_layered::test {
namespace {

vcl::TPanel* NewPanel(vcl::TWinControl* parent, int left = 0) {
  auto* panel = new vcl::TPanel(parent);
  panel->SetParent(parent);
  panel->SetBounds(left, 0, 40, 40);
  return panel;
}

vcl::TImage* NewImage(vcl::TWinControl* parent) {
  auto* image = new vcl::TImage(parent);
  image->SetParent(parent);
  image->SetBounds(0, 0, 10, 10);
  return image;
}

TEST(SkinCommand, TheSubCommandIsTheHighWordAndTheLowWordItsValue) {
  EXPECT_EQ(SkinCommandWParam(scmSetUpdating, 1), MAKEWPARAM(1, scmSetUpdating));
  EXPECT_EQ(SkinCommandOf(MAKEWPARAM(1, scmBgChangedDeep)), scmBgChangedDeep);
  const vcl::TMessage m = SkinCommandMessage(scmNewSkin, 1234);
  EXPECT_EQ(m.WParam, WPARAM(scmNewSkin) << 16);
  EXPECT_EQ(m.LParam, 1234);
}

TEST(SkinCommand, SendingToWindowsAndControls) {
  auto form = NewForm();
  vcl::TPanel* panel = NewPanel(form.get());
  vcl::TImage* image = NewImage(form.get());
  CommandSpy panelSpy(panel, true);
  CommandSpy imageSpy(image, true);
  panelSpy.answers[scmGetState] = 77;
  imageSpy.answers[scmGetState] = 55;

  // No window yet: nothing is sent and no window is made for it.
  EXPECT_EQ(SendCommandToCtrl(panel, scmGetState, 1), 0);
  EXPECT_EQ(panelSpy.Count(scmGetState), 0);
  EXPECT_FALSE(panel->HandleAllocated());
  // A graphic control gets it by Perform.
  EXPECT_EQ(SendCommandToCtrl0(image, scmGetState), 55);
  EXPECT_EQ(imageSpy.Count(scmGetState), 1);

  panel->HandleNeeded();
  ASSERT_TRUE(panel->HandleAllocated());
  EXPECT_EQ(SendCommandToCtrl(panel, scmGetState, 9), 77);
  EXPECT_EQ(panelSpy.lastLParam, 9);
  EXPECT_EQ(SendCommandToWnd(panel->Handle(), scmGetState, 3), 77);
  EXPECT_EQ(panelSpy.Count(scmGetState), 2);
  EXPECT_EQ(SendCommandToCtrl(nullptr, scmGetState, 3), 0);

  EXPECT_TRUE(GetBoolCommand(panel->Handle(), scmIsSkinned));
  panelSpy.answers[scmIsReady] = 2;  // only an answer of exactly 1 counts
  EXPECT_FALSE(GetBoolCommand(panel->Handle(), scmIsReady));
  EXPECT_FALSE(GetBoolCommand(form->Handle(), scmIsSkinned));
}

TEST(SkinCommand, ColourQueries) {
  auto form = NewForm();
  form->SetColor(0x123456);
  vcl::TPanel* skinned = NewPanel(form.get());
  vcl::TPanel* black = NewPanel(form.get(), 50);
  vcl::TPanel* plain = NewPanel(form.get(), 100);
  plain->SetColor(vcl::clBtnFace);
  CommandSpy skinnedSpy(skinned, true);
  CommandSpy blackSpy(black, true);
  skinnedSpy.answers[scmGetColor] = vcl::clWindow;  // a system colour comes back as RGB
  blackSpy.answers[scmGetColor] = 0;
  form->Show();

  EXPECT_EQ(GetControlColor(nullptr), kNoColorAnswer);
  EXPECT_EQ(GetControlColor(skinned), vcl::ColorToRGB(vcl::clWindow));
  EXPECT_EQ(skinnedSpy.lastLParam, kNoColorAnswer);  // the default passed along
  EXPECT_EQ(GetControlColor(plain), vcl::ColorToRGB(vcl::clBtnFace));
  EXPECT_EQ(GetControlColor(form.get()), 0x123456);

  EXPECT_EQ(GetWndColor(skinned->Handle()), vcl::ColorToRGB(vcl::clWindow));
  EXPECT_EQ(GetWndColor(black->Handle()), 0);  // a skinned window's black is black
  // A window that does not know the message has no colour to give, rather than black.
  EXPECT_EQ(GetWndColor(plain->Handle()), kNoColorAnswer);
  EXPECT_EQ(GetWndColor(form->Handle()), kNoColorAnswer);
}

TEST(SkinCommand, RepaintingChildren) {
  auto form = NewForm();
  vcl::TPanel* shown = NewPanel(form.get());
  vcl::TPanel* hidden = NewPanel(form.get(), 50);
  hidden->SetVisible(false);
  vcl::TPanel* grandchild = NewPanel(shown);
  vcl::TImage* image = NewImage(form.get());
  CommandSpy shownSpy(shown, true), hiddenSpy(hidden, true), grandSpy(grandchild, true), imageSpy(image, false);
  form->Show();
  hidden->HandleNeeded();

  RepaintChildControls(form.get());
  EXPECT_EQ(shownSpy.Count(scmRepaint), 1);
  EXPECT_EQ(hiddenSpy.Count(scmRepaint), 0);  // not showing
  EXPECT_EQ(grandSpy.Count(scmRepaint), 0);   // children repaint their own
  EXPECT_EQ(imageSpy.Count(scmRepaint), 1);

  SetAnimationActive(true);
  RepaintChildControls(form.get());
  SetAnimationActive(false);
  EXPECT_EQ(shownSpy.Count(scmRepaint), 1);

  RepaintChildWnds(form->Handle());
  EXPECT_EQ(shownSpy.Count(scmRepaint), 2);
  EXPECT_EQ(hiddenSpy.Count(scmRepaint), 1);  // every child window
  EXPECT_EQ(grandSpy.Count(scmRepaint), 0);
  EXPECT_EQ(imageSpy.Count(scmRepaint), 1);   // no window of its own
}

TEST(SkinCommand, NotifyingTheFormOfAControl) {
  auto form = NewForm();
  vcl::TPanel* outer = NewPanel(form.get());
  vcl::TPanel* inner = NewPanel(outer);
  CommandSpy formSpy(form.get(), true);
  NotifyFormOfControl(inner);
  EXPECT_EQ(formSpy.Count(scmCtrlNotify), 0);  // the form has no window yet
  form->HandleNeeded();
  NotifyFormOfControl(inner);
  EXPECT_EQ(formSpy.Count(scmCtrlNotify), 1);
  EXPECT_EQ(formSpy.lastLParam, reinterpret_cast<LPARAM>(inner));
  NotifyFormOfControl(nullptr);
}

TEST(SkinCommand, BroadcastReachesEachSkinnedControlOnceAndSkipsIntoUnskinnedOnes) {
  auto form = NewForm();
  vcl::TPanel* skinned = NewPanel(form.get());
  vcl::TPanel* belowSkinned = NewPanel(skinned);
  vcl::TPanel* unskinned = NewPanel(form.get(), 50);
  vcl::TPanel* belowUnskinned = NewPanel(unskinned);
  vcl::TPanel* deeper = NewPanel(belowUnskinned);
  vcl::TImage* graphic = NewImage(unskinned);
  vcl::TPanel* windowless = new vcl::TPanel(form.get());  // hidden: no window is made for it
  windowless->SetVisible(false);
  windowless->SetParent(form.get());
  CommandSpy a(skinned, true), b(belowSkinned, true), c(unskinned, false), d(belowUnskinned, false),
      e(deeper, true), f(graphic, false), g(windowless, false);
  form->Show();
  ASSERT_TRUE(unskinned->HandleAllocated());
  ASSERT_FALSE(windowless->HandleAllocated());

  vcl::TMessage m = SkinCommandMessage(scmRefresh, 42);
  BroadcastCommand(form.get(), m);
  EXPECT_EQ(a.Count(scmRefresh), 1);
  EXPECT_EQ(a.lastLParam, 42);
  EXPECT_EQ(b.Count(scmRefresh), 0);  // a skinned control passes it on itself
  EXPECT_EQ(c.Count(scmRefresh), 0);  // an unskinned one is walked into instead
  EXPECT_EQ(d.Count(scmRefresh), 0);
  EXPECT_EQ(e.Count(scmRefresh), 1);
  EXPECT_EQ(f.Count(scmRefresh), 1);
  EXPECT_EQ(g.Count(scmRefresh), 1);  // by Perform, still without a window
  EXPECT_FALSE(windowless->HandleAllocated());
}

TEST(SkinCommand, BroadcastGoesOnPastChildrenDestroyedOnTheWay) {
  auto form = NewForm();
  vcl::TPanel* first = NewPanel(form.get());
  vcl::TPanel* second = NewPanel(form.get(), 50);
  vcl::TPanel* third = NewPanel(form.get(), 100);
  vcl::TPanel* fourth = NewPanel(form.get(), 150);
  form->Show();
  CommandSpy s1(first, true), s2(second, true), s4(fourth, true);
  auto s3 = std::make_unique<CommandSpy>(third, true);
  // The second frees the third before its turn and then the first (already reached).
  s2.onCommand = [&] {
    s3.reset();
    vcl::TObject::Free(third);
    vcl::TObject::Free(first);
  };
  vcl::TMessage m = SkinCommandMessage(scmNewSkin);
  BroadcastCommand(form.get(), m);
  EXPECT_EQ(s1.Count(scmNewSkin), 1);
  EXPECT_EQ(s2.Count(scmNewSkin), 1);
  EXPECT_EQ(s4.Count(scmNewSkin), 1);  // neither ends the walk nor shifts the fourth out of it
  EXPECT_EQ(form->ControlCount(), 2);
}

TEST(SkinCommand, BroadcastToChildWindowsReachesDirectChildrenOnly) {
  auto form = NewForm();
  vcl::TPanel* child1 = NewPanel(form.get());
  vcl::TPanel* child2 = NewPanel(form.get(), 50);
  vcl::TPanel* grandchild = NewPanel(child1);
  CommandSpy s1(child1, false), s2(child2, false), s3(grandchild, false);
  form->Show();
  vcl::TMessage m = SkinCommandMessage(scmScrollsChanged);
  BroadcastToChildWnds(form->Handle(), m);
  EXPECT_EQ(s1.Count(scmScrollsChanged), 1);
  EXPECT_EQ(s2.Count(scmScrollsChanged), 1);
  EXPECT_EQ(s3.Count(scmScrollsChanged), 0);
}

TEST(SkinCommand, TheSectionNamedBySectionChangedIsTheWholeName) {
  const wchar_t button[] = L"Button";
  const wchar_t b[] = L"B";
  const wchar_t longer[] = L"BUTTONS";
  EXPECT_TRUE(SectionChangedNames(reinterpret_cast<LPARAM>(button), L"BUTTON"));
  EXPECT_FALSE(SectionChangedNames(reinterpret_cast<LPARAM>(b), L"BUTTON"));
  EXPECT_FALSE(SectionChangedNames(reinterpret_cast<LPARAM>(longer), L"BUTTON"));
  EXPECT_FALSE(SectionChangedNames(0, L"BUTTON"));
}

}  // namespace
}  // namespace skin_layered::test
