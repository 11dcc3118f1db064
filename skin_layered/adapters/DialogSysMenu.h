// TqvSystemMenu, a skinned system dialog's window menu: the dialog lost WS_SYSMENU, so the
// system shows none; this popup menu with the six window commands stands in for it, dropped
// on the dialog's icon and by a right click on its caption, owner-drawn by the skinned menus
// when the manager skins popups.
#pragma once

#include <windows.h>

#include "classlib/forms/Menus.h"
#include "skin_layered/forms/SystemMenu.h"

namespace skin_layered {

// What the menu asks of its dialog: its window, the kind of its frame and the tests on its
// styles and state.
class TqvSysMenuDialog {
 public:
  virtual HWND MenuDialogWindow() const = 0;
  // The kind of its frame, as TqvDialogWnd's BorderKind.
  virtual int MenuDialogFrameKind() const = 0;
  virtual bool HasSysMenu() const = 0;
  virtual bool HasMaxBox() const = 0;
  virtual bool HasMinBox() const = 0;
  virtual bool MaxEnabled() const = 0;
  virtual bool MinEnabled() const = 0;
  virtual bool RestoreEnabled() const = 0;

 protected:
  ~TqvSysMenuDialog() = default;
};

// On the form system menu's base: the title buttons ask either kind the same questions.
class TqvSystemMenu : public TsCustomSysMenu {
  VCL_CLASS(TqvSystemMenu, TsCustomSysMenu)
 public:
  explicit TqvSystemMenu(vcl::TComponent* AOwner);

  // Visibility and enabling of each item from the dialog's state.
  void UpdateItems();
  // The menu bound to the dialog's window, at a screen point.
  void ShowAt(int X, int Y);

  // The dialog's tests, as the form's system menu has them.
  bool CloseVisible() const override;
  bool MaximizeVisible() const override;
  bool MinimizeVisible() const override;
  bool MaximizeEnabled() const override;
  bool MinimizeEnabled() const override;
  bool RestoreEnabled() const override;

  TqvSysMenuDialog* Dialog = nullptr;

 private:
  vcl::TMenuItem* AddItem(const vcl::String& Caption, const wchar_t* Name, vcl::TNotifyEvent Click);
  void Command(UINT Code);
  void RestoreClick(vcl::TObject*);
  void MoveClick(vcl::TObject*) { Command(SC_MOVE); }
  void SizeClick(vcl::TObject*) { Command(SC_SIZE); }
  void MinimizeClick(vcl::TObject*) { Command(SC_MINIMIZE); }
  void MaximizeClick(vcl::TObject*);
  void CloseClick(vcl::TObject*) { Command(SC_CLOSE); }
};

}  // namespace skin_layered
