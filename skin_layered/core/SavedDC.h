// A device context's state saved for a scope: the class library's.
#pragma once

#include "classlib/graphics/GraphicsHandles.h"

namespace skin_layered {

using TSavedDC = vcl::SavedDC;

}  // namespace skin_layered
