// The player against real clips: SDL draws off-screen, pictures reach a test
// host through the frame sink, audio goes through SDL's dummy, disk or ALSA
// drivers.  SDL is process-wide, so every test runs in a process of its own.
#include <algorithm>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "fixtures/Fixtures.h"
#include "media/AVApi.h"
#include "media/FFLogger.h"
#include "media/FFPlayer.h"
#include "media/FFUtils.h"
#include "media/MediaErrors.h"
#include "os/FrameSink.h"
#include "os/MainThread.h"

using namespace media;
using fixtures::ClipKind;
using fixtures::ClipOptions;

namespace {

constexpr uintptr_t kHost = 0x5150;

// Waits for the condition with a deadline, running the GUI thread's calls
// (the player's events) meanwhile.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = 15000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (cond()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        os::CheckSynchronize(5);
    }
}

void Pump(int ms) {
    WaitUntil([] { return false; }, ms);
}

// The host window's side: keeps a copy of the picture and the frame number
// it shows after every rectangle.
class TestHost {
public:
    TestHost() {
        os::RegisterFrameSink(kHost,
                              os::FrameSinkHost{[this](const os::FrameRect& r) { Paint(r); }, nullptr});
    }
    ~TestHost() { os::UnregisterFrameSink(kHost); }
    std::vector<int> Frames() const {
        std::lock_guard<std::mutex> g(m_);
        return frames_;
    }
    int Last() const {
        std::lock_guard<std::mutex> g(m_);
        return frames_.empty() ? -1 : frames_.back();
    }
    // 0x00RRGGBB of the host's copy, 0 outside it.
    uint32_t Pixel(int x, int y) const {
        std::lock_guard<std::mutex> g(m_);
        return x < w_ && y < h_ ? image_[static_cast<size_t>(y) * w_ + x] : 0;
    }
    int Width() const {
        std::lock_guard<std::mutex> g(m_);
        return w_;
    }
    int Height() const {
        std::lock_guard<std::mutex> g(m_);
        return h_;
    }
    int NarrowRects() const {
        std::lock_guard<std::mutex> g(m_);
        return narrow_;
    }

private:
    void Paint(const os::FrameRect& r) {
        std::lock_guard<std::mutex> g(m_);
        if (r.w == 1) ++narrow_;
        if (w_ != r.surfaceWidth || h_ != r.surfaceHeight) {
            w_ = r.surfaceWidth;
            h_ = r.surfaceHeight;
            image_.assign(static_cast<size_t>(w_) * h_, 0);
        }
        for (int y = 0; y < r.h; ++y) {
            const auto* src = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(r.pixels) +
                                                                static_cast<ptrdiff_t>(y) * r.pitch);
            std::copy(src, src + r.w, image_.begin() + static_cast<ptrdiff_t>(r.y + y) * w_ + r.x);
        }
        int n = fixtures::ReadFrameNumber(reinterpret_cast<const uint8_t*>(image_.data()), w_ * 4, w_, h_, 4);
        if (n >= 0 && (frames_.empty() || frames_.back() != n)) frames_.push_back(n);
    }
    mutable std::mutex m_;
    int w_ = 0, h_ = 0;
    std::vector<uint32_t> image_;
    std::vector<int> frames_;
    int narrow_ = 0;
};

// The events as the GUI thread receives them.
struct Recorder {
    std::vector<TPlayState> states;
    std::vector<int64_t> positions;
    int64_t duration = NoTime;
    int frameWidth = 0, frameHeight = 0;
    void Attach(TCustomPlayer& p) {
        p.OnState = [this](os::TObject*, TPlayState s) { states.push_back(s); };
        p.OnPosition = [this](os::TObject*, int64_t pts) { positions.push_back(pts); };
        p.OnFileOpen = [this](os::TObject*, int64_t d, int w, int h, int&, int&) {
            duration = d;
            frameWidth = w;
            frameHeight = h;
        };
    }
    bool Has(TPlayState s) const { return std::find(states.begin(), states.end(), s) != states.end(); }
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(player.LoadAVLib("")) << player.LastErrMsg();
        rec.Attach(player);
    }
    std::string Clip(ClipOptions o = {}, const std::string& name = "") {
        return fixtures::MakeClip(folder, o, name);
    }

    fixtures::TempFolder folder{"player"};
    TestHost host;
    Recorder rec;
    TFFPlayer player;
};

// Positions follow the video clock, which runs on with the wall clock after
// each picture: a late picture may set it back a little.
bool Rising(const std::vector<int64_t>& v) {
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i] < v[i - 1] - 200000) return false;
    return v.size() > 1 && v.front() < v.back();
}

