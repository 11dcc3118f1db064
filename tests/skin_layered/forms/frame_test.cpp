// The skinned frame: the window image (one flat colour per section, glyph and state, so a pixel
// tells what was drawn), title buttons, painting messages, grip, icon and the system menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Menus.h"
#include "skinned_form_fixture.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/WindowImage.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Fills.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0xFFFFFF; }
// Colours equal within one step per channel (alpha blending rounds down).
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
  return true;
}

class FrameTest : public SkinnedFormTest {
 protected:
  // Shown with an active caption, whichever program's window has the foreground.
  void ShowActive() {
    form->Show();
    SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
  }
  void MaximizeActive() {
    ShowWindow(Wnd(), SW_MAXIMIZE);
    SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
  }
  int Frame() { return SysBorderWidth(Wnd(), nullptr, false); }
  std::uint32_t At(int x, int y) { return Rgb(PixelOf(provider->SkinData->CacheBmp(), x, y)); }
  std::uint32_t AtCentre(const vcl::TRect& r) { return At(Centre(r).X, Centre(r).Y); }
};

// Title buttons

TEST_F(FrameTest, ASizeableFormHasTheBigButtonsSpacedFromTheRight) {
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize, vcl::biHelp});
  Skin();
  Repaint();
  EXPECT_TRUE(provider->CaptionButtons().BigButtons);
  const int frame = Frame();
  const int caption = provider->Measures().CaptionHeight(true);
  EXPECT_EQ(provider->CaptionButtons().TitleCentre, caption / 2 + frame / 2);
  EXPECT_EQ(provider->CaptionButtons().TitleBottom, frame + caption);

  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  EXPECT_EQ(close, vcl::Rect(400 - 3 - frame - 20, provider->CaptionButtons().TitleCentre - 10, 400 - 3 - frame,
                             provider->CaptionButtons().TitleCentre + 10));
  EXPECT_EQ(provider->CaptionButtons().BtnMaximize.Rect.Right, close.Left - 2);  // BISPACE
  EXPECT_EQ(provider->CaptionButtons().BtnMinimize.Rect.Right, provider->CaptionButtons().BtnMaximize.Rect.Left - 2);
  // The help button 6 pixels left of the minimise button's spacing.
  EXPECT_EQ(provider->CaptionButtons().BtnHelp.Rect.Right, provider->CaptionButtons().BtnMinimize.Rect.Left - 2 - 6);
  EXPECT_EQ(provider->Measures().VisibleSysButtons(), 4);
  EXPECT_EQ(provider->CaptionButtons().ButtonsBlockWidth(), 3 + 20 + 3 * (20 + 2));
  // The icon at the left, the big family's glyphs in the image.
  EXPECT_EQ(provider->CaptionButtons().IconRect.Left, frame + 5);
  EXPECT_EQ(provider->CaptionButtons().IconRect.Width(), provider->Measures().TitleIconWidth());
  EXPECT_EQ(AtCentre(close), GlyphColor("BICONCLOSE", 0));
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnMaximize.Rect), GlyphColor("BICONMAX", 0));
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnMinimize.Rect), GlyphColor("BICONMIN", 0));
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnHelp.Rect), GlyphColor("BICONHELP", 0));
}

// The skin's gap after each big button holds while the four buttons laid with it fit between
// the icon and the frame, and while it takes back less than a button; one more either way is no
// gap (a gap of 100000 or -100000 laid the buttons out of the window, where they vanished).
TEST_F(FrameTest, TheButtonsGapHoldsWhileTheButtonsFitInTheTitle) {
  Skin();
  Repaint();
  const int frame = SysBorderWidth(Wnd(), nullptr, true);
  const int room = provider->WindowImage().ImageWidth() - frame - provider->CaptionButtons().IconRect.Right;
  const int widest = (room - 4 * 20 - 6) / 3;  // four buttons, three gaps and the help button's group gap
  ASSERT_GT(widest, 2);
  for (const auto& [gap, kept] : std::initializer_list<std::pair<long long, bool>>{
           {2, true}, {widest, true}, {widest + 1LL, false}, {-19, true}, {-20, false},
           {100000, false}, {-100000, false}, {2147483647, false}, {-2147483647, false}}) {
    SCOPED_TRACE(testing::Message() << "BISPACE=" << gap);
    const std::wstring name = L"Gap" + std::to_wstring(gap);
    std::string text = FrameSkinText();
    text.replace(text.find("BISPACE=2"), 9, "BISPACE=" + std::to_string(gap));
    WriteSkin(name.c_str(), text);
    skins.Write(name.c_str(), L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
    manager->SetSkinName(name);
    Repaint();
    const TqvCaptionButtons& buttons = provider->CaptionButtons();
    const int space = kept ? static_cast<int>(gap) : 0;
    EXPECT_EQ(buttons.BtnMaximize.Rect.Right, buttons.BtnClose.Rect.Left - space);
    EXPECT_EQ(buttons.BtnMinimize.Rect.Right, buttons.BtnMaximize.Rect.Left - space);
    EXPECT_EQ(buttons.BtnHelp.Rect.Right, buttons.BtnMinimize.Rect.Left - space - 6);
    for (const TsCaptionButton* button : {&buttons.BtnClose, &buttons.BtnMaximize, &buttons.BtnMinimize, &buttons.BtnHelp}) {
      EXPECT_EQ(button->Rect.Width(), 20) << button->HitCode;
      EXPECT_GE(button->Rect.Left, buttons.IconRect.Right) << button->HitCode;
      EXPECT_LE(button->Rect.Right, 400 - frame) << button->HitCode;
    }
    // Buttons laid over each other by a gap below 0 hide each other's middles.
    if (space >= 0) {
      EXPECT_EQ(AtCentre(buttons.BtnMaximize.Rect), GlyphColor("BICONMAX", 0));
      EXPECT_EQ(AtCentre(buttons.BtnHelp.Rect), GlyphColor("BICONHELP", 0));
    }
  }
}

TEST_F(FrameTest, UserButtonsFollowSixPixelsOnAndKeepTheirIndexAsHitCode) {
  TsTitleButtons* buttons = nullptr;
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  form->HandleNeeded();
  provider = NewProvider(form.get());
  buttons = provider->TitleButtons();
  buttons->Add()->SetVisible(false);
  TsTitleButton* shown = buttons->Add();
  auto glyph = std::make_unique<vcl::TBitmap>();
  glyph->SetSize(6, 6);
  glyph->Canvas()->Brush()->SetColor(0x0000FF);  // red, on a key-coloured corner
  glyph->Canvas()->FillRect(vcl::Rect(0, 0, 6, 6));
  glyph->Canvas()->Brush()->SetColor(0x00FF00);
  glyph->Canvas()->FillRect(vcl::Rect(0, 5, 1, 6));
  shown->SetGlyph(glyph.get());
  manager->SetSkinName(L"Frame");
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  Repaint();
  const vcl::TRect last = provider->CaptionButtons().BtnMinimize.Rect;
  const TsCaptionButton& hidden = buttons->Items(0)->Data;
  const TsCaptionButton& data = shown->Data;
  EXPECT_EQ(hidden.Rect.Width(), 0);
  EXPECT_EQ(vcl::TPoint(hidden.HitCode, data.HitCode), vcl::TPoint(1000, 1001));
  EXPECT_EQ(data.Rect.Right, last.Left - 2 - 6);
  EXPECT_EQ(data.Rect.Width(), 18);  // the TITLEBUTTON glyph is wider than the picture + 2
  EXPECT_EQ(data.ImageIndex, provider->CaptionButtons().TitleButtonMask);
  EXPECT_EQ(provider->FrameMouse().ElementByCode(1000), nullptr);
  EXPECT_EQ(provider->FrameMouse().ElementByCode(1001), &shown->Data);
  // The skin's background glyph with the picture centred on it.
  EXPECT_EQ(At(data.Rect.Left + 1, data.Rect.Top + 1), GlyphColor("TITLEBUTTON", 0));
  const vcl::TPoint c = Centre(data.Rect);
  EXPECT_EQ(At(c.X, c.Y), 0xFF0000u);
}

// A user button that leaves out the skin's background shows its picture on the bare caption, at
// rest and hot alike (no button face of the system's either: the skin has a background glyph).
TEST_F(FrameTest, AUserButtonWithoutTheSkinsBackgroundShowsItsPictureOnly) {
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  Skin();
  TsTitleButton* user = provider->TitleButtons()->Add();
  user->SetUseSkinData(false);
  vcl::TBitmap glyph;
  glyph.SetSize(6, 6);
  glyph.Canvas()->Brush()->SetColor(0x0000FF);
  glyph.Canvas()->FillRect(vcl::Rect(0, 0, 6, 6));
  user->SetGlyph(&glyph);
  ShowActive();
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  Repaint();
  const vcl::TRect r = user->Data.Rect;
  ASSERT_FALSE(r.IsEmpty());
  EXPECT_EQ(user->Data.ImageIndex, -1);
  // The caption just left of the button, row by row, is what the button's edges show.
  auto bare = [&] {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x : {r.Left, r.Left + 1, r.Right - 2, r.Right - 1})
        if (At(x, y) != At(r.Left - 1, y)) return false;
    return true;
  };
  EXPECT_TRUE(bare());
  EXPECT_EQ(AtCentre(r), 0xFF0000u);
  // Hot: repainted alone, still bare.
  SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, Point(SkinnedFormTest::At(r)));
  ASSERT_EQ(provider->FrameMouse().HotElement, 1000);
  EXPECT_EQ(user->Data.State, 1);
  EXPECT_TRUE(bare());
  EXPECT_EQ(AtCentre(r), 0xFF0000u);
}

