// The title-bar buttons of a skinned form: the glyphs the skin gives the system buttons (the
// big family for framed forms, the small one for dialogs and tool windows), their places in
// the window image from the right end of the caption, the user's own buttons after them, a
// maximised MDI child's three buttons on the frame's menu line, and their painting in their
// states into the window image.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/CaptionButtons.h"
#include "skin_layered/forms/CaptionItems.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {
namespace {

using enum TqvTitleButtonImage;

constexpr int kDefaultButtonSize = 21;
constexpr int kDefaultMdiButtonSize = 16;
// The gap before the help button and before the user buttons.
constexpr int kButtonGroupGap = 6;

bool Framed(const vcl::TCustomForm* Form) {
  const vcl::TFormBorderStyle style = Form->BorderStyle();
  return style == vcl::TFormBorderStyle::bsSingle || style == vcl::TFormBorderStyle::bsSizeable;
}

void Hide(TsCaptionButton& Button, int X) { Button.Rect = vcl::Rect(X, 0, X, 0); }

// An MDI frame whose active child is maximised.
vcl::TCustomForm* MaximizedChildOf(vcl::TCustomForm* Form) {
  if (Form->FormStyle() != vcl::fsMDIForm) return nullptr;
  vcl::TCustomForm* child = Form->ActiveMDIChild();
  return child && child->HandleAllocated() && IsZoomed(child->Handle()) ? child : nullptr;
}
}  // namespace

vcl::TCustomForm* TqvCaptionButtons::Form() const { return host_.FrameProvider()->Form; }

const TqvFormMeasures& TqvCaptionButtons::Measures() const { return host_.Measures(); }

TsSystemMenu* TqvCaptionButtons::SystemMenu() const { return host_.CurrentSystemMenu(); }

vcl::TBitmap* TqvCaptionButtons::Image() const {
  const TsSkinProviderBase* provider = host_.FrameProvider();
  return provider->SkinData ? provider->SkinData->CacheBmp() : nullptr;
}

// ---------------------------------------------------------------------------------------
// Glyphs

void TqvCaptionButtons::InitSystemButtons() {
  BigButtons = Framed(Form());
  // The codes first: a skin without its general section has no glyphs, and the system's
  // buttons drawn in their place are told apart by them.
  BtnMinimize.HitCode = 8;
  BtnMaximize.HitCode = 9;
  BtnClose.HitCode = 20;
  BtnHelp.HitCode = 21;
  TsSkinManager* manager = host_.SkinManager();
  if (!manager || !manager->IsValidSkinIndex(manager->Skin().ConstData.IndexGLOBALINFO)) return;
  const TConstantSkinData& indexes = manager->Skin().ConstData;
  auto glyph = [&](TqvTitleButtonImage image) { return indexes.TitleButton(image); };

  auto big = [&](bool alone) {
    BtnMinimize.ImageIndex = glyph(BIConMin);
    BtnMaximize.ImageIndex = glyph(BIConMax);
    BtnHelp.ImageIndex = glyph(BIConHelp);
    BtnClose.ImageIndex = alone && glyph(BICloseAlone) >= 0 ? glyph(BICloseAlone) : glyph(BIConClose);
    for (TsCaptionButton* b : {&BtnMinimize, &BtnMaximize, &BtnClose, &BtnHelp}) b->HaveAlignment = true;
  };
  const bool systemMenu = SystemMenu() && Form()->BorderIcons().Contains(vcl::biSystemMenu);
  const bool alone = !systemMenu || (!SystemMenu()->MaximizeVisible() && !SystemMenu()->MinimizeVisible());
  if (BigButtons) {
    big(alone);
  } else {
    BtnClose.ImageIndex = glyph(SIConClose);
    BtnMinimize.ImageIndex = glyph(SIConMin);
    BtnMaximize.ImageIndex = glyph(SIConMax);
    BtnHelp.ImageIndex = glyph(SIConHelp) >= 0 ? glyph(SIConHelp) : glyph(BIConHelp);
    for (TsCaptionButton* b : {&BtnMinimize, &BtnMaximize, &BtnClose, &BtnHelp}) b->HaveAlignment = false;
  }
  // A skin without the chosen close glyph gets the big family throughout.
  const bool bigFallback = BtnClose.ImageIndex < 0;
  if (bigFallback) big(false);

  if (Form()->FormStyle() == vcl::fsMDIForm && !Form()->ComponentState().Contains(vcl::csDesigning)) {
    if (bigFallback) {
      MDIMin.ImageIndex = glyph(BIConMin);
      MDIMax.ImageIndex = glyph(BIConMax);
      MDIClose.ImageIndex = glyph(BIConClose);
      MDIMin.HaveAlignment = MDIMax.HaveAlignment = MDIClose.HaveAlignment = true;
    } else if (glyph(SIConMin) < 0) {
      MDIMin.ImageIndex = BtnMinimize.ImageIndex;
      MDIMax.ImageIndex = BtnMaximize.ImageIndex;
      MDIClose.ImageIndex = BtnClose.ImageIndex;
      MDIMin.HaveAlignment = MDIMax.HaveAlignment = MDIClose.HaveAlignment = true;
    } else {
      MDIMin.ImageIndex = glyph(SIConMin);
      MDIMax.ImageIndex = glyph(SIConMax);
      MDIClose.ImageIndex = glyph(SIConClose);
      MDIMin.HaveAlignment = MDIMax.HaveAlignment = MDIClose.HaveAlignment = false;
    }
  }
  MDIClose.HitCode = 101;
  MDIMax.HitCode = 102;
  MDIMin.HitCode = 103;
  if (!TitleGlyphsShown())
    for (TsCaptionButton* b : {&BtnMinimize, &BtnMaximize, &BtnClose, &BtnHelp}) b->ImageIndex = kNoIndex;
  TitleButtonMask = manager->GetMaskIndex(indexes.IndexGLOBALINFO, L"GLOBALINFO", L"TITLEBUTTON");
}

