// The main window's preview, headless, with a generated clip: a selected row opens paused, the
// slider follows the position unless it is held, the end rewinds and pauses, a drag seeks to
// its share, mute swaps its buttons, stop reopens, and snapshots land in the snapshot folder.
#include "app/PreviewPanel.h"
#include "../gui/GuiHarness.h"
#include "../gui/TempDir.h"
#include "app/FileList.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "catalogue/PresetEntries.h"
#include "catalogue/PresetText.h"
#include "fixtures/Fixtures.h"
#include "gdi/image/ImageFile.h"
#include "gui/CustomListView.h"
#include "gui/CustomPanel.h"
#include "gui/IniFile.h"
#include "gui/MenuItem.h"
#include "media/ComponentUtils.h"
#include "media/FFPlayer.h"
#include "os/MainThread.h"
#include "resources/ProgramResources.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSlider.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace app;
namespace fs = std::filesystem;

namespace {

class PreviewPanelTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        resources::RegisterProgramResources();
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        oldHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", home.path.c_str(), 1);
        setenv("TARVIK_CONFIG_DIR", config.path.c_str(), 1);
        media::SetMessagePump([] {
            MSG msg;
            bool any = os::CheckSynchronize(0);
            return gui::Application->ProcessMessage(msg) || any;
        });
        main = MakeForm<TForm1>();
        options = MakeForm<TForm5>(main);
        main->OptionsForm = options;
        main->Show();
        RunUntilIdle();
        preview = main->Preview.get();
        player = main->FFPlayer;
    }
    void TearDown() override {
        player->Stop(true);
        GuiTest::TearDown();
        media::SetMessagePump(nullptr);
        setenv("HOME", oldHome_.c_str(), 1);
        unsetenv("TARVIK_CONFIG_DIR");
    }
    static ::testing::AssertionResult PumpUntil(const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                os::CheckSynchronize(1);
                MSG msg;
                gui::Application->ProcessMessage(msg);
                return done();
            },
            std::chrono::seconds(30), what);
    }
    // A row as the file list holds it, selected: the window opens its file in the preview.
    void SelectRow(const std::string& file) {
        const catalogue::TPresetEntry* entry = catalogue::FindPresetEntry(2605);
        ASSERT_NE(entry, nullptr);
        catalogue::TPresetPositions positions{};
        gui::TListItem* row = main->lvFiles->Items()->Add();
        row->SetCaption(file);
        for (int i = 0; i < 24; ++i) row->SubItems()->Add("");
        row->SubItems()->SetStrings(8, "305");
        row->SubItems()->SetStrings(9, catalogue::PresetIndicesText(positions));
        main->lvFiles->SetItemIndex(main->lvFiles->Items()->Count() - 1);
    }
    size_t LogIndexOf(const std::string& prefix, size_t from = 0) const {
        for (size_t i = from; i < main->mmoLog.Count(); ++i)
            if (main->mmoLog.Line(i).rfind(prefix, 0) == 0) return i;
        return std::string::npos;
    }
    bool Logged(const std::string& prefix, size_t from = 0) const {
        return LogIndexOf(prefix, from) != std::string::npos;
    }
    ::testing::AssertionResult OpenedPaused(size_t from = 0) {
        if (auto r = PumpUntil([&] { return Logged("duration: ", from); }, "the file report"); !r) return r;
        return PumpUntil([&] { return player->Paused() && player->CurrentFrame().Width() > 0; },
                         "the first picture, paused");
    }
    template <class B> static void Press(B* b) {
        ASSERT_TRUE(b->OnClick);
        b->OnClick(b);
    }
    static int FrameNumberOf(const media::TFrameBitmap& bitmap) {
        return fixtures::ReadFrameNumber(bitmap.ScanLine(0), bitmap.Stride(), bitmap.Width(), bitmap.Height(),
                                         3);
    }
    std::string Ini(const std::string& section, const std::string& key) {
        return gui::TIniFile(config / "option.ini").ReadString(section, key, "Error");
    }

    TempDir home, config;
    fixtures::TempFolder clips{"preview"};
    TForm1* main = nullptr;
    TForm5* options = nullptr;
    TPreviewPanel* preview = nullptr;
    media::TFFPlayer* player = nullptr;
    std::string oldHome_;
};

