// The skinned list box: its bar comes and goes with the rows, the wheel scrolls, RowCount sizes
// the frame, tab stops, the caption buttons' repeat on the virtual clock, and the paint-into
// request of an empty list.
#include "ControlFixtures.h"
#include "skin/controls/SkinListBox.h"
#include "win/Message.h"

#include <memory>

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class ListBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        list_ = new TbsSkinListBox(form_);
        list_->SetParent(form_);
        list_->SetBounds(10, 10, 120, 120); // rows of 20 in 116 pixels: a page of 5
        form_->Show();
        RunUntilIdle();
    }
    void Fill(int n) {
        for (int i = 0; i < n; ++i) list_->Items()->Add("row " + std::to_string(i));
        RunUntilIdle();
    }
    static POINT Centre(const gui::TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    SkinWalkForm* form_ = nullptr;
    TbsSkinListBox* list_ = nullptr;
};

TbsDataSkinListBox& ListSkin(TbsSkinData& data, int itemHeight) {
    gdi::image::Image picture;
    picture.Reset(120, 120);
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinListBox>(data, "listbox");
    d.PictureIndex = 0;
    d.SkinRect = Rect(0, 0, 100, 100);
    d.LTPoint = Point(10, 10);
    d.RTPoint = Point(90, 10);
    d.LBPoint = Point(10, 90);
    d.RBPoint = Point(90, 90);
    d.ClRect = Rect(10, 10, 90, 90);
    d.SItemRect = Rect(0, 100, 60, 100 + itemHeight);
    d.ItemTextRect = Rect(2, 0, 58, itemHeight);
    return d;
}

} // namespace

TEST_F(ListBoxTest, BarAppearsWhenRowsOverflowAndGoesOnClear) {
    Fill(5);
    EXPECT_EQ(list_->ScrollBar(), nullptr);
    Fill(1);
    ASSERT_NE(list_->ScrollBar(), nullptr);
    EXPECT_EQ(list_->ScrollBar()->LargeChange(), 5);
    EXPECT_TRUE(list_->ScrollBar()->Visible());
    // The list gives the bar its place.
    EXPECT_EQ(list_->ListBox()->Width() + list_->ScrollBar()->Width(), 117);
    // The wheel scrolls a row and the bar follows.
    Fill(4);
    list_->ListBox()->SetFocus();
    MoveTo(list_->ListBox(), 20, 20);
    D().Wheel(-120);
    RunUntilIdle();
    EXPECT_EQ(list_->TopIndex(), 1);
    EXPECT_EQ(list_->ScrollBar()->Position(), 1);
    // And the bar scrolls the list.
    list_->ScrollBar()->SetPosition(4);
    EXPECT_EQ(list_->TopIndex(), 4);
    list_->Clear();
    EXPECT_EQ(list_->ScrollBar(), nullptr);
    EXPECT_EQ(list_->ListBox()->Width(), 116);
}

TEST_F(ListBoxTest, BarFollowsKeyboardScrolling) {
    Fill(20);
    list_->ListBox()->SetFocus();
    RunUntilIdle();
    // End, Home and a few pages down: the bar shows where the list stands each time.
    for (int key : {VK_END, VK_HOME, VK_NEXT, VK_NEXT, VK_NEXT}) {
        PressKey(key);
        RunUntilIdle();
        EXPECT_EQ(list_->ScrollBar()->Position(), list_->TopIndex()) << key;
        if (key == VK_END) EXPECT_EQ(list_->TopIndex(), 15);
    }
    EXPECT_GT(list_->TopIndex(), 0);
    // After End the bar's up arrow steps back one row from there, not from the top.
    PressKey(VK_END);
    RunUntilIdle();
    TbsSkinScrollBar* bar = list_->ScrollBar();
    ClickAt(bar, bar->Width() / 2, 3);
    RunUntilIdle();
    EXPECT_EQ(list_->TopIndex(), 14);
}

TEST_F(ListBoxTest, RowCountSizesTheFrame) {
    TbsSkinData data(nullptr);
    ListSkin(data, 20);
    list_->SetSkinData(&data);
    list_->SetRowCount(5);
    EXPECT_EQ(list_->Height(), 120); // 100 + 5 x 20 - 80
    Fill(5);
    EXPECT_EQ(list_->ScrollBar(), nullptr);
    list_->SetSkinData(nullptr);
    list_->ChangeSkinData();
    EXPECT_EQ(list_->Height(), 104); // 5 x 20 + 4
}

