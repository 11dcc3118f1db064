// The classic skin the gallery wears: one skin-data component for every form of the program
// (its kind skins all windows through the engine's hook, and the engine gives every control
// its skinner), loaded with the sample skin built into the program or with a package file, and
// switched at run time: another package, or no skin at all.
#pragma once

#include <optional>
#include <string>

#include "classlib/rtl/Component.h"
#include "skin_classic/core/SkinData.h"

namespace gallery {

// Makes the component (owned by Owner) with the package File, or the sample skin; inactive
// when the package cannot be read.
winskin::TSkinData* ApplyClassicSkin(vcl::TComponent* Owner, const std::optional<std::wstring>& File);

// The package the skin data wears from now on: the sample skin built into the program, or a
// package file. A package the engine cannot read is reported and the skin stays as it was
// (false).
bool UseSampleSkin(winskin::TSkinData* Skin);
bool UsePackage(winskin::TSkinData* Skin, const std::wstring& File);
// Every window unskinned (until a package is chosen again).
void Unskin(winskin::TSkinData* Skin);

// A package the build writes beside the program (by file name, say "Jade.skn").
std::wstring SamplePackage(const std::wstring& Name);

}  // namespace gallery
