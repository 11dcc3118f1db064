#include "skin_layered/adapters/ToolBarWnd.h"

#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/ButtonGlyphs.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SystemLook.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvToolBarVCLWnd) {}

namespace {

bool Designing(const vcl::TComponent* Component) {
  return Component && Component->ComponentState().Contains(vcl::csDesigning);
}

UINT DrawStateBits(vcl::TCustomDrawState State) { return static_cast<UINT>(State.ToInt()); }

}  // namespace

int TqvToolBarVCLWnd::ButtonSkinState(const vcl::TToolButton* Button, vcl::TCustomDrawState State) {
  const bool down = Button && Button->Down();
  vcl::TCustomDrawState rest = State;
  rest.Exclude(vcl::cdsDisabled);
  if (!down && rest.ToInt() == 0) return 0;
  if (!State.Contains(vcl::cdsSelected) && !State.Contains(vcl::cdsChecked) && !down) return 1;
  return 2;
}

int TqvToolBarVCLWnd::DropDownArrowWidth(const vcl::TToolButton* Button) {
  return Button && Button->Style() == vcl::tbsDropDown ? GetSystemMetrics(SM_CXVSCROLL) - 2 : 0;
}

bool TqvToolBarVCLWnd::Skinned() const {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed()) return false;
  // A skin without the bar's section still paints it, as see-through: the system's flat bar
  // would ask the skinned parent for a background it does not draw into a foreign DC.
  return SkinData->Skinned() || (SkinData->GetSkinManager() == manager && manager->Skin().SkinData.Active);
}

void TqvToolBarVCLWnd::SetEvents(bool On) {
  if (!ToolBar) return;
  if (On) {
    ToolBar->OnAdvancedCustomDraw = vcl::TTBAdvancedCustomDrawEvent::Bind<&TqvToolBarVCLWnd::BarDraw>(this);
    ToolBar->OnAdvancedCustomDrawButton =
        vcl::TTBAdvancedCustomDrawBtnEvent::Bind<&TqvToolBarVCLWnd::ButtonDraw>(this);
  } else {
    ToolBar->OnAdvancedCustomDraw = {};
    ToolBar->OnAdvancedCustomDrawButton = {};
  }
}

void TqvToolBarVCLWnd::SetSkinParams() {
  HotButton = -1;
  ToolBar = dynamic_cast<vcl::TToolBar*>(OwnerControl());
  if (ToolBar) {
    SetEvents(true);
    if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"TOOLBAR");
  }
  TqvMainWnd::SetSkinParams();
}

void TqvToolBarVCLWnd::PrepareCache() {
  TqvCacheInfo ci;
  if (PaintAdapterSection(this, ci)) SkinData->BGChanged = false;
}

void TqvToolBarVCLWnd::PaintBorder(HDC DC) {
  if (!SkinData) return;
  if (SkinData->BGChanged) PrepareCache();
  CopyBorderFromCache(this, DC);
}

void TqvToolBarVCLWnd::PaintToolBarBg(const vcl::TRect& R, HDC DC) {
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || !ToolBar) return;
  const int saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  const bool designing = Designing(ToolBar);
  for (int i = 0; i < ToolBar->ControlCount(); ++i) {
    vcl::TControl* child = ToolBar->Controls(i);
    if (!child->Visible()) continue;
    const vcl::TRect b = child->BoundsRect();
    if (b.Right <= R.Left || b.Left >= R.Right || b.Bottom <= R.Top || b.Top >= R.Bottom) continue;
    // Tool buttons are painted over the bar by their own handler.
    if (designing && dynamic_cast<vcl::TToolButton*>(child)) continue;
    const bool graphic = dynamic_cast<vcl::TGraphicControl*>(child) != nullptr;
    if (child->ControlStyle().Contains(vcl::csOpaque) || !graphic || designing)
      ExcludeClipRect(DC, b.Left, b.Top, b.Right, b.Bottom);
  }
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  BitBlt(DC, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, cache->Canvas()->Handle(), R.Left + client.Left,
         R.Top + client.Top, SRCCOPY);
  RestoreDC(DC, saved);
}

