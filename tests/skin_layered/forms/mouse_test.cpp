// The mouse on a skinned form's frame: hit codes, title buttons, clicks, outline sizing, blending.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "classlib/rtl/ScopeExit.h"
#include "skinned_form_fixture.h"
#include "support/win_test_support.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class MouseTest : public SkinnedFormTest {
 protected:
  // The skinned form shown above every other window with a user title button whose hint is
  // "Pins the page" (the hint goes to the window under the pointer: no window of a test program
  // beside may lie over the form while the pointer rests there); at its end the form is lowered
  // again and the application's hint pause is the one it had.
  class HintedButton {
   public:
    explicit HintedButton(MouseTest& Test) : test_(Test), pause_(vcl::Application->HintPause()) {
      test_.Skin();
      test_.form->Show();
      SetWindowPos(test_.Wnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      Button = test_.provider->TitleButtons()->Add();
      Button->SetHint(L"Pins the page");
    }
    ~HintedButton() {
      vcl::Application->SetHintPause(pause_);
      SetWindowPos(test_.Wnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    HintedButton(const HintedButton&) = delete;
    HintedButton& operator=(const HintedButton&) = delete;

    TsTitleButton* Button = nullptr;
    static bool Shown() { return wintest::ThreadShowsWindow(L"Pins the page"); }

   private:
    MouseTest& test_;
    const int pause_;
  };
};

// Hit codes

TEST_F(MouseTest, EveryPartOfTheFrameHasItsHitCode) {
  Skin();
  TsTitleButtons* buttons = provider->TitleButtons();
  buttons->Add()->SetVisible(false);
  buttons->Add();
  TsTitleButton* disabled = buttons->Add();
  disabled->SetEnabled(false);
  Repaint();

  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(provider->CaptionButtons().BtnClose.Rect)), HTCLOSE);
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(provider->CaptionButtons().BtnMaximize.Rect)), HTMAXBUTTON);
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(provider->CaptionButtons().BtnMinimize.Rect)), HTMINBUTTON);
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(provider->CaptionButtons().BtnHelp.Rect)), HTHELP);
  // A user button answers its index in the collection, though the one before it is hidden.
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(buttons->Items(1)->Data.Rect)), 1001);
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(disabled->Data.Rect)), HTCAPTION);
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(provider->CaptionButtons().IconRect)), HTSYSMENU);
  const vcl::TPoint caption = Screen({150, provider->CaptionButtons().TitleCentre});
  EXPECT_EQ(provider->FrameMouse().HitTestAt(caption), HTCAPTION);

  const int frame = SysBorderWidth(Wnd(), nullptr, false);
  ASSERT_GT(frame, 1);
  const std::array<std::pair<vcl::TPoint, int>, 9> edges{
      {{{0, 150}, HTLEFT},      {{399, 150}, HTRIGHT},      {{200, 0}, HTTOP},
       {{0, 0}, HTTOPLEFT},     {{399, 0}, HTTOPRIGHT},     {{200, 299}, HTBOTTOM},
       {{0, 299}, HTBOTTOMLEFT}, {{399, 299}, HTBOTTOMRIGHT}, {{200, 200}, HTCLIENT}}};
  for (const auto& [p, code] : edges) EXPECT_EQ(provider->FrameMouse().HitTestAt(Screen(p)), code) << p.X << "," << p.Y;
  // Each band as wide as the frame, both its ends: its inner row or column is the band's, the
  // next one in is not.
  const int top = DefBorderWidth(Wnd(), nullptr, false);
  const std::array<std::pair<vcl::TPoint, int>, 8> bands{
      {{{frame - 1, 150}, HTLEFT},       {{frame, 150}, HTCLIENT},       {{400 - frame, 150}, HTRIGHT},
       {{399 - frame, 150}, HTCLIENT},   {{200, top - 1}, HTTOP},        {{200, 300 - frame}, HTBOTTOM},
       {{200, 299 - frame}, HTCLIENT},   {{frame - 1, 300 - frame}, HTBOTTOMLEFT}}};
  for (const auto& [p, code] : bands) EXPECT_EQ(provider->FrameMouse().HitTestAt(Screen(p)), code) << p.X << "," << p.Y;
  EXPECT_NE(provider->FrameMouse().HitTestAt(Screen({200, top})), HTTOP);

  // Through the message: the provider answers for its own elements, the form for the rest.
  EXPECT_EQ(NcHitTest(At(buttons->Items(1)->Data.Rect)), 1001);
  EXPECT_EQ(NcHitTest(caption), HTCAPTION);
  EXPECT_EQ(NcHitTest(Screen({399, 150})), HTRIGHT);
}

