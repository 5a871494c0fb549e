// The images grid menu: its layout and window size, placement, the keys over cells, buttons and
// headers, the choice and its events, and when it does not open.
#include "MenuFixture.h"
#include "gui/Bitmap.h"
#include "gui/ImgList.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/forms/SkinImagesMenu.h"
#include "win/Input.h"

#include <string>
#include <vector>

using namespace menutest;

namespace {

class ImagesMenuTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        images = new gui::TImageList(form);
        images->SetSize(16, 16);
        gui::TBitmap b;
        b.SetSize(16 * 4, 16);
        b.Canvas()->Brush()->SetColor(gui::clRed);
        b.Canvas()->FillRect(gui::Rect(0, 0, 64, 16));
        images->Add(&b, nullptr);
        menu = new skin::TbsSkinImagesMenu(form);
        menu->SetImages(images);
        menu->OnMenuPopup = [this](gui::TObject*) { events.push_back("popup"); };
        menu->OnInternalMenuClose = [this](gui::TObject*) { events.push_back("internal close"); };
        menu->OnMenuClose = [this](gui::TObject*) { events.push_back("close"); };
        menu->OnItemClick = [this](gui::TObject*) { events.push_back("item click"); };
        menu->OnInternalChange = [this](gui::TObject*) { events.push_back("internal change"); };
        menu->OnChange = [this](gui::TObject*) { events.push_back("change"); };
    }
    // Kinds: 'c' cell, 'b' button row, 'h' header.
    void Build(const std::string& kinds) {
        for (char k : kinds) {
            skin::TbsImagesMenuItem* item = menu->ImagesItems()->Add();
            item->ImageIndex = 0;
            item->Button = k == 'b';
            item->Header = k == 'h';
            item->Caption = std::string(1, k);
            int index = item->Index();
            item->OnClick = [this, index](gui::TObject*) {
                events.push_back("click " + std::to_string(index));
            };
        }
    }
    skin::TbsSkinImagesMenuPopupWindow* Open() {
        menu->Popup(200, 200);
        RunUntilIdle();
        return menu->PopupWindow();
    }
    skin::TRect R(int i) { return menu->ImagesItems()->Items(i)->ItemRect; }

    gui::TImageList* images = nullptr;
    skin::TbsSkinImagesMenu* menu = nullptr;
    std::vector<std::string> events;
};

} // namespace

TEST_F(ImagesMenuTest, GridOfCellsButtonsAndHeaders) {
    menu->SetColumnsCount(3);
    for (int bad : {0, 51, -1}) {
        menu->SetColumnsCount(bad);
        EXPECT_EQ(menu->ColumnsCount(), 3) << bad;
    }
    Build("ccccccc");
    skin::TbsSkinImagesMenuPopupWindow* w = Open();
    ASSERT_NE(w, nullptr);
    // Three rows of 26-pixel cells, one pixel apart; the third holds one cell.
    EXPECT_EQ(R(0), skin::Rect(5, 5, 31, 31));
    EXPECT_EQ(R(2), skin::Rect(57, 5, 83, 31));
    EXPECT_EQ(R(3), skin::Rect(5, 32, 31, 58));
    EXPECT_EQ(R(6), skin::Rect(5, 59, 31, 85));
    EXPECT_EQ(w->Width(), 88);
    EXPECT_EQ(w->Height(), 90);
    EXPECT_EQ(w->Left(), 200);
    EXPECT_EQ(w->Top(), 200);
    menu->Hide();
    RunUntilIdle();

    // A header or a button row ends the open grid row and spans the whole width.
    menu->ImagesItems()->Clear();
    Build("cchcbc");
    w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(R(2), skin::Rect(5, 32, 83, 58));
    EXPECT_EQ(R(3), skin::Rect(5, 59, 31, 85));
    EXPECT_EQ(R(4), skin::Rect(5, 86, 83, 112));
    EXPECT_EQ(R(5), skin::Rect(5, 113, 31, 139));
    EXPECT_EQ(w->Height(), 139 - 5 + 10);
    // A header is never under the pointer.
    EXPECT_EQ(w->GetItemFromPoint(skin::Point(40, 40)), -1);
    EXPECT_EQ(w->GetItemFromPoint(skin::Point(40, 90)), 4);
    menu->Hide();
}

TEST_F(ImagesMenuTest, OpensAboveARectangleNearTheBottom) {
    Build("cccc");
    menu->PopupFromRect(skin::Rect(300, WA.Bottom - 30, 360, WA.Bottom - 10));
    RunUntilIdle();
    skin::TbsSkinImagesMenuPopupWindow* w = menu->PopupWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Top(), WA.Bottom - 30 - w->Height());
    EXPECT_EQ(w->Left(), 300);
    menu->Hide();
    // Past the right edge: shifted left to end there.
    menu->Popup(WA.Right - 3, 300);
    RunUntilIdle();
    ASSERT_NE(menu->PopupWindow(), nullptr);
    EXPECT_EQ(menu->PopupWindow()->Left() + menu->PopupWindow()->Width(), WA.Right);
    menu->Hide();
}

