// The window image of a skinned form: one 32-bit bitmap (the skin data's cache) as large as
// the window, holding the frame, the caption with its icon, text and buttons, the menu line
// and the client background. It is rebuilt only while marked stale; the frame on the screen
// is four copies out of it, and the client background and the form's skinned controls take
// their backgrounds from it.
#include <algorithm>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/WindowImageParts.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BorderPainter.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/NinePart.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {

// ---------------------------------------------------------------------------------------
// Rebuilding the image

void TsSkinProvider::PaintAll() { PaintAllImage(); }

bool TsSkinProvider::PaintAllImage() {
  TsSkinManager* manager = SkinManager();
  if (!SkinData || !manager || !Form->HandleAllocated() || Form->ControlState().Contains(vcl::csCreating) ||
      (ExtFlags & (kExtBlendMoving | kExtHiding)) || SkinData->SkinIndex < 0)
    return true;
  const HWND wnd = Form->Handle();
  const TsLoadedSkin& skin = manager->Skin();
  TqvBorderForm* border = ExtBorderForm();
  const int frame = DefBorderWidth(wnd, border, true);
  const int caption = CaptionHeight(true);
  const vcl::TRect shadow = ShadowSize();
  const int height = ImageHeight();
  const bool borderPaintsFrame = border && skin.SkinData.BorderMode == 1;

  if (!SkinData->CacheBmp()) {
    SkinData->InitCacheBmp();
    // The window's picture follows every step of a resize: it keeps its memory.
    SkinData->CacheBmp()->SetKeepsMemory(true);
    SkinData->CacheBmp()->SetSize(ImageWidth(), height);
    SkinData->Invalidate();
    SkinData->BGChanged = true;  // a new image holds nothing yet
    if (!Form->ComponentState().Contains(vcl::csLoading)) {
      vcl::TMessage m{kSkinCmdMessage, SkinCommandWParam(scmGetState), 1, 0};
      BroadcastCommand(Form, m);
    }
  }
  vcl::TBitmap* image = SkinData->CacheBmp();
  // While a document maximises (hidden from the system for the command) the frame's menu is
  // being merged: the picture waits for the document to show again, then is painted whole.
  if (Form->FormStyle() == vcl::fsMDIForm && FirstPaint)
    if (vcl::TCustomForm* child = Form->ActiveMDIChild(); child && child->HandleAllocated() &&
                                                          IsZoomed(child->Handle()) && child->Showing() &&
                                                          !IsWindowVisible(child->Handle()))
      return true;

  if (SkinData->BGChanged) {
    // Which title buttons show follows the system menu's states: an image painted before the
    // menu is made (a child asking for its background before the first frame painting) would
    // have none.
    if (!SystemMenu) {
      MakeSystemMenu();
      caption_buttons_->InitSystemButtons();
    }
    caption_buttons_->UpdateButtonsRects();
    RgnChanged = true;
    if (image->Width() != ImageWidth() || image->Height() != height) image->SetSize(ImageWidth(), height);
    const int width = image->Width();
    const vcl::TRect whole = vcl::Rect(0, 0, width, height);

    // What lies behind the form: nothing for a top-level form, the parent's picture else.
    TqvCacheInfo behind = kEmptyCacheInfo;
    if (Form->Parent()) {
      TqvBGInfo info{};
      info.PleaseDraw = false;
      GetBgInfo(info, Form->Parent(), false);
      if (info.BgType == btNotReady) {
        SkinData->Updating = true;
        return false;
      }
      CopyBgInfo(info, behind);
    }

    // The body and its frame in the caption's state (an active form wears the section's
    // second state when the skin gives it one).
    const int state = CaptionStateOf(skin, SkinData->SkinIndex, FormActive);
    TqvControlSkin data = SkinData->ControlSkin();
    // The image is sized here (shadow margins, a minimised caption): the frame painter must not
    // size it to the form. A top-level form has nothing behind it the painter would need it for.
    if (!Form->Parent()) data.Owner = nullptr;
    HDC dc = image->Canvas()->Handle();
    if (SkinData->CtrlSkinState & kStatePlainBg) {
      vcl::TRect client;
      if (!border) {
        // The menu band's extra row only with a menu line: without one the body starts right
        // under the caption (else a row of the client area would stay unpainted).
        const int menuBand = HasMenuLine() && MenuVisible() ? MenuLinesCount() * MenuHeight() + 1 : 0;
        const int top = caption + frame + menuBand;
        FillDC(dc, vcl::Rect(0, top, width, height), FormColor());
        PaintSkinnedBackground(dc, whole, frame, client, state, data, FormColor());
      } else {
        BlendBmpRect(image, vcl::Rect(0, 0, width, height - shadow.Bottom), FormColor(), 255);
        if (!borderPaintsFrame && skin.IsValidImgIndex(SkinData->BorderIndex))
          PaintSkinnedBackground(dc, whole, frame, client, state, data, FormColor());
      }
    } else if (Form->BorderStyle() == vcl::TFormBorderStyle::bsNone && !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) &&
               (!Form->Parent() || borderPaintsFrame)) {
      PaintSection(SkinData->SkinIndex, behind, state, whole, vcl::TPoint(), image, &skin, SkinData->Texture,
                   SkinData->HotTexture, kKeyColor);
      const TsGeneralData& section = skin.Sections[static_cast<std::size_t>(SkinData->SkinIndex)];
      const TqvCacheInfo self = ImageBehind(image);
      auto corner = [&](int index, bool right, bool bottom) {
        if (!skin.IsValidImgIndex(index)) return;
        const TsMaskData& mask = skin.Images[static_cast<std::size_t>(index)];
        DrawSkinGlyph(image,
                      vcl::TPoint(right ? width - MaskImageWidth(mask) : 0, bottom ? height - MaskImageHeight(mask) : 0),
                      state, 1, mask, self);
      };
      corner(section.ImgTL, false, false);
      corner(section.ImgTR, true, false);
      corner(section.ImgBL, false, true);
      corner(section.ImgBR, true, true);
    } else {
      PaintItem(data, behind, state, whole, vcl::TPoint(), image, true);
    }

    if (GripVisible() && SkinData->IsCached()) {
      SkinData->BGChanged = false;
      PaintGrip(dc);
    }
    if (!borderPaintsFrame) PaintTitleBackground();
    PaintMenuItems();
    if (!borderPaintsFrame) {
      PaintTitleIcon();
      caption_text_->PaintCaptionText();
    }
    if (border) PaintExtendedBorder(borderPaintsFrame);
    if (caption != 0 && DrawNonClientArea) {
      SaveTitleBg(true);
      caption_buttons_->PaintTitleButtons();
    }
    FirstPaint = false;
    SkinData->BGChanged = false;

    // The form's own painting goes into the client part of the image.
    if (Form->OnPaint && SkinData->IsCached()) {
      vcl::TCanvas* canvas = Form->Canvas();
      canvas->Lock();
      const HDC saved = canvas->CurrentHandle();
      POINT origin{};
      SetWindowOrgEx(dc, -OffsetX(), -OffsetY(), &origin);
      canvas->SetHandle(dc);
      Form->OnPaint(Form);
      canvas->SetHandle(saved);
      SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
      canvas->Unlock();
    }
  }
  SkinData->RepaintChildren(Form, vcl::TPoint(OffsetX(), OffsetY()));
  FirstPaintDone = true;
  SkinData->BGChanged = false;
  SkinData->Updating = false;
  return true;
}

