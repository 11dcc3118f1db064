#include "skin_layered/paint/LayeredWindows.h"

#include <utility>
#include <vector>

#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/paint/BackgroundRegions.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"

namespace skin_layered {
namespace {

constexpr COLORREF kNoKey = 0x1FFFFFFF;

bool SystemUpdate(const TLayeredUpdate& Update) {
  const TUpdateLayeredWindowProc update = UpdateLayeredWindowProc();
  if (!update || !Update.Bitmap || Update.Bitmap->Empty()) return false;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Update.Alpha, AC_SRC_ALPHA};
  SIZE size{Update.Bitmap->Width(), Update.Bitmap->Height()};
  POINT source{0, 0};
  POINT dest{};
  if (Update.Dest) dest = POINT{Update.Dest->X, Update.Dest->Y};
  vcl::WindowDC screen(nullptr);
  return update(Update.Wnd, screen.get(), Update.Dest ? &dest : nullptr, &size, Update.Bitmap->Canvas()->Handle(),
                &source, kNoKey, &blend, ULW_ALPHA) != FALSE;
}

TLayeredUpdateFunc& UpdateFunc() {
  static TLayeredUpdateFunc func;
  return func;
}

// The all-or-nothing copy of the last image that needed one, kept so that only a new size
// allocates (the border window gets one at every step of a resize).
struct TKeptCopy {
  std::unique_ptr<vcl::TBitmap> Bmp;
  bool InUse = false;
};

TKeptCopy& KeptCopy() {
  static TKeptCopy kept;
  return kept;
}

void FreeKeptCopy() {
  if (!KeptCopy().InUse) KeptCopy().Bmp.reset();
}

// Freed at the painting units' shutdown, before the layered-window bindings go (they rank
// below this unit, and units shut down in reverse order).
const vcl::TUnitRegistration kKeptCopyUnit{vcl::TUnitGroup::LayeredPaint, 65, L"LayeredUpdateCopy", nullptr,
                                           &FreeKeptCopy};

// Where the display does not show per-pixel alpha, a partly transparent pixel shows opaque in
// its premultiplied, darkened colour (a soft shadow becomes a black band): such an image goes
// out all or nothing. Nil when Bmp goes out as it is.
vcl::TBitmap* AllOrNothingCopy(vcl::TBitmap* Bmp, std::unique_ptr<vcl::TBitmap>& Nested) {
  if (PerPixelAlphaShown()) return nullptr;
  TPixelView source;
  if (!InitPixelView(Bmp, source) || !HasPartialAlpha(source)) return nullptr;
  TKeptCopy& kept = KeptCopy();
  // An update from within another one (a message the first sends) does not touch its copy.
  std::unique_ptr<vcl::TBitmap>& copy = kept.InUse ? Nested : kept.Bmp;
  if (!copy || copy->Width() != source.Width || copy->Height() != source.Height)
    copy = CreateBmp32(source.Width, source.Height);
  TPixelView target;
  if (!InitPixelView(copy.get(), target)) return nullptr;
  AllOrNothingAlpha(source, target);
  return copy.get();
}

void AddExStyle(HWND Wnd, LONG_PTR Style) {
  const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  if ((ex & Style) != Style) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex | Style);
}

}  // namespace

TLayeredUpdateFunc SetLayeredUpdateFunc(TLayeredUpdateFunc Func) { return std::exchange(UpdateFunc(), std::move(Func)); }

bool UpdateLayeredWnd(HWND Wnd, vcl::TBitmap* Bmp, std::uint8_t Alpha, const vcl::TPoint* Dest) {
  if (!Wnd || !IsWindow(Wnd)) return false;
  AddExStyle(Wnd, WS_EX_LAYERED);
  std::unique_ptr<vcl::TBitmap> empty;
  if (!Bmp) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    empty = CreateBmp32(r.right - r.left, r.bottom - r.top);
    Bmp = empty.get();
  }
  TKeptCopy& kept = KeptCopy();
  std::unique_ptr<vcl::TBitmap> nested;
  if (vcl::TBitmap* shown = AllOrNothingCopy(Bmp, nested)) Bmp = shown;
  const bool holdsKept = Bmp == kept.Bmp.get() && !kept.InUse;
  if (holdsKept) kept.InUse = true;
  const vcl::TScopeExit release([&kept, holdsKept] {
    if (holdsKept) kept.InUse = false;
  });
  TLayeredUpdate update;
  update.Wnd = Wnd;
  update.Bitmap = Bmp;
  update.Alpha = Alpha;
  if (Dest) update.Dest = *Dest;
  const TLayeredUpdateFunc& func = UpdateFunc();
  return func ? func(update) : SystemUpdate(update);
}

HRGN ShownPictureRgn(vcl::TBitmap* Bmp, const vcl::TRect& Except) {
  const TPixelSource source(Bmp);
  if (source.Empty()) return CreateRectRgn(0, 0, 0, 0);
  const TPixelView& view = source.View();
  const int w = view.Width, h = view.Height;
  const vcl::TRect e = Except.IsEmpty() ? vcl::TRect() : Except;
  std::vector<TPixelRect> runs;
  if (e.IsEmpty()) {
    AppendShownRuns(view, {0, 0, w, h}, runs);
  } else {
    // Row by row, left and right of the part left out, so that the runs stay in order.
    for (int y = 0; y < h; ++y) {
      if (y < e.Top || y >= e.Bottom) {
        AppendShownRuns(view, {0, y, w, y + 1}, runs);
        continue;
      }
      AppendShownRuns(view, {0, y, e.Left, y + 1}, runs);
      AppendShownRuns(view, {e.Right, y, w, y + 1}, runs);
    }
  }
  return RegionFromRuns(runs, w, h);
}

bool SetLayeredAlpha(HWND Wnd, bool Enable, std::uint8_t Alpha) {
  if (!Wnd) return false;
  const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  const TSetLayeredWindowAttributesProc attributes = SetLayeredWindowAttributesProc();
  if (Enable && attributes && LayeredApiAvailable()) {
    const bool added = (ex & WS_EX_LAYERED) == 0;
    if (added) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    attributes(Wnd, kNoKey, Alpha, LWA_ALPHA);
    return added;
  }
  SetWindowLongPtrW(Wnd, GWL_STYLE, GetWindowLongPtrW(Wnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  return false;
}

}  // namespace skin_layered
