// Actions: a linked control follows every change of its action and runs it when clicked; its
// own click handler wins; either side may go first.
#include "GuiHarness.h"
#include "gui/ActnList.h"
#include "gui/StdCtrls.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class ActionsTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm<TForm>();
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 100, 300, 200);
        list = new TActionList(form);
        action = new TAction(form);
        action->SetActionList(list);
        action->SetCaption("打开(&O)");
        action->SetHint("打开文件");
        action->OnExecute = [this](TObject* s) {
            log.push_back(s == action && action->ActionComponent() == button ? "execute by button"
                                                                             : "execute");
        };
        button = new TButton(form);
        button->SetBounds(10, 10, 80, 25);
        button->SetParent(form);
        form->Show();
        RunUntilIdle();
    }
    TForm* form = nullptr;
    TActionList* list = nullptr;
    TAction* action = nullptr;
    TButton* button = nullptr;
    std::vector<std::string> log;
};

} // namespace

TEST_F(ActionsTest, ALinkedControlFollowsItsActionAndRunsIt) {
    EXPECT_EQ(list->ActionCount(), 1);
    EXPECT_EQ(action->Index(), 0);
    button->SetAction(action);
    EXPECT_EQ(button->Action(), action);
    EXPECT_EQ(button->Caption(), "打开(&O)");
    EXPECT_EQ(button->Hint, "打开文件");
    action->SetCaption("关闭");
    EXPECT_EQ(button->Caption(), "关闭");
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    action->SetEnabled(true);
    action->SetVisible(false);
    EXPECT_FALSE(button->Visible());
    action->SetVisible(true);
    RunUntilIdle();

    // A click runs the action, on behalf of the button; the button's own handler wins.
    ClickAt(button, 10, 10);
    EXPECT_EQ(log, std::vector<std::string>{"execute by button"});
    EXPECT_EQ(action->ActionComponent(), nullptr);
    button->OnClick = [this](TObject*) { log.push_back("own click"); };
    ClickAt(button, 10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"execute by button", "own click"}));
    // A disabled action does not run.
    action->SetEnabled(false);
    EXPECT_FALSE(button->ActionLink()->Execute(button));

    // An action that goes leaves the control unlinked; a control that goes is no more told.
    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
    auto* other = new TAction(form);
    button->SetAction(other);
    delete button;
    other->SetCaption("x");
    delete list;
    EXPECT_EQ(other->ActionList(), nullptr);
}

TEST_F(ActionsTest, LinkedWhileLoadingOnlyUnsetPropertiesTakeTheAction) {
    button->SetCaption("保留");
    button->Hint = "";
    action->BeginLoading();
    button->SetAction(action);
    action->EndLoading();
    EXPECT_EQ(button->Caption(), "保留");
    EXPECT_EQ(button->Hint, "打开文件");
    // Later changes are taken whole.
    action->SetCaption("新");
    EXPECT_EQ(button->Caption(), "新");
}