void TsSkinProvider::PaintExtendedBorder(bool PaintsFrame) {
  TsSkinManager* manager = SkinManager();
  vcl::TBitmap* image = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!DrawExtendedBorder(image, manager, FormActive, PaintsFrame)) return;
  if (PaintsFrame) {
    PaintTitleBackground();
    PaintTitleIcon();
    caption_text_->PaintCaptionText();
    return;
  }
  // The frame's own corners over the shadow where the form's border image leaves them open.
  const TsLoadedSkin& skin = manager->Skin();
  const int mask = SkinData->BorderIndex;
  if (!skin.IsValidImgIndex(mask)) return;
  const vcl::TRect s = ShadowSize();
  const int w = skin.MaskWidthLeft(mask), h = skin.MaskWidthTop(mask);
  const int r = skin.MaskWidthRight(mask), b = skin.MaskWidthBottom(mask);
  const int right = image->Width() - s.Right, bottom = image->Height() - s.Bottom;
  // The shadow whole, under the corners' transparent parts.
  std::unique_ptr<vcl::TBitmap> back = CreateBmp32(image->Width(), image->Height());
  DrawExtendedBorder(back.get(), manager, FormActive, true);
  auto corner = [&](const vcl::TRect& at, int kind) {
    if (!at.IsEmpty()) PaintMaskPart(image, back.get(), at, at.TopLeft(), mask, &skin, kind);
  };
  corner(vcl::Rect(s.Left, s.Top, s.Left + w, s.Top + h), kPieceTopLeft);
  corner(vcl::Rect(right - r, s.Top, right, s.Top + h), kPieceTopRight);
  corner(vcl::Rect(s.Left, bottom - b, s.Left + w, bottom), kPieceBottomLeft);
  corner(vcl::Rect(right - r, bottom - b, right, bottom), kPieceBottomRight);
}