TEST_F(MouseTest, TheGripAndAMaximisedFormsFrame) {
  Skin();
  provider->SetGripMode(gmRightBottom);
  Repaint();
  // Inside the grip, well off the frame's corner: the grip sizes the form.
  EXPECT_EQ(NcHitTest(Screen({400 - 12, 300 - 12})), HTBOTTOMRIGHT);
  EXPECT_EQ(NcHitTest(Screen({400 - 40, 300 - 40})), HTCLIENT);

  form->Show();
  ShowWindow(Wnd(), SW_MAXIMIZE);
  Repaint();
  const vcl::TRect r = WindowBox(Wnd());
  // No sizing edges, and the maximise button is the restore button.
  EXPECT_EQ(provider->FrameMouse().HitTestAt({r.Left + 1, (r.Top + r.Bottom) / 2}), HTCLIENT);
  EXPECT_EQ(provider->FrameMouse().HitTestAt(At(provider->CaptionButtons().BtnMaximize.Rect)), HTMAXBUTTON);
  ShowWindow(Wnd(), SW_RESTORE);
}

// Press, move and release

TEST_F(MouseTest, AReleaseOnThePressedButtonRunsItsCommandAndADraggedOffOneNothing) {
  Skin();
  const vcl::TRect min = provider->CaptionButtons().BtnMinimize.Rect;
  Down(HTMINBUTTON, At(min));
  EXPECT_EQ(vcl::TPoint(provider->CaptionButtons().BtnMinimize.State, provider->FrameMouse().HotElement),
            vcl::TPoint(2, HTMINBUTTON));
  EXPECT_TRUE(TitleButtonPressed());
  EXPECT_EQ(own->Count(WM_NCLBUTTONDOWN), 0);
  // Dragged off over the caption and released there: the button is normal, nothing runs.
  const vcl::TPoint caption = Screen({150, provider->CaptionButtons().TitleCentre});
  SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, Point(caption));
  EXPECT_EQ(provider->CaptionButtons().BtnMinimize.State, 0);
  Up(HTCAPTION, caption);
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(TitleButtonPressed());
  // A release on the button whose point lies outside it runs nothing either.
  Down(HTMINBUTTON, At(min));
  Up(HTMINBUTTON, caption);
  EXPECT_TRUE(Commands().empty());
  // A client release carries key flags (8 = control), never a hit code.
  Down(HTMINBUTTON, At(min));
  SendMessageW(Wnd(), WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(10, 10));
  EXPECT_TRUE(Commands().empty());
  EXPECT_FALSE(TitleButtonPressed());
  // Pressed and released on it: the form minimises.
  Click(HTMINBUTTON, min);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{SC_MINIMIZE});
  EXPECT_EQ(vcl::TPoint(provider->CaptionButtons().BtnMinimize.State, provider->FrameMouse().HotElement), vcl::TPoint(0, 0));
  // A release without a press runs nothing.
  Up(HTMAXBUTTON, At(provider->CaptionButtons().BtnMaximize.Rect));
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(MouseTest, EachTitleButtonRunsItsCommand) {
  Skin();
  int downs = 0, ups = 0;
  TsTitleButton* user = provider->TitleButtons()->Add();
  auto count = [](void* n, vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) { ++*static_cast<int*>(n); };
  user->OnMouseDown = vcl::TMouseEvent::FromFunction(+count, &downs);
  user->OnMouseUp = vcl::TMouseEvent::FromFunction(+count, &ups);
  Repaint();

  Click(HTMAXBUTTON, provider->CaptionButtons().BtnMaximize.Rect);
  Click(HTHELP, provider->CaptionButtons().BtnHelp.Rect);
  Click(HTCLOSE, provider->CaptionButtons().BtnClose.Rect);
  const std::vector<WPARAM> expected{SC_MAXIMIZE, SC_CONTEXTHELP, SC_CLOSE};
  EXPECT_EQ(Commands(), expected);
  Down(1000, At(user->Data.Rect));
  EXPECT_EQ(user->Data.State, 2);
  Up(1000, At(user->Data.Rect));
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(user->Data.State, 0);
  EXPECT_EQ(Commands(), expected);
}

