// The player's arithmetic, its event queue and its packet queue.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/PacketQueue.h"
#include "media/PlayEventQueue.h"
#include "media/PlayerMath.h"

using namespace media;

TEST(PlayerMath, PictureDelayReusesTheLastValidStep) {
    struct Case {
        double lastPts, lastDelay, pts, delay, newLastDelay;
    } cases[] = {
        {1.00, 0.04, 1.04, 0.04, 0.04}, // an ordinary step
        {1.00, 0.04, 1.00, 0.04, 0.04}, // no step
        {1.00, 0.04, 0.50, 0.04, 0.04}, // backwards
        {1.00, 0.04, 11.0, 0.04, 0.04}, // 10 s or more
        {1.00, 0.04, 1.10, 0.10, 0.10}, // a longer valid step is kept
    };
    for (const Case& c : cases) {
        double lastPts = c.lastPts, lastDelay = c.lastDelay;
        EXPECT_NEAR(PictureDelay(c.pts, lastPts, lastDelay), c.delay, 1e-9) << c.pts;
        EXPECT_NEAR(lastDelay, c.newLastDelay, 1e-9) << c.pts;
        EXPECT_EQ(lastPts, c.pts);
    }
}

TEST(PlayerMath, PictureDelayFollowsTheMasterClock) {
    struct Case {
        double diff, delay;
    } cases[] = {
        {-0.050, 0.0  }, // video behind: show at once
        {0.050,  0.080}, // video ahead: wait twice as long
        {0.020,  0.040}, // inside the threshold
        {-0.020, 0.040},
        {10.0,   0.040}, // a jump changes nothing
        {-12.0,  0.040},
    };
    for (const Case& c : cases) EXPECT_NEAR(SyncedPictureDelay(0.040, c.diff), c.delay, 1e-9) << c.diff;
}

TEST(PlayerMath, AspectRectangleIsCentredWithEvenSizes) {
    struct Case {
        int width, height;
        double aspect;
        TDisplayRect rect;
    } cases[] = {
        {400, 300, 16.0 / 9,    {0, 38, 400, 224}},
        {400, 300, 4.0 / 3,     {0, 0, 400, 300} },
        {400, 300, 1.0,         {50, 0, 300, 300}},
        {320, 240, 400.0 / 300, {0, 0, 320, 240} }, // a filled area: aspect of the area itself
        {640, 480, 0.0,         {80, 0, 480, 480}}, // no aspect: square
    };
    for (const Case& c : cases)
        EXPECT_EQ(AspectRect(c.width, c.height, c.aspect), c.rect)
            << c.width << "x" << c.height << " " << c.aspect;
}

TEST(PlayerMath, PaletteEntriesBecomeYUVA) {
    struct Case {
        uint32_t argb, ayuv;
    } cases[] = {
        {0xFFFFFF00, 0xFFD21092}, // yellow: Y 210, U 16, V 146
        {0x80FFFFFF, 0x80EB8080}, // white: 235, 128, 128
        {0x00000000, 0x00108080}, // black: 16, 128, 128
        {0xFF00FF00, 0xFF913622}, // green: 145, 54, 34
        {0x7FFF0000, 0x7F515AF0}, // red: 81, 90, 240
        {0xFF0000FF, 0xFF29F06E}, // blue
    };
    for (const Case& c : cases) EXPECT_EQ(RGBAToYUVA(c.argb), c.ayuv) << std::hex << c.argb;
}

TEST(PlayerMath, SeekTargetIsLimitedOnlyByAKnownDuration) {
    struct Case {
        int64_t apts, duration, start, target;
    } cases[] = {
        {1000000, 2000000,   0,         1000000},
        {5000000, 2000000,   0,         2000000}, // past the end
        {1000000, 2000000,   500000,    1500000}, // the file's start time is added
        {1000000, INT64_MIN, 0,         1000000}, // no duration: no clamp
        {1000000, 2000000,   INT64_MIN, 1000000},
    };
    for (const Case& c : cases) EXPECT_EQ(SeekTarget(c.apts, c.duration, c.start), c.target) << c.apts;
}

