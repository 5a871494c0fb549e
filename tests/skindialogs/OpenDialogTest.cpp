// The skinned open dialog over a temporary tree, answered by responders: its size and
// captions, the accept rules, several files, the folder history, new folders, the save
// mode's extensions and what Execute writes back.
#include "ShellGuiFixture.h"
#include "app/OpenDialogFilter.h"
#include "controls/CommCtrl.h"
#include "gui/HintWindow.h"
#include "os/Clock.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/shell/FilePaths.h"
#include "win/Message.h"
#include "win/Window.h"

#include <filesystem>

using namespace skin;

namespace {

class OpenDialogTest : public ShellGuiTest {
protected:
    void SetUp() override {
        ShellGuiTest::SetUp();
        dir = MakeDir("home/clips");
        Make("home/clips/clip.avi");
        Make("home/clips/片头.mp4");
        Make("home/clips/说明.txt");
        MakeDir("home/clips/子目录");
        dlg = new TbsSkinOpenDialog(gui::Application);
        dlg->Title = "打开文件";
        dlg->InitialDir = dir;
    }
    static TbsOpenDlgForm& Form(gui::TCustomForm& f) { return dynamic_cast<TbsOpenDlgForm&>(f); }
    static int IndexOf(TbsOpenDlgForm& d, const std::string& name) {
        for (int i = 0; i < d.FileListView->FolderCount(); ++i)
            if (d.FileListView->FolderAt(i)->DisplayName() == name) return i;
        return -1;
    }
    static void Select(TbsOpenDlgForm& d, int i) {
        LVITEM it{};
        it.stateMask = it.state = LVIS_SELECTED;
        SendMessage(d.FileListView->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i),
                    reinterpret_cast<LPARAM>(&it));
    }
    TbsSkinOpenDialog* dlg = nullptr;
    std::string dir;
};

TEST_F(OpenDialogTest, OpensAtTheInitialFolderWithItsDefaultsAndTheMainWindowFilter) {
    dlg->Filter = app::OpenDialogFilter();
    std::vector<std::string> log;
    dlg->OnShow = [&](gui::TObject*) { log.push_back("show"); };
    dlg->OnClose = [&](gui::TObject*) { log.push_back("close"); };
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        EXPECT_EQ(f.Caption(), "打开文件");
        EXPECT_EQ(f.ClientWidth(), 450);
        EXPECT_EQ(f.ClientHeight(), 290);
        EXPECT_EQ(d.FileListView->Path(), dir);
        EXPECT_EQ(d.ShellBox->Path(), dir);
        EXPECT_EQ(d.FilterComboBox->Items()->Count(), 42);
        EXPECT_EQ(d.FilterComboBox->ItemIndex(), 0);
        EXPECT_EQ(d.OpenButton->Caption(), "&Open");
        EXPECT_EQ(d.Drivelabel->Caption(), "Look in: ");
        EXPECT_EQ(d.BSF->BorderIcons(), 0);
        EXPECT_EQ(d.FileListView->ViewStyle(), gui::vsList);
        EXPECT_TRUE(d.ListMenuItem->Checked());
        EXPECT_GE(IndexOf(d, "片头.mp4"), 0);
        EXPECT_GE(IndexOf(d, "子目录"), 0);
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
    EXPECT_EQ(log, std::vector<std::string>({"show", "close"}));
    EXPECT_EQ(dlg->Form(), nullptr);
}

TEST_F(OpenDialogTest, ABareNameIsCompletedByTheFilterButNotByAllFiles) {
    dlg->Filter = "AVI|*.avi|All|*.*";
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        d.FilterComboBox->SetItemIndex(1); // *.*: "clip" does not exist as typed
        d.FileNameEdit->SetText("clip");
        d.OpenButtonClick(&f);
        EXPECT_EQ(f.ModalResult(), gui::mrNone);
        d.FilterComboBox->SetItemIndex(0);
        d.OpenButtonClick(&f);
        EXPECT_EQ(f.ModalResult(), gui::mrOk);
        return true;
    });
    ASSERT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->FileName(), dir + "/clip.avi");
    EXPECT_EQ(dlg->FilterIndex, 1);
}