// A copy of the clip with its audio stream twice (stream 1 and 2).
std::string WithSecondAudio(const std::string& in, const std::string& out) {
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, in.c_str(), nullptr, nullptr) < 0)
        throw std::runtime_error("open " + in);
    av::avformat_find_stream_info(ic, nullptr);
    AVFormatContext* oc = nullptr;
    av::avformat_alloc_output_context2(&oc, nullptr, "matroska", out.c_str());
    std::vector<std::vector<int>> map(ic->nb_streams);
    auto add = [&](unsigned i) {
        AVStream* os = av::avformat_new_stream(oc, nullptr);
        av::avcodec_parameters_copy(os->codecpar, ic->streams[i]->codecpar);
        os->codecpar->codec_tag = 0;
        os->time_base = ic->streams[i]->time_base;
        map[i].push_back(os->index);
    };
    for (unsigned i = 0; i < ic->nb_streams; ++i) add(i);
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        if (ic->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) add(i);
    if (av::avio_open(&oc->pb, out.c_str(), AVIO_FLAG_WRITE) < 0 ||
        av::avformat_write_header(oc, nullptr) < 0)
        throw std::runtime_error("write " + out);
    AVPacket* pkt = av::av_packet_alloc();
    AVPacket* copy = av::av_packet_alloc();
    while (av::av_read_frame(ic, pkt) >= 0) {
        for (int o : map[pkt->stream_index]) {
            av::av_packet_ref(copy, pkt);
            av::av_packet_rescale_ts(copy, ic->streams[pkt->stream_index]->time_base,
                                     oc->streams[o]->time_base);
            copy->stream_index = o;
            av::av_interleaved_write_frame(oc, copy);
        }
        av::av_packet_unref(pkt);
    }
    av::av_write_trailer(oc);
    av::avio_closep(&oc->pb);
    av::avformat_free_context(oc);
    av::avformat_close_input(&ic);
    av::av_packet_free(&pkt);
    av::av_packet_free(&copy);
    return out;
}

// A copy of the clip's video with a bitmap subtitle: an opaque white bar at
// (20, 180), 100 x 20, shown for the first second.
std::string WithSubtitle(const std::string& in, const std::string& out) {
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, in.c_str(), nullptr, nullptr) < 0)
        throw std::runtime_error("open " + in);
    av::avformat_find_stream_info(ic, nullptr);
    AVFormatContext* oc = nullptr;
    av::avformat_alloc_output_context2(&oc, nullptr, "matroska", out.c_str());
    AVStream* vs = av::avformat_new_stream(oc, nullptr);
    av::avcodec_parameters_copy(vs->codecpar, ic->streams[0]->codecpar);
    vs->codecpar->codec_tag = 0;
    vs->time_base = ic->streams[0]->time_base;

    const AVCodec* codec = av::avcodec_find_encoder_by_name("dvdsub");
    AVCodecContext* enc = av::avcodec_alloc_context3(codec);
    enc->width = 320;
    enc->height = 240;
    enc->time_base = AVRational{1, 1000};
    if (av::avcodec_open2(enc, codec, nullptr) < 0) throw std::runtime_error("dvdsub");
    AVStream* ss = av::avformat_new_stream(oc, nullptr);
    av::avcodec_parameters_from_context(ss->codecpar, enc);
    ss->time_base = AVRational{1, 1000};

    if (av::avio_open(&oc->pb, out.c_str(), AVIO_FLAG_WRITE) < 0 ||
        av::avformat_write_header(oc, nullptr) < 0)
        throw std::runtime_error("write " + out);

    std::vector<uint8_t> indices(100 * 20, 1);
    uint32_t palette[4] = {0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF808080};
    AVSubtitleRect rect{};
    rect.x = 20;
    rect.y = 180;
    rect.w = 100;
    rect.h = 20;
    rect.nb_colors = 4;
    rect.type = SUBTITLE_BITMAP;
    rect.data[0] = indices.data();
    rect.linesize[0] = 100;
    rect.data[1] = reinterpret_cast<uint8_t*>(palette);
    AVSubtitleRect* rects[1] = {&rect};
    AVSubtitle sub{};
    sub.format = 0;
    sub.start_display_time = 0;
    sub.end_display_time = 1000;
    sub.num_rects = 1;
    sub.rects = rects;
    sub.pts = 0;
    std::vector<uint8_t> buf(64 * 1024);
    int size = av::avcodec_encode_subtitle(enc, buf.data(), static_cast<int>(buf.size()), &sub);
    if (size <= 0) throw std::runtime_error("encode subtitle");
    AVPacket* pkt = av::av_packet_alloc();
    av::av_new_packet(pkt, size);
    std::copy(buf.begin(), buf.begin() + size, pkt->data);
    pkt->pts = pkt->dts = 0;
    pkt->duration = 1000;
    pkt->stream_index = ss->index;
    pkt->time_base = ss->time_base;
    av::av_interleaved_write_frame(oc, pkt);
    while (av::av_read_frame(ic, pkt) >= 0) {
        if (pkt->stream_index == 0) {
            av::av_packet_rescale_ts(pkt, ic->streams[0]->time_base, vs->time_base);
            pkt->stream_index = vs->index;
            av::av_interleaved_write_frame(oc, pkt);
        }
        av::av_packet_unref(pkt);
    }
    av::av_write_trailer(oc);
    av::avio_closep(&oc->pb);
    av::avformat_free_context(oc);
    av::avformat_close_input(&ic);
    av::avcodec_free_context(&enc);
    av::av_packet_free(&pkt);
    return out;
}

bool Whitish(uint32_t p) {
    return (p & 0xFF) > 0xE0 && ((p >> 8) & 0xFF) > 0xE0 && ((p >> 16) & 0xFF) > 0xE0;
}

} // namespace

