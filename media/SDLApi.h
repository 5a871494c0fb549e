#pragma once
// SDL 1.2 entry points, bound at run time like the media libraries'.
#include <SDL.h>

namespace sdl {
#define SDL_FUNC(name) inline decltype(&::name) name = nullptr;
#include "media/entry/sdl.inc"
#undef SDL_FUNC
} // namespace sdl
