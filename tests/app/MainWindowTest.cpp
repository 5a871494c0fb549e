// The converter's main window, options dialog and about box, headless: first start, the
// settings in option.ini, the pickers over the catalogue, the log and the small commands, and
// every Chinese text the windows show.
#include "../gui/GuiHarness.h"
#include "../gui/TempDir.h"
#include "app/AboutForm.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionIni.h"
#include "app/OptionsForm.h"
#include "catalogue/Formats.h"
#include "catalogue/PresetEntries.h"
#include "catalogue/PresetText.h"
#include "fixtures/Fixtures.h"
#include "gui/CustomListView.h"
#include "gui/IniFile.h"
#include "gui/Menu.h"
#include "gui/MenuItem.h"
#include "gui/PopupMenu.h"
#include "gui/Screen.h"
#include "gui/ShortCuts.h"
#include "media/FFmpegConverter.h"
#include "os/Convert.h"
#include "os/Spawn.h"
#include "resources/ProgramResources.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinLinkLabel.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "skin/forms/SkinTrayIcon.h"
#include "skin/hints/SkinHint.h"
#include "skin/hints/SkinHintWindow.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinMenuItem.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Window.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

using namespace app;
namespace fs = std::filesystem;

namespace {

class MainWindowTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        resources::RegisterProgramResources();
        oldHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", home.path.c_str(), 1);
        setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
    }
    void TearDown() override {
        GuiTest::TearDown();
        setenv("HOME", oldHome_.c_str(), 1);
        unsetenv("TARVIK_CONFIG_DIR");
    }

    // Program start's order: the main window, then the options dialog.
    TForm1* Start() {
        main = MakeForm<TForm1>();
        options = MakeForm<TForm5>(main);
        main->OptionsForm = options;
        RunUntilIdle();
        return main;
    }
    // A button's click as its handler sees it.
    template <class B> static void Press(B* b) {
        ASSERT_TRUE(b->OnClick);
        b->OnClick(b);
    }
    std::string Ini(const std::string& section, const std::string& key) {
        return gui::TIniFile(config / "option.ini").ReadString(section, key, "Error");
    }
    void SetIni(const std::string& section, const std::string& key, const std::string& value) {
        gui::TIniFile(config / "option.ini").WriteString(section, key, value);
    }
    std::vector<std::string> PresetTexts() {
        std::vector<std::string> t;
        for (skin::TbsSkinComboBox* p :
             {main->bsSkinComboBox1, main->bsSkinComboBox2, main->bsSkinComboBox9, main->bsSkinComboBox3,
              main->bsSkinComboBox10, main->bsSkinComboBox4})
            t.push_back(p->Text());
        return t;
    }
    // Records which preset pickers announce a change, keeping the window's own handler.
    void RecordPresetChanges() {
        for (skin::TbsSkinComboBox* p :
             {main->bsSkinComboBox1, main->bsSkinComboBox2, main->bsSkinComboBox9, main->bsSkinComboBox3,
              main->bsSkinComboBox10, main->bsSkinComboBox4}) {
            auto inner = p->OnChange;
            p->OnChange = [this, p, inner](gui::TObject* s) {
                changed.push_back(p);
                inner(s);
            };
        }
    }

    // The next modal form is a message: its texts are kept, and it is closed.
    void RecordMessages() {
        Respond([this](gui::TCustomForm& f) {
            std::string text;
            std::function<void(gui::TControl*)> texts = [&](gui::TControl* c) {
                text += c->Text() + "\n";
                if (auto* w = dynamic_cast<gui::TWinControl*>(c))
                    for (int i = 0; i < w->ControlCount(); ++i) texts(w->Controls(i));
            };
            texts(&f);
            told.push_back(text);
            f.SetModalResult(gui::mrOk);
            return true;
        });
    }

    TempDir home, config;
    TForm1* main = nullptr;
    TForm5* options = nullptr;
    std::vector<skin::TbsSkinComboBox*> changed;
    std::vector<std::string> told;

private:
    std::string oldHome_;
};

