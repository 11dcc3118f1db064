// The skinned system dialog's window image: the frame and title from the skin's sections,
// the icon, the caption text and the title buttons; the region from the skin's corners; one
// button painted again in place.
#include <algorithm>
#include <limits>
#include <vector>

#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/DialogWnd.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SystemMessages.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/BackgroundRegions.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SectionText.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {
namespace {

constexpr int kDefaultButtonSize = 21;

using enum TqvTitleButtonImage;

int ImageOf(const TsLoadedSkin& Skin, TqvTitleButtonImage Image) { return Skin.ConstData.TitleButton(Image); }

// One picture's size of a glyph image (21 when there is none).
vcl::TSize GlyphSize(const TsLoadedSkin& Skin, int Index) {
  if (!Skin.IsValidImgIndex(Index)) return {kDefaultButtonSize, kDefaultButtonSize};
  const TsMaskData& m = Skin.Images[static_cast<std::size_t>(Index)];
  const int count = std::max<int>(1, m.ImageCount);
  const int rows = m.MaskType >= 0 ? m.MaskType + 1 : 1;
  return {std::max(1, m.R.Width() / count), std::max(1, m.R.Height() / rows)};
}

}  // namespace

void TqvDialogWnd::InitTitleButtons() {
  Buttons[0].HitCode = kHitMin;
  Buttons[1].HitCode = kHitMax;
  Buttons[2].HitCode = kHitClose;
  Buttons[3].HitCode = kHitHelp;
  TitleIndex = -1;
  // Also while a new skin is announced (before the manager counts it as applied).
  TsSkinManager* manager = Manager();
  if (!manager) return;
  const TsLoadedSkin& skin = manager->Skin();
  auto big = [&] {
    const bool alone = !HasMaxBox() && !HasMinBox();
    const int closeAlone = ImageOf(skin, BICloseAlone);
    Buttons[2].OwnImage = alone && skin.IsValidImgIndex(closeAlone) ? closeAlone : ImageOf(skin, BIConClose);
    Buttons[0].OwnImage = ImageOf(skin, BIConMin);
    Buttons[1].OwnImage = ImageOf(skin, BIConMax);
    Buttons[3].OwnImage = ImageOf(skin, BIConHelp);
    for (TqvDialogButton& b : Buttons) b.Big = true;
  };
  TitleSection = L"FORMTITLE";
  if (BorderKind == 1 || BorderKind == 3) {
    big();
  } else {
    if (skin.IsValidImgIndex(ImageOf(skin, SIConClose))) {
      Buttons[2].OwnImage = ImageOf(skin, SIConClose);
      Buttons[0].OwnImage = ImageOf(skin, SIConMin);
      Buttons[1].OwnImage = ImageOf(skin, SIConMax);
      const int help = ImageOf(skin, SIConHelp);
      Buttons[3].OwnImage = skin.IsValidImgIndex(help) ? help : ImageOf(skin, BIConHelp);
      for (TqvDialogButton& b : Buttons) b.Big = false;
    } else {
      big();
    }
    TitleSection = L"DIALOGTITLE";
  }
  TitleIndex = manager->GetSkinIndex(TitleSection);
  // A dialog title with no value along its chain (the sample's only names the form's title)
  // is the form's title: without that it is as missing, and the system's buttons show.
  if (TitleIndex < 0 || skin.GivesNothing(TitleIndex)) {
    TitleSection = L"FORMTITLE";
    TitleIndex = manager->GetSkinIndex(TitleSection);
  }
  for (TqvDialogButton& b : Buttons) b.ImageIndex = ButtonGlyph(b);
  CaptionIndex = manager->GetSkinIndex(L"CAPTION");
}

