// The skin provider on a form: hooking, the messages it keeps or passes, the skin arriving and
// going, the command message, the editor's preview block and the window region.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/streaming/Filer.h"
#include "forms_support.h"
#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// Shown forms stand at the desktop's far side, clear of the windows other test programs
// running meanwhile look for at its top left.
constexpr int kLeft = 1420, kTop = 640;

TEST(SkinProviderCreation, OnlyAFormTakesAProviderAndItHooksAndRegistersIt) {
  auto owner = std::make_unique<vcl::TComponent>(nullptr);
  EXPECT_EQ(AbortMessage([&] { vcl::TObject::Free(vcl::Construct<TsSkinProvider>(owner.get())); }), kFormsOnlyMessage);
  EXPECT_EQ(owner->ComponentCount(), 0);

  auto form = NewForm();
  auto provider = NewProvider(form.get());
  EXPECT_EQ(provider->Form, form.get());
  EXPECT_TRUE(provider->Hooked());
  EXPECT_TRUE(provider->FormActive);
  EXPECT_TRUE(IsFormRegistered(form.get()));
}

// A form description's settings reach the provider through its class's property table, the
// plain ones and those whose setters repaint alike, and the same are written back.
TEST(SkinProviderCreation, StreamedSettingsReachTheProviderAndAreWrittenBack) {
  TsSkinProvider::StaticClass();  // registered by name, as a program registers what it streams
  auto form = NewForm();
  const std::string settings =
      "    AllowAnimation = False\n    AllowExtBorders = False\n    AllowBlendOnMoving = False\n"
      "    CaptionAlignment = taCenter\n    DrawClientArea = False\n    GripMode = gmRightBottom\n"
      "    MakeSkinMenu = True\n    MenuLineSkin = 'MAINMENU'\n    ResizeMode = rmBorder\n"
      "    ShowAppIcon = False\n    TitleSkin = 'DIALOGTITLE'\n    UseGlobalColor = False\n";
  vcl::ReadComponentText(form.get(), "object TestForm: TForm\n  object Provider: TsSkinProvider\n" + settings + "  end\nend\n",
                         L"settings");
  auto* provider = dynamic_cast<TsSkinProvider*>(form->FindComponent(L"Provider"));
  ASSERT_NE(provider, nullptr);
  EXPECT_FALSE(provider->AllowAnimation());
  EXPECT_FALSE(provider->AllowExtBorders());
  EXPECT_FALSE(provider->AllowBlendOnMoving());
  EXPECT_EQ(provider->CaptionAlignment(), vcl::taCenter);
  EXPECT_FALSE(provider->DrawClientArea());
  EXPECT_EQ(provider->GripMode(), gmRightBottom);
  EXPECT_TRUE(provider->MakeSkinMenu());
  EXPECT_EQ(provider->MenuLineSkin(), L"MAINMENU");
  EXPECT_EQ(provider->ResizeMode(), rmBorder);
  EXPECT_FALSE(provider->ShowAppIcon());
  EXPECT_EQ(provider->TitleSkin(), L"DIALOGTITLE");
  EXPECT_FALSE(provider->UseGlobalColor());
  // What the provider was not given stays as made.
  EXPECT_TRUE(provider->GetDrawNonClientArea());

  const std::string written = vcl::WriteComponentText(form.get());
  for (size_t line = 0, end = 0; line < settings.size(); line = end + 1) {
    end = settings.find('\n', line);
    const std::string setting = settings.substr(line, end + 1 - line);
    EXPECT_NE(written.find(setting), std::string::npos) << setting << "--- in ---\n" << written;
  }
  EXPECT_EQ(written.find("DrawNonClientArea"), std::string::npos) << written;
}

