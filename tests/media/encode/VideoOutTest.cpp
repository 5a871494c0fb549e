// Decoded pictures to encoder frames: video sync, the frame limit, crop and
// scaling, the custom hook, deinterlacing, post hooks and statistics.
#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "EncodeTestSupport.h"

using namespace encodetest;

namespace {

class VideoOutTest : public enginetest::EngineTest {
protected:
    void Streams(int inW, int inH, int outW, int outH) {
        FreeStreams();
        dec = VideoContext(inW, inH, AV_PIX_FMT_YUV420P);
        enc = VideoContext(outW, outH, AV_PIX_FMT_YUV420P);
        ist.dec_ctx = dec.get();
        ost.enc_ctx = enc.get();
        ost.sync_ist = &ist;
        ost.resample_width = inW;
        ost.resample_height = inH;
        ost.resample_pix_fmt = AV_PIX_FMT_YUV420P;
        ost.video_resample = inW != outW || inH != outH;
        ost.original_width = inW;
        ost.original_height = inH;
    }
    // One picture at input time t (microseconds); returns the copies encoded.
    int Out(int64_t t, uint8_t value = 60, int w = 0, int h = 0) {
        ist.pts = t;
        media::TFramePtr picture =
            Picture(w ? w : dec->width, h ? h : dec->height, AV_PIX_FMT_YUV420P, value);
        const size_t before = sizes.size();
        media::EncodeVideoFrame(E(), nullptr, &ost, &ist, picture.get(), [&](AVFrame* f) {
            sizes.emplace_back(f->width, f->height);
            pts.push_back(f->pts);
            luma.push_back(f->data[0][0]);
            return 100;
        });
        return static_cast<int>(sizes.size() - before);
    }
    void FreeStreams() {
        av::sws_freeContext(ost.img_resample_ctx);
        av::av_frame_free(&ost.pict_tmp);
        ost = media::TAVOutputStream{};
        sizes.clear();
        pts.clear();
        luma.clear();
    }
    void TearDown() override {
        FreeStreams();
        EngineTest::TearDown();
    }

    media::TCodecContextPtr dec, enc;
    media::TAVInputStream ist;
    media::TAVOutputStream ost;
    std::vector<std::pair<int, int>> sizes;
    std::vector<int64_t> pts;
    std::vector<uint8_t> luma;
};

struct SyncCase {
    int method;
    double ticks_ahead; // input time minus sync_opts, in encoder ticks
    int frames;
    int64_t sync_opts_before_output; // where the copies start
};

TEST_F(VideoOutTest, VideoSyncDuplicatesDropsAndRetimes) {
    const SyncCase cases[] = {
        {1, 2.4,   2, 10},
        {1, -1.2,  0, 10},
        {1, -1.0,  1, 10},
        {1, 1.0,   1, 10},
        {2, 0.7,   1, 11},
        {2, -0.65, 0, 10},
        {2, 0.5,   1, 10},
        {0, 3.0,   1, 13},
    };
    for (const SyncCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << " ahead " << c.ticks_ahead);
        Streams(32, 16, 32, 16);
        E().SetVideoSyncMethod(c.method);
        E().Fnb_frames_dup = E().Fnb_frames_drop = 0;
        ost.sync_opts = 10;
        pts.clear();
        const int64_t t = static_cast<int64_t>((10 + c.ticks_ahead) * 40000);
        EXPECT_EQ(Out(t), c.frames);
        if (c.frames) {
            EXPECT_EQ(pts[0], c.sync_opts_before_output);
        }
        EXPECT_EQ(E().Fnb_frames_drop, c.frames == 0 ? 1 : 0);
        EXPECT_EQ(E().Fnb_frames_dup, c.frames > 1 ? c.frames - 1 : 0);
        EXPECT_EQ(ost.sync_opts, c.sync_opts_before_output + c.frames);
    }
}