TEST_F(ListBoxTest, SkinRowOfNoHeightStillGivesRowsOfOnePixel) {
    TbsSkinData data(nullptr);
    ListSkin(data, 0);
    Fill(30);
    list_->SetSkinData(&data);
    RunUntilIdle();
    EXPECT_EQ(list_->ItemHeight(), 1);
    EXPECT_EQ(list_->CalcHeight(3), 100 + 3 - 80);
    list_->SetSkinData(nullptr);
}

TEST_F(ListBoxTest, TabStops) {
    gui::TStringList tabs;
    for (const char* t : {"40", "x1", "80", "", "-5"}) tabs.Add(t);
    list_->SetTabWidths(&tabs);
    EXPECT_EQ(list_->TabStops(), (std::vector<int>{40, 0, 80, 0, 0}));
    for (int i = 0; i < 8; ++i) tabs.Add("1");
    list_->SetTabWidths(&tabs);
    EXPECT_EQ(list_->TabStops().size(), 10u);
}

TEST_F(ListBoxTest, CaptionButtonSizes) {
    list_->SetCaptionMode(true);
    for (auto [caption, size] : {
             std::pair{30, 17},
             {15, 12}
    }) {
        list_->SetDefaultCaptionHeight(caption);
        list_->Repaint();
        EXPECT_EQ(gui::RectWidth(list_->Button(0).R), size) << caption;
        EXPECT_EQ(list_->Button(1).R.right, list_->Button(0).R.left);
    }
}

TEST_F(ListBoxTest, HeldDownButtonRepeatsAfter500msEvery100ms) {
    list_->SetCaptionMode(true);
    list_->SetDefaultCaptionHeight(22);
    Fill(20);
    list_->SetItemIndex(0);
    list_->Repaint();
    POINT down = Centre(list_->Button(1).R);
    MoveTo(list_, down.x, down.y);
    D().Press();
    RunUntilIdle();
    Advance(490);
    EXPECT_EQ(list_->ItemIndex(), 0);
    Advance(20); // the first tick only ends the wait
    EXPECT_EQ(list_->ItemIndex(), 0);
    Advance(100);
    EXPECT_EQ(list_->ItemIndex(), 1);
    Advance(200);
    EXPECT_EQ(list_->ItemIndex(), 3);
    // Off the button the repeat pauses; back on it resumes after 50 ms.
    MoveTo(list_, 10, 60);
    Advance(300);
    EXPECT_EQ(list_->ItemIndex(), 3);
    MoveTo(list_, down.x, down.y);
    Advance(60);
    EXPECT_EQ(list_->ItemIndex(), 4);
    // The release makes one more step, also off the button.
    MoveTo(list_, 10, 60);
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(list_->ItemIndex(), 5);
    Advance(500);
    EXPECT_EQ(list_->ItemIndex(), 5);
    // At the last row the down button stays there.
    list_->SetItemIndex(19);
    ClickAt(list_, down.x, down.y);
    EXPECT_EQ(list_->ItemIndex(), 19);
    POINT up = Centre(list_->Button(0).R);
    ClickAt(list_, up.x, up.y);
    EXPECT_EQ(list_->ItemIndex(), 18);
    // A button with its own event fires it instead of stepping.
    int clicks = 0;
    list_->OnDownButtonClick = [&](gui::TObject*) { ++clicks; };
    ClickAt(list_, down.x, down.y);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list_->ItemIndex(), 18);
}

TEST_F(ListBoxTest, EmptyListPaintsItsBackgroundOnRequest) {
    HWND h = list_->ListBox()->Handle();
    EXPECT_EQ(SendMessage(h, 48202, 0, 16802), 16802);
    EXPECT_EQ(SendMessage(h, 45513, 0, 0), 12851);
    Fill(1);
    EXPECT_NE(SendMessage(h, 48202, 0, 16802), 16802);
}

namespace {

// Rows whose text widths are known: row 1 is 300 pixels wide, the others 50.
class WideRowsListBox : public TbsSkinListBox {
public:
    using TbsSkinListBox::TbsSkinListBox;
    int ItemTextWidth(int Index, gui::TCanvas*) override { return Index == 1 ? 300 : 50; }
};

std::unique_ptr<gui::TBitmap> Square(int size, gui::TColor colour) {
    auto b = std::make_unique<gui::TBitmap>();
    b->SetSize(size, size);
    b->Canvas()->Brush()->SetColor(colour);
    b->Canvas()->FillRect({0, 0, size, size});
    return b;
}

} // namespace

