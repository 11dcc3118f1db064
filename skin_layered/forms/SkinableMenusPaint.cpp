// The menu painter's drawing: popup items (normal items, dividers, captions) over the popup's
// background with the popup window's border, and the items of a form's menu line over the
// provider's window image. Each item is composed in a 32-bit picture of its own and copied
// to the menu's canvas at once.
#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/rtl/SysInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/forms/WindowImageParts.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinManagerStartup.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {
namespace {

constexpr UINT kAlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
constexpr vcl::TColor kNoSectionLineColor = 0x808080;
// The spaces a caption beginning with character 8 gets at its end (it is right-aligned).
constexpr wchar_t kRightAlignMark = 8;
constexpr wchar_t kRightAlignPadding[] = L"      ";

bool Destroying(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDestroying); }

// Where the popup window's client area lies in the window (and so in its background).
vcl::TPoint ClientOffset(HWND Wnd, int Default) {
  RECT window{};
  POINT origin{0, 0};
  if (!Wnd || !GetWindowRect(Wnd, &window) || !ClientToScreen(Wnd, &origin)) return {Default, Default};
  return {origin.x - window.left, origin.y - window.top};
}

int FirstVisibleIndex(const vcl::TMenuItem* Parent) {
  for (int i = 0; i < Parent->Count(); ++i)
    if (Parent->Items(i)->Visible()) return i;
  return -1;
}

int LastVisibleIndex(const vcl::TMenuItem* Parent) {
  for (int i = Parent->Count() - 1; i >= 0; --i)
    if (Parent->Items(i)->Visible()) return i;
  return -1;
}

// Copies Source's pixels at (SrcX, SrcY) to R of the DC.
void CopyFrom(HDC Dest, const vcl::TRect& R, vcl::TBitmap* Source, int SrcX, int SrcY) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  BitBlt(Dest, R.Left, R.Top, R.Width(), R.Height(), Source->Canvas()->Handle(), SrcX, SrcY, SRCCOPY);
}

const TsGeneralData* SectionOf(const TsSkinManager* Manager, int Index) {
  return Manager->IsValidSkinIndex(Index) ? &Manager->Skin().Sections[static_cast<std::size_t>(Index)] : nullptr;
}

// A picture's glyph drawn into a 32-bit bitmap: by its alpha when it is 32-bit.
void DrawItemBitmap(vcl::TBitmap* Target, vcl::TBitmap* Glyph, int X, int Y) {
  if (Glyph->PixelFormat() == vcl::pf32bit) {
    CopyTransBitmaps(vcl::TRect{X, Y, X + Glyph->Width(), Y + Glyph->Height()},
                     vcl::TRect{0, 0, Glyph->Width(), Glyph->Height()}, Target, false, 0, vcl::clNone, false,
                     kEmptyCacheInfo, Glyph);
  } else {
    Target->Canvas()->Draw(X, Y, Glyph);
  }
}

// The disabled look: what lies behind (Behind at (X, Y)) shows through the picture.
void BlendDisabled(vcl::TBitmap* Picture, vcl::TBitmap* Behind, int X, int Y) {
  BlendRect(Picture, 0, 0, kKeyColor, 1.0 - DefDisabledBlend,
            vcl::TRect{X, Y, X + Picture->Width() - 1, Y + Picture->Height() - 1}, Behind);
}

// The system glyph of a skinned system menu's command, in the symbol font.
const wchar_t* SystemGlyph(intptr_t Command) {
  switch (Command) {
    case SC_MINIMIZE: return L"0";
    case SC_MAXIMIZE: return L"1";
    case SC_RESTORE: return L"2";
    case SC_CLOSE: return L"r";
    default: return nullptr;
  }
}

// The text's first word between caption marks ("-Files-" gives "Files").
vcl::String CaptionWord(const vcl::String& Caption) {
  const wchar_t mark = CaptionMarkChar();
  auto isMark = [&](wchar_t c) { return c == L'-' || c == mark; };
  std::size_t start = 0;
  while (start < Caption.size() && isMark(Caption[start])) ++start;
  std::size_t end = start;
  while (end < Caption.size() && !isMark(Caption[end])) ++end;
  return Caption.substr(start, end - start);
}

