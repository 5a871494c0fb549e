// The skinned main menu bar on a skinned form: the pointer, the item menus, the overflow
// marker, the keyboard menu mode and accelerators, and the buttons of a maximised MDI child.
#include "MenuFixture.h"
#include "gui/Menu.h"
#include "skin/core/DataSkinControls.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "win/Messages.h"

using namespace menutest;

namespace {

class MenuBarTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        mainMenu = new gui::TMainMenu(form);
        // Unnamed, as menus made in code are.
        file = Item(mainMenu->Items(), "&File");
        Fill(file, 3);
        edit = Item(mainMenu->Items(), "&Edit");
        Fill(edit, 2);
        Item(edit, "More");
        Fill(edit->Items(2), 2);
        go = Item(mainMenu->Items(), "&Go");
        go->OnClick = [this](gui::TObject*) { log.push_back("go"); };
        bar = new skin::TbsSkinMainMenuBar(form);
        bar->SetParent(form);
        bar->SetMainMenu(mainMenu);
        skinForm->SetMainMenuBar(bar);
        RunUntilIdle();
    }

    skin::TbsSkinMainMenuBarItem* BarItem(int i) { return bar->BarItem(i); }
    // The middle of a bar item, in the bar's client coordinates.
    gui::TPoint Middle(int i) {
        const skin::TRect& r = BarItem(i)->ObjectRect;
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void PointAtItem(int i) {
        MoveTo(bar, Middle(i).x, Middle(i).y);
        Advance(60); // the bar polls the pointer
    }
    void ClickItem(int i) {
        Advance(GetDoubleClickTime() + 10);
        ClickAt(bar, Middle(i).x, Middle(i).y);
        Advance(60);
    }
    std::string Captions(skin::TbsSkinPopupWindow* w) {
        std::string s;
        for (int i = 0; i < w->ItemCount(); ++i)
            s += (s.empty() ? "" : ",") + w->Items(i)->MenuItem->Caption();
        return s;
    }
    // Which item is highlighted ("-" for none); pressed items show in brackets.
    std::string Hot() {
        std::string s;
        for (int i = 0; i < bar->BarItemCount(); ++i) {
            if (BarItem(i)->FDown)
                s += "[" + BarItem(i)->MenuItem->Caption() + "]";
            else if (BarItem(i)->Active)
                s += BarItem(i)->MenuItem->Caption();
        }
        return s.empty() ? "-" : s;
    }

    gui::TMainMenu* mainMenu = nullptr;
    gui::TMenuItem *file = nullptr, *edit = nullptr, *go = nullptr;
    skin::TbsSkinMainMenuBar* bar = nullptr;
};

TEST_F(MenuBarTest, TheBarTakesTheTopWithOneItemPerVisibleTopLevelItem) {
    EXPECT_EQ(bar->Align(), gui::alTop);
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    ASSERT_EQ(bar->BarItemCount(), 3);
    // Side by side from the left of the items area, each as wide as its caption and 12.
    EXPECT_EQ(BarItem(0)->ObjectRect.Left, 2);
    EXPECT_EQ(BarItem(1)->ObjectRect.Left, BarItem(0)->ObjectRect.Right);
    EXPECT_GT(BarItem(0)->ObjectRect.Width(), 12);
    // A hidden item gets no place; a disabled one shows disabled.
    edit->SetVisible(false);
    go->SetEnabled(false);
    bar->UpDateItems();
    RunUntilIdle();
    ASSERT_EQ(bar->BarItemCount(), 2);
    EXPECT_EQ(BarItem(1)->MenuItem, go);
    EXPECT_FALSE(BarItem(1)->Enabled);
}

