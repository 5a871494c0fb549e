#include <gtest/gtest.h>

#include <vector>

#include "os/FrameSink.h"

// Rectangles reach the host registered for a handle value; the host's
// notices reach the producer's listener; either side may go first.
TEST(FrameSink, RectanglesAndNoticesMeetByHandleValue) {
    constexpr uintptr_t kWindow = 0x1001, kOther = 0x1002;
    uint32_t pixels[4] = {1, 2, 3, 4};
    os::FrameRect rect{0, 0, 2, 2, pixels, 8, 2, 2};
    EXPECT_FALSE(os::DeliverFrame(kWindow, rect));

    std::vector<os::FrameSinkNotice> notices;
    os::SetFrameSinkListener(kWindow, [&](os::FrameSinkNotice n, int w, int h) {
        notices.push_back(n);
        if (n == os::FrameSinkNotice::Resize) {
            EXPECT_EQ(w * 1000 + h, 640480);
        }
    });
    std::vector<uint32_t> painted;
    os::RegisterFrameSink(kWindow, os::FrameSinkHost{[&](const os::FrameRect& r) {
                                                         painted.assign(r.pixels, r.pixels + r.w * r.h);
                                                     },
                                                     [](int& w, int& h) {
                                                         w = 320;
                                                         h = 200;
                                                         return true;
                                                     }});
    EXPECT_TRUE(os::DeliverFrame(kWindow, rect));
    EXPECT_EQ(painted, (std::vector<uint32_t>{1, 2, 3, 4}));
    EXPECT_FALSE(os::DeliverFrame(kOther, rect));
    int w = 0, h = 0;
    EXPECT_TRUE(os::FrameSinkClientSize(kWindow, w, h));
    EXPECT_EQ(w * 1000 + h, 320200);
    EXPECT_FALSE(os::FrameSinkClientSize(kOther, w, h));

    os::NotifyFrameSink(kWindow, os::FrameSinkNotice::Resize, 640, 480);
    os::NotifyFrameSink(kWindow, os::FrameSinkNotice::Expose);
    os::NotifyFrameSink(kOther, os::FrameSinkNotice::Expose);
    EXPECT_EQ(notices,
              (std::vector<os::FrameSinkNotice>{os::FrameSinkNotice::Resize, os::FrameSinkNotice::Expose}));

    // The host goes; the producer's listener stays until it clears it.
    os::UnregisterFrameSink(kWindow);
    EXPECT_FALSE(os::DeliverFrame(kWindow, rect));
    os::NotifyFrameSink(kWindow, os::FrameSinkNotice::Expose);
    EXPECT_EQ(notices.size(), 3u);
    os::ClearFrameSinkListener(kWindow);
    os::NotifyFrameSink(kWindow, os::FrameSinkNotice::Expose);
    EXPECT_EQ(notices.size(), 3u);
}
