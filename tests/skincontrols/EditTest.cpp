// The skin library's editor and the skinned edit: read-only refusals, Enter and Escape going
// to the form, line breaks kept out of one line, the frame geometry with and without a skin,
// and the edit button.
#include "ControlFixtures.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinEdit.h"
#include "win/Input.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class EditTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 400, 300);
        edit_ = new TbsSkinEdit(form_);
        edit_->SetParent(form_);
        edit_->SetBounds(10, 10, 200, 20);
        form_->Show();
        edit_->SetFocus();
        RunUntilIdle();
    }
    void Put(const std::string& text) {
        edit_->SetText("");
        edit_->SetText(text);
        edit_->SetSelStart(2);
        edit_->SetSelLength(3);
        RunUntilIdle();
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinEdit* edit_ = nullptr;
};

} // namespace

TEST_F(EditTest, ReadOnlyRefusesEveryChangeButCopies) {
    edit_->SetReadOnly(true);
    struct Case {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"typing",    [] { D().Type(U"x"); }                                  },
        {"backspace", [] { PressKey(VK_BACK); }                               },
        {"delete",    [] { PressKey(VK_DELETE); }                             },
        {"cut",       [this] { edit_->CutToClipboard(); }                     },
        {"ctrl+x",    [this] { SendMessage(edit_->Handle(), WM_CHAR, 24, 0); }},
        {"paste",     [this] { edit_->PasteFromClipboard(); }                 },
        {"ctrl+v",    [this] { SendMessage(edit_->Handle(), WM_CHAR, 22, 0); }},
        {"clear",     [this] { edit_->ClearSelection(); }                     },
        {"undo",      [this] { edit_->Undo(); }                               },
    };
    for (const Case& c : cases) {
        win::SetClipboardText("pasted");
        Put("abcdefg");
        c.act();
        RunUntilIdle();
        EXPECT_EQ(edit_->Text(), "abcdefg") << c.what;
    }
    Put("abcdefg");
    edit_->CopyToClipboard();
    EXPECT_EQ(win::GetClipboardText(), "cde");
    SendMessage(edit_->Handle(), WM_CHAR, 1, 0); // Ctrl+A still selects
    EXPECT_EQ(edit_->SelLength(), 7);
    // Writable again: the same paste goes in.
    edit_->SetReadOnly(false);
    Put("abcdefg");
    win::SetClipboardText("XY");
    edit_->PasteFromClipboard();
    EXPECT_EQ(edit_->Text(), "abXYfg");
}

TEST_F(EditTest, EnterAndEscapeFireKeyPressThenGoToTheForm) {
    auto* ok = new gui::TButton(form_);
    ok->SetParent(form_);
    ok->Default = true;
    auto* cancel = new gui::TButton(form_);
    cancel->SetParent(form_);
    cancel->Cancel = true;
    std::vector<std::string> events;
    ok->OnClick = [&](gui::TObject*) { events.push_back("ok"); };
    cancel->OnClick = [&](gui::TObject*) { events.push_back("cancel"); };
    edit_->OnKeyPress = [&](gui::TObject*, char32_t& key) {
        events.push_back("key " + std::to_string(static_cast<int>(key)));
        key = 0; // a handler cannot keep the key from the form
    };
    edit_->SetText("name");
    RunUntilIdle();
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(events, (std::vector<std::string>{"key 13", "ok", "key 27", "cancel"}));
    EXPECT_EQ(edit_->Text(), "name");
}

TEST_F(EditTest, LineBreaksNeverEnterOneLine) {
    struct Case {
        const char* clipboard;
        const char* result;
    } cases[] = {
        {"one\r\ntwo", "abONE"  },
        {"one\ntwo",   "abONE"  },
        {"\r\nx",      "ab"     },
        {"plain",      "abPLAIN"},
    };
    for (const Case& c : cases) {
        edit_->SetText("");
        edit_->SetText("ab");
        edit_->SetSelStart(2);
        std::string clip = c.clipboard;
        for (char& ch : clip)
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        win::SetClipboardText(clip);
        edit_->PasteFromClipboard();
        EXPECT_EQ(edit_->Text(), c.result) << c.clipboard;
    }
    // Ctrl+Enter types a line feed: dropped.
    edit_->SetText("");
    edit_->SetText("ab");
    edit_->SetSelStart(2);
    SendMessage(edit_->Handle(), WM_CHAR, '\n', 0);
    EXPECT_EQ(edit_->Text(), "ab");
}

TEST_F(EditTest, DefaultGeometry) {
    edit_->SetButtonMode(true);
    edit_->SetBounds(10, 10, 100, 20);
    RunUntilIdle();
    EXPECT_EQ(edit_->ButtonRect(), (gui::TRect{80, 0, 100, 20}));
    EXPECT_EQ(edit_->EditRect(), (gui::TRect{2, 2, 78, 18}));
    EXPECT_EQ(edit_->ClientWidth(), 76);
    EXPECT_EQ(edit_->ClientHeight(), 16);
    // The button in the frame clicks; a press in the text does not.
    int clicks = 0;
    edit_->OnButtonClick = [&](gui::TObject*) { ++clicks; };
    ClickAt(edit_, 90 - 2, 10 - 2); // client coordinates start inside the frame
    EXPECT_EQ(clicks, 1);
    ClickAt(edit_, 20, 8);
    EXPECT_EQ(clicks, 1);
    edit_->SetButtonMode(false);
    RunUntilIdle();
    EXPECT_EQ(edit_->ClientWidth(), 96);
}

TEST_F(EditTest, SkinGeometry) {
    TbsSkinData data(nullptr);
    gdi::image::Image picture;
    picture.Reset(80, 40);
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinEditControl>(data, "edit");
    d.PictureIndex = 0;
    d.SkinRect = Rect(0, 0, 60, 20);
    d.LTPoint = Point(5, 0);
    d.RTPoint = Point(44, 0); // the right cap is 16 wide
    d.ClRect = Rect(3, 3, 57, 17);
    d.ButtonRect = Rect(45, 2, 58, 18);
    d.FontName = "Arial";
    d.FontHeight = 13;
    edit_->SetButtonMode(true);
    edit_->SetSkinData(&data);
    edit_->SetBounds(10, 10, 200, 40);
    RunUntilIdle();
    EXPECT_EQ(edit_->Height(), 20); // the skin's height
    EXPECT_EQ(edit_->EditRect(), (gui::TRect{3, 3, 197, 17}));
    EXPECT_EQ(edit_->ButtonRect(), (gui::TRect{185, 2, 198, 18}));
    EXPECT_EQ(edit_->ClientWidth(), 194);
    EXPECT_EQ(edit_->ClientHeight(), 14);
    // A button left of the right cap stays where the skin has it.
    d.ButtonRect = Rect(30, 2, 40, 18);
    edit_->ChangeSkinData();
    EXPECT_EQ(edit_->ButtonRect(), (gui::TRect{30, 2, 40, 18}));
    edit_->SetSkinData(nullptr);
}
