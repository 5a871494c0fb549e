// The skinned list view as the converter's file list: 25 report columns of which 18 are hidden,
// the header painted from the skin, the external bars following the rows and columns, the
// vertical bar scrolling the rows, and the bars following the list's visibility.
#include "ControlFixtures.h"
#include "controls/CommCtrlLists.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinScrollBar.h"
#include "win/Scroll.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

const COLORREF kSection = RGB(200, 40, 40), kPressed = RGB(40, 40, 200), kListBack = RGB(20, 120, 60);

// The file list's columns: the caption and sub-items 0 to 3, 5 and 6 show; sub-item 4 and
// 7 to 23 are hidden with a width of 0.
void AddFileColumns(gui::TCustomListView* list) {
    const char* captions[25] = {"输入文件",   "视频时间",   "文件大小",   "输出文件",   "转换进度",
                                "",           "当前时间",   "转换大小",   "视频序号",   "视频类别",
                                "视频选项",   "视频编码",   "音频编码",   "声音频道",   "VideoTag",
                                "FileExt",    "视频分辨率", "视频比特率", "视频帧率",   "音频比特率",
                                "音频采样率", "视频缩放",   "视频能否",   "TargetType", "NormType"};
    for (int c = 0; c < 25; ++c) {
        gui::TListColumn* col = list->Columns()->Add();
        col->SetCaption(captions[c]);
        bool shown = c <= 4 || c == 6 || c == 7;
        col->SetWidth(shown ? (c == 0 ? 160 : 70) : 0);
        if (!shown) col->SetMaxWidth(1);
    }
}

void AddRows(gui::TCustomListView* list, int n) {
    for (int i = 0; i < n; ++i) {
        gui::TListItem* item = list->Items()->Add();
        item->SetCaption("/home/user/视频/clip" + std::to_string(list->Items()->Count()) + ".mp4");
        for (int s = 0; s < 24; ++s) item->SubItems()->Add(s == 1 ? "1.5MB" : "");
    }
}

class ListViewTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 420, 300);
        vbar_ = new TbsSkinScrollBar(form_);
        vbar_->SetKind(TScrollBarKind::sbVertical);
        vbar_->SetBounds(0, 0, 16, 100);
        vbar_->SetAlign(gui::alRight);
        vbar_->SetParent(form_);
        hbar_ = new TbsSkinScrollBar(form_);
        hbar_->SetBounds(0, 0, 100, 16);
        hbar_->SetAlign(gui::alBottom);
        hbar_->SetParent(form_);
        list_ = new TbsSkinListView(form_);
        list_->SetViewStyle(gui::vsReport);
        list_->SetGridLines(true);
        list_->SetReadOnly(true);
        list_->SetRowSelect(true);
        list_->SetAlign(gui::alClient);
        list_->SetParent(form_);
        AddFileColumns(list_);
        list_->SetHScrollBar(hbar_);
        list_->SetVScrollBar(vbar_);
        form_->Show();
        RunUntilIdle();
    }
    int Rows() { return list_->VisibleRowCount(); }
    SkinWalkForm* form_ = nullptr;
    TbsSkinListView* list_ = nullptr;
    TbsSkinScrollBar* vbar_ = nullptr;
    TbsSkinScrollBar* hbar_ = nullptr;
};

// A header entry whose normal and pressed looks are plain colours, and a list entry.
void HeaderSkin(TbsSkinData& data) {
    gdi::image::Image picture;
    picture.Reset(64, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 64; ++x) picture.At(x, y) = x < 32 ? 0xFFC82828u : 0xFF2828C8u;
    UsePicture(data, picture);
    auto& h = AddControl<TbsDataSkinButtonControl>(data, "resizetoolbutton");
    h.PictureIndex = 0;
    h.SkinRect = Rect(0, 0, 32, 20);
    h.DownSkinRect = Rect(32, 0, 64, 20);
    h.LTPoint = Point(4, 4);
    h.RTPoint = Point(28, 4);
    h.LBPoint = Point(4, 16);
    h.RBPoint = Point(28, 16);
    h.ClRect = Rect(4, 4, 28, 16);
    h.LeftStretch = h.TopStretch = h.RightStretch = h.BottomStretch = true;
    h.StretchEffect = true;
    h.FontColor = RGB(255, 255, 255);
    h.DownFontColor = RGB(255, 255, 0);
    auto& l = AddControl<TbsDataSkinListView>(data, "listview");
    l.FontName = "Arial";
    l.FontHeight = 13;
    l.FontColor = RGB(250, 250, 250);
    l.BGColor = static_cast<TColor>(kListBack);
}

} // namespace