int TqvDialogWnd::ButtonGlyph(const TqvDialogButton& B) const {
  TsSkinManager* manager = Manager();
  if (!manager) return B.OwnImage;
  const TsLoadedSkin& skin = manager->Skin();
  // The skin's glyphs are drawn for its title band: without a title section (or with one that
  // has no value, a plain default band) they may not be seen, and the system's buttons show.
  if (!skin.IsValidSkinIndex(TitleIndex) || skin.GivesNothing(TitleIndex)) return kNoIndex;
  if (B.HitCode == kHitMax && IsZoomed(CtrlHandle)) return ImageOf(skin, B.Big ? BIConNorm : SIConNorm);
  if (B.HitCode == kHitMin && IsIconic(CtrlHandle)) return ImageOf(skin, B.Big ? BIConNorm : SIConNorm);
  if (B.HitCode == kHitMax && IsIconic(CtrlHandle)) return ImageOf(skin, B.Big ? BIConMax : SIConMax);
  return B.OwnImage;
}

bool TqvDialogWnd::ButtonEnabled(const TqvDialogButton& B) const {
  switch (B.HitCode) {
    case kHitClose: return CloseEnabled();
    case kHitMax: return IsZoomed(CtrlHandle) ? RestoreEnabled() : MaxEnabled();
    case kHitMin: return IsIconic(CtrlHandle) ? RestoreEnabled() : MinEnabled();
    default: return true;
  }
}

void TqvDialogWnd::LayoutButtons(int ImageWidth) {
  for (TqvDialogButton& b : Buttons) b.Rect = {};
  TsSkinManager* manager = Manager();
  if (!manager || !HasSysMenu() || CaptionHeight() == 0) return;
  const TsLoadedSkin& skin = manager->Skin();
  // The title's top (under a border form the skin's title holds the frame's top); the block
  // ends the skin's button margin before the frame's right side in the image.
  const int border = border_form_ ? FrameTop() : BorderWidth(), caption = CaptionHeight();
  const int side = FrameSide(), end = ImageWidth - ShadowSize().Right - side;
  int right = end;
  // The buttons shown, right to left, with their glyphs.
  std::vector<TqvDialogButton*> shown{&Button(kHitClose)};
  if (HasMaxBox()) shown.push_back(&Button(kHitMax));
  if (HasMinBox()) shown.push_back(&Button(kHitMin));
  if (HasHelpButton()) shown.push_back(&Button(kHitHelp));
  int buttons = 0, narrowest = std::numeric_limits<int>::max();
  for (TqvDialogButton* b : shown) {
    b->ImageIndex = ButtonGlyph(*b);
    const int width = GlyphSize(skin, b->ImageIndex).cx;
    buttons += width;
    narrowest = std::min(narrowest, width);
  }
  // Where the caption starts: after the icon, or the frame's side without one.
  const int iconRight = ShadowSize().Left + side + 2 + (IconVisible() ? GetSystemMetrics(SM_CXSMICON) : 0);
  // The skin's gap between buttons belongs to its big glyphs, and is kept while the buttons
  // stay in order in the title beside the icon.
  const bool spaced = BorderKind == 1 || BorderKind == 3 || Button(kHitClose).OwnImage == ImageOf(skin, BIConClose);
  const int spacing = spaced ? TitleButtonsGap(skin.SkinData.BISpace, buttons, static_cast<int>(shown.size()) - 1,
                                               narrowest, end - iconRight)
                             : 0;
  // A skin that aligns its big glyphs to the top puts them at the top of the frame (the skin's
  // own distance under a border form), a little lower when zoomed.
  const bool topAligned = skin.SkinData.BIVAlign == 1;
  const int alignedTop = ShadowSize().Top + (border_form_ ? skin.SkinData.BITop : 0) + (IsZoomed(CtrlHandle) ? 3 : 0);
  for (TqvDialogButton* b : shown) {
    const vcl::TSize size = GlyphSize(skin, b->ImageIndex);
    const int top = topAligned && b->Big ? alignedTop : border + std::max(0, (caption - static_cast<int>(size.cy)) / 2);
    b->Rect = vcl::TRect{right - size.cx, top, right, top + size.cy};
    right = b->Rect.Left - spacing;
  }
  // The buttons placed at the frame's side, then moved by the margin kept beside them and the
  // icon.
  const int margin = TitleButtonsRightMargin(skin.SkinData.BIRight, right + spacing - iconRight, side);
  for (TqvDialogButton& b : Buttons)
    if (!b.Rect.IsEmpty()) b.Rect.Offset(-margin, 0);
}