bool TqvCaptionButtons::TitleGlyphsShown() const {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager) return false;
  const int title = Measures().GetTitleSkinIndex();
  // A title section with no value along its parents paints no band of the skin's either.
  return manager->IsValidSkinIndex(title) && !manager->Skin().GivesNothing(title);
}

// ---------------------------------------------------------------------------------------
// Sizes

int TqvCaptionButtons::UserButtonWidth(TsTitleButton* Button) {
  const int glyph = Button->Glyph()->Empty() ? 0 : Button->Glyph()->Width() + 2;
  const TsSkinManager* manager = host_.SkinManager();
  const int mask = manager && manager->IsValidImgIndex(TitleButtonMask)
                       ? MaskImageWidth(manager->Skin().Images[static_cast<std::size_t>(TitleButtonMask)])
                       : kDefaultButtonSize;
  return std::max(glyph, mask);
}

int TqvCaptionButtons::RightMargin(int Buttons) {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager) return 0;
  const int margin = manager->Skin().SkinData.BIRight;
  const int frame =
      Form()->HandleAllocated() ? SysBorderWidth(Form()->Handle(), host_.ExtBorderForm(), true) : 0;
  const vcl::TRect shadow = host_.WindowImage().ShadowSize();
  const int room = host_.WindowImage().ImageWidth() - shadow.Right - frame - Buttons - HelpGroupGap() - IconRect.Right;
  return TitleButtonsRightMargin(margin, room, frame);
}

int TqvCaptionButtons::HelpGroupGap() {
  const vcl::TBorderIcons icons = Form()->BorderIcons();
  return SystemMenu() && icons.Contains(vcl::biSystemMenu) && icons.Contains(vcl::biHelp) ? kButtonGroupGap : 0;
}

int TqvCaptionButtons::ButtonsBlockWidth() {
  const int buttons = ButtonsWidth();
  return buttons + RightMargin(buttons);
}

int TqvCaptionButtons::ButtonsWidth() {
  int spaces = 0, narrowest = 0;
  return static_cast<int>(BlockWidth(ButtonsGap(), spaces, narrowest));
}

