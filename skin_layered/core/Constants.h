// The layered engine's shared constants: its small enumerations and types, the names of the
// sections and images that painting code reaches through the common index table, the state
// keys, and the platform facts recorded at start-up.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "classlib/rtl/Object.h"
#include "classlib/rtl/Set.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/SkinTypes.h"

namespace skin_layered {

VCL_ENUM(TqvOuterVisibility, ovNone, ovAlways)
VCL_ENUM(TqvAnimType, atFading, atAero)
VCL_ENUM(TqvBtnEvent, beMouseEnter, beMouseLeave, beMouseDown, beMouseUp)
VCL_ENUM(TqvOptimizingPriority, opSpeed, opMemory)
VCL_ENUM(TqvSkinningRule, srStdForms, srStdDialogs, srThirdParty)
using enum TqvOuterVisibility;
using enum TqvAnimType;
using enum TqvBtnEvent;
using enum TqvOptimizingPriority;
using enum TqvSkinningRule;
using TqvBtnEvents = vcl::Set<TqvBtnEvent>;
using TqvSkinningRules = vcl::Set<TqvSkinningRule>;

using TRects = std::vector<vcl::TRect>;
using TAOR = std::vector<vcl::TRect>;


// No section, no image: wherever a skin index or image index is kept.
inline constexpr int kNoIndex = -1;

// Typed names: the tab sides (top has none) and the Boolean values of skin texts.
inline constexpr std::array<std::wstring_view, 4> kSideNames{L"", L"BOTTOM", L"LEFT", L"RIGHT"};
inline constexpr std::array<std::wstring_view, 2> kBoolNames{L"FALSE", L"TRUE"};

// Sections and images whose indexes the common index table keeps.
inline constexpr std::wstring_view kGlobalInfoSection = L"GLOBALINFO";
inline constexpr std::array<std::wstring_view, 16> kTabSectionNames{
    L"TABLEFTFIRST",  L"TABTOPFIRST",  L"TABRIGHTFIRST",  L"TABBOTTOMFIRST",
    L"TABLEFTLAST",   L"TABTOPLAST",   L"TABRIGHTLAST",   L"TABBOTTOMLAST",
    L"TABLEFTMIDDLE", L"TABTOPMIDDLE", L"TABRIGHTMIDDLE", L"TABBOTTOMMIDDLE",
    L"TABLEFT",       L"TABTOP",       L"TABRIGHT",       L"TABBOTTOM"};
inline constexpr std::array<std::wstring_view, 4> kScrollBtnNames{L"SCROLLBTNLEFT", L"SCROLLBTNTOP",
                                                                   L"SCROLLBTNRIGHT", L"SCROLLBTNBOTTOM"};
inline constexpr std::array<std::wstring_view, 4> kScrollBarNames{L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H",
                                                                   L"SCROLLBAR2V"};
inline constexpr std::array<std::wstring_view, 2> kScrollSliderNames{L"SCROLLSLIDERH", L"SCROLLSLIDERV"};
inline constexpr std::array<std::wstring_view, 2> kRadioNames{L"RADIOUNCHECKED", L"RADIOCHECKED"};
inline constexpr std::array<std::wstring_view, 3> kCheckBoxNames{L"BOXUNCHECKED", L"BOXCHECKED", L"BOXGRAYED"};
inline constexpr std::array<std::wstring_view, 3> kSmallBoxNames{L"SMALLUNCHECKED", L"SMALLCHECKED",
                                                                  L"SMALLGRAYED"};
inline constexpr std::array<std::wstring_view, 11> kTitleButtonImageNames{
    L"BICONCLOSE", L"BICLOSEALONE", L"BICONMAX", L"BICONNORM", L"BICONMIN", L"BICONHELP",
    L"SICONCLOSE", L"SICONMAX",     L"SICONNORM", L"SICONMIN", L"SICONHELP"};
inline constexpr std::array<std::wstring_view, 3> kGripImageNames{L"GRIPIMAGE", L"GRIPHORZ", L"GRIPVERT"};
inline constexpr std::array<std::wstring_view, 6> kCommonSectionNames{L"MENUITEM",    L"TOOLBUTTON", L"CHECKBOX",
                                                                       L"TRANSPARENT", L"GROUPBOX",   L"WEBBUTTON"};

// The keys of a section's two states, in the field order of a state record.
inline constexpr std::array<std::array<std::wstring_view, 12>, 2> kStateKeys{{
    {L"COLOR", L"FONTCOLOR", L"TCLEFT", L"TCTOP", L"TCRIGHT", L"TCBOTTOM", L"GCOL", L"GSIZE", L"GRADIENTPERCENT",
     L"GRADIENTDATA", L"IMAGEPERCENT", L"TRANSPARENCY"},
    {L"HOTCOLOR", L"HOTFONTCOLOR", L"HOTTCLEFT", L"HOTTCTOP", L"HOTTCRIGHT", L"HOTTCBOTTOM", L"HGCOL", L"HGSIZE",
     L"HOTGRADIENTPERCENT", L"HOTGRADIENTDATA", L"HOTIMAGEPERCENT", L"HOTTRANSPARENCY"},
}};

// ---------------------------------------------------------------------------------------
// Platform facts, recorded by the engine's start-up.

struct TPlatformVersion {
  DWORD Major = 0;
  DWORD Minor = 0;
  DWORD PlatformId = 0;  // VER_PLATFORM_WIN32_NT (2) for the NT family
};

// What the system reports (vcl::Win32Version by default). Tests put in their own; nullptr
// restores the system's. Returns the previous query.
using TPlatformVersionQuery = std::function<TPlatformVersion()>;
TPlatformVersionQuery SetPlatformVersionQuery(TPlatformVersionQuery Query);
TPlatformVersion QueryPlatformVersion();

// 8 for version 6.2 (what the system reports to programs that do not declare newer
// versions), else the major version.
constexpr int PlatformVersionValue(const TPlatformVersion& V) {
  return V.Major == 6 && V.Minor == 2 ? 8 : static_cast<int>(V.Major);
}

// The recorded version value and horizontal scroll-arrow width (SM_CXHSCROLL): 0 before
// start-up. RecordPlatformFacts is the start-up step that sets them.
int PlatformVersion();
int HScrollArrowWidth();
void RecordPlatformFacts();

}  // namespace skin_layered