// A 2 s clip plays to its end through each audio driver the tests can use;
// ALSA's "null" device runs the real ALSA path without pacing.
struct DriverCase {
    const char* name;
    const char* driver;
};

class PlayerDriverTest : public PlayerTest, public ::testing::WithParamInterface<DriverCase> {};

TEST_P(PlayerDriverTest, PlaysToTheEnd) {
    const DriverCase& c = GetParam();
    ::setenv("SDL_AUDIODRIVER", c.driver, 1);
    ::setenv("SDL_DISKAUDIOFILE", folder.Path("audio.raw").c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", "23", 1); // one buffer of 1024 frames
    ::setenv("AUDIODEV", "null", 1);
    std::string clip = Clip();
    ASSERT_TRUE(player.Open(clip, kHost, false)) << player.LastErrMsg();
    // The position goes on with the clock after the last picture until it
    // reaches the duration.
    ASSERT_TRUE(WaitUntil(
        [&] { return rec.Has(psEnd) && !rec.positions.empty() && rec.positions.back() == rec.duration; },
        30000));
    EXPECT_EQ(rec.states.front(), psPlay);
    // Without pacing the pictures are shown as fast as the machine allows, and a stall of a
    // loaded machine sets the video clock back by its length: only paced drivers promise a
    // smooth position.
    if (std::string(c.driver) != "alsa") {
        EXPECT_TRUE(Rising(rec.positions));
    }
    EXPECT_GT(rec.duration, 1900000);
    EXPECT_EQ(rec.frameWidth, 320);
    EXPECT_EQ(rec.frameHeight, 240);
    std::vector<int> frames = host.Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(std::is_sorted(frames.begin(), frames.end()));
    EXPECT_GE(frames.back(), 45);
    player.Stop(true);
    ASSERT_TRUE(WaitUntil([&] { return rec.states.back() == psStop; }));
}

INSTANTIATE_TEST_SUITE_P(Drivers, PlayerDriverTest,
                         ::testing::Values(DriverCase{"dummy", "dummy"}, DriverCase{"disk", "disk"},
                                           DriverCase{"alsa", "alsa"},
                                           // A box without sound still shows the video.
                                           DriverCase{"without_sound", "no-such-driver"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Pictures the decoder holds back (B-frames) come out at the end of input.
TEST_F(PlayerTest, HeldBackPicturesAreShownAtTheEnd) {
    ClipOptions o;
    o.maxBFrames = 2;
    ASSERT_TRUE(player.Open(Clip(o), kHost, false)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psEnd); }, 30000));
    Pump(200);
    EXPECT_EQ(host.Last(), 49);
}

TEST_F(PlayerTest, OpeningPausedShowsTheFirstFrame) {
    ASSERT_TRUE(player.Open(Clip(), kHost, true)) << player.LastErrMsg();
    EXPECT_TRUE(player.Paused());
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause) && host.Last() >= 0; }));
    Pump(300);
    EXPECT_EQ(host.Frames(), std::vector<int>{0});
    EXPECT_FALSE(rec.Has(psEnd));
    int64_t pts = NoTime;
    const TFrameBitmap& bmp = player.CurrentFrame(pts);
    EXPECT_EQ(pts, 0);
    ASSERT_EQ(bmp.Width(), 320);
    ASSERT_EQ(bmp.Height(), 240);
    EXPECT_EQ(fixtures::ReadFrameNumber(bmp.ScanLine(0), bmp.Stride(), bmp.Width(), bmp.Height(), 3), 0);
    EXPECT_EQ(&player.CurrentFrame(), &bmp);
}

TEST_F(PlayerTest, CurrentFrameWithNothingOpenIsEmpty) {
    int64_t pts = 0;
    const TFrameBitmap& bmp = player.CurrentFrame(pts);
    EXPECT_EQ(pts, -1);
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 0);
    EXPECT_EQ(&player.CurrentFrame(), &bmp);
    EXPECT_TRUE(player.Paused());
    EXPECT_EQ(player.VideoStreamIndex(), -1);
}

// All key frames: the seek lands on frame 25; otherwise on the key frame before.
struct SeekCase {
    const char* name;
    int gop;
    int frame;
};

class PlayerSeekTest : public PlayerTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(PlayerSeekTest, SeekToOneSecondShowsTheFrameThere) {
    ClipOptions o;
    o.gopSize = GetParam().gop;
    ASSERT_TRUE(player.Open(Clip(o), kHost, true)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause) && host.Last() == 0; }));
    player.Seek(static_cast<int64_t>(1000000), TSeekFlags{}, true);
    EXPECT_FALSE(player.Seeking());
    ASSERT_TRUE(WaitUntil([&] { return host.Last() != 0; }));
    Pump(200);
    EXPECT_EQ(host.Frames(), (std::vector<int>{0, GetParam().frame}));
}

INSTANTIATE_TEST_SUITE_P(Clips, PlayerSeekTest,
                         ::testing::Values(SeekCase{"all_key_frames", 1, 25}, SeekCase{"gop12", 12, 24}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, StepTwiceAdvancesOneFrameEach) {
    ASSERT_TRUE(player.Open(Clip(), kHost, true)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause) && host.Last() == 0; }));
    Pump(100);
    player.StepToNextFrame();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() >= 1; }));
    Pump(200);
    EXPECT_EQ(host.Frames(), (std::vector<int>{0, 1}));
    player.StepToNextFrame();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() >= 2; }));
    Pump(200);
    EXPECT_EQ(host.Frames(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(std::count(rec.states.begin(), rec.states.end(), psStep), 1);
    EXPECT_TRUE(player.Paused());
    player.Resume();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() > 5; }));
}

