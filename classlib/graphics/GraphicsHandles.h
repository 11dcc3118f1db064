// Owning wrappers for GDI handles: every font, brush, pen, bitmap, palette, region, icon
// and device context the graphics classes make is released exactly once.
#pragma once

#include <windows.h>

#include <utility>

#include "classlib/rtl/LiveCounts.h"

namespace vcl {

// A GDI object released with DeleteObject.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {
    if (h_) detail::CountLive(TLiveKind::GdiObjects, 1);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~GdiObject() { reset(); }

  H get() const { return h_; }
  H release() {
    if (h_) detail::CountLive(TLiveKind::GdiObjects, -1);
    return std::exchange(h_, nullptr);
  }
  void reset(H h = nullptr) {
    if (h_ == h) return;
    if (h_) {
      DeleteObject(h_);
      detail::CountLive(TLiveKind::GdiObjects, -1);
    }
    h_ = h;
    if (h_) detail::CountLive(TLiveKind::GdiObjects, 1);
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

using UniqueFont = GdiObject<HFONT>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniquePen = GdiObject<HPEN>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniquePalette = GdiObject<HPALETTE>;
using UniqueRegion = GdiObject<HRGN>;

// An icon or cursor released with DestroyIcon.
class UniqueIcon {
 public:
  UniqueIcon() = default;
  explicit UniqueIcon(HICON h) : h_(h) {
    if (h_) detail::CountLive(TLiveKind::GdiObjects, 1);
  }
  UniqueIcon(const UniqueIcon&) = delete;
  UniqueIcon& operator=(const UniqueIcon&) = delete;
  UniqueIcon(UniqueIcon&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueIcon& operator=(UniqueIcon&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueIcon() { reset(); }

  HICON get() const { return h_; }
  HICON release() {
    if (h_) detail::CountLive(TLiveKind::GdiObjects, -1);
    return std::exchange(h_, nullptr);
  }
  void reset(HICON h = nullptr) {
    if (h_ == h) return;
    if (h_) {
      DestroyIcon(h_);
      detail::CountLive(TLiveKind::GdiObjects, -1);
    }
    h_ = h;
    if (h_) detail::CountLive(TLiveKind::GdiObjects, 1);
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HICON h_ = nullptr;
};

// A memory device context (CreateCompatibleDC) released with DeleteDC.
class UniqueDC {
 public:
  UniqueDC() = default;
  explicit UniqueDC(HDC h) : h_(h) {
    if (h_) detail::CountLive(TLiveKind::DeviceContexts, 1);
  }
  UniqueDC(const UniqueDC&) = delete;
  UniqueDC& operator=(const UniqueDC&) = delete;
  UniqueDC(UniqueDC&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueDC& operator=(UniqueDC&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueDC() { reset(); }

  HDC get() const { return h_; }
  HDC release() {
    if (h_) detail::CountLive(TLiveKind::DeviceContexts, -1);
    return std::exchange(h_, nullptr);
  }
  void reset(HDC h = nullptr) {
    if (h_ == h) return;
    if (h_) {
      DeleteDC(h_);
      detail::CountLive(TLiveKind::DeviceContexts, -1);
    }
    h_ = h;
    if (h_) detail::CountLive(TLiveKind::DeviceContexts, 1);
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HDC h_ = nullptr;
};

// A window's (or the screen's, for a null window) device context, released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd = nullptr) : wnd_(wnd), dc_(GetDC(wnd)) {
    if (dc_) detail::CountLive(TLiveKind::DeviceContexts, 1);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (!dc_) return;
    ReleaseDC(wnd_, dc_);
    detail::CountLive(TLiveKind::DeviceContexts, -1);
  }
  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// Where text is measured: a memory device context compatible with the screen, one per
// thread for its life. It maps fonts as the screen does, and unlike the screen's own context
// costs no round trip to the window system on each use (under Wine GetDC and ReleaseDC each
// ask the server), which matters when a form measures every label and edit as it loads.
inline HDC MeasureDC() {
  thread_local const UniqueDC dc(CreateCompatibleDC(nullptr));
  return dc.get();
}

// Selects an object into a DC for a scope and selects the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  // False when the object could not be selected (a bitmap selected elsewhere).
  bool ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A DC's state saved for a scope (clip region, origins, selected objects, colours, modes)
// and restored at its end, whatever path leaves it.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(dc ? SaveDC(dc) : 0) {}
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
  ~SavedDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// A memory DC with a bitmap selected for a scope: the usual source or target of a blit.
class MemoryDC {
 public:
  explicit MemoryDC(HBITMAP bmp = nullptr) : dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bmp) {}
  HDC get() const { return dc_.get(); }
  bool ok() const { return dc_ && select_.ok(); }

 private:
  UniqueDC dc_;
  SelectGuard select_;
};

}  // namespace vcl