// A user title button's hint shows while the mouse rests on it (after the application's hint
// pause, at once without one) and goes when the mouse leaves it or presses it; a button
// without a hint, or a disabled one, shows none.
TEST_F(MouseTest, AUserButtonsHintShowsWhileTheMouseRestsOnIt) {
  const HintedButton scene(*this);
  TsTitleButton* user = scene.Button;
  TsTitleButton* plain = provider->TitleButtons()->Add();
  Repaint();
  ASSERT_FALSE(user->Data.Rect.IsEmpty());
  ASSERT_FALSE(plain->Data.Rect.IsEmpty());
  auto shown = &HintedButton::Shown;
  // The mouse as the system moves it: the pointer there (the mouse messages of its way taken
  // first), then the frame's mouse move.
  const wintest::PointerLock pointer;
  auto moveOnto = [&](vcl::TPoint screen) {
    if (!wintest::MovePointer(screen.X, screen.Y) || !wintest::PumpUntilIdle()) return false;
    const LRESULT code = NcHitTest(screen);
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(code), Point(screen));
    return true;
  };
  // The pointer the system reports may still go back for a moment to where it was before: it
  // is put on the button again until the hint has been there (after its pause).
  const vcl::TPoint onUser = At(user->Data.Rect), onPlain = At(plain->Data.Rect);
  const vcl::TPoint onCaption = Screen({150, provider->CaptionButtons().TitleCentre});
  auto restOn = [&](vcl::TPoint screen) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (attempt > 0 && !moveOnto(onCaption)) continue;
      if (moveOnto(screen) && wintest::PumpUntil(shown, wintest::Deadline{2000})) return true;
    }
    return false;
  };

  vcl::Application->SetHintPause(0);
  EXPECT_TRUE(restOn(onUser));
  EXPECT_EQ(provider->FrameMouse().HotElement, 1000);
  ASSERT_TRUE(moveOnto(onPlain));
  EXPECT_FALSE(shown());
  EXPECT_TRUE(restOn(onUser));
  ASSERT_TRUE(moveOnto(onCaption));
  EXPECT_FALSE(shown());

  // After the pause, and pressed, it goes.
  vcl::Application->SetHintPause(50);
  EXPECT_TRUE(restOn(onUser));
  Down(1000, onUser);
  EXPECT_FALSE(shown());
  Up(1000, onUser);
  SetTitleButtonPressed(false);
  ASSERT_TRUE(moveOnto(onCaption));

  // Disabled: the caption's, no hint.
  vcl::Application->SetHintPause(0);
  user->SetEnabled(false);
  ASSERT_TRUE(moveOnto(onUser));
  EXPECT_NE(provider->FrameMouse().HotElement, 1000);
  EXPECT_FALSE(shown());
}

