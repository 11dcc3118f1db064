// The skinned system menu of a form: a popup menu the provider shows in place of the window's
// own (its name starts with "qvSysMenu", which tells the skinned-menu painter to draw the
// system glyphs). It is built from the window's real system menu: the six standard commands
// with the real menu's texts and shortcuts (the engine's own texts where the real menu lacks a
// command), every other command of the real menu, the application's submenu of the provider's
// SysSubMenu and, on request, a submenu of the available skins. Its predicates say which
// commands, and so which title buttons, the form allows.
#pragma once

#include <windows.h>

#include "classlib/forms/Menus.h"
#include "skin_layered/forms/MenuSupport.h"

namespace skin_layered {

class TsSkinManager;
class TsSystemMenu;
class TqvSysSubMenu;

// What the skinned system menu asks of its form's provider.
class TqvSysMenuOwner {
 public:
  // The provider as a component (the menu's owner) and the form it serves.
  virtual vcl::TComponent* SysMenuComponent() = 0;
  virtual vcl::TCustomForm* SysMenuForm() const = 0;
  virtual TqvSysSubMenu* SysSubMenu() const = 0;
  virtual TsSkinManager* SkinManager() const = 0;
  // A minimise chosen in the menu runs (the provider animates it as its own).
  virtual void SetMinimizingFromMenu(bool Value) = 0;
  // The provider's system menu now (a command may have made it anew); nil for none.
  virtual TsSystemMenu* CurrentSystemMenu() const = 0;

 protected:
  ~TqvSysMenuOwner() = default;
};

// Every this many skins the skins submenu starts a new column.
inline constexpr int kSkinsPerColumn = 20;

// The base of the system menus of forms and of skinned dialogs.
class TsCustomSysMenu : public vcl::TPopupMenu {
  VCL_CLASS(TsCustomSysMenu, vcl::TPopupMenu)
 public:
  explicit TsCustomSysMenu(vcl::TComponent* AOwner) : TPopupMenu(AOwner) {}

  virtual bool CloseVisible() const = 0;
  virtual bool MaximizeVisible() const = 0;
  virtual bool MinimizeVisible() const = 0;
  virtual bool MaximizeEnabled() const = 0;
  virtual bool MinimizeEnabled() const = 0;
  virtual bool RestoreEnabled() const = 0;

  // The standard commands' items, made by the menu that builds them.
  vcl::TMenuItem* ItemRestore = nullptr;
  vcl::TMenuItem* ItemMove = nullptr;
  vcl::TMenuItem* ItemSize = nullptr;
  vcl::TMenuItem* ItemMinimize = nullptr;
  vcl::TMenuItem* ItemMaximize = nullptr;
  vcl::TMenuItem* ItemClose = nullptr;
};

class TsSystemMenu : public TsCustomSysMenu {
  VCL_CLASS(TsSystemMenu, TsCustomSysMenu)
 public:
  // Owned by the provider; built at once.
  explicit TsSystemMenu(TqvSysMenuOwner* AOwner);

  // Rebuilds every item from the window's real system menu.
  void Generate();
  // Rebuilds when asked or never built, then shows and enables the standard items.
  void UpdateItems(bool Rebuild = false);
  // Inserts the submenu of the available skins at the top (with a manager only).
  void MakeSkinItems();

  bool CloseVisible() const override;
  bool MaximizeVisible() const override;
  bool MinimizeVisible() const override;
  bool MaximizeEnabled() const override;
  bool MinimizeEnabled() const override;
  bool RestoreEnabled() const override;
  bool CloseEnabled() const;
  bool MoveEnabled() const;
  bool SizeEnabled() const;
  bool RestoreVisible() const;
  bool SizeVisible() const;

  // Items copied from the real system menu in the last build.
  int ExtraItemCount() const { return extra_count_; }

  TqvSysMenuOwner* FProvider;  // the provider that made it
  vcl::TCustomForm* FForm;     // the provider's form
  vcl::TMenuItem* SubMenuItem = nullptr;

 private:
  HMENU RealMenu() const;
  bool HasSystemMenu() const;
  bool Framed() const;
  bool MdiChild() const;
  bool Iconic() const;
  // The application's submenu when its position is Position.
  void AddSubMenu(int Position);
  vcl::TMenuItem* NewItem(const vcl::String& Caption, const vcl::String& Name, intptr_t Tag);
  void StandardClick(vcl::TObject* Sender);
  void ExtraClick(vcl::TObject* Sender);
  void SkinClick(vcl::TObject* Sender);

  int extra_count_ = 0;
};

}  // namespace skin_layered
