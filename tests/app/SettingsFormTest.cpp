// The per-file settings dialog: its own tables cell by cell, its creation after the options
// dialog, the category, format and preset pickers, and "确定" and "取消" writing (or not) the main
// window's parameter set and output name.
#include "app/SettingsForm.h"
#include "../gui/GuiHarness.h"
#include "../gui/TempDir.h"
#include "SettingsFormExpected.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "catalogue/SettingsTables.h"
#include "gui/StdCtrls.h"
#include "os/Convert.h"
#include "resources/ProgramResources.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"

#include <cstdlib>
#include <fstream>
#include <map>

using namespace app;
using namespace catalogue;
using catalogue::TParameterSet;
using catalogue::TPresetPicker;
namespace ex = expected_settings;

namespace {

std::string Unquote(const std::string& cell) {
    if (cell == "empty") return "";
    if (cell.size() >= 2 && cell.front() == '"') return cell.substr(1, cell.size() - 2);
    return cell;
}

const ex::List& ListNamed(const std::string& name) {
    for (const ex::List& l : ex::Lists)
        if (name == l.Name) return l;
    throw std::runtime_error("no list " + name);
}

} // namespace

TEST(SettingsFormTables, CategoriesAndFormatsAreTheDialogsOwn) {
    ASSERT_EQ(SettingsCategories().size(), std::size(ex::Categories));
    for (const ex::Category& c : ex::Categories) {
        EXPECT_STREQ(SettingsCategories()[c.Index].Caption, c.Caption);
        EXPECT_EQ(SettingsCategories()[c.Index].ImageIndex, c.Image);
    }
    std::map<int, const ex::Format*> expected;
    for (const ex::Format& f : ex::Formats) expected[f.Key] = &f;
    size_t seen = 0;
    for (int c = 0; c < SettingsCategoryCount; ++c) {
        auto formats = SettingsFormatsOfCategory(c);
        for (size_t i = 0; i < formats.size(); ++i, ++seen) {
            int key = c * 100 + static_cast<int>(i);
            SCOPED_TRACE(key);
            ASSERT_TRUE(expected.count(key));
            EXPECT_EQ(formats[i].Key, key);
            EXPECT_EQ(formats[i].ImageIndex, expected[key]->Image);
            EXPECT_STREQ(formats[i].Title, expected[key]->Title);
            EXPECT_STREQ(formats[i].Caption, expected[key]->Caption);
        }
    }
    EXPECT_EQ(seen, expected.size());
    EXPECT_TRUE(SettingsFormatsOfCategory(-1).empty());
    EXPECT_TRUE(SettingsFormatsOfCategory(12).empty());
}

TEST(SettingsFormTables, EveryKeyHasItsPresetListsDefaultsAndDisabledPickers) {
    const TPresetPicker order[] = {TPresetPicker::FrameSize,  TPresetPicker::VideoBitrate,
                                   TPresetPicker::FrameRate,  TPresetPicker::AudioBitrate,
                                   TPresetPicker::SampleRate, TPresetPicker::Aspect};
    for (const ex::Entry& e : ex::Entries) {
        SCOPED_TRACE(e.Key);
        const catalogue::TPresetEntry* entry = FindSettingsPresetEntry(e.Key);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->AudioOnly, std::string(e.Disabled) == "yes");
        for (int p = 0; p < 6; ++p) {
            std::string cell = e.Cells[p];
            std::string name = cell.substr(0, cell.find(' '));
            int position = std::stoi(cell.substr(cell.find(' ') + 1));
            const catalogue::TPresetChoice& choice = entry->Choice(order[p]);
            EXPECT_EQ(choice.List->Items, ListNamed(name).Items) << name;
            EXPECT_EQ(choice.DefaultPosition, position) << name;
        }
    }
    // Keys between and past the formats have no entry.
    for (int key : {-1, 15, 99, 113, 309 + 5, 1104}) EXPECT_EQ(FindSettingsPresetEntry(key), nullptr) << key;
}

