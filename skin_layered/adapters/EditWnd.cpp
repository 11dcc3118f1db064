#include "skin_layered/adapters/EditWnd.h"

#include <algorithm>

#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/forms/Forms.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Fills.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvEditWnd) {}

namespace {

constexpr wchar_t kFocusColor[] = L"FocusColor";
constexpr UINT kRedrawFrameErasedNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;
constexpr UINT kRedrawFrameErase = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

bool ClipIsEmpty(HDC DC) {
  RECT r{};
  return GetClipBox(DC, &r) == NULLREGION;
}

bool Destroying(const vcl::TControl* Control) {
  return Control->ComponentState().Contains(vcl::csDestroying);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Creation and the control's own parameters

bool TqvEditWnd::WantsVisualStyleOff() const {
  if (Params().SkinSection == L"DIALOG") return false;
  if (SkinData) {
    // Skin data given by the control's form.
    if (SkinData->COC == 10) return false;
    if (HasProperty(SkinData->OwnerControl(), L"UseXPThemes")) return false;
    return true;
  }
  return Params().SkinSection == L"COMBOBOX";
}

bool TqvEditWnd::AddsOpaqueStyle() const {
  return !dynamic_cast<vcl::TCustomListView*>(SkinData ? SkinData->OwnerControl() : nullptr);
}

void TqvEditWnd::InitSkinData(bool Owned) {
  ChildrenChanged = false;
  // A section that gives no face of its own (its only parent missing) is the system's frame
  // and face, as a missing one: a default face would show no frame at all.
  SkinData->SetHollowIsMissing(true);
  if (Owned) {
    vcl::TControl* control = Params().Control;
    if (HasProperty(control, L"PanelBorder")) SkinData->SetSkinSection(L"TRANSPARENT");
    if (TsScrollWndData* data = ScrollWndData()) {
      if (Params().VertScrollWidth >= 0) data->VertScrollData()->SetScrollWidth(Params().VertScrollWidth);
      if (Params().VertButtonsSize >= 0) data->VertScrollData()->SetButtonsSize(Params().VertButtonsSize);
      if (Params().HorzScrollWidth >= 0) data->HorzScrollData()->SetScrollWidth(Params().HorzScrollWidth);
      if (Params().HorzButtonsSize >= 0) data->HorzScrollData()->SetButtonsSize(Params().HorzButtonsSize);
    }
    SkinData->COC = kEditAdapterCode;
  }
  if (SkinData->SkinSection().empty())
    SkinData->SetSkinSection(Params().SkinSection.empty() ? vcl::String(L"EDIT") : Params().SkinSection);
  auto* edit = dynamic_cast<vcl::TCustomEdit*>(SkinData->OwnerControl());
  SingleLineEdit = edit && (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & ES_MULTILINE) == 0;
}

void TqvEditWnd::SaveStdParams() {
  TqvBaseWnd::SaveStdParams();
  vcl::TControl* control = OwnerControl();
  if (!control) return;
  SavedColor = control->Color();
  SavedFontColor = control->Font()->Color();
  if (HasProperty(control, kFocusColor)) SavedFocusColor = static_cast<vcl::TColor>(GetIntProp(control, kFocusColor));
  params_saved_ = true;
}

void TqvEditWnd::RestoreStdParams() {
  TqvBaseWnd::RestoreStdParams();
  if (IsWindowVisible(CtrlHandle))
    SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  vcl::TControl* control = OwnerControl();
  if (control && params_saved_ && !Destroying(control)) {
    control->SetColor(SavedColor);
    control->Font()->SetColor(SavedFontColor);
    if (HasProperty(control, kFocusColor)) SetIntProp(control, kFocusColor, SavedFocusColor);
  }
  // The skin's colours are taken again when it comes back.
  SkinParamsApplied = false;
}

void TqvEditWnd::ApplySkinParams() {
  if (applying_ || !SkinData) return;
  SkinData->Updating = true;
  applying_ = true;
  TqvBaseWnd::ApplySkinParams();
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData->Section();
  if (!manager || !section || !manager->IsValidSkinIndex(SkinData->SkinIndex)) {
    BorderColor = 0;
    SkinData->Updating = false;
    applying_ = false;
    return;
  }
  if (vcl::TControl* control = OwnerControl()) {
    const int state = SkinData->ControlIsActive() && section->States > 1 ? 1 : 0;
    if (!SkinData->CustomColor()) {
      const vcl::TColor color = GetBgColor(SkinData, state, CtrlHandle);
      if (control->Color() != color) control->SetColor(color);
      if (HasProperty(control, kFocusColor)) SetIntProp(control, kFocusColor, color);
      FillColor = color;
    }
    if (!SkinData->CustomFont()) {
      const vcl::TColor font = section->Props[static_cast<std::size_t>(state)].FontColor;
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      if (control->Font()->Color() != font) control->Font()->SetColor(font);
      if (!alive) {
        // The font change took the adapter away.
        applying_ = false;
        return;
      }
    }
  } else {
    if (!SkinData->CustomColor())
      FillColor = DialogChild ? vcl::ColorToRGB(vcl::clWindow) : section->Props[0].Color;
    BorderColor = manager->Skin().Colors.BorderColor;
  }
  SkinData->BGChanged = true;
  SkinData->Updating = false;
  applying_ = false;
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TqvEditWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == scmIsSkinned) {
    Message.Result = 1;
    return;
  }
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) {
    const bool newSkin = !Destroyed() && SkinData && Message.Msg == kSkinCmdMessage &&
                         SkinCommandOf(Message.WParam) == scmNewSkin && FromOwnManager(Message);
    const vcl::TLifetime::TWatch alive = Lifetime().Watch();
    TqvBaseWnd::WndProc(Message);
    // The skin came back: its colours again.
    if (newSkin && alive && SkinData->Skinned(false)) ApplySkinParams();
    return;
  }
  if (BeforeBase(Message)) return;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvBaseWnd::WndProc(Message);
  if (alive) AfterBase(Message);
}

