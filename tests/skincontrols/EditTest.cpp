// The skin library's editor and the skinned edit: read-only refusals, Enter and Escape going
// to the form, line breaks kept out of one line, the frame geometry with and without a skin,
// and the edit button.
#include "ControlFixtures.h"
#include "controls/CommCtrl.h"
#include "gui/ImgList.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinEdit.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/Window.h"

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

namespace {

// A 16-pixel image list: 0 red, 1 green (hot), 2 blue (pressed).
gui::TImageList* ThreeImages(gui::TComponent* owner) {
    auto* images = new gui::TImageList(owner);
    images->SetSize(16, 16);
    gui::TBitmap b;
    b.SetSize(48, 16);
    const gui::TColor colours[] = {gui::clRed, gui::clLime, gui::clBlue};
    for (int i = 0; i < 3; ++i) {
        b.Canvas()->Brush()->SetColor(colours[i]);
        b.Canvas()->FillRect(gui::Rect(i * 16, 0, i * 16 + 16, 16));
    }
    images->Add(&b, nullptr);
    return images;
}

bool Greenish(COLORREF c) {
    return GetGValue(c) > 120 && GetRValue(c) < 90 && GetBValue(c) < 90;
}

} // namespace

TEST_F(EditTest, ImageButtonsAtBothEndsClickAndKeepTheTextClear) {
    edit_->SetBounds(10, 10, 200, 20);
    edit_->SetImages(ThreeImages(form_));
    edit_->SetLeftImageIndex(0);
    edit_->SetRightImageIndex(0);
    edit_->LeftImageHotIndex = edit_->RightImageHotIndex = 1;
    edit_->LeftImageDownIndex = edit_->RightImageDownIndex = 2;
    std::vector<std::string> clicks;
    edit_->OnLeftButtonClick = [&](gui::TObject*) { clicks.push_back("left"); };
    edit_->OnRightButtonClick = [&](gui::TObject*) { clicks.push_back("right"); };
    RunUntilIdle();
    int cw = edit_->ClientWidth(), ch = edit_->ClientHeight();
    EXPECT_EQ(edit_->LeftButton.R, (gui::TRect{0, 0, 16, ch}));
    EXPECT_EQ(edit_->RightButton.R, (gui::TRect{cw - 16, 0, cw, ch}));
    // The text keeps out of them.
    RECT fr{};
    SendMessage(edit_->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
    EXPECT_EQ(fr.left, 18);
    EXPECT_EQ(fr.right, cw - 18);
    const int y = ch / 2;
    EXPECT_EQ(PixelAt(edit_, 8, y), gui::ColorToRGB(gui::clRed));
    EXPECT_EQ(PixelAt(edit_, cw - 8, y), gui::ColorToRGB(gui::clRed));
    // Hot under the pointer, pressed while held; the release clicks.
    MoveTo(edit_, 8, y);
    EXPECT_EQ(PixelAt(edit_, 8, y), gui::ColorToRGB(gui::clLime));
    EXPECT_EQ(PixelAt(edit_, cw - 8, y), gui::ColorToRGB(gui::clRed));
    D().Press();
    RunUntilIdle();
    EXPECT_EQ(PixelAt(edit_, 8, y), gui::ColorToRGB(gui::clBlue));
    D().Release();
    RunUntilIdle();
    ClickAt(edit_, cw - 8, y);
    EXPECT_EQ(clicks, (std::vector<std::string>{"left", "right"}));
    MoveTo(edit_, cw / 2, y); // over the text both cool down
    EXPECT_EQ(PixelAt(edit_, 8, y), gui::ColorToRGB(gui::clRed));
    EXPECT_EQ(PixelAt(edit_, cw - 8, y), gui::ColorToRGB(gui::clRed));
    // Typed text starts right of the left image.
    edit_->SetText("");
    edit_->SetFocus();
    D().Type(U"MMMM");
    RunUntilIdle();
    EXPECT_EQ(edit_->Text(), "MMMM");
    EXPECT_EQ(PixelAt(edit_, 8, y), gui::ColorToRGB(gui::clRed));
    // Without an index there is no button and the editor takes its margins back.
    edit_->SetLeftImageIndex(-1);
    edit_->SetRightImageIndex(-1);
    SendMessage(edit_->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
    EXPECT_LT(fr.left, 16);
}

TEST_F(EditTest, SkinnedTextAreaAlignmentDisabledTextAndEditButton) {
    // The frame picture: red left of x 30, blue from there; the "editbutton" entry is yellow.
    TbsSkinData data(nullptr);
    gdi::image::Image picture;
    picture.Reset(100, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            picture.At(x, y) = x < 30 ? 0xFFFF0000u : x < 60 ? 0xFF0000FFu : 0xFFFFFF00u;
    UsePicture(data, picture);
    auto& d = AddControl<TbsDataSkinEditControl>(data, "edit");
    d.PictureIndex = 0;
    d.SkinRect = Rect(0, 0, 60, 20);
    d.LTPoint = Point(5, 0);
    d.RTPoint = Point(44, 0);
    d.ClRect = Rect(3, 3, 57, 17);
    d.ButtonRect = Rect(45, 2, 58, 18);
    d.FontName = "Arial";
    d.FontHeight = 13;
    d.DisabledFontColor = RGB(0, 200, 0);
    auto& button = AddControl<TbsDataSkinButtonControl>(data, "editbutton");
    button.PictureIndex = 0;
    button.SkinRect = Rect(60, 0, 80, 20);
    button.LTPoint = Point(2, 2);
    button.RTPoint = Point(18, 2);
    button.LBPoint = Point(2, 18);
    button.RBPoint = Point(18, 18);
    button.ClRect = Rect(2, 2, 18, 18);
    edit_->SetSkinData(&data);
    edit_->SetBounds(10, 10, 200, 20);
    RunUntilIdle();
    // The text area is the picture's, not one colour: red at its left, blue at its right.
    int cw = edit_->ClientWidth();
    EXPECT_EQ(PixelAt(edit_, 6, 5), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(edit_, cw - 2, 5), RGB(0, 0, 255));

    // Right alignment reaches the editor; a disabled edit writes in the skin's disabled colour.
    edit_->SetAlignment(gui::taRightJustify);
    EXPECT_TRUE(GetWindowLongPtr(edit_->Handle(), GWL_STYLE) & ES_RIGHT);
    edit_->SetText("WWWW");
    edit_->SetEnabled(false);
    RunUntilIdle();
    bool greenRight = false, greenLeft = false;
    for (int y = 0; y < edit_->ClientHeight(); ++y)
        for (int x = 0; x < cw; ++x)
            if (Greenish(PixelAt(edit_, x, y))) (x > cw / 2 ? greenRight : greenLeft) = true;
    EXPECT_TRUE(greenRight);
    EXPECT_FALSE(greenLeft);
    edit_->SetEnabled(true);

    // Without the skin's font the edit button comes from "editbutton", at the button's size.
    edit_->UseSkinFont = false;
    edit_->SetButtonMode(true);
    edit_->ChangeSkinData();
    RunUntilIdle();
    // (Its top row: the text area lies over the rest of it in this skin.)
    gui::TRect b = edit_->ButtonRect();
    EXPECT_EQ(PixelAt(form_, edit_->Left() + (b.left + b.right) / 2, edit_->Top() + b.top), RGB(255, 255, 0));

    // PaintSkinTo: the idle look with another text, anywhere.
    gui::TBitmap shot;
    shot.SetSize(220, 30);
    shot.Canvas()->Brush()->SetColor(gui::clWhite);
    shot.Canvas()->FillRect(gui::Rect(0, 0, 220, 30));
    edit_->UseSkinFont = true;
    edit_->SetButtonMode(false);
    edit_->ChangeSkinData();
    edit_->PaintSkinTo(shot.Canvas(), 10, 5, "WWWW");
    EXPECT_EQ(shot.Canvas()->Pixels(10, 5), RGB(255, 0, 0));
    EXPECT_EQ(shot.Canvas()->Pixels(9, 5), gui::ColorToRGB(gui::clWhite));
    edit_->SetSkinData(nullptr);
}
