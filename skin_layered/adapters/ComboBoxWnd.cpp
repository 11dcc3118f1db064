#include "skin_layered/adapters/ComboBoxWnd.h"

#include <algorithm>
#include <optional>

#include "classlib/controls/Controls.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvComboBoxWnd) {}
VCL_CLASS_INFO(TqvComboListWnd) {}

namespace {

constexpr UINT kRedrawFocus = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;  // 0x505
constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_UPDATENOW;                            // 0x101
// The list's frame recomputed without moving it or telling anyone.
constexpr UINT kListFrameChange = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                                  SWP_NOSENDCHANGING;  // 0x726
// The arrow of a combo box without a glyph of the skin's.
constexpr int kArrowDown = 3;
// Item texts keep this far from the item's sides.
constexpr int kItemIndent = 2;

vcl::TSize WindowSize(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return vcl::TSize{r.right - r.left, r.bottom - r.top};
}

// The strips of width W round the edge of a Size-sized image, copied from Source to DC.
void CopyStrips(HDC DC, HDC Source, vcl::TSize Size, int W) {
  const int w = Size.cx, h = Size.cy;
  if (w <= 0 || h <= 0 || W <= 0) return;
  BitBlt(DC, 0, 0, w, W, Source, 0, 0, SRCCOPY);
  BitBlt(DC, 0, h - W, w, W, Source, 0, h - W, SRCCOPY);
  BitBlt(DC, 0, W, W, h - 2 * W, Source, 0, W, SRCCOPY);
  BitBlt(DC, w - W, W, W, h - 2 * W, Source, w - W, W, SRCCOPY);
}

// The edit field of a combo box, nil without one.
HWND EditOf(HWND Combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Combo, &info)) return nullptr;
  return info.hwndItem != Combo ? info.hwndItem : nullptr;
}

// The list window of a combo box as the system knows it, nil without one.
HWND ListOf(HWND Combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(Combo, &info) ? info.hwndList : nullptr;
}

