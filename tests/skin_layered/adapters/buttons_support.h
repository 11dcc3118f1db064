// Shared by the buttons', check boxes', statics' and combo boxes' tests: a skin in which every
// section and every frame of the border image and check glyphs has a colour of its own, and a
// form at the desktop's far side (clear of other test programs' windows) answering a plain colour.
#pragma once

#include <array>
#include <string>

#include "adapters_support.h"
#include "classlib/controls/WindowProcHook.h"
#include "skin_layered/core/BackgroundInfo.h"

namespace skin_layered::test {

// Shown forms stand here.
inline constexpr int kFormLeft = 980, kFormTop = 640;

inline constexpr COLORREF kParentColor = 0x305070;  // what the form answers lies behind its controls
inline constexpr COLORREF kButtonFace = 0x202080;   // BUTTON's own colour (under its border image)
inline constexpr COLORREF kButtonFont = 0x000000;
// The four frames of BUTTON's border image: normal, hot, pressed, default.
inline constexpr std::array<COLORREF, 4> kButtonFrames{0x40C040, 0x40F0F0, 0xF04040, 0xF040C0};
inline constexpr COLORREF kCheckColor = 0xC0E0A0, kCheckHot = 0xA0E0C0, kCheckFont = 0x0000FF;
inline constexpr COLORREF kGroupColor = 0x8080E0, kGroupFont = 0xFF0000;
inline constexpr COLORREF kDialogColor = 0xB0B0B0;  // system dialogs the dialog hook skins
inline constexpr COLORREF kComboColor = 0xE0F0F0, kComboHot = 0xD0FFFF, kComboFont = 0x004000;
// The three frames of COMBOBTN's border image: normal, hot, pressed.
inline constexpr std::array<COLORREF, 3> kComboButtonFrames{0x60A0E0, 0x70E070, 0xE07070};
inline constexpr COLORREF kSelectionColor = 0x806000, kSelectionHot = 0xA08000, kSelectionFont = 0xFFFFFF;
inline constexpr COLORREF kListColor = 0xF0E0D0, kListHot = 0xF0D0F0;  // EDIT: the drop-down list
inline constexpr COLORREF kBorderColor = 0x102030;                      // the skin's border colour

// The check glyph images in the order of the skin's constant table: the check box's three
// check states, then the radio button's two; each has three frames (normal, hot, pressed).
inline constexpr std::array<const char*, 5> kGlyphNames{"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED", "RADIOUNCHECKED",
                                                       "RADIOCHECKED"};
inline constexpr int kGlyphSize = 12;
inline COLORREF GlyphColor(int Image, int Frame) {
  return RGB(0x20 + Image * 0x28, 0x50 + Frame * 0x40, 0xB0 - Image * 0x10);
}

// The master bitmap: the border image's frames (8 x 8 each) in the top row, the check glyphs
// (three 12 x 12 frames each, 40 pixels apart) below, the combo button's frames (8 x 8) below
// them.
inline std::uint32_t MasterPixel(int X, int Y) {
  auto rgb = [](COLORREF c) { return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); };
  if (Y < 8) return X < 32 ? rgb(kButtonFrames[static_cast<std::size_t>(X / 8)]) : 0x000000;
  if (Y >= 10 && Y < 10 + kGlyphSize) {
    const int image = X / 40, inImage = X % 40;
    if (image < 5 && inImage < 3 * kGlyphSize) return rgb(GlyphColor(image, inImage / kGlyphSize));
  }
  if (Y >= 24 && Y < 32 && X < 24) return rgb(kComboButtonFrames[static_cast<std::size_t>(X / 8)]);
  return 0x000000;
}

inline std::string Mask(int Left, int Top, int Right, int Bottom, int Margin, int Count, int DrawMode) {
  char text[96];
  std::snprintf(text, sizeof text, "^%04d,%04d,%04d,%04d,%04d,%04d,%04d,%04d,%d,0,%d,0", Left, Top, Right, Bottom,
                Margin, Margin, Margin, Margin, Count, DrawMode);
  return text;
}

inline std::string Section(const char* Name, COLORREF Color, COLORREF Hot, COLORREF Font, int States,
                           const std::string& Extra = {}) {
  return std::string("[") + Name + "]\r\nCOLOR=" + Hex(Color) + "\r\nHOTCOLOR=" + Hex(Hot) + "\r\nFONTCOLOR=" +
         Hex(Font) + "\r\nHOTFONTCOLOR=" + Hex(Font) + "\r\nSTATES=" + std::to_string(States) + "\r\n" + Extra;
}

inline std::string ButtonsSkinText(const std::string& Extra = {}) {
  std::string globals =
      "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\nBORDERCOLOR=" + Hex(kBorderColor) + "\r\n";
  for (int i = 0; i < 5; ++i)
    globals += std::string(kGlyphNames[static_cast<std::size_t>(i)]) + "=" +
               Mask(i * 40, 10, i * 40 + 3 * kGlyphSize, 10 + kGlyphSize, 0, 3, 0) + "\r\n";
  const std::string border = "BORDERSMASK=" + Mask(0, 0, 32, 8, 2, 4, 5) + "\r\n";
  return globals + Section("BUTTON", kButtonFace, kButtonFace, kButtonFont, 4, border) +
         Section("BUTTON3", kButtonFace, kButtonFace, kButtonFont, 3, border) +
         Section("CHECKBOX", kCheckColor, kCheckHot, kCheckFont, 2) +
         Section("GROUPBOX", kGroupColor, kGroupColor, kGroupFont, 1) +
         Section("DIALOG", kDialogColor, kDialogColor, kButtonFont, 1) + Extra;
}

// The sections of combo boxes and their lists; without the combo button's when asked.
inline std::string ComboSections(bool Button = true) {
  std::string text = Section("COMBOBOX", kComboColor, kComboHot, kComboFont, 2) +
                     Section("EDIT", kListColor, kListHot, kComboFont, 2) +
                     Section("SELECTION", kSelectionColor, kSelectionHot, kSelectionFont, 2);
  if (Button)
    text += Section("COMBOBTN", kComboButtonFrames[0], kComboButtonFrames[1], 0x000000, 3,
                    "BORDERSMASK=" + Mask(0, 24, 24, 32, 2, 3, 5) + "\r\n");
  return text;
}

// The buttons' skin loaded and a shown form at the far side whose background answer is
// kParentColor.
class ButtonsTest : public SkinnedTest {
 protected:
  void LoadButtonsSkin(const std::string& Extra = {}) {
    skins.Write(L"Flat", L"master.bmp", Bmp24(200, 34, MasterPixel));
    LoadSkin(ButtonsSkinText(Extra));
    form->SetBounds(kFormLeft, kFormTop, 420, 300);
    background.hook.Install(form.get(), vcl::TWndMethod::Bind<&TBackground::Proc>(&background));
    form->Show();
  }

  // The form answers the background query with a plain colour.
  struct TBackground {
    vcl::TWindowProcHook hook;
    void Proc(vcl::TMessage& m) {
      if (m.Msg == kSkinCmdMessage && SkinCommandOf(m.WParam) == scmGetBgInfo && m.LParam) {
        auto* info = reinterpret_cast<TqvBGInfo*>(m.LParam);
        info->BgType = btColor;
        info->Color = static_cast<vcl::TColor>(kParentColor);
        m.Result = 1;
        return;
      }
      hook.CallPrevious(m);
    }
  } background;
};

}  // namespace skin_layered::test