TEST_F(ListBoxTest, SidewaysBarFollowsTheWidestRow) {
    auto* wide = new WideRowsListBox(form_);
    wide->SetParent(form_);
    wide->SetBounds(150, 10, 208, 120); // a text area of 200
    for (const char* s : {"a", "b", "c"}) wide->Items()->Add(s);
    wide->SetHorizontalExtent(true);
    RunUntilIdle();
    TbsSkinScrollBar* bar = wide->HScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 300);
    EXPECT_EQ(bar->PageSize(), 200);
    // The bar sits along the bottom and the list above it.
    EXPECT_EQ(bar->Top() + bar->Height(), wide->Height() - 1);
    EXPECT_LE(wide->ListBox()->Top() + wide->ListBox()->Height(), bar->Top() + 1);
    int step = bar->SmallChange();
    EXPECT_GT(step, 0);
    // Right and Left scroll the text; without a vertical bar the wheel does too.
    wide->ListBox()->SetFocus();
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    EXPECT_EQ(wide->ListBox()->HorizontalExtentValue, 2 * step);
    PressKey(VK_LEFT);
    EXPECT_EQ(wide->ListBox()->HorizontalExtentValue, step);
    POINT p = ScreenOf(wide->ListBox(), 20, 10);
    D().MoveMouse(p.x, p.y);
    D().Wheel(-120);
    RunUntilIdle();
    EXPECT_EQ(wide->ListBox()->HorizontalExtentValue, 2 * step);
    // Off again: the bar goes and the text is back at its start.
    wide->SetHorizontalExtent(false);
    EXPECT_EQ(wide->HScrollBar(), nullptr);
    EXPECT_EQ(wide->ListBox()->HorizontalExtentValue, 0);
}

TEST_F(ListBoxTest, RowImagesAndCaptionGlyphAlignment) {
    Fill(3);
    auto* images = new gui::TImageList(form_);
    images->SetSize(16, 16);
    images->Add(Square(16, RGB(255, 0, 0)).get(), nullptr);
    images->Add(Square(16, RGB(0, 0, 255)).get(), nullptr);
    list_->SetImages(images);
    RunUntilIdle();
    // Each row's own image at the text area's left, centred in the row.
    for (int i : {0, 1}) {
        gui::TRect r = list_->ItemRect(i);
        EXPECT_EQ(PixelAt(list_->ListBox(), 2 + 8, (r.top + r.bottom) / 2),
                  i == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255))
            << i;
    }
    // One image for every row.
    list_->SetImageIndex(1);
    RunUntilIdle();
    gui::TRect r0 = list_->ItemRect(0);
    EXPECT_EQ(PixelAt(list_->ListBox(), 2 + 8, (r0.top + r0.bottom) / 2), RGB(0, 0, 255));
    // The caption's glyph goes where the alignment puts the caption.
    list_->SetCaptionMode(true);
    list_->SetShowCaptionButtons(false);
    list_->SetDefaultCaptionHeight(20);
    // A glyph's bottom-left colour is its transparent one: a white bottom row keeps the green.
    auto glyph = Square(10, RGB(0, 255, 0));
    glyph->Canvas()->Brush()->SetColor(gui::clWhite);
    glyph->Canvas()->FillRect({0, 9, 10, 10});
    list_->SetGlyph(glyph.get());
    int gy = 16 / 2 + 2 - 5 - 1 + 5; // the glyph's middle row in the caption (2..18)
    struct Case {
        gui::TAlignment alignment;
        int x;
    } cases[] = {
        {gui::taLeftJustify,  3 + 5                      },
        {gui::taRightJustify, list_->Width() - 2 - 12 + 5},
    };
    for (const Case& c : cases) {
        list_->SetAlignment(c.alignment);
        RunUntilIdle();
        EXPECT_EQ(PixelAt(list_, c.x, gy), RGB(0, 255, 0)) << int(c.alignment);
    }
}

TEST_F(ListBoxTest, ColumnsScrollSidewaysWithTheBarAlongTheBottom) {
    Fill(25);
    list_->SetColumns(2);
    RunUntilIdle();
    TbsSkinScrollBar* bar = list_->ScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Kind(), TScrollBarKind::sbHorizontal);
    EXPECT_EQ(bar->Top(), list_->Height() - 20);
    EXPECT_LE(list_->ListBox()->Top() + list_->ListBox()->Height(), bar->Top());
    int rows = list_->ListBox()->Height() / list_->ItemHeight();
    EXPECT_EQ(bar->Max(), (25 + rows - 1) / rows - 1);
    EXPECT_EQ(bar->PageSize(), 2);
    // The bar moves the list a column at a time.
    bar->SetPosition(1);
    RunUntilIdle();
    EXPECT_EQ(list_->TopIndex(), rows);
    // Back to one column: the bar stands up again.
    list_->SetColumns(0);
    RunUntilIdle();
    ASSERT_NE(list_->ScrollBar(), nullptr);
    EXPECT_EQ(list_->ScrollBar()->Kind(), TScrollBarKind::sbVertical);
}