// The window's own DC for the scope, or a DC given.
class TWindowDC {
 public:
  TWindowDC(HWND Wnd, HDC Given) : wnd_(Wnd), dc_(Given) {
    if (!dc_) dc_ = own_ = GetWindowDC(Wnd);
  }
  ~TWindowDC() {
    if (own_) ReleaseDC(wnd_, own_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC DC() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  HDC own_ = nullptr;
};

// What lies behind a simple combo box shows between its list and its bottom (the list keeps
// whole items, and the combo box paints nothing there itself).
void FillBelowList(HWND Combo, HWND List) {
  RECT list{}, client{};
  GetWindowRect(List, &list);
  MapWindowPoints(nullptr, Combo, reinterpret_cast<POINT*>(&list), 2);
  GetClientRect(Combo, &client);
  const vcl::TRect below{client.left, list.bottom, client.right, client.bottom};
  if (below.IsEmpty()) return;
  const HWND parent = GetParent(Combo);
  TqvBGInfo info;
  GetBgInfoWnd(info, parent, false);
  RECT cr{};
  GetWindowRect(Combo, &cr);
  POINT pos{cr.left, cr.top};
  if (parent) ScreenToClient(parent, &pos);
  const HDC dc = GetDC(Combo);
  if (!dc) return;
  if (info.BgType == btBitmap && info.Bmp)
    BitBlt(dc, below.Left, below.Top, below.Width(), below.Height(), info.Bmp->Canvas()->Handle(),
           info.Offset.X + pos.x + below.Left, info.Offset.Y + pos.y + below.Top, SRCCOPY);
  else
    FillDC(dc, below, info.Color);
  ReleaseDC(Combo, dc);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The combo box

TqvComboBoxWnd::~TqvComboBoxWnd() {
  UninstallAdapter(ListAdapter, true, false);
  ListHandle = nullptr;
}

void TqvComboBoxWnd::SetSkinParams() {
  InColorMessage = false;
  // The frame the adapter lays over the control's own.
  BorderLeft = BorderTop = BorderRight = BorderBottom = kComboFrameWidth;
  TqvEditWnd::SetSkinParams();
}

void TqvComboBoxWnd::InitSkinData(bool Owned) {
  if (SkinData->SkinSection().empty() && Params().SkinSection.empty()) SkinData->SetSkinSection(L"COMBOBOX");
  TqvEditWnd::InitSkinData(Owned);
}

bool TqvComboBoxWnd::WantsVisualStyleOff() const {
  // Without a section given the combo box's own ("COMBOBOX") applies.
  if (!SkinData && Params().SkinSection.empty()) return true;
  return TqvEditWnd::WantsVisualStyleOff();
}

LONG_PTR TqvComboBoxWnd::Style() const { return GetWindowLongPtrW(CtrlHandle, GWL_STYLE); }

vcl::TCustomComboBox* TqvComboBoxWnd::Combo() const {
  return dynamic_cast<vcl::TCustomComboBox*>(OwnerControl());
}

bool TqvComboBoxWnd::FocusShows() const {
  auto* control = dynamic_cast<vcl::TWinControl*>(OwnerControl());
  return HasHotState(SkinData, false) && control && control->CanFocus() && control->TabStop();
}

vcl::TRect TqvComboBoxWnd::ButtonRect() {
  const vcl::TSize size = WindowSize(CtrlHandle);
  TsSkinManager* manager = Manager();
  const int m = manager ? manager->Skin().SkinData.ComboMargin : 2;
  const int b = (Style() & CBS_DROPDOWN) ? GetLargestScrollWidth(manager) + 2 : 0;
  const int left = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) ? m : size.cx - b - m;
  return vcl::TRect{left, m, left + b, size.cy - m};
}

int TqvComboBoxWnd::ButtonState() {
  // The list is learnt from its first colour question, which comes after the combo box painted
  // its first drop: until then the system names it.
  const HWND list = ListHandle ? ListHandle : ListOf(CtrlHandle);
  if (list && IsWindowVisible(list)) return 2;
  TsSkinManager* hot = DefaultSkinManager();
  if (SkinData->ControlIsActive() || (hot && hot->HotWnd() == CtrlHandle)) return 1;
  return 0;
}

void TqvComboBoxWnd::PaintButton(HDC DC) {
  vcl::TBitmap* cache = SkinData->CacheBmp();
  TsSkinManager* manager = Manager();
  if (!manager || !cache || cache->Empty()) return;
  const vcl::TRect r = ButtonRect();
  if (r.IsEmpty()) return;
  const int state = ButtonState();
  std::unique_ptr<vcl::TBitmap> bmp = CreateBmp32(cache->Width(), cache->Height());
  BitBlt(bmp->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  const TsLoadedSkin& skin = manager->Skin();
  const TqvConstElementData& button = skin.ConstData.ComboBtn;
  const bool section = skin.IsValidSkinIndex(button.SkinIndex);
  if (section) {
    TqvCacheInfo behind;
    MakeCacheInfo(cache, 0, 0, behind);
    PaintItemBg(button.SkinIndex, behind, state, r, vcl::TPoint{r.Left, r.Top}, bmp.get(), &skin, button.BGIndex[0],
                button.BGIndex[1]);
  }
  if (skin.IsValidImgIndex(button.GlyphIndex)) {
    const TsMaskData& glyph = skin.Images[static_cast<std::size_t>(button.GlyphIndex)];
    TqvCacheInfo self;
    MakeCacheInfo(bmp.get(), 0, 0, self);
    DrawSkinGlyph(bmp.get(),
                  vcl::TPoint{r.Left + (r.Width() - MaskImageWidth(glyph)) / 2,
                              (cache->Height() - MaskImageHeight(glyph)) / 2},
                  state, 1, glyph, self);
  } else {
    const vcl::TColor color =
        section ? skin.Sections[static_cast<std::size_t>(button.SkinIndex)].Props[std::min(state, 1)].FontColor : 0;
    DrawArrow(bmp->Canvas(), color, r, kArrowDown);
  }
  const TWindowDC dc(CtrlHandle, DC);
  BitBlt(dc.DC(), r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
}

HBRUSH TqvComboBoxWnd::ListBrush(vcl::TColor Color) {
  if (!list_brush_ || list_brush_color_ != Color) {
    list_brush_.reset(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
    list_brush_color_ = Color;
  }
  return list_brush_.get();
}

void TqvComboBoxWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && !Destroyed() && SkinData) return OnSkinCommand(Message);
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) return OnUnskinned(Message);
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_LBUTTONUP: return OnFocus(Message, true);
    case WM_KILLFOCUS:
    case vcl::CM_EXIT: return OnFocus(Message, false);
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCCALCSIZE: return OnNcCalcSize(Message);
    case WM_PRINT: return OnPrint(Message);
    case WM_DRAWITEM: return OnDrawItemMessage(Message);
    case vcl::CN_DRAWITEM: return OnOwnerDrawItem(Message);
    case CB_SETCURSEL:
    case vcl::CM_TEXTCHANGED:
    case vcl::CM_CHANGED: return OnChange(Message);
    case vcl::CM_MOUSEENTER: return OnMouseEnter(Message);
    case vcl::CM_MOUSELEAVE: return OnMouseLeave(Message);
    case WM_COMMAND:
    case vcl::CN_COMMAND: return OnCommand(Message);
    case WM_CTLCOLORLISTBOX: return OnCtlColorList(Message);
    default: return TqvEditWnd::WndProc(Message);
  }
}

void TqvComboBoxWnd::OnUnskinned(vcl::TMessage& Message) {
  const bool painting = Message.Msg == WM_PAINT && !Destroyed() && IsSimple();
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (!painting || !alive) return;
  // Without its section the combo box is the system's, which paints nothing below a simple
  // one's list: the skinned dialog around it leaves that place to the combo box.
  const TsSkinManager* manager = Manager();
  if (!manager || !manager->Active() || !manager->Skin().SkinData.Active) return;
  if (const HWND list = ListOf(CtrlHandle)) FillBelowList(CtrlHandle, list);
}

void TqvComboBoxWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmRemoveSkin: return OnRemoveSkin(Message);
    case scmNewSkin:
    case scmRefresh: return OnNewSkin(Message);
    case scmMouseEnter:
    case scmMouseLeave: return OnHoverCommand(Message);
    default: return TqvEditWnd::WndProc(Message);
  }
}