// A hint shown at once goes by the point of the move that made the button hot: the pointer the
// system reports may not have caught up with that move yet (under Wine it reports the place the
// pointer left for a moment). After the pause it goes by where the pointer rests.
TEST_F(MouseTest, AUserButtonsHintAtOnceGoesByThePointOfTheMove) {
  const HintedButton scene(*this);
  TsTitleButton* user = scene.Button;
  Repaint();
  ASSERT_FALSE(user->Data.Rect.IsEmpty());
  auto shown = &HintedButton::Shown;
  const vcl::TPoint onUser = At(user->Data.Rect);
  const vcl::TPoint onCaption = Screen({150, provider->CaptionButtons().TitleCentre});
  auto move = [&](vcl::TPoint screen) {
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, static_cast<WPARAM>(NcHitTest(screen)), Point(screen));
  };
  const wintest::PointerLock pointer;
  ASSERT_TRUE(wintest::MovePointer(onCaption.X, onCaption.Y));

  // The pointer still on the caption, the move onto the button: at once.
  vcl::Application->SetHintPause(0);
  move(onUser);
  EXPECT_EQ(provider->FrameMouse().HotElement, 1000);
  EXPECT_TRUE(shown()) << "the hint at once";
  move(onCaption);
  EXPECT_FALSE(shown());

  // After a pause the pointer must rest on the button: it shows once the pointer is there.
  vcl::Application->SetHintPause(50);
  ASSERT_TRUE(wintest::MovePointer(onUser.X, onUser.Y));
  move(onUser);
  EXPECT_TRUE(wintest::PumpUntil(shown, wintest::Deadline{5000})) << "the hint after the pause";
  move(onCaption);
  EXPECT_FALSE(shown());
}

// The close command may free the form's provider; the release touches nothing after it.
TEST_F(MouseTest, AProviderFreedByTheCloseCommandIsNotTouchedAgain) {
  Skin();
  own->OnMessage = [this](const vcl::TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && m.WParam == SC_CLOSE) provider.reset();
  };
  Click(HTCLOSE, provider->CaptionButtons().BtnClose.Rect);
  EXPECT_EQ(provider, nullptr);
  EXPECT_FALSE(TitleButtonPressed());
  EXPECT_EQ(SendMessageW(Wnd(), kSkinCmdMessage, SkinCommandWParam(scmGetProvider), 0), 0);
}

// The right button, double clicks, the maximised caption

TEST_F(MouseTest, RightAndDoubleClicksOnTheCaptionAndIconAreTheProviders) {
  Skin();
  SendMessageW(Wnd(), WM_NCRBUTTONDOWN, HTCAPTION, Point(Screen({150, 10})));
  SendMessageW(Wnd(), WM_NCRBUTTONDOWN, HTSYSMENU, Point(At(provider->CaptionButtons().IconRect)));
  EXPECT_EQ(own->Count(WM_NCRBUTTONDOWN), 0);
  SendMessageW(Wnd(), WM_NCRBUTTONDOWN, HTRIGHT, Point(Screen({399, 150})));
  EXPECT_EQ(own->Count(WM_NCRBUTTONDOWN), 1);
  // A release elsewhere on the frame does nothing at all.
  SendMessageW(Wnd(), WM_NCRBUTTONUP, HTRIGHT, Point(Screen({399, 150})));
  EXPECT_EQ(own->Count(WM_NCRBUTTONUP), 0);

  // Double clicks: on the caption the form maximises, on the icon it closes.
  SendMessageW(Wnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, Point(Screen({150, 10})));
  EXPECT_EQ(Commands(), std::vector<WPARAM>{SC_MAXIMIZE});

  manager->SetSkinnedPopups(false);
  bool refuse = true;
  int closes = 0;
  form->OnCloseQuery = vcl::TCloseQueryEvent::FromFunction(
      [](void* refused, vcl::TObject*, bool& can) { can = !*static_cast<bool*>(refused); }, &refuse);
  form->OnClose = vcl::TCloseEvent::FromFunction(
      [](void* n, vcl::TObject*, vcl::TCloseAction&) { ++*static_cast<int*>(n); }, &closes);
  form->Show();
  // Refused: the form stays and paints as before.
  SendMessageW(Wnd(), WM_NCLBUTTONDBLCLK, HTSYSMENU, Point(At(provider->CaptionButtons().IconRect)));
  EXPECT_EQ(closes, 0);
  EXPECT_FALSE(provider->SkinData->Updating);
  refuse = false;
  SendMessageW(Wnd(), WM_NCLBUTTONDBLCLK, HTSYSMENU, Point(At(provider->CaptionButtons().IconRect)));
  EXPECT_EQ(closes, 1);
}