std::int64_t TqvCaptionButtons::BlockWidth(std::int64_t Space, int& Spaces, int& Narrowest) {
  std::int64_t width = 0;
  Spaces = 0;
  Narrowest = std::numeric_limits<int>::max();
  auto add = [&](int Button, bool Spaced) {
    width += Button + (Spaced ? Space : 0);
    Spaces += Spaced ? 1 : 0;
    Narrowest = std::min(Narrowest, Button);
  };
  const vcl::TBorderIcons icons = Form()->BorderIcons();
  if (SystemMenu() && icons.Contains(vcl::biSystemMenu)) {
    add(Measures().TitleButtonGlyphWidth(BtnClose.ImageIndex), false);
    if (SystemMenu()->MaximizeVisible()) add(Measures().TitleButtonGlyphWidth(BtnMaximize.ImageIndex), true);
    if (SystemMenu()->MinimizeVisible()) add(Measures().TitleButtonGlyphWidth(BtnMinimize.ImageIndex), true);
    if (icons.Contains(vcl::biHelp)) add(Measures().TitleButtonGlyphWidth(BtnHelp.ImageIndex), true);
  }
  if (host_.TitleButtons() && host_.TitleButtons()->Count() > 0) {
    width += kButtonGroupGap;
    for (int i = 0; i < host_.TitleButtons()->Count(); ++i)
      if (TsTitleButton* button = host_.TitleButtons()->Items(i); button->Visible()) add(UserButtonWidth(button), true);
  }
  return width;
}

int TqvCaptionButtons::ButtonsGap() {
  const TsSkinManager* manager = host_.SkinManager();
  const int gap = BigButtons && manager ? manager->Skin().SkinData.BISpace : 0;
  if (gap == 0) return 0;
  int spaces = 0, narrowest = 0;
  const std::int64_t buttons = BlockWidth(0, spaces, narrowest);
  const int frame =
      Form()->HandleAllocated() ? SysBorderWidth(Form()->Handle(), host_.ExtBorderForm(), true) : 0;
  const vcl::TRect shadow = host_.WindowImage().ShadowSize();
  const std::int64_t room = std::int64_t{host_.WindowImage().ImageWidth()} - shadow.Right - frame - IconRect.Right;
  return TitleButtonsGap(gap, buttons, spaces, narrowest, room - HelpGroupGap());
}

// ---------------------------------------------------------------------------------------
// Geometry

