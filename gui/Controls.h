#pragma once
// Every control class; new code includes the per-class headers.
#include "gui/Control.h"
#include "gui/ControlCanvas.h"
#include "gui/ControlTypes.h"
#include "gui/CustomControl.h"
#include "gui/GraphicControl.h"
#include "gui/Graphics.h"
#include "gui/Messages.h"
#include "gui/SizeConstraints.h"
#include "gui/WinControl.h"
