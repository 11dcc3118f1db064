#include "skin_layered/adapters/MainWnd.h"

#include "classlib/extctrls/Buttons.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/adapters/AdapterMap.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvMainWnd) {}

namespace {

TsSkinProviderBase* ProviderOf(const TsCommonData* SkinData) {
  return SkinData ? SkinData->OwnerProvider() : nullptr;
}

// The window procedure of a themed window is drawn by the system: a blank theme name turns
// its visual style off, nil names give it back.
void SetTheme(HWND Handle, const wchar_t* Name) {
  if (TSetWindowThemeProc set = SetWindowThemeProc()) set(Handle, Name, Name);
}

}  // namespace

TqvMainWnd::TqvMainWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                       const TqvSkinParams& Params, bool Repaint)
    : CtrlHandle(AHandle), SkinManager(ASkinManager), SkinData(ASkinData), params_(Params), repaint_(Repaint) {}

void TqvMainWnd::AfterConstruction() {
  SwitchVisualStyleOff();
  if (!SkinData) {
    OwnsSkinData = true;
    CreateSkinData(params_.Control);
    if (SkinManager) SkinData->SetSkinManager(SkinManager);
    if (!params_.SkinSection.empty()) SkinData->SetSkinSection(params_.SkinSection);
    SkinData->SetCustomFont(!params_.UseSkinFont);
    SkinData->SetCustomColor(!params_.UseSkinColor);
  }
  InitSkinData(OwnsSkinData);
  if (StandardFontFlag()) SkinData->SetCustomFont(true);
  ListState = 0;
  DialogChild = DialogChildFlag();
  SaveStdParams();
  SkinParamsApplied = false;
  ReadCaption();
  Install();
  if (vcl::TControl* control = OwnerControl(); control && AddsOpaqueStyle()) {
    saved_style_ = control->ControlStyle();
    style_saved_ = true;
    control->SetControlStyle(saved_style_ + vcl::TControlStyle{vcl::csOpaque});
  }
  SetSkinParams();
}

void TqvMainWnd::BeforeDestruction() {
  TsSkinManager* manager = Manager();
  if (SkinData && manager && !Destroyed()) {
    RestoreControlStyle();
    RestoreWindowProc();
    // A form taking all its adapters away keeps its controls' looks as they are.
    if (!FormServices().FreeingAllAdapterItems() || manager->Removing()) RestoreStdParams();
    RestoreVisualStyle();
    EndLifetime();
  }
  TObject::BeforeDestruction();
}

TqvMainWnd::~TqvMainWnd() {
  // Whatever happened before, nothing of this object stays in the window's chain.
  RestoreWindowProc();
  if (OwnsSkinData) delete SkinData;
  SkinData = nullptr;
  SkinManager = nullptr;
}

bool TqvMainWnd::WantsVisualStyleOff() const {
  if (KeepsVisualStyle() || DialogChildFlag()) return false;
  if (TsSkinProviderBase* provider = ProviderOf(SkinData); provider && !provider->DrawNonClientArea) return false;
  return params_.SkinSection != L"DIALOG";
}

void TqvMainWnd::SwitchVisualStyleOff() {
  if (SetWindowThemeProc() && WantsVisualStyleOff()) SetTheme(CtrlHandle, L" ");
}

void TqvMainWnd::RestoreVisualStyle() {
  if (!SetWindowThemeProc() || !SkinData) return;
  if (TsSkinProviderBase* provider = ProviderOf(SkinData)) {
    if (provider->DrawNonClientArea) SetTheme(CtrlHandle, nullptr);
  } else if (SkinData->COC != 10 || !FormServices().AeroIsEnabled()) {
    SetTheme(CtrlHandle, nullptr);
  }
}

void TqvMainWnd::SetSkinParams() {
  if (SkinData) SkinData->SetWaitingForFirstShow(false);
}

void TqvMainWnd::CreateSkinData(vcl::TControl* Owner) {
  if (!SkinData) SkinData = new TsCommonData(Owner, true);
  SkinData->SetWaitingForFirstShow(true);
}