bool TqvEditWnd::EmptyClip(HDC DC) const {
  return DC && DC != SkinData->PrintDC && ClipIsEmpty(DC);
}

bool TqvEditWnd::BeforeBase(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      if (!IsWindowVisible(CtrlHandle) || Busy()) return false;
      OnNcPaint(Message);
      return true;
    case WM_PAINT:
      return OnPaint(Message);
    case WM_ERASEBKGND:
      return OnEraseBkgnd(Message);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      OnFocus(Message);
      return true;
    case WM_SETREDRAW:
      if (Message.WParam == 1 && ChildrenChanged) {
        NotifyFormOfControl(OwnerControl());
        ChildrenChanged = false;
      }
      return false;
    case WM_SETTEXT:
    case vcl::CM_ENABLEDCHANGED:
    case vcl::CM_FONTCHANGED:
      SkinData->BGChanged = true;
      if (!SkinData->Updating) RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawFrameErase);
      return false;
    case WM_PRINT:
      OnPrint(Message);
      return true;
    case kSkinCmdMessage:
      return OnCommand(Message);
    default:
      return false;
  }
}

void TqvEditWnd::AfterBase(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      if (IsWindowVisible(CtrlHandle)) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      break;
    case WM_SETFONT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case vcl::CN_KEYDOWN:
    case vcl::CN_KEYUP:
      if (!ScrollingInProgress) UpdateScrolls(this, true);
      break;
    case LB_SETCURSEL:
    case LB_SETTOPINDEX: UpdateScrolls(this, true); break;
    // Items (and a memo's lines) often come one by one in a long run: the bars are painted
    // once after it.
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT: RepaintScrollsLater(); break;
    case LB_GETTOPINDEX: AfterGetTopIndex(Message); break;
    case WM_MOUSEMOVE: AfterMouseMove(); break;
    case WM_PARENTNOTIFY: AfterParentNotify(Message); break;
    case vcl::CM_CONTROLLISTCHANGE: ChildrenChanged = true; break;
    case vcl::CM_MOUSEENTER:
    case vcl::CM_MOUSELEAVE: AfterMouseEnterLeave(Message); break;
    default: break;
  }
}

// An empty list box answers no top item.
void TqvEditWnd::AfterGetTopIndex(vcl::TMessage& Message) {
  if (auto* list = dynamic_cast<vcl::TCustomListBox*>(OwnerControl());
      list && Message.Result == 0 && list->Items()->Count() == 0)
    Message.Result = -1;
}

