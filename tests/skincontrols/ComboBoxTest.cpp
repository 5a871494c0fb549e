// The skinned combo box, list-only style: the event order of a selection from code, the
// drop-down's place, the gestures that accept or cancel, key steps and the typed search.
#include "ControlFixtures.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinNumEdit.h"
#include "win/Layered.h"
#include "win/System.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

using Events = std::vector<std::string>;

class ComboBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        other_ = new TbsSkinComboBox(form_);
        other_->SetParent(form_);
        other_->SetBounds(200, 10, 120, 20);
        combo_ = new TbsSkinComboBox(form_);
        combo_->SetParent(form_);
        combo_->SetBounds(10, 10, 150, 20);
        for (const char* s : {"MP4", "MKV", "AVI", "MKV", "FLV"}) combo_->Items()->Add(s);
        combo_->OnChange = [this](gui::TObject*) { events_.push_back("change " + combo_->Text()); };
        combo_->OnClick = [this](gui::TObject*) { events_.push_back("click"); };
        combo_->OnCloseUp = [this](gui::TObject*) { events_.push_back("closeup"); };
        form_->Show();
        combo_->SetFocus();
        RunUntilIdle();
    }
    void Select(int i) {
        combo_->SetItemIndex(i);
        events_.clear();
    }
    static POINT Centre(const gui::TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // A key as a keyboard gives it: the press, the character, the release.
    static void Stroke(int vk, const std::u32string& text) {
        D().KeyDown(vk);
        D().Type(text);
        D().KeyUp(vk);
    }
    void ClickButton() {
        POINT p = Centre(combo_->ButtonRect());
        ClickAt(combo_, p.x, p.y);
    }
    // The centre of a row of the open list, in the combo box's client coordinates.
    POINT Row(int i) {
        TbsListBox* inner = combo_->ListBox()->ListBox();
        gui::TRect r = inner->ItemRect(i);
        gui::TPoint s = inner->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        gui::TPoint c = combo_->ScreenToClient(s);
        return {c.x, c.y};
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinComboBox *combo_ = nullptr, *other_ = nullptr;
    Events events_;
};

} // namespace

TEST_F(ComboBoxTest, SelectionFromCodeActsAsAChoice) {
    struct Case {
        const char* what;
        int from, to;
        bool loading;
        Events events;
        std::string text;
    } cases[] = {
        {"another text",             0, 2,  false, {"change AVI", "click"}, "AVI"},
        {"the same index",           2, 2,  false, {"click"},               "AVI"},
        {"another index, same text", 1, 3,  false, {"click"},               "MKV"},
        {"none",                     2, -1, false, {"click"},               "AVI"},
        {"while loading",            0, 4,  true,  {"change FLV"},          "FLV"},
        {"same, while loading",      4, 4,  true,  {},                      "FLV"},
    };
    for (const Case& c : cases) {
        Select(c.from);
        if (c.loading) combo_->BeginLoading();
        combo_->SetItemIndex(c.to);
        if (c.loading) combo_->EndLoading();
        EXPECT_EQ(events_, c.events) << c.what;
        EXPECT_EQ(combo_->Text(), c.text) << c.what;
        EXPECT_EQ(combo_->ItemIndex(), c.to) << c.what;
    }
    // An empty list keeps the text and still reports the click.
    combo_->Items()->Clear();
    events_.clear();
    combo_->SetItemIndex(0);
    EXPECT_EQ(events_, Events{"click"});
}

TEST_F(ComboBoxTest, DropDownOpensBelowOrAboveNearTheBottom) {
    ClickButton();
    ASSERT_TRUE(combo_->IsPopupVisible());
    gui::TPoint bottomLeft = combo_->ClientToScreen({0, combo_->Height()});
    EXPECT_EQ(combo_->ListBox()->Left(), bottomLeft.x);
    EXPECT_EQ(combo_->ListBox()->Top(), bottomLeft.y);
    EXPECT_EQ(combo_->ListBox()->Width(), 150);
    EXPECT_EQ(combo_->ListBox()->RowCount(), 5); // fewer items than DropDownCount
    // The list never takes the focus.
    EXPECT_TRUE(combo_->Focused());
    ClickButton(); // a second click closes it, cancelling
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_TRUE(events_.empty());
    // Near the bottom of the work area it opens above.
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    form_->SetBounds(0, work.bottom - 80, 400, 80);
    RunUntilIdle();
    ClickButton();
    ASSERT_TRUE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ListBox()->Top() + combo_->ListBox()->Height(), combo_->ClientToScreen({0, 0}).y);
    combo_->CloseUp(false);
}

