// What the container adapters (panels, tool bars, status bars, track bars) share: the
// background behind an adapted window as the painters take it, and the window's cache sized
// to the window.
#pragma once

#include <windows.h>

#include "skin_layered/core/CacheInfo.h"

namespace skin_layered {

class TqvMainWnd;

// The parent's background behind the adapter's window; false when the parent is not ready
// (the adapter's skin data is then left updating). Refreshes the adapter's geometry.
bool AdapterParentBg(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo);
// The skin data's cache made and sized to the window (refreshed geometry); nil without skin
// data.
vcl::TBitmap* AdapterCache(TqvMainWnd* Adapter);
// The section of the adapter's skin data over its whole cache in the state, the parent's
// background behind it: the cache, nil when the parent is not ready.
vcl::TBitmap* PaintAdapterSection(TqvMainWnd* Adapter, TqvCacheInfo& CacheInfo, int State = 0);
// The four border strips of the window (where the client area does not reach) from the
// cache into DC (the window DC when nil); nothing when the client area covers the window.
void CopyBorderFromCache(TqvMainWnd* Adapter, HDC DC);

}  // namespace skin_layered
