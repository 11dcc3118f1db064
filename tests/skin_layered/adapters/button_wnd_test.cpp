// The buttons' adapters on push buttons and bit buttons of the class library and on bare
// "button" windows: each state's frame of the skin's border image by sampled pixel (normal,
// focused, hot under the mouse, pressed, the default button, limited by the section's
// states), the disabled look, bit-button glyphs in their four layouts, and painting that
// never validates a window it paints into a given DC for. The mouse comes through the
// adapters' cursor seam: nothing waits.
#include <algorithm>

#include "buttons_support.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/AnimationFlag.h"

namespace skin_layered::test {
namespace {

HWND BareButton(HWND Parent, DWORD Style, const wchar_t* Text, int X = 10, int Y = 150) {
  return CreateWindowExW(0, L"BUTTON", Text, WS_CHILD | WS_VISIBLE | Style, X, Y, 100, 30, Parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

class Buttons : public ButtonsTest {
 protected:
  void SetUp() override {
    LoadButtonsSkin();
    previous_cursor_ = SetScrollCursorQuery([this] { return cursor; });
  }
  void TearDown() override {
    SetScrollCursorQuery(previous_cursor_);
    SetAnimationActive(false);
    ButtonsTest::TearDown();
  }

  vcl::TButton* MakeButton(const wchar_t* Caption, int Top = 10) {
    auto* button = new vcl::TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, Top, 120, 32);
    button->SetCaption(Caption);
    return button;
  }
  // The frame colour the window shows near its left edge, clear of the caption.
  static COLORREF Face(HWND Wnd) {
    auto pixels = Printed(Wnd);
    return pixels->At(4, 6);
  }
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

  POINT cursor{0, 0};
  TqvCursorQuery previous_cursor_;
};

TEST_F(Buttons, ALibraryButtonShowsEachStatesFrame) {
  vcl::TButton* button = MakeButton(L"Push");
  vcl::TButton* other = MakeButton(L"Other", 60);
  auto adapter = CreateAdapter<TqvBtnWnd>(button->Handle(), nullptr, manager.get(), TqvSkinParams{button, L""});
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"BUTTON");
  EXPECT_TRUE(adapter->SkinData->Skinned());
  other->SetFocus();
  EXPECT_EQ(adapter->CtlState(), kButtonNormal);
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);

  // Focused: the hot frame (the library makes a focused button the default one as well).
  button->SetFocus();
  EXPECT_TRUE(adapter->SkinData->Focused());
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonHot]);
  other->SetFocus();
  EXPECT_FALSE(adapter->SkinData->Focused());
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);

  // Pressed.
  SendMessageW(button->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(adapter->CtlState(), kButtonPressed);
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonPressed]);
  SendMessageW(button->Handle(), BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);

  // The caption in the section's font colour, centred.
  auto pixels = Printed(button->Handle());
  EXPECT_GT(CountColor(*pixels, RECT{40, 4, 80, 28}, kButtonFont), 5);
  EXPECT_EQ(CountColor(*pixels, RECT{0, 0, 30, 32}, kButtonFont), 0);
}

TEST_F(Buttons, TheMouseOverAButtonMakesItHotAndLeavingMakesItNormal) {
  vcl::TButton* button = MakeButton(L"Hover");
  vcl::TButton* other = MakeButton(L"Other", 60);
  other->SetFocus();
  auto adapter = CreateAdapter<TqvBtnWnd>(button->Handle(), nullptr, manager.get(), TqvSkinParams{button, L""});
  HWND bare = BareButton(form->Handle(), BS_PUSHBUTTON, L"Bare");
  auto bareAdapter = CreateAdapter<TqvBtnWnd>(bare, nullptr, manager.get(), TqvSkinParams{});

  MoveMouseTo(button->Handle(), CentreOf(button->Handle()));
  EXPECT_EQ(manager->HotWnd(), button->Handle());
  EXPECT_TRUE(adapter->SkinData->FMouseAbove);
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
  EXPECT_FALSE(bareAdapter->SkinData->FMouseAbove);
  EXPECT_EQ(Face(bare), kButtonFrames[kButtonNormal]);

  // A mouse-enter while the cursor is elsewhere changes nothing.
  cursor = POINT{0, 0};
  manager->SetHotWnd(button->Handle());
  EXPECT_FALSE(adapter->SkinData->FMouseAbove);
  manager->SetHotWnd(nullptr);
  DestroyWindow(bare);
}

