// The tests' pictures come from the build's BMP writer.
#pragma once

#include "tools/skinpack/SkinBitmapWriter.h"

namespace skin_classic::test_support {
using skinpack::Bmp24;
using skinpack::FrameColour;
using skinpack::FrameColours;
using skinpack::FramesBmp;
using skinpack::kMagenta;
using skinpack::MakeRgb;
using skinpack::Rgb;
}  // namespace skin_classic::test_support
