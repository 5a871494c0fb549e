// Skinned popup menus: placement, the submenu pause, keys, scrolling with markers, the order of
// the notices, menu mode on the form, and the rows' look.
#include "MenuFixture.h"
#include "gui/ShortCuts.h"
#include "os/Clock.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "win/Input.h"
#include "win/Layered.h"
#include "win/Window.h"

using namespace menutest;

namespace {

// One menu shown through the manager: W and H of its window and where it went.
struct Placed {
    int x, y, w, h;
};

} // namespace

TEST_F(MenuTest, PlacementFollowsTheRoomAroundTheAnchor) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 3);
    skin::TbsSkinMenu* m = Manager();
    auto place = [&](skin::TRect r, bool up) {
        m->Popup(nullptr, nullptr, 0, r, menu->Items(), up);
        EXPECT_EQ(Levels(), 1);
        skin::TbsSkinPopupWindow* w = Level(0);
        Placed p{w->Left(), w->Top(), w->Width(), w->Height()};
        m->Hide();
        RunUntilIdle();
        return p;
    };
    Placed free = place(skin::Rect(200, 200, 200, 200), false);
    EXPECT_EQ(free.h, 3 * 20 + 4);
    EXPECT_EQ(free.x, 200);
    EXPECT_EQ(free.y, 200);
    int W = free.w, H = free.h;
    // Near the bottom-right corner: above the point, ending at the work area's right edge.
    Placed corner = place(skin::Rect(WA.Right - 5, WA.Bottom - 5, WA.Right - 5, WA.Bottom - 5), false);
    EXPECT_EQ(corner.x, WA.Right - W);
    EXPECT_EQ(corner.y, WA.Bottom - 5 - H);
    // Asked to open upwards without room above: below, under the rectangle.
    Placed up = place(skin::Rect(300, WA.Top + 10, 340, WA.Top + 30), true);
    EXPECT_EQ(up.y, WA.Top + 30);
    EXPECT_EQ(up.x, 300);
    // Room above: above.
    Placed up2 = place(skin::Rect(300, 400, 340, 420), true);
    EXPECT_EQ(up2.y, 400 - H);

    // Taller than the work area: exactly as tall, from its top, beside the anchor, scrolling.
    auto* tall = NewMenu();
    Fill(tall->Items(), WA.Height() / 20 + 5);
    m->Popup(nullptr, nullptr, 0, skin::Rect(300, 300, 300, 300), tall->Items(), false);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->Height(), WA.Height());
    EXPECT_EQ(Level(0)->Top(), WA.Top);
    EXPECT_EQ(Level(0)->Left(), 301);
    EXPECT_TRUE(Level(0)->Scroll);
    m->Hide();
    RunUntilIdle();

    // Children all hidden: a level with no rows, 19 + 19 + 10 wide and 4 high.
    auto* hidden = NewMenu();
    gui::TMenuItem* parent = Item(hidden->Items(), "parent");
    Item(parent, "gone")->SetVisible(false);
    m->Popup(nullptr, nullptr, 0, skin::Rect(200, 200, 200, 200), parent, false);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->Width(), 48);
    EXPECT_EQ(Level(0)->Height(), 4);
    EXPECT_EQ(Level(0)->ActiveItem, -1);
    m->Hide();
    RunUntilIdle();

    // A menu whose item has no children opens nothing.
    m->Popup(nullptr, nullptr, 0, skin::Rect(200, 200, 200, 200), parent->Items(0), false);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(m->Visible());
}

TEST_F(MenuTest, ASubmenuLowDownOpensUpwardsFromItsParentRow) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    gui::TMenuItem* sub = Item(menu->Items(), "More");
    Fill(sub, 10);
    menu->Popup(200, WA.Bottom - 80);
    ASSERT_EQ(Levels(), 1);
    PressKey(VK_UP); // from the first row up to the last: "More"
    PressKey(VK_RIGHT);
    ASSERT_EQ(Levels(), 2);
    skin::TbsSkinPopupWindow* parentLevel = Level(0);
    int rowBottom = parentLevel->Top() + parentLevel->Items(2)->ObjectRect.Bottom;
    EXPECT_EQ(Level(1)->Top(), rowBottom - Level(1)->Height() + 2);
    EXPECT_EQ(Level(1)->Left(), parentLevel->Left() + parentLevel->Items(2)->ObjectRect.Right + 1);
    EXPECT_TRUE(parentLevel->Items(2)->Down);
}

