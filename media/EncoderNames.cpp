#include "media/EncoderNames.h"

#include "media/AVApi.h"

namespace media {

namespace {

struct TEncoderName {
    const char* old_name;
    const char* name;
};

// One row per encoder that is gone; the replacement writes the same kind of
// stream with the same tag.
constexpr TEncoderName kEncoderNames[] = {
    {"libfaac", "aac"},
};

} // namespace

std::string EncoderName(const std::string& AName) {
    for (const TEncoderName& row : kEncoderNames)
        if (AName == row.old_name) return row.name;
    return AName;
}

const AVCodec* FindEncoderByName(const std::string& AName) {
    if (AName.empty()) return nullptr;
    return av::avcodec_find_encoder_by_name(EncoderName(AName).c_str());
}

} // namespace media
