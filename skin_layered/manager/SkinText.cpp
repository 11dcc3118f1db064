#include "skin_layered/manager/SkinText.h"

#include <cwchar>

#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/SectionText.h"
#include "skin_layered/paint/TextEffects.h"
#include "skin_layered/paint/TextOutput.h"

namespace skin_layered {
namespace {

// The section whose colours a control's text takes: its own, except that a see-through
// common section (a tool button, a check box ... on some other control) shows the text in
// the colours of the control behind it. A control whose section the skin lacks shows what
// lies behind it, so its text takes the colours of the nearest control behind it that has a
// section: legible on that face.
int TextSectionOf(const TsCommonData& Data, const TsLoadedSkin& Skin, int State) {
  const int own = Data.SkinIndex;
  vcl::TControl* owner = Data.OwnerControl();
  if (!owner || !owner->Parent()) return own;
  if (Skin.IsValidSkinIndex(own)) {
    bool common = false;
    for (std::int32_t index : Skin.ConstData.CommonSections) common = common || index == own;
    if (!common || Skin.Sections[static_cast<std::size_t>(own)].Props[State].Transparency < 1) return own;
    const auto* behind =
        reinterpret_cast<const TsCommonData*>(SendCommandToCtrl(owner->Parent(), scmGetSkinData, 0));
    return behind ? behind->SkinIndex : kNoIndex;
  }
  for (vcl::TControl* parent = owner->Parent(); parent; parent = parent->Parent()) {
    auto* behind = reinterpret_cast<const TsCommonData*>(SendCommandToCtrl(parent, scmGetSkinData, 0));
    if (!behind)  // a skinned form answers with its provider
      if (auto* provider = reinterpret_cast<TsSkinProviderBase*>(SendCommandToCtrl(parent, scmGetProvider, 0)))
        behind = provider->SkinData;
    if (behind && Skin.IsValidSkinIndex(behind->SkinIndex)) return behind->SkinIndex;
  }
  return kNoIndex;
}

// A contour colour through the control's colour changes; "no contour" stays so.
vcl::TColor ContourColor(vcl::TColor Color, const TsCommonData* Data) {
  return Color == kNoContour ? kNoContour : TextColorOfData(Color, Data);
}

}  // namespace

void WriteSkinText(vcl::TCanvas* Canvas, vcl::StringView Text, bool Enabled, TsSkinManager* Manager, int State,
                   int Index, UINT Flags, const vcl::TRect& R) {
  if (!Manager) Manager = DefaultSkinManager();
  WriteSectionText(Canvas, Text, Enabled, Manager ? &Manager->Skin() : nullptr, State, Index, Flags, R);
}

void WriteSkinTextBuf(vcl::TCanvas* Canvas, const wchar_t* Text, bool Enabled, TsSkinManager* Manager, int State,
                      int Index, UINT Flags, const vcl::TRect& R) {
  if (!Text) return;
  WriteSkinText(Canvas, vcl::StringView(Text, std::wcslen(Text)), Enabled, Manager, State, Index, Flags, R);
}

vcl::TColor TextColorOfData(vcl::TColor Color, const TsCommonData* Data) {
  if (!Data) return vcl::ColorToRGB(Color);
  return ChangeTextColor(Color, Data->ColorTone, Data->HueOffset, Data->Saturation);
}

void WriteTextEx(vcl::TCanvas* Canvas, vcl::StringView Text, bool Contours, bool Hot, TsCommonData* Data, UINT Flags,
                 const vcl::TRect& R) {
  if (!Canvas || Text.empty()) return;
  const int k = Hot ? 1 : 0;
  TsSkinManager* manager = Data ? Data->GetSkinManager() : nullptr;
  const TsLoadedSkin* skin = manager ? &manager->Skin() : nullptr;
  if (Hot && skin && Data->SkinIndex >= 0 &&
      Data->SkinIndex == skin->ConstData.CommonSection(TqvCommonSection::WebButton)) {
    vcl::TFontStyles style = Canvas->Font()->Style();
    style.Include(vcl::fsUnderline);
    Canvas->Font()->SetStyle(style);
  }
  HDC dc = Canvas->Handle();
  TSavedDC saved(dc);
  IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
  Canvas->Brush()->SetStyle(vcl::bsClear);
  dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);

  // A control whose section the skin lacks still writes in a skin's colours: those behind it.
  const bool skinned = skin && !Data->CustomFont() && (Data->Skinned() || !skin->IsValidSkinIndex(Data->SkinIndex));
  const int index = skinned ? TextSectionOf(*Data, *skin, k) : kNoIndex;
  if (!skin || !skin->IsValidSkinIndex(index)) {
    // Unskinned, or the control keeps its own font: the canvas's font as it is.
    vcl::TRect r = R;
    DrawTextStr(dc, Text, r, Contours && Data && Data->CustomFont() ? Flags | DT_NOCLIP : Flags);
    return;
  }
  const TsGenState& state = skin->Sections[static_cast<std::size_t>(index)].Props[k];
  if (Data->CacheBmp() && state.GSize != 0)
    WriteTextGlow(Data->CacheBmp(), Text, R, Flags, kGlowAllSides, state.GSize, TextColorOfData(state.GCol, Data),
                  Data->TextGlow);
  TTextColors colors;
  colors.FontColor = TextColorOfData(state.FontColor, Data);
  if (Contours) {
    colors.Left = ContourColor(state.TCLeft, Data);
    colors.Top = ContourColor(state.TCTop, Data);
    colors.Right = ContourColor(state.TCRight, Data);
    colors.Bottom = ContourColor(state.TCBottom, Data);
  }
  WriteContourText(Canvas, Text, colors, Flags, R);
}

}  // namespace skin_layered