TEST_F(ComboBoxTest, PressDragReleaseOverARowAccepts) {
    Select(0);
    POINT b = Centre(combo_->ButtonRect());
    MoveTo(combo_, b.x, b.y);
    D().Press();
    RunUntilIdle();
    ASSERT_TRUE(combo_->IsPopupVisible());
    POINT r = Row(2);
    MoveTo(combo_, r.x, r.y);
    EXPECT_TRUE(events_.empty()); // hot tracking fires nothing
    D().Release();
    RunUntilIdle();
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ItemIndex(), 2);
    EXPECT_EQ(events_, (Events{"change AVI", "click", "closeup"}));
    // Click to open, then click a row.
    events_.clear();
    ClickButton();
    r = Row(4);
    ClickAt(combo_, r.x, r.y);
    EXPECT_EQ(combo_->ItemIndex(), 4);
    EXPECT_EQ(events_, (Events{"change FLV", "click", "closeup"}));
}

TEST_F(ComboBoxTest, CancellingRestoresTheSelection) {
    struct Case {
        const char* what;
        std::function<void()> cancel;
    } cases[] = {
        {"escape",               [] { PressKey(VK_ESCAPE); }          },
        {"focus loss",           [this] { other_->SetFocus(); }       },
        {"outside click",        [this] { ClickAt(combo_, 250, 200); }},
        {"release off the list",
         [this] {
             POINT b = Centre(combo_->ButtonRect());
             MoveTo(combo_, b.x, b.y);
             D().Press();
             POINT r = Row(3);
             MoveTo(combo_, r.x, r.y);
             MoveTo(combo_, 300, 250);
             D().Release();
         }                                                            },
    };
    for (const Case& c : cases) {
        combo_->SetFocus();
        Select(1);
        combo_->DropDown();
        RunUntilIdle();
        POINT r = Row(3);
        MoveTo(combo_, r.x, r.y); // highlights row 3
        EXPECT_EQ(combo_->ListBox()->ItemIndex(), 3) << c.what;
        c.cancel();
        RunUntilIdle();
        EXPECT_FALSE(combo_->IsPopupVisible()) << c.what;
        EXPECT_EQ(combo_->ItemIndex(), 1) << c.what;
        EXPECT_TRUE(events_.empty()) << c.what;
    }
}

TEST_F(ComboBoxTest, KeysStepAndEnterAccepts) {
    combo_->Items()->Clear();
    for (int i = 0; i < 30; ++i) combo_->Items()->Add("item " + std::to_string(i));
    struct Case {
        int from;
        WORD key;
        int to;
    } cases[] = {
        {20, VK_PRIOR, 11},
        {20, VK_NEXT,  27},
        {25, VK_NEXT,  29},
        {3,  VK_PRIOR, 0 },
        {0,  VK_UP,    0 },
        {29, VK_DOWN,  29},
        {5,  VK_DOWN,  6 },
        {5,  VK_LEFT,  4 },
    };
    for (const Case& c : cases) {
        Select(c.from);
        PressKey(c.key);
        EXPECT_EQ(combo_->ItemIndex(), c.to) << c.from << " key " << c.key;
        EXPECT_EQ(events_.empty(), c.from == c.to) << c.from << " key " << c.key;
    }
    // With the list open keys move only the highlight; Enter takes it.
    Select(5);
    combo_->DropDown();
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_TRUE(events_.empty());
    PressKey(VK_RETURN);
    EXPECT_EQ(combo_->ItemIndex(), 7);
    EXPECT_EQ(events_, (Events{"change item 7", "click", "closeup"}));
}

TEST_F(ComboBoxTest, TypedPrefixSearch) {
    combo_->Items()->Clear();
    for (const char* s : {"apple", "Banana", "bravo", "berry", "cherry"}) combo_->Items()->Add(s);
    Select(0);
    D().Type(U"br");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "bravo");
    // One letter at a time, further apart than 500 ms: the next item with it, wrapping.
    Advance(600);
    D().Type(U"b");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "berry");
    Advance(600);
    D().Type(U"b");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "Banana");
    Advance(600);
    D().Type(U"x");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "Banana");
}

