#pragma once
// A multiple-document main form with a skinned-form component, its window menu, and skinned
// children made and shown inside its client window.
#include "SkinFormFixture.h"
#include "gui/CustomPanel.h"
#include "gui/MenuItem.h"
#include "skin/forms/MDIMenuBarLink.h"
#include "skin/forms/SkinMDITabsBar.h"
#include "win/Mdi.h"

#include <string>
#include <vector>

namespace skinformtest {

// Records the notices that reach the main form's own procedure.
class NoticeForm : public gui::TForm {
public:
    using gui::TForm::TForm;
    std::vector<UINT> notices;
    void WndProc(gui::TMessage& m) override {
        if (m.Msg >= 1230 && m.Msg <= 1232) notices.push_back(m.Msg);
        gui::TForm::WndProc(m);
    }
};

// A menu bar that only counts what the form asks of it.
class BarLink : public skin::TbsMDIMenuBarLink {
public:
    std::vector<std::string> calls;
    void MDIChildMaximize() override { calls.push_back("maximize"); }
    void MDIChildRestore() override { calls.push_back("restore"); }
    bool ShowsChildMenu() override { return true; }
    void UpDateItems() override { calls.push_back("items"); }
};

class SkinMdiTest : public GuiTest {
protected:
    // The main form with a client area of the given size (default frame: 3-pixel borders and
    // a 19-pixel caption), its window menu, shown.
    void OpenMain(int clientWidth, int clientHeight, skin::TbsSkinData* skinData = nullptr) {
        gui::Application->CreateForm(main);
        main->SetName("Main");
        main->SetCaption("主窗口");
        main->SetFormStyle(gui::fsMDIForm);
        mainSkin = new skin::TbsSkinForm(main);
        if (skinData) mainSkin->SetSkinData(skinData);
        windowMenu = new gui::TMenuItem(main);
        main->SetWindowMenu(windowMenu);
        main->SetBounds(0, 0, 100, 100);
        main->Show();
        RunUntilIdle();
        main->SetClientSize(clientWidth, clientHeight);
        RunUntilIdle();
    }
    gui::TForm* Child(const std::string& name, gui::TRect bounds = gui::Rect(10, 10, 250, 190),
                      skin::TbsSkinData* skinData = nullptr, gui::TFormBorderStyle style = gui::bsSizeable) {
        auto* c = MakeForm<gui::TForm>();
        c->SetName(name);
        c->SetCaption(name);
        c->SetFormStyle(gui::fsMDIChild);
        c->SetBorderStyle(style);
        auto* s = new skin::TbsSkinForm(c);
        if (skinData) s->SetSkinData(skinData);
        c->SetBoundsRect(bounds);
        c->Show();
        RunUntilIdle();
        children.push_back(c);
        return c;
    }
    void LoadSkin(int index) {
        data.SetSkinList(&StoredSkins());
        data.SetSkinIndex(index);
        ASSERT_FALSE(data.Empty);
    }
    static skin::TbsSkinForm* SkinOf(gui::TCustomForm* f) { return skin::FindSkinFormComponent(f); }
    static gui::TRect BoundsOf(gui::TCustomForm* f) {
        return gui::Bounds(f->Left(), f->Top(), f->Width(), f->Height());
    }
    std::vector<std::string> MenuNames() const {
        std::vector<std::string> out;
        for (int i = 0; i < windowMenu->Count(); ++i) out.push_back(windowMenu->Items(i)->Name());
        return out;
    }
    void TearDown() override {
        RunUntilIdle();
        for (gui::TForm* c : children)
            if (gui::Screen && IsAlive(c)) delete c;
        delete main;
        main = nullptr;
        GuiTest::TearDown();
    }
    static bool IsAlive(gui::TCustomForm* f) {
        for (int i = 0; i < gui::Screen->FormCount(); ++i)
            if (gui::Screen->Forms(i) == f) return true;
        return false;
    }

    ScreenForms forms;
    skin::TbsSkinData data;
    NoticeForm* main = nullptr;
    skin::TbsSkinForm* mainSkin = nullptr;
    gui::TMenuItem* windowMenu = nullptr;
    std::vector<gui::TForm*> children;
};

} // namespace skinformtest