TEST_F(Buttons, ABareDefaultButtonShowsTheDefaultFrameWithinItsSectionsStates) {
  HWND def = BareButton(form->Handle(), BS_DEFPUSHBUTTON, L"OK");
  HWND three = BareButton(form->Handle(), BS_DEFPUSHBUTTON, L"OK", 120);
  HWND plain = BareButton(form->Handle(), BS_PUSHBUTTON, L"Cancel", 230);
  auto a = CreateAdapter<TqvBtnWnd>(def, nullptr, manager.get(), TqvSkinParams{});
  auto b = CreateAdapter<TqvBtnWnd>(three, nullptr, manager.get(), TqvSkinParams{nullptr, L"BUTTON3"});
  auto c = CreateAdapter<TqvBtnWnd>(plain, nullptr, manager.get(), TqvSkinParams{});
  SetFocus(form->Handle());
  EXPECT_EQ(a->CtlState(), kButtonDefault);
  EXPECT_EQ(Face(def), kButtonFrames[kButtonDefault]);
  // A section of three states shows the default button as hot.
  EXPECT_EQ(b->CtlState(), kButtonDefault);
  EXPECT_EQ(Face(three), kButtonFrames[kButtonHot]);
  EXPECT_EQ(Face(plain), kButtonFrames[kButtonNormal]);
  // A bare button with the focus is hot.
  SetFocus(plain);
  EXPECT_EQ(c->CtlState(), kButtonHot);
  EXPECT_EQ(Face(plain), kButtonFrames[kButtonHot]);
  SetFocus(form->Handle());
  DestroyWindow(def);
  DestroyWindow(three);
  DestroyWindow(plain);
}

TEST_F(Buttons, ADisabledButtonIsBlendedTowardWhatLiesBehindIt) {
  vcl::TButton* button = MakeButton(L"Off");
  auto adapter = CreateAdapter<TqvBtnWnd>(button->Handle(), nullptr, manager.get(), TqvSkinParams{button, L""});
  button->SetEnabled(false);
  const COLORREF face = Face(button->Handle());
  const COLORREF normal = kButtonFrames[kButtonNormal];
  EXPECT_NE(face, normal);
  EXPECT_NE(face, kParentColor);
  // Each channel lies between the frame's and the background's: 0.4 of the frame stays.
  auto closeTo = [](int value, int expected) { return std::abs(value - expected) <= 2; };
  EXPECT_TRUE(closeTo(GetRValue(face), (GetRValue(normal) * 40 + GetRValue(kParentColor) * 60) / 100)) << std::hex << face;
  EXPECT_TRUE(closeTo(GetGValue(face), (GetGValue(normal) * 40 + GetGValue(kParentColor) * 60) / 100)) << std::hex << face;
  EXPECT_TRUE(closeTo(GetBValue(face), (GetBValue(normal) * 40 + GetBValue(kParentColor) * 60) / 100)) << std::hex << face;
  button->SetEnabled(true);
  EXPECT_EQ(Face(button->Handle()), normal);
}