TEST(PlayerMath, AudioCorrectionStaysWithinTenPercentAndTheBuffer) {
    struct Case {
        int size;
        double diff;
        int capacity, wanted;
    } cases[] = {
        {4096,   0.050,  288000, 4504  }, // 1024 frames grow to at most 1126
        {4096,   -0.050, 288000, 3684  }, // and shrink to at least 921
        {4096,   0.001,  288000, 4288  }, // 48 frames more
        {4096,   0.0,    288000, 4096  },
 // A long frame near the end of the buffer grows only up to it.
        {280000, 1.0,    288000, 288000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SyncedAudioSize(c.size, c.diff, 48000, 4, c.capacity), c.wanted) << c.size << " " << c.diff;
}

TEST(PlayerMath, AudioDriftIsCorrectedAfterTwentyMeasurements) {
    struct Case {
        const char* name;
        std::vector<double> diffs;
        bool corrects; // after the last one
    } cases[] = {
        {"twenty measurements only fill the average", std::vector<double>(20, -0.05),                 false},
        {"the next one corrects",                                           std::vector<double>(21,                                           -0.05), true},
        {"ahead as well as behind",                                       std::vector<double>(21,                                                             0.05),                                                           true},
        {"inside the threshold",                                      std::vector<double>(30,0.01),false},
 // A jump of 10 s or more either way starts again (a negative one too).
        {"a jump behind restarts",
         [] {
             std::vector<double> d(25, -0.05);
             d.push_back(-12.0);
             return d;
         }(),
         false                                                               },
        {"a jump ahead restarts",
         [] {
             std::vector<double> d(25, -0.05);
             d.push_back(12.0);
             d.push_back(-0.05);
             return d;
         }(),
         false                                                                                      },
    };
    for (const Case& c : cases) {
        TAudioDiffAverage avg(2.0 * 1024 / 48000);
        bool last = false;
        for (double d : c.diffs) last = avg.Measure(d);
        EXPECT_EQ(last, c.corrects) << c.name;
    }
}

TEST(PlayerMath, AudioDisplayStartIsComputedIn64Bits) {
    // Long after the last callback: 48 kHz times microseconds overflows 32 bits after 45 ms.
    int start = AudioDisplayStart(1000, 131072, 4096, 2, 48000, 60000, 400);
    // delay: 1024 frames - 2880 + 800 < 400, so at least 400 frames.
    EXPECT_EQ(start, (1000 - 400 * 2 + 131072) % 131072);
    EXPECT_EQ(AudioDisplayStart(1000, 131072, 4096, 2, 48000, 0, 400),
              (1000 - (1024 + 800) * 2 + 131072) % 131072);
}

TEST(PlayEventQueue, CoalescesByKindAndDropsTheOldest) {
    struct Case {
        const char* name;
        std::vector<TPlayEventSlot> pushed, popped;
    } cases[] = {
        {"positions collapse into the newest",   {{1, 10}, {1, 20}, {1, 30}},                      {{1, 30}}        },
        {"a state behind positions is kept",     {{1, 10}, {1, 20}, {2, 4}},                       {{1, 20}, {2, 4}}},
        {"a later state replaces a pending one", {{2, 0}, {2, 1}},                                 {{2, 1}}         },
        {"alternating kinds keep their order",
         {{1, 1}, {2, 0}, {1, 2}, {2, 1}},
         {{1, 1}, {2, 0}, {1, 2}, {2, 1}}                                                                           },
        {"at most nine pending: the oldest go",
         {{1, 1}, {2, 0}, {1, 2}, {2, 1}, {1, 3}, {2, 2}, {1, 4}, {2, 3}, {1, 5}, {2, 4}, {1, 6}},
         {{1, 2}, {2, 1}, {1, 3}, {2, 2}, {1, 4}, {2, 3}, {1, 5}, {2, 4}, {1, 6}}                                   },
    };
    for (const Case& c : cases) {
        TPlayEventQueue q;
        for (const TPlayEventSlot& e : c.pushed) q.Push(e.Kind, e.Value);
        std::vector<TPlayEventSlot> got;
        for (TPlayEventSlot e = q.Pop(); e.Kind != pekNone; e = q.Pop()) got.push_back(e);
        ASSERT_EQ(got.size(), c.popped.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Kind, c.popped[i].Kind) << c.name << " #" << i;
            EXPECT_EQ(got[i].Value, c.popped[i].Value) << c.name << " #" << i;
        }
        EXPECT_TRUE(q.Empty()) << c.name;
    }
}

TEST(PacketQueue, FlushingNeverFreesTheFlushPacket) {
    fixtures::LoadMediaLibraries();
    TPacketQueue q;
    q.Init();
    AVPacket* pkt = av::av_packet_alloc();
    ASSERT_EQ(av::av_new_packet(pkt, 100), 0);
    // Two seeks in a row: each flushes and puts the flush packet again.
    for (int seek = 0; seek < 2; ++seek) {
        ASSERT_EQ(q.Put(pkt), 0);
        q.Flush();
        ASSERT_EQ(q.Put(FlushPacket()), 0);
    }
    q.Flush();
    ASSERT_EQ(q.Put(FlushPacket()), 0);
    ASSERT_EQ(q.Put(pkt), 0);
    EXPECT_EQ(q.Size(), TPacketQueue::NodeOverhead * 2 + 100);
    AVPacket* out = av::av_packet_alloc();
    ASSERT_EQ(q.Get(out, false), 1);
    EXPECT_TRUE(IsFlushPacket(out));
    av::av_packet_unref(out);
    ASSERT_EQ(q.Get(out, false), 1);
    EXPECT_EQ(out->size, 100);
    EXPECT_EQ(q.Get(out, false), 0);
    q.Abort();
    EXPECT_EQ(q.Get(out, true), -1);
    EXPECT_TRUE(IsFlushPacket(FlushPacket()));
    av::av_packet_free(&out);
    av::av_packet_free(&pkt);
}
