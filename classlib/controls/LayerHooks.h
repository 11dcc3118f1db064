// The hooks through which the control core reaches the layers above it: the forms, the
// application and its screen, the menus. Each of those units fills its part when it starts
// and empties it when it stops; an empty hook means that layer is absent, and a control then
// behaves as one without a form, an application or menus. The library's calls across layers
// go through here and nowhere else.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

// What a control asks of the form it sits on (the forms unit registers these).
struct TFormHooks {
  // The form Control sits on: its topmost parent when that is a form (Control itself when it
  // is one), or nil.
  TWinControl* (*ParentForm)(const TControl* Control) = nullptr;
  // Key messages go to the form first; true when the form used the key.
  bool (*WantChildKey)(TWinControl* Form, TControl* Child, TMessage& Message) = nullptr;
  // The form's KeyPreview: it sees its controls' keys before they do.
  bool (*KeyPreview)(TWinControl* Form) = nullptr;
  // Ends a mouse capture or drag the form's controls other than Sender may hold.
  void (*SendCancelMode)(TWinControl* Form, TControl* Sender) = nullptr;
  void (*FocusControl)(TWinControl* Form, TWinControl* Control) = nullptr;
  void (*DefocusControl)(TWinControl* Form, TWinControl* Control, bool Removing) = nullptr;
  // False when the form refuses the focus change.
  bool (*SetFocusedControl)(TWinControl* Form, TWinControl* Control) = nullptr;
  // The form's main menu, or nil.
  TComponent* (*Menu)(TWinControl* Form) = nullptr;
};

// What forms and controls need of the menus unit: the window menu of a main menu, the
// dispatch of menu commands and popup openings to its items, shortcuts and popup menus.
struct TMenuHooks {
  HMENU (*MenuHandle)(TComponent* Menu) = nullptr;
  bool (*DispatchCommand)(TComponent* Menu, WORD ItemID) = nullptr;
  bool (*DispatchPopup)(TComponent* Menu, HMENU Popup) = nullptr;
  // A key that is a shortcut of one of the menu's items runs that item.
  bool (*IsShortCut)(TComponent* Menu, const TMessage& KeyMessage) = nullptr;
  // Owner-drawn items of the menu (WM_MEASUREITEM / WM_DRAWITEM of CtlType ODT_MENU sent to
  // Window): true when the item is one of the menu's.
  bool (*MeasureItem)(TComponent* Menu, HWND Window, MEASUREITEMSTRUCT& Item) = nullptr;
  bool (*DrawItem)(TComponent* Menu, const DRAWITEMSTRUCT& Item) = nullptr;
  // Shows a control's popup menu at a screen point; answers whether the menu was shown
  // (AutoPopup on).
  bool (*PopupControlMenu)(TComponent* Menu, TControl* Control, TPoint ScreenPos) = nullptr;
};

// The application and its screen (the forms unit registers these).
struct TApplicationHooks {
  // Shows an exception that escaped a message handler (called inside its catch block);
  // without it the exception is dropped.
  void (*HandleException)(TObject* Sender) = nullptr;
  // Hint display: mouse moves over a control and leaving it.
  void (*HintMouse)(TControl* Control, const TMessage& Message) = nullptr;
  // A control being destroyed leaves the application's and the screen's references.
  void (*ControlDestroyed)(TControl* Control) = nullptr;
  // The screen's cursor, which overrides the controls' own when it is not crDefault.
  TCursor (*ScreenCursor)() = nullptr;
};

struct TLayerHooks {
  TFormHooks Forms;
  TApplicationHooks Application;
  TMenuHooks Menus;
};

// The process's one set of hooks.
TLayerHooks& LayerHooks();

// The form a control sits on (see TFormHooks::ParentForm); nil without the forms unit.
TWinControl* ParentFormOf(const TControl* Control);

}  // namespace vcl