TEST_F(ComboBoxTest, TypedSearchGoesByCharactersNotBytes) {
    combo_->Items()->Clear();
    for (const char* s : {"保持原始比例", "宽屏视频16:9模式", "标准视频4:3模式", "宽屏拉伸"})
        combo_->Items()->Add(s);
    Select(0);
    D().Type(U"宽");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "宽屏视频16:9模式");
    // One character again after the pause: the next item with it.
    Advance(600);
    D().Type(U"宽");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "宽屏拉伸");
    // A growing prefix of several characters searches from the top.
    Advance(600);
    D().Type(U"标准");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "标准视频4:3模式");
}

TEST_F(ComboBoxTest, ClearingAListNeverOpenedLeavesNoSelection) {
    ASSERT_FALSE(combo_->ListBox()->ListBox()->HandleAllocated());
    Select(2);
    combo_->Items()->Clear();
    EXPECT_EQ(combo_->ItemIndex(), -1);
    EXPECT_EQ(combo_->Text(), "AVI");
    for (const char* s : {"H.264", "MPEG-4", "MPEG-2"}) combo_->Items()->Add(s);
    EXPECT_EQ(combo_->ItemIndex(), -1);
    EXPECT_TRUE(events_.empty());
    // Deleting rows keeps the selection on its row, or drops it with the row.
    Select(2);
    combo_->Items()->Delete(0);
    EXPECT_EQ(combo_->ItemIndex(), 1);
    combo_->Items()->Delete(1);
    EXPECT_EQ(combo_->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, TheListFadesInOnATimerAndStopsWithTheComboBox) {
    combo_->AlphaBlend = true;
    combo_->AlphaBlendAnimation = true;
    combo_->AlphaBlendValue = 10; // below 15: one step a tick
    combo_->DropDown();
    HWND list = combo_->ListBox()->Handle();
    auto alpha = [&] {
        BYTE a = 0;
        GetLayeredWindowAttributes(list, nullptr, &a, nullptr);
        return int(a);
    };
    EXPECT_EQ(alpha(), 1);
    Advance(30);
    int partway = alpha();
    EXPECT_GT(partway, 1);
    EXPECT_LT(partway, 10);
    Advance(200);
    EXPECT_EQ(alpha(), 10);
    combo_->CloseUp(false);
    // Without the fade: the value at once.
    combo_->AlphaBlendAnimation = false;
    combo_->AlphaBlendValue = 180;
    combo_->DropDown();
    EXPECT_EQ(alpha(), 180);
    combo_->CloseUp(false);
    // Gone while fading: nothing is left to step.
    combo_->AlphaBlendAnimation = true;
    combo_->DropDown();
    ASSERT_TRUE(combo_->ListBox()->Fade().Running());
    delete combo_;
    combo_ = nullptr;
    Advance(100);
}

namespace {

class NumComboBox : public TbsSkinComboBox {
public:
    explicit NumComboBox(gui::TComponent* AOwner) : TbsSkinComboBox(AOwner) { FNumEdit = true; }
};

} // namespace

TEST_F(ComboBoxTest, EditStyleTypesCompletesStepsAndAccepts) {
    combo_->Items()->Clear();
    for (const char* s : {"MP4", "MKV", "AVI", "MOV"}) combo_->Items()->Add(s);
    combo_->SetStyle(TbsSkinCustomComboBoxStyle::bscbEditStyle);
    ASSERT_NE(combo_->Edit(), nullptr);
    RunUntilIdle();
    // The focus and the tab stop move to the edit.
    EXPECT_TRUE(combo_->Edit()->Focused());
    EXPECT_FALSE(combo_->TabStop());
    EXPECT_TRUE(combo_->Edit()->TabStop());
    events_.clear();
    // A typed letter completes to the next item beginning with it; the completed tail is selected.
    Stroke('M', U"m");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "MKV");
    EXPECT_EQ(combo_->ItemIndex(), 1);
    EXPECT_EQ(combo_->SelStart(), 1);
    EXPECT_EQ(combo_->SelLength(), 2);
    EXPECT_EQ(events_, (Events{"change m", "change MKV", "click"}));
    // The next letter replaces the tail and completes from the start of the list.
    Advance(300);
    events_.clear();
    Stroke('O', U"o");
    RunUntilIdle();
    EXPECT_EQ(combo_->Text(), "MOV");
    EXPECT_EQ(combo_->Edit()->Text(), "MOV");
    EXPECT_EQ(combo_->ItemIndex(), 3);
    EXPECT_EQ(combo_->SelStart(), 2);
    EXPECT_EQ(combo_->SelLength(), 1);
    EXPECT_EQ(events_, (Events{"change Mo", "change MOV", "click"}));
    // Up steps to the previous item and takes it whole.
    events_.clear();
    PressKey(VK_UP);
    EXPECT_EQ(combo_->Text(), "AVI");
    EXPECT_EQ(combo_->SelLength(), 3);
    EXPECT_EQ(events_, (Events{"change AVI", "click"}));
    // A row clicked in the open list becomes the edit's text; the edit keeps the focus.
    events_.clear();
    ClickButton();
    ASSERT_TRUE(combo_->IsPopupVisible());
    EXPECT_TRUE(combo_->Edit()->Focused());
    POINT r = Row(0);
    ClickAt(combo_, r.x, r.y);
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->Edit()->Text(), "MP4");
    EXPECT_EQ(events_, (Events{"change MP4", "click", "closeup"}));
    // Code sets reach the edit; back to the list-only style the edit goes and the tab stop returns.
    combo_->SetItemIndex(2);
    EXPECT_EQ(combo_->Edit()->Text(), "AVI");
    combo_->SetStyle(TbsSkinCustomComboBoxStyle::bscbFixedStyle);
    EXPECT_EQ(combo_->Edit(), nullptr);
    EXPECT_TRUE(combo_->TabStop());
    EXPECT_EQ(combo_->Text(), "AVI");
}

