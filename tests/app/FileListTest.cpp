// The file list: output names and row texts, adding one file, several files and a folder,
// remove, clear, moving rows and renaming outputs.
#include "ConverterWindow.h"
#include "app/FormatPicker.h"
#include "app/OpenDialogFilter.h"
#include "app/OutputNames.h"
#include "app/PreviewPanel.h"
#include "app/RowTexts.h"
#include "catalogue/PresetEntries.h"
#include "catalogue/PresetText.h"
#include "controls/CommCtrl.h"
#include "gui/CustomEdit.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSlider.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "win/Message.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

using namespace app;
namespace fs = std::filesystem;

namespace {

TEST(OutputNames, UniqueAmongRowsAndOnDisk) {
    std::set<std::string> disk = {"/out/x.mp4", "/out/y_1.mp4"};
    auto exists = [&](const std::string& p) { return disk.count(p) > 0; };
    struct Case {
        std::string name;
        std::vector<std::string> taken;
        bool overwrite;
        std::string expected;
    } cases[] = {
        {"a.mp4",   {},                       false, "a.mp4"    },
        {"x.mp4",   {},                       false, "x_1.mp4"  }, // on disk
        {"x.mp4",   {},                       true,  "x.mp4"    }, // overwriting: the disk does not count
        {"x.mp4",   {"x_1.mp4"},              true,  "x.mp4"    },
        {"y.mp4",   {"y.mp4"},                true,  "y_1.mp4"  }, // another row's, even when overwriting
        {"y.mp4",   {"y.mp4"},                false, "y_2.mp4"  }, // y_1 is on disk
        {"a.b.avi", {"a.b.avi", "a.b_1.avi"}, false, "a.b_2.avi"},
        {"noext",   {"noext"},                false, "noext_1"  },
    };
    for (const Case& c : cases)
        EXPECT_EQ(UniqueOutputName("/out", c.name, c.taken, c.overwrite, exists), c.expected) << c.name;
}

TEST(OutputNames, RenameRefusals) {
    std::vector<std::string> taken = {"other.mp4"};
    EXPECT_EQ(RenameRefusal("holiday", "holiday.mp4", taken), "");
    EXPECT_EQ(RenameRefusal("a.b", "a.b.mp4", taken), "");
    EXPECT_EQ(RenameRefusal("假期", "假期.mp4", taken), "");
    EXPECT_EQ(RenameRefusal("", ".mp4", taken), kRenameEmpty);
    for (std::string bad : std::vector<std::string>{"a/b", "..", "../up", "x..y", "tab\there", "nl\n"})
        EXPECT_EQ(RenameRefusal(bad, bad + ".mp4", taken), kRenameBadText) << bad;
    EXPECT_EQ(RenameRefusal("other", "other.mp4", taken), kRenameTaken);
}

TEST(RowTexts, DurationsSizesAndProgress) {
    EXPECT_EQ(SecToDate(3725), "01:02:05");
    EXPECT_EQ(SecToDate(0), "00:00:00");
    EXPECT_EQ(SecToDate(90000), "01:00:00");
    EXPECT_EQ(MegabyteText(1572864), "1.5MB");
    EXPECT_EQ(MegabyteText(3 * 1048576), "3MB");
    EXPECT_EQ(MegabyteText(12949913), "12.35MB");
    EXPECT_EQ(MegabyteText(0), "0MB");
    // 0.125 MB lies halfway between hundredths: halves go to the even one.
    EXPECT_EQ(MegabyteText(131072), "0.12MB");
    EXPECT_EQ(ProgressText(50, 200), "25%");
    EXPECT_EQ(ProgressText(199, 200), "99%");
    EXPECT_EQ(ProgressText(5, 0), "N/A");
}

class FileListTest : public ConverterWindowTest {
protected:
    void SetUp() override {
        ConverterWindowTest::SetUp();
        fixtures::ClipOptions clip;
        clip.seconds = 1;
        clip.width = 160;
        clip.height = 120;
        clip.kind = fixtures::ClipKind::Avi;
        avi = fixtures::MakeClip(folder, clip, "x.avi");
        clip.kind = fixtures::ClipKind::Mkv;
        mkv = fixtures::MakeClip(folder, clip, "x.mkv");
        clip.kind = fixtures::ClipKind::Wav;
        wav = fixtures::MakeClip(folder, clip, "tone.wav");
        text = folder.Path("notes.txt");
        std::ofstream(text) << "not a media file";
    }
    fixtures::TempFolder folder{"filelist"};
    std::string avi, mkv, wav, text;
};

TEST_F(FileListTest, SeveralFilesGetRowsSlotsAndNamesOfTheirOwn) {
    Start();
    chosen = {avi, mkv, text, wav};
    ExpectMessage();
    list->AddSeveralFiles();
    // The unreadable file is reported, and the others are added in reverse order.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(LastMessageHas("notes.txt")) << messages.back();
    ASSERT_EQ(list->RowCount(), 3);
    EXPECT_EQ(File(0), "tone.wav");
    EXPECT_EQ(File(1), "x.mkv");
    EXPECT_EQ(File(2), "x.avi");
    EXPECT_EQ(main->lvFiles->ItemIndex(), 2);
    // Two inputs of one base name never share an output.
    std::set<std::string> names;
    for (int r = 0; r < 3; ++r) names.insert(Sub(r, rcOutputFile));
    EXPECT_EQ(names.size(), 3u);
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(Sub(r, rcTaskNumber), std::to_string(r + 1));
        EXPECT_EQ(Sub(r, rcDuration), "00:00:01");
        EXPECT_NE(Sub(r, rcSize).find("MB"), std::string::npos);
        // Every row got its parameters at add time, not only the last one.
        EXPECT_FALSE(Sub(r, 10).empty());
        EXPECT_FALSE(Sub(r, 21).empty());
        EXPECT_EQ(Sub(r, rcPresetIndices).size(), 12u);
        EXPECT_EQ(list->SlotOfRow(r).Output.AudioLanguage, "");
        EXPECT_EQ(list->SlotOfRow(r).State, TFileSlot::TState::Full);
    }
    EXPECT_TRUE(main->StartToolButton->Enabled());
    EXPECT_TRUE(main->RemoveToolButton->Enabled());
}