TEST_F(ListViewTest, FileListHeaderIsPaintedFromTheSkinAndPressedSectionsShowTheirDownLook) {
    TbsSkinData data(nullptr);
    HeaderSkin(data);
    list_->SetSkinData(&data);
    form_->SetBounds(0, 0, 700, 300); // room after the last column
    AddRows(list_, 3);
    RunUntilIdle();
    HWND header = list_->HeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header, reinterpret_cast<HWND>(SendMessage(list_->Handle(), LVM_GETHEADER, 0, 0)));
    // The header runs 25 pixels past the list; the list has no frame.
    RECT hr, lr;
    GetWindowRect(header, &hr);
    GetWindowRect(list_->Handle(), &lr);
    EXPECT_EQ(hr.right - hr.left, lr.right - lr.left + 25);
    RECT client;
    GetClientRect(list_->Handle(), &client);
    EXPECT_EQ(client.right, list_->Width());
    EXPECT_EQ(list_->Color(), static_cast<gui::TColor>(kListBack));
    EXPECT_EQ(list_->Font()->Color(), static_cast<gui::TColor>(RGB(250, 250, 250)));

    int hh = hr.bottom - hr.top;
    ASSERT_GT(hh, 6);
    // Away from the caption, in the section's middle, and after the last column.
    auto at = [&](int x) { return PixelAt(list_, x, hh / 2); };
    EXPECT_EQ(at(150), kSection);
    ASSERT_GT(list_->Width(), 640);
    EXPECT_EQ(at(630), kSection);
    EXPECT_EQ(PixelAt(list_, 150, list_->Height() - 3), kListBack); // below the rows
    // A press on a section shows it pressed until the release.
    ClickAt(list_, 1, 1); // focus, away from the header's sections' middles
    POINT p = ScreenOf(list_, 150, hh / 2);
    D().MoveMouse(p.x, p.y);
    D().Press();
    RunUntilIdle();
    EXPECT_EQ(list_->ActiveSection(), 0);
    EXPECT_TRUE(list_->HeaderDown());
    EXPECT_EQ(at(150), kPressed);
    EXPECT_EQ(at(200), kSection);
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(list_->ActiveSection(), -1);
    EXPECT_EQ(at(150), kSection);
    // A press on a divider presses no section.
    p = ScreenOf(list_, 160, hh / 2);
    D().MoveMouse(p.x, p.y);
    D().Press();
    RunUntilIdle();
    EXPECT_FALSE(list_->HeaderDown());
    EXPECT_EQ(at(150), kSection);
    D().Release();
    RunUntilIdle();
    // Hidden columns stay closed: the shown ones lie side by side.
    EXPECT_EQ(list_->Columns()->Items(5)->Width(), 0);
    EXPECT_EQ(list_->Columns()->Items(0)->Width(), 160);
    // A new window brings a new header, hooked as the first one was.
    list_->SetReadOnly(false);
    RunUntilIdle();
    ASSERT_NE(list_->HeaderHandle(), nullptr);
    EXPECT_NE(list_->HeaderHandle(), header);
    EXPECT_EQ(list_->HeaderHandle(),
              reinterpret_cast<HWND>(SendMessage(list_->Handle(), LVM_GETHEADER, 0, 0)));
    EXPECT_EQ(at(150), kSection);
    // Without the skin the default look, and the list's own colour.
    list_->SetSkinData(nullptr);
    list_->ChangeSkinData();
    RunUntilIdle();
    EXPECT_EQ(at(150), gui::ColorToRGB(gui::clBtnFace));
    EXPECT_EQ(list_->Color(), gui::clWindow);
    EXPECT_EQ(list_->Font()->Name(), "Arial");
}