TEST(SettingsFormTables, EveryEncodingRowOverTheDialogsDefaults) {
    for (const ex::Row& r : ex::Rows) {
        SCOPED_TRACE(r.Key);
        std::optional<TParameterSet> set = SettingsParameterSet(r.Key);
        ASSERT_TRUE(set);
        EXPECT_EQ(SettingsNameExt(r.Key), Unquote(r.Cells[0]));
        const TParameterSet defaults;
        auto text = [&](int cell, const std::string& field, const std::string& fallback) {
            std::string c = r.Cells[cell];
            EXPECT_EQ(field, c == "–" ? fallback : Unquote(c)) << "cell " << cell;
        };
        auto number = [&](int cell, int32_t field, int32_t fallback) {
            std::string c = r.Cells[cell];
            EXPECT_EQ(field, c == "–" ? fallback : std::stoi(c)) << "cell " << cell;
        };
        text(1, set->Video_FileExt, defaults.Video_FileExt);
        text(2, set->Video_VideoCodec, defaults.Video_VideoCodec);
        text(3, set->Video_VideoTag, defaults.Video_VideoTag);
        text(4, set->Video_FrameSize, defaults.Video_FrameSize);
        text(5, set->Video_FrameRate, defaults.Video_FrameRate);
        number(6, set->Video_VideoBitrate, defaults.Video_VideoBitrate);
        text(7, set->Video_FrameAspectRatio, defaults.Video_FrameAspectRatio);
        text(8, set->Video_AudioCodec, defaults.Video_AudioCodec);
        text(9, set->Video_AudioChannels, defaults.Video_AudioChannels);
        text(10, set->Video_AudioSampleRate, defaults.Video_AudioSampleRate);
        number(11, set->Video_AudioBitrate, defaults.Video_AudioBitrate);

        bool audioOnly = (r.Key >= 100 && r.Key <= 112) || r.Key == 608 || r.Key == 1102 || r.Key == 1103;
        EXPECT_EQ(set->Video_DisableVideo, audioOnly);
        bool disc = r.Key >= 11 && r.Key <= 13;
        EXPECT_EQ(set->Video_NormType, disc ? "PAL" : "");
        EXPECT_EQ(set->Video_TargetType, r.Key == 11   ? "dvd"
                                         : r.Key == 12 ? "svcd"
                                         : r.Key == 13 ? "vcd"
                                                       : "");
        EXPECT_EQ(set->Video_AudioVolume, "256");
        EXPECT_EQ(set->Video_VideoFilters, "");
        EXPECT_EQ(set->Video_FileFormat, "");
        EXPECT_EQ(set->Video_CopyTimestamp, "");
        EXPECT_EQ(set->Video_TimeStart, -1);
        EXPECT_EQ(set->Video_TimeLength, -1);
        EXPECT_EQ(set->Video_OutPutFileName, "");
    }
    EXPECT_EQ(std::size(ex::Rows), 108u);
    EXPECT_EQ(SettingsNameExt(309), "");
    EXPECT_FALSE(SettingsParameterSet(309));
    // The values that stand apart from their neighbours.
    EXPECT_EQ(SettingsParameterSet(308)->Video_VideoBitrate, 7680000);
    EXPECT_EQ(SettingsParameterSet(809)->Video_VideoCodec, "msmpeg4v1");
    EXPECT_EQ(SettingsParameterSet(809)->Video_FileExt, ".mp4");
    EXPECT_STREQ(SettingsFormatsOfCategory(6)[2].Title, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))");
}

namespace {

class SettingsFormTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        resources::RegisterProgramResources();
        oldHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", home.path.c_str(), 1);
        setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
        // Program start's order: the main window, the options dialog, then this dialog.
        main = MakeForm<TForm1>();
        options = MakeForm<TForm5>(main);
        main->OptionsForm = options;
        settings = MakeForm<TForm6>(main);
        RunUntilIdle();
    }
    void TearDown() override {
        GuiTest::TearDown();
        setenv("HOME", oldHome_.c_str(), 1);
        unsetenv("TARVIK_CONFIG_DIR");
    }

    void Choose(int category, int format) {
        settings->bsSkinOfficeComboBox2->SetItemIndex(category);
        settings->bsSkinOfficeComboBox1->SetItemIndex(format);
    }
    std::vector<std::string> Selected() {
        std::vector<std::string> t;
        for (TPresetPicker p : catalogue::FillOrder) t.push_back(settings->PresetPicker(p)->Text());
        return t;
    }
    std::vector<bool> Enabled() {
        std::vector<bool> e;
        for (TPresetPicker p : catalogue::FillOrder) e.push_back(settings->PresetPicker(p)->Enabled());
        return e;
    }
    void Touch(const std::string& path) { std::ofstream(path) << "x"; }
    // "确定" for the input file into the output folder.
    void Ok(const std::string& input, const std::string& folder, bool overwrite) {
        main->Video_AddFileName = input;
        main->Video_OutPut_Folder_Edit->SetText(folder);
        (overwrite ? options->bsSkinCheckRadioBox3 : options->bsSkinCheckRadioBox6)->SetChecked(true);
        settings->bsSkinButton2->OnClick(settings->bsSkinButton2);
    }

    TempDir home, config, work;
    TForm1* main = nullptr;
    TForm5* options = nullptr;
    TForm6* settings = nullptr;