TEST_F(MainWindowTest, FirstStartWritesOptionIniAndShowsTheDefaults) {
    Start();
    std::string out = home / "Tarvik视频软件/输出";
    EXPECT_TRUE(fs::is_directory(out));
    EXPECT_EQ(main->FileOutPutPath, out);
    EXPECT_EQ(main->Video_OutPut_Folder_Edit->Text(), out);
    EXPECT_EQ(Ini("OutPath", "OutPath"), out);
    EXPECT_EQ(Ini("Skin", "SetSkin"), "0");
    EXPECT_EQ(main->bsSkinData1->SkinIndex(), 0);
    EXPECT_FALSE(main->bsSkinData1->Empty);
    const std::pair<const char*, const char*> written[] = {
        {"Thread_Count",    "0"},
        {"After_Done",      "0"},
        {"Show_Preview",    "0"},
        {"Thread_Priority", "3"},
        {"Overwrite_File",  "1"}
    };
    for (auto [key, value] : written) EXPECT_EQ(Ini("Options", key), value) << key;

    EXPECT_TRUE(options->bsSkinCheckRadioBox1->Checked());  // 自动打开输出文件夹
    EXPECT_TRUE(options->bsSkinCheckRadioBox6->Checked());  // 自动重命名输出文件
    EXPECT_TRUE(options->bsSkinCheckRadioBox12->Checked()); // 正常优先级进行
    EXPECT_EQ(options->bsSkinComboBox2->Text(), "1");
    EXPECT_FALSE(options->bsSkinCheckRadioBox8->Checked());
    EXPECT_FALSE(main->FFConverter->Preview());
    EXPECT_EQ(main->bsSkinSlider1_down_UP, "UP");
    EXPECT_EQ(main->cboScreens->Items()->Strings(0), "Panel6");
    EXPECT_EQ(main->cboScreens->ItemIndex(), 0);
}

TEST_F(MainWindowTest, StoredOptionsAreShownAndMendedAtStart) {
    SetIni("OutPath", "OutPath", home / "elsewhere/out");
    SetIni("Skin", "SetSkin", "3");
    SetIni("Options", "After_Done", "7");
    SetIni("Options", "Thread_Count", "4");
    SetIni("Options", "Show_Preview", "1");
    Start();
    EXPECT_TRUE(fs::is_directory(home / "elsewhere/out"));
    EXPECT_EQ(main->bsSkinData1->SkinIndex(), 3);
    EXPECT_EQ(Ini("Options", "After_Done"), "0");
    EXPECT_TRUE(options->bsSkinCheckRadioBox1->Checked());
    EXPECT_EQ(options->bsSkinComboBox2->Text(), "4");
    EXPECT_TRUE(options->bsSkinCheckRadioBox8->Checked());
    EXPECT_TRUE(main->FFConverter->Preview());
}

