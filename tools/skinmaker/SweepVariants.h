// The classic skins of the sweep over every element a skin can have. Taken away: from the
// sample skin, and from a skin of its colours only (its description without a picture, its
// package without one), a skin lacking each section, one lacking each picture, and one lacking
// each group of sections that belong together. Built up: [TitlebarSkin] alone, and with each
// section alone, over colours and over pictures. Odd values: every colour -1, 4294967295 or
// 2147483647 in each part, every number (sizes, offsets, counts) -1 or 2147483647. Pictures of
// the wrong size: each a third of its height, one column wide, or 8x8. And skins of
// [TitlebarSkin] with seeded random sections (sweepskins::RandomSubsets), those the sweep keeps
// by the build and others when asked. Each is a package OUT/<name>.skn; OUT/variants.txt lists
// them, a line each: the name, a tab, what the skin lacks or how it is odd.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/skinmaker/SamplePictures.h"

namespace skinmaker {

// Every skin above but the random ones, and the random ones the sweep keeps. False (said on
// the standard error stream) when a file cannot be written.
bool WriteSweepVariants(const std::string& Description, const std::vector<NamedPicture>& Pictures,
                        const std::filesystem::path& Out);

// Count skins of [TitlebarSkin] with random sections from Seed, alone in OUT.
bool WriteRandomSweepVariants(const std::string& Description, const std::vector<NamedPicture>& Pictures,
                              std::uint32_t Seed, int Count, const std::filesystem::path& Out);

}  // namespace skinmaker