TEST_F(MenuTest, ASubmenuOpensAfterHalfASecondOfHoverOrAtOnceOnClick) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 1);
    gui::TMenuItem* recent = Item(menu->Items(), "Recent");
    recent->OnClick = [this](gui::TObject*) { log.push_back("recent"); };
    Fill(recent, 2);
    menu->Popup(200, 150);
    ASSERT_EQ(Levels(), 1);
    skin::TbsSkinPopupWindow* w = Level(0);
    EXPECT_EQ(w->ActiveItem, 0); // the first row is highlighted as the window opens

    PointAt(RowPoint(w, 1));
    Advance(450);
    EXPECT_EQ(Levels(), 1) << "opened before the pause";
    Advance(150);
    EXPECT_EQ(Levels(), 2);
    // Opening a submenu runs its row's own command, so that the program can fill it first.
    EXPECT_EQ(log, std::vector<std::string>{"recent"});
    log.clear();

    // Leaving the row before the pause ends cancels it.
    PointAt(RowPoint(w, 0));
    Advance(100);
    EXPECT_EQ(Levels(), 1);
    PointAt(RowPoint(w, 1));
    Advance(300);
    PointAt(RowPoint(w, 0));
    Advance(800);
    EXPECT_EQ(Levels(), 1);

    // A click opens it at once and runs the row's own command too.
    ClickOn(RowPoint(w, 1));
    EXPECT_EQ(Levels(), 2);
    EXPECT_EQ(log, std::vector<std::string>{"recent"});

    // Releasing the right button over a row runs nothing.
    log.clear();
    POINT p = RowPoint(Level(1), 0);
    D().Click(p.x, p.y, 1);
    RunUntilIdle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Levels(), 2);
    // The left button does.
    ClickOn(p);
    EXPECT_EQ(log, std::vector<std::string>{"click 0"});
    EXPECT_EQ(Levels(), 0);
}

TEST_F(MenuTest, KeysMoveChooseOpenAndCloseOneLevelAtATime) {
    auto* menu = NewMenu();
    gui::TMenuItem* root = menu->Items();
    Fill(root, 1);                              // 0 "Item 0"
    Item(root, "-");                            // 1
    gui::TMenuItem* beta = Item(root, "&Beta"); // 2
    beta->OnClick = [this](gui::TObject*) { log.push_back("beta"); };
    Item(root, "Gamma")->SetEnabled(false);  // 3
    gui::TMenuItem* sub = Item(root, "Sub"); // 4
    Fill(sub, 2);
    menu->Popup(200, 150);
    ASSERT_EQ(Levels(), 1);
    skin::TbsSkinPopupWindow* w = Level(0);

    struct Step {
        int key;
        int active; // the highlighted row after it
        int levels;
    } steps[] = {
        {VK_DOWN,   2, 1}, // over the separator
        {VK_DOWN,   4, 1}, // over the disabled row
        {VK_DOWN,   0, 1}, // from the very last row to the first
        {VK_UP,     4, 1}, // from the first to the last
        {VK_LEFT,   4, 1}, // a single level: nothing
        {VK_RIGHT,  4, 2},
        {VK_LEFT,   4, 1},
        {VK_RETURN, 4, 2},
        {VK_ESCAPE, 4, 1}, // closes one level only
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.key);
        PressKey(s.key);
        EXPECT_EQ(w->ActiveItem, s.active);
        EXPECT_EQ(Levels(), s.levels);
    }
    EXPECT_FALSE(w->Items(4)->Down);
    EXPECT_TRUE(skinForm->InMenu());
    // A row reached by the keys that has children waits for Right or Enter.
    Advance(700);
    EXPECT_EQ(Levels(), 1);

    PressKey('B'); // the accelerator runs its row
    EXPECT_EQ(log, std::vector<std::string>{"beta"});
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMenu());

    // Escape in the last level closes the menu and ends menu mode: keys reach the form again.
    menu->Popup(200, 150);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMenu());
    form->seen.clear();
    PressKey('X');
    EXPECT_NE(std::find(form->seen.begin(), form->seen.end(), static_cast<UINT>(WM_KEYDOWN)),
              form->seen.end());
}

