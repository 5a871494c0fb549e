// Converting the list as a user does it, headless, with real conversions of generated clips:
// the options dialog, adding through the menu, choosing a format, Start, the rows' progress,
// the outputs read back with the probe, Pause/Resume/Stop, the after-done actions through the
// desktop recorder, and closing the window while converting.
#include "ConverterWindow.h"
#include "app/AppPaths.h"
#include "app/FormatPicker.h"
#include "catalogue/Categories.h"
#include "catalogue/EncodingParameters.h"
#include "catalogue/Formats.h"
#include "gui/IniFile.h"
#include "gui/Menu.h"
#include "gui/MenuItem.h"
#include "gui/Screen.h"
#include "media/AVApi.h"
#include "media/AVProbe.h"
#include "media/FFmpegConverter.h"
#include "os/Spawn.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinSpeedButton.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <span>

using namespace app;
namespace fs = std::filesystem;

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

ReadBack ReadDisc(const std::string& path) {
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

// Every format of the catalogue that names a disc target, with the picker's default, first and
// last bitrate.
std::vector<DiscChoice> DiscChoices() {
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

class ConvertListTest : public ConverterWindowTest {
protected:
    std::string Clip(const std::string& name, double seconds,
                     fixtures::ClipKind kind = fixtures::ClipKind::Avi) {
        fixtures::ClipOptions clip;
        clip.kind = kind;
        clip.seconds = seconds;
        clip.width = 160;
        clip.height = 120;
        return fixtures::MakeClip(folder, clip, name);
    }
    // The options dialog as the user answers it: thread count, after-done choice, OK.
    void SetOptions(int threads, skin::TbsSkinCheckRadioBox* afterDone) {
        Respond([=, this](gui::TCustomForm&) {
            options->bsSkinComboBox2->SetItemIndex(threads - 1);
            afterDone->SetChecked(true);
            options->bsSkinButton6->OnClick(options->bsSkinButton6);
            return true;
        });
        main->bsSkinButton19->OnClick(main->bsSkinButton19);
    }
    gui::TMenuItem* MenuItem(const std::string& caption) {
        std::vector<gui::TMenuItem*> stack = {main->bsSkinMainMenu1->Items()};
        while (!stack.empty()) {
            gui::TMenuItem* m = stack.back();
            stack.pop_back();
            if (m->Caption() == caption) return m;
            for (int i = 0; i < m->Count(); ++i) stack.push_back(m->Items(i));
        }
        return nullptr;
    }
    // Selecting each row and choosing common video / MP4 with another video bitrate.
    void ChooseMp4ForEveryRow() {
        for (int r = 0; r < list->RowCount(); ++r) {
            main->lvFiles->SetItemIndex(r);
            main->bsSkinOfficeComboBox2->SetItemIndex(13); // 常用视频
            main->bsSkinOfficeComboBox1->SetItemIndex(1);  // MP4
            main->bsSkinComboBox2->SetItemIndex(0);
        }
    }
    std::vector<std::string> Requests(const os::SpawnRecorder& recorder) {
        std::vector<std::string> out;
        for (const os::SpawnRequest& r : recorder.Requests())
            out.push_back(r.argv.empty() ? "" : r.argv.front());
        return out;
    }
    fixtures::TempFolder folder{"convertlist"};
};

TEST_F(ConvertListTest, ConvertsTheListAsTheUserSetItUp) {
    os::SpawnRecorder recorder;
    Start();
    SetOptions(2, options->bsSkinCheckRadioBox5); // 不进行任何操作
    EXPECT_EQ(gui::TIniFile(config / "option.ini").ReadString("Options", "Thread_Count", "Error"), "2");

    chosen = {Clip("clip.avi", 1), Clip("假期.avi", 1), Clip("third.mkv", 1, fixtures::ClipKind::Mkv)};
    MenuItem("添加多个文件")->Click();
    ASSERT_EQ(list->RowCount(), 3);
    EXPECT_EQ(File(1), "假期.avi");
    for (int r = 0; r < 3; ++r) EXPECT_EQ(Sub(r, rcDuration), "00:00:01");

    ChooseMp4ForEveryRow();
    std::string bitrate = Sub(0, 16);
    MenuItem("开始转换")->Click();
    EXPECT_TRUE(main->Conversion->Running());
    EXPECT_FALSE(main->AddToolButton->Enabled());
    EXPECT_FALSE(main->MoveUpButton->Enabled()); // rows stay where their tasks are
    EXPECT_FALSE(main->bsSkinOfficeComboBox1->Enabled());
    EXPECT_TRUE(main->StopToolButton->Enabled());
    EXPECT_TRUE(main->PauseToolButton->Enabled());
    ASSERT_TRUE(WaitForEnd());

    for (int r = 0; r < 3; ++r) EXPECT_EQ(Sub(r, rcProgress), "100%") << r;
    EXPECT_TRUE(main->ClearToolButton->Enabled());
    EXPECT_FALSE(main->RemoveToolButton->Enabled());
    EXPECT_FALSE(main->StartItem->Enabled());
    EXPECT_FALSE(main->StopToolButton->Enabled());
    EXPECT_FALSE(main->PauseToolButton->Enabled());
    EXPECT_FALSE(main->ResumeToolButton->Enabled());
    EXPECT_TRUE(main->bsSkinOfficeComboBox1->Enabled());
    EXPECT_TRUE(main->MoveUpButton->Enabled());
    EXPECT_TRUE(recorder.Requests().empty()); // nothing chosen after the list

    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        std::string out = main->FileOutPutPath + "/" + Sub(r, rcOutputFile);
        EXPECT_EQ(fs::path(out).extension(), ".mp4");
        media::TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(out)) << probe.LastErrMsg();
        media::TVideoStreamInfo v = probe.FirstVideoStreamInfo();
        media::TAudioStreamInfo a = probe.FirstAudioStreamInfo();
        EXPECT_EQ(v.CodecName.rfind("mpeg4(", 0), 0u) << v.CodecName;
        EXPECT_EQ(a.CodecName.rfind("mp3", 0), 0u) << a.CodecName;
        std::string size = Sub(r, 15);
        EXPECT_EQ(size.empty() ? "160x120" : size, std::to_string(v.Width) + "x" + std::to_string(v.Height));
        EXPECT_NEAR(std::stod(Sub(r, 17)), double(v.FrameRate.num) / v.FrameRate.den, 0.01);
        EXPECT_EQ(std::to_string(a.SampleRate), Sub(r, 19));
        EXPECT_EQ(Sub(r, 16), bitrate);
        EXPECT_NE(a.Language, "Full");
    }
}

