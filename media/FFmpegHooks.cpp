// The engine's side of the frame-hook libraries named by "vhook".
#include "media/FFmpegEngine.h"

namespace media {

// Hook libraries are not loaded yet: every hook is refused as one without a
// "Process" entry point would be (-2), so "vhook" fails with its own message
// instead of being accepted and ignored.
int TCustomFFmpeg::FrameHookAdd(const std::vector<std::string>& args) {
    (void)args;
    return -2;
}

void TCustomFFmpeg::FrameHookRelease() {
    FFirstHook = nullptr;
}

} // namespace media
