// The window image rebuilt: the body and frame in the caption's state over what lies behind the
// form, the grip, the title's background, the menu line, the icon, the caption's text, the
// extended border and shadow, then the buttons over the saved clean caption corner, and the
// form's own painting in the client part. Its measures follow the window (its size, the shadow
// margins under a border form).
#include "skin_layered/forms/WindowImage.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/CaptionButtons.h"
#include "skin_layered/forms/CaptionText.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/TitleElements.h"
#include "skin_layered/forms/WindowImageParts.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BorderPainter.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/NinePart.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {
namespace {

bool Iconic(vcl::TCustomForm* Form) { return Form->HandleAllocated() && IsIconic(Form->Handle()); }

// The glyph as a 32-bit picture: a glyph without alpha gets alpha 255 everywhere but on its
// transparent colour (its bottom-left pixel), which becomes a hole.
std::unique_ptr<vcl::TBitmap> Glyph32(vcl::TBitmap* Glyph) {
  const int w = Glyph->Width(), h = Glyph->Height();
  auto copy = CreateBmp32(w, h);
  if (Glyph->PixelFormat() == vcl::pf32bit) {
    BitBlt(copy->Canvas()->Handle(), 0, 0, w, h, Glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
    return copy;
  }
  // The glyph's own transparent colour: a fixed one, or its bottom-left pixel.
  const COLORREF key = static_cast<COLORREF>(Glyph->TransparentColor()) & 0xFFFFFF;
  BitBlt(copy->Canvas()->Handle(), 0, 0, w, h, Glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
  GdiFlush();
  TPixelView view;
  if (!InitPixelView(copy.get(), view)) return copy;
  const TPixel32 hole = SwapBytes02(static_cast<std::uint32_t>(key)) & 0xFFFFFF;
  for (int y = 0; y < h; ++y)
    for (TPixel32& p : std::span(view.Row(y), static_cast<std::size_t>(w)))
      p = (p & 0xFFFFFF) == hole ? 0 : (p | 0xFF000000u);
  return copy;
}

}  // namespace

TsSkinProviderBase* TqvWindowImage::Provider() const { return host_.FrameProvider(); }

vcl::TCustomForm* TqvWindowImage::Form() const { return host_.FrameProvider()->Form; }

const TqvFormMeasures& TqvWindowImage::Measures() const { return host_.Measures(); }

TsCommonData* TqvWindowImage::SkinData() const { return host_.FrameProvider()->SkinData; }

void TqvWindowImage::FreeTitlePictures() {
  TitleBgBmp.reset();
  MenuLineBmp.reset();
}

// ---------------------------------------------------------------------------------------
// Rebuilding the image

bool TqvWindowImage::PaintAllImage() {
  TsSkinManager* manager = host_.SkinManager();
  if (!SkinData() || !manager || !Form()->HandleAllocated() || Form()->ControlState().Contains(vcl::csCreating) ||
      host_.BlendingOrHiding() || SkinData()->SkinIndex < 0)
    return true;
  const HWND wnd = Form()->Handle();
  const TsLoadedSkin& skin = manager->Skin();
  TqvBorderForm* border = host_.ExtBorderForm();
  const int frame = DefBorderWidth(wnd, border, true);
  const int caption = Measures().CaptionHeight(true);
  const vcl::TRect shadow = ShadowSize();
  const int height = ImageHeight();
  const bool borderPaintsFrame = border && skin.SkinData.BorderMode == 1;

  if (!SkinData()->CacheBmp()) {
    SkinData()->InitCacheBmp();
    // The window's picture follows every step of a resize: it keeps its memory.
    SkinData()->CacheBmp()->SetKeepsMemory(true);
    SkinData()->CacheBmp()->SetSize(ImageWidth(), height);
    SkinData()->Invalidate();
    SkinData()->BGChanged = true;  // a new image holds nothing yet
    if (!Form()->ComponentState().Contains(vcl::csLoading)) {
      vcl::TMessage m{kSkinCmdMessage, SkinCommandWParam(scmGetState), 1, 0};
      BroadcastCommand(Form(), m);
    }
  }
  vcl::TBitmap* image = SkinData()->CacheBmp();
  // While a document maximises (hidden from the system for the command) the frame's menu is
  // being merged: the picture waits for the document to show again, then is painted whole.
  if (Form()->FormStyle() == vcl::fsMDIForm && FirstPaint)
    if (vcl::TCustomForm* child = Form()->ActiveMDIChild(); child && child->HandleAllocated() &&
                                                            IsZoomed(child->Handle()) && child->Showing() &&
                                                            !IsWindowVisible(child->Handle()))
      return true;

  // A menu bar the system has still to lay out (its items were just changed) leaves the image
  // stale: it is painted again, items and all, once the bar has its places.
  bool menuLaidOut = true;
  if (SkinData()->BGChanged) {
    // Which title buttons show follows the system menu's states: an image painted before the
    // menu is made (a child asking for its background before the first frame painting) would
    // have none.
    if (!host_.CurrentSystemMenu()) {
      host_.MakeSystemMenu();
      host_.CaptionButtons().InitSystemButtons();
    }
    host_.CaptionButtons().UpdateButtonsRects();
    host_.MarkRegionStale();
    if (image->Width() != ImageWidth() || image->Height() != height) image->SetSize(ImageWidth(), height);
    const int width = image->Width();
    const vcl::TRect whole = vcl::Rect(0, 0, width, height);

    // What lies behind the form: nothing for a top-level form, the parent's picture else.
    TqvCacheInfo behind = kEmptyCacheInfo;
    if (Form()->Parent()) {
      TqvBGInfo info{};
      info.PleaseDraw = false;
      GetBgInfo(info, Form()->Parent(), false);
      if (info.BgType == btNotReady) {
        SkinData()->Updating = true;
        return false;
      }
      CopyBgInfo(info, behind);
    }

    // The body and its frame in the caption's state (an active form wears the section's
    // second state when the skin gives it one).
    const int state = CaptionStateOf(skin, SkinData()->SkinIndex, host_.CaptionActive());
    TqvControlSkin data = SkinData()->ControlSkin();
    // The image is sized here (shadow margins, a minimised caption): the frame painter must not
    // size it to the form. A top-level form has nothing behind it the painter would need it for.
    if (!Form()->Parent()) data.Owner = nullptr;
    HDC dc = image->Canvas()->Handle();
    if (SkinData()->CtrlSkinState & kStatePlainBg) {
      vcl::TRect client;
      if (!border) {
        // The body from right under the caption: the menu band too, which shows the form's
        // face where the skin has no section of its own for the menu line.
        FillDC(dc, vcl::Rect(0, caption + frame, width, height), FormColor());
        PaintSkinnedBackground(dc, whole, frame, client, state, data, FormColor());
      } else {
        BlendBmpRect(image, vcl::Rect(0, 0, width, height - shadow.Bottom), FormColor(), 255);
        if (!borderPaintsFrame && skin.IsValidImgIndex(SkinData()->BorderIndex))
          PaintSkinnedBackground(dc, whole, frame, client, state, data, FormColor());
      }
    } else if (Form()->BorderStyle() == vcl::TFormBorderStyle::bsNone &&
               !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) && (!Form()->Parent() || borderPaintsFrame)) {
      PaintSection(SkinData()->SkinIndex, behind, state, whole, vcl::TPoint(), image, &skin, SkinData()->Texture,
                   SkinData()->HotTexture, kKeyColor);
      const TsGeneralData& section = skin.Sections[static_cast<std::size_t>(SkinData()->SkinIndex)];
      const TqvCacheInfo self = ImageBehind(image);
      auto corner = [&](int index, bool right, bool bottom) {
        if (!skin.IsValidImgIndex(index)) return;
        const TsMaskData& mask = skin.Images[static_cast<std::size_t>(index)];
        DrawSkinGlyph(
            image, vcl::TPoint(right ? width - MaskImageWidth(mask) : 0, bottom ? height - MaskImageHeight(mask) : 0),
            state, 1, mask, self);
      };
      corner(section.ImgTL, false, false);
      corner(section.ImgTR, true, false);
      corner(section.ImgBL, false, true);
      corner(section.ImgBR, true, true);
    } else {
      PaintItem(data, behind, state, whole, vcl::TPoint(), image, true);
    }

    if (Measures().GripVisible() && SkinData()->IsCached()) {
      SkinData()->BGChanged = false;
      PaintGrip(dc);
    }
    if (!borderPaintsFrame) PaintTitleBackground();
    menuLaidOut = PaintMenuItems();
    if (!borderPaintsFrame) {
      PaintTitleIcon();
      host_.CaptionText().PaintCaptionText();
    }
    if (border) PaintExtendedBorder(borderPaintsFrame);
    if (caption != 0 && Provider()->DrawNonClientArea) {
      SaveTitleBg(true);
      host_.CaptionButtons().PaintTitleButtons();
    }
    FirstPaint = false;
    SkinData()->BGChanged = false;

    // The form's own painting goes into the client part of the image.
    if (Form()->OnPaint && SkinData()->IsCached()) {
      vcl::TCanvas* canvas = Form()->Canvas();
      canvas->Lock();
      const HDC saved = canvas->CurrentHandle();
      POINT origin{};
      SetWindowOrgEx(dc, -OffsetX(), -OffsetY(), &origin);
      canvas->SetHandle(dc);
      Form()->OnPaint(Form());
      canvas->SetHandle(saved);
      SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
      canvas->Unlock();
    }
  }
  SkinData()->RepaintChildren(Form(), vcl::TPoint(OffsetX(), OffsetY()));
  FirstPaintDone = true;
  SkinData()->BGChanged = !menuLaidOut;
  SkinData()->Updating = false;
  return true;
}

void TqvWindowImage::PaintExtendedBorder(bool PaintsFrame) {
  TsSkinManager* manager = host_.SkinManager();
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!DrawExtendedBorder(image, manager, host_.CaptionActive(), PaintsFrame)) return;
  if (PaintsFrame) {
    PaintTitleBackground();
    PaintTitleIcon();
    host_.CaptionText().PaintCaptionText();
    return;
  }
  // The frame's own corners over the shadow where the form's border image leaves them open.
  const TsLoadedSkin& skin = manager->Skin();
  const int mask = SkinData()->BorderIndex;
  if (!skin.IsValidImgIndex(mask)) return;
  const vcl::TRect s = ShadowSize();
  const int w = skin.MaskWidthLeft(mask), h = skin.MaskWidthTop(mask);
  const int r = skin.MaskWidthRight(mask), b = skin.MaskWidthBottom(mask);
  const int right = image->Width() - s.Right, bottom = image->Height() - s.Bottom;
  // The shadow whole, under the corners' transparent parts.
  std::unique_ptr<vcl::TBitmap> back = CreateBmp32(image->Width(), image->Height());
  DrawExtendedBorder(back.get(), manager, host_.CaptionActive(), true);
  auto corner = [&](const vcl::TRect& at, int kind) {
    if (!at.IsEmpty()) PaintMaskPart(image, back.get(), at, at.TopLeft(), mask, &skin, kind);
  };
  corner(vcl::Rect(s.Left, s.Top, s.Left + w, s.Top + h), kPieceTopLeft);
  corner(vcl::Rect(right - r, s.Top, right, s.Top + h), kPieceTopRight);
  corner(vcl::Rect(s.Left, bottom - b, s.Left + w, bottom), kPieceBottomLeft);
  corner(vcl::Rect(right - r, bottom - b, right, bottom), kPieceBottomRight);
}