TEST_F(OpenDialogTest, TypedAbsolutePathsFoldersAndPatterns) {
    MakeDir("elsewhere");
    const std::string other = Make("elsewhere/外部.avi");
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        d.FileNameEdit->SetText("*.mp4");
        char32_t enter = 13;
        d.EditKeyPress(enter); // a pattern filters the list
        EXPECT_EQ(d.FileListView->Mask(), "*.mp4");
        EXPECT_EQ(IndexOf(d, "clip.avi"), -1);
        d.FileNameEdit->SetText(root_ + "/elsewhere");
        d.EditKeyPress(enter); // a folder is opened
        EXPECT_EQ(d.FileListView->Path(), root_ + "/elsewhere");
        d.FileListView->SetPath(dir);
        d.FileNameEdit->SetText(other); // an absolute file name stands as it is
        d.EditKeyPress(enter);
        EXPECT_EQ(f.ModalResult(), gui::mrOk);
        return true;
    });
    ASSERT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->FileName(), other);
}

TEST_F(OpenDialogTest, SeveralFilesComeInListOrderAndAFolderAloneIsNoAnswer) {
    dlg->MultiSelection = true;
    Make("home/clips/b.avi");
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        Select(d, IndexOf(d, "子目录"));
        d.FileNameEdit->SetText("");
        d.OpenButtonClick(&f);
        EXPECT_EQ(f.ModalResult(), gui::mrNone);
        for (const char* n : {"片头.mp4", "clip.avi", "b.avi"}) Select(d, IndexOf(d, n));
        d.FileNameEdit->SetText("b.avi");
        d.FileListView->ClearSelection();
        for (const char* n : {"片头.mp4", "clip.avi", "b.avi"}) Select(d, IndexOf(d, n));
        d.OpenButtonClick(&f);
        return true;
    });
    ASSERT_TRUE(dlg->Execute());
    // List order: the names as the shell orders them.
    EXPECT_EQ(dlg->Files, std::vector<std::string>({dir + "/b.avi", dir + "/clip.avi", dir + "/片头.mp4"}));
    EXPECT_EQ(dlg->FileName(), dir + "/b.avi");
}

TEST_F(OpenDialogTest, BackWalksTheVisitedFoldersAndNewFoldersAreNumbered) {
    const std::string a = dir, b = MakeDir("home/clips/B"), c = MakeDir("home/clips/B/C"),
                      e = MakeDir("home/D");
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        d.FileListView->SetPath(b);
        d.FileListView->SetPath(c);
        d.BackToolButtonClick(&f);
        EXPECT_EQ(d.FileListView->Path(), b);
        d.BackToolButtonClick(&f);
        EXPECT_EQ(d.FileListView->Path(), a);
        d.BackToolButtonClick(&f);
        EXPECT_EQ(d.FileListView->Path(), a);
        d.FileListView->SetPath(e);
        d.BackToolButtonClick(&f);
        EXPECT_EQ(d.FileListView->Path(), a);
        d.UpToolButtonClick(&f);
        EXPECT_EQ(d.FileListView->Path(), home_);
        d.FileListView->SetPath(a);

        d.NewFolderToolButtonClick(&f);
        d.NewFolderToolButtonClick(&f);
        d.NewFolderToolButtonClick(&f);
        EXPECT_TRUE(FolderExists(a + "/New Folder"));
        EXPECT_TRUE(FolderExists(a + "/New Folder(2)"));
        EXPECT_TRUE(FolderExists(a + "/New Folder(3)"));
        EXPECT_TRUE(d.FileListView->IsEditing()); // the last one is ready to be renamed
        std::filesystem::remove(a + "/New Folder(2)");
        d.NewFolderToolButtonClick(&f);
        EXPECT_TRUE(FolderExists(a + "/New Folder(4)"));
        EXPECT_FALSE(FolderExists(a + "/New Folder(2)"));
        EXPECT_GE(IndexOf(d, "New Folder(4)"), 0);
        f.SetModalResult(gui::mrCancel);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
}

