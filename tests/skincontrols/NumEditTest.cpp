// The numeric editor: the character filter in both modes (typed text and what arrives
// otherwise), and the step requests of Up, Down and the wheel.
#include "ControlFixtures.h"
#include "skin/controls/SkinNumEdit.h"
#include "win/Input.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class NumEditTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<gui::TForm>();
        form_->SetBounds(0, 0, 300, 200);
        edit_ = new TbsSkinNumEdit(form_);
        edit_->SetParent(form_);
        edit_->SetBounds(10, 10, 120, 20);
        edit_->OnUpClick = [this](gui::TObject*) { steps_.push_back("up"); };
        edit_->OnDownClick = [this](gui::TObject*) { steps_.push_back("down"); };
        form_->Show();
        edit_->SetFocus();
        RunUntilIdle();
    }
    // Types into an empty editor; returns the text and the beeps it caused.
    std::pair<std::string, int> TypeFresh(const std::u32string& keys) {
        edit_->SetText("0");
        edit_->SetText("");
        RunUntilIdle();
        int before = D().beeps;
        D().Type(keys);
        RunUntilIdle();
        return {edit_->Text(), D().beeps - before};
    }
    gui::TForm* form_ = nullptr;
    TbsSkinNumEdit* edit_ = nullptr;
    std::vector<std::string> steps_;
};

} // namespace

TEST_F(NumEditTest, TypedCharacters) {
    struct Case {
        bool isFloat;
        std::u32string keys;
        std::string text;
        int beeps;
    } cases[] = {
        {false, U"12-3",   "123", 1}, // a minus only in front
        {false, U"-12",    "-12", 0},
        {false, U"--1",    "-1",  1},
        {false, U"1.5",    "15",  1},
        {false, U"+1 a",   "1",   3},
        {true,  U"1.5",    "1.5", 0},
        {true,  U"1.5.",   "1.5", 1},
        {true,  U"1,5",    "15",  1}, // the C locale's separator only
        {true,  U"-.5",    "-.5", 0},
        {true,  U"5-",     "5",   1},
        {false, U"１２", "",    2}, // beyond the 8-bit characters
    };
    for (const Case& c : cases) {
        edit_->Float = c.isFloat;
        auto [text, beeps] = TypeFresh(c.keys);
        EXPECT_EQ(text, c.text) << c.text;
        EXPECT_EQ(beeps, c.beeps) << c.text;
    }
    // With the editor off nothing is typed, not even Backspace.
    edit_->Float = false;
    TypeFresh(U"42");
    edit_->EditorEnabled = false;
    int before = D().beeps;
    D().Type(U"7");
    PressKey(VK_BACK);
    EXPECT_EQ(edit_->Text(), "42");
    EXPECT_EQ(D().beeps - before, 2);
}

TEST_F(NumEditTest, TextFromElsewhereIsCheckedOnChange) {
    TypeFresh(U"42");
    std::vector<std::string> changes;
    edit_->OnChange = [&](gui::TObject*) { changes.push_back(edit_->Text()); };
    struct Case {
        const char* clipboard;
        std::string text;
    } cases[] = {
        {"12a", "42" },
        {"1-2", "42" },
        {"7",   "427"},
        {"-",   "427"}, // not in front
    };
    for (const Case& c : cases) {
        win::SetClipboardText(c.clipboard);
        edit_->SetSelStart(static_cast<int>(edit_->Text().size()));
        edit_->PasteFromClipboard();
        RunUntilIdle();
        EXPECT_EQ(edit_->Text(), c.text) << c.clipboard;
    }
    EXPECT_EQ(changes, std::vector<std::string>{"427"});
}

TEST_F(NumEditTest, UpDownAndWheelAskTheOwnerToStep) {
    edit_->EditorEnabled = false; // stepping does not need the editor
    PressKey(VK_UP);
    PressKey(VK_DOWN);
    MoveTo(edit_, 5, 5);
    D().Wheel(120);
    RunUntilIdle();
    D().Wheel(-120);
    RunUntilIdle();
    EXPECT_EQ(steps_, (std::vector<std::string>{"up", "down", "down", "up"}));
    EXPECT_EQ(edit_->SelStart(), 0);
}