void TqvToolBarVCLWnd::BarDraw(vcl::TToolBar* Sender, const vcl::TRect& ARect, vcl::TCustomDrawStage Stage,
                               bool& DefaultDraw) {
  if (!Skinned()) {
    DefaultDraw = true;
    return;
  }
  if (SkinData->CheckBgChanged()) return;
  if (Stage != vcl::cdPrePaint) {
    DefaultDraw = false;
    return;
  }
  if (SkinData->BGChanged || !SkinData->CacheBmp()) PrepareCache();
  if (!SkinData->CacheBmp()) return;
  SkinData->CacheBmp()->Canvas()->SetFont(Sender->Font());
  const HDC dc = Sender->Canvas()->Handle();
  PaintToolBarBg(ARect, dc);
  PaintControlsOnDC(dc, Sender, vcl::TPoint{0, 0}, true);
  RepaintChildControls(Sender);
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  if (client.Left > 0 || client.Top > 0 || client.Right < WndSize.cx || client.Bottom < WndSize.cy)
    SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
}

void TqvToolBarVCLWnd::ButtonDraw(vcl::TToolBar* Sender, vcl::TToolButton* Button, vcl::TCustomDrawState State,
                                  vcl::TCustomDrawStage Stage, vcl::TTBCustomDrawFlags& Flags, bool& DefaultDraw) {
  (void)Sender;
  if (!Skinned()) {
    DefaultDraw = true;
    return;
  }
  DefaultDraw = false;
  if (Stage != vcl::cdPrePaint || !Button) return;
  if (!Designing(ToolBar) && HotButton >= 0 && Button->Index() == HotButton) State.Include(vcl::cdsHot);
  Flags.Include(vcl::tbNoEdges);
  Flags.Include(vcl::tbNoEtchedEffect);
  PaintButton(Button, State);
}

