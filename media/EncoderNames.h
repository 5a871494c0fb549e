#pragma once
// Encoder names of the format catalogue that the libraries of this build no
// longer have, mapped in one table to the encoder that takes their place.
#include <string>

struct AVCodec;

namespace media {

// The name the libraries know for an encoder name ("libfaac" -> "aac");
// other names unchanged.
std::string EncoderName(const std::string& AName);
// The encoder of that name after the mapping; nullptr when none.
const AVCodec* FindEncoderByName(const std::string& AName);

} // namespace media
