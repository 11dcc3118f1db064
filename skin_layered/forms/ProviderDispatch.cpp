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
  if (Message.Msg == kSkinCmdMessage && CommandMessage(Message)) return;
  if (!FormSkinned()) {
    switch (Message.Msg) {
      case kSkinCmdMessage:
        if (CommandWhileUnskinned(Message)) return;
        break;
      case vcl::CM_VISIBLECHANGED:
        PrepareHideAnimation(Message);
        break;
      case vcl::CM_MOUSEWHEEL:
        CMMouseWheel(Message);
        return;
    }
    CallOldWndProc(Message);
    if (Message.Msg == WM_WINDOWPOSCHANGED)
      RunHideAnimation(Message);
    else if (Message.Msg == WM_NCDESTROY)
      CleanUpAfterDestroy();
    return;
  }
  switch (Message.Msg) {
    case WM_CREATE: return WMCreate(Message);
    case WM_MOVE: return WMMove(Message);
    case WM_SIZE: return WMSize(Message);
    case WM_ACTIVATE: return WMActivate(Message);
    case WM_SETREDRAW: return WMSetRedraw(Message);
    case WM_SETTEXT: return WMSetText(Message);
    case WM_PAINT: return WMPaint(Message);
    case WM_CLOSE: return WMClose(Message);
    case WM_QUERYENDSESSION: return WMQueryEndSession(Message);
    case WM_ERASEBKGND: return WMEraseBkgnd(Message);
    case WM_SYSCOLORCHANGE: return WMSysColorChange(Message);
    case WM_SHOWWINDOW: return WMShowWindow(Message);
    case WM_SETTINGCHANGE: return WMSettingChange(Message);
    case WM_ACTIVATEAPP: return WMActivateApp(Message);
    case WM_CHILDACTIVATE: return WMChildActivate(Message);
    case WM_GETMINMAXINFO: return WMGetMinMaxInfo(Message);
    case WM_MEASUREITEM: return WMMeasureItem(Message);
    case WM_WINDOWPOSCHANGING: return WMWindowPosChanging(Message);
    case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(Message);
    case WM_COPYDATA: return WMCopyData(Message);
    case WM_NOTIFY: return WMNotify(Message);
    case WM_CONTEXTMENU: return WMContextMenu(Message);
    case WM_STYLECHANGED: return WMStyleChanged(Message);
    case WM_SETICON: return WMSetIcon(Message);
    case WM_NCCREATE: return WMNCCreate(Message);
    case WM_NCHITTEST:
      // A provider the library attached prepares the form at the first hit test.
      if (AutoCreated) {
        AutoCreated = false;
        PrepareForm();
      }
      return frame_mouse_.WMNCHitTest(Message);
    case WM_NCPAINT: return WMNCPaint(Message);
    case WM_NCACTIVATE: return WMNCActivate(Message);
    case WM_NCMOUSEMOVE: return frame_mouse_.WMNCMouseMove(Message);
    case WM_NCLBUTTONDOWN: return frame_mouse_.WMNCLButtonDown(Message);
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: return frame_mouse_.WMNCLButtonUp(Message);
    case WM_NCLBUTTONDBLCLK: return frame_mouse_.WMNCLButtonDblClk(Message);
    case WM_NCRBUTTONDOWN: return frame_mouse_.WMNCRButtonDown(Message);
    case WM_NCRBUTTONUP: return frame_mouse_.WMNCRButtonUp(Message);
    case WM_SYSCOMMAND: return WMSysCommand(Message);
    case WM_INITMENUPOPUP: return WMInitMenuPopup(Message);
    case WM_ENTERIDLE: Message.Result = 0; return;
    case WM_MOUSEMOVE: return frame_mouse_.WMMouseMove(Message);
    case WM_PARENTNOTIFY: return WMParentNotify(Message);
    case WM_ENTERMENULOOP: return WMEnterMenuLoop(Message);
    case WM_EXITMENULOOP: return WMExitMenuLoop(Message);
    case WM_SIZING: return WMSizing(Message);
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE: return WMMDIActivate(Message);
    case WM_EXITSIZEMOVE: return WMExitSizeMove(Message);
    case WM_MOUSELEAVE:
    case vcl::CM_MOUSELEAVE: return frame_mouse_.WMMouseLeave(Message);
    case kTaskbarMenuRequest: {
      POINT cursor{};
      GetCursorPos(&cursor);
      DropSysMenu(vcl::TPoint(cursor));
      return;
    }
    case WM_PRINT: return WMPrint(Message);
    case WM_PRINTCLIENT: return;
    case WM_DWMSENDICONICTHUMBNAIL:
      if (TaskbarPreviewSwitch() && Message.LParamLo() != 0 && Message.LParamHi() != 0)
        Message.Result = SetIconicThumbnail(Form->Handle(), this, Message.LParamHi(), Message.LParamLo()) ? 1 : 0;
      return;
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP:
      if (TaskbarPreviewSwitch()) Message.Result = SetIconicLivePreview(Form->Handle(), this) ? 1 : 0;
      return;
    case kSkinCmdMessage: return CommandWhileSkinned(Message);
    case kSkinEditorMessage: return SkinEditorCommand(Message);
    case vcl::CM_VISIBLECHANGED: return CMVisibleChanged(Message);
    case vcl::CM_ENABLEDCHANGED: return CMEnabledChanged(Message);
    case vcl::CM_MOUSEENTER: return frame_mouse_.CMMouseEnter(Message);
    case vcl::CM_MENUCHANGED: return CMMenuChanged(Message);
    case vcl::CM_SHOWINGCHANGED: return CMShowingChanged(Message);
    case vcl::CM_CONTROLLISTCHANGE: return CMControlListChange(Message);
    case vcl::CM_RECREATEWND: return CMRecreateWnd(Message);
    case vcl::CM_FLOAT: return CMFloat(Message);
    case vcl::CM_MOUSEWHEEL: return CMMouseWheel(Message);
    case kClassLibraryQuery:
    case kRegionQueryMessage: Message.Result = 0; return;
    default: CallOldWndProc(Message);
  }
}