void TqvToolBarVCLWnd::PaintButton(vcl::TToolButton* Button, vcl::TCustomDrawState State) {
  RECT item{};
  SendMessageW(CtrlHandle, TB_GETITEMRECT, static_cast<WPARAM>(Button->Index()), reinterpret_cast<LPARAM>(&item));
  const int w = item.right - item.left, h = item.bottom - item.top;
  TsSkinManager* manager = Manager();
  if (w <= 0 || h <= 0 || !manager) return;
  if (SkinData->BGChanged || !SkinData->CacheBmp()) PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache) return;
  const int state = ButtonSkinState(Button, State);
  vcl::TBitmap bmp;
  bmp.SetPixelFormat(vcl::pf32bit);
  bmp.SetSize(w, h);
  bmp.Canvas()->SetFont(ToolBar->Font());
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  TqvCacheInfo ci;
  MakeCacheInfo(cache, client.Left + item.left, client.Top + item.top, ci);
  const TsLoadedSkin& skin = manager->Skin();
  const int section = manager->GetSkinIndex(L"TOOLBUTTON");
  const vcl::TRect all{0, 0, w, h};
  PaintItemBg(section, ci, state, all, vcl::TPoint{0, 0}, &bmp, &skin);
  // Without the button's section its text takes the bar's colours, the system's edge its state.
  int textSection = section;
  if (manager->IsValidSkinIndex(section)) {
    const int mask = manager->GetMaskIndex(section, L"TOOLBUTTON", L"BORDERSMASK");
    if (manager->IsValidImgIndex(mask)) DrawSkinRect(&bmp, all, ci, skin.Images[static_cast<std::size_t>(mask)], state, true);
  } else {
    DrawSystemButtonEdge(&bmp, all, state, true);
    textSection = SkinData->SkinIndex;
  }
  const int arrow = DropDownArrowWidth(Button);
  const int content = w - arrow;
  if (ToolBar->ShowCaptions() && !Button->Caption().empty()) {
    vcl::TCanvas* canvas = bmp.Canvas();
    vcl::TRect r;
    const bool images = ToolBar->Images() != nullptr;
    if (ToolBar->List()) {
      r = vcl::TRect{images && Button->ImageIndex() > -1 ? ToolBar->Images()->Width() + 6 : 1, 2, content - 2, h - 2};
    } else {
      const int tw = canvas->TextWidth(Button->Caption());
      r.Left = (content - tw) / 2;
      r.Right = r.Left + tw;
      const int th = canvas->TextHeight(L"A");
      if (images) {
        const int ih = ToolBar->Images()->Height();
        r.Top = ih + (h - ih - th - 3) / 2 + 3;
      } else {
        r.Top = (h - th) / 2;
      }
      r.Bottom = r.Top + th;
    }
    if (state == 2 && (!SkinData->Skinned() || manager->ButtonsOptions()->ShiftContentOnClick())) r.Offset(1, 1);
    canvas->Brush()->SetStyle(vcl::bsClear);
    WriteSkinText(canvas, Button->Caption(), Button->Enabled(), manager, state > 0 ? 1 : 0, textSection,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE, r);
  }
  if (ToolBar->Images() && Button->ImageIndex() >= 0 && Button->ImageIndex() < ToolBar->Images()->Count())
    PaintControlGlyph(ToolBar, Button, DrawStateBits(State), &bmp,
                      TqvToolBarSkin{&skin, SkinData->SkinIndex,
                                     !SkinData->Skinned() || manager->ButtonsOptions()->ShiftContentOnClick()});
  if (Button->Style() == vcl::tbsDropDown) PaintArrow(&bmp, Button, State.Contains(vcl::cdsHot) ? 1 : 0, content);
  if (!Button->Enabled()) {
    TqvCacheInfo behind;
    MakeCacheInfo(cache, client.Left + item.left, client.Top + item.top, behind);
    PaintDisabled(&bmp, kDisabledBlend, ToolBar, behind, vcl::TPoint{0, 0});
  }
  BitBlt(ToolBar->Canvas()->Handle(), Button->Left(), Button->Top(), w, h, bmp.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvToolBarVCLWnd::PaintArrow(vcl::TBitmap* Bmp, vcl::TToolButton* Button, int HotState, int ContentWidth) {
  TsSkinManager* manager = Manager();
  int state = HotState;
  if ((Button == DroppedButton && Button->DropdownMenu()) || Button->Down()) state = 2;
  const int section = manager->GetSkinIndex(L"TOOLBUTTON");
  const vcl::TRect area{ContentWidth, 0, Bmp->Width(), Bmp->Height()};
  TqvCacheInfo own;
  MakeCacheInfo(Bmp, 0, 0, own);
  if (manager->IsValidSkinIndex(section)) {
    const int mask = manager->GetMaskIndex(section, L"TOOLBUTTON", L"BORDERSMASK");
    if (manager->IsValidImgIndex(mask))
      DrawSkinRect(Bmp, area, own, manager->Skin().Images[static_cast<std::size_t>(mask)], state, true);
  }
  // The skins here carry no arrow picture: the small solid arrow in the section's font colour.
  vcl::TRect r = area;
  if (state == 2 && manager->ButtonsOptions()->ShiftContentOnClick()) r.Offset(1, 1);
  vcl::TColor color = vcl::clBtnText;
  if (const TsGeneralData* data = manager->IsValidSkinIndex(section)
                                      ? &manager->Skin().Sections[static_cast<std::size_t>(section)]
                                      : nullptr)
    color = data->Props[state > 0 ? 1 : 0].FontColor;
  DrawArrow(Bmp->Canvas(), color, r, 3);
}

int TqvToolBarVCLWnd::HitTest(POINT P) const {
  const int count = static_cast<int>(SendMessageW(CtrlHandle, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(CtrlHandle, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    if (!PtInRect(&r, P)) continue;
    if (!ToolBar || i >= ToolBar->ButtonCount()) return -1;
    return ToolBar->Buttons(i)->Style() >= vcl::tbsSeparator ? -1 : i;
  }
  return -1;
}

void TqvToolBarVCLWnd::RepaintButton(int Index) {
  if (!ToolBar || Index < 0 || Index >= ToolBar->ButtonCount()) return;
  vcl::TToolButton* button = ToolBar->Buttons(Index);
  if (!button->Visible() || !Skinned()) return;
  const HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  SetViewportOrgEx(dc, client.Left, client.Top, nullptr);
  {
    const vcl::TCanvasDCLoan loan(*ToolBar->Canvas(), dc);
    vcl::TTBCustomDrawFlags flags;
    bool default_draw = false;
    vcl::TCustomDrawState state;
    if (!button->Enabled()) state.Include(vcl::cdsDisabled);
    if (button->Down()) state.Include(vcl::cdsChecked);
    ButtonDraw(ToolBar, button, state, vcl::cdPrePaint, flags, default_draw);
  }
  ReleaseDC(CtrlHandle, dc);
}

void TqvToolBarVCLWnd::OnNotify(vcl::TMessage& Message) {
  const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
  if (!header) return;
  if (header->code == TBN_DELETINGBUTTON) {
    if (HotButton >= static_cast<int>(SendMessageW(CtrlHandle, TB_BUTTONCOUNT, 0, 0)) - 1) HotButton = -1;
  } else if (header->code == TBN_DROPDOWN && ToolBar) {
    const auto* info = reinterpret_cast<const NMTOOLBARW*>(header);
    const int index = static_cast<int>(SendMessageW(CtrlHandle, TB_COMMANDTOINDEX, static_cast<WPARAM>(info->iItem), 0));
    if (index >= 0 && index < ToolBar->ButtonCount()) {
      DroppedButton = ToolBar->Buttons(index);
      RepaintButton(index);
    }
  }
}

bool TqvToolBarVCLWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      SetEvents(true);
      return false;
    case scmRemoveSkin:
      if (FromOwnManager(Message)) {
        SetEvents(false);
        DroppedButton = nullptr;
      }
      return false;
    case scmRefresh:
      if (FromOwnManager(Message)) DroppedButton = nullptr;
      return false;
    case scmPrepareCache:
      return true;
    case scmGetBgInfo:
      if (Message.LParam) {
        auto& info = *reinterpret_cast<TqvBGInfo*>(Message.LParam);
        ProvideBgInfo(SkinData, info, 0, CtrlHandle);
        vcl::TRect client;
        GetClientRectInWindow(CtrlHandle, client);
        info.Offset.X += client.Left;
        info.Offset.Y += client.Top;
      }
      return true;
    default:
      return false;
  }
}

void TqvToolBarVCLWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && SkinData && !Destroyed() && OnSkinCommand(Message)) return;
  if (!Skinned()) return TqvMainWnd::WndProc(Message);
  switch (Message.Msg) {
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: return OnNcPaint(Message);
    case WM_PRINT: return OnPrint(Message);
    case WM_SIZE: return OnSize(Message);
    case WM_MOUSEMOVE: return OnMouseMove(Message);
    case vcl::CM_MOUSELEAVE: return OnMouseLeave(Message);
    case vcl::CN_NOTIFY: return OnNotifyMessage(Message);
    case vcl::CN_DROPDOWNCLOSED: return OnDropDownClosed(Message);
    default: return TqvMainWnd::WndProc(Message);
  }
}