TEST_F(ImagesMenuTest, KeysMoveOverCellsAndSkipHeaders) {
    // Header, three cells, header, two cells: 0 h | 1 2 3 | 4 h | 5 6
    menu->SetColumnsCount(3);
    Build("hccchcc");
    skin::TbsSkinImagesMenuPopupWindow* w = Open();
    ASSERT_NE(w, nullptr);
    struct Step {
        int from, key, to;
    };
    const Step steps[] = {
        {-1, VK_DOWN,  1},
        {-1, VK_RIGHT, 1},
        {-1, VK_LEFT,  6},
        {-1, VK_UP,    6},
        {6,  VK_RIGHT, 1},
        {1,  VK_LEFT,  6},
        {5,  VK_LEFT,  3},
        {3,  VK_RIGHT, 5},
        {1,  VK_DOWN,  5},
        {2,  VK_DOWN,  6},
        {3,  VK_DOWN,  3},
        {5,  VK_UP,    1},
        {1,  VK_UP,    1},
    };
    for (const Step& s : steps) {
        w->MouseInItem = s.from;
        PressKey(s.key);
        ASSERT_EQ(menu->PopupWindow(), w);
        EXPECT_EQ(w->HotItem(), s.to) << "from " << s.from << " key " << s.key;
    }
    menu->Hide();
    RunUntilIdle();

    // Nothing to land on but headers: no key makes a header hot.
    menu->ImagesItems()->Clear();
    Build("chh");
    w = Open();
    ASSERT_NE(w, nullptr);
    w->MouseInItem = 0;
    PressKey(VK_LEFT); // item 0 is the first: wraps to the last non-header, itself
    EXPECT_EQ(w->HotItem(), 0);
    w->MouseInItem = -1;
    PressKey(VK_UP);
    EXPECT_EQ(w->HotItem(), 0);
    menu->Hide();
}

TEST_F(ImagesMenuTest, ChoiceRunsTheEventsInOrder) {
    Build("cccc");
    ASSERT_NE(Open(), nullptr);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    PressKey(VK_RETURN);
    EXPECT_EQ(menu->PopupWindow(), nullptr);
    EXPECT_EQ(menu->ItemIndex, 1);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "internal close", "close", "click 1", "item click",
                                                "internal change", "change"}));
    RunUntilIdle();

    // The same cell again, by the mouse: the handlers run, no change is told.
    events.clear();
    skin::TbsSkinImagesMenuPopupWindow* w = Open();
    ASSERT_NE(w, nullptr);
    skin::TRect r = R(1);
    ClickAt(w, r.Left + 3, r.Top + 3);
    EXPECT_EQ(menu->PopupWindow(), nullptr);
    EXPECT_EQ(events,
              (std::vector<std::string>{"popup", "internal close", "close", "click 1", "item click"}));

    // Esc and a press outside close without a choice.
    for (int how = 0; how < 2; ++how) {
        events.clear();
        w = Open();
        ASSERT_NE(w, nullptr);
        PressKey(VK_DOWN);
        if (how == 0) {
            PressKey(VK_ESCAPE);
        } else {
            D().Click(w->Left() + w->Width() + 40, w->Top() + 5);
            RunUntilIdle();
        }
        EXPECT_EQ(menu->PopupWindow(), nullptr) << how;
        EXPECT_EQ(events, (std::vector<std::string>{"popup", "internal close", "close"})) << how;
        EXPECT_EQ(menu->ItemIndex, 1);
    }

    // Freed while open: the grid goes, nobody is told, the application's handler is back.
    bool hadHandler = static_cast<bool>(gui::Application->OnMessage);
    ASSERT_NE(Open(), nullptr);
    events.clear();
    EXPECT_TRUE(gui::Application->OnMessage);
    delete menu;
    menu = nullptr;
    RunUntilIdle();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(static_cast<bool>(gui::Application->OnMessage), hadHandler);
}

TEST_F(ImagesMenuTest, DoesNotOpenWithoutItemsOrImages) {
    // No items: nothing to lay out.
    EXPECT_EQ(Open(), nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"popup"}));
    Build("cc");
    images->Clear();
    EXPECT_EQ(Open(), nullptr);
    menu->SetImages(nullptr);
    EXPECT_EQ(Open(), nullptr);
    EXPECT_EQ(events.size(), 3u);
    // A chosen index left outside the items runs no item handler when Enter takes it.
    gui::TImageList other(nullptr);
    gui::TBitmap b;
    b.SetSize(16, 16);
    other.Add(&b, nullptr);
    menu->SetImages(&other);
    menu->ItemIndex = 7;
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(menu->SelectedItem(), nullptr);
    events.clear();
    PressKey(VK_RETURN);
    EXPECT_EQ(events, (std::vector<std::string>{"internal close", "close", "item click"}));
    menu->SetImages(nullptr);
}

