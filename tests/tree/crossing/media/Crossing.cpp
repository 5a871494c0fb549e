// Media reaching up into the GUI.
#include "gui/Window.h"
