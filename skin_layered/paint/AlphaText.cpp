#include "skin_layered/paint/AlphaText.h"

#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/TextOutput.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"

namespace skin_layered {

void AlphaDrawText(vcl::TBitmap* Bmp, vcl::StringView Text, const vcl::TRect& R, UINT Flags, vcl::TColor Color) {
  TPixelView dst;
  if (Text.empty() || R.IsEmpty() || !InitPixelView(Bmp, dst)) return;
  // Black letters on white give each pixel's coverage.
  const auto coverage = CreateBmp32(R.Width(), R.Height());
  vcl::TCanvas* canvas = coverage->Canvas();
  canvas->Font()->Assign(Bmp->Canvas()->Font());
  canvas->Font()->SetColor(vcl::clBlack);
  canvas->Brush()->SetColor(vcl::clWhite);
  canvas->FillRect(vcl::Rect(0, 0, R.Width(), R.Height()));
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, 0);
  vcl::TRect area(0, 0, R.Width(), R.Height());
  DrawTextStr(dc, Text, area, Flags);
  GdiFlush();
  TPixelView letters;
  if (!InitPixelView(coverage.get(), letters)) return;
  DrawCoverage(dst, R.Left, R.Top, letters, static_cast<TColorValue>(vcl::ColorToRGB(Color)) & 0xFFFFFFu);
}

void AlphaWriteSkinText(vcl::TBitmap* Bmp, vcl::StringView Text, bool Contour, const vcl::TRect& R, UINT Flags,
                        int SkinIndex, bool Hot, const TsLoadedSkin* Skin) {
  if (!Bmp || Text.empty() || R.IsEmpty()) return;
  if (!Skin) Skin = DefaultSkin();
  if (!Skin || !Skin->IsValidSkinIndex(SkinIndex)) {
    AlphaDrawText(Bmp, Text, R, Flags, Bmp->Canvas()->Font()->Color());
    return;
  }
  const TsGeneralData& section = Skin->Sections[static_cast<std::size_t>(SkinIndex)];
  const TsGenState& state = section.Props[Hot && section.States > 1 ? 1 : 0];
  if (Contour) {
    const struct {
      vcl::TColor color;
      int dx, dy;
    } contours[] = {{state.TCLeft, -1, 0}, {state.TCTop, 0, -1}, {state.TCRight, 1, 0}, {state.TCBottom, 0, 1}};
    for (const auto& c : contours) {
      if (c.color == -1) continue;
      vcl::TRect moved = R;
      moved.Offset(c.dx, c.dy);
      AlphaDrawText(Bmp, Text, moved, Flags, c.color);
    }
  }
  AlphaDrawText(Bmp, Text, R, Flags, state.FontColor);
}

}  // namespace skin_layered