void TqvWindowImage::PaintTitleBackground() {
  TsSkinManager* manager = host_.SkinManager();
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!manager || !image || Measures().CaptionHeight(true) == 0 || !Provider()->DrawNonClientArea) return;
  const TsLoadedSkin& skin = manager->Skin();
  const vcl::TRect shadow = ShadowSize();
  const int title = Measures().GetTitleSkinIndex();
  const vcl::TRect r =
      vcl::Rect(shadow.Left, shadow.Top, ImageWidth() - shadow.Right, host_.CaptionButtons().TitleBottom);
  if (skin.IsValidSkinIndex(title)) {
    PaintItemBg(title, ImageBehind(image), CaptionStateOf(skin, title, host_.CaptionActive()), r, r.TopLeft(), image,
                &skin);
  } else {
    // No title section: the band shows the form's own face, as a see-through title would (a
    // plain body leaves the band to the title).
    TqvCacheInfo face;
    face.FillColor = static_cast<TColorValue>(vcl::ColorToRGB(FormColor()));
    PaintSection(SkinData()->SkinIndex, face, 0, r, r.TopLeft(), image, &skin, SkinData()->Texture,
                 SkinData()->HotTexture);
  }
  if (Measures().VisibleSysButtons() == 0) return;
  // The skin's backdrop of the button block.
  const int bar = skin.GetMaskIndex(SkinData()->SkinIndex, L"FORM", L"TITLEBAR");
  if (!skin.IsValidImgIndex(bar)) return;
  const int right = ImageWidth() - shadow.Right;
  const vcl::TRect place = vcl::Rect(right - TitleBarWidth(bar), shadow.Top, right, host_.CaptionButtons().TitleBottom);
  DrawSkinRect(image, place, ImageBehind(image), skin.Images[static_cast<std::size_t>(bar)],
               host_.CaptionActive() ? 1 : 0, true);
}

