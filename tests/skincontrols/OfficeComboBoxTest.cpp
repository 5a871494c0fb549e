// The office combo box: every selection from code is a choice (OnClick, then OnChange), the
// drop-down's size and right-aligned place, the gestures and keys that accept or cancel, the
// list's skin name across skins and the timer-driven fade of the open list.
#include "ControlFixtures.h"
#include "skin/controls/SkinOfficeComboBox.h"
#include "win/Layered.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

using Events = std::vector<std::string>;

class OfficeComboBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 500, 300);
        combo_ = new TbsSkinOfficeComboBox(form_);
        combo_->SetParent(form_);
        combo_->SetBounds(40, 10, 341, 41);
        // A header first, as the format lists group their entries.
        Fill({"H", "MP4", "MKV", "x", "AVI"});
        combo_->OnChange = [this](gui::TObject*) { events_.push_back("change " + Title()); };
        combo_->OnClick = [this](gui::TObject*) { events_.push_back("click " + Title()); };
        combo_->OnCloseUp = [this](gui::TObject*) { events_.push_back("closeup"); };
        form_->Show();
        combo_->SetFocus();
        RunUntilIdle();
    }
    // "H" a header, "x" a disabled item, anything else an ordinary one titled so.
    void Fill(const std::vector<std::string>& kinds) {
        combo_->Items()->Clear();
        for (const std::string& k : kinds) {
            TbsSkinOfficeItem* item = combo_->Items()->Add();
            item->SetTitle(k);
            item->SetCaption("caption " + k);
            item->SetHeader(k == "H");
            item->SetEnabled(k != "x");
        }
    }
    std::string Title() const {
        int i = combo_->ItemIndex();
        return i < 0 ? "-" : (*combo_->Items())[i]->Title();
    }
    void Select(int i) {
        combo_->SetItemIndex(i);
        events_.clear();
    }
    static POINT Centre(const gui::TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // The centre of an item of the open list, in the combo box's client coordinates.
    POINT Row(int i) {
        TbsPopupOfficeListBox* list = combo_->ListBox();
        list->CalcItemRects();
        gui::TRect r = (*list->Items())[i]->ItemRect;
        gui::TPoint s = list->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        gui::TPoint c = combo_->ScreenToClient(s);
        return {c.x, c.y};
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinOfficeComboBox* combo_ = nullptr;
    Events events_;
};

} // namespace

TEST_F(OfficeComboBoxTest, EverySelectionFromCodeFiresClickThenChange) {
    struct Case {
        const char* what;
        int from, to;
        bool loading;
        Events events;
        int index;
    } cases[] = {
        {"another item",        1, 2,  false, {"click MKV", "change MKV"}, 2 },
        {"the same item",       2, 2,  false, {"click MKV", "change MKV"}, 2 },
        {"none",                2, -1, false, {"click -", "change -"},     -1},
        {"beyond the items",    4, 9,  false, {"click AVI", "change AVI"}, 4 },
        {"while loading",       1, 4,  true,  {},                          4 },
        {"same, while loading", 4, 4,  true,  {},                          4 },
    };
    for (const Case& c : cases) {
        Select(c.from);
        if (c.loading) combo_->BeginLoading();
        combo_->SetItemIndex(c.to);
        if (c.loading) combo_->EndLoading();
        EXPECT_EQ(events_, c.events) << c.what;
        EXPECT_EQ(combo_->ItemIndex(), c.index) << c.what;
    }
}