void TqvComboBoxWnd::OnNewSkin(vcl::TMessage& Message) {
  // The list's brush is made again in the new colour.
  list_brush_.reset();
  TqvEditWnd::WndProc(Message);
}

void TqvComboBoxWnd::OnHoverCommand(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (alive && SkinData->Skinned(false)) PaintButton(nullptr);
}

void TqvComboBoxWnd::OnNcCalcSize(vcl::TMessage& Message) {
  TqvEditWnd::WndProc(Message);
  BorderLeft = BorderTop = BorderRight = BorderBottom = kComboFrameWidth;
}

void TqvComboBoxWnd::OnDrawItemMessage(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (OwnerControl() && alive) InvalidateNow();
}

void TqvComboBoxWnd::OnOwnerDrawItem(vcl::TMessage& Message) {
  if (!Combo() || !Message.LParam) return CallPrevWndProc(Message);
  OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
  Message.Result = TRUE;
}

void TqvComboBoxWnd::OnChange(vcl::TMessage& Message) {
  if (Combo())
    QuietChange(Message);
  else
    CallPrevWndProc(Message);
}

void TqvComboBoxWnd::OnCommand(vcl::TMessage& Message) {
  // The list went up: the button shows it.
  if (HIWORD(Message.WParam) == CBN_CLOSEUP && (Message.Msg == vcl::CN_COMMAND || (Style() & CBS_SIMPLE) == 0)) {
    SkinData->BGChanged = true;
    PaintButton(nullptr);
  }
  TqvEditWnd::WndProc(Message);
}

void TqvComboBoxWnd::InvalidateNow() {
  InvalidateRect(CtrlHandle, nullptr, TRUE);
  UpdateWindow(CtrlHandle);
}

void TqvComboBoxWnd::ClearEditSelection() {
  if (HWND edit = EditOf(CtrlHandle)) SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void TqvComboBoxWnd::QuietChange(vcl::TMessage& Message) {
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  SkinData->BGChanged = true;
  CallPrevWndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawNow);
}

