// The select-folder dialog: its sizes, the folder it opens at, what OK and Cancel answer, and
// the tool bar's edit and new-folder button.
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "../skincontrols/ControlFixtures.h"
#include "ShellGuiFixture.h"
#include "controls/CommCtrl.h"

#include <filesystem>

using namespace skin;

namespace {

class SelectDirectoryDialogTest : public ShellGuiTest {
protected:
    SelectDirectoryDialogTest() {
        dlg = new TbsSkinSelectDirectoryDialog(gui::Application);
        dlg->Title = "选择输出目录";
    }
    static TbsSelDirDlgForm& Form(gui::TCustomForm& f) { return dynamic_cast<TbsSelDirDlgForm&>(f); }
    TbsSkinSelectDirectoryDialog* dlg = nullptr;
};

TEST_F(SelectDirectoryDialogTest, OpensAtTheFolderAndOkAnswersTheChosenOne) {
    MakeDir("home/视频/输出");
    std::vector<std::string> log;
    dlg->OnShow = [&](gui::TObject*) { log.push_back("show"); };
    dlg->OnClose = [&](gui::TObject*) { log.push_back("close"); };
    dlg->Directory = home_ + "/视频";
    Respond([&](gui::TCustomForm& f) {
        TbsSelDirDlgForm& d = Form(f);
        EXPECT_EQ(f.Caption(), "选择输出目录");
        EXPECT_EQ(f.ClientWidth(), 280);
        EXPECT_EQ(f.ClientHeight(), 280);
        EXPECT_EQ(d.DirTreeView->Path(), home_ + "/视频");
        EXPECT_TRUE(d.OkButton->Enabled());
        EXPECT_EQ(d.OkButton->Caption(), "OK");
        EXPECT_EQ(d.CancelButton->Caption(), "Cancel");
        EXPECT_EQ(d.BSF->BorderIcons(), 0);
        EXPECT_EQ(d.ToolPanel, nullptr);
        d.DirTreeView->SetPath(home_ + "/视频/输出");
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->Directory, home_ + "/视频/输出");
    EXPECT_EQ(log, std::vector<std::string>({"show", "close"}));
    EXPECT_EQ(dlg->Form(), nullptr);
}

TEST_F(SelectDirectoryDialogTest, CancelKeepsTheFolderButTheSizeIsWrittenBack) {
    MakeDir("home/a");
    dlg->Directory = home_ + "/a";
    Respond([&](gui::TCustomForm& f) {
        Form(f).DirTreeView->SetPath(home_);
        f.SetClientSize(400, 330);
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
    EXPECT_EQ(dlg->Directory, home_ + "/a");
    EXPECT_EQ(dlg->DialogWidth, 400);
    EXPECT_EQ(dlg->DialogHeight, 330);
    Respond([&](gui::TCustomForm& f) {
        EXPECT_EQ(f.ClientWidth(), 400);
        EXPECT_EQ(f.ClientHeight(), 330);
        PostMessage(f.Handle(), WM_CLOSE, 0, 0);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
    EXPECT_EQ(dlg->Directory, home_ + "/a");
}

TEST_F(SelectDirectoryDialogTest, AMissingFolderOpensAtComputerWhereOkIsNoAnswer) {
    Make("home/file.txt");
    for (std::string start : {std::string("/no/such/folder"), home_ + "/file.txt", std::string()}) {
        SCOPED_TRACE(start);
        dlg->Directory = start;
        Respond([&](gui::TCustomForm& f) {
            TbsSelDirDlgForm& d = Form(f);
            EXPECT_EQ(d.DirTreeView->Path(), "计算机");
            EXPECT_TRUE(d.DirTreeView->Selected()->Expanded());
            EXPECT_FALSE(d.OkButton->Enabled()); // a virtual folder is no folder to write into
            D().Key(VK_RETURN);
            return true;
        });
        Respond([&](gui::TCustomForm& f) {
            EXPECT_TRUE(f.Visible()); // Enter did not end it
            D().Key(VK_ESCAPE);
            return true;
        });
        EXPECT_FALSE(dlg->Execute());
        EXPECT_EQ(dlg->Directory, start);
    }
}

TEST_F(SelectDirectoryDialogTest, AStoredSkinRaisesTheSizeToItsMinimum) {
    skin::TbsSkinData sd(gui::Application);
    sd.SetSkinIndex(0);
    sd.SetSkinList(&controltest::StoredSkins());
    ASSERT_FALSE(sd.Empty);
    dlg->SetSkinData(&sd);
    dlg->SetCtrlSkinData(&sd);
    dlg->DialogWidth = 40;
    dlg->DialogHeight = 30;
    Respond([&](gui::TCustomForm& f) {
        TbsSelDirDlgForm& d = Form(f);
        EXPECT_EQ(f.ClientWidth(), std::max(40, d.BSF->GetMinWidth()));
        EXPECT_EQ(f.ClientHeight(), std::max(30, d.BSF->GetMinHeight()));
        EXPECT_EQ(d.OkButton->SkinData(), &sd);
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
    dlg->SetSkinData(nullptr);
    dlg->SetCtrlSkinData(nullptr);
}

TEST_F(SelectDirectoryDialogTest, ToolBarEditAndNewFolderButton) {
    MakeDir("home/a");
    MakeDir("home/b");
    dlg->ShowToolBar = true;
    dlg->Directory = home_ + "/a";
    Respond([&](gui::TCustomForm& f) {
        TbsSelDirDlgForm& d = Form(f);
        if (!d.DirEdit || !d.NewFolderToolButton) {
            ADD_FAILURE() << "no tool bar";
            return true;
        }
        EXPECT_EQ(d.DirEdit->Text(), home_ + "/a");
        EXPECT_EQ(d.NewFolderToolButton->Hint, "Create New Folder");
        d.DirEdit->SetText(home_ + "/b");
        char32_t enter = 13;
        d.DirEdit->OnKeyPress(d.DirEdit, enter);
        EXPECT_EQ(d.DirTreeView->Path(), home_ + "/b");
        d.DirEdit->SetText(home_ + "/missing");
        d.DirEdit->OnKeyPress(d.DirEdit, enter);
        EXPECT_EQ(d.DirTreeView->Path(), home_ + "/b");
        d.NewFolderToolButtonClick(nullptr);
        d.NewFolderToolButtonClick(nullptr); // exists already: nothing
        EXPECT_TRUE(std::filesystem::is_directory(home_ + "/b/New Folder"));
        EXPECT_EQ(d.DirTreeView->Selected()->Count(), 1);
        EXPECT_EQ(d.DirTreeView->Path(), home_ + "/b");
        f.SetModalResult(gui::mrOk);
        return true;
    });
    EXPECT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->Directory, home_ + "/b");
}

// Enter and Esc that end an in-place rename are the edit's: the dialog stays open.
TEST_F(SelectDirectoryDialogTest, EnterAndEscEndARenameAndNothingElse) {
    MakeDir("home/a");
    dlg->Directory = home_ + "/a";
    auto rename = [](TbsSelDirDlgForm& d, const char* text) {
        d.DirTreeView->Selected()->EditText();
        HWND edit = reinterpret_cast<HWND>(SendMessage(d.DirTreeView->Handle(), TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr);
        SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    };
    Respond([&](gui::TCustomForm& f) {
        rename(Form(f), "改名");
        D().Key(VK_RETURN);
        return true;
    });
    Respond([&](gui::TCustomForm& f) {
        EXPECT_TRUE(f.Visible());
        EXPECT_TRUE(std::filesystem::is_directory(home_ + "/改名"));
        rename(Form(f), "再改");
        D().Key(VK_ESCAPE);
        return true;
    });
    Respond([&](gui::TCustomForm& f) {
        EXPECT_TRUE(f.Visible());
        EXPECT_FALSE(Form(f).DirTreeView->IsEditing());
        EXPECT_FALSE(std::filesystem::exists(home_ + "/再改"));
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_FALSE(dlg->Execute());
    EXPECT_EQ(dlg->Directory, home_ + "/a");
}

// A folder whose subfolders are links to folders can be expanded, and the dialog opens on a
// folder reached through such a link.
TEST_F(SelectDirectoryDialogTest, FoldersBehindLinksAreReachable) {
    MakeDir("real/inner");
    MakeDir("home/links");
    std::filesystem::create_directory_symlink(root_ + "/real", home_ + "/links/to-real");
    dlg->Directory = home_ + "/links/to-real";
    Respond([&](gui::TCustomForm& f) {
        TbsSelDirDlgForm& d = Form(f);
        EXPECT_EQ(d.DirTreeView->Path(), home_ + "/links/to-real");
        EXPECT_TRUE(d.OkButton->Enabled());
        gui::TTreeNode* selected = d.DirTreeView->Selected();
        EXPECT_TRUE(selected && selected->Parent() && selected->Parent()->HasChildren());
        EXPECT_TRUE(selected && selected->HasChildren()); // "inner", seen through the link
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_TRUE(dlg->Execute());
    EXPECT_EQ(dlg->Directory, home_ + "/links/to-real");
}

} // namespace