TEST_F(PlayerTest, PauseAndResumeReportOnlyChanges) {
    ASSERT_TRUE(player.Open(Clip(), kHost, false)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() > 2; }));
    player.Resume(); // already playing: nothing
    player.Pause();
    player.Pause(); // already paused: nothing
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause); }));
    Pump(100);
    int shown = host.Last();
    Pump(300);
    EXPECT_EQ(host.Last(), shown);
    player.Resume();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psResume); }));
    ASSERT_TRUE(WaitUntil([&] { return host.Last() > shown; }));
    EXPECT_EQ(std::count(rec.states.begin(), rec.states.end(), psPause), 1);
}

TEST_F(PlayerTest, ErrorTexts) {
    std::string clip = Clip();
    std::string missing = folder.Path("missing.mp4");
    EXPECT_FALSE(player.Open(missing, kHost, false));
    EXPECT_EQ(player.LastErrMsg(), ErrorText(missing, AVERROR(ENOENT)));

    player.DisableAudio = true;
    player.DisableVideo = true;
    EXPECT_FALSE(player.Open(clip, kHost, false));
    EXPECT_EQ(player.LastErrMsg(), clip + ": could not open codecs, no stream to play.");
    player.DisableAudio = false;
    player.DisableVideo = false;

    ASSERT_TRUE(player.Open(clip, kHost, false)) << player.LastErrMsg();
    ASSERT_EQ(player.VideoStreamIndex(), 0);
    ASSERT_EQ(player.AudioStreamIndex(), 1);
    player.SetVideoStreamIndex(1);
    EXPECT_EQ(player.LastErrMsg(), "the stream type is not matched.");
    EXPECT_EQ(player.VideoStreamIndex(), 0);
    player.SetAudioStreamIndex(7);
    EXPECT_EQ(player.LastErrMsg(), "the stream index is not valid.");
    EXPECT_EQ(player.AudioStreamIndex(), 1);

    try {
        player.SetFormat("no-such-format");
        FAIL() << "no exception";
    } catch (const FFmpegException& e) {
        EXPECT_STREQ(e.what(), "Unknown input format: no-such-format");
    }
    EXPECT_EQ(player.Format(), "");
}

TEST(PlayerWithoutLibraries, OpenSaysTheLibrariesAreMissing) {
    TFFPlayer player;
    if (player.AVLibLoaded()) GTEST_SKIP() << "the libraries were loaded by an earlier test of this process";
    EXPECT_FALSE(player.Open("clip.mp4", kHost, false));
    EXPECT_EQ(player.LastErrMsg(), "libav or libsdl not loaded.");
    player.SetFormat("mp4");
    EXPECT_EQ(player.LastErrMsg(), "libav or libsdl not loaded.");
    EXPECT_EQ(player.Format(), "");
}

// The fixture's tone (half of full scale) as SDL's disk driver writes it.
struct VolumeCase {
    const char* name;
    int volume;
    bool mute, paused;
    int peak; // of 16-bit samples
};

class PlayerVolumeTest : public PlayerTest, public ::testing::WithParamInterface<VolumeCase> {};

TEST_P(PlayerVolumeTest, ToneLevel) {
    const VolumeCase& c = GetParam();
    std::string raw = folder.Path("audio.raw");
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", "23", 1);
    ClipOptions o;
    o.kind = ClipKind::Wav;
    std::string clip = Clip(o);
    player.SetAudioVolume(c.volume);
    player.SetMute(c.mute);
    ASSERT_TRUE(player.Open(clip, kHost, c.paused)) << player.LastErrMsg();
    // Half a second of sound.
    auto written = [&] {
        std::error_code ec;
        return std::filesystem::file_size(raw, ec);
    };
    ASSERT_TRUE(
        WaitUntil([&] { return written() >= 44100 * 4 / 2 && written() != static_cast<uintmax_t>(-1); }));
    player.Stop(true);
    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t s =
            static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    if (c.peak == 0)
        EXPECT_EQ(peak, 0);
    else
        EXPECT_NEAR(peak, c.peak, c.peak / 50);
}