TEST_F(ListViewTest, SelectingARowFromCodeFiresOnSelectItem) {
    AddRows(list_, 5);
    std::vector<std::pair<int, bool>> heard;
    list_->OnSelectItem = [&](gui::TObject*, gui::TListItem* item, bool selected) {
        heard.emplace_back(item ? item->Index() : -1, selected);
    };
    list_->SetItemIndex(4);
    list_->SetItemIndex(2);
    EXPECT_EQ(heard, (std::vector<std::pair<int, bool>>{
                         {4, true },
                         {4, false},
                         {2, true }
    }));
}

TEST_F(ListViewTest, VerticalBarShowsWhenRowsExceedThePageAndTheHorizontalOneTakesTheBothLook) {
    // Seven shown columns are wider than the list: the horizontal bar shows from the start.
    EXPECT_TRUE(hbar_->Visible());
    EXPECT_FALSE(hbar_->Both());
    EXPECT_EQ(hbar_->PageSize(), list_->Width());
    int rows = Rows();
    ASSERT_GT(rows, 2);
    AddRows(list_, rows);
    RunUntilIdle();
    EXPECT_FALSE(vbar_->Visible());
    AddRows(list_, 1);
    RunUntilIdle();
    ASSERT_TRUE(vbar_->Visible());
    // The list gave the bar its room, so the page may have lost a row.
    rows = Rows();
    EXPECT_EQ(vbar_->PageSize(), rows);
    EXPECT_EQ(vbar_->LargeChange(), rows);
    EXPECT_EQ(vbar_->SmallChange(), 1);
    EXPECT_EQ(vbar_->Max(), list_->Items()->Count() - 1);
    EXPECT_TRUE(hbar_->Both());
    EXPECT_EQ(hbar_->SkinDataName(), hbar_->BothSkinDataName);
    // Aligned bars take their place beside the list.
    EXPECT_EQ(list_->Left() + list_->Width(), vbar_->Left());
    EXPECT_EQ(list_->Top() + list_->Height(), hbar_->Top());
    list_->Items()->Clear();
    RunUntilIdle();
    EXPECT_FALSE(vbar_->Visible());
    EXPECT_FALSE(hbar_->Both());
    EXPECT_EQ(hbar_->SkinDataName(), "hscrollbar");
}

