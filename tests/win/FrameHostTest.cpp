// A child window hosting pictures that another thread draws: rectangles reach
// its part of the top-level surface, and its size and exposes go back.
#include "win/FrameHost.h"
#include "WinFixture.h"
#include "gdi/Bitmap.h"
#include "os/FrameSink.h"
#include "win/Paint.h"

#include <thread>
#include <vector>

namespace {

struct Notice {
    os::FrameSinkNotice kind;
    int w, h;
};

class FrameHostTest : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        top = Make(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        host = Make(WS_CHILD | WS_VISIBLE, 20, 10, 160, 120, top);
        win::RunUntilIdle();
        ASSERT_TRUE(RegisterFrameHost(host));
        os::SetFrameSinkListener(Key(), [this](os::FrameSinkNotice n, int w, int h) {
            notices.push_back({n, w, h});
        });
    }
    void TearDown() override {
        os::ClearFrameSinkListener(Key());
        WinTest::TearDown();
    }
    uintptr_t Key() const { return reinterpret_cast<uintptr_t>(host); }
    // A picture of w x h in one colour, delivered whole from another thread.
    bool Deliver(int w, int h, uint32_t colour, RECT part = {}) {
        std::vector<uint32_t> picture(static_cast<size_t>(w) * h, colour);
        if (part.right == 0) part = RECT{0, 0, w, h};
        bool delivered = false;
        std::thread producer([&] {
            os::FrameRect r;
            r.x = part.left;
            r.y = part.top;
            r.w = part.right - part.left;
            r.h = part.bottom - part.top;
            r.pitch = w * 4;
            r.pixels = picture.data() + static_cast<size_t>(part.top) * w + part.left;
            r.surfaceWidth = w;
            r.surfaceHeight = h;
            delivered = os::DeliverFrame(Key(), r);
        });
        producer.join();
        return delivered;
    }
    // 0x00RRGGBB at a client point of the host, from the top-level surface.
    uint32_t At(int x, int y) { return win::GetWindowSurface(top)->View().Get(20 + x, 10 + y) & 0xFFFFFF; }
    int Exposes() const {
        int n = 0;
        for (const Notice& k : notices) n += k.kind == os::FrameSinkNotice::Expose;
        return n;
    }
    HWND top = nullptr, host = nullptr;
    std::vector<Notice> notices;
};

TEST_F(FrameHostTest, PicturesReachTheSurfaceAndBlackFillsTheRest) {
    ASSERT_TRUE(Deliver(100, 80, 0x00C03010));
    // Nothing is drawn from the producer's thread: the paint comes with the queue.
    win::RunUntilIdle();
    EXPECT_EQ(At(0, 0), 0xC03010u);
    EXPECT_EQ(At(99, 79), 0xC03010u);
    EXPECT_EQ(At(100, 40), 0u);
    EXPECT_EQ(At(50, 80), 0u);
    // A later rectangle changes only its own part.
    ASSERT_TRUE(Deliver(100, 80, 0x0000FF00, RECT{10, 10, 30, 20}));
    win::RunUntilIdle();
    EXPECT_EQ(At(15, 15), 0x00FF00u);
    EXPECT_EQ(At(5, 5), 0xC03010u);
    // Paints that pictures asked for are no exposes.
    EXPECT_EQ(Exposes(), 0);
    // A sibling area outside the host is left alone.
    EXPECT_NE(win::GetWindowSurface(top)->View().Get(200, 150) & 0xFFFFFF, 0xC03010u);
}

TEST_F(FrameHostTest, SizeAndExposeGoBackToTheProducer) {
    int w = 0, h = 0;
    ASSERT_TRUE(os::FrameSinkClientSize(Key(), w, h));
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);
    SetWindowPos(host, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    win::RunUntilIdle();
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.front().kind, os::FrameSinkNotice::Resize);
    EXPECT_EQ(notices.front().w, 200);
    EXPECT_EQ(notices.front().h, 150);
    ASSERT_TRUE(os::FrameSinkClientSize(Key(), w, h));
    EXPECT_EQ(w, 200);
    notices.clear();
    // The window system asking for a paint is an expose.
    InvalidateRect(host, nullptr, TRUE);
    win::RunUntilIdle();
    EXPECT_EQ(Exposes(), 1);
}

TEST_F(FrameHostTest, TheRegistrationEndsWithTheWindowOrOnRequest) {
    EXPECT_FALSE(RegisterFrameHost(host)) << "registered twice";
    ASSERT_TRUE(UnregisterFrameHost(host));
    EXPECT_FALSE(Deliver(10, 10, 0x00FFFFFF));
    ASSERT_TRUE(RegisterFrameHost(host));
    ASSERT_TRUE(Deliver(10, 10, 0x00FFFFFF));
    DestroyWindow(host);
    EXPECT_FALSE(Deliver(10, 10, 0x00FFFFFF));
    // The picture message posted before the window went finds nothing.
    win::RunUntilIdle();
    EXPECT_FALSE(UnregisterFrameHost(host));
}

} // namespace
