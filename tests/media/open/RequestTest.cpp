// Request records, option strings and the order in which a request becomes
// engine settings.
#include "OpenTestSupport.h"
#include "media/AVApi.h"
#include "media/FFmpegRequest.h"

namespace opentest {
namespace {

using media::TOptionLine;

struct ParseCase {
    const char* text;
    std::vector<std::pair<std::string, std::string>> lines;
};

TEST(OptionStringTest, Reading) {
    const ParseCase cases[] = {
        {"",                           {}                                                 },
        {" \r\n\t \n ",                {}                                                 },
        {"ab=128000<CRLF>ar=44100",    {{"ab", "128000"}, {"ar", "44100"}}                },
        {"  ab=1\r\nar=2\rac=1\nvn  ", {{"ab", "1"}, {"ar", "2"}, {"ac", "1"}, {"vn", ""}}},
        {"title=a<crlf>b",             {{"title", "a<crlf>b"}}                            },
        {"metadata=title=abc",         {{"metadata", "title=abc"}}                        },
        {"a= b <CRLF><CRLF>=v",        {{"a", " b "}, {"", ""}, {"", "v"}}                },
        {"ab=1<CRLF>",                 {{"ab", "1"}}                                      },
    };
    for (const ParseCase& c : cases) {
        std::vector<std::pair<std::string, std::string>> got;
        for (const TOptionLine& l : media::ParseOptionString(c.text)) got.emplace_back(l.Key, l.Value);
        EXPECT_EQ(got, c.lines) << c.text;
    }
}

TEST(OptionStringTest, KeysLiftedIntoTheRecords) {
    media::TInputOptions in = media::InputOptionsFromString("timestart=5000000<CRLF>ss=1");
    EXPECT_EQ(in.TimeStart, 5000000);
    EXPECT_EQ(in.ExtOptions, "ss=1\n");
    EXPECT_EQ(in.ProgramID, -1);
    EXPECT_EQ(media::InputOptionsFromString("TimeStart=5s").TimeStart, media::NoTime);

    media::TOutputOptions out =
        media::OutputOptionsFromString("hook=0\nJOIN=\nTimeLength=2000000\nTimeStart=x\nab=1\nTimeStart=9");
    EXPECT_TRUE(out.CustomHook);
    EXPECT_TRUE(out.Join);
    EXPECT_EQ(out.TimeLength, 2000000);
    EXPECT_EQ(out.TimeStart, 9);
    EXPECT_EQ(out.ExtOptions, "ab=1\n");
    EXPECT_TRUE(media::OutputOptionsFromString("CustomHook=").CustomHook);
    EXPECT_FALSE(media::OutputOptionsFromString("").CustomHook);
}

TEST(OptionStringTest, RecordDefaults) {
    media::TOutputOptions o;
    o.AudioBitrate = 5;
    o.Info.Year = 2000;
    media::SetOutputOptionsDefaults(o);
    EXPECT_EQ(o.AudioBitrate, -1);
    EXPECT_EQ(o.Info.Year, -1);
    EXPECT_EQ(o.Info.TimeStamp, -1.0);
    EXPECT_EQ(o.TimeLength, media::NoTime);
    EXPECT_EQ(o.MuxDelay, -1.0f);
    EXPECT_EQ(o.VideoSyncMethod, -1);
    EXPECT_EQ(o.AudioSyncMethod, 0);
    EXPECT_EQ(o.TargetType, media::ttIgnore);
    EXPECT_EQ(o.NormDefault, media::ntPAL);
    media::TInputOptions i;
    i.ProgramID = 3;
    media::SetInputOptionsDefaults(i);
    EXPECT_EQ(i.ProgramID, -1);
    EXPECT_EQ(i.TimeStart, media::NoTime);
}

class RequestTest : public OpenTest {
protected:
    int64_t CodecOption(AVMediaType type, const char* name) {
        int64_t v = 0;
        av::av_opt_get_int(E().FOptions.avcodec_opts[type], name, 0, &v);
        return v;
    }
    void Output(const media::TOutputOptions& o) {
        defaults = media::BuildStreamDefaults(o);
        media::ApplyOutputRequest(E(), o, defaults);
    }
    media::TStreamDefaults defaults;
};

TEST_F(RequestTest, InputRequestBeforeOpening) {
    media::TInputOptions in =
        media::InputOptionsFromString("TimeStart=1000000<CRLF>itsoffset=2<CRLF>vcodec=h264");
    in.FileFormat = "mov";
    in.ProgramID = -1;
    media::ApplyInputRequest(E(), in);
    EXPECT_EQ(E().Fstart_time, 1000000);
    EXPECT_EQ(E().Finput_ts_offset, 2000000);
    EXPECT_EQ(E().Fvideo_codec_name, "h264"); // input mode passes codecs on
    EXPECT_EQ(E().Flast_asked_format, "mov");
    EXPECT_EQ(E().Fopt_programid, 0);
    ASSERT_TRUE(E().OpenInputFile(Clip("mp4"))) << E().FLastErrMsg;
    EXPECT_EQ(E().Fstart_time, 0);
}

TEST_F(RequestTest, OutputModeKeepsStreamKeysBack) {
    media::TOutputOptions o = media::OutputOptionsFromString(
        "S=640x480<CRLF>acodec=mp2<CRLF>vfilters=crop=100:100:0:0<CRLF>ar=22050");
    Output(o);
    EXPECT_EQ(E().Faudio_sample_rate, 22050);
    // Stream defaults, applied at the end and not as options.
    EXPECT_EQ(E().Fframe_width, 640);
    EXPECT_EQ(E().Faudio_codec_name, "mp2");
    EXPECT_EQ(E().Fvfilters, "crop=100:100:0:0");
    EXPECT_EQ(defaults.Default("def_s"), "640x480");

    // The record's own fields come first as defaults.
    media::TOutputOptions r = media::OutputOptionsFromString("acodec=mp2<CRLF>s=640x480");
    r.AudioCodec = "aac";
    EXPECT_EQ(media::BuildStreamDefaults(r).Default("def_acodec"), "aac");
    EXPECT_EQ(media::BuildStreamDefaults(r).Queue.size(), 2u);
}

TEST_F(RequestTest, KeysAreLowerCasedInBothModesAndUnknownKeysRaise) {
    for (bool input : {true, false}) {
        SCOPED_TRACE(input ? "input" : "output");
        E().Reset();
        // An empty line in the middle says nothing.
        media::ApplyOptionString(E(), "VN=1<CRLF><CRLF>AR=22050<CRLF>Copyts=0", input);
        EXPECT_TRUE(E().Fvideo_disable);
        EXPECT_EQ(E().Faudio_sample_rate, 22050);
        EXPECT_TRUE(E().Fcopy_ts);
        EXPECT_EQ(Raised([&] { media::ApplyOptionString(E(), "ar=8000<CRLF>No_Such_Key=1", input); }),
                  "Invalid option or argument: \"no_such_key=1\", parsed as \"no_such_key\" = \"1\"");
        EXPECT_EQ(E().Faudio_sample_rate, 8000); // lines before the failing one stay applied
    }
}

TEST_F(RequestTest, FieldsThatAreSetWinOverOptionLines) {
    media::TOutputOptions o = media::OutputOptionsFromString("ab=128000<CRLF>vn=1<CRLF>vol=100");
    o.AudioBitrate = 192000;
    o.AudioVolume = 0;
    Output(o);
    EXPECT_EQ(CodecOption(AVMEDIA_TYPE_AUDIO, "b"), 192000);
    EXPECT_EQ(E().Faudio_volume, 0);
    EXPECT_TRUE(E().Fvideo_disable); // DisableVideo False leaves the line's choice

    E().Reset();
    media::TOutputOptions d = media::OutputOptionsFromString("ab=128000<CRLF>vol=100");
    Output(d);
    EXPECT_EQ(CodecOption(AVMEDIA_TYPE_AUDIO, "b"), 128000);
    EXPECT_EQ(E().Faudio_volume, 100);
}

TEST_F(RequestTest, TargetComesFirst) {
    media::TOutputOptions o;
    o.TargetType = media::ttDVD;
    o.NormType = media::ntAuto;
    o.NormDefault = media::ntNTSC;
    o.VideoBitrate = 3000000;
    E().Fframe_rate = {12, 1};
    Output(o);
    EXPECT_EQ(E().Fframe_width, 720);
    EXPECT_EQ(E().Fframe_height, 480); // decided by the default norm
    EXPECT_EQ(CodecOption(AVMEDIA_TYPE_VIDEO, "b"), 3000000);
    EXPECT_EQ(E().Faudio_codec_name, "ac3");
}

TEST_F(RequestTest, FieldsTimesAndMetadata) {
    media::TOutputOptions o;
    o.FileFormat = "matroska";
    o.AudioLanguage = "chi";
    o.AudioTag = "mp4a";
    o.FrameRate = "30000/1001";
    o.FrameAspectRatio = "16:9";
    o.InputSync = true;
    o.CopyTimestamp = true;
    o.TimeStart = 1500000;
    o.TimeLength = 4000000;
    o.PacketSize = 2048;
    o.MuxPreload = 0.25f;
    o.Info.Year = 2010;
    o.Info.Track = 0;
    o.Info.Title = "T";
    o.Info.Genre = "G";
    o.Info.TimeStamp = 0;
    Output(o);
    EXPECT_EQ(E().Flast_asked_format, "matroska");
    EXPECT_EQ(E().Faudio_language, "chi");
    EXPECT_EQ(E().Faudio_codec_tag, MKTAG('m', 'p', '4', 'a'));
    EXPECT_EQ(E().Fframe_rate.num, 30000);
    EXPECT_FLOAT_EQ(E().Fframe_aspect_ratio, 16.0f / 9);
    EXPECT_TRUE(E().Finput_sync);
    EXPECT_TRUE(E().Fcopy_ts);
    EXPECT_EQ(E().Fstart_time, 1500000);
    EXPECT_EQ(E().Frecording_time, 4000000);
    EXPECT_EQ(E().FTotalOutputDuration, 4000000);
    EXPECT_FLOAT_EQ(E().Fmux_preload, 0.25f);
    int64_t packet = 0;
    av::av_opt_get_int(E().FOptions.avformat_opts, "packetsize", 0, &packet);
    EXPECT_EQ(packet, 2048);
    EXPECT_NEAR(static_cast<double>(E().Frecording_timestamp), static_cast<double>(std::time(nullptr)), 5);
    ASSERT_EQ(E().Fmetadata.size(), 3u);
    EXPECT_EQ(E().Fmetadata[0].Key, "year");
    EXPECT_EQ(E().Fmetadata[0].Value, "2010");
    EXPECT_EQ(E().Fmetadata[1].Key, "title");
    EXPECT_EQ(E().Fmetadata[2].Key, "genre");

    // A date-time is converted with the standard-time bias.
    E().Reset();
    media::TOutputOptions s;
    s.Info.TimeStamp = media::UnixToDateTime(1262304000); // 2010-01-01 00:00 UTC
    Output(s);
    EXPECT_EQ(E().Frecording_timestamp, 1262304000);
    E().Reset();
    Output(media::TOutputOptions{});
    EXPECT_EQ(E().Frecording_timestamp, 0);
}

TEST_F(RequestTest, ASetterThatRefusesRaises) {
    media::TOutputOptions o;
    o.FrameRate = "fast";
    EXPECT_EQ(Raised([&] { Output(o); }), "Incorrect frame rate");
}

TEST_F(RequestTest, StreamKeysAddStreamsWithTheQueuedCodecs) {
    ASSERT_TRUE(E().OpenInputFile(Clip("mp4")));
    media::TOutputOptions o =
        media::OutputOptionsFromString("acodec=aac<CRLF>newaudio=<CRLF>acodec=mp2<CRLF>newaudio=");
    o.VideoCodec = "libx264";
    Output(o);
    ASSERT_EQ(E().OpenOutputFile(TempPath("keys.mkv"), o.Join), 1) << E().FLastErrMsg;
    media::ApplyStreamKeys(E(), o, defaults);
    AVFormatContext* oc = E().Foutput_files[0];
    ASSERT_EQ(oc->nb_streams, 4u);
    const char* names[] = {"libx264", "aac", "aac", "mp2"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(E().OutputStream(0, i)->encoder->name, names[i]) << i;

    // A "newvideo" with nothing queued takes the defaults.
    E().SetOption("s", "100x100");
    media::TOutputOptions v = media::OutputOptionsFromString("newvideo=");
    v.VideoCodec = "mpeg4";
    v.FrameSize = "64x48";
    media::TStreamDefaults d = media::BuildStreamDefaults(v);
    media::ApplyStreamKeys(E(), v, d);
    ASSERT_EQ(oc->nb_streams, 5u);
    EXPECT_STREQ(E().OutputStream(0, 4)->encoder->name, "mpeg4");
    EXPECT_EQ(E().OutputStream(0, 4)->enc->width, 64);
}

} // namespace
} // namespace opentest