TEST_F(FileListTest, RemoveClearAndMoveKeepRowsTasksAndSlotsInLine) {
    Start();
    ExpectMessage();
    list->Remove();
    EXPECT_TRUE(LastMessageHas("请先选择您需要删除的项目！"));
    EXPECT_TRUE(LastMessageHas("提示"));

    chosen = {wav, mkv, avi};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 3); // avi, mkv, wav
    std::string first = list->Row(0)->Caption();
    main->lvFiles->SetItemIndex(0);
    list->MoveUp(); // the first row stays
    EXPECT_EQ(list->Row(0)->Caption(), first);
    main->lvFiles->SetItemIndex(2);
    list->MoveDown(); // so does the last
    main->lvFiles->SetItemIndex(0);
    list->MoveDown();
    EXPECT_EQ(list->Row(1)->Caption(), first);
    EXPECT_EQ(main->lvFiles->ItemIndex(), 1);
    EXPECT_EQ(Sub(1, rcTaskNumber), "1"); // the task number travels with its row
    list->MoveUp();
    EXPECT_EQ(list->Row(0)->Caption(), first);

    main->lvFiles->SetItemIndex(0);
    list->Remove();
    ASSERT_EQ(list->RowCount(), 2);
    EXPECT_EQ(main->FFConverter->TasksCount(), 2);
    EXPECT_EQ(Sub(0, rcTaskNumber), "1");
    EXPECT_EQ(Sub(1, rcTaskNumber), "2");
    EXPECT_EQ(main->lvFiles->ItemIndex(), 0);
    EXPECT_EQ(list->Slots()[0].State, TFileSlot::TState::Deleted);
    chosen = {first};
    list->AddOneFile();
    ASSERT_EQ(list->RowCount(), 3);
    EXPECT_EQ(list->Slots().size(), 4u); // a removed slot is not taken again before Clear
    EXPECT_EQ(Sub(2, rcTaskNumber), "3");

    list->Clear();
    EXPECT_EQ(list->RowCount(), 0);
    EXPECT_EQ(main->FFConverter->TasksCount(), 0);
    EXPECT_TRUE(list->Slots().empty());
    EXPECT_FALSE(main->ClearToolButton->Enabled());
    EXPECT_FALSE(main->StartToolButton->Enabled());
}

