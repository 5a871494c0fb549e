#pragma once
// UTF-8 <-> code points for the text engine.  Text is UTF-8 everywhere in the
// program; glyph lookup and layout work on code points.
#include <string>
#include <string_view>

namespace gdi::text {

// Malformed bytes become U+FFFD, one per byte, so that a broken name still
// shows where it is broken instead of vanishing.
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view text);

} // namespace gdi::text