void TqvCaptionButtons::UpdateButtonsRects() {
  TsSkinManager* manager = host_.SkinManager();
  if (!manager || !Form()->HandleAllocated()) return;
  const TsSkinData& data = manager->Skin().SkinData;
  const HWND wnd = Form()->Handle();
  const bool zoomed = IsZoomed(wnd);
  const vcl::TRect shadow = host_.WindowImage().ShadowSize();
  const int caption = Measures().CaptionHeight(true);
  const int frame = SysBorderWidth(wnd, host_.ExtBorderForm(), true);

  if (host_.ExtBorderForm()) {
    const int title = zoomed && data.MaxHeight != 0 ? data.MaxHeight : data.TitleHeight;
    TitleCentre = shadow.Top + caption - title + title / 2;
    TitleBottom = caption + shadow.Top;
    if (!(zoomed && data.MaxHeight != 0 && data.MaxHeight != data.TitleHeight)) TitleCentre += data.CenterOffset;
  } else {
    TitleCentre = caption / 2 + frame / 2;
    TitleBottom = DefBorderWidth(wnd, nullptr, true) + caption + shadow.Top;
  }
  if (zoomed) TitleCentre += 2;

  IconRect.Left = frame + data.BILeft + shadow.Left;
  if (Measures().IconVisible()) {
    const int width = Measures().TitleIconWidth(), height = Measures().TitleIconHeight();
    IconRect.Top = TitleCentre - height / 2;
    IconRect.Right = IconRect.Left + width;
    IconRect.Bottom = IconRect.Top + height;
  } else {
    IconRect.Right = IconRect.Left;
    IconRect.Top = IconRect.Bottom = TitleCentre;
  }

  const int space = ButtonsGap();
  const int height = Measures().CaptionGlyphHeight(BtnClose.ImageIndex);
  int x = host_.WindowImage().ImageWidth() - RightMargin(ButtonsWidth()) - shadow.Right - frame;
  auto place = [&](TsCaptionButton& button, int width) {
    button.Rect.Right = x;
    button.Rect.Left = x - width;
    button.Rect.Top =
        button.HaveAlignment && data.BIVAlign == 1 ? Measures().BorderIconsTop() : TitleCentre - height / 2;
    button.Rect.Bottom = button.Rect.Top + height;
    x = button.Rect.Left - space;
  };

  const TsLoadedSkin& skin = manager->Skin();
  const vcl::TBorderIcons icons = Form()->BorderIcons();
  const bool glyphs = TitleGlyphsShown();
  if (SystemMenu() && icons.Contains(vcl::biSystemMenu)) {
    place(BtnClose, Measures().TitleButtonGlyphWidth(BtnClose.ImageIndex));
    if (SystemMenu()->MaximizeVisible()) {
      // A maximised form shows the restore glyph of the button's family.
      const bool big = BtnMaximize.HaveAlignment;
      if (glyphs) {
        BtnMaximize.ImageIndex =
            skin.ConstData.TitleButton(zoomed ? (big ? BIConNorm : SIConNorm) : (big ? BIConMax : SIConMax));
        if (BtnMaximize.ImageIndex < 0 && zoomed) BtnMaximize.ImageIndex = skin.ConstData.TitleButton(BIConNorm);
      }
      place(BtnMaximize, Measures().TitleButtonGlyphWidth(BtnMaximize.ImageIndex));
    } else {
      Hide(BtnMaximize, x);
    }
    if (SystemMenu()->MinimizeVisible()) {
      const bool big = BtnMinimize.HaveAlignment;
      // A minimised form's button restores it.
      const bool restore = IsIconic(wnd);
      if (glyphs) {
        BtnMinimize.ImageIndex =
            skin.ConstData.TitleButton(restore ? (big ? BIConNorm : SIConNorm) : (big ? BIConMin : SIConMin));
        if (BtnMinimize.ImageIndex < 0)
          BtnMinimize.ImageIndex = skin.ConstData.TitleButton(restore ? BIConNorm : BIConMin);
      }
      place(BtnMinimize, Measures().TitleButtonGlyphWidth(BtnMinimize.ImageIndex));
    } else {
      Hide(BtnMinimize, x);
    }
    if (icons.Contains(vcl::biHelp)) {
      x -= kButtonGroupGap;
      place(BtnHelp, Measures().TitleButtonGlyphWidth(BtnHelp.ImageIndex));
    } else {
      Hide(BtnHelp, x);
    }
  } else {
    for (TsCaptionButton* b : {&BtnClose, &BtnMaximize, &BtnMinimize, &BtnHelp}) Hide(*b, x);
  }

  if (host_.TitleButtons() && host_.TitleButtons()->Count() > 0) {
    x -= kButtonGroupGap;
    const bool mask = skin.IsValidImgIndex(TitleButtonMask);
    for (int i = 0; i < host_.TitleButtons()->Count(); ++i) {
      TsTitleButton* button = host_.TitleButtons()->Items(i);
      button->Data.HitCode = kHitUserButton + i;
      if (!button->Visible()) {
        Hide(button->Data, x);
        continue;
      }
      button->Data.ImageIndex = button->UseSkinData() && mask ? TitleButtonMask : kNoIndex;
      place(button->Data, UserButtonWidth(button));
    }
  }

  host_.CaptionItems().ArrangeTitleBar(
      vcl::Rect(IconRect.Right, Measures().BorderIconsTop(), x - kButtonGroupGap, TitleBottom), TitleCentre);
}

// ---------------------------------------------------------------------------------------
// Painting

bool TqvCaptionButtons::ShowsRestore(const TsCaptionButton& Button) const {
  if (!Form()->HandleAllocated()) return false;
  const HWND wnd = Form()->Handle();
  if (Button.HitCode == kHitMax) return IsZoomed(wnd) != FALSE;
  // A minimised form's minimise button restores it, as the skin's glyph and the hot fade say.
  return Button.HitCode == kHitMin && IsIconic(wnd);
}

