#pragma once
// Colours, fonts, pens, brushes, the canvas and the graphics; new code includes the per-class
// headers.
#include "gui/Bitmap.h"
#include "gui/Brush.h"
#include "gui/Canvas.h"
#include "gui/Color.h"
#include "gui/Font.h"
#include "gui/Geometry.h"
#include "gui/Graphic.h"
#include "gui/GraphicsObject.h"
#include "gui/Icon.h"
#include "gui/Pen.h"
#include "gui/Streams.h"
