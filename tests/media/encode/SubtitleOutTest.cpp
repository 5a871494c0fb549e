// Subtitle encoding: one packet per subtitle, two for DVB.
#include "EncodeTestSupport.h"
#include "media/FFmpegLoader.h"

using namespace encodetest;

namespace {

class SubtitleOutTest : public enginetest::EngineTest {
protected:
    // Encodes one bitmap subtitle shown from 1 s for 2 s with the named encoder.
    std::vector<int64_t> Encode(const char* encoder) {
        const AVCodec* codec = av::avcodec_find_encoder_by_name(encoder);
        media::TCodecContextPtr enc(av::avcodec_alloc_context3(codec));
        enc->width = 720;
        enc->height = 576;
        enc->time_base = AVRational{1, 1000};
        {
            os::CsLock lock(media::CodecLock());
            EXPECT_EQ(av::avcodec_open2(enc.get(), codec, nullptr), 0);
        }
        AVStream st{};
        st.time_base = AVRational{1, 90000};
        AVStream ist_st{};
        ist_st.time_base = AVRational{1, 1000};
        media::TAVInputStream ist;
        ist.st = &ist_st;
        media::TAVOutputStream ost;
        ost.enc_ctx = enc.get();
        ost.st = &st;
        ost.index = 2;

        AVSubtitle sub{};
        AVSubtitleRect rect{};
        AVSubtitleRect* rects[] = {&rect};
        uint8_t pixels[8 * 4] = {};
        uint32_t palette[4] = {0, 0xFFFFFFFF, 0xFF000000, 0xFF808080};
        for (int i = 0; i < 32; ++i) pixels[i] = static_cast<uint8_t>(i % 2);
        rect.type = SUBTITLE_BITMAP;
        rect.w = 8;
        rect.h = 4;
        rect.nb_colors = 4;
        rect.data[0] = pixels;
        rect.linesize[0] = 8;
        rect.data[1] = reinterpret_cast<uint8_t*>(palette);
        sub.num_rects = 1;
        sub.rects = rects;
        sub.start_display_time = 0;
        sub.end_display_time = 2000;
        std::vector<int64_t> out;
        media::EncodeSubtitle(E(), &ost, &ist, 1000, &sub, [&](AVPacket* pkt) {
            EXPECT_EQ(pkt->stream_index, 2);
            EXPECT_GT(pkt->size, 0);
            out.push_back(pkt->pts);
        });
        EXPECT_EQ(sub.num_rects, 1u);
        return out;
    }
};

TEST_F(SubtitleOutTest, DvbGivesAShowAndAClearPacketOthersOne) {
    EXPECT_EQ(Encode("dvbsub"), std::vector<int64_t>({90000, 90000 + 180000}));
    EXPECT_EQ(Encode("dvdsub"), std::vector<int64_t>({90000}));
}

TEST_F(SubtitleOutTest, SubtitleWithoutTimeIsRefused) {
    media::TAVOutputStream ost;
    AVSubtitle sub{};
    EXPECT_NO_THROW(media::EncodeSubtitle(E(), &ost, nullptr, AV_NOPTS_VALUE, &sub, nullptr));
    EXPECT_TRUE(Logged(media::llError, "Subtitle packets must have a pts"));
    E().SetOption("xerror", "1");
    EXPECT_EQ(Raised([&] { media::EncodeSubtitle(E(), &ost, nullptr, AV_NOPTS_VALUE, &sub, nullptr); }),
              "Subtitle packets must have a pts");
}

} // namespace
