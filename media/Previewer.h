#pragma once
// The conversion preview window as the engine sees it.  The window itself is
// a GUI form: the GUI installs a factory at start-up, so that media code
// needs no GUI header.  Without a factory no task previews.
#include <cstdint>
#include <functional>
#include <memory>

#include "media/FrameBitmap.h"

namespace media {

class TCustomPreviewer {
public:
    virtual ~TCustomPreviewer() = default;
    // Called on a conversion thread; shows the frame on the GUI thread and
    // waits until it is drawn.  True while the window is open, false once the
    // user has closed it.
    virtual bool PaintFrame(const TFrameBitmap* ABitmap, int32_t AFrameNumber, int64_t APTS) = 0;
};

using TPreviewerFactory = std::function<std::shared_ptr<TCustomPreviewer>()>;

// Any thread.  An empty factory removes it.
void SetPreviewerFactory(TPreviewerFactory AFactory);
// A new previewer, or null when no factory is installed.
std::shared_ptr<TCustomPreviewer> NewPreviewer();

} // namespace media