TEST_F(VideoOutTest, FrameLimitAndStopRequestEndTheOutput) {
    Streams(32, 16, 32, 16);
    E().SetOption("vframes", "10");
    int written = 0;
    for (int i = 0; i < 15; ++i) written += Out(i * 40000);
    EXPECT_EQ(written, 10);
    EXPECT_EQ(ost.frame_number, 10);

    // A stop request cuts a run of duplicates short.
    Streams(32, 16, 32, 16);
    E().Fmax_frames[AVMEDIA_TYPE_VIDEO] = INT32_MAX;
    ost.frame_number = 0;
    ost.sync_opts = 0;
    sizes.clear();
    int copies = 0;
    ist.pts = 5 * 40000;
    media::TFramePtr picture = Picture(32, 16, AV_PIX_FMT_YUV420P, 1);
    media::EncodeVideoFrame(E(), nullptr, &ost, &ist, picture.get(), [&](AVFrame*) {
        if (++copies == 2) E().FBroken = true;
        return 0;
    });
    EXPECT_EQ(copies, 2);
    E().FBroken = false;
}

TEST_F(VideoOutTest, CropAndScaleGiveTheEncoderSize) {
    Streams(64, 48, 32, 16);
    ost.video_crop = 1;
    ost.topBand = ost.bottomBand = ost.original_topBand = ost.original_bottomBand = 8;
    ost.resample_height = 48 - 16;
    ASSERT_EQ(Out(0, 90), 1);
    EXPECT_EQ(sizes[0], std::make_pair(32, 16));
    EXPECT_EQ(luma[0], 90);

    // Crop without scaling: a view of the picture at the cropped size.
    Streams(64, 48, 64, 32);
    ost.video_crop = 1;
    ost.topBand = ost.bottomBand = 8;
    ost.resample_height = 32;
    ost.video_resample = 0;
    sizes.clear();
    ASSERT_EQ(Out(0), 1);
    EXPECT_EQ(sizes[0], std::make_pair(64, 32));
}

TEST_F(VideoOutTest, AGrowingInputKeepsItsBandsInProportion) {
    Streams(640, 480, 320, 224);
    ost.video_crop = 1;
    ost.topBand = ost.bottomBand = ost.original_topBand = ost.original_bottomBand = 8;
    ost.resample_height = 480 - 16;
    ASSERT_EQ(Out(0, 60), 1);
    ASSERT_EQ(Out(40000, 60, 1280, 720), 1);
    EXPECT_EQ(ost.topBand, 12);
    EXPECT_EQ(ost.bottomBand, 12);
    EXPECT_EQ(ost.resample_height, 720 - 24);
    EXPECT_EQ(ost.resample_width, 1280);
    EXPECT_EQ(sizes[1], std::make_pair(320, 224));
    EXPECT_TRUE(Logged(media::llQuiet, "Input Stream #0.0 frame size changed to 1280x720, yuv420p"));

    // A stream set up without a scaler follows a change too.
    Streams(32, 16, 32, 16);
    sizes.clear();
    ASSERT_EQ(Out(0, 60, 64, 32), 1);
    EXPECT_EQ(sizes[0], std::make_pair(32, 16));
}

TEST_F(VideoOutTest, CustomHookChangesThePictureUntilItAsksToStop) {
    int calls = 0;
    int64_t seen_pts = -1;
    E().FOnCustomHook = [&](os::TObject*, media::TFrameBitmap* bmp, int32_t, int64_t pts, bool&, bool& stop) {
        ++calls;
        seen_pts = pts;
        for (int y = 0; y < bmp->Height(); ++y)
            for (int x = 0; x < bmp->Width() * 3; ++x) bmp->ScanLine(y)[x] ^= 0xFF;
        stop = calls == 2;
    };
    media::TFramePtr picture = Picture(32, 16, AV_PIX_FMT_YUV420P, 40);
    ist.pts = 777;
    AVFrame* out = media::PreprocessPicture(E(), &ist, picture.get());
    EXPECT_GT(out->data[0][0], 200); // inverted
    EXPECT_EQ(seen_pts, 777);
    media::PreprocessPicture(E(), &ist, picture.get());
    out = media::PreprocessPicture(E(), &ist, picture.get());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(out->data[0][0], 40); // the hook is off for the rest of the run
    EXPECT_EQ(E().FHookFrameNumber, 3);

    // A hook that raises is logged and its changes are not taken.
    E().FOnCustomHook = [](os::TObject*, media::TFrameBitmap* bmp, int32_t, int64_t, bool&, bool&) {
        bmp->ScanLine(0)[0] = 0;
        throw std::runtime_error("boom");
    };
    out = media::PreprocessPicture(E(), &ist, picture.get());
    EXPECT_TRUE(Logged(media::llError, "Error occurs OnCustomHook: boom"));
    EXPECT_NEAR(out->data[0][0], 40, 2);
    E().FOnCustomHook = nullptr;
}

