// The graphics unit in one include: colours, fonts, brushes, pens, canvases, pictures,
// bitmaps, icons and the picture container.
#pragma once

#include "classlib/GraphicsBitmap.h"
#include "classlib/GraphicsCanvas.h"
#include "classlib/GraphicsColors.h"
#include "classlib/GraphicsGraphic.h"
#include "classlib/GraphicsIcon.h"
#include "classlib/GraphicsObjects.h"
#include "classlib/GraphicsPicture.h"
