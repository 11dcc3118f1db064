// Text in the colours of a skin section's state: the font colour with the section's contour
// colours, or, disabled, the normal font colour mixed toward the section's colour. The skin
// manager's text routines pick the skin (their own or the default one) and call this.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// Draws the text at R with the flags and the canvas's font, transparently. With a valid
// section Index of Skin: disabled text once in the mix of the normal state's font colour
// and colour; enabled text with the contours and font colour of State (0 normal, any
// higher state the hot colours). Without a valid section the text is drawn plainly.
// Nothing for an empty text.
void WriteSectionText(vcl::TCanvas* Canvas, vcl::StringView Text, bool Enabled, const TsLoadedSkin* Skin,
                      int State, int Index, UINT Flags, const vcl::TRect& R);

}  // namespace skin_layered
