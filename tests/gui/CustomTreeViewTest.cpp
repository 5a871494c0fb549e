#include "gui/CustomTreeView.h"
#include "FormFixture.h"
#include "win/Input.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class CustomTreeViewTest : public FormTest {
protected:
    TTreeView* Tree(TForm* f) {
        auto* t = Add<TTreeView>(f, {10, 10, 260, 290});
        t->OnChange = [this](TObject*, TTreeNode* n) { heard_.push_back("change " + (n ? n->Text() : "-")); };
        t->OnDeletion = [this](TObject*, TTreeNode* n) { heard_.push_back("gone " + n->Text()); };
        return t;
    }
    static void ClickNode(TTreeView* t, TTreeNode* n) {
        TRect r = n->DisplayRect(true);
        ClickAt(t, r.left + 3, (r.top + r.bottom) / 2);
    }
    std::vector<std::string> heard_;
};

TEST_F(CustomTreeViewTest, ChildrenComeWhenTheNodeIsFirstExpanded) {
    TForm* f = Form();
    TTreeView* t = Tree(f);
    TTreeNode* disk = t->Items()->Add(nullptr, "本地磁盘");
    disk->SetHasChildren(true);
    int asked = 0;
    t->OnExpanding = [&](TObject*, TTreeNode* n, bool& allow) {
        ++asked;
        if (n->Count() == 0)
            for (const char* s : {"视频", "音乐"}) t->Items()->AddChild(n, s)->SetHasChildren(true);
        allow = true;
    };
    Show(f);
    EXPECT_EQ(disk->Count(), 0);
    // A double click on the label opens it, as the button would.
    TRect r = disk->DisplayRect(true);
    POINT p = ScreenOf(t, r.left + 3, (r.top + r.bottom) / 2);
    D().Click(p.x, p.y);
    D().Click(p.x, p.y);
    RunUntilIdle();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(disk->Count(), 2);
    EXPECT_TRUE(disk->Expanded());
    EXPECT_EQ(disk->Item(1)->Level(), 1);
    EXPECT_EQ(t->GetNodeAt(r.left + 3, r.bottom + 3), disk->Item(0));
    // A refusing handler keeps it shut.
    t->OnExpanding = [&](TObject*, TTreeNode*, bool& allow) { allow = false; };
    disk->Item(0)->Expand(false);
    EXPECT_FALSE(disk->Item(0)->Expanded());
}

TEST_F(CustomTreeViewTest, SelectionAndDeletionAreTold) {
    TForm* f = Form();
    TTreeView* t = Tree(f);
    TTreeNode* a = t->Items()->Add(nullptr, "甲");
    TTreeNode* a1 = t->Items()->AddChild(a, "甲一");
    t->Items()->AddChild(a1, "甲一一");
    TTreeNode* b = t->Items()->Add(nullptr, "乙");
    Show(f);
    ClickNode(t, b);
    EXPECT_EQ(t->Selected(), b);
    bool allow = false;
    t->OnChanging = [&](TObject*, TTreeNode*, bool& ok) { ok = allow; };
    ClickNode(t, a);
    EXPECT_EQ(t->Selected(), b);
    allow = true;
    t->SetSelected(a);
    EXPECT_EQ(heard_, (std::vector<std::string>{"change 乙", "change 甲"}));
    heard_.clear();
    // The selection moves off the selected node first; the nodes go children first.
    a->Delete();
    EXPECT_EQ(heard_, (std::vector<std::string>{"change 乙", "gone 甲一一", "gone 甲一", "gone 甲"}));
    EXPECT_EQ(t->Items()->Count(), 1);
    EXPECT_EQ(t->Items()->GetFirstNode(), b);
}

TEST_F(CustomTreeViewTest, ANewWindowShowsTheSameTreeAndSortingFollows) {
    TForm* f = Form();
    TTreeView* t = Tree(f);
    TTreeNode* root = t->Items()->Add(nullptr, "根");
    for (const char* s : {"c", "A", "b"}) t->Items()->AddChild(root, s);
    Show(f);
    root->Expand(false);
    t->SetSelected(root->Item(2));
    heard_.clear();
    t->SetShowLines(false); // a new window
    EXPECT_TRUE(heard_.empty());
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(t->Selected(), root->Item(2));
    root->AlphaSort();
    EXPECT_EQ(root->Item(0)->Text(), "A");
    EXPECT_EQ(root->Item(2)->Text(), "c");
    // The window shows the new order: row after row under the root.
    TRect first = root->Item(0)->DisplayRect(false), last = root->Item(2)->DisplayRect(false);
    EXPECT_LT(first.top, last.top);
    EXPECT_EQ(t->GetNodeAt(first.left + 30, first.top + 2), root->Item(0));
    // Editing in place ends in OnEdited's text.
    t->OnEdited = [](TObject*, TTreeNode*, std::string& s) { s = "[" + s + "]"; };
    root->Item(1)->EditText();
    ASSERT_TRUE(t->IsEditing());
    PressKey(VK_END);
    Type(U"二");
    PressKey(VK_RETURN);
    EXPECT_EQ(root->Item(1)->Text(), "[b二]");
}

} // namespace
