#include "skin_layered/paint/SectionPaint.h"

#include <algorithm>
#include <cmath>

#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/Gradient.h"
#include "skin_layered/paint/NinePart.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {
namespace {

const TsLoadedSkin* SkinOr(const TsLoadedSkin* skin) { return skin ? skin : DefaultSkin(); }

// R is a non-empty rectangle inside the bitmap.
bool FitsIn(const vcl::TRect& r, vcl::TBitmap* bmp) {
  return bmp && !bmp->Empty() && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp->Width() &&
         r.Bottom <= bmp->Height();
}

const TsMaskData* ImageOf(const TsLoadedSkin& skin, int index) {
  return skin.IsValidImgIndex(index) ? &skin.Images[static_cast<std::size_t>(index)] : nullptr;
}

// The state whose values a section paints with: limited to its last state and to hot.
int ValueState(const TsGeneralData& section, int state) {
  return std::clamp(std::min(state, section.States - 1), 0, 1);
}

// Opaque fill by the target's format.
void FillColour(vcl::TBitmap* bmp, const vcl::TRect& r, vcl::TColor color) {
  if (r.IsEmpty()) return;
  if (bmp->PixelFormat() == vcl::pf32bit)
    BlendBmpRect(bmp, r, color, 255);
  else
    FillDC(bmp->Canvas()->Handle(), r, color);
}

// The background for painting into R of a bitmap: the pixel behind a target pixel (x, y) is
// CI's at (CI.X + pP.X + x - R.Left, CI.Y + pP.Y + y - R.Top).
TqvCacheInfo Behind(TqvCacheInfo ci, vcl::TPoint pP, const vcl::TRect& r) {
  ci.X += pP.X - r.Left;
  ci.Y += pP.Y - r.Top;
  return ci;
}

// The values of a section's state that its background layers are painted with.
struct TLayerValues {
  vcl::TColor Color = 0;
  int Transparency = 0;
  int ImagePercent = 0;
  int GradientPercent = 0;
  int Texture = kNoIndex;
  const TsGradArray* Gradient = nullptr;  // nil: the plain colour in the gradient's place
};

TLayerValues ValuesOf(const TsGenState& state) {
  TLayerValues v;
  v.Color = state.Color;
  v.Transparency = state.Transparency;
  if (v.Transparency != 100) {
    v.ImagePercent = state.ImagePercent;
    v.GradientPercent = state.GradientPercent;
    if (v.GradientPercent != 0 && !state.GradientArray.empty()) v.Gradient = &state.GradientArray;
  }
  return v;
}

void PaintGradientOrColour(vcl::TBitmap* bmp, const vcl::TRect& r, const TLayerValues& v) {
  if (v.Gradient)
    PaintGradient(bmp, r, *v.Gradient);
  else
    FillColour(bmp, r, v.Color);
}

// Which variant of the layers: the full one of PaintSection, or the simpler one of
// PaintSectionByIndex.
enum class TLayerKind { Section, ByIndex };

// The texture over R; what it leaves uncovered takes the colour (never what it covered).
// A masked texture tiled in whole cells (draw mode 10) is left to the caller when
// LeaveCellTiling is set.
void PaintTextureLayer(vcl::TBitmap* bmp, const vcl::TRect& r, const TqvCacheInfo& behind, const TsMaskData& texture,
                       vcl::TColor color, bool leaveCellTiling) {
  vcl::TRect left = r;
  if (texture.MaskType != 0) {
    const int mode = texture.DrawMode == 10 ? 10 : 0;
    if (!(mode == 10 && leaveCellTiling)) TileMaskedImage(bmp, left, behind, mode, texture);
  } else {
    FillByImage(bmp->Canvas(), left, texture.DrawMode, texture);
  }
  if (left.Right != -1 && !left.IsEmpty()) FillColour(bmp, left, color);
}

// A plain texture tiled over all of R and then mixed with the colour by its share: each pixel
// is mixed by its own value alone, so the tile is mixed once and laid, giving the same pixels
// without mixing the whole area (a form's background at every step of a resize). False, with
// nothing painted, where that does not hold.
bool LayMixedTexture(vcl::TBitmap* bmp, const vcl::TRect& r, const TsMaskData& texture, int share,
                     vcl::TColor color) {
  if (texture.MaskType != 0 || (texture.DrawMode != 0 && texture.DrawMode != 10) ||
      bmp->PixelFormat() != vcl::pf32bit)
    return false;
  vcl::TBitmap* picture = ImagePicture(texture);
  const vcl::TRect& tile = texture.R;
  if (!picture || picture->Empty() || tile.IsEmpty() || tile.Left < 0 || tile.Top < 0 ||
      tile.Right > picture->Width() || tile.Bottom > picture->Height())
    return false;
  const int w = tile.Width(), h = tile.Height();
  std::shared_ptr<vcl::TBitmap> mixed = CreateBmp32(w, h);
  BitBlt(mixed->Canvas()->Handle(), 0, 0, w, h, picture->Canvas()->Handle(), tile.Left, tile.Top, SRCCOPY);
  MixColorRect(mixed.get(), {0, 0, w, h}, share, color);
  TsMaskData laid;
  laid.Bmp = std::move(mixed);
  laid.R = {0, 0, w, h};
  laid.DrawMode = texture.DrawMode;
  vcl::TRect left = r;
  FillByImage(bmp->Canvas(), left, laid.DrawMode, laid);
  return true;
}

// The background layers of a state into R: texture, gradient and colour by their shares.
// Behind is the background as seen from this bitmap.
void PaintLayers(TLayerKind kind, const TsLoadedSkin& skin, vcl::TBitmap* bmp, const vcl::TRect& r,
                 const TqvCacheInfo& behind, const TLayerValues& v, bool leaveCellTiling) {
  const TsMaskData* texture = ImageOf(skin, v.Texture);
  const int ip = v.ImagePercent, gp = v.GradientPercent;
  if (kind == TLayerKind::Section && texture && ip + gp == 100 && gp > 0 && gp < 100 && texture->DrawMode == 0 &&
      v.Gradient && v.Gradient->front().Mode < 2) {
    // Gradient and texture in one pass, the texture at its share.
    if (vcl::TBitmap* picture = ImagePicture(*texture)) {
      PaintGradientTransparent(bmp, r, *v.Gradient, 255, static_cast<std::uint8_t>(ip * 255 / 100), texture->R,
                               picture);
      return;
    }
  }
  if (ip > 0 && ip < 100 && gp == 0 && texture && LayMixedTexture(bmp, r, *texture, ip, v.Color)) return;
  if (ip > 0) {
    if (texture)
      PaintTextureLayer(bmp, r, behind, *texture, v.Color, leaveCellTiling);
    else
      FillColour(bmp, r, v.Color);
  }
  if (gp > 0) {
    if (ip > 0) {
      // Over the texture the gradient takes its share, the texture keeps the rest.
      const int w = r.Width(), h = r.Height();
      const auto layer = CreateBmp32(w, h);
      PaintGradientOrColour(layer.get(), {0, 0, w, h}, v);
      const int share = std::clamp(gp * 255 / 100, 0, 255);
      BlendTransRect(bmp, layer.get(), 255 - share, {r.Left, r.Top}, {0, 0, w - 1, h - 1});
    } else {
      PaintGradientOrColour(bmp, r, v);
    }
  }
  const int shares = ip + gp;
  if (shares >= 1 && shares <= 99) {
    MixColorRect(bmp, r, shares, v.Color);
  } else if (shares == 0) {
    // The colour alone. (A see-through section over a fill colour gets that colour from the
    // routes themselves; a fill colour of none, the key colour, is never painted.)
    const bool fillBehind = kind == TLayerKind::ByIndex && v.Transparency == 100 && !behind.Ready &&
                            behind.FillColor != kKeyColor;
    FillColour(bmp, r, fillBehind ? static_cast<vcl::TColor>(behind.FillColor) : v.Color);
  }
}

// The layers painted on their own bitmap and laid over the background at R, which keeps
// Keep of 255.
void BlendLayersOver(TLayerKind kind, const TsLoadedSkin& skin, vcl::TBitmap* bmp, const vcl::TRect& r,
                     vcl::TPoint pP, const TqvCacheInfo& ci, const TLayerValues& v, int keep, bool leaveCellTiling) {
  const int w = r.Width(), h = r.Height();
  const vcl::TRect own{0, 0, w, h};
  const auto layers = CreateBmp32(w, h);
  PaintLayers(kind, skin, layers.get(), own, Behind(ci, pP, own), v, leaveCellTiling);
  BlendTransRect(bmp, layers.get(), keep, {r.Left, r.Top}, {0, 0, w - 1, h - 1});
}

// The corner images of the section at their corners of R, over what R holds.
void PaintCornerImages(const TsLoadedSkin& skin, const TsGeneralData& section, int state, const vcl::TRect& r,
                       vcl::TBitmap* bmp) {
  TqvCacheInfo self;
  MakeCacheInfo(bmp, 0, 0, self);
  auto corner = [&](int index, bool right, bool bottom) {
    const TsMaskData* image = ImageOf(skin, index);
    if (!image) return;
    const vcl::TPoint p{right ? r.Right - MaskImageWidth(*image) : r.Left,
                        bottom ? r.Bottom - MaskImageHeight(*image) : r.Top};
    DrawSkinGlyph(bmp, p, state, 1, *image, self);
  };
  corner(section.ImgTL, false, false);
  corner(section.ImgTR, true, false);
  corner(section.ImgBL, false, true);
  corner(section.ImgBR, true, true);
}

}  // namespace

