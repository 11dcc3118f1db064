// The classic skins of the sweep over every element a skin can have: from the sample skin, and
// from a skin of its colours only (its description without a picture, its package without
// one), a skin lacking each section, one lacking each picture, and one lacking each group of
// sections that belong together. Each is a package OUT/<name>.skn; OUT/variants.txt lists
// them, a line each: the name, a tab, what the skin lacks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/skinmaker/SamplePictures.h"

namespace skinmaker {

// False (said on the standard error stream) when a file cannot be written.
bool WriteSweepVariants(const std::string& Description, const std::vector<NamedPicture>& Pictures,
                        const std::filesystem::path& Out);

}  // namespace skinmaker
