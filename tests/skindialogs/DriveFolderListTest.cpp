// The drive combo box over a fake mount table and the folder list box beside it: entries,
// letter case, switching volumes, opening entries, the shortened label.
#include "ShellGuiFixture.h"
#include "shell/MountTable.h"
#include "skin/shell/FilePaths.h"
#include "skin/shell/SkinDirectoryListBox.h"
#include "skin/shell/SkinDriveComboBox.h"

using namespace skin;
using shell::MountTable;

namespace {

class DriveFolderListTest : public ShellGuiTest {
protected:
    void SetUp() override {
        ShellGuiTest::SetUp();
        // "/" fixed, a labelled stick, a network share; the pseudo file systems are not drives.
        MakeDir("media/stick/x/y/z/inner");
        MakeDir("media/stick/x/y/z/another");
        MakeDir("mnt/nfs/films");
        Make("dev/sdb1");
        MakeDir("labels");
        ::symlink((root_ + "/dev/sdb1").c_str(), (root_ + "/labels/Stick").c_str());
        MakeDir("sys/sdb/sdb1");
        Make("sys/sdb/removable", "1\n");
        Make("sys/sdb/sdb1/partition", "1\n");
        ::symlink((root_ + "/sys/sdb/sdb1").c_str(), (root_ + "/sys/sdb1").c_str());
        Make("mounts", "/dev/sda1 / ext4 rw 0 0\n"
                       "proc /proc proc rw 0 0\n" +
                           root_ + "/dev/sdb1 " + root_ + "/media/stick vfat rw 0 0\n" + "server:/export " +
                           root_ + "/mnt/nfs nfs4 rw 0 0\n");
        MountTable::Sources src;
        src.mounts = root_ + "/mounts";
        src.sysBlock = root_ + "/sys";
        src.byLabel = root_ + "/labels";
        MountTable::SetSources(src);
        form = MakeForm<gui::TForm>();
        form->SetBounds(40, 40, 400, 400);
    }
    void TearDown() override {
        MountTable::SetSources(MountTable::DefaultSources());
        ShellGuiTest::TearDown();
    }
    gui::TForm* form = nullptr;
};

TEST_F(DriveFolderListTest, DriveEntriesAreMountPointsWithLabels) {
    auto* drives = new TbsSkinDriveComboBox(form);
    drives->SetParent(form);
    drives->SetBounds(8, 8, 300, 24);
    form->Show();
    RunUntilIdle();
    const std::string stick = root_ + "/media/stick", nfs = root_ + "/mnt/nfs";
    ASSERT_EQ(drives->Items()->Count(), 3);
    EXPECT_EQ(drives->Items()->Strings(0).rfind("/ [", 0), 0u); // the root with its label
    EXPECT_EQ(drives->Items()->Strings(1), stick);              // removable: the mount point alone
    EXPECT_EQ(drives->Items()->Strings(2), nfs + " server:/export");
    EXPECT_EQ(drives->Drive(), "/"); // the volume of the folder the program started in
    EXPECT_EQ(drives->ItemIndex(), 0);
    EXPECT_EQ(VolumeLabelText(stick), "[Stick]");

    drives->SetDrive(nfs);
    EXPECT_EQ(drives->ItemIndex(), 2);
    drives->SetTextCase(TTextCase::tcUpperCase);
    EXPECT_EQ(drives->Items()->Strings(2), nfs + " SERVER:/EXPORT"); // the mount point keeps its case
    EXPECT_EQ(drives->ItemIndex(), 2);
    EXPECT_EQ(drives->Drive(), nfs);
    drives->SetTextCase(TTextCase::tcLowerCase);
    EXPECT_EQ(drives->Items()->Strings(2), nfs + " server:/export");
    EXPECT_EQ(drives->MountPointOf(1), stick);
}

TEST_F(DriveFolderListTest, FolderListShowsThePathAndFollowsTheDriveBox) {
    const std::string stick = root_ + "/media/stick", nfs = root_ + "/mnt/nfs";
    auto* label = new TbsSkinStdLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(8, 300, 60, 20);
    auto* list = new TbsSkinDirectoryListBox(form);
    list->SetParent(form);
    list->SetBounds(8, 40, 300, 250);
    auto* drives = new TbsSkinDriveComboBox(form);
    drives->SetParent(form);
    drives->SetBounds(8, 8, 300, 24);
    drives->SetDirList(list);
    list->SetDirLabel(label);
    int changes = 0;
    list->OnChange = [&](gui::TObject*) { ++changes; };
    form->Show();
    RunUntilIdle();

    list->SetDirectory(stick + "/x/y/z");
    EXPECT_EQ(list->Directory(), stick + "/x/y/z");
    EXPECT_EQ(drives->Drive(), stick); // the box follows the list's volume
    ASSERT_EQ(list->Items()->Count(), 6);
    const char* texts[] = {"", "x", "y", "z", "another", "inner"};
    for (int i = 1; i < 6; ++i) EXPECT_EQ(list->Items()->Strings(i), texts[i]);
    EXPECT_EQ(list->Items()->Strings(0), stick);
    EXPECT_EQ(list->KindOf(3), TbsSkinDirectoryListBox::Kind::Current);
    EXPECT_EQ(list->KindOf(4), TbsSkinDirectoryListBox::Kind::Closed);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->GetItemPath(0), stick);
    EXPECT_EQ(list->GetItemPath(2), stick + "/x/y");
    EXPECT_EQ(list->GetItemPath(3), stick + "/x/y/z");
    EXPECT_EQ(list->GetItemPath(5), stick + "/x/y/z/inner");
    EXPECT_EQ(list->GetItemPath(6), "");
    EXPECT_EQ(label->Caption().rfind(".../", 0) == 0 || label->Caption().rfind("/.../", 0) == 0, true)
        << label->Caption();
    EXPECT_GT(changes, 0);

    // Opening a subfolder descends; opening the first entry goes to the volume's top.
    list->SetItemIndex(5);
    list->OpenCurrent();
    EXPECT_EQ(list->Directory(), stick + "/x/y/z/inner");
    list->SetItemIndex(0);
    list->OpenCurrent();
    EXPECT_EQ(list->Directory(), stick);
    // Relative names are read against the folder shown, not the program's folder.
    list->SetDirectory("x/y");
    EXPECT_EQ(list->Directory(), stick + "/x/y");
    EXPECT_THROW(list->SetDirectory("missing"), EInOutError);
    EXPECT_EQ(list->Directory(), stick + "/x/y");

    // Another drive in the box switches the list to it.
    drives->SetItemIndex(2);
    EXPECT_EQ(list->Directory(), nfs);
    EXPECT_EQ(list->Items()->Strings(list->Items()->Count() - 1), "films");
}

} // namespace
