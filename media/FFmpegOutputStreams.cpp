// Streams added to an output file after it was opened ("newvideo",
// "newaudio", "newsubtitle").
#include "media/FFmpegEngine.h"

namespace media {

// Output files cannot be opened yet, so no caller reaches this with one; the
// stream creation takes over here.
void TCustomFFmpeg::NewStreamForLastOutput(AVMediaType type) {
    (void)type;
    throw FFmpegException("Could not alloc stream");
}

} // namespace media