// The add button's drop-down marker is a small arrow in every skin, never the skin's menu
// button picture stretched to the tool bar's height.
TEST_F(MainWindowTest, AddButtonMarkerIsASmallArrowInEverySkin) {
    for (int skin : {0, 8}) {
        SCOPED_TRACE(skin);
        SetIni("Skin", "SetSkin", std::to_string(skin));
        Start();
        main->Show();
        RunUntilIdle();
        skin::TbsSkinMenuSpeedButton* add = main->AddToolButton;
        const int w = add->Width(), h = add->Height();
        const COLORREF ground = PixelAt(add, w - 2, 2);
        auto far = [](COLORREF a, COLORREF b) {
            return std::abs(int(GetRValue(a)) - int(GetRValue(b))) +
                       std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
                       std::abs(int(GetBValue(a)) - int(GetBValue(b))) >
                   150;
        };
        int marker = 0, top = h, bottom = -1;
        for (int y = 0; y < h; ++y)
            for (int x = w - 13; x < w - 2; ++x)
                if (far(PixelAt(add, x, y), ground)) {
                    ++marker;
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        EXPECT_GE(marker, 3);
        EXPECT_LE(marker, 12);
        EXPECT_LE(bottom - top, 4);
        gui::Application->DestroyComponents();
        RunUntilIdle();
    }
}

// A skin index that is no number, or a settings file that cannot be written, must not leave
// the window half made: the defaults are used and the log says why.
TEST_F(MainWindowTest, BadSkinIndexOrUnwritableIniStillCompletesStartUp) {
    for (bool unwritable : {false, true}) {
        SCOPED_TRACE(unwritable ? "unwritable" : "SetSkin");
        if (unwritable) {
            std::ofstream(config / "blocked") << "x";
            setenv("TARVIK_CONFIG_DIR", (config / "blocked").c_str(), 1);
            RecordMessages();
        } else {
            SetIni("Skin", "SetSkin", "蓝色");
        }
        Start();
        EXPECT_EQ(told.size(), unwritable ? 1u : 0u);
        EXPECT_EQ(main->bsSkinData1->SkinIndex(), 0);
        EXPECT_FALSE(main->bsSkinData1->Empty);
        EXPECT_EQ(main->bsSkinOfficeComboBox1->Count(), 10); // the pickers are filled
        EXPECT_EQ(main->bsSkinComboBox1->Text(), "1280*720");
        EXPECT_TRUE(fs::is_directory(home / "Tarvik视频软件/输出"));
        ASSERT_GT(main->mmoLog.Count(), 0u);
        EXPECT_EQ(main->mmoLog.Line(0).rfind("***", 0), 0u);
        if (!unwritable) {
            EXPECT_EQ(Ini("Skin", "SetSkin"), "0");
        }
        gui::Application->DestroyComponents();
        RunUntilIdle();
    }
}

// A settings file or an output folder the program cannot use is said once, and it runs on.
TEST_F(MainWindowTest, AnUnusableSettingsFileOrOutputFolderIsToldOnceAtStart) {
    const fs::path plain = home / "plain";
    std::ofstream(plain) << "x";
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string shown;
    } cases[] = {
        {"settings in a plain file",         [&] { setenv("TARVIK_CONFIG_DIR", plain.c_str(), 1); },
         (plain / "option.ini").string()},
        {"option.ini a folder",              [&] { fs::create_directories(config / "option.ini"); },
         config / "option.ini"          },
        {"output folder under a plain file", [&] { SetIni("OutPath", "OutPath", (plain / "out").string()); },
         (plain / "out").string()       },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        told.clear();
        c.arrange();
        RecordMessages();
        Start();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(c.shown), std::string::npos) << told[0];
        const bool reason = told[0].find(std::strerror(ENOTDIR)) != std::string::npos ||
                            told[0].find(std::strerror(EISDIR)) != std::string::npos;
        EXPECT_TRUE(reason) << told[0];
        // On defaults: the pickers are filled and a skin is loaded.
        EXPECT_FALSE(main->bsSkinData1->Empty);
        EXPECT_EQ(main->bsSkinComboBox1->Text(), "1280*720");
        gui::Application->DestroyComponents();
        RunUntilIdle();
        setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
        fs::remove_all(config / "option.ini");
    }
    // An output folder chosen that cannot be written is said when it is chosen.
    told.clear();
    Start();
    ASSERT_TRUE(told.empty());
    main->SelectDirectory = [](const std::string&, std::string& dir) {
        dir = "/proc";
        return true;
    };
    RecordMessages();
    Press(main->bsSkinButton5);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("/proc"), std::string::npos) << told[0];
}

TEST_F(MainWindowTest, OptionsDialogOkWritesCancelKeepsTheFile) {
    Start();
    Respond([](gui::TCustomForm& f) {
        auto& d = dynamic_cast<TForm5&>(f);
        d.bsSkinComboBox2->SetItemIndex(3);
        d.bsSkinCheckRadioBox5->SetChecked(true);
        d.bsSkinCheckRadioBox3->SetChecked(true);
        d.bsSkinCheckRadioBox9->SetChecked(true);
        d.bsSkinCheckRadioBox8->SetChecked(true);
        Press(d.bsSkinButton6);
        return true;
    });
    main->N24->Click(); // 转换设置
    EXPECT_EQ(Ini("Options", "Thread_Count"), "4");
    EXPECT_EQ(Ini("Options", "After_Done"), "3");
    EXPECT_EQ(Ini("Options", "Overwrite_File"), "0");
    EXPECT_EQ(Ini("Options", "Thread_Priority"), "0");
    EXPECT_EQ(Ini("Options", "Show_Preview"), "1");
    EXPECT_FALSE(options->bsSkinCheckRadioBox6->Checked()); // one radio per group
    EXPECT_TRUE(main->FFConverter->Preview());

    // Cancel leaves the file; the choice stays in force for this run.
    Respond([](gui::TCustomForm& f) {
        auto& d = dynamic_cast<TForm5&>(f);
        d.bsSkinCheckRadioBox2->SetChecked(true);
        Press(d.bsSkinButton1);
        return true;
    });
    Press(main->bsSkinButton19); // 选项
    EXPECT_EQ(Ini("Options", "After_Done"), "3");
    EXPECT_EQ(options->Options().AfterDone, TAfterDone::ShutDown);
}

