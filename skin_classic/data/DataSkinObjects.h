// The skin data objects: one per skinned element of a classic skin (its bitmap with frames
// side by side or stacked, nine-part margins, flags and text colours), with the kinds that
// carry more: borders with a second image, the button object with check-box and radio
// images, the title text, caption buttons and group-box labels.
#pragma once

#include <memory>

#include "classlib/graphics/Graphics.h"
#include "classlib/rtl/SysUtils.h"

namespace winskin {

using vcl::AnsiString;
using vcl::TBitmap;
using vcl::TColor;
using vcl::TRect;

// The key colour of skin bitmaps: pixels of it are transparent where an element says so.
inline constexpr TColor kSkinKeyColor = 0xFF00FF;
// "No colour" for the text colours of an element.
inline constexpr TColor kNoSkinColor = -1;

// The one test of whether the skin has something to paint an element from: a picture with
// at least a pixel for each of its frames along the way they lie (side by side, or stacked).
// A missing entry, a picture that could not be read, or one too small for its frames all fail
// it, and the element is then left to what the system draws for it: frames of no pixels would
// leave it undrawn, and a tall picture does not make a narrow one's frames any wider.
inline bool UsablePicture(const TBitmap* Picture, int Frames, bool Stacked = false) {
  if (!Picture || Picture->Empty() || Picture->Width() < 1 || Picture->Height() < 1) return false;
  const int frames = Frames < 1 ? 1 : Frames;
  return (Stacked ? Picture->Height() : Picture->Width()) >= frames;
}

// The smallest frame a piece drawn at its own size (a check or radio mark, a caption button, the
// size grip) can show its glyph in, either way.
inline constexpr int kSmallestGlyph = 5;

// A picture to cut such pieces from: usable, and its frames at least the smallest glyph. A
// picture of another size (cut short, a few columns, or one meant for something else) gives
// slivers that show no state or symbol, and the piece is then the system's, as without it.
inline bool UsableGlyphPicture(const TBitmap* Picture, int Frames) {
  if (!UsablePicture(Picture, Frames)) return false;
  const int frames = Frames < 1 ? 1 : Frames;
  return Picture->Width() / frames >= kSmallestGlyph && Picture->Height() >= kSmallestGlyph;
}

// The pixels of one of Frames frames along Extent pixels of a picture: the whole count that
// fits, frame i starting at i times that. Columns left over past the last frame belong to no
// frame; a wider frame would take a column of the frame after it. 0 when the picture has fewer
// pixels than frames.
inline int FrameExtent(int Extent, int Frames) {
  const int frames = Frames < 1 ? 1 : Frames;
  return Extent < frames ? 0 : Extent / frames;
}

class TDataSkinObject : public vcl::TObject {
  VCL_CLASS(TDataSkinObject, TObject)

 public:
  explicit TDataSkinObject(AnsiString AName = {}) : Name(std::move(AName)) {}

  // The four margins as a rectangle (left, top, right, bottom), as the painters take them.
  TRect Margins() const { return TRect(LeftWidth, TopHeight, RightWidth, BottomHeight); }
  bool Transparent() const { return Trans != 0; }
  // The skin has a picture to paint this element from.
  bool HasBitmap() const { return UsablePicture(Bitmap.get(), Frame, StackedFrames); }
  // The skin has a picture to cut glyph pieces (frames side by side) from.
  bool HasGlyphBitmap() const { return !StackedFrames && UsableGlyphPicture(Bitmap.get(), Frame); }

  int LeftWidth = 0;
  int TopHeight = 0;
  int RightWidth = 0;
  int BottomHeight = 0;
  const std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
  int Trans = 0;  // 1: the key colour is transparent
  int Tile = 0;   // 0 stretch, 1 tile
  AnsiString Name;
  int Frame = 1;  // state frames in Bitmap, at least 1
  bool StackedFrames = false;  // the frames lie one above the other (the top and bottom borders)
  int Style = 0;
  TColor NormalColour = kNoSkinColor;
  TColor MouseOverColour = kNoSkinColor;
  TColor PressedColour = kNoSkinColor;
  TColor NormalColour2 = kNoSkinColor;
  TColor MouseOverColour2 = kNoSkinColor;
  TColor PressedColour2 = kNoSkinColor;
};

class TDataSkinBorder : public TDataSkinObject {
  VCL_CLASS(TDataSkinBorder, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;

  const std::unique_ptr<TBitmap> Bitmap2 = std::make_unique<TBitmap>();
};

class TDataSkinButton : public TDataSkinObject {
  VCL_CLASS(TDataSkinButton, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;

  const std::unique_ptr<TBitmap> CheckBitmap = std::make_unique<TBitmap>();
  const std::unique_ptr<TBitmap> RadioBitmap = std::make_unique<TBitmap>();
  int RadioButtonFrame = 1;
  int CheckButtonFrame = 1;
  bool HasCheckPicture() const { return UsableGlyphPicture(CheckBitmap.get(), CheckButtonFrame); }
  bool HasRadioPicture() const { return UsableGlyphPicture(RadioBitmap.get(), RadioButtonFrame); }
  bool NormalColour2Given = false;
  bool MouseOverColour2Given = false;
  bool PressedColour2Given = false;
};

// The title text. Its margins are the text's offsets: LeftWidth the left offset ("TextShift"),
// TopHeight the vertical shift, RightWidth the right offset; its bitmap is the text background.
class TDataSkinTitle : public TDataSkinObject {
  VCL_CLASS(TDataSkinTitle, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;

  int TextAlignment = 0;
  int Textbackground = 0;
  int FontHeight = 0;
  int TXTBackleft = 0;
  int TXTBackRight = 0;
  TColor ActiveText = vcl::clNone;  // clNone: not given
  TColor InActiveText = vcl::clNone;
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
  VCL_CLASS(TDataSkinSysButton, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;

  int Action = 0;
  int Align = 0;
  int Xcoord = 0;
  int Ycoord = 0;
  int CombineOp = -1;
  int Visibility = 0;
  int Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
  VCL_CLASS(TDataSkinBoxLabel, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;

  int BackgroundLeftShift = 0;
  int BackgroundRightShift = 0;
  int BackgroundAlignment = 0;
};

}  // namespace winskin
