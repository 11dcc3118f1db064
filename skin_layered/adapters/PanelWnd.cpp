#include "skin_layered/adapters/PanelWnd.h"

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvPanelWnd) {}

namespace {

// A panel tagged so keeps its caption to itself.
constexpr intptr_t kNoCaptionTag = 999;

vcl::TCustomPanel* AsPanel(vcl::TWinControl* Control) { return dynamic_cast<vcl::TCustomPanel*>(Control); }

}  // namespace

vcl::String TqvPanelWnd::SectionByBevels() const {
  vcl::TCustomPanel* panel = AsPanel(Panel);
  const vcl::TBevelCut outer = panel ? panel->BevelOuter() : vcl::bvRaised;
  const vcl::TBevelCut inner = panel ? panel->BevelInner() : vcl::bvNone;
  switch (outer) {
    case vcl::bvLowered:
      return inner == vcl::bvRaised ? L"GROUPBOX" : L"PANEL_LOW";
    case vcl::bvRaised:
      return inner == vcl::bvLowered ? L"GROUPBOX" : L"PANEL";
    default:
      return panel && panel->BorderStyle() == vcl::TBorderStyle::bsNone ? L"CHECKBOX" : L"PANEL_LOW";
  }
}

void TqvPanelWnd::SetSkinParams() {
  Panel = dynamic_cast<vcl::TWinControl*>(OwnerControl());
  if (SkinData && Panel) {
    if (SkinData->SkinSection().empty()) {
      // The section changes without a repaint of its own.
      const bool updating = SkinData->Updating;
      SkinData->Updating = true;
      SkinData->SetSkinSection(SectionByBevels());
      SkinData->Updating = updating;
    }
    vcl::TMessage message = SkinCommandMessage(scmNewSkin, reinterpret_cast<LPARAM>(Manager()));
    BroadcastCommand(Panel, message);
  }
  TqvMainWnd::SetSkinParams();
}

int TqvPanelWnd::BorderWidth() const {
  RECT wr{}, cr{};
  GetWindowRect(CtrlHandle, &wr);
  GetClientRect(CtrlHandle, &cr);
  return std::max(0, static_cast<int>((wr.right - wr.left) - cr.right) / 2);
}

void TqvPanelWnd::PrepareCache() {
  TqvCacheInfo ci;
  vcl::TBitmap* cache = AdapterCache(this);
  if (!cache) return;
  if (!AdapterParentBg(this, ci) || (!ci.Ready && ci.FillColor == 0xFF00FF)) {
    SkinData->Updating = true;
    return;
  }
  vcl::TRect r{0, 0, cache->Width(), cache->Height()};
  PaintItem(SkinData->ControlSkin(), ci, 0, r, WndPos, cache, true);
  if (vcl::TCustomPanel* panel = AsPanel(Panel)) {
    const int inset = (panel->BevelInner() != vcl::bvNone ? panel->BevelWidth() : 0) + panel->BorderWidth();
    r.Left += inset;
    r.Top += inset;
    r.Right -= inset;
    r.Bottom -= inset;
  }
  DrawCaption(r);
  SkinData->BGChanged = false;
}

void TqvPanelWnd::DrawCaption(vcl::TRect R) {
  if (Panel && Panel->Tag() == kNoCaptionTag) return;
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  SelectAdapterFont(this);
  canvas->Brush()->SetStyle(vcl::bsClear);
  const int h = canvas->TextHeight(L"Wg");
  R.Top = (R.Top + R.Bottom - h) / 2;
  R.Bottom = R.Top + h;
  UINT flags = DT_CENTER | DT_VCENTER;
  if (vcl::TCustomPanel* panel = AsPanel(Panel)) flags = GetDrawTextFlags(panel, panel->Alignment()) | 0x14;
  WriteTextEx(canvas, Caption, true, false, SkinData, flags, R);
}

void TqvPanelWnd::PaintBorder(HDC DC) {
  if (!SkinData) return;
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  if (client.Left <= 0 && client.Top <= 0 && client.Right >= wr.right - wr.left && client.Bottom >= wr.bottom - wr.top)
    return;
  if (SkinData->BGChanged) PrepareCache();
  const int b = BorderWidth();
  if (b == 0) {
    SkinData->Updating = true;
    return;
  }
  if (!SkinData->CacheBmp()) return;
  const bool own = DC == nullptr;
  const HDC dc = own ? GetWindowDC(CtrlHandle) : DC;
  if (!dc) return;
  BitBltBorder(dc, 0, 0, b, 0, 0, SkinData->CacheBmp()->Canvas()->Handle(), WndSize.cy, WndSize.cx);
  if (own) ReleaseDC(CtrlHandle, dc);
}