// A skin without its general section has no title glyphs: the system's buttons show in their
// places, each its own, from the first skin the form wears.
TEST_F(FrameTest, ASkinWithoutGeneralInformationShowsTheSystemsTitleButtons) {
  const std::string text = FrameSkinText();
  WriteSkin(L"Bare", text.substr(text.find("[FORM]")));
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  form->HandleNeeded();
  provider = NewProvider(form.get());
  manager->SetSkinName(L"Bare");
  ASSERT_TRUE(provider->FormSkinned());
  ShowActive();
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  Repaint();
  const TqvCaptionButtons& title = provider->CaptionButtons();
  EXPECT_EQ(title.BtnClose.ImageIndex, -1);
  // Each button's place holds more than the caption's colour: the system drew its face and sign.
  auto drawn = [&](const vcl::TRect& r) {
    int other = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) other += At(x, y) != At(r.Left - 1, title.TitleCentre) ? 1 : 0;
    return other;
  };
  for (const TsCaptionButton* b : {&title.BtnClose, &title.BtnMaximize, &title.BtnMinimize}) {
    SCOPED_TRACE(b->HitCode);
    ASSERT_FALSE(b->Rect.IsEmpty());
    EXPECT_GT(drawn(b->Rect), b->Rect.Width() * b->Rect.Height() / 4);
  }
  EXPECT_EQ(vcl::TPoint(title.BtnClose.HitCode, title.BtnMinimize.HitCode), vcl::TPoint(20, 8));
}

// A skin with its general section but without the close, maximise and minimise glyphs: each of
// those buttons shows the system's face in its place, at rest and hot, whether the skin keeps
// the user buttons' background or not. A user button on the skin's background shows that
// background where the skin has it and the system's face where it has not; one that leaves the
// background out shows its picture alone either way.
TEST_F(FrameTest, TitleButtonsWithoutTheirGlyphsShowTheSystemsFaceWhateverElseTheSkinKeeps) {
  for (const bool userBackground : {true, false}) {
    SCOPED_TRACE(userBackground ? "the skin keeps the user buttons' background" : "nor the user buttons' background");
    std::string text = FrameSkinText();
    for (const char* key : {"BICONCLOSE=", "BICONMAX=", "BICONNORM=", "BICONMIN=", "BICLOSEALONE=", "TITLEBUTTON="}) {
      if (userBackground && std::string(key) == "TITLEBUTTON=") continue;
      const std::size_t at = text.find(key);
      ASSERT_NE(at, std::string::npos) << key;
      text.erase(at, text.find("\r\n", at) + 2 - at);
    }
    WriteSkin(L"Frame", text);
    form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
    Skin();
    vcl::TBitmap glyph;
    glyph.SetSize(6, 6);
    glyph.Canvas()->Brush()->SetColor(0x0000FF);
    glyph.Canvas()->FillRect(vcl::Rect(0, 0, 6, 6));
    TsTitleButton* onSkin = provider->TitleButtons()->Add();
    onSkin->SetGlyph(&glyph);
    TsTitleButton* bare = provider->TitleButtons()->Add();
    bare->SetUseSkinData(false);
    bare->SetGlyph(&glyph);
    ShowActive();
    SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
    Repaint();
    const TqvCaptionButtons& title = provider->CaptionButtons();
    // How many pixels of a place differ from the caption just left of it, row by row.
    auto drawn = [&](const vcl::TRect& r) {
      int other = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) other += At(x, y) != At(r.Left - 1, y) ? 1 : 0;
      return other;
    };
    for (const TsCaptionButton* b : {&title.BtnClose, &title.BtnMaximize, &title.BtnMinimize}) {
      SCOPED_TRACE(b->HitCode);
      ASSERT_FALSE(b->Rect.IsEmpty());
      EXPECT_EQ(b->ImageIndex, -1);
      EXPECT_GT(drawn(b->Rect), b->Rect.Width() * b->Rect.Height() / 4) << "at rest";
    }
    const vcl::TRect close = title.BtnClose.Rect;
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, Point(SkinnedFormTest::At(close)));
    EXPECT_EQ(title.BtnClose.State, 1);
    EXPECT_GT(drawn(close), close.Width() * close.Height() / 4) << "hot";
    // The user buttons' edges (their pictures lie in their centres), at rest and hot.
    auto edges = [&](const vcl::TRect& r) {
      int other = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x : {r.Left, r.Right - 1}) other += At(x, y) != At(r.Left - 1, y) ? 1 : 0;
      return other;
    };
    const vcl::TRect skinned = onSkin->Data.Rect, plain = bare->Data.Rect;
    ASSERT_FALSE(skinned.IsEmpty() || plain.IsEmpty());
    for (const int state : {0, 1}) {
      SCOPED_TRACE(state ? "hot" : "at rest");
      if (state) SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, Point(SkinnedFormTest::At(skinned)));
      if (userBackground)
        EXPECT_EQ(At(skinned.Left, (skinned.Top + skinned.Bottom) / 2), GlyphColor("TITLEBUTTON", state));
      else if (state)
        EXPECT_GT(edges(skinned), skinned.Height() / 2) << "the system's face";
      else
        EXPECT_EQ(edges(skinned), 0) << "the system's flat face at rest";
      if (state) SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, Point(SkinnedFormTest::At(plain)));
      if (userBackground || !state)
        EXPECT_EQ(edges(plain), 0) << "the picture alone";
      else
        EXPECT_GT(edges(plain), plain.Height() / 2) << "the system's face";
      for (const vcl::TRect& r : {skinned, plain}) EXPECT_EQ(AtCentre(r), 0xFF0000u);
    }
    form->Hide();
    provider.reset();
  }
}

