// File masks and the file-type chooser: which names a mask list admits, the extension a
// filter stands for, and how a filter text becomes entries.
#include "../gui/GuiHarness.h"
#include "app/OpenDialogFilter.h"
#include "skin/shell/FileMasks.h"
#include "skin/shell/SkinFilterComboBox.h"

using namespace skin;

namespace {

TEST(FileMasksTest, MaskListsAdmitNamesWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* masks;
        bool admitted;
    } cases[] = {
        {"a.TXT",      "*.txt;*.doc",   true },
        {"b.doc",      "*.txt;*.doc",   true },
        {"c.avi",      "*.txt;*.doc",   false},
        {"noext",      "*",             true },
        {"x.avi",      "*",             true },
        {"readme",     "readme",        false},
        {"readme.txt", "readme",        false},
        {"x.aiff",     "*.aif; *.aiff", true },
        {"x.MP4",      "*.avi|*.mp4",   true },
        {"noext",      "*.*",           true },
        {"视频.AVI", "*.avi",         true },
        {"a.txt",      "*.txt;",        true },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MaskListAccepts(c.name, c.masks), c.admitted) << c.name << " " << c.masks;
}

TEST(FileMasksTest, FilterExtensions) {
    EXPECT_EQ(FilterExtension("*.bmp"), ".bmp");
    EXPECT_EQ(FilterExtension("*.AVI;*.ASF"), ".AVI");
    EXPECT_EQ(FilterExtension("*.*"), "");
    EXPECT_EQ(FilterExtension("*"), "");
    EXPECT_EQ(NameExtension("/a.b/name"), "");
    EXPECT_EQ(NameExtension("clip.tar.gz"), ".gz");
}

class FilterComboBoxTest : public GuiTest {};

TEST_F(FilterComboBoxTest, TheDefaultFilterAndOddEndings) {
    TbsSkinFilterComboBox box(gui::Application);
    ASSERT_EQ(box.Items()->Count(), 1);
    EXPECT_EQ(box.Items()->Strings(0), "All files (*.*)");
    EXPECT_EQ(box.Mask(), "*.*");

    box.SetFilter("A|*.a|B|*.b|C"); // a description without a "|" after it is dropped
    ASSERT_EQ(box.Items()->Count(), 2);
    EXPECT_EQ(box.MaskList(), std::vector<std::string>({"*.a", "*.b"}));
    box.SetFilter("A|*.a|B|"); // a single "|" at the end: an empty mask
    ASSERT_EQ(box.Items()->Count(), 2);
    EXPECT_EQ(box.MaskList()[1], "");
    box.SetFilter("no bar at all");
    EXPECT_EQ(box.Items()->Count(), 0);
    EXPECT_EQ(box.Mask(), "*.*");
}

TEST_F(FilterComboBoxTest, TheMainWindowFilterGivesFortyTwoEntriesAndIsNotReadTwice) {
    TbsSkinFilterComboBox box(gui::Application);
    int changes = 0;
    box.OnChange = [&](gui::TObject*) { ++changes; };
    box.SetFilter(app::OpenDialogFilter());
    ASSERT_EQ(box.Items()->Count(), 42); // the trailing "|" adds none
    EXPECT_EQ(box.Items()->Strings(0), "所有文件格式 (*.*)");
    EXPECT_EQ(box.Items()->Strings(41), "AIFF音频编码格式(*.aif; *.aiff)");
    EXPECT_EQ(box.MaskList()[41], "*.aif; *.aiff"); // kept as written
    EXPECT_EQ(box.MaskList()[4], "*.avi");
    EXPECT_EQ(box.ItemIndex(), 0);
    box.SetItemIndex(4);
    changes = 0;
    std::string upper = app::OpenDialogFilter();
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    box.SetFilter(upper);
    EXPECT_EQ(box.ItemIndex(), 4);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box.Filter(), app::OpenDialogFilter());
}

TEST_F(FilterComboBoxTest, MaskWithoutSelectionChoosesTheLastEntry) {
    TbsSkinFilterComboBox box(gui::Application);
    box.SetFilter("A|*.a|B|*.b|C|*.c|");
    box.ListBox()->SetItemIndex(-1);
    ASSERT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Mask(), "*.c");
    EXPECT_EQ(box.ItemIndex(), 2);
}

} // namespace
