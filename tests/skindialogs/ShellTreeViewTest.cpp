// The shell folder tree over a temporary home: the root, loading on first expansion, the
// path, renaming in place, refreshing, the context menu's verbs and the watcher.
#include "skin/shell/ShellTreeView.h"
#include "ShellGuiFixture.h"
#include "gui/Dialogs.h"
#include "gui/MenuItem.h"
#include "os/Spawn.h"
#include "skin/menus/SkinPopupMenu.h"

using namespace skin;

namespace {

class ShellTreeViewTest : public ShellGuiTest {
protected:
    TbsSkinDirTreeView* MakeTree(const std::string& root) {
        form = MakeForm<gui::TForm>();
        form->SetBounds(50, 50, 320, 400);
        tree = new TbsSkinDirTreeView(form);
        tree->SetRoot(root);
        tree->SetParent(form);
        tree->SetBounds(0, 0, 300, 360);
        form->Show();
        RunUntilIdle();
        return tree;
    }
    static std::vector<std::string> Texts(gui::TTreeNode* n) {
        std::vector<std::string> out;
        for (int i = 0; i < n->Count(); ++i) out.push_back(n->Item(i)->Text());
        return out;
    }
    static gui::TTreeNode* Child(gui::TTreeNode* n, const std::string& text) {
        for (int i = 0; i < n->Count(); ++i)
            if (n->Item(i)->Text() == text) return n->Item(i);
        return nullptr;
    }
    // Chooses a verb of the selected item's context menu.
    void Choose(const std::string& verb) {
        gui::TPopupMenu* menu = ShowShellContextMenu(tree, tree->SelectedFolder(), 5, 5);
        ASSERT_NE(menu, nullptr);
        for (int i = 0; i < menu->Items()->Count(); ++i)
            if (menu->Items()->Items(i)->Hint == verb) {
                menu->Items()->Items(i)->Click();
                RunUntilIdle();
                return;
            }
        FAIL() << "no verb " << verb;
    }
    gui::TForm* form = nullptr;
    TbsSkinDirTreeView* tree = nullptr;
};

using V = std::vector<std::string>;

TEST_F(ShellTreeViewTest, RootIsSelectedAndExpandedAndChildrenLoadOnFirstExpansionOnly) {
    MakeDir("home/a/a1");
    MakeDir("home/b");
    MakeDir("home/.hidden");
    Make("home/f.txt");
    MakeTree(home_);
    gui::TTreeNode* root = tree->Items()->GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tree->Selected(), root);
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(Texts(root), V({"a", "b"})); // folders only, dot folders hidden
    EXPECT_EQ(tree->Path(), home_);

    gui::TTreeNode* a = Child(root, "a");
    gui::TTreeNode* b = Child(root, "b");
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->HasChildren());
    EXPECT_EQ(a->Count(), 0); // not yet asked
    a->Expand(false);
    EXPECT_EQ(Texts(a), V({"a1"}));
    MakeDir("home/a/a2");
    a->Collapse(false);
    a->Expand(false);
    EXPECT_EQ(Texts(a), V({"a1"})); // loaded once
    tree->Refresh(a);
    EXPECT_EQ(Texts(a), V({"a1", "a2"}));
    EXPECT_TRUE(a->Expanded());
    // A folder without subfolders loses its button once it is tried.
    b->Expand(false);
    EXPECT_FALSE(b->HasChildren());

    tree->SetObjectTypes(otFolders | otHidden);
    root = tree->Items()->GetFirstNode();
    EXPECT_EQ(Texts(root), V({".hidden", "a", "b"}));
    tree->SetObjectTypes(otFolders | otNonFolders);
    root = tree->Items()->GetFirstNode();
    EXPECT_EQ(Texts(root), V({"a", "b", "f.txt"}));
}