void TqvMainWnd::ForgetSkin() {
  if (!SkinData) return;
  SkinData->SkinIndex = SkinData->BorderIndex = SkinData->Texture = SkinData->HotTexture = kNoIndex;
  SkinData->BGChanged = true;
}

void TqvMainWnd::DropOpaqueStyle() {
  if (vcl::TControl* control = OwnerControl())
    control->SetControlStyle(control->ControlStyle() - vcl::TControlStyle{vcl::csOpaque});
}

TsSkinManager* TqvMainWnd::Manager() const {
  if (SkinManager) return SkinManager;
  return SkinData ? SkinData->GetSkinManager() : nullptr;
}

vcl::TControl* TqvMainWnd::OwnerControl() const {
  vcl::TControl* control = SkinData ? SkinData->OwnerControl() : nullptr;
  // A hooked control that went before its adapter is not touched again.
  if (control && mode_ == TAttachMode::Control && (control_gone_ || (hook_.Installed() && !hook_.Control())))
    return nullptr;
  return control;
}

void TqvMainWnd::RestoreControlStyle() {
  if (vcl::TControl* control = OwnerControl(); control && style_saved_) control->SetControlStyle(saved_style_);
  style_saved_ = false;
}

void TqvMainWnd::ReadCaption() {
  const int length = GetWindowTextLengthW(CtrlHandle);
  vcl::String text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(CtrlHandle, text.data(), length + 1)));
  Caption = std::move(text);
}

// ---------------------------------------------------------------------------------------
// Attaching and detaching

void TqvMainWnd::Install() {
  ScrollingInProgress = false;
  if (SetPropW(CtrlHandle, kAdapterProperty, reinterpret_cast<HANDLE>(this))) AdapterMap().Set(CtrlHandle, this);
  const auto method = vcl::TWndMethod::Bind<&TqvMainWnd::HandleMessage>(this);
  vcl::TControl* control = SkinData ? SkinData->OwnerControl() : nullptr;
  TsSkinProviderBase* provider = ProviderOf(SkinData);
  if (control) {
    hook_.Install(control, method);
    mode_ = TAttachMode::Control;
  } else if (provider && provider->Form) {
    hook_.Install(provider->Form, method);
    mode_ = TAttachMode::Form;
  } else if (subclass_.Attach(CtrlHandle, method)) {
    mode_ = TAttachMode::Window;
  }
}

void TqvMainWnd::RestoreWindowProc() {
  // Known before the hook goes: after it the hook no longer tells.
  if (hook_.Installed() && !hook_.Control()) control_gone_ = true;
  hook_.Remove();
  subclass_.Detach();
  if (CtrlHandle && AdapterMap().Remove(CtrlHandle, this)) RemovePropW(CtrlHandle, kAdapterProperty);
}

void TqvMainWnd::Uninstall(bool UseSetWindowPos) {
  if (Destroyed()) return;
  RestoreControlStyle();
  RestoreWindowProc();
  RestoreStdParams();
  if (IsWindowVisible(CtrlHandle)) RefreshFrame(CtrlHandle, UseSetWindowPos);
  EndLifetime();
}

void InstallAdapter(TqvMainWnd* Adapter) {
  if (Adapter) Adapter->Install();
}

void UninstallAdapter(TqvMainWnd* Adapter, bool UseSetWindowPos) {
  if (Adapter) Adapter->Uninstall(UseSetWindowPos);
}

void TqvMainWnd::SelectCacheFont() {
  if (!SkinData || !SkinData->CacheBmp()) return;
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  if (vcl::TControl* control = OwnerControl()) {
    canvas->Font()->Assign(control->Font());
    SelectObject(canvas->Handle(), canvas->Font()->Handle());
    return;
  }
  // A window of the system writes in the system's colour where no section gives one, not in
  // the colour a former skin left on the canvas.
  canvas->Font()->SetColor(vcl::clWindowText);
  if (auto font = reinterpret_cast<HFONT>(SendMessageW(CtrlHandle, WM_GETFONT, 0, 0))) {
    // The canvas's font takes a copy: the window keeps its own, and the text painters select
    // the canvas's font again whenever they change its colour.
    LOGFONTW lf{};
    if (GetObjectW(font, sizeof lf, &lf) != 0) canvas->Font()->SetHandle(CreateFontIndirectW(&lf));
    SelectObject(canvas->Handle(), canvas->Font()->Handle());
  } else {
    SetNonClientFont(canvas, kMessageFont);
  }
}