TEST_F(MenuTest, DownStaysOnTheLastSelectableRowWhenOnlyLinesAndDisabledRowsFollow) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    Item(menu->Items(), "-");
    Item(menu->Items(), "off")->SetEnabled(false);
    menu->Popup(200, 150);
    PressKey(VK_DOWN);
    EXPECT_EQ(Level(0)->ActiveItem, 1);
    PressKey(VK_DOWN);
    EXPECT_EQ(Level(0)->ActiveItem, 1);
}

TEST_F(MenuTest, TenItemsLimitedToThreeRowsScrollWithMarkers) {
    skinForm->SetMaxMenuItemsInWindow(3);
    auto* menu = NewMenu();
    Fill(menu->Items(), 10);
    menu->Popup(200, 150);
    ASSERT_EQ(Levels(), 1);
    skin::TbsSkinPopupWindow* w = Level(0);
    EXPECT_EQ(w->Height(), 3 * 20 + 20 + 4);
    EXPECT_TRUE(w->Scroll);
    EXPECT_EQ(w->VisibleCount, 3);
    EXPECT_EQ(w->Items(0)->ObjectRect.Top, 2 + 10); // below the up marker

    // The pointer on the down marker scrolls a row every 100 ms to the end, then stops.
    PointAt({w->Left() + w->Width() / 2, w->Top() + w->Height() - 2 - 5});
    Advance(60);
    EXPECT_EQ(w->ScrollCode, 2);
    Advance(100);
    EXPECT_EQ(w->VisibleStartIndex, 1);
    Advance(1000);
    EXPECT_EQ(w->VisibleStartIndex, 7);
    EXPECT_EQ(w->ScrollCode, 0);
    EXPECT_FALSE(w->Items(0)->FVisible);
    EXPECT_TRUE(w->Items(9)->FVisible);

    // Up on the first row of a band that shows it jumps to the last page and its last row.
    PointAt({10, 10});
    Advance(60);
    PointAt({w->Left() + w->Width() / 2, w->Top() + 2 + 5});
    Advance(1000);
    EXPECT_EQ(w->VisibleStartIndex, 0);
    PointAt({10, 10});
    Advance(60);
    PressKey(VK_DOWN);
    PressKey(VK_UP);
    EXPECT_EQ(w->ActiveItem, 0);
    PressKey(VK_UP);
    EXPECT_EQ(w->VisibleStartIndex, 7);
    EXPECT_EQ(w->ActiveItem, 9);
    // Down on the last row wraps to the first page.
    PressKey(VK_DOWN);
    EXPECT_EQ(w->VisibleStartIndex, 0);
    EXPECT_EQ(w->ActiveItem, 0);
}

TEST_F(MenuTest, ACommandIsAnnouncedInOrder) {
    auto* opener = new Opener(form);
    opener->SetParent(form);
    opener->SetBounds(10, 10, 50, 20);
    opener->log = &log;
    form->log = &log;
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    int closes = 0;
    menu->OnMenuClose = [&](gui::TObject*) { ++closes; };
    ASSERT_TRUE(menu->PopupFromRect2(opener, gui::Rect(200, 150, 250, 170), false));
    EXPECT_EQ(Level(0)->Top(), 170);
    ClickOn(RowPoint(Level(0), 1));
    EXPECT_EQ(log, (std::vector<std::string>{"opener 1228", "form 1228", "click 1", "opener 1229"}));
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(skinForm->InMenu());

    // Another menu of the form closing later does not call it again; a new menu shown while
    // one is open closes that one first, telling its opener.
    log.clear();
    ASSERT_TRUE(menu->PopupFromRect2(opener, gui::Rect(200, 150, 250, 170), false));
    auto* other = NewMenu();
    Fill(other->Items(), 1);
    other->Popup(300, 300);
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(log, std::vector<std::string>{"opener 1228"});
    PressKey(VK_ESCAPE);
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(Levels(), 0);
}

