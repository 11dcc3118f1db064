#include "skin_layered/forms/Dwm.h"

#include <optional>

#include "skin_layered/core/Constants.h"

namespace skin_layered {
namespace {

struct TDwmState {
  HMODULE Lib = nullptr;
  bool Looked = false;      // the entry points were looked up in Lib
  bool BlurLooked = false;  // the blur entry point is bound (at the first attribute call)
  TqvDwmBindings System;
  std::optional<TqvDwmBindings> Test;
};

TDwmState& State() {
  static TDwmState state;
  return state;
}

template <class F>
void Bind(HMODULE Lib, F& Fn, const char* Name) {
  Fn = reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(Lib, Name)));
}

// The bindings in force: a test's, else the system's (loaded on demand).
const TqvDwmBindings& Bindings() {
  TDwmState& s = State();
  if (s.Test) return *s.Test;
  LoadDwmApi();
  if (s.Lib && !s.Looked) {
    s.Looked = true;
    Bind(s.Lib, s.System.IsCompositionEnabled, "DwmIsCompositionEnabled");
    Bind(s.Lib, s.System.SetWindowAttribute, "DwmSetWindowAttribute");
    Bind(s.Lib, s.System.SetIconicThumbnail, "DwmSetIconicThumbnail");
    Bind(s.Lib, s.System.SetIconicLivePreviewBitmap, "DwmSetIconicLivePreviewBitmap");
    Bind(s.Lib, s.System.InvalidateIconicBitmaps, "DwmInvalidateIconicBitmaps");
  }
  return s.System;
}

bool Version6() { return PlatformVersion() >= 6; }

}  // namespace

bool SetDwmBindings(const TqvDwmBindings* Bindings) {
  TDwmState& s = State();
  const bool had = s.Test.has_value();
  if (Bindings)
    s.Test = *Bindings;
  else
    s.Test.reset();
  s.BlurLooked = Bindings != nullptr;  // a test's blur binding serves at once
  return had;
}

void LoadDwmApi() {
  TDwmState& s = State();
  if (!s.Lib && !s.Test) s.Lib = LoadLibraryW(L"DWMAPI.DLL");
}

bool AeroIsEnabled() {
  if (!Version6()) return false;
  const TqvDwmBindings& b = Bindings();
  BOOL enabled = FALSE;
  return b.IsCompositionEnabled && b.IsCompositionEnabled(&enabled) == S_OK && enabled;
}

HRESULT DwmSetWindowAttr(HWND Wnd, DWORD Attribute, const void* Data, DWORD Size) {
  TDwmState& s = State();
  const TqvDwmBindings& b = Bindings();
  if (!b.SetWindowAttribute) return E_NOTIMPL;
  if (!s.BlurLooked && !s.Test && s.Lib) {
    s.BlurLooked = true;
    Bind(s.Lib, s.System.EnableBlurBehindWindow, "DwmEnableBlurBehindWindow");
  }
  return b.SetWindowAttribute(Wnd, Attribute, Data, Size);
}

void DisableDwmTransitions(HWND Wnd, bool Disable) {
  const BOOL value = Disable && AeroIsEnabled() ? TRUE : FALSE;
  DwmSetWindowAttr(Wnd, kDwmTransitionsForceDisabled, &value, sizeof value);
}

void EnableBlurBehind(HWND Wnd, bool Enable, HRGN Rgn) {
  const TDwmState& s = State();
  const TqvDwmBindings& b = s.Test ? *s.Test : s.System;
  if ((s.Lib || s.Test) && s.BlurLooked && b.EnableBlurBehindWindow) {
    TqvDwmBlurBehind blur{Rgn ? 3u : 1u, Enable ? TRUE : FALSE, Rgn, FALSE};
    b.EnableBlurBehindWindow(Wnd, &blur);
  }
  if (Rgn) DeleteObject(Rgn);
}

void InvalidateIconicBitmaps(HWND Wnd) {
  if (!Version6()) return;
  if (const TqvDwmBindings& b = Bindings(); b.InvalidateIconicBitmaps) b.InvalidateIconicBitmaps(Wnd);
}

HRESULT DwmSetIconicThumbnail(HWND Wnd, HBITMAP Bitmap, DWORD Flags) {
  const TqvDwmBindings& b = Bindings();
  return b.SetIconicThumbnail ? b.SetIconicThumbnail(Wnd, Bitmap, Flags) : E_NOTIMPL;
}

HRESULT DwmSetIconicLivePreview(HWND Wnd, HBITMAP Bitmap, POINT Offset, DWORD Flags) {
  const TqvDwmBindings& b = Bindings();
  return b.SetIconicLivePreviewBitmap ? b.SetIconicLivePreviewBitmap(Wnd, Bitmap, &Offset, Flags) : E_NOTIMPL;
}

bool HasIconicThumbnail() { return Version6() && Bindings().SetIconicThumbnail; }
bool HasIconicLivePreview() { return Version6() && Bindings().SetIconicLivePreviewBitmap; }

}  // namespace skin_layered
