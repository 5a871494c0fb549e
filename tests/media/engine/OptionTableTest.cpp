// SetOption: what each name does to the engine, the generic fallback and the
// small setters of the task component.
#include <algorithm>
#include <functional>
#include <set>

#include "EngineTestSupport.h"
#include "media/AVApi.h"
#include "os/Convert.h"

namespace enginetest {
namespace {

using media::TCustomFFmpeg;

struct OptionCase {
    const char* Name;
    const char* Value;
    std::function<bool(const TCustomFFmpeg&)> Effect;
};

class OptionTableTest : public EngineTest {};

TEST_F(OptionTableTest, KnowsExactlyTheTranscoderOptionNames) {
    const std::set<std::string> expected = {"L",
                                            "h",
                                            "version",
                                            "formats",
                                            "codecs",
                                            "bsfs",
                                            "protocols",
                                            "filters",
                                            "i",
                                            "y",
                                            "benchmark",
                                            "threads",
                                            "padtop",
                                            "padbottom",
                                            "padleft",
                                            "padright",
                                            "padcolor",
                                            "timelimit",
                                            "loglevel",
                                            "dump",
                                            "hex",
                                            "re",
                                            "loop_input",
                                            "shortest",
                                            "intra",
                                            "vn",
                                            "sameq",
                                            "deinterlace",
                                            "psnr",
                                            "qphist",
                                            "force_fps",
                                            "an",
                                            "sn",
                                            "isync",
                                            "copyts",
                                            "xerror",
                                            "loop_output",
                                            "vsync",
                                            "async",
                                            "vglobal",
                                            "programid",
                                            "copyinkf",
                                            "vdt",
                                            "dc",
                                            "vol",
                                            "vframes",
                                            "aframes",
                                            "dframes",
                                            "fs",
                                            "adrift_threshold",
                                            "dts_delta_threshold",
                                            "aq",
                                            "muxdelay",
                                            "muxpreload",
                                            "vlang",
                                            "alang",
                                            "slang",
                                            "passlogfile",
                                            "f",
                                            "map",
                                            "map_meta_data",
                                            "t",
                                            "ss",
                                            "itsoffset",
                                            "itsscale",
                                            "timestamp",
                                            "metadata",
                                            "r",
                                            "s",
                                            "aspect",
                                            "pix_fmt",
                                            "rc_override",
                                            "vcodec",
                                            "acodec",
                                            "scodec",
                                            "vhook",
                                            "vfilters",
                                            "vf",
                                            "vtag",
                                            "atag",
                                            "stag",
                                            "sample_fmt",
                                            "tvstd",
                                            "b",
                                            "vb",
                                            "ab",
                                            "v",
                                            "croptop",
                                            "cropbottom",
                                            "cropleft",
                                            "cropright",
                                            "me_threshold",
                                            "top",
                                            "ar",
                                            "ac",
                                            "vc",
                                            "qscale",
                                            "newvideo",
                                            "newaudio",
                                            "newsubtitle",
                                            "streamid",
                                            "target",
                                            "apre",
                                            "vpre",
                                            "spre",
                                            "fpre",
                                            "pass",
                                            "intra_matrix",
                                            "inter_matrix",
                                            "vstats",
                                            "vstats_file",
                                            "absf",
                                            "vbsf",
                                            "sbsf"};
    const std::vector<std::string> names = TCustomFFmpeg::OptionNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    EXPECT_EQ(names.size(), expected.size()) << "a name appears twice in the table";
}

TEST_F(OptionTableTest, EachNameReachesItsField) {
    const std::vector<OptionCase> cases = {
  // flags: on unless exactly "0"
        {"dump",                "1",                    [](auto& e) { return e.Fdo_pkt_dump; }                                               },
        {"hex",                 "",                     [](auto& e) { return e.Fdo_hex_dump; }                                               },
        {"re",                  "yes",                  [](auto& e) { return e.Frate_emu; }                                                  },
        {"loop_input",          "1",                    [](auto& e) { return e.Floop_input; }                                                },
        {"shortest",            "1",                    [](auto& e) { return e.Fopt_shortest; }                                              },
        {"intra",               "1",                    [](auto& e) { return e.Fintra_only; }                                                },
        {"vn",                  "false",                [](auto& e) { return e.Fvideo_disable; }                                             },
        {"sameq",               "1",                    [](auto& e) { return e.Fsame_quality; }                                              },
        {"deinterlace",         "1",                    [](auto& e) { return e.Fdo_deinterlace; }                                            },
        {"psnr",                "1",                    [](auto& e) { return e.Fdo_psnr; }                                                   },
        {"qphist",              "1",                    [](auto& e) { return e.Fqp_hist; }                                                   },
        {"force_fps",           "1",                    [](auto& e) { return e.Fforce_fps; }                                                 },
        {"an",                  "1",                    [](auto& e) { return e.Faudio_disable; }                                             },
        {"sn",                  "1",                    [](auto& e) { return e.Fsubtitle_disable; }                                          },
        {"isync",               "1",                    [](auto& e) { return e.Finput_sync; }                                                },
        {"an",                  "0",                    [](auto& e) { return !e.Faudio_disable; }                                            },
 // set whatever the value
        {"copyts",              "0",                    [](auto& e) { return e.Fcopy_ts; }                                                   },
        {"xerror",              "0",                    [](auto& e) { return e.Fexit_on_error; }                                             },
 // integers
        {"loop_output",         "3",                    [](auto& e) { return e.Floop_output == 3; }                                          },
        {"vsync",               "2",                    [](auto& e) { return e.Fvideo_sync_method == 2; }                                    },
        {"async",               "4",                    [](auto& e) { return e.Faudio_sync_method == 4; }                                    },
        {"vglobal",             "1",                    [](auto& e) { return e.Fvideo_global_header == 1; }                                  },
        {"programid",           "7",                    [](auto& e) { return e.Fopt_programid == 7; }                                        },
        {"copyinkf",            "1",                    [](auto& e) { return e.Fcopy_initial_nonkeyframes == 1; }                            },
        {"vdt",                 "16",                   [](auto& e) { return e.Fvideo_discard == 16; }                                       },
        {"dc",                  "10",                   [](auto& e) { return e.Fintra_dc_precision == 10; }                                  },
        {"vol",                 "-5",                   [](auto& e) { return e.Faudio_volume == -5; }                                        },
        {"vframes",             "100",                  [](auto& e) { return e.Fmax_frames[0] == 100 && e.Fmax_frames[1] == INT32_MAX; }     },
        {"aframes",             "50",                   [](auto& e) { return e.Fmax_frames[1] == 50; }                                       },
        {"dframes",             "5",                    [](auto& e) { return e.Fmax_frames[2] == 5 && e.Fmax_frames[3] == INT32_MAX; }       },
        {"fs",                  "5000000000",           [](auto& e) { return e.Flimit_filesize == 5000000000LL; }                            },
 // floats, in the C locale
        {"adrift_threshold",    "0.25",                 [](auto& e) { return e.Faudio_drift_threshold == 0.25f; }                            },
        {"dts_delta_threshold", "5",                    [](auto& e) { return e.Fdts_delta_threshold == 5.0f; }                               },
        {"aq",                  "3.5",                  [](auto& e) { return e.Faudio_qscale == 3.5f; }                                      },
        {"muxdelay",            "0.1",                  [](auto& e) { return e.Fmux_max_delay == 0.1f; }                                     },
        {"muxpreload",          "0.2",                  [](auto& e) { return e.Fmux_preload == 0.2f; }                                       },
 // texts
        {"vlang",               "eng",                  [](auto& e) { return e.Fvideo_language == "eng"; }                                   },
        {"alang",               "chi",                  [](auto& e) { return e.Faudio_language == "chi"; }                                   },
        {"slang",               "fre",                  [](auto& e) { return e.Fsubtitle_language == "fre"; }                                },
        {"passlogfile",         "/tmp/x",               [](auto& e) { return e.Fpass_logfilename_prefix == "/tmp/x"; }                       },
 // handlers
        {"f",                   "mp4",                  [](auto& e) { return e.Flast_asked_format == "mp4"; }                                },
        {"r",                   "30000/1001",           [](auto& e) { return e.Fframe_rate.num == 30000 && e.Fframe_rate.den == 1001; }      },
        {"s",                   "qcif",                 [](auto& e) { return e.Fframe_width == 176 && e.Fframe_height == 144; }              },
        {"aspect",              "4:3",                  [](auto& e) { return e.Fframe_aspect_ratio == 4.0f / 3; }                            },
        {"pix_fmt",             "yuv420p",              [](auto& e) { return e.Fframe_pix_fmt == AV_PIX_FMT_YUV420P; }                       },
        {"rc_override",         "0,100,2",              [](auto& e) { return e.Fvideo_rc_override_string == "0,100,2"; }                     },
        {"vcodec",              "libx264",              [](auto& e) { return e.Fvideo_codec_name == "libx264"; }                             },
        {"acodec",              "copy",                 [](auto& e) { return e.Faudio_stream_copy == 1 && e.Faudio_codec_name.empty(); }     },
        {"scodec",              "mov_text",             [](auto& e) { return e.Fsubtitle_codec_name == "mov_text"; }                         },
        {"vfilters",            "scale=2:2",            [](auto& e) { return e.Fvfilters == "scale=2:2"; }                                   },
        {"vf",                  "hflip",                [](auto& e) { return e.Fvfilters == "hflip"; }                                       },
        {"vtag",                "XVID",                 [](auto& e) { return e.Fvideo_codec_tag == 0x44495658u; }                            },
        {"atag",                "mp4a",                 [](auto& e) { return e.Faudio_codec_tag == 0x6134706Du; }                            },
        {"stag",                "tx3g",                 [](auto& e) { return e.Fsubtitle_codec_tag == 0x67337874u; }                         },
        {"sample_fmt",          "s16",                  [](auto& e) { return e.Faudio_sample_fmt == AV_SAMPLE_FMT_S16; }                     },
        {"tvstd",               "pal",                  [](auto& e) { return e.Fvideo_standard == "pal"; }                                   },
        {"map",                 "0:1",                  [](auto& e) { return e.Fnb_stream_maps == 1 && e.Fstream_maps[0].stream_index == 1; }},
        {"map_meta_data",       "0:1",
         [](auto& e) { return e.Fnb_meta_data_maps == 1 && e.Fmeta_data_maps[0].in_file == 1; }                                              },
        {"metadata",            "title=A",
         [](auto& e) { return e.Fmetadata.size() == 1 && e.Fmetadata[0].Value == "A"; }                                                      },
        {"itsscale",            "1:2.5",                [](auto& e) { return e.InputTsScale(0, 1) == 2.5; }                                  },
        {"t",                   "10",
         [](auto& e) { return e.Frecording_time == 10000000 && e.FTotalOutputDuration == 10000000; }                                         },
        {"ss",                  "1.5",                  [](auto& e) { return e.Fstart_time == 1500000; }                                     },
        {"itsoffset",           "-2",                   [](auto& e) { return e.Finput_ts_offset == -2000000; }                               },
        {"timestamp",           "1970-01-02 00:00:00Z", [](auto& e) { return e.Frecording_timestamp == 86400; }                              },
        {"v",                   "3",                    [](auto& e) { return e.Fverbose == 3; }                                              },
        {"me_threshold",        "6",                    [](auto& e) { return e.Fme_threshold == 6; }                                         },
        {"top",                 "1",                    [](auto& e) { return e.Ftop_field_first == 1; }                                      },
        {"ar",                  "22050",                [](auto& e) { return e.Faudio_sample_rate == 22050; }                                },
        {"ac",                  "6",                    [](auto& e) { return e.Faudio_channels == 6; }                                       },
        {"vc",                  "2",                    [](auto& e) { return e.Fvideo_channel == 2; }                                        },
        {"qscale",              "3.5",                  [](auto& e) { return e.Fvideo_qscale == 3.5f; }                                      },
        {"streamid",            "1:301",                [](auto& e) { return e.Fstreamid_map[1] == 301; }                                    },
        {"pass",                "2",                    [](auto& e) { return e.Fdo_pass == 2; }                                              },
        {"vstats_file",         "/tmp/v.log",           [](auto& e) { return e.Fvstats_filename == "/tmp/v.log"; }                           },
        {"vstats",              "",
         [](auto& e) {
             return e.Fvstats_filename.find("vstats_") != std::string::npos &&
                    e.Fvstats_filename.size() >= 4 &&
                    e.Fvstats_filename.substr(e.Fvstats_filename.size() - 4) == ".log";
         }                                                                                                                                   },
        {"vbsf",                "h264_mp4toannexb",     [](auto& e) { return e.Fvideo_bitstream_filters.size() == 1; }                       },
        {"absf",                "aac_adtstoasc=x",      [](auto& e) { return e.Faudio_bitstream_filters.size() == 1; }                       },
        {"sbsf",                "null",                 [](auto& e) { return e.Fsubtitle_bitstream_filters.size() == 1; }                    },
        {"target",              "pal-dvd",              [](auto& e) { return e.Fframe_width == 720 && e.Fframe_height == 576; }              },
        {"vpre",                "libx264-fast",         [](auto& e) { return e.FOptions.avcodec_opts[0]->me_subpel_quality == 6; }           },
 // the generic fallback: a codec context option, a format option, a scaler option
        {"g",                   "12",                   [](auto& e) { return e.FOptions.avcodec_opts[0]->gop_size == 12; }                   },
        {"ab",                  "96000",                [](auto& e) { return e.FOptions.avcodec_opts[1]->bit_rate == 96000; }                },
        {"b",                   "800000",
         [](auto& e) {
             return e.FOptions.avcodec_opts[0]->bit_rate == 800000 &&
                    e.FOptions.avcodec_opts[1]->bit_rate != 800000;
         }                                                                                                                                   },
        {"packetsize",          "2048",                 [](auto& e) { return e.FOptions.avformat_opts->packet_size == 2048u; }               },
        {"sws_flags",           "bilinear",
         [](auto& e) {
             int64_t v = 0;
             av::av_opt_get_int(e.FOptions.sws_opts, "sws_flags", 0, &v);
             return v == SWS_BILINEAR;
         }                                                                                                                                   },
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + "=" + c.Value);
        engine = std::make_unique<TCustomFFmpeg>(4);
        engine->Reset();
        E().Fframe_rate = {25, 1};
        E().SetOption(c.Name, c.Value);
        EXPECT_TRUE(c.Effect(E()));
    }
}

TEST_F(OptionTableTest, PrivateCodecOptionsAreKeptForTheCodec) {
    E().SetOption("crf", "20");
    E().SetOption("preset", "veryfast");
    const auto& priv = E().FOptions.private_opts;
    auto has = [&](const char* n, const char* v) {
        return std::find(priv.begin(), priv.end(), std::make_pair(std::string(n), std::string(v))) !=
               priv.end();
    };
    EXPECT_TRUE(has("crf", "20"));
    EXPECT_TRUE(has("preset", "veryfast"));
}

TEST_F(OptionTableTest, AnUnknownNameOrARefusedValueRaisesAndChangesNothing) {
    struct {
        const char* name;
        const char* value;
    } cases[] = {
        {"no_such_option", "1"           },
        {"VN",             "1"           }, // names are exact here; requests lower-case them
        {"g",              "not-a-number"},
        {"g",              ""            },
        {"",               "1"           },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Raised([&] { E().SetOption(c.name, c.value); }),
                  std::string("Invalid option or argument: \"") + c.name + "=" + c.value +
                      "\", parsed as \"" + c.name + "\" = \"" + c.value + "\"");
    }
    EXPECT_EQ(E().FOptions.avcodec_opts[0]->gop_size, 12);
    EXPECT_FALSE(E().Fvideo_disable);
    EXPECT_TRUE(E().FOptions.opt_names.empty());
    EXPECT_TRUE(Logged(media::llError, "Invalid value \"not-a-number\" for option \"g\""));
}

