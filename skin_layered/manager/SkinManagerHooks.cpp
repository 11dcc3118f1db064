// The skin manager's hooks: the thread's window-creation hook and the system-colour
// substitution of the default manager, the application window's messages (the skin editor's
// preview link, popup menus, the task bar), hot tracking and the task-bar preview switch.
#include <memory>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SystemMessages.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/ManagerUnit.h"
#include "skin_layered/manager/SysColors.h"

namespace skin_layered {
namespace {

constexpr DWORD kHasIconicBitmap = 10;
constexpr DWORD kForceIconicRepresentation = 7;

TsSkinProviderBase* MainFormProvider() {
  if (!vcl::Application) return nullptr;
  vcl::TCustomForm* main = vcl::Application->MainForm();
  if (!main) return nullptr;
  return reinterpret_cast<TsSkinProviderBase*>(SendCommandToCtrl(main, scmGetProvider, 0));
}

HWND MainFormWindow() {
  vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
  return main && main->HandleAllocated() ? main->Handle() : nullptr;
}

// The popup-menu window showing the item of that command: found at the centre of the item's
// rectangle. The message may arrive after the menu or its item is gone: only a live menu
// that still holds the command is asked.
HWND MenuWindowOfItem(HMENU Menu, UINT Command) {
  if (!Menu || !IsMenu(Menu)) return nullptr;
  const int count = GetMenuItemCount(Menu);
  int index = -1;
  for (int i = 0; i < count && index < 0; ++i)
    if (GetMenuItemID(Menu, i) == Command) index = i;
  if (index < 0) return nullptr;
  RECT r{};
  if (!GetMenuItemRect(nullptr, Menu, static_cast<UINT>(index), &r) &&
      !(vcl::Application && GetMenuItemRect(vcl::Application->Handle(), Menu, static_cast<UINT>(index), &r)))
    return nullptr;
  return WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

}  // namespace

bool PreviewMode() { return ManagerUnit().PreviewMode; }
const vcl::TStrings* PreviewLines() { return ManagerUnit().PreviewLines; }

bool TaskbarPreviewSwitch() { return ManagerUnit().TaskbarPreview; }
void SetTaskbarPreviewSwitch(bool Value) { ManagerUnit().TaskbarPreview = Value; }

void SetTaskbarPreview(HWND Wnd, bool Flag) {
  if (!ManagerUnit().TaskbarPreview || !Wnd) return;
  const BOOL value = Flag ? TRUE : FALSE;
  if (FAILED(FormServices().DwmSetWindowAttr(Wnd, kHasIconicBitmap, &value, sizeof value)))
    FormServices().DwmSetWindowAttr(Wnd, kForceIconicRepresentation, &value, sizeof value);
  FormServices().InvalidateIconicBitmaps(Wnd);
}

// ---------------------------------------------------------------------------------------
// The thread's hook and the system colours

void TsSkinManager::InstallHooks() {
  if (!IsDefaultManager() || Designing() || cbt_hook_) return;
  cbt_hook_ = SetWindowsHookExW(WH_CBT, AdapterServices().DialogHookProc(), nullptr, GetCurrentThreadId());
  if (!cbt_hook_) return;
  if (options_->ChangeSysColors()) PatchSysColors();
  // Dialogs opened while no skin was applied would otherwise wait for their next activation.
  AdapterServices().SkinOpenWindows();
}

void TsSkinManager::UninstallHooks() {
  if (!cbt_hook_) return;
  AdapterServices().ClearMenuWnds();
  UnhookWindowsHookEx(cbt_hook_);
  cbt_hook_ = nullptr;
  FreeHookedAdapters();
  if (options_->ChangeSysColors()) UnpatchSysColors();
}

// ---------------------------------------------------------------------------------------
// The application window

void TsSkinManager::HookMainWindow() {
  if (main_window_hooked_ || !vcl::Application) return;
  vcl::Application->HookMainWindow(vcl::TWindowHook::Bind<&TsSkinManager::MainWindowHook>(this));
  main_window_hooked_ = true;
}

void TsSkinManager::UnhookMainWindow() {
  if (!main_window_hooked_) return;
  main_window_hooked_ = false;
  if (vcl::Application)
    vcl::Application->UnhookMainWindow(vcl::TWindowHook::Bind<&TsSkinManager::MainWindowHook>(this));
}

bool TsSkinManager::MainWindowHook(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_COPYDATA: return OnMainCopyData(Message);
    case kSkinCmdMessage: return OnMainSkinCommand(Message);
    case WM_SYSCOMMAND: return OnMainSysCommand(Message);
    case kTaskbarMenuRequest: return OnMainTaskbarMenu();
    case WM_THEMECHANGED: return true;
    case WM_DWMSENDICONICTHUMBNAIL:
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP: return OnMainIconicRequest(Message);
    case vcl::CM_ACTIVATE: return OnMainActivate();
    case kMenuItemPopupMessage:
    case kMenuWindowPopupMessage: return OnMainMenuPopup(Message);
    default: return false;
  }
}

// The skin editor's preview block: taken, then applied from a message of its own.
bool TsSkinManager::OnMainCopyData(const vcl::TMessage& Message) {
  if (in_copy_data_) return false;
  in_copy_data_ = true;
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  bool taken = false;
  if (data && data->dwData == kPreviewCopyDataId) taken = ReadPreviewBlock(data->lpData, data->cbData, preview_);
  if (taken && vcl::Application)
    PostMessageW(vcl::Application->Handle(), kSkinCmdMessage, SkinCommandWParam(scmPreviewData), 0);
  in_copy_data_ = false;
  return taken;
}

bool TsSkinManager::OnMainSkinCommand(const vcl::TMessage& Message) {
  if (SkinCommandOf(Message.WParam) == scmPreviewData) ApplyPreview();
  return false;
}

// Minimising and restoring the main form animate it.
bool TsSkinManager::OnMainSysCommand(const vcl::TMessage& Message) {
  const WPARAM command = SysCommandOf(Message.WParam);
  if (command != SC_MINIMIZE && command != SC_RESTORE) return false;
  if (!active_ || !skin_.SkinData.Active) return false;
  TsSkinProviderBase* provider = MainFormProvider();
  const TqvMinimizing* animation = anim_effects_->Minimizing();
  if (!provider || !animation->Active() || animation->Time() == 0 || !provider->MinAnimAllowed()) return false;
  // While the animation runs the form must not paint itself; it paints again at the end,
  // whatever happens.
  provider->PaintingSuspended = true;
  const vcl::TScopeExit resume([provider] { provider->PaintingSuspended = false; });
  if (command == SC_RESTORE)
    if (HWND form = MainFormWindow())
      SetWindowLongPtrW(form, GWL_EXSTYLE, GetWindowLongPtrW(form, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  provider->MinAnimTimer();
  return false;
}

bool TsSkinManager::OnMainTaskbarMenu() {
  TsSkinProviderBase* provider = MainFormProvider();
  if (!provider) return false;
  POINT p{};
  GetCursorPos(&p);
  provider->DropSysMenu(vcl::TPoint{p.x, p.y});
  return true;
}

bool TsSkinManager::OnMainIconicRequest(const vcl::TMessage& Message) {
  if (!ManagerUnit().TaskbarPreview || !MainFormProvider()) return false;
  HWND form = MainFormWindow();
  if (Message.Msg == WM_DWMSENDICONICTHUMBNAIL)
    FormServices().SetIconicThumbnail(form, vcl::TSize{HIWORD(Message.LParam), LOWORD(Message.LParam)});
  else
    FormServices().SetIconicLivePreview(form, vcl::TPoint{0, 0});
  return true;
}

// The application came to the front: every form reloads its look.
bool TsSkinManager::OnMainActivate() {
  if (vcl::Screen)
    for (int i = vcl::Screen->CustomFormCount() - 1; i >= 0; --i) {
      if (i >= vcl::Screen->CustomFormCount()) continue;
      vcl::TCustomForm* form = vcl::Screen->CustomForms(i);
      if (form->HandleAllocated()) SendCommandToWnd(form->Handle(), scmReload, 0);
    }
  return false;
}

// A popup menu's window appeared: it takes the skin's shape.
bool TsSkinManager::OnMainMenuPopup(const vcl::TMessage& Message) {
  if (!skinned_popups_) return false;
  HWND menu = Message.Msg == kMenuWindowPopupMessage
                  ? reinterpret_cast<HWND>(Message.LParam)
                  : MenuWindowOfItem(reinterpret_cast<HMENU>(Message.WParam), static_cast<UINT>(Message.LParam));
  if (menu && GetWndClassName(menu) == kPopupMenuClass) {
    FormServices().GetExtraLineRect(menu);
    FormServices().SetMenuWndRgn(menu);
  }
  return true;
}

void TsSkinManager::ApplyPreview() {
  TqvManagerUnit& unit = ManagerUnit();
  unit.PreviewMode = true;
  auto lines = std::make_unique<vcl::TStringList>();
  lines->SetText(preview_.OptionText);
  const vcl::TScopeExit release([&unit, this] {
    unit.PreviewLines = nullptr;
    hold_broadcast_ = false;
  });
  unit.PreviewLines = lines.get();
  hold_broadcast_ = true;
  SetSkinDirectory(preview_.SkinDirectory);
  SetSkinName(preview_.SkinName);
  hold_broadcast_ = false;
  if (!active_) return;
  // This one announcement comes without the skin-changing animation.
  TqvSkinChanging* changing = anim_effects_->SkinChanging();
  const vcl::TScopeExit restore([changing, active = changing->Active()] { changing->SetActive(active); });
  changing->SetActive(false);
  SendNewSkin(true);
}

// ---------------------------------------------------------------------------------------
// Hot tracking

void TsSkinManager::SetHotControl(vcl::TControl* Control) {
  if (Control == hot_control_) return;
  vcl::TControl* old = hot_control_;
  if (!Control && old) {
    // A control that keeps the focus stays the hot one.
    auto* data = reinterpret_cast<TsCommonData*>(SendCommandToCtrl(old, scmGetSkinData, 0));
    if (data && data->Focused()) return;
  }
  if (old) old->RemoveFreeNotification(this);
  hot_control_ = Control;
  hot_wnd_ = nullptr;
  if (Control) Control->FreeNotification(this);
  if (old) SendCommandToCtrl(old, scmMouseLeave, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::SetHotWnd(HWND Handle) {
  if (Handle && Handle == hot_wnd_) return;
  // The hot control leaves first; one that keeps its hot look (it has the focus) keeps it.
  if (Handle && hot_control_) {
    SetHotControl(nullptr);
    if (hot_control_) return;
  }
  // The new hot window is set before the old one hears of its leave: a window that repaints on
  // the leave and asks whether it is the hot one must no longer find itself so.
  const HWND previous = hot_wnd_;
  const bool changed = previous != Handle;
  hot_wnd_ = Handle;
  if (previous && changed && IsWindow(previous))
    SendCommandToWnd(previous, scmMouseLeave, reinterpret_cast<LPARAM>(this));
  if (Handle && changed && hot_wnd_ == Handle) SendCommandToWnd(Handle, scmMouseEnter, reinterpret_cast<LPARAM>(this));
}

}  // namespace skin_layered