// Sizing by outline, and the system's sizing

TEST_F(MouseTest, OutlineSizingMovesOnlyAFrameUntilTheRelease) {
  Skin();
  form->Show();
  provider->SetResizeMode(rmBorder);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  auto move = [&](int x, int y) {  // client coordinates of a screen point
    POINT p{x, y};
    ScreenToClient(Wnd(), &p);
    SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  };
  const vcl::TPoint edge = Screen({399, 150});
  Down(HTRIGHT, edge);
  ASSERT_TRUE(RubberFrame().Running());
  EXPECT_EQ(own->Count(WM_NCLBUTTONDOWN), 0);
  move(edge.X, edge.Y);  // recorded
  move(edge.X + 50, edge.Y + 20);
  EXPECT_EQ(RubberFrame().Frame().Width(), 450);
  EXPECT_EQ(RubberFrame().Frame().Height(), 300);
  EXPECT_EQ(form->Width(), 400);
  POINT release{edge.X + 60, edge.Y};
  ScreenToClient(Wnd(), &release);
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
  EXPECT_FALSE(RubberFrame().Running());
  EXPECT_EQ(form->Width(), 450);
  EXPECT_EQ(form->Left(), kFormLeft);

  // Dragged past the smallest size, the left edge stops and the right one stays.
  const int smallest = GetSystemMetrics(SM_CXMINTRACK);
  const vcl::TPoint left = Screen({0, 150});
  Down(HTLEFT, left);
  move(left.X, left.Y);
  move(left.X + 1000, left.Y);
  EXPECT_EQ(RubberFrame().Frame().Width(), smallest);
  EXPECT_EQ(RubberFrame().Frame().Right, kFormLeft + 450);
  SendMessageW(Wnd(), WM_NCLBUTTONDBLCLK, HTCLIENT, 0);  // a double click ends it too
  EXPECT_FALSE(RubberFrame().Running());
  EXPECT_EQ(form->Width(), smallest);

  // The caption moves the whole outline.
  const vcl::TPoint caption = Screen({150, provider->CaptionButtons().TitleCentre});
  Down(HTCAPTION, caption);
  move(caption.X, caption.Y);
  move(caption.X - 30, caption.Y + 40);
  EXPECT_EQ(RubberFrame().Frame().Width(), smallest);
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(form->Left(), kFormLeft + 450 - smallest - 30);
  EXPECT_EQ(form->Top(), kFormTop + 40);
}

// Another window taking the capture (as a window the user clicks elsewhere, or a system's
// loop, does) ends an outline size or move at once: the form keeps its bounds and the release
// that follows does nothing; a frame the form itself goes on with is not ended by it. The
// frame ends so also once the skin has gone while it ran.
TEST_F(MouseTest, AnOutlineEndsWhenAnotherWindowTakesTheCapture) {
  Skin();
  form->Show();
  provider->SetResizeMode(rmBorder);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  auto other = NewForm();
  other->HandleNeeded();
  auto move = [&](vcl::TPoint screen) {
    POINT p{screen.X, screen.Y};
    ScreenToClient(Wnd(), &p);
    SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  };
  const vcl::TRect before = WindowBox(Wnd());
  for (const bool skinned : {true, false}) {
    for (const int code : {HTRIGHT, HTCAPTION}) {
      SCOPED_TRACE(std::string(code == HTRIGHT ? "sizing" : "moving") + (skinned ? "" : ", the skin gone"));
      const vcl::TPoint from = code == HTRIGHT ? Screen({399, 150}) : Screen({150, provider->CaptionButtons().TitleCentre});
      Down(code, from);
      ASSERT_TRUE(RubberFrame().Running());
      ASSERT_EQ(GetCapture(), Wnd());
      move(from);
      move(vcl::TPoint(from.X + 50, from.Y + 20));
      if (!skinned) {
        manager->SetActive(false);
        ASSERT_FALSE(provider->FormSkinned());
        ASSERT_TRUE(RubberFrame().Running());
      }
      SetCapture(other->Handle());
      EXPECT_FALSE(RubberFrame().Running());
      EXPECT_FALSE(TitleButtonPressed());
      ReleaseCapture();
      SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
      EXPECT_EQ(WindowBox(Wnd()), before);
      if (!skinned) {
        manager->SetActive(true);
        ASSERT_TRUE(provider->FormSkinned());
      }
    }
  }
  // The capture kept to the end, the release gives the form the outline's bounds.
  const vcl::TPoint edge = Screen({399, 150});
  Down(HTRIGHT, edge);
  move(edge);
  move(vcl::TPoint(edge.X + 50, edge.Y));
  ASSERT_EQ(GetCapture(), Wnd());
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(RubberFrame().Running());
  EXPECT_EQ(form->Width(), 450);
}