INSTANTIATE_TEST_SUITE_P(Levels, PlayerVolumeTest,
                         ::testing::Values(VolumeCase{"full", 128, false, false, 16383},
                                           VolumeCase{"half", 64, false, false, 8191},
                                           VolumeCase{"zero", 0, false, false, 0},
                                           VolumeCase{"muted", 128, true, false, 0},
                                           VolumeCase{"paused", 128, false, true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, OpenAndStopFiftyTimes) {
    std::string clip = Clip(ClipOptions{.seconds = 1.0});
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(player.Open(clip, kHost, i % 2 == 1)) << i << ": " << player.LastErrMsg();
        if (i % 5 == 0) Pump(50);
        player.Stop(true);
        ASSERT_EQ(rec.states.empty() ? psStop : rec.states.back(), psStop) << i;
    }
    EXPECT_TRUE(player.Paused());
}

TEST_F(PlayerTest, SecondOpenEndsTheFirstPlaybackFirst) {
    std::string clip = Clip();
    ASSERT_TRUE(player.Open(clip, kHost, false));
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPlay) && host.Last() > 0; }));
    player.start_time = 500000; // reset when the playback ends
    ASSERT_TRUE(player.Open(clip, kHost, false));
    EXPECT_EQ(player.start_time.load(), NoTime);
    // Every state of the first playback has been delivered, its stop last.
    EXPECT_EQ(rec.states.back(), psStop);
    size_t before = rec.states.size();
    ASSERT_TRUE(WaitUntil([&] { return rec.states.size() > before; }));
    EXPECT_EQ(rec.states[before], psPlay);
    player.Stop(true);
    EXPECT_EQ(rec.states.back(), psStop);
}

TEST_F(PlayerTest, SwitchingAudioStreamsWhilePlaying) {
    std::string clip = WithSecondAudio(Clip(), folder.Path("two-audio.mkv"));
    ASSERT_TRUE(player.Open(clip, kHost, false)) << player.LastErrMsg();
    ASSERT_EQ(player.AudioStreamIndex(), 1);
    for (int i = 0; i < 10; ++i) {
        int next = player.AudioStreamIndex() == 1 ? 2 : 1;
        player.SetAudioStreamIndex(next);
        EXPECT_EQ(player.AudioStreamIndex(), next);
        player.SetVideoStreamIndex(0); // the same stream: nothing
        Pump(30);
    }
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psEnd); }, 30000));
    EXPECT_GE(host.Last(), 45);
}

TEST_F(PlayerTest, QuickSeeksOneAfterAnother) {
    ASSERT_TRUE(player.Open(Clip(), kHost, false)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() >= 0; }));
    for (int i = 0; i < 20; ++i) {
        player.Seek(static_cast<int64_t>(500000), TSeekFlags{}, false);
        player.Seek(static_cast<int64_t>(1500000), TSeekFlags{}, false);
        Pump(i % 3 * 10);
    }
    player.Seek(0.5, TSeekFlags{}, true);
    const size_t shownBefore = host.Frames().size();
    player.Seek(static_cast<int64_t>(0), TSeekFlags{sfBackward}, true);
    // Any picture from the start shown after the last seek; on a loaded machine
    // playback may already have moved on by the time this looks.
    ASSERT_TRUE(WaitUntil([&] {
        auto frames = host.Frames();
        return std::any_of(frames.begin() + std::min(shownBefore, frames.size()), frames.end(),
                           [](int f) { return f >= 0 && f < 12; });
    }));
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psEnd); }, 30000));
}

// Paused, a burst of quick seeks and then a waiting one: the waiting seek returns with its
// own picture on the screen (it used to wait for ever when a picture of the burst ended
// the pause wake-up before the last seek's flush went out).
TEST_F(PlayerTest, WaitingSeekWhilePausedAfterQuickSeeksShowsItsPicture) {
    ASSERT_TRUE(player.Open(Clip(), kHost, true)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause) && host.Last() == 0; }));
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 10; ++i) {
            player.Seek(static_cast<int64_t>(500000 + 100000 * (i % 5)), TSeekFlags{}, false);
            Pump(i % 3 * 5);
        }
        const int64_t target = round % 2 ? 1000000 : 0;
        player.Seek(target, TSeekFlags{sfBackward}, true);
        EXPECT_FALSE(player.Seeking());
        ASSERT_TRUE(WaitUntil([&] { return std::abs(host.Last() - static_cast<int>(target / 40000)) <= 12; }))
            << "round " << round << " shows " << host.Last();
        EXPECT_TRUE(player.Paused());
    }
}

// What the preview does at the end: back to the start, paused; playing again plays the clip
// through before the next end.
TEST_F(PlayerTest, PlayingAgainAfterRewindingAtTheEndPlaysTheClip) {
    ASSERT_TRUE(player.Open(Clip(), kHost, false)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psEnd); }, 30000));
    player.Seek(static_cast<int64_t>(0), TSeekFlags{sfAny}, false);
    player.Pause();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() >= 0 && host.Last() < 5; }));
    Pump(200);
    rec.states.clear();
    player.Resume();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() > 20 || rec.Has(psEnd); }, 30000));
    EXPECT_FALSE(rec.Has(psEnd)) << "ended again at frame " << host.Last();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psEnd); }, 30000));
}

// Destroying the player in each state ends every thread before the objects go.
struct DestroyCase {
    const char* name;
    std::function<void(TFFPlayer&, TestHost&)> reach;
};

class PlayerDestroyTest : public PlayerTest, public ::testing::WithParamInterface<DestroyCase> {};

TEST_P(PlayerDestroyTest, DestroyIsClean) {
    std::string clip = Clip(ClipOptions{.seconds = 1.0});
    auto p = std::make_unique<TFFPlayer>();
    Recorder r;
    r.Attach(*p);
    p->Hook = true;
    p->OnHook = [](os::TObject*, TFrameBitmap&, int64_t) {};
    if (std::string(GetParam().name) != "closed") {
        ASSERT_TRUE(p->Open(clip, kHost, false)) << p->LastErrMsg();
    }
    GetParam().reach(*p, host);
    p.reset();
    SUCCEED();
}

