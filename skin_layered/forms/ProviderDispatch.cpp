// The form's window procedure while a provider hooks it, and the provider's answers to the
// engine's command message: a first answer in every state, one while the form is not skinned
// (the skin arriving), one while it is.
#include <algorithm>
#include <utility>

#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/forms/CtrlAdapter.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/MDIForm.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/forms/ProviderMessages.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {
namespace {

constexpr UINT kClassLibraryQuery = 0xB04C;  // answered 0 and kept from the form
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
constexpr UINT kRedrawNoUpdate = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;

bool BeingDestroyed(const vcl::TComponent* C) { return !C || C->ComponentState().Contains(vcl::csDestroying); }

bool FromManager(const vcl::TMessage& Message, const TsSkinManager* Manager) {
  return Manager && reinterpret_cast<TsSkinManager*>(Message.LParam) == Manager;
}

// Set while a main menu bar is rebuilt, and while a preview block is taken.

}  // namespace

// ---------------------------------------------------------------------------------------
// Dispatch

void TsSkinProvider::NewWndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && TMessages::CommandMessage(*this, Message)) return;
  // A rubber frame of the form whose capture another window took ends without its bounds
  // (skinned or not: the skin may have gone meanwhile); the form hears of it as ever.
  if (Message.Msg == WM_CAPTURECHANGED) frame_mouse_.CaptureChanged(Message);
  if (!FormSkinned()) return TMessages::WhileUnskinned(*this, Message);
  if (TMessages::FrameMessage(*this, Message) || TMessages::WindowMessage(*this, Message) ||
      TMessages::LibraryMessage(*this, Message))
    return;
  CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::WhileUnskinned(TsSkinProvider& P, vcl::TMessage& Message) {
  switch (Message.Msg) {
    case kSkinCmdMessage:
      if (CommandWhileUnskinned(P, Message)) return;
      break;
    case vcl::CM_VISIBLECHANGED:
      PrepareHideAnimation(P, Message);
      break;
    case vcl::CM_MOUSEWHEEL:
      CMMouseWheel(P, Message);
      return;
  }
  P.CallOldWndProc(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGED)
    RunHideAnimation(P, Message);
  else if (Message.Msg == WM_NCDESTROY)
    CleanUpAfterDestroy(P);
}

bool TsSkinProvider::TMessages::FrameMessage(TsSkinProvider& P, vcl::TMessage& Message) {
  TqvFrameMouse& mouse = P.frame_mouse_;
  switch (Message.Msg) {
    case WM_NCHITTEST:
      // A provider the library attached prepares the form at the first hit test.
      if (P.AutoCreated) {
        P.AutoCreated = false;
        P.PrepareForm();
      }
      mouse.WMNCHitTest(Message);
      return true;
    case WM_NCPAINT: WMNCPaint(P, Message); return true;
    case WM_NCACTIVATE: WMNCActivate(P, Message); return true;
    case WM_NCMOUSEMOVE: mouse.WMNCMouseMove(Message); return true;
    case WM_NCLBUTTONDOWN: mouse.WMNCLButtonDown(Message); return true;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: mouse.WMNCLButtonUp(Message); return true;
    case WM_NCLBUTTONDBLCLK: mouse.WMNCLButtonDblClk(Message); return true;
    case WM_NCRBUTTONDOWN: mouse.WMNCRButtonDown(Message); return true;
    case WM_NCRBUTTONUP: mouse.WMNCRButtonUp(Message); return true;
    case WM_MOUSEMOVE: mouse.WMMouseMove(Message); return true;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case vcl::CM_MOUSELEAVE: mouse.WMMouseLeave(Message); return true;
    case vcl::CM_MOUSEENTER: mouse.CMMouseEnter(Message); return true;
    default: return false;
  }
}