TEST_F(FrameTest, DialogsAndToolWindowsTakeTheSmallGlyphsWithoutSpacing) {
  form->SetBorderStyle(vcl::TFormBorderStyle::bsDialog);
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  Skin();
  Repaint();
  EXPECT_FALSE(provider->CaptionButtons().BigButtons);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.Rect.Width(), 16);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.Rect.Right, 400 - 3 - Frame());
  // A dialog cannot be maximised or minimised.
  EXPECT_EQ(provider->CaptionButtons().BtnMaximize.Rect.Width() + provider->CaptionButtons().BtnMinimize.Rect.Width(), 0);
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnClose.Rect), GlyphColor("SICONCLOSE", 0));
  EXPECT_EQ(provider->Measures().VisibleSysButtons(), 1);
  TsSystemMenu* menu = provider->CurrentSystemMenu();
  menu->UpdateItems(false);
  for (vcl::TMenuItem* item : {menu->ItemRestore, menu->ItemSize, menu->ItemMinimize, menu->ItemMaximize})
    EXPECT_FALSE(item->Visible()) << item->Name();
  EXPECT_TRUE(menu->ItemMove->Visible() && menu->ItemClose->Visible());

  form->SetBorderStyle(vcl::TFormBorderStyle::bsToolWindow);
  form->HandleNeeded();
  provider->CaptionButtons().InitSystemButtons();
  Repaint();
  EXPECT_EQ(provider->Measures().CaptionHeight(true), GetSystemMetrics(SM_CYSMCAPTION));
  EXPECT_EQ(provider->CaptionButtons().BtnClose.Rect.Height(), 16);
  EXPECT_EQ(provider->CaptionButtons().BtnClose.Rect.Top, provider->CaptionButtons().TitleCentre - 8);
}

TEST_F(FrameTest, AFormWithoutMaximiseAndMinimiseShowsTheLoneCloseGlyph) {
  form->SetBorderIcons({vcl::biSystemMenu});
  Skin();
  Repaint();
  EXPECT_EQ(provider->CaptionButtons().BtnClose.ImageIndex,
            manager->Skin().ConstData.TitleButton(TqvTitleButtonImage::BICloseAlone));
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnClose.Rect), GlyphColor("BICLOSEALONE", 0));
  EXPECT_EQ(provider->Measures().VisibleSysButtons(), 1);
}

// A child control asking for its background builds the image before the first frame painting
// has made the system menu; the image still has the buttons the form's icons ask for.
TEST_F(FrameTest, AnImageBuiltBeforeTheFirstFramePaintingHasTheTitleButtons) {
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  form->HandleNeeded();
  provider = NewProvider(form.get());
  manager->SetSkinName(L"Frame");
  ASSERT_TRUE(provider->FormSkinned());
  Repaint();
  ASSERT_NE(provider->CurrentSystemMenu(), nullptr);
  EXPECT_EQ(provider->Measures().VisibleSysButtons(), 3);
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnClose.Rect), GlyphColor("BICONCLOSE", 0));
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnMaximize.Rect), GlyphColor("BICONMAX", 0));
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnMinimize.Rect), GlyphColor("BICONMIN", 0));
  // The first frame painting finds them there and leaves them.
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  provider->PaintAll();
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnClose.Rect), GlyphColor("BICONCLOSE", 0));
}

TEST_F(FrameTest, ButtonStatesRepaintOnlyTheirElement) {
  Skin();
  ShowActive();
  Repaint();
  const vcl::TRect close = provider->CaptionButtons().BtnClose.Rect;
  const vcl::TRect max = provider->CaptionButtons().BtnMaximize.Rect;
  provider->FrameMouse().SetHotElement(20, true);
  EXPECT_EQ(AtCentre(close), GlyphColor("BICONCLOSE", 1));
  provider->FrameMouse().PressElement(20);
  EXPECT_EQ(AtCentre(close), GlyphColor("BICONCLOSE", 2));
  // The button released elsewhere; another element hot: the close button is normal again, the
  // maximise button hot.
  SetTitleButtonPressed(false);
  provider->FrameMouse().SetHotElement(9, true);
  EXPECT_EQ(AtCentre(close), GlyphColor("BICONCLOSE", 0));
  EXPECT_EQ(AtCentre(max), GlyphColor("BICONMAX", 1));
  provider->FrameMouse().SetHotElement(0, true);
  EXPECT_EQ(AtCentre(max), GlyphColor("BICONMAX", 0));
  // A disabled form draws its buttons dimmed.
  form->SetEnabled(false);
  Repaint();
  EXPECT_NE(AtCentre(close), GlyphColor("BICONCLOSE", 0));
  form->SetEnabled(true);
  // A maximised form shows the restore glyph.
  MaximizeActive();
  Repaint();
  EXPECT_EQ(AtCentre(provider->CaptionButtons().BtnMaximize.Rect), GlyphColor("BICONNORM", 0));
  ShowWindow(Wnd(), SW_RESTORE);
}

// The window image

