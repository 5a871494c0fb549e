#include "skin/controls/FrameAnimation.h"

#include <algorithm>

namespace skin {

void TbsFrameAnimation::Start(bool Forward, int FrameCount, int Interval) {
    Stop();
    if (FrameCount < 1) return;
    FFrameCount = FrameCount;
    FForward = Forward;
    FCurrentFrame = Forward ? 1 : FrameCount;
    if (!FTimer) {
        FTimer = std::make_unique<gui::TTimer>(nullptr);
        FTimer->OnTimer = [this](gui::TObject*) { Tick(); };
    }
    FTimer->SetInterval(static_cast<unsigned>(std::max(Interval, 1)));
    FTimer->SetEnabled(true);
    if (OnFrame) OnFrame();
}

void TbsFrameAnimation::Stop() {
    bool was = FCurrentFrame != 0;
    // Kept, not freed: a stop can come from the timer's own tick.
    if (FTimer) FTimer->SetEnabled(false);
    FCurrentFrame = 0;
    if (was && OnFrame) OnFrame();
}

void TbsFrameAnimation::Tick() {
    int next = FCurrentFrame + (FForward ? 1 : -1);
    if (next < 1 || next > FFrameCount) {
        Stop();
        return;
    }
    FCurrentFrame = next;
    if (OnFrame) OnFrame();
}

TRect TbsFrameAnimation::FrameRect(const TRect& Strip, const TRect& Look, int FrameCount, int Index) {
    if (FrameCount < 1) return Look;
    if (Look.Width() < Strip.Width()) {
        int step = Strip.Width() / FrameCount;
        return {Strip.Left + (Index - 1) * step, Strip.Top, Strip.Left + Index * step, Strip.Bottom};
    }
    int step = Strip.Height() / FrameCount;
    return {Strip.Left, Strip.Top + (Index - 1) * step, Strip.Right, Strip.Top + Index * step};
}

TRect TbsFrameAnimation::Apply(const TRect& Look, const TRect& Strip, int FrameCount,
                               bool ForwardLook) const {
    if (FCurrentFrame < 1 || FCurrentFrame > FrameCount || FForward != ForwardLook) return Look;
    return FrameRect(Strip, Look, FrameCount, FCurrentFrame);
}

} // namespace skin