bool TsSkinProvider::TMessages::WindowMessage(TsSkinProvider& P, vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_CREATE: WMCreate(P, Message); return true;
    case WM_MOVE: WMMove(P, Message); return true;
    case WM_SIZE: WMSize(P, Message); return true;
    case WM_ACTIVATE: WMActivate(P, Message); return true;
    case WM_SETREDRAW: WMSetRedraw(P, Message); return true;
    case WM_SETTEXT: WMSetText(P, Message); return true;
    case WM_PAINT: WMPaint(P, Message); return true;
    case WM_CLOSE: WMClose(P, Message); return true;
    case WM_QUERYENDSESSION: WMQueryEndSession(P, Message); return true;
    case WM_ERASEBKGND: WMEraseBkgnd(P, Message); return true;
    case WM_SYSCOLORCHANGE: WMSysColorChange(P, Message); return true;
    case WM_SHOWWINDOW: WMShowWindow(P, Message); return true;
    case WM_SETTINGCHANGE: WMSettingChange(P, Message); return true;
    case WM_ACTIVATEAPP: WMActivateApp(P, Message); return true;
    case WM_CHILDACTIVATE: WMChildActivate(P, Message); return true;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(P, Message); return true;
    case WM_MEASUREITEM: WMMeasureItem(P, Message); return true;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(P, Message); return true;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(P, Message); return true;
    case WM_COPYDATA: WMCopyData(P, Message); return true;
    case WM_NOTIFY: WMNotify(P, Message); return true;
    case WM_CONTEXTMENU: WMContextMenu(P, Message); return true;
    case WM_STYLECHANGED: WMStyleChanged(P, Message); return true;
    case WM_SETICON: WMSetIcon(P, Message); return true;
    case WM_NCCREATE: WMNCCreate(P, Message); return true;
    case WM_SYSCOMMAND: WMSysCommand(P, Message); return true;
    case WM_INITMENUPOPUP: WMInitMenuPopup(P, Message); return true;
    case WM_ENTERIDLE: Message.Result = 0; return true;
    case WM_PARENTNOTIFY: WMParentNotify(P, Message); return true;
    case WM_ENTERMENULOOP: WMEnterMenuLoop(P, Message); return true;
    case WM_EXITMENULOOP: WMExitMenuLoop(P, Message); return true;
    case WM_SIZING: WMSizing(P, Message); return true;
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE: WMMDIActivate(P, Message); return true;
    case WM_EXITSIZEMOVE: WMExitSizeMove(P, Message); return true;
    case WM_PRINT: WMPrint(P, Message); return true;
    case WM_PRINTCLIENT: return true;
    case WM_DWMSENDICONICTHUMBNAIL:
      if (TaskbarPreviewSwitch() && Message.LParamLo() != 0 && Message.LParamHi() != 0)
        Message.Result = SetIconicThumbnail(P.Form->Handle(), &P, Message.LParamHi(), Message.LParamLo()) ? 1 : 0;
      return true;
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP:
      if (TaskbarPreviewSwitch()) Message.Result = SetIconicLivePreview(P.Form->Handle(), &P) ? 1 : 0;
      return true;
    default: return false;
  }
}

bool TsSkinProvider::TMessages::LibraryMessage(TsSkinProvider& P, vcl::TMessage& Message) {
  switch (Message.Msg) {
    case kTaskbarMenuRequest: {
      POINT cursor{};
      GetCursorPos(&cursor);
      P.DropSysMenu(vcl::TPoint(cursor));
      return true;
    }
    case kSkinCmdMessage: CommandWhileSkinned(P, Message); return true;
    case kSkinEditorMessage: SkinEditorCommand(P, Message); return true;
    case vcl::CM_VISIBLECHANGED: CMVisibleChanged(P, Message); return true;
    case vcl::CM_ENABLEDCHANGED: CMEnabledChanged(P, Message); return true;
    case vcl::CM_MENUCHANGED: CMMenuChanged(P, Message); return true;
    case vcl::CM_SHOWINGCHANGED: CMShowingChanged(P, Message); return true;
    case vcl::CM_CONTROLLISTCHANGE: CMControlListChange(P, Message); return true;
    case vcl::CM_RECREATEWND: CMRecreateWnd(P, Message); return true;
    case vcl::CM_FLOAT: CMFloat(P, Message); return true;
    case vcl::CM_MOUSEWHEEL: CMMouseWheel(P, Message); return true;
    case kClassLibraryQuery:
    case kRegionQueryMessage: Message.Result = 0; return true;
    default: return false;
  }
}

