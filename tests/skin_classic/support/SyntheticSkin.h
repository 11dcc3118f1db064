// A complete synthetic classic skin: a description with every kind of element and the
// flat-coloured pictures it names (frame f of picture id is FrameColour(id, f)).
#pragma once

#include <string>

#include "skin_classic/support/SkinBitmapWriter.h"
#include "skin_classic/support/SkinPackageWriter.h"

namespace skin_classic::test_support {

// Picture ids of the complete skin (the `id` of FrameColour).
enum SyntheticPicture : int {
  kLeftPicture = 1, kRightPicture, kTopPicture, kBottomPicture, kMenuBarPicture, kTextBackPicture,
  kButtonsPicture, kCheckPicture, kRadioPicture, kClosePicture, kMaxPicture, kMdiPicture,
  kProgressPicture, kChunkPicture, kGroupBoxEdgePicture, kGroupBoxPicture, kTabsPicture, kTabBorderPicture,
  kStatusBarPicture, kTabPanePicture, kToolBarsPicture, kComboPicture, kSunkEdgePicture, kExtraPicture,
  kHeaderPicture, kMenuItemPicture, kMenuBackPicture, kScrollbarPicture, kHorzScrollPicture,
  kVertScrollPicture, kHorzThumbPicture, kVertThumbPicture, kThumbHorzPicture, kThumbVertPicture,
  kThumbLeftPicture, kThumbRightPicture, kThumbUpPicture, kThumbDownPicture, kUpDownHorzPicture,
  kUpDownHorzGlyph, kUpDownVertPicture, kUpDownVertGlyph, kTrackVertPicture,
};

// Colours the complete skin's description states.
inline constexpr Rgb kSkinButtonFace = MakeRgb(200, 201, 202);
inline constexpr Rgb kSkinButtonText = MakeRgb(1, 2, 3);
inline constexpr Rgb kSkinHilight = MakeRgb(10, 36, 106);

// The description text of the complete skin.
std::string CompleteSkinDescription();
// The package: "skin.ini" and every picture (in a mixed order, names in mixed case). A
// frameSide above 0 makes every frame that many pixels square (small packages for fuzzing).
PackageSpec CompleteSkinSpec(int frameSide = 0);

}  // namespace skin_classic::test_support
