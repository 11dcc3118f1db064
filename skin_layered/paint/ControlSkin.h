// What the painters need of a skinned control's skin data, handed over explicitly: the skin
// and the indexes its section resolves to, the control and its cache bitmap, and the
// control's own colour changes. The skin manager's common data fills one for each call.
#pragma once

#include "classlib/controls/Controls.h"
#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// A control's colour changes of its cached images: a tone (clNoColor: none), a hue offset in
// degrees and a saturation change in percent (0: none).
struct TqvColorChanges {
  vcl::TColor Tone = 0x1FFFFFFF;
  int HueOffset = 0;
  int Saturation = 0;

  bool Any() const { return Tone != 0x1FFFFFFF || HueOffset != 0 || Saturation != 0; }
};

// The changes over R of a 32-bit bitmap (cut to it), in the order tone, hue, saturation
// (its percent times 2.55, rounded, within -255..255); pixels of the key colour with alpha 0
// are left alone.
void ApplyColorChanges(vcl::TBitmap* Bmp, const vcl::TRect& R, const TqvColorChanges& Changes);

struct TqvControlSkin {
  const TsLoadedSkin* Skin = nullptr;  // nil: the default manager's
  // The skin manager as a component, when there is one: glows of a manager being destroyed
  // go at once instead of after the messages queued for them.
  vcl::TComponent* Manager = nullptr;
  int SkinIndex = kNoIndex;
  int BorderIndex = kNoIndex;  // the section's "BORDERSMASK"
  int Texture = kNoIndex;      // "PATTERN"
  int HotTexture = kNoIndex;   // "HOTPATTERN"
  bool CustomColor = false;    // the control keeps its own colour
  vcl::TControl* Owner = nullptr;  // the skinned control (a provider's form for a provider)
  vcl::TBitmap* Cache = nullptr;   // the control's cache bitmap, not owned
  TqvColorChanges Changes;

  // Skin, else the default manager's; nil when neither exists.
  const TsLoadedSkin* SkinOrDefault() const;
  // The section when SkinIndex is valid in that skin, else nil.
  const TsGeneralData* Section() const;
};

// Makes the control's cache a 32-bit (device-independent) bitmap of the owner's size (negative
// sizes as 0); without owner its size stays. Nothing without a cache.
void PrepareCache(const TqvControlSkin& Data);

}  // namespace skin_layered