bool TqvWindowImage::PaintMenuItems() {
  TsSkinManager* manager = host_.SkinManager();
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  auto* menu = dynamic_cast<vcl::TMainMenu*>(Form()->Menu());
  const int lineHeight = Measures().MenuHeight();
  if (!manager || !image || !menu || !Measures().HasMenuLine() || !Measures().MenuVisible() || lineHeight <= 0 ||
      !Provider()->DrawNonClientArea || !manager->SkinnedPopups() || !Form()->HandleAllocated())
    return true;
  const TsLoadedSkin& skin = manager->Skin();
  const HWND wnd = Form()->Handle();
  const vcl::TRect shadow = ShadowSize();
  const int frame = SysBorderWidth(wnd, host_.ExtBorderForm(), true);
  const int lines = std::max(1, Measures().MenuLinesCount());
  const int top = host_.CaptionButtons().TitleBottom;
  const vcl::TRect strip =
      vcl::Rect(frame + shadow.Left, top, ImageWidth() - frame - shadow.Right, top + lines * lineHeight + 1);

  int section = host_.MenuLineSkin().empty() ? kNoIndex : skin.GetSkinIndex(host_.MenuLineSkin());
  if (section < 0) section = skin.GetSkinIndex(L"MENULINE");
  // Without a section of its own the items stand on the form's face, in the caption's state:
  // they write in its colours.
  int textState = 0;
  if (skin.IsValidSkinIndex(section)) {
    PaintItemBg(section, ImageBehind(image), 0, strip, strip.TopLeft(), image, &skin);
  } else {
    section = SkinData()->SkinIndex;
    textState = CaptionStateOf(skin, section, host_.CaptionActive());
  }
  if (!MenuLineBmp) MenuLineBmp = CreateBmp32(0, 0);
  MenuLineBmp->SetSize(std::max(0, strip.Width()), lines * lineHeight);
  BitBlt(MenuLineBmp->Canvas()->Handle(), 0, 0, strip.Width(), lines * lineHeight, image->Canvas()->Handle(),
         strip.Left, strip.Top, SRCCOPY);

  const HMENU bar = GetMenu(wnd);
  // Under the border window the image lies further up than the form's window by the skin's
  // taller caption: the system's menu bar row is the image's menu line.
  auto imageRect = [&](const RECT& r) {
    const vcl::TPoint at = host_.ImagePointOf(vcl::TPoint(r.left, r.top));
    return vcl::Rect(at.X, at.Y, at.X + (r.right - r.left), at.Y + (r.bottom - r.top));
  };
  // The library's item at a place of the bar (a merged MDI child's among them); nil for an
  // item the system put there.
  auto* childMenu = Form()->FormStyle() == vcl::fsMDIForm && Form()->ActiveMDIChild()
                        ? dynamic_cast<vcl::TMenu*>(Form()->ActiveMDIChild()->Menu())
                        : nullptr;
  auto libraryItem = [&](int position) -> vcl::TMenuItem* {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(bar, static_cast<UINT>(position), TRUE, &info)) return nullptr;
    const auto value = info.hSubMenu ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
    const vcl::TFindItemKind kind = info.hSubMenu ? vcl::fkHandle : vcl::fkCommand;
    vcl::TMenuItem* item = menu->FindItem(value, kind);
    if (!item && childMenu) item = childMenu->FindItem(value, kind);
    return item;
  };
  const int count = bar ? GetMenuItemCount(bar) : 0;

  // A maximised MDI child's icon at the left of the frame's menu line, in the slot the system
  // keeps first on the bar for the child's system menu (the frame's items follow it).
  int left = strip.Left;
  if (host_.IsMDIProvider())
    if (vcl::TCustomForm* child = Form()->ActiveMDIChild(); child && child->HandleAllocated() &&
                                                            IsZoomed(child->Handle()) &&
                                                            child->BorderIcons().Contains(vcl::biSystemMenu)) {
      HICON icon = child->Icon() && !child->Icon()->Empty() ? child->Icon()->Handle() : nullptr;
      if (!icon && vcl::Application) icon = vcl::Application->IconHandle();
      if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
      int size = Measures().MenuHeight() - 2;
      vcl::TRect slot = vcl::Rect(left, top, left + size + 2, top + size + 2);
      RECT first{};
      if (count > 0 && !libraryItem(0) && GetMenuItemRect(wnd, bar, 0, &first) && !IsRectEmpty(&first)) {
        slot = imageRect(first);
        size = std::max(1, std::min(size, std::min(slot.Width(), slot.Height())));
      }
      DrawIconEx(image->Canvas()->Handle(), slot.Left + (slot.Width() - size) / 2,
                 slot.Top + (slot.Height() - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
      left = slot.Right;
    }

  const vcl::TOwnerDrawState state = vcl::TOwnerDrawState::FromInt(kMenuLineImageState);
  bool laidOut = true;
  for (int position = 0; position < count; ++position) {
    vcl::TMenuItem* item = libraryItem(position);
    RECT r{};
    if (!item || !item->Visible() || !GetMenuItemRect(wnd, bar, static_cast<UINT>(position), &r)) continue;
    // An item the system has given no place yet: the bar is laid out at its next measuring.
    if (IsRectEmpty(&r)) {
      laidOut = false;
      continue;
    }
    const vcl::TRect place = imageRect(r);
    if (place.Left < left) continue;
    if (!item->OnAdvancedDrawItem && manager->SkinableMenus()) {
      host_.PrepareMenusAgain();
    }
    if (item->OnAdvancedDrawItem) {
      item->OnAdvancedDrawItem(item, image->Canvas(), place, state);
    } else {
      // Without the skinned menu painter the caption is written in the menu line's colours.
      vcl::TCanvas* canvas = image->Canvas();
      canvas->Font()->Assign(vcl::Screen ? vcl::Screen->MenuFont() : host_.CaptionText().CaptionFont());
      SetBkMode(canvas->Handle(), TRANSPARENT);
      WriteSkinText(canvas, item->Caption(), item->Enabled(), manager, textState, section,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, place);
    }
  }
  return laidOut;
}

void TqvWindowImage::UpdateMenuItemPart(vcl::TMenuItem* Item, vcl::TOwnerDrawState State, const vcl::TRect& R) {
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!Item || !image || !Measures().MenuVisible() || !Form()->Menu() || Item->GetParentMenu() != Form()->Menu() ||
      !Item->OnAdvancedDrawItem || !Form()->HandleAllocated())
    return;
  Item->OnAdvancedDrawItem(Item, image->Canvas(), R, State);
  HDC dc = GetWindowDC(Form()->Handle());
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), image->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
  ReleaseDC(Form()->Handle(), dc);
}