// The add commands ask the window's skinned open dialogs: one file typed as a path, several
// chosen in the list (added last first), and a cancelled dialog adds nothing.
TEST_F(FileListTest, AddCommandsAskTheSkinnedOpenDialogs) {
    Start(false);
    for (skin::TbsSkinOpenDialog* d : {main->OpenDialog1, main->OpenDialog2}) {
        EXPECT_EQ(d->Title, "打开文件");
        EXPECT_EQ(d->Filter, OpenDialogFilter());
        EXPECT_TRUE(d->CheckFileExists);
    }
    EXPECT_FALSE(main->OpenDialog1->MultiSelection);
    EXPECT_TRUE(main->OpenDialog2->MultiSelection);

    auto form = [](gui::TCustomForm& f) -> skin::TbsOpenDlgForm& {
        return dynamic_cast<skin::TbsOpenDlgForm&>(f);
    };
    Respond([&](gui::TCustomForm& f) {
        skin::TbsOpenDlgForm& d = form(f);
        EXPECT_EQ(f.Caption(), "打开文件");
        EXPECT_EQ(d.FilterComboBox->Items()->Count(), 42);
        EXPECT_EQ(d.FilterComboBox->Mask(), "*.*");
        EXPECT_EQ(d.FileListView->Path(), home.path); // not the program's folder
        d.FileNameEdit->SetText(avi);
        d.OpenButtonClick(&f);
        return true;
    });
    list->AddOneFile();
    ASSERT_EQ(list->RowCount(), 1);
    EXPECT_EQ(File(0), "x.avi");

    Respond([&](gui::TCustomForm& f) {
        skin::TbsOpenDlgForm& d = form(f);
        const std::string dir = folder.Dir();
        d.FileListView->SetPath(dir.substr(0, dir.size() - 1));
        for (const char* name : {"x.mkv", "tone.wav"})
            for (int i = 0; i < d.FileListView->FolderCount(); ++i)
                if (d.FileListView->FolderAt(i)->DisplayName() == name) {
                    LVITEM it{};
                    it.stateMask = it.state = LVIS_SELECTED;
                    SendMessage(d.FileListView->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(&it));
                }
        d.OpenButtonClick(&f);
        return true;
    });
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 3);
    EXPECT_EQ(File(1), "x.mkv");
    EXPECT_EQ(File(2), "tone.wav");

    for (bool several : {false, true}) {
        Respond([](gui::TCustomForm& f) {
            f.SetModalResult(gui::mrCancel);
            return true;
        });
        several ? list->AddSeveralFiles() : list->AddOneFile();
        EXPECT_EQ(list->RowCount(), 3);
    }
}

// With the last row gone the preview has nothing to show: its slider goes back to the start.
TEST_F(FileListTest, EmptyingTheListResetsThePreviewSlider) {
    Start();
    for (bool clear : {false, true}) {
        SCOPED_TRACE(clear ? "clear" : "remove");
        chosen = {avi};
        list->AddOneFile();
        ASSERT_EQ(list->RowCount(), 1);
        main->Preview->bsSkinSlider1->SetValue(60);
        main->lvFiles->SetItemIndex(0);
        clear ? list->Clear() : list->Remove();
        EXPECT_EQ(list->RowCount(), 0);
        EXPECT_EQ(main->Preview->bsSkinSlider1->Value(), 0);
        EXPECT_TRUE(main->bsSkinPanel5->Visible());
    }
}

