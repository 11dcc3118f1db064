#include "skin_classic/forms/MenuTracking.h"

#include "classlib/forms/Menus.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/forms/FormFrame.h"

namespace winskin {

TMenuTracking& MenuTracking() {
  static TMenuTracking tracking;
  return tracking;
}

TMenuTracking::TMenuTracking() = default;
TMenuTracking::~TMenuTracking() = default;

void TMenuTracking::Begin(TFormFrame* AForm, int Index, bool SelectFirst) {
  Form = AForm;
  OpenIndex = Index;
  SelectedMenu = nullptr;
  SelectedHasSubMenu = false;
  SelectedItem = nullptr;
  SwitchPending = false;
  SwitchTarget = -1;
  SwitchByKey = false;
  FirstKeySent = !SelectFirst;
  POINT cursor{};
  GetCursorPos(&cursor);
  LastPoint = cursor;
  if (!hook_) hook_.reset(SetWindowsHookExW(WH_MSGFILTER, &HookProc, nullptr, GetCurrentThreadId()));
}

void TMenuTracking::End() {
  hook_.reset();
  RestoreItems();
  Form = nullptr;
  OpenIndex = -1;
  SelectedMenu = nullptr;
  SelectedHasSubMenu = false;
  SelectedItem = nullptr;
  SwitchPending = false;
  SwitchTarget = -1;
}

void TMenuTracking::MakeOwnerDrawn(HMENU Menu) {
  const int count = Menu ? GetMenuItemCount(Menu) : -1;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      changed_.push_back({Menu, static_cast<UINT>(i), info.wID, info.fType});
      MENUITEMINFOW set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = info.fType | MFT_OWNERDRAW;
      SetMenuItemInfoW(Menu, static_cast<UINT>(i), TRUE, &set);
    }
    if (info.hSubMenu) MakeOwnerDrawn(info.hSubMenu);
  }
}

// Each item gets its own type back unless the menu was rebuilt meanwhile (then the item at
// that place is another one, or no longer owner-drawn by us).
void TMenuTracking::RestoreItems() {
  for (auto it = changed_.rbegin(); it != changed_.rend(); ++it) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    if (!IsMenu(it->Menu) || !GetMenuItemInfoW(it->Menu, it->Position, TRUE, &info)) continue;
    if (info.wID != it->Id || !(info.fType & MFT_OWNERDRAW)) continue;
    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE;
    set.fType = it->Type;
    SetMenuItemInfoW(it->Menu, it->Position, TRUE, &set);
  }
  changed_.clear();
}

LRESULT CALLBACK TMenuTracking::HookProc(int Code, WPARAM WParam, LPARAM LParam) {
  auto* message = reinterpret_cast<MSG*>(LParam);
  if (Code < 0 || !message) return CallNextHookEx(nullptr, Code, WParam, LParam);
  return MenuTracking().Filter(Code, *message);
}

bool TMenuTracking::SelectionReadsRightToLeft() const {
  if (!SelectedItem) return false;
  vcl::TMenu* menu = SelectedItem->GetParentMenu();
  return MenuItemReadsRightToLeft(menu, Form && Form->MenuBar() ? Form->MenuBar()->Menu() : nullptr);
}

// The bar item Step places from From, round the bar, skipping items that cannot be clicked
// (invisible, or without caption).
int TMenuTracking::NextItem(int From, int Step) const {
  const TFormMenuBar* bar = Form ? Form->MenuBar() : nullptr;
  const int count = bar ? bar->Count() : 0;
  if (count == 0) return -1;
  int i = From;
  for (int n = 0; n < count; ++n) {
    i = ((i + Step) % count + count) % count;
    if (bar->Clickable(i)) return i;
  }
  return -1;
}

bool TMenuTracking::SwitchTo(int Index) {
  if (Index < 0 || Index == OpenIndex) return false;
  SwitchPending = true;
  SwitchTarget = Index;
  EndMenu();
  return true;
}

LRESULT TMenuTracking::Filter(int Code, MSG& m) {
  // Left and right mean the other way round in a menu that reads right to left.
  if (m.message == WM_KEYDOWN && SelectionReadsRightToLeft()) {
    if (m.wParam == VK_LEFT)
      m.wParam = VK_RIGHT;
    else if (m.wParam == VK_RIGHT)
      m.wParam = VK_LEFT;
  }
  const LRESULT next = CallNextHookEx(nullptr, Code, 0, reinterpret_cast<LPARAM>(&m));
  if (next != 0 || Code != MSGF_MENU || !Form) return next;
  // A menu dropped from the keyboard opens with its first item selected.
  if (!FirstKeySent) {
    FirstKeySent = true;
    PostMessageW(Form->HostWindow(), WM_KEYDOWN, VK_DOWN, 0);
  }
  TSwitch to;
  switch (m.message) {
    case WM_SYSKEYDOWN: FilterSysKeyDown(m); break;
    case WM_MOUSEMOVE: to = FilterMouseMove(m); break;
    case WM_KEYDOWN: to = FilterKeyDown(m); break;
    default: break;
  }
  if (!SwitchTo(to.Target)) return 0;
  SwitchByKey = to.ByKey;
  return 1;
}

