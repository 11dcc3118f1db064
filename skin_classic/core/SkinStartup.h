// What the classic engine binds and makes at its unit start-up: user32 entry points looked
// up at run time (each may be missing), one shared bitmap with halftone stretching and one
// shared string list, facts about the system and the module instance. (The control-lookup
// message and atom are the class library's: vcl::ControlLookupMessage, vcl::ControlAtom.) The
// engine's units (SkinUnits.cpp) start after the layered engine's and stop in reverse order;
// the last one frees the skin manager.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/graphics/Graphics.h"
#include "classlib/rtl/StringList.h"

namespace winskin {

using TDisableProcessWindowsGhostingProc = void(WINAPI*)();

// What the units make and free, in one object: the user32 entry points, the shared objects,
// the system facts and the module instance.
class TSkinSystem {
 public:
  using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
  using TTrackMouseEvent = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
  using TGetComboBoxInfo = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
  struct TUser32 {
    HMODULE Module = nullptr;
    TGetScrollBarInfo GetScrollBarInfo = nullptr;
    TTrackMouseEvent TrackMouseEvent = nullptr;
    TGetComboBoxInfo GetComboBoxInfo = nullptr;
    TDisableProcessWindowsGhostingProc DisableProcessWindowsGhosting = nullptr;
  };

  void BindUser32();
  void ReleaseUser32();
  void MakeSharedObjects();
  void FreeSharedObjects();
  void RecordModuleInstance();

  const TUser32& User32() const { return user32_; }
  vcl::TBitmap* PaintBitmap() const { return paint_bitmap_.get(); }
  vcl::TStringList* Strings() const { return strings_.get(); }
  bool NT() const { return nt_; }
  bool NotVersion6() const { return not_version6_; }
  // As recorded at start-up, else the program's.
  HINSTANCE ModuleInstance() const;

 private:
  TUser32 user32_;
  std::unique_ptr<vcl::TBitmap> paint_bitmap_;
  std::unique_ptr<vcl::TStringList> strings_;
  bool nt_ = false;
  bool not_version6_ = false;
  HINSTANCE instance_ = nullptr;
};

// The engine's one system object.
TSkinSystem& SkinSystem();

// GetScrollBarInfo when user32 has it; false otherwise.
bool GetScrollBarInfoProc(HWND Window, LONG ObjectId, SCROLLBARINFO& Info);
bool HasGetScrollBarInfo();
// Asks for WM_MOUSELEAVE for the window (TrackMouseEvent with TME_LEAVE), when available.
void TrackMouseLeave(HWND Window);
// GetComboBoxInfo when user32 has it; false otherwise.
bool GetComboBoxInfoProc(HWND Window, COMBOBOXINFO& Info);
TDisableProcessWindowsGhostingProc DisableProcessWindowsGhostingProc();

// The shared paint bitmap (its canvas stretches with halftone) and string list; nil before
// start-up and after shutdown.
vcl::TBitmap* SharedPaintBitmap();
vcl::TStringList* SharedStrings();

// An NT-family system / a system whose major version is other than 6.
bool IsNTPlatform();
bool IsNotVersion6();

// The program's module instance, as copied at start-up.
HINSTANCE SkinModuleInstance();

}  // namespace winskin