TEST_F(FileListTest, FolderAddsItsMediaAndCancelAddsNothing) {
    Start();
    fixtures::TempFolder empty("emptyfolder");
    folderAnswer = empty.Dir();
    ExpectMessage();
    list->AddFolder();
    EXPECT_TRUE(LastMessageHas("在该目录没有发现可以用的视频或音频文件！"));
    EXPECT_EQ(list->RowCount(), 0);

    folderAnswer = folder.Dir();
    ExpectMessage(); // notes.txt is reported
    list->AddFolder();
    EXPECT_EQ(list->RowCount(), 3);
    EXPECT_TRUE(LastMessageHas("notes.txt"));

    // Cancel does not add the last confirmed folder again.
    folderAnswer.clear();
    list->AddFolder();
    EXPECT_EQ(list->RowCount(), 3);
}

TEST_F(FileListTest, RenameRefusesUnsafeOrSharedNames) {
    Start();
    ExpectMessage();
    list->BeginRename();
    EXPECT_TRUE(LastMessageHas("请先选中您需要重命名的项目！"));

    chosen = {avi, wav};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);
    main->lvFiles->SetItemIndex(0);
    std::string other = Sub(1, rcOutputFile);
    list->BeginRename();
    gui::TEdit* edt = list->Editor();
    ASSERT_TRUE(edt->Visible());
    std::string old = Sub(0, rcOutputFile);
    EXPECT_EQ(edt->Text() + main->TitleExtension, old);

    edt->SetText("");
    EXPECT_FALSE(list->EndRename());
    EXPECT_TRUE(edt->Visible());
    for (std::string bad : std::vector<std::string>{
             "../escape", "a/b", "x\ty", other.substr(0, other.size() - main->TitleExtension.size())}) {
        SCOPED_TRACE(bad);
        edt->SetText(bad);
        ExpectMessage();
        EXPECT_FALSE(list->EndRename());
        EXPECT_EQ(Sub(0, rcOutputFile), old);
        EXPECT_TRUE(edt->Visible());
    }
    edt->SetText("holiday");
    EXPECT_TRUE(list->EndRename());
    EXPECT_EQ(Sub(0, rcOutputFile), "holiday" + main->TitleExtension);
    EXPECT_FALSE(edt->Visible());
    EXPECT_EQ(list->SlotOfRow(0).Output.FileName, main->FileOutPutPath + "/holiday" + main->TitleExtension);

    // The double click opens the editor too, and leaving it stores the name.
    main->Show();
    RunUntilIdle();
    main->lvFiles->OnDblClick(main->lvFiles);
    ASSERT_TRUE(edt->Visible());
    EXPECT_EQ(edt->Text(), "holiday");
    edt->SetText("beach");
    main->lvFiles->SetFocus();
    RunUntilIdle();
    EXPECT_EQ(Sub(0, rcOutputFile), "beach" + main->TitleExtension);
    EXPECT_FALSE(edt->Visible());
}

TEST_F(FileListTest, ARefusedRenameCorrectedAfterTheRowLostItsSelectionIsKept) {
    Start();
    chosen = {avi, wav};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 2);
    main->lvFiles->SetItemIndex(0);
    const std::string other = Sub(1, rcOutputFile);
    list->BeginRename();
    gui::TEdit* edt = list->Editor();
    ASSERT_TRUE(edt->Visible());
    // The click that ends the first edit lands on an empty part of the list: no row selected.
    edt->SetText(other.substr(0, other.size() - main->TitleExtension.size()));
    main->lvFiles->SetSelected(nullptr);
    ExpectMessage();
    EXPECT_FALSE(list->EndRename());
    EXPECT_TRUE(edt->Visible());
    edt->SetText("corrected");
    EXPECT_TRUE(list->EndRename());
    EXPECT_FALSE(edt->Visible());
    EXPECT_EQ(Sub(0, rcOutputFile), "corrected" + main->TitleExtension);
    EXPECT_EQ(Sub(1, rcOutputFile), other);
    EXPECT_EQ(list->SlotOfRow(0).Output.FileName, main->FileOutPutPath + "/corrected" + main->TitleExtension);
}