void TqvWindowImage::SaveTitleBg(bool AllLines) {
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!image || !Form()->HandleAllocated()) return;
  const HWND wnd = Form()->Handle();
  const vcl::TRect shadow = ShadowSize();
  const int frame = SysBorderWidth(wnd, host_.ExtBorderForm(), true);
  const int width = frame + host_.CaptionButtons().ButtonsBlockWidth() + 10 + shadow.Right;
  const int height =
      frame + Measures().CaptionHeight(true) + frame + (AllLines ? Measures().MenuHeight() : 0) + shadow.Top;
  if (!TitleBgBmp) TitleBgBmp = CreateBmp32(0, 0);
  TitleBgBmp->SetSize(std::max(0, width), std::max(0, height));
  BitBlt(TitleBgBmp->Canvas()->Handle(), 0, 0, width, height, image->Canvas()->Handle(), ImageWidth() - width - 1, 0,
         SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// Copies out of the image

void TqvWindowImage::PaintBorders(HDC DC) {
  if (!SkinData() || !Form()->HandleAllocated()) return;
  const HWND wnd = Form()->Handle();
  vcl::TBitmap* image = SkinData()->CacheBmp();
  const bool stale = !image || !SkinData()->IsCached() || image->Width() != ImageWidth() ||
                     (Measures().HasBorder() && image->Height() != ImageHeight());
  if (stale || SkinData()->BGChanged) {
    SkinData()->BGChanged = true;
    PaintAllImage();
    SkinData()->Updating = false;
    image = SkinData()->CacheBmp();
  }
  if (!image || image->Width() == 0) return;
  const int menuBand = Measures().HasMenuLine() ? Measures().MenuLinesCount() * Measures().MenuHeight() + 1 : 0;
  const int bottom = Measures().BorderWidthDef();
  const int left = Measures().BorderWidthSys();
  const int captionBottom = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? CaptionBottom() : menuBand;
  const int width = image->Width(), height = image->Height();
  HDC src = image->Canvas()->Handle();
  BitBlt(DC, 0, 0, width, captionBottom, src, 0, 0, SRCCOPY);
  BitBlt(DC, 0, captionBottom, left, height - captionBottom, src, 0, captionBottom, SRCCOPY);
  BitBlt(DC, 0, height - bottom, width, bottom, src, 0, height - bottom, SRCCOPY);
  BitBlt(DC, width - left, captionBottom, left, height - captionBottom, src, width - left, captionBottom, SRCCOPY);
}

void TqvWindowImage::PaintFrameStrips() {
  if (!SkinData() || !SkinData()->CacheBmp() || !Form()->HandleAllocated()) return;
  const HWND wnd = Form()->Handle();
  const bool borderless =
      Form()->BorderStyle() == vcl::TFormBorderStyle::bsNone && !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD);
  HDC dc = GetWindowDC(wnd);
  const int saved = SaveDC(dc);
  vcl::TBitmap* image = SkinData()->CacheBmp();
  HDC src = image->Canvas()->Handle();
  if (TqvBorderForm* border = host_.ExtBorderForm()) {
    // The border window shows the frame and caption: only the form's own parts are copied.
    const vcl::TRect shadow = ShadowSize();
    const int f = SysBorderWidth(wnd, nullptr, false);
    const int b = Form()->BorderWidth();
    const TqvFormMeasures& measures = Measures();
    const int m = measures.HasMenuLine() && measures.MenuVisible()
                      ? measures.MenuLinesCount() * measures.MenuHeight() + 1
                      : 0;
    // The window keeps the system's caption: its menu bar lies below that, not below the skin's.
    const int y0 = Measures().CaptionHeight(false) + f - (host_.MaximizedBorderLarge() ? 4 : 0);
    const int clientTop = y0 + m + b;
    const int width = image->Width(), height = image->Height();
    BitBlt(dc, f, y0, width - shadow.Left - shadow.Right, m + b, src, SysBorderWidth(wnd, border, true) + shadow.Left,
           OffsetY() - m - b, SRCCOPY);
    if (b > 0) {
      const int formWidth = Form()->Width(), formHeight = Form()->Height();
      BitBlt(dc, f, clientTop, b, formHeight - f, src, OffsetX() - b, OffsetY(), SRCCOPY);
      BitBlt(dc, b + f, formHeight - b - f, formWidth - 2 * b - f, b, src, Measures().BorderWidthSys() + shadow.Left,
             height - Measures().BorderWidthSys() - shadow.Bottom, SRCCOPY);
      BitBlt(dc, formWidth - b - f, clientTop, b, height - f, src, width - Measures().BorderWidthSys() - shadow.Right,
             OffsetY(), SRCCOPY);
    }
  } else if (borderless && HasThickFrame(wnd) && !IsIconic(wnd)) {
    const int strip = Measures().BorderWidthSys() + 3;
    const int width = image->Width(), height = image->Height();
    BitBlt(dc, 0, 0, width, strip, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, strip, strip, height - strip, src, 0, strip, SRCCOPY);
    BitBlt(dc, 0, height - strip, width, strip, src, 0, height - strip, SRCCOPY);
    BitBlt(dc, width - strip, strip, strip, height - strip, src, width - strip, strip, SRCCOPY);
  } else {
    PaintBorders(dc);
  }
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
  ++frame_paints_;
}

