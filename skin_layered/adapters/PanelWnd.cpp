#include "skin_layered/adapters/PanelWnd.h"

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvPanelWnd) {}

namespace {

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
  if (Panel && Panel->Tag() == kPanelNoCaptionTag) return;
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  SelectCacheFont();
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
  const int b = SideFrameWidth(CtrlHandle);
  if (b == 0) {
    SkinData->Updating = true;
    return;
  }
  CopyFrameStrips(this, DC, b);
}

void TqvPanelWnd::PaintPanel(HDC DC) {
  vcl::TControl* control = OwnerControl();
  if (control && control->Parent() && control->Parent()->ControlState().Contains(vcl::csCreating)) return;
  if (SkinData->BgIsChanged()) return;
  const int b = SideFrameWidth(CtrlHandle);
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
      DropOpaqueStyle();
      TqvMainWnd::WndProc(Message);
      return true;
    case scmRepaint:
      RepaintHost(this, Panel);
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
  const bool skinned = SkinData && SkinData->Skinned() && !Destroyed();
  if (Message.Msg == kSkinCmdMessage && SkinData && Manager() && Manager()->Active()) {
    if (OnSkinCommand(Message)) return;
  }
  if (!skinned || (control && !control->ControlStyle().Contains(vcl::csAcceptsControls))) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_NCPAINT:
      PaintBorder(nullptr);
      Message.Result = 0;
      return;
    case WM_PRINT:
      PaintPanel(reinterpret_cast<HDC>(Message.WParam));
      PaintBorder(reinterpret_cast<HDC>(Message.WParam));
      return;
    case vcl::CM_VISIBLECHANGED:
      SkinData->BGChanged = true;
      SkinData->Updating = false;
      if (Message.WParam) PrepareCache();
      TqvMainWnd::WndProc(Message);
      if (Panel) RepaintChildControls(Panel);
      return;
    case vcl::CM_SHOWINGCHANGED:
      // Shown again: painted at once when the manager keeps no caches of hidden controls.
      if (TsSkinManager* manager = Manager();
          control && control->Visible() && manager && manager->Options()->OptimizingPriority() == opMemory)
        SkinData->Updating = false;
      break;
    default:
      break;
  }
  // The rest as every host of children answers it.
  if (!HostMessage(
          this, Message, [this](vcl::TMessage& M) { TqvMainWnd::WndProc(M); },
          [this](HDC DC) { PaintPanel(DC); }))
    TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
