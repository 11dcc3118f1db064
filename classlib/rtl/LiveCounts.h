// Live counts of what the class library and the skin engines make and free through their
// owning wrappers: objects, GDI objects, device contexts, windows, window-procedure hooks,
// window subclasses, timers and system hooks. A long run that skins and unskins windows over
// and over must end with the counts it started with; under Wine the system's own counts of
// GDI and user objects (GetGuiResources) are not kept, so these are what such a check reads.
#pragma once

#include <array>
#include <cstdint>

namespace vcl {

enum class TLiveKind {
  Objects,         // TObject instances
  GdiObjects,      // fonts, brushes, pens, bitmaps, palettes, regions, icons owned by a wrapper
  DeviceContexts,  // memory DCs and window DCs held by a wrapper
  Windows,         // windows of controls and utility windows
  WindowProcHooks, // links of TWindowProcHook chains
  Subclasses,      // TWindowSubclass attachments
  Timers,          // running TTimer system timers
  SystemHooks,     // SetWindowsHookEx hooks held by a TUniqueHook
};
inline constexpr int kLiveKindCount = 8;

using TLiveCounts = std::array<int64_t, kLiveKindCount>;

// The count of one kind, and all of them.
int64_t LiveCount(TLiveKind Kind) noexcept;
TLiveCounts LiveCounts() noexcept;
const wchar_t* LiveKindName(TLiveKind Kind) noexcept;

namespace detail {
// Called by the wrappers as they take and let go of what they own.
void CountLive(TLiveKind Kind, int Delta) noexcept;
}  // namespace detail

}  // namespace vcl
