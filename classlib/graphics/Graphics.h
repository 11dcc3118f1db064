// The graphics unit in one include: colours, fonts, brushes, pens, canvases, pictures,
// bitmaps, icons and the picture container.
#pragma once

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/GraphicsCanvas.h"
#include "classlib/graphics/GraphicsColors.h"
#include "classlib/graphics/GraphicsGraphic.h"
#include "classlib/graphics/GraphicsIcon.h"
#include "classlib/graphics/GraphicsObjects.h"
#include "classlib/graphics/GraphicsPicture.h"
