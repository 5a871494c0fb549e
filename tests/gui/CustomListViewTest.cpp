#include "gui/CustomListView.h"
#include "FormFixture.h"
#include "controls/CommCtrlLists.h"
#include "win/Input.h"

#include <set>
#include <string>
#include <vector>

using namespace gui;

namespace {

class CustomListViewTest : public FormTest {
protected:
    TListView* Report(TForm* f) {
        auto* lv = Add<TListView>(f, {10, 10, 390, 290});
        lv->SetViewStyle(vsReport);
        lv->SetRowSelect(true);
        lv->SetGridLines(true);
        lv->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
            heard_.push_back((selected ? "+" : "-") + (item ? item->Caption() : std::string("?")));
        };
        return lv;
    }
    std::vector<std::string> heard_;
};

TEST_F(CustomListViewTest, ReportOfManyColumnsWithHiddenOnesAndSelectionFromCodeAndMouse) {
    TForm* f = Form();
    TListView* lv = Report(f);
    // Twenty-five columns, every fifth one hidden, all set before the window exists.
    for (int c = 0; c < 25; ++c) {
        TListColumn* col = lv->Columns()->Add();
        col->SetCaption("列" + std::to_string(c));
        col->SetWidth(c % 5 == 4 ? 0 : 40);
    }
    for (int r = 0; r < 3; ++r) {
        TListItem* item = lv->Items()->Add();
        item->SetCaption("文件" + std::to_string(r));
        for (int c = 1; c < 25; ++c) item->SubItems()->Add(std::to_string(r) + "." + std::to_string(c));
    }
    lv->Items()->Item(2)->SetSelected(true);
    Show(f);
    HWND header = reinterpret_cast<HWND>(SendMessage(lv->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(SendMessage(header, HDM_GETITEMCOUNT, 0, 0), 25);
    EXPECT_EQ(lv->Columns()->Items(4)->Width(), 0);
    EXPECT_EQ(lv->Selected()->Caption(), "文件2");
    // A sub-item's text is in the window.
    char text[32] = {};
    LVITEM it{};
    it.iSubItem = 24;
    it.pszText = text;
    it.cchTextMax = sizeof text;
    SendMessage(lv->Handle(), LVM_GETITEMTEXT, 1, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(text, "1.24");
    // Code moving the selection is heard as the user's is: the old one off, the new one on.
    lv->SetSelected(lv->Items()->Item(0));
    EXPECT_EQ(heard_, (std::vector<std::string>{"-文件2", "+文件0"}));
    heard_.clear();
    TRect r = lv->Items()->Item(1)->DisplayRect();
    ClickAt(lv, r.left + 100, (r.top + r.bottom) / 2); // a sub-item of a whole-row list
    EXPECT_EQ(heard_, (std::vector<std::string>{"-文件0", "+文件1"}));
    EXPECT_EQ(lv->GetItemAt(r.left + 100, r.top + 1), lv->Items()->Item(1));
    // A new window keeps items, sub-items, columns and the selection.
    lv->Items()->Item(1)->SubItems()->SetStrings(0, "改");
    lv->SetMultiSelect(true);
    EXPECT_EQ(lv->ItemIndex(), 1);
    EXPECT_EQ(lv->Columns()->Items(3)->Width(), 40);
    it.iSubItem = 1;
    SendMessage(lv->Handle(), LVM_GETITEMTEXT, 1, reinterpret_cast<LPARAM>(&it));
    EXPECT_STREQ(text, "改");
    lv->Items()->Item(0)->SetSelected(true);
    EXPECT_EQ(lv->SelCount(), 2);
    lv->Items()->Delete(0);
    EXPECT_EQ(lv->Items()->Item(0)->Caption(), "文件1");
    EXPECT_EQ(lv->Items()->Item(0)->Index(), 0);
}

TEST_F(CustomListViewTest, OwnerDataAsksOnlyForTheRowsInView) {
    TForm* f = Form();
    TListView* lv = Report(f);
    lv->Columns()->Add()->SetWidth(120);
    lv->Columns()->Add()->SetWidth(120);
    lv->SetOwnerData(true);
    std::set<int> asked;
    lv->OnData = [&](TObject*, TListItem* item) {
        int i = static_cast<int>(reinterpret_cast<intptr_t>(item->Data));
        asked.insert(i);
        item->SetCaption("第" + std::to_string(i) + "行");
        item->SubItems()->Add("x" + std::to_string(i));
    };
    lv->Items()->SetCount(100000);
    Show(f);
    ASSERT_FALSE(asked.empty());
    int page = lv->VisibleRowCount();
    EXPECT_LE(*asked.rbegin(), page + 1);
    asked.clear();
    lv->Scroll(0, 500 * 17); // far down: only the rows now in view
    RunUntilIdle();
    UpdateWindow(lv->Handle());
    ASSERT_FALSE(asked.empty());
    int top = lv->TopItem() ? static_cast<int>(reinterpret_cast<intptr_t>(lv->TopItem()->Data)) : -1;
    EXPECT_GT(top, 0);
    for (int i : asked) EXPECT_TRUE(i >= top && i <= top + page + 1) << i;
    // Selection by index reaches OnSelectItem with the row OnData fills.
    lv->SetItemIndex(top + 1);
    EXPECT_EQ(heard_.back(), "+第" + std::to_string(top + 1) + "行");
    EXPECT_EQ(lv->Selected()->SubItems()->Strings(0), "x" + std::to_string(top + 1));
}

TEST_F(CustomListViewTest, InPlaceEditingCommitsThroughOnEditedAndCancels) {
    TForm* f = Form();
    TListView* lv = Report(f);
    lv->Columns()->Add()->SetWidth(200);
    lv->Items()->Add()->SetCaption("旧名");
    Show(f);
    lv->OnEdited = [](TObject*, TListItem*, std::string& s) { s += "!"; };
    TListItem* item = lv->Items()->Item(0);
    item->EditCaption();
    ASSERT_TRUE(lv->IsEditing());
    PressKey(VK_END);
    Type(U"新");
    PressKey(VK_RETURN);
    EXPECT_FALSE(lv->IsEditing());
    EXPECT_EQ(item->Caption(), "旧名新!");
    item->EditCaption();
    Type(U"x");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(item->Caption(), "旧名新!");
    // A refusing handler keeps the editor away.
    lv->OnEditing = [](TObject*, TListItem*, bool& allow) { allow = false; };
    item->EditCaption();
    EXPECT_FALSE(lv->IsEditing());
}

} // namespace