void PaintSection(int Index, const TqvCacheInfo& CI, int State, const vcl::TRect& R, vcl::TPoint pP,
                  vcl::TBitmap* Bmp, const TsLoadedSkin* Skin, int NormalTex, int HotTex, TColorValue ParentColor) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  if (!skin || !FitsIn(R, Bmp)) return;
  if (!skin->IsValidSkinIndex(Index)) return PaintBehind(Bmp, R, pP, CI);
  const TsGeneralData& section = skin->Sections[static_cast<std::size_t>(Index)];
  const int k = ValueState(section, State);
  const TsGenState& state = section.Props[static_cast<std::size_t>(k)];

  TLayerValues v;
  if (ParentColor == kKeyColor) {
    v = ValuesOf(state);
    if (v.ImagePercent > 0 && NormalTex < 0) NormalTex = state.ImgTexture;
  } else {
    v.Color = static_cast<vcl::TColor>(ParentColor);
  }
  v.Texture = NormalTex;

  // The masked texture tiled in whole cells over the finished background (below) is not laid
  // by the layers as well.
  const int cellTexture = k == 0 ? (NormalTex < 0 ? state.ImgTexture : NormalTex) : HotTex;
  const TsMaskData* cells = ImageOf(*skin, cellTexture);
  if (cells && !(cells->MaskType > 0 && cells->DrawMode == 10)) cells = nullptr;
  const bool leaveCellTiling = cells && cellTexture == v.Texture;

  const int t = v.Transparency;
  if ((!CI.Ready && CI.FillColor == kKeyColor) || t == 0) {
    PaintLayers(TLayerKind::Section, *skin, Bmp, R, Behind(CI, pP, R), v, leaveCellTiling);
  } else if (t == 100) {
    PaintBehind(Bmp, R, pP, CI);
  } else if (CI.Ready || v.ImagePercent + v.GradientPercent != 0) {
    if (CI.Ready)
      PaintBehind(Bmp, R, pP, CI);
    else
      FillColour(Bmp, R, static_cast<vcl::TColor>(CI.FillColor));
    BlendLayersOver(TLayerKind::Section, *skin, Bmp, R, pP, CI, v, static_cast<int>(std::lround(t * 2.55)),
                    leaveCellTiling);
  } else {
    FillColour(Bmp, R, static_cast<vcl::TColor>(MixColors(CI.FillColor, static_cast<TColorValue>(v.Color), t / 100.0)));
  }

  if (cells) {
    vcl::TRect area = R;
    TileMaskedImage(Bmp, area, Behind(CI, pP, R), 10, *cells);
  }
}

