#include "skin_layered/adapters/AdapterMap.h"

#include <mutex>

namespace skin_layered {

void TqvAdapterMap::Set(HWND Wnd, TqvMainWnd* Adapter) {
  if (!Wnd || !Adapter) return;
  const std::unique_lock hold(lock_);
  map_[Wnd] = Adapter;
}

bool TqvAdapterMap::Remove(HWND Wnd, const TqvMainWnd* Adapter) {
  const std::unique_lock hold(lock_);
  const auto it = map_.find(Wnd);
  if (it == map_.end() || it->second != Adapter) return false;
  map_.erase(it);
  return true;
}

TqvMainWnd* TqvAdapterMap::Find(HWND Wnd) {
  if (!Wnd) return nullptr;
  TqvMainWnd* adapter = nullptr;
  {
    const std::shared_lock hold(lock_);
    const auto it = map_.find(Wnd);
    if (it != map_.end()) adapter = it->second;
  }
  // Asking about a window of this process costs no round trip; only a window destroyed
  // behind its adapter's back (its handle no longer known) goes to the server, once.
  if (adapter && !IsWindow(Wnd)) {
    Remove(Wnd, adapter);
    return nullptr;
  }
  return adapter;
}

TqvAdapterMap& AdapterMap() {
  static auto* map = new TqvAdapterMap;
  return *map;
}

}  // namespace skin_layered