TEST_F(OptionTableTest, OptionsThatOnlyLogOrRefuse) {
    E().SetOption("benchmark", "1");
    EXPECT_TRUE(Logged(media::llInfo, "Do nothing: option - benchmark"));
    E().SetOption("timelimit", "10");
    EXPECT_TRUE(Logged(media::llWarning, "Warning: -timelimit not implemented on Windows"));
    EXPECT_EQ(Raised([&] { E().SetOption("threads", "2"); }), "TODO: option - threads");
    for (const char* pad : {"padtop", "padbottom", "padleft", "padright", "padcolor"})
        EXPECT_EQ(Raised([&] { E().SetOption(pad, "8"); }), "Please use vfilters=pad");
    E().SetOption("loglevel", "warning");
    EXPECT_EQ(media::FFLogger().LogLevel(), media::llWarning);
}

TEST_F(OptionTableTest, NumbersThatAreNotNumbersRaiseTheConversionError) {
    EXPECT_EQ(Raised([&] { E().SetOption("vol", "loud"); }), "'loud' is not a valid integer value");
    EXPECT_EQ(Raised([&] { E().SetOption("fs", "1e9"); }), "'1e9' is not a valid integer value");
    EXPECT_EQ(Raised([&] { E().SetOption("aq", "1,5"); }), "'1,5' is not a valid floating point value");
    EXPECT_EQ(Raised([&] { E().SetOption("croptop", "x"); }), "'x' is not a valid integer value");
    EXPECT_EQ(Raised([&] { E().SetOption("qscale", ""); }), "'' is not a valid floating point value");
    EXPECT_EQ(E().Faudio_volume, 256);
}