TEST_F(MenuBarTest, ThePointerHighlightsOpensAndSwitchesItemMenus) {
    PointAtItem(0);
    EXPECT_EQ(Hot(), "&File");
    EXPECT_EQ(Levels(), 0);
    PointAtItem(1);
    EXPECT_EQ(Hot(), "&Edit");
    // A press opens the item's menu under it.
    ClickItem(0);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0,Item 1,Item 2");
    POINT under = ScreenOf(bar, BarItem(0)->ObjectRect.Left, BarItem(0)->ObjectRect.Bottom);
    EXPECT_EQ(Level(0)->Left(), under.x);
    EXPECT_EQ(Level(0)->Top(), under.y);
    EXPECT_TRUE(skinForm->InMainMenu());
    EXPECT_TRUE(skinForm->InMenu());
    EXPECT_EQ(Hot(), "[&File]");
    // Moving to the neighbour while the menu is open opens the neighbour's menu instead.
    PointAtItem(1);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0,Item 1,More");
    EXPECT_EQ(Hot(), "[&Edit]");
    // Off the items the open item stays highlighted.
    MoveTo(bar, bar->Width() - 10, 10);
    Advance(60);
    EXPECT_EQ(Hot(), "[&Edit]");
    // Choosing a row runs its command and ends the menu mode.
    ClickOn(RowPoint(Level(0), 1));
    EXPECT_EQ(log, std::vector<std::string>{"click 1"});
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMainMenu());
    EXPECT_FALSE(skinForm->InMenu());
    EXPECT_FALSE(bar->MenuActive);
    EXPECT_EQ(gui::Application->OnMessage, nullptr);
    // An item without children runs its command on the press and opens nothing.
    ClickItem(2);
    EXPECT_EQ(Levels(), 0);
    EXPECT_EQ(log.back(), "go");
    EXPECT_FALSE(skinForm->InMainMenu());
    // A second press on the open item closes its menu; the item stays hot under the pointer.
    ClickItem(0);
    ASSERT_EQ(Levels(), 1);
    ClickItem(0);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMainMenu());
    EXPECT_EQ(Hot(), "&File");
    // A press on the bar beside the items closes the menu too.
    ClickItem(1);
    ASSERT_EQ(Levels(), 1);
    ClickAt(bar, bar->Width() - 10, 10);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMainMenu());
    // A click on the form closes an open bar menu and the menu mode.
    ClickItem(0);
    ASSERT_EQ(Levels(), 1);
    ClickAt(form, 200, 200);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMainMenu());
    EXPECT_EQ(gui::Application->OnMessage, nullptr);
}

TEST_F(MenuBarTest, ItemsThatDoNotFitHideBehindTheMarkerWhichOpensThem) {
    // A hidden top-level item in front: the overflow menu still starts at the first item
    // that did not fit.
    auto* hidden = new gui::TMenuItem(nullptr);
    hidden->SetCaption("Hidden");
    hidden->SetVisible(false);
    mainMenu->Items()->Insert(0, hidden);
    go->SetEnabled(false);
    bar->UpDateItems();
    RunUntilIdle();
    int fitsTwo = BarItem(1)->ObjectRect.Right + 2 + 5 + 1;
    bar->SetAlign(gui::alNone);
    bar->SetBounds(0, 0, fitsTwo - 10, 22);
    RunUntilIdle();
    // Edit and Go do not fit: disabled, hidden, the marker drawn.
    EXPECT_TRUE(BarItem(0)->Fits());
    EXPECT_FALSE(BarItem(1)->Fits());
    EXPECT_FALSE(BarItem(1)->Enabled);
    EXPECT_FALSE(BarItem(2)->Fits());
    EXPECT_TRUE(bar->Scroll);
    skin::TRect marker = bar->OverflowMarkerRect();
    EXPECT_EQ(PixelAt(bar, BarItem(1)->ObjectRect.Left + 4, 11), gui::ColorToRGB(gui::clBtnFace));
    // The marker: a triangle in the default look's colour, hot under the pointer.
    EXPECT_EQ(PixelAt(bar, marker.Left + 1, (marker.Top + marker.Bottom) / 2),
              gui::ColorToRGB(gui::clBtnShadow));
    MoveTo(bar, marker.Left + 1, (marker.Top + marker.Bottom) / 2);
    Advance(60);
    EXPECT_TRUE(bar->MarkerActive);
    EXPECT_EQ(PixelAt(bar, marker.Left + 1, (marker.Top + marker.Bottom) / 2),
              gui::ColorToRGB(gui::clBtnText));
    ClickAt(bar, marker.Left + 1, (marker.Top + marker.Bottom) / 2);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "&Edit,&Go");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Levels(), 0);
    // Wide again: both come back, each with its own enabled state.
    bar->SetBounds(0, 0, 400, 22);
    RunUntilIdle();
    EXPECT_TRUE(BarItem(1)->Fits());
    EXPECT_TRUE(BarItem(1)->Enabled);
    EXPECT_TRUE(BarItem(2)->Fits());
    EXPECT_FALSE(BarItem(2)->Enabled);
    EXPECT_FALSE(bar->Scroll);
}