TEST_F(PreviewPanelTest, ARowOpensPausedThenPlaysToTheEndWhichRewindsAndPauses) {
    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 2.0});
    SelectRow(clip);
    ASSERT_TRUE(OpenedPaused());
    EXPECT_EQ(main->T_Movie_PLayer_FileName, clip);
    // The probe's report comes first, then the duration line.
    const size_t duration = LogIndexOf("duration: ");
    ASSERT_GT(duration, 0u);
    EXPECT_EQ(main->mmoLog.Line(duration - 1), player->AVProbe().FileInfoText());
    EXPECT_NE(main->mmoLog.Line(duration).find("frame size: 320x240"), std::string::npos);
    EXPECT_EQ(preview->Label2, "2.00");
    EXPECT_EQ(player->ScreenWidth.load(), main->Panel6->Width());
    // One video and one audio stream: nothing to choose.
    EXPECT_FALSE(preview->cboVideo.Enabled);
    EXPECT_FALSE(preview->cboAudio.Enabled);
    EXPECT_TRUE(preview->cboSubtitle.Items.empty());
    EXPECT_FALSE(preview->cboSubtitle.Enabled);
    EXPECT_EQ(preview->bsSkinSlider1->Value(), 0);

    Press(preview->bsSkinButton13);
    ASSERT_TRUE(PumpUntil([&] { return preview->bsSkinSlider1->Value() > 50; }, "the slider to follow"));
    EXPECT_NE(preview->Label3, "0.0");
    ASSERT_TRUE(PumpUntil([&] { return Logged("End"); }, "the end"));
    ASSERT_TRUE(PumpUntil([&] { return player->Paused() && Logged("Pause", LogIndexOf("End")); },
                          "paused after the end"));
    // One step shows where the player now stands: at the start, once the rewind has landed.
    ASSERT_TRUE(PumpUntil([&] { return !player->Seeking(); }, "the rewind to land"));
    player->StepToNextFrame();
    EXPECT_TRUE(PumpUntil([&] { return player->CurrentPTS() < 500000; }, "a picture from the start"));
}

TEST_F(PreviewPanelTest, AHeldSliderIgnoresPositionsAndItsReleaseSeeksToItsShareAndPlays) {
    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 4.0});
    SelectRow(clip);
    ASSERT_TRUE(OpenedPaused());

    auto* slider = preview->bsSkinSlider1;
    slider->OnMouseDown(slider, gui::mbLeft, {}, 0, 0);
    EXPECT_EQ(main->bsSkinSlider1_down_UP, "Down");
    const std::string label = preview->Label3;
    preview->FFPlayerPosition(preview->FDuration / 2);
    EXPECT_EQ(slider->Value(), 0);
    EXPECT_EQ(preview->Label3, label);

    slider->SetValue(slider->MaxValue() / 2);
    slider->OnMouseUp(slider, gui::mbLeft, {}, 0, 0);
    EXPECT_EQ(main->bsSkinSlider1_down_UP, "UP");
    ASSERT_TRUE(PumpUntil([&] { return !player->Paused() && player->CurrentPTS() >= 1900000; },
                          "playing from the middle"));

    // A snapshot as PNG holds the picture the preview shows.
    Press(preview->bsSkinButton14);
    ASSERT_TRUE(PumpUntil([&] { return player->Paused(); }, "paused"));
    RunUntilIdle();
    const int shown = FrameNumberOf(player->CurrentFrame());
    EXPECT_GE(shown, 45);
    preview->PNG1->Click();
    EXPECT_EQ(Ini("SnapShot", "Picture"), "PNG");
    Press(preview->bsSkinButton22);
    const std::string folder = home.path.string() + "/Tarvik视频软件/快照";
    const std::string png = folder + "/" + fs::path(clip).stem().string() + "_1.png";
    gdi::image::Image picture;
    std::string error;
    ASSERT_TRUE(gdi::image::LoadImageFile(png, picture, error)) << error;
    EXPECT_EQ(fixtures::ReadFrameNumber(reinterpret_cast<const uint8_t*>(picture.pixels.data()),
                                        picture.width * 4, picture.width, picture.height, 4),
              shown);
    EXPECT_TRUE(preview->PNG1->Checked());
    EXPECT_FALSE(preview->BMP1->Checked());

    // Without a duration the slider stays where it is.
    preview->FDuration = 0;
    slider->SetValue(7);
    preview->FFPlayerPosition(1000000);
    EXPECT_EQ(slider->Value(), 7);
}

