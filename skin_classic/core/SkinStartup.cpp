// The classic engine's process-wide system facts and shared objects (SkinStartup.h); the
// units that make and free them are in SkinUnits.cpp.
#include "skin_classic/core/SkinStartup.h"

#include "classlib/rtl/SysInfo.h"

namespace winskin {
namespace {

template <class F>
F ProcAddress(HMODULE Module, const char* Name) {
  // Through the generic function type, the one cast to any other that GCC accepts quietly.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(Module, Name)));
}

}  // namespace

TSkinSystem& SkinSystem() {
  static TSkinSystem system;
  return system;
}

void TSkinSystem::BindUser32() {
  TUser32& u = user32_;
  u.Module = LoadLibraryW(L"user32.dll");
  if (!u.Module) return;
  u.GetScrollBarInfo = ProcAddress<TGetScrollBarInfo>(u.Module, "GetScrollBarInfo");
  u.TrackMouseEvent = ProcAddress<TTrackMouseEvent>(u.Module, "TrackMouseEvent");
  u.GetComboBoxInfo = ProcAddress<TGetComboBoxInfo>(u.Module, "GetComboBoxInfo");
  u.DisableProcessWindowsGhosting =
      ProcAddress<TDisableProcessWindowsGhostingProc>(u.Module, "DisableProcessWindowsGhosting");
}

// The addresses go with the library reference they came from.
void TSkinSystem::ReleaseUser32() {
  if (user32_.Module) FreeLibrary(user32_.Module);
  user32_ = {};
}

void TSkinSystem::MakeSharedObjects() {
  paint_bitmap_ = std::make_unique<vcl::TBitmap>();
  SetStretchBltMode(paint_bitmap_->Canvas()->Handle(), HALFTONE);
  SetBrushOrgEx(paint_bitmap_->Canvas()->Handle(), 0, 0, nullptr);  // as HALFTONE asks
  strings_ = std::make_unique<vcl::TStringList>();
  const vcl::TWin32Version& version = vcl::Win32Version();
  nt_ = version.Platform == VER_PLATFORM_WIN32_NT;
  not_version6_ = version.MajorVersion != 6;
}

void TSkinSystem::FreeSharedObjects() {
  paint_bitmap_.reset();
  strings_.reset();
}

void TSkinSystem::RecordModuleInstance() { instance_ = GetModuleHandleW(nullptr); }

HINSTANCE TSkinSystem::ModuleInstance() const { return instance_ ? instance_ : GetModuleHandleW(nullptr); }

bool GetScrollBarInfoProc(HWND Window, LONG ObjectId, SCROLLBARINFO& Info) {
  const TSkinSystem::TGetScrollBarInfo proc = SkinSystem().User32().GetScrollBarInfo;
  if (!proc) return false;
  Info.cbSize = sizeof Info;
  return proc(Window, ObjectId, &Info) != FALSE;
}

bool HasGetScrollBarInfo() { return SkinSystem().User32().GetScrollBarInfo != nullptr; }

void TrackMouseLeave(HWND Window) {
  const TSkinSystem::TTrackMouseEvent proc = SkinSystem().User32().TrackMouseEvent;
  if (!proc) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Window;
  proc(&track);
}

bool GetComboBoxInfoProc(HWND Window, COMBOBOXINFO& Info) {
  const TSkinSystem::TGetComboBoxInfo proc = SkinSystem().User32().GetComboBoxInfo;
  if (!proc) return false;
  Info.cbSize = sizeof Info;
  return proc(Window, &Info) != FALSE;
}

TDisableProcessWindowsGhostingProc DisableProcessWindowsGhostingProc() {
  return SkinSystem().User32().DisableProcessWindowsGhosting;
}

vcl::TBitmap* SharedPaintBitmap() { return SkinSystem().PaintBitmap(); }
vcl::TStringList* SharedStrings() { return SkinSystem().Strings(); }
bool IsNTPlatform() { return SkinSystem().NT(); }
bool IsNotVersion6() { return SkinSystem().NotVersion6(); }
HINSTANCE SkinModuleInstance() { return SkinSystem().ModuleInstance(); }

}  // namespace winskin
