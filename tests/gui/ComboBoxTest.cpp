#include "gui/ComboBox.h"
#include "FormFixture.h"
#include "gui/CustomEdit.h"
#include "win/Input.h"

#include <string>
#include <vector>

using namespace gui;

namespace {

class ComboBoxTest : public FormTest {
protected:
    TComboBox* Combo(TForm* f, TComboBoxStyle style) {
        auto* c = Add<TComboBox>(f, {10, 10, 160, 31});
        c->SetStyle(style);
        c->Items()->SetCommaText("高清,标清,流畅");
        c->OnChange = [this, c](TObject*) { changes_.push_back(c->Text()); };
        return c;
    }
    std::vector<std::string> changes_;
};

TEST_F(ComboBoxTest, ChoosingByMouseShowsTheItemAndTellsOnce) {
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
        SCOPED_TRACE(style);
        TForm* f = Form();
        TComboBox* c = Combo(f, style);
        Show(f);
        c->SetItemIndex(0); // from code: nobody told
        EXPECT_EQ(c->Text(), "高清");
        ClickAt(c, c->Width() - 8, 10);
        ASSERT_TRUE(c->DroppedDown());
        // The list lies under the box; its second row is chosen by a click.
        POINT p = ScreenOf(c, 20, c->Height() + 2 + 16 + 8);
        D().Click(p.x, p.y);
        RunUntilIdle();
        EXPECT_FALSE(c->DroppedDown());
        EXPECT_EQ(c->ItemIndex(), 1);
        EXPECT_EQ(c->Text(), "标清");
        EXPECT_EQ(changes_, (std::vector<std::string>{"标清"}));
        // Choosing the same again, or a click outside the list, tells nobody.
        ClickAt(c, c->Width() - 8, 10);
        ASSERT_TRUE(c->DroppedDown());
        D().Click(p.x, p.y);
        RunUntilIdle();
        ClickAt(c, c->Width() - 8, 10);
        ASSERT_TRUE(c->DroppedDown());
        ClickAt(f, 350, 250);
        EXPECT_FALSE(c->DroppedDown());
        EXPECT_EQ(c->ItemIndex(), 1);
        EXPECT_EQ(changes_.size(), 1u);
        changes_.clear();
        delete f;
    }
}

TEST_F(ComboBoxTest, KeysStepChooseAndLeave) {
    TForm* f = Form();
    TComboBox* c = Combo(f, csDropDownList);
    auto* other = Add<TEdit>(f, {10, 50, 100, 71});
    Show(f);
    c->SetFocus();
    // Closed, the arrows choose at once.
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_UP);
    EXPECT_EQ(changes_, (std::vector<std::string>{"高清", "标清", "高清"}));
    changes_.clear();
    // Open, they move in the list; Escape leaves it as it was, Enter takes.
    PressKey(VK_F4);
    ASSERT_TRUE(c->DroppedDown());
    PressKey(VK_DOWN);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 0);
    Chord(VK_MENU, VK_DOWN);
    ASSERT_TRUE(c->DroppedDown());
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(changes_, (std::vector<std::string>{"流畅"}));
    EXPECT_TRUE(c->Focused());
    // Leaving the box closes its list.
    PressKey(VK_F4);
    other->SetFocus();
    RunUntilIdle();
    EXPECT_FALSE(c->DroppedDown());
}

TEST_F(ComboBoxTest, TypingIsAChangeAndNamesAnItem) {
    TForm* f = Form();
    TComboBox* c = Combo(f, csDropDown);
    Show(f);
    c->SetFocus();
    Type(U"标清");
    EXPECT_EQ(changes_, (std::vector<std::string>{"标", "标清"}));
    EXPECT_EQ(c->ItemIndex(), 1);
    Type(U"x");
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), "标清x");
    c->SetText("流畅"); // from code
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(changes_.size(), 3u);
    // A list-only box shows only items.
    c->SetStyle(csDropDownList);
    c->SetText("别的");
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), "");
}

} // namespace
