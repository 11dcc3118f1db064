// The layered skins of the sweep over every element a skin can have. Taken away: from the
// sample skin, and from a skin of its colours only (its description without a value naming a
// picture, its folder without one), a skin lacking each section, one lacking each picture file
// (the master bitmap too), and one lacking each group of sections that belong together. Built
// up: GLOBALINFO alone, and GLOBALINFO with each section alone, over colours and over
// pictures. Odd values: every colour -1, $FFFFFFFF or $7FFFFFFF, every measure -1 or
// 2147483647, every count of states or frames -1, every margin negative, every part of the
// master bitmap outside it. Pictures of the wrong size: each a third of its height, each one
// column wide, the master bitmap 8x8. And skins of GLOBALINFO with seeded random sections
// (sweepskins::RandomSubsets), those the sweep keeps by the build and others when asked. Each
// is a folder OUT/<name>/; OUT/variants.txt lists them, a line each: the name, a tab, what
// the skin lacks or how it is odd.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/layeredskin/Raster.h"

namespace layeredskin {

// Every skin above but the random ones, and the random ones the sweep keeps. False (said on
// the standard error stream) when a file cannot be written.
bool WriteSweepVariants(const std::string& Description, const std::vector<PictureFile>& Files,
                        const std::filesystem::path& Out);

// Count skins of GLOBALINFO with random sections from Seed, alone in OUT.
bool WriteRandomSweepVariants(const std::string& Description, const std::vector<PictureFile>& Files,
                              std::uint32_t Seed, int Count, const std::filesystem::path& Out);

}  // namespace layeredskin