// After WM_NCDESTROY: a closed MDI child's frame repaints its frame (its merged menu line
// changes) and its client when no child is left.
void TsSkinProvider::TMessages::CleanUpAfterDestroy(TsSkinProvider& P) {
  TsSkinProvider* frame = MDIProvider();
  if (P.Form->FormStyle() != vcl::fsMDIChild || !frame || frame == &P || !frame->Adapters().MDIForm() || BeingDestroyed(frame) ||
      BeingDestroyed(frame->Form) || !frame->SkinData || !frame->SkinData->Skinned(true))
    return;
  frame->FullRedraw();
  if (!frame->Form->ActiveMDIChild() && frame->Form->ClientHandle())
    RedrawWindow(frame->Form->ClientHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// ---------------------------------------------------------------------------------------
// The first answer, in every state

bool TsSkinProvider::TMessages::CommandMessage(TsSkinProvider& P, vcl::TMessage& Message) {
  TsScrollWndData* data = P.SkinData;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (!BeingDestroyed(P.Form) && data && FromManager(Message, P.SkinManager()) && !P.menus_.SystemMenu()) P.InitMenuItems();
      return false;
    case scmRemoveSkin:
      RemoveSkin(P, Message);
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmEndUpdate:
      if (data && (data->CtrlSkinState & kStateDeferred)) {
        data->CtrlSkinState &= static_cast<std::uint16_t>(~kStateDeferred);
        P.Form->Perform(vcl::CM_MENUCHANGED, 0, 0);
      }
      return false;
    case scmGetBgInfo:
      if (!data || !data->Skinned()) return false;
      BackgroundAnswer(P, Message);
      return true;
    case scmGetState:
      if (!data) return false;
      if (data->CtrlSkinState & kStateUnknown) data->Invalidate();
      Message.Result = data->CtrlSkinState;
      return true;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    case scmGetClientOffset: {
      const TqvWindowImage& image = P.WindowImage();
      Message.Result = MAKELONG(static_cast<WORD>(image.OffsetX()), static_cast<WORD>(image.OffsetY()));
      return true;
    }
    default:
      return false;
  }
}

void TsSkinProvider::TMessages::RemoveSkin(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  if (!P.SkinData || !FromManager(Message, manager)) {
    if (P.Form && !BeingDestroyed(P.Form)) BroadcastCommand(P.Form, Message);
    return;
  }
  if (P.Form->HandleAllocated()) DisableDwmTransitions(P.Form->Handle(), false);
  CommonWndProc(Message, P.SkinData);
  P.MenuLineCount = P.TitleSkinIndex = P.CaptionIndex = -1;
  if (BeingDestroyed(P.Form)) return;
  P.caption_items_->HideTitleHints();
  // Popup backgrounds of the skin that goes.
  if (P.SkinManager()) ClearMenuCache();
  // The form's own scroll bars are the system's again.
  P.UpdateScrollAdapter();
  BroadcastCommand(P.Form, Message);
  // The adapters the control adapter made go with the skin: every control gets its own
  // painting, colours and fonts back.
  P.adapters_.RemoveCtrlAdapter();
  if (P.SkinManager()) {
    P.menus_.SystemMenuStyle(false);
    P.adapters_.MDIClientObject(false);
    if (P.Measures().HasBorder() && !P.region_.KeepRegion && P.Form->HandleAllocated())
      SetWindowRgn(P.Form->Handle(), nullptr, TRUE);
    P.menus_.RebuildMainMenuBar();
    if (P.UseGlobalColor() && !P.SkinData->CustomColor()) P.Form->SetColor(vcl::clBtnFace);
    P.InitExBorders(false);
    if (P.Form->HandleAllocated()) RedrawWindow(P.Form->Handle(), nullptr, nullptr, kRedrawAll);
  }
  P.label_colors_.RestoreLabelColors();
  P.SkinData->FreeCacheBmp();
}

void TsSkinProvider::TMessages::BackgroundAnswer(TsSkinProvider& P, vcl::TMessage& Message) {
  auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
  if (!info) return;
  TsScrollWndData* data = P.SkinData;
  const bool draw = info->PleaseDraw;
  // The asker's place in the form's client area stays for a drawing; an answer is given for
  // the client area's origin and the asker adds its own place.
  if (!draw) info->Offset = vcl::TPoint();
  if (data->BGChanged && !data->Updating && data->IsCached()) P.PaintAll();
  const TqvWindowImage& image = P.WindowImage();
  if (draw) info->Offset = vcl::TPoint(info->Offset.X + image.OffsetX(), info->Offset.Y + image.OffsetY());
  int state = P.FormActive ? 1 : 0;
  const TsGeneralData* section = data->Section();
  state = section ? std::min(state, std::max(0, section->States - 1)) : 0;
  ProvideBgInfo(data, *info, state);
  if (draw) return;
  if (info->BgType == btBitmap && !info->Bmp) {
    P.PaintAll();
    info->Bmp = data->CacheBmp();
  }
  info->Offset.X += image.OffsetX();
  if (info->Offset.X != 0) info->FillRect.Left = std::max(0, info->FillRect.Left - info->Offset.X);
  info->Offset.Y += image.OffsetY();
  if (info->Offset.Y != 0) info->FillRect.Top = std::max(0, info->FillRect.Top - info->Offset.Y);
}

// ---------------------------------------------------------------------------------------
// While the form is not skinned

bool TsSkinProvider::TMessages::CommandWhileUnskinned(TsSkinProvider& P, vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (BeingDestroyed(P.Form) || !P.SkinData) return false;
      if (FromManager(Message, P.SkinManager())) P.SkinArrived();
      return true;
    case scmGetProvider:
      Message.Result = reinterpret_cast<LRESULT>(&P);
      return true;
    case scmPrepareCache:
      if (P.SkinData) P.SkinData->BGChanged = false;
      return true;
    case scmGetColor:
      // The form's own face lies behind its adapted controls (the answer was none: black).
      Message.Result = static_cast<LRESULT>(vcl::ColorToRGB(P.Form->Color()));
      return true;
    default:
      return false;
  }
}