// The window becomes the hot one; the bars follow a selection the mouse drags.
void TqvEditWnd::AfterMouseMove() {
  TsSkinManager* manager = DefaultSkinManager();
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  if (manager && !manager->Designing() && IsWindowEnabled(CtrlHandle) && manager->HotWnd() != CtrlHandle)
    manager->SetHotWnd(CtrlHandle);
  if (alive && !SkinData->BgIsChanged() && GetCapture() == CtrlHandle) UpdateScrolls(this, true);
}

void TqvEditWnd::AfterParentNotify(const vcl::TMessage& Message) {
  if (Message.WParamLo() != WM_CREATE) return;
  if (TsSkinManager* manager = Manager(); manager && manager->SkinningRules().Contains(srThirdParty))
    ChildrenChanged = true;
}

void TqvEditWnd::AfterMouseEnterLeave(const vcl::TMessage& Message) {
  vcl::TMessage copy = Message;
  CommonMessage(copy, SkinData);
}

void TqvEditWnd::OnNcPaint(vcl::TMessage& Message) {
  Message.Result = 0;
  if (AnimationActive()) return;
  if (!FrameCalculated) {
    // Made without a repaint (a dialog's child wrapped before the dialog had its picture):
    // the frame is laid out through the adapter first, or there would be no strips to copy
    // and the system's frame would be swallowed.
    const vcl::TLifetime::TWatch alive = Lifetime().Watch();
    RefreshFrame(CtrlHandle, true);
    if (!alive || Destroyed()) return;
  }
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (SkinData->CheckBgChanged(false)) return;  // the parent is not ready: painted later
  const HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  if (dc == SkinData->PrintDC || !ClipIsEmpty(dc)) {
    if (SkinData->BGChanged) {
      ApplyIfNotApplied();
      RebuildCache();
    }
    const TSavedDC saved(dc);
    Message.Result = PaintScrollBars(this, CtrlHandle, kPartNone, dc);
    CopyFrameFromCache(dc);
  }
  // Released on every path, the empty clip box's included.
  ReleaseDC(CtrlHandle, dc);
}

bool TqvEditWnd::OnPaint(vcl::TMessage& Message) {
  if (!IsWindowVisible(CtrlHandle) || Busy()) return false;
  const HDC given = reinterpret_cast<HDC>(Message.WParam);
  if (EmptyClip(given)) return true;
  if (SingleLineEdit && !IsWindowEnabled(CtrlHandle)) {
    // A disabled edit is its cache: the text was drawn into it with the disabled look.
    PAINTSTRUCT ps{};
    BeginPaint(CtrlHandle, &ps);
    if (SkinData->BGChanged) RebuildCache();
    if (vcl::TBitmap* cache = SkinData->CacheBmp(); cache && cache->Width() > 0) {
      const HDC dc = GetWindowDC(CtrlHandle);
      BitBlt(dc, 0, 0, WndSize.cx, WndSize.cy, cache->Canvas()->Handle(), 0, 0, SRCCOPY);
      ReleaseDC(CtrlHandle, dc);
    }
    EndPaint(CtrlHandle, &ps);
    Message.Result = 0;
    return true;
  }
  if (SkinData->CheckBgChanged(false) || (AnimationActive() && !SkinData->PrintDC)) {
    PAINTSTRUCT ps{};
    BeginPaint(CtrlHandle, &ps);
    EndPaint(CtrlHandle, &ps);
    Message.Result = 0;
    return true;
  }
  PaintScrollBars(this, CtrlHandle, kPartNone, nullptr);
  ApplyIfNotApplied();
  return false;
}

bool TqvEditWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  if (!IsWindowVisible(CtrlHandle) || Busy()) return false;
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (EmptyClip(dc)) {
    Message.Result = 1;
    return true;
  }
  if (SkinData->CheckBgChanged(false)) {
    Message.Result = 0;
    return true;
  }
  ApplyIfNotApplied();
  if ((SingleLineEdit && !IsWindowEnabled(CtrlHandle)) || (AnimationActive() && dc != SkinData->PrintDC)) {
    Message.Result = 1;
    return true;
  }
  return false;
}

void TqvEditWnd::OnFocus(vcl::TMessage& Message) {
  auto* control = dynamic_cast<vcl::TWinControl*>(OwnerControl());
  // A window without a control of the library (a dialog's edit) takes the focus as the window
  // it is: its frame shows each change too, or a frame left focused stays so.
  const bool focusable = control ? control->CanFocus() && control->TabStop() : !OwnerControl();
  if (!HasHotState(SkinData, false) || !focusable) {
    TqvBaseWnd::WndProc(Message);
    return;
  }
  SkinData->BGChanged = true;
  SkinData->FFocused = Message.Msg == WM_SETFOCUS;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvBaseWnd::WndProc(Message);
  if (!alive) return;
  ApplySkinParams();
  // Erased too: an owner-drawn list paints its rows alone, and the part they leave (all of an
  // empty list) would keep the other state's colour.
  RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawFrameErasedNow);
}