TEST_F(ConvertListTest, StopSkipsTheAfterDoneActionAndStartRunsTheListAgain) {
    os::SpawnRecorder recorder;
    Start();
    SetOptions(1, options->bsSkinCheckRadioBox2); // 自动关闭计算机
    chosen = {Clip("long.avi", 8), Clip("short.avi", 1)};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);
    main->StartToolButton->OnClick(main->StartToolButton);
    main->PauseToolButton->OnClick(main->PauseToolButton);
    EXPECT_FALSE(main->PauseToolButton->Visible());
    EXPECT_TRUE(main->ResumeToolButton->Visible());
    EXPECT_TRUE(main->ResumeToolButton->Enabled());
    main->ResumeToolButton->OnClick(main->ResumeToolButton);
    EXPECT_TRUE(main->PauseToolButton->Visible());
    // Stopped while paused: the tool bar keeps showing "继续", disabled.
    main->PauseToolButton->OnClick(main->PauseToolButton);
    main->StopToolButton->OnClick(main->StopToolButton);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(main->ResumeToolButton->Visible());
    EXPECT_FALSE(main->ResumeToolButton->Enabled());
    EXPECT_FALSE(main->PauseToolButton->Visible());
    EXPECT_TRUE(recorder.Requests().empty()) << "a stopped list powered the computer off";
    EXPECT_TRUE(main->StartToolButton->Enabled());
    EXPECT_FALSE(main->StartItem->Enabled());

    // The tool bar's Start runs the whole list again; a finished list asks for the power-off.
    main->StartToolButton->OnClick(main->StartToolButton);
    ASSERT_TRUE(WaitForEnd(120));
    for (int r = 0; r < 2; ++r) EXPECT_EQ(Sub(r, rcProgress), "100%") << r;
    EXPECT_EQ(Requests(recorder), std::vector<std::string>{"systemctl"});

    recorder.Clear();
    list->Clear();
    SetOptions(1, options->bsSkinCheckRadioBox1); // 自动打开输出文件夹
    chosen = {Clip("again.avi", 1)};
    list->AddSeveralFiles();
    main->StartToolButton->OnClick(main->StartToolButton);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(recorder.Requests().size(), 1u);
    EXPECT_EQ(recorder.Requests()[0].argv.back(), main->FileOutPutPath);

    recorder.Clear();
    list->Clear();
    SetOptions(1, options->bsSkinCheckRadioBox4); // 播放提示音乐
    chosen = {Clip("sound.avi", 1)};
    list->AddSeveralFiles();
    main->StartToolButton->OnClick(main->StartToolButton);
    ASSERT_TRUE(WaitForEnd());
    // The sound plays when the program ships it (and a player is installed).
    bool shipped = fs::exists(ProgramFile(resources::kCompletionSound));
    EXPECT_LE(recorder.Requests().size(), 1u);
    if (!shipped) {
        EXPECT_TRUE(recorder.Requests().empty());
    }
}

