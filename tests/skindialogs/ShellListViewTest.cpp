// The shell folder list and the look-in box over a temporary tree: masks, the report columns
// and their sorting, items that vanish under the list, navigation, and the outline of the box.
#include "skin/shell/ShellListView.h"
#include "ShellGuiFixture.h"
#include "controls/CommCtrl.h"
#include "skin/shell/ShellComboBox.h"
#include "win/Message.h"

#include <filesystem>
#include <set>
#include <sys/time.h>

using namespace skin;

namespace {

class ShellListViewTest : public ShellGuiTest {
protected:
    void SetUp() override {
        ShellGuiTest::SetUp();
        dir = MakeDir("home/clips");
        MakeDir("home/clips/sub");
        Make("home/clips/a.txt", "1234567");
        Make("home/clips/B.TXT", "1");
        Make("home/clips/c.doc", "123");
        Make("home/clips/视频一.avi", "12345");
        Make("home/clips/readme", "12");
        // Distinct times, oldest first: a.txt, B.TXT, c.doc, 视频一.avi, readme.
        const char* order[] = {"a.txt", "B.TXT", "c.doc", "视频一.avi", "readme"};
        for (int i = 0; i < 5; ++i) {
            timeval t[2] = {
                {1600000000 + i * 100, 0},
                {1600000000 + i * 100, 0}
            };
            ::utimes((dir + "/" + order[i]).c_str(), t);
        }
        form = MakeForm<gui::TForm>();
        form->SetBounds(40, 40, 500, 400);
        list = new TbsSkinFileListView(form);
        list->SetParent(form);
        list->SetBounds(0, 30, 480, 330);
        form->Show();
        RunUntilIdle();
        list->SetPath(dir);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> out;
        for (int i = 0; i < list->FolderCount(); ++i) out.push_back(list->FolderAt(i)->DisplayName());
        return out;
    }
    gui::TForm* form = nullptr;
    TbsSkinFileListView* list = nullptr;
    std::string dir;
};

TEST_F(ShellListViewTest, MasksListFoldersAndTheFilesTheyAdmit) {
    using V = std::vector<std::string>;
    struct Case {
        const char* mask;
        V names;
    } cases[] = {
        {"*.txt;*.doc", V{"sub", "a.txt", "B.TXT", "c.doc"}                           },
        {"*",           V{"sub", "a.txt", "B.TXT", "c.doc", "readme", "视频一.avi"}},
        {"readme",      V{"sub"}                                                      }, // a mask without a dot admits no file
        {"*.AVI",       V{"sub", "视频一.avi"}                                     },
    };
    for (const Case& c : cases) {
        list->SetMask(c.mask);
        V names = Names();
        std::sort(names.begin() + 1, names.end());
        V want = c.names;
        std::sort(want.begin() + 1, want.end());
        EXPECT_EQ(names, want) << c.mask;
        EXPECT_EQ(list->Items()->Count(), static_cast<int>(c.names.size()));
    }
}

TEST_F(ShellListViewTest, ReportColumnsSortBothWaysWithFoldersFirst) {
    list->SetMask("*");
    list->SetViewStyle(gui::vsReport);
    ASSERT_EQ(list->Columns()->Count(), 4);
    EXPECT_EQ(list->Columns()->Items(0)->Caption(), "名称");
    EXPECT_EQ(list->Columns()->Items(1)->Caption(), "大小");
    EXPECT_EQ(list->Columns()->Items(2)->Caption(), "类型");
    EXPECT_EQ(list->Columns()->Items(3)->Caption(), "修改日期");
    EXPECT_EQ(list->Columns()->Items(1)->Alignment(), gui::taRightJustify);

    using V = std::vector<std::string>;
    list->SortByColumn(1); // size, ascending
    EXPECT_EQ(Names(), (V{"sub", "B.TXT", "readme", "c.doc", "视频一.avi", "a.txt"}));
    list->SortByColumn(1); // the same header again: the whole order turned round
    EXPECT_TRUE(list->SortDescending());
    EXPECT_EQ(Names(), (V{"a.txt", "视频一.avi", "c.doc", "readme", "B.TXT", "sub"}));
    list->SortByColumn(3); // another column starts ascending
    EXPECT_FALSE(list->SortDescending());
    EXPECT_EQ(Names(), (V{"sub", "a.txt", "B.TXT", "c.doc", "视频一.avi", "readme"}));
    list->SortByColumn(0);
    EXPECT_EQ(Names(), (V{"sub", "a.txt", "B.TXT", "c.doc", "readme", "视频一.avi"}));
    list->SortByColumn(0);
    EXPECT_EQ(Names(), (V{"视频一.avi", "readme", "c.doc", "B.TXT", "a.txt", "sub"}));

    // The header click reaches the same sort.
    NMLISTVIEW n{};
    n.hdr.hwndFrom = list->Handle();
    n.hdr.code = static_cast<UINT>(LVN_COLUMNCLICK);
    n.iSubItem = 1;
    int clicked = -1;
    list->OnColumnClick = [&](gui::TObject*, gui::TListColumn* c) { clicked = c->Index(); };
    SendMessage(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(list->SortColumn(), 1);
    EXPECT_EQ(Names().front(), "sub");
}

TEST_F(ShellListViewTest, FewerThanFourColumnsSortOnlyByName) {
    list->SetViewStyle(gui::vsList); // no columns
    list->SortByColumn(2);
    EXPECT_EQ(list->SortColumn(), -1);
    list->SortByColumn(0);
    EXPECT_EQ(list->SortColumn(), 0);
}

TEST_F(ShellListViewTest, AVanishedFileNeitherBreaksPaintingNorSorting) {
    list->SetMask("*");
    list->SetViewStyle(gui::vsReport);
    std::filesystem::remove(dir + "/c.doc");
    std::filesystem::remove(dir + "/a.txt");
    for (int i = 0; i < list->FolderCount(); ++i) {
        gui::TListItem* item = list->Items()->Item(i); // what painting asks for
        ASSERT_NE(item, nullptr);
        if (item->Caption() == "c.doc") {
            EXPECT_EQ(item->SubItems()->Strings(0), "");
        }
    }
    for (int column : {1, 1, 2, 3, 3, 0}) EXPECT_NO_THROW(list->SortByColumn(column)) << column;
    list->SortByColumn(1); // ascending by size: the two vanished files count as -1
    std::vector<std::string> names = Names();
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], "sub");
    EXPECT_EQ(std::set<std::string>(names.begin() + 1, names.begin() + 3),
              (std::set<std::string>{"a.txt", "c.doc"}));
    list->Refresh();
    EXPECT_EQ(list->FolderCount(), 4);
}

