#pragma once
// Every menu class; new code includes the per-class headers.
#include "gui/Menu.h"
#include "gui/MenuItem.h"
#include "gui/PopupMenu.h"