TEST_F(FrameTest, TheImageHoldsFrameTitleCaptionAndClientBackgroundAndIsWhatPrints) {
  Skin();
  ShowActive();
  vcl::TBitmap* image = Repaint();
  EXPECT_EQ(vcl::TPoint(image->Width(), image->Height()), vcl::TPoint(400, 300));
  EXPECT_EQ(At(200, 2), kTitleHotRgb);                         // the active caption
  EXPECT_EQ(At(1, 150), kFormRgb);                            // the left frame
  EXPECT_EQ(At(provider->WindowImage().OffsetX() + 20, provider->WindowImage().OffsetY() + 20), kFormRgb);  // client
  EXPECT_EQ(At(200, 299), kFormRgb);                          // the bottom frame
  EXPECT_EQ(provider->WindowImage().CaptionBottom(), WndHeight(Wnd()) - ClientHeightOf(Wnd()) - Frame());
  EXPECT_TRUE(provider->WindowImage().FirstPaintDone && !provider->SkinData->BGChanged);
  // Some caption text in the title's font colour between the icon and the buttons.
  int white = 0;
  for (int x = provider->CaptionButtons().IconRect.Right; x < provider->CaptionButtons().BtnMinimize.Rect.Left; ++x)
    for (int y = provider->CaptionButtons().TitleCentre - 6; y <= provider->CaptionButtons().TitleCentre + 6; ++y)
      if (At(x, y) == 0xFFFFFF) ++white;
  EXPECT_GT(white, 5);
  // The inactive caption.
  provider->FormActive = false;
  Repaint();
  EXPECT_EQ(At(200, 2), kTitleRgb);
  provider->FormActive = true;
  // A title section the skin lacks leaves the caption to the form section.
  provider->SetTitleSkin(L"NOSUCHSECTION");
  Repaint();
  EXPECT_EQ(At(200, 2), kFormRgb);
  provider->SetTitleSkin(L"");

  // A printed form equals its image.
  image = Repaint();
  auto printed = CreateBmp32(image->Width(), image->Height());
  SendMessageW(Wnd(), WM_PRINT, reinterpret_cast<WPARAM>(printed->Canvas()->Handle()),
               PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
  GdiFlush();
  int different = 0;
  vcl::TPoint first(-1, -1);
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x)
      if (Rgb(PixelOf(printed.get(), x, y)) != Rgb(PixelOf(image, x, y)) && different++ == 0) first = {x, y};
  EXPECT_EQ(different, 0) << "first at " << first.X << "," << first.Y << ": " << std::hex
                          << PixelOf(printed.get(), first.X, first.Y) << " for " << PixelOf(image, first.X, first.Y);

  // The client background as WM_PRINT's erase asks for it: the image's client part.
  auto client = CreateBmp32(ClientWidthOf(Wnd()), ClientHeightOf(Wnd()));
  HDC dc = client->Canvas()->Handle();
  EXPECT_EQ(SendMessageW(Wnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc)), 1);
  GdiFlush();
  EXPECT_EQ(Rgb(PixelOf(client.get(), 5, 5)), kFormRgb);
}

