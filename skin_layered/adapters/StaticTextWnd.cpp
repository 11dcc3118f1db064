#include "skin_layered/adapters/StaticTextWnd.h"

#include "classlib/forms/Forms.h"
#include "classlib/stdctrls/StaticText.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvStaticTextWnd) {}

vcl::String TqvStaticTextWnd::SectionOfControl() const {
  vcl::TWinControl* control = StaticControl;
  if (control->BevelKind() != vcl::bkNone) {
    switch (control->BevelOuter()) {
      case vcl::bvLowered:
        return control->BevelInner() == vcl::bvRaised ? L"GROUPBOX" : L"PANEL_LOW";
      case vcl::bvRaised:
        return control->BevelInner() == vcl::bvLowered ? L"GROUPBOX" : L"PANEL";
      default:
        return L"CHECKBOX";
    }
  }
  auto* text = dynamic_cast<vcl::TCustomStaticText*>(control);
  return text && text->BorderStyle() != vcl::sbsNone ? L"GROUPBOX" : L"CHECKBOX";
}

void TqvStaticTextWnd::SetSkinParams() {
  StaticControl = dynamic_cast<vcl::TWinControl*>(OwnerControl());
  if (SkinData && StaticControl && SkinData->SkinSection().empty()) {
    // The section changes without a repaint of its own.
    const bool updating = SkinData->Updating;
    SkinData->Updating = true;
    SkinData->SetSkinSection(SectionOfControl());
    SkinData->Updating = updating;
  }
  TqvMainWnd::SetSkinParams();
}

void TqvStaticTextWnd::PrepareCache() {
  if (!SkinData) return;
  vcl::TBitmap* cache = AdapterCache(this);
  if (!cache) return;
  TqvCacheInfo ci;
  // A parent that offers nothing yet: painted again when it does, the cache still to be made.
  const bool ready = AdapterParentBg(this, ci) && (ci.Bmp || ci.FillColor != 0xFF00FF);
  const vcl::TRect all{0, 0, cache->Width(), cache->Height()};
  if (SkinData->CustomColor() && StaticControl)
    FillDC(cache->Canvas()->Handle(), all, StaticControl->Color());
  else
    PaintItem(SkinData->ControlSkin(), ci, 0, all, WndPos, cache, true);
  const int b = SideFrameWidth(CtrlHandle);
  DrawCaption(vcl::TRect{b, b, all.Right - b, all.Bottom - b});
  if (ready) {
    SkinData->BGChanged = false;
  } else {
    SkinData->Updating = true;
  }
}

void TqvStaticTextWnd::DrawCaption(const vcl::TRect& R) {
  if (Caption.empty()) return;
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  SelectCacheFont();
  canvas->Brush()->SetStyle(vcl::bsClear);
  UINT flags = DT_CENTER | DT_VCENTER;
  bool enabled = true;
  if (StaticControl) {
    auto* text = dynamic_cast<vcl::TCustomStaticText*>(StaticControl);
    flags = GetDrawTextFlags(StaticControl, text ? text->Alignment() : vcl::taLeftJustify) | DT_WORDBREAK;
    enabled = StaticControl->Enabled();
  }
  WriteSkinText(canvas, Caption, enabled, Manager(), 0, SkinData->SkinIndex, flags, R);
}

void TqvStaticTextWnd::PaintClient(HDC DC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  const int b = SideFrameWidth(CtrlHandle);
  PaintHostClient(this, StaticControl, DC, vcl::TRect{b, b, WndSize.cx - b, WndSize.cy - b},
                  [this] { PrepareCache(); });
}

void TqvStaticTextWnd::PaintNonClient(HDC DC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (SkinData->BGChanged) PrepareCache();
  CopyFrameStrips(this, DC, SideFrameWidth(CtrlHandle));
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TqvStaticTextWnd::WndProc(vcl::TMessage& Message) {
  if (!StaticControl || Destroyed() || !SkinData) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  if (Message.Msg == kSkinCmdMessage) {
    if (!OnSkinCommand(Message)) TqvMainWnd::WndProc(Message);
    return;
  }
  if (!SkinData->Skinned(false) || !OnSkinnedMessage(Message)) TqvMainWnd::WndProc(Message);
}

bool TqvStaticTextWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    case scmRemoveSkin: {
      if (!FromOwnManager(Message)) return false;
      ForgetSkin();
      DropOpaqueStyle();
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvMainWnd::WndProc(Message);
      if (!alive) return true;
      PassSkinRemoval(Message);
      return true;
    }
    case scmRepaint:
      RepaintHost(this, StaticControl);
      return true;
    case scmPrepareCache:
      if (SkinData->Skinned(false)) PrepareCache();
      return false;
    default:
      // A new skin and a refresh reach the children through the adapter root.
      return false;
  }
}

bool TqvStaticTextWnd::OnSkinnedMessage(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      PaintNonClient(nullptr);
      Message.Result = 0;
      return true;
    case WM_PRINT:
      if (const HDC dc = reinterpret_cast<HDC>(Message.WParam)) {
        {
          // The client area lies inside the frame of the printed window.
          const TSavedDC saved(dc);
          const int b = SideFrameWidth(CtrlHandle);
          OffsetViewportOrgEx(dc, b, b, nullptr);
          PaintClient(dc);
        }
        PaintNonClient(dc);
      }
      Message.Result = 0;
      return true;
    case vcl::CM_ENABLEDCHANGED:
      SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
      TqvMainWnd::WndProc(Message);
      SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
      // The caption is drawn into the cache: the disabled look needs a new one.
      SkinData->BGChanged = true;
      InvalidateRect(CtrlHandle, nullptr, TRUE);
      return true;
    default:
      return HostMessage(
          this, Message, [this](vcl::TMessage& M) { TqvMainWnd::WndProc(M); }, [this](HDC DC) { PaintClient(DC); });
  }
}

}  // namespace skin_layered