TEST_F(OptionTableTest, TwoPassNumber) {
    EXPECT_EQ(Raised([&] { E().SetOption("pass", "3"); }), "pass number can be only 1 or 2");
    EXPECT_EQ(Raised([&] { E().SetOption("pass", "0"); }), "pass number can be only 1 or 2");
    EXPECT_EQ(E().Fdo_pass, 0);
    E().SetOption("pass", "1");
    EXPECT_EQ(E().Fdo_pass, 1);
}

TEST_F(OptionTableTest, QuantiserMatrices) {
    std::string values;
    for (int i = 1; i <= 64; ++i) values += (i > 1 ? "," : "") + std::to_string(i);
    E().SetOption("intra_matrix", values + ",99");
    ASSERT_EQ(E().Fintra_matrix.size(), 64u);
    EXPECT_EQ(E().Fintra_matrix[0], 1);
    EXPECT_EQ(E().Fintra_matrix[63], 64);
    EXPECT_TRUE(E().Finter_matrix.empty());

    const std::string short63 = values.substr(0, values.rfind(','));
    EXPECT_EQ(Raised([&] { E().SetOption("inter_matrix", short63); }),
              "Syntax error in matrix \"" + short63 + "\" at coeff 62");
    // A second matrix reuses the table and starts from zeros.
    E().SetOption("intra_matrix", "8x," + values.substr(values.find(',') + 1));
    EXPECT_EQ(E().Fintra_matrix[0], 8);
}

