// The classic engine's units: the skin-data unit (user32 bindings, shared bitmap and list,
// system facts, the class registration that form descriptions need) and the manager unit
// (the module instance; its shutdown frees the manager).
#include "skin_classic/core/SkinStartup.h"

#include <memory>

#include "classlib/rtl/SysInfo.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_classic/core/SkinData.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

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

struct TSharedObjects {
  std::unique_ptr<vcl::TBitmap> PaintBitmap;
  std::unique_ptr<vcl::TStringList> Strings;
  bool NT = false;
  bool NotVersion6 = false;
};

struct TLookup {
  HINSTANCE Instance = nullptr;
};

TUser32& User32() {
  static TUser32 user32;
  return user32;
}

TSharedObjects& Shared() {
  static TSharedObjects shared;
  return shared;
}

TLookup& Lookup() {
  static TLookup lookup;
  return lookup;
}

template <class F>
F ProcAddress(HMODULE Module, const char* Name) {
  // Through the generic function type, the one cast to any other that GCC accepts quietly.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(Module, Name)));
}

void BindUser32() {
  TUser32& u = User32();
  u.Module = LoadLibraryW(L"user32.dll");
  if (!u.Module) return;
  u.GetScrollBarInfo = ProcAddress<TGetScrollBarInfo>(u.Module, "GetScrollBarInfo");
  u.TrackMouseEvent = ProcAddress<TTrackMouseEvent>(u.Module, "TrackMouseEvent");
  u.GetComboBoxInfo = ProcAddress<TGetComboBoxInfo>(u.Module, "GetComboBoxInfo");
  u.DisableProcessWindowsGhosting =
      ProcAddress<TDisableProcessWindowsGhostingProc>(u.Module, "DisableProcessWindowsGhosting");
}

// The addresses go with the library reference they came from.
void ReleaseUser32() {
  TUser32& u = User32();
  if (u.Module) FreeLibrary(u.Module);
  u = {};
}

void MakeSharedObjects() {
  TSharedObjects& s = Shared();
  s.PaintBitmap = std::make_unique<vcl::TBitmap>();
  SetStretchBltMode(s.PaintBitmap->Canvas()->Handle(), HALFTONE);
  SetBrushOrgEx(s.PaintBitmap->Canvas()->Handle(), 0, 0, nullptr);  // as HALFTONE asks
  s.Strings = std::make_unique<vcl::TStringList>();
  const vcl::TWin32Version& version = vcl::Win32Version();
  s.NT = version.Platform == VER_PLATFORM_WIN32_NT;
  s.NotVersion6 = version.MajorVersion != 6;
  // Form descriptions name the component by class.
  TSkinData::StaticClass();
}

void FreeSharedObjects() {
  FreeWorkBitmaps();
  TSharedObjects& s = Shared();
  s.PaintBitmap.reset();
  s.Strings.reset();
}

void RecordModuleInstance() {
  TLookup& l = Lookup();
  l.Instance = GetModuleHandleW(nullptr);
}

void ShutDownManager() {
  FreeSkinManager();
}

const vcl::TUnitRegistration kUser32Unit{vcl::TUnitGroup::ClassicSkin, 10, L"WinSkinUser32", &BindUser32,
                                         &ReleaseUser32};
const vcl::TUnitRegistration kSkinDataUnit{vcl::TUnitGroup::ClassicSkin, 20, L"WinSkinData", &MakeSharedObjects,
                                           &FreeSharedObjects};
const vcl::TUnitRegistration kSkinMenuUnit{vcl::TUnitGroup::ClassicSkin, 30, L"WinSkinMenu", &RecordModuleInstance,
                                           &ShutDownManager};

}  // namespace

bool GetScrollBarInfoProc(HWND Window, LONG ObjectId, SCROLLBARINFO& Info) {
  const TGetScrollBarInfo proc = User32().GetScrollBarInfo;
  if (!proc) return false;
  Info.cbSize = sizeof Info;
  return proc(Window, ObjectId, &Info) != FALSE;
}

bool HasGetScrollBarInfo() { return User32().GetScrollBarInfo != nullptr; }

void TrackMouseLeave(HWND Window) {
  const TTrackMouseEvent proc = User32().TrackMouseEvent;
  if (!proc) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Window;
  proc(&track);
}

bool GetComboBoxInfoProc(HWND Window, COMBOBOXINFO& Info) {
  const TGetComboBoxInfo proc = User32().GetComboBoxInfo;
  if (!proc) return false;
  Info.cbSize = sizeof Info;
  return proc(Window, &Info) != FALSE;
}

TDisableProcessWindowsGhostingProc DisableProcessWindowsGhostingProc() {
  return User32().DisableProcessWindowsGhosting;
}

vcl::TBitmap* SharedPaintBitmap() { return Shared().PaintBitmap.get(); }
vcl::TStringList* SharedStrings() { return Shared().Strings.get(); }
bool IsNTPlatform() { return Shared().NT; }
bool IsNotVersion6() { return Shared().NotVersion6; }
HINSTANCE SkinModuleInstance() {
  TLookup& l = Lookup();
  return l.Instance ? l.Instance : GetModuleHandleW(nullptr);
}

}  // namespace winskin

// Nothing refers to the unit registrations above: programs keep this object file (and with
// it the engine's start-up) by asking the linker for this symbol.
extern "C" void scrivane_skin_classic_units() {}