TqvMainWnd* GetAdapter(HWND Handle) {
  return AdapterMap().Find(Handle);
}

void RefreshFrame(HWND Handle, bool UseSetWindowPos) {
  if (UseSetWindowPos)
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  else
    SendMessageW(Handle, WM_NCPAINT, 1, 0);
}

void TqvMainWnd::CallPrevWndProc(vcl::TMessage& Message) {
  switch (mode_) {
    case TAttachMode::Control:
    case TAttachMode::Form:
      hook_.CallPrevious(Message);
      return;
    case TAttachMode::Window:
      try {
        subclass_.CallDefault(Message);
      } catch (...) {
        Message.Result = 0;
      }
      return;
    case TAttachMode::None:
      Message.Result = 0;
      return;
  }
}

LRESULT TqvMainWnd::CallPrevWndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  vcl::TMessage message{Msg, WParam, LParam, 0};
  CallPrevWndProc(message);
  return message.Result;
}

// ---------------------------------------------------------------------------------------
// The common window procedure

void TqvMainWnd::HandleMessage(vcl::TMessage& Message) {
  const HWND wnd = CtrlHandle;
  const TqvMainWnd* self = this;
  WndProc(Message);  // may detach, or free, the adapter
  // However the adapter answered, its window is gone now: the map must not keep it.
  if (Message.Msg == WM_NCDESTROY) AdapterMap().Remove(wnd, self);
}

void TqvMainWnd::WndProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      OnDestroyMessage(Message);
      return;
    case WM_SIZE:
      if (SkinData) SkinData->BGChanged = true;
      break;
    case WM_SETTEXT:
      CallPrevWndProc(Message);
      ReadCaption();
      return;
    case WM_CONTEXTMENU:
      OnContextMenu();
      break;
    case WM_UPDATEUISTATE:
      return;
    case WM_MOUSEMOVE:
      OnMouseMove();
      break;
    case WM_PRINT:
      // Painted through WM_PAINT with the given DC; the window below never sees WM_PRINT.
      Message.Result = SendMessageW(CtrlHandle, WM_PAINT, Message.WParam, Message.LParam);
      return;
    default:
      break;
  }
  CommonPart(Message);
}