void TqvWindowImage::PaintUnderSeeThroughControls(HDC DC) {
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!image) return;
  HDC src = image->Canvas()->Handle();
  for (int i = 0; i < Form()->ControlCount(); ++i) {
    vcl::TControl* child = Form()->Controls(i);
    if (dynamic_cast<vcl::TWinControl*>(child) || !child->Visible() || child->ControlStyle().Contains(vcl::csOpaque))
      continue;
    const vcl::TRect r = child->BoundsRect();
    BitBlt(DC, r.Left, r.Top, r.Width(), r.Height(), src, OffsetX() + r.Left, OffsetY() + r.Top, SRCCOPY);
  }
}

void TqvWindowImage::PaintClient(HDC DC, bool Children) {
  (void)Children;
  if (!SkinData() || !Form()->HandleAllocated()) return;
  const HWND wnd = Form()->Handle();
  const vcl::TRect client = vcl::Rect(0, 0, ClientWidthOf(wnd), ClientHeightOf(wnd));
  vcl::TBitmap* image = SkinData()->CacheBmp();
  if (SkinData()->CtrlSkinState & kStatePlainBg) {
    FillDC(DC, client, FormColor());
    // Where the skin's frame reaches into the client area, the image shows.
    TsSkinManager* manager = host_.SkinManager();
    if (image && Provider()->DrawNonClientArea && manager && manager->IsValidImgIndex(SkinData()->BorderIndex)) {
      const TsLoadedSkin& skin = manager->Skin();
      const int x = OffsetX(), y = OffsetY();
      const int top = skin.MaskWidthTop(SkinData()->BorderIndex) - y;
      const int leftSide = skin.MaskWidthLeft(SkinData()->BorderIndex) - x;
      const int right = skin.MaskWidthRight(SkinData()->BorderIndex) - (image->Width() - x - client.Width());
      const int bottom = skin.MaskWidthBottom(SkinData()->BorderIndex) - (image->Height() - y - client.Height());
      HDC src = image->Canvas()->Handle();
      if (top > 0) BitBlt(DC, 0, 0, client.Width(), top, src, x, y, SRCCOPY);
      if (leftSide > 0) BitBlt(DC, 0, 0, leftSide, client.Height(), src, x, y, SRCCOPY);
      if (right > 0)
        BitBlt(DC, client.Width() - right, 0, right, client.Height(), src, x + client.Width() - right, y, SRCCOPY);
      if (bottom > 0)
        BitBlt(DC, 0, client.Height() - bottom, client.Width(), bottom, src, x, y + client.Height() - bottom, SRCCOPY);
    }
  } else {
    if (!image || SkinData()->BGChanged || image->Width() != ImageWidth()) {
      SkinData()->BGChanged = true;
      PaintAllImage();
    }
    if (Form()->FormStyle() != vcl::fsMDIForm) {
      PaintParentBg(Form(), SkinData(), vcl::TPoint(OffsetX(), OffsetY()), 0, 0, false, DC, client);
      PaintUnderSeeThroughControls(DC);
    }
  }
  host_.ClientPainted();
}

