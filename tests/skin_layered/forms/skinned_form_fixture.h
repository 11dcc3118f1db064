// A sizeable skinned form over a skin with the title glyphs (a colour per glyph and state), its
// own procedure below the provider keeping the system's modal loops from starting.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <functional>
#include <vector>

#include "forms_support.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {

inline constexpr int kFormLeft = 1380, kFormTop = 600;

// The glyphs of the master bitmap: (key, left, top, frame width, height, frames).
struct GlyphPlace {
  const char* Key;
  int Left, Top, Width, Height, Frames;
};
inline constexpr std::array<GlyphPlace, 14> kGlyphs{{
    {"BICONCLOSE", 0, 0, 20, 20, 3},   {"BICONMAX", 60, 0, 20, 20, 3},    {"BICONNORM", 120, 0, 20, 20, 3},
    {"BICONMIN", 180, 0, 20, 20, 3},   {"BICONHELP", 240, 0, 20, 20, 3},  {"BICLOSEALONE", 300, 0, 20, 20, 3},
    {"SICONCLOSE", 0, 20, 16, 16, 3},  {"SICONMAX", 48, 20, 16, 16, 3},   {"SICONNORM", 96, 20, 16, 16, 3},
    {"SICONMIN", 144, 20, 16, 16, 3},  {"SICONHELP", 192, 20, 16, 16, 3}, {"GRIPIMAGE", 0, 40, 12, 12, 1},
    {"TITLEBUTTON", 20, 40, 18, 20, 3}, {"BIXUNUSED", 360, 0, 1, 1, 1},
}};
inline constexpr int kMasterWidth = 361, kMasterHeight = 60;

// Glyph g's state s: a colour of its own (0xRRGGBB).
inline std::uint32_t GlyphColor(std::size_t g, int s) {
  return 0x200000u + static_cast<std::uint32_t>(g) * 0x100000u + static_cast<std::uint32_t>(s + 1) * 0x3000u + 0x80u;
}
inline std::uint32_t GlyphColor(const char* key, int s) {
  for (std::size_t g = 0; g < kGlyphs.size(); ++g)
    if (std::string(kGlyphs[g].Key) == key) return GlyphColor(g, s);
  return 0;
}

inline std::uint32_t MasterPixel(int x, int y) {
  for (std::size_t g = 0; g < kGlyphs.size(); ++g) {
    const GlyphPlace& p = kGlyphs[g];
    if (x >= p.Left && x < p.Left + p.Width * p.Frames && y >= p.Top && y < p.Top + p.Height)
      return GlyphColor(g, (x - p.Left) / p.Width);
  }
  return 0x000000;
}

// Section colours as RGB (the description writes $BBGGRR).
inline constexpr std::uint32_t kFormRgb = 0xC0B0A0;
inline constexpr std::uint32_t kTitleRgb = 0x806040;     // inactive caption
inline constexpr std::uint32_t kTitleHotRgb = 0xC06030;  // active caption
inline constexpr std::uint32_t kMenuLineRgb = 0xA0A000;

inline std::string FrameSkinText() {
  std::string glyphs;
  for (const GlyphPlace& p : kGlyphs) {
    char line[96];
    std::snprintf(line, sizeof line, "%s=@%04d,%04d,%04d,%04d,%d,0\r\n", p.Key, p.Left, p.Top,
                  p.Left + p.Width * p.Frames, p.Top + p.Height, p.Frames);
    glyphs += line;
  }
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\nBORDERWIDTH=4\r\nTITLEHEIGHT=30\r\n"
         "BISPACE=2\r\nBIRIGHT=3\r\nBILEFT=5\r\nBITOP=4\r\nBIVALIGN=0\r\n" + glyphs +
         "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\nFONTCOLOR=$101010\r\n"
         "[FORMTITLE]\r\nSTATES=2\r\nCOLOR=$406080\r\nHOTCOLOR=$3060C0\r\nFONTCOLOR=$FFFFFF\r\n"
         "HOTFONTCOLOR=$FFFFFF\r\nHGSIZE=3\r\nHGCOL=$00FF00\r\n"  // the active caption's text glows green
         "[MENULINE]\r\nCOLOR=$00A0A0\r\nFONTCOLOR=$000000\r\n"
         "[DIALOG]\r\nCOLOR=$C0C0C0\r\n";
}

class SkinnedFormTest : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    WriteSkin(L"Frame", FrameSkinText());
    skins.Write(L"Frame", L"master.bmp", Bmp24(kMasterWidth, kMasterHeight, MasterPixel));
    manager->AnimEffects()->Buttons()->SetEvents({});
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    manager->AnimEffects()->Minimizing()->SetActive(false);
    form->SetBounds(kFormLeft, kFormTop, 400, 300);
    form->SetCaption(L"Frame");
    form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize, vcl::biHelp});
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  }
  void TearDown() override {
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
    SetTitleButtonPressed(false);
    if (form->HandleAllocated() && form->Visible()) form->Hide();
    own.reset();
    FormSkinTest::TearDown();
  }
  template <class P = TsSkinProvider>
  P* Skin() {
    form->HandleNeeded();
    // Below the provider: what reaches the form's own procedure, the system's modal loops
    // (moving, sizing, commands) kept from starting.
    own = std::make_unique<MessageSpy>(form.get());
    for (UINT msg : {WM_SYSCOMMAND, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP,
                     WM_NCLBUTTONDBLCLK})
      own->answers[msg] = 0;
    auto* p = vcl::Construct<P>(form.get());
    provider.reset(p);
    manager->SetSkinName(L"Frame");
    EXPECT_TRUE(provider->FormSkinned());
    SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
    Repaint();
    return p;
  }
  // The screen point of a point of the window image.
  vcl::TPoint Screen(vcl::TPoint image) { return {WindowBox(Wnd()).Left + image.X, WindowBox(Wnd()).Top + image.Y}; }
  static vcl::TPoint Centre(const vcl::TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  vcl::TPoint At(const vcl::TRect& r) { return Screen(Centre(r)); }
  static LPARAM Point(vcl::TPoint p) { return MAKELPARAM(p.X, p.Y); }
  LRESULT NcHitTest(vcl::TPoint screen) { return SendMessageW(Wnd(), WM_NCHITTEST, 0, Point(screen)); }
  void Down(int code, vcl::TPoint screen) { SendMessageW(Wnd(), WM_NCLBUTTONDOWN, code, Point(screen)); }
  void Up(int code, vcl::TPoint screen) { SendMessageW(Wnd(), WM_NCLBUTTONUP, code, Point(screen)); }
  void Click(int code, const vcl::TRect& r) {
    Down(code, At(r));
    Up(code, At(r));
  }

  std::vector<WPARAM>& Commands() { return own->seen[WM_SYSCOMMAND]; }

  std::unique_ptr<MessageSpy> own;
  BOOL fullDrag = TRUE;
};

}  // namespace skin_layered::test