// A file's preview never shows another file's picture: a file that cannot be opened leaves no
// picture in the panel, and says why in the log.
TEST_F(PreviewPanelTest, AFileThatCannotOpenLeavesNoPictureOfTheLastFile) {
    auto look = [&] {
        std::vector<COLORREF> grid;
        const int w = main->Panel6->Width(), h = main->Panel6->Height();
        for (int y = 1; y < 8; ++y)
            for (int x = 1; x < 8; ++x) grid.push_back(PixelAt(main->Panel6, w * x / 8, h * y / 8));
        return grid;
    };
    RunUntilIdle();
    const std::vector<COLORREF> empty = look();
    SelectRow(fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 2.0}));
    ASSERT_TRUE(OpenedPaused());
    ASSERT_TRUE(PumpUntil([&] { return look() != empty; }, "the first picture in the panel"));
    const std::string broken = clips.Path("broken.mp4");
    std::ofstream(broken) << "no media here";
    const size_t from = main->mmoLog.Count();
    SelectRow(broken);
    EXPECT_TRUE(PumpUntil([&] { return Logged(broken + ":", from); }, "the reason in the log"));
    // The panel's own look, or the black of a surface that shows nothing yet.
    EXPECT_TRUE(PumpUntil(
        [&] {
            const std::vector<COLORREF> now = look();
            for (size_t i = 0; i < now.size(); ++i)
                if (now[i] != empty[i] && now[i] != RGB(0, 0, 0)) return false;
            return true;
        },
        "the panel without the last picture"));
}

TEST_F(PreviewPanelTest, MuteSwapsTheButtonsAndStopReopensTheSelectedFilePaused) {
    Press(preview->bsSkinButton15); // no row: nothing happens
    EXPECT_FALSE(Logged("duration: "));
    EXPECT_TRUE(preview->bsSkinButton16->Visible());
    EXPECT_FALSE(preview->bsSkinButton20->Visible());
    Press(preview->bsSkinButton16);
    EXPECT_TRUE(player->Mute());
    EXPECT_TRUE(preview->bsSkinButton20->Visible());
    EXPECT_FALSE(preview->bsSkinButton16->Visible());
    EXPECT_EQ(preview->bsSkinButton20->Left(), preview->bsSkinButton16->Left());
    Press(preview->bsSkinButton20);
    EXPECT_FALSE(player->Mute());
    EXPECT_TRUE(preview->bsSkinButton16->Visible());
    EXPECT_FALSE(preview->bsSkinButton20->Visible());

    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 3.0});
    SelectRow(clip);
    ASSERT_TRUE(OpenedPaused());
    Press(preview->bsSkinButton13);
    ASSERT_TRUE(PumpUntil([&] { return player->CurrentPTS() > 500000; }, "playing"));
    const size_t first = LogIndexOf("duration: ");
    Press(preview->bsSkinButton15);
    ASSERT_TRUE(OpenedPaused(first + 1));
    EXPECT_EQ(FrameNumberOf(player->CurrentFrame()), 0);
}

