#include "skin_layered/forms/FormMenus.h"

#include <windows.h>

#include <functional>
#include <utility>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

// Every menu among the components of Owner, frames and other owners included. Walked at every
// frame paint: the class references are compared, not the type names a cast compares.
void ForEachMenu(vcl::TComponent* Owner, const std::function<void(vcl::TComponent*)>& Action) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    vcl::TComponent* c = Owner->Components(i);
    const bool menu = c->InheritsFrom<vcl::TMenu>();
    if (menu || c->InheritsFrom<vcl::TMenuItem>()) Action(c);
    if (c->ComponentCount() > 0 && !menu) ForEachMenu(c, Action);
  }
}

}  // namespace

vcl::TCustomForm* TqvFormMenus::Form() const { return host_.MenusOwner().SysMenuForm(); }

void TqvFormMenus::MakeSystemMenu() {
  vcl::TCustomForm* form = Form();
  if (system_menu_ || !form->HandleAllocated()) return;
  // The system makes a window's own system menu only while it has WS_SYSMENU.
  const HWND wnd = form->Handle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  const bool lend = form->BorderIcons().Contains(vcl::biSystemMenu) && !(style & WS_SYSMENU);
  if (lend) SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
  GetSystemMenu(wnd, FALSE);
  if (lend) SetWindowLongPtrW(wnd, GWL_STYLE, style);
  system_menu_ = new TsSystemMenu(&host_.MenusOwner());
  system_menu_->UpdateItems(false);
  host_.SystemMenuMade();
}

void TqvFormMenus::FreeSystemMenu() {
  if (system_menu_) vcl::TObject::Free(std::exchange(system_menu_, nullptr));
}

void TqvFormMenus::DropSysMenu(vcl::TPoint Point) {
  if (!system_menu_) host_.InitMenuItems();
  MakeSystemMenu();
  vcl::TCustomForm* form = Form();
  if (!form->HandleAllocated() || GetForegroundWindow() != form->Handle()) return;
  const HWND wnd = form->Handle();
  TsSkinManager* manager = host_.SkinManager();
  if (!manager || !manager->SkinnedPopups() || !system_menu_) {
    // The window's own menu, its standard commands set as the skinned menu would.
    const HMENU real = GetSystemMenu(wnd, FALSE);
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    if (system_menu_) {
      auto enable = [real](UINT command, bool enabled) {
        EnableMenuItem(real, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
      };
      enable(SC_RESTORE, system_menu_->RestoreEnabled());
      enable(SC_MOVE, system_menu_->MoveEnabled());
      enable(SC_SIZE, system_menu_->SizeEnabled());
      enable(SC_MINIMIZE, system_menu_->MinimizeEnabled());
      enable(SC_MAXIMIZE, system_menu_->MaximizeEnabled());
      enable(SC_CLOSE, system_menu_->CloseEnabled());
    }
    SetWindowLongPtrW(wnd, GWL_STYLE, style);
    const int command = TrackPopupMenu(real, TPM_RETURNCMD | TPM_RIGHTBUTTON, Point.X, Point.Y, 0, wnd, nullptr);
    if (command != 0) PostMessageW(wnd, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    return;
  }
  system_menu_->UpdateItems(host_.AddsSkinItems());
  if (host_.AddsSkinItems()) system_menu_->MakeSkinItems();
  FormServices().SetMenuOwnerDraw(manager->SkinableMenus(), system_menu_, true);
  system_menu_->Popup(Point.X, Point.Y);
}

void TqvFormMenus::SystemMenuStyle(bool Skinned) {
  vcl::TCustomForm* form = Form();
  if (!form->HandleAllocated()) return;
  const HWND wnd = form->Handle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (Skinned && host_.PaintsFrame()) {
    if (style & WS_SYSMENU) SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
  } else if (form->BorderIcons().Contains(vcl::biSystemMenu)) {
    // The system draws the frame: its caption buttons and icon as the form asks for them.
    if (!(style & WS_SYSMENU)) SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
    const LRESULT icon = SendMessageW(wnd, WM_GETICON, 0, 0);
    SendMessageW(wnd, WM_SETICON, 0, icon);
  }
}

void TqvFormMenus::PrepareMenus() {
  TsSkinManager* manager = host_.SkinManager();
  if (host_.MenusDesigned() || !manager || !manager->IsDefaultManager() || !manager->SkinableMenus()) return;
  TsSkinableMenusBase* menus = manager->SkinableMenus();
  vcl::TCustomForm* form = Form();
  ForEachMenu(form, [&](vcl::TComponent* c) {
    if (auto* main = dynamic_cast<vcl::TMainMenu*>(c)) {
      if (!host_.PaintsFrame()) return;
      if (main == form->Menu()) {
        // The form's own menu line is prepared once per provider (menu changes reset it).
        if (menus_prepared_) return;
        menus_prepared_ = true;
      }
      FormServices().HookMainMenu(menus, main, true);
    } else if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(c)) {
      if (manager->SkinnedPopups()) FormServices().SetMenuOwnerDraw(menus, popup, true);
    } else if (auto* item = dynamic_cast<vcl::TMenuItem*>(c); item && !item->GetParentMenu()) {
      if (manager->SkinnedPopups()) FormServices().HookMenuItem(menus, item, true);
    }
  });
}

bool TqvFormMenus::RebuildMainMenuBar() {
  vcl::TCustomForm* form = Form();
  auto* menu = dynamic_cast<vcl::TMainMenu*>(form->Menu());
  if (ProviderUnit().RebuildingMenu || !menu || !menu->Items() || menu->Items()->Count() == 0) return false;
  ProviderUnit().RebuildingMenu = true;
  TsScrollWndData* data = host_.MenusSkinData();
  data->BeginUpdate();
  const vcl::TScopeExit rebuilt([data] {
    data->EndUpdate(false);
    ProviderUnit().RebuildingMenu = false;
  });
  if (form->HandleAllocated()) DrawMenuBar(form->Handle());
  return true;
}

bool TqvFormMenus::SysMenuIconChanged() {
  if (!system_menu_) return false;
  const bool icon = Form()->BorderIcons().Contains(vcl::biSystemMenu);
  if (icon == sys_menu_icon_shown_) return false;
  sys_menu_icon_shown_ = icon;
  system_menu_->UpdateItems(false);
  return true;
}

}  // namespace skin_layered