TEST_F(VideoOutTest, DeinterlacingRebuildsOddLinesAndRefusesOtherFormats) {
    E().SetOption("deinterlace", "1");
    media::TFramePtr picture = Picture(16, 8, AV_PIX_FMT_YUV420P, 0);
    for (int y = 0; y < 8; y += 2) std::memset(picture->data[0] + y * picture->linesize[0], 200, 16);
    AVFrame* out = media::PreprocessPicture(E(), &ist, picture.get());
    EXPECT_EQ(out->data[0][0], 200);                    // even lines stay
    EXPECT_EQ(out->data[0][3 * out->linesize[0]], 200); // odd lines: (-200+800+0+800-200)/8
    EXPECT_EQ(picture->data[0][3 * picture->linesize[0]], 0);

    media::TFramePtr rgb(av::av_frame_alloc());
    rgb->width = 8;
    rgb->height = 8;
    rgb->format = AV_PIX_FMT_RGB24;
    av::av_frame_get_buffer(rgb.get(), 0);
    std::memset(rgb->data[0], 9, static_cast<size_t>(rgb->linesize[0]) * 8);
    out = media::PreprocessPicture(E(), &ist, rgb.get());
    EXPECT_TRUE(Logged(media::llError, "Deinterlacing failed."));
    EXPECT_EQ(out->data[0][0], 9); // goes on with the picture as decoded
}

TEST_F(VideoOutTest, PostHookEventRunsOutsideTheHookSettingsLock) {
    Streams(32, 16, 32, 16);
    int events = 0;
    E().FOnPreviewBitmap = [&](os::TObject*, media::TFrameBitmap* bmp, int32_t, int64_t) {
        ++events;
        EXPECT_EQ(bmp->Width(), 32);
        // What the GUI thread does while the worker waits for it: change the
        // task's hooks, which takes the lock.
        auto gui = std::async(std::launch::async, [&] { E().SetPostHooks({media::phBitmap}); });
        EXPECT_EQ(gui.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    };
    E().SetPostHooks({media::phBitmap});
    E().PreviewInterval = 1000000000; // only the first picture
    Out(0);
    Out(40000);
    EXPECT_EQ(events, 1);
}

TEST_F(VideoOutTest, VideoStatisticsLine) {
    fixtures::TempFolder folder("vstats");
    E().SetOption("vstats_file", folder.Path("v.log"));
    Streams(32, 16, 32, 16);
    ost.frame_number = 3;
    ost.sync_opts = 50;
    E().Fvideo_size = 10240;
    media::WriteVideoStats(E(), &ost, 500, {2 * FF_QP2LAMBDA, 0, AV_PICTURE_TYPE_P});
    std::fclose(E().Fvstats_file);
    E().Fvstats_file = nullptr;
    std::ifstream in(folder.Path("v.log"));
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "frame=     3 q= 2.0 f_size=    500 s_size=       10kB time= 2.000 br=   "
                          "100.0kbits/s avg_br=    41.0kbits/s type= P\n");
    E().SetOption("vstats_file", "/no/such/folder/v.log");
    EXPECT_EQ(Raised([&] { media::WriteVideoStats(E(), &ost, 1, {}); }), "fopen fail: /no/such/folder/v.log");
}

} // namespace
