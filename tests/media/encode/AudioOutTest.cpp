// Decoded audio to encoder frames: conversion, the FIFO, the raw path and
// audio sync.
#include "EncodeTestSupport.h"

using namespace encodetest;

namespace {

class AudioOutTest : public enginetest::EngineTest {
protected:
    // Decoder: 16-bit samples; encoder as given.
    void Streams(int inRate, int inChannels, AVSampleFormat outFmt, int outRate, int outChannels,
                 int frameSize) {
        dec = AudioContext(AV_SAMPLE_FMT_S16, inRate, inChannels, 0);
        enc = AudioContext(outFmt, outRate, outChannels, frameSize);
        ist.dec_ctx = dec.get();
        ist.is_start = 1;
        ost.enc_ctx = enc.get();
        ost.sync_ist = &ist;
    }
    void Out(int samples, int16_t value = 1000) {
        const std::vector<uint8_t> in = Samples(samples, dec->ch_layout.nb_channels, value);
        media::AudioOut(E(), &ost, &ist, in.data(), static_cast<int>(in.size()), [&](AVFrame* f) {
            frames.push_back(f->nb_samples);
            pts.push_back(f->pts);
            if (f->format == AV_SAMPLE_FMT_S16) first.push_back(reinterpret_cast<int16_t*>(f->data[0])[0]);
            return 0;
        });
    }
    int Total() const {
        int n = 0;
        for (int f : frames) n += f;
        return n;
    }
    void FreeStreams() {
        av::swr_free(&ost.resample);
        av::swr_free(&ost.reformat_ctx);
        if (ost.fifo) av::av_audio_fifo_free(ost.fifo);
        ost = media::TAVOutputStream{};
        frames.clear();
        pts.clear();
        first.clear();
    }
    void TearDown() override {
        FreeStreams();
        EngineTest::TearDown();
    }

    media::TCodecContextPtr dec, enc;
    media::TAVInputStream ist;
    media::TAVOutputStream ost;
    std::vector<int> frames;
    std::vector<int64_t> pts;
    std::vector<int16_t> first;
};

TEST_F(AudioOutTest, EqualFormatsCollectInTheFifoAndGiveWholeEncoderFrames) {
    Streams(44100, 2, AV_SAMPLE_FMT_S16, 44100, 2, 1152);
    Out(1000);
    EXPECT_TRUE(frames.empty());
    ist.pts = 1000 * 1000000LL / 44100 + 1;
    Out(1500);
    ASSERT_EQ(frames, std::vector<int>({1152, 1152}));
    EXPECT_EQ(pts, std::vector<int64_t>({0, 1152}));
    EXPECT_EQ(av::av_audio_fifo_size(ost.fifo), 2500 - 2304);
    EXPECT_EQ(ost.audio_resample, 0);
    EXPECT_EQ(first[0], 1000); // passed through unchanged
}

TEST_F(AudioOutTest, ConversionsFollowTheEncoder) {
    // Stereo to mono turns the resampler on for good.
    Streams(44100, 2, AV_SAMPLE_FMT_FLTP, 44100, 1, 1024);
    Out(4096);
    EXPECT_EQ(ost.audio_resample, 1);
    EXPECT_NE(ost.resample, nullptr);
    EXPECT_GE(Total(), 3 * 1024);
    // A rate change gives the encoder's rate: 1 s of 48 kHz in, about 1 s of 32 kHz out.
    FreeStreams();
    Streams(48000, 2, AV_SAMPLE_FMT_FLTP, 32000, 2, 1024);
    Out(48000);
    EXPECT_NEAR(Total() + av::av_audio_fifo_size(ost.fifo), 32000, 64);
}

TEST_F(AudioOutTest, RawAndVariableFrameSizeEncodersTakeEachChunkWhole) {
    Streams(22050, 1, AV_SAMPLE_FMT_S16, 22050, 1, 0);
    Out(700);
    ist.pts = 700 * 1000000LL / 22050;
    Out(300);
    EXPECT_EQ(frames, std::vector<int>({700, 300}));
    EXPECT_EQ(pts, std::vector<int64_t>({0, 700}));
    EXPECT_EQ(ost.sync_opts, 1000);
}

TEST_F(AudioOutTest, SyncInsertsSilenceForALateStartAndCutsAnEarlyOne) {
    E().SetAudioSyncMethod(1);
    Streams(44100, 2, AV_SAMPLE_FMT_S16, 44100, 2, 0);
    ist.pts = 500000; // 0.5 s after the start
    Out(1000);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], 22050 + 1000);
    EXPECT_EQ(first[0], 0);
    EXPECT_EQ(ist.is_start, 0);
    // Later differences below the drift threshold (0.1 s) are left alone.
    ist.pts = 500000 + 1000 * 1000000LL / 44100 + 50000;
    Out(1000);
    EXPECT_EQ(frames[1], 1000);

    // Early input: the surplus is cut from the front; a chunk cut whole gives
    // nothing and keeps the start flag.
    FreeStreams();
    Streams(44100, 2, AV_SAMPLE_FMT_S16, 44100, 2, 0);
    ost.sync_opts = 44100; // the output is 1 s ahead of the input
    ist.pts = 0;
    Out(1000);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(ist.is_start, 1);
    ist.pts = 990000; // 441 samples behind the output
    Out(1000);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], 559);
    EXPECT_EQ(ist.is_start, 0);
}

TEST_F(AudioOutTest, SmallDriftIsLeftOrCompensatedByTheResampler) {
    E().SetAudioSyncMethod(1);
    Streams(50000, 1, AV_SAMPLE_FMT_S16, 50000, 1, 0);
    ist.pts = 1000; // |delta| of exactly 50 samples
    Out(100);
    EXPECT_EQ(frames[0], 100);

    E().SetVerbose(3);
    E().SetAudioSyncMethod(3);
    FreeStreams();
    Streams(44100, 1, AV_SAMPLE_FMT_S16, 44100, 1, 0);
    ist.is_start = 0;
    ist.pts = 200 * 1000000LL / 44100 + 1; // 200 samples of drift, below the threshold
    Out(1000);
    EXPECT_TRUE(Logged(media::llVerbose, "compensation:3 in:44100"));
    EXPECT_EQ(ost.audio_resample, 1);
}

} // namespace
