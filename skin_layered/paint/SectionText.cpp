#include "skin_layered/paint/SectionText.h"

#include "skin_layered/paint/TextEffects.h"
#include "skin_layered/paint/TextOutput.h"

namespace skin_layered {

void WriteSectionText(vcl::TCanvas* Canvas, vcl::StringView Text, bool Enabled, const TsLoadedSkin* Skin,
                      int State, int Index, UINT Flags, const vcl::TRect& R) {
  if (!Canvas || Text.empty()) return;
  if (!Skin || !Skin->IsValidSkinIndex(Index)) {
    HDC dc = Canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    vcl::TRect r = R;
    DrawTextStr(dc, Text, r, Flags);
    return;
  }
  const TsProps& props = Skin->Sections[static_cast<std::size_t>(Index)].Props;
  if (!Enabled) {
    WriteContourText(Canvas, Text, {DisabledTextColor(props[0].FontColor, props[0].Color)}, Flags, R);
    return;
  }
  // A section keeps two states; callers count more (pressed, focused), all drawn as hot.
  const TsGenState& s = props[State > 0 ? 1 : 0];
  WriteContourText(Canvas, Text, {s.FontColor, s.TCLeft, s.TCTop, s.TCRight, s.TCBottom}, Flags, R);
}

}  // namespace skin_layered