TEST_F(ListViewTest, DraggingTheVerticalBarByThreeScrollsThreeRows) {
    AddRows(list_, 40);
    RunUntilIdle();
    ASSERT_TRUE(vbar_->Visible());
    ASSERT_EQ(vbar_->Position(), 0);
    gui::TRect thumb = vbar_->Parts(0).R;
    int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
    POINT p = ScreenOf(vbar_, x, y);
    D().MoveMouse(p.x, p.y);
    D().Press();
    RunUntilIdle();
    std::vector<int> tops;
    for (int dy = 1; dy < 200 && vbar_->Position() < 3; ++dy) {
        MoveTo(vbar_, x, y + dy);
        int top = list_->TopItem()->Index();
        if (tops.empty() || tops.back() != top) tops.push_back(top);
    }
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(vbar_->Position(), 3);
    // One row per position: the list passed through every row.
    EXPECT_EQ(tops, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(list_->TopItem()->Index(), 3);
    // Scrolling the list itself moves the bar.
    list_->Items()->Item(39)->MakeVisible();
    RunUntilIdle();
    EXPECT_EQ(vbar_->Position(), list_->TopItem()->Index());
    EXPECT_EQ(vbar_->Position(), 40 - Rows());
}

TEST_F(ListViewTest, BarsFollowTheListsVisibilityAndARemovedBarIsDropped) {
    AddRows(list_, 40);
    RunUntilIdle();
    ASSERT_TRUE(vbar_->Visible());
    list_->SetVisible(false);
    RunUntilIdle();
    EXPECT_FALSE(vbar_->Visible());
    EXPECT_FALSE(hbar_->Visible());
    list_->SetVisible(true);
    RunUntilIdle();
    EXPECT_TRUE(vbar_->Visible());
    EXPECT_TRUE(hbar_->Visible());
    // A list 5 pixels high leaves its bars alone.
    list_->SetAlign(gui::alNone);
    list_->SetBounds(0, 0, 300, 5);
    list_->UpDateScrollBars();
    RunUntilIdle();
    EXPECT_TRUE(vbar_->Visible());
    delete vbar_;
    EXPECT_EQ(list_->VScrollBar(), nullptr);
    list_->SetBounds(0, 0, 300, 200);
    RunUntilIdle();
    EXPECT_TRUE(hbar_->Visible());
}

TEST_F(ListViewTest, BarsOutliveTheirListAndFrameRequestsPaintNothing) {
    EXPECT_EQ(SendMessage(list_->Handle(), 45513, 0, 0), 12851);
    AddRows(list_, 40);
    RunUntilIdle();
    delete list_;
    // The bars no longer scroll a list that is gone.
    vbar_->SetPosition(3);
    hbar_->SetPosition(10);
    EXPECT_EQ(vbar_->Position(), 3);
    EXPECT_FALSE(vbar_->OnChange);
}

TEST_F(ListViewTest, FollowsASkinChangeOfTheForm) {
    ScreenForms forms;
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    data.SetSkinIndex(0);
    list_->SetSkinData(&data);
    for (int index : {1, 6}) {
        SCOPED_TRACE(index);
        data.SetSkinIndex(index);
        RunUntilIdle();
        auto& d = dynamic_cast<TbsDataSkinListView&>(*data.CtrlList[data.GetControlIndex("listview")]);
        EXPECT_EQ(list_->Color(), static_cast<gui::TColor>(d.BGColor));
        EXPECT_EQ(list_->Font()->Color(), static_cast<gui::TColor>(d.FontColor));
        EXPECT_EQ(PixelAt(list_, 100, list_->Height() - 3), static_cast<COLORREF>(d.BGColor));
    }
}

TEST_F(ListViewTest, ReorderedSectionsAreDrawnWithTheirOwnColumns) {
    std::vector<int> drawn;
    list_->OnDrawHeaderSection = [&](gui::TCanvas* c, gui::TListColumn* column, bool, const gui::TRect& r) {
        drawn.push_back(column->Index());
        c->Brush()->SetColor(column->Index() == 0 ? RGB(255, 0, 0) : RGB(0, 255, 0));
        c->FillRect(r);
    };
    std::vector<int> order(25);
    for (int i = 0; i < 25; ++i) order[static_cast<size_t>(i)] = i;
    std::swap(order[0], order[1]);
    SendMessage(list_->Handle(), LVM_SETCOLUMNORDERARRAY, 25, reinterpret_cast<LPARAM>(order.data()));
    list_->Repaint();
    RunUntilIdle();
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn[0], 1);
    EXPECT_EQ(drawn[1], 0);
    // The 70-pixel column now comes first, the 160-pixel one after it.
    EXPECT_EQ(PixelAt(list_, 35, 5), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(list_, 150, 5), RGB(255, 0, 0));
}

TEST_F(ListViewTest, ListAndIconViewsScrollByColumnsAndByPixels) {
    AddRows(list_, 120);
    list_->SetViewStyle(gui::vsList);
    RunUntilIdle();
    EXPECT_FALSE(vbar_->Visible());
    ASSERT_TRUE(hbar_->Visible());
    EXPECT_EQ(hbar_->LargeChange(), 1);
    hbar_->SetPosition(2);
    RunUntilIdle();
    EXPECT_EQ(GetScrollPos(list_->Handle(), SB_HORZ), 2); // two columns
    hbar_->SetPosition(1);
    EXPECT_EQ(GetScrollPos(list_->Handle(), SB_HORZ), 1);

    list_->SetViewStyle(gui::vsIcon);
    RunUntilIdle();
    ASSERT_TRUE(vbar_->Visible());
    EXPECT_GE(vbar_->SmallChange(), 1);
    EXPECT_EQ(vbar_->PageSize(), list_->Height());
    vbar_->SetPosition(37);
    RunUntilIdle();
    EXPECT_EQ(GetScrollPos(list_->Handle(), SB_VERT), 37); // pixels
}