TEST(SkinProviderCreation, TwoProvidersHookAndLetGoInEitherOrder) {
  for (bool firstGoesFirst : {true, false}) {
    auto form = NewForm();
    form->HandleNeeded();
    const vcl::TWndMethod original = form->WindowProc;
    auto first = NewProvider(form.get());
    auto second = NewProvider(form.get());
    // The second wraps the first: the form answers with the later one.
    EXPECT_EQ(reinterpret_cast<TsSkinProvider*>(Command(form->Handle(), scmGetProvider)), second.get());
    if (firstGoesFirst) {
      first.reset();
      EXPECT_EQ(reinterpret_cast<TsSkinProvider*>(Command(form->Handle(), scmGetProvider)), second.get());
      SetWindowTextW(form->Handle(), L"still working");
      EXPECT_EQ(form->Caption(), L"still working");
      second.reset();
    } else {
      second.reset();
      EXPECT_EQ(reinterpret_cast<TsSkinProvider*>(Command(form->Handle(), scmGetProvider)), first.get());
      first.reset();
    }
    EXPECT_TRUE(form->WindowProc == original);
    EXPECT_EQ(Command(form->Handle(), scmGetProvider), 0);
    EXPECT_FALSE(IsFormRegistered(form.get()));
    SetWindowTextW(form->Handle(), L"unskinned");
    EXPECT_EQ(form->Caption(), L"unskinned");
  }
}

TEST(SkinProviderCreation, AnApplicationHookAboveTheProviderOutlivesIt) {
  auto form = NewForm();
  form->HandleNeeded();
  auto provider = NewProvider(form.get());
  MessageSpy above(form.get());
  provider.reset();
  // The provider left the chain under the later hook, which still works.
  SetWindowTextW(form->Handle(), L"after");
  EXPECT_GE(above.Count(WM_SETTEXT), 1);
  EXPECT_EQ(form->Caption(), L"after");
  above.Hook().Remove();
}

TEST(SkinProviderCreation, AWatchAnswersWhetherTheProviderStillServesTheWindowItSaw) {
  auto form = NewForm();
  form->HandleNeeded();
  auto provider = NewProvider(form.get());
  const TsSkinProvider::TWatch kept = provider->Watch();
  EXPECT_TRUE(kept);
  // A form without a window: nothing to serve.
  form->DestroyHandle();
  EXPECT_FALSE(kept);
  EXPECT_FALSE(provider->Watch());
  form->HandleNeeded();
  // A new window is not the one the earlier watch saw; a watch taken now sees it.
  EXPECT_FALSE(kept);
  const TsSkinProvider::TWatch renewed = provider->Watch();
  EXPECT_TRUE(renewed);
  // The provider gone: its watches answer false, without reading it.
  provider.reset();
  EXPECT_FALSE(renewed);
}

class SkinProviderTest : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    WriteSkin(L"Test", FormSkinText());
    form->SetBounds(kLeft, kTop, 400, 300);
    form->HandleNeeded();
    below = std::make_unique<MessageSpy>(form.get());
    provider = NewProvider(form.get());
  }
  void TearDown() override {
    provider.reset();
    below.reset();
    FormSkinTest::TearDown();
  }
  LONG_PTR Style() { return GetWindowLongPtrW(Wnd(), GWL_STYLE); }

  std::unique_ptr<MessageSpy> below;  // the form's own procedure, under the provider
};

TEST_F(SkinProviderTest, UnskinnedTheFormGetsItsMessagesAndTheProviderAnswersWhatItMust) {
  ASSERT_FALSE(provider->FormSkinned());
  // Answered in every state, without reaching the form.
  EXPECT_EQ(Command(Wnd(), scmIsSkinned), 1);
  EXPECT_EQ(reinterpret_cast<TsSkinProvider*>(Command(Wnd(), scmGetProvider)), provider.get());
  EXPECT_EQ(below->Count(kSkinCmdMessage), 0);
  provider->SkinData->BGChanged = true;
  Command(Wnd(), scmPrepareCache);
  EXPECT_FALSE(provider->SkinData->BGChanged);
  // Everything else goes on to the form.
  SendMessageW(Wnd(), WM_ENTERIDLE, 0, 0);
  SendMessageW(Wnd(), WM_PRINTCLIENT, 0, 0);
  SendMessageW(Wnd(), kRegionQueryMessage, kRegionQueryValue, 0);
  Command(Wnd(), scmSetGlued, 1);
  for (UINT msg : {UINT{WM_ENTERIDLE}, UINT{WM_PRINTCLIENT}, kRegionQueryMessage, kSkinCmdMessage})
    EXPECT_EQ(below->Count(msg), 1) << msg;
  EXPECT_EQ(provider->ExtFlags & kExtGlued, 0u);
}