TEST_F(MainWindowTest, EscapeClosesTheOptionsDialogAsCancelDoes) {
    Start();
    Respond([](gui::TCustomForm& f) {
        dynamic_cast<TForm5&>(f).bsSkinCheckRadioBox5->SetChecked(true);
        D().Key(VK_ESCAPE);
        return true;
    });
    Press(main->bsSkinButton19); // 选项
    EXPECT_FALSE(options->Visible());
    EXPECT_EQ(options->ModalResult(), gui::mrCancel);
    EXPECT_EQ(Ini("Options", "After_Done"), "0");
}

TEST_F(MainWindowTest, EveryHintIsSkinnedAndTheTrayIconStaysAway) {
    // The application's main form, as at program start: the hint component is found on it.
    gui::Application->CreateForm(main);
    options = MakeForm<TForm5>(main);
    main->OptionsForm = options;
    RunUntilIdle();
    ASSERT_NE(main->bsSkinHint1, nullptr);
    EXPECT_EQ(main->bsSkinHint1->LineSeparator, "@");
    EXPECT_EQ(main->bsSkinHint1->SkinData(), main->bsSkinData1);
    EXPECT_TRUE(main->bsSkinHint1->Active());
    EXPECT_EQ(main->bsSkinForm1->SkinHint(), main->bsSkinHint1);
    EXPECT_EQ(gui::Application->HintShortPause, 100);
    ASSERT_NE(main->bsTrayIcon1, nullptr);
    EXPECT_FALSE(main->bsTrayIcon1->Enabled);
    EXPECT_FALSE(main->bsTrayIcon1->IconVisible());
    EXPECT_EQ(main->bsSkinForm1->TrayIcon(), static_cast<skin::TbsFormTrayIcon*>(main->bsTrayIcon1));

    // The hint of a button under the file list shows in the skin's hint window.
    main->Show();
    RunUntilIdle();
    POINT p = ScreenOf(main->MoveUpButton, 20, 10);
    D().MoveMouse(p.x, p.y);
    RunUntilIdle();
    Advance(gui::Application->HintPause + 100);
    auto* w = dynamic_cast<skin::TbsSkinHintWindow*>(gui::Application->HintWindow());
    ASSERT_NE(w, nullptr) << "the plain hint window showed";
    EXPECT_TRUE(w->HandleAllocated() && IsWindowVisible(w->Handle()));
    EXPECT_EQ(w->Caption(), "上移");
    gui::Application->CancelHint();
}

TEST_F(MainWindowTest, PickersAtStartShowKey200AndFollowTheFormat) {
    Start();
    EXPECT_EQ(main->bsSkinOfficeComboBox2->ItemCaption(main->CategoryPosition()), "H.264视频");
    EXPECT_EQ(main->FormatPosition(), 0);
    EXPECT_EQ(PresetTexts(), (std::vector<std::string>{"1280*720", "1600 kbps", "29.97", "128 kbps", "48000",
                                                       "保持原视频模式"}));
    EXPECT_EQ(main->TitleExtension, catalogue::TitleExtension(catalogue::FindFormat(200)->Title));

    RecordPresetChanges();
    main->bsSkinOfficeComboBox1->SetItemIndex(1); // key 201
    EXPECT_EQ(changed, (std::vector<skin::TbsSkinComboBox*>{main->bsSkinComboBox2, main->bsSkinComboBox9}));
    EXPECT_EQ(main->bsSkinComboBox2->Text(), "1200 kbps");
    EXPECT_EQ(main->bsSkinComboBox9->Text(), "30.00");

    // Choosing the same format again: only the picker the user moved returns and announces it.
    changed.clear();
    main->bsSkinComboBox3->SetItemIndex(0);
    changed.clear();
    main->bsSkinOfficeComboBox1->SetItemIndex(1);
    EXPECT_EQ(changed, (std::vector<skin::TbsSkinComboBox*>{main->bsSkinComboBox3}));
    // With no row selected nothing else changes.
    EXPECT_EQ(main->Parameters, catalogue::TParameterSet{});
}