void PaintCommonDataBg(const TqvControlSkin& Data, const TqvCacheInfo& CI, int State, const vcl::TRect& R,
                       vcl::TPoint pP, vcl::TBitmap* Bmp) {
  const TsGeneralData* section = Data.Section();
  if (!section) {
    if (Data.SkinOrDefault()) PaintBehind(Bmp, R, pP, CI);
    return;
  }
  TColorValue parent = kKeyColor;
  if (Data.CustomColor && Data.Owner)
    parent = static_cast<TColorValue>(vcl::ColorToRGB(Data.Owner->Color())) & 0xFFFFFFu;
  State = std::min(State, section->States - 1);
  PaintSection(Data.SkinIndex, CI, State, R, pP, Bmp, Data.SkinOrDefault(), Data.Texture, Data.HotTexture, parent);
}

void PaintItem(const TqvControlSkin& Data, const TqvCacheInfo& CI, int State, const vcl::TRect& R, vcl::TPoint pP,
               vcl::TBitmap* Bmp, bool UpdateCorners) {
  const TsLoadedSkin* skin = Data.SkinOrDefault();
  const TsGeneralData* section = Data.Section();
  if (!skin || !FitsIn(R, Bmp)) return;
  if (!section) return PaintBehind(Bmp, R, pP, CI);
  if (State >= section->States) State = section->States - 1;
  PaintCommonDataBg(Data, CI, State, R, pP, Bmp);
  PaintCornerImages(*skin, *section, State, R, Bmp);
  const TsMaskData* border = ImageOf(*skin, Data.BorderIndex);
  if (border && !(State == 0 && (border->DrawMode & kDrawNoNormal))) {
    DrawSkinRect(Bmp, R, Behind(CI, pP, R), *border, State, UpdateCorners);
  } else if (section->Props[static_cast<std::size_t>(ValueState(*section, State))].Transparency != 0) {
    // What shows through is the parent's, already in its own colours.
    return;
  }
  // Only what was painted now: items painted before into the same bitmap keep their colours.
  ApplyColorChanges(Bmp, R, Data.Changes);
}