TEST_F(PreviewPanelTest, SnapshotsWithoutAPreviewSaveNothingButWriteTheSettings) {
    Press(preview->bsSkinButton22);
    const std::string folder = home.path.string() + "/Tarvik视频软件/快照";
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(Ini("SnapShot", "Dir"), folder);
    EXPECT_EQ(Ini("SnapShot", "Picture"), "BMP");

    // A stored lower-case type is replaced when the menu opens.
    gui::TIniFile(config / "option.ini").WriteString("SnapShot", "Picture", "jpg");
    preview->JPG1->SetChecked(true);
    Press(preview->bsSkinButton23);
    EXPECT_EQ(Ini("SnapShot", "Picture"), "BMP");
    EXPECT_TRUE(preview->BMP1->Checked());
    EXPECT_FALSE(preview->JPG1->Checked());

    // Choosing a folder that exists stores it; the open command opens the stored one.
    const std::string chosen = home / "shots";
    fs::create_directory(chosen);
    main->SelectDirectory = [&](const std::string&, std::string& dir) {
        dir = chosen;
        return true;
    };
    preview->MenuItem2->Click();
    EXPECT_EQ(Ini("SnapShot", "Dir"), chosen);
    std::string opened;
    preview->OpenFolder = [&](const std::string& f) { opened = f; };
    preview->MenuItem1->Click();
    EXPECT_EQ(opened, chosen);
}

TEST_F(PreviewPanelTest, TheSurfaceIsBlackBeforeTheFirstFileAndAgainAfterClear) {
    gui::TWinControl* surface = main->Panel6;
    // Black points of the surface, out of a grid over it.
    int points = 0;
    auto BlackShare = [&](gui::TWinControl* panel) {
        int black = 0;
        points = 0;
        for (int y = 4; y < panel->ClientHeight(); y += 12)
            for (int x = 4; x < panel->ClientWidth(); x += 12, ++points)
                black += (PixelAt(panel, x, y) & 0xFFFFFF) == 0;
        return black;
    };
    auto GridPoints = [&](gui::TWinControl* panel) {
        BlackShare(panel);
        return points;
    };
    EXPECT_EQ(BlackShare(surface), GridPoints(surface));
    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 2.0});
    SelectRow(clip);
    ASSERT_TRUE(OpenedPaused());
    ASSERT_TRUE(PumpUntil([&] { return BlackShare(surface) < GridPoints(surface) / 2; }, "the picture"));
    main->FileList->Clear();
    RunUntilIdle();
    EXPECT_EQ(BlackShare(surface), GridPoints(surface));
    // Another file shows its own picture again.
    SelectRow(clip);
    EXPECT_TRUE(PumpUntil([&] { return BlackShare(surface) < GridPoints(surface) / 2; }, "the next picture"));
}

TEST_F(PreviewPanelTest, ASnapshotThatCannotBeSavedIsToldWithTheReason) {
    const std::string clip = fixtures::MakeClip(clips, fixtures::ClipOptions{.seconds = 2.0});
    SelectRow(clip);
    ASSERT_TRUE(OpenedPaused());
    // A folder under a plain file can be neither made nor written.
    const fs::path blocker = home / "blocker";
    std::ofstream(blocker) << "x";
    gui::TIniFile(config / "option.ini").WriteString("SnapShot", "Dir", (blocker / "shots").string());
    std::string told;
    Respond([&](gui::TCustomForm& f) {
        std::function<void(gui::TControl*)> texts = [&](gui::TControl* c) {
            told += c->Text() + "\n";
            if (auto* w = dynamic_cast<gui::TWinControl*>(c))
                for (int i = 0; i < w->ControlCount(); ++i) texts(w->Controls(i));
        };
        texts(&f);
        f.SetModalResult(gui::mrOk);
        return true;
    });
    Press(preview->bsSkinButton22);
    EXPECT_NE(told.find((blocker / "shots").string()), std::string::npos) << told;
    EXPECT_NE(told.find(std::strerror(ENOTDIR)), std::string::npos) << told;
}

} // namespace