bool TqvEditWnd::OnCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmRefresh: {
      if (!FromOwnManager(Message)) return false;
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvBaseWnd::WndProc(Message);
      if (alive) ApplySkinParams();
      return true;
    }
    case scmNewSkin: {
      // The scroll adapter re-resolves and passes it on; the new skin's colours are taken.
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvBaseWnd::WndProc(Message);
      if (alive && FromOwnManager(Message) && SkinData->Skinned(false)) ApplySkinParams();
      return true;
    }
    case scmRemoveSkin:
      // The scroll adapter gives the window its own frame and the control its own colours.
      return false;
    case scmRepaint:
      if (SkinData->Updating && !SkinData->CheckBgChanged(true))
        RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawAll);
      return false;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmPrepareCache:
      GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
      PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
      PaintAdapterBorder(SkinData, this);
      return true;
    case scmGetSkinIndex:
      if (Message.LParam) reinterpret_cast<TqvSectionInfo*>(Message.LParam)->SkinIndex = SkinData->SkinIndex;
      return true;
    case scmGetBgInfo: {
      CallPrevWndProc(Message);
      auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
      if (!info || info->BgType != btNone) return true;
      if (SkinData->CustomColor()) {
        info->BgType = btColor;
        vcl::TControl* control = OwnerControl();
        info->Color = control ? control->Color() : FillColor;
      } else {
        ProvideClientBgInfo(*info, CtrlHandle);
      }
      return true;
    }
    case scmBeforeScroll:
      if (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) {
        SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
        return true;
      }
      TqvBaseWnd::WndProc(Message);
      return true;
    case scmAfterScroll:
      if (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) {
        SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
        InvalidateRect(CtrlHandle, nullptr, TRUE);
        return true;
      }
      TqvBaseWnd::WndProc(Message);
      return true;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    default:
      // The skin data answers what it knows; the rest goes to the base.
      return CommonWndProc(Message, SkinData);
  }
}

// WM_PRINT. The engine's own callers (the animations' control printing, the library's
// WM_PRINT of a window with its children) ask for the frame with PRF_NONCLIENT and give a DC
// whose origin is the window's top-left; without it the DC's origin is the client area's.
// So the skinned border and bars are printed exactly when PRF_NONCLIENT is asked, and the
// client part lies at the frame's offset then, at the origin otherwise. The library asks for
// the frame alone (PRF_NONCLIENT only) before it prints the client itself.
void TqvEditWnd::OnPrint(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (Message.Result == 2 || !alive) return;
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  const auto flags = static_cast<DWORD>(Message.LParam);
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  SkinData->Updating = false;
  SkinData->BGChanged = true;
  ApplyIfNotApplied();
  PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
  if (!DialogChild) PaintAdapterBorder(SkinData, this);
  const bool frame = (flags & PRF_NONCLIENT) != 0;
  if (frame) {
    CopyFrameFromCache(dc);
    Message.Result = PaintScrollBars(this, CtrlHandle, kPartNone, dc);
    if ((flags & ~static_cast<DWORD>(PRF_NONCLIENT | PRF_CHECKVISIBLE | PRF_OWNED)) == 0) return;
  }
  const TSavedDC saved(dc);
  const int ox = frame ? BorderLeft : 0, oy = frame ? BorderTop : 0;
  POINT origin{};
  GetWindowOrgEx(dc, &origin);
  SetWindowOrgEx(dc, origin.x - ox, origin.y - oy, nullptr);
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (SkinData->IsCached() && cache && cache->Width() > 0)
    BitBlt(dc, 0, 0, client.right, client.bottom, cache->Canvas()->Handle(), BorderLeft, BorderTop, SRCCOPY);
  else
    FillDC(dc, vcl::TRect{0, 0, client.right, client.bottom}, FillColor);
  SendMessageW(CtrlHandle, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(CtrlHandle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  if (SkinData->COC == 10) TqvBaseWnd::WndProc(Message);
}

}  // namespace skin_layered
