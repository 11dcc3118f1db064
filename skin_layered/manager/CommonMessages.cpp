// The skin data's message handlers: the skin command message (CommonWndProc) and the owner's
// window and control messages (CommonMessage), one small handler per message.
#include <algorithm>

#include "classlib/controls/Themes.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {
namespace {

bool KindOf(const vcl::TObject* Object, vcl::StringView ClassName) {
  for (const vcl::TClassInfo* c = Object ? &Object->ClassType() : nullptr; c; c = c->Parent)
    if (c->Name == ClassName) return true;
  return false;
}

// Asked for every control at every paint: the class reference is compared, not the type
// names a cast compares.
bool Destroying(const vcl::TObject* Object) {
  return Object && Object->InheritsFrom<vcl::TComponent>() &&
         static_cast<const vcl::TComponent*>(Object)->ComponentState().Contains(vcl::csDestroying);
}

vcl::TWinControl* Windowed(vcl::TControl* Control) { return dynamic_cast<vcl::TWinControl*>(Control); }

HWND HandleOf(vcl::TControl* Control) {
  vcl::TWinControl* w = Windowed(Control);
  return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

bool FullyTransparent(const TsGeneralData& Section) {
  return Section.Props[0].Transparency >= 100 && Section.Props[1].Transparency >= 100;
}

// The message comes from the skin data's own manager.
bool FromOwnManager(const vcl::TMessage& Message, const TsCommonData& Data) {
  return Message.LParam != 0 && reinterpret_cast<TsSkinManager*>(Message.LParam) == Data.GetSkinManager();
}

void RecomputeFrame(HWND Wnd, UINT Extra) {
  if (Wnd)
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | Extra);
}

// ---- the skin command message

void NewSkin(vcl::TMessage& Message, TsCommonData& Data) {
  if (!FromOwnManager(Message, Data)) return;
  Data.ResolveSection();
  Data.SetFirstSection({Data.SkinSection()});
  Data.DropCache();
  Data.Invalidate(false);
}

void RemoveSkin(vcl::TMessage& Message, TsCommonData& Data) {
  if (!FromOwnManager(Message, Data)) return;
  if (Destroying(Data.GetSkinManager())) Data.ForgetManager();
  Data.SkinIndex = Data.BorderIndex = Data.Texture = Data.HotTexture = kNoIndex;
  Data.Updating = true;
  Data.DropCache();
  vcl::TControl* owner = Data.OwnerControl();
  if (KindOf(owner, L"TCustomEdit")) {
    if (!Data.CustomColor()) owner->SetColor(vcl::clWindow);
    if (!Data.CustomFont()) owner->Font()->SetColor(vcl::clWindowText);
    if (HWND h = HandleOf(owner)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  } else if (vcl::TWinControl* windowed = Windowed(owner)) {
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (vcl::TControl* child = windowed->Controls(i); KindOf(child, L"TCustomLabel"))
        child->Font()->SetColor(vcl::clWindowText);
  }
}

void Refresh(vcl::TMessage& Message, TsCommonData& Data) {
  if (!FromOwnManager(Message, Data)) return;
  Data.BGChanged = true;
  Data.Updating = false;
  Data.UpdateColors(true);
  Data.Invalidate(false);
  if (IsFrameRefreshCode(Data.COC)) RecomputeFrame(HandleOf(Data.OwnerControl()), SWP_NOACTIVATE);
}

void Repaint(TsCommonData& Data) {
  vcl::TWinControl* windowed = Windowed(Data.OwnerControl());
  if (!Data.Updating || !windowed) return;
  if (!Data.CheckBgChanged(true) && windowed->HandleAllocated())
    RedrawWindow(windowed->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  RepaintChildControls(windowed);
}

LRESULT IsBgChanged(TsCommonData& Data) {
  if (Data.CheckBgChanged(false)) return 1;
  if (!Data.IsCached() || Data.CustomColor()) return 0;
  vcl::TControl* owner = Data.OwnerControl();
  vcl::TWinControl* windowed = Windowed(owner);
  if (!windowed) return 0;
  auto empty = [&] {
    vcl::TBitmap* cache = Data.CacheBmp();
    return !cache || cache->Width() == 0 || cache->Height() == 0;
  };
  if (empty()) {
    SendCommandToCtrl(owner, scmPrepareCache, 0);
    return empty() ? 1 : 0;
  }
  vcl::TBitmap* cache = Data.CacheBmp();
  return cache->Width() != owner->Width() || cache->Height() != owner->Height() ? 1 : 0;
}

void BgChangedDeep(vcl::TMessage& Message, TsCommonData& Data) {
  const bool depends = Data.BgDependsOnParent();
  Data.BGChanged = Data.BGChanged || depends;
  vcl::TWinControl* windowed = Windowed(Data.OwnerControl());
  if (windowed && windowed->HandleAllocated() && Message.WParamLo() == 1)
    RedrawWindow(windowed->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
  if (!depends || !windowed) return;
  for (int i = 0; i < windowed->ControlCount(); ++i) {
    vcl::TControl* child = windowed->Controls(i);
    if (!Destroying(child)) SendCommandToCtrl(child, scmBgChangedDeep, 0);
  }
}

// The colour under the control as its children see it: the section's, mixed with what lies
// behind by the transparency as a percentage.
LRESULT GetColor(TsCommonData& Data) {
  vcl::TControl* owner = Data.OwnerControl();
  if (!owner) return 0;
  const TsGeneralData* section = Data.Section();
  if (!section) return vcl::ColorToRGB(owner->Color());
  const int t = section->Props[0].Transparency;
  const vcl::TColor own = vcl::ColorToRGB(section->Props[0].Color);
  if (t <= 0) return own;
  vcl::TWinControl* parent = owner->Parent();
  vcl::TColor behind;
  if (!parent)
    behind = vcl::ColorToRGB(owner->Color());
  else if (HandleOf(parent) && GetBoolCommand(parent->Handle(), scmIsSkinned))
    behind = vcl::ColorToRGB(static_cast<vcl::TColor>(SendCommandToWnd(parent->Handle(), scmGetColor, 0)));
  else
    behind = vcl::ColorToRGB(parent->Color());
  if (t >= 100) return behind;
  return static_cast<LRESULT>(
      MixColors(static_cast<TColorValue>(behind), static_cast<TColorValue>(own), std::min(t, 100) / 100.0));
}

void DropCache(TsCommonData& Data) {
  if (!Data.CacheBmp()) return;
  if (vcl::TWinControl* windowed = Windowed(Data.OwnerControl()))
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (HWND h = HandleOf(windowed->Controls(i))) SendCommandToWnd(h, scmDropCache, 0);
  Data.DropCache();
  Data.BGChanged = true;
}

LRESULT GetState(vcl::TMessage& Message, TsCommonData& Data) {
  if (Message.LParam == 1)
    Data.Invalidate(true);
  else if (Data.CtrlSkinState == kStateUnknown)
    Data.Invalidate(false);
  return Data.CtrlSkinState;
}

void SetPrintTarget(vcl::TMessage& Message, TsCommonData& Data) {
  if (Message.LParam)
    Data.CtrlSkinState |= kStatePrintDC;
  else
    Data.CtrlSkinState &= static_cast<std::uint16_t>(~kStatePrintDC);
  Data.PrintDC = reinterpret_cast<HDC>(Message.LParam);
}

void ScrollsChanged(vcl::TMessage& Message, TsCommonData& Data) {
  vcl::TWinControl* windowed = Windowed(Data.OwnerControl());
  if (!windowed) return;
  if (windowed->HandleAllocated())
    RecomputeFrame(windowed->Handle(), SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  BroadcastCommand(windowed, Message);
}

// ---- the owner's messages

// State colours of the section for a colour-following code with at least two states, the
// window repainted where they changed.
void ShowStateColors(TsCommonData& Data, int State) {
  const TsGeneralData* section = Data.Section();
  HWND h = HandleOf(Data.OwnerControl());
  if (!section || !IsColorFollowingCode(Data.COC) || section->States < 2) return;
  if (Data.ApplyColorsOfState(State) && h) InvalidateRect(h, nullptr, TRUE);
  if (h) SendMessageW(h, WM_NCPAINT, 0, 0);
}

bool SkinnedFocusable(TsCommonData& Data) {
  vcl::TWinControl* windowed = Windowed(Data.OwnerControl());
  const TsGeneralData* section = Data.Section();
  return section && windowed && windowed->CanFocus() && !FullyTransparent(*section);
}

void SetFocusMessage(TsCommonData& Data) {
  if (!SkinnedFocusable(Data) || !HandleOf(Data.OwnerControl())) return;
  Data.BGChanged = true;
  Data.FFocused = true;
  ShowStateColors(Data, 1);
}

// Back to the normal colours once neither focused nor hot; the window repainted when visible.
void LeaveState(TsCommonData& Data) {
  vcl::TControl* owner = Data.OwnerControl();
  bool changed = false;
  if (IsColorFollowingCode(Data.COC) && !Data.ControlIsActive()) changed = Data.ApplyColorsOfState(0);
  if (!owner->Visible() || !IsColorFollowingCode(Data.COC)) return;
  Data.BGChanged = true;
  if (HWND h = HandleOf(owner)) {
    if (changed) InvalidateRect(h, nullptr, TRUE);
    SendMessageW(h, WM_NCPAINT, 0, 0);
  }
}

void KillFocusMessage(TsCommonData& Data) {
  if (!SkinnedFocusable(Data)) return;
  Data.BGChanged = true;
  Data.FFocused = false;
  LeaveState(Data);
}

void MoveMessage(TsCommonData& Data) {
  if (!Data.Skinned()) return;
  if (Data.OuterEffects()->Visibility() == ovAlways) Data.RefreshParentCache();
  if (Data.BgDependsOnParent()) {
    Data.BGChanged = true;
    if (vcl::TControl* owner = Data.OwnerControl())
      owner->Perform(kSkinCmdMessage, SkinCommandWParam(scmBgChangedDeep, 1), 0);
  }
  Data.ReleaseGlow();
}

void SizeMessage(TsCommonData& Data) {
  if (!Data.Skinned()) return;
  Data.BGChanged = true;
  if (Data.OuterEffects()->Visibility() == ovAlways) Data.RefreshParentCache();
  vcl::TWinControl* windowed = Windowed(Data.OwnerControl());
  if (windowed && Data.Section()->Props[0].GradientPercent > 0)
    for (int i = 0; i < windowed->ControlCount(); ++i) {
      vcl::TControl* child = windowed->Controls(i);
      if (Destroying(child)) continue;
      if (HWND h = HandleOf(child))
        SendMessageW(h, kSkinCmdMessage, SkinCommandWParam(scmBgChangedDeep, 1), 0);
      else
        child->Perform(kSkinCmdMessage, SkinCommandWParam(scmBgChangedDeep, 1), 0);
    }
  Data.ReleaseGlow();
}

bool UpdateUIState(TsCommonData& Data) {
  if (Data.Skinned()) return true;
  HWND h = HandleOf(Data.OwnerControl());
  if (h && vcl::ThemeServices() && vcl::ThemeServices()->ThemesEnabled())
    if (TSetWindowThemeProc setTheme = SetWindowThemeProc()) setTheme(h, nullptr, nullptr);
  return false;
}

void ContextMenu(TsCommonData& Data) {
  vcl::TControl* owner = Data.OwnerControl();
  TsSkinManager* manager = Data.GetSkinManager();
  if (!owner || !manager) return;
  if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(owner->GetPopupMenu()))
    FormServices().SetMenuOwnerDraw(manager->SkinableMenus(), popup, true);
}

void EnabledChanged(TsCommonData& Data) {
  Data.FMouseAbove = false;
  Data.FFocused = false;
  if (Data.OwnerControl() && !Data.OwnerControl()->Enabled()) Data.ReleaseGlow();
}

void VisibleChanged(vcl::TMessage& Message, TsCommonData& Data) {
  const TsSkinManager* manager = Data.GetSkinManager();
  if (!manager || manager->Options()->OptimizingPriority() != opMemory) return;
  if (Destroying(Data.OwnerObject()) || !Data.CacheBmp()) return;
  if (Message.WParam == 0) {
    Data.DropCache();
    if (vcl::TWinControl* windowed = Windowed(Data.OwnerControl()))
      for (int i = 0; i < windowed->ControlCount(); ++i) {
        vcl::TControl* child = windowed->Controls(i);
        if (HWND h = HandleOf(child))
          SendCommandToWnd(h, scmDropCache, 0);
        else
          child->Perform(kSkinCmdMessage, SkinCommandWParam(scmDropCache), 0);
      }
  } else {
    Data.Updating = false;
  }
  Data.BGChanged = true;
}

bool HoverApplies(TsCommonData& Data) {
  vcl::TControl* owner = Data.OwnerControl();
  const TsSkinManager* manager = Data.GetSkinManager();
  if (!owner || owner->ComponentState().Contains(vcl::csDesigning) || !Data.Skinned()) return false;
  if (!manager || manager->Options()->NoMouseHover()) return false;
  return !FullyTransparent(*Data.Section());
}

void MouseEnter(TsCommonData& Data) {
  if (!HoverApplies(Data)) return;
  vcl::TControl* owner = Data.OwnerControl();
  if (!Windowed(owner)) {
    Data.FMouseAbove = true;
    return;
  }
  TsSkinManager* manager = DefaultSkinManager();
  if (!manager) return;
  if (!IsNoHotTrackingCode(Data.COC)) Data.FMouseAbove = true;
  manager->SetHotControl(owner);
  if (!NoGlowOnEnter(Data.COC)) Data.PaintOuterEffects(false, nullptr, 255);
  if (IsColorFollowingCode(Data.COC) && Data.Section()->States >= 2) {
    Data.BGChanged = true;
    ShowStateColors(Data, 1);
  }
}

void MouseLeave(TsCommonData& Data) {
  if (!HoverApplies(Data)) return;
  if (!IsNoHotTrackingCode(Data.COC)) Data.FMouseAbove = false;
  if (!NoGlowOnEnter(Data.COC)) Data.ReleaseGlow();
  LeaveState(Data);
}

}  // namespace

bool CommonWndProc(vcl::TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData || Message.Msg != kSkinCmdMessage) return true;
  TsCommonData& data = *SkinData;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin: NewSkin(Message, data); return true;
    case scmRemoveSkin: RemoveSkin(Message, data); return true;
    case scmRefresh: Refresh(Message, data); return true;
    case scmRepaint: Repaint(data); return true;
    case scmIsSkinned: Message.Result = 1; return true;
    case scmSetUpdating: data.Updating = Message.WParamLo() == 1; return true;
    case scmIsBgChanged: Message.Result = IsBgChanged(data); return true;
    case scmGetPaintToDC: Message.Result = data.PaintToDC ? 1 : 0; return true;
    case scmSectionChanged:
      if (Message.LParam && SectionChangedNames(Message.LParam, data.SkinSection())) data.Loaded(false);
      return true;
    case scmSetSection:
      if (!Message.LParam) {
        Message.Result = 0;
        return true;
      }
      data.SetSkinSection(reinterpret_cast<const TqvSectionInfo*>(Message.LParam)->SectionName);
      Message.Result = 1;
      return true;
    case scmBgChanged: data.BGChanged = true; return true;
    case scmReload: data.Loaded(false); return true;
    case scmIsReady: Message.Result = 1; return true;
    case scmBgChangedDeep: BgChangedDeep(Message, data); return true;
    case scmGetColor: Message.Result = GetColor(data); return true;
    case scmMarkPaintToDC: data.PaintToDC = true; return true;
    case scmPrepareCache: data.BGChanged = false; return true;
    case scmGetSkinIndex:
      if (Message.LParam) reinterpret_cast<TqvSectionInfo*>(Message.LParam)->SkinIndex = data.SkinIndex;
      return true;
    case scmDropCache: DropCache(data); return true;
    case scmGetBgInfo:
      if (Message.LParam)
        ProvideBgInfo(SkinData, *reinterpret_cast<TqvBGInfo*>(Message.LParam), data.FFocused || data.FMouseAbove ? 1 : 0);
      return true;
    case scmGetState: Message.Result = GetState(Message, data); return true;
    case scmGetSkinData: Message.Result = reinterpret_cast<LRESULT>(SkinData); return true;
    case scmSetPrintTarget: SetPrintTarget(Message, data); return true;
    case scmPaintToParent:
      if (Message.LParam) data.PaintToParent(*reinterpret_cast<TqvPaintRecord*>(Message.LParam), Message.WParamLo());
      return true;
    case scmScrollsChanged: ScrollsChanged(Message, data); return true;
    case scmGetApplication: Message.Result = reinterpret_cast<LRESULT>(vcl::Application); return true;
    case scmGetBounds:
      if (Message.LParam)
        *reinterpret_cast<vcl::TRect*>(Message.LParam) =
            data.OwnerControl() ? data.OwnerControl()->BoundsRect() : vcl::TRect{};
      return true;
    default: return false;
  }
}

bool CommonMessage(vcl::TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData) return false;
  TsCommonData& data = *SkinData;
  switch (Message.Msg) {
    case kSkinCmdMessage: return CommonWndProc(Message, SkinData);
    case WM_PARENTNOTIFY:
      if (Message.WParamLo() == WM_CREATE && Windowed(data.OwnerControl())) NotifyFormOfControl(data.OwnerControl());
      return false;
    case WM_SETFOCUS: SetFocusMessage(data); return false;
    case WM_KILLFOCUS: KillFocusMessage(data); return false;
    case WM_MOVE: MoveMessage(data); return false;
    case WM_SIZE: SizeMessage(data); return false;
    case WM_UPDATEUISTATE: return UpdateUIState(data);
    case WM_CONTEXTMENU: ContextMenu(data); return false;
    case WM_FONTCHANGE:  // as a change of the enabled state: no hover, no focus look
    case vcl::CM_ENABLEDCHANGED: EnabledChanged(data); return false;
    case vcl::CM_VISIBLECHANGED: VisibleChanged(Message, data); return false;
    case vcl::CM_MOUSEENTER: MouseEnter(data); return false;
    case vcl::CM_MOUSELEAVE: MouseLeave(data); return false;
    case vcl::CM_SHOWINGCHANGED:
      if (data.OwnerControl() && data.OwnerControl()->Visible()) data.Update();
      return false;
    default: return false;
  }
}

}  // namespace skin_layered
