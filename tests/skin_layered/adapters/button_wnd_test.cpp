// The buttons' adapters on library push and bit buttons and on bare "button" windows: each
// state's frame of the border image by pixel, the disabled look, bit-button glyph layouts, and
// painting into a given DC that validates nothing. The mouse comes through the cursor seam.
#include <algorithm>

#include "buttons_support.h"
#include "skin_layered/core/GeneralUtils.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/AnimationFlag.h"

namespace skin_layered::test {
namespace {

HWND BareButton(HWND Parent, DWORD Style, const wchar_t* Text, int X) {
  return Child(Parent, L"BUTTON", Style, X, 150, 100, 30, 0, Text);
}

class Buttons : public ButtonsTest {
 protected:
  void SetUp() override { LoadButtonsSkin(); }
  void TearDown() override { SetAnimationActive(false); }

  template <class T = vcl::TButton>
  T* MakeButton(const wchar_t* Caption, int Top = 10) {
    auto* button = Put<T>(form.get(), 10, Top, 120, 32);
    button->SetCaption(Caption);
    return button;
  }
  template <class A = TqvBtnWnd>
  TqvAdapterPtr<A> Adapt(vcl::TWinControl* Button) {
    return CreateAdapter<A>(Button->Handle(), nullptr, manager.get(), TqvSkinParams{Button, L""});
  }
  // The frame colour the window shows near its left edge, clear of the caption.
  static COLORREF Face(HWND Wnd) { return Printed(Wnd)->At(4, 6); }
  void MoveMouseTo(HWND Wnd, POINT Screen) {
    cursor = Screen;
    POINT client = Screen;
    ScreenToClient(Wnd, &client);
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  static POINT CentreOf(HWND Wnd) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  MouseSeam mouse;
  POINT& cursor = mouse.cursor;
};

TEST_F(Buttons, ALibraryButtonShowsEachStatesFrame) {
  vcl::TButton* button = MakeButton(L"Push");
  vcl::TButton* other = MakeButton(L"Other", 60);
  auto adapter = Adapt(button);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"BUTTON");
  other->SetFocus();
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);
  // Focused: the hot frame (the library makes a focused button the default one as well).
  button->SetFocus();
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonHot]);
  other->SetFocus();
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);
  SendMessageW(button->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonPressed]);
  SendMessageW(button->Handle(), BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);

  // The caption in the section's font colour, centred.
  auto pixels = Printed(button->Handle());
  EXPECT_GT(CountColor(*pixels, RECT{40, 4, 80, 28}, kButtonFont), 5);
  EXPECT_EQ(CountColor(*pixels, RECT{0, 0, 30, 32}, kButtonFont), 0);

  // The adapter freed: the system paints the button again.
  adapter.reset();
  EXPECT_NE(Face(button->Handle()), kButtonFrames[kButtonNormal]);
  EXPECT_NE(Face(button->Handle()), 0u);
}

TEST_F(Buttons, TheMouseOverAButtonMakesItHotAndLeavingMakesItNormal) {
  vcl::TButton* button = MakeButton(L"Hover");
  MakeButton(L"Other", 60)->SetFocus();
  auto adapter = Adapt(button);
  HWND bare = BareButton(form->Handle(), BS_PUSHBUTTON, L"Bare", 10);
  auto bareAdapter = CreateAdapter<TqvBtnWnd>(bare, nullptr, manager.get(), TqvSkinParams{});

  MoveMouseTo(button->Handle(), CentreOf(button->Handle()));
  EXPECT_EQ(manager->HotWnd(), button->Handle());
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonHot]);
  // On to the bare button: the first one leaves.
  MoveMouseTo(bare, CentreOf(bare));
  EXPECT_EQ(manager->HotWnd(), bare);
  EXPECT_FALSE(adapter->SkinData->FMouseAbove);
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);
  EXPECT_EQ(Face(bare), kButtonFrames[kButtonHot]);
  // Out of the bare button while it still hears the mouse (it captured it).
  MoveMouseTo(bare, POINT{CentreOf(bare).x, CentreOf(bare).y + 200});
  EXPECT_EQ(manager->HotWnd(), nullptr);
  EXPECT_EQ(Face(bare), kButtonFrames[kButtonNormal]);
  // A mouse-enter while the cursor is elsewhere changes nothing.
  cursor = POINT{0, 0};
  manager->SetHotWnd(button->Handle());
  EXPECT_FALSE(adapter->SkinData->FMouseAbove);
  manager->SetHotWnd(nullptr);
}