void TqvComboBoxWnd::OnFocus(vcl::TMessage& Message, bool Gained) {
  vcl::TCustomComboBox* combo = Combo();
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  if (Gained) {
    SkinData->FFocused = true;
    if (FocusShows()) {
      ApplySkinParams();
      RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawFocus);
    }
    CallPrevWndProc(Message);
  } else {
    HWND edit = combo ? EditOf(CtrlHandle) : nullptr;
    SkinData->FFocused = edit && vcl::IsFocusWindow(edit);
    SkinData->BGChanged = true;
    CallPrevWndProc(Message);
    if (!alive) return;
    if (FocusShows()) {
      ApplySkinParams();
      if (combo && !combo->Focused()) ClearEditSelection();
      RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawFocus);
    }
  }
  if (alive) PaintButton(nullptr);
}

void TqvComboBoxWnd::OnPaint(vcl::TMessage& Message) {
  if (!SkinParamsApplied) ApplySkinParams();
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  // The control paints itself; the skin's frame and button go over it.
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (!alive) return;
  const TWindowDC dc(CtrlHandle, reinterpret_cast<HDC>(Message.WParam));
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (IsSimple()) {
    PrepareSimpleCache();
  } else {
    SkinData->BGChanged = true;
    SendCommandToWnd(CtrlHandle, scmPrepareCache, 0);
  }
  if (!cache || cache->Empty()) return;
  CopyStrips(dc.DC(), cache->Canvas()->Handle(), vcl::TSize{cache->Width(), cache->Height()}, kComboFrameWidth);
  if (!IsSimple()) PaintButton(dc.DC());
}

void TqvComboBoxWnd::PrepareCache() {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  SkinData->BGChanged = true;
  PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
}

void TqvComboBoxWnd::PrepareSimpleCache() {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = std::max(0, static_cast<int>(WndSize.cx));
  const int height = std::max(0, static_cast<int>(SendMessageW(CtrlHandle, CB_GETITEMHEIGHT, 0, 0)) + 8);
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  if (width == 0) return;
  const vcl::TRect all{0, 0, width, height};
  TsSkinManager* manager = Manager();
  if (DialogChild && manager && manager->Skin().Colors.BorderColor != 0xFF00FF) {
    vcl::TCanvas* canvas = cache->Canvas();
    FillDC(canvas->Handle(), all, vcl::clWindow);
    canvas->Brush()->SetColor(manager->Skin().Colors.BorderColor);
    canvas->FrameRect(all);
  }
  TqvCacheInfo behind;
  SkinData->GetBGInfo(CtrlHandle, behind);
  skin_layered::PaintItem(SkinData->ControlSkin(), behind, SkinData->ControlIsActive() ? 1 : 0, all,
                          vcl::TPoint{WndPos.X, WndPos.Y}, cache, true);
  SkinData->BGChanged = false;
}

void TqvComboBoxWnd::OnPrint(vcl::TMessage& Message) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  SkinData->Updating = true;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  if (!SkinParamsApplied) ApplySkinParams();
  if (!alive) return;
  SkinData->Updating = false;
  SkinData->BGChanged = true;
  if (IsSimple())
    PrepareSimpleCache();
  else
    PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (!cache || cache->Empty() || !dc) return;
  vcl::TCustomComboBox* combo = Combo();
  if (combo && combo->ItemIndex() >= 0) {
    const vcl::TRect r{kComboFrameWidth, kComboFrameWidth, combo->Width() - ButtonRect().Width(),
                       combo->Height() - kComboFrameWidth};
    PaintItem(combo->ItemIndex(), r, cache->Canvas()->Handle(), vcl::TOwnerDrawState{vcl::odComboBoxEdit});
  } else {
    PaintEditPart();
  }
  if (!DialogChild) PaintAdapterBorder(SkinData, this);
  BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  PaintButton(dc);
}

