// The file list box over a temporary folder: masks as written, attribute sets, names and
// patterns given as FileName, the linked edit and the linked file-type chooser.
#include "ShellGuiFixture.h"
#include "skin/controls/SkinEdit.h"
#include "skin/shell/FilePaths.h"
#include "skin/shell/SkinFileListBox.h"
#include "skin/shell/SkinFilterComboBox.h"

using namespace skin;

namespace {

class FileListBoxTest : public ShellGuiTest {
protected:
    void SetUp() override {
        ShellGuiTest::SetUp();
        dir = MakeDir("home/files");
        MakeDir("home/files/sub");
        for (const char* n : {"b.txt", "a.doc", "c.TXT", "片头.avi", "noext"})
            Make(std::string("home/files/") + n);
        form = MakeForm<gui::TForm>();
        form->SetBounds(40, 40, 300, 300);
        list = new TbsSkinFileListBox(form);
        list->SetParent(form);
        list->SetBounds(0, 0, 200, 200);
        form->Show();
        RunUntilIdle();
        list->SetDirectory(dir);
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> out;
        for (int i = 0; i < list->Items()->Count(); ++i) out.push_back(list->Items()->Strings(i));
        return out;
    }
    using V = std::vector<std::string>;
    gui::TForm* form = nullptr;
    TbsSkinFileListBox* list = nullptr;
    std::string dir;
};

TEST_F(FileListBoxTest, MasksAreUsedAsWrittenAndSortedTogether) {
    EXPECT_EQ(list->Directory(), dir);
    list->SetMask("*.txt;*.doc");
    EXPECT_EQ(Entries(), (V{"a.doc", "b.txt", "c.TXT"}));
    list->SetMask("*.txt; *.doc"); // the blank belongs to the second mask
    EXPECT_EQ(Entries(), (V{"b.txt", "c.TXT"}));
    list->SetMask("*.*");
    EXPECT_EQ(Entries().size(), 5u);
    list->SetFileType(bsftDirectory);
    EXPECT_EQ(Entries(), (V{"[sub]"}));
    list->SetFileType(bsftDirectory | bsftNormal);
    EXPECT_EQ(Entries().size(), 6u);
    Make("home/files/new.txt");
    list->Repaint(); // a repaint does not read the folder
    EXPECT_EQ(Entries().size(), 6u);
    list->UpdateFileNames();
    EXPECT_EQ(Entries().size(), 7u);
}

TEST_F(FileListBoxTest, FileNamesPatternsAndTheLinkedEdit) {
    auto* edit = new TbsSkinEdit(form);
    edit->SetParent(form);
    edit->SetBounds(0, 210, 200, 21);
    list->SetFileEdit(edit);
    EXPECT_EQ(edit->Text(), "*.*");

    MakeDir("home/other");
    const std::string other = Make("home/other/片尾.avi");
    list->SetFileName(other);
    EXPECT_EQ(list->Directory(), root_ + "/home/other");
    EXPECT_EQ(list->FileName(), other);
    EXPECT_EQ(edit->Text(), "片尾.avi");

    list->SetFileName(dir + "/*.txt");
    EXPECT_EQ(list->Directory(), dir);
    EXPECT_EQ(list->Mask(), "*.txt");
    EXPECT_EQ(list->FileName(), "");
    EXPECT_EQ(edit->Text(), "*.txt");

    list->SetFileName(dir + "/a.doc"); // hidden by the mask: it becomes the mask
    EXPECT_EQ(list->Mask(), "a.doc");
    EXPECT_EQ(list->FileName(), dir + "/a.doc");
    EXPECT_THROW(list->SetFileName(root_ + "/missing/x.avi"), EInOutError);
    EXPECT_EQ(list->Directory(), dir);
}

TEST_F(FileListBoxTest, TheFileTypeChooserSetsTheMaskUntilTheListGoes) {
    auto* box = new TbsSkinFilterComboBox(form);
    box->SetParent(form);
    box->SetFilter("文本|*.txt|视频|*.avi;*.mp4");
    box->SetFileList(list);
    EXPECT_EQ(list->FilterCombo(), box);
    box->SetItemIndex(1);
    EXPECT_EQ(list->Mask(), "*.avi;*.mp4");
    EXPECT_EQ(Entries(), (V{"片头.avi"}));
    delete list;
    EXPECT_EQ(box->FileList(), nullptr);
    box->SetItemIndex(0); // no list left to tell
}

} // namespace