void TqvPanelWnd::PaintPanel(HDC DC) {
  vcl::TControl* control = OwnerControl();
  if (control && control->Parent() && control->Parent()->ControlState().Contains(vcl::csCreating)) return;
  if (SkinData->BgIsChanged()) return;
  const int b = BorderWidth();
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  PaintHostClient(this, Panel, DC, vcl::TRect{b, b, WndSize.cx - b, WndSize.cy - b}, [this] { PrepareCache(); });
}

bool TqvPanelWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
    case scmRefresh:
      TqvMainWnd::WndProc(Message);
      if (Panel) {
        vcl::TMessage copy = Message;
        BroadcastCommand(Panel, copy);
      }
      return true;
    case scmRemoveSkin:
      if (SkinData) SkinData->SkinIndex = kNoIndex;
      if (vcl::TControl* control = OwnerControl())
        control->SetControlStyle(control->ControlStyle() - vcl::TControlStyle{vcl::csOpaque});
      TqvMainWnd::WndProc(Message);
      return true;
    case scmRepaint:
      if (SkinData->Updating) {
        SkinData->Updating = false;
        RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      }
      if (Panel) RepaintChildControls(Panel);
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmPrepareCache:
      PrepareCache();
      TqvMainWnd::WndProc(Message);
      return true;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    default:
      return false;
  }
}

void TqvPanelWnd::WndProc(vcl::TMessage& Message) {
  vcl::TControl* control = OwnerControl();
  const bool skinned = SkinData && SkinData->Skinned() && !Destroyed;
  if (Message.Msg == kSkinCmdMessage && SkinData && Manager() && Manager()->Active()) {
    if (OnSkinCommand(Message)) return;
  }
  if (!skinned || (control && !control->ControlStyle().Contains(vcl::csAcceptsControls))) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT:
      PaintByErasing(CtrlHandle);
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      PaintPanel(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      PaintBorder(nullptr);
      Message.Result = 0;
      return;
    case WM_PRINT:
      PaintPanel(reinterpret_cast<HDC>(Message.WParam));
      PaintBorder(reinterpret_cast<HDC>(Message.WParam));
      return;
    case WM_SETTEXT:
      if (IsWindowVisible(CtrlHandle)) {
        SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
        TqvMainWnd::WndProc(Message);
        SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
        SkinData->BGChanged = true;
        SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
        return;
      }
      break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      if (const TsGeneralData* section = SkinData->Section(); section && section->Props[0].Transparency != 0)
        SkinData->BGChanged = true;
      TqvMainWnd::WndProc(Message);
      if (Message.Msg == WM_WINDOWPOSCHANGING) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      return;
    case WM_PARENTNOTIFY:
      TqvMainWnd::WndProc(Message);
      if (LOWORD(Message.WParam) == WM_CREATE) NotifyFormOfControl(control);
      return;
    case WM_UPDATEUISTATE:
      Message.Result = 1;
      return;
    case vcl::CM_TEXTCHANGED:
      SkinData->BGChanged = true;
      break;
    case vcl::CM_VISIBLECHANGED:
      SkinData->BGChanged = true;
      SkinData->Updating = false;
      if (Message.WParam) PrepareCache();
      TqvMainWnd::WndProc(Message);
      if (Panel) RepaintChildControls(Panel);
      return;
    case vcl::CM_SHOWINGCHANGED:
      if (control && control->Visible()) {
        if (TsSkinManager* manager = Manager(); manager && manager->Options()->OptimizingPriority() == opMemory)
          SkinData->Updating = false;
        NotifyFormOfControl(control);
        if (Panel) {
          vcl::TMessage fresh = SkinCommandMessage(scmNewSkin, reinterpret_cast<LPARAM>(Manager()));
          BroadcastCommand(Panel, fresh);
          vcl::TMessage refresh = SkinCommandMessage(scmRefresh, reinterpret_cast<LPARAM>(Manager()));
          BroadcastCommand(Panel, refresh);
        }
      }
      break;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
