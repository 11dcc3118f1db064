// The layered skins of the sweep over every element a skin can have: from the sample skin, and
// from a skin of its colours only (its description without a value naming a picture, its folder
// without one), a skin lacking each section, one lacking each picture file (the master bitmap
// too), and one lacking each group of sections that belong together. Each is a folder
// OUT/<name>/; OUT/variants.txt lists them, a line each: the name, a tab, what the skin lacks.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tools/layeredskin/Raster.h"

namespace layeredskin {

// Files holds the sample skin's picture files by name (its description apart). False (said on
// the standard error stream) when a file cannot be written.
bool WriteSweepVariants(const std::string& Description, const std::vector<std::pair<std::string, Bytes>>& Files,
                        const std::filesystem::path& Out);

}  // namespace layeredskin