TEST_F(ShellTreeViewTest, PathIsSetAndReadBackAndBadRootsKeepTheOldOne) {
    MakeDir("home/视频/2024");
    MakeTree(home_);
    tree->SetPath(home_ + "/视频/2024");
    EXPECT_EQ(tree->Path(), home_ + "/视频/2024");
    EXPECT_TRUE(tree->Selected()->Parent()->Expanded());
    gui::TTreeNode* before = tree->Selected();
    try {
        tree->SetPath(home_ + "/没有");
        ADD_FAILURE() << "no error";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(std::string(e.what()), "Error setting path: \"" + home_ + "/没有\"");
    }
    EXPECT_EQ(tree->Selected(), before);

    gui::TTreeNode* rootNode = tree->Items()->GetFirstNode();
    EXPECT_THROW(tree->SetRoot("rfNoSuchRoot"), EInvalidPath);
    EXPECT_EQ(tree->Root(), home_);
    ASSERT_NE(tree->Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(tree->Items()->GetFirstNode()->Text(), "主文件夹");
    (void)rootNode;

    tree->SetRoot("rfDesktop");
    rootNode = tree->Items()->GetFirstNode();
    EXPECT_EQ(rootNode->Text(), "桌面");
    tree->SetRoot("RFDESKTOP"); // the same root in other letters: nothing rebuilt
    EXPECT_EQ(tree->Items()->GetFirstNode(), rootNode);
    tree->ExpandMyComputer();
    EXPECT_EQ(tree->Path(), "计算机"); // a virtual folder answers its name, not "::{…}"
    EXPECT_TRUE(tree->Selected()->Expanded());
    EXPECT_GE(tree->Selected()->Count(), 1); // "/" at least
}

TEST_F(ShellTreeViewTest, ContextMenuVerbsRenameDeleteAndOpen) {
    MakeDir("home/a/a1/deep");
    MakeDir("home/b");
    Make("home/a/clip.mp4");
    MakeTree(home_);
    gui::TTreeNode* root = tree->Items()->GetFirstNode();
    tree->SetPath(home_ + "/a/a1");
    gui::TTreeNode* a = Child(root, "a");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->Expanded());

    // A right click selects the node under the mouse and opens the shell menu for it.
    gui::TTreeNode* bNode = Child(root, "b");
    ASSERT_TRUE(bNode);
    gui::TRect r = bNode->DisplayRect(true);
    POINT p = ScreenOf(tree, r.left + 4, r.top + 3);
    D().Click(p.x, p.y, 1);
    RunUntilIdle();
    EXPECT_EQ(tree->Selected(), bNode);
    auto* menu = dynamic_cast<TbsSkinPopupMenu*>(tree->FindComponent("ShellContextMenu"));
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> verbs;
    for (int i = 0; i < menu->Items()->Count(); ++i) verbs.push_back(menu->Items()->Items(i)->Hint);
    EXPECT_EQ(verbs, V({"open", "rename", "delete", "properties"}));

    // Rename in place: the folder and its node take the new name, the parent is re-sorted.
    tree->SetSelected(a);
    Choose("rename");
    ASSERT_TRUE(tree->IsEditing());
    PressKey(VK_END);
    for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
    D().Type(U"新名");
    PressKey(VK_RETURN);
    RunUntilIdle();
    EXPECT_TRUE(std::filesystem::is_directory(home_ + "/新名"));
    EXPECT_FALSE(std::filesystem::exists(home_ + "/a"));
    gui::TTreeNode* renamed = Child(tree->Items()->GetFirstNode(), "新名");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(TbsCustomShellTreeView::FolderOf(renamed)->PathName(), home_ + "/新名");
    EXPECT_TRUE(renamed->Expanded()); // the refresh kept what was open

    // A name taken already: the error is shown, the folder and its node keep their name.
    tree->SetSelected(renamed);
    Choose("rename");
    ASSERT_TRUE(tree->IsEditing());
    PressKey(VK_END);
    for (int i = 0; i < 2; ++i) PressKey(VK_BACK);
    D().Type(U"b");
    std::string shown;
    Respond([&](gui::TCustomForm& f) {
        if (auto* box = dynamic_cast<gui::TMessageForm*>(&f)) shown = box->Message();
        D().Key(VK_RETURN);
        return true;
    });
    PressKey(VK_RETURN);
    RunUntilIdle();
    EXPECT_NE(shown.find("Rename to b failed"), std::string::npos) << shown;
    EXPECT_TRUE(std::filesystem::is_directory(home_ + "/新名"));
    EXPECT_EQ(renamed->Text(), "新名");

    // Delete moves the folder to the Trash and takes its node away.
    root = tree->Items()->GetFirstNode();
    tree->SetSelected(Child(root, "b"));
    Choose("delete");
    EXPECT_FALSE(std::filesystem::exists(home_ + "/b"));
    EXPECT_TRUE(std::filesystem::is_directory(home_ + "/.local/share/Trash/files/b"));
    EXPECT_EQ(Child(tree->Items()->GetFirstNode(), "b"), nullptr);

    // Open: a folder is navigated here; a file goes to the desktop's opener.
    os::SpawnRecorder spawns;
    tree->SetPath(home_ + "/新名");
    Choose("open");
    EXPECT_TRUE(tree->Selected()->Expanded());
    EXPECT_TRUE(spawns.Requests().empty());
    tree->SetObjectTypes(otFolders | otNonFolders);
    tree->SetPath(home_ + "/新名/clip.mp4");
    Choose("open");
    ASSERT_EQ(spawns.Requests().size(), 1u);
    EXPECT_EQ(spawns.Requests()[0].argv.back(), home_ + "/新名/clip.mp4");
    EXPECT_EQ(spawns.Requests()[0].workDir, home_ + "/新名");
}

TEST_F(ShellTreeViewTest, WatchedFolderRefreshesTheSelectedNode) {
    MakeDir("home/w/old");
    MakeTree(home_);
    tree->SetPath(home_ + "/w");
    tree->SetAutoRefresh(true);
    EXPECT_EQ(tree->Notifier()->Root(), home_ + "/w");
    EXPECT_TRUE(tree->Notifier()->Running());
    MakeDir("home/w/new");
    EXPECT_TRUE(WaitUntil(
        [&] {
            RunUntilIdle();
            return Child(tree->Selected(), "new") != nullptr;
        },
        std::chrono::seconds(5), "the new folder in the tree"));
    // Another selection re-arms the watcher on that folder.
    tree->SetPath(home_ + "/w/old");
    EXPECT_EQ(tree->Notifier()->Root(), home_ + "/w/old");
    tree->SetAutoRefresh(false);
    EXPECT_FALSE(tree->Notifier()->Running());
}

} // namespace
