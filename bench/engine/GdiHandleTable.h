// The process's GDI objects as the system holds them, read from the handle table the system
// maps into every process (the process block's GdiSharedHandleTable). Under Wine the system's
// own counts (GetGuiResources) answer 0 and the class library's live counts see only what its
// wrappers hold; this sees every DC and GDI object, whoever made it.
#pragma once

#include <cstdint>
#include <optional>

namespace bench {

struct GdiHandleCounts {
  int64_t dcs = 0;      // memory, window and information DCs
  int64_t objects = 0;  // everything else: bitmaps, brushes, pens, fonts, regions, palettes
};

// Nothing where the process has no readable table.
std::optional<GdiHandleCounts> CountGdiHandles();

}  // namespace bench