bool TqvCaptionButtons::ShowsSystemFace(const TsCaptionButton& Button) const {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager || manager->IsValidImgIndex(Button.ImageIndex)) return false;
  return !IsUserButtonHitCode(Button.HitCode) || !manager->IsValidImgIndex(TitleButtonMask);
}

void TqvCaptionButtons::PaintButton(TsCaptionButton& Button, bool Enabled) {
  TsSkinManager* manager = host_.SkinManager();
  vcl::TBitmap* image = Image();
  if (!manager || !image || Button.Rect.IsEmpty()) return;
  const bool animated = Button.Timer != nullptr;
  if (!manager->IsValidImgIndex(Button.ImageIndex)) {
    if (!ShowsSystemFace(Button)) return;
    // The skin has no glyph for it: the system's button, so it can be seen and used. A user
    // button keeps its own picture over the system's edge.
    const int state = animated ? 0 : Button.State;
    const bool enabled = Enabled && Form()->Enabled();
    if (!DrawSystemTitleButton(image, Button.Rect, Button.HitCode, ShowsRestore(Button), state, enabled))
      DrawSystemButtonEdge(image, Button.Rect, state, true);
    return;
  }
  const bool dimmed = ((Button.State == 0 || animated) && !host_.CaptionActive()) || !Enabled || !Form()->Enabled();
  TqvCacheInfo ci;
  MakeCacheInfo(image, 0, 0, ci);
  DrawSkinGlyph(image, vcl::TPoint(Button.Rect.Left, Button.Rect.Top), animated ? 0 : Button.State, dimmed ? 2 : 1,
                manager->Skin().Images[static_cast<std::size_t>(Button.ImageIndex)], ci);
}

void TqvCaptionButtons::PaintTitleButtons() {
  vcl::TBitmap* image = Image();
  if (!image || !Measures().HasBorder()) return;
  if (vcl::TBitmap* bg = host_.TitleBackground(); bg && bg->Width() > 0)
    BitBlt(image->Canvas()->Handle(), host_.WindowImage().ImageWidth() - bg->Width() - 1, 0, bg->Width(), bg->Height(),
           bg->Canvas()->Handle(), 0, 0, SRCCOPY);
  if (SystemMenu() && Form()->BorderIcons().Contains(vcl::biSystemMenu)) {
    PaintButton(BtnClose, SystemMenu()->CloseVisible() && SystemMenu()->CloseEnabled());
    if (!BtnMaximize.Rect.IsEmpty()) PaintButton(BtnMaximize, SystemMenu()->MaximizeEnabled());
    // A minimised form's button restores it.
    if (!BtnMinimize.Rect.IsEmpty())
      PaintButton(BtnMinimize, Form()->HandleAllocated() && IsIconic(Form()->Handle())
                                   ? SystemMenu()->RestoreEnabled()
                                   : SystemMenu()->MinimizeEnabled());
    if (Form()->BorderIcons().Contains(vcl::biHelp)) PaintButton(BtnHelp, true);
  }
  for (int i = 0; host_.TitleButtons() && i < host_.TitleButtons()->Count(); ++i) {
    TsTitleButton* button = host_.TitleButtons()->Items(i);
    if (!button->Visible()) continue;
    button->Data.HitCode = kHitUserButton + i;
    PaintButton(button->Data, button->Enabled());
    PaintUserGlyph(button);
  }
  if (host_.CaptionItems().ShownTitleBar()) host_.CaptionItems().PaintTitleBarItems(image);

  // A maximised MDI child's buttons at the right end of the frame's last menu line.
  vcl::TCustomForm* child = Form()->FormStyle() == vcl::fsMDIForm ? Form()->ActiveMDIChild() : nullptr;
  if (!child || !child->HandleAllocated() || !IsZoomed(child->Handle()) ||
      !child->BorderIcons().Contains(vcl::biSystemMenu) || !Form()->Menu())
    return;
  TsSkinManager* manager = host_.SkinManager();
  int w = kDefaultMdiButtonSize, h = kDefaultMdiButtonSize;
  if (manager && manager->IsValidImgIndex(MDIClose.ImageIndex)) {
    const TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(MDIClose.ImageIndex)];
    w = MaskImageWidth(mask);
    h = MaskImageHeight(mask);
  }
  const vcl::TRect shadow = host_.WindowImage().ShadowSize();
  const HWND wnd = Form()->Handle();
  const int top = DefBorderWidth(wnd, host_.ExtBorderForm(), true) +
                  Measures().CaptionHeight(true) + shadow.Top + (Measures().MenuHeight() - h) / 2 +
                  (Measures().MenuLinesCount() - 1) * Measures().MenuHeight();
  const int right = host_.WindowImage().ImageWidth() - SysBorderWidth(wnd, host_.ExtBorderForm(), true) - shadow.Right;
  MDIMin.Rect = vcl::Rect(right - 3 * (w + 1), top, right - 3 * (w + 1) + w, top + h);
  MDIMax.Rect = vcl::Rect(right - 2 * (w + 1), top, right - 2 * (w + 1) + w, top + h);
  MDIClose.Rect = vcl::Rect(right - (w + 1), top, right - 1, top + h);
  if (manager) {
    const int restore = manager->Skin().ConstData.TitleButton(SIConNorm);
    MDIMax.ImageIndex = restore >= 0 ? restore : manager->Skin().ConstData.TitleButton(BIConNorm);
  }
  TsSystemMenu* childMenu = host_.SystemMenuOf(child);
  PaintButton(MDIMin, host_.CaptionActive() && (!childMenu || childMenu->MinimizeEnabled()));
  PaintButton(MDIMax, host_.CaptionActive() && (!childMenu || childMenu->RestoreEnabled()));
  PaintButton(MDIClose, host_.CaptionActive());
}

