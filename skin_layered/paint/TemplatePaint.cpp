#include "skin_layered/paint/TemplatePaint.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Gradient.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"
#include "skin_layered/paint/pixels/SkinPieces.h"

namespace skin_layered {
namespace {

TPixelRect PixelRect(const vcl::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

bool CoversBitmap(const vcl::TRect& r, vcl::TBitmap* bmp) {
  return r.Left <= 0 && r.Top <= 0 && r.Right >= bmp->Width() && r.Bottom >= bmp->Height();
}

// The texture of the state: its own, else the section's.
const TsMaskData* TextureOf(const TsLoadedSkin& skin, const TsGeneralData& section, const TsGenState& state) {
  for (int index : {state.ImgTexture, section.TextureIndex})
    if (skin.IsValidImgIndex(index)) return &skin.Images[static_cast<std::size_t>(index)];
  return nullptr;
}

// The texture laid over R: its cells tiled, through their mask when they have one.
void PaintTexture(vcl::TBitmap* bmp, const vcl::TRect& r, const TsMaskData& texture) {
  if (texture.MaskType != 0) {
    vcl::TRect area = r;
    TileMaskedImage(bmp, area, kEmptyCacheInfo, 0, texture);
    return;
  }
  TPixelView dst;
  const TPixelSource picture(ImagePicture(texture));
  const vcl::TRect& s = texture.R;
  if (picture.Empty() || s.IsEmpty() || !InitPixelView(bmp, dst)) return;
  ForEachTile(PixelRect(r), s.Width(), s.Height(), {0, 0, dst.Width, dst.Height}, [&](int x, int y, int w, int h) {
    CopyArea(dst, x, y, picture.View(), {s.Left, s.Top, s.Left + w, s.Top + h});
  });
  FillAlphaArea(dst, PixelRect(r), 255, kNoColor);
}

// The gradient of the state, or its colour without one, opaque.
void PaintGradientOrColor(vcl::TBitmap* bmp, const vcl::TRect& r, const TsGenState& state) {
  if (state.GradientArray.empty())
    BlendBmpRect(bmp, r, state.Color, 255);
  else
    PaintGradient(bmp, r, state.GradientArray);
}

}  // namespace

void PaintSectionBackground32(vcl::TBitmap* Bmp, const vcl::TRect& R, const TsLoadedSkin& Skin, int SkinIndex,
                              int State) {
  TPixelView view;
  if (!Skin.IsValidSkinIndex(SkinIndex) || R.IsEmpty() || !InitPixelView(Bmp, view)) return;
  const TsGeneralData& section = Skin.Sections[static_cast<std::size_t>(SkinIndex)];
  const TsGenState& state = section.Props[static_cast<std::size_t>(std::clamp(State, 0, 1))];
  const bool whole = CoversBitmap(R, Bmp);
  if (state.Transparency >= 100) {
    if (whole) FillArea(view, {0, 0, view.Width, view.Height}, 0);
    return;
  }
  const TsMaskData* texture = TextureOf(Skin, section, state);
  const int texturePercent = texture ? std::clamp(state.ImagePercent, 0, 100) : 0;
  const int gradientPercent = std::clamp(state.GradientPercent, 0, 100);

  if (texture && texturePercent + gradientPercent == 100 && gradientPercent >= 1 && gradientPercent <= 99 &&
      texture->DrawMode == 0 && !state.GradientArray.empty()) {
    // The texture shows through the gradient at its share, in one pass.
    PaintGradientTransparent(Bmp, R, state.GradientArray, 255,
                             static_cast<std::uint8_t>(texturePercent * 255 / 100), texture->R,
                             ImagePicture(*texture));
  } else {
    if (texturePercent > 0) PaintTexture(Bmp, R, *texture);
    if (gradientPercent > 0) {
      if (texturePercent > 0) {
        // Over the texture: the gradient laid on at its share.
        const auto layer = CreateBmp32(R.Width(), R.Height());
        PaintGradientOrColor(layer.get(), {0, 0, R.Width(), R.Height()}, state);
        const int alpha = std::clamp(gradientPercent * 255 / 100, 0, 255);
        BlendTransRect(Bmp, layer.get(), 255 - alpha, {R.Left, R.Top}, {0, 0, R.Width() - 1, R.Height() - 1});
      } else {
        PaintGradientOrColor(Bmp, R, state);
      }
    }
    const int shares = texturePercent + gradientPercent;
    if (shares == 0) {
      const int opacity = (100 - std::clamp(state.Transparency, 0, 100)) * 255 / 100;
      if (state.Transparency <= 0) {
        BlendBmpRect(Bmp, R, state.Color, 255);
      } else if (PixelAt(view, std::max(R.Left, 0), std::max(R.Top, 0)) == 0) {
        BlendBmpRect(Bmp, R, state.Color, opacity);
      } else {
        // Faded toward the colour, never less opaque than the transparency allows.
        FadeBmpRect(Bmp, R, state.Color, 100 - state.Transparency, static_cast<std::uint8_t>(opacity));
      }
    } else if (shares < 100) {
      MixColorRect(Bmp, R, shares, state.Color);
    }
  }
  if (whole) PremultiplyBmpRect(Bmp, R);
}

void PaintControlByTemplate(int SkinIndex, int State, const vcl::TRect& R, vcl::TBitmap* Bmp,
                            const TsLoadedSkin* Skin) {
  if (!Skin) Skin = DefaultSkin();
  TPixelView view;
  if (!Skin || !Skin->IsValidSkinIndex(SkinIndex) || !InitPixelView(Bmp, view)) return;
  if (R.IsEmpty() || R.Left < 0 || R.Top < 0 || R.Right > view.Width || R.Bottom > view.Height) return;
  const TsGeneralData& section = Skin->Sections[static_cast<std::size_t>(SkinIndex)];
  State = std::clamp(std::min(State, section.States - 1), 0, 1);
  // What R held before is the background of the border's transparent corners.
  const auto before = CreateBmp32(R.Width(), R.Height());
  TPixelView saved;
  if (!InitPixelView(before.get(), saved)) return;
  CopyArea(saved, 0, 0, view, PixelRect(R));
  PaintSectionBackground32(Bmp, R, *Skin, SkinIndex, State);
  if (!Skin->IsValidImgIndex(section.BorderIndex)) return;
  TqvCacheInfo ci;
  MakeCacheInfo(before.get(), -R.Left, -R.Top, ci);
  DrawSkinRect32(Bmp, R, ci, Skin->Images[static_cast<std::size_t>(section.BorderIndex)], State);
}

void PaintControlCorners(const TsLoadedSkin* Skin, int BorderIndex, vcl::TBitmap* Cache, vcl::TControl* Owner,
                         int State, int Corners) {
  TPixelView cache;
  if (!Skin || !Skin->IsValidImgIndex(BorderIndex) || !Owner || !InitPixelView(Cache, cache)) return;
  TsMaskData mask = Skin->Images[static_cast<std::size_t>(BorderIndex)];
  if (mask.ImageCount == 0 && mask.Bmp) {
    mask.ImageCount = 3;
    mask.MaskType = 1;
    mask.R = {0, 0, mask.Bmp->Width(), mask.Bmp->Height()};
  }
  // What lies behind the control, in the cache's coordinates.
  TqvBGInfo info;
  if (vcl::TWinControl* parent = Owner->Parent()) {
    GetBgInfo(info, parent, false);
  } else if (auto* windowed = dynamic_cast<vcl::TWinControl*>(Owner); windowed && windowed->HandleAllocated()) {
    GetBgInfoWnd(info, GetParent(windowed->Handle()), false);
  } else {
    return;
  }
  if (info.BgType == btBitmap) {
    info.Offset.X += Owner->Left();
    info.Offset.Y += Owner->Top();
  }
  TqvCacheInfo ci;
  CopyBgInfo(info, ci);
  TBackground background;
  if (ci.Ready) background = BackgroundOf(ci);
  const TColorValue fill = ci.Ready ? kKeyColor : ci.FillColor & 0xFFFFFFu;

  const TPixelSource picture(ImagePicture(mask));
  const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
  if (picture.Empty() || w <= 0 || h <= 0) return;
  const int x0 = mask.R.Left + w * std::clamp(State, 0, std::max(mask.ImageCount - 1, 0)), y0 = mask.R.Top;
  const int l = mask.WidthLeft, t = mask.WidthTop, r = mask.WidthRight, b = mask.WidthBottom;
  const int width = Owner->Width(), height = Owner->Height();
  const int maskOffset = mask.MaskType != 0 ? h : 0;
  struct Piece {
    int bit, dstX, dstY, srcX, srcY, w, h;
  };
  const Piece pieces[] = {{kCornerTopLeft, 0, 0, x0, y0, l, t},
                          {kCornerBottomLeft, 0, height - b, x0, y0 + h - b, l, b},
                          {kCornerBottomRight, width - r, height - b, x0 + w - r, y0 + h - b, r, b},
                          {kCornerTopRight, width - r, 0, x0 + w - r, y0, r, t}};
  for (const Piece& p : pieces) {
    if (!(Corners & p.bit) || p.w <= 0 || p.h <= 0) continue;
    CornerFromBackground(cache, p.dstX, p.dstY, picture.View(), {p.srcX, p.srcY, p.srcX + p.w, p.srcY + p.h},
                         maskOffset, background, fill);
  }
}

}  // namespace skin_layered
