// Shared by the tests of the adapters that host children or text (scroll boxes, static
// texts, the host windows of dialogs): the flat skin of the panels with the scroll bars'
// sections and a see-through section, under a manager of the test's own, and a shown form.
#pragma once

#include <string>

#include "panels_support.h"

namespace skin_layered::test {

inline std::string HostSkinText() {
  // A see-through section, and one of a gradient (its background a picture, never a colour).
  return PanelSkinText() + ScrollSections() + "[CLEAR]\r\nTRANSPARENCY=100\r\nFONTCOLOR=$000000\r\nSTATES=1\r\n" +
         "[SHADED]\r\nCOLOR=$406080\r\nGRADIENTPERCENT=50\r\nSTATES=1\r\n";
}

class HostsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Hosts", L"Options.dat", BytesOf(HostSkinText()));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->SetSkinName(L"Hosts");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    form->SetBounds(20, 20, 420, 320);
    form->Show();
  }
  void TearDown() override {
    form.reset();
    manager.reset();
  }
  // The window painted through WM_PRINT (frame and client) into memory.
  static std::unique_ptr<FramePixels> Printed(HWND Wnd) {
    auto pixels = std::make_unique<FramePixels>(Wnd);
    SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels->DC()), PRF_CLIENT | PRF_NONCLIENT);
    return pixels;
  }
  static int CountColor(const FramePixels& Pixels, const RECT& R, COLORREF Color) {
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x) n += Pixels.At(x, y) == Color;
    return n;
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = ShownForm();
};

}  // namespace skin_layered::test