TEST_F(MenuTest, WhileAMenuIsOpenTheWheelAndKeysStayFromTheForm) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 3);
    bool otherHook = false;
    gui::Application->OnMessage = [&](MSG&, bool&) { otherHook = true; };
    menu->Popup(200, 150);
    form->seen.clear();
    D().MoveMouse(150, 250);
    D().Wheel(-120);
    RunUntilIdle();
    PressKey(VK_DOWN);
    for (UINT msg : form->seen) {
        EXPECT_NE(msg, static_cast<UINT>(WM_MOUSEWHEEL));
        EXPECT_NE(msg, static_cast<UINT>(WM_KEYDOWN));
    }
    EXPECT_EQ(Level(0)->ActiveItem, 1);
    // Messages the menu does not take still reach the hook the application had.
    EXPECT_TRUE(otherHook);
    PressKey(VK_ESCAPE);
    otherHook = false;
    RunUntilIdle();
    ASSERT_TRUE(gui::Application->OnMessage);
    MSG msg{};
    bool handled = false;
    gui::Application->OnMessage(msg, handled);
    EXPECT_TRUE(otherHook) << "the application's own hook is back";
    gui::Application->OnMessage = nullptr;
}

TEST_F(MenuTest, AMenuThatShowsNothingLeavesTheKeysToTheForm) {
    auto* empty = NewMenu();
    empty->Popup(200, 150);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMenu());
    form->seen.clear();
    PressKey('X');
    EXPECT_NE(std::find(form->seen.begin(), form->seen.end(), static_cast<UINT>(WM_KEYDOWN)),
              form->seen.end());
    // A menu speed button whose menu shows nothing comes up at once.
    auto* button = new skin::TbsSkinMenuSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 60, 24);
    button->SkinPopupMenu = empty;
    RunUntilIdle();
    POINT p = ScreenOf(button, 30, 12);
    D().Click(p.x, p.y);
    RunUntilIdle();
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(skinForm->InMenu());
}

TEST_F(MenuTest, TheFormClosesItsMenuWhenClickedOrMoved) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 3);
    menu->Popup(300, 150);
    ASSERT_EQ(Levels(), 1);
    D().Click(150, 250); // the form's client area
    RunUntilIdle();
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMenu());
    menu->Popup(300, 150);
    form->SetBounds(120, 100, 400, 300);
    RunUntilIdle();
    EXPECT_EQ(Levels(), 0);
}

TEST_F(MenuTest, TheMenuSpeedButtonShowsItsMenuAndComesUpWhenItCloses) {
    auto* button = new skin::TbsSkinMenuSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 60, 24);
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    button->SkinPopupMenu = menu;
    RunUntilIdle();
    POINT p = ScreenOf(button, 30, 12);
    D().Click(p.x, p.y);
    RunUntilIdle();
    ASSERT_EQ(Levels(), 1);
    EXPECT_TRUE(button->Down());
    gui::TPoint under = button->ClientToScreen({0, 24});
    EXPECT_EQ(Level(0)->Top(), under.y);
    EXPECT_EQ(Level(0)->Left(), under.x);
    ClickOn(RowPoint(Level(0), 0));
    EXPECT_EQ(log, std::vector<std::string>{"click 0"});
    EXPECT_FALSE(button->Down());
}

TEST_F(MenuTest, ARadioGroupMenuChecksTheChosenRow) {
    // The snapshot-format menu of the main window: one radio group.
    auto* menu = NewMenu();
    std::vector<gui::TMenuItem*> formats;
    for (const char* f : {"BMP", "JPG", "PNG"}) {
        gui::TMenuItem* i = Item(menu->Items(), f);
        i->SetRadioItem(true);
        i->SetGroupIndex(1);
        i->AutoCheck = true;
        formats.push_back(i);
    }
    formats[0]->SetChecked(true);
    menu->Popup(200, 150);
    ClickOn(RowPoint(Level(0), 2));
    EXPECT_FALSE(formats[0]->Checked());
    EXPECT_TRUE(formats[2]->Checked());
    menu->Popup(200, 150);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(formats[1]->Checked());
    EXPECT_FALSE(formats[2]->Checked());
}

TEST_F(MenuTest, PlainRowsPaintTheirLook) {
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    menu->Popup(200, 150);
    RunUntilIdle();
    skin::TbsSkinPopupWindow* w = Level(0);
    const gdi::Bitmap* s = win::GetWindowSurface(w->Handle());
    ASSERT_NE(s, nullptr);
    auto px = [&](int x, int y) { return s->View().Get(x, y) & 0xFFFFFF; };
    int W = w->Width();
    EXPECT_EQ(px(W - 6, 2 + 3), 0xB6BDD2u) << "the highlighted row's fill";
    EXPECT_EQ(px(2, 2), 0x000080u) << "its navy frame";
    COLORREF shadow = gui::ColorToRGB(gui::clBtnShadow);
    EXPECT_EQ(px(0, 0),
              static_cast<uint32_t>((GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow)))
        << "the window's frame";
}

