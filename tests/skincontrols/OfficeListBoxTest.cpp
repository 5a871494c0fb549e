// The office list: layout and its bar, the selection and its events, keys that skip headers
// and disabled items, and the scroll that keeps a group's header in view.
#include "ControlFixtures.h"
#include "skin/controls/SkinOfficeListBox.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class OfficeListBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        list_ = new TbsSkinOfficeListBox(form_);
        list_->SetParent(form_);
        list_->SetBounds(10, 10, 150, 150);
        list_->OnItemClick = [this](gui::TObject*) { clicks_.push_back(list_->ItemIndex()); };
        form_->Show();
        list_->SetFocus();
        RunUntilIdle();
    }
    // "H" a header, "x" a disabled item, anything else an ordinary one.
    void Fill(const std::vector<std::string>& kinds) {
        list_->Items()->Clear();
        for (const std::string& k : kinds) {
            TbsSkinOfficeItem* item = list_->Items()->Add();
            item->SetTitle(k);
            item->SetCaption("caption " + k);
            item->SetHeader(k == "H");
            item->SetEnabled(k != "x");
        }
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinOfficeListBox* list_ = nullptr;
    std::vector<int> clicks_;
};

} // namespace

TEST_F(OfficeListBoxTest, LayoutAndBar) {
    Fill({});
    int min, max, pos, page;
    list_->GetScrollInfo(min, max, pos, page);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(list_->ScrollBar(), nullptr);
    Fill(std::vector<std::string>(10, "a"));
    list_->GetScrollInfo(min, max, pos, page);
    EXPECT_EQ(max, 300);
    EXPECT_EQ(page, 146);
    ASSERT_NE(list_->ScrollBar(), nullptr);
    EXPECT_EQ(list_->ItemsRect().right, 148 - list_->ScrollBar()->Width());
    EXPECT_EQ(list_->CalcHeight(4), 4 * 30 + 5);
    EXPECT_EQ(list_->CalcHeight(40), 10 * 30 + 5);
    Fill({"a"});
    EXPECT_EQ(list_->ScrollBar(), nullptr);
}

TEST_F(OfficeListBoxTest, SelectionEventsAndItsLimits) {
    Fill({"a", "b", "c"});
    int itemClicks = 0;
    (*list_->Items())[1]->OnClick = [&](gui::TObject*) { ++itemClicks; };
    list_->SetItemIndex(1);
    EXPECT_EQ(itemClicks, 1);
    EXPECT_EQ(clicks_, std::vector<int>{1});
    EXPECT_TRUE((*list_->Items())[1]->Active);
    // None: nothing stays highlighted, nothing fires.
    list_->SetItemIndex(-1);
    EXPECT_EQ(list_->ItemIndex(), -1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE((*list_->Items())[i]->Active) << i;
    // Beyond the items: ignored.
    list_->SetItemIndex(2);
    list_->SetItemIndex(3);
    list_->SetItemIndex(99);
    EXPECT_EQ(list_->ItemIndex(), 2);
    EXPECT_TRUE((*list_->Items())[2]->Active);
    EXPECT_EQ(clicks_, (std::vector<int>{1, 2}));
}

TEST_F(OfficeListBoxTest, KeysSkipHeadersAndDisabledItems) {
    //      0    1    2    3    4    5    6    7    8    9
    Fill({"H", "a", "x", "b", "H", "c", "d", "e", "f", "g"});
    struct Case {
        int from;
        WORD key;
        int to;
    } cases[] = {
        {1,  VK_DOWN,  3}, // over the disabled item
        {3,  VK_DOWN,  5}, // over the header
        {5,  VK_UP,    3},
        {3,  VK_UP,    1},
        {1,  VK_UP,    1}, // the first group's header is no stop
        {-1, VK_DOWN,  1},
        {3,  VK_NEXT,  5}, // the next group starts the page
        {9,  VK_NEXT,  9},
        {9,  VK_PRIOR, 5},
        {5,  VK_PRIOR, 3},
    };
    for (const Case& c : cases) {
        if (c.from >= 0)
            list_->SetItemIndex(c.from);
        else
            list_->SetItemIndex(-1);
        PressKey(c.key);
        EXPECT_EQ(list_->ItemIndex(), c.to) << c.from << " key " << c.key;
    }
    // A click on a header or a disabled item selects nothing.
    list_->SetItemIndex(1);
    for (int i : {0, 2}) {
        gui::TRect r = (*list_->Items())[i]->ItemRect;
        ClickAt(list_, r.left + 5, r.top + 5);
        EXPECT_EQ(list_->ItemIndex(), 1) << i;
        EXPECT_EQ(list_->ItemAtPos(r.left + 5, r.top + 5), i == 0 ? 0 : -1);
    }
    gui::TRect r = (*list_->Items())[3]->ItemRect;
    ClickAt(list_, r.left + 5, r.top + 5);
    EXPECT_EQ(list_->ItemIndex(), 3);
}

TEST_F(OfficeListBoxTest, SelectingTheFirstItemBringsItsHeaderBack) {
    Fill({"H", "a", "b", "c", "d", "e", "f", "g"});
    list_->SetItemIndex(7);
    EXPECT_GT(list_->ScrollOffset(), 0);
    list_->SetItemIndex(1);
    EXPECT_EQ(list_->ScrollOffset(), 0);
    // Shrinking nothing: growing the list fills the space under the last item.
    list_->SetItemIndex(7);
    list_->SetBounds(10, 10, 150, 280);
    RunUntilIdle();
    EXPECT_EQ(list_->ScrollOffset(), 0);
}

TEST_F(OfficeListBoxTest, SkinnedHeadersDrawFromTheMenuHeaderEntry) {
    Fill({"H", "a", "b"});
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    list_->SetSkinData(&data);
    for (int skin : {0, 3}) {
        data.SetSkinIndex(skin);
        list_->ChangeSkinData();
        RunUntilIdle();
        ASSERT_NE(list_->FIndex, -1) << skin;
        auto& d = dynamic_cast<TbsDataSkinCustomControl&>(*data.CtrlList[data.GetControlIndex("menuheader")]);
        ASSERT_EQ(d.SkinRect.Height(), list_->HeaderHeight()) << skin; // no vertical stretch
        gui::TRect r = (*list_->Items())[0]->ItemRect;
        int y = list_->HeaderHeight() / 2;
        EXPECT_EQ(PixelAt(list_, r.left, r.top + y),
                  PictureAt(data, d.PictureIndex, d.SkinRect.Left, d.SkinRect.Top + y))
            << skin;
    }
    list_->SetSkinData(nullptr);
}