INSTANTIATE_TEST_SUITE_P(
    States, PlayerDestroyTest,
    ::testing::Values(
        DestroyCase{"closed", [](TFFPlayer&, TestHost&) {}},
        DestroyCase{"just_opened", [](TFFPlayer&, TestHost&) {}},
        DestroyCase{"playing", [](TFFPlayer&, TestHost& h) { WaitUntil([&] { return h.Last() > 3; }); }},
        DestroyCase{"paused",
                    [](TFFPlayer& p, TestHost& h) {
                        WaitUntil([&] { return h.Last() > 1; });
                        p.Pause();
                    }},
        DestroyCase{"stepping",
                    [](TFFPlayer& p, TestHost& h) {
                        WaitUntil([&] { return h.Last() > 1; });
                        p.StepToNextFrame();
                    }},
        DestroyCase{"seeking", [](TFFPlayer& p, TestHost&) { p.Seek(0.5, TSeekFlags{}, false); }},
        DestroyCase{"ended", [](TFFPlayer& p,
                                TestHost&) { WaitUntil([&] { return p.PlayState() == psEnd; }, 30000); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The frame hook sees the shown pictures in order, also turned upside down,
// and what it paints is what the host shows; a failing hook is logged and
// the pictures go on unhooked.
struct HookCase {
    const char* name;
    bool flip, paint, fail;
};

class PlayerHookTest : public PlayerTest, public ::testing::WithParamInterface<HookCase> {};

TEST_P(PlayerHookTest, HookSeesAndChangesThePictures) {
    const HookCase& c = GetParam();
    std::vector<int> hooked;
    std::vector<int64_t> stamps;
    std::mutex m;
    player.Hook = true;
    player.VerticalFlip = c.flip;
    player.OnHook = [&](os::TObject*, TFrameBitmap& bmp, int64_t pts) {
        std::vector<uint8_t> rows(static_cast<size_t>(bmp.Stride()) * bmp.Height());
        for (int y = 0; y < bmp.Height(); ++y) {
            int src = c.flip ? bmp.Height() - 1 - y : y;
            std::copy(bmp.ScanLine(src), bmp.ScanLine(src) + bmp.Stride(), rows.begin() + y * bmp.Stride());
        }
        {
            std::lock_guard<std::mutex> g(m);
            hooked.push_back(
                fixtures::ReadFrameNumber(rows.data(), bmp.Stride(), bmp.Width(), bmp.Height(), 3));
            stamps.push_back(pts);
        }
        if (c.fail) throw std::runtime_error("hook failed");
        if (c.paint)
            for (int y = 0; y < bmp.Height(); ++y)
                std::fill(bmp.ScanLine(y), bmp.ScanLine(y) + bmp.Stride(), 0xFF);
    };
    std::vector<std::string> logged;
    FFLogger().OnLog = [&](os::TObject*, uint32_t, TLogLevel, const std::string& msg) {
        logged.push_back(msg);
    };
    ASSERT_TRUE(player.Open(Clip(ClipOptions{.seconds = 1.0}), kHost, false)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard<std::mutex> g(m);
        return hooked.size() >= 10;
    }));
    if (c.paint) {
        // White through YUV: a little below full brightness.
        EXPECT_TRUE(WaitUntil([&] {
            uint32_t p = host.Pixel(160, 200);
            return (p & 0xFF) > 0xE0 && ((p >> 8) & 0xFF) > 0xE0 && ((p >> 16) & 0xFF) > 0xE0;
        }));
    } else {
        // The host shows the pictures themselves (read right side up).
        EXPECT_TRUE(WaitUntil([&] { return c.flip || host.Last() > 3; }));
    }
    player.Stop(true);
    FFLogger().OnLog = nullptr;
    std::lock_guard<std::mutex> g(m);
    // In order (a slow machine may skip some), each with its own time.
    EXPECT_EQ(hooked.front(), 0);
    for (size_t i = 0; i < hooked.size(); ++i) {
        if (i > 0) {
            EXPECT_GT(hooked[i], hooked[i - 1]) << i;
        }
        EXPECT_EQ(stamps[i], static_cast<int64_t>(hooked[i]) * 40000) << i;
    }
    bool failureLogged =
        std::find(logged.begin(), logged.end(), "Error occurs OnHook: hook failed") != logged.end();
    EXPECT_EQ(failureLogged, c.fail);
}

INSTANTIATE_TEST_SUITE_P(Hooks, PlayerHookTest,
                         ::testing::Values(HookCase{"plain", false, false, false},
                                           HookCase{"flipped", true, false, false},
                                           HookCase{"painting", false, true, false},
                                           HookCase{"failing", false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// With a play time the playback loops back to the start or stops.
TEST_F(PlayerTest, PlayTimeLoopsOrStops) {
    std::string clip = Clip();
    player.PlayTime = 600000;
    player.RepeatType = rtLoop;
    ASSERT_TRUE(player.Open(clip, kHost, false)) << player.LastErrMsg();
    // Past the limit, then back near the start.
    ASSERT_TRUE(WaitUntil([&] {
        auto past =
            std::find_if(rec.positions.begin(), rec.positions.end(), [](int64_t p) { return p >= 600000; });
        return past != rec.positions.end() &&
               std::any_of(past, rec.positions.end(), [](int64_t p) { return p < 300000; });
    }));
    EXPECT_FALSE(rec.Has(psEnd));
    player.PlayTime = 600000;
    player.RepeatType = rtStop;
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psStop); }));
    EXPECT_FALSE(rec.Has(psEnd));
    // Ending resets the play time for the next file.
    EXPECT_EQ(player.PlayTime.load(), NoTime);
    EXPECT_EQ(player.RepeatType.load(), rtStop);
}

// The host's resize comes back as SDL's own event: the picture is drawn
// again at the new size, also while paused.
TEST_F(PlayerTest, HostResizeRedrawsThePicture) {
    ASSERT_TRUE(player.Open(Clip(), kHost, true)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause) && host.Last() == 0; }));
    os::NotifyFrameSink(kHost, os::FrameSinkNotice::Resize, 480, 360);
    ASSERT_TRUE(WaitUntil([&] { return host.Width() == 480 && host.Height() == 360; }));
    EXPECT_EQ(player.ScreenWidth.load(), 480);
    // The band of frame 0 is drawn again over the new surface.
    EXPECT_TRUE(WaitUntil([&] { return host.Pixel(240, 300) != 0; }));
    EXPECT_EQ(host.Frames().back(), 0);
    os::NotifyFrameSink(kHost, os::FrameSinkNotice::Expose);
    Pump(100);
    EXPECT_EQ(host.Frames().back(), 0);
}