TEST_F(MainWindowTest, CommonAudioDisablesTheFourVideoPickers) {
    Start();
    main->bsSkinOfficeComboBox2->SetItemIndex(14); // 常用音频, key 100
    EXPECT_EQ(main->bsSkinOfficeComboBox2->ItemCaption(main->CategoryPosition()), "常用音频");
    struct Expect {
        skin::TbsSkinComboBox* picker;
        const char* text;
        bool enabled;
    };
    const Expect expect[] = {
        {main->bsSkinComboBox1,  "该格式无视频", false},
        {main->bsSkinComboBox2,  "无视频",          false},
        {main->bsSkinComboBox9,  "无视频",          false},
        {main->bsSkinComboBox4,  "无视频",          false},
        {main->bsSkinComboBox3,  "128 kbps",           true },
        {main->bsSkinComboBox10, "44100",              true }
    };
    for (const Expect& e : expect) {
        EXPECT_EQ(e.picker->Text(), e.text);
        EXPECT_EQ(e.picker->Enabled(), e.enabled) << e.text;
    }
    EXPECT_EQ(main->bsSkinComboBox1->Items()->Count(), 1);
    main->bsSkinOfficeComboBox2->SetItemIndex(0); // back to video: enabled again
    for (skin::TbsSkinComboBox* p :
         {main->bsSkinComboBox1, main->bsSkinComboBox2, main->bsSkinComboBox9, main->bsSkinComboBox4})
        EXPECT_TRUE(p->Enabled());
}

// The preset override reads every picker before it writes: a text that is no bitrate leaves
// the whole parameter set as the catalogue made it.
TEST_F(MainWindowTest, PresetOverrideWritesNothingOnABadBitrate) {
    Start();
    main->Button5Click();
    const catalogue::TParameterSet before = main->Parameters;
    for (skin::TbsSkinComboBox* picker : {main->bsSkinComboBox2, main->bsSkinComboBox3}) {
        SCOPED_TRACE(picker == main->bsSkinComboBox2 ? "video" : "audio");
        for (auto [p, text] : {
                 std::pair{main->bsSkinComboBox1, "123*45"  },
                 std::pair{main->bsSkinComboBox9, "7"       },
                 std::pair{picker,                "快 kbps"}
        }) {
            p->Items()->Add(text); // the size and the rate would be written before the bitrates
            p->SetItemIndex(p->Items()->Count() - 1);
        }
        EXPECT_THROW(main->Button13Click(), os::EConvertError);
        EXPECT_EQ(main->Parameters, before);
        main->Button18Click();
    }
    main->Button13Click();
    EXPECT_EQ(main->Parameters.Video_FrameSize, "1280*720");
    EXPECT_EQ(main->Parameters.Video_VideoBitrate, 1600000);
    EXPECT_EQ(main->Parameters.Video_AudioBitrate, 128000);
}

TEST_F(MainWindowTest, SelectingARowRestoresCategoryFormatAndPresets) {
    Start();
    // A row for category 2 ("智能电视"), format 5, each preset at its list's last entry.
    const int key = 2605;
    const catalogue::TPresetEntry* entry = catalogue::FindPresetEntry(key);
    ASSERT_NE(entry, nullptr);
    catalogue::TPresetPositions positions{};
    for (int i = 0; i < catalogue::PresetPickerCount; ++i)
        positions[static_cast<size_t>(i)] =
            static_cast<int>(entry->Choice(catalogue::FieldOrder[i]).List->Items.size()) - 1;
    gui::TListItem* row = main->lvFiles->Items()->Add();
    row->SetCaption("/videos/x.avi");
    for (int i = 0; i < 24; ++i) row->SubItems()->Add("");
    row->SubItems()->SetStrings(2, "x.avi");
    row->SubItems()->SetStrings(8, "305");
    row->SubItems()->SetStrings(9, catalogue::PresetIndicesText(positions));
    main->lvFiles->SetItemIndex(0);
    RunUntilIdle();

    EXPECT_EQ(main->CategoryPosition(), 2);
    EXPECT_EQ(main->FormatPosition(), 5);
    for (int i = 0; i < catalogue::PresetPickerCount; ++i)
        EXPECT_EQ(main->PresetPicker(catalogue::FieldOrder[i])->ItemIndex(),
                  positions[static_cast<size_t>(i)])
            << i;
    EXPECT_EQ(row->SubItems()->Strings(8), "305");
    EXPECT_EQ(row->SubItems()->Strings(9), catalogue::PresetIndicesText(positions));
    EXPECT_EQ(main->All_Trant_Number, key + 100);
    EXPECT_EQ(main->T_Movie_PLayer_FileName, "/videos/x.avi");
    // The row holds the format's values, with the presets the row chose.
    EXPECT_EQ(row->SubItems()->Strings(15), catalogue::PresetFrameSize(main->bsSkinComboBox1->Text()));
    EXPECT_EQ(row->SubItems()->Strings(2), "x" + main->TitleExtension);

    // Key 2600 for the selected row: the title's extension names the output.
    main->bsSkinOfficeComboBox1->SetItemIndex(0);
    EXPECT_EQ(row->SubItems()->Strings(2), "x.mp4");
    EXPECT_EQ(row->SubItems()->Strings(14), ".avi");
    EXPECT_EQ(row->SubItems()->Strings(8), "300");

    // A preset choice goes into the row.
    main->bsSkinComboBox2->SetItemIndex(main->bsSkinComboBox2->Items()->Count() - 1);
    EXPECT_EQ(row->SubItems()->Strings(16), std::to_string(main->Parameters.Video_VideoBitrate));
}