TEST_F(Buttons, ABareDefaultButtonShowsTheDefaultFrameWithinItsSectionsStates) {
  HWND def = BareButton(form->Handle(), BS_DEFPUSHBUTTON, L"OK", 10);
  HWND three = BareButton(form->Handle(), BS_DEFPUSHBUTTON, L"OK", 120);
  HWND plain = BareButton(form->Handle(), BS_PUSHBUTTON, L"Cancel", 230);
  auto a = CreateAdapter<TqvBtnWnd>(def, nullptr, manager.get(), TqvSkinParams{});
  auto b = CreateAdapter<TqvBtnWnd>(three, nullptr, manager.get(), TqvSkinParams{nullptr, L"BUTTON3"});
  auto c = CreateAdapter<TqvBtnWnd>(plain, nullptr, manager.get(), TqvSkinParams{});
  SetFocus(form->Handle());
  EXPECT_EQ(Face(def), kButtonFrames[kButtonDefault]);
  EXPECT_EQ(Face(three), kButtonFrames[kButtonHot]);  // a section of three states: the default is hot
  EXPECT_EQ(Face(plain), kButtonFrames[kButtonNormal]);
  SetFocus(plain);  // a bare button with the focus is hot
  EXPECT_EQ(Face(plain), kButtonFrames[kButtonHot]);
  SetFocus(form->Handle());
}

// A button whose section has no picture of its edge, or that has no section at all, shows the
// system's edge: raised, sunken while pressed, the default button's in the dark frame; with a
// section its face keeps the section's colour inside the edge.
class ButtonsWithoutEdges : public Buttons {
 protected:
  void SetUp() override { LoadButtonsSkin(Section("NOPICTURE", kButtonFace, kButtonFace, kButtonFont, 4)); }
};