// The caption section dresses the caption on the title's band, in its own text colour for each
// state. Without the title section the band is the form's face, which the caption section's
// colours were not made for (a light text for a dark band, white on a light face): the caption
// keeps the form section's text colour there, as it does under a skin without either section.
TEST_F(FrameTest, TheCaptionSectionsColoursGoWithTheTitleSectionAndTheFormsWithoutIt) {
  const std::string caption =
      "[CAPTION]\r\nSTATES=2\r\nTRANSPARENCY=100\r\nHOTTRANSPARENCY=100\r\nFONTCOLOR=$0000E0\r\n"
      "HOTFONTCOLOR=$E00000\r\n";
  constexpr std::uint32_t kCaptionText = 0xE00000, kCaptionHotText = 0x0000E0;  // red, blue
  std::string noTitle = FrameSkinText();
  const std::size_t title = noTitle.find("[FORMTITLE]");
  noTitle.erase(title, noTitle.find("[MENULINE]") - title);
  struct Variant {
    const wchar_t* name;
    std::string text;
    bool captionColours;  // the caption section's colours, else the form's (dark) text
  };
  const Variant variants[] = {{L"Captioned", FrameSkinText() + caption, true},
                              {L"CaptionedUntitled", noTitle + caption, false},
                              {L"Untitled", noTitle, false}};
  for (const Variant& v : variants) {
    WriteSkin(v.name, v.text);
    skins.Write(v.name, L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
  }
  Skin();
  ShowActive();
  for (const Variant& v : variants) {
    SCOPED_TRACE(std::string(v.name, v.name + wcslen(v.name)));
    manager->SetSkinName(v.name);
    ASSERT_TRUE(provider->FormSkinned());
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      provider->FormActive = active;
      Repaint();
      int own = 0, other = 0, dark = 0;
      const TqvCaptionButtons& buttons = provider->CaptionButtons();
      for (int x = buttons.IconRect.Right; x < buttons.BtnHelp.Rect.Left; ++x)
        for (int y = buttons.TitleCentre - 6; y <= buttons.TitleCentre + 6; ++y) {
          const std::uint32_t c = At(x, y);
          if (c == (active ? kCaptionHotText : kCaptionText)) ++own;
          if (c == (active ? kCaptionText : kCaptionHotText)) ++other;
          if (((c >> 16) & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && (c & 0xFF) < 0x40) ++dark;
        }
      EXPECT_EQ(other, 0) << "the other state's colour";
      if (v.captionColours) {
        EXPECT_GT(own, 5);
        EXPECT_EQ(dark, 0);
      } else {
        EXPECT_EQ(own, 0) << "the caption section's colour on the form's face";
        EXPECT_GT(dark, 5) << "no text in the form's colour";
      }
    }
  }
  provider->FormActive = true;
}

// The skin's glyphs of the system buttons are drawn for its title band. Without the title
// section (the skin lacks it, or lacks the one the provider names) the buttons stand on the
// form's own face, and with one that has no value along its parents on a plain default band,
// where a glyph made for the band may not be seen: the system's buttons show
// there, their signs standing off their faces, with the caption active and inactive (another
// window activated), hot, and maximised. With a title section the skin's glyphs stay, half
// blended over the band while inactive.
TEST_F(FrameTest, WithoutTheTitleSectionTheSystemsTitleButtonsShowInEveryState) {
  std::string noTitle = FrameSkinText();
  const std::size_t title = noTitle.find("[FORMTITLE]");
  noTitle.erase(title, noTitle.find("[MENULINE]") - title);
  WriteSkin(L"Untitled", noTitle);
  skins.Write(L"Untitled", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
  // A title section with no value of its own, its parent missing: a plain default band.
  std::string hollow = noTitle;
  hollow.insert(hollow.find("[MENULINE]"), "[FORMTITLE]\r\nPARENTCLASS=NOSUCHTITLE\r\n");
  WriteSkin(L"Hollow", hollow);
  skins.Write(L"Hollow", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
  struct Variant {
    const wchar_t* skin;
    const wchar_t* titleSection;  // the provider's (empty: the skin's own)
    bool skinGlyphs;
  };
  const Variant variants[] = {{L"Frame", L"", true},
                              {L"Frame", L"NOSUCHTITLE", false},
                              {L"Frame", L"MENULINE", true},
                              {L"Untitled", L"", false},
                              {L"Hollow", L"", false},
                              {L"Frame", L"", true}};
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
  Skin();
  ShowActive();
  auto other = NewForm();
  other->SetBounds(20, 20, 200, 100);
  const TqvCaptionButtons& buttons = provider->CaptionButtons();
  struct Shown {
    const TsCaptionButton* button;
    const char* glyph;
  };
  const Shown shown[] = {
      {&buttons.BtnClose, "BICONCLOSE"}, {&buttons.BtnMaximize, "BICONMAX"}, {&buttons.BtnMinimize, "BICONMIN"}};
  auto check = [&](const Variant& v, const TsCaptionButton& b, const char* glyph, int state) {
    SCOPED_TRACE(b.HitCode);
    const vcl::TRect r = b.Rect;
    ASSERT_FALSE(r.IsEmpty());
    if (!v.skinGlyphs) {
      EXPECT_EQ(b.ImageIndex, -1);
      EXPECT_GE(ContrastingPixels(provider->SkinData->CacheBmp(), r), 10) << "the sign stands off the face";
      return;
    }
    EXPECT_GE(b.ImageIndex, 0);
    const std::uint32_t own = GlyphColor(glyph, state);
    if (provider->FormActive || state != 0) {
      EXPECT_EQ(AtCentre(r), own);
    } else {
      const std::uint32_t band = At(r.Left - 1, Centre(r).Y);
      std::uint32_t half = 0;
      for (int shift : {0, 8, 16}) half |= ((((own >> shift) & 0xFF) + ((band >> shift) & 0xFF)) / 2) << shift;
      EXPECT_TRUE(Near(AtCentre(r), half)) << std::hex << AtCentre(r) << " " << half;
    }
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(std::string(v.skin, v.skin + wcslen(v.skin)) + " " +
                 std::string(v.titleSection, v.titleSection + wcslen(v.titleSection)));
    // The provider's title section changed under the skin it wears, or another skin.
    if (manager->SkinName() != v.skin) manager->SetSkinName(v.skin);
    provider->SetTitleSkin(v.titleSection);
    ASSERT_TRUE(provider->FormSkinned());
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      ActivateFormOrOther(Wnd(), *other, active);
      ASSERT_EQ(provider->FormActive, active);
      for (const Shown& s : shown) check(v, *s.button, s.glyph, 0);
      SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTCAPTION, Point(SkinnedFormTest::At(buttons.BtnClose.Rect)));
      ASSERT_EQ(buttons.BtnClose.State, 1);
      check(v, buttons.BtnClose, "BICONCLOSE", 1);
      provider->FrameMouse().SetHotElement(0, true);
    }
    other->Hide();
  }
  // Maximised, without the title section: the system's restore button.
  manager->SetSkinName(L"Untitled");
  MaximizeActive();
  Repaint();
  check(variants[3], buttons.BtnMaximize, "BICONNORM", 0);
  ShowWindow(Wnd(), SW_RESTORE);
  manager->SetSkinName(L"Frame");
  MaximizeActive();
  Repaint();
  check(variants[0], buttons.BtnMaximize, "BICONNORM", 0);
  ShowWindow(Wnd(), SW_RESTORE);
}

// A printed form shows what the screen shows: the skinned frame, the client background, its
// graphic controls (an image) and its windowed ones (a panel over the image's corner), over a
// body of one plain colour and over one the skin shades; also when the print asks the form to
// erase its background itself (its snapshot for the animations, which prints the windowed
// controls afterwards).
TEST_F(FrameTest, APrintedFormShowsItsGraphicAndWindowedControls) {
  std::string shaded = FrameSkinText();
  shaded.replace(shaded.find("[FORM]\r\n"), 8, "[FORM]\r\nGRADIENTPERCENT=50\r\n");
  WriteSkin(L"Shaded", shaded);
  skins.Write(L"Shaded", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
  auto* picture = new vcl::TImage(form.get());
  picture->SetParent(form.get());
  picture->SetBounds(20, 20, 60, 40);
  picture->Picture()->Bitmap()->SetSize(60, 40);
  picture->Picture()->Bitmap()->Canvas()->Brush()->SetColor(static_cast<vcl::TColor>(0x0000E0));  // red
  picture->Picture()->Bitmap()->Canvas()->FillRect(vcl::Rect(0, 0, 60, 40));
  auto* panel = new vcl::TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(60, 40, 60, 40);  // over the image's bottom-right corner
  panel->SetBevelOuter(vcl::bvNone);
  panel->SetParentBackground(false);
  panel->SetColor(static_cast<vcl::TColor>(0x00E000));  // green
  Skin();
  ShowActive();
  for (const wchar_t* skin : {L"Frame", L"Shaded"}) {
    SCOPED_TRACE(skin == std::wstring(L"Frame") ? "plain body" : "shaded body");
    manager->SetSkinName(skin);
    ASSERT_TRUE(provider->FormSkinned());
    vcl::TBitmap* image = Repaint();
    const int x = provider->WindowImage().OffsetX(), y = provider->WindowImage().OffsetY();
    auto check = [&](vcl::TBitmap* printed, bool frame) {
      EXPECT_EQ(Rgb(PixelOf(printed, x + 30, y + 30)), 0xE00000u);   // the image
      EXPECT_EQ(Rgb(PixelOf(printed, x + 70, y + 50)), 0x00E000u);   // the panel over it
      EXPECT_EQ(Rgb(PixelOf(printed, x + 100, y + 70)), 0x00E000u);  // the panel alone
      EXPECT_EQ(Rgb(PixelOf(printed, x + 200, y + 150)), Rgb(PixelOf(image, x + 200, y + 150)));  // the body
      if (frame) {
        EXPECT_EQ(Rgb(PixelOf(printed, 200, 2)), Rgb(PixelOf(image, 200, 2)));  // the caption
      }
    };
    auto printed = CreateBmp32(image->Width(), image->Height());
    SendMessageW(Wnd(), WM_PRINT, reinterpret_cast<WPARAM>(printed->Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
    GdiFlush();
    check(printed.get(), true);
    std::unique_ptr<vcl::TBitmap> snapshot = provider->FormSnapshot(false);
    ASSERT_NE(snapshot, nullptr);
    check(snapshot.get(), true);  // the frame too
  }
}

TEST_F(FrameTest, AMenuLinePushesTheClientDownByWholeLines) {
  auto* menu = new vcl::TMainMenu(form.get());
  for (const wchar_t* caption : {L"&File", L"&Edit"}) {
    auto* item = new vcl::TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);
  Skin();
  ShowActive();
  Repaint();
  EXPECT_TRUE(provider->Measures().HasMenuLine() && provider->Measures().MenuVisible());
  EXPECT_EQ(provider->Measures().MenuHeight(), GetSystemMetrics(SM_CYMENU) - 1);
  EXPECT_EQ(provider->Measures().MenuLinesCount(), 1);
  // The menu line's strip right of its items.
  EXPECT_EQ(At(400 - Frame() - 4, provider->CaptionButtons().TitleBottom + 2), kMenuLineRgb);
  EXPECT_EQ(provider->WindowImage().OffsetY(), WndHeight(Wnd()) - ClientHeightOf(Wnd()) - Frame());
  ASSERT_TRUE(provider->WindowImage().MenuLineBmp);
  EXPECT_EQ(provider->WindowImage().MenuLineBmp->Height(), provider->Measures().MenuHeight());
  form->SetMenu(nullptr);
}

TEST_F(FrameTest, TheFrameIsPaintedOnceTheWindowHasTheFormsSizeAndOnlyWhileAskedTo) {
  Skin();
  provider->SkinData->FreeCacheBmp();
  // Not shown: nothing is painted.
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(provider->SkinData->CacheBmp(), nullptr);
  ShowActive();
  provider->SkinData->FreeCacheBmp();
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  ASSERT_NE(provider->SkinData->CacheBmp(), nullptr);
  EXPECT_EQ(provider->SkinData->CacheBmp()->Width(), 400);
  // The border strips into a DC are the image's.
  auto strips = CreateBmp32(400, 300);
  provider->WindowImage().PaintBorders(strips->Canvas()->Handle());
  GdiFlush();
  EXPECT_EQ(Rgb(PixelOf(strips.get(), 200, 2)), kTitleHotRgb);
  EXPECT_EQ(Rgb(PixelOf(strips.get(), 1, 200)), kFormRgb);

  // Without the non-client painting the system's frame comes back.
  provider->WindowImage().FirstPaintDone = true;
  provider->Region().UpdateFormRgn(false);
  ASSERT_FALSE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_SYSMENU);
  provider->SetDrawNonClientArea(false);
  EXPECT_TRUE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_SYSMENU);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(Wnd(), rgn), ERROR);
  DeleteObject(rgn);
  provider->SetDrawNonClientArea(true);
  EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_SYSMENU);
}

