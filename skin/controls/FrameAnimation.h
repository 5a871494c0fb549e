#pragma once
// The hover animation of the skinned buttons: the frames of a strip in the skin picture shown
// one after another on a timer, forward when the mouse comes (towards the hot look) and
// backward when it goes.  While it runs, the current frame stands in for the hot look
// (forward) or the normal look (backward).
#include "gui/Timer.h"
#include "skin/core/SkinTypes.h"

#include <functional>
#include <memory>

namespace skin {

class TbsFrameAnimation {
public:
    // Called after every step that changes the frame, and when the animation stops.
    std::function<void()> OnFrame;

    // Starting stops a running animation first; a strip of no frames starts nothing.
    void Start(bool Forward, int FrameCount, int Interval);
    void Stop();
    bool Running() const { return FCurrentFrame != 0; }
    bool Forward() const { return FForward; }
    int CurrentFrame() const { return FCurrentFrame; }
    // Frame Index (from 1) of the strip: side by side when the strip is wider than a look,
    // else one above the other.
    static TRect FrameRect(const TRect& Strip, const TRect& Look, int FrameCount, int Index);
    // The frame standing in for Look while the animation runs in that direction, else Look.
    TRect Apply(const TRect& Look, const TRect& Strip, int FrameCount, bool ForwardLook) const;

private:
    void Tick();
    std::unique_ptr<gui::TTimer> FTimer;
    int FCurrentFrame = 0, FFrameCount = 0;
    bool FForward = true;
};

} // namespace skin
