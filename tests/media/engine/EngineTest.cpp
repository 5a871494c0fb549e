// The engine object: creation limits, defaults, reset and clean-up.
#include <fstream>

#include "EngineTestSupport.h"
#include "media/AVApi.h"
#include "os/Paths.h"

namespace enginetest {
namespace {

using media::TCustomFFmpeg;

class EngineObjectTest : public EngineTest {};

TEST_F(EngineObjectTest, FileLimits) {
    EXPECT_THROW(TCustomFFmpeg(0), media::EAssertionFailed);
    EXPECT_THROW(TCustomFFmpeg(513), media::EAssertionFailed);
    TCustomFFmpeg big(512);
    EXPECT_EQ(big.FMaxFiles, 512);
    // The tables grow with the files, maps and streams a task really has.
    EXPECT_TRUE(big.Fstream_maps.empty());
    EXPECT_TRUE(big.Finput_codecs.empty());
    EXPECT_TRUE(big.Foutput_codecs.empty());
    EXPECT_TRUE(big.Finput_files.empty());
    EXPECT_TRUE(big.Fbitstream_filters.empty());
    big.GrowFileTables(3, 600);
    EXPECT_EQ(big.Finput_files.size(), 3u);
    EXPECT_EQ(big.Foutput_files.size(), 512u);
    EXPECT_EQ(big.Fbitstream_filters.size(), 512u);
    EXPECT_EQ(big.FOptions.avcodec_opts[0], nullptr); // until Reset
}

void ExpectDefaults(const TCustomFFmpeg& e) {
    EXPECT_EQ(e.Fverbose, 1);
    EXPECT_EQ(e.Faudio_sample_rate, 44100);
    EXPECT_EQ(e.Faudio_channels, 2);
    EXPECT_EQ(e.Faudio_volume, 256);
    EXPECT_EQ(e.Faudio_qscale, -99999.0f);
    EXPECT_EQ(e.Fframe_pix_fmt, AV_PIX_FMT_NONE);
    EXPECT_EQ(e.Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
    EXPECT_EQ(e.Fmax_frames[0], INT32_MAX);
    EXPECT_EQ(e.Fmax_frames[3], INT32_MAX);
    EXPECT_EQ(e.Frecording_time, INT64_MAX);
    EXPECT_EQ(e.Ftop_field_first, -1);
    EXPECT_EQ(e.Fintra_dc_precision, 8);
    EXPECT_EQ(e.Floop_output, -1);
    EXPECT_EQ(e.Fvideo_sync_method, -1);
    EXPECT_EQ(e.Fmux_preload, 0.5f);
    EXPECT_EQ(e.Fmux_max_delay, 0.7f);
    EXPECT_EQ(e.Faudio_drift_threshold, 0.1f);
    EXPECT_EQ(e.Fdts_delta_threshold, 10.0f);
    EXPECT_EQ(e.Fsws_flags, 4u);
    EXPECT_EQ(e.Fbit_buffer_size, 262144);
    EXPECT_EQ(e.Fthread_count, 1);
    EXPECT_EQ(e.FTotalOutputDuration, -1);
    EXPECT_EQ(e.Fframe_rate.den, 0);
    EXPECT_EQ(e.Fframe_width, 0);
    EXPECT_TRUE(e.Fvideo_codec_name.empty());
    EXPECT_TRUE(e.Fmetadata.empty());
    EXPECT_TRUE(e.Fintra_matrix.empty());
    EXPECT_EQ(e.Fnb_stream_maps, 0);
    EXPECT_EQ(e.Fstreamid_map[1], 0);
    EXPECT_EQ(e.InputTsScale(0, 1), 0.0);
    EXPECT_FALSE(e.Fcopy_ts);
    EXPECT_FALSE(e.FPostHooks.Has(media::phPreview));
}

TEST_F(EngineObjectTest, ResetPutsEverySettingBack) {
    ExpectDefaults(E());
    EXPECT_EQ(E().ReportInterval, 500000);
    EXPECT_EQ(E().PreviewInterval, 100000);
    for (const auto& [n, v] : std::vector<std::pair<std::string, std::string>>{
             {"v",            "5"                 },
             {"ar",           "8000"              },
             {"ac",           "1"                 },
             {"vol",          "10"                },
             {"aq",           "3"                 },
             {"pix_fmt",      "rgb24"             },
             {"sample_fmt",   "s16"               },
             {"vframes",      "9"                 },
             {"t",            "5"                 },
             {"top",          "0"                 },
             {"dc",           "9"                 },
             {"loop_output",  "1"                 },
             {"vsync",        "1"                 },
             {"muxpreload",   "1"                 },
             {"r",            "25"                },
             {"s",            "cif"               },
             {"vcodec",       "mpeg4"             },
             {"metadata",     "a=b"               },
             {"intra_matrix", "1" + std::string(63, ',')},
             {"map",              "0:0"                             },
             {"streamid",              "1:5"},
             {"itsscale",              "1:2"                             },
             {"copyts",              "1"},
             {"g",              "5"                                  }
    }) {
        SCOPED_TRACE(n);
        E().SetOption(n, v);
    }
    E().SetPostHooks({media::phBitmap});
    E().ReportInterval = 1;
    E().Reset();
    ExpectDefaults(E());
    EXPECT_EQ(E().ReportInterval, 1) << "set once at creation";
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->gop_size, 12) << "fresh option contexts";
    EXPECT_TRUE(E().FOptions.opt_names.empty());
}

TEST_F(EngineObjectTest, OptionsBeforeTheFirstResetStoreTheirFields) {
    TCustomFFmpeg fresh(1); // no option contexts yet
    fresh.SetOption("b", "1000");
    fresh.SetOption("g", "5");
    fresh.SetOption("target", "pal-vcd");
    EXPECT_EQ(fresh.Fframe_width, 352);
    EXPECT_EQ(fresh.Fvideo_codec_name, "mpeg1video");
}

// An output entry as the output file opening leaves it: the file itself is
// opened by the run (OpenOutputTargets).
AVFormatContext* NewOutput(const std::string& path) {
    AVFormatContext* oc = nullptr;
    av::avformat_alloc_output_context2(&oc, nullptr, "mpegts", path.c_str());
    return oc;
}

TEST_F(EngineObjectTest, CleanUpDeletesOnlyEmptyOutputsThatTheRunCreated) {
    fixtures::TempFolder folder("engine");
    const std::string empty = folder.Path("empty.ts");
    const std::string written = folder.Path("written.ts");
    const std::string existing = folder.Path("existing.ts");
    std::ofstream(existing).flush();
    E().GrowFileTables(0, 3);
    E().Foutput_files[0] = NewOutput(empty);
    E().Foutput_files[1] = NewOutput(written);
    E().Foutput_files[2] = NewOutput(existing);
    E().Fnb_output_files = 3;
    ASSERT_FALSE(os::FileExists(empty));
    E().OpenOutputTargets();
    ASSERT_TRUE(os::FileExists(empty));
    av::avio_write(E().Foutput_files[1]->pb, reinterpret_cast<const unsigned char*>("data"), 4);
    E().FFinished = true; // a run cut short would take its own files with it
    E().CleanUp();
    EXPECT_FALSE(os::FileExists(empty));
    EXPECT_EQ(os::FileSize(written), 4);
    EXPECT_TRUE(os::FileExists(existing)); // empty, but not the run's own
    EXPECT_EQ(E().Fnb_output_files, 0);
    // The tables go with the files.
    EXPECT_TRUE(E().Foutput_files.empty());
    EXPECT_TRUE(E().FOutputTargets.empty());
    EXPECT_TRUE(E().FWriteError.empty());
}

TEST_F(EngineObjectTest, CleanUpInJoinModeClosesTheSharedOutputOnce) {
    fixtures::TempFolder folder("engine");
    AVFormatContext* oc = NewOutput(folder.Path("joined.ts"));
    E().GrowFileTables(0, 3);
    E().Foutput_files[0] = E().Foutput_files[1] = E().Foutput_files[2] = oc;
    E().Fnb_output_files = 3;
    E().FJoinMode = true;
    E().OpenOutputTargets();
    E().CleanUp(); // ASan reports a second free
    EXPECT_TRUE(E().Foutput_files.empty());
    EXPECT_FALSE(os::FileExists(folder.Path("joined.ts")));
}

TEST_F(EngineObjectTest, AnOutputThatCouldNotBeWrittenIsAnErrorAndIsRemoved) {
    fixtures::TempFolder folder("engine");
    const std::string out = folder.Path("cut.ts");
    E().GrowFileTables(0, 1);
    E().Foutput_files[0] = NewOutput(out);
    E().Fnb_output_files = 1;
    E().OpenOutputTargets();
    av::avio_write(E().Foutput_files[0]->pb, reinterpret_cast<const unsigned char*>("data"), 4);
    E().Foutput_files[0]->pb->error = AVERROR(ENOSPC); // as a full disk leaves it
    E().CleanUp();
    EXPECT_EQ(E().FWriteError, out + ": No space left on device");
    EXPECT_FALSE(os::FileExists(out));
}

} // namespace
} // namespace enginetest