TEST_F(MenuBarTest, AltAndF10EnterTheKeyboardModeWhereArrowsWrapAround) {
    PressKey(VK_MENU);
    EXPECT_TRUE(skinForm->InMainMenu());
    EXPECT_TRUE(bar->MenuActive);
    EXPECT_EQ(Hot(), "&File");
    EXPECT_EQ(Levels(), 0);
    PressKey(VK_LEFT);
    EXPECT_EQ(Hot(), "&Go");
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "&File");
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "&Edit");
    // Down opens the highlighted item's menu; Right on a row without submenu goes on to the
    // next item, which stays pressed without a menu (Go has none) until Right goes on again.
    PressKey(VK_DOWN);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0,Item 1,More");
    EXPECT_EQ(Hot(), "[&Edit]");
    PressKey(VK_DOWN); // Item 0
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "[&Go]");
    EXPECT_EQ(Levels(), 0);
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "[&File]");
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0,Item 1,Item 2");
    PressKey(VK_LEFT);
    // Enter on the pressed Go runs it and ends the mode.
    EXPECT_EQ(Hot(), "[&Go]");
    PressKey(VK_RETURN);
    EXPECT_EQ(log, std::vector<std::string>{"go"});
    EXPECT_FALSE(skinForm->InMainMenu());
    PressKey(VK_MENU);
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "&Edit");
    PressKey(VK_RETURN);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Hot(), "[&Edit]");
    // Escape closes the menu and keeps the item highlighted; a second Escape ends the mode.
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Levels(), 0);
    EXPECT_TRUE(skinForm->InMainMenu());
    EXPECT_FALSE(skinForm->InMenu());
    EXPECT_EQ(Hot(), "&Edit");
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(skinForm->InMainMenu());
    EXPECT_EQ(Hot(), "-");
    EXPECT_EQ(gui::Application->OnMessage, nullptr);
    // F10 enters too, and Alt leaves.
    PressKey(VK_F10);
    EXPECT_TRUE(skinForm->InMainMenu());
    EXPECT_EQ(Hot(), "&File");
    PressKey(VK_MENU);
    EXPECT_FALSE(skinForm->InMainMenu());
    EXPECT_EQ(Hot(), "-");
    EXPECT_EQ(gui::Application->OnMessage, nullptr);
    // A disabled first item is passed over.
    file->SetEnabled(false);
    bar->UpDateEnabledItems();
    PressKey(VK_MENU);
    EXPECT_EQ(Hot(), "&Edit");
    PressKey(VK_LEFT);
    EXPECT_EQ(Hot(), "&Go");
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "&Edit");
    PressKey(VK_MENU);
}

TEST_F(MenuBarTest, AltSpaceWithoutASystemButtonLeavesTheBarAlone) {
    // The converter's main window: a menu bar and a minimise button only.
    skinForm->SetBorderIcons(skin::biMinimize);
    FormTestChord();
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMainMenu());
    EXPECT_EQ(Hot(), "-");
    // The chord spent nothing: Alt alone still enters the keyboard mode.
    PressKey(VK_MENU);
    EXPECT_TRUE(skinForm->InMainMenu());
    PressKey(VK_MENU);
    EXPECT_FALSE(skinForm->InMainMenu());
}

TEST_F(MenuBarTest, AcceleratorsOpenTheirItems) {
    // Alt+E opens Edit's menu; the Alt key's release leaves it open.
    D().KeyDown(VK_MENU);
    D().Key('E');
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0,Item 1,More");
    EXPECT_TRUE(skinForm->InMainMenu());
    // In the menu mode a plain letter is an accelerator too: Go runs at once.
    PressKey('G');
    EXPECT_EQ(log, std::vector<std::string>{"go"});
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(skinForm->InMainMenu());
    // In the keyboard mode a letter opens its item.
    PressKey(VK_MENU);
    PressKey('F');
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0,Item 1,Item 2");
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(skinForm->InMainMenu());
    // A letter no item has does nothing outside the menu mode.
    D().KeyDown(VK_MENU);
    D().Key('Q');
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    EXPECT_EQ(Levels(), 0);
}