TEST_F(MenuTest, AMenuItemObjectWithABadPictureLeavesTheSkinAsItWas) {
    skin::TbsSkinData data;
    gdi::image::Image picture;
    picture.Reset(40, 40);
    controltest::UsePicture(data, picture);
    data.PopupWindow.WindowPictureIndex = 0;
    data.PopupWindow.ItemsRect = skin::Rect(3, 3, 37, 37);
    auto mi = std::make_unique<skin::TbsDataSkinMenuItem>("menuitem");
    mi->ActivePictureIndex = 7; // no such picture
    mi->SkinRect = skin::Rect(0, 0, 30, 22);
    mi->ActiveSkinRect = skin::Rect(0, 22, 30, 44);
    mi->TextRct = skin::Rect(4, 0, 26, 22);
    skin::TbsDataSkinMenuItem* object = mi.get();
    data.ObjectList.push_back(std::move(mi));
    auto* menu = NewMenu();
    Fill(menu->Items(), 2);
    menu->SetSkinData(&data);
    for (int round = 0; round < 2; ++round) {
        menu->Popup(200, 150);
        ASSERT_EQ(Levels(), 1);
        EXPECT_TRUE(Level(0)->Skinned());
        EXPECT_FALSE(Level(0)->Items(0)->Skinned()) << "the row has no picture";
        EXPECT_EQ(Level(0)->Items(1)->ObjectRect.Height(), 22);
        PressKey(VK_ESCAPE);
        EXPECT_EQ(object->SkinRect.Width(), 30);
        EXPECT_EQ(object->ActiveSkinRect.Bottom, 44);
    }
    menu->SetSkinData(nullptr);
}

TEST_F(MenuTest, WrappingToTheLastPageShowsTheRowItHighlights) {
    // A frame with a tall top edge: the rows start well below the window's top.
    skin::TbsSkinData data;
    gdi::image::Image picture;
    picture.Reset(60, 60);
    controltest::UsePicture(data, picture);
    data.PopupWindow.WindowPictureIndex = 0;
    data.PopupWindow.ItemsRect = skin::Rect(4, 20, 56, 56);
    auto mi = std::make_unique<skin::TbsDataSkinMenuItem>("menuitem");
    mi->ActivePictureIndex = 0;
    mi->SkinRect = skin::Rect(0, 0, 60, 20);
    mi->ActiveSkinRect = skin::Rect(0, 20, 60, 40);
    mi->TextRct = skin::Rect(4, 0, 56, 20);
    data.ObjectList.push_back(std::move(mi));
    skinForm->SetMaxMenuItemsInWindow(3);
    auto* menu = NewMenu();
    Fill(menu->Items(), 10);
    menu->SetSkinData(&data);
    menu->Popup(200, 150);
    ASSERT_EQ(Levels(), 1);
    skin::TbsSkinPopupWindow* w = Level(0);
    ASSERT_TRUE(w->Skinned());
    EXPECT_EQ(w->VisibleCount, 3);
    PressKey(VK_UP);
    EXPECT_EQ(w->ActiveItem, 9);
    EXPECT_EQ(w->VisibleStartIndex, 7);
    EXPECT_TRUE(w->Items(9)->FVisible);
    PressKey(VK_ESCAPE);
    menu->SetSkinData(nullptr);
}

TEST_F(MenuTest, TheFormsMenuAlphaFadesTheFirstLevelIn) {
    skinForm->MenusAlphaBlend = true;
    skinForm->MenusAlphaBlendAnimation = true;
    skinForm->MenusAlphaBlendValue = 180;
    auto* menu = NewMenu();
    Fill(menu->Items(), 1);
    gui::TMenuItem* sub = Item(menu->Items(), "More");
    Fill(sub, 1);
    uint32_t before = os::GetTickCount();
    menu->Popup(200, 150);
    ASSERT_EQ(Levels(), 1);
    EXPECT_GE(os::GetTickCount() - before, 15u * 5) << "about fifteen steps of more than 5 ms";
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Level(0)->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 180);
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    ASSERT_EQ(Levels(), 2);
    ASSERT_TRUE(GetLayeredWindowAttributes(Level(1)->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 180) << "a submenu shows at once";
}
