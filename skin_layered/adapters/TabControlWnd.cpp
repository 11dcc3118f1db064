#include "skin_layered/adapters/TabControlWnd.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/graphics/ImgList.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/manager/SkinOptions.h"
#include "skin_layered/paint/AlphaImageList.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvTabControlWnd) {}
VCL_CLASS_INFO(TqvPageControlWnd) {}
VCL_CLASS_INFO(TqvPageWnd) {}

int TabPositionOfStyle(LONG Style) {
  const bool vertical = (Style & TCS_VERTICAL) != 0, second = (Style & TCS_BOTTOM) != 0;
  if (vertical) return second ? kTabsRight : kTabsLeft;
  return second ? kTabsBottom : kTabsTop;
}

int TabStyleOfStyle(LONG Style) {
  if (Style & TCS_FLATBUTTONS) return kTabStyleFlat;
  return (Style & TCS_BUTTONS) ? kTabStyleButtons : kTabStyleTabs;
}

int TabRowOf(int Position, int Rows, const vcl::TRect& Item, const vcl::TRect& Tabs) {
  if (Rows < 2) return 1;
  const int w = Item.Right - Item.Left, h = Item.Bottom - Item.Top;
  const bool across = Position == kTabsLeft || Position == kTabsRight;
  // An empty item rectangle has no row to measure: the first.
  if ((across && w <= 0) || (!across && h <= 0)) return 1;
  switch (Position) {
    case kTabsBottom: return Rows - ((Item.Bottom - Tabs.Top + h / 2) / h) + 1;
    case kTabsLeft: return (Item.Right + w / 2) / w;
    case kTabsRight: return Rows - ((Item.Right - Tabs.Left + w / 2) / w) + 1;
    default: return (Item.Bottom + h / 2) / h;
  }
}

vcl::TRect SkinTabRectOf(int Position, int Style, vcl::TRect R, bool Active, int Covering) {
  if (Style != kTabStyleTabs || R.Left == R.Right) return R;
  const int a = Active ? 1 : 0;
  if (Active) R.Bottom -= 1; else { R.Bottom += 3; R.Right -= 1; }
  auto inflate = [&R](int dx, int dy) { R.Left -= dx; R.Right += dx; R.Top -= dy; R.Bottom += dy; };
  switch (Position) {
    case kTabsTop:
      inflate(2 * a, 2 * a);
      R.Bottom += 1;
      break;
    case kTabsBottom:
      inflate(2 * a, a);
      R.Top -= 2;
      R.Bottom += Active ? 1 : -3;
      break;
    case kTabsLeft:
      inflate(0, 1);
      R.Right += 2;
      if (Active) inflate(1, 1); else { R.Bottom -= 4; R.Right += 2; }
      break;
    default:
      inflate(1, 0);
      R.Offset(-1, -1);
      if (Active) { inflate(1, 1); R.Bottom += 3; } else { R.Bottom -= 2; }
      break;
  }
  if (Covering > 0) {
    if (Position == kTabsTop || Position == kTabsBottom) { R.Offset(Covering, 0); inflate(Covering, 0); }
    else { R.Offset(0, Covering); inflate(0, Covering); }
  }
  return R;
}

// ---------------------------------------------------------------------------------------
// The tab control

TqvTabControlWnd::~TqvTabControlWnd() { UpDownAdapter.reset(); }

void TqvTabControlWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"PAGECONTROL");
  TqvMainWnd::SetSkinParams();
}

void TqvTabControlWnd::CheckUpDown() {
  if (!SkinData || !SkinData->Skinned() || Destroyed()) return;
  const HWND arrows = FindWindowExW(CtrlHandle, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows) {
    UpDownAdapter.reset();
    return;
  }
  // The adapter already on these arrows stays; arrows another adapter took are left to it.
  if (UpDownAdapter && !UpDownAdapter->Destroyed() && UpDownAdapter->CtrlHandle == arrows) return;
  UpDownAdapter.reset();
  if (SendCommandToWnd(arrows, scmIsSkinned, 0) == 1) return;
  UpDownAdapter = CreateAdapter<TqvSpinWnd>(arrows, nullptr, Manager(), TqvSkinParams{nullptr, L"UPDOWNBTN"}, true);
}