void TsSkinProvider::PaintTitleBackground() {
  TsSkinManager* manager = SkinManager();
  vcl::TBitmap* image = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!manager || !image || CaptionHeight(true) == 0 || !DrawNonClientArea) return;
  const TsLoadedSkin& skin = manager->Skin();
  const vcl::TRect shadow = ShadowSize();
  const int title = GetTitleSkinIndex();
  const vcl::TRect r = vcl::Rect(shadow.Left, shadow.Top, ImageWidth() - shadow.Right, caption_buttons_->TitleBottom);
  if (skin.IsValidSkinIndex(title)) {
    PaintItemBg(title, ImageBehind(image), CaptionStateOf(skin, title, FormActive), r, r.TopLeft(), image, &skin);
  } else {
    // No title section: the band shows the form's own face, as a see-through title would (a
    // plain body leaves the band to the title).
    TqvCacheInfo face;
    face.FillColor = static_cast<TColorValue>(vcl::ColorToRGB(FormColor()));
    PaintSection(SkinData->SkinIndex, face, 0, r, r.TopLeft(), image, &skin, SkinData->Texture, SkinData->HotTexture);
  }
  if (SysButtonsCount() == 0) return;
  // The skin's backdrop of the button block.
  const int bar = skin.GetMaskIndex(SkinData->SkinIndex, L"FORM", L"TITLEBAR");
  if (!skin.IsValidImgIndex(bar)) return;
  const int right = ImageWidth() - shadow.Right;
  const vcl::TRect place = vcl::Rect(right - TitleBarWidth(bar), shadow.Top, right, caption_buttons_->TitleBottom);
  DrawSkinRect(image, place, ImageBehind(image), skin.Images[static_cast<std::size_t>(bar)], FormActive ? 1 : 0, true);
}