void PaintItemBg(int Index, const TqvCacheInfo& CI, int State, const vcl::TRect& R, vcl::TPoint pP,
                 vcl::TBitmap* Bmp, const TsLoadedSkin* Skin, int NormalTex, int HotTex) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  if (!skin || !FitsIn(R, Bmp)) return;
  if (!skin->IsValidSkinIndex(Index)) return PaintBehind(Bmp, R, pP, CI);
  const TsGeneralData& section = skin->Sections[static_cast<std::size_t>(Index)];
  State = std::max(std::min(State, section.States - 1), 0);
  PaintSection(Index, CI, State, R, pP, Bmp, skin, NormalTex, HotTex, kKeyColor);
  PaintCornerImages(*skin, section, State, R, Bmp);
  if (const TsMaskData* border = ImageOf(*skin, section.BorderIndex))
    DrawSkinRect(Bmp, R, Behind(CI, pP, R), *border, State, true);
}

void PaintSectionByIndex(int Index, int Tex, const TsLoadedSkin* Skin, vcl::TBitmap* Bmp, vcl::TPoint pP,
                         const vcl::TRect& R, int State, const TqvCacheInfo& CI) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  if (!skin || !FitsIn(R, Bmp)) return;
  if (!skin->IsValidSkinIndex(Index)) return PaintBehind(Bmp, R, pP, CI);
  const TsGeneralData& section = skin->Sections[static_cast<std::size_t>(Index)];
  TLayerValues v = ValuesOf(section.Props[static_cast<std::size_t>(std::clamp(State, 0, 1))]);
  v.Texture = Tex;
  const int t = v.Transparency;
  if (CI.Ready && t == 100) {
    PaintBehind(Bmp, R, pP, CI);
  } else if (!CI.Ready || t == 0) {
    PaintLayers(TLayerKind::ByIndex, *skin, Bmp, R, Behind(CI, pP, R), v, false);
  } else {
    PaintBehind(Bmp, R, pP, CI);
    BlendLayersOver(TLayerKind::ByIndex, *skin, Bmp, R, pP, CI, v, std::clamp(t * 255 / 100, 0, 255), false);
  }
}

void PaintItemImage(int Index, int BorderIndex, int Tex, const TsLoadedSkin* Skin, vcl::TBitmap* Bmp,
                    vcl::TPoint pP, const vcl::TRect& R, int State, const TqvCacheInfo& CI) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  if (!skin || !FitsIn(R, Bmp)) return;
  if (!skin->IsValidSkinIndex(Index)) return PaintBehind(Bmp, R, pP, CI);
  State = std::max(std::min(State, skin->Sections[static_cast<std::size_t>(Index)].States - 1), 0);
  PaintSectionByIndex(Index, Tex, skin, Bmp, pP, R, State, CI);
  if (const TsMaskData* border = ImageOf(*skin, BorderIndex))
    DrawSkinRect(Bmp, R, Behind(CI, pP, R), *border, State, true);
}

void PaintItemToDC(int Index, const TqvCacheInfo& CI, int State, const TsLoadedSkin* Skin, HDC DC, vcl::TPoint pP,
                   const vcl::TRect& R) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  if (!skin || !DC || R.Left < 0 || R.Top < 0 || R.Width() < 1 || R.Height() < 1)
    return;
  const TSavedDC saved(DC);
  const auto bmp = CreateBmp32(R.Width(), R.Height());
  PaintItemBg(Index, CI, State, {0, 0, R.Width(), R.Height()}, pP, bmp.get(), skin, kNoIndex, kNoIndex);
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

int PaintItemByName(vcl::TBitmap* Bmp, vcl::StringView Name, vcl::StringView SecondName, HDC SrcDC,
                    TColorValue FillColor, vcl::TPoint SrcPoint, const TsLoadedSkin* Skin, int State) {
  const TsLoadedSkin* skin = SkinOr(Skin);
  if (!skin) return kNoIndex;
  int index = skin->GetSkinIndex(Name);
  if (index < 0) index = skin->GetSkinIndex(SecondName);
  if (index < 0 || !Bmp || Bmp->Empty()) return index;
  TqvCacheInfo ci;
  if (SrcDC) {
    BitBlt(Bmp->Canvas()->Handle(), 0, 0, Bmp->Width(), Bmp->Height(), SrcDC, SrcPoint.X, SrcPoint.Y, SRCCOPY);
    MakeCacheInfo(Bmp, 0, 0, ci);
  }
  ci.FillColor = FillColor;
  PaintItemBg(index, ci, State, {0, 0, Bmp->Width(), Bmp->Height()}, {0, 0}, Bmp, skin, kNoIndex, kNoIndex);
  return index;
}

}  // namespace skin_layered