// The user button's own picture centred in its place (one pixel lower and right while pressed).
void TqvCaptionButtons::PaintUserGlyph(TsTitleButton* Button, vcl::TBitmap* Target, vcl::TPoint Origin) {
  vcl::TBitmap* image = Target ? Target : Image();
  vcl::TBitmap* glyph = Button->Glyph();
  if (!image || glyph->Empty()) return;
  const bool Pressed = Button->Data.State == 2;
  const vcl::TRect& r = Button->Data.Rect;
  const int x = r.Left - Origin.X + (r.Width() - glyph->Width()) / 2 + (Pressed ? 1 : 0);
  const int y = r.Top - Origin.Y + (r.Height() - glyph->Height()) / 2 + (Pressed ? 1 : 0);
  if (glyph->PixelFormat() == vcl::pf32bit) {
    BlendBitmapsByMask(vcl::Rect(x, y, x + glyph->Width(), y + glyph->Height()),
                       vcl::Rect(0, 0, glyph->Width(), glyph->Height()), image, false, kEmptyCacheInfo, glyph);
  } else {
    // The bottom-left pixel is the picture's transparent colour.
    const COLORREF key = GetPixel(glyph->Canvas()->Handle(), 0, glyph->Height() - 1);
    SumBitmapRect(image, glyph, x, static_cast<TColorValue>(key), y);
  }
}