void TqvTabControlWnd::RepaintArrows() {
  if (UpDownAdapter && !UpDownAdapter->Destroyed() && !SkinData->BGChanged)
    RedrawWindow(UpDownAdapter->CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
}

bool TqvTabControlWnd::HasTabs() const { return SendMessageW(CtrlHandle, TCM_GETITEMCOUNT, 0, 0) > 0; }
int TqvTabControlWnd::CurrentTab() const { return static_cast<int>(SendMessageW(CtrlHandle, TCM_GETCURSEL, 0, 0)); }

vcl::TRect TqvTabControlWnd::PageRect() const {
  RECT r{0, 0, WndSize.cx, WndSize.cy};
  SendMessageW(CtrlHandle, TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&r));
  return vcl::TRect{r.left, r.top + 2, r.right, r.bottom};
}

vcl::TRect TqvTabControlWnd::PageFrameRect() const {
  vcl::TRect r{0, 0, WndSize.cx, WndSize.cy};
  if (!HasTabs()) return r;
  const vcl::TRect page = PageRect();
  switch (Position()) {
    case kTabsBottom: r.Bottom = page.Bottom + 2; break;
    case kTabsLeft: r.Left = page.Left - 1; break;
    case kTabsRight: r.Right = page.Right + 1; break;
    default: r.Top = page.Top - 4; break;
  }
  return r;
}

vcl::TRect TqvTabControlWnd::TabsRect() const {
  vcl::TRect r{0, 0, WndSize.cx, WndSize.cy};
  if (!HasTabs()) return r;
  const vcl::TRect page = PageRect();
  switch (Position()) {
    case kTabsBottom: r.Top = page.Bottom + 2; break;
    case kTabsLeft: r.Right = page.Left - 1; break;
    case kTabsRight: r.Left = page.Right + 1; break;
    default: r.Bottom = page.Top - 4; break;
  }
  return r;
}

