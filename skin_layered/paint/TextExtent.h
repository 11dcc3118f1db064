// The size of a text on the screen in a given font.
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// With Wrap, the rectangle DrawText computes for the text wrapped to Width (Flags plus
// DT_CALCRECT); otherwise the text's extent on one line, (0, 0) when it cannot be measured.
void GetTextExtentWithFont(HFONT Font, vcl::StringView Text, UINT Flags, vcl::TSize& Size, int Width, bool Wrap);

}  // namespace skin_layered
