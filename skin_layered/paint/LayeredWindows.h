// Layered windows: every image the engine puts on a layered window goes through
// UpdateLayeredWnd, and SetLayeredAlpha sets a whole window's constant alpha. The update
// itself is replaceable (tests watch what would reach the screen: Xvfb shows no alpha).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

// One update of a layered window: the 32-bit image (per-pixel alpha, premultiplied) and the
// constant alpha over it, at Dest on the screen or where the window stands.
struct TLayeredUpdate {
  HWND Wnd = nullptr;
  vcl::TBitmap* Bitmap = nullptr;
  std::uint8_t Alpha = 255;
  std::optional<vcl::TPoint> Dest;
};
// Answers whether the window took the image.
using TLayeredUpdateFunc = std::function<bool(const TLayeredUpdate&)>;

// Replaces the update (nil: the system's UpdateLayeredWindow again) and answers the one
// before.
TLayeredUpdateFunc SetLayeredUpdateFunc(TLayeredUpdateFunc Func);

// Puts Bmp on the window with per-pixel alpha and the constant alpha Alpha (a nil bitmap: a
// transparent one of the window's size), at Dest when given. The window gets WS_EX_LAYERED
// when it lacks it. Where the display shows no per-pixel alpha (PerPixelAlphaShown), an image
// with partly transparent pixels goes out all or nothing (AllOrNothingAlpha) instead. False
// when nothing was put (no window, no layered windows).
bool UpdateLayeredWnd(HWND Wnd, vcl::TBitmap* Bmp, std::uint8_t Alpha, const vcl::TPoint* Dest = nullptr);

// The region of what the display shows of Bmp put on a layered window where it shows no
// per-pixel alpha (PerPixelAlphaShown false): the pixels from half alpha up, as they go out all
// or nothing, less Except (whose pixels are not looked at). The caller owns it.
HRGN ShownPictureRgn(vcl::TBitmap* Bmp, const vcl::TRect& Except);

// Enable: the window becomes layered with the constant alpha (true only when it was not
// layered before). Otherwise, or without layered windows, it loses WS_VISIBLE and
// WS_EX_LAYERED (false).
bool SetLayeredAlpha(HWND Wnd, bool Enable, std::uint8_t Alpha);

}  // namespace skin_layered