int TqvTabControlWnd::TabRow(int Index) const {
  const int rows = static_cast<int>(SendMessageW(CtrlHandle, TCM_GETROWCOUNT, 0, 0));
  RECT item{};
  SendMessageW(CtrlHandle, TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
  return TabRowOf(Position(), rows, vcl::TRect{item.left, item.top, item.right, item.bottom}, TabsRect());
}

vcl::TRect TqvTabControlWnd::SkinTabRect(int Index, bool Active) const {
  const int count = static_cast<int>(SendMessageW(CtrlHandle, TCM_GETITEMCOUNT, 0, 0));
  if (Index < 0 || Index >= count) return {};
  RECT item{};
  SendMessageW(CtrlHandle, TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
  TsSkinManager* manager = Manager();
  const int covering = manager ? manager->Skin().SkinData.TabsCovering : 0;
  return SkinTabRectOf(Position(), TabStyle(), vcl::TRect{item.left, item.top, item.right, item.bottom}, Active,
                       covering);
}

vcl::String TqvTabControlWnd::FrameSection() const {
  if (!HasTabs()) return L"CHECKBOX";
  const vcl::String section = SkinData ? SkinData->SkinSection() : vcl::String(L"PAGECONTROL");
  if (section != L"PAGECONTROL") return section;
  static constexpr const wchar_t* kSuffix[] = {L"", L"BOTTOM", L"LEFT", L"RIGHT"};
  return section + kSuffix[Position()];
}

void TqvTabControlWnd::PaintTabsBg(const TqvCacheInfo& CI) {
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const vcl::TRect t = TabsRect();
  const HDC dc = cache->Canvas()->Handle();
  if (CI.Ready && CI.Bmp) {
    const int w = std::min(t.Right - t.Left, CI.Bmp->Width()), h = std::min(t.Bottom - t.Top, CI.Bmp->Height());
    BitBlt(dc, t.Left, t.Top, w, h, CI.Bmp->Canvas()->Handle(), CI.X + WndPos.X + t.Left, CI.Y + WndPos.Y + t.Top,
           SRCCOPY);
  } else {
    FillDC(dc, t, static_cast<vcl::TColor>(CI.FillColor));
  }
  const int rows = std::max(1, static_cast<int>(SendMessageW(CtrlHandle, TCM_GETROWCOUNT, 0, 0)));
  const int count = static_cast<int>(SendMessageW(CtrlHandle, TCM_GETITEMCOUNT, 0, 0));
  const int current = CurrentTab();
  for (int row = 1; row <= rows; ++row)
    for (int i = 0; i < count; ++i)
      if (i != current && TabRow(i) == row) DrawSkinTab(i, 0, vcl::TPoint{0, 0}, cache);
}

void TqvTabControlWnd::DrawSkinTab(int Index, int State, vcl::TPoint Offset, vcl::TBitmap* Target) {
  if (Index < 0 || !Target) return;
  TsSkinManager* manager = Manager();
  if (!manager) return;
  const HDC target = Target->Canvas()->Handle();
  const auto font = reinterpret_cast<HFONT>(SendMessageW(CtrlHandle, WM_GETFONT, 0, 0));
  const HGDIOBJ old_font = font ? SelectObject(target, font) : nullptr;
  const bool active = Index == CurrentTab() && State == 2;
  vcl::TRect r = SkinTabRect(Index, active);
  wchar_t text[4096] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
  item.dwStateMask = TCIS_HIGHLIGHTED;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  SendMessageW(CtrlHandle, TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
  const TsLoadedSkin& skin = manager->Skin();
  const int position = Position(), style = TabStyle();
  int section = kNoIndex, border = kNoIndex, covering = 0;
  if (manager->GetSkinIndex(L"TABTOP") > 0) {
    if (style == kTabStyleTabs) {
      static constexpr int kSide[] = {1, 3, 0, 2};  // top, bottom, left, right in the table's order
      const TqvConstElementData& element = skin.ConstData.Tabs[3][static_cast<std::size_t>(kSide[position])];
      section = element.SkinIndex;
      border = element.MaskIndex;
      covering = skin.SkinData.TabsCovering;
    } else {
      const wchar_t* name = style == kTabStyleButtons ? L"BUTTON" : L"TOOLBUTTON";
      section = manager->GetSkinIndex(name);
      border = manager->GetMaskIndex(section, name, L"BORDERSMASK");
    }
  }
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  // A tab the skin has no picture or no section for is painted all the same: its section's
  // face, or what lies behind with the system's edge, never left unpainted.
  (void)border;
  if (w > 0 && h > 0) {
    auto bmp = CreateBmp32(w, h);
    vcl::TBitmap* cache = SkinData->CacheBmp();
    if (active) {
      BitBlt(bmp->Canvas()->Handle(), 0, 0, w, h, cache->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
      BitBlt(target, r.Left + Offset.X, r.Top + Offset.Y, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
      TqvCacheInfo behind;
      MakeCacheInfo(bmp.get(), 0, 0, behind);
      const vcl::TRect place{r.Left + Offset.X, r.Top + Offset.Y, r.Left + Offset.X + w, r.Top + Offset.Y + h};
      PaintItemBg(section, behind, 2, place, vcl::TPoint{0, 0}, Target, &skin);
      if (!skin.IsValidSkinIndex(section)) DrawSystemButtonEdge(Target, place, 0, false);
    } else {
      TqvCacheInfo behind;
      MakeCacheInfo(cache, r.Left, r.Top, behind);
      PaintItemBg(section, behind, State, vcl::TRect{0, 0, w, h}, vcl::TPoint{0, 0}, bmp.get(), &skin);
      if (!skin.IsValidSkinIndex(section)) DrawSystemButtonEdge(bmp.get(), vcl::TRect{0, 0, w, h}, State, true);
      const int saved = SaveDC(target);
      if (position == kTabsTop || position == kTabsLeft) {
        const vcl::TRect frame = PageFrameRect();
        ExcludeClipRect(target, frame.Left + Offset.X, frame.Top + Offset.Y, frame.Right + Offset.X,
                        frame.Bottom + Offset.Y);
      }
      BitBlt(target, r.Left + Offset.X, r.Top + Offset.Y, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
      RestoreDC(target, saved);
    }
  }
  r.Offset(Offset.X, Offset.Y);
  const bool plain_text = OwnerDrawTab(Target, Index, r, State, section);
  r.Left += 3;
  r.Top += 3;
  r.Right -= 3;
  r.Bottom -= 3;
  if (covering > 0) {
    if (position == kTabsTop || position == kTabsBottom) { r.Left += 2 * covering; r.Right -= 2 * covering; }
    else { r.Top += 2 * covering; r.Bottom -= 2 * covering; }
  }
  // The image: of the library control's own list when it has one, else of the native list.
  auto* tabs = dynamic_cast<vcl::TCustomTabControl*>(OwnerControl());
  vcl::TCustomImageList* owned = tabs ? tabs->Images() : nullptr;
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(CtrlHandle, TCM_GETIMAGELIST, 0, 0));
  int iw = 0, ih = 0;
  bool image = false;
  if (item.iImage >= 0 && owned) {
    iw = owned->Width();
    ih = owned->Height();
    image = item.iImage < owned->Count();
  } else if (item.iImage >= 0 && images) {
    image = ImageList_GetIconSize(images, &iw, &ih) != FALSE;
  }
  const vcl::String caption(text);
  vcl::TCanvas* canvas = Target->Canvas();
  const int text_state = State != 0 ? 1 : 0;
  // The text colour of a caption written plainly: the handler's font's.
  const vcl::TColor plain_color = canvas->Font()->Color();
  if (position == kTabsTop || position == kTabsBottom) {
    if (plain_text) {
      SelectObject(target, canvas->Font()->Handle());
    }
    if (image) {
      SIZE extent{};
      GetTextExtentPoint32W(target, caption.c_str(), static_cast<int>(caption.size()), &extent);
      DrawTabImage(Target, item.iImage, r.Left + (r.Width() - (extent.cx + iw + 8)) / 2, r.Top + (r.Height() - iw) / 2,
                   State, section);
      r.Left += iw;
    }
    if (plain_text) {
      SetBkMode(target, TRANSPARENT);
      SetTextColor(target, static_cast<COLORREF>(vcl::ColorToRGB(plain_color)));
      RECT rc{r.Left, r.Top, r.Right, r.Bottom};
      DrawTextW(target, caption.c_str(), static_cast<int>(caption.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
      canvas->Brush()->SetStyle(vcl::bsClear);
      WriteSkinText(canvas, caption, true, manager, text_state, section, DT_CENTER | DT_VCENTER | DT_SINGLELINE, r);
    }
  } else {
    // Captions of side tabs run along the tab in a turned copy of the control's font (or of
    // the font an owner-drawing handler chose).
    const HGDIOBJ base = plain_text ? static_cast<HGDIOBJ>(canvas->Font()->Handle())
                                    : font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW lf{};
    GetObjectW(base, sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = position == kTabsLeft ? -2700 : -900;
    lf.lfWeight = FW_NORMAL;
    if (std::wstring_view(lf.lfFaceName) == L"MS Sans Serif") wcscpy_s(lf.lfFaceName, L"Arial");
    const HFONT turned = CreateFontIndirectW(&lf);
    const HGDIOBJ before = SelectObject(target, turned);
    SIZE extent{};
    GetTextExtentPoint32W(target, caption.c_str(), static_cast<int>(caption.size()), &extent);
    const int tw = extent.cx, th = extent.cy;
    vcl::TColor color = plain_text ? plain_color : 0;
    if (!plain_text && skin.IsValidSkinIndex(section))
      color = skin.Sections[static_cast<std::size_t>(section)].Props[static_cast<std::size_t>(text_state)].FontColor;
    SetTextColor(target, static_cast<COLORREF>(vcl::ColorToRGB(color)));
    SetBkMode(target, TRANSPARENT);
    if (position == kTabsRight) r.Offset(-2, -1);
    int x = 0, y = 0;
    if (!image) {
      x = r.Left + (r.Width() - th) / 2 + (position == kTabsRight ? th : 0);
      y = position == kTabsLeft ? r.Bottom - (r.Height() - tw) / 2 : r.Top + (r.Height() - tw) / 2;
    } else {
      if (Index == CurrentTab()) r.Offset(2, 0);
      const int pad = (r.Height() - (ih + 4 + tw)) / 2;
      const int ix = r.Left + (r.Width() - iw) / 2;
      x = r.Left + (r.Width() - th) / 2 + (position == kTabsRight ? th : 0);
      if (position == kTabsLeft) {
        const int iy = r.Bottom - pad - ih;
        DrawTabImage(Target, item.iImage, ix, iy, State, section);
        y = iy - 4;
      } else {
        DrawTabImage(Target, item.iImage, ix, r.Top + pad, State, section);
        y = r.Top + pad + ih + 4;
      }
      SelectObject(target, turned);
    }
    TextOutW(target, x, y, caption.c_str(), static_cast<int>(caption.size()));
    SelectObject(target, before);
    DeleteObject(turned);
  }
  if (old_font) SelectObject(target, old_font);
}

void TqvTabControlWnd::DrawTabImage(vcl::TBitmap* Target, int Index, int X, int Y, int State, int Section) {
  auto* tabs = dynamic_cast<vcl::TCustomTabControl*>(OwnerControl());
  vcl::TCustomImageList* owned = tabs ? tabs->Images() : nullptr;
  if (!owned) {
    if (const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(CtrlHandle, TCM_GETIMAGELIST, 0, 0)))
      ImageList_Draw(images, Index, Target->Canvas()->Handle(), X, Y, ILD_NORMAL);
    return;
  }
  TsSkinManager* manager = Manager();
  if (!dynamic_cast<TsAlphaImageList*>(owned) || !manager || !manager->Effects()->DiscoloredGlyphs()) {
    owned->Draw(Target->Canvas(), X, Y, Index, true);
    return;
  }
  // Glyphs of an alpha list take the tab's colour in the normal state.
  vcl::TColor tint = vcl::clNone;
  if (State == 0) {
    tint = vcl::clBtnFace;
    if (manager->IsValidSkinIndex(Section)) tint = manager->Skin().Sections[static_cast<std::size_t>(Section)].Props[0].Color;
  }
  vcl::TSize size;
  DrawAlphaImgList(owned, Target, X, Y, Index, 0, tint, 0, 1, false, size);
}

bool TqvTabControlWnd::OwnerDrawTab(vcl::TBitmap* Target, int Index, const vcl::TRect& R, int State, int Section) {
  auto* pages = dynamic_cast<vcl::TPageControl*>(OwnerControl());
  if (!pages || !pages->OwnerDraw() || !pages->OnDrawTab) return false;
  TsSkinManager* manager = Manager();
  vcl::TCanvas* canvas = pages->Canvas();
  vcl::TCanvas* target = Target->Canvas();
  vcl::TColor color = pages->Font()->Color();
  if (manager && manager->IsValidSkinIndex(Section)) {
    const TsGeneralData& data = manager->Skin().Sections[static_cast<std::size_t>(Section)];
    color = data.Props[static_cast<std::size_t>(std::clamp(std::min(State, data.States - 1), 0, 1))].FontColor;
  }
  bool changed = false;
  {
    const vcl::TCanvasDCLoan loan(*canvas, target->Handle());
    canvas->Font()->Assign(pages->Font());
    canvas->Font()->SetColor(color);
    target->Font()->Assign(pages->Font());
    target->Font()->SetColor(color);
    const vcl::String name = canvas->Font()->Name();
    const vcl::TFontStyles style = canvas->Font()->Style();
    pages->OnDrawTab(pages, Index, R, State == 2);
    const vcl::TFont* after = canvas->Font();
    changed = after->Color() != color || after->Style() != style || after->Name() != name;
    // The caption below is written in the handler's font.
    if (changed) target->Font()->Assign(canvas->Font());
  }
  return changed;
}

void TqvTabControlWnd::DrawActiveTab(int Index, HDC DC) {
  if (Index < 0) return;
  const vcl::TRect r = SkinTabRect(Index, true);
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (w <= 0 || h <= 0) return;
  auto bmp = CreateBmp32(w, h);
  DrawSkinTab(Index, 2, vcl::TPoint{-r.Left, -r.Top}, bmp.get());
  BitBlt(DC, r.Left, r.Top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvTabControlWnd::PaintTabControl(HDC GivenDC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || SkinData->CheckBgChanged()) return;
  const bool own = GivenDC == nullptr;
  const HDC dc = own ? GetDC(CtrlHandle) : GivenDC;
  if (!dc) return;
  const int saved = SaveDC(dc);
  SkinData->BGChanged = true;
  // The frame of the tabs' side; a skin without that section has the control's own.
  int frame_index = manager->GetSkinIndex(FrameSection());
  if (!manager->IsValidSkinIndex(frame_index)) frame_index = SkinData->SkinIndex;
  TqvCacheInfo ci;
  vcl::TBitmap* cache = AdapterCache(this);
  const bool ready = cache && AdapterParentBg(this, ci);
  const bool tabs = HasTabs();
  if (ready) {
    backdrop_.Take(ci, WndPos, WndSize);
    if (tabs) PaintTabsBg(ci);
    const vcl::TRect frame = PageFrameRect();
    PaintItemBg(frame_index, ci, 0, frame, vcl::TPoint{WndPos.X + frame.Left, WndPos.Y + frame.Top}, cache,
                &manager->Skin());
    SkinData->BGChanged = false;
    const int current = tabs ? CurrentTab() : -1;
    const int clip = SaveDC(dc);
    if (current >= 0) {
      const vcl::TRect r = SkinTabRect(current, true);
      ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
    BitBlt(dc, 0, 0, WndSize.cx, WndSize.cy, cache->Canvas()->Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, clip);
    if (current >= 0) DrawActiveTab(current, dc);
    if (auto* windowed = dynamic_cast<vcl::TWinControl*>(OwnerControl()))
      PaintControlsOnDC(dc, windowed, vcl::TPoint{0, 0}, true);
  } else {
    backdrop_.Clear();
  }
  RestoreDC(dc, saved);
  if (own) ReleaseDC(CtrlHandle, dc);
}

bool TqvTabControlWnd::BackdropChanged() {
  TqvCacheInfo ci;
  if (SkinData->BGChanged || !AdapterParentBg(this, ci)) return true;
  // Where the control is now: one moved with its parent's size lies over other pixels.
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  return !backdrop_.Same(ci, WndPos, WndSize);
}

void TqvTabControlWnd::PassOn(vcl::TMessage& Message) {
  vcl::TMessage copy = Message;
  PassToChildren(OwnerControl(), CtrlHandle, copy);
}

bool TqvTabControlWnd::OnTabSkinCommand(vcl::TMessage& Message) {
  const bool own = FromOwnManager(Message);
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (own) CommonMessage(Message, SkinData);
      PassOn(Message);
      return true;
    case scmRemoveSkin:
      if (own) {
        CommonMessage(Message, SkinData);
        CheckUpDown();
      }
      PassOn(Message);
      if (own) {
        InvalidateRect(CtrlHandle, nullptr, TRUE);
        RedrawWindow(CtrlHandle, nullptr, nullptr, 0x787);
      }
      return true;
    case scmRefresh:
      if (own) {
        CommonMessage(Message, SkinData);
        InvalidateRect(CtrlHandle, nullptr, TRUE);
        CheckUpDown();
      }
      PassOn(Message);
      return true;
    case scmRepaint:
      // The parent painted its picture: the control is made over it again only where it changed
      // under the control (a host repainting itself, say at every step of a resize, asks each
      // time).
      if (SkinData->Skinned() && (SkinData->Updating || BackdropChanged())) {
        SkinData->Updating = false;
        InvalidateRect(CtrlHandle, nullptr, TRUE);
      }
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmIsBgChanged:
      Message.Result = SkinData->Updating ? 1 : 0;
      return true;
    case scmGetCtrlValue:
      Message.Result = reinterpret_cast<LRESULT>(Manager());
      return true;
    default:
      return false;
  }
}

void TqvTabControlWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinData || Destroyed()) return TqvMainWnd::WndProc(Message);
  if (Message.Msg == kSkinCmdMessage && OnTabSkinCommand(Message)) return;
  if (!SkinData->Skinned()) return TqvMainWnd::WndProc(Message);
  switch (Message.Msg) {
    case WM_PRINT: return OnPrint(Message);
    case TCM_SETCURSEL: return OnSetCurSel(Message);
    case WM_NCPAINT: Message.Result = 0; return;
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: return OnEraseBkgnd(Message);
    case WM_SIZE: return OnSize(Message);
    case vcl::CM_CONTROLLISTCHANGE: return OnControlListChange(Message);
    default: return TqvMainWnd::WndProc(Message);
  }
}

void TqvTabControlWnd::OnPrint(vcl::TMessage& Message) {
  CheckUpDown();
  PaintTabControl(reinterpret_cast<HDC>(Message.WParam));
  RepaintArrows();
  Message.Result = 0;
}

// The control's own painting of the new tab happens with redraw off.
void TqvTabControlWnd::OnSetCurSel(vcl::TMessage& Message) {
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  TqvMainWnd::WndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
}

// The background's erasing paints the control; the paint itself only validates it.
void TqvTabControlWnd::OnPaint(vcl::TMessage& Message) {
  InvalidateRect(CtrlHandle, nullptr, TRUE);
  PAINTSTRUCT ps{};
  BeginPaint(CtrlHandle, &ps);
  EndPaint(CtrlHandle, &ps);
  RepaintArrows();
  Message.Result = 0;
}

void TqvTabControlWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  if (IsWindowVisible(CtrlHandle)) {
    TsSkinManager* manager = Manager();
    if (!(manager && manager->HoldsBroadcast())) PaintTabControl(reinterpret_cast<HDC>(Message.WParam));
    CheckUpDown();
  }
  Message.Result = 1;
}

void TqvTabControlWnd::OnSize(vcl::TMessage& Message) {
  const vcl::TSize before = WndSize;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (!alive) return;
  CheckUpDown();
  // Shrinking uncovers nothing the control repaints by itself.
  RECT r{};
  GetWindowRect(CtrlHandle, &r);
  if (r.right - r.left < before.cx || r.bottom - r.top < before.cy)
    RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_NOCHILDREN | RDW_FRAME);
}

void TqvTabControlWnd::OnControlListChange(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (alive) CheckUpDown();
}

// ---------------------------------------------------------------------------------------
// The page control

TqvPageControlWnd::~TqvPageControlWnd() { pages_.clear(); }

void TqvPageControlWnd::SetSkinParams() {
  AddPageAdapters();
  TqvTabControlWnd::SetSkinParams();
}

void TqvPageControlWnd::AddPageAdapters() {
  // Pages that went took their windows with them: their adapters are dropped.
  std::erase_if(pages_, [](const TqvAdapterPtr<TqvPageWnd>& page) {
    return page->Destroyed() || !IsWindow(page->CtrlHandle);
  });
  auto* control = dynamic_cast<vcl::TPageControl*>(OwnerControl());
  if (!control) return;
  for (int i = 0; i < control->PageCount(); ++i) {
    vcl::TTabSheet* page = control->Pages(i);
    if (!page->HandleAllocated() || SendCommandToWnd(page->Handle(), scmIsSkinned, 0) == 1) continue;
    auto adapter = CreateAdapter<TqvPageWnd>(page->Handle(), nullptr, Manager(), TqvSkinParams{page, L"CHECKBOX"}, true);
    adapter->TabSheet = page;
    pages_.push_back(std::move(adapter));
  }
}

void TqvPageControlWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinData || Destroyed() || !SkinData->Skinned()) {
    TqvTabControlWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PRINT:
      CheckUpDown();
      AddPageAdapters();
      SkinData->Updating = false;
      PaintTabControl(reinterpret_cast<HDC>(Message.WParam));
      RepaintArrows();
      Message.Result = 0;
      return;
    case TCM_SETCURSEL:
      if (OwnerControl()) {
        AddPageAdapters();
        NotifyFormOfControl(OwnerControl());
      }
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE || LOWORD(Message.WParam) == WM_DESTROY) AddPageAdapters();
      break;
    case WM_NCPAINT:
      AddPageAdapters();
      Message.Result = 0;
      return;
    default:
      break;
  }
  TqvTabControlWnd::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
// A page

void TqvPageWnd::SetSkinParams() {
  TabSheet = dynamic_cast<vcl::TTabSheet*>(OwnerControl());
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  TqvMainWnd::SetSkinParams();
}

namespace {

// A parent whose picture is not there yet (it has not painted since it came or grew).
bool BackgroundMissing(const TqvBGInfo& Info) {
  if (Info.BgType == btNotReady) return true;
  return Info.BgType == btBitmap && (!Info.Bmp || Info.Bmp->Width() <= 0 || Info.Bmp->Height() <= 0);
}

}  // namespace

void TqvPageWnd::PaintPage(HDC DC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (!DC || !ParentWnd) return;
  TqvBGInfo info;
  AskParentBg(info);
  if (BackgroundMissing(info)) {
    // The parent paints first, which makes its picture, unless it waits for its own parent
    // (its paint would paint nothing, and invalidate the page again); without a picture still,
    // nothing is painted rather than a colour the answer never gave.
    if (SendCommandToWnd(ParentWnd, scmIsBgChanged, 0) == 0) {
      const HDC picture = info.Bmp ? info.Bmp->Canvas()->Handle() : nullptr;
      SendMessageW(ParentWnd, WM_PAINT, reinterpret_cast<WPARAM>(picture), 0);
      AskParentBg(info);
    }
    if (BackgroundMissing(info)) return;
  }
  const vcl::TPoint at{WndPos.X + info.Offset.X, WndPos.Y + info.Offset.Y};
  if (info.BgType != btBitmap) {
    FillDC(DC, vcl::TRect{0, 0, WndSize.cx, WndSize.cy}, info.Color);
    PaintTabsStrip(DC, info, at);
  } else {
    BitBlt(DC, 0, 0, WndSize.cx, WndSize.cy, info.Bmp->Canvas()->Handle(), at.X, at.Y, SRCCOPY);
  }
  if (TabSheet) {
    PaintControlsOnDC(DC, TabSheet, vcl::TPoint{0, 0}, true);
    RepaintChildControls(TabSheet);
  }
}

// The parent's own answer, used at once: a colour answer keeps the picture it names (the
// frame's edge lies in it), which the general question drops.
void TqvPageWnd::AskParentBg(TqvBGInfo& Info) {
  Info = TqvBGInfo{};
  SendCommandToWnd(ParentWnd, scmGetBgInfo, reinterpret_cast<LPARAM>(&Info));
  if (Info.BgType == btNone) GetBgInfoWnd(Info, ParentWnd, false);
}

// The page control's frame reaches a little into the page on the side of the tabs: over a
// plain colour, the page takes those 3 pixels from the page control's picture so the frame
// runs on unbroken.
void TqvPageWnd::PaintTabsStrip(HDC DC, const TqvBGInfo& Info, vcl::TPoint At) {
  vcl::TPageControl* pages = TabSheet ? TabSheet->PageControl() : nullptr;
  if (!pages || !Info.Bmp || Info.Bmp->Width() <= 0 || Info.Bmp->Height() <= 0 ||
      SendMessageW(ParentWnd, TCM_GETITEMCOUNT, 0, 0) <= 0)
    return;
  constexpr int kStrip = 3;
  const int w = WndSize.cx, h = WndSize.cy;
  vcl::TRect strip{0, 0, w, kStrip};
  switch (TabPositionOfStyle(GetWindowLongW(ParentWnd, GWL_STYLE))) {
    case kTabsBottom: strip = vcl::TRect{0, h - kStrip, w, h}; break;
    case kTabsLeft: strip = vcl::TRect{0, 0, kStrip, h}; break;
    case kTabsRight: strip = vcl::TRect{w - kStrip, 0, w, h}; break;
    default: break;
  }
  BitBlt(DC, strip.Left, strip.Top, strip.Width(), strip.Height(), Info.Bmp->Canvas()->Handle(), At.X + strip.Left,
         At.Y + strip.Top, SRCCOPY);
}

// The erase step paints the page; a paint whose region was not erased paints it itself, and a
// paint into a given DC paints there.
void TqvPageWnd::OnPaint(vcl::TMessage& Message) {
  Message.Result = 0;
  if (const auto given = reinterpret_cast<HDC>(Message.WParam)) {
    PaintPage(given);
    return;
  }
  erased_ = false;
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(CtrlHandle, &ps);
  if (dc && !erased_) PaintPage(dc);
  EndPaint(CtrlHandle, &ps);
}

void TqvPageWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinData || Destroyed() || !SkinData->Skinned()) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    case WM_PAINT:
      if (!IsWindowVisible(CtrlHandle)) break;
      OnPaint(Message);
      return;
    case WM_ERASEBKGND:
      if (IsWindowVisible(CtrlHandle)) {
        PaintPage(reinterpret_cast<HDC>(Message.WParam));
        erased_ = true;
      }
      Message.Result = 1;
      return;
    case WM_PRINT:
      PaintPage(reinterpret_cast<HDC>(Message.WParam));
      SendMessageW(CtrlHandle, WM_PAINT, Message.WParam, Message.LParam);
      Message.Result = 1;
      return;
    case kSkinCmdMessage:
      switch (SkinCommandOf(Message.WParam)) {
        case scmRepaint:
          // The page control's picture changed under the page.
          if (SkinData->BgIsChanged()) {
            SkinData->Updating = false;
            InvalidateRect(CtrlHandle, nullptr, TRUE);
          }
          return;
        case scmIsSkinned:
          Message.Result = 1;
          return;
        case scmIsBgChanged:
          Message.Result = SkinData->Updating ? 1 : 0;
          return;
        case scmGetBgInfo:
          if (Message.LParam && ParentWnd) {
            auto& info = *reinterpret_cast<TqvBGInfo*>(Message.LParam);
            GetBgInfoWnd(info, ParentWnd, info.PleaseDraw);
            const vcl::TPoint at = TabSheet ? vcl::TPoint{TabSheet->Left(), TabSheet->Top()} : WndPos;
            info.Offset.X += at.X;
            info.Offset.Y += at.Y;
          }
          return;
        default:
          break;
      }
      break;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