TEST_F(ConvertListTest, ClosingWhileConvertingEndsTheTasksWithoutTheAfterDoneAction) {
    os::SpawnRecorder recorder;
    Start();
    main->Show();
    SetOptions(1, options->bsSkinCheckRadioBox2); // 自动关闭计算机
    chosen = {Clip("long.avi", 8)};
    list->AddSeveralFiles();
    main->StartToolButton->OnClick(main->StartToolButton);
    ASSERT_TRUE(WaitUntil(
        [&] {
            os::CheckSynchronize(2);
            return !Sub(0, rcProgress).empty();
        },
        std::chrono::seconds(30), "the first progress"));
    main->N4->Click();
    EXPECT_FALSE(main->FFConverter->Working() && !main->FFConverter->Terminated());
    for (int i = 0; i < 20; ++i) os::CheckSynchronize(5);
    RunUntilIdle();
    EXPECT_TRUE(recorder.Requests().empty());
}

// A row whose input went away since it was added is reported at Start; the other rows still
// convert, and their progress lands on their own rows.
TEST_F(ConvertListTest, StartReportsARowItCannotAddAndKeepsTheOthersInLine) {
    Start();
    SetOptions(1, options->bsSkinCheckRadioBox5);
    std::string gone = Clip("gone.avi", 1);
    chosen = {Clip("stays.avi", 1), gone};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);
    ASSERT_EQ(File(0), "gone.avi");
    fs::remove(gone);
    ExpectMessage();
    main->StartToolButton->OnClick(main->StartToolButton);
    EXPECT_TRUE(LastMessageHas("gone.avi"));
    EXPECT_EQ(main->Conversion->TaskRows(), std::vector<int>{1});
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Sub(0, rcProgress), "N/A");
    EXPECT_EQ(Sub(1, rcProgress), "100%");
}

