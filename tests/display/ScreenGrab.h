#pragma once
// What an X server's screen shows, read as another client would see it, for the tests that
// check or keep a picture of what a person would see.
#include "gdi/image/Image.h"

#include <string>

// The root window's pixels in the rectangle, opaque BGRA; an empty image when the display
// cannot be opened or the rectangle cannot be read.
gdi::image::Image GrabScreen(const std::string& display, int x, int y, int width, int height);

// Writes the image as a PNG file; false with the reason in `error`.
bool SavePng(const gdi::image::Image& image, const std::string& path, std::string& error);