TEST_F(OfficeComboBoxTest, DropDownIsRightAlignedAndSizedByItsRows) {
    combo_->ListBoxWidth = 119;
    combo_->SetListBoxItemHeight(60);
    combo_->SetDropDownCount(4);
    ClickAt(combo_, 20, 20); // the item area counts as the button
    ASSERT_TRUE(combo_->IsPopupVisible());
    TbsPopupOfficeListBox* list = combo_->ListBox();
    gui::TPoint bottomRight = combo_->ClientToScreen({341, 41});
    EXPECT_EQ(list->Left() + list->Width(), bottomRight.x);
    EXPECT_EQ(list->Width(), 119);
    EXPECT_EQ(list->Top(), bottomRight.y);
    EXPECT_EQ(list->Height(), 4 * 60 + 5); // four rows and the frame
    EXPECT_TRUE(combo_->Focused());        // the list never takes the focus
    ClickAt(combo_, 20, 20);               // a second click closes it, cancelling
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_TRUE(events_.empty());
    // No count and no height of its own: the list keeps the height it had.
    combo_->SetDropDownCount(0);
    combo_->SetListBoxItemHeight(30);
    combo_->DropDown();
    EXPECT_EQ(list->Height(), 4 * 60 + 5);
    combo_->CloseUp(false);
    // Near the bottom of the work area it opens above.
    combo_->SetDropDownCount(4);
    combo_->SetListBoxItemHeight(60);
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    form_->SetBounds(0, work.bottom - 120, 500, 120);
    RunUntilIdle();
    combo_->DropDown();
    ASSERT_TRUE(combo_->IsPopupVisible());
    EXPECT_EQ(list->Top() + list->Height(), combo_->ClientToScreen({0, 0}).y);
    combo_->CloseUp(false);
    // Nothing to show: nothing opens, nothing fires.
    combo_->Items()->Clear();
    int dropped = 0;
    combo_->OnDropDown = [&](gui::TObject*) { ++dropped; };
    combo_->DropDown();
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(dropped, 0);
}

TEST_F(OfficeComboBoxTest, GesturesThatAcceptOrCancel) {
    Select(1);
    // Accepting the item already selected is still a choice.
    combo_->DropDown();
    PressKey(VK_RETURN);
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(events_, (Events{"click MP4", "change MP4", "closeup"}));
    // Press on the button, drag to an item, release: that item.
    events_.clear();
    POINT b = Centre(combo_->ButtonRect());
    MoveTo(combo_, b.x, b.y);
    D().Press();
    RunUntilIdle();
    ASSERT_TRUE(combo_->IsPopupVisible());
    POINT r = Row(4);
    MoveTo(combo_, r.x, r.y);
    EXPECT_EQ(combo_->ListBox()->ItemIndex(), 4); // hot tracking
    EXPECT_TRUE(events_.empty());
    D().Release();
    RunUntilIdle();
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ItemIndex(), 4);
    EXPECT_EQ(events_, (Events{"click AVI", "change AVI", "closeup"}));
    // Click to open, then click an item.
    events_.clear();
    ClickAt(combo_, b.x, b.y);
    ASSERT_TRUE(combo_->IsPopupVisible());
    r = Row(2);
    ClickAt(combo_, r.x, r.y);
    EXPECT_EQ(combo_->ItemIndex(), 2);
    EXPECT_EQ(events_, (Events{"click MKV", "change MKV", "closeup"}));
    // Hovering elsewhere, then Esc, a click outside or the focus going: the old item, no events.
    struct Cancel {
        const char* what;
        std::function<void()> act;
    } cancels[] = {
        {"escape",        [] { PressKey(VK_ESCAPE); }         },
        {"outside click", [this] { ClickAt(form_, 450, 250); }},
        {"focus loss",
         [this] {
             combo_->Parent()->SetFocus();
             RunUntilIdle();
         }                                                    },
    };
    for (const Cancel& c : cancels) {
        combo_->SetFocus();
        events_.clear();
        ClickAt(combo_, b.x, b.y);
        ASSERT_TRUE(combo_->IsPopupVisible()) << c.what;
        r = Row(1);
        MoveTo(combo_, r.x, r.y);
        EXPECT_EQ(combo_->ListBox()->ItemIndex(), 1) << c.what;
        c.act();
        EXPECT_FALSE(combo_->IsPopupVisible()) << c.what;
        EXPECT_EQ(combo_->ItemIndex(), 2) << c.what;
        EXPECT_TRUE(events_.empty()) << c.what;
    }
}