TEST_F(SkinProviderTest, TheSkinArrivesAndGoes) {
  ASSERT_TRUE(Style() & WS_SYSMENU);
  manager->SetSkinName(L"Test");
  ASSERT_TRUE(provider->FormSkinned());
  EXPECT_EQ((std::array{provider->SkinData->SkinIndex, provider->TitleSkinIndex, provider->CaptionIndex}),
            (std::array{manager->GetSkinIndex(L"FORM"), manager->GetSkinIndex(L"FORMTITLE"), manager->GetSkinIndex(L"CAPTION")}));
  EXPECT_EQ(form->Color(), manager->GetGlobalColor());
  // The provider draws the caption buttons: the system draws none.
  EXPECT_FALSE(Style() & WS_SYSMENU);

  // Another title section is looked up again.
  provider->SetTitleSkin(L"CAPTION");
  EXPECT_EQ(provider->Measures().GetTitleSkinIndex(), manager->GetSkinIndex(L"CAPTION"));
  provider->SetTitleSkin(L"");

  // A new skin of another manager is not ours.
  auto other = NewManager();
  const int index = provider->SkinData->SkinIndex;
  Command(Wnd(), scmNewSkin, reinterpret_cast<LPARAM>(other.get()));
  EXPECT_EQ(provider->SkinData->SkinIndex, index);

  provider->WindowImage().FirstPaintDone = true;
  provider->Region().RgnRects = {vcl::Rect(0, 0, 1, 1)};  // a corner hole: a region to take away
  provider->Region().UpdateFormRgn(false);
  ASSERT_FALSE(RegionBox(Wnd()).IsEmpty());
  manager->SetActive(false);
  EXPECT_EQ(RegionBox(Wnd()), vcl::TRect());  // the removal takes the region away
  EXPECT_FALSE(provider->FormSkinned());
  EXPECT_EQ((std::array{provider->SkinData->SkinIndex, provider->TitleSkinIndex}), (std::array{-1, -1}));
  EXPECT_EQ(form->Color(), vcl::clBtnFace);
  EXPECT_TRUE(Style() & WS_SYSMENU);
  EXPECT_EQ(provider->SkinData->CacheBmp(), nullptr);

  // And back.
  manager->SetActive(true);
  EXPECT_TRUE(provider->FormSkinned());
  EXPECT_FALSE(Style() & WS_SYSMENU);
}

// A child window made on the form, and one that goes, each have the form's controls take their
// state again (the state message with 1 reaches a label of the form once each), through the
// system's notice to the parent: the going child's brought nothing. A child that asks for no
// notice brings none, and an unskinned form passes the notices on alone.
TEST_F(SkinProviderTest, AChildMadeOrGoneHasTheFormsControlsTakeTheirStateAgain) {
  auto* label = new vcl::TLabel(form.get());
  label->SetParent(form.get());
  label->SetCaption(L"Label");
  MessageSpy spy(label);
  int asked = 0;
  spy.OnMessage = [&](const vcl::TMessage& m) {
    if (m.Msg == kSkinCmdMessage && m.WParam == SkinCommandWParam(scmGetState) && m.LParam == 1) ++asked;
  };
  auto child = [&](DWORD exStyle) {
    return CreateWindowExW(exStyle, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, Wnd(), nullptr, nullptr, nullptr);
  };
  for (const bool skinned : {true, false}) {
    SCOPED_TRACE(skinned ? "skinned" : "unskinned");
    manager->SetSkinName(skinned ? L"Test" : L"");
    ASSERT_EQ(provider->FormSkinned(), skinned);
    asked = 0;
    const int notices = below->Count(WM_PARENTNOTIFY);
    HWND made = child(0);
    ASSERT_TRUE(made);
    EXPECT_EQ(asked, skinned ? 1 : 0);
    DestroyWindow(made);
    EXPECT_EQ(asked, skinned ? 2 : 0);
    // The form's own procedure heard of both.
    EXPECT_EQ(below->Count(WM_PARENTNOTIFY), notices + 2);
    HWND quiet = child(WS_EX_NOPARENTNOTIFY);
    ASSERT_TRUE(quiet);
    DestroyWindow(quiet);
    EXPECT_EQ(asked, skinned ? 2 : 0);
  }
}

