// The skinned bars painted: each bar and the corner composed in a 32-bit bitmap from the
// skin's scroll sections (the system's parts where the skin has none) and copied to the
// window in one BitBlt.
#include <algorithm>

#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {
namespace {

// The arrow buttons' entries in the common index table, by direction (left, up, right,
// down: also DrawArrow's directions).
constexpr int kLeftArrow = 0, kUpArrow = 1, kRightArrow = 2, kDownArrow = 3;

// What one bar is painted with.
struct TBarPainting {
  const TsLoadedSkin& Skin;
  const TsSkinManager& Manager;
  vcl::TBitmap& Bmp;
  TqvCacheInfo CI;     // what lies behind the window
  vcl::TPoint Origin;  // the bitmap's place in CI's background
  bool Vertical;
  bool Enabled;

  // A rectangle along the bar (From..To) across its whole thickness.
  vcl::TRect Along(int From, int To) const {
    return Vertical ? vcl::TRect{0, From, Bmp.Width(), To} : vcl::TRect{From, 0, To, Bmp.Height()};
  }

  void Section(int Index, int State, const vcl::TRect& R) const {
    if (R.IsEmpty()) return;
    PaintItemBg(Index, CI, State, R, vcl::TPoint{Origin.X + R.Left, Origin.Y + R.Top}, &Bmp, &Skin);
  }

  // A track part: the system's where the skin has no section for it.
  void Track(int Index, int State, const vcl::TRect& R) const {
    if (Skin.IsValidSkinIndex(Index))
      Section(Index, State, R);
    else
      DrawSystemScrollTrack(&Bmp, R, State == 2);
  }

  // A glyph image centred in R, its key colour showing what was painted there.
  void Glyph(int Image, int State, const vcl::TRect& R) const {
    const TsMaskData& mask = Skin.Images[static_cast<std::size_t>(Image)];
    const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
    TqvCacheInfo self;
    MakeCacheInfo(&Bmp, 0, 0, self);
    DrawSkinGlyph(&Bmp, vcl::TPoint{R.Left + (R.Width() - w) / 2, R.Top + (R.Height() - h) / 2}, State, 1, mask, self);
  }

  void Arrow(int Direction, int State, const vcl::TRect& R) const {
    const TqvConstElementData& element = Skin.ConstData.ScrollBtns[static_cast<std::size_t>(Direction)];
    if (!Skin.IsValidSkinIndex(element.SkinIndex)) {
      DrawSystemScrollArrow(&Bmp, R, Direction, State, Enabled);
      return;
    }
    Section(element.SkinIndex, State, R);
    if (Skin.IsValidImgIndex(element.GlyphIndex)) {
      Glyph(element.GlyphIndex, State, R);
      return;
    }
    vcl::TColor color = 0;
    if (Skin.IsValidSkinIndex(element.SkinIndex))
      color = Skin.Sections[static_cast<std::size_t>(element.SkinIndex)].Props[std::min(State, 1)].FontColor;
    vcl::TRect r = R;
    if (Direction == kLeftArrow || Direction == kRightArrow) r.Offset(1, 0);
    if (State == 2 && Manager.ButtonsOptions()->ShiftContentOnClick()) r.Offset(1, 1);
    DrawArrow(Bmp.Canvas(), color, r, Direction);
  }

  void Thumb(int State, const vcl::TRect& R) const {
    const TqvConstElementData& slider = Skin.ConstData.ScrollSliders[Vertical ? 1 : 0];
    if (!Skin.IsValidSkinIndex(slider.SkinIndex)) {
      DrawSystemScrollThumb(&Bmp, R);
      return;
    }
    Section(slider.SkinIndex, State, R);
    if (Skin.IsValidImgIndex(slider.GlyphIndex)) Glyph(slider.GlyphIndex, State, R);
  }
};

TqvCacheInfo WindowBackground(TqvScrollWnd& Wnd) {
  TqvBGInfo info;
  GetBgInfoWnd(info, Wnd.CtrlHandle, false);
  TqvCacheInfo ci;
  CopyBgInfo(info, ci);
  return ci;
}

}  // namespace