// Alt ends the bar's tracking.
void TMenuTracking::FilterSysKeyDown(const MSG& m) {
  if (m.wParam == VK_MENU) Form->Tracking = false;
}

// The mouse moved onto another bar item.
TMenuTracking::TSwitch TMenuTracking::FilterMouseMove(const MSG& m) {
  const TFormMenuBar* bar = Form->MenuBar();
  const vcl::TPoint at(m.pt.x, m.pt.y);
  if (at == LastPoint || !bar) return {};
  LastPoint = at;
  return {bar->IndexAt(Form->ToWindowPoint(at.X, at.Y)), false};
}

// Right moves on unless the selection opens a sub-menu; Left moves back from the dropped
// menu itself; Return and Escape cancel a pending switch. Left and Escape in a sub-menu close
// it.
TMenuTracking::TSwitch TMenuTracking::FilterKeyDown(const MSG& m) {
  const TFormMenuBar* bar = Form->MenuBar();
  HMENU dropped = bar ? bar->SubMenuOf(OpenIndex) : nullptr;
  const bool deeper = SelectedMenu && SelectedMenu != dropped;
  switch (m.wParam) {
    case VK_RETURN: SwitchPending = false; return {};
    case VK_ESCAPE:
      SwitchPending = false;
      if (deeper) SelectOpenerOf(SelectedMenu, dropped);
      return {};
    case VK_RIGHT: return {SelectedHasSubMenu ? -1 : NextItem(OpenIndex, 1), true};
    case VK_LEFT:
      if (!deeper) return {NextItem(OpenIndex, -1), true};
      SelectOpenerOf(SelectedMenu, dropped);
      return {};
    default: return {};
  }
}

// Closing the sub-menu the selection is in selects the item that opened it; the menu loop need
// not report that selection, so it is taken here.
void TMenuTracking::SelectOpenerOf(HMENU Menu, HMENU Root) {
  const int count = Root ? GetMenuItemCount(Root) : -1;
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(Root, i);
    if (!sub) continue;
    if (sub != Menu) {
      SelectOpenerOf(Menu, sub);
      if (SelectedMenu != Menu) return;
      continue;
    }
    SelectedMenu = Root;
    SelectedHasSubMenu = true;
    const TFormMenuBar* bar = Form ? Form->MenuBar() : nullptr;
    vcl::TMainMenu* main = bar ? bar->Menu() : nullptr;
    SelectedItem = main ? main->FindItem(reinterpret_cast<UINT_PTR>(sub), vcl::fkHandle) : nullptr;
    return;
  }
}

void TMenuTracking::MenuSelect(WPARAM WParam, LPARAM LParam) {
  if (!Form) return;
  const UINT flags = HIWORD(WParam);
  const auto menu = reinterpret_cast<HMENU>(LParam);
  if (flags == 0xFFFF && !menu) {
    // The menu closed: tracking ends unless it closed for a switch to another item.
    if (!SwitchPending) Form->Tracking = false;
    SelectedMenu = nullptr;
    SelectedItem = nullptr;
    SelectedHasSubMenu = false;
    return;
  }
  // (A switch has already ended the loop when it was asked: a selection coming after it
  // leaves it pending.)
  SelectedMenu = menu;
  SelectedHasSubMenu = (flags & MF_POPUP) != 0;
  SelectedItem = nullptr;
  const TFormMenuBar* bar = Form->MenuBar();
  vcl::TMainMenu* main = bar ? bar->Menu() : nullptr;
  if (!main) return;
  if (SelectedHasSubMenu) {
    // The item's place in its menu: its sub-menu's handle finds it.
    if (HMENU sub = GetSubMenu(menu, LOWORD(WParam)))
      SelectedItem = main->FindItem(reinterpret_cast<UINT_PTR>(sub), vcl::fkHandle);
  } else {
    SelectedItem = main->FindItem(LOWORD(WParam), vcl::fkCommand);
  }
}

}  // namespace winskin
