// The menu bar's tracking while one of its menus is open: which form and bar item, what the
// menu loop last selected, and the thread's message filter that moves between bar items with
// the keyboard (Left and Right wrap round the bar, swapped in right-to-left menus) and the
// mouse. One menu loop runs at a time, so the state is process-wide.
//
// A move to another bar item ends the menu loop (EndMenu) and leaves the switch pending; the
// bar then clicks the target (a posted non-client click), which opens its menu. The click is
// posted after the loop has ended: a menu loop may dispatch a posted click to the window while
// it still runs.
#pragma once

#include <memory>
#include <vector>

#include "classlib/controls/SystemHook.h"
#include "classlib/rtl/Types.h"

namespace vcl {
class TMenuItem;
}

namespace winskin {

class TFormFrame;

class TMenuTracking {
 public:
  TMenuTracking();
  ~TMenuTracking();
  TMenuTracking(const TMenuTracking&) = delete;
  TMenuTracking& operator=(const TMenuTracking&) = delete;

  TFormFrame* Form = nullptr;  // the form whose bar is tracking
  int OpenIndex = -1;            // the open bar item
  // The last selection of the menu loop (WM_MENUSELECT): the menu holding it (nil: nothing
  // selected), whether it opens a sub-menu, and the TMainMenu's item for it.
  HMENU SelectedMenu = nullptr;
  bool SelectedHasSubMenu = false;
  vcl::TMenuItem* SelectedItem = nullptr;
  vcl::TPoint LastPoint;
  bool SwitchPending = false;
  int SwitchTarget = -1;  // the bar item to open once the loop has ended
  bool SwitchByKey = false;  // the switch came from Left or Right, not from the mouse
  bool FirstKeySent = false;

  // Tracking starts for an item of Form's bar: the state is set and the filter installed
  // (once); End removes it, puts back the items it made owner-drawn and resets the state.
  // With SelectFirst (a menu opened from the keyboard) the menu's first item is selected as
  // it opens; a menu opened with the mouse selects nothing until the mouse does.
  void Begin(TFormFrame* AForm, int Index, bool SelectFirst = true);
  void End();
  bool Tracking() const { return Form != nullptr; }
  bool HookInstalled() const { return static_cast<bool>(hook_); }

  // Makes every item of Menu owner-drawn, sub-menus included, for the menu loop (End gives the
  // items their own type back).
  void MakeOwnerDrawn(HMENU Menu);

  // The filter's work on one message the menu loop is about to handle; non-zero keeps the
  // message from the menu. The hook procedure calls it; tests feed it crafted messages.
  LRESULT Filter(int Code, MSG& Message);
  // WM_MENUSELECT of the menu loop (sent to the bar's window, so not seen by the filter).
  void MenuSelect(WPARAM WParam, LPARAM LParam);

 private:
  struct ChangedItem {
    HMENU Menu;
    UINT Position;
    UINT Id;
    UINT Type;  // as it was
  };

  // A move the filter asks for: the bar item to open (-1: none), and whether a key asked.
  struct TSwitch {
    int Target = -1;
    bool ByKey = false;
  };

  static LRESULT CALLBACK HookProc(int Code, WPARAM WParam, LPARAM LParam);
  void FilterSysKeyDown(const MSG& Message);
  TSwitch FilterMouseMove(const MSG& Message);
  TSwitch FilterKeyDown(const MSG& Message);
  bool SelectionReadsRightToLeft() const;
  int NextItem(int From, int Step) const;
  // Ends the menu loop for a switch to bar item Index (nothing for the open item).
  bool SwitchTo(int Index);
  // The selection moves to the item of the menu tree under Root that opens Menu (none found:
  // it stays).
  void SelectOpenerOf(HMENU Menu, HMENU Root);
  void RestoreItems();

  vcl::TUniqueHook hook_;
  std::vector<ChangedItem> changed_;
};

TMenuTracking& MenuTracking();

}  // namespace winskin
