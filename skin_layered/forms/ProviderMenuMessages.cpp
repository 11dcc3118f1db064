// A skinned form's menu messages: the items the system measures and the form's popup menu are
// prepared for skinned drawing, and a menu loop's start tells the popup windows that no
// skinned item has been measured yet.
#include "classlib/forms/Menus.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

void TsSkinProvider::WMMeasureItem(vcl::TMessage& Message) {
  const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
  TsSkinableMenus* menus = SkinableMenusOf(SkinManager());
  if (measure && measure->CtlType == ODT_MENU && menus && HasMenuLine())
    if (auto* menu = dynamic_cast<vcl::TMainMenu*>(Form->Menu()))
      menus->HookMenuItem(menu->FindItem(measure->itemID, vcl::fkCommand), true);
  CallOldWndProc(Message);
}

void TsSkinProvider::WMContextMenu(vcl::TMessage& Message) {
  TsSkinManager* manager = SkinManager();
  if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(Form->PopupMenu()); popup && manager)
    if (TsSkinableMenus* menus = SkinableMenusOf(manager)) menus->SetMenuOwnerDraw(popup, manager->SkinnedPopups());
  CallOldWndProc(Message);
}

void TsSkinProvider::WMEnterMenuLoop(vcl::TMessage& Message) {
  SetSkinnedPopupShown(false);
  CallOldWndProc(Message);
}

}  // namespace skin_layered