// A merged menu's items replace the items of their group and all go in group order.
TEST_F(MenuBarTest, AMergedMenuTakesTheGroupsItHas) {
    edit->SetGroupIndex(1);
    go->SetGroupIndex(9);
    gui::TMainMenu child(nullptr);
    Item(child.Items(), "Window")->SetGroupIndex(5);
    gui::TMenuItem* childEdit = Item(child.Items(), "Child edit");
    childEdit->SetGroupIndex(1);
    Fill(childEdit, 1);
    bar->Merge(&child);
    RunUntilIdle();
    ASSERT_EQ(bar->BarItemCount(), 4);
    std::string order;
    for (int i = 0; i < 4; ++i) order += BarItem(i)->MenuItem->Caption() + " ";
    EXPECT_EQ(order, "&File Child edit Window &Go ");
    EXPECT_TRUE(bar->ChildMenuIn);
    EXPECT_FALSE(bar->ScrollMenu());
    ClickItem(1);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Captions(Level(0)), "Item 0");
    PressKey(VK_ESCAPE);
    bar->UnMerge();
    RunUntilIdle();
    EXPECT_EQ(bar->BarItemCount(), 3);
    EXPECT_EQ(BarItem(1)->MenuItem, edit);
}

TEST_F(MenuBarTest, AMenuItemFreedWhileShownLeavesTheBar) {
    delete edit;
    edit = nullptr;
    RunUntilIdle();
    ASSERT_EQ(bar->BarItemCount(), 2);
    EXPECT_EQ(BarItem(1)->MenuItem, go);
    PressKey(VK_MENU);
    PressKey(VK_RIGHT);
    EXPECT_EQ(Hot(), "&Go");
    PressKey(VK_ESCAPE);
}

// The buttons of a maximised MDI child: system menu at the left end, close, restore and
// minimise from the right end, enabled from the child's border icons.
TEST_F(MenuBarTest, MDIChildButtonsFrameTheItems) {
    int itemsLeft = BarItem(0)->ObjectRect.Left;
    bar->MDIChildMaximize();
    RunUntilIdle();
    ASSERT_EQ(bar->ButtonsCount, 4);
    auto button = [this](int i) {
        return static_cast<skin::TbsSkinMainMenuBarButton*>(bar->ObjectList[i].get());
    };
    using C = skin::TbsStdCommand;
    const C order[] = {C::cmSysMenu, C::cmClose, C::cmMaximize, C::cmMinimize};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(button(i)->Command, order[i]) << i;
    // Default look: squares as high as the items area (2..20).
    EXPECT_EQ(button(0)->ObjectRect, skin::Rect(2, 2, 20, 20));
    int w = bar->Width();
    EXPECT_EQ(button(1)->ObjectRect, skin::Rect(w - 2 - 18, 2, w - 2, 20));
    EXPECT_EQ(button(2)->ObjectRect, skin::Rect(w - 2 - 18 - 2 - 18, 2, w - 2 - 18 - 2, 20));
    EXPECT_EQ(button(3)->ObjectRect.Right, button(2)->ObjectRect.Left - 2);
    EXPECT_EQ(BarItem(0)->ObjectRect.Left, itemsLeft + 18 + 2);
    // Enabled from the child's icons: no minimise icon, no minimise button.
    bar->EnableMDIButtons(skin::biSystemMenu | skin::biMaximize);
    EXPECT_FALSE(button(3)->Enabled);
    EXPECT_TRUE(button(0)->Enabled && button(1)->Enabled && button(2)->Enabled);
    bar->EnableMDIButtons(skin::biMinimize);
    EXPECT_FALSE(button(0)->Enabled);
    EXPECT_TRUE(button(3)->Enabled);
    // A second maximise notice adds nothing; the disabled button ignores the pointer.
    bar->MDIChildMaximize();
    EXPECT_EQ(bar->ObjectList.size(), 7u);
    MoveTo(bar, 10, 10);
    Advance(60);
    EXPECT_FALSE(button(0)->Active);
    // The main form's notices reach the bar; with no maximised child left the buttons go.
    SendMessage(form->Handle(), skin::WM_MDICHILDRESTORED, 0, 0);
    RunUntilIdle();
    EXPECT_EQ(bar->ButtonsCount, 0);
    EXPECT_EQ(bar->ObjectList.size(), 3u);
    EXPECT_EQ(BarItem(0)->ObjectRect.Left, itemsLeft);
    SendMessage(form->Handle(), skin::WM_MDICHILDMAXIMIZED, 0, 0);
    EXPECT_EQ(bar->ButtonsCount, 4);
    // Pressing and releasing a button off it does nothing, and no child is there to act on.
    Advance(GetDoubleClickTime() + 10);
    POINT p = ScreenOf(bar, (button(1)->ObjectRect.Left + button(1)->ObjectRect.Right) / 2, 10);
    D().MoveMouse(p.x, p.y);
    Advance(60);
    D().Press();
    RunUntilIdle();
    EXPECT_TRUE(button(1)->FDown);
    D().MoveMouse(p.x - 200, p.y + 100);
    D().Release();
    RunUntilIdle();
    EXPECT_FALSE(button(1)->FDown);
    EXPECT_TRUE(form->Visible());
}

