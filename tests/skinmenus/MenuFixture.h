#pragma once
// Skinned menus on a skinned form, headless on the virtual clock: menus built from items, the
// open levels found through the form's manager, the pointer and keys injected at screen points.
#include "../skincontrols/ControlFixtures.h"
#include "gui/Menus.h"
#include "skin/engine/DrawUtils.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinMenuItem.h"
#include "skin/menus/SkinPopupMenu.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Input.h"

#include <string>
#include <vector>

namespace menutest {

// Records what reaches the form's own procedure.
class LogForm : public gui::TForm {
public:
    using gui::TForm::TForm;
    std::vector<std::string>* log = nullptr;
    std::vector<UINT> seen;
    void WndProc(gui::TMessage& m) override {
        seen.push_back(m.Msg);
        if (log && m.Msg == skin::WM_CLOSESKINMENU) log->push_back("form 1228");
        gui::TForm::WndProc(m);
    }
};

// A control that opens menus and notes their notices.
class Opener : public gui::TCustomControl {
public:
    using gui::TCustomControl::TCustomControl;
    std::vector<std::string>* log = nullptr;

protected:
    void Dispatch(gui::TMessage& m) override {
        if (log && m.Msg == skin::WM_CLOSESKINMENU) log->push_back("opener 1228");
        if (log && m.Msg == skin::WM_AFTERSKINMENUCOMMAND) log->push_back("opener 1229");
        gui::TCustomControl::Dispatch(m);
    }
};

class MenuTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm<LogForm>();
        form->SetBounds(100, 100, 400, 300);
        form->SetCaption("Menus");
        skinForm = new skin::TbsSkinForm(form);
        form->Show();
        RunUntilIdle();
        gui::TRect wa{};
        skin::GetMonitorArea(form->Handle(), true, wa);
        WA = skin::Rect(wa.left, wa.top, wa.right, wa.bottom);
    }

    skin::TbsSkinPopupMenu* NewMenu() {
        auto* m = new skin::TbsSkinPopupMenu(form);
        return m;
    }
    static gui::TMenuItem* Item(gui::TMenuItem* parent, const std::string& caption) {
        auto* item = new gui::TMenuItem(nullptr);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    // Items "Item 0" .. "Item n-1" with a note of each click.
    void Fill(gui::TMenuItem* parent, int n) {
        for (int i = 0; i < n; ++i) {
            gui::TMenuItem* item = Item(parent, "Item " + std::to_string(i));
            item->OnClick = [this, i](gui::TObject*) { log.push_back("click " + std::to_string(i)); };
        }
    }

    skin::TbsSkinMenu* Manager() { return skinForm->SkinMenu(); }
    int Levels() { return Manager()->LevelCount(); }
    skin::TbsSkinPopupWindow* Level(int i) { return Manager()->Level(i); }
    // The screen point in the middle of a row of an open level.
    static POINT RowPoint(skin::TbsSkinPopupWindow* w, int row) {
        const skin::TRect& r = w->Items(row)->ObjectRect;
        return {w->Left() + (r.Left + r.Right) / 2, w->Top() + (r.Top + r.Bottom) / 2};
    }
    static void PointAt(POINT p) {
        D().MoveMouse(p.x, p.y);
        RunUntilIdle();
    }
    // Alt+Space.
    static void FormTestChord() {
        D().KeyDown(VK_MENU);
        D().Key(VK_SPACE);
        D().KeyUp(VK_MENU);
        RunUntilIdle();
    }
    // A right click on the caption, clear of its buttons; never the second of a double click.
    void RightClickCaption() {
        Advance(GetDoubleClickTime() + 10);
        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        D().Click(wr.left + 80, wr.top + 8, 1);
        RunUntilIdle();
    }
    static void ClickOn(POINT p) {
        D().Click(p.x, p.y);
        RunUntilIdle();
    }

    LogForm* form = nullptr;
    skin::TbsSkinForm* skinForm = nullptr;
    skin::TRect WA;
    std::vector<std::string> log;
};

} // namespace menutest