TEST_F(OptionTableTest, BitstreamFilters) {
    E().SetOption("vbsf", "=h264_mp4toannexb");
    E().SetOption("vbsf", "");
    EXPECT_TRUE(E().Fvideo_bitstream_filters.empty());
    E().SetOption("vbsf", "h264_mp4toannexb=arg");
    E().SetOption("vbsf", "null");
    ASSERT_EQ(E().Fvideo_bitstream_filters.size(), 2u);
    EXPECT_STREQ(E().Fvideo_bitstream_filters[1]->name, "null");
    EXPECT_EQ(Raised([&] { E().SetOption("absf", " nosuchfilter "); }),
              "Unknown bitstream filter nosuchfilter");
}

TEST_F(OptionTableTest, StreamIdsAndNewStreams) {
    for (const char* bad : {":301", "1:"})
        EXPECT_EQ(Raised([&] { E().SetOption("streamid", bad); }),
                  std::string("Invalid value \"") + bad +
                      "\" for option \"streamid\", required syntax is \"index:value\"");
    EXPECT_EQ(Raised([&] { E().SetOption("streamid", "a:1"); }), "'a' is not a valid integer value");
    EXPECT_EQ(Raised([&] { E().SetOption("streamid", "20:1"); }), "stream index over MAX_STREAMS(20)");
    for (const char* n : {"newvideo", "newaudio", "newsubtitle"})
        EXPECT_EQ(Raised([&] { E().SetOption(n, ""); }), "At least one output file must be specified");
}

