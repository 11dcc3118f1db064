// Shared by the container adapters' tests: a skin of flat colours for panels, status bars,
// speed buttons and track bars, images of flat frames added to it after loading (one colour
// per frame, so one pixel tells which frame was drawn).
#pragma once

#include <vector>

#include "adapters_support.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered::test {

inline constexpr COLORREF kPanel = 0x3060A0, kPanelLow = 0x60A030, kGroupBox = 0xA03060, kCheckBox = 0x306030;
inline constexpr COLORREF kStatusBar = 0x50B0D0, kDivider = 0x101080, kStatusPanel = 0x80C080, kGrip = 0x2040F0;
inline constexpr COLORREF kSpeed = 0xB08040, kSpeedHot = 0xD0A060;
inline constexpr COLORREF kTrack = 0x70D0E0, kChannel = 0x206020, kChannelHot = 0x20A020;
inline constexpr COLORREF kThumb = 0x9020B0, kThumbPressed = 0xC040E0;
inline constexpr COLORREF kToolBar = 0xC0C040, kToolButton = 0x4080C0, kToolButtonHot = 0x60A0E0;

inline std::string PanelSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("PANEL", kPanel, kPanel) +
         FlatSection("PANEL_LOW", kPanelLow, kPanelLow) + FlatSection("GROUPBOX", kGroupBox, kGroupBox) +
         FlatSection("CHECKBOX", kCheckBox, kCheckBox) + FlatSection("STATUSBAR", kStatusBar, kStatusBar) +
         FlatSection("DIVIDER", kDivider, kDivider) + FlatSection("SPEEDBUTTON", kSpeed, kSpeedHot) +
         FlatSection("TRACKBAR", kTrack, kTrack) + FlatSection("TOOLBAR", kToolBar, kToolBar) +
         FlatSection("TOOLBUTTON", kToolButton, kToolButtonHot);
}

// An image of flat frames (one colour each), Width x Height per frame, margins of 1.
inline int AddFlatImage(TsSkinManager& Manager, const wchar_t* Section, const wchar_t* Property, int Width, int Height,
                        const std::vector<COLORREF>& Frames) {
  auto bmp = std::make_shared<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf32bit);
  const int n = static_cast<int>(Frames.size());
  bmp->SetSize(Width * n, Height);
  for (int i = 0; i < n; ++i) {
    HBRUSH brush = CreateSolidBrush(Frames[static_cast<std::size_t>(i)]);
    const RECT r{i * Width, 0, (i + 1) * Width, Height};
    FillRect(bmp->Canvas()->Handle(), &r, brush);
    DeleteObject(brush);
  }
  TsMaskData image;
  image.Bmp = bmp;
  image.ClassName = Section;
  image.PropertyName = Property;
  image.R = vcl::TRect{0, 0, Width * n, Height};
  image.ImageCount = static_cast<std::uint16_t>(n);
  image.DrawMode = kDrawCentre | kDrawStretch;
  image.Manager = &Manager.Skin();
  image.WidthLeft = image.WidthTop = image.WidthRight = image.WidthBottom = 1;
  Manager.Skin().Images.push_back(image);
  return static_cast<int>(Manager.Skin().Images.size()) - 1;
}

class PanelsTest : public SkinnedTest {
 protected:
  void SetUp() override { LoadSkin(PanelSkinText(), L"Panels"); }
};

}  // namespace skin_layered::test