void TsSkinProvider::SkinArrived() {
  KillAnimations();
  ClearMenuCache();
  SkinData->UpdateIndexes(true);
  TitleSkinIndex = -1;
  TitleSkinIndex = measures_.GetTitleSkinIndex();
  TsSkinManager* manager = SkinManager();
  CaptionIndex = manager ? manager->GetSkinIndex(L"CAPTION") : kNoIndex;
  caption_items_->InitTitleBarItems();
  if (manager) {
    MaxBorderLarge = ExtBorderForm() && Form->HandleAllocated() && IsZoomed(Form->Handle()) &&
                     measures_.TitleHeightByState(true) > measures_.SysCaptionHeightOfForm() + 4;
    menus_.SystemMenuStyle(true);
    caption_buttons_->InitSystemButtons();
    if (Form->FormStyle() == vcl::fsMDIForm && vcl::Screen && Form->ActiveMDIChild() &&
        Form->ActiveMDIChild() == vcl::Screen->ActiveForm())
      FormActive = true;
    if (!manager->ComponentLoading()) menus_.RebuildMainMenuBar();
  }
  SkinData->BGChanged = true;
  MenuLineCount = -1;
  if (Form->FormStyle() == vcl::fsMDIForm) adapters_.MDIClientObject(true);
  if (UseGlobalColor() && !SkinData->CustomColor()) label_colors_.ApplyGlobalColor();
  if (Form->HandleAllocated()) DisableDwmTransitions(Form->Handle(), DrawNonClientArea);
  adapters_.AddAllAdapters();
  if (DrawNonClientArea && DrawClientArea()) UpdateScrollAdapter();
}

// ---------------------------------------------------------------------------------------
// While the form is skinned

