// The shell folder list and the look-in box over a temporary tree: masks, the report columns
// and their sorting, items that vanish under the list, navigation, and the outline of the box.
#include "skin/shell/ShellListView.h"
#include "ShellGuiFixture.h"
#include "controls/CommCtrl.h"
#include "gui/Dialogs.h"
#include "gui/MenuItem.h"
#include "os/Spawn.h"
#include "skin/forms/SkinMessage.h"
#include "skin/menus/SkinPopupMenu.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellTreeView.h"
#include "win/Input.h"
#include "win/Message.h"

#include <filesystem>
#include <set>
#include <sys/time.h>

using namespace skin;

namespace {

// Sets (or, with null, removes) an environment variable for the life of a scope.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = old ? old : "";
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvVar() { had_ ? ::setenv(name_.c_str(), old_.c_str(), 1) : ::unsetenv(name_.c_str()); }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

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
    int IndexOf(const std::string& name) {
        for (int i = 0; i < list->FolderCount(); ++i)
            if (list->FolderAt(i)->DisplayName() == name) return i;
        return -1;
    }
    void Select(const std::string& name) {
        list->ClearSelection();
        list->SetItemIndex(IndexOf(name));
    }
    // Chooses a verb of the menu a right click on the entry opens.
    void Choose(const std::string& name, const std::string& verb) {
        const int i = IndexOf(name);
        ASSERT_GE(i, 0) << name;
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessage(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        POINT p = ScreenOf(list, r.left + 4, (r.top + r.bottom) / 2);
        D().Click(p.x, p.y, 1);
        RunUntilIdle();
        ASSERT_EQ(list->SelectedFolder(), list->FolderAt(i));
        auto* menu = dynamic_cast<TbsSkinPopupMenu*>(list->FindComponent("ShellContextMenu"));
        ASSERT_NE(menu, nullptr);
        for (int k = 0; k < menu->Items()->Count(); ++k)
            if (menu->Items()->Items(k)->Hint == verb) {
                menu->Items()->Items(k)->Click();
                RunUntilIdle();
                return;
            }
        FAIL() << "no verb " << verb;
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

TEST_F(ShellListViewTest, TypingSelectsTheEntryWhoseNameStartsSo) {
    Make("home/clips/small.avi");
    list->SetMask("*");
    list->SetFocus();
    RunUntilIdle();
    struct Case {
        const char32_t* typed;
        const char* want;
    } cases[] = {
        {U"sm",     "small.avi"    }, // "sub" comes first with its "s", then "sm" narrows it down
        {U"B",      "B.TXT"        },
        {U"视频", "视频一.avi"},
        {U"re",     "readme"       },
    };
    for (const Case& c : cases) {
        Advance(1500); // a pause forgets what was typed before
        D().Type(c.typed);
        RunUntilIdle();
        ASSERT_NE(list->SelectedFolder(), nullptr) << c.want;
        EXPECT_EQ(list->SelectedFolder()->DisplayName(), c.want);
    }
    Advance(1500);
    D().Type(U"zz"); // nothing starts so: the selection stays
    RunUntilIdle();
    EXPECT_EQ(list->SelectedFolder()->DisplayName(), "readme");
}

TEST_F(ShellListViewTest, ContextMenuRenamesDeletesAndOpensLikeTheTree) {
    list->SetMask("*");
    RunUntilIdle();
    Choose("c.doc", "rename");
    ASSERT_TRUE(list->IsEditing());
    PressKey(VK_END);
    for (int i = 0; i < 5; ++i) PressKey(VK_BACK);
    D().Type(U"新.doc");
    PressKey(VK_RETURN);
    RunUntilIdle();
    EXPECT_TRUE(std::filesystem::exists(dir + "/新.doc"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/c.doc"));
    EXPECT_GE(IndexOf("新.doc"), 0);

    // A name taken already: the user hears why, and the file keeps its name.
    Choose("B.TXT", "rename");
    ASSERT_TRUE(list->IsEditing());
    HWND edit = reinterpret_cast<HWND>(SendMessage(list->Handle(), LVM_GETEDITCONTROL, 0, 0));
    SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("新.doc"));
    std::string shown;
    Respond([&](gui::TCustomForm& f) {
        if (auto* box = dynamic_cast<gui::TMessageForm*>(&f)) shown = box->Message();
        f.SetModalResult(gui::mrOk);
        return true;
    });
    PressKey(VK_RETURN);
    RunUntilIdle();
    EXPECT_NE(shown.find("Rename to 新.doc failed"), std::string::npos) << shown;
    EXPECT_TRUE(std::filesystem::exists(dir + "/B.TXT"));
    EXPECT_GE(IndexOf("B.TXT"), 0);

    Choose("a.txt", "delete");
    EXPECT_FALSE(std::filesystem::exists(dir + "/a.txt"));
    EXPECT_TRUE(std::filesystem::exists(home_ + "/.local/share/Trash/files/a.txt"));
    EXPECT_EQ(IndexOf("a.txt"), -1); // the list was read again

    os::SpawnRecorder spawns;
    Choose("sub", "open"); // a folder opens here
    EXPECT_EQ(list->Path(), dir + "/sub");
    EXPECT_TRUE(spawns.Requests().empty());
    list->Back();
    Choose("B.TXT", "open"); // a file goes to the desktop's opener
    ASSERT_EQ(spawns.Requests().size(), 1u);
    EXPECT_EQ(spawns.Requests()[0].argv.back(), dir + "/B.TXT");
    EXPECT_EQ(list->Path(), dir);
}

// The properties of an item: the desktop's file manager when one is registered on the session
// bus, else a skinned box with what the file system knows; never nothing.
TEST_F(ShellListViewTest, PropertiesAskTheFileManagerOrShowTheItemsDetails) {
    list->SetMask("*");
    RunUntilIdle();
    const std::string bin = MakeDir("bin");
    Make("bin/dbus-send", "#!/bin/sh\n");
    std::filesystem::permissions(bin + "/dbus-send", std::filesystem::perms::owner_all);
    EnvVar path("PATH", bin.c_str()), dirs("XDG_DATA_DIRS", (root_ + "/share").c_str()),
        bus("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + root_ + "/bus").c_str()),
        run("XDG_RUNTIME_DIR", (root_ + "/run").c_str());
    os::SpawnRecorder spawns;

    // No file manager registered: Alt+Enter shows the box.
    std::string shown;
    Respond([&](gui::TCustomForm& f) {
        if (auto* box = dynamic_cast<TbsMessageForm*>(&f)) shown = box->Message->Caption();
        f.SetModalResult(gui::mrOk);
        return true;
    });
    Select("视频一.avi");
    list->SetFocus();
    D().KeyDown(VK_MENU);
    PressKey(VK_RETURN);
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    for (const std::string& part : {std::string("视频一.avi"), std::string("AVI 文件"), std::string("5 字节"),
                                    std::string("2020-09-13"), dir})
        EXPECT_NE(shown.find(part), std::string::npos) << part << " in " << shown;
    EXPECT_TRUE(spawns.Requests().empty());
    EXPECT_EQ(list->Path(), dir); // Enter with Alt is no navigation

    // A registered file manager is asked, by a URI that no character of the name can break.
    Make("share/dbus-1/services/org.example.Files.service",
         "[D-BUS Service]\nName=org.freedesktop.FileManager1\nExec=/bin/false\n");
    Make("home/clips/a,b c.txt");
    list->Refresh();
    Choose("a,b c.txt", "properties");
    ASSERT_EQ(spawns.Requests().size(), 1u);
    const std::vector<std::string> argv = spawns.Requests()[0].argv;
    EXPECT_EQ(argv[0], "dbus-send");
    EXPECT_NE(std::find(argv.begin(), argv.end(), "--session"), argv.end());
    EXPECT_NE(std::find(argv.begin(), argv.end(), "org.freedesktop.FileManager1.ShowItemProperties"),
              argv.end());
    EXPECT_NE(std::find(argv.begin(), argv.end(), "array:string:file://" + dir + "/a%2Cb%20c.txt"),
              argv.end());

    // No session bus: the box again, for a folder too (no size for it).
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    shown.clear();
    Respond([&](gui::TCustomForm& f) {
        if (auto* box = dynamic_cast<TbsMessageForm*>(&f)) shown = box->Message->Caption();
        f.SetModalResult(gui::mrOk);
        return true;
    });
    Choose("sub", "properties");
    EXPECT_NE(shown.find("文件夹"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("字节"), std::string::npos) << shown;
    EXPECT_EQ(spawns.Requests().size(), 1u);
}

TEST_F(ShellListViewTest, WatchedFolderAndALinkedTreeKeepTheListCurrent) {
    list->SetMask("*");
    list->SetAutoRefresh(true);
    Make("home/clips/new.avi");
    EXPECT_TRUE(WaitUntil(
        [&] {
            RunUntilIdle();
            return IndexOf("new.avi") >= 0;
        },
        std::chrono::seconds(5), "the new file in the list"));
    EXPECT_TRUE(list->AutoRefresh());

    // A linked tree shows the list's folder, and the list follows the tree.
    auto* tree = new TbsSkinDirTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 200, 30);
    RunUntilIdle();
    list->SetShellTreeView(tree);
    EXPECT_EQ(tree->ShellListView(), list);
    list->SetPath(dir + "/sub");
    EXPECT_EQ(tree->Path(), dir + "/sub");
    tree->SetPath(dir);
    EXPECT_EQ(list->Path(), dir);
    // A folder renamed in the list is renamed in the tree.
    list->SetFocus();
    SendMessage(list->Handle(), LVM_EDITLABEL, static_cast<WPARAM>(IndexOf("sub")), 0);
    HWND edit = reinterpret_cast<HWND>(SendMessage(list->Handle(), LVM_GETEDITCONTROL, 0, 0));
    SendMessage(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("子目录"));
    PressKey(VK_RETURN);
    std::vector<std::string> children;
    for (int i = 0; i < tree->Selected()->Count(); ++i) children.push_back(tree->Selected()->Item(i)->Text());
    EXPECT_EQ(children, std::vector<std::string>{"子目录"});
    delete tree;
    EXPECT_EQ(list->ShellTreeView(), nullptr);
    list->SetAutoRefresh(false);
}

TEST_F(ShellListViewTest, AFolderNamedLikeAnArchiveOpensAsAFolder) {
    MakeDir("home/clips/归档.zip");
    Make("home/clips/归档.zip/inside.avi");
    list->SetMask("*");
    RunUntilIdle();
    const int i = IndexOf("归档.zip");
    ASSERT_GE(i, 0);
    EXPECT_TRUE(list->FolderAt(i)->IsFolder());
    EXPECT_LT(i, IndexOf("a.txt")); // among the folders, before every file
    Select("归档.zip");
    list->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(list->Path(), dir + "/归档.zip");
    EXPECT_EQ(IndexOf("inside.avi"), 0);
}

} // namespace
