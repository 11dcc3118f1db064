// Shared by the tests of the mouse, activation, showing, sizing, system commands and animations
// of a skinned form: a skin with the title glyphs in one row (a colour per glyph), what reaches
// the form's own procedure below the provider (the system's modal loops kept from starting),
// and a fixture with a sizeable form at the desktop's far side.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <vector>

#include "forms_support.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {

inline constexpr int kFormLeft = 1380, kFormTop = 600;

// The title glyphs side by side in one row of the master bitmap, three states each.
struct TitleGlyph {
  const char* Key;
  int Left, Size;
};
constexpr std::array<TitleGlyph, 7> kTitleGlyphs{{{"BICONCLOSE", 0, 20},
                                        {"BICONMAX", 60, 20},
                                        {"BICONNORM", 120, 20},
                                        {"BICONMIN", 180, 20},
                                        {"BICONHELP", 240, 20},
                                        {"TITLEBUTTON", 300, 20},
                                        {"GRIPIMAGE", 360, 12}}};

inline std::string TitleGlyphSkinText() {
  std::string glyphs;
  for (const TitleGlyph& g : kTitleGlyphs) {
    const int frames = std::string(g.Key) == "GRIPIMAGE" ? 1 : 3;
    char line[96];
    std::snprintf(line, sizeof line, "%s=@%04d,0000,%04d,%04d,%d,0\r\n", g.Key, g.Left, g.Left + g.Size * frames,
                  g.Size, frames);
    glyphs += line;
  }
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\nBORDERWIDTH=4\r\nTITLEHEIGHT=30\r\n"
         "BISPACE=2\r\nBIRIGHT=3\r\nBILEFT=5\r\nBITOP=4\r\n" +
         glyphs +
         "[FORM]\r\nSTATES=2\r\nCOLOR=$A0B0C0\r\nHOTCOLOR=$A0B0C0\r\n"
         "[FORMTITLE]\r\nSTATES=2\r\nCOLOR=$406080\r\nHOTCOLOR=$3060C0\r\n";
}

// Below the provider: records what reaches the form's own procedure and keeps the system's
// modal loops (moving, sizing, commands) from starting.
class OwnProcedure {
 public:
  explicit OwnProcedure(vcl::TControl* control) {
    hook_.Install(control, vcl::TWndMethod::Bind<&OwnProcedure::WndProc>(this));
  }
  std::vector<WPARAM> Commands;  // WM_SYSCOMMAND's commands
  std::vector<UINT> Seen;        // the other messages watched
  std::function<void(WPARAM)> OnCommand;
  bool PassCommands = false;     // the commands reach the system
  int Count(UINT msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }

 private:
  void WndProc(vcl::TMessage& m) {
    switch (m.Msg) {
      case WM_SYSCOMMAND:
        Commands.push_back(m.WParam & 0xFFF0);
        if (OnCommand) OnCommand(m.WParam & 0xFFF0);
        if (PassCommands) hook_.CallPrevious(m);
        return;
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONUP:
      case WM_NCRBUTTONDOWN:
      case WM_NCRBUTTONUP:
      case WM_NCLBUTTONDBLCLK:
        Seen.push_back(m.Msg);
        return;
      default: hook_.CallPrevious(m);
    }
  }
  vcl::TWindowProcHook hook_;
};

class SkinnedFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Mouse", L"Options.dat", BytesOf(TitleGlyphSkinText()));
    skins.Write(L"Mouse", L"master.bmp", Bmp24(400, 20, [](int x, int) { return 0x100000u * (1 + x / 20); }));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->AnimEffects()->Buttons()->SetEvents({});
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    manager->AnimEffects()->Minimizing()->SetActive(false);
    form->SetBounds(kFormLeft, kFormTop, 400, 300);
    form->SetCaption(L"Mouse");
    form->SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize, vcl::biHelp});
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  }
  void TearDown() override {
    SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
    SetTitleButtonPressed(false);
    if (form->HandleAllocated() && form->Visible()) form->Hide();
    own.reset();
    provider.reset();
    form.reset();
    manager.reset();
  }
  template <class P = TsSkinProvider>
  P* Skin() {
    form->HandleNeeded();
    own = std::make_unique<OwnProcedure>(form.get());
    auto* p = vcl::Construct<P>(form.get());
    provider.reset(p);
    manager->SetSkinName(L"Mouse");
    EXPECT_TRUE(provider->FormSkinned());
    SendMessageW(Wnd(), WM_NCPAINT, 1, 0);
    provider->SkinData->BGChanged = true;
    provider->PaintAll();
    return p;
  }
  HWND Wnd() { return form->Handle(); }
  // The screen point of a point of the window image.
  vcl::TPoint Screen(vcl::TPoint image) {
    RECT r{};
    GetWindowRect(Wnd(), &r);
    return {r.left + image.X, r.top + image.Y};
  }
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

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = NewForm();
  std::unique_ptr<OwnProcedure> own;
  ProviderPtr provider;
  BOOL fullDrag = TRUE;
};

}  // namespace skin_layered::test