TEST_F(OfficeComboBoxTest, KeysStepOverHeadersAndDisabledItemsAndAlwaysChoose) {
    Select(1);
    // Up on the first selectable item stays there and still chooses it.
    PressKey(VK_UP);
    EXPECT_EQ(combo_->ItemIndex(), 1);
    EXPECT_EQ(events_, (Events{"click MP4", "change MP4"}));
    events_.clear();
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT); // over the disabled item
    EXPECT_EQ(combo_->ItemIndex(), 4);
    EXPECT_EQ(events_, (Events{"click MKV", "change MKV", "click AVI", "change AVI"}));
    // The wheel steps the same way while the list is closed.
    events_.clear();
    D().Wheel(120);
    RunUntilIdle();
    EXPECT_EQ(combo_->ItemIndex(), 2);
    EXPECT_EQ(events_, (Events{"click MKV", "change MKV"}));
    // Alt+Down opens, Alt+Up closes cancelling.
    events_.clear();
    D().KeyDown(VK_MENU);
    PressKey(VK_DOWN);
    EXPECT_TRUE(combo_->IsPopupVisible());
    PressKey(VK_UP);
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_TRUE(events_.empty());
}

TEST_F(OfficeComboBoxTest, TheListKeepsItsSkinNameAfterASkinWithoutTheComboBox) {
    gdi::image::Image picture;
    picture.Reset(64, 64);
    TbsSkinData with, without;
    UsePicture(with, picture);
    UsePicture(without, picture);
    auto& entry = AddControl<TbsDataSkinComboBox>(with, "combobox");
    entry.PictureIndex = 0;
    entry.SkinRect = {0, 0, 40, 20};
    entry.ClRect = {2, 2, 20, 18};
    entry.LTPoint = {2, 2};
    entry.RTPoint = {38, 2};
    entry.LBPoint = {2, 18};
    entry.RBPoint = {38, 18};
    AddControl<TbsDataSkinListBox>(with, "listbox");
    AddControl<TbsDataSkinListBox>(without, "listbox");
    combo_->SetSkinData(&with);
    ASSERT_NE(combo_->FIndex, -1);
    EXPECT_EQ(combo_->ListBox()->SkinDataName(), "listbox");
    combo_->SetSkinData(&without);
    EXPECT_EQ(combo_->ListBox()->SkinDataName(), "");
    EXPECT_EQ(combo_->ListBoxSkinDataName(), "listbox");
    combo_->SetSkinData(&with);
    EXPECT_EQ(combo_->ListBox()->SkinDataName(), "listbox");
    combo_->SetSkinData(nullptr);
}

TEST_F(OfficeComboBoxTest, TheListFadesInOnATimer) {
    combo_->AlphaBlend = true;
    combo_->AlphaBlendAnimation = true;
    combo_->AlphaBlendValue = 200;
    HWND list = nullptr;
    auto alpha = [&] {
        BYTE a = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(list, nullptr, &a, &flags);
        return int(a);
    };
    for (int opening = 0; opening < 2; ++opening) {
        combo_->DropDown();
        list = combo_->ListBox()->Handle();
        ASSERT_TRUE(GetWindowLong(list, GWL_EXSTYLE) & WS_EX_LAYERED);
        // The first step at once, the list usable while it fades.
        EXPECT_EQ(alpha(), 200 / 15) << opening;
        EXPECT_TRUE(combo_->ListBox()->Fade().Running());
        Advance(300);
        EXPECT_EQ(alpha(), 200) << opening;
        EXPECT_FALSE(combo_->ListBox()->Fade().Running());
        combo_->CloseUp(false);
    }
    // A small value steps by one.
    EXPECT_EQ(TbsPopupFade::StepOf(10), 1);
    // Destroyed while fading: the timer goes with the list.
    combo_->DropDown();
    ASSERT_TRUE(combo_->ListBox()->Fade().Running());
    delete combo_;
    combo_ = nullptr;
    Advance(100);
}