vcl::String TqvComboBoxWnd::ItemText(int Index) const {
  if (vcl::TCustomComboBox* combo = Combo(); combo && Index >= 0 && Index < combo->Items()->Count())
    return combo->Items()->Strings(Index);
  // Read with its own length: an item's text may be of any size.
  const LRESULT length = SendMessageW(CtrlHandle, CB_GETLBTEXTLEN, static_cast<WPARAM>(Index), 0);
  if (length == CB_ERR || length < 0) return {};
  vcl::String text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT read =
      SendMessageW(CtrlHandle, CB_GETLBTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(read == CB_ERR || read < 0 ? 0 : std::min(static_cast<std::size_t>(read), static_cast<std::size_t>(length)));
  return text;
}

void TqvComboBoxWnd::PaintEditPart() {
  vcl::TBitmap* cache = SkinData->CacheBmp();
  vcl::TCanvas* canvas = cache->Canvas();
  SelectCacheFont();
  const vcl::TRect button = ButtonRect();
  const int width = cache->Width(), height = cache->Height();
  const vcl::TRect t = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING)
                           ? vcl::TRect{button.Right, kComboFrameWidth, width - kComboFrameWidth, height - kComboFrameWidth}
                           : vcl::TRect{kComboFrameWidth, kComboFrameWidth, button.Left, height - kComboFrameWidth};
  if (t.IsEmpty()) return;
  const int index = static_cast<int>(SendMessageW(CtrlHandle, CB_GETCURSEL, 0, 0));
  vcl::String text;
  if (index >= 0) {
    text = ItemText(index);
  } else {
    const int length = GetWindowTextLengthW(CtrlHandle);
    text.assign(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(CtrlHandle, text.data(), length + 1)));
  }
  const bool list = IsDropDownList();
  const bool focused = list && vcl::IsFocusWindow(CtrlHandle);
  if (focused) {
    canvas->Brush()->SetColor(vcl::clHighlight);
    canvas->FillRect(t);
    canvas->Font()->SetColor(vcl::clHighlightText);
  }
  canvas->Brush()->SetStyle(vcl::bsClear);
  const int shift = list ? 1 : 0;
  canvas->TextRect(t, t.Left + shift, t.Top + shift, text);
  if (focused) canvas->DrawFocusRect(t);
}

void TqvComboBoxWnd::OnDrawItem(const DRAWITEMSTRUCT& Item) {
  const vcl::TRect r{Item.rcItem.left, Item.rcItem.top, Item.rcItem.right, Item.rcItem.bottom};
  // Bit i of the state word is the system's ODS_* flag 1 << i (the edit part's and the
  // default item's flags included).
  PaintItem(static_cast<int>(Item.itemID), r, Item.hDC, vcl::TOwnerDrawState::FromInt(LOWORD(Item.itemState)));
}