TEST_F(ImagesMenuTest, StoredSkinsSizeTheWindowByTheirFrame) {
    skin::TbsCompressedSkinList& list = controltest::StoredSkins();
    skin::TbsSkinData data;
    menu->SetSkinData(&data);
    menu->SetColumnsCount(2);
    Build("hcccb");
    menu->ItemIndex = 1;
    for (int i = 0; i < list.Skins().Count(); ++i) {
        ASSERT_TRUE(data.LoadCompressedStoredSkin(&list.Skins()[i].Skin())) << i;
        SCOPED_TRACE(data.SkinName);
        skin::TbsSkinImagesMenuPopupWindow* w = Open();
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->FSkinSupport);
        const skin::TbsDataSkinPopupWindow& pw = data.PopupWindow;
        EXPECT_EQ(R(1).Left, pw.ItemsRect.Left);
        EXPECT_EQ(w->Width(), w->WindowPicture->Width() + 2 * 26 - pw.ItemsRect.Width());
        int gh = R(4).Bottom - R(0).Top;
        EXPECT_EQ(w->Height(), w->WindowPicture->Height() + gh - pw.ItemsRect.Height());
        PressKey(VK_DOWN);
        EXPECT_EQ(w->HotItem(), 1);
        w->Repaint();
        menu->Hide();
        RunUntilIdle();
    }
    menu->SetSkinData(nullptr);
}

// A menu speed button drops the grid under itself and shows the chosen cell.
TEST_F(ImagesMenuTest, MenuSpeedButtonOpensTheGridAndShowsTheChosenImage) {
    Build("cc");
    // The second cell's image is blue; the button shows the chosen cell's.
    gui::TBitmap blue;
    blue.SetSize(16, 16);
    blue.Canvas()->Brush()->SetColor(gui::clBlue);
    blue.Canvas()->FillRect(gui::Rect(0, 0, 16, 16));
    menu->ImagesItems()->Items(1)->ImageIndex = images->Add(&blue, nullptr);
    menu->OnInternalMenuClose = nullptr;
    menu->OnInternalChange = nullptr;
    auto* button = new skin::TbsSkinMenuSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 60, 30);
    button->SetSkinImagesMenu(menu);
    button->UseImagesMenuImage = true;
    button->UseImagesMenuCaption = true;
    button->OnShowTrackMenu = [this](gui::TObject*) { events.push_back("show"); };
    button->OnHideTrackMenu = [this](gui::TObject*) { events.push_back("hide"); };
    RunUntilIdle();
    const COLORREF blueShown = gui::ColorToRGB(gui::clBlue);
    auto showsBlue = [&] {
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x)
                if (PixelAt(form, button->Left() + x, button->Top() + y) == blueShown) return true;
        return false;
    };
    EXPECT_FALSE(showsBlue());

    ClickAt(form, button->Left() + 10, button->Top() + 10);
    skin::TbsSkinImagesMenuPopupWindow* w = menu->PopupWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(button->Down());
    EXPECT_TRUE(button->MenuTracked());
    gui::TPoint below = button->ClientToScreen({0, button->Height()});
    EXPECT_EQ(w->Left(), below.x);
    EXPECT_EQ(w->Top(), below.y);
    skin::TRect r = R(1);
    ClickAt(w, r.Left + 3, r.Top + 3);
    RunUntilIdle();
    EXPECT_EQ(menu->ItemIndex, 1);
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->MenuTracked());
    EXPECT_EQ(events, (std::vector<std::string>{"show", "popup", "hide", "close", "click 1", "item click",
                                                "change"}));
    EXPECT_TRUE(showsBlue());

    // A grid with nothing to show sends no close notice: the button comes up at once.
    events.clear();
    menu->ImagesItems()->Clear();
    ClickAt(form, button->Left() + 10, button->Top() + 10);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "popup", "hide"}));
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(showsBlue());

    // A menu that goes is forgotten; a button that goes leaves the menu no call back to it.
    auto* other = new skin::TbsSkinImagesMenu(form);
    button->SetSkinImagesMenu(other);
    delete other;
    EXPECT_EQ(button->SkinImagesMenu(), nullptr);
    button->SetSkinImagesMenu(menu);
    delete button;
    EXPECT_FALSE(menu->OnInternalChange);
    EXPECT_FALSE(menu->OnInternalMenuClose);
}