void TqvDialogWnd::PaintAll() {
  // While a blended move runs the picture being dragged stays as it is.
  if (!SkinData || (Flags & kBorderBlendMoving)) return;
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  const vcl::TRect shadow = ShadowSize();
  if (border_form_) {
    // Room for the skin's wider frame and taller title, and for the shadow around them.
    const int dx = BorderFormOffsetX(border_form_.get()), dy = BorderFormOffsetY(border_form_.get());
    width += 2 * dx + shadow.Left + shadow.Right;
    height += dx + dy + shadow.Top + shadow.Bottom;
  }
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  if (!SkinData->BGChanged) return;
  RgnChanged = true;
  TsSkinManager* manager = Manager();
  if (manager && manager->IsValidSkinIndex(SkinData->SkinIndex)) {
    const TqvCacheInfo none;
    const vcl::TRect frame{shadow.Left, shadow.Top, width - shadow.Right, height - shadow.Bottom};
    if (border_form_) FillAlphaRect(cache, vcl::TRect{0, 0, width, height}, 0);
    PaintItem(SkinData->ControlSkin(), none, Active ? 1 : 0, frame, vcl::TPoint{0, 0}, cache, true);
    PaintTitle(cache);
    if (border_form_) {
      // The frame opaque (text drawn on it leaves no alpha), the shadow around it.
      FillAlphaRect(cache, frame, 255);
      DrawExtendedBorder(cache, manager, Active, false);
    }
  }
  const int titleHeight = OffsetY();
  if (!title_cache_) title_cache_ = CreateBmp32(0, 0);
  title_cache_->SetSize(width, titleHeight);
  BitBlt(title_cache_->Canvas()->Handle(), 0, 0, width, titleHeight, cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  SkinData->BGChanged = false;
}

void TqvDialogWnd::PaintTitle(vcl::TBitmap* Bmp) {
  TsSkinManager* manager = Manager();
  const int caption = CaptionHeight();
  if (!manager || caption == 0) return;
  const TsLoadedSkin& skin = manager->Skin();
  // Under a border form the title starts at the shadow's top margin and holds the frame's top.
  const vcl::TRect shadow = ShadowSize();
  const int border = border_form_ ? FrameTop() : BorderWidth();
  const int side = FrameSide();
  const int width = Bmp->Width();
  const int state = Active ? 1 : 0;
  const vcl::TRect band{shadow.Left, shadow.Top, width - shadow.Right, border + caption};
  // What the title's sections do not cover shows the image painted so far.
  TqvCacheInfo behind;
  MakeCacheInfo(Bmp, 0, 0, behind);
  if (skin.IsValidSkinIndex(TitleIndex)) PaintItemBg(TitleIndex, behind, state, band, vcl::TPoint{0, 0}, Bmp, &skin);
  LayoutButtons(width);
  // The icon, then the text between it and the buttons.
  int left = shadow.Left + side + 2;
  IconRect = {};
  if (IconVisible()) {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    HICON icon = Icon ? static_cast<HICON>(CopyImage(Icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)) : nullptr;
    HICON drawn = icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
    IconRect = vcl::TRect{left, border + (caption - cy) / 2, left + cx, border + (caption - cy) / 2 + cy};
    DrawIconEx(Bmp->Canvas()->Handle(), left, IconRect.Top, drawn, cx, cy, 0, nullptr, DI_NORMAL);
    if (icon) DestroyIcon(icon);
    left += cx + 4;
  }
  int right = width - shadow.Right - side - 6;
  for (const TqvDialogButton& b : Buttons)
    if (!b.Rect.IsEmpty()) right = std::min(right, static_cast<int>(b.Rect.Left) - 6);
  vcl::TRect text{left, border, right, border + caption};
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (ExStyle & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) flags |= DT_RIGHT | DT_RTLREADING;
  vcl::TCanvas* canvas = Bmp->Canvas();
  SetNonClientFont(canvas, kCaptionFont);
  if (skin.IsValidSkinIndex(CaptionIndex) && !Caption.empty()) {
    RECT measured{text.Left, text.Top, text.Right, text.Bottom};
    DrawTextW(canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &measured, flags | DT_CALCRECT);
    const int h = measured.bottom - measured.top;
    const vcl::TRect plate{measured.left - 4, text.Top + (caption - h) / 2 - 2, measured.right + 4,
                           text.Top + (caption + h) / 2 + 2};
    PaintItemBg(CaptionIndex, behind, state, plate, vcl::TPoint{0, 0}, Bmp, &skin);
  }
  WriteSectionText(canvas, Caption, true, &skin, state, TitleIndex, flags, text);
  for (const TqvDialogButton& b : Buttons)
    if (!b.Rect.IsEmpty()) PaintButton(Bmp, b);
}

void TqvDialogWnd::PaintButton(vcl::TBitmap* Bmp, const TqvDialogButton& B) {
  TsSkinManager* manager = Manager();
  if (!manager) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int glyph = ButtonGlyph(B);
  const bool enabled = ButtonEnabled(B);
  if (!skin.IsValidImgIndex(glyph)) {
    // The skin has no glyph for it: the system's button, so it can be seen and used.
    const bool restore =
        (B.HitCode == kHitMax && IsZoomed(CtrlHandle)) || (B.HitCode == kHitMin && IsIconic(CtrlHandle));
    DrawSystemTitleButton(Bmp, B.Rect, B.HitCode, restore, enabled ? B.State : 0, enabled);
    return;
  }
  TqvCacheInfo behind;
  MakeCacheInfo(title_cache_ && title_cache_->Width() > 0 ? title_cache_.get() : Bmp, 0, 0, behind);
  const int mode = Active && enabled ? 1 : 2;
  // While its glow fade lives the fade shows the state; the image keeps the normal look.
  const int state = enabled && !B.Timer ? B.State : 0;
  DrawSkinGlyph(Bmp, vcl::TPoint{B.Rect.Left, B.Rect.Top}, state, mode, skin.Images[static_cast<std::size_t>(glyph)],
                behind);
}

void TqvDialogWnd::RepaintButton(int HitCode) {
  TqvDialogButton& b = Button(HitCode);
  if (FadeButton(b)) return;
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  if (b.Rect.IsEmpty() || !cache || cache->Width() == 0 || !title_cache_) return;
  // The title strip under the button comes back from its copy, then the glyph of the state.
  BitBlt(cache->Canvas()->Handle(), b.Rect.Left, b.Rect.Top, b.Rect.Width(), b.Rect.Height(),
         title_cache_->Canvas()->Handle(), b.Rect.Left, b.Rect.Top, SRCCOPY);
  PaintButton(cache, b);
  if (!IsWindowVisible(CtrlHandle)) return;
  if (border_form_) {
    // The border window shows the title.
    UpdateBorderPos(true);
  } else if (const HDC dc = GetWindowDC(CtrlHandle)) {
    BitBlt(dc, b.Rect.Left, b.Rect.Top, b.Rect.Width(), b.Rect.Height(), cache->Canvas()->Handle(), b.Rect.Left,
           b.Rect.Top, SRCCOPY);
    ReleaseDC(CtrlHandle, dc);
  }
  UpdateButtonGlow(b);
}

void TqvDialogWnd::UpdateButtonGlow(TqvDialogButton& B) {
  TsSkinManager* manager = Manager();
  if (!manager || !SkinData || B.HitCode == kHitHelp) return;
  // A glow the list let go meanwhile (all glows go with a new skin) is not the button's any more.
  if (B.GlowID >= 0 && !GlowAt(B.GlowID)) B.GlowID = -1;
  const TsLoadedSkin& skin = manager->Skin();
  const TsSkinData& data = skin.SkinData;
  const int size = B.HitCode == kHitClose ? data.BICloseGlow : B.HitCode == kHitMax ? data.BIMaxGlow : data.BIMinGlow;
  const int margin =
      B.HitCode == kHitClose ? data.BICloseGlowMargin : B.HitCode == kHitMax ? data.BIMaxGlowMargin : data.BIMinGlowMargin;
  if (B.State == 1 && size > 0 && manager->Effects()->AllowGlowing() && skin.IsValidImgIndex(B.ImageIndex)) {
    if (B.GlowID >= 0) return;
    // The button's place in the image is its place in the window showing the image.
    const HWND shown = border_form_ && border_form_->BorderWindow() ? border_form_->BorderWindow() : CtrlHandle;
    RECT wr{};
    GetWindowRect(shown, &wr);
    vcl::TRect screen = B.Rect;
    screen.Offset(wr.left, wr.top);
    const TqvControlSkin control = SkinData->ControlSkin();
    B.GlowID = AddGlow(screen, L"GLOBALINFO", skin.Images[static_cast<std::size_t>(B.ImageIndex)].PropertyName + L"GLOW",
                       margin, 255, shown, &control);
  } else if (B.State != 1) {
    RemoveGlow(B.GlowID);
  }
}

void TqvDialogWnd::BuildRegionRects() {
  RegionRects.clear();
  TsSkinManager* manager = Manager();
  if (!manager || !SkinData) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (skin.IsValidImgIndex(SkinData->BorderIndex)) {
    const TsMaskData& border = skin.Images[static_cast<std::size_t>(SkinData->BorderIndex)];
    AddMaskCornerRects(RegionRects, width, border, false, 0);
    AddMaskCornerRects(RegionRects, width, border, true, height - border.WidthBottom);
  }
  if (skin.IsValidSkinIndex(TitleIndex)) {
    const int mask = manager->GetMaskIndex(TitleIndex, TitleSection, L"BORDERSMASK");
    if (skin.IsValidImgIndex(mask))
      AddMaskCornerRects(RegionRects, width, skin.Images[static_cast<std::size_t>(mask)], false, 0);
  }
}

void TqvDialogWnd::UpdateRgn(bool Redraw) {
  RgnChanged = false;
  if (!IsIconic(CtrlHandle) && BorderKind == 2) return;
  if (static_cast<WPARAM>(SendMessageW(CtrlHandle, kRegionQueryMessage, kRegionQueryValue, 0)) == kRegionQueryValue)
    return;
  if (border_form_) {
    // The border window shows the frame and title: the window keeps its client part.
    RECT wr{};
    GetWindowRect(CtrlHandle, &wr);
    const int frame = BorderWidth();
    HRGN rgn =
        CreateRectRgn(frame, frame + CaptionHeight(false), wr.right - wr.left - frame, wr.bottom - wr.top - frame);
    if (!SetWindowRgn(CtrlHandle, rgn, Redraw)) DeleteObject(rgn);
    return;
  }
  if (RegionRects.empty()) {
    SetWindowRgn(CtrlHandle, nullptr, Redraw);
    return;
  }
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  HRGN rgn = CreateRectRgn(0, 0, wr.right - wr.left, wr.bottom - wr.top);
  for (const vcl::TRect& r : RegionRects) {
    HRGN hole = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(rgn, rgn, hole, RGN_DIFF);
    DeleteObject(hole);
  }
  // The window owns the region from now on.
  if (!SetWindowRgn(CtrlHandle, rgn, Redraw)) DeleteObject(rgn);
}

}  // namespace skin_layered