void TqvComboBoxWnd::PaintItem(int Index, const vcl::TRect& R, HDC DC, vcl::TOwnerDrawState State) {
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData->Section();
  if (!manager || !section || !DC || R.Right <= 0 || R.Bottom <= 0 || R.IsEmpty()) return;
  const TsLoadedSkin& skin = manager->Skin();
  vcl::TCustomComboBox* combo = Combo();
  std::unique_ptr<vcl::TBitmap> bmp = CreateBmp32(R.Right, R.Bottom);
  vcl::TCanvas* canvas = bmp->Canvas();
  if (combo) canvas->Font()->Assign(combo->Font());
  if (SkinData->BGChanged && !IsSimple()) {
    PrepareCache();
    PaintAdapterBorder(SkinData, this);
  }
  const bool editPart = State.Contains(vcl::odComboBoxEdit);
  const int states = section->States;
  const int s = editPart ? ((SkinData->ControlIsActive() || SkinData->Focused()) && states > 1 ? 1 : 0)
                         : (states > 1 ? 1 : 0);
  vcl::TBitmap* cache = SkinData->CacheBmp();
  TqvCacheInfo behind;
  if (editPart && cache && !cache->Empty())
    MakeCacheInfo(cache, 0, 0, behind);
  else
    behind.FillColor = static_cast<std::uint32_t>(vcl::ColorToRGB(FillColor));

  const int selection = skin.GetSkinIndex(L"SELECTION");
  vcl::TColor fontColor;
  if (State.Contains(vcl::odSelected)) {
    if (skin.IsValidSkinIndex(selection)) {
      PaintItemBg(selection, behind, 1, R, vcl::TPoint{R.Left, R.Top}, bmp.get(), &skin);
    } else {
      canvas->Brush()->SetColor(skin.GetHighLightColor(true));
      canvas->FillRect(R);
    }
    fontColor = skin.GetHighLightFontColor(true);
  } else {
    if (editPart && cache && !cache->Empty()) {
      BitBlt(canvas->Handle(), R.Left, R.Top, R.Width(), R.Height(), cache->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
    } else {
      canvas->Brush()->SetColor(section->Props[static_cast<std::size_t>(s)].Color);
      canvas->FillRect(R);
    }
    fontColor = section->Props[static_cast<std::size_t>(s)].FontColor;
  }

  const bool ownerDrawn = combo &&
                          (combo->Style() == vcl::csOwnerDrawFixed || combo->Style() == vcl::csOwnerDrawVariable) &&
                          static_cast<bool>(combo->OnDrawItem);
  if (!ownerDrawn) {
    const vcl::String text =
        editPart && combo && combo->Style() == vcl::csDropDown ? combo->Text() : ItemText(Index);
    UINT flags = DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
    if (combo && combo->UseRightToLeftAlignment()) flags |= DT_RIGHT;
    if (combo && combo->UseRightToLeftReading()) flags |= DT_RTLREADING;
    vcl::TRect t = R;
    t.Left += kItemIndent;
    t.Right -= kItemIndent;
    if (State.Contains(vcl::odSelected) && skin.IsValidSkinIndex(selection)) {
      WriteSkinText(canvas, text, true, manager, 1, selection, flags, t);
    } else {
      canvas->Font()->SetColor(fontColor);
      const HDC dc = canvas->Handle();
      SetBkMode(dc, TRANSPARENT);
      RECT rt{t.Left, t.Top, t.Right, t.Bottom};
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rt, flags);
      if (State.Contains(vcl::odFocused) && !skin.IsValidSkinIndex(selection)) {
        RECT focus{R.Left, R.Top, R.Right, R.Bottom};
        DrawFocusRect(dc, &focus);
      }
    }
  } else if (Index >= 0 && Index < combo->Items()->Count()) {
    canvas->Font()->SetColor(fontColor);
    const vcl::TCanvasDCLoan loan(*combo->Canvas(), canvas->Handle());
    combo->Canvas()->Font()->Assign(canvas->Font());
    combo->OnDrawItem(combo, Index, R, State);
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), canvas->Handle(), R.Left, R.Top, SRCCOPY);
}

void TqvComboBoxWnd::OnMouseEnter(vcl::TMessage& Message) {
  if (SkinData->FMouseAbove) {
    TqvEditWnd::WndProc(Message);
    return;
  }
  SkinData->FMouseAbove = true;
  SkinData->BGChanged = true;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (!alive) return;
  if (vcl::TCustomComboBox* combo = Combo(); combo && !combo->Focused() && !SkinData->Focused()) ClearEditSelection();
  InvalidateNow();
}

void TqvComboBoxWnd::OnMouseLeave(vcl::TMessage& Message) {
  if (!SkinData->FMouseAbove) {
    TqvEditWnd::WndProc(Message);
    return;
  }
  if (HWND edit = Combo() ? EditOf(CtrlHandle) : nullptr; edit && vcl::IsFocusWindow(edit)) SkinData->FFocused = true;
  // Still over the combo box (over its edit field): it stays hot.
  RECT r{};
  GetWindowRect(CtrlHandle, &r);
  if (PtInRect(&r, AdapterCursorPos())) return;
  SkinData->FMouseAbove = false;
  SkinData->BGChanged = true;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (!alive) return;
  if (vcl::TCustomComboBox* combo = Combo(); combo && !combo->Focused() && !SkinData->Focused()) ClearEditSelection();
  InvalidateNow();
}

void TqvComboBoxWnd::MakeListAdapter(HWND List) {
  const bool simple = IsSimple();
  const bool repaint = SendMessageW(CtrlHandle, CB_GETCOUNT, 0, 0) > 0;
  const TqvSkinParams params{nullptr, L"EDIT", true, true};
  {
    // The list of a dialog's combo box is a dialog's child too.
    std::optional<TqvDialogChildScope> scope;
    if (!OwnerControl()) scope.emplace(DialogChild);
    ListAdapter = CreateAdapter<TqvComboListWnd>(List, nullptr, Manager(), params, repaint);
  }
  ListAdapter->SimpleList = simple;
  if (!simple) {
    // The frame recomputed through the adapter.
    const vcl::TSize size = WindowSize(List);
    SetWindowPos(List, nullptr, 0, 0, size.cx + 1, size.cy, kListFrameChange);
  }
}

