#pragma once
// The font engine may see FreeType.
#include <ft2build.h>
