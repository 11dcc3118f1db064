#include "skin_layered/adapters/AdapterMap.h"

namespace skin_layered {

void TqvAdapterMap::Set(HWND Wnd, TqvMainWnd* Adapter) {
  if (!Wnd || !Adapter) return;
  AcquireSRWLockExclusive(&lock_);
  map_[Wnd] = Adapter;
  ReleaseSRWLockExclusive(&lock_);
}

bool TqvAdapterMap::Remove(HWND Wnd, const TqvMainWnd* Adapter) {
  bool removed = false;
  AcquireSRWLockExclusive(&lock_);
  if (const auto it = map_.find(Wnd); it != map_.end() && it->second == Adapter) {
    map_.erase(it);
    removed = true;
  }
  ReleaseSRWLockExclusive(&lock_);
  return removed;
}

TqvMainWnd* TqvAdapterMap::Find(HWND Wnd) {
  if (!Wnd) return nullptr;
  AcquireSRWLockShared(&lock_);
  const auto it = map_.find(Wnd);
  TqvMainWnd* adapter = it == map_.end() ? nullptr : it->second;
  ReleaseSRWLockShared(&lock_);
  // Asking about a window of this process costs no round trip; only a window destroyed
  // behind its adapter's back (its handle no longer known) goes to the server, once.
  if (adapter && !IsWindow(Wnd)) {
    Remove(Wnd, adapter);
    return nullptr;
  }
  return adapter;
}

TqvAdapterMap& AdapterMap() {
  static TqvAdapterMap map;
  return map;
}

}  // namespace skin_layered
