#include "skin_layered/paint/TextExtent.h"

#include "skin_layered/paint/TextOutput.h"

namespace skin_layered {

void GetTextExtentWithFont(HFONT Font, vcl::StringView Text, UINT Flags, vcl::TSize& Size, int Width, bool Wrap) {
  const vcl::WindowDC screen;
  const vcl::SelectGuard font(screen.get(), Font);
  if (Wrap) {
    vcl::TRect r(0, 0, Width, 0);
    DrawTextStr(screen.get(), Text, r, Flags | DT_CALCRECT);
    Size = {r.Width(), r.Height()};
    return;
  }
  Size = GetTextSize(screen.get(), Text);
}

}  // namespace skin_layered