TEST_F(MainWindowTest, LogAndSmallCommands) {
    os::SpawnRecorder spawned;
    Start();
    main->FFLoggerLog(nullptr, 1234, media::llInfo, "abc");
    EXPECT_EQ(main->mmoLog.Last(), "#1234.5: abc");

    main->Show();
    RunUntilIdle();
    PressKey(VK_F1); // 帮助系统
    RunUntilIdle();
    main->N19->Click();         // 官方网站
    Press(main->bsSkinButton6); // 打开 the output folder
    auto requests = spawned.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].argv.back().substr(requests[0].argv.back().rfind('/') + 1), resources::kHelpFile);
    EXPECT_EQ(requests[1].argv.back(), kWebSite);
    EXPECT_EQ(requests[2].argv.back(), main->FileOutPutPath);

    // 浏览: the folder the dialog confirmed is used and stored; cancelled first, nothing changes.
    std::string chosen = home / "chosen";
    fs::create_directories(chosen);
    main->SelectDirectory = [](const std::string&, std::string&) { return false; };
    Press(main->bsSkinButton5);
    EXPECT_NE(main->FileOutPutPath, chosen);
    main->SelectDirectory = [&](const std::string&, std::string& dir) {
        dir = chosen;
        return true;
    };
    Press(main->bsSkinButton5);
    EXPECT_EQ(main->FileOutPutPath, chosen);
    EXPECT_EQ(Ini("OutPath", "OutPath"), chosen);

    // The skin chooser: a choice switches and is stored; a cancel stores the index unchanged.
    main->SelectSkin = [](int, int& chosenSkin) {
        chosenSkin = 6;
        return true;
    };
    Press(main->bsSkinButton9);
    EXPECT_EQ(main->bsSkinData1->SkinIndex(), 6);
    EXPECT_EQ(Ini("Skin", "SetSkin"), "6");
    SetIni("Skin", "SetSkin", "x");
    main->SelectSkin = [](int, int&) { return false; };
    main->N23->Click();
    EXPECT_EQ(main->bsSkinData1->SkinIndex(), 6);
    EXPECT_EQ(Ini("Skin", "SetSkin"), "6");

    // 退出: the handlers are detached before the window closes.
    main->N4->Click();
    RunUntilIdle();
    EXPECT_FALSE(main->Visible());
    EXPECT_FALSE(main->FFLogger->OnLog);
}