void TqvScrollPainter::PaintBar(TqvScrollWnd& Wnd, TqvScrollBar& Bar, const vcl::TRect& R, int HotPart,
                                int PressedPart, HDC DC, int ThumbStart, bool ForDrag) {
  (void)HotPart;
  TsSkinManager* manager = Wnd.Manager();
  if ((Wnd.Dragging && !ForDrag) || !Bar.Visible || !manager) return;
  const TsLoadedSkin& skin = manager->Skin();
  const TConstantSkinData& indexes = skin.ConstData;
  const bool vertical = Bar.Vertical();
  const int length = vertical ? R.Height() : R.Width();
  if (length < 2 || R.IsEmpty()) return;
  Bar.ReadInfo();

  const TqvScrollState& state = ScrollState();
  vcl::TControl* control = Wnd.OwnerControl();
  const bool enabled = ScrollBarEnabled(&Bar) && (!control || control->Enabled());
  const bool underMouse = state.WndUnderMouse == Wnd.CtrlHandle;
  const bool hot = enabled && underMouse && state.HotWnd == Wnd.CtrlHandle && state.HotBar == Bar.Kind;
  const int hotPart = hot ? state.HotPart : kPartNone;
  auto partState = [&](int Part) {
    if (!underMouse && !ForDrag) return 0;
    if (PressedPart == Part) return 2;
    return hotPart == Part ? 1 : 0;
  };

  auto bmp = CreateBmp32(R.Width(), R.Height());
  const vcl::TPoint offset = Wnd.BackgroundOffset();
  const TBarPainting paint{skin, *manager, *bmp, WindowBackground(Wnd),
                           vcl::TPoint{R.Left + offset.X, R.Top + offset.Y}, vertical, enabled};
  const int firstTrack = indexes.ScrollBars[vertical ? 1 : 0].SkinIndex;   // "SCROLLBAR1H/V"
  const int secondTrack = indexes.ScrollBars[vertical ? 3 : 2].SkinIndex;  // "SCROLLBAR2H/V"
  const int firstArrow = vertical ? kUpArrow : kLeftArrow;
  const int secondArrow = vertical ? kDownArrow : kRightArrow;
  const int button = GetScrollMetric(&Bar, false);

  if (length <= 2 * button) {
    // Two half-length buttons fill the bar.
    const int half = length / 2;
    paint.Track(firstTrack, 0, paint.Along(0, half));
    paint.Track(secondTrack, 0, paint.Along(half, length));
    paint.Arrow(firstArrow, partState(kPartFirstArrow), paint.Along(0, half));
    paint.Arrow(secondArrow, partState(kPartSecondArrow), paint.Along(length - half, length));
  } else {
    TqvThumb thumb = ThumbGeometry(0, length, button, Bar.MinThumb, Bar.Info);
    if (ThumbStart >= 0) thumb.Start = ThumbStart - (vertical ? R.Top : R.Left);
    const bool fits = thumb.Length <= length - 2 * button && thumb.Start >= button &&
                      thumb.Start + thumb.Length <= length - button;
    const int centre = std::clamp(thumb.Start + thumb.Length / 2, button, length - button);
    const int trackHot = hot ? 1 : 0;
    paint.Track(firstTrack, PressedPart == kPartPageBefore ? 2 : trackHot, paint.Along(0, centre));
    paint.Track(secondTrack, PressedPart == kPartPageAfter ? 2 : trackHot, paint.Along(centre, length));
    paint.Arrow(firstArrow, partState(kPartFirstArrow), paint.Along(0, button));
    paint.Arrow(secondArrow, partState(kPartSecondArrow), paint.Along(length - button, length));
    if (enabled && fits) {
      const int thumbState = PressedPart == kPartThumb ? 2 : hotPart == kPartThumb ? 1 : 0;
      paint.Thumb(thumbState, paint.Along(thumb.Start, thumb.Start + thumb.Length));
    }
  }
  // A disabled bar lets what lies behind it show through.
  if (!enabled) PaintDisabled(bmp.get(), kDisabledBlend, control, paint.CI, paint.Origin);
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvScrollPainter::PaintCorner(TqvScrollWnd& Wnd, const vcl::TRect& R, HDC DC) {
  TsSkinManager* manager = Wnd.Manager();
  if (!manager || R.IsEmpty()) return;
  const TsLoadedSkin& skin = manager->Skin();
  auto bmp = CreateBmp32(R.Width(), R.Height());
  const vcl::TRect all{0, 0, R.Width(), R.Height()};
  const int track = skin.ConstData.ScrollBars[0].SkinIndex;  // "SCROLLBAR1H"
  vcl::TColor color = skin.GetGlobalColor();
  bool filled = false;
  if (skin.IsValidSkinIndex(track) && skin.Sections[static_cast<std::size_t>(track)].Props[0].Transparency != 100) {
    const vcl::TColor own = skin.Sections[static_cast<std::size_t>(track)].Props[0].Color;
    if (own != 0xFF00FF) color = own;
  } else {
    const TqvCacheInfo ci = WindowBackground(Wnd);
    if (ci.Ready && ci.Bmp) {
      const vcl::TPoint offset = Wnd.BackgroundOffset();
      BitBlt(bmp->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), ci.Bmp->Canvas()->Handle(),
             ci.X + R.Left + offset.X, ci.Y + R.Top + offset.Y, SRCCOPY);
      filled = true;
    }
  }
  if (!filled) FillDC(bmp->Canvas()->Handle(), all, color);
  if (CornerHasGrip(&Wnd) && skin.IsValidImgIndex(skin.ConstData.GripImage)) {
    const TsMaskData& grip = skin.Images[static_cast<std::size_t>(skin.ConstData.GripImage)];
    TqvCacheInfo self;
    MakeCacheInfo(bmp.get(), 0, 0, self);
    DrawSkinGlyph(bmp.get(), vcl::TPoint{R.Width() - MaskImageWidth(grip), R.Height() - MaskImageHeight(grip)}, 0, 1,
                  grip, self);
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace skin_layered
