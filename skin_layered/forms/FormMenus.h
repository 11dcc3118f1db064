// TqvFormMenus, a skinned form's menus: the skinned system menu it owns (made from the window's
// own, dropped at a point), WS_SYSMENU taken away while the frame is painted from the skin, the
// form's menus hooked for skinned drawing and the main menu bar rebuilt. The form's provider owns
// it (the system menu is a component of the provider, freed with it) and gives it what it asks
// through TqvFormMenusHost.
#pragma once

#include "classlib/rtl/Types.h"

namespace vcl {
class TCustomForm;
class TObject;
}  // namespace vcl

namespace skin_layered {

class TsSkinManager;
class TsScrollWndData;
class TsSystemMenu;
class TqvSysMenuOwner;

// What the menus ask of the form's provider.
class TqvFormMenusHost {
 public:
  virtual ~TqvFormMenusHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The owner the skinned system menu is made for (its form, its component).
  virtual TqvSysMenuOwner& MenusOwner() = 0;
  virtual TsScrollWndData* MenusSkinData() const = 0;
  // The frame is painted from the skin (DrawNonClientArea, and the skin has the form's section).
  virtual bool PaintsFrame() const = 0;
  // The skin's items are added to the skinned system menu (MakeSkinMenu).
  virtual bool AddsSkinItems() const = 0;
  // The provider is designed (its menus stay as they are).
  virtual bool MenusDesigned() const = 0;
  // Re-reads what depends on the skin (the system menu made on the way).
  virtual void InitMenuItems() = 0;
  // The skinned system menu was made: the caption's system buttons go by its commands.
  virtual void SystemMenuMade() = 0;

};

class TqvFormMenus {
 public:
  explicit TqvFormMenus(TqvFormMenusHost& Host) : host_(Host) {}
  TqvFormMenus(const TqvFormMenus&) = delete;
  TqvFormMenus& operator=(const TqvFormMenus&) = delete;

  // The skinned system menu (owned); nil until made.
  TsSystemMenu* SystemMenu() const { return system_menu_; }
  // The skinned system menu made from the window's own when there is none yet.
  void MakeSystemMenu();
  // The skinned system menu was freed by someone else.
  void SystemMenuFreed() { system_menu_ = nullptr; }
  // Frees the skinned system menu.
  void FreeSystemMenu();
  // The skinned system menu at a screen point (the window's own without skinned popups).
  void DropSysMenu(vcl::TPoint Point);
  // WS_SYSMENU taken away (True) while the frame is painted from the skin, so that the system
  // draws no caption buttons, or given back with the form's icon (False, or a frame the system
  // draws: no DrawNonClientArea, or no section for the form in the skin).
  void SystemMenuStyle(bool Skinned);
  // The form's menus hooked for skinned drawing (the menu line and popups).
  void PrepareMenus();
  // The form's own menu line is prepared again on the next PrepareMenus.
  void ForgetPrepared() { menus_prepared_ = false; }
  // The main menu bar rebuilt between an update bracket; true when it happened.
  bool RebuildMainMenuBar();
  // The main menu bar rebuilt once (the first client paint).
  void RebuildMainMenuBarOnce() {
    if (!menu_bar_rebuilt_) menu_bar_rebuilt_ = RebuildMainMenuBar();
  }
  // When the form's biSystemMenu changed since the skinned system menu last knew it, the
  // menu's items are updated; true then.
  bool SysMenuIconChanged();

 private:
  vcl::TCustomForm* Form() const;

  TqvFormMenusHost& host_;
  TsSystemMenu* system_menu_ = nullptr;
  bool menus_prepared_ = false;
  bool menu_bar_rebuilt_ = false;
  // The form's biSystemMenu as the skinned system menu last knew it.
  bool sys_menu_icon_shown_ = true;
};

}  // namespace skin_layered