void TqvMainWnd::OnDestroyMessage(vcl::TMessage& Message) {
  // Speed buttons on the control hear it through their handlers.
  if (auto* windowed = dynamic_cast<vcl::TWinControl*>(OwnerControl()))
    for (int i = 0; i < windowed->ControlCount(); ++i)
      if (auto* button = dynamic_cast<vcl::TSpeedButton*>(windowed->Controls(i))) button->Perform(WM_DESTROY, 0, 0);
  if (SkinData && SkinData->GlowID >= 0) SkinData->ReleaseGlow();
  if (mode_ == TAttachMode::None) {
    // Nothing lies below the adapter: the system answers (sending the message to the window
    // again would come straight back here).
    Message.Result = DefWindowProcW(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  if (OwnerControl()) {
    Uninstall(false);
    CallPrevWndProc(Message);  // on to what lay below, now the window's procedure again
  } else {
    CallPrevWndProc(Message);
    if (Message.Result == 0) Uninstall(false);
  }
  Message.Result = 1;
}

void TqvMainWnd::OnContextMenu() {
  vcl::TControl* control = OwnerControl();
  TsSkinManager* manager = Manager();
  if (!control || !manager) return;
  if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(control->PopupMenu()))
    FormServices().SetMenuOwnerDraw(manager->SkinableMenus(), popup, manager->Active());
}

void TqvMainWnd::PassSkinRemoval(vcl::TMessage& Message) {
  const TsSkinManager* manager = Manager();
  if (!manager || !manager->Removing()) return;
  vcl::TMessage copy = Message;
  PassToChildren(OwnerControl(), CtrlHandle, copy);
}

void TqvMainWnd::ProvideClientBgInfo(TqvBGInfo& Info, HWND Wnd) {
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  // A drawing copies the asker's area from where it lies in the cache.
  if (Info.PleaseDraw) Info.Offset = vcl::TPoint{Info.Offset.X + client.Left, Info.Offset.Y + client.Top};
  ProvideBgInfo(SkinData, Info, 0, Wnd);
  if (Info.PleaseDraw || !Info.Bmp) return;
  Info.Offset.X += client.Left;
  Info.Offset.Y += client.Top;
}

void TqvMainWnd::OnMouseMove() {
  TsSkinManager* manager = DefaultSkinManager();
  if (manager && !manager->Designing() && IsWindowEnabled(CtrlHandle) && manager->HotWnd() != CtrlHandle)
    manager->SetHotWnd(CtrlHandle);
}

void TqvMainWnd::CommonPart(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (SkinData && manager && manager->Active() && Message.Msg == kSkinCmdMessage &&
      SkinCommandOf(Message.WParam) <= scmGetApplication) {
    if (OnSkinCommand(Message)) return;
  }
  CallPrevWndProc(Message);
}

bool TqvMainWnd::FromOwnManager(const vcl::TMessage& Message) const {
  return Message.LParam != 0 && reinterpret_cast<TsSkinManager*>(Message.LParam) == Manager();
}

bool TqvMainWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmNewSkin:
      if (FromOwnManager(Message)) {
        SkinData->UpdateIndexes(true);
        SkinData->BGChanged = true;
        vcl::TMessage copy = Message;
        PassToChildren(OwnerControl(), CtrlHandle, copy);
      }
      return false;
    case scmRemoveSkin:
      if (FromOwnManager(Message)) {
        ForgetSkin();
        RestoreStdParams();
      }
      return false;
    case scmRefresh:
      if (FromOwnManager(Message)) {
        SkinData->UpdateIndexes(true);
        SkinData->BGChanged = true;
        SkinData->Updating = false;
        if (IsWindowVisible(CtrlHandle)) {
          SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
          vcl::TMessage copy = Message;
          PassToChildren(OwnerControl(), CtrlHandle, copy);
        }
      }
      return true;
    case scmRepaint:
      if (SkinData->Updating) {
        if (!SkinData->CheckBgChanged(true)) {
          SendMessageW(CtrlHandle, WM_NCPAINT, 1, 0);
          RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        if (auto* windowed = dynamic_cast<vcl::TWinControl*>(OwnerControl())) RepaintChildControls(windowed);
      }
      return true;
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmIsBgChanged:
      Message.Result = SkinData->BgIsChanged() ? 1 : 0;
      return true;
    case scmSetSection:
      if (Message.LParam) {
        SkinData->SetSkinSection(reinterpret_cast<const TqvSectionInfo*>(Message.LParam)->SectionName);
        Message.Result = 1;
      } else {
        Message.Result = 0;
      }
      return true;
    case scmIsReady:
      if (OwnerControl()) skin_layered::CommonWndProc(Message, SkinData);
      return true;
    case scmGetColor:
      CallPrevWndProc(Message);
      if (Message.Result == 0) Message.Result = GetBgColor(SkinData, 0, CtrlHandle);
      return true;
    case scmPrepareCache:
      PrepareAdapterCache(SkinData, CtrlHandle, false);
      return false;
    case scmGetBgInfo:
      if (Message.LParam) ProvideClientBgInfo(*reinterpret_cast<TqvBGInfo*>(Message.LParam), CtrlHandle);
      return true;
    case scmGetSkinData:
      Message.Result = reinterpret_cast<LRESULT>(SkinData);
      return true;
    case scmSetPrintTarget:
      if (Message.LParam)
        SkinData->CtrlSkinState |= kStatePrintDC;
      else
        SkinData->CtrlSkinState &= static_cast<std::uint16_t>(~kStatePrintDC);
      SkinData->PrintDC = reinterpret_cast<HDC>(Message.LParam);
      return false;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    default:
      return false;
  }
}

}  // namespace skin_layered
