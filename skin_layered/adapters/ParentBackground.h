// What the container adapters (panels, scroll boxes, static texts, tool bars, status bars,
// track bars) share: the background behind an adapted window as the painters take it, the
// window's cache sized to the window, and the client area of a control whose children sit on
// the cache.
#pragma once

#include <windows.h>

#include <functional>

#include "classlib/controls/Messages.h"
#include "skin_layered/core/CacheInfo.h"

namespace vcl {
class TWinControl;
}

namespace skin_layered {

class TqvMainWnd;

// The parent's background behind the adapter's window; false when the parent is not ready
// (the adapter's skin data is then left updating). Refreshes the adapter's geometry.
bool AdapterParentBg(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo);
// The same, a parent without its picture yet (a page wrapped after its children) asked to paint
// first, which makes it; false when it still has none.
bool ReadyParentBg(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo);
// The skin data's cache made and sized to the window (refreshed geometry); nil without skin
// data.
vcl::TBitmap* AdapterCache(TqvMainWnd* Adapter);
// The section of the adapter's skin data over its whole cache in the state, the parent's
// background behind it: the cache, nil when the parent is not ready.
vcl::TBitmap* PaintAdapterSection(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo, int State = 0);
// The four border strips of the window (where the client area does not reach) from the
// cache into DC (the window DC when nil); nothing when the client area covers the window.
void CopyBorderFromCache(TqvMainWnd* Adapter, HDC DC);
// The width of the window's frame on each side: half the difference of the window's and the
// client area's width.
int SideFrameWidth(HWND Wnd);
// The four strips of width B round the window from the cache into DC (the window DC when
// nil); nothing for no width or an empty cache.
void CopyFrameStrips(TqvMainWnd* Adapter, HDC DC, int B);
// The client area of a control hosting children, painted into DC (the client area's own DC
// when nil): the adapter's cache, made again by Prepare when its background changed, when it
// is missing or of another size, or when the last paint covered only part of a control whose
// background depends on its parent; its part Client (window coordinates) copied to (0, 0)
// with the host's graphic and opaque children left out, those children painted over it and
// the windowed ones told to repaint. Without a host only the cache is copied. Nothing while
// the host is being destroyed.
void PaintHostClient(TqvMainWnd* Adapter, vcl::TWinControl* Host, HDC DC, const vcl::TRect& Client,
                     const std::function<void()>& Prepare);
// scmRepaint of a host of children: a host left updating is redrawn at once, then the
// windowed children are told to repaint.
void RepaintHost(TqvMainWnd* Adapter, vcl::TWinControl* Host);
// The messages the hosts of children (panels, scroll boxes, static texts) answer alike: WM_PAINT
// through erasing, WM_ERASEBKGND by PaintClient, WM_UPDATEUISTATE, a new text repainted
// whole, the background marked stale when the text changes or a see-through host moves,
// new children announced to the form and, when the host shows, its children given the skin
// again. Base hands a message to the adapter's base. True when the message was answered.
bool HostMessage(TqvMainWnd* Adapter, vcl::TMessage& Message, const std::function<void(vcl::TMessage&)>& Base,
                 const std::function<void(HDC)>& PaintClient);

}  // namespace skin_layered
