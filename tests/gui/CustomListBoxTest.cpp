#include "gui/CustomListBox.h"
#include "FormFixture.h"
#include "gui/StringList.h"
#include "win/Input.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class CustomListBoxTest : public FormTest {};

TEST_F(CustomListBoxTest, ItemsAndSelectionSurviveTheWindowComingAndGoing) {
    TForm* f = Form();
    auto* l = new TListBox(f);
    l->SetBoundsRect({10, 10, 150, 110});
    TObject marker;
    l->Items()->Add("乙");
    l->Items()->AddObject("甲", &marker);
    l->SetItemIndex(1);
    l->SetParent(f);
    Show(f);
    EXPECT_EQ(l->Items()->Text(), "乙\r\n甲\r\n");
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(l->Items()->Objects(1), &marker);
    // Replacing a row keeps its object and its selection.
    l->Items()->SetStrings(1, "丙");
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(l->Items()->Objects(1), &marker);
    l->SetStyle(lbOwnerDrawFixed); // a new window
    EXPECT_EQ(l->Items()->Text(), "乙\r\n丙\r\n");
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(l->Items()->IndexOf("丙"), 1);
    EXPECT_THROW(l->Items()->Strings(2), EStringListError);
    l->SetSorted(true);
    EXPECT_EQ(l->Items()->Strings(0), "丙"); // by code point
    l->Items()->Add("a");
    EXPECT_EQ(l->Items()->Strings(0), "a");
    l->SetItemIndex(7);
    EXPECT_EQ(l->ItemIndex(), -1);
}

TEST_F(CustomListBoxTest, ClicksAndKeysFireOnClickCodeDoesNot) {
    TForm* f = Form();
    auto* l = Add<TListBox>(f, {10, 10, 150, 110});
    for (const char* s : {"一", "二", "三", "四"}) l->Items()->Add(s);
    Show(f);
    std::vector<int> clicks;
    int doubles = 0;
    l->OnClick = [&](TObject*) { clicks.push_back(l->ItemIndex()); };
    l->OnDblClick = [&](TObject*) { ++doubles; };
    l->SetItemIndex(0);
    EXPECT_TRUE(clicks.empty());
    TRect r = l->ItemRect(2);
    ClickAt(l, r.left + 5, r.top + 2);
    PressKey(VK_DOWN);
    EXPECT_EQ(clicks, (std::vector<int>{2, 3}));
    POINT p = ScreenOf(l, r.left + 5, r.top + 2);
    D().Click(p.x, p.y);
    D().Click(p.x, p.y);
    RunUntilIdle();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(l->ItemAtPos({r.left + 5, r.top + 2}, true), 2);
    EXPECT_EQ(l->ItemAtPos({5, 95}, true), -1);
}

TEST_F(CustomListBoxTest, MultiSelectCountsAndOwnerDrawPaintsEachRow) {
    TForm* f = Form();
    auto* l = Add<TListBox>(f, {10, 10, 150, 110});
    for (int i = 0; i < 10; ++i) l->Items()->Add("行" + std::to_string(i));
    l->SetMultiSelect(true);
    l->SetSelected(1, true);
    l->SetSelected(4, true);
    EXPECT_EQ(l->SelCount(), 2);
    l->SetStyle(lbOwnerDrawFixed);
    l->SetItemHeight(30);
    std::vector<std::pair<int, bool>> drawn;
    l->OnDrawItem = [&](TWinControl*, int index, const TRect& r, TOwnerDrawState state) {
        drawn.emplace_back(index, (state & odSelected) != 0);
        EXPECT_EQ(RectHeight(r), 30);
    };
    Show(f);
    // 100 pixels less the border show four rows of 30, the last one in part.
    EXPECT_EQ(drawn, (std::vector<std::pair<int, bool>>{
                         {0, false},
                         {1, true },
                         {2, false},
                         {3, false}
    }));
    EXPECT_EQ(l->SelCount(), 2);
    EXPECT_TRUE(l->Selected(4));
    l->SetTopIndex(5);
    EXPECT_EQ(l->TopIndex(), 5);
}

} // namespace
