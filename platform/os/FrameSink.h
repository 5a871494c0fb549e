#pragma once
// Pictures drawn off-screen by a media component reach the window that hosts
// them through a frame sink keyed by the host window's handle value, so that
// media code needs no window header.  The host registers what to do with a
// rectangle of pixels; the producer registers a listener for the host's
// resize and expose notices.
#include <cstdint>
#include <functional>

namespace os {

// A rectangle of 32-bit pixels (0x00RRGGBB) inside a picture of the given size.
struct FrameRect {
    int x = 0, y = 0, w = 0, h = 0;
    const uint32_t* pixels = nullptr; // the pixel at (x, y)
    int pitch = 0;                    // bytes from one row to the next
    int surfaceWidth = 0, surfaceHeight = 0;
};

struct FrameSinkHost {
    // Called under the sink's lock on the producer's thread; it copies what it needs.
    std::function<void(const FrameRect&)> Paint;
    // The host's client size; false when it has none to offer.
    std::function<bool(int& w, int& h)> ClientSize;
};

enum class FrameSinkNotice { Resize, Expose };

using FrameSinkListener = std::function<void(FrameSinkNotice notice, int w, int h)>;

void RegisterFrameSink(uintptr_t handle, FrameSinkHost host);
void UnregisterFrameSink(uintptr_t handle);

// Producer side: hands a rectangle to the host; false when no host is registered.
bool DeliverFrame(uintptr_t handle, const FrameRect& rect);
bool FrameSinkClientSize(uintptr_t handle, int& w, int& h);
void SetFrameSinkListener(uintptr_t handle, FrameSinkListener listener);
void ClearFrameSinkListener(uintptr_t handle);

// Host side: tells the producer that the window was resized or needs repainting.
void NotifyFrameSink(uintptr_t handle, FrameSinkNotice notice, int w = 0, int h = 0);

} // namespace os