// Every Start after a Stop writes each row under the name it shows: a row that finished wrote
// the list's own file there, a stopped row left none, so nothing is numbered again; only a
// file that is not the list's own takes a name away, once.
TEST_F(ConvertListTest, StartAfterStopWritesTheNamesTheRowsShow) {
    Start();
    SetOptions(2, options->bsSkinCheckRadioBox5);
    chosen = {Clip("long.avi", 40), Clip("short.avi", 1)};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);
    ASSERT_EQ(File(0), "short.avi");
    const std::string shortName = Sub(0, rcOutputFile), longName = Sub(1, rcOutputFile);
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE(cycle);
        main->StartToolButton->OnClick(main->StartToolButton);
        EXPECT_EQ(Sub(0, rcOutputFile), shortName);
        EXPECT_EQ(Sub(1, rcOutputFile), longName);
        ASSERT_TRUE(WaitUntil(
            [&] {
                os::CheckSynchronize(2);
                return Sub(0, rcProgress) == "100%";
            },
            std::chrono::seconds(60), "the short row's end"));
        ASSERT_TRUE(main->Conversion->Running()) << "the long row ended before the stop";
        main->StopToolButton->OnClick(main->StopToolButton);
        ASSERT_TRUE(WaitForEnd());
        EXPECT_TRUE(fs::exists(main->FileOutPutPath + "/" + shortName));
        EXPECT_FALSE(fs::exists(main->FileOutPutPath + "/" + longName)) << "a stopped row left its file";
    }
    // Someone else's file at the long row's name: that row is numbered, once.
    std::ofstream(main->FileOutPutPath + "/" + longName) << "not the list's";
    main->StartToolButton->OnClick(main->StartToolButton);
    EXPECT_EQ(Sub(0, rcOutputFile), shortName);
    const std::string numbered = Sub(1, rcOutputFile);
    EXPECT_EQ(numbered, fs::path(longName).stem().string() + "_1" + fs::path(longName).extension().string());
    ASSERT_TRUE(WaitForEnd(120));
    for (int r = 0; r < 2; ++r) EXPECT_EQ(Sub(r, rcProgress), "100%") << r;
    media::TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(main->FileOutPutPath + "/" + numbered)) << probe.LastErrMsg();
    EXPECT_NEAR(probe.FileStreamInfo().Duration / 1e6, 40, 1);
    std::ifstream foreign(main->FileOutPutPath + "/" + longName);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(foreign), {}), "not the list's");
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(main->FileOutPutPath))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{shortName, longName, numbered}));
}

// Rows Start cannot add are listed with each one's reason, in a box no wider than the screen.
TEST_F(ConvertListTest, StartSaysWhyEachRowCannotStartInABoxWithinTheScreen) {
    Start();
    SetOptions(1, options->bsSkinCheckRadioBox5);
    std::string gone = Clip("gone.avi", 1);
    chosen = {Clip("long_name.avi", 1), gone};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);
    ASSERT_EQ(File(0), "gone.avi");
    fs::remove(gone);
    // An output name grown past what a folder takes (as repeated numbering once made it).
    SetRowSubItem(list->Row(1), rcOutputFile, std::string(300, 'n') + ".avi");
    int width = 0;
    std::string text;
    Respond([&](gui::TCustomForm& f) {
        width = f.Width();
        Texts(&f, text);
        f.SetModalResult(gui::mrOk);
        return true;
    });
    main->StartToolButton->OnClick(main->StartToolButton);
    EXPECT_FALSE(main->Conversion->Running());
    // Lines too wide for the screen are broken; the reasons are read across the breaks.
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    EXPECT_NE(text.find("以下文件无法开始转换："), std::string::npos) << text;
    EXPECT_NE(text.find("gone.avi："), std::string::npos) << text;
    EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
    EXPECT_NE(text.find("long_name.avi："), std::string::npos) << text;
    EXPECT_NE(text.find("File name too long"), std::string::npos) << text;
    EXPECT_GT(width, 0);
    EXPECT_LE(width, gui::Screen->Width());
}

// The disc formats of the catalogue (VCD, SVCD, DVD) converted as the user chooses them: every
// one with its default video bitrate and the smallest and largest of its bitrate picker, read
// back from the written files.
TEST_F(ConvertListTest, EveryDiscFormatConvertsWithEveryBitrateChoice) {
    const std::vector<DiscChoice> choices = DiscChoices();
    // VCD, SVCD and DVD from each of the three categories that offer them.
    ASSERT_EQ(choices.size(), 27u);
    Start();
    SetOptions(4, options->bsSkinCheckRadioBox5);
    const std::string source = Clip("disc.avi", 2);
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
        const ReadBack got = ReadDisc(main->FileOutPutPath + "/" + Sub(row, rcOutputFile));
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