void TqvComboBoxWnd::OnCtlColorList(vcl::TMessage& Message) {
  if (InColorMessage) {
    TqvEditWnd::WndProc(Message);
    return;
  }
  InColorMessage = true;
  const vcl::TScopeExit reset([this] { InColorMessage = false; });
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (!alive || !Message.LParam) return;
  if (!ListHandle) {
    ListHandle = reinterpret_cast<HWND>(Message.LParam);
    if (!ListAdapter) MakeListAdapter(ListHandle);
  }
  TqvSectionInfo info;
  info.SkinIndex = kNoIndex;
  SendMessageW(ListHandle, kSkinCmdMessage, SkinCommandWParam(scmGetSkinIndex), reinterpret_cast<LPARAM>(&info));
  const TsGeneralData* section = SkinData->Section();
  if (info.SkinIndex < 0 || DialogChild || !section) return;
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (section->Props[0].FontColor >= 0) SetTextColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(section->Props[0].FontColor)));
  SetBkColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(section->Props[0].Color)));
  Message.Result = reinterpret_cast<LRESULT>(ListBrush(section->Props[0].Color));
}

void TqvComboBoxWnd::OnRemoveSkin(vcl::TMessage& Message) {
  const bool own = FromOwnManager(Message);
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (!own || !alive) return;
  if (ListHandle && IsWindow(ListHandle)) {
    // The list's own border back.
    const LONG_PTR style = GetWindowLongPtrW(ListHandle, GWL_STYLE);
    SetWindowLongPtrW(ListHandle, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) | WS_BORDER);
  }
  UninstallAdapter(ListAdapter, true, false);
  ListHandle = nullptr;
  list_brush_.reset();
}

// ---------------------------------------------------------------------------------------
// The drop-down list

void TqvComboListWnd::SetSkinParams() {
  Tracking = false;
  RECT r{};
  GetWindowRect(CtrlHandle, &r);
  WndRect = vcl::TRect{r.left, r.top, r.right, r.bottom};
  TqvEditWnd::SetSkinParams();
}

void TqvComboListWnd::ApplySkinParams() {
  if (applying_ || !SkinData) return;
  applying_ = true;
  TqvMainWnd::ApplySkinParams();
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData->Section();
  if (!manager || !section || !manager->IsValidSkinIndex(SkinData->SkinIndex)) {
    BorderColor = 0;
  } else {
    if (!SkinData->CustomColor())
      FillColor = DialogChild ? vcl::ColorToRGB(vcl::clWindow) : section->Props[section->States > 1 ? 1 : 0].Color;
    BorderColor = manager->Skin().Colors.BorderColor;
  }
  SkinData->BGChanged = true;
  SkinData->Updating = false;
  applying_ = false;
}

bool TqvComboListWnd::KeepsCaptureAfterScroll() const { return !OwnerControl() && !SimpleList && ListState != -1; }

bool TqvComboListWnd::SwallowsButtonUpAfterScroll() const { return !OwnerControl() && !SimpleList; }

void TqvComboListWnd::PrepareListCache() {
  if (SimpleList) {
    SendCommandToWnd(CtrlHandle, scmPrepareCache, 0);
    return;
  }
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  SkinData->UpdateIndexes(true);
  ApplySkinParams();
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  vcl::TCanvas* canvas = cache->Canvas();
  canvas->Brush()->SetColor(FillColor);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Pen()->SetColor(BorderColor);
  canvas->Rectangle(0, 0, width, height);
  SkinData->BGChanged = false;
}

LRESULT TqvComboListWnd::ScrollHit(LPARAM ScreenPoint) {
  vcl::TMessage hit{WM_NCHITTEST, 0, ScreenPoint, 0};
  TqvScrollWnd::WndProc(hit);
  return hit.Result == HTHSCROLL || hit.Result == HTVSCROLL ? hit.Result : 0;
}

void TqvComboListWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) return TqvEditWnd::WndProc(Message);
  switch (Message.Msg) {
    case WM_ERASEBKGND: return OnListEraseBkgnd(Message);
    case WM_NCCALCSIZE: return TqvScrollWnd::WndProc(Message);  // the skinned bars' share, none of the edit's
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return OnNcButtonDown(Message);
    case WM_LBUTTONUP: return OnButtonUp(Message);
    case WM_HSCROLL:
    case WM_VSCROLL: return CallPrevWndProc(Message);
    case WM_NCPAINT: return ScrollingInProgress ? PassOn(Message) : OnNcPaint(Message);
    case WM_PRINT:
    case WM_PRINTCLIENT: return Message.WParam && IsWindowVisible(CtrlHandle) ? OnPrint(Message) : PassOn(Message);
    case kListStartTrack: return OnTracking(Message, true);
    case kListEndTrack: return OnTracking(Message, false);
    default: return PassOn(Message);
  }
}

void TqvComboListWnd::PassOn(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGED && alive) UpdateScrolls(this, true);
}

void TqvComboListWnd::OnListEraseBkgnd(vcl::TMessage& Message) {
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return CallPrevWndProc(Message);
  const vcl::TSize size = WindowSize(CtrlHandle);
  FillDC(dc, vcl::TRect{0, 0, size.cx, size.cy}, FillColor);
  Message.Result = 1;
}

// The list tells its own idea of the bars' place: the skinned bars' is taken instead, and a
// press anywhere else goes nowhere.
void TqvComboListWnd::OnNcButtonDown(vcl::TMessage& Message) {
  const LRESULT hit = ScrollHit(Message.LParam);
  if (!hit) {
    Message.Result = 0;
    return;
  }
  Message.WParam = static_cast<WPARAM>(hit);
  TqvScrollWnd::WndProc(Message);
}

void TqvComboListWnd::OnTracking(vcl::TMessage& Message, bool Started) {
  Tracking = Started;
  if (!Started) SkinData->BGChanged = true;
  PassOn(Message);
}

void TqvComboListWnd::OnButtonUp(vcl::TMessage& Message) {
  POINT p{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  ClientToScreen(CtrlHandle, &p);
  if (ScrollHit(MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)))) {
    // On a bar: the bars' release answers (a dropped list stays down and keeps the mouse).
    TqvScrollWnd::WndProc(Message);
    if (SimpleList && GetCapture() == CtrlHandle) ReleaseCapture();
    return;
  }
  // Elsewhere: a press of the bars ends, and the list takes the release (choosing an item).
  vcl::TMessage release = Message;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvScrollTracker::ButtonUp(*this, release);
  if (alive) CallPrevWndProc(Message);
}

void TqvComboListWnd::OnNcPaint(vcl::TMessage& Message) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  PrepareListCache();
  if (!DialogChild) PaintAdapterBorder(SkinData, this);
  if (const HDC dc = GetWindowDC(CtrlHandle)) {
    CopyFrameFromCache(dc);
    Message.Result = PaintScrollBars(this, CtrlHandle, kPartNone, dc);
    ReleaseDC(CtrlHandle, dc);
  }
  if (SimpleList) FillBelowSimpleList();
}

void TqvComboListWnd::OnPrint(vcl::TMessage& Message) {
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  PrepareListCache();
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (!alive) return;
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const TqvScrollState& scroll = ScrollState();
  const bool pressed = scroll.TrackWnd == CtrlHandle && scroll.PressedPart != kPartNone;
  if (Message.Msg == WM_PRINT && SendMessageW(CtrlHandle, LB_GETCOUNT, 0, 0) > 0 && !pressed && !Tracking && cache &&
      !cache->Empty())
    CopyStrips(dc, cache->Canvas()->Handle(), vcl::TSize{cache->Width(), cache->Height()}, 1);
  PaintScrollBars(this, CtrlHandle, kPartNone, dc);
}

void TqvComboListWnd::FillBelowSimpleList() {
  if (const HWND combo = GetParent(CtrlHandle)) FillBelowList(combo, CtrlHandle);
}

}  // namespace skin_layered