TEST_F(ButtonsWithoutEdges, AButtonWithoutTheSkinsEdgeShowsTheSystemsEdgeAndState) {
  HWND bare = BareButton(form->Handle(), BS_PUSHBUTTON, L"Bare", 10);
  HWND plain = BareButton(form->Handle(), BS_PUSHBUTTON, L"Plain", 120);
  HWND def = BareButton(form->Handle(), BS_DEFPUSHBUTTON, L"OK", 230);
  auto a = CreateAdapter<TqvBtnWnd>(bare, nullptr, manager.get(), TqvSkinParams{nullptr, L"NOSUCHSECTION"});
  auto b = CreateAdapter<TqvBtnWnd>(plain, nullptr, manager.get(), TqvSkinParams{nullptr, L"NOPICTURE"});
  auto c = CreateAdapter<TqvBtnWnd>(def, nullptr, manager.get(), TqvSkinParams{nullptr, L"NOSUCHSECTION"});
  SetFocus(form->Handle());
  const COLORREF light = GetSysColor(COLOR_3DLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW),
                 shadow = GetSysColor(COLOR_BTNSHADOW), frame = GetSysColor(COLOR_WINDOWFRAME);
  for (HWND w : {bare, plain}) {
    auto p = Printed(w);
    EXPECT_EQ(p->At(0, 0), light);
    EXPECT_EQ(p->At(99, 29), dark);
    SendMessageW(w, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(Printed(w)->At(0, 0), shadow) << "not sunken while pressed";
    SendMessageW(w, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(Printed(w)->At(0, 0), light);
  }
  EXPECT_EQ(Printed(plain)->At(4, 6), kButtonFace);
  auto p = Printed(def);
  EXPECT_EQ(p->At(0, 0), frame);
  EXPECT_EQ(p->At(99, 29), frame);
  EXPECT_EQ(p->At(1, 1), light);
  // The skin's own picture: none of the system's edge.
  vcl::TButton* skinned = MakeButton(L"Skinned");
  auto d = Adapt(skinned);
  EXPECT_EQ(Printed(skinned->Handle())->At(0, 0), kButtonFrames[kButtonNormal]);
}

// By the library's disabled blend factor (0.4 of the frame stays unless changed), whatever the
// effect settings' fade.
TEST_F(Buttons, ADisabledButtonIsBlendedTowardWhatLiesBehindIt) {
  vcl::TButton* button = MakeButton(L"Off");
  auto adapter = Adapt(button);
  const COLORREF normal = kButtonFrames[kButtonNormal];
  const double before = DefDisabledBlend;
  for (const double factor : {0.4, 0.75}) {
    DefDisabledBlend = factor;
    button->SetEnabled(true);
    button->SetEnabled(false);
    const COLORREF face = Face(button->Handle());
    // Each channel lies between the frame's and the background's.
    auto blend = [factor](int frame, int back) { return static_cast<int>(frame * factor + back * (1 - factor)); };
    EXPECT_NEAR(GetRValue(face), blend(GetRValue(normal), GetRValue(kParentColor)), 2) << std::hex << face;
    EXPECT_NEAR(GetGValue(face), blend(GetGValue(normal), GetGValue(kParentColor)), 2) << std::hex << face;
    EXPECT_NEAR(GetBValue(face), blend(GetBValue(normal), GetBValue(kParentColor)), 2) << std::hex << face;
  }
  DefDisabledBlend = before;
  button->SetEnabled(true);
  EXPECT_EQ(Face(button->Handle()), normal);
}

TEST_F(Buttons, PaintingIntoAGivenDCLeavesAPendingRepaintAndAHeldPaintStillValidates) {
  vcl::TButton* button = MakeButton(L"Paint");
  HWND h = button->Handle();
  auto adapter = Adapt(button);
  UpdateWindow(h);
  RECT update{};
  ASSERT_FALSE(GetUpdateRect(h, &update, FALSE));

  // WM_PRINT and a WM_PAINT carrying a DC paint into that DC only.
  InvalidateRect(h, nullptr, FALSE);
  EXPECT_EQ(Printed(h)->At(4, 6), kButtonFrames[kButtonNormal]);
  EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));
  FramePixels other(h);
  SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(other.DC()), 0);
  EXPECT_EQ(other.At(4, 6), kButtonFrames[kButtonNormal]);
  EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));

  // The window's own paint while painting is held validates it all the same.
  SetAnimationActive(true);
  SendMessageW(h, WM_PAINT, 0, 0);
  EXPECT_FALSE(GetUpdateRect(h, &update, FALSE));
  SetAnimationActive(false);
  InvalidateRect(h, nullptr, FALSE);
  UpdateWindow(h);
  EXPECT_FALSE(GetUpdateRect(h, &update, FALSE));
}

// ---------------------------------------------------------------------------------------
// Bit buttons

// A 16 x 16 glyph: a ring of the transparent colour (its bottom-left pixel) round a face of
// the glyph's colour.
constexpr COLORREF kGlyphFace = 0x00A0FF;
std::unique_ptr<vcl::TBitmap> GlyphBitmap() {
  auto bmp = std::make_unique<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf24bit);
  bmp->SetSize(16, 16);
  HDC dc = bmp->Canvas()->Handle();
  HBRUSH ring = CreateSolidBrush(0x00FFFF);
  HBRUSH face = CreateSolidBrush(kGlyphFace);
  RECT all{0, 0, 16, 16}, inner{1, 1, 15, 15};
  FillRect(dc, &all, ring);
  FillRect(dc, &inner, face);
  DeleteObject(ring);
  DeleteObject(face);
  return bmp;
}

// The box of a colour's pixels; empty when it has none.
RECT BoxOf(const FramePixels& Pixels, const RECT& Area, COLORREF Color) {
  RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = Area.top; y < Area.bottom; ++y)
    for (int x = Area.left; x < Area.right; ++x)
      if (Pixels.At(x, y) == Color) box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
  return box.left == INT_MAX ? RECT{} : box;
}

