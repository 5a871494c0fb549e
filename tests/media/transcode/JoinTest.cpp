// Several inputs joined into one output.
#include <map>

#include "ConversionSupport.h"

namespace {

using namespace convsupport;
using fixtures::ClipKind;

// A 2 s clip; `large` doubles the picture and gives mono audio at 48 kHz.
const std::string& Part(ClipKind kind, const std::string& video = "", const std::string& audio = "",
                        bool large = false) {
    static fixtures::TempFolder folder{"joinclips"};
    static std::map<std::string, std::string> paths;
    const std::string name = "part_" + video + audio + (large ? "large" : "") + fixtures::ClipExtension(kind);
    auto it = paths.find(name);
    if (it != paths.end()) return it->second;
    fixtures::ClipOptions o;
    o.kind = kind;
    o.width = large ? 320 : 160;
    o.height = large ? 240 : 120;
    o.videoCodec = video;
    o.audioCodec = audio;
    if (large) {
        o.sampleRate = 48000;
        o.channels = 1;
    }
    return paths[name] = fixtures::MakeClip(folder, o, name);
}

class JoinTest : public ConversionTest {};

TEST_F(JoinTest, InputsFollowOneAnotherInTheOutput) {
    const struct {
        const char* name;
        std::vector<std::string> inputs;
        int key;
    } cases[] = {
        {"same codecs",          {Part(ClipKind::Mp4), Part(ClipKind::Mp4)},                      1600},
        {"same codecs to avi",   {Part(ClipKind::Mp4), Part(ClipKind::Mp4)},                      0   },
        {"mp4 and avi",          {Part(ClipKind::Mp4), Part(ClipKind::Avi)},                      1600},
        {"avi and mp4",          {Part(ClipKind::Avi), Part(ClipKind::Mp4)},                      0   },
        {"mpg and mkv",          {Part(ClipKind::Mpg), Part(ClipKind::Mkv, "mpeg4", "mp2")},      1   },
        {"other size and audio", {Part(ClipKind::Mp4), Part(ClipKind::Mkv, "", "", true)},        1600},
        {"mkv, avi and mpg",     {Part(ClipKind::Mkv), Part(ClipKind::Avi), Part(ClipKind::Mpg)}, 1600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = Out("joined" + CatalogueExtension(c.key));
        ASSERT_EQ(Convert(c.inputs, CatalogueOptions(c.key), out, true), "");
        // Every picture of every input, in order, one frame apart; where an
        // input's audio and pictures do not start and end together the next
        // input's pictures may start up to two frames later.
        const std::vector<fixtures::DecodedFrame> frames = fixtures::DecodeFrames(out);
        ASSERT_EQ(frames.size(), 50 * c.inputs.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].number, static_cast<int>(i % 50)) << i;
            if (i == 0) continue;
            const int64_t step = frames[i].frameTime - frames[i - 1].frameTime;
            if (i % 50 == 0) {
                EXPECT_TRUE(step >= 1 && step <= 3) << "join at picture " << i << ": " << step;
            } else {
                EXPECT_EQ(step, 1) << i;
            }
        }
        // The audio goes on across the joins.
        const std::vector<StreamPackets> streams = ReadPackets(out);
        const StreamPackets* audio = FirstOfType(streams, AVMEDIA_TYPE_AUDIO);
        ASSERT_NE(audio, nullptr);
        for (size_t i = 1; i < audio->dts.size(); ++i) EXPECT_GT(audio->dts[i], audio->dts[i - 1]) << i;
        EXPECT_NEAR(audio->pts.back() - audio->pts.front(), 2.0 * static_cast<double>(c.inputs.size()), 0.15);
    }
}

} // namespace