TEST_F(OpenDialogTest, SaveModeSwapsExtensionsAndAsksBeforeOverwriting) {
    Make("home/clips/photo.bmp");
    dlg->SaveMode = true;
    dlg->OverwritePromt = true;
    dlg->Filter = "BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg";
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        EXPECT_EQ(d.OpenButton->Caption(), "&Save");
        d.FileNameEdit->SetText("a.b.bmp");
        d.FilterComboBox->SetItemIndex(1);
        EXPECT_EQ(d.FileNameEdit->Text(), "a.b.jpg");
        d.FileNameEdit->SetText("bare");
        d.FilterComboBox->SetItemIndex(0);
        EXPECT_EQ(d.FileNameEdit->Text(), "bare.bmp");
        d.FileNameEdit->SetText("photo"); // photo.bmp exists: asked, and Cancel keeps the form
        Respond([&](gui::TCustomForm& box) {
            EXPECT_NE(&box, &f);
            box.SetModalResult(gui::mrCancel);
            return true;
        });
        d.OpenButtonClick(&f);
        EXPECT_EQ(f.ModalResult(), gui::mrNone);
        Respond([&](gui::TCustomForm& box) {
            box.SetModalResult(gui::mrOk);
            return true;
        });
        d.OpenButtonClick(&f);
        EXPECT_EQ(f.ModalResult(), gui::mrOk);
        return true;
    });
    ASSERT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->FileName(), dir + "/photo.bmp");
}

TEST_F(OpenDialogTest, SizeViewStyleAndFilterAreWrittenBackAndADeletedFolderFallsBack) {
    dlg->Filter = "A|*.avi|M|*.mp4|T|*.txt";
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        d.FilterComboBox->SetItemIndex(2);
        d.ReportMenuItem->Click();
        EXPECT_EQ(d.FileListView->ViewStyle(), gui::vsReport);
        EXPECT_EQ(d.FileListView->Columns()->Count(), 4);
        Select(d, IndexOf(d, "说明.txt"));
        f.SetClientSize(520, 330);
        d.OpenButtonClick(&f);
        return true;
    });
    ASSERT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->FileName(), dir + "/说明.txt");
    EXPECT_EQ(dlg->FilterIndex, 3);
    EXPECT_EQ(dlg->DialogWidth, 520);
    EXPECT_EQ(dlg->DialogHeight, 330);
    EXPECT_EQ(dlg->ListViewStyle, gui::vsReport);

    // The folder of the last file goes; the next call opens at the initial folder, then home.
    const std::string gone = MakeDir("home/gone");
    dlg->SetFileName(Make("home/gone/x.avi"));
    std::filesystem::remove_all(gone);
    for (const std::string& expected : {dir, home_}) {
        Respond([&](gui::TCustomForm& f) {
            TbsOpenDlgForm& d = Form(f);
            EXPECT_EQ(d.FileListView->Path(), expected);
            EXPECT_EQ(f.ClientWidth(), 520);
            EXPECT_EQ(d.FileListView->ViewStyle(), gui::vsReport);
            EXPECT_EQ(d.FilterComboBox->ItemIndex(), 2);
            EXPECT_EQ(d.FileNameEdit->Text(), "x.avi");
            f.SetModalResult(gui::mrCancel);
            return true;
        });
        EXPECT_FALSE(dlg->Execute());
        EXPECT_EQ(dlg->FileName(), gone + "/x.avi");
        std::filesystem::remove_all(dir);
    }
}