void TsSkinProvider::TMessages::CommandWhileSkinned(TsSkinProvider& P, vcl::TMessage& Message) {
  TsScrollWndData* data = P.SkinData;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin: return NewSkinWhileSkinned(P, Message);
    case scmRefresh: return RefreshWhileSkinned(P, Message);
    case scmGetProvider: Message.Result = reinterpret_cast<LRESULT>(&P); return;
    case scmRepaint:
      if (data->Updating) {
        data->Updating = false;
        RedrawWindow(P.Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      return;
    case scmSetUpdating:
      data->Updating = Message.WParamLo() == 1;
      if (data->BgIsChanged()) data->BGChanged = true;
      return;
    case scmIsBgChanged:
      Message.Result = !(P.ExtFlags & kExtAnimations) && data->Updating ? 1 : 0;
      return;
    case scmBgChanged: data->BGChanged = true; return;
    case scmIsReady: {
      const TsGeneralData* section = data->Section();
      const TsSkinManager* manager = P.SkinManager();
      if (!section || !manager) return;
      if (section->Props[0].GradientPercent + section->Props[0].ImagePercent >= 1) {
        Message.Result = 1;
      } else {
        const TsLoadedSkin& skin = manager->Skin();
        Message.Result = skin.IsValidImgIndex(data->BorderIndex) &&
                                 (skin.Images[static_cast<std::size_t>(data->BorderIndex)].DrawMode & 4)
                             ? 1
                             : 0;
      }
      return;
    }
    case scmGetColor: Message.Result = GetBgColor(data, 0); return;
    case scmPrepareCache:
      if (data->BGChanged) P.PaintAll();
      if (data->BGChanged && (P.Form->ControlState().Contains(vcl::csCreating) ||
                              (P.ExtFlags & (kExtBlendMoving | kExtHiding)) || !data->Section()))
        data->BGChanged = false;
      return;
    case scmCtrlNotify:
      if (TqvCtrlAdapter* adapter = P.adapters_.CtrlAdapter();
          adapter && adapter->Adapting() && !P.Form->ComponentState().Contains(vcl::csLoading)) {
        auto* control = reinterpret_cast<vcl::TWinControl*>(Message.LParam);
        if (control && adapter->Supports(control)) adapter->AddControl(control, vcl::String());
        adapter->AddAllItems(control);
      }
      return;
    case scmMouseLeave:
      P.frame_mouse_.SetHotElement(-1, true);
      return;
    case scmBeforeScroll:
      if (data->BgDependsOnParent()) SendMessageW(P.Form->Handle(), WM_SETREDRAW, 0, 0);
      return;
    case scmAfterScroll:
      if (data->BgDependsOnParent()) {
        SendMessageW(P.Form->Handle(), WM_SETREDRAW, 1, 0);
        RedrawWindow(P.Form->Handle(), nullptr, nullptr, kRedrawAll);
        if (MDIProvider() == &P && P.Form->ClientHandle())
          RedrawWindow(P.Form->ClientHandle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      }
      return;
    case scmTitleChanged:
      if (Message.LParam == 1) data->BGChanged = true;
      P.RefreshNonClient();
      return;
    case scmSetGlued:
      P.ExtFlags = Message.LParam == 1 ? P.ExtFlags | kExtGlued : P.ExtFlags & ~kExtGlued;
      return;
    case scmIsGlued: Message.Result = (P.ExtFlags & kExtGlued) ? 1 : 0; return;
    case scmSetBlend: return SetBlend(P, Message);
    default: return;
  }
}

void TsSkinProvider::TMessages::NewSkinWhileSkinned(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  if (!FromManager(Message, manager)) return;
  // Popup backgrounds built from the skin before are built again.
  ClearMenuCache();
  P.SkinData->UpdateIndexes(true);
  P.TitleSkinIndex = -1;
  P.TitleSkinIndex = P.Measures().GetTitleSkinIndex();
  P.CaptionIndex = manager->GetSkinIndex(L"CAPTION");
  if (!P.FormSkinned()) return SectionGone(P);
  if (P.temp_bmp_) P.temp_bmp_->SetSize(0, 0);
  P.caption_buttons_->InitSystemButtons();
  ClearMenuCache();
  P.menus_.SystemMenuStyle(true);
  // The menus are drawn with the new skin's settings (the manager does so for every form of
  // the program only when it is the default one).
  if (TsSkinableMenus* menus = SkinableMenusOf(manager)) menus->UpdateMenuFonts();
  P.SkinData->BGChanged = true;
  P.MenuLineCount = -1;
  P.SendToProvider(WM_NCPAINT, 1, 0);
  if (P.Form->FormStyle() == vcl::fsMDIForm) P.adapters_.MDIClientObject(true);
  // The title-bar items' fades hold pictures of the skin before.
  P.caption_items_->InitTitleBarItems();
}

void TsSkinProvider::TMessages::RefreshWhileSkinned(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  if (!FromManager(Message, manager)) return;
  P.adapters_.AddAllAdapters();
  if (P.Form->Parent() && P.Form->FormStyle() != vcl::fsMDIChild)
    P.SkinData->CtrlSkinState &= static_cast<std::uint16_t>(~kStateUnknown);
  // The form's own scroll bars are skinned ones.
  if (P.DrawNonClientArea && P.DrawClientArea()) P.UpdateScrollAdapter();
  P.MenuLineCount = -1;
  if (!manager->ComponentLoading()) {
    P.menus_.RebuildMainMenuBar();
    // Menus the form got meanwhile are drawn skinned too.
    P.menus_.ForgetPrepared();
    P.menus_.PrepareMenus();
  }
  P.caption_items_->InitTitleBarItems();
  if (!P.Form->Visible()) return;
  P.SkinData->BGChanged = true;
  P.InitExBorders(manager->ExtendedBorders());
  if (!(P.ExtFlags & kExtAnimations) && !AnimationActive() && P.Form->HandleAllocated()) {
    vcl::TCustomForm* child = P.Form->FormStyle() == vcl::fsMDIForm ? P.Form->ActiveMDIChild() : nullptr;
    if (child && child->HandleAllocated() && IsZoomed(child->Handle())) {
      // The maximised child's frame is the frame's menu line: both painted again.
      P.SendToProvider(WM_NCPAINT, 1, 0);
      InvalidateRect(child->Handle(), nullptr, TRUE);
    } else {
      RedrawWindow(P.Form->Handle(), nullptr, nullptr, kRedrawNoUpdate);
      if (P.Form->FormStyle() == vcl::fsMDIForm && P.Form->ClientHandle())
        RedrawWindow(P.Form->ClientHandle(), nullptr, nullptr, kRedrawNoUpdate);
    }
  }
  if (P.UseGlobalColor() && !P.SkinData->CustomColor()) P.label_colors_.ApplyGlobalColor();
  if (TsMDIForm* mdi = P.adapters_.MDIForm()) mdi->ConnectIfNeeded();
  P.SkinData->Updating = false;
  if (P.menus_.SystemMenu()) P.menus_.SystemMenu()->UpdateItems(false);
  P.adapters_.SendToAdapter(Message);
  P.RefreshNonClient();
  if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(false, 255);
}

void TsSkinProvider::TMessages::SetBlend(TsSkinProvider& P, vcl::TMessage& Message) {
  if (!P.Form->HandleAllocated() || !IsWindowVisible(P.Form->Handle())) return;
  const HWND wnd = P.Form->Handle();
  const auto alpha = static_cast<std::uint8_t>(Message.LParam & 0xFF);
  if (TqvBorderForm* border = P.ExtBorderForm(); border && border->BorderWindow())
    UpdateLayeredWnd(border->BorderWindow(), nullptr, alpha);
  const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  if (Message.LParam != 255) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(wnd, 0, alpha, LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

// ---------------------------------------------------------------------------------------
// The skin editor and its preview data

void TsSkinProvider::TMessages::SkinEditorCommand(TsSkinProvider& P, vcl::TMessage& Message) {
  switch (Message.WParam) {
    case kEditorCloseForm: P.Form->Close(); return;
    case kEditorLink: P.CallOldWndProc(Message); return;
    case kEditorPresent: Message.Result = 1; return;
    default: return;
  }
}

void TsSkinProvider::TMessages::WMCopyData(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (Message.Result != 0 || !P.Form->HandleAllocated()) return;
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  SkinEditorLink().TakePreviewBlock(P.Form->Handle(), data);
}

}  // namespace skin_layered
