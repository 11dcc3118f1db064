// A skinned form's own scroll bars (its AutoScroll's): skinned by the scroll adapter the
// provider gives the form, left out of the frame the client area is measured from, inside the
// border window's client hole, with the size box between them.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "classlib/extctrls/ExtCtrls.h"
#include "skin_layered/adapters/adapters_support.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered::test {
namespace {

constexpr int kLeft = 1300, kTop = 560;

struct ProviderDeleter {
  void operator()(TsSkinProvider* p) const { vcl::TObject::Free(p); }
};
using ProviderPtr = std::unique_ptr<TsSkinProvider, ProviderDeleter>;

vcl::TRect Box(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return vcl::TRect(r);
}

// Whether a point of a window lies in its region (without a region: everywhere).
bool InWindowRegion(HWND wnd, int x, int y) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool inside = GetWindowRgn(wnd, rgn) == ERROR || PtInRegion(rgn, x, y);
  DeleteObject(rgn);
  return inside;
}

HRESULT WINAPI CompositionOn(BOOL* on) {
  *on = TRUE;
  return S_OK;
}
HRESULT WINAPI AnyAttribute(HWND, DWORD, LPCVOID, DWORD) { return S_OK; }

class FormScrollBars : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Flat", L"grip.bmp", Bmp24(12, 12, Flat(0x3060C0)));
    std::string text = ScrollSkinText() + "[FORM]\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\n[FORMTITLE]\r\nCOLOR=$406080\r\n";
    text.insert(text.find("[GLOBALINFO]\r\n") + 14, "GRIPIMAGE=!grip.bmp!1!0!0\r\n");
    manager = LoadedManager(skins, L"Flat", text);
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    form->SetBounds(kLeft, kTop, 400, 300);
    form->SetAutoScroll(true);
    // Content beyond the client area both ways: the form scrolls.
    auto* beyond = new vcl::TPanel(form.get());
    beyond->SetParent(form.get());
    beyond->SetBounds(500, 400, 40, 30);
    provider.reset(vcl::Construct<TsSkinProvider>(form.get()));
    ASSERT_TRUE(provider->FormSkinned());
    form->Show();
  }
  void TearDown() override {
    if (form->Visible()) form->Hide();
    provider.reset();
    form.reset();
    manager.reset();
  }
  HWND Wnd() { return form->Handle(); }

  TempSkins skins;
  ManagerPtr manager;
  FormPtr form = ShownForm();
  ProviderPtr provider;
};

// A panel given to Form beyond its client area, its window made.
vcl::TPanel* AddChildBeyondTheClient(vcl::TForm* Form) {
  auto* child = new vcl::TPanel(Form);
  child->SetParent(Form);
  child->SetBounds(400, 300, 40, 30);
  child->HandleNeeded();
  return child;
}

// AutoScroll switched on at run time: the next child window the form is given brings the form
// its skinned scroll bars; without AutoScroll a new child brings none.
TEST_F(FormScrollBars, AutoScrollSwitchedOnLaterBringsSkinnedBarsWithTheNextChild) {
  FormPtr later = ShownForm();
  later->SetBounds(kLeft - 450, kTop, 300, 200);
  ProviderPtr laterProvider(vcl::Construct<TsSkinProvider>(later.get()));
  ASSERT_TRUE(laterProvider->FormSkinned());
  later->Show();
  auto addChild = [&] { AddChildBeyondTheClient(later.get()); };
  addChild();
  EXPECT_EQ(laterProvider->ScrollBars().Adapter(), nullptr);
  later->SetAutoScroll(true);
  addChild();
  EXPECT_NE(laterProvider->ScrollBars().Adapter(), nullptr);
  later->Hide();
  laterProvider.reset();
}

// So also a child window that goes: AutoScroll switched on at run time, the next child freed
// brings the form its skinned scroll bars (it brought none); without AutoScroll none.
TEST_F(FormScrollBars, AutoScrollSwitchedOnLaterBringsSkinnedBarsWhenAChildGoes) {
  FormPtr later = ShownForm();
  later->SetBounds(kLeft - 450, kTop, 300, 200);
  ProviderPtr laterProvider(vcl::Construct<TsSkinProvider>(later.get()));
  ASSERT_TRUE(laterProvider->FormSkinned());
  later->Show();
  auto addChild = [&] { return AddChildBeyondTheClient(later.get()); };
  vcl::TPanel* first = addChild();
  vcl::TPanel* second = addChild();
  vcl::TObject::Free(first);
  EXPECT_EQ(laterProvider->ScrollBars().Adapter(), nullptr);
  later->SetAutoScroll(true);
  EXPECT_EQ(laterProvider->ScrollBars().Adapter(), nullptr);
  vcl::TObject::Free(second);
  EXPECT_NE(laterProvider->ScrollBars().Adapter(), nullptr);
  later->Hide();
  laterProvider.reset();
}