// Without corner holes the form's region would be the whole window: it keeps none, so a step
// of a resize asks the frame once (the size's own), never again for a region.
TEST_F(FrameTest, WithoutCornerHolesAResizeStepAsksTheFrameOnceAndSetsNoRegion) {
  Skin();
  ShowActive();
  Repaint();
  ASSERT_TRUE(provider->Region().RgnRects.empty());
  const FrameCalcCounter calcs;
  provider->Region().UpdateFormRgn(false);
  EXPECT_EQ(calcs.Count(), 0);
  SetWindowPos(Wnd(), nullptr, 0, 0, 430, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
  EXPECT_EQ(calcs.Count(), 1);
  EXPECT_EQ(RegionBox(Wnd()), vcl::TRect());
}

// Each step of a resize shows the frame of the new size as soon as the size is set: the border
// strips, the title and its buttons at their new places, as the window image of that size has
// them; growing and shrinking, in either direction.
TEST_F(FrameTest, EachResizeStepShowsTheFrameOfTheNewSizeAtOnce) {
  Skin();
  ShowActive();
  Repaint();
  for (const vcl::TPoint size : {vcl::TPoint(460, 350), vcl::TPoint(380, 280), vcl::TPoint(440, 260), vcl::TPoint(390, 340)}) {
    SCOPED_TRACE(testing::Message() << size.X << " x " << size.Y);
    SetWindowPos(Wnd(), nullptr, 0, 0, size.X, size.Y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    vcl::TBitmap* image = provider->SkinData->CacheBmp();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(vcl::TPoint(image->Width(), image->Height()), size);
    const TqvCaptionButtons& title = provider->CaptionButtons();
    EXPECT_EQ(AtCentre(title.BtnClose.Rect), GlyphColor("BICONCLOSE", 0));
    EXPECT_GT(title.BtnClose.Rect.Right, size.X - 20);
    const int frame = Frame();
    const std::array<vcl::TPoint, 6> places{Centre(title.BtnClose.Rect),  vcl::TPoint(size.X / 2, title.TitleCentre),
                                            vcl::TPoint(frame / 2, size.Y / 2), vcl::TPoint(size.X - 1 - frame / 2, size.Y / 2),
                                            vcl::TPoint(size.X / 2, size.Y - 1 - frame / 2), vcl::TPoint(size.X - 30, size.Y - 1)};
    const HDC dc = GetWindowDC(Wnd());
    for (const vcl::TPoint p : places) {
      const COLORREF shown = GetPixel(dc, p.X, p.Y);
      EXPECT_EQ(std::uint32_t(GetRValue(shown)) << 16 | GetGValue(shown) << 8 | GetBValue(shown), At(p.X, p.Y))
          << "at " << p.X << ", " << p.Y;
    }
    ReleaseDC(Wnd(), dc);
  }
}

TEST_F(FrameTest, MaximisingFillsTheWorkAreaPastTheFrame) {
  Skin();
  MINMAXINFO info{};
  SendMessageW(Wnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(Wnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  const int frame = Frame();
  EXPECT_EQ(vcl::TPoint(info.ptMaxPosition), vcl::TPoint(-frame, -frame));
  EXPECT_EQ(vcl::TPoint(info.ptMaxSize), vcl::TPoint(monitor.rcWork.right - monitor.rcWork.left + 2 * frame,
                                                    monitor.rcWork.bottom - monitor.rcWork.top + 2 * frame));
}

// The provider's measures but for what the test sets: the system's frame width and the form's
// own scroll bars; no menu line and no grip.
class TTestMeasures : public TqvFormMeasures {
 public:
  explicit TTestMeasures(TsSkinProvider& Provider)
      : TqvFormMeasures(Provider, Provider, Provider.TitleSkinIndex, Provider.MenuLineCount) {}
  bool HasMenuLine() const override { return false; }
  bool MenuVisible() const override { return false; }
  int MenuHeight() const override { return 0; }
  int MenuLinesCount() const override { return 0; }
  int BorderWidthSys() const override { return frame; }
  vcl::TSize ScrollBarsExtent() const override { return bars; }
  bool GripVisible() const override { return false; }

  int frame = 0;
  vcl::TSize bars;
};

// The window image on its own: a host that answers from the form's provider, but for what the
// test sets.
class TTestImageHost : public TqvWindowImageHost {
 public:
  explicit TTestImageHost(TsSkinProvider& Provider) : measures(Provider), provider_(Provider) {}
  TsSkinManager* SkinManager() const override { return provider_.SkinManager(); }
  TsSkinProviderBase* FrameProvider() override { return &provider_; }
  TqvBorderForm* ExtBorderForm() const override { return nullptr; }
  bool BlendingOrHiding() const override { return held; }
  bool CaptionActive() const override { return active; }
  TqvCaptionButtons& CaptionButtons() const override { return provider_.CaptionButtons(); }
  TqvCaptionText& CaptionText() const override { return provider_.CaptionText(); }
  TsSystemMenu* CurrentSystemMenu() const override { return provider_.CurrentSystemMenu(); }
  void MakeSystemMenu() override { provider_.Menus().MakeSystemMenu(); }
  const TqvFormMeasures& Measures() const override { return measures; }
  TsTitleIcon* TitleIcon() const override { return provider_.TitleIcon(); }
  const vcl::String& MenuLineSkin() const override { return provider_.MenuLineSkin(); }
  void PrepareMenusAgain() override {}
  bool IsMDIProvider() const override { return false; }
  vcl::TPoint ImagePointOf(vcl::TPoint Screen) override { return provider_.FrameMouse().ImagePointOf(Screen); }
  bool MaximizedBorderLarge() const override { return false; }
  void MarkRegionStale() override { ++stale; }
  vcl::TCustomForm* MDIFrameForm() const override { return nullptr; }
  bool IsPrinting() const override { return false; }
  void ClientPainted() override { ++clients; }

  TTestMeasures measures;
  bool active = false, held = false;
  int stale = 0, clients = 0;

 private:
  TsSkinProvider& provider_;
};

TEST_F(FrameTest, TheWindowImageIsBuiltFromWhatItsHostAnswers) {
  Skin();
  ShowActive();
  Repaint();
  TTestImageHost host(*provider);
  TqvWindowImage image(host);
  // The window's size; no shadow without a border form.
  EXPECT_EQ(vcl::TPoint(image.ImageWidth(), image.ImageHeight()), vcl::TPoint(400, 300));
  EXPECT_TRUE(image.ShadowSize().IsEmpty());
  EXPECT_FALSE(image.ImageSizeChanged());
  // The grip's place inside the frame width the host gives.
  const int grip = manager->Skin().ConstData.GripImage;
  host.measures.frame = 4;
  const vcl::TPoint at = image.GripPos(grip);
  EXPECT_GT(at.X, 0);
  host.measures.frame = 9;
  EXPECT_EQ(image.GripPos(grip), vcl::TPoint(at.X - 5, at.Y - 5));
  // The client's place: the form's own scroll bars the host reports are not frame.
  host.measures.frame = provider->Measures().BorderWidthSys();
  const TqvWindowImage& own = provider->WindowImage();
  EXPECT_EQ(vcl::TPoint(image.OffsetX(), image.OffsetY()), vcl::TPoint(own.OffsetX(), own.OffsetY()));
  EXPECT_EQ(image.CaptionBottom(), provider->WindowImage().CaptionBottom());
  host.measures.bars = vcl::TSize(16, 12);
  EXPECT_EQ(vcl::TPoint(image.OffsetX(), image.OffsetY()),
            vcl::TPoint(own.OffsetX() - 8, own.OffsetY() - 12));
  EXPECT_EQ(image.CaptionBottom(), provider->WindowImage().CaptionBottom() - 12);
  host.measures.bars = {};

  // Held by a blended move or the hide animation: a stale image stays stale.
  provider->SkinData->BGChanged = true;
  host.held = true;
  EXPECT_TRUE(image.PaintAllImage());
  EXPECT_TRUE(provider->SkinData->BGChanged);
  EXPECT_EQ(host.stale, 0);
  EXPECT_FALSE(image.TitleBgBmp);
  // Rebuilt in the caption state the host answers (the provider's own is active), the region
  // marked stale, the clean caption corner saved.
  host.held = false;
  EXPECT_TRUE(image.PaintAllImage());
  EXPECT_FALSE(provider->SkinData->BGChanged);
  EXPECT_EQ(host.stale, 1);
  EXPECT_EQ(At(200, 2), kTitleRgb);
  EXPECT_TRUE(image.FirstPaintDone && !image.FirstPaint);
  ASSERT_TRUE(image.TitleBgBmp);
  EXPECT_GT(image.TitleBgBmp->Width(), provider->CaptionButtons().ButtonsBlockWidth());
  host.active = true;
  provider->SkinData->BGChanged = true;
  EXPECT_TRUE(image.PaintAllImage());
  EXPECT_EQ(At(200, 2), kTitleHotRgb);
  EXPECT_EQ(host.stale, 2);
  // The client background out of it, and the host told.
  auto client = CreateBmp32(ClientWidthOf(Wnd()), ClientHeightOf(Wnd()));
  image.PaintFormBg(client->Canvas()->Handle());
  GdiFlush();
  EXPECT_EQ(Rgb(PixelOf(client.get(), 20, 20)), kFormRgb);
  EXPECT_EQ(host.clients, 1);
}

// Grip and icon

TEST_F(FrameTest, TheGripSitsInTheBottomRightCornerOverTheBackground) {
  provider.reset();
  form->HandleNeeded();
  provider = NewProvider(form.get());
  provider->SetGripMode(gmRightBottom);
  manager->SetSkinName(L"Frame");
  ShowActive();
  vcl::TBitmap* image = Repaint();
  ASSERT_TRUE(provider->Measures().GripVisible());
  const int grip = manager->Skin().ConstData.GripImage;
  const vcl::TPoint at = provider->WindowImage().GripPos(grip);
  const int frame = provider->Measures().BorderWidthSys();
  EXPECT_EQ(at, vcl::TPoint(image->Width() - 12 - frame - 1, image->Height() - 12 - frame - 1));
  // A plain form body: the grip comes with the client background, at its place in the image.
  auto client = CreateBmp32(ClientWidthOf(Wnd()), ClientHeightOf(Wnd()));
  HDC dc = client->Canvas()->Handle();
  EXPECT_EQ(SendMessageW(Wnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  GdiFlush();
  const vcl::TPoint c(at.X - provider->WindowImage().OffsetX(), at.Y - provider->WindowImage().OffsetY());
  EXPECT_EQ(Rgb(PixelOf(client.get(), c.X + 6, c.Y + 6)), GlyphColor("GRIPIMAGE", 0));
  EXPECT_EQ(Rgb(PixelOf(client.get(), c.X - 2, c.Y + 6)), kFormRgb);
  // Not on a maximised form.
  MaximizeActive();
  EXPECT_FALSE(provider->Measures().GripVisible());
  ShowWindow(Wnd(), SW_RESTORE);
}

TEST_F(FrameTest, TheCaptionIconIsTheSystemsWhenNobodyHasOneAndAGlyphLosesItsKeyColour) {
  Skin();
  ShowActive();
  Repaint();
  const vcl::TRect r = provider->CaptionButtons().IconRect;
  ASSERT_TRUE(provider->Measures().IconVisible() && r.Width() > 0);
  // The system's application icon: the pixels it drew are opaque, the caption around stays.
  auto reference = CreateBmp32(r.Width(), r.Height());
  FillDC(reference->Canvas()->Handle(), vcl::Rect(0, 0, r.Width(), r.Height()), 0x3060C0);  // as TColor
  FillAlphaRect(reference.get(), vcl::Rect(0, 0, r.Width(), r.Height()), 255);
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  DrawIconEx(reference->Canvas()->Handle(), 0, 0, icon, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
  GdiFlush();
  int drawn = 0, same = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const std::uint32_t want = Rgb(PixelOf(reference.get(), x, y));
      const std::uint32_t got = PixelOf(provider->SkinData->CacheBmp(), r.Left + x, r.Top + y);
      if (Rgb(got) == want) ++same;
      if (want != kTitleHotRgb && (got >> 24) == 0xFF) ++drawn;
    }
  EXPECT_EQ(same, r.Width() * r.Height());
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(At(r.Left - 1, provider->CaptionButtons().TitleCentre), kTitleHotRgb);

  // A 24-bit glyph: its bottom-left colour is a hole, the rest opaque.
  auto glyph = std::make_unique<vcl::TBitmap>();
  glyph->SetPixelFormat(vcl::pf24bit);
  glyph->SetSize(16, 16);
  glyph->Canvas()->Brush()->SetColor(0x00FF00);  // green: the key
  glyph->Canvas()->FillRect(vcl::Rect(0, 0, 16, 16));
  glyph->Canvas()->Brush()->SetColor(0xFF0000);  // blue
  glyph->Canvas()->FillRect(vcl::Rect(4, 4, 12, 12));
  provider->TitleIcon()->SetGlyph(glyph.get());
  Repaint();
  const vcl::TRect g = provider->CaptionButtons().IconRect;
  const int top = g.Top + (g.Height() - 16) / 2;
  EXPECT_TRUE(Near(At(g.Left + 8, top + 8), 0x0000FFu)) << std::hex << At(g.Left + 8, top + 8);
  EXPECT_EQ(At(g.Left + 1, top + 1), kTitleHotRgb);
  // A glyph with a fixed transparent colour: that colour is the hole, its corner colour shows.
  glyph->SetTransparentColor(0xFF0000);
  provider->TitleIcon()->SetGlyph(glyph.get());
  Repaint();
  EXPECT_EQ(At(g.Left + 8, top + 8), kTitleHotRgb);
  EXPECT_TRUE(Near(At(g.Left + 1, top + 1), 0x00FF00u)) << std::hex << At(g.Left + 1, top + 1);
}

// The skinned system menu

TEST_F(FrameTest, TheSystemMenuOffersTheStandardCommandsAndTheApplicationsOwn) {
  form->HandleNeeded();
  // An application command of the real system menu, with its shortcut.
  HMENU real = GetSystemMenu(Wnd(), FALSE);
  ASSERT_NE(real, nullptr);
  AppendMenuW(real, MF_STRING, 0x100, L"&About\tCtrl+A");
  provider = NewProvider(form.get());
  manager->SetSkinName(L"Frame");
  SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
  TsSystemMenu* menu = provider->CurrentSystemMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->Name().substr(0, 9), kSysMenuNamePrefix);  // its items get the system's glyphs
  menu->UpdateItems(false);
  vcl::TMenuItem* items = menu->Items();
  std::vector<vcl::TMenuItem*> order;
  for (int i = 0; i < items->Count(); ++i) order.push_back(items->Items(i));
  ASSERT_EQ(order.size(), 9u);
  EXPECT_EQ(order, (std::vector<vcl::TMenuItem*>{menu->ItemRestore, menu->ItemMove, menu->ItemSize, menu->ItemMinimize,
                                                menu->ItemMaximize, order[5], order[6], order[7], menu->ItemClose}));
  EXPECT_TRUE(order[5]->IsLine() && order[7]->IsLine());
  EXPECT_EQ(menu->ExtraItemCount(), 1);
  EXPECT_EQ(order[6]->Caption(), L"&About");
  EXPECT_EQ(order[6]->Tag(), 0x100);
  EXPECT_EQ(order[6]->ShortCut(), vcl::TextToShortCut(L"Ctrl+A"));
  // A normal sizeable form: nothing to restore, everything else allowed.
  EXPECT_TRUE(menu->ItemRestore->Visible());
  EXPECT_FALSE(menu->ItemRestore->Enabled());
  for (vcl::TMenuItem* item : {menu->ItemSize, menu->ItemMove, menu->ItemMinimize, menu->ItemMaximize, menu->ItemClose})
    EXPECT_TRUE(item->Enabled()) << item->Name();
  // A single frame cannot be sized; a disabled close command disables the close item.
  form->SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
  EnableMenuItem(GetSystemMenu(Wnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  menu->UpdateItems(false);
  EXPECT_FALSE(menu->ItemSize->Enabled());
  EXPECT_FALSE(menu->ItemClose->Enabled());
  EXPECT_FALSE(menu->CloseEnabled());
  EnableMenuItem(GetSystemMenu(Wnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  // Without biMaximize the maximise item goes and nothing can be restored.
  form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize});
  menu->UpdateItems(false);
  EXPECT_FALSE(menu->ItemMaximize->Visible());
  EXPECT_FALSE(menu->MaximizeEnabled());
}

TEST_F(FrameTest, TheApplicationsSubmenuAndTheSkinsSubmenu) {
  auto* popup = new vcl::TPopupMenu(form.get());
  for (const wchar_t* caption : {L"One", L"Two"}) {
    auto* item = new vcl::TMenuItem(popup);
    item->SetCaption(caption);
    popup->Items()->Add(item);
  }
  for (int i = 0; i < 20; ++i) skins.Write(L"More" + std::to_wstring(100 + i), L"Options.dat", BytesOf(FrameSkinText()));
  Skin();
  provider->SysSubMenu()->SetCaption(L"Extra");
  provider->SysSubMenu()->SetPopupMenu(popup);
  provider->SysSubMenu()->SetPosition(ipBottom);
  TsSystemMenu* menu = provider->CurrentSystemMenu();
  menu->UpdateItems(true);
  vcl::TMenuItem* items = menu->Items();
  const int n = items->Count();
  EXPECT_TRUE(items->Items(n - 2)->IsLine());
  EXPECT_EQ(items->Items(n - 1), menu->SubMenuItem);
  EXPECT_EQ(menu->SubMenuItem->Caption(), L"Extra");
  ASSERT_EQ(menu->SubMenuItem->Count(), 2);
  EXPECT_EQ(menu->SubMenuItem->Items(1)->Caption(), L"Two");
  // Before Close, followed by its divider.
  provider->SysSubMenu()->SetPosition(ipBeforeClose);
  menu->UpdateItems(true);
  const int close = items->IndexOf(menu->ItemClose);
  EXPECT_TRUE(items->Items(close - 1)->IsLine());
  EXPECT_EQ(items->Items(close - 2), menu->SubMenuItem);

  // 21 skins: the 21st starts the second column, the current one is checked.
  menu->MakeSkinItems();
  vcl::TMenuItem* skinsItem = items->Items(0);
  EXPECT_EQ(skinsItem->Name(), kSkinSelectItemName);  // it never shows an extra line
  EXPECT_EQ(skinsItem->Caption(), LibString(TqvLibString::AvailSkins));
  EXPECT_TRUE(items->Items(1)->IsLine());
  ASSERT_EQ(skinsItem->Count(), 21);
  EXPECT_EQ(skinsItem->Items(19)->Break(), vcl::mbNone);
  EXPECT_EQ(skinsItem->Items(20)->Break(), vcl::mbBreak);
  int checked = 0;
  for (int i = 0; i < skinsItem->Count(); ++i)
    if (skinsItem->Items(i)->Checked()) {
      ++checked;
      EXPECT_EQ(skinsItem->Items(i)->Caption(), L"Frame");
    }
  EXPECT_EQ(checked, 1);
  // Choosing a skin loads it.
  skinsItem->Items(0)->Click();
  EXPECT_EQ(manager->SkinName(), skinsItem->Items(0)->Caption());
}

}  // namespace
}  // namespace skin_layered::test