TEST_F(OfficeComboBoxTest, TheOpenListsBarScrollsWithoutClosingIt) {
    std::vector<std::string> kinds;
    for (int i = 0; i < 12; ++i) kinds.push_back("F" + std::to_string(i));
    Fill(kinds);
    combo_->SetDropDownCount(4);
    Select(0);
    ClickAt(combo_, 20, 20);
    ASSERT_TRUE(combo_->IsPopupVisible());
    TbsSkinScrollBar* bar = combo_->ListBox()->ScrollBar();
    ASSERT_NE(bar, nullptr);
    // The bar's lower arrow.
    gui::TPoint arrow = bar->ClientToScreen({bar->Width() / 2, bar->Height() - 4});
    D().Click(arrow.x, arrow.y);
    RunUntilIdle();
    EXPECT_TRUE(combo_->IsPopupVisible());
    EXPECT_GT(combo_->ListBox()->ScrollOffset(), 0);
    EXPECT_TRUE(events_.empty());
    // The combo box holds the mouse again: a press outside still cancels.
    EXPECT_TRUE(combo_->MouseCapture());
    ClickAt(form_, 450, 250);
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ItemIndex(), 0);
}

TEST_F(OfficeComboBoxTest, DraggingPastTheListsEndScrollsIt) {
    std::vector<std::string> kinds;
    for (int i = 0; i < 12; ++i) kinds.push_back("F" + std::to_string(i));
    Fill(kinds);
    combo_->SetDropDownCount(4);
    Select(0);
    POINT b = Centre(combo_->ButtonRect());
    MoveTo(combo_, b.x, b.y);
    D().Press();
    RunUntilIdle();
    ASSERT_TRUE(combo_->IsPopupVisible());
    POINT r = Row(1);
    MoveTo(combo_, r.x, r.y);
    ASSERT_EQ(combo_->ListBox()->ItemIndex(), 1);
    gui::TPoint below = combo_->ListBox()->ClientToScreen({20, combo_->ListBox()->Height() + 10});
    D().MoveMouse(below.x, below.y);
    RunUntilIdle();
    Advance(150);
    EXPECT_GE(combo_->ListBox()->ItemIndex(), 5);
    EXPECT_GT(combo_->ListBox()->ScrollOffset(), 0); // the list follows its selection
    EXPECT_TRUE(events_.empty());
    D().Release();
    RunUntilIdle();
    EXPECT_FALSE(combo_->IsPopupVisible());
    EXPECT_EQ(combo_->ItemIndex(), 0);
}

TEST_F(OfficeComboBoxTest, PaintSkinToDrawsTheLookWithAnotherCaption) {
    combo_->SetToolButtonStyle(true);
    Select(1);
    RunUntilIdle();
    gui::TBitmap withText, without;
    for (gui::TBitmap* t : {&withText, &without}) t->SetSize(combo_->Width(), combo_->Height());
    combo_->PaintSkinTo(withText.Canvas(), 0, 0, "WWWWWW");
    combo_->PaintSkinTo(without.Canvas(), 0, 0, "");
    // The button's frame as the screen shows it; only the text differs.
    EXPECT_EQ(static_cast<COLORREF>(without.Canvas()->Pixels(0, 0)), PixelAt(combo_, 0, 0));
    int differing = 0;
    for (int x = 0; x < combo_->Width(); ++x)
        for (int y = 0; y < combo_->Height(); ++y)
            differing += withText.Canvas()->Pixels(x, y) != without.Canvas()->Pixels(x, y);
    EXPECT_GT(differing, 0);
    EXPECT_EQ(combo_->ItemIndex(), 1);
}
