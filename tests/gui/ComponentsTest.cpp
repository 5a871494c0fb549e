#include "gui/Classes.h"
#include "gui/Menu.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {
// A menu that remembers the order of Loaded calls and watches a component of another form.
class TLoggingMenu : public TMainMenu {
public:
    using TMainMenu::TMainMenu;
    std::vector<std::string>* log = nullptr;
    TComponent* watched = nullptr;
    void Watch(TComponent* c) {
        watched = c;
        c->FreeNotification(this);
    }

protected:
    void Loaded() override {
        TMainMenu::Loaded();
        log->push_back("menu loaded, items " + std::to_string(Items()->Count()));
    }
    void Notification(TComponent* c, TOperation op) override {
        TMainMenu::Notification(c, op);
        if (op == TOperation::opRemove && c == watched) watched = nullptr;
    }
};
} // namespace

TEST(Components, AFormBuiltInCodeLoadsOwnsAndFreesItsMenu) {
    std::vector<std::string> log;
    auto* form = new TComponent(nullptr);
    form->BeginLoading();
    auto* menu = new TLoggingMenu(form); // made while the form loads: loading too
    menu->log = &log;
    menu->SetName("bsSkinMainMenu1");
    auto* file = new TMenuItem(form);
    file->SetName("N1");
    menu->Items()->Add(file);
    auto* exit = new TMenuItem(form);
    exit->SetName("N4");
    file->Add(exit);
    EXPECT_TRUE(menu->Loading());
    EXPECT_TRUE(log.empty());
    form->EndLoading();
    EXPECT_FALSE(menu->Loading());
    EXPECT_EQ(log, (std::vector<std::string>{"menu loaded, items 1"}));
    EXPECT_EQ(form->FindComponent("n4"), exit);
    EXPECT_THROW(exit->SetName("N1"), EComponentError);

    // Another form's component that the menu refers to goes first: the reference is cleared.
    auto* other = new TComponent(nullptr);
    menu->Watch(other);
    delete other;
    EXPECT_EQ(menu->watched, nullptr);

    // The form frees the menu and every item, whatever their order; ASan checks nothing is
    // freed twice or left behind.
    delete form;
}
