#include "gui/UpDown.h"
#include "FormFixture.h"
#include "gui/CustomEdit.h"
#include "win/Input.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class UpDownTest : public FormTest {};

TEST_F(UpDownTest, StepsTheAssociatedEditByMouseAndKeys) {
    TForm* f = Form();
    auto* e = Add<TEdit>(f, {10, 10, 110, 31});
    auto* u = Add<TUpDown>(f, {0, 0, 17, 21});
    u->SetMin(0);
    u->SetMax(10);
    u->SetIncrement(3);
    u->SetPosition(4);
    u->SetAssociate(e);
    Show(f);
    // Beside the edit, its right end, showing the position.
    EXPECT_EQ(u->Left(), e->Left() + e->Width());
    EXPECT_EQ(e->Text(), "4");
    std::vector<TUDBtnType> clicks;
    u->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    ClickAt(u, u->Width() / 2, 3);
    EXPECT_EQ(u->Position(), 7);
    EXPECT_EQ(e->Text(), "7");
    ClickAt(u, u->Width() / 2, u->Height() - 3);
    EXPECT_EQ(u->Position(), 4);
    EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev}));
    // The buttons gave the edit the focus; its arrow keys step, to the end of the range.
    ASSERT_TRUE(e->Focused());
    PressKey(VK_UP);
    PressKey(VK_UP);
    PressKey(VK_UP);
    EXPECT_EQ(u->Position(), 10);
    // A number typed into the edit is the position.
    e->SetText("2");
    EXPECT_EQ(u->Position(), 2);
}

TEST_F(UpDownTest, ARefusedStepChangesNothingAndSettingsSurviveANewWindow) {
    TForm* f = Form();
    auto* e = Add<TEdit>(f, {10, 10, 110, 31});
    auto* u = Add<TUpDown>(f, {0, 0, 17, 21});
    u->SetAssociate(e);
    u->SetMax(5);
    Show(f);
    bool allow = false;
    u->OnChanging = [&](TObject*, bool& ok) { ok = allow; };
    ClickAt(u, u->Width() / 2, 3);
    EXPECT_EQ(u->Position(), 0);
    allow = true;
    u->SetPosition(5);
    u->SetWrap(true); // a new window
    ClickAt(u, u->Width() / 2, 3);
    EXPECT_EQ(u->Position(), 0);
    EXPECT_EQ(e->Text(), "0");
    u->SetPosition(99);
    EXPECT_EQ(u->Position(), 5);
    // The edit going away leaves the buttons alone.
    delete e;
    EXPECT_EQ(u->Associate(), nullptr);
    ClickAt(u, u->Width() / 2, u->Height() - 3);
    EXPECT_EQ(u->Position(), 4);
}

} // namespace