void TqvWindowImage::PaintFormBg(HDC DC) {
  if (!SkinData() || !Form()->HandleAllocated()) return;
  SkinData()->Updating = false;
  if (Form()->FormStyle() == vcl::fsMDIChild && IsZoomed(Form()->Handle()))
    if (vcl::TCustomForm* frame = host_.MDIFrameForm(); frame && frame->ActiveMDIChild() != Form()) return;
  PaintClient(DC, true);
  if (Measures().GripVisible()) {
    POINT origin{};
    SetWindowOrgEx(DC, OffsetX(), OffsetY(), &origin);
    PaintGrip(DC);
    SetWindowOrgEx(DC, origin.x, origin.y, nullptr);
  }
  Form()->PaintControls(DC, nullptr);
}

void TqvWindowImage::PaintFormWM(HDC DC) {
  const HWND wnd = Form()->Handle();
  const bool printing = host_.IsPrinting();
  if (Form()->ComponentState().Contains(vcl::csReading) || printing) {
    PAINTSTRUCT ps{};
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = DC;
  const bool own = !DC;
  if (own) dc = BeginPaint(wnd, &ps);
  vcl::TCanvas* canvas = Form()->Canvas();
  canvas->Lock();
  if (Form()->FormStyle() != vcl::fsMDIChild || !IsZoomed(wnd) || !host_.MDIFrameForm() ||
      host_.MDIFrameForm()->ActiveMDIChild() == Form())
    PaintFormBg(dc);
  canvas->Unlock();
  if (own) EndPaint(wnd, &ps);
}

// ---------------------------------------------------------------------------------------
// The caption icon and the size grip: pictures the skin does not give as plain glyphs

void TqvWindowImage::PaintTitleIcon() {
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!image || !Measures().IconVisible() || !Form()->HandleAllocated()) return;
  const vcl::TRect r = host_.CaptionButtons().IconRect;
  const int w = Measures().TitleIconWidth(), h = Measures().TitleIconHeight();
  if (w <= 0 || h <= 0) return;

  vcl::TBitmap* glyph = host_.TitleIcon()->Glyph();
  if (!glyph->Empty()) {
    auto picture = Glyph32(glyph);
    const int y = r.Top + (r.Height() - picture->Height()) / 2;
    BlendBitmapsByMask(vcl::Rect(r.Left, y, r.Left + picture->Width(), y + picture->Height()),
                       vcl::Rect(0, 0, picture->Width(), picture->Height()), image, false, kEmptyCacheInfo,
                       picture.get());
    return;
  }

  // What lay under the icon, to tell the pixels the icon drew.
  auto before = CreateBmp32(w, h);
  HDC dc = image->Canvas()->Handle();
  BitBlt(before->Canvas()->Handle(), 0, 0, w, h, dc, r.Left, r.Top, SRCCOPY);
  auto draw = [&](HICON icon, int width, int height) {
    if (icon) DrawIconEx(dc, r.Left, r.Top, icon, width, height, 0, nullptr, DI_NORMAL);
  };
  if (Form()->Icon() && !Form()->Icon()->Empty()) {
    draw(Form()->Icon()->Handle(), w, h);
  } else if (vcl::Application && vcl::Application->IconHandle()) {
    draw(reinterpret_cast<HICON>(SendMessageW(vcl::Application->Handle(), WM_GETICON, ICON_SMALL2, 0)), w, h);
  } else {
    int w2 = host_.TitleIcon()->Width(), h2 = host_.TitleIcon()->Height();
    if (w2 == 0) w2 = Measures().CaptionHeight(true) - r.Top;
    if (h2 == 0) h2 = Measures().CaptionHeight(true) - r.Top;
    if (h2 > 16 && LargeAppIcon() && !LargeAppIcon()->Empty())
      draw(LargeAppIcon()->Handle(), w2, h2);
    else if (SmallAppIcon() && !SmallAppIcon()->Empty())
      draw(SmallAppIcon()->Handle(), w2, h2);
    else
      draw(LoadIconW(nullptr, IDI_APPLICATION), w, h);
  }
  GdiFlush();
  // The pixels the icon changed are opaque; the others keep the image's alpha.
  TPixelView after, old;
  if (!InitPixelView(image, after) || !InitPixelView(before.get(), old)) return;
  for (int y = 0; y < h; ++y) {
    if (!after.Contains(r.Left, r.Top + y)) continue;
    for (int x = 0; x < w && after.Contains(r.Left + x, r.Top + y); ++x) {
      TPixel32& p = after.Row(r.Top + y)[r.Left + x];
      if (p != old.Row(y)[x]) p |= 0xFF000000u;
    }
  }
}