void TqvCaptionButtons::RepaintButton(int Code, TsCaptionButton& Button, TsTitleButton* User) {
  TsSkinManager* manager = host_.SkinManager();
  vcl::TBitmap* image = Image();
  vcl::TCustomForm* form = Form();
  if (!manager || !image || !form->HandleAllocated()) return;
  const HWND wnd = form->Handle();
  const bool mdiButton = Code >= kHitMdiClose && Code <= kHitMdiMin;
  const TsLoadedSkin& skin = manager->Skin();
  // The clean caption under the element first.
  vcl::TBitmap* titleBg = host_.TitleBackground();
  if (Button.Rect.Left > IconRect.Right && titleBg && titleBg->Width() > 0) {
    const int x0 = host_.WindowImage().ImageWidth() - titleBg->Width() - 1;
    BitBlt(image->Canvas()->Handle(), Button.Rect.Left, Button.Rect.Top,
           Measures().TitleButtonGlyphWidth(Button.ImageIndex), Measures().CaptionGlyphHeight(BtnClose.ImageIndex),
           titleBg->Canvas()->Handle(), Button.Rect.Left - x0, Button.Rect.Top, SRCCOPY);
  }
  // The glyph and whether it is enabled.
  int glyph = Button.ImageIndex;
  bool enabled = true;
  auto restoreGlyph = [&](const TsCaptionButton& b) {
    const int index = skin.ConstData.TitleButton(b.HaveAlignment ? BIConNorm : SIConNorm);
    return index >= 0 ? index : skin.ConstData.TitleButton(BIConNorm);
  };
  // The restore glyph takes the place of a skin glyph only; the system's button shows its own.
  const bool skinGlyph = skin.IsValidImgIndex(Button.ImageIndex);
  if (Code == 8 && skinGlyph && IsIconic(wnd)) glyph = restoreGlyph(Button);
  if (Code == 9) {
    if (skinGlyph && IsZoomed(wnd)) glyph = restoreGlyph(Button);
    enabled = !SystemMenu() || SystemMenu()->MaximizeEnabled();
  }
  if (User) enabled = User->Enabled();
  if (mdiButton) {
    vcl::TCustomForm* child = MaximizedChildOf(form);
    if (Code == 101 && child) {
      const int small = skin.ConstData.TitleButton(SIConClose);
      glyph = small >= 0 ? small : restoreGlyph(Button);
    }
    const TsSystemMenu* childMenu = child ? host_.SystemMenuOf(child) : nullptr;
    if (Code != 101 && childMenu && !childMenu->RestoreEnabled()) enabled = false;
  }
  TsCaptionButton drawn = Button;
  drawn.ImageIndex = glyph;
  PaintButton(drawn, enabled);
  if (User) PaintUserGlyph(User);

  // The element onto the window.
  HWND target = wnd;
  vcl::TPoint at(Button.Rect.Left, Button.Rect.Top);
  if (TqvBorderForm* border = host_.ExtBorderForm()) {
    if (IsIconic(wnd)) {
      const vcl::TRect shadow = host_.WindowImage().ShadowSize();
      at.X -= shadow.Left + BorderFormOffsetX(border);
      at.Y -= shadow.Top + BorderFormOffsetY(border);
    } else if (border->BorderWindow()) {
      target = border->BorderWindow();
    }
  }
  HDC dc = GetWindowDC(target);
  BitBlt(dc, at.X, at.Y, Button.Rect.Width(), Button.Rect.Height(), image->Canvas()->Handle(), Button.Rect.Left,
         Button.Rect.Top, SRCCOPY);

  // The glow around a hot system button.
  if (Code == 8 || Code == 9 || Code == 20) {
    const TsSkinData& data = skin.SkinData;
    const int size = Code == 20 ? data.BICloseGlow : Code == 9 ? data.BIMaxGlow : data.BIMinGlow;
    const int margin = Code == 20 ? data.BICloseGlowMargin : Code == 9 ? data.BIMaxGlowMargin : data.BIMinGlowMargin;
    if (Button.State == 1 && size > 0 && manager->Effects()->AllowGlowing() && !form->Parent() &&
        form->FormStyle() != vcl::fsMDIChild && skin.IsValidImgIndex(Button.ImageIndex)) {
      if (Button.GlowID < 0) {
        // Around the button where it was just shown: on the border window when there is one.
        RECT shown{};
        GetWindowRect(target, &shown);
        const vcl::TRect screen = vcl::Rect(shown.left + at.X, shown.top + at.Y, shown.left + at.X + Button.Rect.Width(),
                                            shown.top + at.Y + Button.Rect.Height());
        const TqvControlSkin control = host_.FrameProvider()->SkinData->ControlSkin();
        Button.GlowID = AddGlow(screen, L"GLOBALINFO",
                                skin.Images[static_cast<std::size_t>(Button.ImageIndex)].PropertyName + L"GLOW",
                                margin, 255, target, &control);
      }
    } else if (Button.State != 1 && Button.GlowID >= 0) {
      RemoveGlow(Button.GlowID);
      Button.GlowID = -1;
    }
  }
  ReleaseDC(target, dc);
}


}  // namespace skin_layered
