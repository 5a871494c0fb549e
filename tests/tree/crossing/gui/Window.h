#pragma once
// A GUI header that reaches FreeType through the font engine.
#include "gdi/text/Face.h"
