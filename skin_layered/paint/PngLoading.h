// Reading a PNG picture into any graphic: the picture is read by the PNG picture class and
// then assigned to the target, which takes it as far as it can (a bitmap takes its pixels).
#pragma once

#include "classlib/graphics/Graphics.h"

namespace skin_layered {

// Errors of the file or the picture raise as the PNG picture class raises them; the target
// is then left as it was.
void LoadPngFromFile(vcl::TGraphic* Target, const vcl::String& FileName);
void LoadPngFromStream(vcl::TGraphic* Target, vcl::TStream* Stream);

}  // namespace skin_layered
