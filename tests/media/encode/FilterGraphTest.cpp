// The video filter graph of an output stream.
#include <string>

#include "EncodeTestSupport.h"

using namespace encodetest;

namespace {

class FilterGraphTest : public enginetest::EngineTest {
protected:
    void Streams(int inW, int inH, int outW, int outH, AVPixelFormat outFmt = AV_PIX_FMT_YUV420P) {
        dec = VideoContext(inW, inH, AV_PIX_FMT_YUV420P);
        enc = VideoContext(outW, outH, outFmt);
        ost.enc_ctx = enc.get();
    }
    std::string Filters() const {
        std::string s;
        const AVFilterGraph* g = ost.filter_graph.get();
        for (unsigned i = 0; i < g->nb_filters; ++i) s += std::string(g->filters[i]->filter->name) + " ";
        return s;
    }
    // Sends one picture through and returns the filtered one.
    media::TFramePtr Filter(uint8_t value = 50) {
        media::TFramePtr in = Picture(dec->width, dec->height, dec->pix_fmt, value);
        in->pts = 0;
        EXPECT_TRUE(media::SendFilterPicture(&ost, in.get()));
        media::TFramePtr out(av::av_frame_alloc());
        EXPECT_EQ(media::GetFilteredPicture(&ost, out.get(), 1234), 1);
        EXPECT_EQ(out->pts, 1234);
        return out;
    }

    media::TCodecContextPtr dec, enc;
    media::TAVOutputStream ost;
};

TEST_F(FilterGraphTest, EqualSizesGiveSourceAndSinkOnly) {
    Streams(64, 48, 64, 48);
    ASSERT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), 0);
    EXPECT_EQ(Filters(), "buffer buffersink ");
    media::TFramePtr out = Filter(77);
    EXPECT_EQ(out->width, 64);
    EXPECT_EQ(out->data[0][0], 77);
    // Nothing more until the next picture.
    media::TFramePtr none(av::av_frame_alloc());
    EXPECT_EQ(media::GetFilteredPicture(&ost, none.get(), 0), -1);
}

TEST_F(FilterGraphTest, ScaleCropAndTheSinkFormatShapeThePicture) {
    // Smaller output: a scale filter with the scaler's flags (bicubic, 4).
    Streams(64, 48, 32, 24);
    ASSERT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), 0);
    EXPECT_NE(Filters().find("scale"), std::string::npos);
    EXPECT_STREQ(ost.filter_graph->scale_sws_opts, "flags=0x4");
    media::TFramePtr out = Filter();
    EXPECT_EQ(out->width, 32);
    EXPECT_EQ(out->height, 24);

    // Crop bands of 8 top and bottom, then scaled to 32x16.
    E().Fframe_topBand = E().Fframe_bottomBand = 8;
    Streams(64, 48, 32, 16);
    ost.video_crop = 1;
    ost.topBand = ost.bottomBand = 8;
    ASSERT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), 0);
    EXPECT_NE(Filters().find("crop"), std::string::npos);
    out = Filter();
    EXPECT_EQ(out->width, 32);
    EXPECT_EQ(out->height, 16);

    // The sink converts to the encoder's pixel format.
    Streams(64, 48, 64, 48, AV_PIX_FMT_YUV422P);
    ost.video_crop = 0;
    E().Fframe_topBand = E().Fframe_bottomBand = 0;
    ASSERT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), 0);
    EXPECT_EQ(Filter()->format, AV_PIX_FMT_YUV422P);
}

TEST_F(FilterGraphTest, UserFiltersRunAndTheirSizeReachesTheEncoder) {
    Streams(64, 48, 64, 48);
    E().SetOption("vf", "negate,pad=80:60");
    ASSERT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), 0);
    EXPECT_EQ(enc->width, 80);
    EXPECT_EQ(enc->height, 60);
    media::TFramePtr out = Filter(50);
    EXPECT_EQ(out->width, 80);
    EXPECT_EQ(out->data[0][out->linesize[0] * 30 + 40], 255 - 50);
}

TEST_F(FilterGraphTest, BadFilterTextOrNoEncoderFormatFails) {
    Streams(64, 48, 64, 48);
    E().SetOption("vf", "nosuchfilter=1");
    EXPECT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), -1);
    E().Fvfilters.clear();
    Streams(64, 48, 64, 48, AV_PIX_FMT_NONE);
    EXPECT_EQ(media::ConfigureVideoFilters(E(), dec.get(), &ost), -1);
}

} // namespace
