// The disc formats of the catalogue (VCD, SVCD, DVD) converted as the user chooses them: every
// one with its default video bitrate and the smallest and largest of its bitrate picker, read
// back from the written files.
#include "ConverterWindow.h"
#include "app/FormatPicker.h"
#include "catalogue/Categories.h"
#include "catalogue/EncodingParameters.h"
#include "catalogue/Formats.h"
#include "media/AVApi.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinSpeedButton.h"

#include <map>
#include <optional>
#include <set>
#include <span>

using namespace app;

namespace {

struct DiscChoice {
    int category, format;
    std::string target;
    int bitratePosition; // -1: the format's default
};

// What the video stream of a file holds: its codec, the audio codec, and the bit rate its
// packets carry over their frames' time.
struct ReadBack {
    AVCodecID video = AV_CODEC_ID_NONE, audio = AV_CODEC_ID_NONE;
    double videoBitrate = 0;
};

ReadBack Read(const std::string& path) {
    ReadBack r;
    AVFormatContext* ic = nullptr;
    if (av::avformat_open_input(&ic, path.c_str(), nullptr, nullptr) < 0) return r;
    av::avformat_find_stream_info(ic, nullptr);
    int videoIndex = -1;
    AVRational fps{0, 1};
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVStream* st = ic->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && videoIndex < 0) {
            videoIndex = static_cast<int>(i);
            r.video = st->codecpar->codec_id;
            fps = st->avg_frame_rate.num ? st->avg_frame_rate : st->r_frame_rate;
        } else if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && r.audio == AV_CODEC_ID_NONE) {
            r.audio = st->codecpar->codec_id;
        }
    }
    int64_t bytes = 0, frames = 0;
    AVPacket* pkt = av::av_packet_alloc();
    while (pkt && av::av_read_frame(ic, pkt) >= 0) {
        if (pkt->stream_index == videoIndex) {
            bytes += pkt->size;
            ++frames;
        }
        av::av_packet_unref(pkt);
    }
    av::av_packet_free(&pkt);
    av::avformat_close_input(&ic);
    if (frames > 0 && fps.num > 0) r.videoBitrate = static_cast<double>(bytes) * 8 * av_q2d(fps) / frames;
    return r;
}

class DiscFormatsTest : public ConverterWindowTest {
protected:
    // Every format of the catalogue that names a disc target, with the picker's default, first
    // and last bitrate.
    static std::vector<DiscChoice> Choices() {
        std::vector<DiscChoice> out;
        for (const catalogue::TCategory& c : catalogue::Categories()) {
            std::span<const catalogue::TFormatItem> formats = catalogue::FormatsOfCategory(c.Position);
            for (size_t p = 0; p < formats.size(); ++p) {
                std::optional<catalogue::TParameterSet> set = catalogue::ParameterSetOf(formats[p].Key);
                if (!set || set->Video_TargetType.empty()) continue;
                for (int position : {-1, 0, 1000})
                    out.push_back({c.Position, static_cast<int>(p), set->Video_TargetType, position});
            }
        }
        return out;
    }
    fixtures::TempFolder folder{"discformats"};
};

TEST_F(DiscFormatsTest, EveryDiscFormatConvertsWithEveryBitrateChoice) {
    const std::vector<DiscChoice> choices = Choices();
    // VCD, SVCD and DVD from each of the three categories that offer them.
    ASSERT_EQ(choices.size(), 27u);
    Start();
    Respond([this](gui::TCustomForm&) {
        options->bsSkinComboBox2->SetItemIndex(3); // four files at once
        options->bsSkinCheckRadioBox5->SetChecked(true);
        options->bsSkinButton6->OnClick(options->bsSkinButton6);
        return true;
    });
    main->bsSkinButton19->OnClick(main->bsSkinButton19);

    fixtures::ClipOptions clip;
    clip.kind = fixtures::ClipKind::Avi;
    clip.seconds = 2;
    clip.width = 160;
    clip.height = 120;
    const std::string source = fixtures::MakeClip(folder, clip, "disc.avi");
    chosen.assign(choices.size(), source);
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), static_cast<int>(choices.size()));

    skin::TbsSkinComboBox* bitrate = main->PresetPicker(catalogue::TPresetPicker::VideoBitrate);
    for (size_t r = 0; r < choices.size(); ++r) {
        const DiscChoice& c = choices[r];
        main->lvFiles->SetItemIndex(static_cast<int>(r));
        main->bsSkinOfficeComboBox2->SetItemIndex(c.category);
        main->bsSkinOfficeComboBox1->SetItemIndex(c.format);
        if (c.bitratePosition >= 0)
            bitrate->SetItemIndex(std::min(c.bitratePosition, bitrate->Items()->Count() - 1));
    }
    // A task that fails says so in a message box, which no one answers here.
    main->StartToolButton->OnClick(main->StartToolButton);
    ASSERT_TRUE(WaitForEnd(300));

    const std::map<std::string, std::pair<AVCodecID, AVCodecID>> codecs = {
        {"vcd",  {AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2}},
        {"svcd", {AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MP2}},
        {"dvd",  {AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_AC3}},
    };
    std::set<int64_t> vcdRates;
    for (size_t r = 0; r < choices.size(); ++r) {
        const DiscChoice& c = choices[r];
        const int row = static_cast<int>(r);
        SCOPED_TRACE(std::to_string(c.category) + "/" + std::to_string(c.format) + " " + c.target + " at " +
                     Sub(row, 16));
        EXPECT_EQ(Sub(row, rcProgress), "100%");
        const ReadBack got = Read(main->FileOutPutPath + "/" + Sub(row, rcOutputFile));
        EXPECT_EQ(got.video, codecs.at(c.target).first);
        EXPECT_EQ(got.audio, codecs.at(c.target).second);
        // A VCD keeps a constant rate: the chosen one, whatever it is.
        if (c.target == "vcd") {
            const int64_t chosenRate = std::stoll(Sub(row, 16));
            vcdRates.insert(chosenRate);
            EXPECT_NEAR(got.videoBitrate, static_cast<double>(chosenRate), chosenRate * 0.1);
        }
    }
    EXPECT_EQ(vcdRates, (std::set<int64_t>{128000, 528000, 2000000}));
}

} // namespace