// The form whose menu line shows the item.
vcl::TCustomForm* MenuLineForm(vcl::TMenuItem* Item) {
  if (const vcl::TMenu* menu = Item->GetParentMenu(); menu && menu->WindowHandle())
    if (auto* form = dynamic_cast<vcl::TCustomForm*>(vcl::FindControl(menu->WindowHandle()))) return form;
  return GetOwnerForm(Item);
}

TsSkinProvider* ProviderOf(vcl::TCustomForm* Form) {
  if (!Form || !Form->HandleAllocated()) return nullptr;
  try {
    return reinterpret_cast<TsSkinProvider*>(SendCommandToWnd(Form->Handle(), scmGetProvider, 0));
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Popup items

void TsSkinableMenus::PostRegionRequest(vcl::TMenuItem* Item) {
  if (!vcl::Application || !vcl::Application->Handle()) return;
  HWND app = vcl::Application->Handle();
  vcl::TMenuItem* parent = Item->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  MSG queued{};
  if (PeekMessageW(&queued, app, kMenuItemPopupMessage, kMenuWindowPopupMessage, PM_NOREMOVE)) return;
  PostMessageW(app, kMenuItemPopupMessage, reinterpret_cast<WPARAM>(parent->Handle()), Item->Command());
}

void TsSkinableMenus::PaintPopupBorder(vcl::TMenuItem* Item, HWND Wnd, const vcl::TRect& R, vcl::TBitmap* Bg,
                                       vcl::TPoint Client, int ExtraWidth) {
  HDC dc = GetWindowDC(Wnd);
  if (!dc) return;
  const int w = Bg->Width(), h = Bg->Height(), b = border_width_;
  const vcl::TMenuItem* parent = Item->Parent();
  const int index = parent->IndexOf(Item);
  if (index == FirstVisibleIndex(parent)) {
    CopyFrom(dc, vcl::TRect{0, 0, w, b}, Bg, 0, 0);
    CopyFrom(dc, vcl::TRect{0, 0, ExtraWidth + std::max(b, SkinBorderWidth()), h}, Bg, 0, 0);
  }
  if (index == LastVisibleIndex(parent)) CopyFrom(dc, vcl::TRect{0, h - b, w, h}, Bg, 0, h - b);
  CopyFrom(dc, vcl::TRect{w - b, R.Top + Client.Y, w, R.Bottom + Client.Y}, Bg, w - b, R.Top + Client.Y);
  ReleaseDC(Wnd, dc);
}

void TsSkinableMenus::PaintDivider(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, const vcl::TRect& R,
                                   vcl::TBitmap* Bg, vcl::TPoint Client, int ExtraWidth) {
  if (!Bg) return;
  const TsLoadedSkin& skin = manager_->Skin();
  vcl::TRect d{0, 0, R.Width(), R.Height()};
  const TqvMenuSupport* support = MenuSupportOf(manager_);
  const TsGeneralData* icoLine = support ? SectionOf(manager_, skin.GetSkinIndex(support->IcoLineSkin())) : nullptr;
  const bool seeThroughLine =
      icoLine && icoLine->Props[0].Transparency >= 100 && !skin.IsValidImgIndex(icoLine->BorderIndex);
  if (icoLine && !seeThroughLine) {
    vcl::TMenuItem* first = Item->Parent()->Items(0);
    const int lineWidth = margin_ + MenuGlyphSize(first).cx + spacing_;
    d.Left = std::max(ExtraWidth + margin_ + spacing_, ExtraWidth + lineWidth + 2);
    d.Right -= ExtraWidth + 2 * margin_ + spacing_;
  } else {
    d.Left = std::max(ExtraWidth + margin_, ExtraWidth + 2);
    d.Right -= ExtraWidth + 2 * margin_;
  }
  const int image = skin.FindImageByNames(kDividerSection, kBordersMask);
  HDC dc = ACanvas->Handle();
  if (!skin.IsValidImgIndex(image)) {
    CopyFrom(dc, R, Bg, R.Left + Client.X, R.Top + Client.Y);
    if (d.Right > d.Left) {
      HBRUSH line = CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(vcl::clBtnShadow)));
      const RECT r{R.Left + d.Left, R.Top, R.Left + d.Right, R.Top + 1};
      FillRect(dc, &r, line);
      DeleteObject(line);
    }
    return;
  }
  auto picture = CreateBmp32(R.Width(), R.Height());
  CopyFrom(picture->Canvas()->Handle(), vcl::TRect{0, 0, R.Width(), R.Height()}, Bg, R.Left + Client.X,
           R.Top + Client.Y);
  TqvCacheInfo behind;
  MakeCacheInfo(picture.get(), 0, 0, behind);
  if (d.Right > d.Left) DrawSkinRect(picture.get(), d, behind, skin.Images[static_cast<std::size_t>(image)], 0, true);
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), picture->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::PaintCaption(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, const vcl::TRect& R,
                                   vcl::TBitmap* Bg, vcl::TPoint Client, int ExtraWidth) {
  if (!Bg || R.Width() <= 0 || R.Height() <= 0) return;
  const TsLoadedSkin& skin = manager_->Skin();
  const int w = R.Width(), h = R.Height();
  auto picture = CreateBmp32(w, h);
  CopyFrom(picture->Canvas()->Handle(), vcl::TRect{0, 0, w, h}, Bg, R.Left + Client.X, R.Top + Client.Y);
  int section = skin.GetSkinIndex(kMenuCaptionSection);
  if (!skin.IsValidSkinIndex(section)) section = skin.GetSkinIndex(kMenuCaptionFallback);
  const vcl::TRect inner{ExtraWidth + 1, 1, w - 1, h - 1};
  if (skin.IsValidSkinIndex(section) && inner.Width() > 0 && inner.Height() > 0) {
    TqvCacheInfo behind;
    MakeCacheInfo(picture.get(), 0, 0, behind);
    PaintItemBg(section, behind, 0, inner, inner.TopLeft(), picture.get(), &skin);
  }
  vcl::TCanvas* canvas = picture->Canvas();
  if (vcl::TFont* global = GlobalMenuFont()) {
    canvas->Font()->Assign(global);
    if (vcl::TCustomForm* form = GetOwnerForm(Item)) canvas->Font()->SetCharset(form->Font()->Charset());
  } else if (caption_font_) {
    canvas->Font()->Assign(caption_font_.get());
  } else if (vcl::Screen && vcl::Screen->MenuFont()) {
    canvas->Font()->Assign(vcl::Screen->MenuFont());
  }
  const vcl::TRect text{ExtraWidth, margin_ + 2, w, h - margin_ - 2};
  WriteSkinText(canvas, CaptionWord(Item->Caption()), Item->Enabled(), manager_, 0, section,
                DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_HIDEPREFIX, text);
  BitBlt(ACanvas->Handle(), R.Left, R.Top, w, h, canvas->Handle(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::PopupDraw(vcl::TObject* Sender, vcl::TCanvas* ACanvas, vcl::TRect ARect,
                                vcl::TOwnerDrawState State) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || !ACanvas || Destroying(item) || !item->Parent() || !manager_ || !manager_->Active()) return;
  const bool rtl = MenuRightToLeft(item);
  const int factor = InFirstMenuColumn(item) ? 1 : 0;
  // A control left hot under the menu stops being hot.
  if (manager_->HotControl()) manager_->SetHotControl(nullptr);

  ACanvas->Lock();
  const vcl::TScopeExit unlock([ACanvas] { ACanvas->Unlock(); });
  HDC dc = ACanvas->Handle();
  HWND wnd = IsNTPlatform() ? WindowFromDC(dc) : nullptr;
  const TqvMenuInfo info = GetMenuInfo(*this, item, wnd, ACanvas);
  vcl::TBitmap* bg = info.Bmp.get();
  const int extraWidth = info.ExtraLine ? ExtraLineWidthOf(manager_) : 0;
  const int elw = extraWidth * factor;
  const vcl::TPoint client = ClientOffset(wnd, border_width_);
  if (wnd && bg)
    PaintPopupBorder(item, wnd, ARect, bg, client, elw);
  else if (!wnd)
    PostRegionRequest(item);

  switch (MenuItemType(item)) {
    case smDivider:
      current_type_ = smDivider;
      PaintDivider(item, ACanvas, ARect, bg, client, elw);
      return;
    case smCaption:
      current_type_ = smCaption;
      PaintCaption(item, ACanvas, ARect, bg, client, elw);
      return;
    default: current_type_ = smNormal; break;
  }
  if (!bg) return;
  const TsLoadedSkin& skin = manager_->Skin();
  const int itemSection = skin.GetSkinIndex(kMenuItemSection);
  const TsGeneralData* itemData = SectionOf(manager_, itemSection);

  // The edges of columns.
  vcl::TMenuItem* parent = item->Parent();
  const int index = parent->IndexOf(item);
  const bool last = index == parent->Count() - 1;
  const int clientHeight = bg->Height() - 2 * client.Y;
  if (!last && item->Break() == vcl::mbBarBreak) {
    HBRUSH line = CreateSolidBrush(static_cast<COLORREF>(
        vcl::ColorToRGB(itemData ? itemData->Props[0].FontColor : kNoSectionLineColor)));
    const RECT r{ARect.Left, 0, ARect.Left + 1, clientHeight};
    FillRect(dc, &r, line);
    DeleteObject(line);
  }
  const bool nextStartsColumn = !last && parent->Items(index + 1)->Break() != vcl::mbNone;
  if (nextStartsColumn || (last && ARect.Bottom < clientHeight - 6))
    CopyFrom(dc, vcl::TRect{ARect.Left, ARect.Bottom, ARect.Right, clientHeight}, bg, ARect.Left + client.X,
             ARect.Bottom + client.Y);
  if (index > 0 && item->Break() != vcl::mbNone)
    CopyFrom(dc, vcl::TRect{ARect.Left - 4, 0, ARect.Left, clientHeight}, bg, ARect.Left - 4 + client.X, client.Y);

  // The item's own picture over the popup's background.
  const int w = std::max(ARect.Width() - elw, 0), h = ARect.Height();
  if (w <= 0 || h <= 0) return;
  const bool enabled = item->Enabled();
  const bool selected = State.Contains(vcl::odSelected);
  const bool active = enabled && (selected || State.Contains(vcl::odHotLight));
  const vcl::TPoint place{ARect.Left + elw + client.X, ARect.Top + client.Y};
  auto picture = CreateBmp32(w, h);
  vcl::TCanvas* canvas = picture->Canvas();
  CopyFrom(canvas->Handle(), vcl::TRect{0, 0, w, h}, bg, place.X, place.Y);
  TqvCacheInfo behind;
  MakeCacheInfo(bg, place.X, place.Y, behind);
  if (itemData) PaintItemBg(itemSection, behind, enabled && selected ? 1 : 0, {0, 0, w, h}, {0, 0}, picture.get(), &skin);
  // Without the item's section the system's selection bar shows the selected item.
  const bool systemSelection = !itemData && enabled && selected;
  if (systemSelection) DrawSystemSelection(picture.get(), {0, 0, w, h});
  TqvCacheInfo self;
  MakeCacheInfo(picture.get(), 0, 0, self);

  // The check mark, the glyph or the system glyph.
  vcl::TBitmap* glyph = item->Bitmap();
  const bool hasGlyph = glyph && !glyph->Empty();
  vcl::TCustomImageList* images = item->GetImageList();
  const bool hasImage = images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count();
  if (item->Checked() && !hasGlyph && !hasImage) {
    int check = skin.ConstData.CheckBox[1];
    if (!skin.IsValidImgIndex(check)) check = skin.FindImageByNames(kGlobalInfoSection, kCheckBoxNames[1]);
    if (skin.IsValidImgIndex(check)) {
      const TsMaskData& mark = skin.Images[static_cast<std::size_t>(check)];
      const int markWidth = MaskImageWidth(mark);
      const vcl::TPoint at{rtl ? w - 2 - markWidth : 2, (h - MaskImageHeight(mark)) / 2};
      DrawSkinGlyph(picture.get(), at, enabled && selected ? 1 : 0, 1, mark, self);
    } else {
      const int left = rtl ? w - 2 - kSystemCheckSize : 2;
      DrawSystemCheck(picture.get(), {left, 0, left + kSystemCheckSize, h}, false, 1, 0, enabled);
    }
  }
  if (hasGlyph || hasImage) {
    const int gw = hasGlyph ? glyph->Width() : images->Width();
    const int gh = hasGlyph ? glyph->Height() : images->Height();
    const int top = (h - gh) / 2;
    const int offset = std::min(3, top);
    const int left = rtl ? w - offset - gw : offset;
    if (item->Checked()) {
      const int pressed = skin.GetSkinIndex(kCheckedGlyphSection);
      const vcl::TRect around{left - 1, top - 1, left + gw + 1, top + gh + 1};
      if (skin.IsValidSkinIndex(pressed) && around.Left >= 0 && around.Top >= 0)
        PaintItemBg(pressed, self, 2, around, around.TopLeft(), picture.get(), &skin);
    }
    if (hasGlyph)
      DrawItemBitmap(picture.get(), glyph, left, top);
    else
      images->Draw(canvas, left, top, item->ImageIndex(), enabled);
  } else if (const vcl::TMenu* menu = item->GetParentMenu();
             menu && menu->Name().starts_with(kSysMenuNamePrefix) && SystemGlyph(item->Tag())) {
    canvas->Font()->SetName(L"Webdings");
    canvas->Font()->SetSize(10);
    canvas->Font()->SetStyle({});
    canvas->Font()->SetCharset(SYMBOL_CHARSET);
    const int th = canvas->TextHeight(L"0");
    vcl::TRect r{4, (h - th) / 2, th + 14, (h - th) / 2 + th};
    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (rtl) {
      r = {w - 4 - th, r.Top, w - 4, r.Bottom};
      flags |= DT_RIGHT;
    }
    WriteSkinText(canvas, SystemGlyph(item->Tag()), enabled, manager_, active ? 1 : 0, itemSection, flags, r);
  }

  // The caption and the shortcut.
  bool ownColor = PrepareFont(item, canvas, State);
  if (systemSelection) {
    canvas->Font()->SetColor(SystemSelectionTextColor());
    ownColor = true;
  }
  if (State.Contains(vcl::odDefault)) canvas->Font()->SetStyle(canvas->Font()->Style() + vcl::TFontStyles{vcl::fsBold});
  const vcl::TSize glyphSize = MenuGlyphSize(item);
  vcl::TRect text{0, 0, w, h};
  if (rtl)
    text.Right -= glyphSize.cx + 2 * margin_ + spacing_;
  else
    text.Left += glyphSize.cx + 2 * margin_ + spacing_;
  text.Top += 1 + margin_;
  text.Bottom -= margin_;
  vcl::String caption = item->Caption();
  vcl::String tabPart;
  UINT align = kAlignmentFlags[static_cast<int>(alignment_)];
  if (const auto tab = caption.find(L'\t'); tab != vcl::String::npos) {
    tabPart = caption.substr(tab + 1);
    caption.resize(tab);
    align = DT_LEFT;
  } else if (!caption.empty() && caption.front() == kRightAlignMark) {
    caption = caption.substr(1) + kRightAlignPadding;
    align = DT_RIGHT;
  }
  UINT flags = DT_EXPANDTABS | DT_VCENTER | DT_NOCLIP | align |
               (caption.find(L'\r') != vcl::String::npos ? DT_WORDBREAK : DT_SINGLELINE);
  if (rtl) flags |= DT_RIGHT | DT_RTLREADING;
  if (State.Contains(vcl::odNoAccel)) flags |= DT_HIDEPREFIX;
  auto write = [&](const vcl::String& Text, const vcl::TRect& R, UINT Flags) {
    if (!ownColor) return WriteSkinText(canvas, Text, enabled, manager_, active ? 1 : 0, itemSection, Flags, R);
    canvas->Brush()->SetStyle(vcl::bsClear);
    RECT r = R;
    DrawTextW(canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r, Flags);
  };
  write(caption, text, flags);
  const vcl::String shortcut = vcl::ShortCutToText(item->ShortCut());
  if (!shortcut.empty()) {
    const int tw = canvas->TextWidth(shortcut);
    const vcl::TRect r{rtl ? 6 : w - tw - 8, text.Top, w - 8, text.Bottom};
    write(shortcut, r, DT_VCENTER | DT_SINGLELINE);
  }
  if (!tabPart.empty()) write(tabPart, vcl::TRect{text.Left, text.Top, w - 8, text.Bottom}, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);

  if (OnDrawItem) OnDrawItem(item, canvas, vcl::TRect{0, 0, w, h}, State, smNormal);
  if (!enabled) BlendDisabled(picture.get(), bg, place.X, place.Y);
  BitBlt(dc, ARect.Left + elw, ARect.Top, w, h, canvas->Handle(), 0, 0, SRCCOPY);
  // The extra line over the first column, in one piece.
  if (index == 0 && elw > 0 && vcl::Win32MajorVersion() >= 6)
    BitBlt(dc, 0, 0, elw, bg->Height(), bg->Canvas()->Handle(), client.X, client.Y, SRCCOPY);
  picture.reset();
  if (item->OnDrawItem) item->OnDrawItem(item, ACanvas, ARect, selected);
}

// ---------------------------------------------------------------------------------------
// Menu-line items

void TsSkinableMenus::BarDraw(vcl::TObject* Sender, vcl::TCanvas* ACanvas, vcl::TRect ARect,
                              vcl::TOwnerDrawState State) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || !ACanvas || Destroying(item) || !manager_) return;
  current_type_ = smTopLine;
  const int w = ARect.Width(), h = ARect.Height();
  if (w <= 0 || h <= 0) return;
  vcl::TCustomForm* form = MenuLineForm(item);
  TsSkinProvider* provider = ProviderOf(form);
  if (!provider) provider = MDIProvider();
  if (provider && (!provider->Form || !provider->Form->HandleAllocated())) provider = nullptr;
  if (!form && provider) form = provider->Form;
  const TsLoadedSkin& skin = manager_->Skin();
  int lineSection = provider && !provider->MenuLineSkin().empty() ? skin.GetSkinIndex(provider->MenuLineSkin())
                                                                  : kNoIndex;
  if (!skin.IsValidSkinIndex(lineSection)) lineSection = skin.GetSkinIndex(kMenuLineSection);
  auto picture = CreateBmp32(w, h);
  vcl::TCanvas* canvas = picture->Canvas();

  // The item's place in the window image: (X, Y) from the menu line's origin.
  vcl::TBitmap* image = provider && provider->FormSkinned() ? provider->SkinData->CacheBmp() : nullptr;
  if (image && image->Empty()) image = nullptr;
  const TqvBorderForm* border = provider ? provider->ExtBorderForm() : nullptr;
  vcl::TPoint place{};
  if (image) {
    HWND wnd = provider->Form->Handle();
    const vcl::TRect shadow = provider->WindowImage().ShadowSize();
    const int caption = provider->Measures().CaptionHeight(true);
    int x = 0, y = 0;
    if (ACanvas == image->Canvas()) {
      x = ARect.Left - shadow.Left - SysBorderWidth(wnd, border, true);
      if (border) y = ARect.Top - caption - shadow.Top;
    } else {
      x = ARect.Left - SysBorderWidth(wnd, border, true) + BorderFormOffsetX(border);
      if (border)
        y = ARect.Top - caption + BorderFormOffsetY(border) + (provider->MaxBorderLarge ? 4 : 0);
    }
    if (!border)
      y = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION
              ? ARect.Top - SysCaptionHeight(form) - SysBorderWidth(wnd, nullptr, false)
              : 0;
    // (X, Y) count from the menu line's top left; that lies below the skin's caption under a
    // border form, else where the system's caption and frame end (the image is the window's).
    const int lineTop = border ? caption + shadow.Top : ARect.Top - y;
    place = {x + SysBorderWidth(wnd, border, true) + shadow.Left, y + lineTop};
    CopyFrom(canvas->Handle(), vcl::TRect{0, 0, w, h}, image, place.X, place.Y);
  } else if (skin.IsValidSkinIndex(lineSection)) {
    // No window image (the frame is the system's, or the form has no provider): the item
    // stands on the menu line's own section.
    PaintItemBg(lineSection, kEmptyCacheInfo, 0, {0, 0, w, h}, {0, 0}, picture.get(), &skin);
  } else {
    canvas->Brush()->SetColor(vcl::clMenu);
    canvas->FillRect(vcl::TRect{0, 0, w, h});
  }
  // Without the line's own section the items stand on the form's face (in the caption's
  // state), or on the system's menu bar: they write in the colours of what they stand on.
  const bool systemLine = !image && !skin.IsValidSkinIndex(lineSection);
  int lineState = 0;
  if (image && !skin.IsValidSkinIndex(lineSection)) {
    lineSection = provider->SkinData->SkinIndex;
    lineState = CaptionStateOf(skin, lineSection, provider->FormActive);
  }
  // What the disabled look lets show through.
  std::unique_ptr<vcl::TBitmap> lineOnly;
  if (!image) {
    lineOnly = CreateBmp32(w, h);
    BitBlt(lineOnly->Canvas()->Handle(), 0, 0, w, h, canvas->Handle(), 0, 0, SRCCOPY);
  }

  const bool enabled = item->Enabled();
  const bool active = enabled && (State.Contains(vcl::odSelected) || State.Contains(vcl::odHotLight));
  const int itemSection = skin.GetSkinIndex(kMenuItemSection);
  if (skin.IsValidSkinIndex(itemSection)) {
    TqvCacheInfo behind;
    MakeCacheInfo(picture.get(), 0, 0, behind);
    PaintItemBg(itemSection, behind, active ? 1 : 0, {0, 0, w, h}, {0, 0}, picture.get(), &skin);
  }
  // Without the item's section the system's selection bar shows the open item.
  const bool systemSelection = active && !skin.IsValidSkinIndex(itemSection);
  if (systemSelection) DrawSystemSelection(picture.get(), {0, 0, w, h});

  // The glyph.
  const bool rtl = vcl::SysLocale().MiddleEast && item->GetParentMenu() &&
                   item->GetParentMenu()->BiDiMode() == vcl::bdRightToLeft;
  int glyphWidth = 0;
  vcl::TBitmap* glyph = item->Bitmap();
  vcl::TCustomImageList* images = item->GetParentMenu() ? item->GetParentMenu()->Images() : nullptr;
  if (glyph && !glyph->Empty()) {
    glyphWidth = glyph->Width();
    vcl::TPoint at{rtl ? w - 3 - glyph->Width() : 3, (h - glyph->Height()) / 2};
    if (!enabled) at = {3, 1};
    canvas->Draw(at.X, at.Y, glyph);
  } else if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
    glyphWidth = images->Width();
    const vcl::TPoint at{rtl ? w - 3 - images->Width() : 3, (h - images->Height()) / 2};
    images->Draw(canvas, at.X, at.Y, item->ImageIndex(), true);
  }

  // The caption in the menu line's font and colours.
  ItemFont(item, canvas);
  if (systemLine) canvas->Font()->SetColor(vcl::clMenuText);
  if (State.Contains(vcl::odDefault)) canvas->Font()->SetStyle(canvas->Font()->Style() + vcl::TFontStyles{vcl::fsBold});
  vcl::TRect text{ARect.Left + margin_, ARect.Top, ARect.Right - margin_, ARect.Bottom};
  if (glyphWidth > 0) {
    if (rtl)
      text.Right -= glyphWidth + 3;
    else
      text.Left += glyphWidth + 3;
  }
  text.Offset(2 - (ARect.Left + margin_), -ARect.Top);
  UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP |
               kAlignmentFlags[static_cast<int>(alignment_)];
  if (form && form->UseRightToLeftReading()) flags |= DT_RTLREADING;
  if (State.Contains(vcl::odNoAccel)) flags |= DT_HIDEPREFIX;
  if (systemSelection) {
    canvas->Font()->SetColor(SystemSelectionTextColor());
    canvas->Brush()->SetStyle(vcl::bsClear);
    RECT r = text;
    DrawTextW(canvas->Handle(), item->Caption().c_str(), static_cast<int>(item->Caption().size()), &r, flags);
    if (border) FillAlphaRect(picture.get(), {0, 0, w, h}, 255);
  } else if (border) {
    AlphaWriteSkinText(picture.get(), item->Caption(), false, text, flags, lineSection, active || lineState > 0, &skin);
  } else {
    WriteSkinText(canvas, item->Caption(), enabled, manager_, active ? 1 : lineState, lineSection, flags, text);
  }

  if (OnDrawItem) OnDrawItem(item, canvas, vcl::TRect{0, 0, w, h}, State, smTopLine);
  if (!enabled) {
    if (image)
      BlendDisabled(picture.get(), image, place.X, place.Y);
    else
      BlendDisabled(picture.get(), lineOnly.get(), 0, 0);
  }
  BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, w, h, canvas->Handle(), 0, 0, SRCCOPY);
}

}  // namespace skin_layered
