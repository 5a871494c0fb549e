// The skinned tree view: its vertical bar appears once expanded nodes overflow the page, the
// horizontal one takes its pair look beside it, the bar scrolls the tree, and the skin is
// applied once loading ends.
#include "ControlFixtures.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinTreeView.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class TreeViewTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 260, 175);
        vbar_ = new TbsSkinScrollBar(form_);
        vbar_->SetKind(TScrollBarKind::sbVertical);
        vbar_->SetSkinDataName("vscrollbar");
        vbar_->SetBounds(0, 0, 16, 100);
        vbar_->SetAlign(gui::alRight);
        vbar_->SetParent(form_);
        hbar_ = new TbsSkinScrollBar(form_);
        hbar_->SetBounds(0, 0, 100, 16);
        hbar_->SetAlign(gui::alBottom);
        hbar_->SetParent(form_);
        tree_ = new TbsSkinTreeView(form_);
        tree_->SetAlign(gui::alClient);
        tree_->SetParent(form_);
        for (int r = 0; r < 4; ++r) {
            gui::TTreeNode* root = tree_->Items()->Add(nullptr, "文件夹 " + std::to_string(r));
            for (int c = 0; c < 8; ++c)
                tree_->Items()->AddChild(root, "视频 " + std::to_string(r * 8 + c) + ".mp4");
        }
        // One name wider than the tree.
        tree_->Items()->Add(nullptr, "一个很长很长的文件夹名字，比树还要宽得多得多得多得多得多");
        tree_->SetHScrollBar(hbar_);
        tree_->SetVScrollBar(vbar_);
        form_->Show();
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinTreeView* tree_ = nullptr;
    TbsSkinScrollBar* vbar_ = nullptr;
    TbsSkinScrollBar* hbar_ = nullptr;
};

} // namespace

TEST_F(TreeViewTest, VerticalBarShowsOnceExpandedNodesOverflowAndScrollsTheTree) {
    EXPECT_FALSE(vbar_->Visible());
    EXPECT_TRUE(hbar_->Visible());
    EXPECT_FALSE(hbar_->Both());
    tree_->Items()->Root(0)->Expand(false);
    RunUntilIdle();
    ASSERT_TRUE(vbar_->Visible());
    EXPECT_EQ(vbar_->PageSize(), tree_->VisibleCount());
    EXPECT_EQ(vbar_->Max(), 8 + 5 - 1); // every node that shows, less one
    EXPECT_TRUE(hbar_->Both());
    EXPECT_EQ(hbar_->SkinDataName(), hbar_->BothSkinDataName);
    EXPECT_EQ(tree_->Left() + tree_->Width(), vbar_->Left());
    // The bar scrolls the tree.
    vbar_->SetPosition(4);
    EXPECT_EQ(tree_->TopItem(), tree_->Items()->Root(0)->Item(3));
    // And the tree's own scrolling moves the bar.
    tree_->Items()->Root(4)->MakeVisible();
    tree_->Items()->Root(0)->Item(0)->MakeVisible();
    RunUntilIdle();
    EXPECT_EQ(vbar_->Position(), 1);
    tree_->Items()->Root(0)->Collapse(false);
    RunUntilIdle();
    EXPECT_FALSE(vbar_->Visible());
    EXPECT_FALSE(hbar_->Both());
    // Hidden with the tree.
    tree_->SetVisible(false);
    RunUntilIdle();
    EXPECT_FALSE(hbar_->Visible());
}

TEST_F(TreeViewTest, SkinAppliesOnceLoadingEnds) {
    TbsSkinData data(nullptr);
    gdi::image::Image picture;
    picture.Reset(4, 4);
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinTreeView>(data, "treeview");
    d.FontName = "Arial";
    d.FontHeight = 13;
    d.FontColor = RGB(240, 240, 240);
    d.BGColor = RGB(10, 30, 50);
    tree_->BeginLoading();
    tree_->SetSkinData(&data);
    EXPECT_EQ(tree_->Color(), gui::clWindow);
    tree_->EndLoading();
    EXPECT_EQ(tree_->SkinIndex(), 0);
    EXPECT_EQ(tree_->Color(), static_cast<gui::TColor>(RGB(10, 30, 50)));
    EXPECT_EQ(tree_->Font()->Color(), static_cast<gui::TColor>(RGB(240, 240, 240)));
    RunUntilIdle();
    EXPECT_EQ(PixelAt(tree_, tree_->Width() - 4, tree_->Height() - 4), RGB(10, 30, 50));
    // Without the skin, the default colour and font.
    tree_->SetSkinData(nullptr);
    tree_->ChangeSkinData();
    EXPECT_EQ(tree_->Color(), gui::clWindow);
    EXPECT_EQ(tree_->Font()->Name(), "Arial");
}