TEST_F(MainWindowTest, AboutBoxShowsAndCloses) {
    Start();
    main->AboutForm = MakeForm<TForm2>(main);
    skin::TbsSkinForm* frame = main->AboutForm->bsSkinForm1;
    EXPECT_TRUE(frame->Magnetic);
    EXPECT_EQ(frame->MagneticSize, 10);
    EXPECT_TRUE(frame->ShowIcon());
    EXPECT_EQ(frame->AlphaBlendValue(), 0);
    EXPECT_EQ(frame->MenusAlphaBlendValue, 0);
    // Centred on the desktop, wherever the main window stands.
    main->SetBounds(0, 0, main->Width(), main->Height());
    std::string caption;
    gui::TRect at{};
    gui::TPoint client{};
    Respond([&](gui::TCustomForm& f) {
        caption = f.Caption();
        at = f.BoundsRect();
        client = {f.ClientWidth(), f.ClientHeight()};
        Press(dynamic_cast<TForm2&>(f).bsSkinButton1);
        return true;
    });
    main->N5->Click();
    EXPECT_EQ(caption, "关于软件");
    const gui::TRect work = gui::Screen->WorkAreaRect();
    EXPECT_NEAR((at.left + at.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((at.top + at.bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(client.x, 332);
    EXPECT_EQ(client.y, 259);
    EXPECT_EQ(main->AboutForm->MailLink->URL, std::string("mailto:") + kSupportMail);
}

// Every text the three windows show, against the texts they must show.
TEST_F(MainWindowTest, EveryChineseTextOfTheWindows) {
    Start();
    main->AboutForm = MakeForm<TForm2>(main);
    std::multiset<std::string> shown;
    std::function<void(gui::TWinControl*)> walk = [&](gui::TWinControl* w) {
        for (int i = 0; i < w->ControlCount(); ++i) {
            gui::TControl* c = w->Controls(i);
            if (!c->Caption().empty()) shown.insert(c->Caption());
            if (auto* child = dynamic_cast<gui::TWinControl*>(c)) walk(child);
        }
    };
    for (gui::TWinControl* f : {static_cast<gui::TWinControl*>(main), static_cast<gui::TWinControl*>(options),
                                static_cast<gui::TWinControl*>(main->AboutForm)}) {
        shown.insert(f->Caption());
        walk(f);
    }
    std::function<void(gui::TMenuItem*)> items = [&](gui::TMenuItem* m) {
        for (int i = 0; i < m->Count(); ++i) {
            if (!m->Items(i)->IsLine()) shown.insert("menu:" + m->Items(i)->Caption());
            items(m->Items(i));
        }
    };
    items(main->bsSkinMainMenu1->Items());
    items(main->bsSkinPopupMenu1->Items());

    const char* const expected[] = {
        // main window
        "TarvikH.264格式转换器", "添加", "删除", "清空", "开始", "停止", "暂停", "继续", "选项", "皮肤",
        "上移", "下移", "重命名", "输出格式：", "输出目录：", "浏览", "打开", "软件网站：", "预置选项",
        "视频分辨率：", "视频比特率：", "视频帧率：", "音频比特率：", "音频采样率：", "视频缩放：",
        "视频预览",
        // menus
        "menu:文件", "menu:添加一个文件", "menu:添加多个文件", "menu:添加整个目录", "menu:退出", "menu:编辑",
        "menu:上移文件", "menu:下移文件", "menu:删除选择", "menu:清空文件", "menu:重新命名", "menu:动作",
        "menu:开始转换", "menu:停止转换", "menu:暂停转换", "menu:继续继续", "menu:功能", "menu:转换设置",
        "menu:软件皮肤", "menu:帮助", "menu:帮助系统", "menu:官方网站", "menu:关于软件",
        // options dialog
        "选项", "转换工作完成后", "自动打开输出文件夹", "自动关闭计算机", " 播放提示音乐", "不进行任何操作",
        "如果输出文件存在时", "直接覆盖输出文件", "自动重命名输出文件", "转换参数",
        "程序最大运行线程数--（同时进行转换的文件个数）", "转换时进行实时视频预览",
        "启用多线程模式   （同时进行转换的视频个数）", "转换时CPU利用方式", "系统空闲时进行",
        "最低优先级进行", "较低优先级进行", "正常优先级进行", "确定", "取消",
        // about box
        "关于软件", "Ver:11.8.6.0", "官方网站：", "支持E-Mail："};
    for (const char* text : expected) EXPECT_TRUE(shown.count(text)) << "not shown: \"" << text << "\"";
    // The menu bar's buttons carry the top-level captions.
    EXPECT_EQ(main->N15->ShortCut(), gui::ShortCut(VK_F1, 0));
    // Commands disabled at start.
    for (gui::TMenuItem* m : {main->RemoveItem, main->ClearItem, main->RenameItem, main->StartItem,
                              main->StopItem, main->PauseItem, main->ResumeItem})
        EXPECT_FALSE(m->Enabled()) << m->Caption();
    for (gui::TControl* c : {static_cast<gui::TControl*>(main->RemoveToolButton),
                             static_cast<gui::TControl*>(main->StartToolButton),
                             static_cast<gui::TControl*>(main->RenameButton)})
        EXPECT_FALSE(c->Enabled()) << c->Caption();
    EXPECT_FALSE(main->ResumeToolButton->Visible());
}

// Closing during a conversion: the handlers are let go first, then the running task is stopped
// and waited for, so nothing reaches the window afterwards.
TEST_F(MainWindowTest, ClosingWhileConvertingStopsTheTaskFirst) {
    fixtures::LoadMediaLibraries();
    fixtures::TempFolder folder("app");
    fixtures::ClipOptions clip;
    clip.seconds = 4;
    std::string input = fixtures::MakeClip(folder, clip);
    Start();
    main->Show();
    RunUntilIdle();
    media::TFFmpegConverter& conv = *main->FFConverter;
    int progress = 0, terminated = 0;
    conv.SetOnProgress([&](os::TObject*, media::TProgressInfo*) { ++progress; });
    conv.SetOnTerminate([&](os::TObject*, const media::TTerminateInfo&) { ++terminated; });
    int task = conv.AddTask(input);
    ASSERT_GE(task, 0) << conv.LastErrMsg();
    // Enlarged frames keep the task busy well past its first progress report.
    ASSERT_TRUE(
        conv.SetOutputFile(task, folder.Path("out.avi"), "vcodec=mpeg4\ns=1920*1080\nacodec=libmp3lame"))
        << conv.LastErrMsg();
    conv.Start(1);
    ASSERT_TRUE(WaitUntil(
        [&] {
            os::CheckSynchronize(1);
            return progress > 0;
        },
        std::chrono::seconds(30), "the conversion's first progress"));
    conv.Pause();
    int seen = progress, ended = terminated;
    main->N4->Click();
    EXPECT_FALSE(main->Visible());
    for (int i = 0; i < 20; ++i) {
        os::CheckSynchronize(5);
        RunUntilIdle();
    }
    EXPECT_EQ(progress, seen);
    EXPECT_EQ(terminated, ended);
    EXPECT_TRUE(WaitUntil([&] { return !conv.Working() || conv.Terminated(); }, std::chrono::seconds(5),
                          "the stopped run"));
}

// Without a test's answer in between, the skin commands and "浏览" open the skinned chooser
// and the skinned select-folder dialog.
TEST_F(MainWindowTest, SkinAndFolderCommandsOpenTheSkinnedDialogs) {
    Start();
    std::vector<std::string> opened;
    auto cancel = [&](gui::TCustomForm& f) {
        opened.push_back(f.ClassName() + ":" + f.Caption());
        f.SetModalResult(gui::mrCancel);
        return true;
    };
    Respond(cancel);
    Press(main->bsSkinButton9); // 皮肤
    Respond(cancel);
    Press(main->bsSkinButton5); // 浏览
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], "TbsSelectSkinDlgForm:Select skin");
    EXPECT_EQ(opened[1], "TbsSelDirDlgForm:选择输出目录");
    EXPECT_EQ(main->bsSkinData1->SkinIndex(), 0);
    EXPECT_EQ(Ini("Skin", "SetSkin"), "0");
    EXPECT_EQ(main->FileOutPutPath, home / "Tarvik视频软件/输出");
}

// The menu bar's items open their menus, and the tool bar's "添加" its add menu.
TEST_F(MainWindowTest, MenuBarAndAddButtonOpenTheirMenus) {
    Start();
    main->Show();
    RunUntilIdle();
    skin::TbsSkinMenu* menu = main->bsSkinForm1->SkinMenu();
    skin::TbsSkinMainMenuBar* bar = main->bsSkinMainMenuBar1;
    EXPECT_EQ(bar->Align(), gui::alTop);
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_TRUE(bar->ScrollMenu());
    ASSERT_EQ(bar->BarItemCount(), 5);
    EXPECT_EQ(bar->BarItem(0)->MenuItem->Caption(), "文件");
    EXPECT_EQ(bar->BarItem(4)->MenuItem->Caption(), "帮助");
    const skin::TRect& file = bar->BarItem(0)->ObjectRect;
    ClickAt(bar, (file.Left + file.Right) / 2, 10);
    RunUntilIdle();
    ASSERT_TRUE(menu->Visible());
    EXPECT_EQ(menu->Level(0)->Items(0)->MenuItem->Caption(), "添加一个文件");
    // Alt leaves the menu mode; Alt again enters it, and Right and Down open the next menu.
    PressKey(VK_MENU);
    EXPECT_FALSE(menu->Visible());
    PressKey(VK_MENU);
    PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    ASSERT_TRUE(menu->Visible());
    EXPECT_EQ(menu->Level(0)->Items(0)->MenuItem->Caption(), "上移文件");
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(main->bsSkinForm1->InMainMenu());
    ClickAt(main->AddToolButton, 20, 20);
    RunUntilIdle();
    EXPECT_TRUE(main->AddToolButton->MenuTracked());
    EXPECT_TRUE(menu->Visible());
    menu->Hide();
    RunUntilIdle();
}

} // namespace