TEST_F(OptionTableTest, SettersOfTheTaskComponentKeepValuesTheyDoNotTake) {
    E().SetAudioVolume(-5);
    EXPECT_EQ(E().Faudio_volume, 256);
    E().SetAudioVolume(0);
    EXPECT_EQ(E().Faudio_volume, 0);
    E().SetStartTimeValue(media::NoTime);
    EXPECT_EQ(E().Fstart_time, 0);
    E().SetStartTimeValue(5);
    EXPECT_EQ(E().Fstart_time, 5);
    E().SetProgramId(-1);
    EXPECT_EQ(E().Fopt_programid, 0);
    E().SetMuxPreload(0);
    E().SetMuxPreload(-1.0f);
    EXPECT_EQ(E().Fmux_preload, 0.5f);
    E().SetMuxPreload(0.25f);
    EXPECT_EQ(E().Fmux_preload, 0.25f);
    E().SetMuxMaxDelay(-1.0f);
    EXPECT_EQ(E().Fmux_max_delay, 0.7f);
    E().SetAudioSyncMethod(-1);
    E().SetVideoSyncMethod(0);
    EXPECT_EQ(E().Faudio_sync_method, -1);
    EXPECT_EQ(E().Fvideo_sync_method, 0);
}

TEST_F(OptionTableTest, PostHooks) {
    E().SetPostHooks({media::phPreview, media::phBitmap});
    EXPECT_TRUE(E().FPostHooks.Has(media::phBitmap));
    E().SetPostHooks({media::phBitmap});
    EXPECT_FALSE(E().FPostHooks.Has(media::phPreview));
    EXPECT_EQ(E().FPostContext.Previewer, nullptr);
}

} // namespace
} // namespace enginetest