// A named pipe, a socket or a device is never opened: opening one blocks until someone writes.
TEST_F(FileListTest, FilesThatAreNotRegularAreListedAsNotAddedWithoutOpeningThem) {
    Start();
    fixtures::TempFolder odd("oddfiles");
    const std::string fifo = odd.Path("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string clip = odd.Path("x.avi");
    std::filesystem::copy_file(avi, clip);
    for (int command = 0; command < 3; ++command) {
        SCOPED_TRACE(command);
        list->Clear();
        chosen = {fifo};
        folderAnswer = odd.Dir();
        ExpectMessage();
        if (command == 0) list->AddOneFile();
        if (command == 1) list->AddSeveralFiles();
        if (command == 2) list->AddFolder();
        EXPECT_TRUE(LastMessageHas("pipe.avi")) << (messages.empty() ? "" : messages.back());
        EXPECT_EQ(list->RowCount(), command == 2 ? 1 : 0);
    }
    EXPECT_EQ(main->T_Movie_PLayer_FileName, clip);
}

// What the pickers show is what the row converts, for every format of the common video family.
TEST_F(FileListTest, SelectedRowHoldsWhatThePickersShow) {
    Start();
    chosen = {avi};
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 1);
    main->lvFiles->SetItemIndex(0);
    main->bsSkinOfficeComboBox2->SetItemIndex(13); // 常用视频
    for (int f = 0; f < main->bsSkinOfficeComboBox1->Count(); ++f) {
        SCOPED_TRACE(f);
        main->bsSkinOfficeComboBox1->SetItemIndex(f);
        auto text = [&](catalogue::TPresetPicker p) { return main->PresetPicker(p)->Text(); };
        using P = catalogue::TPresetPicker;
        EXPECT_EQ(Sub(0, 15), catalogue::PresetFrameSize(text(P::FrameSize)));
        EXPECT_EQ(Sub(0, 16), std::to_string(catalogue::PresetVideoBitrate(text(P::VideoBitrate))));
        EXPECT_EQ(Sub(0, 17), catalogue::PresetFrameRate(text(P::FrameRate)));
        EXPECT_EQ(Sub(0, 18), std::to_string(catalogue::PresetAudioBitrate(text(P::AudioBitrate))));
        EXPECT_EQ(Sub(0, 19),
                  catalogue::PresetSampleRate(text(P::SampleRate), catalogue::TSampleRateUse::Override));
        EXPECT_EQ(os_ExtractFileName(Sub(0, rcOutputFile)), "x" + main->TitleExtension);
    }
}

// The list is not limited by a fixed number of slots: each row keeps a slot of its own.
TEST_F(FileListTest, MoreThan501FilesKeepASlotEach) {
    Start();
    chosen.assign(502, wav);
    list->AddSeveralFiles();
    ASSERT_EQ(list->RowCount(), 502);
    std::set<std::string> names;
    for (int r = 0; r < 502; ++r) {
        EXPECT_EQ(list->SlotOfRow(r).State, TFileSlot::TState::Full);
        names.insert(Sub(r, rcOutputFile));
    }
    EXPECT_EQ(list->Slots().size(), 502u);
    EXPECT_EQ(names.size(), 502u);
}

// A format change never gives a row the output another row writes.
TEST_F(FileListTest, FormatChangeKeepsOutputsApart) {
    Start();
    chosen = {avi, mkv};
    list->AddSeveralFiles(); // row 0 writes x.avi, row 1 (selected) x_1.avi
    ASSERT_EQ(list->RowCount(), 2);
    ASSERT_EQ(Sub(0, rcOutputFile), "x.avi");
    main->bsSkinOfficeComboBox2->SetItemIndex(13); // 常用视频
    main->bsSkinOfficeComboBox1->SetItemIndex(1);  // MP4
    list->BeginRename();
    list->Editor()->SetText("x");
    ASSERT_TRUE(list->EndRename());
    EXPECT_EQ(Sub(1, rcOutputFile), "x.mp4");
    main->lvFiles->SetItemIndex(0);
    main->bsSkinOfficeComboBox2->SetItemIndex(13);
    main->bsSkinOfficeComboBox1->SetItemIndex(1);
    EXPECT_EQ(Sub(0, rcOutputFile), "x_1.mp4");
}

} // namespace
