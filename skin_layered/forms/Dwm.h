// The desktop window manager, bound late: "DWMAPI.DLL" is loaded on the first call (tried again
// while it fails, never freed) and each entry point looked up once. Without the library or an
// entry point every call does nothing and reports failure, so callers fall back to the plain
// window (as on systems before version 6, and under Wine without composition).
//
// Tests replace the bindings with SetDwmBindings so that composition, refusals and missing
// entry points can be had on any system.
#pragma once

#include <windows.h>

namespace skin_layered {

inline constexpr DWORD kDwmTransitionsForceDisabled = 3;  // DWMWA_TRANSITIONS_FORCEDISABLED
inline constexpr DWORD kDwmDisplayFrame = 1;              // DWM_SIT_DISPLAYFRAME

struct TqvDwmBlurBehind {
  DWORD Flags;
  BOOL Enable;
  HRGN RgnBlur;
  BOOL TransitionOnMaximized;
};

// The entry points; a nil one is missing.
struct TqvDwmBindings {
  HRESULT(WINAPI* IsCompositionEnabled)(BOOL* Enabled) = nullptr;
  HRESULT(WINAPI* SetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
  HRESULT(WINAPI* EnableBlurBehindWindow)(HWND, const TqvDwmBlurBehind*) = nullptr;
  HRESULT(WINAPI* SetIconicThumbnail)(HWND, HBITMAP, DWORD) = nullptr;
  HRESULT(WINAPI* SetIconicLivePreviewBitmap)(HWND, HBITMAP, POINT*, DWORD) = nullptr;
  HRESULT(WINAPI* InvalidateIconicBitmaps)(HWND) = nullptr;
};

// Puts Bindings (copied) in place of the library's until called with nil; answers whether
// bindings of a test were in place before.
bool SetDwmBindings(const TqvDwmBindings* Bindings);

// Loads the library when it is not loaded yet.
void LoadDwmApi();
// Composition is on: version 6 or later, and the system says so (asked at every call).
bool AeroIsEnabled();
// DwmSetWindowAttribute; E_NOTIMPL without it.
HRESULT DwmSetWindowAttr(HWND Wnd, DWORD Attribute, const void* Data, DWORD Size);
// The window's transitions switched off (Disable while composition is on) or on.
void DisableDwmTransitions(HWND Wnd, bool Disable);
// Blur behind the window (within Rgn when given); the region is deleted in every case.
// Nothing before the first DwmSetWindowAttr, which binds the blur entry point.
void EnableBlurBehind(HWND Wnd, bool Enable, HRGN Rgn);
// The window's task-bar pictures are asked for again (version 6 or later).
void InvalidateIconicBitmaps(HWND Wnd);
// DwmSetIconicThumbnail / DwmSetIconicLivePreviewBitmap; E_NOTIMPL without them.
HRESULT DwmSetIconicThumbnail(HWND Wnd, HBITMAP Bitmap, DWORD Flags);
HRESULT DwmSetIconicLivePreview(HWND Wnd, HBITMAP Bitmap, POINT Offset, DWORD Flags);
// The thumbnail and live-preview entry points exist (version 6 or later, library loaded).
bool HasIconicThumbnail();
bool HasIconicLivePreview();

}  // namespace skin_layered