TEST_F(Buttons, ABitButtonPlacesItsGlyphAndCaptionByItsLayout) {
  auto* button = Put<vcl::TBitBtn>(form.get(), 10, 10, 160, 80);
  button->SetCaption(L"Caption");
  auto glyph = GlyphBitmap();
  button->SetGlyph(glyph.get());
  auto adapter = Adapt<TqvBitBtnWnd>(button);
  EXPECT_EQ(adapter->GlyphSize().cx, 16);
  const RECT all{0, 0, 160, 80};
  struct {
    vcl::TButtonLayout layout;
    bool glyphFirst, horizontal;
  } const layouts[] = {{vcl::blGlyphLeft, true, true}, {vcl::blGlyphRight, false, true},
                       {vcl::blGlyphTop, true, false}, {vcl::blGlyphBottom, false, false}};
  for (const auto& l : layouts) {
    SCOPED_TRACE(static_cast<int>(l.layout));
    button->SetLayout(l.layout);
    auto pixels = Printed(button->Handle());
    RECT g = BoxOf(*pixels, all, kGlyphFace);
    const RECT text = BoxOf(*pixels, all, kButtonFont);
    ASSERT_EQ(g.right - g.left, 14);  // the ring is the glyph's transparent colour
    ASSERT_EQ(g.bottom - g.top, 14);
    ASSERT_GT(text.right, text.left);
    EXPECT_EQ(pixels->At(2, 2), kButtonFrames[kButtonNormal]);
    const RECT& first = l.glyphFirst ? g : text;
    const RECT& second = l.glyphFirst ? text : g;
    EXPECT_LE(l.horizontal ? first.right : first.bottom, l.horizontal ? second.left : second.top);
    InflateRect(&g, 1, 1);  // the whole glyph
    // Centred across, and as much room before the pair as after it.
    EXPECT_EQ(l.horizontal ? g.top : g.left, l.horizontal ? (80 - 16) / 2 : (160 - 16) / 2 + 1);
    const int before = l.horizontal ? first.left : first.top;
    const int after = l.horizontal ? 160 - second.right : 80 - second.bottom;
    EXPECT_LE(std::abs(before - after), 6) << before << " " << after;
  }
}

TEST_F(Buttons, OnlyTheDefaultBitButtonShowsTheDefaultFrame) {
  auto* plain = MakeButton<vcl::TBitBtn>(L"");
  auto* def = MakeButton<vcl::TBitBtn>(L"", 60);
  def->SetDefault(true);
  auto* focusTarget = MakeButton<vcl::TBitBtn>(L"", 110);
  auto a = Adapt<TqvBitBtnWnd>(plain);
  auto b = Adapt<TqvBitBtnWnd>(def);
  // An owner-drawn button's type is not the default button's, whatever bits they share.
  SetFocus(form->Handle());
  EXPECT_EQ(Face(plain->Handle()), kButtonFrames[kButtonNormal]);
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonDefault]);
  // Another owner-drawn button with the focus takes the default look away.
  focusTarget->SetFocus();
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonNormal]);
  // An owner-drawn button focused in another window (a form beside), or a system radio button
  // there (a dialog's), leaves it the default; back on its own form's other button it is
  // normal again.
  FormPtr beside = ShownForm();
  beside->SetBounds(500, 100, 240, 160);
  auto* other = new vcl::TBitBtn(beside.get());
  other->SetParent(beside.get());
  other->SetBounds(10, 10, 100, 30);
  beside->Show();
  const HWND radio = Child(beside->Handle(), L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 10, 50, 100, 20);
  other->SetFocus();
  ASSERT_EQ(GetFocus(), other->Handle());
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonDefault]);
  SetFocus(radio);
  ASSERT_EQ(GetFocus(), radio);
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonDefault]);
  form->Show();
  focusTarget->SetFocus();
  ASSERT_EQ(GetFocus(), focusTarget->Handle());
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonNormal]);
}

}  // namespace
}  // namespace skin_layered::test