void TqvToolBarVCLWnd::OnPaint(vcl::TMessage& Message) {
  if (!SkinData->CheckBgChanged()) return TqvMainWnd::WndProc(Message);
  PAINTSTRUCT ps{};
  BeginPaint(CtrlHandle, &ps);
  EndPaint(CtrlHandle, &ps);
}

void TqvToolBarVCLWnd::OnNcPaint(vcl::TMessage& Message) {
  if (TsSkinManager* manager = Manager(); !manager->HoldsBroadcast()) PaintBorder(nullptr);
  Message.Result = 0;
}

void TqvToolBarVCLWnd::OnPrint(vcl::TMessage& Message) {
  SkinData->Updating = false;
  if (SkinData->BGChanged) PrepareCache();
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  CopyBorderFromCache(this, dc);
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, client.Left, client.Top, nullptr);
  IntersectClipRect(dc, 0, 0, client.Right - client.Left, client.Bottom - client.Top);
  SendMessageW(CtrlHandle, WM_PAINT, Message.WParam, 0);
  RestoreDC(dc, saved);
  Message.Result = 0;
}

void TqvToolBarVCLWnd::OnSize(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (!SkinData->BgIsChanged()) RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE);
}

void TqvToolBarVCLWnd::OnMouseMove(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (Designing(ToolBar)) return;
  const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  const int hit = HitTest(p);
  if (hit == HotButton || (hit >= 0 && ToolBar && !ToolBar->Buttons(hit)->Enabled())) return;
  const int old = HotButton;
  HotButton = hit;
  RepaintButton(old);
  RepaintButton(hit);
}

void TqvToolBarVCLWnd::OnMouseLeave(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (Designing(ToolBar)) return;
  const int old = HotButton;
  HotButton = -1;
  RepaintButton(old);
}

void TqvToolBarVCLWnd::OnNotifyMessage(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  OnNotify(Message);
}

void TqvToolBarVCLWnd::OnDropDownClosed(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  if (!DroppedButton) return;
  vcl::TToolButton* button = DroppedButton;
  HotButton = -1;
  DroppedButton = nullptr;
  RepaintButton(button->Index());
}

}  // namespace skin_layered