private:
    std::string oldHome_;
};

} // namespace

TEST_F(SettingsFormTest, CreatedHiddenAfterTheOptionsDialogWithCategoryZeroAndKeyZero) {
    EXPECT_FALSE(settings->Visible());
    EXPECT_EQ(settings->Caption(), "设置选项");
    EXPECT_EQ(settings->bsSkinOfficeComboBox2->Count(), 12);
    EXPECT_EQ(settings->bsSkinOfficeComboBox2->ItemIndex(), 0);
    ASSERT_EQ(settings->bsSkinOfficeComboBox1->Count(), 15);
    EXPECT_EQ(settings->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(settings->bsSkinOfficeComboBox1->Title(0), "AVI - 音频视频交错格式(*.avi)");
    EXPECT_EQ(Selected(), (std::vector<std::string>{"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100",
                                                    "保持原视频模式"}));
    EXPECT_EQ(settings->bsSkinComboBox1->Items()->Count(), 28);
    EXPECT_EQ(Enabled(), std::vector<bool>(6, true));
    EXPECT_EQ(main->All_Trant_Number, 100);
    EXPECT_FALSE(main->Parameters.Video_DisableVideo);
}

TEST_F(SettingsFormTest, CategoriesRefillTheFormatsAndKeysThePresets) {
    settings->bsSkinOfficeComboBox2->SetItemIndex(4);
    EXPECT_EQ(settings->bsSkinOfficeComboBox1->Count(), 6);
    EXPECT_EQ(settings->bsSkinOfficeComboBox1->Title(5), "iPhone MPEG-4视频(480X320)(*.mp4)");
    settings->bsSkinOfficeComboBox2->SetItemIndex(11);
    settings->bsSkinOfficeComboBox2->SetItemIndex(11);
    EXPECT_EQ(settings->bsSkinOfficeComboBox1->Count(), 4); // not doubled

    struct Case {
        int category, format;
        std::vector<std::string> selected;
        bool audioOnly;
    };
    const Case cases[] = {
        {0,  9,  {"176*144", "128 kbps", "12", "12 kbps", "8000", "保持原视频模式"},                 false},
        {1,  12, {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"},         true },
        {11, 3,  {"该格式无视频", "无视频", "无视频", "128 kbps", "22050", "无视频"},        true },
        {0,  0,  {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "44100", "保持原视频模式"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category * 100 + c.format);
        Choose(c.category, c.format);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(Enabled(),
                  (std::vector<bool>{!c.audioOnly, !c.audioOnly, !c.audioOnly, true, true, !c.audioOnly}));
        EXPECT_EQ(main->All_Trant_Number, (c.category + 1) * 100 + c.format);
    }
    EXPECT_EQ(settings->bsSkinComboBox4->Items()->Count(), 5);

    // Setting the format already selected still refills the pickers.
    settings->bsSkinComboBox2->SetItemIndex(0);
    settings->bsSkinOfficeComboBox1->SetItemIndex(0);
    EXPECT_EQ(settings->bsSkinComboBox2->Text(), "816 kbps");

    // No category: no formats, and the pickers empty and enabled.
    settings->bsSkinOfficeComboBox2->SetItemIndex(-1);
    EXPECT_EQ(settings->bsSkinOfficeComboBox1->Count(), 0);
    EXPECT_EQ(settings->bsSkinComboBox1->Items()->Count(), 0);
    EXPECT_EQ(Enabled(), std::vector<bool>(6, true));
    settings->bsSkinOfficeComboBox2->SetItemIndex(0);
    settings->bsSkinOfficeComboBox1->SetItemIndex(-1);
    EXPECT_EQ(main->All_Trant_Number, 99);
    EXPECT_EQ(settings->bsSkinComboBox3->Items()->Count(), 0);
}

TEST_F(SettingsFormTest, OkNamesTheOutputAndWritesTheFormatWithThePickersOverIt) {
    std::string out = work / "out";
    std::filesystem::create_directory(out);
    Ok("/media/in/clip.mkv", out, false);
    const TParameterSet& p = main->Parameters;
    EXPECT_EQ(p.Video_OutPutFileName, out + "/clip.avi");
    EXPECT_EQ(p.Video_VideoCodec, "mpeg4");
    EXPECT_EQ(p.Video_VideoTag, "XVID");
    EXPECT_EQ(p.Video_FrameRate, "25.00"); // the picker's text wins over the format's "25"
    EXPECT_EQ(p.Video_VideoBitrate, 816000);
    EXPECT_EQ(p.Video_AudioCodec, "libmp3lame");
    EXPECT_EQ(p.Video_AudioChannels, "2");
    EXPECT_EQ(p.Video_AudioSampleRate, "44100");
    EXPECT_EQ(p.Video_AudioBitrate, 128000);
    EXPECT_EQ(p.Video_FrameSize, "");
    EXPECT_EQ(main->All_Trant_Number, 100);
    EXPECT_FALSE(settings->Visible());

    Touch(out + "/clip.avi");
    Touch(out + "/clip_1.avi");
    Ok("/media/in/clip.mkv", out, false);
    EXPECT_EQ(main->Parameters.Video_OutPutFileName, out + "/clip_2.avi");
    Ok("/media/in/clip.mkv", out, true);
    EXPECT_EQ(main->Parameters.Video_OutPutFileName, out + "/clip.avi");

    // Key 111 names an ".m4a" file whose extension field is ".alac".
    Choose(1, 11);
    Ok("/media/in/song.flac", out, false);
    EXPECT_EQ(main->Parameters.Video_OutPutFileName, out + "/song.m4a");
    EXPECT_EQ(main->Parameters.Video_FileExt, ".alac");
    EXPECT_TRUE(main->Parameters.Video_DisableVideo);
    EXPECT_EQ(main->Parameters.Video_AudioBitrate, 160000); // the picker's "160 kbps" over the row's 128000
    EXPECT_EQ(main->Parameters.Video_VideoBitrate, catalogue::BitrateNotSet);
}

TEST_F(SettingsFormTest, OverwritingNeverNamesTheInputItself) {
    std::string input = work / "clip.avi";
    Touch(input);
    Ok(input, work.path.string(), true);
    EXPECT_EQ(main->Parameters.Video_OutPutFileName, work / "clip_1.avi");
}

TEST_F(SettingsFormTest, CancelWritesNothing) {
    main->Parameters.Video_VideoCodec = "kept";
    main->All_Trant_Number = 7;
    settings->bsSkinButton3->OnClick(settings->bsSkinButton3);
    EXPECT_EQ(main->Parameters.Video_VideoCodec, "kept");
    EXPECT_EQ(main->All_Trant_Number, 7);
    EXPECT_FALSE(settings->Visible());
}

TEST_F(SettingsFormTest, EachFormatStartsFromTheDefaultsAndKey309ConvertsWithThem) {
    std::string out = work.path.string();
    Choose(0, 11); // DVD: target, norm and no bitrates
    Ok("/media/in/clip.mkv", out, false);
    EXPECT_EQ(main->Parameters.Video_TargetType, "dvd");
    Choose(3, 3);
    Ok("/media/in/clip.mkv", out, false);
    EXPECT_EQ(main->Parameters.Video_TargetType, "");
    EXPECT_EQ(main->Parameters.Video_NormType, "");

    Choose(0, 9); // 3GP: aspect "4:3", mono
    settings->Button5->Click();
    EXPECT_EQ(main->Parameters.Video_FrameAspectRatio, "4:3");
    Choose(3, 9);
    settings->Button5->Click();
    TParameterSet defaults;
    defaults.Video_OutPutFileName = out + "/clip.mkv";
    EXPECT_EQ(main->Parameters, defaults);
    EXPECT_EQ(main->All_Trant_Number, 409);
}

TEST_F(SettingsFormTest, PresetOverrideReadsEveryPickerBeforeWritingAny) {
    settings->Button5->Click();
    const TParameterSet before = main->Parameters;
    for (skin::TbsSkinComboBox* picker : {settings->bsSkinComboBox2, settings->bsSkinComboBox3}) {
        SCOPED_TRACE(picker == settings->bsSkinComboBox2 ? "video" : "audio");
        settings->bsSkinComboBox1->SetItemIndex(4); // "320*240": would be written first
        picker->Items()->Add("快 kbps");
        picker->SetItemIndex(picker->Items()->Count() - 1);
        EXPECT_THROW(settings->Button13->Click(), os::EConvertError);
        EXPECT_EQ(main->Parameters, before);
        settings->Button18->Click();
    }
    // Good texts go through: "4.75 kbps" is 4750, an aspect picker's mode its ratio.
    settings->bsSkinComboBox3->Items()->Add("4.75 kbps");
    settings->bsSkinComboBox3->SetItemIndex(settings->bsSkinComboBox3->Items()->Count() - 1);
    settings->bsSkinComboBox4->SetItemIndex(2);
    settings->Button13->Click();
    EXPECT_EQ(main->Parameters.Video_AudioBitrate, 4750);
    EXPECT_EQ(main->Parameters.Video_FrameAspectRatio, "16:9");
}