TEST_F(SkinProviderTest, SkinnedTheProviderKeepsWhatItAnswers) {
  manager->SetSkinName(L"Test");
  ASSERT_TRUE(provider->FormSkinned());
  const int before = below->Count(kSkinCmdMessage);

  below->answers[kRegionQueryMessage] = kRegionQueryValue;
  for (UINT msg : {UINT{WM_ENTERIDLE}, UINT{WM_PRINTCLIENT}, kRegionQueryMessage, UINT{0xB04C}}) {
    EXPECT_EQ(SendMessageW(Wnd(), msg, msg == kRegionQueryMessage ? kRegionQueryValue : 0, 0), 0) << msg;
    EXPECT_EQ(below->Count(msg), 0) << msg;
  }
  // Other messages still reach the form.
  SetWindowTextW(Wnd(), L"skinned");
  EXPECT_EQ(form->Caption(), L"skinned");

  // Glued, blend, readiness, colour, client offset.
  Command(Wnd(), scmSetGlued, 1);
  EXPECT_EQ(Command(Wnd(), scmIsGlued), 1);
  Command(Wnd(), scmSetGlued, 0);
  EXPECT_EQ(Command(Wnd(), scmIsGlued), 0);
  EXPECT_EQ(Command(Wnd(), scmIsReady), 1);  // the form section has a gradient share
  EXPECT_EQ(static_cast<vcl::TColor>(Command(Wnd(), scmGetColor)), GetBgColor(provider->SkinData, 0));
  const LRESULT offset = Command(Wnd(), scmGetClientOffset);
  EXPECT_EQ(LOWORD(offset), (WndWidth(Wnd()) - ClientWidthOf(Wnd())) / 2);
  EXPECT_EQ(HIWORD(offset), provider->WindowImage().OffsetY());
  EXPECT_GT(provider->WindowImage().OffsetY(), 0);
  provider->SkinData->Updating = true;
  EXPECT_EQ(Command(Wnd(), scmIsBgChanged), 1);
  Command(Wnd(), scmSetUpdating, 0, 0);
  EXPECT_FALSE(provider->SkinData->Updating);
  EXPECT_EQ(Command(Wnd(), scmIsBgChanged), 0);
  // None of these reached the form's own procedure.
  EXPECT_EQ(below->Count(kSkinCmdMessage), before);
}

