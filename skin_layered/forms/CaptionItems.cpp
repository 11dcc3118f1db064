// The title bar component's items on a skinned form: the sections they are painted with, their
// places in the caption between the icon and the buttons, their painting into the window image
// (background from their section, then image, caption and drop-down arrow), the hit codes
// 2000 + index, presses and releases, the hot state with its fade, and the hint after a pause.
#include <algorithm>
#include <span>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/forms/CaptionItems.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/TitleItemAnimation.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SystemLook.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {
namespace {

// DT_SINGLELINE | DT_END_ELLIPSIS.
constexpr UINT kItemTextFlags = 0x8020;
// The fade of an item's change of state, when the manager animates buttons.
constexpr int kTitleItemFadeSteps = 5;
// Sections by style, then the fallbacks.
constexpr const wchar_t* kStyleSections[] = {L"TB_BTN", L"TB_MENUBTN", L"TB_TAB", nullptr, nullptr};

TqvCacheInfo Behind(vcl::TBitmap* Bmp) {
  TqvCacheInfo ci;
  MakeCacheInfo(Bmp, 0, 0, ci);
  return ci;
}

// Dst := the half-and-half mix of Dst and Src over R (both 32-bit, Src at R's top-left).
void MixHalf(vcl::TBitmap* Dst, vcl::TBitmap* Src, const vcl::TRect& R) {
  TPixelView d, s;
  if (!InitPixelView(Dst, d) || !InitPixelView(Src, s)) return;
  for (int y = 0; y < R.Height(); ++y)
    for (int x = 0; x < R.Width(); ++x) {
      if (!d.Contains(R.Left + x, R.Top + y) || !s.Contains(x, y)) continue;
      TPixel32& p = d.Row(R.Top + y)[R.Left + x];
      const TPixel32 q = s.Row(y)[x];
      TPixel32 mixed = p & 0xFF000000u;
      for (int shift : {0, 8, 16})
        mixed |= ((((p >> shift) & 0xFFu) + ((q >> shift) & 0xFFu)) / 2) << shift;
      p = mixed;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Sections and places

void TqvCaptionItems::InitTitleBarItems() {
  TsTitleBar* bar = host_.TitleBar();
  if (!bar) return;
  TsSkinManager* manager = host_.SkinManager();
  for (int i = 0; i < bar->Items()->Count(); ++i) {
    TqvTitleBarItem* item = bar->Items()->Items(i);
    // A fade's pictures and a hint belong to the skin read before.
    item->FreeAnimation();
    item->HideItemHint();
    if (!item->SkinData) item->SkinData = std::make_unique<TqvItemSkinData>();
    item->PaintHandler = TqvItemPaintEvent::Bind<&TqvCaptionItems::PaintTitleBarItem>(this);
    TqvItemSkinData& data = *item->SkinData;
    data.SkinIndex = kNoIndex;
    if (!manager) continue;
    if (!item->SkinSection().empty()) {
      data.Section = item->SkinSection();
      data.SkinIndex = manager->GetSkinIndex(data.Section);
      if (data.SkinIndex >= 0) continue;
    }
    const wchar_t* byStyle = kStyleSections[static_cast<int>(item->Style())];
    if (!byStyle) continue;
    data.Section = byStyle;
    data.SkinIndex = manager->GetSkinIndex(data.Section);
    if (data.SkinIndex >= 0) continue;
    if (item->Style() == bsButton) {
      data.Section = L"TOOLBUTTON";
      data.SkinIndex = manager->GetSkinIndex(data.Section);
    } else if (item->Style() == bsTab) {
      data.Section = L"TABTOP";
      data.SkinIndex = manager->GetSkinIndex(data.Section);
    }
  }
}

TsTitleBar* TqvCaptionItems::ShownTitleBar() const {
  // A minimised window's caption is too narrow for the bar's items: it shows its icon, its
  // text and its buttons.
  TsTitleBar* bar = host_.TitleBar();
  vcl::TCustomForm* form = host_.FrameProvider()->Form;
  return bar && !(form->HandleAllocated() && IsIconic(form->Handle())) ? bar : nullptr;
}

HWND TqvCaptionItems::HostWindow() const {
  const TsSkinProviderBase* provider = host_.FrameProvider();
  if (provider->BorderForm && provider->BorderForm->BorderWindow()) return provider->BorderForm->BorderWindow();
  return provider->Form->HandleAllocated() ? provider->Form->Handle() : nullptr;
}

void TqvCaptionItems::ArrangeTitleBar(const vcl::TRect& Area, int Centre) {
  TitleBarArea = Area;
  TitleBarCentre = Centre;
  TsTitleBar* bar = host_.TitleBar();
  if (!bar) return;
  // Items at the left keep a gap from the icon.
  bool leftItems = false;
  for (int i = 0; i < bar->Items()->Count(); ++i)
    if (const TqvTitleBarItem* item = bar->Items()->Items(i); item->Visible() && item->Align() == tbaLeft)
      leftItems = true;
  if (host_.Measures().IconVisible() && leftItems) TitleBarArea.Left += 6;
  const HWND host = HostWindow();
  for (int i = 0; i < bar->Items()->Count(); ++i) bar->Items()->Items(i)->HostWnd = host;
  bar->AreaLeft = TitleBarArea.Left;
  bar->AreaRight = TitleBarArea.Right;
  bar->AreaTop = TitleBarArea.Top;
  bar->AreaBottom = TitleBarArea.Bottom;
  bar->AreaCentre = TitleBarCentre;
  bar->FullWidth = host_.WindowImage().ImageWidth();
  bar->Arrange();
}

// ---------------------------------------------------------------------------------------
// Painting

void TqvCaptionItems::PaintTitleBarItems(vcl::TBitmap* Image) {
  TsTitleBar* bar = host_.TitleBar();
  if (!bar || !Image) return;
  TqvTitleItems* items = bar->Items();
  if (items->Count() > 0 && (!items->Items(0)->SkinData || !items->Items(0)->PaintHandler)) InitTitleBarItems();
  const int width = host_.WindowImage().ImageWidth();
  // The pressed tabs last, so that they lie over their neighbours.
  for (const bool downTabs : {false, true})
    for (int i = items->Count() - 1; i >= 0; --i) {
      TqvTitleBarItem* item = items->Items(i);
      if (!item->Visible() || item->ItemRect.Left <= 0 || item->ItemRect.Right >= width) continue;
      if ((item->Style() == bsTab && item->Down()) != downTabs) continue;
      if (!item->SkinData) InitTitleBarItems();
      PaintTitleBarItem(item, item->ItemRect, Image);
    }
}

void TqvCaptionItems::PaintTitleBarItem(TqvTitleBarItem* Item, vcl::TRect R, vcl::TBitmap* Bmp) {
  TsSkinManager* manager = host_.SkinManager();
  if (!manager || !Item || !Bmp || Item->Style() == bsSpacing) return;
  const TsLoadedSkin& skin = manager->Skin();
  // A picture of the item alone (a fade's) starts from the caption under it.
  const TsSkinProviderBase* provider = host_.FrameProvider();
  vcl::TBitmap* image = provider->SkinData ? provider->SkinData->CacheBmp() : nullptr;
  if (image && Bmp != image)
    BitBlt(Bmp->Canvas()->Handle(), R.Left, R.Top, R.Width(), R.Height(), image->Canvas()->Handle(),
           Item->ItemRect.Left, Item->ItemRect.Top, SRCCOPY);
  const bool enabled = Item->Enabled() && provider->Form->Enabled();
  // A disabled item is painted aside and mixed in at half.
  std::unique_ptr<vcl::TBitmap> aside;
  vcl::TBitmap* target = Bmp;
  vcl::TRect r = R;
  if (!enabled) {
    aside = CreateBmp32(R.Width(), R.Height());
    BitBlt(aside->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), Bmp->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
    target = aside.get();
    r = vcl::Rect(0, 0, R.Width(), R.Height());
  }
  const int index = Item->SkinData ? Item->SkinData->SkinIndex : kNoIndex;
  const bool section = skin.IsValidSkinIndex(index);
  const int states = section ? skin.Sections[static_cast<std::size_t>(index)].States : 1;
  const int state = std::clamp(Item->CurrentState(), 0, std::max(0, states - 1));
  auto paintSection = [&](const vcl::TRect& place) {
    if (section)
      PaintItemBg(index, Behind(target), std::min(state, 1), place, place.TopLeft(), target, &skin);
    else if (const int look = std::clamp(Item->CurrentState(), 0, 2); Item->Style() != bsInfo)
      // Without a section of the skin, the system's look of a flat button: nothing at rest, raised
      // when hot, and pressed or down (a tab that is down, among its group's) fully sunken.
      DrawSystemButtonEdge(target, place, look, look != 2);
  };
  vcl::TRect content = r;
  switch (Item->Style()) {
    case bsButton:
    case bsInfo: paintSection(r); break;
    case bsMenu:
      if (section) {
        paintSection(r);
      } else if (vcl::TBitmap* glyph = host_.TitleBar() ? host_.TitleBar()->DropdownGlyph() : nullptr) {
        const int column = glyph->Width() / 3;
        const int s = std::clamp(Item->CurrentState(), 0, 2);
        DrawStretchedImage(target, glyph, vcl::Rect(s * column, 0, (s + 1) * column, glyph->Height()),
                           vcl::Rect(3, 3, 3, 3), r);
      }
      break;
    case bsTab:
      if (r.Height() - 2 < Item->Height()) r.Top = r.Bottom - Item->Height();
      if (!Item->Down()) {
        r.Top += 2;
      }
      paintSection(r);
      content = r;
      break;
    case bsSpacing: break;
  }
  PaintTitleBarItemContent(Item, content, target);
  if (aside) MixHalf(Bmp, aside.get(), R);
}

void TqvCaptionItems::PaintTitleBarItemContent(TqvTitleBarItem* Item, const vcl::TRect& R, vcl::TBitmap* Bmp) {
  TsSkinManager* manager = host_.SkinManager();
  if (!manager || !Item || !Bmp) return;
  const TsLoadedSkin& skin = manager->Skin();
  const bool enabled = Item->Enabled() && host_.FrameProvider()->Form->Enabled();
  const int state = Item->CurrentState();
  vcl::TCanvas* canvas = Bmp->Canvas();
  vcl::TFont* font = Item->FontData()->PrepareFont();
  Item->AdjustSize(true);
  int x = R.Left + std::max(0, (R.Width() - Item->ContentWidth) / 2);
  const int centre = (R.Top + R.Bottom) / 2;

  // The picture: from the bar's image list, else the item's own glyph.
  vcl::TCustomImageList* images = host_.TitleBar() ? host_.TitleBar()->Images() : nullptr;
  int pictureWidth = 0;
  if (images && Item->ImageIndex() >= 0 && Item->ImageIndex() < images->Count()) {
    int index = !enabled ? Item->DisabledImageIndex()
                         : state == 1 ? Item->HotImageIndex() : state == 2 ? Item->PressedImageIndex() : Item->ImageIndex();
    if (index < 0 || index >= images->Count()) index = Item->ImageIndex();
    images->Draw(canvas, x, centre - images->Height() / 2, index, enabled);
    pictureWidth = images->Width();
  } else if (!Item->Glyph()->Empty()) {
    vcl::TBitmap* glyph = Item->Glyph();
    const int frames = std::max(1, Item->NumGlyphs());
    const int w = glyph->Width() / frames, h = glyph->Height();
    const int frame = std::min(enabled ? state : 0, frames - 1);
    const int y = centre - h / 2;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (glyph->PixelFormat() == vcl::pf32bit) {
      GdiAlphaBlend(canvas->Handle(), x, y, w, h, glyph->Canvas()->Handle(), frame * w, 0, w, h, blend);
    } else {
      // Opaque but for its key colour (the bottom-left pixel): a plain copy would leave the
      // image's alpha 0 under it, see-through on the border window.
      const COLORREF key = GetPixel(glyph->Canvas()->Handle(), 0, h - 1);
      auto frameBmp = CreateBmp32(w, h);
      BitBlt(frameBmp->Canvas()->Handle(), 0, 0, w, h, glyph->Canvas()->Handle(), frame * w, 0, SRCCOPY);
      GdiFlush();
      TPixelView pixels;
      if (InitPixelView(frameBmp.get(), pixels)) {
        const TPixel32 keyPixel = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
        for (int py = 0; py < h; ++py)
          for (TPixel32& p : std::span(pixels.Row(py), static_cast<std::size_t>(w)))
            p = (p & 0xFFFFFFu) == keyPixel ? 0 : (p | 0xFF000000u);
      }
      GdiAlphaBlend(canvas->Handle(), x, y, w, h, frameBmp->Canvas()->Handle(), 0, 0, w, h, blend);
    }
    pictureWidth = w;
  }
  x += pictureWidth;

  // The caption in the state's colours: its section's, or the title's for a button or an
  // information text without a section of its own at rest.
  const int index = Item->SkinData ? Item->SkinData->SkinIndex : kNoIndex;
  int textSection = skin.IsValidSkinIndex(index) ? index : host_.Measures().GetTitleSkinIndex();
  int textState = std::min(state, 1);
  const bool onCaption = Item->Style() == bsButton || Item->Style() == bsInfo || !skin.IsValidSkinIndex(index);
  if (Item->SkinSection().empty() && state == 0 && onCaption) {
    textSection = host_.Measures().GetTitleSkinIndex();
    textState = host_.CaptionActive() ? 1 : 0;
  }
  vcl::TColor color = font->Color();
  if (Item->FontData()->UseSysColor() && skin.IsValidSkinIndex(textSection)) {
    const TsGeneralData& sec = skin.Sections[static_cast<std::size_t>(textSection)];
    color = sec.Props[static_cast<std::size_t>(std::min(textState, std::max(0, sec.States - 1)) > 0 ? 1 : 0)].FontColor;
  }
  // The texts go in with their alpha: the image may be shown with per-pixel alpha (the border
  // window, an item's fade), where letters of alpha 0 would let the desktop through.
  if (!Item->Caption().empty()) {
    if (pictureWidth > 0) x += Item->Spacing();
    canvas->Font()->Assign(font);
    const vcl::TSize size = canvas->TextExtent(Item->Caption());
    vcl::TRect text(x, centre - size.cy / 2, std::min(R.Right, x + size.cx + 1), centre - size.cy / 2 + size.cy);
    AlphaDrawText(Bmp, Item->Caption(), text, kItemTextFlags, color);
    x = text.Right;
  }
  if (Item->DropsMenu()) {
    // The arrow of the "Marlett" font.
    canvas->Font()->SetName(L"Marlett");
    canvas->Font()->SetCharset(DEFAULT_CHARSET);
    canvas->Font()->SetHeight(font->Height());
    canvas->Font()->SetStyle({});
    const vcl::TSize size = canvas->TextExtent(L"u");
    x += Item->Style() == bsMenu ? 3 : 1;
    AlphaDrawText(Bmp, L"u", vcl::TRect(x, centre - size.cy / 2, x + size.cx, centre - size.cy / 2 + size.cy),
                  DT_SINGLELINE | DT_NOCLIP, color);
  }
}

// ---------------------------------------------------------------------------------------
// Hit codes, presses and hot states

TqvTitleBarItem* TqvCaptionItems::TitleItemByCode(int Code) const {
  TsTitleBar* bar = host_.TitleBar();
  if (!bar || Code < kHitTitleBarItem || Code > kHitTitleBarItem + 255) return nullptr;
  const int index = Code - kHitTitleBarItem;
  if (index >= bar->Items()->Count()) return nullptr;
  TqvTitleBarItem* item = bar->Items()->Items(index);
  return item->Visible() ? item : nullptr;
}

int TqvCaptionItems::TitleBarItemAt(vcl::TPoint ImagePoint) const {
  TsTitleBar* bar = ShownTitleBar();
  if (!bar) return 0;
  // The code is the item's place in the collection, hidden items before it counted too.
  for (int i = 0; i < bar->Items()->Count() && i <= 255; ++i) {
    const TqvTitleBarItem* item = bar->Items()->Items(i);
    if (!item->Visible() || !item->ItemRect.Contains(ImagePoint)) continue;
    if (item->Style() == bsSpacing || item->Style() == bsInfo) return 0;
    if (item->Style() == bsTab && item->Down()) return 0;
    // A disabled item takes no press and never turns hot: the caption lies under it.
    if (!item->Enabled()) return 0;
    return kHitTitleBarItem + i;
  }
  return 0;
}

void TqvCaptionItems::SetTitleBarItemState(int Index, int State) {
  const int code = kHitTitleBarItem + Index;
  TqvTitleBarItem* item = TitleItemByCode(code);
  if (!item) return;
  const bool wasHot = item->HotState() != 0;
  // A press shows as hot; the pressed look of a dropped menu or a pressed tab is the item's.
  item->SetHotState(State > 0 ? 1 : 0);
  // Let go at its release: the mouse has not left it.
  if (State == 0 && item->Pressed) return;
  if (State == 0) {
    if (title_hint_code_ == code) StopTitleHint();
    item->HideItemHint();
    if (wasHot && item->OnMouseLeave) item->OnMouseLeave(item);
    return;
  }
  if (wasHot) return;
  // The event may free the bar, and the item with it.
  const vcl::TLifetime::TWatch alive = item->Watch();
  if (item->OnMouseEnter) item->OnMouseEnter(item);
  if (!alive || !item->ShowHint() || item->Hint().empty()) return;
  StopTitleHint();
  title_hint_code_ = code;
  const int pause = vcl::Application ? vcl::Application->HintPause() : 500;
  if (pause < 1) {
    item->ShowItemHint();
    return;
  }
  if (!title_hint_timer_) {
    title_hint_timer_ = std::make_unique<vcl::TTimer>(nullptr);
    title_hint_timer_->OnTimer = vcl::TNotifyEvent::FromFunction(
        [](void* self, vcl::TObject*) {
          auto* items = static_cast<TqvCaptionItems*>(self);
          items->title_hint_timer_->SetEnabled(false);
          // Shown only while the cursor still rests on the item.
          TqvTitleBarItem* hinted = items->TitleItemByCode(items->title_hint_code_);
          POINT cursor{};
          GetCursorPos(&cursor);
          if (hinted && hinted->ScreenRect().Contains(vcl::TPoint(cursor.x, cursor.y))) hinted->ShowItemHint();
        },
        this);
  }
  title_hint_timer_->SetEnabled(false);
  title_hint_timer_->SetInterval(static_cast<unsigned>(pause));
  title_hint_timer_->SetEnabled(true);
}

void TqvCaptionItems::TitleBarItemMouseDown(int Index, vcl::TPoint Screen) {
  TqvTitleBarItem* item = TitleItemByCode(kHitTitleBarItem + Index);
  if (!item) return;
  StopTitleHint();
  TsSkinManager* manager = host_.SkinManager();
  if (manager && manager->SkinnedPopups() && item->DropsMenu() && manager->SkinableMenus())
    FormServices().SetMenuOwnerDraw(manager->SkinableMenus(), item->DropdownMenu(), true);
  item->MouseDown(vcl::TMouseButton::mbLeft, {}, Screen.X, Screen.Y);
}

void TqvCaptionItems::TitleBarItemMouseUp(int Index, vcl::TPoint Screen, bool Click) {
  TqvTitleBarItem* item = TitleItemByCode(kHitTitleBarItem + Index);
  if (!item) {
    // A hidden item keeps no fade.
    if (TsTitleBar* bar = host_.TitleBar(); bar && Index >= 0 && Index < bar->Items()->Count())
      bar->Items()->Items(Index)->FreeAnimation();
    return;
  }
  // Released away from the item: it only lets go.
  if (!Click) item->Pressed = false;
  item->MouseUp(vcl::TMouseButton::mbLeft, {}, Screen.X, Screen.Y);
}

void TqvCaptionItems::StartTitleItemFade(int Code) {
  TqvTitleBarItem* item = TitleItemByCode(Code);
  TsSkinManager* manager = host_.SkinManager();
  if (!item || !manager || !host_.FrameProvider()->Form->HandleAllocated()) return;
  const TqvBtnEvents events = manager->AnimEffects()->Buttons()->Events();
  const int state = item->CurrentState();
  const bool fade = state == 0   ? events.Contains(beMouseLeave)
                    : state == 1 ? events.Contains(beMouseEnter)
                                 : events.Contains(beMouseDown);
  item->StartAnimation(fade ? kTitleItemFadeSteps : 1, HostWindow());
}

void TqvCaptionItems::StopTitleHint() {
  if (title_hint_timer_) title_hint_timer_->SetEnabled(false);
  if (TqvTitleBarItem* item = TitleItemByCode(title_hint_code_)) item->HideItemHint();
  title_hint_code_ = 0;
}

void TqvCaptionItems::HideTitleHints() {
  StopTitleHint();
  TsTitleBar* bar = host_.TitleBar();
  if (!bar) return;
  for (int i = 0; i < bar->Items()->Count(); ++i) bar->Items()->Items(i)->HideItemHint();
}

}  // namespace skin_layered