// In a stored skin the bar and its items draw from the skin; the buttons take the skin's
// sizes, and a skin without button objects still gives each button its own command.
TEST_F(MenuBarTest, SkinnedBarItemsAndButtons) {
    controltest::ScreenForms forms;
    skin::TbsSkinData data;
    data.SetSkinList(&controltest::StoredSkins());
    data.SetSkinIndex(0);
    skinForm->SetSkinData(&data);
    bar->SetSkinData(&data);
    RunUntilIdle();
    ASSERT_TRUE(bar->FSkinSupport);
    auto* d =
        dynamic_cast<skin::TbsDataSkinMainMenuBar*>(data.CtrlList[data.GetControlIndex("mainmenubar")].get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(bar->Height(), d->SkinRect.Height());
    bar->SetDefaultHeight(40);
    EXPECT_EQ(bar->Height(), d->SkinRect.Height());
    ASSERT_TRUE(BarItem(0)->FSkinSupport);
    EXPECT_EQ(BarItem(0)->ObjectRect.Left, d->ItemsRect.Left);
    // A hot item shows the item picture's hot row at its middle.
    PointAtItem(0);
    ASSERT_TRUE(WaitUntil(
        [&] {
            Advance(25);
            return !bar->MorphTimer.Enabled();
        },
        std::chrono::seconds(5), "the item's transition"));
    auto* item = BarItem(0);
    int index = data.GetIndex(bar->MenuBarItem);
    ASSERT_GE(index, 0);
    int picture = data.ObjectList[index]->ActivePictureIndex;
    skin::TRect hot = item->ActiveSkinRect;
    EXPECT_EQ(PixelAt(bar, item->ObjectRect.Left + 2, item->ObjectRect.Top + hot.Height() / 2),
              controltest::PictureAt(data, picture, hot.Left + 2, hot.Top + hot.Height() / 2));

    bar->MDIChildMaximize();
    RunUntilIdle();
    auto button = [this](int i) {
        return static_cast<skin::TbsSkinMainMenuBarButton*>(bar->ObjectList[i].get());
    };
    ASSERT_TRUE(button(0)->FSkinSupport);
    EXPECT_EQ(button(0)->ObjectRect.Width(), button(0)->SkinRect.Width());
    EXPECT_EQ(button(0)->ObjectRect.Top - bar->NewItemsRect.Top,
              (bar->NewItemsRect.Height() - button(0)->SkinRect.Height()) / 2);
    bar->MDIChildRestore();
    // Without the skin's button objects the buttons keep their own commands.
    for (auto& o : data.ObjectList)
        if (dynamic_cast<skin::TbsDataSkinMainMenuBarButton*>(o.get())) o->IDName += "-gone";
    bar->MDIChildMaximize();
    using C = skin::TbsStdCommand;
    const C order[] = {C::cmSysMenu, C::cmClose, C::cmMaximize, C::cmMinimize};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(button(i)->FSkinSupport);
        EXPECT_EQ(button(i)->Command, order[i]) << i;
    }
    bar->MDIChildRestore();
    // A bar entry without a usable picture draws the default look.
    auto* broken =
        dynamic_cast<skin::TbsDataSkinMainMenuBar*>(data.CtrlList[data.GetControlIndex("mainmenubar")].get());
    broken->PictureIndex = static_cast<int>(data.FActivePictures.size());
    bar->ChangeSkinData();
    RunUntilIdle();
    EXPECT_FALSE(bar->FSkinSupport);
    EXPECT_EQ(PixelAt(bar, bar->Width() - 20, 10), gui::ColorToRGB(gui::clBtnFace));
    bar->SetSkinData(nullptr);
    skinForm->SetSkinData(nullptr);
}

} // namespace