TEST_F(FormScrollBars, TheFormsBarsAreSkinnedAndTheClientAreaKeepsItsPlace) {
  const LONG_PTR style = GetWindowLongPtrW(Wnd(), GWL_STYLE);
  ASSERT_TRUE((style & WS_VSCROLL) && (style & WS_HSCROLL));
  ASSERT_NE(provider->ScrollBars().Adapter(), nullptr);
  auto* adapter = dynamic_cast<TqvScrollWnd*>(GetAdapter(Wnd()));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter, provider->ScrollBars().Adapter());
  const TqvShownScrollBars bars = provider->ScrollBars().Shown();
  ASSERT_TRUE(bars.Horz && bars.Vert);
  EXPECT_EQ(provider->ScrollBars().VertBarWidth(), bars.VertRect.Width());
  EXPECT_GT(bars.VertRect.Width(), 8);

  // The client area starts where the frame ends: the bar at the right is no frame.
  vcl::TRect client;
  GetClientRectInWindow(Wnd(), client);
  EXPECT_EQ(provider->WindowImage().OffsetX(), client.Left);
  EXPECT_EQ(provider->WindowImage().OffsetY(), client.Top);
  EXPECT_EQ(provider->WindowImage().CaptionBottom(), client.Top);
  // The bars lie right of and below the client area, in the form's own window.
  const vcl::TRect window = Box(Wnd());
  EXPECT_EQ(bars.VertRect.Left - window.Left, client.Right);
  EXPECT_EQ(bars.HorzRect.Top - window.Top, client.Bottom);
  // The size box between them is the corner of the form.
  const vcl::TPoint box(bars.HorzRect.Right + 2, bars.VertRect.Bottom + 2);
  EXPECT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(box.X, box.Y)), HTBOTTOMRIGHT);

  // Without the skin the system's bars come back; with it, the skinned ones.
  manager->SetActive(false);
  EXPECT_EQ(provider->ScrollBars().Adapter(), nullptr);
  EXPECT_EQ(GetAdapter(Wnd()), nullptr);
  manager->SetActive(true);
  EXPECT_NE(provider->ScrollBars().Adapter(), nullptr);
  EXPECT_TRUE(provider->ScrollBars().Shown().Vert);
}