// Without pictures the audio is drawn: two wave bands split by a white
// line, then spectrum columns.
TEST_F(PlayerTest, AudioOnlyFilesShowTheWaveThenTheSpectrum) {
    ClipOptions o;
    o.kind = ClipKind::Wav;
    ASSERT_TRUE(player.Open(Clip(o), kHost, false)) << player.LastErrMsg();
    EXPECT_EQ(player.ShowAudio(), saWave);
    ASSERT_TRUE(WaitUntil([&] { return host.Width() == 640 && host.Pixel(10, 240) == 0xFFFFFF; }));
    for (int x = 0; x < 640; x += 64) EXPECT_EQ(host.Pixel(x, 240), 0xFFFFFFu) << x;
    // The tone swings around each band's middle.
    EXPECT_TRUE(WaitUntil([&] {
        for (int x = 0; x < 640; ++x)
            if (host.Pixel(x, 120 + 50) == 0xFFFFFF || host.Pixel(x, 120 - 50) == 0xFFFFFF) return true;
        return false;
    }));
    player.ToggleAudioDisplay(); // wave -> spectrum
    ASSERT_TRUE(WaitUntil([&] { return host.NarrowRects() > 5; }));
    EXPECT_EQ(player.AudioStreamIndex(), 0);
    EXPECT_EQ(player.VideoStreamIndex(), -1);
}

// A bitmap subtitle is blended into the pictures it belongs to and goes
// when its time is over or when subtitles are switched off.
TEST_F(PlayerTest, SubtitlesAreBlendedIntoThePicture) {
    ClipOptions o;
    o.audio = false;
    std::string clip = WithSubtitle(Clip(o), folder.Path("subtitled.mkv"));
    ASSERT_TRUE(player.Open(clip, kHost, false)) << player.LastErrMsg();
    ASSERT_EQ(player.SubtitleStreamIndex(), 1);
    ASSERT_TRUE(
        WaitUntil([&] { return host.Last() >= 0 && host.Last() < 25 && Whitish(host.Pixel(70, 190)); }));
    // Outside the bar the picture is untouched.
    EXPECT_FALSE(Whitish(host.Pixel(200, 190)) && Whitish(host.Pixel(300, 230)));
    ASSERT_TRUE(WaitUntil([&] { return host.Last() > 35; }));
    EXPECT_FALSE(Whitish(host.Pixel(70, 190)) && Whitish(host.Pixel(119, 199)) &&
                 Whitish(host.Pixel(20, 180)));
    player.SetSubtitleStreamIndex(-1);
    EXPECT_EQ(player.SubtitleStreamIndex(), -1);
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psEnd); }, 30000));
}

// Seeks while paused start from, and report, the time of the picture on the screen: a relative
// seek goes from the shown picture (the audio clock stands still while paused), and a seek back
// to the start takes the time back to 0 (the first picture's time is 0, not "no time").
TEST_F(PlayerTest, SeeksWhilePausedGoFromTheShownPicture) {
    ClipOptions o;
    o.gopSize = 1;
    ASSERT_TRUE(player.Open(Clip(o), kHost, true)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return rec.Has(psPause) && host.Last() == 0; }));
    player.Seek(static_cast<int64_t>(1000000), TSeekFlags{}, true);
    ASSERT_TRUE(WaitUntil([&] { return host.Last() == 25; })) << host.Last();
    player.Seek(0.5, TSeekFlags{}, true);
    ASSERT_TRUE(WaitUntil([&] { return host.Last() != 25; })) << host.Last();
    EXPECT_NEAR(host.Last(), 37, 1);
    player.Seek(static_cast<int64_t>(0), TSeekFlags{}, true);
    ASSERT_TRUE(WaitUntil([&] { return host.Last() == 0; })) << host.Last();
    EXPECT_TRUE(WaitUntil([&] { return !rec.positions.empty() && rec.positions.back() < 100000; }, 3000))
        << rec.positions.back();
    EXPECT_LT(player.CurrentPTS(), 100000);
    EXPECT_TRUE(player.Paused());
}