void TsSkinProvider::PaintMenuItems() {
  TsSkinManager* manager = SkinManager();
  vcl::TBitmap* image = SkinData ? SkinData->CacheBmp() : nullptr;
  auto* menu = dynamic_cast<vcl::TMainMenu*>(Form->Menu());
  if (!manager || !image || !menu || !HasMenuLine() || !MenuVisible() || MenuHeight() <= 0 || !DrawNonClientArea ||
      !manager->SkinnedPopups() || !Form->HandleAllocated())
    return;
  const TsLoadedSkin& skin = manager->Skin();
  const HWND wnd = Form->Handle();
  const vcl::TRect shadow = ShadowSize();
  const int frame = SysBorderWidth(wnd, ExtBorderForm(), true);
  const int lines = std::max(1, MenuLinesCount());
  const int top = caption_buttons_->TitleBottom;
  const vcl::TRect strip =
      vcl::Rect(frame + shadow.Left, top, ImageWidth() - frame - shadow.Right, top + lines * MenuHeight() + 1);

  int section = menu_line_skin_.empty() ? kNoIndex : skin.GetSkinIndex(menu_line_skin_);
  if (section < 0) section = skin.GetSkinIndex(L"MENULINE");
  if (skin.IsValidSkinIndex(section))
    PaintItemBg(section, ImageBehind(image), 0, strip, strip.TopLeft(), image, &skin);
  if (!MenuLineBmp) MenuLineBmp = CreateBmp32(0, 0);
  MenuLineBmp->SetSize(std::max(0, strip.Width()), lines * MenuHeight());
  BitBlt(MenuLineBmp->Canvas()->Handle(), 0, 0, strip.Width(), lines * MenuHeight(), image->Canvas()->Handle(),
         strip.Left, strip.Top, SRCCOPY);

  const HMENU bar = GetMenu(wnd);
  // Under the border window the image lies further up than the form's window by the skin's
  // taller caption: the system's menu bar row is the image's menu line.
  auto imageRect = [&](const RECT& r) {
    const vcl::TPoint at = ImagePointOf(vcl::TPoint(r.left, r.top));
    return vcl::Rect(at.X, at.Y, at.X + (r.right - r.left), at.Y + (r.bottom - r.top));
  };
  // The library's item at a place of the bar (a merged MDI child's among them); nil for an
  // item the system put there.
  auto* childMenu = Form->FormStyle() == vcl::fsMDIForm && Form->ActiveMDIChild()
                       ? dynamic_cast<vcl::TMenu*>(Form->ActiveMDIChild()->Menu())
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
  if (MDIProvider() == this)
    if (vcl::TCustomForm* child = Form->ActiveMDIChild(); child && child->HandleAllocated() &&
                                                          IsZoomed(child->Handle()) &&
                                                          child->BorderIcons().Contains(vcl::biSystemMenu)) {
      HICON icon = child->Icon() && !child->Icon()->Empty() ? child->Icon()->Handle() : nullptr;
      if (!icon && vcl::Application) icon = vcl::Application->IconHandle();
      if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
      int size = MenuHeight() - 2;
      vcl::TRect slot = vcl::Rect(left, top, left + size + 2, top + size + 2);
      RECT first{};
      if (count > 0 && !libraryItem(0) && GetMenuItemRect(wnd, bar, 0, &first)) {
        slot = imageRect(first);
        size = std::max(1, std::min(size, std::min(slot.Width(), slot.Height())));
      }
      DrawIconEx(image->Canvas()->Handle(), slot.Left + (slot.Width() - size) / 2, slot.Top + (slot.Height() - size) / 2,
                 icon, size, size, 0, nullptr, DI_NORMAL);
      left = slot.Right;
    }

  const vcl::TOwnerDrawState state = vcl::TOwnerDrawState::FromInt(kMenuLineImageState);
  for (int position = 0; position < count; ++position) {
    vcl::TMenuItem* item = libraryItem(position);
    RECT r{};
    if (!item || !item->Visible() || !GetMenuItemRect(wnd, bar, static_cast<UINT>(position), &r)) continue;
    const vcl::TRect place = imageRect(r);
    if (place.Left < left) continue;
    if (!item->OnAdvancedDrawItem && manager->SkinableMenus()) {
      menus_prepared_ = false;
      PrepareMenus();
    }
    if (item->OnAdvancedDrawItem) {
      item->OnAdvancedDrawItem(item, image->Canvas(), place, state);
    } else {
      // Without the skinned menu painter the caption is written in the menu line's colours.
      vcl::TCanvas* canvas = image->Canvas();
      canvas->Font()->Assign(vcl::Screen ? vcl::Screen->MenuFont() : caption_text_->CaptionFont());
      SetBkMode(canvas->Handle(), TRANSPARENT);
      WriteSkinText(canvas, item->Caption(), item->Enabled(), manager, 0, section,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, place);
    }
  }
}