TEST_F(ComboBoxTest, NumericEditStyleTakesNumbersOnly) {
    auto* num = new NumComboBox(form_);
    num->SetParent(form_);
    num->SetBounds(10, 60, 120, 20);
    for (const char* s : {"1", "2", "4", "8"}) num->Items()->Add(s);
    num->SetStyle(TbsSkinCustomComboBoxStyle::bscbEditStyle);
    ASSERT_NE(dynamic_cast<TbsSkinNumEdit*>(num->Edit()), nullptr);
    num->AutoComplete = false;
    num->Edit()->SetFocus();
    D().Type(U"1a6");
    RunUntilIdle();
    EXPECT_EQ(num->Text(), "16");
}

TEST_F(ComboBoxTest, ToolButtonStyleIsOneButtonThatPressesWhileOpen) {
    combo_->SetStyle(TbsSkinCustomComboBoxStyle::bscbEditStyle);
    combo_->SetToolButtonStyle(true);
    EXPECT_EQ(combo_->Style(), TbsSkinCustomComboBoxStyle::bscbFixedStyle);
    EXPECT_EQ(combo_->Edit(), nullptr);
    EXPECT_FALSE(combo_->UseSkinSize());
    // Any size with a skin: no skin size, no mask.
    TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    combo_->SetSkinData(&data);
    combo_->SetBounds(10, 10, 180, 40);
    RunUntilIdle();
    EXPECT_EQ(combo_->Height(), 40);
    EXPECT_FALSE(combo_->HasWindowRegion());
    combo_->SetSkinData(nullptr);
    RunUntilIdle();
    // A press anywhere opens the list; the button then shows pressed.
    Select(0);
    ClickAt(combo_, 20, 20);
    ASSERT_TRUE(combo_->IsPopupVisible());
    RunUntilIdle();
    EXPECT_EQ(PixelAt(combo_, 1, 1), COLORREF(0xB59385));
    combo_->CloseUp(false);
    RunUntilIdle();
    EXPECT_NE(PixelAt(combo_, 1, 1), COLORREF(0xB59385));
}

