// The two lists the painting layer builds at start-up for the window adapters: the class
// names of other libraries' popup windows (sorted), and the start-up glyph list, an alpha
// image list of five 48 x 16 glyph strips (three 16 x 16 states each) made from the
// program's PNG resources, decoded on first use. Nil before start-up and after shutdown.
#pragma once

#include <array>

#include "classlib/rtl/StringList.h"
#include "skin_layered/paint/AlphaImageList.h"

namespace skin_layered {

inline constexpr std::array<const wchar_t*, 7> kThirdPartyPopupClasses{
    L"TApplication",          L"TfcPopup",          L"TcxComboBoxPopupWindow", L"TcxCustomPopupWindow",
    L"TdxPopupEditForm",      L"TcxDateEditPopupWindow", L"TcxGridFilterPopup"};

// The RCDATA resources of the start-up glyph list, in their order in it.
inline constexpr std::array<const wchar_t*, 5> kStartupGlyphResources{L"SF", L"SR", L"SD", L"SE", L"SC"};
inline constexpr int kStartupGlyphWidth = 48;
inline constexpr int kStartupGlyphHeight = 16;

const vcl::TStringList* ThirdPartyPopupClasses();
TsAlphaImageList* StartupGlyphList();

// The units' start-up and shut-down steps (run by the unit registry).
void MakeThirdPartyPopupClasses();
void FreeThirdPartyPopupClasses();
void MakeStartupGlyphList();
void FreeStartupGlyphList();

}  // namespace skin_layered
