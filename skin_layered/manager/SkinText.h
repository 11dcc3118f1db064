// Text in the colours of a skin section through a skin manager, and the text of a skinned
// control: its section's (or, for a see-through common section, its parent's) colours in the
// normal or hot state, with contours, a glow into the control's cache and the control's own
// colour changes.
#pragma once

#include <windows.h>

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

class TsSkinManager;
class TsCommonData;

// The text at R in the colours of section Index of Manager's skin (nil: the default
// manager's): disabled text once in the mix of the normal state's font colour and colour,
// enabled text with State's contours and font colour. Without a valid section the text is
// drawn plainly. Nothing for an empty text.
void WriteSkinText(vcl::TCanvas* Canvas, vcl::StringView Text, bool Enabled, TsSkinManager* Manager, int State,
                   int Index, UINT Flags, const vcl::TRect& R);
// The same for a zero-terminated text (nil: nothing).
void WriteSkinTextBuf(vcl::TCanvas* Canvas, const wchar_t* Text, bool Enabled, TsSkinManager* Manager, int State,
                      int Index, UINT Flags, const vcl::TRect& R);

// A section colour after the control's colour tone, hue offset and saturation.
vcl::TColor TextColorOfData(vcl::TColor Color, const TsCommonData* Data);

// A control's text at R (clipped to it) in its section's colours of the normal or, with Hot,
// the hot state: the glow (when the state has one) into the control's cache, then the
// contours (with Contours) and the text, every colour through TextColorOfData. Hot text of the
// "WEBBUTTON" section is underlined. A control that is not skinned, or keeps its own font,
// is drawn with the canvas's font as it is. Nothing for an empty text.
void WriteTextEx(vcl::TCanvas* Canvas, vcl::StringView Text, bool Contours, bool Hot, TsCommonData* Data, UINT Flags,
                 const vcl::TRect& R);

}  // namespace skin_layered