TEST_F(SkinProviderTest, BlendingMakesTheFormLayeredAnd255TakesItBack) {
  manager->SetSkinName(L"Test");
  form->Show();
  ASSERT_TRUE(IsWindowVisible(Wnd()));
  auto layered = [&] { return (GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  Command(Wnd(), scmSetBlend, 255);
  EXPECT_FALSE(layered());
  Command(Wnd(), scmSetBlend, 128);
  BYTE alpha = 0;
  GetLayeredWindowAttributes(Wnd(), nullptr, &alpha, nullptr);
  EXPECT_TRUE(layered() && alpha == 128);
  Command(Wnd(), scmSetBlend, 255);
  EXPECT_FALSE(layered());
}

TEST_F(SkinProviderTest, ThePreviewBlockIsTakenWholeAndOnlyByTheLinkedForm) {
  manager->SetSkinName(L"Test");
  std::vector<char> block(30645, 0);
  const DWORD magic = 0xA400;
  std::memcpy(block.data(), &magic, 4);
  std::memcpy(block.data() + 4, "Preview", 7);
  std::memset(block.data() + 132, 'D', 512);  // a folder without its terminator
  COPYDATASTRUCT data{7, static_cast<DWORD>(block.size()), block.data()};

  // Not linked: the form's own procedure only.
  SkinEditorLink().Reset(false);
  SendMessageW(Wnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  EXPECT_EQ(below->Count(WM_COPYDATA), 1);
  EXPECT_TRUE(manager->PreviewData().SkinName.empty());

  SkinEditorLink().Reset(true);
  SkinEditorLink().Link(Wnd());
  ASSERT_EQ(SkinEditorLink().PreviewForm(), Wnd());
  EXPECT_FALSE(SkinEditorLink().PreviewMode());
  COPYDATASTRUCT shortData{7, 30644, block.data()};
  SendMessageW(Wnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&shortData));
  EXPECT_TRUE(manager->PreviewData().SkinName.empty());
  SendMessageW(Wnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  EXPECT_EQ(manager->PreviewData().SkinName, L"Preview");
  EXPECT_EQ(manager->PreviewData().SkinDirectory.size(), 512u);
  // The block goes on to the manager by a posted command; this test takes it away again.
  MSG posted{};
  EXPECT_TRUE(PeekMessageW(&posted, vcl::Application->Handle(), kSkinCmdMessage, kSkinCmdMessage, PM_REMOVE));
  EXPECT_EQ(SkinCommandOf(posted.wParam), scmPreviewData);
  SkinEditorLink().Reset(false);

  // The editor's commands.
  EXPECT_EQ(SendMessageW(Wnd(), kSkinEditorMessage, 4, 0), 1);
  EXPECT_EQ(SendMessageW(Wnd(), kSkinEditorMessage, 2, 0), 0);
  EXPECT_EQ(below->Count(kSkinEditorMessage), 0);
  SendMessageW(Wnd(), kSkinEditorMessage, 3, 0);
  EXPECT_EQ(below->Count(kSkinEditorMessage), 1);
}


TEST_F(SkinProviderTest, TheRegionForEachKindOfFrame) {
  manager->SetSkinName(L"Test");
  form->SetBounds(kLeft, kTop, 400, 300);
  // Without a border form: the window image less the corner holes.
  provider->Region().RgnRects = {vcl::Rect(0, 0, 3, 1), vcl::Rect(397, 0, 400, 1)};
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(Wnd()), vcl::Rect(0, 0, 400, 300));
  EXPECT_FALSE(InWindowRegion(Wnd(), 1, 0) || InWindowRegion(Wnd(), 398, 0));
  EXPECT_TRUE(InWindowRegion(Wnd(), 3, 0) && InWindowRegion(Wnd(), 200, 150));
  EXPECT_FALSE(provider->Region().RgnChanged);

  // With a border form only the client part stays.
  auto* border = new TFakeBorderForm(Wnd(), 30, GetSystemMetrics(SM_CYCAPTION));
  border->SkinData = provider->SkinData;
  border->SetOwner(MakeBorderOwner(*provider));
  provider->BorderForm = border;
  provider->Region().UpdateFormRgn(false);
  const int frame = SysBorderWidth(Wnd(), nullptr, false);
  const int caption = SysCaptionHeight(form.get());
  EXPECT_EQ(RegionBox(Wnd()), vcl::Rect(frame, frame + caption, 400 - frame, 300 - frame));
  provider->InitExBorders(false);
  EXPECT_EQ(provider->BorderForm, nullptr);

  // A form that keeps its own region until the window image was painted whole.
  SetWindowRgn(Wnd(), nullptr, FALSE);
  MessageSpy above(form.get());
  above.answers[kRegionQueryMessage] = kRegionQueryValue;
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(Wnd()), vcl::TRect());
  provider->WindowImage().FirstPaintDone = true;
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(Wnd()), vcl::Rect(0, 0, 400, 300));
  above.Hook().Remove();

  // No frame and no sizing frame: no region.
  SetWindowRgn(Wnd(), nullptr, FALSE);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(Wnd()), vcl::TRect());
  // Nor while frozen or without the non-client painting.
  form->SetBorderStyle(vcl::TFormBorderStyle::bsSizeable);
  provider->Frozen = true;
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(Wnd()), vcl::TRect());
}

TEST_F(SkinProviderTest, TheTitleCoverLiesOverTheFrameAndGoesAgain) {
  manager->SetSkinName(L"Test");
  form->Show();
  provider->ShowAnimForm();
  vcl::TForm* cover = provider->TitleCover();
  ASSERT_NE(cover, nullptr);
  EXPECT_TRUE(IsWindowVisible(cover->Handle()));
  EXPECT_EQ(cover->Tag(), 256);
  EXPECT_FALSE(GetActiveWindow() == cover->Handle());
  const vcl::TRect window = WindowBox(Wnd());
  EXPECT_EQ(WindowBox(cover->Handle()), window);
  // The client area is left out of the cover.
  POINT client{ClientWidthOf(Wnd()) / 2, ClientHeightOf(Wnd()) / 2};
  ClientToScreen(Wnd(), &client);
  EXPECT_FALSE(InWindowRegion(cover->Handle(), client.x - window.Left, client.y - window.Top));
  EXPECT_TRUE(InWindowRegion(cover->Handle(), 1, 1));
  provider->HideAnimForm();
  EXPECT_EQ(provider->TitleCover(), nullptr);
  EXPECT_FALSE(IsWindowVisible(cover->Handle()));
  // Not without the non-client painting.
  provider->SetDrawNonClientArea(false);
  provider->ShowAnimForm();
  EXPECT_EQ(provider->TitleCover(), nullptr);
}

}  // namespace
}  // namespace skin_layered::test