TEST_F(ShellListViewTest, NavigationSelectionAndSelectedFiles) {
    list->SetMask("*");
    list->SetMultiSelect(true);
    int paths = 0;
    list->OnPathChanged = [&](gui::TObject*) { ++paths; };
    auto select = [&](int i) {
        LVITEM it{};
        it.stateMask = it.state = LVIS_SELECTED;
        SendMessage(list->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    };
    select(0); // the folder
    select(2);
    select(5);
    std::vector<std::string> files = list->GetSelectedFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], dir + "/" + list->FolderAt(2)->DisplayName());
    EXPECT_EQ(files[1], dir + "/" + list->FolderAt(5)->DisplayName());
    EXPECT_EQ(list->GetSelectedFile(), ""); // the first selected is a folder

    list->ClearSelection();
    list->SetItemIndex(0);
    list->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(list->Path(), dir + "/sub");
    PressKey(VK_BACK);
    EXPECT_EQ(list->Path(), dir);
    EXPECT_EQ(paths, 2);
    list->SetItemIndex(list->FolderCount() - 1);
    list->Refresh(); // the last position is selected again
    EXPECT_EQ(list->SelectedIndexes(), std::vector<int>{list->FolderCount() - 1});
    EXPECT_THROW(list->SetPath(root_ + "/no/such"), EInvalidPath);
    EXPECT_EQ(list->Path(), dir);
}

TEST_F(ShellListViewTest, LookInOutlineLevelsAndTheChainToADeepFolder) {
    auto* box = new TbsSkinShellComboBox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 480, 24);
    RunUntilIdle();
    const auto& items = box->ItemsEx();
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[0].Indent, 0);
    int computer = -1;
    for (size_t i = 1; i < items.size(); ++i) {
        if (items[i].Caption == "计算机") computer = static_cast<int>(i);
    }
    ASSERT_GE(computer, 1);
    EXPECT_EQ(items[static_cast<size_t>(computer)].Indent, 1);
    ASSERT_GT(items.size(), static_cast<size_t>(computer) + 1);
    EXPECT_EQ(items[static_cast<size_t>(computer) + 1].Indent, 2); // a mount under Computer
    EXPECT_EQ(box->Items()->Count(), static_cast<int>(items.size()));
    const size_t plain = items.size();

    MakeDir("home/clips/sub/deeper/deepest");
    box->SetShellListView(list);
    list->SetPath(dir + "/sub/deeper/deepest");
    EXPECT_EQ(box->Path(), dir + "/sub/deeper/deepest");
    const int sel = box->ItemIndex();
    ASSERT_GE(sel, 3);
    EXPECT_GT(box->ItemsEx().size(), plain);
    EXPECT_EQ(items[static_cast<size_t>(sel)].Caption, "deepest");
    EXPECT_EQ(items[static_cast<size_t>(sel) - 1].Caption, "deeper");
    EXPECT_EQ(items[static_cast<size_t>(sel) - 2].Caption, "sub");
    EXPECT_EQ(items[static_cast<size_t>(sel)].Indent, items[static_cast<size_t>(sel) - 1].Indent + 1);
    EXPECT_EQ(items[static_cast<size_t>(sel) - 1].Indent, items[static_cast<size_t>(sel) - 2].Indent + 1);

    // Choosing an entry moves the list; the list going up moves the box.
    box->SetItemIndex(sel - 2);
    EXPECT_EQ(list->Path(), dir + "/sub");
    list->Back();
    EXPECT_EQ(box->Path(), dir);
    box->SetShellListView(nullptr);
    EXPECT_EQ(list->ShellComboBox(), nullptr);
}

} // namespace