void TsSkinProvider::SaveTitleBg(bool AllLines) {
  vcl::TBitmap* image = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!image || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  const vcl::TRect shadow = ShadowSize();
  const int frame = SysBorderWidth(wnd, ExtBorderForm(), true);
  const int width = frame + caption_buttons_->ButtonsBlockWidth() + 10 + shadow.Right;
  const int height = frame + CaptionHeight(true) + frame + (AllLines ? MenuHeight() : 0) + shadow.Top;
  if (!TitleBgBmp) TitleBgBmp = CreateBmp32(0, 0);
  TitleBgBmp->SetSize(std::max(0, width), std::max(0, height));
  BitBlt(TitleBgBmp->Canvas()->Handle(), 0, 0, width, height, image->Canvas()->Handle(), ImageWidth() - width - 1, 0,
         SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// The frame on the window

void TsSkinProvider::PaintNonClient() {
  if (!DrawNonClientArea || !SkinData || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  if (resize_mode_ == rmBorder && AeroIsEnabled()) resize_mode_ = rmStandard;
  TsSkinProvider* frameProvider = MDIProvider();
  if (Form->FormStyle() == vcl::fsMDIChild && frameProvider && frameProvider != this && frameProvider->Form)
    if (vcl::TCustomForm* active = frameProvider->Form->ActiveMDIChild();
        active && active != Form && active->HandleAllocated() && IsZoomed(active->Handle()))
      return;
  PrepareMenus();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Width() == 0) SkinData->BGChanged = true;
  if (SkinData->BGChanged && !PaintAllImage()) return;

  const bool borderless = Form->BorderStyle() == vcl::TFormBorderStyle::bsNone &&
                          !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD);
  if (!SettingRgn && RgnChanged) {
    if (borderless && !HasThickFrame(wnd) && !IsIconic(wnd)) {
      SetWindowRgn(wnd, nullptr, TRUE);
      RgnChanged = false;
    } else {
      if (IsIconic(wnd) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW)) return;
      if (!ExtBorderForm()) UpdateRgnRects();
      RgnChanged = false;
      const bool repaint = !Form->Showing() || Form->Position() == vcl::poDefault || IsZoomed(wnd);
      UpdateFormRgn(repaint && !AnimationActive());
      if (repaint && !AnimationActive() && !SkinData->BGChanged) {
        SettingRgn = false;
        return;
      }
    }
  }
  SkinData->Updating = false;
  HDC dc = GetWindowDC(wnd);
  const int saved = SaveDC(dc);
  vcl::TBitmap* image = SkinData->CacheBmp();
  HDC src = image->Canvas()->Handle();
  if (TqvBorderForm* border = ExtBorderForm()) {
    // The border window shows the frame and caption: only the form's own parts are copied.
    const vcl::TRect shadow = ShadowSize();
    const int f = SysBorderWidth(wnd, nullptr, false);
    const int b = Form->BorderWidth();
    const int m = HasMenuLine() && MenuVisible() ? MenuLinesCount() * MenuHeight() + 1 : 0;
    // The window keeps the system's caption: its menu bar lies below that, not below the skin's.
    const int y0 = CaptionHeight(false) + f - (MaxBorderLarge ? 4 : 0);
    const int clientTop = y0 + m + b;
    const int width = image->Width(), height = image->Height();
    BitBlt(dc, f, y0, width - shadow.Left - shadow.Right, m + b, src, SysBorderWidth(wnd, border, true) + shadow.Left,
           OffsetY() - m - b, SRCCOPY);
    if (b > 0) {
      const int formWidth = Form->Width(), formHeight = Form->Height();
      BitBlt(dc, f, clientTop, b, formHeight - f, src, OffsetX() - b, OffsetY(), SRCCOPY);
      BitBlt(dc, b + f, formHeight - b - f, formWidth - 2 * b - f, b, src, BorderWidthSys() + shadow.Left,
             height - BorderWidthSys() - shadow.Bottom, SRCCOPY);
      BitBlt(dc, formWidth - b - f, clientTop, b, height - f, src, width - BorderWidthSys() - shadow.Right, OffsetY(),
             SRCCOPY);
    }
  } else if (borderless && HasThickFrame(wnd) && !IsIconic(wnd)) {
    const int strip = BorderWidthSys() + 3;
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
  SettingRgn = false;
}

// ---------------------------------------------------------------------------------------
// The client background

void TsSkinProvider::PaintFormBg(HDC DC) {
  if (!SkinData || !Form->HandleAllocated()) return;
  SkinData->Updating = false;
  if (Form->FormStyle() == vcl::fsMDIChild && IsZoomed(Form->Handle()))
    if (TsSkinProvider* frame = MDIProvider(); frame && frame->Form && frame->Form->ActiveMDIChild() != Form) return;
  PaintClient(DC, true);
  if (GripVisible()) {
    POINT origin{};
    SetWindowOrgEx(DC, OffsetX(), OffsetY(), &origin);
    PaintGrip(DC);
    SetWindowOrgEx(DC, origin.x, origin.y, nullptr);
  }
  Form->PaintControls(DC, nullptr);
}

void TsSkinProvider::PaintFormWM(HDC DC) {
  const HWND wnd = Form->Handle();
  const bool printing = Printing;
  if (Form->ComponentState().Contains(vcl::csReading) || printing) {
    PAINTSTRUCT ps{};
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = DC;
  const bool own = !DC;
  if (own) dc = BeginPaint(wnd, &ps);
  vcl::TCanvas* canvas = Form->Canvas();
  canvas->Lock();
  if (Form->FormStyle() != vcl::fsMDIChild || !IsZoomed(wnd) || !MDIProvider() || !MDIProvider()->Form ||
      MDIProvider()->Form->ActiveMDIChild() == Form)
    PaintFormBg(dc);
  canvas->Unlock();
  if (own) EndPaint(wnd, &ps);
}

}  // namespace skin_layered