// The end of an audio-only playback reports the file's duration, also when the decoded
// audio ends a little short of it (an MP3's encoder delay and padding).
TEST_F(PlayerTest, AudioOnlyPlaybackEndsAtTheDuration) {
    ClipOptions o;
    o.kind = ClipKind::Mp3;
    ASSERT_TRUE(player.Open(Clip(o), kHost, false)) << player.LastErrMsg();
    EXPECT_TRUE(WaitUntil([&] {
        return rec.Has(psEnd) && !rec.positions.empty() && rec.positions.back() == rec.duration;
    })) << (rec.positions.empty() ? -1 : rec.positions.back())
        << " of " << rec.duration;
}

// Another audio stream plays at once from the current position: the switch does not wait for
// the reader, which has long read the rest of the file.
TEST_F(PlayerTest, SwitchedAudioStreamPlaysOnFromThePosition) {
    ClipOptions o;
    o.video = false;
    std::string clip = WithSecondAudio(Clip(o), folder.Path("two-audio.mkv"));
    ASSERT_TRUE(player.Open(clip, kHost, false)) << player.LastErrMsg();
    ASSERT_EQ(player.AudioStreamIndex(), 0);
    ASSERT_TRUE(WaitUntil([&] { return !rec.positions.empty() && rec.positions.back() > 300000; }));
    const int64_t at = rec.positions.back();
    player.SetAudioStreamIndex(1);
    EXPECT_EQ(player.AudioStreamIndex(), 1);
    EXPECT_TRUE(WaitUntil([&] { return rec.positions.back() > at + 600000; }))
        << "from " << at << " to " << rec.positions.back();
    EXPECT_TRUE(WaitUntil([&] { return rec.Has(psEnd) && rec.positions.back() == rec.duration; }));
}

// A machine too slow for the clip (70 ms of work per picture at 25 pictures a second) still
// moves the screen on now and then, and ends on the last picture.
TEST_F(PlayerTest, TooSlowMachineStillShowsPicturesAndTheLastOne) {
    player.Hook = true;
    player.OnHook = [](os::TObject*, TFrameBitmap&, int64_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(70));
    };
    ASSERT_TRUE(player.Open(Clip(ClipOptions{.seconds = 4.0}), kHost, false)) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return host.Last() == 99; }, 30000)) << "last shown: " << host.Last();
    std::vector<int> frames = host.Frames();
    int gap = 0;
    for (size_t i = 1; i < frames.size(); ++i) gap = std::max(gap, frames[i] - frames[i - 1]);
    EXPECT_LE(gap, 25) << "frozen for " << gap << " pictures";
}
// A source that stops delivering (a stalled pipe) does not hold up Stop: the blocked read is
// interrupted.
TEST_F(PlayerTest, StopDoesNotWaitForAStalledSource) {
    // Matroska names its streams up front: opening does not read to the end of the data.
    ClipOptions o;
    o.kind = ClipKind::Mkv;
    std::string clip = Clip(o);
    std::string fifo = folder.Path("stalled.mkv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::mutex m;
    std::condition_variable cv;
    bool release = false, released = false;
    // Writes the whole clip, then keeps the pipe open without a byte more until released or
    // until a deadline (so that a hanging Stop ends and the test can fail).
    std::thread writer([&] {
        int fd = ::open(fifo.c_str(), O_WRONLY);
        std::ifstream in(clip, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (size_t done = 0; fd >= 0 && done < bytes.size();) {
            ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        std::unique_lock<std::mutex> g(m);
        released = !cv.wait_for(g, std::chrono::seconds(20), [&] { return release; });
        if (fd >= 0) ::close(fd);
    });
    ASSERT_TRUE(player.Open(fifo, kHost, false)) << player.LastErrMsg();
    // Near the end of the data the reader waits in a read for more.
    EXPECT_TRUE(WaitUntil([&] { return host.Last() >= 40; })) << host.Last();
    player.Stop(true);
    {
        std::lock_guard<std::mutex> g(m);
        release = true;
    }
    cv.notify_all();
    writer.join();
    EXPECT_FALSE(released) << "Stop waited until the pipe was closed";
    EXPECT_EQ(rec.states.back(), psStop);
}

// Without a sound device an audio-only file still plays, silently on its own clock: the wave
// is drawn and the position moves to the end.
TEST_F(PlayerTest, AudioOnlyFilePlaysWithoutASoundDevice) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ClipOptions o;
    o.kind = ClipKind::Mp3;
    ASSERT_TRUE(player.Open(Clip(o), kHost, false)) << player.LastErrMsg();
    EXPECT_TRUE(WaitUntil([&] { return host.Width() == 640 && host.Pixel(10, 240) == 0xFFFFFF; }));
    EXPECT_TRUE(WaitUntil([&] { return rec.Has(psEnd) && rec.positions.back() == rec.duration; }));
    EXPECT_TRUE(Rising(rec.positions));
}