TEST_F(Buttons, PaintingIntoAGivenDCLeavesAPendingRepaintAndAHeldPaintStillValidates) {
  vcl::TButton* button = MakeButton(L"Paint");
  HWND h = button->Handle();
  auto adapter = CreateAdapter<TqvBtnWnd>(h, nullptr, manager.get(), TqvSkinParams{button, L""});
  UpdateWindow(h);
  RECT update{};
  ASSERT_FALSE(GetUpdateRect(h, &update, FALSE));

  // WM_PRINT and a WM_PAINT carrying a DC paint into that DC only.
  InvalidateRect(h, nullptr, FALSE);
  auto pixels = Printed(h);
  EXPECT_EQ(pixels->At(4, 6), kButtonFrames[kButtonNormal]);
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

TEST_F(Buttons, TheAdapterFreedLeavesTheButtonItsOwnPainting) {
  vcl::TButton* button = MakeButton(L"Own");
  auto adapter = CreateAdapter<TqvBtnWnd>(button->Handle(), nullptr, manager.get(), TqvSkinParams{button, L""});
  EXPECT_EQ(Face(button->Handle()), kButtonFrames[kButtonNormal]);
  adapter.reset();
  EXPECT_EQ(GetAdapter(button->Handle()), nullptr);
  const COLORREF own = Face(button->Handle());
  EXPECT_NE(own, kButtonFrames[kButtonNormal]);
  EXPECT_NE(own, 0u);  // the system painted it
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
      if (Pixels.At(x, y) == Color) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  if (box.left == INT_MAX) return RECT{};
  return box;
}

TEST_F(Buttons, ABitButtonPlacesItsGlyphAndCaptionByItsLayout) {
  auto* button = new vcl::TBitBtn(form.get());
  button->SetParent(form.get());
  button->SetBounds(10, 10, 160, 80);
  button->SetCaption(L"Caption");
  auto glyph = GlyphBitmap();
  button->SetGlyph(glyph.get());
  auto adapter = CreateAdapter<TqvBitBtnWnd>(button->Handle(), nullptr, manager.get(), TqvSkinParams{button, L""});
  EXPECT_EQ(adapter->GlyphSize().cx, 16);
  EXPECT_EQ(adapter->GlyphSize().cy, 16);
  const RECT all{0, 0, 160, 80};
  struct {
    vcl::TButtonLayout layout;
    const char* name;
  } const layouts[] = {{vcl::blGlyphLeft, "left"}, {vcl::blGlyphRight, "right"}, {vcl::blGlyphTop, "top"},
                       {vcl::blGlyphBottom, "bottom"}};
  for (const auto& l : layouts) {
    SCOPED_TRACE(l.name);
    button->SetLayout(l.layout);
    auto pixels = Printed(button->Handle());
    const RECT g = BoxOf(*pixels, all, kGlyphFace);
    const RECT text = BoxOf(*pixels, all, kButtonFont);
    ASSERT_EQ(g.right - g.left, 14);  // the ring is the glyph's transparent colour
    ASSERT_EQ(g.bottom - g.top, 14);
    ASSERT_GT(text.right, text.left);
    EXPECT_EQ(pixels->At(2, 2), kButtonFrames[kButtonNormal]);
    switch (l.layout) {
      case vcl::blGlyphLeft:
        EXPECT_LE(g.right, text.left);
        EXPECT_EQ(g.top - 1, (80 - 16) / 2);
        break;
      case vcl::blGlyphRight:
        EXPECT_GE(g.left, text.right);
        EXPECT_EQ(g.top - 1, (80 - 16) / 2);
        break;
      case vcl::blGlyphTop:
        EXPECT_LE(g.bottom, text.top);
        EXPECT_EQ(g.left - 1, (160 - 16) / 2 + 1);
        break;
      case vcl::blGlyphBottom:
        EXPECT_GE(g.top, text.bottom);
        EXPECT_EQ(g.left - 1, (160 - 16) / 2 + 1);
        break;
    }
    // The pair stands in the middle: as much room before as after.
    const int before = l.layout == vcl::blGlyphLeft   ? g.left - 1
                       : l.layout == vcl::blGlyphRight ? text.left
                       : l.layout == vcl::blGlyphTop   ? g.top - 1
                                                       : text.top;
    const int after = l.layout == vcl::blGlyphLeft   ? 160 - text.right
                      : l.layout == vcl::blGlyphRight ? 160 - (g.right + 1)
                      : l.layout == vcl::blGlyphTop   ? 80 - text.bottom
                                                      : 80 - (g.bottom + 1);
    EXPECT_LE(std::abs(before - after), 6) << before << " " << after;
  }
}

TEST_F(Buttons, OnlyTheDefaultBitButtonShowsTheDefaultFrame) {
  auto* plain = new vcl::TBitBtn(form.get());
  plain->SetParent(form.get());
  plain->SetBounds(10, 10, 120, 32);
  auto* def = new vcl::TBitBtn(form.get());
  def->SetParent(form.get());
  def->SetBounds(10, 60, 120, 32);
  def->SetDefault(true);
  auto* focusTarget = new vcl::TBitBtn(form.get());
  focusTarget->SetParent(form.get());
  focusTarget->SetBounds(10, 110, 120, 32);
  auto a = CreateAdapter<TqvBitBtnWnd>(plain->Handle(), nullptr, manager.get(), TqvSkinParams{plain, L""});
  auto b = CreateAdapter<TqvBitBtnWnd>(def->Handle(), nullptr, manager.get(), TqvSkinParams{def, L""});
  // An owner-drawn button's type is not the default button's, whatever bits they share.
  SetFocus(form->Handle());
  EXPECT_EQ(a->CtlState(), kButtonNormal);
  EXPECT_EQ(Face(plain->Handle()), kButtonFrames[kButtonNormal]);
  EXPECT_EQ(b->CtlState(), kButtonDefault);
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonDefault]);
  // Another owner-drawn button with the focus takes the default look away.
  focusTarget->SetFocus();
  EXPECT_EQ(b->CtlState(), kButtonNormal);
  EXPECT_EQ(Face(def->Handle()), kButtonFrames[kButtonNormal]);
}

}  // namespace
}  // namespace skin_layered::test