void TqvWindowImage::PaintGrip(HDC DC) {
  TsSkinManager* manager = host_.SkinManager();
  vcl::TBitmap* image = SkinData() ? SkinData()->CacheBmp() : nullptr;
  if (!manager || !image) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int index = skin.ConstData.GripImage;
  if (!skin.IsValidImgIndex(index)) return;
  const TsMaskData& mask = skin.Images[static_cast<std::size_t>(index)];
  const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
  if (w <= 0 || h <= 0) return;
  auto grip = CreateBmp32(w, h);
  const vcl::TPoint pos = GripPos(index);
  HDC gripDC = grip->Canvas()->Handle();

  TqvBGInfo info{};
  GetBgInfo(info, Form(), false);
  if (info.BgType == btBitmap && info.Bmp) {
    BitBlt(gripDC, 0, 0, w, h, info.Bmp->Canvas()->Handle(), pos.X, pos.Y, SRCCOPY);
  } else {
    FillDC(gripDC, vcl::Rect(0, 0, w, h), info.Color);
    // Where the skin's frame reaches past the system's, the frame shows through the grip.
    const vcl::TRect shadow = ShadowSize();
    const int frame = SysBorderWidth(Form()->Handle(), nullptr, false);
    const int right = skin.MaskWidthRight(SkinData()->BorderIndex);
    const int bottom = skin.MaskWidthBottom(SkinData()->BorderIndex);
    if (skin.IsValidImgIndex(SkinData()->BorderIndex) && (right > frame || bottom > frame)) {
      const int frameLeft = image->Width() - shadow.Right - right;
      const int frameTop = image->Height() - shadow.Bottom - bottom;
      HDC src = image->Canvas()->Handle();
      if (pos.X + w > frameLeft) {
        const int from = std::max(0, frameLeft - pos.X);
        BitBlt(gripDC, from, 0, w - from, h, src, pos.X + from, pos.Y, SRCCOPY);
      }
      if (pos.Y + h > frameTop) {
        const int from = std::max(0, frameTop - pos.Y);
        BitBlt(gripDC, 0, from, w, h - from, src, pos.X, pos.Y + from, SRCCOPY);
      }
    }
  }
  TqvCacheInfo ci;
  MakeCacheInfo(grip.get(), 0, 0, ci);
  DrawSkinGlyph(grip.get(), vcl::TPoint(), 0, 1, mask, ci);
  BitBlt(DC, pos.X, pos.Y, w, h, gripDC, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// Measures

vcl::TRect TqvWindowImage::ShadowSize() const {
  const TsSkinManager* manager = host_.SkinManager();
  return host_.ExtBorderForm() && manager ? manager->ShadowMargins() : vcl::TRect();
}

int TqvWindowImage::ImageWidth() const {
  const vcl::TRect shadow = ShadowSize();
  // A minimised window is only its caption, as wide as the system makes it (the main form's
  // too: without a task bar, or with the form on it, it shows minimised as any other).
  if (Iconic(Form())) return WndWidth(Form()->Handle()) + shadow.Left + shadow.Right;
  return Form()->Width() + (host_.ExtBorderForm() ? 2 * BorderFormOffsetX(host_.ExtBorderForm()) : 0) + shadow.Left +
         shadow.Right;
}

int TqvWindowImage::ImageHeight() const {
  const HWND wnd = Form()->HandleAllocated() ? Form()->Handle() : nullptr;
  int height = Iconic(Form()) ? SysBorderWidth(wnd, nullptr, false) + Measures().CaptionHeight(true) + 2
                              : Form()->Height();
  if (TqvBorderForm* border = host_.ExtBorderForm()) {
    const vcl::TRect shadow = ShadowSize();
    height += BorderFormOffsetX(border) + BorderFormOffsetY(border) + shadow.Top + shadow.Bottom;
  }
  return height;
}

vcl::TPoint TqvWindowImage::GripPos(int MaskIndex) const {
  vcl::TBitmap* cache = SkinData() ? SkinData()->CacheBmp() : nullptr;
  const TsSkinManager* manager = host_.SkinManager();
  if (!cache || cache->Width() == 0 || !manager || !manager->IsValidImgIndex(MaskIndex)) return {};
  const TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(MaskIndex)];
  const vcl::TRect shadow = ShadowSize();
  const int frame = Measures().BorderWidthSys();
  return vcl::TPoint(cache->Width() - MaskImageWidth(mask) - frame - shadow.Right - 1,
                     cache->Height() - MaskImageHeight(mask) - frame - shadow.Bottom - 1);
}

vcl::TColor TqvWindowImage::FormColor() const {
  if (SkinData() && SkinData()->Skinned() && !SkinData()->CustomColor())
    if (const TsGeneralData* section = SkinData()->Section())
      return section->Props[std::min<std::size_t>(host_.CaptionActive() ? 1 : 0, section->States > 1 ? 1 : 0)].Color;
  return vcl::ColorToRGB(Form()->Color());
}

int TqvWindowImage::OffsetX() const {
  if (!Form()->HandleAllocated()) return 0;
  if (host_.ExtBorderForm()) return Measures().BorderWidthSys() + ShadowSize().Left;
  // The skinned vertical bar is not frame.
  return (WndWidth(Form()->Handle()) - ClientWidthOf(Form()->Handle()) - Measures().ScrollBarsExtent().cx) / 2;
}

int TqvWindowImage::OffsetY() const {
  if (!Form()->HandleAllocated()) return 0;
  if (host_.ExtBorderForm()) {
    const int menu = Measures().MenuHeight();
    return Measures().CaptionHeight(true) + Measures().MenuLinesCount() * menu + Form()->BorderWidth() +
           ShadowSize().Top + (menu > 0 ? 1 : 0);
  }
  const HWND wnd = Form()->Handle();
  const bool caption = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  return WndHeight(wnd) - ClientHeightOf(wnd) - (caption ? Measures().BorderWidthSys() : 0) -
         Measures().ScrollBarsExtent().cy;
}

int TqvWindowImage::CaptionBottom() const {
  if (!Form()->HandleAllocated()) return 0;
  const HWND wnd = Form()->Handle();
  if (TqvBorderForm* border = host_.ExtBorderForm())
    return DefBorderWidth(wnd, border, true) + Measures().CaptionHeight(true);
  const bool caption = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  int result = WndHeight(wnd) - ClientHeightOf(wnd);
  if (Measures().CaptionHeight(true) != 0 || caption) result -= Measures().BorderWidthDef();
  result = std::max(0, result - Measures().ScrollBarsExtent().cy);
  if (IsIconic(wnd)) result += Measures().BorderWidthDef();
  return result;
}

vcl::TPoint TqvWindowImage::FormOrigin() const {
  if (!Form()->HandleAllocated()) return {};
  const HWND wnd = Form()->Handle();
  if (Form()->FormStyle() == vcl::fsMDIChild) {
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    origin.x -= Measures().BorderWidthSys();
    origin.y -= Measures().BorderWidthSys() + (IsIconic(wnd) ? 0 : Measures().CaptionHeight(true));
    return vcl::TPoint(origin);
  }
  RECT window{};
  GetWindowRect(wnd, &window);
  return vcl::TPoint(window.left, window.top);
}

vcl::TPoint TqvWindowImage::ScreenToImage(int X, int Y) const {
  const vcl::TPoint origin = FormOrigin();
  return vcl::TPoint(X - origin.X, Y - origin.Y);
}

bool TqvWindowImage::ImageSizeChanged() const {
  vcl::TBitmap* cache = SkinData() ? SkinData()->CacheBmp() : nullptr;
  return !cache || cache->Width() != ImageWidth() || cache->Height() != ImageHeight();
}

int TqvWindowImage::TitleBarWidth(int MaskIndex) const {
  const TsSkinManager* manager = host_.SkinManager();
  const int picture = manager && manager->IsValidImgIndex(MaskIndex)
                          ? MaskImageWidth(manager->Skin().Images[static_cast<std::size_t>(MaskIndex)])
                          : 0;
  return 2 * picture + host_.CaptionButtons().ButtonsBlockWidth();
}

}  // namespace skin_layered
