// The window adapters' unit state: the flags new adapters start from, the system entries
// bound at start-up (user32's GetScrollBarInfo, comctl32's flat scroll bars) and the objects
// the unit owns until the program ends. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/rtl/Object.h"

namespace skin_layered {

// While set, new adapters keep their window's visual style and start as adapters of a system
// dialog's child window. The dialog hook and the combo-box adapter set it around the
// creation of one child's adapter (TqvDialogChildScope).
bool DialogChildFlag();
void SetDialogChildFlag(bool Value);

class TqvDialogChildScope {
 public:
  explicit TqvDialogChildScope(bool Value) : before_(DialogChildFlag()) { SetDialogChildFlag(Value); }
  ~TqvDialogChildScope() { SetDialogChildFlag(before_); }
  TqvDialogChildScope(const TqvDialogChildScope&) = delete;
  TqvDialogChildScope& operator=(const TqvDialogChildScope&) = delete;

 private:
  bool before_;
};

// While set, every new adapter keeps its control's own font.
bool StandardFontFlag();
void SetStandardFontFlag(bool Value);

using TGetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TInitializeFlatSBProc = BOOL(WINAPI*)(HWND);
using TUninitializeFlatSBProc = HRESULT(WINAPI*)(HWND);
// Nil before start-up, after shut-down or when the system lacks them.
TGetScrollBarInfoProc GetScrollBarInfoProc();
TInitializeFlatSBProc InitializeFlatSBProc();
TUninitializeFlatSBProc UninitializeFlatSBProc();

// The unit owns Object from now on and frees it at shut-down.
void AddSharedObject(vcl::TObject* Object);

// The unit's start-up and shut-down steps (run by the unit registry).
void BindAdapterUnit();
void ReleaseAdapterUnit();

}  // namespace skin_layered