// The size box between the form's own bars shows the track's colour where the skin gives the
// track an opaque section; under a skin without that section, or with a see-through one, it
// shows the form's face behind it (the form's image at the box's place), with the grip in its
// corner: never the black past the form's image. So with the form's own frame and under a
// border window (whose image holds the shadow and the frame round the form's window).
TEST_F(FormScrollBars, TheSizeBoxShowsTheTracksColourOrTheFormsFaceBehindIt) {
  TqvDwmBindings dwm;
  dwm.IsCompositionEnabled = &CompositionOn;
  dwm.SetWindowAttribute = &AnyAttribute;
  const std::string track = FlatSection("SCROLLBAR1H", kTrack1H, kTrack1HHot);
  // A shaded face: what lies behind the box is a picture, the form's image.
  const std::string flat = ScrollSkinText() +
                           "[FORM]\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\nGRADIENTPERCENT=100\r\nGRADIENTDATA=$E0D0C0;$A0B0C0;100;0;0\r\n"
                           "HOTGRADIENTPERCENT=100\r\nHOTGRADIENTDATA=$E0D0C0;$A0B0C0;100;0;0\r\n"
                           "[FORMTITLE]\r\nCOLOR=$406080\r\n";
  auto withGrip = [](std::string text) {
    text.insert(text.find("[GLOBALINFO]\r\n") + 14, "GRIPIMAGE=!grip.bmp!1!0!0\r\n");
    return text;
  };
  std::string noTrack = flat, seeThrough = flat;
  noTrack.erase(noTrack.find(track), track.size());
  seeThrough.insert(seeThrough.find(track) + track.size(), "TRANSPARENCY=100\r\n");
  constexpr COLORREF kGrip = 0xC06030;  // the grip picture holds RGB 3060C0
  const struct Variant {
    const wchar_t* name;
    std::string text;
    bool face;  // the form's face, else the track's colour
  } variants[] = {{L"Track", withGrip(flat), false},
                  {L"NoTrack", withGrip(noTrack), true},
                  {L"SeeThrough", withGrip(seeThrough), true}};
  for (const Variant& v : variants) {
    skins.Write(v.name, L"grip.bmp", Bmp24(12, 12, Flat(0x3060C0)));
    skins.Write(v.name, L"Options.dat", BytesOf(v.text));
  }
  auto borders = [&](bool on) {
    SetDwmBindings(on ? &dwm : nullptr);
    manager->SetExtendedBorders(on);
    provider->InitExBorders(on && manager->ExtendedBorders());
    if (!on) return;
    ASSERT_NE(provider->ExtBorderForm(), nullptr);
    provider->SkinData->BGChanged = true;
    provider->ExtBorderForm()->UpdateExBordersPos(true, 255);
  };
  for (const bool bordered : {false, true})
  for (const Variant& v : variants) {
    SCOPED_TRACE(std::string(v.name, v.name + wcslen(v.name)) + (bordered ? " under a border window" : ""));
    manager->SetSkinName(v.name);
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    borders(bordered);
    const TqvShownScrollBars bars = provider->ScrollBars().Shown();
    ASSERT_TRUE(bars.Horz && bars.Vert);
    const vcl::TRect window = Box(Wnd());
    const RECT box{bars.VertRect.Left - window.Left, bars.HorzRect.Top - window.Top, bars.VertRect.Right - window.Left,
                   bars.HorzRect.Bottom - window.Top};
    ASSERT_GT(box.right - box.left, 12);
    ASSERT_GT(box.bottom - box.top, 12);
    FramePixels pixels(Wnd());
    AdapterServices().PaintScrollBars(provider->ScrollBars().Adapter(), pixels.DC());
    EXPECT_EQ(CountColor(pixels, box, 0), 0) << "black in the size box";
    // The form's image holds the client area at its offsets: the window's point is the
    // image's point that far from the client area.
    HDC image = provider->SkinData->CacheBmp()->Canvas()->Handle();
    vcl::TRect client;
    GetClientRectInWindow(Wnd(), client);
    const int dx = provider->WindowImage().OffsetX() - client.Left, dy = provider->WindowImage().OffsetY() - client.Top;
    for (const POINT at : {POINT{box.left, box.top}, POINT{box.right - 13, box.bottom - 13}})
      EXPECT_EQ(pixels.At(at.x, at.y), v.face ? GetPixel(image, at.x + dx, at.y + dy) : kTrack1H) << at.x << "," << at.y;
    EXPECT_EQ(pixels.At(box.right - 1, box.bottom - 1), kGrip);
    EXPECT_EQ(pixels.At(box.right - 12, box.bottom - 12), kGrip);
    borders(false);
  }
}

// Under a border window the form's own window keeps its bars: they lie in the border window's
// client hole, and the size box between them sizes the form.
TEST_F(FormScrollBars, UnderABorderWindowTheBarsLieInTheClientHole) {
  TqvDwmBindings dwm;
  dwm.IsCompositionEnabled = &CompositionOn;
  dwm.SetWindowAttribute = &AnyAttribute;
  SetDwmBindings(&dwm);
  manager->SetExtendedBorders(true);
  provider->InitExBorders(manager->ExtendedBorders());
  TqvBorderForm* border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  provider->SkinData->BGChanged = true;
  border->UpdateExBordersPos(true, 255);
  const HWND borderWnd = border->BorderWindow();
  ASSERT_NE(borderWnd, nullptr);
  const TqvShownScrollBars bars = provider->ScrollBars().Shown();
  ASSERT_TRUE(bars.Horz && bars.Vert);
  const vcl::TRect b = Box(borderWnd);
  auto inBorderRegion = [&](vcl::TPoint screen) { return InWindowRegion(borderWnd, screen.X - b.Left, screen.Y - b.Top); };
  const vcl::TPoint vert((bars.VertRect.Left + bars.VertRect.Right) / 2, (bars.VertRect.Top + bars.VertRect.Bottom) / 2);
  const vcl::TPoint horz((bars.HorzRect.Left + bars.HorzRect.Right) / 2, (bars.HorzRect.Top + bars.HorzRect.Bottom) / 2);
  EXPECT_FALSE(inBorderRegion(vert));
  EXPECT_FALSE(inBorderRegion(horz));
  EXPECT_TRUE(inBorderRegion(vcl::TPoint(bars.VertRect.Right + 1, vert.Y)));  // the frame beside it
  // The size box, as the border window's hit test sees it.
  const vcl::TPoint box(bars.VertRect.Right - 2, bars.HorzRect.Bottom - 2);
  vcl::TMessage test{WM_NCHITTEST, 0, MAKELPARAM(box.X, box.Y), 0};
  EXPECT_EQ(border->HitTest(test), HTBOTTOMRIGHT);
  provider->InitExBorders(false);
  manager->SetExtendedBorders(false);
  SetDwmBindings(nullptr);
}

}  // namespace
}  // namespace skin_layered::test