TEST_F(MouseTest, LiveSizingNoFullDragAndCaptionMovesAreTheSystemsButAMaximisedFormStays) {
  Skin();
  form->Show();
  ShowWindow(Wnd(), SW_MAXIMIZE);
  Down(HTCAPTION, Screen({150, 10}));
  EXPECT_EQ(own->Count(WM_NCLBUTTONDOWN), 0);
  ShowWindow(Wnd(), SW_RESTORE);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  Down(HTRIGHT, Screen({399, 150}));
  Down(HTCAPTION, Screen({150, 10}));
  EXPECT_EQ(own->Count(WM_NCLBUTTONDOWN), 2);
  provider->SetResizeMode(rmBorder);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
  Down(HTRIGHT, Screen({399, 150}));
  EXPECT_EQ(own->Count(WM_NCLBUTTONDOWN), 3);
  EXPECT_FALSE(RubberFrame().Running());
}

// Blend on moving

TEST_F(MouseTest, BlendOnMovingStepsTheAlphaDownToTheBlendValue) {
  Skin();
  form->Show();
  TqvBlendOnMoving* blend = manager->AnimEffects()->BlendOnMoving();
  blend->SetActive(true);
  blend->SetTime(120);
  blend->SetBlendValue(200);
  provider->Animator().StartBlendOnMoving(false);
  auto* timer = dynamic_cast<TqvMoveTimer*>(provider->Animator().Timer());
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(provider->ExtFlags & kExtBlendMoving);
  EXPECT_EQ(timer->TargetAlpha, 200);
  EXPECT_DOUBLE_EQ(timer->AlphaStep, 5.5);
  std::vector<int> alphas;
  for (int i = 0; i < 14; ++i) {
    timer->Step();
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Wnd(), nullptr, &alpha, &flags));
    alphas.push_back(alpha);
  }
  EXPECT_EQ((std::vector<int>(alphas.begin(), alphas.begin() + 3)), (std::vector<int>{255, 250, 244}));  // 249.5 up
  EXPECT_EQ(alphas.back(), 200);
  EXPECT_TRUE(std::is_sorted(alphas.rbegin(), alphas.rend()));
  provider->Animator().StopBlendOnMoving(nullptr);
  EXPECT_EQ(provider->Animator().Timer(), nullptr);
  EXPECT_FALSE(provider->ExtFlags & kExtBlendMoving);
  EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_EXSTYLE) & WS_EX_LAYERED);

  // A short time jumps at once; a form that may not blend stays opaque.
  blend->SetTime(12);
  provider->SetAllowBlendOnMoving(false);
  provider->Animator().StartBlendOnMoving(false);
  auto twoSteps = [&] {
    auto* t = dynamic_cast<TqvMoveTimer*>(provider->Animator().Timer());
    EXPECT_NE(t, nullptr);
    if (t) t->Step(), t->Step();
    BYTE alpha = 0;
    GetLayeredWindowAttributes(Wnd(), nullptr, &alpha, nullptr);
    provider->Animator().StopBlendOnMoving(nullptr);
    return alpha;
  };
  EXPECT_EQ(twoSteps(), 255);
  provider->SetAllowBlendOnMoving(true);
  provider->Animator().StartBlendOnMoving(false);
  EXPECT_EQ(twoSteps(), 200);
}

}  // namespace
}  // namespace skin_layered::test
