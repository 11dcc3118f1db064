// Text in the colours of a skin state: one-pixel contours around the letters, a blurred glow
// behind them, the mixed colour of disabled text and the colour changes a control applies to
// its section's colours; and the smoothing and blurs behind those effects. The skin-aware
// callers pick the colours from a section; these routines only draw them.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/pixels/Blur.h"

namespace skin_layered {

// A contour colour that draws no contour on its side.
inline constexpr vcl::TColor kNoContour = -1;
// How much of the background colour disabled text takes.
inline constexpr double kDisabledTextMix = 0.4;

// The colours of one state of skinned text.
struct TTextColors {
  vcl::TColor FontColor = vcl::clBlack;
  vcl::TColor Left = kNoContour, Top = kNoContour, Right = kNoContour, Bottom = kNoContour;
};

// The text with the canvas's font at R, transparently: each contour colour that is not
// kNoContour at R moved one pixel outward on its side (left, top, right, bottom in this
// order), then the text itself in FontColor, or in LegibleTextColor's answer for the face the
// canvas holds under R. Nothing for an empty text.
void WriteContourText(vcl::TCanvas* Canvas, vcl::StringView Text, const TTextColors& Colors, UINT Flags,
                      const vcl::TRect& R);

// Text always stands off the face it is written on: Color, unless it hardly differs from the
// face the DC's picture holds under R (a state's font colour meant for another face, a colour
// the skin left at its default), then black on a light face and white on a dark one. A DC
// that paints into no 24- or 32-bit device-independent picture keeps Color.
vcl::TColor LegibleTextColor(vcl::TColor Color, HDC DC, const vcl::TRect& R);
// The same for text whose face is the colour Face.
vcl::TColor LegibleTextColorOn(vcl::TColor Color, vcl::TColor Face);

// The colour of disabled text: the font colour moved 60 % toward the background colour.
vcl::TColor DisabledTextColor(vcl::TColor FontColor, vcl::TColor Color);

// A section colour after a control's colour changes: its tone (clNone for none), its hue
// offset in degrees and its saturation change in percent.
vcl::TColor ChangeTextColor(vcl::TColor Color, vcl::TColor Tone, int Hue, int Saturation);

// The glow of one text, kept by its caller between paints: made again only when the text,
// the font, the flags, the sides, the glow size or the rectangle's size change.
class TGlowMask {
 public:
  bool Empty() const { return pixels_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The blurred mask: 255 where nothing glows, down toward 0 under the letters.
  std::uint8_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  friend void WriteTextGlow(vcl::TBitmap*, vcl::StringView, vcl::TRect, UINT, unsigned, int, vcl::TColor, TGlowMask&);
  struct TKey {
    vcl::String Text;
    LOGFONTW Font{};
    UINT Flags = 0;
    unsigned Sides = 0;
    int Size = 0, Width = 0, Height = 0;
    bool operator==(const TKey& other) const;
  };
  TPlaneView View() { return {pixels_.data(), width_, width_, height_}; }

  std::vector<std::uint8_t> pixels_;
  int width_ = 0, height_ = 0;
  TKey key_;
};

// Side bits of a glow: the text is also drawn one pixel to the left, up, to the right, down.
inline constexpr unsigned kGlowLeft = 1, kGlowTop = 2, kGlowRight = 4, kGlowBottom = 8, kGlowAllSides = 15;

// A blurred glow of Color behind the text as DrawText places it in R (moved by one pixel
// right and down) with the flags and the font of Bmp's canvas, spreading Size + 4 pixels
// around R into the 32-bit Bmp: its alpha grows and its colours move toward Color by the
// glow's strength. The text is drawn into the mask also shifted by one pixel toward each side
// in Sides, which widens the letters, and the mask is blurred with sigma Size. Nothing for a
// size below 1, an empty text or a bitmap that is not 32-bit.
void WriteTextGlow(vcl::TBitmap* Bmp, vcl::StringView Text, vcl::TRect R, UINT Flags, unsigned Sides, int Size,
                   vcl::TColor Color, TGlowMask& Mask);

// The separable blur of an 8-bit bitmap; nothing for other formats or a sigma not above 0.
void BlurBitmap8(vcl::TBitmap* Bmp, float Sigma);
// The three-tap smoothing of a 32-bit bitmap's pixels (see SmoothView).
void SmoothBitmap(vcl::TBitmap* Bmp);

}  // namespace skin_layered