// After WM_NCDESTROY: a closed MDI child's frame repaints its frame (its merged menu line
// changes) and its client when no child is left.
void TsSkinProvider::CleanUpAfterDestroy() {
  TsSkinProvider* frame = MDIProvider();
  if (Form->FormStyle() != vcl::fsMDIChild || !frame || frame == this || !frame->MDIForm || BeingDestroyed(frame) ||
      BeingDestroyed(frame->Form) || !frame->SkinData || !frame->SkinData->Skinned(true))
    return;
  frame->FullRedraw();
  if (!frame->Form->ActiveMDIChild() && frame->Form->ClientHandle())
    RedrawWindow(frame->Form->ClientHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// ---------------------------------------------------------------------------------------
// The first answer, in every state

bool TsSkinProvider::CommandMessage(vcl::TMessage& Message) {
  TsScrollWndData* data = SkinData;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (!BeingDestroyed(Form) && data && FromManager(Message, SkinManager()) && !SystemMenu) InitMenuItems();
      return false;
    case scmRemoveSkin:
      RemoveSkin(Message);
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmEndUpdate:
      if (data && (data->CtrlSkinState & kStateDeferred)) {
        data->CtrlSkinState &= static_cast<std::uint16_t>(~kStateDeferred);
        Form->Perform(vcl::CM_MENUCHANGED, 0, 0);
      }
      return false;
    case scmGetBgInfo:
      if (!data || !data->Skinned()) return false;
      BackgroundAnswer(Message);
      return true;
    case scmGetState:
      if (!data) return false;
      if (data->CtrlSkinState & kStateUnknown) data->Invalidate();
      Message.Result = data->CtrlSkinState;
      return true;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    case scmGetClientOffset:
      Message.Result = MAKELONG(static_cast<WORD>(OffsetX()), static_cast<WORD>(OffsetY()));
      return true;
    default:
      return false;
  }
}

void TsSkinProvider::RemoveSkin(vcl::TMessage& Message) {
  TsSkinManager* manager = SkinManager();
  if (!SkinData || !FromManager(Message, manager)) {
    if (Form && !BeingDestroyed(Form)) BroadcastCommand(Form, Message);
    return;
  }
  if (Form->HandleAllocated()) DisableDwmTransitions(Form->Handle(), false);
  CommonWndProc(Message, SkinData);
  MenuLineCount = TitleSkinIndex = CaptionIndex = -1;
  if (BeingDestroyed(Form)) return;
  caption_items_->HideTitleHints();
  // Popup backgrounds of the skin that goes.
  if (SkinManager()) ClearMenuCache();
  // The form's own scroll bars are the system's again.
  UpdateScrollAdapter();
  BroadcastCommand(Form, Message);
  // The adapters the control adapter made go with the skin: every control gets its own
  // painting, colours and fonts back.
  RemoveCtrlAdapter();
  if (SkinManager()) {
    SystemMenuStyle(false);
    MDIClientObject(false);
    if (HasBorder() && !region_.KeepRegion && Form->HandleAllocated()) SetWindowRgn(Form->Handle(), nullptr, TRUE);
    RebuildMainMenuBar();
    if (UseGlobalColor() && !SkinData->CustomColor()) Form->SetColor(vcl::clBtnFace);
    InitExBorders(false);
    if (Form->HandleAllocated()) RedrawWindow(Form->Handle(), nullptr, nullptr, kRedrawAll);
  }
  RestoreLabelColors();
  SkinData->FreeCacheBmp();
}

void TsSkinProvider::BackgroundAnswer(vcl::TMessage& Message) {
  auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
  if (!info) return;
  TsScrollWndData* data = SkinData;
  const bool draw = info->PleaseDraw;
  // The asker's place in the form's client area stays for a drawing; an answer is given for
  // the client area's origin and the asker adds its own place.
  if (!draw) info->Offset = vcl::TPoint();
  if (data->BGChanged && !data->Updating && data->IsCached()) PaintAll();
  if (draw) info->Offset = vcl::TPoint(info->Offset.X + OffsetX(), info->Offset.Y + OffsetY());
  int state = FormActive ? 1 : 0;
  const TsGeneralData* section = data->Section();
  state = section ? std::min(state, std::max(0, section->States - 1)) : 0;
  ProvideBgInfo(data, *info, state);
  if (draw) return;
  if (info->BgType == btBitmap && !info->Bmp) {
    PaintAll();
    info->Bmp = data->CacheBmp();
  }
  info->Offset.X += OffsetX();
  if (info->Offset.X != 0) info->FillRect.Left = std::max(0, info->FillRect.Left - info->Offset.X);
  info->Offset.Y += OffsetY();
  if (info->Offset.Y != 0) info->FillRect.Top = std::max(0, info->FillRect.Top - info->Offset.Y);
}

// ---------------------------------------------------------------------------------------
// While the form is not skinned

bool TsSkinProvider::CommandWhileUnskinned(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (BeingDestroyed(Form) || !SkinData) return false;
      if (FromManager(Message, SkinManager())) SkinArrived();
      return true;
    case scmGetProvider:
      Message.Result = reinterpret_cast<LRESULT>(this);
      return true;
    case scmPrepareCache:
      if (SkinData) SkinData->BGChanged = false;
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
  TitleSkinIndex = GetTitleSkinIndex();
  TsSkinManager* manager = SkinManager();
  CaptionIndex = manager ? manager->GetSkinIndex(L"CAPTION") : kNoIndex;
  caption_items_->InitTitleBarItems();
  if (manager) {
    MaxBorderLarge = ExtBorderForm() && Form->HandleAllocated() && IsZoomed(Form->Handle()) &&
                     TitleHeightByState(true) > SysCaptionHeightOfForm() + 4;
    SystemMenuStyle(true);
    caption_buttons_->InitSystemButtons();
    if (Form->FormStyle() == vcl::fsMDIForm && vcl::Screen && Form->ActiveMDIChild() &&
        Form->ActiveMDIChild() == vcl::Screen->ActiveForm())
      FormActive = true;
    if (!manager->ComponentLoading()) RebuildMainMenuBar();
  }
  SkinData->BGChanged = true;
  MenuLineCount = -1;
  if (Form->FormStyle() == vcl::fsMDIForm) MDIClientObject(true);
  if (UseGlobalColor() && !SkinData->CustomColor()) ApplyGlobalColor();
  if (Form->HandleAllocated()) DisableDwmTransitions(Form->Handle(), DrawNonClientArea);
  AddAllAdapters();
  if (DrawNonClientArea && DrawClientArea()) UpdateScrollAdapter();
}

// ---------------------------------------------------------------------------------------
// While the form is skinned

void TsSkinProvider::CommandWhileSkinned(vcl::TMessage& Message) {
  TsScrollWndData* data = SkinData;
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin: return NewSkinWhileSkinned(Message);
    case scmRefresh: return RefreshWhileSkinned(Message);
    case scmGetProvider: Message.Result = reinterpret_cast<LRESULT>(this); return;
    case scmRepaint:
      if (data->Updating) {
        data->Updating = false;
        RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      return;
    case scmSetUpdating:
      data->Updating = Message.WParamLo() == 1;
      if (data->BgIsChanged()) data->BGChanged = true;
      return;
    case scmIsBgChanged:
      Message.Result = !(ExtFlags & kExtAnimations) && data->Updating ? 1 : 0;
      return;
    case scmBgChanged: data->BGChanged = true; return;
    case scmIsReady: {
      const TsGeneralData* section = data->Section();
      const TsSkinManager* manager = SkinManager();
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
      if (data->BGChanged) PaintAll();
      if (data->BGChanged && (Form->ControlState().Contains(vcl::csCreating) ||
                              (ExtFlags & (kExtBlendMoving | kExtHiding)) || !data->Section()))
        data->BGChanged = false;
      return;
    case scmCtrlNotify:
      if (CtrlAdapter && CtrlAdapter->Adapting() && !Form->ComponentState().Contains(vcl::csLoading)) {
        auto* control = reinterpret_cast<vcl::TWinControl*>(Message.LParam);
        if (control && CtrlAdapter->Supports(control)) CtrlAdapter->AddControl(control, vcl::String());
        CtrlAdapter->AddAllItems(control);
      }
      return;
    case scmMouseLeave:
      frame_mouse_.SetHotElement(-1, true);
      return;
    case scmBeforeScroll:
      if (data->BgDependsOnParent()) SendMessageW(Form->Handle(), WM_SETREDRAW, 0, 0);
      return;
    case scmAfterScroll:
      if (data->BgDependsOnParent()) {
        SendMessageW(Form->Handle(), WM_SETREDRAW, 1, 0);
        RedrawWindow(Form->Handle(), nullptr, nullptr, kRedrawAll);
        if (MDIProvider() == this && Form->ClientHandle())
          RedrawWindow(Form->ClientHandle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      }
      return;
    case scmTitleChanged:
      if (Message.LParam == 1) data->BGChanged = true;
      RefreshNonClient();
      return;
    case scmSetGlued:
      ExtFlags = Message.LParam == 1 ? ExtFlags | kExtGlued : ExtFlags & ~kExtGlued;
      return;
    case scmIsGlued: Message.Result = (ExtFlags & kExtGlued) ? 1 : 0; return;
    case scmSetBlend: return SetBlend(Message);
    default: return;
  }
}

void TsSkinProvider::NewSkinWhileSkinned(vcl::TMessage& Message) {
  TsSkinManager* manager = SkinManager();
  if (!FromManager(Message, manager)) return;
  // Popup backgrounds built from the skin before are built again.
  ClearMenuCache();
  SkinData->UpdateIndexes(true);
  TitleSkinIndex = -1;
  TitleSkinIndex = GetTitleSkinIndex();
  CaptionIndex = manager->GetSkinIndex(L"CAPTION");
  if (temp_bmp_) temp_bmp_->SetSize(0, 0);
  caption_buttons_->InitSystemButtons();
  ClearMenuCache();
  SystemMenuStyle(true);
  // The menus are drawn with the new skin's settings (the manager does so for every form of
  // the program only when it is the default one).
  if (TsSkinableMenus* menus = SkinableMenusOf(manager)) menus->UpdateMenuFonts();
  SkinData->BGChanged = true;
  MenuLineCount = -1;
  SendToProvider(WM_NCPAINT, 1, 0);
  if (Form->FormStyle() == vcl::fsMDIForm) MDIClientObject(true);
  // The title-bar items' fades hold pictures of the skin before.
  caption_items_->InitTitleBarItems();
}

void TsSkinProvider::RefreshWhileSkinned(vcl::TMessage& Message) {
  TsSkinManager* manager = SkinManager();
  if (!FromManager(Message, manager)) return;
  AddAllAdapters();
  if (Form->Parent() && Form->FormStyle() != vcl::fsMDIChild)
    SkinData->CtrlSkinState &= static_cast<std::uint16_t>(~kStateUnknown);
  // The form's own scroll bars are skinned ones.
  if (DrawNonClientArea && DrawClientArea()) UpdateScrollAdapter();
  MenuLineCount = -1;
  if (!manager->ComponentLoading()) {
    RebuildMainMenuBar();
    // Menus the form got meanwhile are drawn skinned too.
    menus_prepared_ = false;
    PrepareMenus();
  }
  caption_items_->InitTitleBarItems();
  if (!Form->Visible()) return;
  SkinData->BGChanged = true;
  InitExBorders(manager->ExtendedBorders());
  if (!(ExtFlags & kExtAnimations) && !AnimationActive() && Form->HandleAllocated()) {
    vcl::TCustomForm* child = Form->FormStyle() == vcl::fsMDIForm ? Form->ActiveMDIChild() : nullptr;
    if (child && child->HandleAllocated() && IsZoomed(child->Handle())) {
      // The maximised child's frame is the frame's menu line: both painted again.
      SendToProvider(WM_NCPAINT, 1, 0);
      InvalidateRect(child->Handle(), nullptr, TRUE);
    } else {
      RedrawWindow(Form->Handle(), nullptr, nullptr, kRedrawNoUpdate);
      if (Form->FormStyle() == vcl::fsMDIForm && Form->ClientHandle())
        RedrawWindow(Form->ClientHandle(), nullptr, nullptr, kRedrawNoUpdate);
    }
  }
  if (UseGlobalColor() && !SkinData->CustomColor()) ApplyGlobalColor();
  if (MDIForm) MDIForm->ConnectIfNeeded();
  SkinData->Updating = false;
  if (SystemMenu) SystemMenu->UpdateItems(false);
  SendToAdapter(Message);
  RefreshNonClient();
  if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(false, 255);
}

void TsSkinProvider::SetBlend(vcl::TMessage& Message) {
  if (!Form->HandleAllocated() || !IsWindowVisible(Form->Handle())) return;
  const HWND wnd = Form->Handle();
  const auto alpha = static_cast<std::uint8_t>(Message.LParam & 0xFF);
  if (TqvBorderForm* border = ExtBorderForm(); border && border->BorderWindow())
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

void TsSkinProvider::SkinEditorCommand(vcl::TMessage& Message) {
  switch (Message.WParam) {
    case kEditorCloseForm: Form->Close(); return;
    case kEditorLink: CallOldWndProc(Message); return;
    case kEditorPresent: Message.Result = 1; return;
    default: return;
  }
}

void TsSkinProvider::WMCopyData(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (Message.Result != 0 || !Form->HandleAllocated()) return;
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  SkinEditorLink().TakePreviewBlock(Form->Handle(), data);
}

// ---------------------------------------------------------------------------------------
// Helpers of the skin's arrival and removal

void TsSkinProvider::SystemMenuStyle(bool Skinned) {
  if (!Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (Skinned) {
    const LONG_PTR wanted = DrawNonClientArea ? style & ~static_cast<LONG_PTR>(WS_SYSMENU) : style | WS_SYSMENU;
    if (wanted != style) SetWindowLongPtrW(wnd, GWL_STYLE, wanted);
  } else if (Form->BorderIcons().Contains(vcl::biSystemMenu)) {
    if (!(style & WS_SYSMENU)) SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
    const LRESULT icon = SendMessageW(wnd, WM_GETICON, 0, 0);
    SendMessageW(wnd, WM_SETICON, 0, icon);
  }
}

bool TsSkinProvider::RebuildMainMenuBar() {
  auto* menu = dynamic_cast<vcl::TMainMenu*>(Form->Menu());
  if (ProviderUnit().RebuildingMenu || !menu || !menu->Items() || menu->Items()->Count() == 0) return false;
  ProviderUnit().RebuildingMenu = true;
  SkinData->BeginUpdate();
  const vcl::TScopeExit rebuilt([data = SkinData] {
    data->EndUpdate(false);
    ProviderUnit().RebuildingMenu = false;
  });
  if (Form->HandleAllocated()) DrawMenuBar(Form->Handle());
  return true;
}

void TsSkinProvider::RestoreLabelColors() {
  // Every label recoloured for the skin, wherever it lies on the form.
  while (!labels_.empty()) SetLabelColor(labels_.back().Label, false);
}

}  // namespace skin_layered