// Enter and Esc that end an in-place rename in the list are the edit's: nothing is opened and
// the dialog is not cancelled.
TEST_F(OpenDialogTest, EnterAndEscEndARenameAndNothingElse) {
    auto rename = [](TbsOpenDlgForm& d, int index, const char* text) {
        d.FileListView->SetFocus();
        SendMessage(d.FileListView->Handle(), LVM_EDITLABEL, static_cast<WPARAM>(index), 0);
        HWND edit = reinterpret_cast<HWND>(SendMessage(d.FileListView->Handle(), LVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr);
        SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    };
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        Select(d, IndexOf(d, "clip.avi"));
        rename(d, IndexOf(d, "clip.avi"), "改名.avi");
        D().Key(VK_RETURN);
        return true;
    });
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        EXPECT_TRUE(f.Visible());
        EXPECT_TRUE(std::filesystem::exists(dir + "/改名.avi"));
        rename(d, IndexOf(d, "改名.avi"), "再改.avi");
        D().Key(VK_ESCAPE);
        return true;
    });
    Respond([&](gui::TCustomForm& f) {
        EXPECT_TRUE(f.Visible());
        EXPECT_FALSE(Form(f).FileListView->IsEditing());
        EXPECT_FALSE(std::filesystem::exists(dir + "/再改.avi"));
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
}

TEST_F(OpenDialogTest, ATildeStandsForTheHomeFolder) {
    struct Case {
        const char* typed;
        std::string folder, file; // what the list shows, and what the dialog answers
    } cases[] = {
        {"~/clips/子目录", dir + "/子目录", ""               },
        {"~/clips/clip.avi",  dir,                dir + "/clip.avi"},
        {"~",                 home_,              ""               },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Respond([&](gui::TCustomForm& f) {
            TbsOpenDlgForm& d = Form(f);
            d.FileNameEdit->SetText(c.typed);
            char32_t enter = 13;
            d.EditKeyPress(enter);
            EXPECT_EQ(d.FileListView->Path(), c.folder);
            EXPECT_EQ(f.ModalResult(), c.file.empty() ? gui::mrNone : gui::mrOk);
            if (c.file.empty()) f.SetModalResult(gui::mrCancel);
            return true;
        });
        EXPECT_EQ(dlg->Execute(), !c.file.empty());
        if (!c.file.empty()) {
            EXPECT_EQ(dlg->FileName(), c.file);
        }
    }
}

// The view menu's button hint never lies over the menu it opened.
TEST_F(OpenDialogTest, TheViewMenuHidesTheButtonsHint) {
    const bool hints = gui::Application->ShowHint();
    gui::Application->SetShowHint(true);
    auto hintShown = [] {
        gui::THintWindow* w = gui::Application->HintWindow();
        return w && w->HandleAllocated() && IsWindowVisible(w->Handle());
    };
    auto wait = [](gui::TCustomForm&) {
        os::VirtualClock::Advance(static_cast<uint64_t>(gui::Application->HintPause + 100));
        return true;
    };
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        POINT p = ScreenOf(d.StyleToolButton, 10, 10);
        D().MoveMouse(p.x, p.y);
        return true;
    });
    Respond(wait);
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        EXPECT_TRUE(hintShown()); // the hint was there before the click
        POINT p = ScreenOf(d.StyleToolButton, 10, 10);
        D().Click(p.x, p.y);
        return true;
    });
    Respond(wait);
    Respond([&](gui::TCustomForm& f) {
        TbsOpenDlgForm& d = Form(f);
        EXPECT_TRUE(d.StyleToolButton->Down()); // the menu is open
        EXPECT_FALSE(hintShown());
        D().Key(VK_ESCAPE);
        return true;
    });
    Respond([&](gui::TCustomForm& f) {
        f.SetModalResult(gui::mrCancel);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
    gui::Application->SetShowHint(hints);
}

} // namespace