TEST_F(ComboBoxTest, ItemAreaShowsTheChosenImage) {
    auto* images = new gui::TImageList(form_);
    images->SetSize(8, 8);
    for (gui::TColor c : {RGB(255, 0, 0), RGB(0, 0, 255)}) {
        gui::TBitmap b;
        b.SetSize(8, 8);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect({0, 0, 8, 8});
        images->Add(&b, nullptr);
    }
    combo_->SetImages(images);
    Select(1);
    RunUntilIdle();
    gui::TRect item = combo_->ItemRect();
    int x = item.left + 2 + 4, y = (item.top + item.bottom) / 2;
    EXPECT_EQ(PixelAt(combo_, x, y), RGB(0, 0, 255)); // the item's own image
    combo_->SetImageIndex(0);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(combo_, x, y), RGB(255, 0, 0)); // one image for every item
    delete images;
    RunUntilIdle();
    EXPECT_EQ(combo_->Images(), nullptr);
}

TEST_F(ComboBoxTest, TheOpenListsBarScrollsWithoutClosingIt) {
    for (int i = 0; i < 15; ++i) combo_->Items()->Add("item " + std::to_string(i));
    Select(0);
    ClickButton();
    ASSERT_TRUE(combo_->IsPopupVisible());
    TbsSkinScrollBar* bar = combo_->ListBox()->ScrollBar();
    ASSERT_NE(bar, nullptr);
    gui::TPoint arrow = bar->ClientToScreen({bar->Width() / 2, bar->Height() - 4});
    D().Click(arrow.x, arrow.y);
    RunUntilIdle();
    EXPECT_TRUE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ListBox()->TopIndex(), 1);
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(combo_->MouseCapture());
    combo_->CloseUp(false);
}

TEST_F(ComboBoxTest, DraggingPastTheListsEndScrollsItEvery25ms) {
    for (int i = 0; i < 15; ++i) combo_->Items()->Add("item " + std::to_string(i));
    Select(0);
    POINT b = Centre(combo_->ButtonRect());
    MoveTo(combo_, b.x, b.y);
    D().Press();
    RunUntilIdle();
    ASSERT_TRUE(combo_->IsPopupVisible());
    POINT r = Row(3);
    MoveTo(combo_, r.x, r.y);
    ASSERT_EQ(combo_->ListBox()->ItemIndex(), 3);
    // Below the list: one row further every 25 ms, until the mouse comes back.
    gui::TPoint below = combo_->ListBox()->ClientToScreen({20, combo_->ListBox()->Height() + 10});
    D().MoveMouse(below.x, below.y);
    RunUntilIdle();
    Advance(80);
    int moved = combo_->ListBox()->ItemIndex();
    EXPECT_GE(moved, 5);
    EXPECT_LE(moved, 7);
    EXPECT_TRUE(events_.empty());
    // Released off the list: cancelled, the old item stays.
    D().Release();
    RunUntilIdle();
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ItemIndex(), 0);
    Advance(100);
    EXPECT_EQ(combo_->ItemIndex(), 0); // the timer went with the list
}

TEST_F(ComboBoxTest, PaintSkinToDrawsTheLookWithAnotherText) {
    Select(0);
    RunUntilIdle();
    gui::TBitmap shot;
    shot.SetSize(combo_->Width(), combo_->Height());
    combo_->PaintSkinTo(shot.Canvas(), 0, 0, "");
    // The same look as on the screen away from the text: the button and the frame.
    gui::TRect b = combo_->ButtonRect();
    for (POINT p : {
             POINT{0,                   0                   },
             POINT{b.left + 1,          b.top + 1           },
             POINT{combo_->Width() - 1, combo_->Height() - 1}
    })
        EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(p.x, p.y)), PixelAt(combo_, p.x, p.y))
            << p.x << "," << p.y;
    // The given text replaces the shown one; the control keeps its own.
    gui::TBitmap withText, without;
    for (gui::TBitmap* t : {&withText, &without}) t->SetSize(combo_->Width(), combo_->Height());
    combo_->PaintSkinTo(withText.Canvas(), 0, 0, "WWWWWW");
    combo_->PaintSkinTo(without.Canvas(), 0, 0, "");
    gui::TRect item = combo_->ItemRect();
    int differing = 0;
    for (int x = item.left; x < item.right; ++x)
        for (int y = item.top; y < item.bottom; ++y)
            differing += withText.Canvas()->Pixels(x, y) != without.Canvas()->Pixels(x, y);
    EXPECT_GT(differing, 0);
    EXPECT_EQ(combo_->Text(), "MP4");
}
